#include "interest/use_cases/post_interest.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/dates.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/posting_backup.h"
#include "interest/posting_journal.h"
#include "interest/use_cases/counted.h"
#include "store/last_posting.h"

#include <QDir>
#include <QFileInfo>
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

QString PostInterest::normalisedDate(const QString& typed) {
    const std::string normal = normalisePostingDate(toAnsi(typed));
    return normal == "ERROR" ? typed : fromAnsi(normal);
}

std::optional<PostingDate> PostInterest::dateOf(const PostingForm& form) {
    // Nothing is written before the date is known to name a month file of this store.
    if (auto date = parsePostingDate(toAnsi(form.date))) return date;
    p_.screen.setHourglass(true);
    p_.messages.show(QStringLiteral("The posting date must be month-day-year, for example 12-7-98."), {}, Buttons::Ok,
                     Icon::Exclamation);
    p_.screen.setHourglass(false);
    return std::nullopt;
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
    return in;
}

WindowHost::Heading PostInterest::heading(const PostingForm& form, bool forPreview) const {
    WindowHost::Heading h;
    if (forPreview) h.preview = QStringLiteral("PREVIEW - nothing has been posted");
    h.posting = QStringLiteral("Interest posting of %1   Rate %2 (%3 a month)   Minimum %4")
                    .arg(form.date.trimmed(), form.rate.trimmed(), ratePerMonth(form.rate), form.minimum.trimmed());
    h.store = storeFolder();
    h.printed = fromAnsi(shortDateText(p_.clock.today()));
    return h;
}

bool PostInterest::confirmed(const PostingForm& form) {
    const auto date = parsePostingDate(toAnsi(form.date));
    // A date that is none is refused by the posting itself.
    return !date || (rateConfirmed(form) && postingAgainConfirmed(*date) && postingConfirmed(form, *date));
}

bool PostInterest::rateConfirmed(const PostingForm& form) {
    // The window's own limits; a rate outside them is asked about, No the default.
    const Money rate = Money::fromText(toAnsi(form.rate));
    if (!(rate > Money::fromText(".02")) && !(rate < Money::fromText(".001"))) return true;
    return p_.messages.show(QStringLiteral("The rate %1 is %2 a month. Post it anyway?")
                                .arg(form.rate.trimmed(), ratePerMonth(form.rate)),
                            {}, Buttons::YesNo, Icon::Question, Answer::No) == Answer::Yes;
}

