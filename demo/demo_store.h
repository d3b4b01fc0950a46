#pragma once
#include <QDate>
#include <QImage>
#include <string>

namespace demo {

// Writes a demo store into the current folder, dated around `today`: about thirty charge
// accounts, the transaction files of the last four months with their pointers, the layout
// settings and the store's logo. Refuses (error 58) a folder that already holds a store.
void writeDemoStore(QDate today);

// The store logo, drawn for the demo: a banner with the store's name.
QImage demoLogo();

// The month file code of a date, as Interest names them ("12-7-26" is 1226, "8-7-26" is 8-26).
std::string monthCode(QDate d);
// A date as the store writes it: month-day-two-digit-year without leading zeros ("8-7-26").
std::string storeDate(QDate d);

} // namespace demo
