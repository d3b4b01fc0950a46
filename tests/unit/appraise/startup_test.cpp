#include "appraise/documents/customer.h"
#include "appraise/documents/fixdate.h"
#include "appraise/printing/printed_line_width.h"
#include "common/run_error.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace appraise;
using namespace testsupport;

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

TEST(CustomerPrefixTest, LastFiveDigitsOfTheNumber) {
    EXPECT_EQ(customerPrefix("7"), "00007");
    EXPECT_EQ(customerPrefix("12"), "00012");
    EXPECT_EQ(customerPrefix("123456"), "23456");
    EXPECT_EQ(customerPrefix(" 00012 "), "00012");
    EXPECT_EQ(customerPrefix(""), "00000");
    EXPECT_EQ(customerPrefix("12.5"), "012.5"); // the text of the value, as the classic code does
}

TEST(HandoverTest, FourAndFiveFields) {
    TempFolder tmp;
    putFile("apptrans.dat", "Ann\r\n1 Main\r\n\"Town, ST\"\r\n12\r\n");
    auto c = readHandover();
    EXPECT_EQ(c.custlines[3], "Town, ST");
    EXPECT_EQ(c.custlines[4], "");
    EXPECT_EQ(c.custnumber, "12");
    EXPECT_EQ(c.custrecordno, 12);
    EXPECT_EQ(c.custprefix, "00012");
    putFile("apptrans.dat", "Ann\r\n1 Main\r\nApt 2\r\nTown\r\n7\r\n");
    c = readHandover();
    EXPECT_EQ(c.custlines[4], "Town");
    EXPECT_EQ(c.custnumber, "7");
    putFile("apptrans.dat", "Ann\r\n1 Main\r\n");
    try {
        readHandover();
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 62);
    }
}

TEST(CustomerRecordTest, BeyondTheEndIsBlankAndCreatesTheFile) {
    TempFolder tmp;
    EXPECT_EQ(readCustomerRecord(3), std::string(348, '\0'));
    EXPECT_EQ(getFile("cust.dat"), "");
    EXPECT_THROW(readCustomerRecord(0), RunError);
}

TEST(MatchPrinterTest, LineWidthFromThePrintableArea) {
    PageGeometry letter; // 12240 wide, printable from 360
    EXPECT_EQ(printedLineWidth(letter, 1440, 1440), 9360);
    PageGeometry noOffset{12240, 15840, 0, 0, 12240, 15840};
    EXPECT_EQ(printedLineWidth(noOffset, 1440, 1440), 9360); // the offset cancels out
    PageGeometry a4{11906, 16838, 250, 250, 11406, 16338};
    EXPECT_EQ(printedLineWidth(a4, 1440, 1440), 11906 - 2880);
    EXPECT_EQ(printedLineWidth(letter, 1840, 1540), 12240 - 1540 - 1840);
}
