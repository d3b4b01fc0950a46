#pragma once
#include "common/money.h"

#include <string>
#include <string_view>

namespace common {

// Formats a money value with a picture of "#" (optional digit), "0" (required digit) and one
// ".": "######0.00", "#####.00", "##.0000". Rounds at the picture's last decimal, halves away
// from zero; shows every integer digit the value has, however few placeholders; a leading "-"
// for a negative value that does not round to zero.
// The point is always shown when the picture has one (0 with "#.##" is ".").
std::string formatPicture(Money value, std::string_view picture);

} // namespace common
