#pragma once
#include <functional>
#include <string>

namespace appraise {

// Appends an item record to the item log "appraise.dat" (157-byte records) and moves its
// count in "appraise.pt" on. The record goes after the count and after every record already in
// the log (a missing, empty or unreadable count never makes it write over one). The record is
// written before the count, so a failure leaves the count as it was. A count that would pass
// 32767 is error 6 and writes nothing.
// `created` runs after a missing count file was made as "0".
void logItem(const std::string& record, const std::function<void()>& created = {});

} // namespace appraise
