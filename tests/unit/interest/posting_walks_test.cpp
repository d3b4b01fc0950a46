#include "common/file_names.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "interest/posting_run.h"
#include "tests/support/fault_env.h"
#include "tests/support/headless_host.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <memory>

using namespace common;
using namespace interest;
using namespace testsupport;

namespace {
std::string account(const std::string& lastFile, const std::string& lastRec, const std::string& balance, int acct) {
    return accountRecord({.lastFile = lastFile, .lastRec = lastRec, .balance = balance, .acctno = acct});
}

std::string transaction(int acct, const std::string& prevFile, const std::string& prevRec, const std::string& descr,
                        const std::string& amount, const std::string& date, const std::string& type,
                        const std::string& amount2 = "") {
    return transactionRecord(acct, prevFile, prevRec, descr, amount, date, type, amount2);
}

void putRecords(const std::string& name, const std::vector<std::string>& recs) {
    std::string all;
    for (const auto& r : recs) all += r;
    putFile(name, all);
}

class WalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Every error box is answered Retry.
        host.answers.assign(1000, true);
    }
    PostingRun makeRun(const std::string& date = "12-7-98") {
        PostingInput in;
        in.datebox = date;
        in.percentage = ".015";
        in.minfinance = "0";
        in.firstmon = true;
        return PostingRun(in, host, steplabel);
    }
    TempFolder tmp;
    HeadlessHost host;
    StepLabel steplabel;
};
} // namespace

TEST(PostingDateTest, PartsAndTheMonthBefore) {
    auto d = postingDate("1-15-98");
    EXPECT_EQ(d.month, 1);
    EXPECT_EQ(d.day, 15);
    EXPECT_EQ(d.year, 98);
    EXPECT_EQ(d.prevMonth, 12);
    EXPECT_EQ(d.prevYear, 97);
    d = postingDate("12-7-98");
    EXPECT_EQ(d.day, 7);
    EXPECT_EQ(d.prevMonth, 11);
    d = postingDate("1-5-00");
    EXPECT_EQ(d.prevYear, 99); // December 99 comes before January 00
    EXPECT_EQ(monthFileName("12-7-98"), "1298.dat");
    EXPECT_EQ(monthFileName("1-5-98"), "1-98.dat");
    EXPECT_EQ(pointerFileName("1-98.dat"), "1-98.ptn");
    const auto t = transactionDate("11-20-98");
    EXPECT_EQ(t.month, 11);
    EXPECT_EQ(t.day, 20);
    EXPECT_EQ(t.year, 98);
}

TEST_F(WalkTest, ZeroOrBlankNewestRecordOpensNothing) {
    for (const char* rec : {"0", ""}) {
        auto run = makeRun();
        run.account() = account("1298", rec, "100", 1);
        run.interestbase() = Money::fromText("100");
        run.excluderecent();
        EXPECT_EQ(run.interestbase(), Money::fromText("100"));
        EXPECT_EQ(steplabel.text(), "");
    }
}

TEST_F(WalkTest, ChargesOfThePostingMonthAndLateLastMonthLeaveTheBase) {
    putRecords("1298.dat", {transaction(1, "1198", "2", "Ring", "30.00", "12-2-98", "A", "5"),
                            transaction(1, "", "0", "Payment", "10.00", "12-3-98", "P")});
    putRecords("1198.dat", {transaction(1, "", "0", "Chain", "40.00", "11-3-98", "A"),
                            transaction(1, "1198", "1", "Watch", "20.00", "11-20-98", "A")});
    auto run = makeRun();
    run.account() = account("1298", "1", "200", 1);
    run.interestbase() = Money::fromText("200");
    run.excluderecent();
    // 30 + 5 of December and 20 of late November go; 40 of early November stays.
    EXPECT_EQ(run.interestbase(), Money::fromText("145"));
    EXPECT_EQ(steplabel.text(), "HereG4");
}

TEST_F(WalkTest, FileCodesOutOfMonthRangeEndTheWalk) {
    for (const char* code : {"1398", "0098"}) {
        putRecords(std::string(code) + ".dat", {transaction(1, "", "0", "Ring", "30.00", "12-2-98", "A")});
        auto run = makeRun();
        run.account() = account(code, "1", "100", 1);
        run.interestbase() = Money::fromText("100");
        run.excluderecent();
        EXPECT_EQ(run.interestbase(), Money::fromText("100")) << code;
        EXPECT_TRUE(host.shown().empty());
    }
}

