#include "common/fixed_field.h"
#include "interest/account_charge.h"
#include "interest/account_files.h"
#include "tests/support/store_records.h"

#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;

TEST(AccountChargeTest, ChargeMinimumAndTheNewRecords) {
    const ChargeTerms terms{.015, 1.0, "12-8-26 ", "1226.dat", false};
    AccountCharge c = chargeAccount(diazAccount("1126", "4", "100"), 7, Money::fromText("100"), 12, terms);
    ASSERT_TRUE(c.charged);
    EXPECT_EQ(fieldText(c.transaction, transrec::amount), "1.50    ");
    EXPECT_EQ(fieldText(c.transaction, transrec::descr), "Interest                ");
    EXPECT_EQ(fieldText(c.transaction, transrec::prevfile), "1126");
    EXPECT_EQ(fieldText(c.transaction, transrec::prevrec), "4       ");
    EXPECT_EQ(fieldText(c.transaction, transrec::txdate), "12-8-26 "); // the date trimmed, then padded
    EXPECT_EQ(fieldText(c.account, custrec::lasttxfile), "1226");
    EXPECT_EQ(fieldText(c.account, custrec::lasttxrec), "12      ");
    EXPECT_EQ(fieldText(c.account, custrec::balance), "101.5   ");
    EXPECT_EQ(fieldText(c.account, custrec::rating), "2   ");
    EXPECT_EQ(c.amount, Money::fromText("1.5"));
    // Checkable by hand: the account, the balance before, the charge and the balance after.
    EXPECT_EQ(c.reportLine.rfind("      7  ", 0), 0u) << c.reportLine;
    EXPECT_EQ(c.reportLine.substr(c.reportLine.size() - 41), "        100.00      1.50           101.50");

    c = chargeAccount(diazAccount("1126", "4", "10"), 7, Money::fromText("10"), 12, terms);
    EXPECT_EQ(fieldText(c.transaction, transrec::descr), "Interest Minimum        ");
    EXPECT_EQ(fieldText(c.transaction, transrec::amount), "1.00    ");
}

TEST(AccountChargeTest, TooWideForItsFieldChargesNothing) {
    const ChargeTerms terms{.015, 1.0, "12-8-26", "1226.dat", true};
    const std::string before = diazAccount("1126", "4", "99999.99");
    const AccountCharge c = chargeAccount(before, 7, Money::fromText("99999.99"), 12, terms);
    EXPECT_FALSE(c.charged);
    EXPECT_EQ(c.account, before);
    EXPECT_TRUE(c.transaction.empty());
    EXPECT_EQ(c.reportLine, "too large: new balance 101499.99");
}
