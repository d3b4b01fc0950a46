// The worksheet's document: composing the wording, saving, reopening and the export.
#include "appraise/worksheet_window.h"
#include "common/trim_left_right_mid.h"

#include "appraise/documents/appraisal_files.h"
#include "appraise/documents/composition.h"
#include "appraise/documents/word_processor.h"
#include "appraise/printing/default_font.h"
#include "appraise/printing/inserts.h"
#include "appraise/use_cases/word_processor_command.h"
#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QShortcut>
#include <QTextCharFormat>

namespace appraise {

using namespace common;
using namespace platform;

void WorksheetWindow::connectDocumentHandlers() {
    connect(seetext, &QPushButton::clicked, this, [this] { run([this] { seeText(); }); });
    connect(allitems, &QPushButton::clicked, this, [this] { run([this] { appraiseAllItems(); }); });
    connect(SaveText, &QPushButton::clicked, this, [this] { run([this] { saveText(); }); });
    connect(copytowp, &QPushButton::clicked, this, [this] { run([this] { exportToWordProcessor(); }); });
    connect(formatlist2, &QPushButton::clicked, this, [this] { run([this] { listPassagesFromText(); }); });
    connect(appraisalist, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QString entry = item->text();
        run([this, entry] { openAppraisal(entry); });
    });
    connect(appraisalist, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const QString entry = item->text();
        run([this, entry] { openAppraisal(entry); });
    });
    // Enter on an earlier appraisal opens it, as a click does.
    onKey(appraisalist, [this](QKeyEvent* e) {
        if (!isEnterKey(e) || !appraisalist->currentItem()) return false;
        const QString entry = appraisalist->currentItem()->text();
        run([this, entry] { openAppraisal(entry); });
        return true;
    });
    // Ctrl+S saves and Ctrl+P prints the text shown.
    auto shortcut = [this](QKeySequence keys, QPushButton* button) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, [button] {
            if (button->isVisible() && button->isEnabled()) button->click();
        });
    };
    shortcut(QKeySequence::Save, SaveText);
    shortcut(QKeySequence::Print, PrintText);
}

std::string WorksheetWindow::documentText() const {
    QString t = textArea->toPlainText();
    t.replace(QChar::ParagraphSeparator, '\n').replace(QChar::LineSeparator, '\n');
    t.replace('\n', QStringLiteral("\r\n"));
    return toAnsi(t);
}

