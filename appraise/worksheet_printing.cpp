// The worksheet's print, template passages, alignment editor and print settings.
#include "appraise/worksheet_window.h"

#include "appraise/documents/appraisal_files.h"
#include "appraise/documents/appraisal_summary.h"
#include "appraise/documents/composition.h"
#include "appraise/documents/customer_pdf.h"
#include "appraise/worksheet/grade_system_setting.h"
#include "common/trim_left_right_mid.h"

#include "appraise/printing/alignment.h"
#include "appraise/printing/border_size.h"
#include "appraise/printing/default_font.h"
#include "appraise/printing/inserts.h"
#include "appraise/printing/logo_settings.h"
#include "appraise/support_page.h"
#include "appraise/use_cases/print_job.h"
#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStringList>
#include <QTextDocument>
#include <algorithm>

namespace appraise {

using namespace common;
using namespace platform;

void WorksheetWindow::connectPrintingHandlers() {
    whichinsert->setGeometry(tw(4680), tw(4920), tw(1575), tw(1785));
    connect(FormatList, &QPushButton::clicked, this, [this] { run([this] { listPassages(); }); });
    connect(PrintText, &QPushButton::clicked, this, [this] { run([this] { printText(); }); });
    connect(pdfcustomer, &QPushButton::clicked, this, [this] { run([this] { writeCustomerPdf(); }); });
    connect(Fonttext, &QPushButton::clicked, this, [this] { run([this] { chooseTextFont(); }); });
    connect(changeprinter, &QPushButton::clicked, this, [this] { run([this] { choosePrinter(); }); });
    connect(whichinsert, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QString entry = item->text();
        run([this, entry] { passageChosen(entry); });
    });
    connect(alignmentList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int index = alignmentList->row(item);
        run([this, index] { alignmentLineChosen(index); });
    });
    // Enter on a line of either list chooses it, as a click does; Escape closes the insert list.
    onKey(whichinsert, [this](QKeyEvent* e) {
        if (e->key() == Qt::Key_Escape) {
            whichinsert->hide();
            return true;
        }
        if (!isEnterKey(e) || !whichinsert->currentItem()) return false;
        passageChosen(whichinsert->currentItem()->text());
        return true;
    });
    onKey(alignmentList, [this](QKeyEvent* e) {
        if (!isEnterKey(e) || alignmentList->currentRow() < 0) return false;
        alignmentLineChosen(alignmentList->currentRow());
        return true;
    });
}

FontChoice WorksheetWindow::fontChoiceOf(const DefaultFont& f) {
    return FontChoice{fromAnsi(f.name), f.size, f.bold, f.italic};
}

FontChoice WorksheetWindow::textFont() const {
    const QFont f = textArea->font();
    return FontChoice{f.family(), f.pointSizeF(), f.bold(), f.italic()};
}

void WorksheetWindow::applyFont(const FontChoice& c) {
    QFont f = textArea->font();
    f.setFamily(c.name);
    if (c.size > 0) f.setPointSizeF(c.size);
    f.setBold(c.bold);
    f.setItalic(c.italic);
    textArea->setFont(f);
    textArea->document()->setDefaultFont(f);
}

// --- Printing -------------------------------------------------------------------------------

std::string WorksheetWindow::appraisalNumber() const {
    std::string file = document_.file();
    if (file.empty() && (document_.isComposed() || document_.isMadeFrom()))
        if (const auto next = document_.fileFor(document_.composedItems())) file = *next;
    return file.empty() ? std::string() : appraisalNumberOf(file);
}

std::string WorksheetWindow::shownCustomer() const {
    // The text's own customer line: an appraisal opened from the register may be another
    // customer's than the worksheet's.
    if (std::string name = appraisalFacts(documentText()).customer; !name.empty()) return name;
    return std::string(trim(cust_.custlines[1]));
}

