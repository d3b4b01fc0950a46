#pragma once
#include <string_view>

namespace common {

// Blanks (only the space character) trimmed, as the classic Trim, LTrim and RTrim do.
std::string_view trim(std::string_view s);
std::string_view ltrim(std::string_view s);
std::string_view rtrim(std::string_view s);

// Classic Left, Right and Mid (1-based start): never out of range.
std::string_view left(std::string_view s, size_t n);
std::string_view right(std::string_view s, size_t n);
std::string_view mid(std::string_view s, size_t start1, size_t n = std::string_view::npos);

} // namespace common
