#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace interest {

// A posting date as the store writes it, and the files it posts to. Made only by
// parsePostingDate, so a run never holds a date that names no month file.
struct PostingDate {
    std::string text;        // month and day without leading zeros, two digits of year: "1-15-05"
    std::string monthFile;   // the month file the charges go to: "1-05.dat"
    std::string pointerFile; // its count of records: "1-05.ptn"
    int32_t month = 0, day = 0;
    int16_t year = 0;
    int32_t prevMonth = 0; // the month before, for the last-month exclusion
    int16_t prevYear = 0;
};

// The date typed, if it is month-day-year of numbers the store's date check accepts, a day of
// the calendar, and names a month file of digits with at most one dash; none otherwise.
std::optional<PostingDate> parsePostingDate(std::string_view typed);

// Why a text of month-day-year in numbers is no day of the calendar, in words ("February has
// no 30th.", "a year has no month 13."); empty for a day, and for a text that is not month-day-year
// of numbers at all.
std::string whyNotADay(std::string_view typed);

// The year of a two-digit year as the store's dates mean it: 92 to 99 the 1990s, the others
// this century.
int fullYear(int twoDigits);

// For a date known to be one (a test's, a benchmark's): the parsed date, or a run-time error.
PostingDate postingDateOf(std::string_view text);

// A date as the posting writes it: month and day without leading zeros, the year in two digits
// ("01-15-05" gives "1-15-05", "12-07-2026" gives "ERROR"); "ERROR" for a text that is no such
// date. The removal compares transaction dates by it.
std::string normalisePostingDate(std::string_view typed);

// A transaction's date read the way the last-month exclusion reads it.
struct TransactionDay {
    int32_t month = 0, day = 0;
    int16_t year = 0;
};
TransactionDay transactionDay(std::string_view txdate);

} // namespace interest
