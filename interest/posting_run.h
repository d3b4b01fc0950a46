#pragma once
#include "common/money.h"
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

enum class PostingOutcome { Completed, NoCustPtn, NoCustDat, Stopped };

// The monthly interest run over every account of "cust.dat". Each charge writes its
// transaction first, then the month's pointer, then the account, so that whatever stops the
// run no account points at a missing transaction and no transaction is overwritten.
class PostingRun {
  public:
    PostingRun(const PostingInput& input, EngineHost& host, std::string& steplabel);

    // The whole run; messages about missing files are shown here. The caller ends the program.
    PostingOutcome run();

    // For tests: the walks on the account in the buffer.
    std::string layawayCheck();
    void excluderecent();
    std::string& account() { return cust_; }
    common::Money& interestbase() { return interestbase_; }

  private:
    void postAccount(int32_t i);
    void chargeCase(int32_t i);
    void noInterestCase(int32_t i, const char* reason);
    void countDownNoInterest();
    void writeAccount(int32_t i);
    void setPointer(int32_t last);
    // Where an interrupted run of this date stopped: the first account still to post, or
    // nothing when the posting cannot go ahead.
    std::optional<int32_t> resumePoint(const JournalEntry& pending);
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
    std::string original_; // the account as read, for the journal
};

} // namespace interest
