#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace common {

// The number rules of the classic BASIC runtime that the store's files were written with.

// Numeric value of a text: the leading decimal number, blanks, tabs and line feeds skipped
// anywhere in it ("1 999999" is 1999999), an optional sign, one decimal point, an optional
// exponent (E or D). Stops at the first other character; a NUL ends the text. 0 when there is
// no number. A value beyond the double range is error 6.
double val(std::string_view text);

// The classic conversion of a text to a number (CDbl): the whole text, blanks around it
// allowed, must be a number; anything else, the empty text included, is error 13.
double cdbl(std::string_view text);

// Rounding to the nearest whole number, halves to even; out of range is error 6.
int16_t cint(double value);
int32_t clng(double value);

// Number-to-text: one leading blank when not negative, no 0 before the point below 1
// (" .015", "-.5"), at most 15 significant digits, no trailing zeros, E notation outside
// 1E-5 .. 1E15 (" 1E+15").
std::string str(double value);

// The general number format: the digits of str without the sign blank and with a 0 before
// the point ("0.75", "102.5", "88").
std::string generalFormat(double value);

} // namespace common
