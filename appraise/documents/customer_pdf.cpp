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
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})[-/](\\d{1,2})[-/](\\d{2}|\\d{4})\\s*$"));
    const QRegularExpressionMatch m = form.match(QString::fromStdString(text));
    if (!m.hasMatch()) return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) {
        year += 2000;
        if (year > today.year() + 1) year -= 100;
    }
    const QDate d(year, m.captured(1).toInt(), m.captured(2).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

} // namespace appraise
