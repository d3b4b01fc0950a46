// What the posting does with one account, decided from its record alone (no chain): which case
// it is, and what of the record changes before any charge.
#include "common/fixed_field.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_files.h"
#include "interest/account_planner.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;

namespace {
struct PlanRow {
    const char* name;
    const char* balance;
    const char* mark; // the no-interest mark
    double rate;
    Spared spared;
    const char* markAfter;
    const char* ratingAfter;
};

const PlanRow planRows[] = {
    {"Owing", "100", "0", .015, Spared::No, "0", "1"},
    {"NothingOwed", "0", "0", .015, Spared::NoBalance, "0", "1"},
    {"ACreditBalance", "-5", "0", .015, Spared::Credit, "0", "1"},
    {"MarkedCountsDownAndRatesUp", "100", "3", .015, Spared::Marked, "2", "2"},
    {"MarkedForGoodStays", "100", "99", .015, Spared::Marked, "99", "2"},
    {"MarkedLastTimeGoesToNought", "100", "1", .015, Spared::Marked, "0", "2"},
    {"MarkedWithNothingOwedCountsDownOnly", "0", "2", .015, Spared::NoBalance, "1", "1"},
    {"UnderTheDollar", ".99", "0", .015, Spared::Small, "0", "2"},
    {"JustTheDollar", "1", "0", .015, Spared::No, "0", "1"},
    {"RateZeroRatesUp", "100", "0", 0, Spared::RateZero, "0", "2"},
};

[[maybe_unused]] void PrintTo(const PlanRow& row, std::ostream* os) { *os << row.name; }

class AccountPlannerTest : public ::testing::TestWithParam<PlanRow> {
  protected:
    TempFolder tmp;
};
} // namespace

TEST_P(AccountPlannerTest, CaseAndRecordBeforeTheCharge) {
    const PlanRow& row = GetParam();
    // No transactions: the layaway check and the exclusion walk read nothing.
    const std::string account = accountRecord({.lastFile = "1126",
                                               .lastRec = "0",
                                               .balance = row.balance,
                                               .acctno = 4,
                                               .rating = "1",
                                               .nointerest = row.mark});
    RunFiles files;
    StepLabel label;
    const PlanTerms terms{postingDateOf("12-8-26"), row.rate, true, true};
    const AccountPlanning p = planAccount(account, 4, files, terms, label, [](const std::string&) {});
    EXPECT_EQ(p.spared, row.spared);
    EXPECT_EQ(trim(fieldText(p.account, custrec::nointerest)), row.markAfter);
    EXPECT_EQ(trim(fieldText(p.account, custrec::rating)), row.ratingAfter);
    if (row.spared == Spared::No) {
        EXPECT_EQ(p.base, Money::fromText(row.balance));
    }
    // Only the mark and the rating may change.
    std::string rest = p.account;
    storeField(rest, custrec::nointerest, fieldText(account, custrec::nointerest));
    storeField(rest, custrec::rating, fieldText(account, custrec::rating));
    EXPECT_EQ(rest, account);
}

INSTANTIATE_TEST_SUITE_P(Cases, AccountPlannerTest, ::testing::ValuesIn(planRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AccountPlannerNumbersTest, ABalanceBeyondRangeIsNamedAndLeftAsItIs) {
    TempFolder tmp;
    const std::string account =
        accountRecord({.name1 = "LEE", .name2 = "Kim", .lastRec = "0", .balance = "9E+99", .acctno = 5});
    RunFiles files;
    StepLabel label;
    const AccountPlanning p =
        planAccount(account, 5, files, PlanTerms{postingDateOf("12-8-26"), .015}, label, [](const std::string&) {});
    EXPECT_EQ(p.spared, Spared::Unreadable);
    EXPECT_EQ(p.account, account);
    EXPECT_FALSE(p.owes);
    EXPECT_EQ(p.note, "its balance \"9E+99\" cannot be read");
}

TEST(AccountPlannerByHandTest, AnAccountSparedByHandIsLeftAsItIsAndOthersAsUsual) {
    TempFolder tmp;
    RunFiles files;
    StepLabel label;
    PlanTerms terms{postingDateOf("12-8-26"), .015};
    terms.sparedByHand = {4, 9};
    const std::string owing = accountRecord({.lastRec = "0", .balance = "100", .acctno = 4, .rating = "1"});
    const AccountPlanning spared = planAccount(owing, 4, files, terms, label, [](const std::string&) {});
    EXPECT_EQ(spared.spared, Spared::ByHand);
    EXPECT_EQ(spared.account, owing); // no charge, no rating, no mark counted down
    // The same account not on the list is charged.
    EXPECT_EQ(planAccount(owing, 5, files, terms, label, [](const std::string&) {}).spared, Spared::No);
    // On the list but marked: spared for its mark, which counts down as in any posting.
    const std::string marked =
        accountRecord({.lastRec = "0", .balance = "100", .acctno = 9, .rating = "1", .nointerest = "3"});
    const AccountPlanning m = planAccount(marked, 9, files, terms, label, [](const std::string&) {});
    EXPECT_EQ(m.spared, Spared::Marked);
    EXPECT_EQ(trim(fieldText(m.account, custrec::nointerest)), "2");
}
