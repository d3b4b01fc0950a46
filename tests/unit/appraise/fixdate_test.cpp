#include "appraise/documents/fixdate.h"

#include <gtest/gtest.h>

using namespace appraise;

struct DateRow {
    const char* name;
    const char* in;
    const char* out;
};

class FixdateTest : public ::testing::TestWithParam<DateRow> {};

TEST_P(FixdateTest, Normalises) {
    std::string s = GetParam().in;
    fixdate(s);
    EXPECT_EQ(s, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FixdateTest,
    ::testing::Values(DateRow{"six_digits", "070498", "7-4-98"}, DateRow{"leading_zeros", "07-04-98", "7-4-98"},
                      DateRow{"six_with_slashes", "7/4/98", "7-4-98"}, DateRow{"slashes", "7/04/1998", "ERROR"},
                      DateRow{"month_13", "13-1-98", "ERROR"}, DateRow{"month_0", "0-1-98", "ERROR"},
                      DateRow{"day_32", "1-32-98", "ERROR"}, DateRow{"day_31_any_month", "2-31-98", "2-31-98"},
                      DateRow{"three_dashes", "1-2-3-98", "ERROR"}, DateRow{"empty", "", ""},
                      DateRow{"one_char", "7", "7"}, DateRow{"year_39_now_valid", "1-1-39", "1-1-39"},
                      DateRow{"year_00", "12-07-00", "12-7-0"}, DateRow{"year_26", "12-07-26", "12-7-26"},
                      DateRow{"year_99", "12-31-99", "12-31-99"}, DateRow{"year_100", "1-1-100", "ERROR"},
                      DateRow{"four_digit_year", "12-07-2026", "ERROR"},
                      DateRow{"six_with_dash_kept", "7-4-98", "7-4-98"}, DateRow{"letters", "ab-cd-ef", "ERROR"},
                      DateRow{"half_rounds_even", "2.5-1-98", "2-1-98"},
                      DateRow{"overflow_part", "99999-1-98", "ERROR"}, DateRow{"ERROR_again", "ERROR", "ERROR"}),
    [](const auto& info) { return std::string(info.param.name); });
