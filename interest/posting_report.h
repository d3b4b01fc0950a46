#pragma once
#include "common/money.h"

#include <cstdint>
#include <string>
#include <vector>

namespace interest {

struct SparedAccounts;

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
