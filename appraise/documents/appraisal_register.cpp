#include "appraise/documents/appraisal_register.h"

#include "appraise/documents/appraisal_index.h"
#include "appraise/documents/customer_pdf.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cstdio>
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

// Whether the text holds only plain (ASCII) characters, which need no conversion of the code page.
bool isPlain(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The column appended to the line: a short plain text as it is, without a conversion of its own
// (a register of thousands makes a line for each).
void appendColumn(QString& line, const std::string& text, int width) {
    if (static_cast<int>(text.size()) <= width && isPlain(text)) {
        line += QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
        line.resize(line.size() + width - static_cast<qsizetype>(text.size()), QChar(' '));
    } else {
        line += column(text, width);
    }
}
} // namespace

std::vector<RegisterEntry> readRegister(const QDate& today) {
    auto [files, facts] = listWithFacts(
        [] {
            std::vector<ListedFile> listed = listMatchingWithTimes("appraise\\*.app");
            std::erase_if(listed, [](const ListedFile& f) { return !isAppraisalFileName(f.name); });
            return listed;
        },
        {});
    std::vector<RegisterEntry> entries;
    entries.reserve(files.size());
    for (size_t k = 0; k < files.size(); ++k) {
        RegisterEntry e;
        e.file = files[k].name;
        e.number = e.file.substr(0, 8);
        // A file that cannot be read now is listed by its number; opening it says why.
        if (facts[k]) e.facts = std::move(*facts[k]);
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
    // Texts compare without regard to case; a plain text is lowered byte by byte.
    const auto lowered = [](const std::string& text) {
        if (isPlain(text)) {
            std::string low = text;
            for (char& c : low) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return low;
        }
        return fromAnsi(text).toLower().toStdString(); // UTF-8 keeps the order of the characters
    };
    auto key = [order, &lowered](const RegisterEntry& e) {
        char digits[24];
        switch (order) {
        case RegisterOrder::Customer: return lowered(e.facts.customer);
        case RegisterOrder::Date: // undated first
            if (!e.date) return std::string();
            std::snprintf(digits, sizeof digits, "%04d%02d%02d", e.date->year(), e.date->month(), e.date->day());
            return std::string(digits);
        case RegisterOrder::Item: return lowered(e.facts.firstItem);
        case RegisterOrder::Value:
            std::snprintf(digits, sizeof digits, "%020lld", static_cast<long long>(e.value.ticks));
            return std::string(digits);
        case RegisterOrder::Number: break;
        }
        return std::string();
    };
    // Each entry's key made once, not at every comparison.
    std::vector<std::pair<std::string, size_t>> keyed;
    keyed.reserve(entries.size());
    for (size_t k = 0; k < entries.size(); ++k) keyed.emplace_back(key(entries[k]), k);
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return descending ? b.first < a.first : a.first < b.first;
        const std::string &na = entries[a.second].number, &nb = entries[b.second].number;
        return descending ? nb < na : na < nb;
    });
    std::vector<RegisterEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& [k, at] : keyed) sorted.push_back(std::move(entries[at]));
    entries = std::move(sorted);
}

bool registerMatches(const RegisterEntry& e, const QString& search) {
    const QStringList words = search.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) return true; // nothing to look for: no text made
    const QString hay = fromAnsi(e.facts.customer + ' ' + e.number + ' ' + e.facts.date + ' ' + e.facts.everyItem +
                                 ' ' + e.facts.value);
    for (const QString& word : words)
        if (!hay.contains(word, Qt::CaseInsensitive)) return false;
    return true;
}

QString registerLine(const RegisterEntry& e) {
    QString line;
    line.reserve(86);
    appendColumn(line, e.number, 10);
    appendColumn(line, e.facts.date, 10);
    appendColumn(line, e.facts.customer, 22);
    appendColumn(line, e.facts.firstItem, 32);
    const QString value = fromAnsi(e.facts.value);
    if (value.size() < 12) line.resize(line.size() + 12 - value.size(), QChar(' '));
    return line + value;
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
