#include "platform/qt/program_args.h"

#include "common/env.h"

#include <QDir>
#include <QString>
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
    if (argc > 2) {
        std::fprintf(stderr, "%s: one folder at most; see --help\n", name);
        return 2;
    }
    // The folder as the system gives it, whatever letters its name has.
    const auto args = common::Env::current().programArguments(argc, argv);
    if (argc == 2 && !QDir::setCurrent(QString::fromStdString(args.size() > 1 ? args[1] : std::string(argv[1])))) {
        std::fprintf(stderr, "%s: cannot work in %s\n", name, argv[1]);
        return 2;
    }
    return std::nullopt;
}

} // namespace platform
