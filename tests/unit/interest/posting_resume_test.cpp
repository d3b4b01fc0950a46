// A posting stopped part-way and run again with the same date: what the main program did in
// between survives, what the stop cut short is completed, and an account changed meanwhile is
// left for a person.
#include "common/file_names.h"
#include "interest/account_charge.h"
#include "tests/support/fault_env.h"
#include "tests/unit/interest/posting_store.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;
namespace fs = std::filesystem;

TEST_F(PostingSafetyTest, SalesAppendedBetweenStopAndResumeSurviveAndTheChargesFollowThem) {
    {
        HeldElsewhere other("1226.dat"); // the first charge cannot be written
        EXPECT_EQ(post(), std::nullopt);
    }
    EXPECT_EQ(steplabel.text(), "HereE");
    EXPECT_TRUE(fileExists("interest.jrn"));
    // Between the runs the main program sells three times and moves the pointer to 5.
    sell(3, "20.00");
    sell(3, "20.00");
    sell(2, "30.00");
    const std::string sales = getFile("1226.dat").substr(2 * transrec::length);
    ASSERT_EQ(sales.size(), 3 * transrec::length);
    EXPECT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(getFile("1226.dat").substr(2 * transrec::length, 3 * transrec::length), sales); // intact
    EXPECT_EQ(getFile("1226.ptn"), " 8\r\n");
    // The charges follow the sales, each chained to its account's newest transaction.
    const std::string c1 = recordOf("1226.dat", 6, transrec::length), c2 = recordOf("1226.dat", 7, transrec::length),
                      c3 = recordOf("1226.dat", 8, transrec::length);
    EXPECT_EQ(fieldText(c1, transrec::acctno), "1    ");
    EXPECT_EQ(fieldText(c1, transrec::prevfile), "1126");
    EXPECT_EQ(fieldText(c2, transrec::prevfile), "1226");
    EXPECT_EQ(fieldText(c2, transrec::prevrec), "5       ");
    EXPECT_EQ(fieldText(c3, transrec::prevrec), "4       ");
    EXPECT_EQ(fieldText(account(1), custrec::lasttxrec), "6       ");
    EXPECT_EQ(fieldText(account(3), custrec::lasttxrec), "8       ");
    EXPECT_FALSE(fileExists("interest.jrn"));
}

TEST_F(PostingSafetyTest, TheChargeCutShortByAStopIsCompletedInItsOwnRecord) {
    {
        HeldElsewhere other("1226.dat");
        EXPECT_EQ(post(), std::nullopt);
    }
    // As if the stop had come in the middle of writing account 1's charge into record 3.
    const AccountCharge c =
        chargeAccount(account(1), 1, Money::fromText("100"), 3, ChargeTerms{.015, 1.0, "12-8-26", "1226.dat", false});
    putFile("1226.dat", getFile("1226.dat") + c.transaction.substr(0, 50));
    EXPECT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(recordOf("1226.dat", 3, transrec::length), c.transaction);
    EXPECT_EQ(fieldText(account(1), custrec::lasttxrec), "3       ");
    EXPECT_EQ(getFile("1226.ptn"), " 5\r\n");
    // Anything else cut short there is not the run's, and is left as it is.
    SetUp();
    {
        HeldElsewhere other("1226.dat");
        post();
    }
    putFile("1226.dat", getFile("1226.dat") + std::string(50, 'S'));
    EXPECT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(getFile("1226.dat").substr(2 * transrec::length, 50), std::string(50, 'S'));
    EXPECT_EQ(fieldText(account(1), custrec::lasttxrec), "4       ");
}

TEST_F(PostingSafetyTest, TrailingBlankInTheDateNamesTheSameMonthFileAndResumesIt) {
    {
        HeldElsewhere other("1226.dat");
        EXPECT_EQ(post("12-8-26 "), std::nullopt);
    }
    EXPECT_FALSE(fileExists("126 .dat"));
    EXPECT_EQ(post("12-8-26 "), PostingOutcome::Completed); // the retry the message asks for
    EXPECT_FALSE(fileExists("126 .dat"));
    EXPECT_FALSE(fileExists("126 .ptn"));
    EXPECT_EQ(getFile("1226.ptn"), " 5\r\n");
    EXPECT_EQ(fieldText(recordOf("1226.dat", 3, transrec::length), transrec::txdate), "12-8-26 ");
    EXPECT_EQ(getFile("lastpost.dat"), "12-8-26\r\n .015\r\n 1\r\n");
}

TEST_F(PostingSafetyTest, AccountChangedSinceTheStopIsLeftForAPersonAndTheRestIsPosted) {
    // Account 1 is marked for no interest, so it is written before the charge of account 2 stops.
    RecordFile cust("cust.dat", custrec::length);
    std::string a1 = cust.read(1);
    storeField(a1, custrec::nointerest, "2");
    cust.write(1, a1);
    cust.close();
    {
        HeldElsewhere other("1226.dat");
        EXPECT_EQ(post(), std::nullopt);
    }
    sell(2, "30.00"); // the main program changes the account in flight
    const std::string changed = account(2);
    EXPECT_EQ(post(), PostingOutcome::Completed);
    ASSERT_FALSE(host->shown().empty());
    EXPECT_EQ(host->shown()[0].rfind("Account 2 (Ann ADAMS) has changed since the posting of 12-8-26", 0), 0u);
    EXPECT_TRUE(reported("Check by hand: account 2 Ann ADAMS"));
    EXPECT_EQ(account(2), changed);
    EXPECT_EQ(fieldText(account(3), custrec::lasttxfile), "1226"); // the rest is posted
    EXPECT_FALSE(fileExists("interest.jrn"));
    EXPECT_EQ(post("1-8-27"), PostingOutcome::Completed); // nothing locks the store out
}
