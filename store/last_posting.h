#pragma once
#include <optional>
#include <string>

// "lastpost.dat": the last posting of interest, as Interest wrote it when the posting was
// complete: its date as typed, the rate and the minimum charge (an older file has no minimum).
namespace store {

constexpr const char* lastPostingFile = "lastpost.dat";

struct LastPosting {
    std::string date;
    std::string rate;
    std::optional<std::string> minimum;
};

// The file's fields as written; nothing when there is no file.
std::optional<LastPosting> readLastPosting();
// Its date alone; nothing when there is no file.
std::optional<std::string> readLastPostingDate();
// Writes the three lines, whole: the rate and minimum as numbers are written (" .015").
void writeLastPosting(const std::string& date, const std::string& rate, const std::string& minimum);

} // namespace store
