#include "interest/use_cases/undo_posting.h"

#include "common/cp1252.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "interest/interest_removal.h"
#include "interest/posting_backup.h"
#include "interest/posting_journal.h"
#include "interest/use_cases/counted.h"
#include "interest/use_cases/post_interest.h"
#include "interest/use_cases/record_keeper.h"
#include "interest/use_cases/window_host.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace interest {

using namespace common;
using namespace platform;

namespace {
// The report of the undone posting stays, its name marked " UNDONE": the words that say so, or
// none when it is not there or cannot be renamed.
QString markReportUndone(const std::string& report) {
    if (!Env::current().info(fromAnsi(report).toStdString()).exists) return {};
    const QString from = fromAnsi(report);
    QString to = from;
    to.insert(to.size() - 4, QStringLiteral(" UNDONE"));
    if (!Env::current().rename(from.toStdString(), to.toStdString())) return {};
    return QStringLiteral(" Its report is kept as %1.").arg(QDir::toNativeSeparators(QFileInfo(to).absoluteFilePath()));
}
// What changed since the posting, in words: the file, and in the accounts the first account and
// field that changed.
QString whatChanged(const std::string& backup, const std::string& changed) {
    const QString file = fromAnsi(changed);
    if (!sameName(changed, "cust.dat")) return file;
    const auto c = PostingBackup::changedAccount(backup);
    if (!c) return file;
    if (c->field == "record")
        return QStringLiteral("%1 (account %2, %3)")
            .arg(file)
            .arg(c->account)
            .arg(c->now == "added"  ? QStringLiteral("added after the posting")
                 : c->now == "gone" ? QStringLiteral("gone since")
                                    : QStringLiteral("written since"));
    return QStringLiteral("%1 (account %2, %3: its %4 is %5 now, %6 before the posting)")
        .arg(file)
        .arg(c->account)
        .arg(fromAnsi(c->names), fromAnsi(c->field), fromAnsi(c->now.empty() ? std::string("blank") : c->now),
             fromAnsi(c->before.empty() ? std::string("blank") : c->before));
}

// An undo would put back what was written since: refused, and what is safe offered instead.
void refuseChanged(Platform& p, const std::string& backup, const std::string& changed, const QString& date) {
    if (p.messages.show(QStringLiteral("%1 has changed since the posting of %2. Undoing the posting would undo that "
                                       "change too, so it is not undone; nothing was changed.\r\rRemove the "
                                       "interest charges of %2 from every account instead? What was written since "
                                       "stays as it is.")
                            .arg(whatChanged(backup, changed), date),
                        QStringLiteral("Undo Last Posting"), Buttons::YesNo, Icon::Exclamation,
                        Answer::No) != Answer::Yes)
        return;
    WindowHost host(p);
    StepLabel steplabel;
    p.screen.setHourglass(true);
    RecordKeeper record(p, QStringLiteral("These removals"));
    const RemovalResult removed = removePostingCharges(toAnsi(date), host, steplabel, [&](const RemovedCharge& c) {
        record.add(removalRecord(c, toAnsi(date), "the posting's charges removed in place of its undo"));
    });
    p.screen.setHourglass(false);
    p.messages.show(removed.removed == 0
                        ? QStringLiteral("No interest charge of %1 was found.").arg(date)
                        : QStringLiteral("Removed %1 interest %2 of %3, %4 in all, from %5.")
                                  .arg(removed.removed)
                                  .arg(removed.removed == 1 ? QStringLiteral("charge") : QStringLiteral("charges"),
                                       date, fromAnsi(trim(formatPicture(removed.total, "######0.00"))),
                                       counted(removed.accountsChanged, QStringLiteral("account"))) +
                              record.told(),
                    {}, Buttons::Ok, Icon::Information);
}
} // namespace

bool undoLastPosting(Platform& p, const std::function<void()>& undone) {
    const auto backup = PostingBackup::newest();
    if (!backup || !PostingBackup::sealed(*backup)) {
        p.messages.show(QStringLiteral("There is no completed posting to undo."), {}, Buttons::Ok, Icon::Information);
        return false;
    }
    // Held like a posting: none may start meanwhile, and a stopped one is completed first.
    std::unique_ptr<PostingJournal> hold;
    try {
        hold = std::make_unique<PostingJournal>();
    } catch (const RunError& e) {
        if (e.number() != err::PermissionDenied) throw;
        p.messages.show(QStringLiteral("Interest is being posted on another computer. Try again when it has finished."),
                        {}, Buttons::Ok, Icon::Exclamation);
        return false;
    }
    if (hold->pending()) {
        p.messages.show(QStringLiteral("A posting was stopped before it was complete. Complete it first."), {},
                        Buttons::Ok, Icon::Exclamation);
        return false;
    }
    const QString date = fromAnsi(PostingBackup::postingDate(*backup));
    const auto summary = PostingBackup::description(*backup);
    QString which = date;
    if (summary)
        which = QStringLiteral("%1 made %2 (rate %3, %4 accounts charged, %5 in all)")
                    .arg(date, fromAnsi(summary->made), fromAnsi(summary->rate), fromAnsi(summary->charged),
                         fromAnsi(summary->total));
    if (p.messages.show(QStringLiteral("Undo the posting of %1? The accounts, the month file and its count, and the "
                                       "last posting date are put back as they were before it.")
                            .arg(which),
                        {}, Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
        return false;
    if (const std::string changed = PostingBackup::changedSince(*backup); !changed.empty()) {
        refuseChanged(p, *backup, changed, date);
        return false;
    }
    PostingBackup::restore(*backup);
    const QString marked = summary ? markReportUndone(summary->report) : QString();
    RecordLine line{"undo",
                    toAnsi(date),
                    {},
                    {},
                    {},
                    {},
                    {},
                    {},
                    {},
                    "the accounts, the month file and its count, and the last posting date put back as they were "
                    "before it"};
    if (summary) {
        line.rate = summary->rate;
        line.accounts = summary->charged;
        line.amount = summary->total;
    }
    const bool recorded = recordOrTell(p, {line}, QStringLiteral("The undo of the posting of %1").arg(date));
    undone();
    p.messages.show(QStringLiteral("The posting of %1 was undone.%2%3")
                        .arg(date, marked,
                             recorded ? QStringLiteral(" The undo is entered in the store's record, %1.")
                                            .arg(QString::fromLatin1(recordFileName))
                                      : QString()),
                    {}, Buttons::Ok, Icon::Information);
    return true;
}

} // namespace interest
