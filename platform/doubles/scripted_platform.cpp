#include "platform/doubles/scripted_platform.h"

#include "common/file_names.h"
#include "common/run_error.h"
#include "platform/doubles/recording_printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace platform {

using namespace common;

namespace {
QString answerText(Answer a) {
    switch (a) {
    case Answer::Ok: return QStringLiteral("ok");
    case Answer::Cancel: return QStringLiteral("cancel");
    case Answer::Yes: return QStringLiteral("yes");
    case Answer::No: return QStringLiteral("no");
    case Answer::Retry: return QStringLiteral("retry");
    }
    return {};
}

QString buttonsText(Buttons b) {
    switch (b) {
    case Buttons::Ok: return QStringLiteral("ok");
    case Buttons::OkCancel: return QStringLiteral("okcancel");
    case Buttons::YesNo: return QStringLiteral("yesno");
    case Buttons::YesNoCancel: return QStringLiteral("yesnocancel");
    case Buttons::RetryCancel: return QStringLiteral("retrycancel");
    }
    return {};
}

QString iconText(Icon i) {
    switch (i) {
    case Icon::None: return QStringLiteral("none");
    case Icon::Critical: return QStringLiteral("critical");
    case Icon::Question: return QStringLiteral("question");
    case Icon::Exclamation: return QStringLiteral("exclamation");
    case Icon::Information: return QStringLiteral("information");
    }
    return {};
}

QString yesNo(bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); }

QString fontText(const FontChoice& f) {
    return QStringLiteral("%1 %2 bold=%3 italic=%4")
        .arg(quoted(f.name), numberText(f.size), yesNo(f.bold), yesNo(f.italic));
}
} // namespace

