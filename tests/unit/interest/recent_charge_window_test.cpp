// The charges the last-month exclusion leaves out of an account's base: those of the posting's
// month, and those of the month before it after the posting's day, each of its own year.
#include "interest/account_files.h"
#include "interest/account_planner.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;

namespace {
struct WindowRow {
    const char* name;
    const char* posting;
    const char* charged; // the date of a 30.00 charge on the account
    bool leftOut;
};

// Day by day around the edges: the posting's day itself, the day after, the end of the month,
// two months back, and the same months a year earlier (the year counts as much as the month).
const WindowRow rows[] = {
    {"ThisMonth", "12-9-26", "12-1-26", true},
    {"LastMonthOnThePostingDay", "12-9-26", "11-9-26", false},
    {"LastMonthTheDayAfter", "12-9-26", "11-10-26", true},
    {"LastMonthItsLastDay", "12-9-26", "11-30-26", true},
    {"TwoMonthsBack", "12-9-26", "10-20-26", false},
    {"ThisMonthAYearEarlier", "12-9-26", "12-5-25", false},
    {"LastMonthAYearEarlier", "12-9-26", "11-20-25", false},
    {"NewYearDecemberAfterTheDay", "1-9-27", "12-10-26", true},
    {"NewYearDecemberOnTheDay", "1-9-27", "12-9-26", false},
    {"NewYearJanuary", "1-9-27", "1-3-27", true},
    {"NewYearDecemberAYearEarlier", "1-9-27", "12-10-25", false},
    {"NewYearJanuaryAYearEarlier", "1-9-27", "1-3-26", false},
};

// A failing row reads as its dates.
[[maybe_unused]] void PrintTo(const WindowRow& row, std::ostream* os) {
    *os << "a charge of " << row.charged << " in the posting of " << row.posting;
}

class RecentChargeWindowTest : public ::testing::TestWithParam<WindowRow> {
  protected:
    TempFolder tmp;
    StepLabel steplabel;
};
} // namespace

TEST_P(RecentChargeWindowTest, LeavesOutOnlyTheRecentCharges) {
    const WindowRow& row = GetParam();
    putFile("1226.dat", transactionRecord(1, "", "0", "Ring", "30.00", row.charged, "A"));
    RunFiles files;
    Money base = Money::fromText("100");
    excludeRecent(files, accountRecord({.lastFile = "1226", .lastRec = "1", .balance = "100", .acctno = 1}),
                  postingDateOf(row.posting), base, steplabel, [](const std::string&) {});
    EXPECT_EQ(base, Money::fromText(row.leftOut ? "70" : "100"))
        << "a charge of " << row.charged << " in the posting of " << row.posting;
}

INSTANTIATE_TEST_SUITE_P(Edges, RecentChargeWindowTest, ::testing::ValuesIn(rows),
                         [](const auto& info) { return std::string(info.param.name); });
