#pragma once
#include "common/money.h"
#include "interest/posting_date.h"
#include "interest/posting_record.h"
#include "interest/posting_run.h"
#include "interest/use_cases/window_host.h"
#include "platform/platform.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace interest {

// What the posting window holds when a posting is asked for.
struct PostingForm {
    QString date, rate, minimum;       // as typed
    bool skipLayaways = false;         // "Do not post interest to Layaways"
    bool firstmon = false;             // the store leaves charges of the last month out of the base
    bool wholesale = false;            // the store's interest transactions are wholesale
    QString highestRate;               // the highest monthly rate the store may charge, "" for none
    std::vector<int32_t> sparedByHand; // accounts taken out of this posting in its preview
};

// How a posting goes, for the window to show.
struct PostingDone {
    enum class Kind {
        NotPosted, // refused, declined, or nothing to do: the window is as it was
        Posted,
        Stopped, // stopped by an error, told (`result`); what was posted stays posted and consistent
    };
    Kind kind = Kind::NotPosted;
    QString date;   // the date posted
    QString result; // "Posted 12-9-26: interest charged to 3 accounts, 45.10 in all. The report ..."
};

// The window's part in a posting: it shows that the posting runs, how far it is, and the end.
struct PostingView {
    std::function<void()> running;
    std::function<void(int percent)> progress;
    std::function<void(const PostingDone&)> done;
};

// Posting interest: the input checked, the posting confirmed (the rate, a second posting in the
// month, the whole posting with its preview), the run, its report printed and kept in the
// store's folder, the undo copy described; and its preview.
class PostInterest {
  public:
    explicit PostInterest(platform::Platform& p) : p_(p) {}

    // The date as the posting writes it, when it is one; otherwise as typed.
    static QString normalisedDate(const QString& typed);
    // Checks the input and asks what must be asked before the posting: Yes to post; a box whose
    // text is refused (told) for the focus to go back to; No when a question was answered No.
    enum class Confirmation { Yes, No, FixDate, FixRate, FixMinimum, FixHighestRate };
    Confirmation confirmed(const PostingForm& form);
    // The posting, once confirmed.
    PostingDone post(const PostingForm& form, const PostingView& view);
    // The whole run computed on the files as they are, and its report shown; nothing written.
    // The accounts it would charge, for the bookkeeper to spare some; none when it was not made.
    std::vector<PreviewCharge> preview(const PostingForm& form);
    // A posting completed whose report was never finished (the program was stopped as it
    // printed): said at the start, and its report written and kept now, from the accounts as
    // they were before it. `form` holds the store's flags.
    void reportUnfinishedPosting(PostingForm form);

  private:
    // The date, the rate and the minimum as the posting needs them; what is not is told.
    Confirmation inputRefused(const PostingForm& form);
    // A date ahead of today, before the last posting, or into a month file of another year.
    // `last`: the date of the last posting, if any.
    bool dateConfirmed(const PostingDate& date, const std::optional<std::string>& last);
    bool rateConfirmed(const PostingForm& form);
    bool postingAgainConfirmed(const PostingDate& date, const std::optional<std::string>& last);
    bool postingConfirmed(const PostingForm& form, const PostingDate& date);
    // The date typed, or the refusal told.
    std::optional<PostingDate> dateOf(const PostingForm& form);
    // What the outcome of a run that did not complete means, told; true when the program ends.
    void tellOutcome(PostingOutcome outcome, const PostingRun& run);
    PostingInput inputOf(const PostingForm& form, const PostingDate& date, bool preview) const;
    WindowHost::Heading heading(const PostingForm& form, bool forPreview) const;
    // The kept report given its name; a report that could not be written is told, and nothing.
    std::optional<QString> keepOrTell(KeptReport& kept);
    // "12-9-26 at 9:00": when a posting was made.
    QString madeText() const;

    platform::Platform& p_;
    StepLabel steplabel_; // the step the run is at, for its failure message
};

// Why an amount typed is no amount the posting can take ("\"0,015\" has a comma..."), in
// words; empty when it is one. `what` names it in the words ("rate", "minimum charge").
QString amountRefusal(const QString& typed, const QString& what, const QString& example);

// The rate typed, as a percentage a month ("1.5 %").
QString ratePerMonth(const QString& rate);
// And with the yearly rate beside it ("1.5 % a month, 18 % a year").
QString rateMonthAndYear(const QString& rate);

// When a thing was done, as the record writes it ("1998-12-07 09:00:00").
std::string recordTime(const common::Clock& clock);
// Adds the lines to the record; what could not be is told in a box, `what` naming what was done
// ("The posting of 12-7-98"). True when they were added.
bool recordOrTell(platform::Platform& p, const std::vector<RecordLine>& lines, const QString& what);

// What went wrong, in words: "the file 1226.dat is held by another computer".
QString troubleOf(const common::RunError& e);

// What the user is told of a run stopped by an error: the step first (the store's support knows
// the steps), then the file and what went wrong, and that nothing after the last account
// handled was changed.
QString postingFailureMessage(const StepLabel& steplabel, const common::RunError& e, int32_t lastDone);

// An account with transactions names no month file: the user is told, and the program ends.
[[noreturn]] void nothingDesignated(platform::Platform& p);

} // namespace interest
