#include "common/money.h"

#include "common/basic_number.h"
#include "common/run_error.h"

#include <cfenv>
#include <cmath>

namespace common {

Money Money::fromDouble(double value) {
    const double product = value * static_cast<double>(scale);
    const int old = std::fegetround();
    if (old != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(product);
    if (old != FE_TONEAREST) std::fesetround(old);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) throw RunError(err::Overflow);
    return Money{static_cast<int64_t>(r)};
}

Money Money::fromText(std::string_view text) { return fromDouble(val(text)); }

Money operator+(Money a, Money b) {
    Money r;
    if (__builtin_add_overflow(a.ticks, b.ticks, &r.ticks)) throw RunError(err::Overflow);
    return r;
}

Money operator-(Money a, Money b) {
    Money r;
    if (__builtin_sub_overflow(a.ticks, b.ticks, &r.ticks)) throw RunError(err::Overflow);
    return r;
}

std::string moneyDigits(Money m) {
    const bool negative = m.ticks < 0;
    // Work in unsigned so that the most negative value has a magnitude too.
    const uint64_t mag = negative ? 0 - static_cast<uint64_t>(m.ticks) : static_cast<uint64_t>(m.ticks);
    const uint64_t whole = mag / Money::scale;
    uint64_t frac = mag % Money::scale;
    std::string s = negative ? "-" : "";
    if (whole > 0) s += std::to_string(whole);
    if (frac > 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (!f.empty() && f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return s;
}

std::string str(Money m) {
    std::string d = moneyDigits(m);
    if (d.empty()) return " 0";
    return d[0] == '-' ? d : " " + d;
}

std::string generalFormat(Money m) {
    std::string d = moneyDigits(m);
    if (d.empty()) return "0";
    const bool negative = d[0] == '-';
    if (d[negative ? 1 : 0] == '.') d = (negative ? "-0" : "0") + d.substr(negative ? 1 : 0);
    return d;
}

} // namespace common
