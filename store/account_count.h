#pragma once
#include <cstdint>

// "Cust.ptn": the number of accounts in "cust.dat", written by the main program as it adds them.
namespace store {

constexpr const char* accountCountFile = "Cust.ptn";

// The count as the suite reads it (its first field, rounded). A missing file is error 53.
int32_t readAccountCount();
// Writes the count, whole (a new store's, the demo's).
void writeAccountCount(int32_t accounts);

} // namespace store
