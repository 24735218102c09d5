#include <gtest/gtest.h>

#include "state/codepage.h"

using namespace zav;

TEST(Codepage, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Cp1251ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToCp1251(utf8), all);
}

TEST(Codepage, CyrillicAcknowledgementLetters) {
    // The controller's "OK" acknowledgement: Cyrillic capital O and K.
    EXPECT_EQ(Cp1251ToUtf8("\xCE\xCA"), "\xD0\x9E\xD0\x9A");
    EXPECT_EQ(Utf8ToCp1251("\xD0\x9E\xD0\x9A"), "\xCE\xCA");
}

TEST(Codepage, UnmappableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD"
                           "b"),
              "a?b"); // a CJK character
    EXPECT_EQ(Utf8ToCp1251("a\xFF"
                           "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");  // cut-off sequence
    EXPECT_FALSE(IsValidUtf8("\xC0\x80")); // overlong NUL
}
