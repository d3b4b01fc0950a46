#include "platform/qt/qt_platform.h"

#include "common/cp1252.h"
#include "common/env.h"
#include "common/run_error.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QScreen>
#include <QUrl>
#include <cstdlib>

namespace platform {

using namespace common;

namespace {
class QtMessageBox : public MessageBox {
  public:
    QString title;
    QPointer<QWidget> parent;
    Answer show(const QString& text, const QString& t, Buttons buttons, Icon icon,
                std::optional<Answer> asked) override {
        QMessageBox box(parent);
        box.setWindowTitle(t.isEmpty() ? title : t);
        box.setText(QString(text).replace('\r', '\n'));
        switch (icon) {
        case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::None: break;
        }
        switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Buttons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
        }
        // Without a default button the desktop's style picks one (Yes, as a rule): Enter must
        // give the answer the program asked for, Escape the cautious one.
        box.setDefaultButton(standardButton(defaultAnswer(buttons, asked)));
        box.setEscapeButton(standardButton(cautiousAnswer(buttons)));
        switch (box.exec()) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Retry: return Answer::Retry;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return cautiousAnswer(buttons); // closed from its frame
        }
    }

    static QMessageBox::StandardButton standardButton(Answer a) {
        switch (a) {
        case Answer::Ok: return QMessageBox::Ok;
        case Answer::Cancel: return QMessageBox::Cancel;
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
        case Answer::Retry: return QMessageBox::Retry;
        }
        return QMessageBox::NoButton;
    }
};

class QtInputBox : public InputBox {
  public:
    QString title;
    QPointer<QWidget> parent;
    QString ask(const QString& prompt, const QString& t, const QString& def) override {
        QInputDialog box(parent);
        box.setWindowTitle(t.isEmpty() ? title : t);
        // The prompt's carriage returns are its line breaks; its long lines wrap within a width
        // a person reads at a glance, inside the screen.
        box.setLabelText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n'));
        box.setTextValue(def);
        for (QLabel* label : box.findChildren<QLabel*>()) label->setWordWrap(true);
        int width = box.fontMetrics().averageCharWidth() * 60;
        if (QScreen* s = box.screen()) width = std::min(width, s->availableGeometry().width() * 9 / 10);
        box.setMinimumWidth(width);
        box.setMaximumWidth(std::max(width, box.fontMetrics().averageCharWidth() * 80));
        // Over whatever window is in front, with the focus in its box.
        box.show();
        box.raise();
        box.activateWindow();
        return box.exec() == QDialog::Accepted ? box.textValue() : QString();
    }
};

class QtPictureDialog : public PictureDialog {
  public:
    QPointer<QWidget> parent;
    std::optional<QString> choosePicture(const QString& title) override {
        const QString path = QFileDialog::getOpenFileName(
            parent, title, QDir::homePath(), QStringLiteral("Pictures (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG)"));
        if (path.isEmpty()) return std::nullopt;
        return path;
    }
};

class QtFontDialog : public FontDialog {
  public:
    QPointer<QWidget> parent;
    std::optional<FontChoice> choose(const FontChoice& c) override {
        QFont f(c.name);
        f.setPointSizeF(c.size > 0 ? c.size : 12);
        f.setBold(c.bold);
        f.setItalic(c.italic);
        bool ok = false;
        const QFont r = QFontDialog::getFont(&ok, f, parent);
        if (!ok) return std::nullopt;
        return FontChoice{r.family(), r.pointSizeF(), r.bold(), r.italic()};
    }
};

class QtPrintSetup : public PrintSetupDialog {
  public:
    QtPrinter* printer = nullptr;
    QPointer<QWidget> parent;
    bool choose() override {
        QPrintDialog dlg(&printer->qprinter(), parent);
        return dlg.exec() == QDialog::Accepted;
    }
};

