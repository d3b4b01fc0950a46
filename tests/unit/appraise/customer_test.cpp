#include "appraise/documents/customer.h"
#include "common/run_error.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace appraise;
using namespace testsupport;

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

// Appraise reads the customer's record in its own record length and never changes the file the
// suite keeps its accounts in.
TEST(CustomerRecordTest, ReadsInItsOwnLengthAndLeavesTheFileAsItWas) {
    TempFolder tmp;
    std::string store(348, 'a');
    store += std::string(348, 'b');
    store += "a tail shorter than a record";
    putFile("cust.dat", store);
    EXPECT_EQ(readCustomerRecord(2), std::string(348, 'b'));
    // The short tail reads as far as it goes; beyond the end is blank.
    EXPECT_EQ(readCustomerRecord(3).substr(0, 28), "a tail shorter than a record");
    EXPECT_EQ(readCustomerRecord(9), std::string(348, '\0'));
    EXPECT_THROW(readCustomerRecord(0), RunError);
    EXPECT_EQ(getFile("cust.dat"), store);
}
