#include "common/basic_number.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

using namespace common;

struct ValRow {
    const char* name;
    std::string text;
    double expected;
};

class ValTest : public ::testing::TestWithParam<ValRow> {};

TEST_P(ValTest, NumericValue) { EXPECT_DOUBLE_EQ(val(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Rows, ValTest,
    ::testing::Values(ValRow{"plain", "12", 12}, ValRow{"leading_blanks", "   7", 7},
                      ValRow{"blank_inside", "1 999999", 1999999}, ValRow{"letters_after", "12abc", 12},
                      ValRow{"letters_only", "abc", 0}, ValRow{"empty", "", 0}, ValRow{"comma_ends", "1,250", 1},
                      ValRow{"negative", "-3", -3}, ValRow{"sign_then_blank", "- 3", -3}, ValRow{"plus", "+4.5", 4.5},
                      ValRow{"point_first", ".015", 0.015}, ValRow{"second_point_ends", "1.2.3", 1.2},
                      ValRow{"exponent", "1E3", 1000}, ValRow{"d_exponent", "2D2", 200}, ValRow{"bare_e", "5E", 5},
                      ValRow{"negative_exponent", "15e-3", 0.015},
                      ValRow{"nul_ends",
                             std::string("4\0"
                                         "5",
                                         3),
                             4},
                      ValRow{"nul_before_exponent", std::string("12\0e5", 5), 12},
                      ValRow{"nul_after_sixteen_digits",
                             std::string("1234567890123456\0"
                                         "7",
                                         18),
                             1234567890123456.0},
                      ValRow{"nuls_only", std::string(8, '\0'), 0}, ValRow{"tab_skipped", "\t9", 9},
                      ValRow{"dollar_sign", "$5", 0}, ValRow{"trailing_blanks", "97.5    ", 97.5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValTest, AgreesWithTheCorrectlyRoundedConversionOnRandomDecimals) {
    std::mt19937 rng(7);
    for (int n = 0; n < 20000; ++n) {
        std::string digits;
        const int len = 1 + static_cast<int>(rng() % 17);
        for (int i = 0; i < len; ++i) digits += static_cast<char>('0' + rng() % 10);
        const size_t point = rng() % (digits.size() + 1);
        std::string text = digits.substr(0, point) + "." + digits.substr(point);
        if (rng() % 2) text = "-" + text;
        EXPECT_EQ(val(text), std::strtod(text.c_str(), nullptr)) << text;
    }
}

TEST(ValTest, HugeExponentIsOverflow) {
    try {
        val("1E999");
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(RoundingTest, HalvesGoToEven) {
    EXPECT_EQ(cint(2.5), 2);
    EXPECT_EQ(cint(3.5), 4);
    EXPECT_EQ(cint(-2.5), -2);
    EXPECT_EQ(cint(-3.5), -4);
    EXPECT_EQ(cint(2.4999), 2);
    EXPECT_EQ(cint(0.5), 0);
    EXPECT_EQ(cint(1.5), 2);
    EXPECT_EQ(clng(123456.5), 123456);
    EXPECT_EQ(clng(123457.5), 123458);
}

TEST(RoundingTest, SixteenBitBoundaries) {
    EXPECT_EQ(cint(32767), 32767);
    EXPECT_EQ(cint(32767.4), 32767);
    EXPECT_EQ(cint(-32768), -32768);
    EXPECT_EQ(cint(-32768.5), -32768); // halves to even
    for (double bad : {32767.5, 32768.0, -32769.0, 1e10}) {
        try {
            cint(bad);
            ADD_FAILURE() << bad;
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), 6);
        }
    }
}

TEST(RoundingTest, ThirtyTwoBitBoundaries) {
    EXPECT_EQ(clng(2147483647.0), 2147483647);
    EXPECT_EQ(clng(-2147483648.0), -2147483647 - 1);
    EXPECT_THROW(clng(2147483647.5), RunError);
    EXPECT_THROW(clng(-2147483649.0), RunError);
}

TEST(StrTest, NumberToText) {
    EXPECT_EQ(str(2), " 2");
    EXPECT_EQ(str(0), " 0");
    EXPECT_EQ(str(-2), "-2");
    EXPECT_EQ(str(0.015), " .015");
    EXPECT_EQ(str(-0.5), "-.5");
    EXPECT_EQ(str(97.5), " 97.5");
    EXPECT_EQ(str(12), " 12");
    EXPECT_EQ(str(1.1 + 2.2), " 3.3"); // 15 significant digits hide the binary noise
    EXPECT_EQ(str(123456789012345.0), " 123456789012345");
    EXPECT_EQ(str(1e15), " 1E+15");
    EXPECT_EQ(str(0.0001), " .0001");
    EXPECT_EQ(str(0.00001), " 1E-05");
    EXPECT_EQ(str(-1.5e-7), "-1.5E-07");
    EXPECT_EQ(str(32767), " 32767");
}

// The digits are those of "%.15g" for every value written without an exponent.
TEST(StrTest, GeneralFormatHasTheDigitsOfPrintf) {
    std::mt19937_64 rng(11);
    for (int n = 0; n < 20000; ++n) {
        const int exponent = static_cast<int>(rng() % 19) - 4; // 1E-4 .. 1E14
        const double v = std::ldexp(static_cast<double>(rng() >> 11), -53) * std::pow(10.0, exponent);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", v);
        if (std::string(buf).find('e') != std::string::npos) continue;
        ASSERT_EQ(generalFormat(v), buf) << v;
    }
}

TEST(StrTest, GeneralFormat) {
    EXPECT_EQ(generalFormat(0.75), "0.75");
    EXPECT_EQ(generalFormat(102.5), "102.5");
    EXPECT_EQ(generalFormat(88), "88");
    EXPECT_EQ(generalFormat(0), "0");
    EXPECT_EQ(generalFormat(-0.5), "-0.5");
    EXPECT_EQ(generalFormat(82.33 + 1.24), "83.57");
}

TEST(TextRules, TrimOnlyBlanks) {
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim(std::string("\0a\0", 3)), std::string("\0a\0", 3));
    EXPECT_EQ(rtrim("x  "), "x");
    EXPECT_EQ(ltrim("  x "), "x ");
    EXPECT_EQ(left("abc", 5), "abc");
    EXPECT_EQ(right("abcdef", 2), "ef");
    EXPECT_EQ(right("ab", 5), "ab");
    EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(mid("abc", 4, 1), "");
    EXPECT_EQ(mid("abc", 2), "bc");
}
