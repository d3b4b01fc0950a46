#include "interest/interest_window.h"
#include "platform/program_args.h"
#include "platform/qt_platform.h"

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
    QtPlatform platform(QStringLiteral("Interest"));
    InterestWindow window(platform.platform());
    platform.setParentWindow(&window);
    window.load();
    window.show();
    return app.exec();
}
