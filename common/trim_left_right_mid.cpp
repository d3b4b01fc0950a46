#include "common/trim_left_right_mid.h"

#include <algorithm>

namespace common {

std::string_view ltrim(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    return s.substr(b);
}

std::string_view rtrim(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && s[e - 1] == ' ') --e;
    return s.substr(0, e);
}

std::string_view trim(std::string_view s) { return rtrim(ltrim(s)); }

std::string_view left(std::string_view s, size_t n) { return s.substr(0, std::min(n, s.size())); }

std::string_view right(std::string_view s, size_t n) { return n >= s.size() ? s : s.substr(s.size() - n); }

std::string_view mid(std::string_view s, size_t start1, size_t n) {
    if (start1 < 1 || start1 > s.size()) return {};
    return s.substr(start1 - 1, n);
}

} // namespace common
