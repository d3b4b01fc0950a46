#pragma once
#include "common/locked_file.h"
#include "common/money.h"
#include "common/record_file.h"
#include "interest/posting_backup.h"
#include "interest/posting_journal.h"
#include "interest/step_label.h"

#include <future>
#include <optional>
#include <string>
#include <vector>

namespace interest {

// A planned block of accounts, ready to be written.
struct BlockWrite {
    JournalBlock block;
    std::string accounts;                // the block's accounts as read; the plans go into it
    int32_t monthlast = 0;               // the month file's last record after the block
    common::RecordFile* month = nullptr; // the posting month file, when the block charges
    common::Money total;
    int32_t charged = 0;
    std::vector<std::string> report; // its report lines, printed once it is written
};

// Writes what the posting planned: a block's journal entry, then its transactions in runs of
// consecutive records, the month's count, and its accounts in runs, all made durable before
// the next block. A block is written on a thread of its own while the next one is planned.
//
// Threads: between start and settle (or finish) the writing thread owns the block, the label
// of its step, the files it writes and what the writer counts (lastDone, the account file's
// state); the run's thread touches none of them until it has waited.
class BlockWriter {
  public:
    // `accounts` is "cust.dat" open for writing; `fromFirstAccount`: the run writes every account
    // from the first.
    BlockWriter(common::RecordFile& accounts, PostingJournal& journal, bool fromFirstAccount);
    // The month's count, held by the run, as long as `length`; given before the first write.
    void usePointer(common::LockedFile& pointer, size_t length) {
        pointer_ = &pointer;
        pointerLength_ = length;
    }
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Writes plans at once, on the caller's thread, the step kept in `label`: `month` is the
    // posting month file open for writing when a plan charges; `block` holds the accounts from
    // `blockFrom` on as read, when the plans are a block's, and the plans are written into it.
    void write(const std::vector<JournalAccount>& plans, StepLabel& label, common::RecordFile* month, int32_t monthlast,
               std::string* block = nullptr, int32_t blockFrom = 0);
    // The block on the writing thread: its journal entry (unless `noted` already), then its
    // records.
    void start(BlockWrite block, bool noted);
    // Waits for the block being written and returns it; its failure is thrown, with `label`
    // set to the step that failed. None when no block was being written.
    std::optional<BlockWrite> finish(StepLabel& label);
    // Waits for the block being written and nothing more: its failure is told by finish.
    void settle();
    // The month's count, written in place: its text only grows while a run appends.
    void setPointer(int32_t last);

    // The last account written or passed; read once the writer has been waited for.
    int32_t lastDone() const { return lastDone_; }
    // The account file's state as written, when the run wrote every account from the first, and
    // each account's fingerprint, in order.
    std::optional<FileState>& accountsState() { return accountsState_; }
    std::vector<uint64_t>& accountHashes() { return accountHashes_; }

  private:
    common::RecordFile& accounts_;
    common::LockedFile* pointer_ = nullptr;
    PostingJournal& journal_;
    size_t pointerLength_ = 0;
    std::string run_; // a run of records being written
    std::future<void> writing_;
    BlockWrite written_;
    StepLabel label_;
    int32_t lastDone_ = 0;
    std::optional<FileState> accountsState_;
    std::vector<uint64_t> accountHashes_;
};

} // namespace interest