void WorksheetWindow::setDocumentText(const std::string& text) {
    QString t = fromAnsi(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    // A new text takes the text area's own font, not what was last set for typing.
    textArea->setCurrentCharFormat(QTextCharFormat());
    textArea->setPlainText(t);
}

void WorksheetWindow::layoutDocument() {
    // The text takes the height the window gives beyond the design's; its rows of buttons stay
    // below it.
    const int grow = std::max(0, canvas()->height() - tw(8200));
    textArea->resize(tw(9400), tw(6700) + grow);
    const int row = tw(6780) + grow, row2 = tw(6780 + 420) + grow;
    for (QWidget* w :
         std::initializer_list<QWidget*>{SaveText, formatlist2, PrintText, Fonttext, copytowp, changeprinter, back})
        w->move(w->x(), row);
    for (QWidget* w : std::initializer_list<QWidget*>{entry, seetext, allitems, pdfcustomer}) w->move(w->x(), row2);
    savedas->move(savedas->x(), row2 - tw(20));
}

void WorksheetWindow::showDocument(int left, int top) {
    widenForText(true);
    textArea->setGeometry(tw(left), tw(top), tw(9400), tw(6700));
    textArea->show();
    for (QWidget* w :
         std::initializer_list<QWidget*>{SaveText, formatlist2, PrintText, Fonttext, copytowp, changeprinter, back})
        w->show();
    textArea->raise();
    // Below the text's buttons: back to the worksheet, and See Text for the next item.
    entry->show();
    entry->raise();
    seetext->setGeometry(tw(1350), tw(6780 + 420), tw(1300), tw(380));
    seetext->setVisible(itemCount(tables_) > 0);
    seetext->raise();
    allitems->setGeometry(tw(2700), tw(6780 + 420), tw(1300), tw(380));
    showAllItems();
    allitems->raise();
    pdfcustomer->show();
    pdfcustomer->raise();
    layoutDocument();
}

void WorksheetWindow::applyDefaultFont() {
    if (!hasDefaultFont()) return;
    FontChoice f;
    try {
        f = fontChoiceOf(readDefaultFont());
    } catch (const RunError& e) {
        // The text keeps the font it has; the file is mended where the font is set.
        p.messages.show(QStringLiteral("The font file DefontAp.dat cannot be read (%1). The text keeps its font; set "
                                       "the font again with Format and Default Font.")
                            .arg(QString::fromStdString(e.description())),
                        {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    applyFont(f);
}

CompositionInput WorksheetWindow::compositionInput(int16_t slot) const {
    CompositionInput in;
    in.tables = &tables_;
    in.shownitem = slot;
    in.itemCount = itemCount(tables_);
    in.datebox = toAnsi(datebox->text());
    if (const auto line = typeLine()) in.typeHeading = *line;
    in.custlines = cust_.custlines;
    if (auto lines = passageLines(openingFile)) in.openingLines = std::move(*lines);
    // The date the items were seen is the appraisal's effective date; the report is of today.
    const std::vector<Purpose> list = purposes();
    in.purposeLines = purposeLines(list[std::min(purposeChoice_, list.size() - 1)], in.datebox, reportDate());
    return in;
}

std::string WorksheetWindow::reportDate() const { return toAnsi(p.clock.today().toString(QStringLiteral("M-d-yy"))); }

bool WorksheetWindow::itemBeingEntered() {
    if (!typeGroup->checkedButton()) return false;
    if (p.messages.show(QStringLiteral("You have an item that has not been ended. Do you want to erase it?"), {},
                        Buttons::YesNo, Icon::Question) == Answer::Yes)
        discardEntry();
    return true;
}

void WorksheetWindow::startComposedText() {
    whichinsert->hide();
    // A composed text is a new appraisal: its first Save numbers a new file; it is for the
    // store's usual purpose until another is chosen.
    document_.composed({});
    purposeChoice_ = 0;
    savedas->hide();
    textArea->clear();
    textArea->move(0, 0);
}

void WorksheetWindow::showComposedText(const std::string& text) {
    showDocument(0, 0);
    p.screen.doEvents();
    setDocumentText(text);
    document_.composedAs(documentText());
    // The wording the jeweler edited for these items comes back with them.
    if (const auto kept = document_.keptWording(document_.composedItems())) setDocumentText(*kept);
    p.screen.doEvents();
    for (QWidget* w :
         std::initializer_list<QWidget*>{whichinsert, changeprinter, SaveText, back, Fonttext, PrintText, formatlist2})
        w->raise();
    textArea->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::seeText() {
    if (!shownTextSettled()) return;
    const int16_t m = itemCount(tables_);
    int16_t next = static_cast<int16_t>(shownitem_ + 1);
    if (m < next) next = 1;
    // An item with nothing entered has no wording; the next click goes on past it.
    if (itemIsEmpty(tables_, next) && !typeGroup->checkedButton()) {
        shownitem_ = next;
        p.messages.show(QStringLiteral("Item %1 has nothing entered.").arg(next), {}, Buttons::Ok, Icon::Information);
        return;
    }
    startComposedText();
    ++shownitem_;
    if (m < shownitem_) {
        p.messages.show(QStringLiteral("You have seen all of the items on this appraisal. Reseting to first item."));
        shownitem_ = 1;
    }
    applyDefaultFont();
    if (itemBeingEntered()) return;
    document_.composed({shownitem_});
    shownPhotos_ = photosOf({shownitem_}, false);
    showComposedText(composeAppraisal(compositionInput(shownitem_)));
}

void WorksheetWindow::appraiseAllItems() {
    if (!shownTextSettled()) return;
    if (itemBeingEntered()) return;
    const std::vector<int16_t> numbers = itemsToCompose(tables_);
    if (numbers.empty()) {
        p.messages.show(QStringLiteral("No item has anything entered yet."), {}, Buttons::Ok, Icon::Information);
        return;
    }
    startComposedText();
    applyDefaultFont();
    document_.composed(numbers);
    shownPhotos_ = photosOf(numbers, true);
    showComposedText(composeAllItems(compositionInput(1)));
}

void WorksheetWindow::showSavedStatus() {
    const QString where =
        QDir::toNativeSeparators(QFileInfo(QString::fromStdString(resolveName(document_.file()))).absoluteFilePath());
    const std::optional<int16_t> next = document_.nextUnsaved(tables_, shownitem_);
    savedas->setText(QStringLiteral("Saved as %1\n%2")
                         .arg(where, next ? QStringLiteral("Item %1 is next: See Text (Alt+X) shows it.").arg(*next)
                                          : QStringLiteral("Every item is saved.")));
    savedas->setToolTip(where);
    savedas->show();
    savedas->raise();
}

bool WorksheetWindow::shownTextSettled() {
    if (textArea->isHidden() || !document_.isAppraisal()) return true;
    if (document_.isComposed()) {
        document_.keepShown(documentText());
        return true;
    }
    return unsavedAppraisalSettled();
}

bool WorksheetWindow::unsavedItemsSettled() {
    // A composed text's wording stays with its items; a reopened appraisal is asked about first.
    if (!shownTextSettled()) return false;
    const std::vector<int16_t> left = document_.unsavedItems(tables_);
    if (left.empty()) return true;
    switch (p.messages.show(unsavedItemsQuestion(left), {}, Buttons::YesNoCancel, Icon::Question)) {
    case Answer::No: return true;
    case Answer::Yes: break;
    default: return false;
    }
    auto save = [this](const AppraisalDocument::Items& items, const std::string& text) {
        QStringList numbers;
        for (int16_t n : items) numbers << QString::number(n);
        const QString which = (items.size() == 1 ? QStringLiteral("Item ") : QStringLiteral("Items ")) +
                              numbers.join(QStringLiteral(", "));
        const auto file = document_.fileFor(items);
        if (!file) {
            p.messages.show(
                QStringLiteral("All 999 appraisal numbers of this customer are used. %1 was not saved.").arg(which), {},
                Buttons::Ok, Icon::Exclamation);
            return false;
        }
        try {
            document_.saveItems(items, *file, trimForSave(text));
            keepPhotos(appraisalNumberOf(*file), photosOf(items, items.size() > 1));
        } catch (const RunError& e) {
            p.messages.show(
                QStringLiteral("%1 could not be saved to %2: %3.")
                    .arg(which, QString::fromStdString(resolveName(*file)), QString::fromStdString(e.description())),
                {}, Buttons::Ok, Icon::Exclamation);
            return false;
        }
        return true;
    };
    // The wordings the jeweler edited, each to the file its items were saved to or the next free
    // number; then every other item composed as See Text composes it.
    for (const auto& [items, wording] : document_.unsavedWordings())
        if (!save(items, wording)) return false;
    for (int16_t n : document_.unsavedItems(tables_))
        if (!save({n}, composeAppraisal(compositionInput(n)))) return false;
    return true;
}

void WorksheetWindow::saveText() {
    // An empty text is no appraisal: none is numbered for it, and none is written over with it.
    if (blankAppraisal(QStringLiteral("save"))) return;
    if (!codePageAllows(textArea->toPlainText(), QStringLiteral("saved"))) return;
    // A reopened appraisal changed: its file is kept as it was unless the jeweler says to
    // replace it, and the text becomes a new version under a number of its own.
    if (document_.isReopened() && document_.changed(documentText())) {
        const QString number = QString::fromStdString(appraisalNumber());
        const Answer a = p.messages.show(
            QStringLiteral("Appraisal %1 was saved before. Replace it with this text?\r\rYes replaces it. No keeps it "
                           "as it was and saves this text as a new version, under a number of its own.")
                .arg(number),
            {}, Buttons::YesNoCancel, Icon::Question, Answer::No);
        if (a == Answer::Cancel) return;
        if (a == Answer::No) document_.madeFrom(number.toStdString().substr(0, 5));
    }
    setDocumentText(trimForSave(documentText()));
    try {
        switch (document_.save(documentText())) {
        case AppraisalDocument::Saved::Appraisal:
            document_.keptAs(documentText());
            keepPhotos(appraisalNumberOf(document_.file()), shownPhotos_);
            showSavedStatus();
            break;
        case AppraisalDocument::Saved::Passage:
            // The passage is saved: none of the text's buttons applies any more.
            textArea->clear();
            leaveDocument();
            break;
        case AppraisalDocument::Saved::NoNumberLeft:
            p.messages.show(QStringLiteral("All 999 appraisal numbers of this customer are used. Nothing was saved."),
                            {}, Buttons::Ok, Icon::Exclamation);
            break;
        case AppraisalDocument::Saved::Nothing: break;
        }
    } catch (const RunError& e) {
        // The text stays in the text area; whatever was on disk is as it was.
        p.messages.show(
            QStringLiteral("The text could not be saved to %1: %2.")
                .arg(QString::fromStdString(resolveName(document_.target())), QString::fromStdString(e.description())),
            {}, Buttons::Ok, Icon::Exclamation);
    }
}

void WorksheetWindow::openAppraisal(const QString& entry) {
    const std::string file = "appraise\\" + toAnsi(entry.left(12));
    if (!fileExists(file)) {
        p.messages.show(QStringLiteral("No such file"));
        return;
    }
    if (!shownTextSettled()) return;
    const std::string text = document_.reopen(file);
    shownPhotos_ = loadPhotos(appraisalNumberOf(file));
    appraisalist->hide();
    // In the font a composed appraisal is written and printed in, not the entry's.
    applyDefaultFont();
    setDocumentText(text);
    showDocument(50, 50);
    document_.keptAs(documentText());
    savedas->hide();
    textArea->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::listPassagesFromText() {
    appraisalist->hide();
    listPassages();
    // An appraisal on screen can be given another purpose.
    if (document_.isAppraisal() && fileExists(purposeFile)) {
        whichinsert->addItem(QStringLiteral("Purpose of this appraisal..."));
        whichinsert->resize(whichinsert->width(), whichinsert->height() + whichinsert->sizeHintForRow(0));
    }
    // Beside the button that opened it: above the text's row of buttons.
    whichinsert->move(formatlist2->x(), formatlist2->y() - whichinsert->height());
}

bool WorksheetWindow::codePageAllows(const QString& text, const QString& action) {
    const QStringList lost = charactersOutsideCodePage(text);
    if (lost.isEmpty()) return true;
    return p.messages.show(QStringLiteral("These characters cannot be kept in the store's files: %1\r\rThey would be "
                                          "%2 as \"?\". Go on with the replacements?")
                               .arg(lost.join(' '), action),
                           {}, Buttons::YesNo, Icon::Exclamation) == Answer::Yes;
}

void WorksheetWindow::exportToWordProcessor() {
    if (!codePageAllows(textArea->toPlainText(), QStringLiteral("exported"))) return;
    const std::string text = documentText();
    p.clipboard.setText(fromAnsi(text));
    writeExportFile(text);
    p.screen.doEvents();
    const QString answer = p.input.ask(
        QStringLiteral("Please enter the command to start your favorite wordprocessor.\r\r(The file will be available "
                       "by opening APP.TMP or by using the insert function because the text was placed on the "
                       "clipboard.)"),
        QStringLiteral("Velmaron"), fromAnsi(wordProcessorCommand(p.processes)));
    if (answer.isEmpty()) return;
    rememberWordProcessor(toAnsi(answer));
    try {
        p.processes.start(toAnsi(answer), 3);
    } catch (const RunError&) {
        p.messages.show(
            QStringLiteral("This command was not found.  Did you include the directory name?  Example C:\\WP51\\WORD"));
        return;
    }
    // The worksheet stays open beside the word processor, with its items and the text as they
    // are: End goes back to the store's program once they are settled.
}

} // namespace appraise
