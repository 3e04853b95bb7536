// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Reading a box's text as the check does: the leading decimal number, blanks ignored.
#include "drill/BoxReading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace piko::test {
namespace {

TEST(BoxReading, ReadsTheLeadingNumberIgnoringBlanks)
{
    EXPECT_EQ(boxValue(""), 0.0);
    EXPECT_EQ(boxValue("   "), 0.0);
    EXPECT_EQ(boxValue("abc"), 0.0);
    EXPECT_EQ(boxValue("007"), 7.0);
    EXPECT_EQ(boxValue(" 1 2 "), 12.0);
    EXPECT_EQ(boxValue("\t3\n4"), 34.0);
    EXPECT_EQ(boxValue("12abc34"), 12.0);
    EXPECT_EQ(boxValue("3.5"), 3.5);
    EXPECT_EQ(boxValue("1.2.3"), 1.2);
    EXPECT_EQ(boxValue(".5"), 0.5);
    EXPECT_EQ(boxValue("-5"), -5.0);
    EXPECT_EQ(boxValue("+8"), 8.0);
    EXPECT_EQ(boxValue("--8"), 0.0);
    EXPECT_EQ(boxValue("8-1"), 8.0);
    EXPECT_EQ(boxValue("1e5"), 1.0); // a plain decimal number: no exponent
    EXPECT_EQ(boxValue("998001"), 998001.0);
}

TEST(BoxReading, ReadsFullWidthDigitsAsAJapaneseInputMethodTypesThem)
{
    EXPECT_EQ(boxValue("１２"), 12.0);
    EXPECT_EQ(boxValue("１　２"), 12.0); // an ideographic space is a blank too
    EXPECT_EQ(boxValue("＋７．５"), 7.5);
    EXPECT_EQ(boxValue("３あまり１"), 3.0);
}

TEST(BoxReading, NeverCrashesAndNeverMakesAHugeNumberRight)
{
    const std::string thousandDigits(1000, '9');
    EXPECT_TRUE(std::isinf(boxValue(thousandDigits)));
    EXPECT_TRUE(std::isinf(boxValue("1" + std::string(400, '0'))));
    EXPECT_EQ(boxValue(std::string(5000, '0') + "7"), 7.0);
    EXPECT_LT(boxValue("0." + std::string(500, '0') + "1"), 1e-300);
    EXPECT_EQ(boxValue(std::string(100000, ' ') + "5"), 5.0);
    EXPECT_EQ(boxValue("\xff\xfe"
                       "12"),
        0.0); // not UTF-8: no leading number
    EXPECT_EQ(boxValue("12\xe3\x81"), 12.0); // a cut-off character ends the number
    EXPECT_EQ(boxValue(std::string("4\0"
                                   "2",
                  3)),
        4.0);
}

} // namespace
} // namespace piko::test
