#include "interest/interest_window.h"
#include "platform/program_args.h"
#include "platform/qt_platform.h"
#include "platform/store_folder.h"

#include <QApplication>

using namespace common;
using namespace platform;
using namespace interest;

int main(int argc, char** argv) {
    if (const auto done = handleProgramArgs(argc, argv, "interest",
                                            "Posts the monthly finance charges to the store's charge accounts."))
        return *done;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Interest"));
    QApplication::setWindowIcon(programIcon(QChar('I'), QColor(0x2e, 0x8b, 0x57)));
    // Started from the desktop without a folder: the store's folder, asked for once.
    if (argc < 2 && !settleStoreFolder(QStringLiteral("Interest"))) return 0;
    QtPlatform platform(QStringLiteral("Interest"));
    InterestWindow window(platform.platform());
    platform.setParentWindow(&window);
    window.load();
    window.show();
    return app.exec();
}
