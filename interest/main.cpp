#include "interest_window.h"
#include "qt_platform.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf("Usage: interest [FOLDER]\n\n"
                        "Posts the monthly finance charges to the store's charge accounts\n"
                        "in FOLDER (default: the current folder).\n");
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("interest %s\n", VELMARON_VERSION);
            return 0;
        }
    }
    if (argc > 1 && !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "interest: cannot work in %s\n", argv[1]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Interest"));
    QtPlatform platform(QStringLiteral("Interest"));
    InterestForm window(platform.platform());
    platform.setParentWindow(&window);
    window.load();
    window.show();
    return app.exec();
}