TEST_F(WalkTest, BackPointersThatLoopEndTheWalk) {
    // Same file with a higher record, and a loop across two files: each record counts once.
    putRecords("1298.dat", {transaction(1, "1298", "2", "Ring", "10.00", "12-2-98", "A"),
                            transaction(1, "1198", "1", "Ring", "10.00", "12-3-98", "A")});
    putRecords("1198.dat", {transaction(1, "1298", "2", "Ring", "10.00", "12-4-98", "A")});
    auto run = makeRun();
    run.account() = account("1298", "1", "100", 1);
    run.interestbase() = Money::fromText("100");
    run.excluderecent();
    EXPECT_EQ(run.interestbase(), Money::fromText("90")); // 1298:1 then stops (2 is higher)
    auto loop = makeRun();
    loop.account() = account("1298", "2", "100", 1);
    loop.interestbase() = Money::fromText("100");
    loop.excluderecent(); // 1298:2 -> 1198:1 -> 1298:2 again, for ever without the guard
    EXPECT_EQ(loop.interestbase(), Money::fromText("80"));
}

TEST_F(WalkTest, ChainLeavingTheAccountEndsTheWalk) {
    putRecords("1298.dat", {transaction(1, "1298", "2", "Ring", "10.00", "12-2-98", "A"),
                            transaction(2, "", "0", "Ring", "10.00", "12-3-98", "A")});
    auto run = makeRun();
    run.account() = account("1298", "1", "100", 1);
    run.interestbase() = Money::fromText("100");
    run.excluderecent();
    EXPECT_EQ(run.interestbase(), Money::fromText("90"));
}

TEST_F(WalkTest, HeldFileIsRetriedThenReportedThenRead) {
    putRecords("1298.dat", {transaction(1, "", "0", "Ring", "30.00", "12-2-98", "A")});
    // Another computer holds the month file.
    HeldElsewhere held("1298.dat");
    int another = 0;
    host.onShow = [&](const std::string& text) {
        if (text.rfind("Another computer", 0) == 0 && ++another == 2) {
            held.release(); // the other computer lets go
        }
    };
    auto run = makeRun();
    run.account() = account("1298", "1", "100", 1);
    run.interestbase() = Money::fromText("100");
    run.excluderecent();
    EXPECT_EQ(run.interestbase(), Money::fromText("70"));
    // 21 trace boxes before each "Another computer" box: 20 silent retries, then the notice.
    ASSERT_EQ(host.shown().size(), 21u + 1 + 21 + 1);
    EXPECT_EQ(host.shown()[0], "HereG2/\r|1298.dat");
    EXPECT_EQ(host.shown()[20], "HereG2/\r|1298.dat");
    EXPECT_EQ(host.shown()[21], "Another computer is momentarily using this file.\rTry again.");
    EXPECT_EQ(host.shown()[43], "Another computer is momentarily using this file.\rTry again.");
}

TEST_F(WalkTest, LayawayCheckFindsTheNewestChargeOrLayaway) {
    putRecords("1298.dat", {transaction(1, "1198", "1", "Interest", "1.00", "12-2-98", "A"),
                            transaction(2, "1198", "2", "Payment", "1.00", "12-2-98", "P"),
                            transaction(3, "1298", "3", "Ring", "1.00", "12-2-98", "P")});
    putRecords("1198.dat", {transaction(1, "", "0", "Layaway", "50.00", "11-2-98", "~"),
                            transaction(2, "", "0", "Ring", "50.00", "11-2-98", "A")});
    auto run = makeRun();
    run.account() = account("1298", "1", "100", 1);
    EXPECT_EQ(run.layawayCheck(), "Y"); // interest stepped over, then the layaway
    run.account() = account("1298", "2", "100", 2);
    EXPECT_EQ(run.layawayCheck(), "N"); // a payment stepped over, then a charge
    run.account() = account("1298", "3", "100", 3);
    EXPECT_EQ(run.layawayCheck(), ""); // points at itself: the walk stops, a normal account
    run.account() = account("1298", "0", "100", 4);
    EXPECT_EQ(run.layawayCheck(), ""); // no transactions
    run.account() = account("0798", "1", "100", 5);
    EXPECT_EQ(run.layawayCheck(), ""); // a month file that is not there
    EXPECT_FALSE(fileExists("0798.dat"));
}
