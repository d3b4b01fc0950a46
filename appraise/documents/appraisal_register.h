#pragma once
#include "appraise/documents/appraisal_summary.h"
#include "common/money.h"

#include <QDate>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace appraise {

// One saved appraisal of the store, as the register lists it.
struct RegisterEntry {
    std::string file;   // "00012001.app", in the appraisals' folder
    std::string number; // "00012001"
    AppraisalFacts facts;
    std::optional<QDate> date; // the date of its wording, where it reads as one
    common::Money value;
};

// Every appraisal file of the store (eight digits and ".app"), in name order, read for what its
// wording says. A file that cannot be read now is listed with its number alone.
std::vector<RegisterEntry> readRegister(const QDate& today);

enum class RegisterOrder { Customer, Number, Date, Item, Value };
// In the order of a column, the number deciding between equals; `descending` turns it round.
void sortRegister(std::vector<RegisterEntry>& entries, RegisterOrder order, bool descending);

// Whether every word of the search is found, without regard to case, in the entry's customer,
// number, date, any of its items or its value. An empty search finds everything.
bool registerMatches(const RegisterEntry& entry, const QString& search);

// The entry as a line of the register's list, in fixed columns for a fixed-pitch face:
// number, date, customer, first item, value.
QString registerLine(const RegisterEntry& entry);
// The column headings over those lines.
QString registerHeading();

// The months after which an appraisal is due for an update: the first line of "apupdate.dat",
// 24 without it or when it holds no number from 1 to 120.
int updatePeriodMonths();

// The appraisals due for an update on `today`: dated more than `months` months before it and not
// made again since (no later appraisal names it as the one it was made from).
std::vector<RegisterEntry> dueForUpdate(const std::vector<RegisterEntry>& entries, const QDate& today, int months);

} // namespace appraise
