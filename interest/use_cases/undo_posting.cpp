#include "interest/use_cases/undo_posting.h"

#include "common/cp1252.h"
#include "common/env.h"
#include "common/run_error.h"
#include "interest/posting_backup.h"
#include "interest/posting_journal.h"

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
        p.messages.show(
            QStringLiteral("%1 has changed since the posting of %2 (an interest removal, or the store's programs, "
                           "wrote to it). The posting cannot be undone; nothing was changed.\r\rTo take its "
                           "interest back, remove the charges of the accounts that need it with Remove Interest. "
                           "To put every file back as it was before the posting, close the store's programs and "
                           "copy the files from %3 into %4 by hand.")
                .arg(fromAnsi(changed), date,
                     QDir::toNativeSeparators(
                         QFileInfo(QString::fromStdString(PostingBackup::folderOf(*backup))).absoluteFilePath()),
                     QDir::toNativeSeparators(QDir::currentPath())),
            {}, Buttons::Ok, Icon::Exclamation);
        return false;
    }
    PostingBackup::restore(*backup);
    const QString marked = summary ? markReportUndone(summary->report) : QString();
    undone();
    p.messages.show(QStringLiteral("The posting of %1 was undone.%2").arg(date, marked), {}, Buttons::Ok,
                    Icon::Information);
    return true;
}

} // namespace interest
