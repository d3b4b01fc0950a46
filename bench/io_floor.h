#pragma once
#include <string>

namespace bench {

// The reads and writes a posting run must make, and nothing else: each account read; for an
// account with a balance the transactions the layaway check reads (and with the firstmon
// setting the whole chain); for a charge the transaction, the month's pointer and the account
// written in place. The floor a posting run is measured against.
int ioFloor(const std::string& datebox, double rate, bool firstmon);

} // namespace bench
