#pragma once

namespace interest {

// The posting's flag files: each is set when its file is there.
enum class PostingFlag {
    NoInterestOnLayaways, // "NoIntLW.dat", set from the window's check box
    FirstMonthFree,       // "firstmon.dat": charges of the last month are left out of the base
    Wholesale,            // "wholesal.dat": interest transactions carry "1 999999" in amount2
};

bool isSet(PostingFlag flag);
// Sets the flag (the file written with its one line) or clears it (the file removed).
void setFlag(PostingFlag flag, bool on);

} // namespace interest
