#include <gtest/gtest.h>

#include <cmath>

#include "state/number_format.h"

using namespace zav;

namespace {
// Every test sets the separator it needs; the user's locale must not leak in.
class NumberFormat : public testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator('.'); }
    void TearDown() override { SetDecimalSeparator('.'); }
};
} // namespace

TEST_F(NumberFormat, GeneralFormFixedAndScientific) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {1, "1"},
        {-5, "-5"},
        {200, "200"},
        {2.5, "2.5"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.1 + 0.2, "0.3"},
        {10000000.0 / 3, "3333333.33333333"},
        {9.9999999999999999, "10"},
        {1e-5, "0.00001"},
        {1.5e-5, "0.000015"},
        {9.9e-6, "9.9E-6"},
        {-1e-7, "-1E-7"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {123456789012345678.0, "1.23456789012346E17"},
        {2147483647, "2147483647"},
        {2147483647 / 0.3, "7158278823.33333"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatGeneral(c.value), c.text) << c.value;
}

TEST_F(NumberFormat, CommaSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatGeneral(1.0 / 200), "0,005");
    EXPECT_EQ(FormatGeneral(2.5), "2,5");
    EXPECT_EQ(FormatGeneral(1.5e20), "1,5E20");
    double v = 0;
    EXPECT_TRUE(TryParseFloat("0,005", v));
    EXPECT_DOUBLE_EQ(v, 0.005);
    EXPECT_FALSE(TryParseFloat("0.005", v));
    // What is formatted parses back to the same number.
    for (double x : {1.0 / 3, -1000.0 / 7, 1e-6, 2.5e17})
        EXPECT_TRUE(TryParseFloat(FormatGeneral(x), v) && std::abs(v - x) <= std::abs(x) * 1e-14)
            << x;
}

TEST_F(NumberFormat, ParseFloat) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"1500", true, 1500}, {" -40 ", true, -40}, {"+2.5", true, 2.5},  {".5", true, 0.5},
        {"5.", true, 5},      {"1e3", true, 1000},  {"1E-2", true, 0.01}, {"", false, 0},
        {"  ", false, 0},     {"abc", false, 0},    {"12a", false, 0},    {"1,5", false, 0},
        {"1.5.5", false, 0},  {"-", false, 0},      {".", false, 0},      {"1e", false, 0},
        {"0x10", false, 0},   {"inf", false, 0},    {"nan", false, 0},    {"1e400", false, 0},
        {"1 5", false, 0},
    };
    for (const auto& c : cases) {
        double v = -123;
        EXPECT_EQ(TryParseFloat(c.text, v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ(v, c.ok ? c.value : -123) << c.text;
    }
}

TEST_F(NumberFormat, ParseIntWithin32Bits) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"250", true, 250},
        {" 7", true, 7},
        {"-40", true, -40},
        {"+3", true, 3},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"1.5", false, 0},
        {"1,5", false, 0},
        {"12a", false, 0},
        {"a12", false, 0},
        {"1e3", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t v = -123;
        EXPECT_EQ(TryParseInt(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -123) << c.text;
    }
}
