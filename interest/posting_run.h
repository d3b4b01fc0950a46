#pragma once
#include "common/money.h"
#include "common/run_error.h"
#include "interest/account_charge.h"
#include "interest/account_files.h"
#include "interest/engine_host.h"
#include "interest/posting_backup.h"
#include "interest/posting_journal.h"
#include "interest/posting_report.h"
#include "interest/step_label.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace interest {

// What the posting window hands the run: its texts as typed and its settings.
struct PostingInput {
    std::string datebox;       // posting date as typed
    std::string percentage;    // monthly rate text
    std::string minfinance;    // minimum charge text
    bool skipLayaways = false; // "Do not post interest to Layaways"
    bool firstmon = false;     // leave charges of the last month out of the base
    bool wholesale = false;    // interest transactions carry "1 999999" in amount2
    int32_t blockSize = 32768; // accounts read, noted and written together
    bool preview = false;      // the whole run computed and reported, nothing written
};

// The posting date's parts and the month before it.
struct PostingDate {
    int32_t month = 0, day = 0;
    int16_t year = 0;
    int32_t prevMonth = 0;
    int16_t prevYear = 0;
};
PostingDate postingDate(const std::string& datebox);

// A transaction date's month, day and year, read the way the exclusion window reads it.
PostingDate transactionDate(std::string_view txdate);

// A posting date as the window and the run use it: month and day without leading zeros, the
// year in two digits ("01-15-05" gives "1-15-05", "12-07-2026" gives "ERROR"); "ERROR" for a
// text that is no such date.
std::string normalisePostingDate(const std::string& typed);

// A posting date the run accepts: month-day-year of numbers that the date check accepts, whose
// month file, named by the rule of the account files from the date as normalised ("1-05.dat"),
// has a code of digits and at most one dash.
bool acceptablePostingDate(const std::string& datebox);

// Whether the files are there to preview a posting, and no stopped posting waits to be
// completed.
bool previewPossible();

// What the user is told of a run stopped by an error: the step first (the store's support knows
// the steps), then the file and what went wrong, and that nothing after the last account
// handled was changed.
QString postingFailureMessage(const StepLabel& steplabel, const common::RunError& e, int32_t lastDone);

enum class PostingOutcome { Completed, NoCustPtn, NoCustDat, Stopped };

// The monthly interest run over every account of "cust.dat", by blocks of accounts: a block is
// read at once and planned in memory; what it changes is noted durably in the journal; then its
// transactions, the month's pointer and its accounts are written in runs and made durable
// before the next block. Whatever stops the run (an error, a kill, a power cut), the next run
// of the date completes it, and no record another program wrote is written over.
class PostingRun {
  public:
    PostingRun(const PostingInput& input, EngineHost& host, StepLabel& steplabel);

    // The whole run; messages about missing files are shown here. The caller ends the program.
    PostingOutcome run();
    // The last account handled, for a run stopped by an error: nothing after it was changed.
    int32_t lastDone() const { return lastDone_; }
    // How many accounts the run charged, and the total.
    int32_t charged() const { return charged_; }
    common::Money total() const { return total_; }
    // How many accounts owe something, and why the others that were not charged were not.
    int32_t withBalance() const { return withBalance_; }
    const SparedAccounts& spared() const { return spared_; }
    // The posting date the run uses (normalised).
    const std::string& date() const { return in_.datebox; }

    // For tests: the walks on the account in the buffer.
    std::string layawayCheck();
    void excluderecent();
    std::string& account() { return cust_; }
    common::Money& interestbase() { return interestbase_; }

  private:
    // What posting one account changes (as the journal notes it), and what it charges.
    struct AccountPlan : JournalAccount {
        common::Money charged;
    };
    // What a resumed run does with an account of the block a stopped run noted.
    enum class Decision { Plan, Done, CheckByHand };

    // A planned block, written on a thread of its own while the next block is planned.
    struct BlockWrite {
        JournalBlock block;
        std::string accounts;                // the block's accounts as read; the plans go into it
        int32_t monthlast = 0;               // the month file's last record after the block
        common::RecordFile* month = nullptr; // the posting month file, when the block charges
        common::Money total;
        int32_t charged = 0;
        std::vector<std::string> report; // its report lines, printed once it is written
    };

