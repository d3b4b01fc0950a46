#pragma once
#include "common/money.h"
#include "interest/account_charge.h"
#include "interest/account_files.h"
#include "interest/account_planner.h"
#include "interest/block_writer.h"
#include "interest/engine_host.h"
#include "interest/line_spool.h"
#include "interest/posting_backup.h"
#include "interest/posting_date.h"
#include "interest/posting_journal.h"
#include "interest/posting_report.h"
#include "interest/posting_resume.h"
#include "interest/step_label.h"

#include <atomic>
#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace interest {

// What the posting hands the run: the date, the texts typed and the settings.
struct PostingInput {
    PostingDate date;
    std::string percentage;    // monthly rate text
    std::string minfinance;    // minimum charge text
    bool skipLayaways = false; // "Do not post interest to Layaways"
    bool firstmon = false;     // leave charges of the last month out of the base
    bool wholesale = false;    // interest transactions carry "1 999999" in amount2
    int32_t blockSize = 32768; // accounts read, noted and written together
    bool preview = false;      // the whole run computed and reported, nothing written
    bool listCharges = true;   // a preview keeps each charged account for previewCharges()
    bool reportLines = true;   // a preview asked for its totals only: no report, no lists
    // A preview of the accounts in this file instead of "cust.dat" (a copy of them as they were
    // before a posting, to write that posting's report again).
    std::string accountsFile{};
    // Accounts taken out of this posting by hand: left as they are, named on the report.
    std::vector<int32_t> sparedByHand{};
};

// An account spared by hand, as the record names it.
struct SparedByHand {
    int32_t account = 0;
    std::string name, phone;
};

// An account a preview charges, for the list the bookkeeper spares accounts from.
struct PreviewCharge {
    int32_t account = 0;
    std::string name;
    common::Money charge;
};

// Whether the files are there to preview a posting, and no stopped posting waits to be
// completed.
bool previewPossible();

// Whether the stopped posting the journal holds was complete and sealed, stopped only before its
// journal went: the newest undo copy is sealed for its date.
bool sealedBeforeItsEnd(const JournalBlock& pending);
// Lets such a journal go (at the start of Interest, before anything looks at it).
void endSealedPosting();

enum class PostingOutcome {
    Completed,
    NoCustPtn,        // the store has no "Cust.ptn"
    NoCustDat,        // nor "cust.dat"
    PostingElsewhere, // another computer is posting
    OtherDateStopped, // a posting of another date stopped and waits to be completed (pendingDate)
    StoppedPending,   // a preview: a stopped posting waits to be completed
    NothingToPreview, // a preview: no accounts
};

// The monthly interest run over every account of "cust.dat", by blocks of accounts: a block is
// read at once and planned in memory (planAccount); what it changes is noted durably in the
// journal, then written (BlockWriter) before the next block. Whatever stops the run (an error,
// a kill, a power cut), the next run of the date completes it (judgeStoppedBlock), and no
// record another program wrote is written over. The run tells nothing itself but what it meets
// on the way (a month file held, an account changed since a stop); what its outcome means is
// for its caller to say.
//
// Threads: the run's own thread plans and owns every member but these: while a block is being
// written, the writer's thread owns it (BlockWriter); while the exclusion walks of a block are
// made ahead, that thread owns `ahead_` and `aheadFiles_`, each walk handed over by its
// `ready` flag. A preview that only counts plans the second half of each block on a second
// PostingRun of its own, which another thread owns while it plans.
class PostingRun {
  public:
    PostingRun(const PostingInput& input, EngineHost& host, StepLabel& steplabel);
    ~PostingRun();

    PostingOutcome run();
    // The last account handled, for a run stopped by an error: nothing after it was changed.
    int32_t lastDone() const;
    // How many accounts the run charged, and the total.
    int32_t charged() const { return charged_; }
    common::Money total() const { return total_; }
    // How many accounts owe something, and why the others that were not charged were not.
    int32_t withBalance() const { return withBalance_; }
    const SparedAccounts& spared() const { return spared_; }
    // A preview's charges, account by account.
    const std::vector<PreviewCharge>& previewCharges() const { return chargedList_; }
    // The accounts the run spared by hand.
    const std::vector<SparedByHand>& sparedByHand() const { return byHand_; }
    const PostingDate& date() const { return in_.date; }
    // The date of the stopped posting that waits (OtherDateStopped).
    const std::string& pendingDate() const { return pendingDate_; }

  private:
    // What posting one account changes (as the journal notes it), and what it charges.
    struct AccountPlan : JournalAccount {
        common::Money charged;
    };

