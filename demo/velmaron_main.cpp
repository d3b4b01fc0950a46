#include "demo/velmaron_window.h"
#include "platform/program_args.h"
#include "platform/store_folder.h"

#include <QApplication>

using namespace platform;
using namespace demo;

int main(int argc, char** argv) {
    if (const auto done = handleProgramArgs(argc, argv, "velmaron",
                                            "The stand-in for the store's main program: the customer list of\n"
                                            "cust.dat, Appraisal and Interest."))
        return *done;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmaron"));
    QApplication::setWindowIcon(programIcon(QChar('V'), QColor(0x8b, 0x3a, 0x62)));
    // Started from the desktop without a folder: the store's folder, asked for once.
    if (argc < 2 && !settleStoreFolder(QStringLiteral("Velmaron"))) return 0;
    VelmaronWindow w;
    w.show();
    return app.exec();
}
