#include "common/basic_number.h"
#include "common/trim_left_right_mid.h"

#include "common/run_error.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace common {

namespace {
bool skippable(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

double roundHalfEven(double v) {
    if (v == std::trunc(v)) return v; // whole already (or not a number)
    // nearbyint rounds in the current mode, which is to-nearest-even unless changed.
    const int old = std::fegetround();
    if (old != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    if (old != FE_TONEAREST) std::fesetround(old);
    return r;
}

// "%.15g" rendered in the classic style: "E" notation with a sign, no 0 before the point.
std::string classicDigits(double value) {
    if (value == 0) return "0";
    // Whole numbers below 1E15 print as their digits, as "%.15g" does.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) return std::to_string(static_cast<int64_t>(value));
    char buf[64];
    const auto done = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15); // as "%.15g"
    std::string s(buf, done.ptr);
    const auto e = s.find('e');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string ex = s.substr(e + 1);
        char sign = '+';
        if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) {
            sign = ex[0];
            ex.erase(0, 1);
        }
        while (ex.size() > 2 && ex[0] == '0') ex.erase(0, 1);
        if (ex.size() < 2) ex = "0" + ex;
        s = mant + "E" + sign + ex;
    }
    return s;
}
} // namespace

namespace {
// Plain decimals of at most 15 digits without an exponent: the mantissa and the power of ten
// are exact doubles, so their quotient is correctly rounded, exactly what strtod gives.
bool fastVal(std::string_view text, double& out) {
    constexpr double pow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t i = 0;
    while (i < text.size() && skippable(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false, any = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            any = true;
            if (mantissa == 0 && c == '0') {
                if (point) ++decimals;
                continue;
            }
            if (++digits > 15) return false;
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            if (point) ++decimals;
        } else if (c == '.' && !point) {
            point = true;
        } else if (skippable(c)) {
            continue;
        } else if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
            return false;
        } else {
            break;
        }
    }
    if (decimals > 15) return false;
    if (!any) {
        out = 0.0;
        return true;
    }
    const double v = static_cast<double>(mantissa) / pow10[decimals];
    out = negative ? -v : v;
    return true;
}
} // namespace

double val(std::string_view text) {
    if (double fast; fastVal(text, fast)) return fast; // a NUL ends its number too
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::string clean;
    size_t i = 0;
    auto next = [&]() -> int {
        while (i < text.size() && skippable(text[i])) ++i;
        if (i >= text.size() || text[i] == '\0') return -1;
        return static_cast<unsigned char>(text[i]);
    };
    int c = next();
    if (c == '+' || c == '-') {
        clean += static_cast<char>(c);
        ++i;
        c = next();
    }
    bool digits = false, point = false;
    while (c != -1) {
        if (isDigit(static_cast<char>(c))) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        clean += static_cast<char>(c);
        ++i;
        c = next();
    }
    if (!digits) return 0.0;
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
        const size_t save = i;
        std::string ex = "e";
        ++i;
        int d = next();
        if (d == '+' || d == '-') {
            ex += static_cast<char>(d);
            ++i;
            d = next();
        }
        bool exDigits = false;
        while (d != -1 && isDigit(static_cast<char>(d))) {
            exDigits = true;
            ex += static_cast<char>(d);
            ++i;
            d = next();
        }
        if (exDigits) clean += ex;
        else i = save;
    }
    const double v = std::strtod(clean.c_str(), nullptr);
    if (std::isinf(v)) throw RunError(err::Overflow, std::string(text));
    return v;
}

double cdbl(std::string_view text) {
    const std::string t(trim(text));
    if (t.empty()) throw RunError(err::TypeMismatch, std::string(text));
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    const bool hex = t.find_first_of("xXpP") != std::string::npos; // strtod reads these; the classic rule does not
    if (end != t.c_str() + t.size() || hex || std::isnan(v)) throw RunError(err::TypeMismatch, std::string(text));
    if (std::isinf(v)) throw RunError(err::Overflow, std::string(text));
    return v;
}

int16_t cint(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0)) throw RunError(err::Overflow);
    return static_cast<int16_t>(r);
}

int32_t clng(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RunError(err::Overflow);
    return static_cast<int32_t>(r);
}

std::string generalFormat(double value) {
    std::string s = classicDigits(value);
    return s;
}

std::string str(double value) {
    std::string s = classicDigits(value);
    const bool negative = !s.empty() && s[0] == '-';
    std::string body = negative ? s.substr(1) : s;
    if (body.size() > 1 && body[0] == '0' && body[1] == '.') body.erase(0, 1);
    return (negative ? "-" : " ") + body;
}

} // namespace common