bool PostInterest::postingAgainConfirmed(const PostingDate& date) {
    // Posting twice in one month charges interest on interest: asked first, No the default.
    // A stopped posting (its journal left) is completed, not posted again.
    const auto lastDate = store::readLastPostingDate();
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
    PostingRun previewRun(inputOf(form, date, true), host, steplabel_);
    PostingOutcome outcome = PostingOutcome::StoppedPending;
    // Missing files and a stopped posting are the posting's own to tell.
    if (previewPossible()) {
        p_.screen.setHourglass(true);
        try {
            outcome = previewRun.run();
        } catch (const RunError& e) {
            if (e.number() == err::NoFileNamed) nothingDesignated(p_);
            outcome = PostingOutcome::StoppedPending; // the posting itself says what is wrong
        }
        p_.screen.setHourglass(false);
    }
    QString text = QStringLiteral("Post interest to the accounts of %1?\r\rPosting date: %2 (month file %3)\rRate: %4, "
                                  "that is %5 a month\rMinimum charge: %6")
                       .arg(storeFolder(), fromAnsi(date.text), fromAnsi(date.monthFile), form.rate.trimmed(),
                            ratePerMonth(form.rate), form.minimum.trimmed());
    if (outcome == PostingOutcome::Completed)
        text += QStringLiteral("\rAccounts with a balance: %1\rThe preview charges %2, %3 in all.")
                    .arg(previewRun.withBalance())
                    .arg(counted(previewRun.charged(), QStringLiteral("account")), amount(previewRun.total()));
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

QString PostInterest::keptReportName(const std::string& date) const {
    const QString stamp =
        p_.clock.today().toString(QStringLiteral("yyyy-MM-dd")) + ' ' + p_.clock.now().toString(QStringLiteral("HHmm"));
    QString name = QStringLiteral("Interest report %1 posted %2.pdf").arg(fromAnsi(date), stamp);
    for (int n = 2; Env::current().info(name.toStdString()).exists; ++n)
        name = QStringLiteral("Interest report %1 posted %2 (%3).pdf").arg(fromAnsi(date), stamp).arg(n);
    return name;
}

QString PostInterest::madeText() const {
    return QStringLiteral("%1 at %2")
        .arg(fromAnsi(shortDateText(p_.clock.today())), p_.clock.now().toString(QStringLiteral("H:mm")));
}

PostingDone PostInterest::post(const PostingForm& form, const PostingView& view) {
    const auto date = dateOf(form);
    if (!date) return {};
    p_.screen.setHourglass(true);
    view.running();
    WindowHost host(
        p_,
        [this, &view](int percent) {
            view.progress(percent);
            p_.screen.refresh();
        },
        heading(form, false));
    // A copy of the report is kept in the store's folder, whatever the printer does with it.
    const QString kept = keptReportName(date->text);
    const std::unique_ptr<Printer> keep = p_.documents.toFile(kept, p_.printer.geometry());
    const bool printed = p_.printer.installed();
    host.copyReportTo(keep.get(), printed);
    PostingRun run(inputOf(form, *date, false), host, steplabel_);
    PostingOutcome outcome = PostingOutcome::Completed;
    try {
        outcome = run.run();
    } catch (const RunError& e) {
        if (e.number() == err::NoFileNamed) nothingDesignated(p_);
        // The run stops where it is; what was posted stays posted and consistent.
        p_.printer.endDoc();
        keep->endDoc();
        p_.screen.setHourglass(false);
        p_.messages.show(postingFailureMessage(steplabel_, e, run.lastDone()), {}, Buttons::Ok, Icon::Critical);
        return {PostingDone::Kind::Stopped, {}, {}};
    }
    if (outcome != PostingOutcome::Completed) {
        // Nothing was posted: the window is as it was, for another date.
        tellOutcome(outcome, run);
        keep->killDoc();
        return {};
    }
    view.progress(100);
    const QString total = amount(run.total());
    const QString accounts = counted(run.charged(), QStringLiteral("account"));
    const QString where = QDir::toNativeSeparators(QFileInfo(kept).absoluteFilePath());
    const QString report =
        printed ? QStringLiteral("The report was %1 and is kept as %2.").arg(p_.printer.destination(), where)
                : QStringLiteral("No printer is installed: the report is kept as %1.").arg(where);
    if (const auto backup = PostingBackup::newest(); backup && PostingBackup::sealed(*backup))
        PostingBackup::describe(*backup, {date->text, toAnsi(madeText()), toAnsi(form.rate.trimmed()),
                                          std::to_string(run.charged()), toAnsi(total), toAnsi(kept)});
    PostingDone done{PostingDone::Kind::Posted, form.date.trimmed(),
                     QStringLiteral("Posted %1: interest charged to %2, %3 in all. %4")
                         .arg(form.date.trimmed(), accounts, total, report)};
    p_.screen.setHourglass(false);
    view.done(done);
    p_.messages.show(QStringLiteral("Interest posted to %1. Total charged %2. %3").arg(accounts, total, report), {},
                     Buttons::Ok, Icon::Information);
    return done;
}

void PostInterest::preview(const PostingForm& form) {
    WindowHost host(p_, {}, heading(form, true));
    p_.screen.setHourglass(true);
    p_.printer.previewNext();
    const auto date = dateOf(form);
    if (!date) return;
    PostingRun previewRun(inputOf(form, *date, true), host, steplabel_);
    PostingOutcome outcome = PostingOutcome::Completed;
    try {
        outcome = previewRun.run();
    } catch (const RunError& e) {
        if (e.number() == err::NoFileNamed) nothingDesignated(p_);
        p_.printer.killDoc();
        p_.screen.setHourglass(false);
        throw;
    }
    if (outcome != PostingOutcome::Completed) {
        tellOutcome(outcome, previewRun);
        p_.printer.killDoc(); // nothing to show
    }
    p_.screen.setHourglass(false);
}

QString postingFailureMessage(const StepLabel& steplabel, const RunError& e, int32_t lastDone) {
    QString what;
    if (!e.detail().empty()) {
        const std::string& d = e.detail();
        const std::string file = d.substr(d.find_last_of('/') == std::string::npos ? 0 : d.find_last_of('/') + 1);
        what = QStringLiteral("The file %1 %2.").arg(fromAnsi(file), QString::fromStdString(troubleInWords(e)));
    } else {
        what = QStringLiteral("Error %1: %2.").arg(e.number()).arg(QString::fromStdString(e.description()));
    }
    const QString done = lastDone > 0 ? QStringLiteral("No account after account %1 was changed.").arg(lastDone)
                                      : QStringLiteral("No account was changed.");
    return fromAnsi(steplabel.text()) + '\r' + what + '\r' + done +
           QStringLiteral(" Post again with the same date to complete the posting.");
}

void nothingDesignated(Platform& p) {
    p.messages.show(QStringLiteral("Nothing designated for file name"), {}, Buttons::OkCancel, Icon::Critical);
    p.processes.endProcess();
    std::abort(); // not reached: the platform ends the process
}

} // namespace interest
