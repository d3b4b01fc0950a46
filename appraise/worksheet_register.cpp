// The register of every appraisal of the store, and re-appraisal.
#include "appraise/worksheet_window.h"

#include "appraise/documents/appraisal_files.h"
#include "common/cp1252.h"
#include "common/file_names.h"

#include <QFontDatabase>
#include <QKeyEvent>

namespace appraise {

using namespace common;
using namespace platform;

void WorksheetWindow::buildRegisterPanel() {
    registerButton = button("registerButton", QStringLiteral("Loo&k up appraisals"), 7250, 1360, 1950, 330);
    registerPanel = new QWidget(canvas());
    registerPanel->setObjectName("registerPanel");
    registerPanel->setAutoFillBackground(true);
    QWidget* r = registerPanel;
    // Along the flow of a search: what to look for, the list, what to do with the one found.
    registerSearchCaption = label("registerSearchCaption", QStringLiteral("&Search"), 100, 130, 800, 300, r);
    registerSearch = textBox("registerSearch", QString(), 900, 100, 4000, 330, r);
    registerSearchCaption->setBuddy(registerSearch);
    registerCount = label("registerCount", QString(), 5050, 130, 4100, 300, r);
    const QFont fixed = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPointSizeF(8.5);
        return f;
    }();
    registerHeadingLabel = label("registerHeading", registerHeading(), 100, 900, 9050, 280, r);
    registerHeadingLabel->setFont(fixed);
    registerList = new QListWidget(r);
    registerList->setObjectName("registerList");
    registerList->setFont(fixed);
    registerList->setUniformItemSizes(true); // one line each, in one face: measured once
    registerList->setGeometry(tw(100), tw(1180), tw(9050), tw(5450));
    registerOpen = button("registerOpen", QStringLiteral("&Open"), 100, 6780, 1300, 380, r);
    reappraiseButton = button("reappraise", QStringLiteral("&Re-appraise"), 1450, 6780, 1500, 380, r);
    label("sortCaption", QStringLiteral("Sort by"), 100, 530, 800, 300, r);
    sortNumber = button("sortNumber", QStringLiteral("Num&ber"), 900, 500, 1000, 330, r);
    sortDate = button("sortDate", QStringLiteral("Da&te"), 1950, 500, 900, 330, r);
    sortCustomer = button("sortCustomer", QStringLiteral("&Customer"), 2900, 500, 1100, 330, r);
    sortItem = button("sortItem", QStringLiteral("&Item"), 4050, 500, 900, 330, r);
    sortValue = button("sortValue", QStringLiteral("&Value"), 5000, 500, 900, 330, r);
    registerDue = new QCheckBox(r);
    registerDue->setObjectName("registerDue");
    registerDue->setGeometry(tw(6050), tw(500), tw(3100), tw(330));
    registerBack = button("registerBack", QStringLiteral("Bac&k"), 7850, 6780, 1300, 380, r);
    registerPanel->hide();

    connect(registerButton, &QPushButton::clicked, this, [this] { run([this] { showRegister(); }); });
    connect(registerSearch, &QLineEdit::textChanged, this, [this] { run([this] { fillRegister(); }); });
    connect(registerDue, &QCheckBox::toggled, this, [this] { run([this] { fillRegister(); }); });
    connect(registerOpen, &QPushButton::clicked, this, [this] { run([this] { openFromRegister(); }); });
    connect(reappraiseButton, &QPushButton::clicked, this, [this] { run([this] { reappraise(); }); });
    connect(registerBack, &QPushButton::clicked, this, [this] { run([this] { closeRegister(); }); });
    connect(registerList, &QListWidget::itemDoubleClicked, this, [this] { run([this] { openFromRegister(); }); });
    const std::pair<QPushButton*, RegisterOrder> sorts[] = {{sortNumber, RegisterOrder::Number},
                                                            {sortDate, RegisterOrder::Date},
                                                            {sortCustomer, RegisterOrder::Customer},
                                                            {sortItem, RegisterOrder::Item},
                                                            {sortValue, RegisterOrder::Value}};
    for (const auto& [b, order] : sorts) {
        const int o = static_cast<int>(order);
        connect(b, &QPushButton::clicked, this, [this, o] { run([this, o] { sortRegisterBy(o); }); });
    }
    // Down from the search goes into the list; Enter opens the one chosen (the first, from the
    // search); Escape goes back.
    auto keys = [this](QKeyEvent* e, bool fromSearch) {
        if (fromSearch && e->key() == Qt::Key_Down && registerList->count() > 0) {
            registerList->setFocus(Qt::OtherFocusReason);
            if (registerList->currentRow() < 0) registerList->setCurrentRow(0);
            return true;
        }
        if (isEnterKey(e) && registerList->count() > 0) {
            if (registerList->currentRow() < 0) registerList->setCurrentRow(0);
            openFromRegister();
            return true;
        }
        if (e->key() == Qt::Key_Escape) {
            closeRegister();
            return true;
        }
        return false;
    };
    onKey(registerSearch, [keys](QKeyEvent* e) { return keys(e, true); });
    onKey(registerList, [keys](QKeyEvent* e) { return keys(e, false); });
}

