#pragma once
#include <QDate>
#include <cstdint>
#include <string>
#include <string_view>

// The month files of the store ("1226.dat", "1-98.dat") and their pointer files, which count
// their records ("1226.ptn").
namespace store {

// The month file of a date as typed: its first two and last two characters + ".dat"
// ("12-7-98" is 1298.dat, "1-5-98" is 1-98.dat).
std::string monthFileName(const std::string& dateText);
// The month code of a date, as its month file is named from the date as the store writes it
// (common::shortDateText): "12-7-26" is 1226, "8-7-26" is 8-26, "1-15-05" is 1-05.
std::string monthCode(QDate date);

// A month code of this store: four characters, digits and at most one dash ("1226", "1-98").
// Any other name taken from a record or a date (a path, "cust", a blank) names no month file.
bool isMonthCode(std::string_view code);

// The pointer file of a month file: its first five characters + "ptn".
std::string pointerFileName(const std::string& monthFile);
// The record count in a pointer file (its first field, rounded); 0 when there is none.
int32_t readPointer(const std::string& name);

} // namespace store
