#pragma once
#include "common/money.h"

#include <cstdint>
#include <string>
#include <vector>

namespace interest {

// The accounts a run did not charge, by reason, for the report.
struct SparedAccounts {
    int32_t marked = 0;    // marked for no interest
    int32_t rateZero = 0;  // the rate was 0
    int32_t recent = 0;    // under 1.00 once the charges of the last month are left out
    int32_t small = 0;     // a balance under 1.00
    int32_t layaway = 0;   // layaways, when they are not charged
    int32_t noBalance = 0; // nothing owed
};

// The columns of the posting report, each line checkable by hand: the account, its names, the
// balance before, the charge and the balance after.
std::string columnHeadings();
std::string chargeLine(int32_t accountNo, const std::string& name, double before, const std::string& charge,
                       double after);

// The report's last lines: how many accounts were charged and for how much, then the accounts
// not charged, counted by reason in words (the reasons with none left out).
std::vector<std::string> reportSummary(int32_t charged, common::Money total, const SparedAccounts& spared);

// A monthly rate as a person reads it: ".015" gives "1.5 %".
std::string ratePercent(double rate);

} // namespace interest