void WorksheetWindow::showRegister() {
    register_ = readRegister(p.clock.today());
    sortRegister(register_, static_cast<RegisterOrder>(registerOrder_), registerDescending_);
    registerDue->setText(QStringLiteral("D&ue for update (%1 months)").arg(updatePeriodMonths()));
    registerPanel->setGeometry(0, 0, canvas()->width(), canvas()->height());
    registerPanel->show();
    registerPanel->raise();
    fillRegister();
    registerSearch->setFocus(Qt::OtherFocusReason);
    registerSearch->selectAll();
}

void WorksheetWindow::fillRegister() {
    const int row = registerList->currentRow();
    const std::string chosen =
        row >= 0 && row < static_cast<int>(registerRows_.size()) ? registerRows_[static_cast<size_t>(row)] : "";
    std::vector<RegisterEntry> due;
    if (registerDue->isChecked()) due = dueForUpdate(register_, p.clock.today(), updatePeriodMonths());
    const std::vector<RegisterEntry>& shown = registerDue->isChecked() ? due : register_;
    const QString search = registerSearch->text();
    // The lines made first and put in the list in one go: a store has thousands.
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(shown.size()));
    registerRows_.clear();
    int current = -1;
    for (const RegisterEntry& e : shown) {
        if (!registerMatches(e, search)) continue;
        if (e.file == chosen) current = static_cast<int>(lines.size());
        lines << registerLine(e);
        registerRows_.push_back(e.file);
    }
    const int found = static_cast<int>(lines.size());
    registerList->setUpdatesEnabled(false);
    registerList->clear();
    registerList->addItems(lines);
    registerList->setCurrentRow(current >= 0 ? current : found > 0 ? 0 : -1);
    registerList->setUpdatesEnabled(true);
    const int all = static_cast<int>(register_.size());
    const QString noun = all == 1 ? QStringLiteral("appraisal") : QStringLiteral("appraisals");
    registerCount->setText(found == all ? QStringLiteral("%1 %2").arg(all).arg(noun)
                                        : QStringLiteral("%1 of %2 %3").arg(found).arg(all).arg(noun));
    // Nothing listed: nothing to open or make again.
    registerOpen->setEnabled(found > 0);
    reappraiseButton->setEnabled(found > 0);
}

void WorksheetWindow::sortRegisterBy(int order) {
    // The same column again turns the order round; a new one starts from the top.
    registerDescending_ = order == registerOrder_ ? !registerDescending_ : order == int(RegisterOrder::Date);
    registerOrder_ = order;
    sortRegister(register_, static_cast<RegisterOrder>(order), registerDescending_);
    fillRegister();
}

void WorksheetWindow::closeRegister() {
    registerPanel->hide();
    registerButton->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::openFromRegister() {
    const int row = registerList->currentRow();
    if (row < 0 || row >= static_cast<int>(registerRows_.size())) return;
    const QString file = QString::fromStdString(registerRows_[static_cast<size_t>(row)]);
    registerPanel->hide();
    openAppraisal(file);
    if (!textArea->isVisible()) registerPanel->show(); // the shown text stayed: back to the register
}

void WorksheetWindow::reappraise() {
    const int row = registerList->currentRow();
    if (row < 0 || row >= static_cast<int>(registerRows_.size())) return;
    const std::string file = registerRows_[static_cast<size_t>(row)];
    const std::string path = "appraise\\" + file;
    if (!fileExists(path)) {
        p.messages.show(QStringLiteral("No such file"));
        return;
    }
    registerPanel->hide();
    if (!shownTextSettled()) {
        registerPanel->show();
        return;
    }
    // The earlier appraisal is read, never written: the new one takes a number of its own.
    const std::string number = file.substr(0, 8);
    const std::string text = reappraisalText(reopenAppraisal(path), number, toAnsi(datebox->text()));
    document_.madeFrom(number.substr(0, 5));
    shownPhotos_ = loadPhotos(number); // the items' photos go with them into the new appraisal
    applyDefaultFont();
    setDocumentText(text);
    showDocument(50, 50);
    savedas->setText(QStringLiteral("A new appraisal made from %1; Save gives it a number of its own.")
                         .arg(QString::fromStdString(number)));
    savedas->show();
    textArea->setFocus(Qt::OtherFocusReason);
}

} // namespace appraise
