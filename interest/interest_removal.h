#pragma once
#include "platform/platform.h"

#include <string>

namespace interest {

// Takes interest back from the accounts with this phone number: walks each account's chain,
// offers every interest transaction, and for each one confirmed zeroes its amount and lowers
// the balance, writing the transaction before the account. Returns how many were removed.
int removeInterest(const std::string& phone, platform::Platform& platform, std::string& steplabel);

} // namespace interest
