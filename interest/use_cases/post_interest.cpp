#include "interest/use_cases/post_interest.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/dates.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_files.h"
#include "interest/posting_backup.h"
#include "interest/posting_journal.h"
#include "interest/use_cases/counted.h"
#include "interest/use_cases/kept_report.h"
#include "store/last_posting.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <memory>

namespace interest {

using namespace common;
using namespace platform;

namespace {
QString storeFolder() { return QDir::toNativeSeparators(QDir::currentPath()); }
QString amount(Money m) { return fromAnsi(trim(formatPicture(m, "######0.00"))); }
} // namespace

QString ratePerMonth(const QString& rate) { return QString::fromStdString(ratePercent(val(toAnsi(rate)))); }
QString rateMonthAndYear(const QString& rate) {
    return QString::fromStdString(interest::rateMonthAndYear(val(toAnsi(rate))));
}

std::string recordTime(const Clock& clock) {
    return toAnsi(QDateTime(clock.today(), clock.now()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

bool recordOrTell(Platform& p, const std::vector<RecordLine>& lines, const QString& what) {
    try {
        appendToRecord(recordTime(p.clock), lines);
        return true;
    } catch (const RunError& e) {
        p.screen.setHourglass(false);
        p.messages.show(
            QStringLiteral("%1 could not be entered in the record %2: %3. What was done stays done; "
                           "enter it there by hand.")
                .arg(what, QDir::toNativeSeparators(QDir::current().absoluteFilePath(recordFileName)), troubleOf(e)),
            {}, Buttons::Ok, Icon::Exclamation);
        return false;
    }
}

QString PostInterest::normalisedDate(const QString& typed) {
    const std::string normal = normalisePostingDate(toAnsi(typed));
    return normal == "ERROR" ? typed : fromAnsi(normal);
}

std::optional<PostingDate> PostInterest::dateOf(const PostingForm& form) {
    // Nothing is written before the date is known to be a day that names a month file of this
    // store.
    if (auto date = parsePostingDate(toAnsi(form.date))) return date;
    const std::string why = whyNotADay(toAnsi(form.date));
    p_.messages.show(why.empty() ? QStringLiteral("The posting date must be month-day-year, for example 12-7-98.")
                                 : QStringLiteral("The posting date %1 is not a day: %2")
                                       .arg(form.date.trimmed(), QString::fromStdString(why)),
                     {}, Buttons::Ok, Icon::Exclamation);
    return std::nullopt;
}

QString amountRefusal(const QString& typed, const QString& what, const QString& example) {
    const QString t = typed.trimmed();
    static const QRegularExpression number(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    if (t.isEmpty()) return QStringLiteral("Type the %1, for example %2.").arg(what, example);
    if (number.match(t).hasMatch()) return {};
    QString pointed = t;
    pointed.replace(QChar(','), QChar('.'));
    if (t.count(QChar(',')) == 1 && number.match(pointed).hasMatch())
        return QStringLiteral("The %1 \"%2\" has a comma. Type the %1 with a point: %3").arg(what, t, pointed);
    return QStringLiteral("The %1 \"%2\" is not a number. Type it in figures, for example %3.").arg(what, t, example);
}

PostInterest::Confirmation PostInterest::inputRefused(const PostingForm& form) {
    if (!dateOf(form)) return Confirmation::FixDate;
    const auto refuse = [this](const QString& why) { p_.messages.show(why, {}, Buttons::Ok, Icon::Exclamation); };
    if (const QString why = amountRefusal(form.rate, QStringLiteral("rate"), QStringLiteral(".015")); !why.isEmpty()) {
        refuse(why);
        return Confirmation::FixRate;
    }
    if (Money::fromText(toAnsi(form.rate)) == Money{}) {
        // A posting at 0 would charge nothing and still count every account as a month behind.
        refuse(QStringLiteral("A rate of 0 charges no interest: nothing is posted. Type the monthly rate, for "
                              "example .015."));
        return Confirmation::FixRate;
    }
    if (const QString why = amountRefusal(form.minimum, QStringLiteral("minimum charge"), QStringLiteral("1.00"));
        !why.isEmpty()) {
        refuse(why);
        return Confirmation::FixMinimum;
    }
    if (!form.highestRate.trimmed().isEmpty()) {
        if (QString why = amountRefusal(form.highestRate, QStringLiteral("highest rate"), QStringLiteral(".015"));
            !why.isEmpty()) {
            if (!why.endsWith(QChar('.'))) why += QChar('.');
            refuse(why + QStringLiteral(" Leave it empty when the store has no highest rate."));
            return Confirmation::FixHighestRate;
        }
    }
    return Confirmation::Yes;
}

PostingInput PostInterest::inputOf(const PostingForm& form, const PostingDate& date, bool preview) const {
    PostingInput in;
    in.date = date;
    in.percentage = toAnsi(form.rate);
    in.minfinance = toAnsi(form.minimum);
    in.skipLayaways = form.skipLayaways;
    in.firstmon = form.firstmon;
    in.wholesale = form.wholesale;
    in.preview = preview;
    in.sparedByHand = form.sparedByHand;
    return in;
}

WindowHost::Heading PostInterest::heading(const PostingForm& form, bool forPreview) const {
    WindowHost::Heading h;
    if (forPreview) h.preview = QStringLiteral("PREVIEW - nothing has been posted");
    h.posting = QStringLiteral("Interest posting of %1   Rate %2 (%3)   Minimum %4")
                    .arg(form.date.trimmed(), form.rate.trimmed(), rateMonthAndYear(form.rate), form.minimum.trimmed());
    if (form.firstmon)
        h.note = QStringLiteral("Charges of the last month are left out of the base: the base is printed where they "
                                "lowered it.");
    h.store = storeFolder();
    h.printed = fromAnsi(shortDateText(p_.clock.today()));
    return h;
}

PostInterest::Confirmation PostInterest::confirmed(const PostingForm& form) {
    if (const Confirmation refused = inputRefused(form); refused != Confirmation::Yes) return refused;
    const PostingDate date = *parsePostingDate(toAnsi(form.date));
    const std::optional<std::string> last = store::readLastPostingDate();
    return dateConfirmed(date, last) && rateConfirmed(form) && postingAgainConfirmed(date, last) &&
                   postingConfirmed(form, date)
               ? Confirmation::Yes
               : Confirmation::No;
}

namespace {
int dayNumber(int month, int day, int twoDigitYear) { return fullYear(twoDigitYear) * 10000 + month * 100 + day; }

// The date of the first transaction of the month file, when it holds one.
std::optional<std::string> firstTransactionDate(const std::string& monthFile) {
    try {
        if (!fileExists(monthFile)) return std::nullopt;
        RecordFile month(monthFile, transrec::length, Access::Read);
        for (int32_t r = 1; r <= std::min<int32_t>(month.count(), 16); ++r) {
            const std::string date(trim(fieldText(month.read(r), transrec::txdate)));
            if (parsePostingDate(date)) return date;
        }
    } catch (const RunError&) {
        // held elsewhere or unreadable: the posting itself will say so
    }
    return std::nullopt;
}
} // namespace

bool PostInterest::dateConfirmed(const PostingDate& date, const std::optional<std::string>& last) {
    // Each of these is seldom meant: asked, No the default.
    const auto ask = [this, &date](const QString& what) {
        return p_.messages.show(QStringLiteral("%1 Post to %2?").arg(what, fromAnsi(date.monthFile)),
                                QStringLiteral("Post interest"), Buttons::YesNo, Icon::Question,
                                Answer::No) == Answer::Yes;
    };
    const int posting = dayNumber(date.month, date.day, date.year);
    const QDate today = p_.clock.today();
    if (posting > today.year() * 10000 + today.month() * 100 + today.day() &&
        !ask(QStringLiteral("%1 is after today, %2.").arg(fromAnsi(date.text), fromAnsi(shortDateText(today)))))
        return false;
    if (last) {
        if (const auto before = parsePostingDate(*last);
            before && (before->month != date.month || before->year != date.year) &&
            posting < dayNumber(before->month, before->day, before->year) &&
            !ask(QStringLiteral("%1 is before the last posting, %2.").arg(fromAnsi(date.text), fromAnsi(before->text))))
            return false;
    }
    if (const auto held = firstTransactionDate(date.monthFile)) {
        const TransactionDay t = transactionDay(*held);
        if (t.year != date.year &&
            !ask(QStringLiteral("%1 already holds transactions of another year (the first is of %2).")
                     .arg(fromAnsi(date.monthFile), fromAnsi(*held))))
            return false;
    }
    return true;
}

bool PostInterest::rateConfirmed(const PostingForm& form) {
    // Above the highest rate the store may charge, and outside the window's own limits, a rate
    // is asked about, No the default.
    const Money rate = Money::fromText(toAnsi(form.rate));
    if (const QString highest = form.highestRate.trimmed();
        !highest.isEmpty() && rate > Money::fromText(toAnsi(highest)) &&
        p_.messages.show(QStringLiteral("The rate %1 (%2) is above the highest rate the store may charge, %3 (%4). "
                                        "Post at this rate anyway?")
                             .arg(form.rate.trimmed(), rateMonthAndYear(form.rate), highest, rateMonthAndYear(highest)),
                         QStringLiteral("Post interest"), Buttons::YesNo, Icon::Exclamation, Answer::No) != Answer::Yes)
        return false;
    if (!(rate > Money::fromText(".02")) && !(rate < Money::fromText(".001"))) return true;
    return p_.messages.show(QStringLiteral("The rate %1 is %2 a month. Post it anyway?")
                                .arg(form.rate.trimmed(), ratePerMonth(form.rate)),
                            {}, Buttons::YesNo, Icon::Question, Answer::No) == Answer::Yes;
}

bool PostInterest::postingAgainConfirmed(const PostingDate& date, const std::optional<std::string>& lastDate) {
    // Posting twice in one month charges interest on interest: asked first, No the default.
    // A stopped posting (its journal left) is completed, not posted again.
    if (!lastDate || fileExists(PostingJournal::fileName)) return true;
    const std::string last(trim(*lastDate));
    const auto before = parsePostingDate(last);
    if (last.empty() || !before || before->month != date.month || before->year != date.year) return true;
    return p_.messages.show(
               QStringLiteral("Interest was already posted on %1. Post again for this month?").arg(fromAnsi(last)), {},
               Buttons::YesNo, Icon::Question) == Answer::Yes;
}

bool PostInterest::postingConfirmed(const PostingForm& form, const PostingDate& date) {
    // The whole of the posting in one question, with what the preview of it charges.
    WindowHost host(p_);
    host.dropReport();
    PostingInput in = inputOf(form, date, true);
    in.listCharges = false; // its totals are asked about, not its accounts: a store of many holds none
    in.reportLines = false; // nor its report, which is dropped
    PostingRun previewRun(in, host, steplabel_);
    PostingOutcome outcome = PostingOutcome::StoppedPending;
    QString noPreview;
    // Missing files and a stopped posting are the posting's own to tell.
    if (previewPossible()) {
        p_.screen.setHourglass(true);
        try {
            outcome = previewRun.run();
        } catch (const RunError& e) {
            if (e.number() == err::NoFileNamed) nothingDesignated(p_);
            outcome = PostingOutcome::StoppedPending;
            noPreview = QStringLiteral("\rThe preview could not be made: %1.").arg(troubleOf(e));
        }
        p_.screen.setHourglass(false);
    }
    QString text = QStringLiteral("Post interest to the accounts of %1?\r\rPosting date: %2 (month file %3)\rRate: %4, "
                                  "that is %5\rMinimum charge: %6")
                       .arg(storeFolder(), fromAnsi(date.text), fromAnsi(date.monthFile), form.rate.trimmed(),
                            rateMonthAndYear(form.rate), form.minimum.trimmed());
    if (outcome == PostingOutcome::Completed)
        text += QStringLiteral("\rAccounts with a balance: %1\rThe preview charges %2, %3 in all.")
                    .arg(previewRun.withBalance())
                    .arg(counted(previewRun.charged(), QStringLiteral("account")), amount(previewRun.total()));
    if (!form.sparedByHand.empty()) {
        QStringList numbers;
        for (const int32_t a : form.sparedByHand) numbers << QString::number(a);
        text += QStringLiteral("\rSpared by hand in the preview: %1 (%2)")
                    .arg(counted(static_cast<int32_t>(form.sparedByHand.size()), QStringLiteral("account")),
                         numbers.join(QStringLiteral(", ")));
    }
    text += noPreview;
    return p_.messages.show(text, QStringLiteral("Post interest"), Buttons::YesNo, Icon::Question, Answer::No) ==
           Answer::Yes;
}

void PostInterest::tellOutcome(PostingOutcome outcome, const PostingRun& run) {
    switch (outcome) {
    case PostingOutcome::Completed: return;
    case PostingOutcome::NoCustPtn:
        p_.messages.show(QStringLiteral("The Cust.ptn file does not exist"));
        p_.processes.endProcess();
        return;
    case PostingOutcome::NoCustDat:
        p_.messages.show(QStringLiteral("The CUST.DAT file does not exhist"));
        p_.processes.endProcess();
        return;
    case PostingOutcome::PostingElsewhere:
        p_.messages.show(
            QStringLiteral("Interest is being posted on another computer. Try again when it has finished."), {},
            Buttons::Ok, Icon::Exclamation);
        return;
    case PostingOutcome::OtherDateStopped:
        p_.messages.show(QStringLiteral("The posting of %1 was interrupted before it was complete. Post again with "
                                        "the date %1 to complete it first.")
                             .arg(fromAnsi(run.pendingDate())),
                         {}, Buttons::Ok, Icon::Exclamation);
        return;
    case PostingOutcome::StoppedPending:
        p_.messages.show(QStringLiteral("A posting was stopped before it was complete. Complete it first."), {},
                         Buttons::Ok, Icon::Exclamation);
        return;
    case PostingOutcome::NothingToPreview:
        p_.messages.show(QStringLiteral("There are no accounts to preview."), {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
}

std::optional<QString> PostInterest::keepOrTell(KeptReport& kept) {
    try {
        return kept.keep();
    } catch (const RunError& e) {
        p_.screen.setHourglass(false);
        p_.messages.show(QStringLiteral("The report could not be kept in the store's folder as %1: %2. What was posted "
                                        "stays posted.")
                             .arg(kept.name(), troubleOf(e)),
                         {}, Buttons::Ok, Icon::Exclamation);
        return std::nullopt;
    }
}

QString PostInterest::madeText() const {
    return QStringLiteral("%1 at %2")
        .arg(fromAnsi(shortDateText(p_.clock.today())), p_.clock.now().toString(QStringLiteral("H:mm")));
}

PostingDone PostInterest::post(const PostingForm& form, const PostingView& view) {
    const auto date = parsePostingDate(toAnsi(form.date));
    if (!date) return {}; // refused by confirmed
    p_.screen.setHourglass(true);
    view.running();
    WindowHost host(
        p_,
        [this, &view](int percent) {
            view.progress(percent);
            p_.screen.refresh();
        },
        heading(form, false));
    // A copy of the report is kept in the store's folder, whatever the printer does with it: written
    // under a temporary name and given its own once whole, so a stop never leaves a broken one.
    // Its pages as the printer's, so that the copy reads page for page as the paper.
    KeptReport kept(p_.clock, date->text, p_.printer.geometry(), p_.printer.lineHeightOf(WindowHost::reportFont()));
    const bool printed = p_.printer.installed();
    host.keepReportIn(kept, printed);
    PostingRun run(inputOf(form, *date, false), host, steplabel_);
    PostingOutcome outcome = PostingOutcome::Completed;
    try {
        outcome = run.run();
    } catch (const RunError& e) {
        if (e.number() == err::NoFileNamed) nothingDesignated(p_);
        // The run stops where it is; what was posted stays posted and consistent, and its report
        // says what it posted. A run that changed no account has nothing to report.
        if (run.lastDone() > 0) {
            host.endReport(); // the report of what was posted, paged
            keepOrTell(kept);
        } else {
            p_.printer.killDoc();
            kept.drop();
        }
        p_.screen.setHourglass(false);
        const QString told = postingFailureMessage(steplabel_, e, run.lastDone());
        p_.messages.show(told, {}, Buttons::Ok, Icon::Critical);
        QString result = told;
        result.replace(QChar('\r'), QChar(' '));
        return {PostingDone::Kind::Stopped, form.date.trimmed(), QStringLiteral("Stopped: ") + result};
    }
    if (outcome != PostingOutcome::Completed) {
        // Nothing was posted: the window is as it was, for another date.
        tellOutcome(outcome, run);
        kept.drop();
        return {};
    }
    const std::optional<QString> keptName = keepOrTell(kept); // the run's end ended the printed report
    const QString keptAs = keptName.value_or(QString());
    view.progress(100);
    const QString total = amount(run.total());
    const QString accounts = counted(run.charged(), QStringLiteral("account"));
    const QString where = QDir::toNativeSeparators(QFileInfo(keptAs).absoluteFilePath());
    const QString report =
        keptName
            ? (printed ? QStringLiteral("The report was %1 and is kept as %2.").arg(p_.printer.destination(), where)
                       : QStringLiteral("No printer is installed: the report is kept as %1.").arg(where))
        : printed ? QStringLiteral("The report was %1; no copy of it could be kept.").arg(p_.printer.destination())
                  : QStringLiteral("No printer is installed, and the report could not be kept.");
    // In the record before the window says it is done.
    std::vector<RecordLine> lines{
        RecordLine{"posting",
                   date->text,
                   toAnsi(form.rate.trimmed()),
                   std::to_string(run.charged()),
                   toAnsi(total),
                   {},
                   {},
                   {},
                   {},
                   "minimum " + toAnsi(form.minimum.trimmed()) + "; report " +
                       (keptName ? toAnsi(QFileInfo(keptAs).fileName()) : std::string("not kept"))}};
    for (const SparedByHand& a : run.sparedByHand())
        lines.push_back(RecordLine{"spared by hand",
                                   date->text,
                                   {},
                                   {},
                                   {},
                                   std::to_string(a.account),
                                   a.name,
                                   a.phone,
                                   {},
                                   "not charged in this posting"});
    const bool recorded = recordOrTell(p_, lines, QStringLiteral("The posting of %1").arg(fromAnsi(date->text)));
    if (const auto backup = PostingBackup::newest(); backup && PostingBackup::sealed(*backup))
        PostingBackup::describe(*backup, {date->text, toAnsi(madeText()), toAnsi(form.rate.trimmed()),
                                          std::to_string(run.charged()), toAnsi(total), toAnsi(keptAs)});
    PostingDone done{PostingDone::Kind::Posted, form.date.trimmed(),
                     QStringLiteral("Posted %1: interest charged to %2, %3 in all. %4")
                         .arg(form.date.trimmed(), accounts, total, report)};
    p_.screen.setHourglass(false);
    view.done(done);
    p_.messages.show(QStringLiteral("Interest posted to %1. Total charged %2. %3%4")
                         .arg(accounts, total, report,
                              recorded ? QStringLiteral(" The posting is entered in the store's record, %1.")
                                             .arg(QString::fromLatin1(recordFileName))
                                       : QString()),
                     {}, Buttons::Ok, Icon::Information);
    return done;
}

std::vector<PreviewCharge> PostInterest::preview(const PostingForm& form) {
    if (inputRefused(form) != Confirmation::Yes) return {};
    const auto date = parsePostingDate(toAnsi(form.date));
    WindowHost host(p_, {}, heading(form, true));
    p_.screen.setHourglass(true);
    p_.printer.previewNext();
    PostingRun previewRun(inputOf(form, *date, true), host, steplabel_);
    PostingOutcome outcome = PostingOutcome::Completed;
    try {
        outcome = previewRun.run();
    } catch (const RunError& e) {
        if (e.number() == err::NoFileNamed) nothingDesignated(p_);
        p_.printer.killDoc();
        p_.screen.setHourglass(false);
        p_.messages.show(QStringLiteral("The preview stopped: %1. Nothing was posted.").arg(troubleOf(e)), {},
                         Buttons::Ok, Icon::Exclamation);
        return {};
    }
    p_.screen.setHourglass(false);
    if (outcome != PostingOutcome::Completed) {
        tellOutcome(outcome, previewRun);
        p_.printer.killDoc(); // nothing to show
        return {};
    }
    return previewRun.previewCharges();
}

void PostInterest::reportUnfinishedPosting(PostingForm form) {
    endSealedPosting();
    const auto backup = PostingBackup::newest();
    if (!backup || !PostingBackup::sealed(*backup) || PostingBackup::description(*backup)) return;
    const std::string posted = PostingBackup::postingDate(*backup);
    const auto last = store::readLastPosting();
    const auto date = parsePostingDate(posted);
    // Only the last posting, with the rate and minimum it recorded.
    if (!last || !date || std::string(trim(last->date)) != posted) return;
    form.date = fromAnsi(posted);
    form.rate = fromAnsi(std::string(trim(last->rate)));
    form.minimum = fromAnsi(std::string(trim(last->minimum.value_or("0"))));
    p_.messages.show(QStringLiteral("The posting of %1 ended before its report was written. Its report is written now, "
                                    "from the accounts as they were before it, and kept in the store's folder.")
                         .arg(form.date),
                     {}, Buttons::Ok, Icon::Information);
    WindowHost::Heading h = heading(form, false);
    h.preview = QStringLiteral("Written at the next start: the posting was stopped before its report was finished");
    WindowHost host(p_, {}, h);
    KeptReport kept(p_.clock, date->text, p_.printer.geometry(), p_.printer.lineHeightOf(WindowHost::reportFont()));
    host.keepReportIn(kept, false);
    PostingInput in = inputOf(form, *date, true);
    in.listCharges = false;
    in.accountsFile = PostingBackup::copyOf(*backup, "cust.dat");
    PostingRun run(in, host, steplabel_);
    p_.screen.setHourglass(true);
    PostingOutcome outcome = PostingOutcome::NothingToPreview;
    try {
        outcome = run.run();
    } catch (const RunError& e) {
        kept.drop();
        p_.screen.setHourglass(false);
        p_.messages.show(
            QStringLiteral("The report of the posting of %1 could not be written: %2.").arg(form.date, troubleOf(e)),
            {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    p_.screen.setHourglass(false);
    if (outcome != PostingOutcome::Completed) {
        kept.drop();
        return;
    }
    const std::optional<QString> keptName = keepOrTell(kept);
    if (!keptName) return;
    const QString keptAs = *keptName;
    recordOrTell(p_,
                 {RecordLine{"posting",
                             date->text,
                             toAnsi(form.rate),
                             std::to_string(run.charged()),
                             toAnsi(amount(run.total())),
                             {},
                             {},
                             {},
                             {},
                             "minimum " + toAnsi(form.minimum) + "; report " + toAnsi(QFileInfo(keptAs).fileName()) +
                                 " (the program was stopped before the posting was entered here)"}},
                 QStringLiteral("The posting of %1").arg(form.date));
    PostingBackup::describe(*backup, {date->text, toAnsi(madeText()) + " (its report written later)", toAnsi(form.rate),
                                      std::to_string(run.charged()), toAnsi(amount(run.total())), toAnsi(keptAs)});
}

QString troubleOf(const RunError& e) {
    if (e.detail().empty()) return QString::fromStdString(e.description());
    const std::string& d = e.detail();
    const std::string file = d.substr(d.find_last_of('/') == std::string::npos ? 0 : d.find_last_of('/') + 1);
    return QStringLiteral("the file %1 %2").arg(fromAnsi(file), QString::fromStdString(troubleInWords(e)));
}

QString postingFailureMessage(const StepLabel& steplabel, const RunError& e, int32_t lastDone) {
    QString what = troubleOf(e);
    what[0] = what[0].toUpper();
    const QString done = lastDone > 0 ? QStringLiteral("No account after account %1 was changed.").arg(lastDone)
                                      : QStringLiteral("No account was changed.");
    return fromAnsi(steplabel.text()) + '\r' + what + QStringLiteral(".\r") + done +
           QStringLiteral(" Post again with the same date to complete the posting.");
}

void nothingDesignated(Platform& p) {
    p.messages.show(QStringLiteral("Nothing designated for file name"), {}, Buttons::OkCancel, Icon::Critical);
    p.processes.endProcess();
    std::abort(); // not reached: the platform ends the process
}

} // namespace interest
