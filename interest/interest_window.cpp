#include "interest/interest_window.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/dates.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/interest_removal.h"
#include "interest/posting_backup.h"
#include "interest/posting_flags.h"
#include "interest/posting_journal.h"
#include "interest/posting_report.h"
#include "interest/posting_run.h"
#include "interest/window_host.h"
#include "platform/qt/qt_printer.h"
#include "store/last_posting.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

namespace interest {

using namespace common;
using namespace platform;

namespace {
const QString firstmonNotice = QStringLiteral("Set to NOT charge interest on any charge that was in the same month.");

// "1 account", "2 accounts"
QString counted(int n, const QString& thing) {
    return QStringLiteral("%1 %2%3").arg(n).arg(thing, n == 1 ? QString() : QStringLiteral("s"));
}
} // namespace

InterestWindow::InterestWindow(Platform& platform, QWidget* parent) : FormWindow(platform, parent) {
    setObjectName("interest");
    setWindowTitle(QStringLiteral("Posting Interest to Charge Accounts"));
    // In the order of entry, which is the tab order.
    dateCaption = label("Label1", QStringLiteral("&Date for posting"), 240, 240, 3000, 300);
    datebox = textBox("datebox", QStringLiteral("Date"), 240, 540, 1600, 360);
    rateCaption = label("Label2", QStringLiteral("Monthly &Percentage for posting    (Example: .01 would be 1%)"), 240,
                        1020, 6600, 300);
    Percentage = textBox("Percentage", QStringLiteral("Percentage"), 240, 1320, 1600, 360);
    minimumCaption =
        label("Label6", QStringLiteral("&Minimum Finance Charge     (In dollars and cents)"), 240, 1800, 6600, 300);
    MinFinance = textBox("MinFinance", QStringLiteral("MinFinance"), 240, 2100, 1600, 360);
    noLayawayInterest = new QCheckBox(QStringLiteral("Do not post interest to &Layaways"), this);
    noLayawayInterest->setObjectName("Check1");
    noLayawayInterest->setGeometry(tw(240), tw(2640), tw(4800), tw(330));
    Start = button("Start", QStringLiteral("&Start"), 240, 3180, 2000, 460);
    exitButton = button("Command1", QStringLiteral("&Cancel / Exit"), 2400, 3180, 2000, 460);
    remove = button("remove", QStringLiteral("&Remove Interest..."), 4560, 3180, 2600, 460);
    Notes = button("Notes", QStringLiteral("Set &Notes"), 7320, 3180, 1600, 460);
    preview = button("preview", QStringLiteral("Pre&view"), 240, 3720, 2000, 460);
    undo = button("undo", QStringLiteral("&Undo Last Posting"), 2400, 3720, 2600, 460);
    reports = button("reports", QStringLiteral("Rep&orts..."), 5160, 3720, 1600, 460);
    blankWhileIdle = label("Label3", QString(), 240, 4340, 8700, 300);
    lastPostedLine = label("Label4", QStringLiteral("Label4"), 240, 4340, 8700, 300);
    resultLine = label("Label5", QStringLiteral(" "), 240, 4700, 8700, 300);
    firstMonthNotice = label("Label7", QStringLiteral(" "), 240, 5060, 8700, 300);
    progress = new QProgressBar(this);
    progress->setObjectName("Gauge1");
    progress->setRange(0, 100);
    progress->setGeometry(tw(240), tw(5460), tw(8700), tw(360));
    progress->hide();
    noteList = new QListWidget(this);
    noteList->setObjectName("List1");
    noteList->setGeometry(tw(240), tw(240), tw(8700), tw(4000));
    noteList->hide();
    noteEditor = textBox("Text1", QStringLiteral("Text1"), 240, 4940, 8700, 360);
    noteEditor->hide();
    reportList = new QListWidget(this);
    reportList->setObjectName("reportList");
    reportList->setGeometry(tw(240), tw(240), tw(8700), tw(4000));
    reportList->hide();
    resultLine->setWordWrap(true);
    resultLine->setGeometry(tw(240), tw(4700), tw(8700), tw(700));
    resize(tw(9200), tw(6060));
    setShortcuts();

    connect(Start, &QPushButton::clicked, this, [this] { run([this] { Start_Click(); }); });
    connect(exitButton, &QPushButton::clicked, this, [this] { run([this] { Command1_Click(); }); });
    connect(noLayawayInterest, &QCheckBox::toggled, this, [this] { run([this] { noLayawayInterest_Click(); }); });
    onLostFocus(Percentage, [this] { Percentage_LostFocus(); });
    connect(remove, &QPushButton::clicked, this, [this] { run([this] { remove_Click(); }); });
    connect(Notes, &QPushButton::clicked, this, [this] { run([this] { Notes_Click(); }); });
    connect(undo, &QPushButton::clicked, this, [this] { run([this] { undo_Click(); }); });
    connect(preview, &QPushButton::clicked, this, [this] { run([this] { preview_Click(); }); });
    connect(reports, &QPushButton::clicked, this, [this] { run([this] { reports_Click(); }); });
    connect(reportList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { run([this, item] { openReport(item->text()); }); });
    onKey(reportList, [this](QKeyEvent* e) {
        if (e->key() == Qt::Key_Escape) {
            reportList->hide();
            reports->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (!isEnterKey(e) || !reportList->currentItem()) return false;
        const QString name = reportList->currentItem()->text();
        run([this, name] { openReport(name); });
        return true;
    });
    connect(noteList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { run([this, item] { List1_Click(item->data(Qt::UserRole).toInt()); }); });
    onKey(noteList, [this](QKeyEvent* e) {
        if (!isEnterKey(e) || !noteList->currentItem()) return false;
        List1_Click(noteList->currentItem()->data(Qt::UserRole).toInt());
        return true;
    });
    onLostFocus(noteEditor, [this] { Text1_LostFocus(); });
    enterMovesOn(datebox);
    enterMovesOn(Percentage);
    enterMovesOn(noteEditor);
}

void InterestWindow::enterMovesOn(QLineEdit* box) {
    // Enter acts as Tab: the focus moves to the next control in tab order.
    onKey(box, [this](QKeyEvent* e) {
        if (!isEnterKey(e)) return false;
        focusNextChild();
        return true;
    });
}

void InterestWindow::showLastPosted() {
    lastPostedLine->setText(QStringLiteral("THE LAST TIME THAT INTEREST WAS POSTED WAS: ") + fromAnsi(lastposted));
}

void InterestWindow::checkpostdate(std::string& s) {
    if (s.size() < 2) return;
    s = normalisePostingDate(s);
}

void InterestWindow::load() {
    // The whole window on the screen, in its middle.
    if (QScreen* s = screen()) {
        const QRect r = s->availableGeometry();
        move(r.x() + std::max(0, (r.width() - width()) / 2), r.y() + std::max(0, (r.height() - height()) / 2));
    }
    // Which store the postings go to, in full, always in sight.
    setWindowTitle(
        QStringLiteral("Posting Interest to Charge Accounts - %1").arg(QDir::toNativeSeparators(QDir::currentPath())));
    try {
        clearStaleTemporaries();
        startup();
    } catch (const RunError&) {
        p.messages.show(fromAnsi(steplabel.text()));
    }
}

void InterestWindow::startup() {
    noLayawayInterest->setChecked(isSet(PostingFlag::NoInterestOnLayaways));
    if (isSet(PostingFlag::FirstMonthFree)) {
        firstMonthNotice->setText(firstmonNotice);
        firstmonflag = "Y";
    }
    if (!fileExists(store::lastPostingFile)) {
        lastposted = "NONE";
        ratepct = Money{};
    } else {
        steplabel = Step::LastPosting;
        const store::LastPosting last = store::readLastPosting().value_or(store::LastPosting{});
        lastposted = last.date;
        ratepct = Money::fromText(last.rate);
        if (last.minimum) minfin = Money::fromText(*last.minimum);
        if (isSet(PostingFlag::FirstMonthFree)) firstMonthNotice->setText(firstmonNotice);
    }
    if (isSet(PostingFlag::Wholesale)) wholesaleflag = "W";
    showLastPosted();
    const std::string today = currentDateText(p.clock);
    std::string d = today.substr(0, today.size() - 4) + today.substr(today.size() - 2);
    checkpostdate(d);
    datebox->setText(fromAnsi(d));
    Percentage->setText(fromAnsi(formatPicture(ratepct, "##.0000")));
    MinFinance->setText(fromAnsi(formatPicture(minfin, "##.00")));
}

void InterestWindow::noLayawayInterest_Click() {
    setFlag(PostingFlag::NoInterestOnLayaways, noLayawayInterest->isChecked());
}

void InterestWindow::Command1_Click() {
    if (!notesSettled()) return;
    p.processes.endProcess();
}

void InterestWindow::Percentage_LostFocus() {
    ratepct = Money::fromText(toAnsi(Percentage->text()));
    if (ratepct > Money::fromText(".02")) {
        p.messages.show(QStringLiteral("This is to large an amount for interest"));
        Percentage->setFocus(Qt::OtherFocusReason);
    }
    if (ratepct < Money::fromText(".001")) p.messages.show(QStringLiteral("This is not a logical amount for interest"));
}

bool InterestWindow::postingAgainConfirmed() {
    // Posting twice in one month charges interest on interest: asked first, No the default.
    // A stopped posting (its journal left) is completed, not posted again.
    const auto lastDate = store::readLastPostingDate();
    if (!lastDate || fileExists(PostingJournal::fileName)) return true;
    const std::string last(trim(*lastDate));
    const std::string now(trim(toAnsi(datebox->text())));
    if (last.empty() || !acceptablePostingDate(last) || !acceptablePostingDate(now)) return true;
    const PostingDate a = postingDate(last), b = postingDate(now);
    if (a.month != b.month || a.year != b.year) return true;
    return p.messages.show(
               QStringLiteral("Interest was already posted on %1. Post again for this month?").arg(fromAnsi(last)), {},
               Buttons::YesNo, Icon::Question) == Answer::Yes;
}

bool InterestWindow::rateConfirmed() {
    // The window's own limits; a rate outside them is asked about, No the default.
    const Money rate = Money::fromText(toAnsi(Percentage->text()));
    if (!(rate > Money::fromText(".02")) && !(rate < Money::fromText(".001"))) return true;
    return p.messages.show(QStringLiteral("The rate %1 is %2 a month. Post it anyway?")
                               .arg(Percentage->text().trimmed(), ratePerMonth()),
                           {}, Buttons::YesNo, Icon::Question, Answer::No) == Answer::Yes;
}

bool InterestWindow::postingConfirmed() {
    // The whole of the posting in one question, with what the preview of it charges.
    PostingInput in = postingInput();
    in.preview = true;
    WindowHost host(p);
    QuietHost quiet(host);
    PostingRun previewRun(in, quiet, steplabel);
    PostingOutcome outcome = PostingOutcome::Stopped;
    // Missing files and a stopped posting are the posting's own to tell.
    if (previewPossible()) {
        p.screen.setHourglass(true);
        try {
            outcome = previewRun.run();
        } catch (const RunError&) {
            outcome = PostingOutcome::Stopped; // the posting itself says what is wrong
        }
        p.screen.setHourglass(false);
    }
    const std::string date = previewRun.date();
    QString text =
        QStringLiteral("Post interest to the accounts of %1?\r\rPosting date: %2 (month file %3)\rRate: %4, "
                       "that is %5 a month\rMinimum charge: %6")
            .arg(QDir::toNativeSeparators(QDir::currentPath()), fromAnsi(date), fromAnsi(monthFileName(date)),
                 Percentage->text().trimmed(), ratePerMonth(), MinFinance->text().trimmed());
    if (outcome == PostingOutcome::Completed)
        text += QStringLiteral("\rAccounts with a balance: %1\rThe preview charges %2, %3 in all.")
                    .arg(previewRun.withBalance())
                    .arg(counted(previewRun.charged(), QStringLiteral("account")),
                         fromAnsi(trim(formatPicture(previewRun.total(), "######0.00"))));
    return p.messages.show(text, QStringLiteral("Post interest"), Buttons::YesNo, Icon::Question, Answer::No) ==
           Answer::Yes;
}

QString InterestWindow::keptReportName(const std::string& date) const {
    const QString stamp =
        p.clock.today().toString(QStringLiteral("yyyy-MM-dd")) + ' ' + p.clock.now().toString(QStringLiteral("HHmm"));
    QString name = QStringLiteral("Interest report %1 posted %2.pdf").arg(fromAnsi(date), stamp);
    for (int n = 2; Env::current().info(name.toStdString()).exists; ++n)
        name = QStringLiteral("Interest report %1 posted %2 (%3).pdf").arg(fromAnsi(date), stamp).arg(n);
    return name;
}

void InterestWindow::setIdle(bool idle) {
    for (QWidget* w : std::initializer_list<QWidget*>{Start, Notes, preview, blankWhileIdle}) w->setVisible(idle);
    remove->setEnabled(true);
    remove->setVisible(idle);
    keys_.setCaption(exitButton, idle ? QStringLiteral("&Cancel / Exit") : QStringLiteral("&Close"));
}

void InterestWindow::Start_Click() {
    // The date as the run posts it: two digits of the year, no leading zeros.
    if (const std::string normal = normalisePostingDate(toAnsi(datebox->text())); normal != "ERROR")
        datebox->setText(fromAnsi(normal));
    if (acceptablePostingDate(toAnsi(datebox->text())) &&
        (!rateConfirmed() || !postingAgainConfirmed() || !postingConfirmed()))
        return;
    p.screen.setHourglass(true);
    for (QWidget* w : std::initializer_list<QWidget*>{exitButton, Start, Notes, undo, preview, reports, blankWhileIdle})
        w->hide();
    // The removal would only find the account file held by the posting: not while it runs.
    remove->setEnabled(false);
    keys_.setCaption(Start, QStringLiteral("Posting Accounts DO NOT INTERUPT"));
    lastPostedLine->setText(QStringLiteral("DO NOT DISTURB"));
    resultLine->setText(QStringLiteral(" "));
    resultLine->show();
    progress->show();

    const PostingInput in = postingInput();
    WindowHost host(
        p,
        [this](int percent) {
            progress->setValue(percent);
            p.screen.refresh();
        },
        reportHeading(false));
    // A copy of the report is kept in the store's folder, whatever the printer does with it.
    const QString kept = keptReportName(normalisePostingDate(in.datebox));
    QtPrinter keep(kept, p.printer.geometry());
    const bool printed = p.printer.installed();
    host.copyReportTo(&keep, printed);
    PostingRun postingRun(in, host, steplabel);
    PostingOutcome outcome = PostingOutcome::Stopped;
    auto backToIdle = [this] {
        p.screen.setHourglass(false);
        for (QWidget* w : std::initializer_list<QWidget*>{exitButton, undo, reports}) w->show();
        setIdle(true);
        keys_.setCaption(Start, QStringLiteral("&Start"));
        showLastPosted();
        progress->hide();
    };
    try {
        outcome = postingRun.run();
        if (outcome == PostingOutcome::Stopped) {
            // Nothing was posted: the window is as it was, for another date.
            keep.killDoc();
            backToIdle();
            resultLine->hide();
            return;
        }
    } catch (const RunError& e) {
        // The run stops where it is; what was posted stays posted and consistent.
        p.printer.endDoc();
        keep.endDoc();
        p.screen.setHourglass(false);
        p.messages.show(postingFailureMessage(steplabel, e, postingRun.lastDone()), {}, Buttons::Ok, Icon::Critical);
        return;
    }
    if (outcome != PostingOutcome::Completed) p.processes.endProcess();
    progress->setValue(100);
    const QString total = fromAnsi(trim(formatPicture(postingRun.total(), "######0.00")));
    const QString accounts = counted(postingRun.charged(), QStringLiteral("account"));
    const QString where = QDir::toNativeSeparators(QFileInfo(kept).absoluteFilePath());
    const QString report =
        printed ? QStringLiteral("The report was %1 and is kept as %2.").arg(p.printer.destination(), where)
                : QStringLiteral("No printer is installed: the report is kept as %1.").arg(where);
    lastposted = toAnsi(datebox->text().trimmed());
    if (const auto backup = PostingBackup::newest(); backup && PostingBackup::sealed(*backup))
        PostingBackup::describe(*backup, {postingRun.date(), toAnsi(madeText()), toAnsi(Percentage->text().trimmed()),
                                          std::to_string(postingRun.charged()), toAnsi(total), toAnsi(kept)});
    // The window stays, with the result, Undo and Close.
    backToIdle();
    setIdle(false);
    resultLine->setText(QStringLiteral("Posted %1: interest charged to %2, %3 in all. %4")
                            .arg(datebox->text().trimmed(), accounts, total, report));
    resultLine->show();
    p.messages.show(QStringLiteral("Interest posted to %1. Total charged %2. %3").arg(accounts, total, report), {},
                    Buttons::Ok, Icon::Information);
    exitButton->setFocus(Qt::OtherFocusReason);
}

QString InterestWindow::madeText() const {
    return QStringLiteral("%1 at %2")
        .arg(fromAnsi(shortDateText(p.clock.today())), p.clock.now().toString(QStringLiteral("H:mm")));
}

QString InterestWindow::ratePerMonth() const {
    return QString::fromStdString(ratePercent(val(toAnsi(Percentage->text()))));
}

void InterestWindow::reports_Click() {
    // The reports kept in the store's folder, newest first; Enter or a click opens one.
    std::vector<ListedFile> kept = listMatchingWithTimes("Interest report *.pdf");
    std::stable_sort(kept.begin(), kept.end(),
                     [](const ListedFile& a, const ListedFile& b) { return a.modified > b.modified; });
    if (kept.empty()) {
        p.messages.show(
            QStringLiteral("No posting report is kept in %1 yet.").arg(QDir::toNativeSeparators(QDir::currentPath())),
            {}, Buttons::Ok, Icon::Information);
        return;
    }
    reportList->clear();
    for (const ListedFile& f : kept) reportList->addItem(fromAnsi(f.name));
    reportList->show();
    reportList->raise();
    reportList->setCurrentRow(0);
    reportList->setFocus(Qt::OtherFocusReason);
}

void InterestWindow::openReport(const QString& name) {
    reportList->hide();
    try {
        p.processes.openDocument(QDir::current().absoluteFilePath(name));
    } catch (const RunError&) {
        p.messages.show(QStringLiteral("The report %1 could not be opened. It is in %2.")
                            .arg(name, QDir::toNativeSeparators(QDir::currentPath())),
                        {}, Buttons::Ok, Icon::Exclamation);
    }
}

void InterestWindow::remove_Click() {
    const QString phone = p.input.ask(QStringLiteral("Phone number of customer to remove interest"));
    p.screen.doEvents();
    if (phone.isEmpty()) return; // Cancel, or nothing typed: nothing to look for
    // Which charges: the last posting's (the default), or every one the account has.
    std::string onlyDate;
    if (!lastposted.empty() && lastposted != "NONE") {
        switch (p.messages.show(QStringLiteral("Which interest charges of %1?\r\rYes: only the charge of the last "
                                               "posting, %2.\rNo: every interest charge, month by month.")
                                    .arg(phone, fromAnsi(lastposted)),
                                QStringLiteral("Remove interest"), Buttons::YesNoCancel, Icon::Question, Answer::Yes)) {
        case Answer::Yes: onlyDate = lastposted; break;
        case Answer::No: break;
        default: return;
        }
    }
    WindowHost host(p);
    RemovalResult result = removeInterest(toAnsi(phone), host, steplabel, onlyDate);
    if (result.accounts == 0) {
        p.screen.setHourglass(false);
        const QString none = QStringLiteral("No account has the phone number %1.").arg(phone);
        if (result.sameDigits.size() != 1) {
            p.messages.show(none, {}, Buttons::Ok, Icon::Information);
            return;
        }
        // The same digits written another way: that account is offered.
        const PhoneMatch& m = result.sameDigits.front();
        if (p.messages.show(none + QStringLiteral(" Account %1 (%2) has the phone number %3. Remove its interest?")
                                       .arg(m.account)
                                       .arg(fromAnsi(m.name), fromAnsi(m.phone)),
                            {}, Buttons::YesNo, Icon::Question) != Answer::Yes)
            return;
        result = removeInterest(m.phone, host, steplabel, onlyDate);
    }
    p.screen.setHourglass(false);
    if (result.removed == 0) {
        p.messages.show(QStringLiteral("No interest charge was removed."));
        return;
    }
    p.messages.show(QStringLiteral("Removed %1 interest %2, %3 in all, from %4.")
                        .arg(result.removed)
                        .arg(result.removed == 1 ? QStringLiteral("charge") : QStringLiteral("charges"),
                             fromAnsi(trim(formatPicture(result.total, "######0.00"))),
                             counted(result.accountsChanged, QStringLiteral("account"))));
}

PostingInput InterestWindow::postingInput() const {
    PostingInput in;
    in.datebox = toAnsi(datebox->text());
    in.percentage = toAnsi(Percentage->text());
    in.minfinance = toAnsi(MinFinance->text());
    in.skipLayaways = noLayawayInterest->isChecked();
    in.firstmon = firstmonflag == "Y";
    in.wholesale = wholesaleflag == "W";
    return in;
}

WindowHost::Heading InterestWindow::reportHeading(bool forPreview) const {
    WindowHost::Heading h;
    if (forPreview) h.preview = QStringLiteral("PREVIEW - nothing has been posted");
    h.posting =
        QStringLiteral("Interest posting of %1   Rate %2 (%3 a month)   Minimum %4")
            .arg(datebox->text().trimmed(), Percentage->text().trimmed(), ratePerMonth(), MinFinance->text().trimmed());
    h.store = QDir::toNativeSeparators(QDir::currentPath());
    h.printed = fromAnsi(shortDateText(p.clock.today()));
    return h;
}

void InterestWindow::preview_Click() {
    // The whole run computed on the files as they are, and its report shown; nothing is written.
    PostingInput in = postingInput();
    in.preview = true;
    WindowHost host(p, {}, reportHeading(true));
    PostingRun previewRun(in, host, steplabel);
    p.screen.setHourglass(true);
    p.printer.previewNext();
    PostingOutcome outcome = PostingOutcome::Stopped;
    try {
        outcome = previewRun.run();
    } catch (const RunError&) {
        p.printer.killDoc();
        p.screen.setHourglass(false);
        throw;
    }
    if (outcome != PostingOutcome::Completed) p.printer.killDoc(); // nothing to show
    p.screen.setHourglass(false);
}

void InterestWindow::undo_Click() {
    const auto backup = PostingBackup::newest();
    if (!backup || !PostingBackup::sealed(*backup)) {
        p.messages.show(QStringLiteral("There is no completed posting to undo."), {}, Buttons::Ok, Icon::Information);
        return;
    }
    // Held like a posting: none may start meanwhile, and a stopped one is completed first.
    std::unique_ptr<PostingJournal> hold;
    try {
        hold = std::make_unique<PostingJournal>();
    } catch (const RunError& e) {
        if (e.number() != err::PermissionDenied) throw;
        p.messages.show(QStringLiteral("Interest is being posted on another computer. Try again when it has finished."),
                        {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    if (hold->pending()) {
        p.messages.show(QStringLiteral("A posting was stopped before it was complete. Complete it first."), {},
                        Buttons::Ok, Icon::Exclamation);
        return;
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
        return;
    const std::string changed = PostingBackup::changedSince(*backup);
    if (!changed.empty()) {
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
        return;
    }
    PostingBackup::restore(*backup);
    // The report of the undone posting stays, marked as undone.
    QString marked;
    if (summary && Env::current().info(fromAnsi(summary->report).toStdString()).exists) {
        const QString from = fromAnsi(summary->report);
        QString to = from;
        to.insert(to.size() - 4, QStringLiteral(" UNDONE"));
        if (Env::current().rename(from.toStdString(), to.toStdString()))
            marked = QStringLiteral(" Its report is kept as %1.")
                         .arg(QDir::toNativeSeparators(QFileInfo(to).absoluteFilePath()));
    }
    startup();
    setIdle(true);
    resultLine->setText(QStringLiteral(" "));
    p.messages.show(QStringLiteral("The posting of %1 was undone.%2").arg(date, marked), {}, Buttons::Ok,
                    Icon::Information);
}

void InterestWindow::setShortcuts() {
    const std::pair<QLabel*, QWidget*> buddies[] = {
        {dateCaption, datebox}, {rateCaption, Percentage}, {minimumCaption, MinFinance}};
    for (const auto& [l, buddy] : buddies) l->setBuddy(buddy);
    for (QWidget* w : std::initializer_list<QWidget*>{dateCaption, rateCaption, minimumCaption, noLayawayInterest,
                                                      Start, exitButton, remove, Notes, preview, undo, reports})
        keys_.add(w);
    onShowHide(noteList, [this] { updateKeys(); });
}

void InterestWindow::fillNoteList() {
    noteList->clear();
    noteList->show();
    auto add = [this](const QString& text, int data) {
        auto* item = new QListWidgetItem(text, noteList);
        item->setData(Qt::UserRole, data);
    };
    for (int k = 1; k <= 9; ++k) {
        add(fromAnsi(shownNote(notes, static_cast<size_t>(k - 1))), k);
        add(QStringLiteral(" "), 0);
    }
    add(QStringLiteral("CLICK THIS LINE TO END CHANGING NOTES"), 10);
    // Worked from the keyboard: the focus on the list, on the note last edited (or the first).
    noteList->setCurrentRow(curnote >= 1 && curnote <= 9 ? 2 * (curnote - 1) : 0);
    noteList->setFocus(Qt::OtherFocusReason);
}

bool InterestWindow::notesSettled() {
    if (!notesChanged_) return true;
    switch (p.messages.show(QStringLiteral("The collection notes have changes that are not saved. Save them now?"), {},
                            Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes: List1_Click(10); return true;
    case Answer::No: return true;
    default: return false;
    }
}

bool InterestWindow::queryUnload() { return notesSettled(); }

void InterestWindow::Notes_Click() {
    remove->hide();
    // No posting while the notes are being edited.
    Start->setEnabled(false);
    undo->setEnabled(false);
    preview->setEnabled(false);
    p.messages.show(QStringLiteral(
        "These notes will appear on each statement depending on the credit rating of the customer at the time of the "
        "statement.  Remember that a 1 or less will get note number one and that a 1 represents a current account. "
        "(Not an account that is behind one month)"));
    try {
        if (fileExists("COLNOTES.dat")) steplabel = Step::NotesRead;
        notes = readCollectionNotes();
        notesChanged_ = false;
        curnote = 0;
    } catch (const RunError&) {
        p.messages.show(fromAnsi(steplabel.text()));
        remove->show();
        Start->setEnabled(true);
        undo->setEnabled(true);
        preview->setEnabled(true);
        return;
    }
    fillNoteList();
    noteList->raise();
}

void InterestWindow::List1_Click(int itemData) {
    curnote = static_cast<int16_t>(itemData);
    if (curnote == 0) return;
    if (curnote == 10) {
        steplabel = Step::NotesWritten;
        writeCollectionNotes(notes);
        notesChanged_ = false;
        noteList->hide();
        remove->show();
        Start->setEnabled(true);
        undo->setEnabled(true);
        preview->setEnabled(true);
        return;
    }
    if (curnote < 1 || curnote > 9) return;
    noteEditor->show();
    noteEditor->raise();
    noteList->hide();
    noteEditor->setText(fromAnsi(notes[curnote - 1]));
    noteEditor->setFocus(Qt::OtherFocusReason);
}

void InterestWindow::Text1_LostFocus() {
    if (noteEditor->isHidden() || curnote < 1 || curnote > 9) return; // the edit has already ended
    if (notes[curnote - 1] != toAnsi(noteEditor->text())) notesChanged_ = true;
    notes[curnote - 1] = toAnsi(noteEditor->text());
    noteEditor->hide();
    fillNoteList();
}

} // namespace interest