class QtProcesses : public Processes {
  public:
    void start(const std::string& commandLine, int windowStyle) override {
        const auto words = splitCommandLine(commandLine);
        if (words.empty()) throw RunError(err::FileNotFound, commandLine);
        const std::string program = findProgram(words[0], QCoreApplication::applicationDirPath().toStdString());
        if (program.empty()) throw RunError(err::FileNotFound, words[0]);
        // The words are the store's code page; the system takes its own.
        std::vector<std::string> args;
        for (size_t i = 1; i < words.size(); ++i) args.push_back(fromAnsi(words[i]).toStdString());
        const auto style = windowStyle == 2   ? WindowStyle::Minimised
                           : windowStyle == 3 ? WindowStyle::Maximised
                                              : WindowStyle::Normal;
        if (!Env::current().startProgram(program, args, QDir::currentPath().toStdString(), style))
            throw RunError(err::FileNotFound, words[0]);
    }
    void openDocument(const QString& path) override {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
            throw RunError(err::FileNotFound, path.toStdString());
    }
    void showInFileManager(const QString& path) override {
        if (!Env::current().showInFileManager(QFileInfo(path).absoluteFilePath().toStdString()))
            throw RunError(err::FileNotFound, path.toStdString());
    }
    // Windows has no command that starts an e-mail with an attachment; Linux desktops have
    // xdg-email.
    bool canAttachToEmail() override { return kSystemRules == CommandLineRules::Shell && !emailProgram().empty(); }
    void attachToEmail(const QString& path) override {
        const std::string program = emailProgram();
        if (program.empty() ||
            !Env::current().startProgram(program, {"--attach", QFileInfo(path).absoluteFilePath().toStdString()},
                                         QDir::currentPath().toStdString(), WindowStyle::Normal))
            throw RunError(err::FileNotFound, "xdg-email");
    }
    static std::string emailProgram() { return findProgram("xdg-email", std::string()); }
    bool installed(const std::string& program) override {
        return !findProgram(program, QCoreApplication::applicationDirPath().toStdString()).empty();
    }
    std::string registered(const std::string& program) override { return Env::current().registeredProgram(program); }
    [[noreturn]] void endProcess() override {
        Env::current().exitNow(0);
        std::abort(); // not reached
    }
};

class QtInstance : public SingleInstance {
  public:
    explicit QtInstance(const QString& name) : name(name.toStdString()) {}
    bool anotherRunning() override { return Env::current().anotherCopyRunning(name); }
    bool anotherRunningIn(const QString& folder) override {
        // One lock a store, named from the folder as the system spells it in full.
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        const QByteArray key =
            QCryptographicHash::hash((canonical.isEmpty() ? folder : canonical).toUtf8(), QCryptographicHash::Sha1)
                .toHex()
                .left(16);
        return Env::current().anotherCopyRunning(name + "-" + key.toStdString());
    }
    std::string name;
};

class QtClipboard : public Clipboard {
  public:
    // The desktop takes plain text with line feeds.
    void setText(const QString& text) override {
        QGuiApplication::clipboard()->setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
};

class QtScreen : public Screen {
  public:
    bool hourglass = false;
    void setHourglass(bool on) override {
        if (on == hourglass) return;
        hourglass = on;
        if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
        else QApplication::restoreOverrideCursor();
    }
    void doEvents() override { QCoreApplication::processEvents(); }
    void refresh() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
};
} // namespace

struct QtPlatform::Impl {
    explicit Impl(const QString& name)
        : printer(name,
                  [this](const QString& file) {
                      static_cast<MessageBox&>(messages).show(
                          QStringLiteral("No printer is installed. The printout was saved as %1.")
                              .arg(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())),
                          {}, Buttons::Ok, Icon::Information);
                  }),
          instance(name) {
        messages.title = name;
        input.title = name;
        printSetup.printer = &printer;
    }
    QtMessageBox messages;
    QtInputBox input;
    QtFontDialog fonts;
    QtPrintSetup printSetup;
    QtPrinter printer;
    QtProcesses processes;
    SystemClock clock;
    QtInstance instance;
    QtClipboard clipboard;
    QtScreen screen;
    QtDocumentFiles documents;
    QtPictureDialog pictures;
};

QtPlatform::QtPlatform(const QString& programName) : impl_(std::make_unique<Impl>(programName)) {
    auto& i = *impl_;
    platform_.reset(new Platform{i.messages, i.input, i.fonts, i.printSetup, i.printer, i.processes, i.clock,
                                 i.instance, i.clipboard, i.screen, i.documents, i.pictures});
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::setParentWindow(QWidget* w) {
    impl_->messages.parent = w;
    impl_->input.parent = w;
    impl_->fonts.parent = w;
    impl_->pictures.parent = w;
    impl_->printSetup.parent = w;
}

} // namespace platform
