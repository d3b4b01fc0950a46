#include "common/fixed_field.h"
#include "interest/account_charge.h"
#include "interest/account_files.h"
#include "interest/transaction_chain.h"
#include "tests/support/fault_env.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;

namespace {
std::string account(const std::string& file, const std::string& rec, const std::string& balance = "100") {
    return testsupport::accountRecord({.name1 = "DIAZ",
                                       .name2 = "Maria",
                                       .lastFile = file,
                                       .lastRec = rec,
                                       .balance = balance,
                                       .acctno = 7,
                                       .rating = "1"});
}

std::string tx(const std::string& prevFile, const std::string& prevRec, const std::string& descr = "Ring") {
    std::string t(transrec::length, ' ');
    storeField(t, transrec::acctno, "7");
    storeField(t, transrec::prevfile, prevFile);
    storeField(t, transrec::prevrec, prevRec);
    storeField(t, transrec::descr, descr);
    return t;
}

// The places a whole walk visits, as "file:record".
std::vector<std::string> walk(const std::string& acct) {
    FolderChainFiles files;
    TransactionChain chain(files, acct);
    std::vector<std::string> seen;
    while (chain.next()) seen.push_back(chain.file() + ":" + std::to_string(chain.record()));
    return seen;
}
} // namespace

TEST(TransactionChainTest, WalksBackAcrossMonthFilesToTheEnd) {
    TempFolder tmp;
    putFile("1226.dat", tx("1126", "2") + tx("", "0"));
    putFile("1126.dat", tx("", "0") + tx("1226", "2"));
    EXPECT_EQ(walk(account("1226", "1")), (std::vector<std::string>{"1226.dat:1", "1126.dat:2", "1226.dat:2"}));
}

TEST(TransactionChainTest, EndsAtLoopsMissingFilesNulsAndRecordsBelowOne) {
    TempFolder tmp;
    putFile("1226.dat", tx("1226", "1"));
    EXPECT_EQ(walk(account("1226", "1")), std::vector<std::string>{"1226.dat:1"}); // points at itself
    EXPECT_TRUE(walk(account("0526", "1")).empty());                               // no such month file
    EXPECT_TRUE(walk(account("1226", "0")).empty());
    EXPECT_TRUE(walk(account("1226", "-3")).empty());
    EXPECT_TRUE(walk(account(std::string("12\0"
                                         "6",
                                         4),
                             "1"))
                    .empty());
    // A never-written account: NULs in its pointer fields.
    EXPECT_TRUE(walk(std::string(custrec::length, '\0')).empty());
}

TEST(TransactionChainTest, NamesTheCallerRefusesEndTheWalk) {
    TempFolder tmp;
    putFile("1226.dat", tx("1326", "1"));
    putFile("1326.dat", tx("", "0"));
    FolderChainFiles files;
    TransactionChain chain(files, account("1226", "1"), [](const std::string& f) { return f != "1326.dat"; });
    ASSERT_TRUE(chain.next());
    EXPECT_EQ(chain.nextFile(), "1326.dat");
    EXPECT_FALSE(chain.next());
}

TEST(TransactionChainTest, AFailedReadCanBeRepeated) {
    TempFolder tmp;
    putFile("1226.dat", tx("", "0"));
    FolderChainFiles files;
    TransactionChain chain(files, account("1226", "1"));
    {
        HeldElsewhere other("1226.dat");
        EXPECT_TRUE(throwsRunError(70, [&] { chain.next(); }));
    }
    ASSERT_TRUE(chain.next()); // the same place, now that the other computer let go
    EXPECT_EQ(chain.record(), 1);
    EXPECT_FALSE(chain.next());
}

TEST(AccountChargeTest, ChargeMinimumAndTheNewRecords) {
    const ChargeTerms terms{.015, 1.0, "12-8-26 ", "1226.dat", false};
    AccountCharge c = chargeAccount(account("1126", "4", "100"), 7, Money::fromText("100"), 12, terms);
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
    EXPECT_EQ(c.reportLine.substr(c.reportLine.size() - 39), "        100.00      1.50         101.50");

    c = chargeAccount(account("1126", "4", "10"), 7, Money::fromText("10"), 12, terms);
    EXPECT_EQ(fieldText(c.transaction, transrec::descr), "Interest Minimum        ");
    EXPECT_EQ(fieldText(c.transaction, transrec::amount), "1.00    ");
}

TEST(AccountChargeTest, TooWideForItsFieldChargesNothing) {
    const ChargeTerms terms{.015, 1.0, "12-8-26", "1226.dat", true};
    const std::string before = account("1126", "4", "99999.99");
    const AccountCharge c = chargeAccount(before, 7, Money::fromText("99999.99"), 12, terms);
    EXPECT_FALSE(c.charged);
    EXPECT_EQ(c.account, before);
    EXPECT_TRUE(c.transaction.empty());
    EXPECT_EQ(c.reportLine.rfind("Not charged Maria DIAZ (Interest 1500.00 or new balance ", 0), 0u) << c.reportLine;
}