QString WorksheetWindow::shownDate() const {
    // A reopened appraisal is of its own date, not of the worksheet's.
    const std::string own = appraisalFacts(documentText()).date;
    if (document_.isAppraisal() && appraisalDate(own, p.clock.today())) return fromAnsi(own);
    return datebox->text();
}

QString WorksheetWindow::runningHead() const {
    if (!document_.isAppraisal()) return {};
    QStringList parts;
    if (const QString name = fromAnsi(shownCustomer()); !name.isEmpty()) parts << name;
    if (const std::string number = appraisalNumber(); !number.empty())
        parts << QStringLiteral("appraisal ") + QString::fromStdString(number);
    return parts.join(QStringLiteral(", "));
}

std::unique_ptr<QTextDocument> WorksheetWindow::printedText() const {
    // The items' photos in a row after each one's value, up to two inches high.
    return withPhotos(*textArea->document(), document_.isAppraisal() ? shownPhotos_ : ItemPhotos{},
                      2 * layoutDpi(*textArea->document()));
}

void WorksheetWindow::printText() {
    const auto text = printedText();
    if (!printAppraisal(p, settings_, AppraisalPrint{*text, textFont(), logo_, runningHead(), shownDate()})) return;
    // Only a text that changed since its last Save is offered to be saved; either way the text
    // printed stays on screen (See Text goes on to the next item).
    if (!hasUnsavedAppraisal()) return;
    if (p.messages.show(QStringLiteral("Do you want to save this appraisal to your hard disk?"), {}, Buttons::YesNo,
                        Icon::Question) == Answer::Yes) {
        p.screen.setHourglass(true);
        p.screen.doEvents();
        saveText();
        p.screen.setHourglass(false);
    }
}

void WorksheetWindow::writeCustomerPdf() {
    if (!document_.isAppraisal() || blankAppraisal(QStringLiteral("send"))) return;
    // The PDF is named for the appraisal's number, which its first Save gives it.
    if (hasUnsavedAppraisal()) {
        if (p.messages.show(QStringLiteral("The PDF is named for the appraisal's number. Save the appraisal first?"),
                            {}, Buttons::YesNo, Icon::Question, Answer::Yes) != Answer::Yes)
            return;
        saveText();
        if (hasUnsavedAppraisal()) return; // not saved: nothing to name the PDF for
    }
    const std::string number = appraisalNumber();
    const QDate date = appraisalDate(toAnsi(shownDate()), p.clock.today()).value_or(p.clock.today());
    Env& env = Env::current();
    if (!env.info(customerPdfFolder).exists) env.makeFolder(customerPdfFolder);
    const QString name = customerPdfName(shownCustomer(), number, date);
    const QString path = QString::fromLatin1(customerPdfFolder) + '/' + name;
    const QString partial = path + QString::fromLatin1(temporarySuffix);
    if (env.info(partial.toStdString()).exists) env.remove(partial.toStdString());
    // Who signs for the store makes the document; the appraisal is its title.
    QString signer;
    if (const auto block = passageLines(signatureFile))
        for (const std::string& line : *block)
            if (!trim(line).empty()) {
                signer = fromAnsi(std::string(trim(line)));
                break;
            }
    const QString title =
        QStringLiteral("Appraisal %1 for %2").arg(QString::fromStdString(number), fromAnsi(shownCustomer()));
    const auto pdf = p.documents.toFile(partial, p.printer.geometry(), DocumentInfo{title, signer});
    const auto text = printedText();
    if (!printAppraisal(p, *pdf, settings_, AppraisalPrint{*text, textFont(), logo_, runningHead(), shownDate()})) {
        if (env.info(partial.toStdString()).exists) env.remove(partial.toStdString());
        return;
    }
    // A PDF of the same appraisal made before gives way to this one.
    QString kept = path;
    if (env.info(path.toStdString()).exists) {
        try {
            env.remove(path.toStdString());
        } catch (const RunError&) {
            // Open in a viewer, say: this one is kept beside it.
        }
    }
    for (int n = 2; !env.rename(partial.toStdString(), kept.toStdString()); ++n) {
        if (n > 99) {
            p.messages.show(QStringLiteral("The PDF could not be given its name. It is kept as %1.").arg(partial), {},
                            Buttons::Ok, Icon::Exclamation);
            return;
        }
        kept = path.chopped(4) + QStringLiteral(" (%1).pdf").arg(n);
    }
    const QString shown = QDir::toNativeSeparators(QFileInfo(kept).absoluteFilePath());
    try {
        if (p.processes.canAttachToEmail() &&
            p.messages.show(QStringLiteral("The appraisal is written as\r%1\rAttach it to a new e-mail?").arg(shown),
                            {}, Buttons::YesNo, Icon::Question, Answer::Yes) == Answer::Yes) {
            p.processes.attachToEmail(kept);
            return;
        }
        if (p.messages.show(QStringLiteral("The appraisal is written as\r%1\rShow it in its folder?").arg(shown), {},
                            Buttons::YesNo, Icon::Question, Answer::Yes) == Answer::Yes)
            p.processes.showInFileManager(kept);
    } catch (const RunError&) {
        p.messages.show(
            QStringLiteral("The desktop could not be asked to do that. The PDF is written as\r%1").arg(shown), {},
            Buttons::Ok, Icon::Exclamation);
    }
}

