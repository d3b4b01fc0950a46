#pragma once
#include "common/money.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace interest {

// The accounts a run did not charge, by reason, for the report.
struct SparedAccounts {
    int32_t marked = 0;      // marked for no interest
    int32_t rateZero = 0;    // the rate was 0
    int32_t recent = 0;      // under 1.00 once the charges of the last month are left out
    int32_t small = 0;       // a balance under 1.00
    int32_t layaway = 0;     // layaways, when they are not charged
    int32_t noBalance = 0;   // nothing owed
    int32_t credit = 0;      // the store owes the customer
    int32_t byHand = 0;      // taken out of the posting in its preview
    int32_t tooLarge = 0;    // the charge or the new balance would not fit the account
    int32_t unreadable = 0;  // a number of the account the posting cannot read
    int32_t checkByHand = 0; // changed since a stopped posting stopped at it
    int32_t total() const;
    SparedAccounts& operator+=(const SparedAccounts& o);
};

// One account of the report's section of accounts not charged, and why.
struct SparedLine {
    enum class Why : std::uint8_t { Marked, RateZero, Recent, Small, Layaway, NoBalance, Credit, ByHand, Other };
    int32_t account = 0;
    Why why = Why::Other;
    std::string name;         // as the charge lines show it
    std::string balance;      // as it was before the posting (balanceText)
    common::Money base;       // Recent: what was left once the last month was left out
    std::string markLeft;     // Marked: the no-interest mark after this posting's count-down
    std::string because = {}; // Other: in words
};

// One charged account as its report line shows it.
struct ChargeLine {
    int32_t account = 0;
    std::string name;
    double before = 0;
    std::optional<common::Money> base; // printed where the last month's charges lowered it
    std::string charge;                // as stored
    bool minimum = false;              // the minimum charge, the rate having given less
    double after = 0;
};

// The columns of the posting report, each line checkable by hand: the account, its names, the
// balance before, with the last-month exclusion the base where it is lower, the charge (a
// minimum charge marked "min") and the balance after.
std::string columnHeadings(bool withBase);
std::string chargeLine(const ChargeLine& c, bool withBase);

// A balance field as the report shows it: "250.00", or as stored when it is no number the
// posting can handle.
std::string balanceText(std::string_view field);

// The section after the charges: every account not charged, named, with its reason.
std::string sparedHeading();
std::string sparedColumns();
std::string sparedLine(const SparedLine& s);

// The report's last lines: how many accounts there are, how many were charged and for how
// much, then the accounts not charged, counted by reason in words (the reasons with none left
// out), so that the counts add up to the accounts of the store.
std::vector<std::string> reportSummary(int32_t accounts, int32_t charged, common::Money total,
                                       const SparedAccounts& spared);

// A monthly rate as a person reads it: ".015" gives "1.5 %".
std::string ratePercent(double rate);
// And with its yearly rate: ".015" gives "1.5 % a month, 18 % a year".
std::string rateMonthAndYear(double rate);

} // namespace interest
