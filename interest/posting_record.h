#pragma once
#include <string>
#include <vector>

namespace interest {

// One line of the store's written record of what Interest did to the accounts: a posting, an
// account spared from it, an undo, a charge removed. The fields a kind has no use for stay
// empty.
struct RecordLine {
    std::string what{};     // "posting", "spared by hand", "undo", "charge removed"
    std::string posting{};  // the posting date it concerns
    std::string rate{};     // the monthly rate as typed
    std::string accounts{}; // how many accounts were charged
    std::string amount{};   // the total charged, or the charge removed
    std::string account{};  // one account: its number, names and phone
    std::string names{};
    std::string phone{};
    std::string chargeDate{}; // the date of the charge removed
    std::string note{};       // the rest, in words
};

// The record is a text file in the store's folder, one line a thing done, its fields separated
// by tabs (a spreadsheet opens it as it is), with a line of column names first. Lines are only
// ever added.
inline constexpr const char* recordFileName = "Interest record.txt";

// The column names, tab-separated, as the record's first line holds them.
std::string recordHeading();
// One line as the record holds it: `when` ("1998-12-07 09:00:00") and `who` first; tabs and
// line ends inside a field become blanks.
std::string recordText(const std::string& when, const std::string& who, const RecordLine& line);

// Adds the lines to the record, durably, before it returns; the column names first when the
// record is new. A record another computer is adding to is waited for a moment.
void appendToRecord(const std::string& when, const std::vector<RecordLine>& lines);

} // namespace interest
