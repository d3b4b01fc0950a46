#pragma once
#include "common/locked_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace interest {

// The posting run's journal, "interest.jrn": before each account is written it holds the
// account's record as it was and as it will be, and the month file's last record before the
// account. A run that is stopped part-way (a power cut, a kill) leaves it behind, and the
// next run of the same posting date completes the posting from there, charging no account
// twice. A completed run removes it.
struct JournalEntry {
    std::string datebox;
    int32_t account = 0;
    int32_t monthlast = 0;
    std::string before, after;
};

class PostingJournal {
  public:
    static constexpr const char* fileName = "interest.jrn";

    // Opens the journal and holds it for the run, so that a second posting, here or on another
    // computer, is refused: error 70 while another run holds it.
    PostingJournal();
    // A journal that holds nothing goes with the run that opened it.
    ~PostingJournal();
    PostingJournal(const PostingJournal&) = delete;
    PostingJournal& operator=(const PostingJournal&) = delete;

    // The entry an interrupted run left, if any (a damaged journal reads as none).
    std::optional<JournalEntry> pending() const;
    // The posting date of the entries to come.
    void begin(const std::string& datebox) { datebox_ = datebox; }
    // Notes the next write of an account, in place, before it happens.
    void note(int32_t account, int32_t monthlast, const std::string& before, const std::string& after);
    // The posting is complete: the journal goes.
    void finish();

  private:
    std::string datebox_;
    std::unique_ptr<common::LockedFile> file_;
};

} // namespace interest