struct ScriptedPlatform::Impl : MessageBox,
                                InputBox,
                                FontDialog,
                                PictureDialog,
                                PrintSetupDialog,
                                Processes,
                                SingleInstance,
                                Clipboard,
                                Screen {
    Impl(const ScriptSetup& setup, Transcript& t)
        : t(t), clock(setup.today.value_or(QDate::currentDate()), setup.time), running(setup.instanceRunning),
          pdf(setup.pdfFile.isEmpty() ? scratch.filePath(QStringLiteral("discarded.pdf")) : setup.pdfFile,
              setup.geometry),
          printer(pdf, t, setup.printerInstalled, setup.geometry) {}

    void countBox() {
        if (++boxes > 1000 && onRunaway) onRunaway();
    }

    Answer show(const QString& text, const QString& title, Buttons buttons, Icon icon,
                std::optional<Answer> asked) override {
        countBox();
        // A question shows the button Enter presses; an unscripted box gets that answer, as a
        // person pressing Enter would.
        const Answer byDefault = defaultAnswer(buttons, asked);
        QString head = QStringLiteral("msgbox %1 title=%2 buttons=%3 icon=%4")
                           .arg(quoted(text), quoted(title), buttonsText(buttons), iconText(icon));
        if (buttons != Buttons::Ok) head += QStringLiteral(" default=") + answerText(byDefault);
        head += QStringLiteral(" -> ");
        if (!messageAnswers.empty()) {
            const Answer a = messageAnswers.front();
            messageAnswers.pop_front();
            if (answerFits(a, buttons)) {
                t.line(head + answerText(a));
                return a;
            }
            t.line(head + answerText(byDefault) + QStringLiteral(" (answer %1 does not fit)").arg(answerText(a)));
            return byDefault;
        }
        t.line(head + answerText(byDefault) + QStringLiteral(" (unscripted)"));
        return byDefault;
    }

    QString ask(const QString& prompt, const QString& title, const QString& def) override {
        countBox();
        QString head =
            QStringLiteral("inputbox %1 title=%2 default=%3 -> ").arg(quoted(prompt), quoted(title), quoted(def));
        if (!inputs.empty()) {
            const auto a = inputs.front();
            inputs.pop_front();
            t.line(head + quoted(a.value_or(QString())));
            return a.value_or(QString());
        }
        t.line(head + quoted(QString()) + QStringLiteral(" (unscripted)"));
        return {};
    }

    std::optional<FontChoice> choose(const FontChoice& current) override {
        return chosen(fonts, QStringLiteral("fontdialog %1 -> ").arg(fontText(current)),
                      [](const FontChoice& f) { return fontText(f); });
    }

    std::optional<QString> choosePicture(const QString& title) override {
        return chosen(pictures, QStringLiteral("picturedialog %1 -> ").arg(quoted(title)),
                      [](const QString& path) { return quoted(path); });
    }

    // The next scripted answer of a dialog that can be cancelled, written down after `head`;
    // Cancel where the script gives none.
    template <class T, class Describe>
    std::optional<T> chosen(std::deque<std::optional<T>>& answers, const QString& head, Describe describe) {
        countBox();
        if (answers.empty()) {
            t.line(head + QStringLiteral("cancel (unscripted)"));
            return std::nullopt;
        }
        const std::optional<T> a = answers.front();
        answers.pop_front();
        t.line(head + (a ? describe(*a) : QStringLiteral("cancel")));
        return a;
    }

    bool choose() override {
        countBox();
        if (!setups.empty()) {
            const bool ok = setups.front();
            setups.pop_front();
            t.line(QStringLiteral("printsetup -> ") + (ok ? "ok" : "cancel"));
            return ok;
        }
        t.line(QStringLiteral("printsetup -> cancel (unscripted)"));
        return false;
    }

    void start(const std::string& commandLine, int style) override {
        t.line(QStringLiteral("start %1 style=%2").arg(quoted(QString::fromStdString(commandLine))).arg(style));
        // Looked up in the data folder and on PATH only: what is installed beside uiscript
        // is no part of the session.
        const auto words = splitCommandLine(commandLine);
        if (words.empty() || findProgram(words[0], std::string()).empty())
            throw RunError(err::FileNotFound, words.empty() ? commandLine : words[0]);
    }

    // Only what the data folder holds counts, so that a suggestion does not depend on what the
    // machine running the script has installed.
    void openDocument(const QString& path) override {
        t.line(QStringLiteral("open %1").arg(quoted(path)));
        if (!QFileInfo::exists(path)) throw RunError(err::FileNotFound, path.toStdString());
    }
    void showInFileManager(const QString& path) override {
        t.line(QStringLiteral("show in file manager %1").arg(quoted(path)));
        if (!QFileInfo::exists(path)) throw RunError(err::FileNotFound, path.toStdString());
    }
    // As the desktop decides: never on Windows; elsewhere when xdg-email is in the data folder.
    bool canAttachToEmail() override {
        return kSystemRules == CommandLineRules::Shell && !programInFolder("xdg-email").empty();
    }
    void attachToEmail(const QString& path) override {
        t.line(QStringLiteral("email with %1").arg(quoted(path)));
        if (!canAttachToEmail() || !QFileInfo::exists(path)) throw RunError(err::FileNotFound, "xdg-email");
    }
    bool installed(const std::string& program) override { return !programInFolder(program).empty(); }
    std::string registered(const std::string&) override { return {}; } // nothing beyond the folder

    [[noreturn]] void endProcess() override {
        if (onEnd) onEnd();
        throw ProgramEnded{};
    }

    bool anotherRunning() override { return running; }
    bool anotherRunningIn(const QString&) override { return running; }

    void setText(const QString& text) override { t.line(QStringLiteral("clipboard ") + quoted(text)); }

    void setHourglass(bool on) override {
        if (on == hourglass) return;
        hourglass = on;
        t.line(on ? QStringLiteral("pointer hourglass") : QStringLiteral("pointer default"));
    }
    void doEvents() override { QCoreApplication::processEvents(); }
    void refresh() override {}

    Transcript& t;
    FixedClock clock;
    bool running;
    bool hourglass = false;
    QTemporaryDir scratch;
    QtPrinter pdf;
    QtDocumentFiles documents; // the kept reports are real PDF files
    RecordingPrinter printer;
    std::deque<Answer> messageAnswers;
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<FontChoice>> fonts;
    std::deque<bool> setups;
    std::deque<std::optional<QString>> pictures;
    std::function<void()> onEnd;
    std::function<void()> onRunaway;
    int boxes = 0;
};

ScriptedPlatform::ScriptedPlatform(const ScriptSetup& setup, Transcript& transcript)
    : impl_(std::make_unique<Impl>(setup, transcript)) {
    auto& i = *impl_;
    platform_.reset(new Platform{i, i, i, i, i.printer, i, i.clock, i, i, i, i.documents, i});
}

ScriptedPlatform::~ScriptedPlatform() = default;

void ScriptedPlatform::queueMessageAnswer(Answer a) { impl_->messageAnswers.push_back(a); }
void ScriptedPlatform::queueInput(std::optional<QString> text) { impl_->inputs.push_back(std::move(text)); }
void ScriptedPlatform::queuePicture(std::optional<QString> path) { impl_->pictures.push_back(std::move(path)); }
void ScriptedPlatform::queueFont(std::optional<FontChoice> font) { impl_->fonts.push_back(std::move(font)); }
void ScriptedPlatform::queuePrintSetup(bool ok) { impl_->setups.push_back(ok); }
void ScriptedPlatform::setOnEnd(std::function<void()> onEnd) { impl_->onEnd = std::move(onEnd); }

void ScriptedPlatform::discardScratch() { impl_->scratch.remove(); }
void ScriptedPlatform::setOnRunaway(std::function<void()> f) { impl_->onRunaway = std::move(f); }
void ScriptedPlatform::beginAction() { impl_->boxes = 0; }

int ScriptedPlatform::boxesShown() const { return impl_->boxes; }

} // namespace platform