    PostingOutcome runSteps();
    // The undo copy begun (or, completing a stopped posting, the one it took kept).
    void startBackup(bool completing);
    // The month's count read and held for the run, when there is one.
    void holdMonthPointer();
    // A missing count made, at the run's first write.
    void makeMonthPointer();
    // Every block from the account `first` on: planned, then written while the next is planned.
    void postBlocks(int32_t first);
    PostingOutcome previewSteps();
    // The undo copy complete, before anything of the store is written (or noted to be).
    void completeBackup();
    // Once, after the first block is noted and before it is written: the undo copy complete, the
    // posting recorded in "lastpost.dat", a missing month's count made.
    void beforeFirstWrite();
    // What a run that stopped before its first write made is taken away again.
    void leaveAsFound();
    // The account file's state for the seal, from the blocks written; none when the file must
    // be read again.
    std::optional<std::string> custFileState();
    void reportTotals();
    BlockWrite planBlock(int32_t from, int32_t to);
    // The totals, report lines and bar of a block written.
    void blockDone(BlockWrite&& w);
    void finishWriting();
    // The exclusion walks of the block's last two thirds begun on another thread, when they are
    // worth it; `accounts` are the block's, from account `from`.
    std::future<void> startWalksAhead(std::string_view accounts, int32_t from, int32_t to);
    // On another thread: the exclusion walks of the accounts from aheadFrom_ on (`accounts`).
    void walkAhead(std::string_view accounts);
    AccountPlan planAccount(int32_t i, std::string_view before);
    // Charges the planned account on `base`, to the record the run hands out (or the one a
    // stopped run gave it, when that is still free).
    void charge(AccountPlan& plan, std::string&& account, common::Money base);
    void countSpared(Spared why);
    // An account of the section of accounts not charged, its reason still to be given.
    SparedLine sparedOf(int32_t i, std::string_view account) const;
    // The posting month file, opened for writing, and one of its records.
    common::RecordFile& monthFile();
    std::string monthRecord(int32_t record);
    bool isFreeFor(int32_t record, const std::string& transaction);
    // Where an interrupted run of this date stopped: the first account still to post.
    int32_t resume(const JournalBlock& pending);
    void repairTransaction(const JournalAccount& a, std::vector<JournalAccount>& repairs);
    bool chainHolds(const std::string& account, int32_t record, const std::string& transaction);
    void reportCheckByHand(int32_t i, const std::string& current);
    // Report lines wait until what they report is written.
    void report(std::string line) { pendingReport_.push_back(std::move(line)); }
    void flushReport(std::vector<std::string>& lines);

    PostingInput in_;
    EngineHost& host_;
    StepLabel& steplabel_;
    PlanTerms planTerms_;
    ChargeTerms terms_;
    WalkNotice notice_;
    int32_t monthlast_ = 0;    // the month file's last record, as the run hands records out
    int32_t monthAtStart_ = 0; // and as the run found it
    common::Money total_;
    RunFiles files_;
    common::RecordFile* custFile_ = nullptr;
    std::unique_ptr<common::LockedFile> pointer_;
    std::unique_ptr<PostingJournal> journal_;
    std::unique_ptr<BlockWriter> writer_; // kept to the end, for lastDone
    int32_t charged_ = 0;
    int32_t withBalance_ = 0;
    SparedAccounts spared_;
    int32_t lookedAt_ = 0;                                   // the accounts the report counts
    LineSpool sparedLines_{"Interest accounts not charged"}; // the report's section after the charges
    std::vector<PreviewCharge> chargedList_;
    std::vector<SparedByHand> byHand_;
    std::string pendingDate_;
    std::string backup_;                              // the copy of the files taken before the first write
    PostingBackup::Taking taking_;                    // a copy being made
    std::future<PostingBackup::CopyFailure> copying_; // on a thread of its own
    bool lastpostWritten_ = false;
    bool pointerMade_ = false; // the month's count was missing and made by the run
    Resumption resumption_;
    std::vector<std::string> pendingReport_;
    std::string spare_; // a buffer for the next block
    int32_t count_ = 0; // the accounts of the store, for the bar
    // Exclusion walks made ahead for the accounts from aheadFrom_ on, and the files they read.
    struct Ahead {
        std::atomic<bool> ready{false};
        WalkedBase walk;
    };
    static constexpr int32_t aheadMinimum = 64;
    std::vector<Ahead> ahead_;
    int32_t aheadFrom_ = 0;
    RunFiles aheadFiles_;
};

} // namespace interest
