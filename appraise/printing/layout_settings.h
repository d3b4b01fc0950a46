#pragma once
#include "common/money.h"

#include <array>
#include <cstdint>
#include <string>

namespace appraise {

// The layout settings loaded at start-up and read by printing.
struct LayoutSettings {
    std::array<std::string, 13> alignText; // values 1 to 12 as text (index 0 is value 1)
    int16_t align13 = 0;                   // value 13
    int16_t bordersize = 0;
    common::Money logofactor;
    char aplogoflag = 0; // 'N' when "aplogoNO.dat" exists
    char nologoflag = 0; // 'N' when "nologowc.dat" exists
};

// The 22 lines of a new "align.fac".
const std::array<const char*, 22>& defaultAlignmentLines();

} // namespace appraise