    PostingOutcome runSteps();
    PostingOutcome previewSteps();
    // The undo copy complete and the posting recorded, once, before the run writes anything.
    void beforeFirstWrite();
    // What a run that stopped before its first write made is taken away again.
    void leaveAsFound();
    // The account file's state for the seal, from the blocks written; none when the file must
    // be read again.
    std::optional<std::string> custFileState();
    void reportTotals();
    BlockWrite planBlock(int32_t from, int32_t to);
    // On the writing thread: the journal entry (unless `noted` already), then the block's
    // records, all made durable.
    void writeBlock(BlockWrite& w, bool noted);
    // Waits for the block being written; then its totals, its report lines and the bar.
    void finishWriting();
    // Waits for the block being written and nothing more.
    void settleWriting();
    // One transaction of the exclusion walk: the charges it leaves out of `base`; whether the
    // walk goes on; the step as the walk leaves it in `label`.
    bool exclusionStep(const TransactionChain& chain, std::string_view accountField, double account,
                       common::Money& base, StepLabel& label) const;
    // On another thread: the exclusion walks of the accounts from aheadFrom_ on (`accounts`).
    void walkAhead(std::string_view accounts);
    // The exclusion walk of an account made ahead on another thread; false: left to the planning.
    bool excludeAhead(RunFiles& files, const std::string& account, common::Money& base, StepLabel& label) const;
    AccountPlan planAccount(int32_t i, std::string_view before);
    void planFor(int32_t i);
    void chargeCase();
    void noInterestCase(const char* reason);
    void countDownNoInterest();
    // The step is kept in `label`; `month` is the posting month file, open for writing, when a
    // plan charges; `block` holds the accounts from `blockFrom` on as read, when the plans are a
    // block's, and the plans are written into it.
    void writePlans(const std::vector<JournalAccount>& plans, StepLabel& label, common::RecordFile* month,
                    int32_t monthlast, std::string* block = nullptr, int32_t blockFrom = 0);
    void setPointer(int32_t last);
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
    void report(std::string line);
    void flushReport(std::vector<std::string>& lines);

    PostingInput in_;
    EngineHost& host_;
    StepLabel& steplabel_;
    PostingDate date_;
    std::string monthfile_, monthptn_;
    int32_t monthlast_ = 0;    // the month file's last record, as the run hands records out
    int32_t monthAtStart_ = 0; // and as the run found it
    double pct_ = 0, minfin_ = 0;
    ChargeTerms terms_;
    common::Money interestbase_, total_;
    std::string cust_;
    RunFiles files_;
    common::RecordFile* custFile_ = nullptr;
    std::unique_ptr<common::LockedFile> pointer_;
    size_t pointerLength_ = 0;
    std::unique_ptr<PostingJournal> journal_;
    AccountPlan plan_;     // the plan being made
    int32_t lastDone_ = 0; // the last account the run has written or passed
    int32_t charged_ = 0;
    int32_t withBalance_ = 0;
    SparedAccounts spared_;
    std::string backup_;                              // the copy of the files taken before the first write
    PostingBackup::Taking taking_;                    // a copy being made
    std::future<PostingBackup::CopyFailure> copying_; // on a thread of its own
    bool lastpostWritten_ = false;
    bool pointerMade_ = false; // the month's count was missing and made by the run
    // The account file's state for the seal, from the blocks as written (a run from the first
    // account on): the file is not read again once the run is complete.
    std::optional<FileState> custState_;
    std::map<int32_t, Decision> resumeDecision_;
    std::map<int32_t, std::pair<int32_t, std::string>> preferred_; // a stopped run's record for an account
    std::vector<std::string> pendingReport_;
    std::string run_; // a run of records being written
    // The block being written on its own thread, what it has done, and a buffer for the next.
    std::future<void> writing_;
    BlockWrite written_;
    StepLabel writerLabel_;
    std::string spare_;
    int32_t count_ = 0; // the accounts of the store, for the bar
    // Exclusion walks made ahead for the accounts from aheadFrom_ on, and the files they read.
    struct Ahead {
        std::atomic<bool> ready{false};
        bool walked = false;
        common::Money base;
        StepLabel label;
    };
    static constexpr int32_t aheadMinimum = 64;
    std::vector<Ahead> ahead_;
    int32_t aheadFrom_ = 0;
    RunFiles aheadFiles_;
};

} // namespace interest
