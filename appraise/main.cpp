#include "appraise/worksheet_window.h"
#include "platform/program_args.h"
#include "platform/qt_platform.h"
#include "platform/store_folder.h"

#include <QApplication>

using namespace common;
using namespace platform;
using namespace appraise;

int main(int argc, char** argv) {
    if (const auto done = handleProgramArgs(argc, argv, "appraise",
                                            "The appraisal worksheet, for the customer that the store's main program\n"
                                            "handed over in apptrans.dat."))
        return *done;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Appraise"));
    QApplication::setWindowIcon(programIcon(QChar('A'), QColor(0x1f, 0x6f, 0xb5)));
    // Started from the desktop without a folder: the store's folder, asked for once.
    if (argc < 2 && !settleStoreFolder(QStringLiteral("Appraise"))) return 0;
    QtPlatform platform(QStringLiteral("Appraise"));
    WorksheetWindow window(platform.platform());
    platform.setParentWindow(&window);
    window.load();
    if (window.unloaded()) return 0;
    window.show();
    return app.exec();
}
