// The worksheet's document: composing the wording, saving, reopening and the export.
#include "appraise/worksheet_window.h"
#include "common/trim_left_right_mid.h"

#include "appraise/documents/appraisal_files.h"
#include "appraise/documents/composition.h"
#include "appraise/documents/word_processor.h"
#include "appraise/printing/default_font.h"
#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QTextCharFormat>

namespace appraise {

using namespace common;
using namespace platform;

void WorksheetWindow::connectDocumentHandlers() {
    connect(seetext, &QPushButton::clicked, this, [this] { run([this] { seetext_Click(); }); });
    connect(SaveText, &QPushButton::clicked, this, [this] { run([this] { savetext_click(); }); });
    connect(copytowp, &QPushButton::clicked, this, [this] { run([this] { copytowp_Click(); }); });
    connect(formatlist2, &QPushButton::clicked, this, [this] { run([this] { FormatList2_Click(); }); });
    connect(appraisalist, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QString entry = item->text();
        run([this, entry] { appraisalist_Click(entry); });
    });
    connect(appraisalist, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const QString entry = item->text();
        run([this, entry] { appraisalist_Click(entry); });
    });
    // Enter on an earlier appraisal opens it, as a click does.
    onKey(appraisalist, [this](QKeyEvent* e) {
        if (!isEnterKey(e) || !appraisalist->currentItem()) return false;
        const QString entry = appraisalist->currentItem()->text();
        run([this, entry] { appraisalist_Click(entry); });
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
    QString t = Text1->toPlainText();
    t.replace(QChar::ParagraphSeparator, '\n').replace(QChar::LineSeparator, '\n');
    t.replace('\n', QStringLiteral("\r\n"));
    return toAnsi(t);
}

void WorksheetWindow::setDocumentText(const std::string& text) {
    QString t = fromAnsi(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    // A new text takes the text area's own font, not what was last set for typing.
    Text1->setCurrentCharFormat(QTextCharFormat());
    Text1->setPlainText(t);
}

void WorksheetWindow::showDocument(int left, int top) {
    Text1->setGeometry(tw(left), tw(top), tw(9400), tw(6700));
    Text1->show();
    for (QWidget* w :
         std::initializer_list<QWidget*>{SaveText, formatlist2, PrintText, Fonttext, copytowp, changeprinter, back})
        w->show();
    Text1->raise();
    // Below the text's buttons: back to the worksheet, and See Text for the next item.
    entry->show();
    entry->raise();
    seetext->setGeometry(tw(1350), tw(6780 + 420), tw(1300), tw(380));
    seetext->setVisible(itemCount(tables_) > 0);
    seetext->raise();
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

void WorksheetWindow::seetext_Click() {
    whichinsert->hide();
    editfile_ = "main.app";
    // A composed text is a new appraisal: its first Save numbers a new file.
    appfile_.clear();
    savedText_.clear();
    reopened_ = false;
    savedas->hide();
    Text1->clear();
    Text1->move(0, 0);
    const int16_t m = itemCount(tables_);
    ++shownitem_;
    if (m < shownitem_) {
        p.messages.show(QStringLiteral("You have seen all of the items on this appraisal. Reseting to first item."));
        shownitem_ = 1;
    }
    applyDefaultFont();
    for (QRadioButton* o : {Ring, Watch, Bracelet, Necklace, pendant, Earrings, Beads, Pearls, OtherType}) {
        if (!o->isChecked()) continue;
        if (p.messages.show(QStringLiteral("You have an item that has not been ended. Do you want to erase it?"), {},
                            Buttons::YesNo, Icon::Question) == Answer::Yes)
            clearitem();
        return;
    }
    showDocument(0, 0);
    p.screen.doEvents();

    CompositionInput in;
    in.tables = &tables_;
    in.shownitem = shownitem_;
    in.itemCount = m;
    in.datebox = toAnsi(datebox->text());
    if (fileExists("type.app")) in.typeHeading = TextReader("type.app").readLine();
    in.custlines = cust_.custlines;
    if (fileExists("opening.app")) in.openingLines = readAllLines("opening.app");
    setDocumentText(composeAppraisal(in));

    p.screen.doEvents();
    for (QWidget* w :
         std::initializer_list<QWidget*>{whichinsert, changeprinter, SaveText, back, Fonttext, PrintText, formatlist2})
        w->raise();
    Text1->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::savetext_click() {
    if (!codePageAllows(Text1->toPlainText(), QStringLiteral("saved"))) return;
    const std::string text = trimForSave(documentText());
    setDocumentText(text);
    std::string target;
    try {
        if (editfile_ == "main.app") {
            if (appfile_.empty() || !fileExists(appfile_)) {
                const auto next = nextAppraisalFile(cust_.custprefix);
                if (!next) {
                    p.messages.show(QStringLiteral("All 999 appraisal numbers of this customer are used. "
                                                   "Nothing was saved."),
                                    {}, Buttons::Ok, Icon::Exclamation);
                    return;
                }
                appfile_ = *next;
            }
            target = appfile_;
            writeBytes(target, text + "\r\n");
            savedText_ = documentText();
            savedas->setText(QStringLiteral("Saved as APPRAISE\\") +
                             fromAnsi(appfile_.substr(appfile_.find('\\') + 1)));
            savedas->show();
            savedas->raise();
        } else if (isTemplatePassage(editfile_)) {
            target = editfile_;
            writeBytes(target, text + "\r\n");
            // The passage is saved: none of the text's buttons applies any more.
            Text1->clear();
            leaveDocument();
        }
    } catch (const RunError& e) {
        // The text stays in the text area; whatever was on disk is as it was.
        p.messages.show(QStringLiteral("The text could not be saved to %1: %2.")
                            .arg(QString::fromStdString(resolveName(target)), QString::fromStdString(e.description())),
                        {}, Buttons::Ok, Icon::Exclamation);
    }
}

void WorksheetWindow::appraisalist_Click(const QString& entry) {
    const std::string file = "appraise\\" + toAnsi(entry.left(12));
    if (!fileExists(file)) {
        p.messages.show(QStringLiteral("No such file"));
        return;
    }
    const std::string text = reopenAppraisal(file);
    appfile_ = file;
    reopened_ = true;
    appraisalist->hide();
    setDocumentText(text);
    showDocument(50, 50);
    editfile_ = "main.app";
    savedText_ = documentText();
    savedas->hide();
}

void WorksheetWindow::FormatList2_Click() {
    appraisalist->hide();
    FormatList_Click();
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

void WorksheetWindow::copytowp_Click() {
    if (!codePageAllows(Text1->toPlainText(), QStringLiteral("exported"))) return;
    const std::string text = documentText();
    p.clipboard.setText(fromAnsi(text));
    writeBytes("app.tmp", text + "\r\n");
    p.screen.doEvents();
    std::string suggested;
    if (fileExists("wpname.dat")) suggested = TextReader("wpname.dat").readField();
    else
        suggested =
            suggestedWordProcessor([this](const std::string& program) { return p.processes.installed(program); });
    const QString answer = p.input.ask(
        QStringLiteral("Please enter the command to start your favorite wordprocessor.\r\r(The file will be available "
                       "by opening APP.TMP or by using the insert function because the text was placed on the "
                       "clipboard.)"),
        QStringLiteral("Velmaron"), fromAnsi(suggested));
    if (answer.isEmpty()) return;
    writeLines("wpname.dat", {toAnsi(answer)});
    try {
        p.processes.start(toAnsi(answer), 3);
    } catch (const RunError&) {
        p.messages.show(
            QStringLiteral("This command was not found.  Did you include the directory name?  Example C:\\WP51\\WORD"));
        return;
    }
    // Appraise ends for the word processor: not before the appraisal on screen is settled.
    if (!unsavedAppraisalSettled()) return;
    p.processes.endProcess();
}

} // namespace appraise
