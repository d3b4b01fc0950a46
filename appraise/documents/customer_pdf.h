#pragma once
#include <QDate>
#include <QString>
#include <optional>
#include <string>

namespace appraise {

// The store's folder of PDFs made for customers.
inline constexpr const char* customerPdfFolder = "Appraisal PDFs";

// The name of an appraisal's PDF for the customer: the customer's surname first, the appraisal's
// number and its date ("Ann Smith", "00012001", 9 December 2026: "Smith Ann 00012001
// 2026-12-09.pdf"). Characters a file name cannot hold on Windows are left out.
QString customerPdfName(const std::string& nameLine, const std::string& number, const QDate& date);

// The date of the appraisal as the date box holds it, month-day-year ("12-9-26", "12-09-2026");
// a two-digit year is of this century unless that puts it more than a year after `today`.
// Nothing when it is no date.
std::optional<QDate> appraisalDate(const std::string& text, const QDate& today);

} // namespace appraise
