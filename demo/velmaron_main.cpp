#include "demo/velmaron_window.h"
#include "platform/qt/program_start.h"

#include <QApplication>

int main(int argc, char** argv) {
    using namespace platform;
    const ProgramIdentity velmaron{"velmaron", QStringLiteral("Velmaron"),
                                   "The stand-in for the store's main program: the customer list of\n"
                                   "cust.dat, Appraisal and Interest.",
                                   QChar('V'), QColor(0x8b, 0x3a, 0x62)};
    return runProgram(argc, argv, velmaron, [] {
        demo::VelmaronWindow window;
        window.show();
        return QApplication::exec();
    });
}
