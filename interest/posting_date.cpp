#include "interest/posting_date.h"

#include "common/basic_number.h"
#include "common/dates.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "store/month_files.h"

#include <array>
#include <string>

namespace interest {

using namespace common;

namespace {
// Day: the two characters after the first dash found from position `from` (1-based) on.
int32_t dayAfterDash(std::string_view text, size_t from, size_t to) {
    for (size_t i = from; i <= std::min(to, text.size()); ++i)
        if (text[i - 1] == '-') return clng(val(mid(text, i + 1, 2)));
    return 0;
}
int daysIn(int month, int year) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Month, day and year of a text of three numbers with dashes between them.
std::optional<std::array<int, 3>> numbersOf(std::string_view typed) {
    std::array<int, 3> n{};
    std::string_view rest = trim(typed);
    for (size_t k = 0; k < 3; ++k) {
        const size_t dash = k < 2 ? rest.find('-') : rest.size();
        if (dash == std::string_view::npos) return std::nullopt;
        const std::string_view part = rest.substr(0, dash);
        if (part.empty() || part.size() > 4 || part.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        n[k] = std::stoi(std::string(part));
        rest = k < 2 ? rest.substr(dash + 1) : std::string_view();
    }
    return n;
}

std::string ordinal(int n) {
    const char* suffix = (n % 100 >= 11 && n % 100 <= 13) ? "th"
                         : n % 10 == 1                    ? "st"
                         : n % 10 == 2                    ? "nd"
                         : n % 10 == 3                    ? "rd"
                                                          : "th";
    return std::to_string(n) + suffix;
}
} // namespace

int fullYear(int twoDigits) { return twoDigits >= 92 ? 1900 + twoDigits : 2000 + twoDigits; }

std::string whyNotADay(std::string_view typed) {
    static constexpr const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
    const auto n = numbersOf(typed);
    if (!n || (*n)[2] > 99) return {};
    const auto [month, day, year] = *n;
    if (month < 1 || month > 12) return "a year has no month " + std::to_string(month) + ".";
    if (day < 1) return "a month has no day 0.";
    if (day <= daysIn(month, fullYear(year))) return {};
    const std::string which =
        month == 2 && day == 29 ? "February " + std::to_string(fullYear(year)) : months[month - 1];
    return which + " has no " + ordinal(day) + ".";
}

std::string normalisePostingDate(std::string_view typed) {
    std::string normal = normaliseDashedDate(std::string(trim(typed)));
    if (normal == "ERROR") return normal;
    // Two digits of the year, as the store's dates have them ("1-15-5" is "1-15-05").
    if (normal.size() >= 2 && normal[normal.size() - 2] == '-')
        return normal.substr(0, normal.size() - 1) + '0' + normal.back();
    return normal;
}

std::optional<PostingDate> parsePostingDate(std::string_view typed) {
    PostingDate d;
    d.text = normalisePostingDate(typed);
    if (d.text == "ERROR") return std::nullopt;
    // The month file is named from the date as normalised: "01-15-05" posts to "1-05.dat", the
    // file the store's other programs name for January 2005.
    d.monthFile = store::monthFileName(d.text);
    if (!store::isMonthCode(left(d.monthFile, 4)) || !whyNotADay(d.text).empty()) return std::nullopt;
    d.pointerFile = store::pointerFileName(d.monthFile);
    d.month = clng(val(left(d.text, 2)));
    d.day = dayAfterDash(d.text, 1, d.text.size());
    d.year = cint(val(right(d.text, 2)));
    d.prevMonth = d.month - 1;
    d.prevYear = d.year;
    if (d.prevMonth < 1) {
        d.prevMonth = 12;
        // Two-digit years: the month before January 00 is December 99.
        d.prevYear = d.year == 0 ? 99 : static_cast<int16_t>(d.year - 1);
    }
    return d;
}

PostingDate postingDateOf(std::string_view text) {
    if (auto d = parsePostingDate(text)) return *d;
    throw RunError(err::InvalidCall, std::string(text));
}

TransactionDay transactionDay(std::string_view txdate) {
    TransactionDay d;
    d.month = clng(val(left(txdate, 2)));
    d.day = dayAfterDash(txdate, 2, 8);
    d.year = cint(val(right(trim(txdate), 2)));
    return d;
}

} // namespace interest
