#pragma once
#include <string>

namespace interest {

// Interest's own settings, one value a line in "intset.dat" (no other program of the suite
// reads it): line 1, the highest monthly rate the store may charge, as typed ("" for none).
inline constexpr const char* settingsFileName = "intset.dat";

// The highest rate kept, "" when none is set (or the file is not there).
std::string highestRate();
// Keeps the highest rate, the file written anew (the lines after the first kept as they were).
void keepHighestRate(const std::string& rate);

} // namespace interest
