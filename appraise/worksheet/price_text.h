#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace appraise {

// A price as the jeweler types it, read as meant: blanks around it, a leading "$", a minus sign,
// thousands grouped by "," or by a blank ("6,500.00", "$6500", "6 500"). Gives the plain number
// text ("6500.00"), or nothing when the text is not a price ("6,50", "12a", "$"). An empty text is
// a price of 0.
std::optional<std::string> readPrice(std::string_view typed);

// A plain number text grouped by thousands for a person to read ("2450.00" gives "2,450.00");
// any other text comes back as it is.
std::string groupedPrice(std::string_view price);

} // namespace appraise
