#include "program_args.h"
#include "qt_platform.h"
#include "worksheet_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const auto done = handleProgramArgs(argc, argv, "appraise",
                                            "The appraisal worksheet, for the customer that the store's main program\n"
                                            "handed over in apptrans.dat."))
        return *done;
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
