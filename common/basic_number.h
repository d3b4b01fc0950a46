#pragma once
#include <cstdint>
#include <string>
#include <string_view>

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

// Blanks (only the space character) trimmed, as the classic Trim, LTrim and RTrim do.
std::string_view trim(std::string_view s);
std::string_view ltrim(std::string_view s);
std::string_view rtrim(std::string_view s);

// Classic Left, Right and Mid (1-based start): never out of range.
std::string_view left(std::string_view s, size_t n);
std::string_view right(std::string_view s, size_t n);
std::string_view mid(std::string_view s, size_t start1, size_t n = std::string_view::npos);
