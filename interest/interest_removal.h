#pragma once
#include "common/money.h"
#include "interest/engine_host.h"
#include "interest/step_label.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace interest {

// An account whose phone has the digits of the one typed, written another way.
struct PhoneMatch {
    int32_t account = 0;
    std::string phone, name;
};

// A charge taken back, as the record names it.
struct RemovedCharge {
    int32_t account = 0;
    std::string names, phone, date, amount, descr;
};
// Told of each charge once it is taken back (written), before the next is looked at.
using ChargeRemoved = std::function<void(const RemovedCharge&)>;

struct RemovalResult {
    int removed = 0;                    // interest charges removed
    common::Money total;                // their amounts
    int accountsChanged = 0;            // accounts that had one removed
    int accounts = 0;                   // accounts with the phone exactly
    std::vector<PhoneMatch> sameDigits; // when none has it exactly: those with its digits
};

// Takes interest back from the accounts with this phone number: walks each account's chain,
// offers every interest transaction (only those dated `onlyDate` when it is given: the charge of
// one posting), named with the account's number, names and phone and the charge's date and
// amount, and for each one confirmed zeroes its amount and lowers the balance, writing the
// transaction before the account. An account with transactions that names no month file for
// them stops it (err::NoFileNamed).
RemovalResult removeInterest(const std::string& phone, EngineHost& host, StepLabel& steplabel,
                             const std::string& onlyDate = {}, const ChargeRemoved& removed = {});

// The accounts with this phone number exactly, and when there are none those with its digits
// written another way; nothing is changed.
struct PhoneSearch {
    int accounts = 0;
    std::vector<PhoneMatch> sameDigits;
};
PhoneSearch findPhone(const std::string& phone, StepLabel& steplabel);

// Takes back every interest charge of the posting of `date` from every account, asking nothing
// (the caller asked once), the same way: each charge zeroed, then the balance lowered.
RemovalResult removePostingCharges(const std::string& date, EngineHost& host, StepLabel& steplabel,
                                   const ChargeRemoved& removed = {});

} // namespace interest
