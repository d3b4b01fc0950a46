#include "velmaron_window.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc > 1 && (QString(argv[1]) == "--help" || QString(argv[1]) == "-h")) {
        std::printf("Usage: velmaron [FOLDER]\n\nThe stand-in for the store's main program: the customer list of\n"
                    "cust.dat in FOLDER (default: the current folder), Appraisal and Interest.\n");
        return 0;
    }
    if (argc > 1 && !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "velmaron: cannot work in %s\n", argv[1]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmaron"));
    VelmaronWindow w;
    w.show();
    return app.exec();
}
