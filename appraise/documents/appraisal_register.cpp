#include "appraise/documents/appraisal_register.h"

#include "appraise/documents/customer_pdf.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/locked_file.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include <QStringList>
#include <algorithm>
#include <cctype>
#include <set>

namespace appraise {

using namespace common;

namespace {
bool isAppraisalFileName(const std::string& name) {
    if (name.size() != 12) return false;
    for (size_t i = 0; i < 8; ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    std::string ext = name.substr(8);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".app";
}

QString column(const std::string& text, int width) {
    QString s = fromAnsi(text);
    if (s.size() > width) {
        // Cut after a whole word where one ends far enough along.
        s = s.left(width - 3);
        if (const qsizetype blank = s.lastIndexOf(' '); blank > width / 2) s = s.left(blank);
        s = s.trimmed() + QStringLiteral("...");
    }
    return s.leftJustified(width, ' ');
}
} // namespace

std::vector<RegisterEntry> readRegister(const QDate& today) {
    std::vector<RegisterEntry> entries;
    for (const std::string& name : listMatching("appraise\\*.app")) {
        if (!isAppraisalFileName(name)) continue;
        RegisterEntry e;
        e.file = name;
        e.number = name.substr(0, 8);
        try {
            e.facts = appraisalFacts(LockedFile("appraise\\" + name, Access::Read).readAll());
        } catch (const RunError&) {
            // Listed by its number; opening it says why it cannot be read.
        }
        e.date = appraisalDate(e.facts.date, today);
        std::string digits;
        for (char c : e.facts.value)
            if (c != ',') digits += c;
        try {
            e.value = Money::fromText(digits.empty() ? "0" : digits);
        } catch (const RunError&) {
            e.value = Money();
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

void sortRegister(std::vector<RegisterEntry>& entries, RegisterOrder order, bool descending) {
    auto key = [order](const RegisterEntry& e) {
        switch (order) {
        case RegisterOrder::Customer: return fromAnsi(e.facts.customer).toLower();
        case RegisterOrder::Date:
            return e.date ? e.date->toString(QStringLiteral("yyyyMMdd")) : QString(); // undated first
        case RegisterOrder::Item: return fromAnsi(e.facts.firstItem).toLower();
        case RegisterOrder::Value: return QStringLiteral("%1").arg(e.value.ticks, 20, 10, QChar('0'));
        case RegisterOrder::Number: break;
        }
        return QString();
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const RegisterEntry& a, const RegisterEntry& b) {
        const QString ka = key(a), kb = key(b);
        if (ka != kb) return descending ? kb < ka : ka < kb;
        return descending ? b.number < a.number : a.number < b.number;
    });
}

bool registerMatches(const RegisterEntry& e, const QString& search) {
    const QString hay = fromAnsi(e.facts.customer + ' ' + e.number + ' ' + e.facts.date + ' ' + e.facts.everyItem +
                                 ' ' + e.facts.value);
    for (const QString& word : search.split(' ', Qt::SkipEmptyParts))
        if (!hay.contains(word, Qt::CaseInsensitive)) return false;
    return true;
}

QString registerLine(const RegisterEntry& e) {
    return column(e.number, 10) + column(e.facts.date, 10) + column(e.facts.customer, 22) +
           column(e.facts.firstItem, 32) + fromAnsi(e.facts.value).rightJustified(12, ' ');
}

QString registerHeading() {
    return column("Number", 10) + column("Date", 10) + column("Customer", 22) + column("First item", 32) +
           QStringLiteral("Value").rightJustified(12, ' ');
}

int updatePeriodMonths() {
    if (!fileExists("apupdate.dat")) return 24;
    try {
        const std::string line(trim(TextReader("apupdate.dat").readLine()));
        const int months = std::stoi(line);
        if (months >= 1 && months <= 120 && std::to_string(months) == line) return months;
    } catch (const std::exception&) {
        // Not a number: the usual period.
    }
    return 24;
}

std::vector<RegisterEntry> dueForUpdate(const std::vector<RegisterEntry>& entries, const QDate& today, int months) {
    std::set<std::string> madeAgain;
    for (const RegisterEntry& e : entries)
        if (!e.facts.reappraisalOf.empty()) madeAgain.insert(e.facts.reappraisalOf);
    const QDate limit = today.addMonths(-months);
    std::vector<RegisterEntry> due;
    for (const RegisterEntry& e : entries)
        if (e.date && *e.date < limit && !madeAgain.count(e.number)) due.push_back(e);
    return due;
}

} // namespace appraise
