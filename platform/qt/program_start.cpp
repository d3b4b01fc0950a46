#include "platform/qt/program_start.h"

#include "platform/qt/program_args.h"
#include "platform/qt/store_folder.h"

#include <QApplication>

namespace platform {

int runProgram(int argc, char** argv, const ProgramIdentity& identity, const std::function<int()>& run) {
    if (const auto done = handleProgramArgs(argc, argv, identity.command, identity.description)) return *done;
    QApplication app(argc, argv);
    QApplication::setApplicationName(identity.title);
    QApplication::setWindowIcon(programIcon(identity.letter, identity.colour));
    if (argc < 2 && !settleStoreFolder(identity.title)) return 0;
    return run();
}

} // namespace platform
