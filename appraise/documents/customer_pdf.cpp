#include "appraise/documents/customer_pdf.h"

#include "common/cp1252.h"

#include <QRegularExpression>
#include <QStringList>

namespace appraise {

QString customerPdfName(const std::string& nameLine, const std::string& number, const QDate& date) {
    QStringList words = common::fromAnsi(nameLine).split(' ', Qt::SkipEmptyParts);
    if (words.size() > 1) words.prepend(words.takeLast());
    QStringList parts;
    if (!words.isEmpty()) parts << words.join(' ');
    if (!number.empty()) parts << QString::fromStdString(number);
    parts << date.toString(QStringLiteral("yyyy-MM-dd"));
    QString name = parts.join(' ');
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    name.remove(unfit);
    return name.trimmed() + QStringLiteral(".pdf");
}

std::optional<QDate> appraisalDate(const std::string& text, const QDate& today) {
    // "m-d-yy" or "m/d/yyyy", blanks around it; a register reads thousands, so no expression.
    std::string_view t(text);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!t.empty() && blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && blank(t.back())) t.remove_suffix(1);
    int parts[3] = {0, 0, 0};
    size_t digits[3] = {0, 0, 0};
    size_t k = 0;
    for (const char c : t) {
        if (c >= '0' && c <= '9') {
            parts[k] = parts[k] * 10 + (c - '0');
            ++digits[k];
        } else if ((c == '-' || c == '/') && k < 2 && digits[k] > 0) {
            ++k;
        } else {
            return std::nullopt;
        }
    }
    if (k != 2 || digits[0] > 2 || digits[1] > 2 || digits[1] == 0 || (digits[2] != 2 && digits[2] != 4))
        return std::nullopt;
    int year = parts[2];
    if (digits[2] == 2) {
        year += 2000;
        if (year > today.year() + 1) year -= 100;
    }
    const QDate d(year, parts[0], parts[1]);
    if (!d.isValid()) return std::nullopt;
    return d;
}

} // namespace appraise
