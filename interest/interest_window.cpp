#include "interest/interest_window.h"

#include "common/cp1252.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/interest_settings.h"
#include "interest/posting_flags.h"
#include "interest/posting_record.h"
#include "interest/use_cases/open_notes.h"
#include "interest/use_cases/remove_charges.h"
#include "interest/use_cases/undo_posting.h"
#include "store/last_posting.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QStringList>
#include <algorithm>

namespace interest {

using namespace common;
using namespace platform;

namespace {
const QString firstmonNotice = QStringLiteral("Set to NOT charge interest on any charge that was in the same month.");
} // namespace

InterestWindow::InterestWindow(Platform& platform, QWidget* parent) : FormWindow(platform, parent), posting_(p) {
    setObjectName("interest");
    setWindowTitle(QStringLiteral("Posting Interest to Charge Accounts"));
    // In the order of entry, which is the tab order.
    dateCaption = label("Label1", QStringLiteral("&Date for posting"), 240, 240, 3000, 300);
    dateBox = textBox("datebox", QStringLiteral("Date"), 240, 540, 1600, 360);
    rateCaption = label("Label2", QStringLiteral("Monthly &Percentage for posting    (Example: .01 would be 1%)"), 240,
                        1020, 6600, 300);
    rateBox = textBox("Percentage", QStringLiteral("Percentage"), 240, 1320, 1600, 360);

    minimumCaption =
        label("Label6", QStringLiteral("&Minimum Finance Charge     (In dollars and cents)"), 240, 1800, 6600, 300);
    minimumBox = textBox("MinFinance", QStringLiteral("MinFinance"), 240, 2100, 1600, 360);
    highestRateCaption = label("highestRateCaption", QStringLiteral("&Highest monthly rate the store may charge"), 2100,
                               2160, 4400, 300);
    highestRateBox = textBox("highestRate", QString(), 6600, 2100, 1200, 360);
    skipLayawaysBox = new QCheckBox(QStringLiteral("Do not post interest to &Layaways"), this);
    skipLayawaysBox->setObjectName("Check1");
    skipLayawaysBox->setGeometry(tw(240), tw(2640), tw(4800), tw(330));
    startButton = button("Start", QStringLiteral("&Start"), 240, 3180, 2000, 460);
    closeButton = button("Command1", QStringLiteral("&Cancel / Exit"), 2400, 3180, 2000, 460);
    removeButton = button("remove", QStringLiteral("&Remove Interest..."), 4560, 3180, 2600, 460);
    notesButton = button("Notes", QStringLiteral("Set &Notes"), 7320, 3180, 1600, 460);
    previewButton = button("preview", QStringLiteral("Pre&view"), 240, 3720, 2000, 460);
    undoButton = button("undo", QStringLiteral("&Undo Last Posting"), 2400, 3720, 2600, 460);
    reportsButton = button("reports", QStringLiteral("Rep&orts..."), 5160, 3720, 1600, 460);
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
    noteCaption = label("noteCaption", QString(), 240, 4620, 8700, 300);
    noteCaption->hide();
    noteEditor = textBox("Text1", QStringLiteral("Text1"), 240, 4940, 8700, 360);
    noteEditor->hide();
    reportList = new QListWidget(this);
    reportList->setObjectName("reportList");
    reportList->setGeometry(tw(240), tw(240), tw(8700), tw(4000));
    reportList->hide();
    previewList = new QListWidget(this);
    previewList->setObjectName("previewList");
    previewList->setGeometry(tw(240), tw(240), tw(8700), tw(4000));
    previewList->hide();
    previewCaption = label("previewCaption",
                           QStringLiteral("The accounts the posting charges. Space or a click takes the account out of "
                                          "this posting, or puts it back. Enter or Escape: done."),
                           240, 4340, 8700, 560);
    previewCaption->setWordWrap(true);
    previewCaption->hide();
    resultLine->setWordWrap(true);
    resultLine->setGeometry(tw(240), tw(4700), tw(8700), tw(700));
    resize(tw(9200), tw(6060));
    setShortcuts();

    connect(startButton, &QPushButton::clicked, this, [this] { run([this] { postInterest(); }); });
    connect(closeButton, &QPushButton::clicked, this, [this] { run([this] { closeWindow(); }); });
    connect(skipLayawaysBox, &QCheckBox::toggled, this, [this] { run([this] { keepLayawayChoice(); }); });
    onLostFocus(rateBox, [this] { checkRate(); });
    onLostFocus(highestRateBox, [this] { run([this] { keepHighestRate(); }); });
    connect(previewList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { toggleSpared(previewList->row(item)); });
    onKey(previewList, [this](QKeyEvent* e) {
        if (e->key() == Qt::Key_Space) {
            toggleSpared(previewList->currentRow());
            return true;
        }
        if (e->key() != Qt::Key_Escape && !isEnterKey(e)) return false;
        endPreviewList();
        return true;
    });
    connect(removeButton, &QPushButton::clicked, this, [this] { run([this] { removeCharges(); }); });
    connect(notesButton, &QPushButton::clicked, this, [this] { run([this] { editNotes(); }); });
    connect(undoButton, &QPushButton::clicked, this, [this] { run([this] { undoPosting(); }); });
    connect(previewButton, &QPushButton::clicked, this, [this] { run([this] { previewPosting(); }); });
    connect(reportsButton, &QPushButton::clicked, this, [this] { run([this] { listReports(); }); });
    connect(reportList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { run([this, item] { openReport(item->text()); }); });
    onKey(reportList, [this](QKeyEvent* e) {
        if (e->key() == Qt::Key_Escape) {
            reportList->hide();
            updateKeys();
            reportsButton->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (!isEnterKey(e) || !reportList->currentItem()) return false;
        const QString name = reportList->currentItem()->text();
        run([this, name] { openReport(name); });
        return true;
    });
    connect(noteList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { run([this, item] { noteChosen(item->data(Qt::UserRole).toInt()); }); });
    onKey(noteList, [this](QKeyEvent* e) {
        if (!isEnterKey(e) || !noteList->currentItem()) return false;
        noteChosen(noteList->currentItem()->data(Qt::UserRole).toInt());
        return true;
    });
    onLostFocus(noteEditor, [this] { endNoteEdit(); });
    onKey(noteEditor, [this](QKeyEvent* e) {
        // Enter ends the edit as Tab does; Escape leaves the note as it was.
        if (isEnterKey(e)) {
            focusNextChild();
            return true;
        }
        if (e->key() != Qt::Key_Escape) return false;
        cancelNoteEdit();
        return true;
    });
    enterMovesOn(dateBox);
    enterMovesOn(rateBox);
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
    lastPostedLine->setText(QStringLiteral("THE LAST TIME THAT INTEREST WAS POSTED WAS: ") +
                            (lastPosted_ ? fromAnsi(*lastPosted_) : QStringLiteral("NONE")));
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
    // One copy a store: a second would show what the first has since changed as it was.
    if (p.instance.anotherRunningIn(QDir::currentPath())) {
        p.messages.show(QStringLiteral("Interest is already open on the store %1. Use the window that is open, or "
                                       "close it and start Interest again.")
                            .arg(QDir::toNativeSeparators(QDir::currentPath())),
                        {}, Buttons::Ok, Icon::Exclamation);
        p.processes.endProcess();
    }
    StepLabel label;
    try {
        clearStaleTemporaries();
        startup(label);
    } catch (const RunError&) {
        p.messages.show(fromAnsi(label.text()));
        return;
    }
    posting_.reportUnfinishedPosting(postingForm());
}

void InterestWindow::startup(StepLabel& label) {
    skipLayawaysBox->setChecked(isSet(PostingFlag::NoInterestOnLayaways));
    firstMonthFree_ = firstMonthFree_ || isSet(PostingFlag::FirstMonthFree);
    if (firstMonthFree_) firstMonthNotice->setText(firstmonNotice);
    if (!fileExists(store::lastPostingFile)) {
        lastPosted_.reset();
        rate_ = Money{};
    } else {
        label = Step::LastPosting;
        const store::LastPosting last = store::readLastPosting().value_or(store::LastPosting{});
        lastPosted_ = last.date;
        rate_ = Money::fromText(last.rate);
        if (last.minimum) minimum_ = Money::fromText(*last.minimum);
    }
    wholesale_ = wholesale_ || isSet(PostingFlag::Wholesale);
    showLastPosted();
    // Today, as a posting date.
    const std::string today = currentDateText(p.clock);
    dateBox->setText(
        PostInterest::normalisedDate(fromAnsi(today.substr(0, today.size() - 4) + today.substr(today.size() - 2))));
    rateBox->setText(fromAnsi(formatPicture(rate_, "##.0000")));
    minimumBox->setText(fromAnsi(formatPicture(minimum_, "##.00")));
    highestRateKept_ = fromAnsi(highestRate());
    highestRateBox->setText(highestRateKept_);
}

void InterestWindow::keepHighestRate() {
    // A number or nothing is kept; what is neither is refused by Start, with the focus back here.
    const QString typed = highestRateBox->text().trimmed();
    if (typed == highestRateKept_) return;
    if (!typed.isEmpty() && !amountRefusal(typed, QStringLiteral("rate"), QStringLiteral(".015")).isEmpty()) return;
    interest::keepHighestRate(toAnsi(typed));
    highestRateKept_ = typed;
}

void InterestWindow::keepLayawayChoice() { setFlag(PostingFlag::NoInterestOnLayaways, skipLayawaysBox->isChecked()); }

void InterestWindow::closeWindow() {
    if (!notesSettled()) return;
    p.processes.endProcess();
}

void InterestWindow::checkRate() {
    // What is not a number is refused by Start, with the focus back here; a box shown on the way
    // out would swallow the click that leaves, and the window could not be left.
    if (!amountRefusal(rateBox->text(), QStringLiteral("rate"), QStringLiteral(".015")).isEmpty()) return;
    rate_ = Money::fromText(toAnsi(rateBox->text()));
    if (rate_ > Money::fromText(".02")) {
        p.messages.show(QStringLiteral("This is to large an amount for interest"));
        rateBox->setFocus(Qt::OtherFocusReason);
    }
    if (rate_ < Money::fromText(".001")) p.messages.show(QStringLiteral("This is not a logical amount for interest"));
}

PostingForm InterestWindow::postingForm() const {
    PostingForm form;
    form.date = dateBox->text();
    form.rate = rateBox->text();
    form.minimum = minimumBox->text();
    form.skipLayaways = skipLayawaysBox->isChecked();
    form.firstmon = firstMonthFree_;
    form.wholesale = wholesale_;
    form.highestRate = highestRateBox->text();
    form.sparedByHand = sparedByHand_;
    return form;
}

void InterestWindow::setIdle(bool idle) {
    for (QWidget* w : std::initializer_list<QWidget*>{startButton, notesButton, previewButton, blankWhileIdle})
        w->setVisible(idle);
    removeButton->setEnabled(true);
    removeButton->setVisible(idle);
    keys_.setCaption(closeButton, idle ? QStringLiteral("&Cancel / Exit") : QStringLiteral("&Close"));
}

void InterestWindow::showRunning() {
    for (QWidget* w : std::initializer_list<QWidget*>{closeButton, startButton, notesButton, undoButton, previewButton,
                                                      reportsButton, blankWhileIdle})
        w->hide();
    // The removal would only find the account file held by the posting: not while it runs.
    removeButton->setEnabled(false);
    keys_.setCaption(startButton, QStringLiteral("Posting Accounts DO NOT INTERUPT"));
    lastPostedLine->setText(QStringLiteral("DO NOT DISTURB"));
    resultLine->setText(QStringLiteral(" "));
    resultLine->show();
    progress->show();
}

void InterestWindow::backToIdle() {
    p.screen.setHourglass(false);
    for (QWidget* w : std::initializer_list<QWidget*>{closeButton, undoButton, reportsButton}) w->show();
    setIdle(true);
    keys_.setCaption(startButton, QStringLiteral("&Start"));
    showLastPosted();
    progress->hide();
}

void InterestWindow::postInterest() {
    // The date as the run posts it: two digits of the year, no leading zeros.
    dateBox->setText(PostInterest::normalisedDate(dateBox->text()));
    const PostingForm form = postingForm();
    switch (posting_.confirmed(form)) {
    case PostInterest::Confirmation::Yes: break;
    case PostInterest::Confirmation::No: return;
    case PostInterest::Confirmation::FixDate: dateBox->setFocus(Qt::OtherFocusReason); return;
    case PostInterest::Confirmation::FixRate: rateBox->setFocus(Qt::OtherFocusReason); return;
    case PostInterest::Confirmation::FixMinimum: minimumBox->setFocus(Qt::OtherFocusReason); return;
    case PostInterest::Confirmation::FixHighestRate: highestRateBox->setFocus(Qt::OtherFocusReason); return;
    }
    PostingView view;
    view.running = [this] { showRunning(); };
    view.progress = [this](int percent) { progress->setValue(percent); };
    view.done = [this](const PostingDone& done) {
        lastPosted_ = toAnsi(done.date);
        // The window stays, with the result, Undo and Close.
        backToIdle();
        setIdle(false);
        resultLine->setText(done.result);
        resultLine->show();
    };
    const PostingDone done = posting_.post(form, view);
    switch (done.kind) {
    case PostingDone::Kind::NotPosted:
        backToIdle();
        resultLine->hide();
        break;
    case PostingDone::Kind::Posted:
        sparedByHand_.clear(); // for this posting only
        closeButton->setFocus(Qt::OtherFocusReason);
        break;
    case PostingDone::Kind::Stopped:
        // Back for another try: what stopped it stays in sight.
        backToIdle();
        resultLine->setText(done.result);
        resultLine->show();
        startButton->setFocus(Qt::OtherFocusReason);
        break;
    }
}

void InterestWindow::previewPosting() {
    const std::vector<PreviewCharge> charges = posting_.preview(postingForm());
    if (!charges.empty()) showPreviewList(charges);
}

QString InterestWindow::previewLine(const PreviewCharge& c, bool spared) {
    return QStringLiteral("%1  %2%3%4")
        .arg(c.account, 7)
        .arg(fromAnsi(c.name).left(30), -30)
        .arg(fromAnsi(trim(formatPicture(c.charge, "######0.00"))), 10)
        .arg(spared ? QStringLiteral("   spared by hand") : QString());
}

void InterestWindow::showPreviewList(const std::vector<PreviewCharge>& charges) {
    // The accounts spared before that are still to be charged stay spared; the others go.
    previewCharges_ = charges;
    std::vector<int32_t> still;
    previewList->clear();
    for (const PreviewCharge& c : charges) {
        const bool spared = std::binary_search(sparedByHand_.begin(), sparedByHand_.end(), c.account);
        if (spared) still.push_back(c.account);
        auto* item = new QListWidgetItem(previewLine(c, spared), previewList);
        item->setData(Qt::UserRole, c.account);
        item->setData(Qt::CheckStateRole, spared ? Qt::Unchecked : Qt::Checked);
    }
    sparedByHand_ = std::move(still);
    previewList->setFont(QFont(QStringLiteral("Courier New"), font().pointSize()));
    previewList->show();
    previewList->raise();
    // The caption takes the place of the lines under the buttons while the list is shown.
    lastPostedLine->hide();
    resultLine->hide();
    previewCaption->show();
    previewCaption->raise();
    updateKeys();
    previewList->setCurrentRow(0);
    previewList->setFocus(Qt::OtherFocusReason);
}

void InterestWindow::toggleSpared(int row) {
    if (row < 0 || row >= static_cast<int>(previewCharges_.size())) return;
    const PreviewCharge& c = previewCharges_[static_cast<size_t>(row)];
    const auto at = std::lower_bound(sparedByHand_.begin(), sparedByHand_.end(), c.account);
    const bool spare = at == sparedByHand_.end() || *at != c.account;
    if (spare) sparedByHand_.insert(at, c.account);
    else sparedByHand_.erase(at);
    QListWidgetItem* item = previewList->item(row);
    item->setText(previewLine(c, spare));
    item->setData(Qt::CheckStateRole, spare ? Qt::Unchecked : Qt::Checked);
}

void InterestWindow::endPreviewList() {
    previewList->hide();
    previewCaption->hide();
    lastPostedLine->show();
    updateKeys();
    showSpared();
    startButton->setFocus(Qt::OtherFocusReason);
}

void InterestWindow::showSpared() {
    resultLine->show();
    if (sparedByHand_.empty()) {
        resultLine->setText(QStringLiteral(" "));
        return;
    }
    QStringList numbers;
    for (const int32_t a : sparedByHand_) numbers << QString::number(a);
    resultLine->setText(QStringLiteral("Spared by hand in the next posting: %1 %2 (Preview to change).")
                            .arg(sparedByHand_.size() == 1 ? QStringLiteral("account") : QStringLiteral("accounts"),
                                 numbers.join(QStringLiteral(", "))));
    resultLine->show();
}

void InterestWindow::listReports() {
    // The reports kept in the store's folder, newest first; Enter or a click opens one.
    std::vector<ListedFile> kept = listMatchingWithTimes("Interest report *.pdf");
    std::stable_sort(kept.begin(), kept.end(),
                     [](const ListedFile& a, const ListedFile& b) { return a.modified > b.modified; });
    // The record of every posting, undo and removal first.
    if (fileExists(recordFileName)) kept.insert(kept.begin(), ListedFile{recordFileName, 0});
    if (kept.empty()) {
        p.messages.show(QStringLiteral("No posting report or record is kept in %1 yet.")
                            .arg(QDir::toNativeSeparators(QDir::currentPath())),
                        {}, Buttons::Ok, Icon::Information);
        return;
    }
    reportList->clear();
    for (const ListedFile& f : kept) reportList->addItem(fromAnsi(f.name));
    reportList->show();
    reportList->raise();
    updateKeys();
    reportList->setCurrentRow(0);
    reportList->setFocus(Qt::OtherFocusReason);
}

void InterestWindow::openReport(const QString& name) {
    reportList->hide();
    updateKeys();
    try {
        p.processes.openDocument(QDir::current().absoluteFilePath(name));
    } catch (const RunError&) {
        p.messages.show(QStringLiteral("The report %1 could not be opened. It is in %2.")
                            .arg(name, QDir::toNativeSeparators(QDir::currentPath())),
                        {}, Buttons::Ok, Icon::Exclamation);
    }
}

void InterestWindow::removeCharges() { interest::removeCharges(p, lastPosted_); }

void InterestWindow::undoPosting() {
    undoLastPosting(p, [this] {
        StepLabel label;
        startup(label);
        setIdle(true);
        resultLine->setText(QStringLiteral(" "));
    });
}

void InterestWindow::setShortcuts() {
    const std::pair<QLabel*, QWidget*> buddies[] = {{dateCaption, dateBox},
                                                    {rateCaption, rateBox},
                                                    {highestRateCaption, highestRateBox},
                                                    {minimumCaption, minimumBox}};
    for (const auto& [l, buddy] : buddies) l->setBuddy(buddy);
    for (QWidget* w : std::initializer_list<QWidget*>{dateCaption, rateCaption, highestRateCaption, minimumCaption,
                                                      skipLayawaysBox, startButton, closeButton, removeButton,
                                                      notesButton, previewButton, undoButton, reportsButton})
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
        add(fromAnsi(shownNote(notes_, static_cast<size_t>(k - 1))), k);
        add(QStringLiteral(" "), 0);
    }
    add(QStringLiteral("CLICK THIS LINE TO END CHANGING NOTES"), 10);
    // Worked from the keyboard: the focus on the list, on the note last edited (or the first).
    noteList->setCurrentRow(editedNote_ >= 1 && editedNote_ <= 9 ? 2 * (editedNote_ - 1) : 0);
    noteList->setFocus(Qt::OtherFocusReason);
}

bool InterestWindow::notesSettled() {
    if (!notesChanged_) return true;
    switch (p.messages.show(QStringLiteral("The collection notes have changes that are not saved. Save them now?"), {},
                            Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes: noteChosen(10); return true;
    case Answer::No: return true;
    default: return false;
    }
}

bool InterestWindow::queryUnload() { return notesSettled(); }

void InterestWindow::showRunError(const RunError& e) {
    QString what = troubleOf(e);
    what[0] = what[0].toUpper();
    p.messages.show(
        QStringLiteral("%1. What was done before stays as it is; try again when it is put right.").arg(what), {},
        Buttons::Ok, Icon::Exclamation);
}

void InterestWindow::endNotes() {
    removeButton->show();
    startButton->setEnabled(true);
    undoButton->setEnabled(true);
    previewButton->setEnabled(true);
}

void InterestWindow::editNotes() {
    removeButton->hide();
    // No posting while the notes are being edited.
    startButton->setEnabled(false);
    undoButton->setEnabled(false);
    previewButton->setEnabled(false);
    const auto notes = openNotes(p);
    if (!notes) {
        endNotes();
        return;
    }
    notes_ = *notes;
    notesChanged_ = false;
    editedNote_ = 0;
    fillNoteList();
    noteList->raise();
}

void InterestWindow::noteChosen(int k) {
    editedNote_ = k;
    if (k == 10) {
        writeCollectionNotes(notes_);
        notesChanged_ = false;
        noteList->hide();
        endNotes();
        return;
    }
    if (k < 1 || k > 9) return;
    noteCaption->setText(QStringLiteral("Note %1 - for a credit rating of %1%2. Escape leaves it as it was.")
                             .arg(k)
                             .arg(k == 1 ? QStringLiteral(" or less") : QString()));
    noteCaption->show();
    noteCaption->raise();
    noteEditor->show();
    noteEditor->raise();
    noteList->hide();
    noteEditor->setText(fromAnsi(notes_[static_cast<size_t>(k - 1)]));
    noteEditor->setFocus(Qt::OtherFocusReason);
}

void InterestWindow::endNoteEdit() {
    if (noteEditor->isHidden() || editedNote_ < 1 || editedNote_ > 9) return; // the edit has already ended
    std::string& note = notes_[static_cast<size_t>(editedNote_ - 1)];
    if (note != toAnsi(noteEditor->text())) notesChanged_ = true;
    note = toAnsi(noteEditor->text());
    noteEditor->hide();
    noteCaption->hide();
    fillNoteList();
}

void InterestWindow::cancelNoteEdit() {
    noteEditor->hide(); // first: the focus leaving it ends no edit
    noteCaption->hide();
    fillNoteList();
}

} // namespace interest
