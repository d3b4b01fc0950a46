#pragma once
#include <string>
#include <vector>

namespace appraise {

// The closing passage as printed: lines whose trimmed text is empty dropped, each longer
// line broken after its last blank at or before column 80 (the blank kept on the first
// piece). More than 30 lines is error 9; a line with no blank in its first 80 characters is
// error 5.
std::vector<std::string> closingLines(const std::vector<std::string>& fileLines);

constexpr size_t maxClosingLines = 30;

} // namespace appraise
