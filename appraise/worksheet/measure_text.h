#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace appraise {

// What a measure box of the worksheet takes: a carat weight, a weight, a measurement in
// millimetres (any decimal number), or a quantity (a whole number).
enum class Measure { Carat, Quantity, Weight, Millimetres };

// A measure as the jeweler types it, read as meant: blanks around it dropped, a decimal comma
// read as the point it stands for ("3,2" is 3.2). Gives the number text the files keep ("3.2"),
// an empty text for an empty box, or nothing when the text is no such number ("one", "-3",
// "1e9", "12..5", "2.5" stones), or longer than its field holds (`width` characters).
std::optional<std::string> readMeasure(std::string_view typed, Measure kind, size_t width);

// Why the text was refused, quoting it: "\"one\" is not a carat weight. Type it in digits, for
// example 1.25."
std::string measureRefusal(std::string_view typed, Measure kind, size_t width);

} // namespace appraise
