#include "common/dates.h"

#include "common/basic_number.h"
#include "common/run_error.h"

#include <cstdio>

namespace common {

std::string shortDateText(QDate d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d-%d-%02d", d.month(), d.day(), d.year() % 100);
    return buf;
}

std::string dateText(QDate d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", d.month(), d.day(), d.year());
    return buf;
}

std::string currentDateText(const Clock& clock) { return dateText(clock.today()); }

namespace {
// The decimal text of the part's numeric value as a 16-bit whole number; nothing when it
// does not fit.
bool part(const std::string& text, int& out) {
    try {
        out = cint(val(text));
        return true;
    } catch (const RunError&) {
        return false;
    }
}
} // namespace

std::string normaliseDashedDate(const std::string& s) {
    size_t first = std::string::npos, second = std::string::npos;
    int dashes = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '-') continue;
        if (first != std::string::npos) second = i;
        else first = i;
        ++dashes;
    }
    if (dashes != 2) return "ERROR";
    int month = 0, day = 0, year = 0;
    if (!part(s.substr(0, first), month) || !part(s.substr(first + 1, second - first - 1), day) ||
        !part(s.substr(second + 1), year))
        return "ERROR";
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < 0 || year > 99) return "ERROR";
    return std::to_string(month) + "-" + std::to_string(day) + "-" + std::to_string(year);
}

} // namespace common
