#include "demo/velmaron_window.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "platform/desktop_services.h"
#include "store/account_count.h"
#include "store/account_record.h"
#include "store/transaction_record.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace demo {

using namespace common;
using namespace platform;

namespace {
QString field(const std::string& rec, Field f) { return fromAnsi(trim(fieldText(rec, f))); }
} // namespace

VelmaronWindow::VelmaronWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("velmaron");
    setWindowTitle(QStringLiteral("Velmaron - Customers"));
    auto* layout = new QVBoxLayout(this);
    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = new QLabel(QStringLiteral("&Find:"), this);
    search = new QLineEdit(this);
    search->setObjectName("search");
    search->setPlaceholderText(QStringLiteral("name, phone or account number"));
    searchLabel->setBuddy(search);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search);
    layout->addLayout(searchRow);
    accounts = new QListWidget(this);
    accounts->setObjectName("accounts");
    accounts->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(accounts, 1);
    auto* buttons = new QHBoxLayout;
    appraisal = new QPushButton(QStringLiteral("&Appraisal"), this);
    interest = new QPushButton(QStringLiteral("&Interest"), this);
    quit = new QPushButton(QStringLiteral("&Quit"), this);
    for (auto* b : {appraisal, interest, quit}) buttons->addWidget(b);
    layout->addLayout(buttons);
    // As large as the list wants, within the screen (at a scale of 2 a 1280-pixel screen is 640
    // wide).
    QSize size(720, 520);
    if (QScreen* s = screen()) size = size.boundedTo(s->availableGeometry().size() * 9 / 10);
    resize(size);

    connect(search, &QLineEdit::textChanged, this, &VelmaronWindow::filter);
    // Enter finds: the customer found chosen in the list, which takes the focus.
    connect(search, &QLineEdit::returnPressed, this, [this] { find(); });
    search->installEventFilter(this);
    connect(accounts, &QListWidget::itemActivated, this, [this] { appraisal->click(); });
    connect(appraisal, &QPushButton::clicked, this, [this] {
        QListWidgetItem* item = accounts->currentItem();
        if (!item || item->isHidden()) {
            QMessageBox::information(this, windowTitle(), QStringLiteral("Choose a customer first."));
            return;
        }
        // The appraisal program comes back to this list when it ends.
        if (writeHandover(item->data(Qt::UserRole).toInt()) && startProgram("appraise")) close();
    });
    connect(interest, &QPushButton::clicked, this, [this] {
        // The balances are read again when the posting window closes.
        const std::string program = findProgram("interest", QCoreApplication::applicationDirPath().toStdString());
        auto* process = new QProcess(this);
        connect(process, &QProcess::finished, this, [this, process] {
            const int row = accounts->currentRow();
            load();
            filter(search->text());
            if (row >= 0 && row < accounts->count() && !accounts->item(row)->isHidden()) accounts->setCurrentRow(row);
            process->deleteLater();
        });
        process->setWorkingDirectory(QDir::currentPath());
        process->start(QString::fromStdString(program), {});
        if (program.empty() || !process->waitForStarted()) {
            process->deleteLater();
            QMessageBox::warning(this, windowTitle(), QStringLiteral("interest could not be started."));
        }
    });
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    load();
}

void VelmaronWindow::load() {
    accounts->clear();
    try {
        if (!fileExists("cust.dat")) return;
        const int32_t count = fileExists(store::accountCountFile) ? store::readAccountCount() : 0;
        RecordFile file("cust.dat", store::account::length, Access::Read);
        for (int32_t n = 1; n <= count; ++n) {
            const std::string r = file.read(n);
            const QString name = field(r, store::account::name2) + ' ' + field(r, store::account::name1);
            const QString balance =
                fromAnsi(formatPicture(Money::fromText(fieldText(r, store::account::balance)), "######0.00"));
            const QString text = QStringLiteral("%1  %2  %3  %4")
                                     .arg(n, 4)
                                     .arg(name.leftJustified(24), field(r, store::account::phone).leftJustified(12),
                                          balance.rightJustified(10));
            auto* item = new QListWidgetItem(text, accounts);
            item->setData(Qt::UserRole, n);
        }
    } catch (const RunError& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(e.what()));
    }
    if (accounts->count() == 0) return;
    // Back from Appraise, the customer just served is the one chosen.
    accounts->setCurrentRow(std::clamp(handedOverRecord() - 1, 0, accounts->count() - 1));
    accounts->scrollToItem(accounts->currentItem(), QAbstractItemView::PositionAtCenter);
}

int VelmaronWindow::handedOverRecord() {
    try {
        if (!fileExists("apptrans.dat")) return 0;
        const std::vector<std::string> lines = readAllLines("apptrans.dat");
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            if (!trim(*it).empty()) return static_cast<int>(val(*it));
    } catch (const RunError&) {
        // A hand-over that cannot be read chooses no one: the list starts at its top.
    }
    return 0;
}

void VelmaronWindow::find() {
    const QString text = search->text().trimmed();
    filter(text);
    QListWidgetItem* found = accounts->currentItem();
    if (!found || found->isHidden()) {
        QMessageBox::information(this, windowTitle(), QStringLiteral("No customer matches \"%1\".").arg(text));
        return;
    }
    accounts->scrollToItem(found);
    accounts->setFocus();
}

void VelmaronWindow::filter(const QString& text) {
    for (int i = 0; i < accounts->count(); ++i)
        accounts->item(i)->setHidden(!accounts->item(i)->text().contains(text, Qt::CaseInsensitive));
    // A customer stays chosen: the one chosen if it still shows, else the first that does.
    QListWidgetItem* current = accounts->currentItem();
    if (current && !current->isHidden()) return;
    for (int i = 0; i < accounts->count(); ++i)
        if (!accounts->item(i)->isHidden()) {
            accounts->setCurrentRow(i);
            return;
        }
}

bool VelmaronWindow::eventFilter(QObject* watched, QEvent* event) {
    // Down from Find goes into the list.
    if (watched == search && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        accounts->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool VelmaronWindow::writeHandover(int record) {
    try {
        RecordFile file("cust.dat", store::account::length, Access::Read);
        const std::string r = file.read(record);
        auto quoted = [](const std::string& s) { return "\"" + s + "\""; };
        const std::string name = std::string(trim(fieldText(r, store::account::name2))) + " " +
                                 std::string(trim(fieldText(r, store::account::name1)));
        const std::string town = std::string(trim(fieldText(r, store::account::city))) + ", " +
                                 std::string(trim(fieldText(r, store::account::state))) + " " +
                                 std::string(trim(fieldText(r, store::account::zip)));
        writeLines("apptrans.dat", {quoted(name), quoted(std::string(trim(fieldText(r, store::account::street)))),
                                    quoted(town), std::to_string(record)});
        return true;
    } catch (const RunError& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(e.what()));
        return false;
    }
}

bool VelmaronWindow::startProgram(const char* name) {
    const std::string program = findProgram(name, QCoreApplication::applicationDirPath().toStdString());
    if (program.empty() || !common::Env::current().startProgram(program, {}, QDir::currentPath().toStdString(),
                                                                common::WindowStyle::Normal)) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("%1 could not be started.").arg(name));
        return false;
    }
    return true;
}

} // namespace demo
