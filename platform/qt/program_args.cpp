#include "platform/qt/program_args.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

namespace platform {

std::optional<int> handleProgramArgs(int argc, char** argv, const char* name, const char* description) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf("Usage: %s [FOLDER]\n\n%s\nFOLDER is the store's folder (default: the current folder).\n", name,
                        description);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("%s %s\n", name, VELMARON_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<QString> enterFolderArgument(const std::vector<std::string>& args, const char* name) {
    if (args.size() > 2)
        return QStringLiteral("%1 takes one folder, the store's, and was given %2 words.\n\nStart it with the store's "
                              "folder only (see %1 --help).")
            .arg(QString::fromLatin1(name))
            .arg(args.size() - 1);
    if (args.size() < 2) return std::nullopt;
    const QString folder = QString::fromStdString(args[1]);
    if (QDir::setCurrent(folder)) return std::nullopt;
    const QString shown = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral(
                   "The folder %1 does not exist.\n\nStart the program with the store's folder, or make that "
                   "folder first.")
            .arg(shown);
    if (!info.isDir())
        return QStringLiteral("%1 is a file, not a folder.\n\nStart the program with the store's folder.").arg(shown);
    return QStringLiteral(
               "The folder %1 cannot be opened: this user may not read it.\n\nAsk for access to it, or start "
               "the program with another folder.")
        .arg(shown);
}

} // namespace platform
