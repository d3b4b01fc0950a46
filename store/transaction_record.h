#pragma once
#include "common/fixed_field.h"

// One transaction of a month file ("1226.dat"): 94 bytes. Each account's transactions form a
// chain backwards through the month files (prevfile, prevrec), the newest named by the account.
namespace store::transaction {

constexpr size_t length = 94;
inline constexpr auto fields = common::layoutFields<16>({5, 4, 8, 3, 5, 24, 8, 3, 8, 1, 8, 1, 8, 5, 1, 2});
inline constexpr common::Field acctno = fields[0], prevfile = fields[1], prevrec = fields[2], clerk = fields[3],
                               invoice = fields[4], descr = fields[5], amount = fields[6], txdate = fields[8],
                               txtype = fields[9], amount2 = fields[10], txrating = fields[11];

} // namespace store::transaction
