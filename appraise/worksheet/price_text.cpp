#include "appraise/worksheet/price_text.h"

#include <cctype>

namespace appraise {

namespace {
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}
} // namespace

std::optional<std::string> readPrice(std::string_view typed) {
    std::string_view s = trimmed(typed);
    if (s.empty()) return std::string("0");
    bool negative = false;
    auto take = [&s](char c) {
        if (s.empty() || s.front() != c) return false;
        s.remove_prefix(1);
        return true;
    };
    negative = take('-');
    if (take('$')) s = trimmed(s);
    if (!negative) negative = take('-');

    std::string digits;
    size_t run = 0;
    while (!s.empty() && isDigit(s.front())) {
        digits += s.front();
        s.remove_prefix(1);
        ++run;
    }
    // Groups of three after a first group of one to three digits, all with the same separator.
    if (run >= 1 && run <= 3 && s.size() >= 4 && (s.front() == ',' || s.front() == ' ') && isDigit(s[1])) {
        const char separator = s.front();
        while (!s.empty() && s.front() == separator) {
            if (s.size() < 4 || !isDigit(s[1]) || !isDigit(s[2]) || !isDigit(s[3]) || (s.size() > 4 && isDigit(s[4])))
                return std::nullopt;
            digits.append(s.substr(1, 3));
            s.remove_prefix(4);
        }
    }
    std::string fraction;
    const bool point = take('.');
    while (point && !s.empty() && isDigit(s.front())) {
        fraction += s.front();
        s.remove_prefix(1);
    }
    if (!s.empty() || (digits.empty() && fraction.empty())) return std::nullopt;
    std::string out = negative ? "-" : "";
    out += digits.empty() ? "0" : digits;
    if (point) out += "." + fraction;
    return out;
}

std::string groupedPrice(std::string_view price) {
    const std::string_view s = trimmed(price);
    const size_t sign = !s.empty() && s.front() == '-' ? 1 : 0;
    size_t end = sign;
    while (end < s.size() && isDigit(s[end])) ++end;
    if (end == sign) return std::string(price);
    for (size_t i = end; i < s.size(); ++i)
        if (!(i == end && s[i] == '.') && !isDigit(s[i])) return std::string(price);
    std::string out(s.substr(0, sign));
    for (size_t i = sign; i < end; ++i) {
        if (i > sign && (end - i) % 3 == 0) out += ',';
        out += s[i];
    }
    out.append(s.substr(end));
    return out;
}

} // namespace appraise
