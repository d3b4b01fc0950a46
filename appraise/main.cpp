#include "qt_platform.h"
#include "worksheet_window.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf("Usage: appraise [FOLDER]\n\n"
                        "The appraisal worksheet. Works on the store's files in FOLDER\n"
                        "(default: the current folder), for the customer that the main\n"
                        "program handed over in apptrans.dat.\n");
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("appraise %s\n", VELMARON_VERSION);
            return 0;
        }
    }
    if (argc > 1 && !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "appraise: cannot work in %s\n", argv[1]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Appraise"));
    QtPlatform platform(QStringLiteral("Appraise"));
    Worksheet window(platform.platform());
    platform.setParentWindow(&window);
    window.load();
    if (window.unloaded()) return 0;
    window.show();
    return app.exec();
}
