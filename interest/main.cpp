#include "interest_window.h"
#include "program_args.h"
#include "qt_platform.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const auto done = handleProgramArgs(argc, argv, "interest",
                                            "Posts the monthly finance charges to the store's charge accounts."))
        return *done;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Interest"));
    QtPlatform platform(QStringLiteral("Interest"));
    InterestForm window(platform.platform());
    platform.setParentWindow(&window);
    window.load();
    window.show();
    return app.exec();
}
