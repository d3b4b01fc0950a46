#pragma once
// <string> first: Qt's moc can read <compare> only after it has seen the library's configuration.
#include <string>

#include <compare>
#include <cstdint>
#include <string_view>

namespace common {

// Fixed-point money value with four decimals: a signed 64-bit count of ten-thousandths.
// Conversions round halves to even; sums, differences and overflow are exact or error 6.
struct Money {
    int64_t ticks = 0; // ten-thousandths

    static constexpr int64_t scale = 10000;

    // The classic conversion: value x 10000 in double precision, rounded halves to even.
    static Money fromDouble(double value);
    // Through the text's numeric value, as above.
    static Money fromText(std::string_view text);
    static constexpr Money fromTicks(int64_t t) { return Money{t}; }

    double toDouble() const { return static_cast<double>(ticks) / scale; }

    friend Money operator+(Money a, Money b);
    friend Money operator-(Money a, Money b);
    friend constexpr auto operator<=>(Money a, Money b) = default;
};

// The exact decimal digits: optional "-", integer digits (none when the magnitude is below 1),
// and a fraction without trailing zeros ("12.5", ".015", "0" gives "").
std::string moneyDigits(Money m);

// Number-to-text of a money value: " 97.5", " .015", "-3", " 0".
std::string str(Money m);

// General number format of a money value: "97.5", "0.015", "0".
std::string generalFormat(Money m);

} // namespace common
