// Writes the demo store into a folder (made when missing); never over a store that is there.
#include "common/run_error.h"
#include "demo/demo_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

using namespace common;
using namespace demo;

int main(int argc, char** argv) {
    if (argc != 2 || QString(argv[1]) == "--help") {
        std::fprintf(stderr, "Usage: make-demo-store FOLDER\n");
        return argc == 2 ? 0 : 2;
    }
#ifndef Q_OS_WIN
    // No window is shown: a machine without a display writes the store too. Windows has its own
    // platform plugin with every program, and needs no other.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QGuiApplication app(argc, argv); // fonts for the logo
    // The folder as the system gives it, whatever letters its name has ("Złota Łódź").
    const QString folder = QCoreApplication::arguments().value(1);
    if (!QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
        std::fprintf(stderr, "make-demo-store: cannot use %s\n", folder.toLocal8Bit().constData());
        return 1;
    }
    try {
        writeDemoStore(QDate::currentDate());
    } catch (const RunError& e) {
        std::fprintf(stderr, "make-demo-store: %s\n", e.what());
        return e.number() == 58 ? 3 : 1;
    }
    std::printf("Demo store written to %s\n", QDir::toNativeSeparators(folder).toLocal8Bit().constData());
    return 0;
}
