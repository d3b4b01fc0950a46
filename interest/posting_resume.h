#pragma once
#include "interest/posting_journal.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace interest {

// What a resumed posting does with an account of the block a stopped run noted.
enum class ResumeDecision { Plan, Done, CheckByHand };

struct Resumption {
    std::map<int32_t, ResumeDecision> decisions;
    // The record a stopped run gave an account's charge, with the transaction, taken again
    // when it is still free.
    std::map<int32_t, std::pair<int32_t, std::string>> preferred;
    // Accounts already written whose transactions may not have been (a power cut).
    std::vector<JournalAccount> written;
};

// Judges each account of the stopped block from the account as it is now (`current`): already
// posted, to be posted again, or changed by the main program in a way only a person can judge.
// `chainHolds(account, record, transaction)`: whether the account's chain passes that record of
// the posting month file (holding the transaction, unless it is empty).
Resumption judgeStoppedBlock(const JournalBlock& pending, const std::function<std::string(int32_t)>& current,
                             const std::function<bool(const std::string&, int32_t, const std::string&)>& chainHolds);

} // namespace interest
