// uiscript: runs a scripted session of one of the windows and writes its transcript.
#include "tools/uiscript/session.h"

#include "common/env.h"
#include "tests/support/linux_fonts.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "Usage: uiscript SCRIPT   (or - for standard input; run it in the data folder)\n");
        return argc == 2 ? 0 : 2;
    }
    // The transcript is compared byte for byte on every system.
    common::Env::current().standardStreamsAsBytes();
    QApplication app(argc, argv);
    testsupport::useLinuxFontAliases();
    QFile f;
    if (std::string(argv[1]) == "-") {
        if (!f.open(stdin, QIODevice::ReadOnly)) return 2;
    } else {
        f.setFileName(QCoreApplication::arguments().value(1));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "uiscript: cannot read %s\n", argv[1]);
            return 2;
        }
    }
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    // The process ends without unloading: the script decides when the window closes.
    auto finish = [](int code) {
        std::cout.flush();
        common::Env::current().exitNow(code);
    };
    uiscript::Session session([](const QString& line) { std::cout << line.toStdString() << '\n'
                                                                  << std::flush; },
                              [](const QString& line) { std::cerr << line.toStdString() << '\n'; }, finish);
    session.finish(session.run(lines));
}
