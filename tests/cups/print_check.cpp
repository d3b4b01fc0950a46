// Prints an appraisal of the demo store and a posting's report through the real printing code
// to the system's default printer, answering the windows' boxes from a script. Run by
// scripts/cups-check.sh, which sets up a PDF printer queue and checks what it wrote.
#include "appraise/worksheet_window.h"
#include "demo/demo_store.h"
#include "interest/interest_window.h"
#include "platform/doubles/scripted_platform.h"
#include "platform/qt/qt_printer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPrinterInfo>
#include <cstdio>
#include <iostream>

using namespace platform;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: print-check EMPTY-FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        std::fprintf(stderr, "print-check: no default printer\n");
        return 1;
    }
    if (!QDir().mkpath(argv[1]) || !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) return 2;
    demo::writeDemoStore(QDate(2026, 12, 8));
    std::FILE* apptrans = std::fopen("apptrans.dat", "wb");
    std::fputs("Maria DIAZ\r\n301 Pine Rd\r\n\"Anytown, ST 12344\"\r\n4\r\n", apptrans);
    std::fclose(apptrans);

    // The scripted platform's boxes and clock, with the system's printer.
    Transcript transcript([](const std::string& line) { std::cout << line << '\n'; });
    ScriptSetup setup;
    setup.today = QDate(2026, 12, 8);
    ScriptedPlatform scripted(setup, transcript);
    QtPrinter printer(QStringLiteral("print-check"));
    const Platform& s = scripted.platform();
    Platform p{s.messages, s.input,    s.fonts,     s.printSetup, printer,     s.processes,
               s.clock,    s.instance, s.clipboard, s.screen,     s.documents, s.pictures};

    {
        appraise::WorksheetWindow worksheet(p);
        worksheet.load();
        worksheet.findChild<QAbstractButton*>("Ring")->click();
        worksheet.findChild<QAbstractButton*>("nextitem")->click();
        worksheet.findChild<QAbstractButton*>("seetext")->click();
        scripted.queueMessageAnswer(Answer::No); // not saved to the hard disk
        worksheet.printText();
    }
    {
        interest::InterestWindow window(p);
        window.load();
        scripted.queueMessageAnswer(Answer::Yes); // the posting confirmed
        try {
            window.postInterest();
        } catch (const ProgramEnded&) {
            // A posting that cannot go on ends the program; its report has been printed.
        }
    }
    std::printf("printed on %s\n", qPrintable(QPrinterInfo::defaultPrinter().printerName()));
    return 0;
}
