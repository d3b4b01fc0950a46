#include "common/file_names.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "interest/account_files.h"
#include "interest/account_planner.h"
#include "tests/support/fault_env.h"
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
    // The base of `account` once the exclusion walk of the posting of 12-7-98 has taken its
    // recent charges out of `base`, on the files a run opens.
    Money walk(const std::string& account, const char* base) {
        Money b = Money::fromText(base);
        RunFiles files;
        excludeRecent(files, account, postingDateOf("12-7-98"), b, steplabel, [this](const std::string& message) {
            shown.push_back(message);
            if (onShow) onShow(message);
        });
        return b;
    }
    TempFolder tmp;
    StepLabel steplabel;
    std::vector<std::string> shown;
    std::function<void(const std::string&)> onShow;
};
} // namespace

TEST(PostingDateTest, PartsAndTheMonthBefore) {
    auto d = postingDateOf("1-15-98");
    EXPECT_EQ(d.month, 1);
    EXPECT_EQ(d.day, 15);
    EXPECT_EQ(d.year, 98);
    EXPECT_EQ(d.prevMonth, 12);
    EXPECT_EQ(d.prevYear, 97);
    d = postingDateOf("12-7-98");
    EXPECT_EQ(d.day, 7);
    EXPECT_EQ(d.prevMonth, 11);
    d = postingDateOf("1-5-00");
    EXPECT_EQ(d.prevYear, 99); // December 99 comes before January 00
    EXPECT_EQ(monthFileName("12-7-98"), "1298.dat");
    EXPECT_EQ(monthFileName("1-5-98"), "1-98.dat");
    EXPECT_EQ(pointerFileName("1-98.dat"), "1-98.ptn");
    const auto t = transactionDay("11-20-98");
    EXPECT_EQ(t.month, 11);
    EXPECT_EQ(t.day, 20);
    EXPECT_EQ(t.year, 98);
}

TEST_F(WalkTest, ZeroOrBlankNewestRecordOpensNothing) {
    for (const char* rec : {"0", ""}) {
        const Money run = walk(account("1298", rec, "100", 1), "100");
        EXPECT_EQ(run, Money::fromText("100"));
        EXPECT_EQ(steplabel.text(), "");
    }
}

TEST_F(WalkTest, ChargesOfThePostingMonthAndLateLastMonthLeaveTheBase) {
    putRecords("1298.dat", {transaction(1, "1198", "2", "Ring", "30.00", "12-2-98", "A", "5"),
                            transaction(1, "", "0", "Payment", "10.00", "12-3-98", "P")});
    putRecords("1198.dat", {transaction(1, "", "0", "Chain", "40.00", "11-3-98", "A"),
                            transaction(1, "1198", "1", "Watch", "20.00", "11-20-98", "A")});
    // 30 + 5 of December and 20 of late November go; 40 of early November stays.
    EXPECT_EQ(walk(account("1298", "1", "200", 1), "200"), Money::fromText("145"));
    EXPECT_EQ(steplabel.text(), "HereG4");
}

TEST_F(WalkTest, FileCodesOutOfMonthRangeEndTheWalk) {
    for (const char* code : {"1398", "0098"}) {
        putRecords(std::string(code) + ".dat", {transaction(1, "", "0", "Ring", "30.00", "12-2-98", "A")});
        const Money run = walk(account(code, "1", "100", 1), "100");
        EXPECT_EQ(run, Money::fromText("100")) << code;
        EXPECT_TRUE(shown.empty());
    }
}

TEST_F(WalkTest, BackPointersThatLoopEndTheWalk) {
    // Same file with a higher record, and a loop across two files: each record counts once.
    putRecords("1298.dat", {transaction(1, "1298", "2", "Ring", "10.00", "12-2-98", "A"),
                            transaction(1, "1198", "1", "Ring", "10.00", "12-3-98", "A")});
    putRecords("1198.dat", {transaction(1, "1298", "2", "Ring", "10.00", "12-4-98", "A")});
    const Money run = walk(account("1298", "1", "100", 1), "100");
    EXPECT_EQ(run, Money::fromText("90")); // 1298:1 then stops (2 is higher)
    const Money loop =
        walk(account("1298", "2", "100", 1), "100"); // 1298:2 -> 1198:1 -> 1298:2 again, for ever without the guard
    EXPECT_EQ(loop, Money::fromText("80"));
}

TEST_F(WalkTest, ChainLeavingTheAccountEndsTheWalk) {
    putRecords("1298.dat", {transaction(1, "1298", "2", "Ring", "10.00", "12-2-98", "A"),
                            transaction(2, "", "0", "Ring", "10.00", "12-3-98", "A")});
    const Money run = walk(account("1298", "1", "100", 1), "100");
    EXPECT_EQ(run, Money::fromText("90"));
}

TEST_F(WalkTest, HeldFileIsRetriedThenReportedThenRead) {
    putRecords("1298.dat", {transaction(1, "", "0", "Ring", "30.00", "12-2-98", "A")});
    // Another computer holds the month file.
    HeldElsewhere held("1298.dat");
    int another = 0;
    onShow = [&](const std::string& text) {
        if (text.rfind("Another computer", 0) == 0 && ++another == 2) {
            held.release(); // the other computer lets go
        }
    };
    const Money run = walk(account("1298", "1", "100", 1), "100");
    EXPECT_EQ(run, Money::fromText("70"));
    // 21 trace boxes before each "Another computer" box: 20 silent retries, then the notice.
    ASSERT_EQ(shown.size(), 21u + 1 + 21 + 1);
    EXPECT_EQ(shown[0], "HereG2/\r|1298.dat");
    EXPECT_EQ(shown[20], "HereG2/\r|1298.dat");
    EXPECT_EQ(shown[21], "Another computer is momentarily using this file.\rTry again.");
    EXPECT_EQ(shown[43], "Another computer is momentarily using this file.\rTry again.");
}

TEST_F(WalkTest, LayawayCheckFindsTheNewestChargeOrLayaway) {
    putRecords("1298.dat", {transaction(1, "1198", "1", "Interest", "1.00", "12-2-98", "A"),
                            transaction(2, "1198", "2", "Payment", "1.00", "12-2-98", "P"),
                            transaction(3, "1298", "3", "Ring", "1.00", "12-2-98", "P")});
    putRecords("1198.dat", {transaction(1, "", "0", "Layaway", "50.00", "11-2-98", "~"),
                            transaction(2, "", "0", "Ring", "50.00", "11-2-98", "A")});
    RunFiles files;
    EXPECT_EQ(layawayFlag(files, account("1298", "1", "100", 1)), "Y"); // interest stepped over, then the layaway
    EXPECT_EQ(layawayFlag(files, account("1298", "2", "100", 2)), "N"); // a payment stepped over, then a charge
    EXPECT_EQ(layawayFlag(files, account("1298", "3", "100", 3)),
              ""); // points at itself: the walk stops, a normal account
    EXPECT_EQ(layawayFlag(files, account("1298", "0", "100", 4)), ""); // no transactions
    EXPECT_EQ(layawayFlag(files, account("0798", "1", "100", 5)), ""); // a month file that is not there
    EXPECT_FALSE(fileExists("0798.dat"));
}
