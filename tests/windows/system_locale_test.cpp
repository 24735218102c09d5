// The decimal separator comes from the user's regional settings: tools/wine-tests sets
// it in the Wine prefix and names what it set in ZAV_EXPECTED_DECIMAL.

#include <gtest/gtest.h>

#include <cstdlib>

#include "state/number_format.h"

TEST(SystemLocale, DecimalSeparatorIsTheUsersChoice) {
    const char* expected = std::getenv("ZAV_EXPECTED_DECIMAL");
    if (expected == nullptr || expected[0] == 0)
        GTEST_SKIP() << "ZAV_EXPECTED_DECIMAL is not set";
    EXPECT_EQ(zav::SystemDecimalSeparator(), expected[0]);
}
