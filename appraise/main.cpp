#include "appraise/worksheet_window.h"
#include "platform/qt/program_start.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>

int main(int argc, char** argv) {
    using namespace platform;
    const ProgramIdentity appraise{"appraise", QStringLiteral("Appraise"),
                                   "The appraisal worksheet, for the customer that the store's main program\n"
                                   "handed over in apptrans.dat.",
                                   QChar('A'), QColor(0x1f, 0x6f, 0xb5)};
    return runProgram(argc, argv, appraise, [] {
        QtPlatform platform(QStringLiteral("Appraise"));
        appraise::WorksheetWindow window(platform.platform());
        platform.setParentWindow(&window);
        window.load();
        if (window.unloaded()) return 0;
        window.show();
        return QApplication::exec();
    });
}