// --- The insert menu and the template passages ---------------------------------------------

void WorksheetWindow::listPassages() {
    choosingPurpose_ = false;
    whichinsert->clear();
    appraisalist->hide();
    for (const char* entry : insertMenu()) whichinsert->addItem(QString::fromLatin1(entry));
    whichinsert->addItem(QStringLiteral("Grading Scales"));
    whichinsert->addItem(QStringLiteral("Purpose"));
    whichinsert->addItem(QStringLiteral("Purposes"));
    // Just below its button, tall enough for every entry.
    const int rows = whichinsert->count() * whichinsert->sizeHintForRow(0) + 2 * whichinsert->frameWidth();
    whichinsert->setGeometry(
        FormatList->x(), FormatList->y() + FormatList->height(),
        std::max(whichinsert->sizeHintForColumn(0) + 2 * whichinsert->frameWidth() + tw(300), tw(1575)), rows);
    whichinsert->show();
    whichinsert->raise();
    whichinsert->setCurrentRow(0);
    whichinsert->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::passageChosen(const QString& entry) {
    whichinsert->hide();
    if (choosingPurpose_) {
        choosingPurpose_ = false;
        return purposeChosen(whichinsert->currentRow());
    }
    if (entry == QStringLiteral("Purpose of this appraisal...")) return listPurposes();
    for (const Insert& ins : inserts())
        if (entry == QString::fromLatin1(ins.entry)) {
            // The text shown gives way to the passage: its wording is kept or asked about first.
            if (!shownTextSettled()) return;
            return editInsert(ins.file);
        }
    if (entry == QStringLiteral("Alignment")) showalignment();
    else if (entry == QStringLiteral("Default Font")) setdefaultfont();
    else if (entry == QStringLiteral("Border Size")) setbordersize();
    else if (entry == QStringLiteral("Store Logo")) logosetting();
    else if (entry == QStringLiteral("Grading Scales")) chooseGradeSystem();
}

void WorksheetWindow::listPurposes() {
    const QPoint at = whichinsert->pos();
    whichinsert->clear();
    const std::vector<Purpose> list = purposes();
    for (const Purpose& purpose : list)
        whichinsert->addItem(fromAnsi(purpose.use + (purpose.value.empty() ? "" : " (" + purpose.value + ")")));
    const int rows = whichinsert->count() * whichinsert->sizeHintForRow(0) + 2 * whichinsert->frameWidth();
    const int width = whichinsert->sizeHintForColumn(0) + 2 * whichinsert->frameWidth() + tw(300);
    whichinsert->setGeometry(at.x(), std::max(0, formatlist2->y() - rows), width, rows);
    choosingPurpose_ = true;
    whichinsert->show();
    whichinsert->raise();
    whichinsert->setCurrentRow(static_cast<int>(std::min(purposeChoice_, list.size() - 1)));
    whichinsert->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::purposeChosen(int index) {
    const std::vector<Purpose> list = purposes();
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return;
    const std::string effective = toAnsi(datebox->text());
    const std::string report = reportDate();
    // The purpose's lines as they were composed, and as they are for the purpose chosen.
    auto block = [&](const Purpose& purpose) {
        std::string s;
        for (const std::string& line : purposeLines(purpose, effective, report))
            if (!trim(line).empty()) s += wrap80(line);
        return s;
    };
    const std::string was = block(list[std::min(purposeChoice_, list.size() - 1)]);
    const std::string now = block(list[static_cast<size_t>(index)]);
    std::string text = documentText() + "\r\n";
    const size_t at = was.empty() ? std::string::npos : text.find(was);
    if (at == std::string::npos) {
        p.messages.show(QStringLiteral("The lines that say what this appraisal is for are not in the text as they were "
                                       "composed. Change them in the text itself."),
                        {}, Buttons::Ok, Icon::Information);
        return;
    }
    text.replace(at, was.size(), now);
    text.erase(text.size() - 2);
    purposeChoice_ = static_cast<size_t>(index);
    setDocumentText(text);
    textArea->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::useGradeSystem(GradeSystem system) {
    for (GradeBar* bar : {Color, Clarity, Cut}) bar->setSystem(system);
}

void WorksheetWindow::chooseGradeSystem() {
    // A stone being graded keeps the scales it was begun on.
    if (stoneOpen_) {
        p.messages.show(QStringLiteral("End the stone being entered first: its grades are read on the scales it was "
                                       "begun on."),
                        {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    const bool gia = Color->system() == GradeSystem::Gia;
    const QString gias = QStringLiteral("the GIA scales (color D to Z, clarity FL to I3, cut Excellent to Poor)");
    const QString classic =
        QStringLiteral("the classic scales (color D to P and Fancy, clarity Flawless to I3, cut Ideal, 2 to 9, Poor)");
    if (p.messages.show(QStringLiteral("The store grades on %1. Grade on %2 from now on?")
                            .arg(gia ? gias : classic, gia ? classic : gias),
                        QStringLiteral("Grading Scales"), Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
        return;
    const GradeSystem chosen = gia ? GradeSystem::Classic : GradeSystem::Gia;
    keepGradeSystem(chosen);
    useGradeSystem(chosen);
}

void WorksheetWindow::editInsert(const std::string& file) {
    widenForText(true);
    textArea->setGeometry(tw(50), tw(50), tw(9400), tw(6700));
    textArea->show();
    SaveText->show();
    pdfcustomer->hide(); // a passage is not sent to a customer
    for (const Insert& ins : inserts())
        if (file == ins.file) setDocumentText(insertText(ins));
    document_.editPassage(file);
    textArea->raise();
    SaveText->raise();
}

// --- The alignment editor ------------------------------------------------------------------

void WorksheetWindow::showalignment() {
    alignFiller_ = readAlignmentFile(settings_, 9);
    alignmentList->setGeometry(tw(10), tw(10), canvas()->width(), canvas()->height());
    alignmentList->show();
    alignmentList->clear();
    alignmentList->raise();
    for (const QString& line : alignmentEditorLines(settings_)) alignmentList->addItem(line);
    back->show();
    back->raise();
}

void WorksheetWindow::alignmentLineChosen(int index) {
    switch (alignmentRow(index)) {
    case AlignmentRow::Heading: alignmentList->hide(); return;
    case AlignmentRow::TextValue: {
        std::string& value = settings_.alignText[static_cast<size_t>(index - 1)];
        const QString answer = p.input.ask(alignmentPrompt(index) + fromAnsi(value));
        // Cancel (or nothing typed) keeps the value, and the file is not written.
        if (answer.trimmed().isEmpty()) return;
        value = toAnsi(answer);
        break;
    }
    case AlignmentRow::SignatureMargin: {
        const QString answer = p.input.ask(alignmentPrompt(13) + QString::number(settings_.align13));
        if (answer.trimmed().isEmpty()) return;
        if (const auto v = signatureFactor(toAnsi(answer))) {
            settings_.align13 = *v;
        } else {
            p.messages.show(QStringLiteral("The left margin of the signature block must be a whole number from -32768 "
                                           "to 32767. It stays %1.")
                                .arg(settings_.align13),
                            {}, Buttons::Ok, Icon::Exclamation);
        }
        break;
    }
    case AlignmentRow::RestoreDefaults:
        if (hasDefaultAlignment()) {
            restoreDefaultAlignment();
            showalignment();
            return;
        }
        p.messages.show(QStringLiteral("No default alignment file is on this computer.  You can download the file from "
                                       "the SPECIAL page of ") +
                        QString::fromLatin1(supportPage) + '.');
        break;
    case AlignmentRow::Explanation:
        // A line of explanation, not a value.
        p.messages.show(QStringLiteral("Click one of the first 13 lines to change its value, or the last line to set "
                                       "all values back to their defaults."),
                        {}, Buttons::Ok, Icon::Information);
        return;
    }
    writeAlignmentFile(settings_, alignFiller_);
    showalignment();
}

// --- Print settings ------------------------------------------------------------------------

void WorksheetWindow::setbordersize() {
    const std::string current = readBorderSizeText();
    try {
        settings_.bordersize = cint(val(current));
    } catch (const RunError&) {
        // A size beyond the 16-bit range is offered for correction.
    }
    const QString answer = p.input.ask(
        QStringLiteral("Enter the size of the border. (A larger number will make it larger - a smaller number will "
                       "make it smaller - enter 0 to have no border at all."),
        {}, fromAnsi(current));
    // Cancel (or nothing typed) keeps the border as it is: 0 is typed for none.
    if (answer.trimmed().isEmpty()) return;
    writeBorderSize(toAnsi(answer));
}

void WorksheetWindow::logosetting() {
    const QString title = QStringLiteral("When printing an appraisal:");
    auto ask = [&](const char* question, const char* note) {
        return p.messages.show(QString::fromLatin1(question) + '\r' + QString::fromLatin1(note), title, Buttons::YesNo,
                               Icon::Question) == Answer::Yes;
    };
    if (ask("Do you want your store's name and address in wording at the top of the appraisal?",
            "(No logo will print if you choose this)")) {
        setFlag(HeadingFlag::NameInWording, true);
        return;
    }
    setFlag(HeadingFlag::NameInWording, false);
    if (!ask("Do you want your store's logo to print at the top of the appraisal?",
             "(Your stores name and address in wording will not be printed)"))
        setFlag(HeadingFlag::NameInWording, true);
    setFlag(HeadingFlag::NoHeading,
            ask("Do you want No Heading at all?",
                "(Use this choice if you are printing on paper that has your letterhead already printed on it.)"));
}

void WorksheetWindow::setdefaultfont() {
    try {
        FontChoice initial = textFont();
        if (hasDefaultFont()) {
            initial = fontChoiceOf(readDefaultFont());
            applyFont(initial);
        }
        // Cancel keeps the font the dialog opened with.
        const FontChoice chosen = p.fonts.choose(initial).value_or(initial);
        writeDefaultFont(DefaultFont{toAnsi(chosen.name), chosen.size, chosen.bold, chosen.italic});
        applyFont(chosen);
    } catch (const RunError&) {
        p.messages.show(QStringLiteral("There has been an error in the Font description file.  It will be erased so "
                                       "you can start over and set it to your system and printer."));
        eraseDefaultFont();
        p.processes.endProcess();
    }
}

void WorksheetWindow::chooseTextFont() {
    const FontChoice current = textFont();
    applyFont(p.fonts.choose(current).value_or(current));
}

void WorksheetWindow::choosePrinter() { p.printSetup.choose(); }

} // namespace appraise
