// The posting run on synthetic stores of 1,000, 10,000, 100,000 and 1,000,000 accounts, with
// the firstmon setting off and on: headless, through the window (its report rendered into a PDF
// file by the real printing code), and the I/O floor (the run's own reads and writes, replayed
// in as few calls as they allow); prints a Markdown table.
#include "bench/child_run.h"
#include "bench/headless_posting.h"
#include "bench/synthetic_store.h"
#include "interest/interest_removal.h"
#include "interest/interest_window.h"
#include "interest/posting_run.h"
#include "interest/use_cases/kept_report.h"
#include "interest/use_cases/window_host.h"
#include "platform/doubles/scripted_platform.h"
#include "tests/support/headless_host.h"
#include "tests/support/scripted_desk.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace bench;

namespace fs = std::filesystem;

namespace {
// A child that prints: the scripted platform, as on 12-8-26, its printouts into this PDF file
// through Qt's printing (as on a printer); without `printer` no printer is installed.
platform::ScriptSetup printingInto(const QString& pdf, bool printer = true) {
    platform::ScriptSetup setup;
    setup.today = QDate(2026, 12, 8);
    setup.pdfFile = pdf;
    setup.printerInstalled = printer;
    return setup;
}

// The posting through the window, as Start posts it, on the scripted platform with the report
// printed into a PDF file and kept (window), or only kept, no printer installed (kept):
// --child window|kept FOLDER DATE RATE MINIMUM FIRSTMON.
int windowChild(int argc, char** argv) {
    if (argc != 8 || ::chdir(argv[3]) != 0) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::ofstream("NoIntLW.dat") << "No Interest on Layaways\r\n";
    if (std::strcmp(argv[7], "1") == 0) std::ofstream("firstmon.dat") << "Y\r\n";
    int qargc = 1;
    QApplication app(qargc, argv);
    testsupport::ScriptedDesk desk(printingInto(QStringLiteral("report.pdf"), std::strcmp(argv[2], "window") == 0));
    interest::InterestWindow window(desk.platform());
    window.load();
    window.findChild<QLineEdit*>("datebox")->setText(QString::fromLatin1(argv[4]));
    window.findChild<QLineEdit*>("Percentage")->setText(QString::fromLatin1(argv[5]));
    window.findChild<QLineEdit*>("MinFinance")->setText(QString::fromLatin1(argv[6]));
    // The posting confirmed, as the bookkeeper confirms it; the window stays open after it.
    desk.scripted.queueMessageAnswer(platform::Answer::Yes);
    desk.scripted.setOnEnd([] { std::_Exit(1); }); // a posting that could not go on
    const double cpu = bench::processCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    window.postInterest();
    bench::printTimes(t0, cpu);
    return 0;
}
// The report of a posting alone, as the window makes it (a heading on every page): kept, as the
// window keeps its copy (report), or printed into a PDF file through Qt's printing, as the window
// prints it and as it kept its copy before (printed). The posting runs headless first, untimed,
// keeping its report lines: --child report|printed FOLDER DATE RATE MINIMUM FIRSTMON.
int reportChild(int argc, char** argv) {
    if (argc != 8 || ::chdir(argv[3]) != 0) return 2;
    testsupport::HeadlessHost host(true);
    if (postHeadless(argv[4], argv[5], argv[6], std::strcmp(argv[7], "1") == 0, host) != 0) return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qargc = 1;
    QApplication app(qargc, argv);
    testsupport::ScriptedDesk desk(printingInto(QStringLiteral("report-alone.pdf")));
    const interest::WindowHost::Heading heading{
        {},
        QStringLiteral("Interest posting of %1   Rate %2   Minimum %3").arg(argv[4], argv[5], argv[6]),
        QDir::current().absolutePath(),
        QStringLiteral("12-9-26"),
        {}};
    interest::WindowHost printing(desk.platform(), {}, heading);
    const bool kept = std::strcmp(argv[2], "report") == 0;
    interest::KeptReport copy(desk.platform().clock, "12-8-26", desk.platform().printer.geometry(),
                              desk.platform().printer.lineHeightOf(interest::WindowHost::reportFont()));
    if (kept) printing.keepReportIn(copy, false);
    const auto t0 = std::chrono::steady_clock::now();
    for (const std::string& line : host.report()) printing.reportLine(QString::fromStdString(line));
    printing.endReport();
    if (kept) copy.keep();
    std::printf("%.6f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    return 0;
}

// The removal over every account (a phone no account has), and reading the account file once
// in one read: --child remove|readonce FOLDER ...
int removalChild(int argc, char** argv) {
    if (argc != 8 || ::chdir(argv[3]) != 0) return 2;
    const auto t0 = std::chrono::steady_clock::now();
    if (std::strcmp(argv[2], "remove") == 0) {
        testsupport::HeadlessHost host;
        interest::StepLabel steplabel;
        if (interest::removeInterest("no such phone", host, steplabel).removed != 0) return 1;
    } else {
        const int fd = ::open("cust.dat", O_RDONLY);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) return 1;
        std::string all(static_cast<size_t>(st.st_size), '\0');
        if (::pread(fd, all.data(), all.size(), 0) != st.st_size) return 1;
        ::close(fd);
    }
    std::printf("%.6f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0 &&
        (std::strcmp(argv[2], "window") == 0 || std::strcmp(argv[2], "kept") == 0))
        return windowChild(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0 &&
        (std::strcmp(argv[2], "report") == 0 || std::strcmp(argv[2], "printed") == 0))
        return reportChild(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0 &&
        (std::strcmp(argv[2], "remove") == 0 || std::strcmp(argv[2], "readonce") == 0))
        return removalChild(argc, argv);
    if (const int rc = childMain(argc, argv); rc >= 0) return rc;
    std::vector<int> sizes{1000, 10000, 100000, 1000000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i) {
            const int n = std::atoi(argv[i]);
            if (n < 1) {
                std::fprintf(stderr, "Usage: posting-bench [ACCOUNTS ...]\n");
                return 2;
            }
            sizes.push_back(n);
        }
    }
    QTemporaryDir tmp;
    std::string removalLine;
    const QDate today(2026, 12, 8);
    const std::string date = "12-8-26";
    std::printf(
        "| accounts | firstmon | floor s | peak MB | run s | peak MB | run / floor | window, kept s | peak MB | "
        "kept / floor | window, printed and kept s | peak MB | printed / floor | report alone, kept s | "
        "report alone, printed s | run CPU s | window, kept CPU s | kept CPU / 2 / floor |\n");
    std::printf("|---:|:---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int n : sizes) {
        const std::string store = tmp.path().toStdString() + "/store" + std::to_string(n);
        fs::create_directories(store);
        QDir::setCurrent(QString::fromStdString(store));
        writeSyntheticStore(n, today);
        QDir::setCurrent(tmp.path());
        for (bool firstmon : {false, true}) {
            // The trace of a run first. Then, five times over and interleaved, the floor
            // replaying it, the headless run, the window's and the report alone, each on a fresh
            // copy of the store written out to disk first (so that none starts with the copy's
            // writes still pending); the medians are shown.
            const std::string work = store + "-work";
            auto child = [&](const char* mode, double* seconds, long* kb, double* cpu = nullptr) {
                fs::remove_all(work);
                fs::copy(store, work, fs::copy_options::recursive);
                ::sync();
                const int rc = runChild(mode, work.c_str(), date.c_str(), firstmon, seconds, kb, cpu);
                if (rc != 0) std::fprintf(stderr, "%s failed with %d\n", mode, rc);
                return rc == 0;
            };
            if (!child("trace", nullptr, nullptr)) return 1;
            const char* modes[] = {"floor", "post", "kept", "window", "report", "printed"};
            constexpr int count = 6;
            std::vector<double> t[count], cpu[count];
            long kb[count] = {};
            for (int rep = 0; rep < 5; ++rep)
                for (int k = 0; k < count; ++k) {
                    double seconds = 0, processor = 0;
                    long peak = 0;
                    if (!child(modes[k], &seconds, &peak, &processor)) return 1;
                    t[k].push_back(seconds);
                    cpu[k].push_back(processor);
                    kb[k] = std::max(kb[k], peak);
                }
            fs::remove_all(work);
            fs::remove(work + ".trace");
            double m[count], c[count];
            for (int k = 0; k < count; ++k) {
                std::sort(t[k].begin(), t[k].end());
                std::sort(cpu[k].begin(), cpu[k].end());
                m[k] = t[k][2];
                c[k] = cpu[k][2];
            }
            // The window's processor time over both cores: what no arrangement of its work on
            // this machine's two cores could go under.
            std::printf(
                "| %d | %s | %.3f | %.1f | %.3f | %.1f | %.2f | %.3f | %.1f | %.2f | %.3f | %.1f | %.2f | %.3f | "
                "%.3f | %.3f | %.3f | %.2f |\n",
                n, firstmon ? "on" : "off", m[0], kb[0] / 1024.0, m[1], kb[1] / 1024.0, m[1] / m[0], m[2],
                kb[2] / 1024.0, m[2] / m[0], m[3], kb[3] / 1024.0, m[3] / m[0], m[4], m[5], c[1], c[2],
                c[2] / 2 / m[0]);
            std::fflush(stdout);
        }
        if (n == 100000) {
            // The removal against reading the account file once (medians of five, interleaved).
            std::vector<double> removal, once;
            for (int k = 0; k < 5; ++k) {
                double r = 0, o = 0;
                if (runChild("remove", store.c_str(), date.c_str(), false, &r, nullptr) != 0 ||
                    runChild("readonce", store.c_str(), date.c_str(), false, &o, nullptr) != 0)
                    return 1;
                removal.push_back(r);
                once.push_back(o);
            }
            std::sort(removal.begin(), removal.end());
            std::sort(once.begin(), once.end());
            removalLine = "The removal over 100,000 accounts: " + std::to_string(removal[2]) +
                          " s; reading the account file once: " + std::to_string(once[2]) + " s; ratio " +
                          std::to_string(removal[2] / once[2]) + ".";
        }
        fs::remove_all(store);
    }
    if (!removalLine.empty()) std::printf("\n%s\n", removalLine.c_str());
    return 0;
}
