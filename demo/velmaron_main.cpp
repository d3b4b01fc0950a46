#include "demo/velmaron_window.h"
#include "platform/program_args.h"

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
    VelmaronWindow w;
    w.show();
    return app.exec();
}
