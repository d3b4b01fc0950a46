#pragma once
#include "common/money.h"
#include "common/run_error.h"
#include "interest/account_charge.h"
#include "interest/account_files.h"
#include "interest/engine_host.h"
#include "interest/posting_journal.h"

#include <cstdint>
#include <functional>
#include <string>

namespace interest {

// What the posting window hands the run: its texts as typed and its settings.
struct PostingInput {
    std::string datebox;       // posting date as typed
    std::string percentage;    // monthly rate text
    std::string minfinance;    // minimum charge text
    bool skipLayaways = false; // Check1
    bool firstmon = false;     // leave charges of the last month out of the base
    bool wholesale = false;    // interest transactions carry "1 999999" in amount2
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
PostingDate transactionDate(const std::string& txdate);

// A posting date the run accepts: month-day-year of numbers that the date check accepts, whose
// month file ("1226.dat") is that of the date, named with digits and at most one dash.
bool acceptablePostingDate(const std::string& datebox);

// What the user is told of a run stopped by an error: the step first (the store's support knows
// the steps), then the file and what went wrong, and that nothing after the last account
// handled was changed.
QString postingFailureMessage(const std::string& steplabel, const common::RunError& e, int32_t lastDone);

enum class PostingOutcome { Completed, NoCustPtn, NoCustDat, Stopped };

// The monthly interest run over every account of "cust.dat". Each charge writes its
// transaction first, then the month's pointer, then the account, so that whatever stops the
// run no account points at a missing transaction and no transaction is overwritten.
class PostingRun {
  public:
    PostingRun(const PostingInput& input, EngineHost& host, std::string& steplabel);

    // The whole run; messages about missing files are shown here. The caller ends the program.
    PostingOutcome run();
    // The last account handled, for a run stopped by an error: nothing after it was changed.
    int32_t lastDone() const { return lastDone_; }

    // For tests: the walks on the account in the buffer.
    std::string layawayCheck();
    void excluderecent();
    std::string& account() { return cust_; }
    common::Money& interestbase() { return interestbase_; }

  private:
    PostingOutcome runSteps();
    // The posting month file, opened for writing.
    common::RecordFile& monthFile();
    void postAccount(int32_t i);
    void chargeCase(int32_t i);
    void noInterestCase(int32_t i, const char* reason);
    void countDownNoInterest();
    void writeAccount(int32_t i);
    void setPointer(int32_t last);
    // Where an interrupted run of this date stopped: the first account still to post, or
    // nothing when the posting cannot go ahead.
    int32_t resumePoint(const JournalEntry& pending);
    void report(const std::string& line);

    PostingInput in_;
    EngineHost& host_;
    std::string& steplabel_;
    PostingDate date_;
    std::string monthfile_, monthptn_;
    int32_t monthlast_ = 0;
    double pct_ = 0, minfin_ = 0;
    ChargeTerms terms_;
    common::Money interestbase_, total_;
    std::string cust_, trans_;
    RunFiles files_;
    common::RecordFile* custFile_ = nullptr;
    std::unique_ptr<common::LockedFile> pointer_;
    size_t pointerLength_ = 0;
    std::unique_ptr<PostingJournal> journal_;
    std::string original_;      // the account as read, for the journal
    int32_t lastDone_ = 0;      // the last account the run has handled
    int32_t skipped_ = 0;       // an account changed since a stop, left for a person to check
    int32_t resumeAccount_ = 0; // the account a stopped run was writing, and the record it
    int32_t resumeRecord_ = 0;  // had taken for that account's charge
};

} // namespace interest
