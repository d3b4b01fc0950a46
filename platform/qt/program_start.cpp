#include "platform/qt/program_start.h"

#include "platform/qt/program_args.h"
#include "platform/qt/store_folder.h"

#include "common/env.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <memory>

namespace platform {

namespace {
// Whether a box can be shown: Windows always has its desktop; elsewhere a display must be named.
bool hasDesktop() {
#ifdef Q_OS_WIN
    return true;
#else
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#endif
}
} // namespace

void reportStartFailure(int& argc, char** argv, const QString& program, const QString& what) {
    std::fprintf(stderr, "%s: %s\n", program.toLocal8Bit().constData(),
                 QString(what).replace(QStringLiteral("\n\n"), QStringLiteral(" ")).toLocal8Bit().constData());
    // Where no one reads the standard error (the desktop started the program), a box says it.
    if (common::Env::current().standardErrorIsTerminal() || !hasDesktop()) return;
    std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QApplication>(argc, argv);
    QMessageBox::critical(nullptr, QStringLiteral("%1 cannot start").arg(program), what);
}

int runProgram(int argc, char** argv, const ProgramIdentity& identity, const std::function<int()>& run) {
    if (const auto done = handleProgramArgs(argc, argv, identity.command, identity.description)) return *done;
    // Before the application: a folder that cannot be used is said even where no display is.
    // The folder as the system gives it, whatever letters its name has.
    if (const auto failure =
            enterFolderArgument(common::Env::current().programArguments(argc, argv), identity.command)) {
        reportStartFailure(argc, argv, identity.title, *failure);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(identity.title);
    QApplication::setWindowIcon(programIcon(identity.letter, identity.colour));
    if (argc < 2 && !settleStoreFolder(identity.title)) return 0;
    return run();
}

} // namespace platform
