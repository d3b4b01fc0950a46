#pragma once
#include "common/locked_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace interest {

// One account a block of the posting changes: its record as it will be, a fingerprint of the
// record as it was, and the transaction it gets with the record that holds it (none for an
// account that is only marked).
struct JournalAccount {
    int32_t account = 0;
    uint64_t beforeHash = 0;
    std::string after;
    int32_t record = 0;
    std::string transaction;
};

// What a block of the posting changes, appended to the journal (and made durable) before any
// of it is written to the store's files.
struct JournalBlock {
    uint64_t sequence = 0;
    std::string datebox;
    int32_t first = 0, last = 0; // the block's accounts
    int32_t monthlast = 0;       // the month file's last record before the block
    std::vector<JournalAccount> accounts;
    // A journal of the earlier format holds one account, whose record before is given whole.
    bool singleAccount = false;
    std::string before;
};

// A fingerprint of an account record, to tell the record as it was from any other.
uint64_t recordHash(std::string_view bytes);

// The same fingerprint of bytes given in pieces.
class Fingerprint {
  public:
    void add(std::string_view bytes);
    uint64_t value() const;

  private:
    void mix(const char* word);
    uint64_t h_ = 1469598103934665603ULL;
    char word_[8] = {};
    size_t held_ = 0;
};

// The posting's journal, "interest.jrn". Before a block of accounts is written, what the block
// changes is appended to the journal, with a fingerprint that tells an entry cut short by a
// power cut, and made durable; the store's files are made durable before the next block's
// entry. A run that is stopped leaves
// the journal behind, and the next run of the same posting date completes the posting from it.
// A completed run removes it.
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

    // The last block a stopped run noted, if any (slots cut short or damaged read as none).
    std::optional<JournalBlock> pending() const;
    // Notes a block, durably, before it is written.
    void note(const JournalBlock& block);
    // The posting is complete: the journal goes.
    void finish();

  private:
    std::unique_ptr<common::LockedFile> file_;
    uint64_t sequence_ = 0;
    int64_t end_ = -1;             // where the next entry goes, once known
    mutable int64_t wholeEnd_ = 0; // the end of the last whole entry read
    std::string entry_;            // a piece of the entry being written
};

} // namespace interest
