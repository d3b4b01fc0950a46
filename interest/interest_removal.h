#pragma once
#include "interest/engine_host.h"

#include <string>

namespace interest {

// Takes interest back from the accounts with this phone number: walks each account's chain,
// offers every interest transaction, and for each one confirmed zeroes its amount and lowers
// the balance, writing the transaction before the account. Returns how many were removed.
int removeInterest(const std::string& phone, EngineHost& host, std::string& steplabel);

} // namespace interest
