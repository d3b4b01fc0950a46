// Appraise's long texts and its start in a crowded store folder, headless on the scripted
// platform:
// - a text of N characters (one passage line of words) composed, saved and reopened, through
//   the plain functions and through the window's See Text, Save and the list of appraisals;
// - the window's start-up with 999 appraisals of the customer in a store folder of 2,000 files,
//   against a store folder with nothing but what Appraise needs;
// - the register opened over 20,000 appraisals, against one read of the bytes it shows from
//   each file.
#include "appraise/documents/appraisal_files.h"
#include "appraise/documents/appraisal_register.h"
#include "appraise/documents/composition.h"
#include "appraise/worksheet_window.h"
#include "common/text_file.h"
#include "platform/doubles/scripted_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <vector>

using namespace common;
using namespace platform;
using namespace appraise;
namespace fs = std::filesystem;

namespace {
double seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// An appraisal of one item as the composition words it, kept an hour ago.
std::string appraisalText(int number) {
    const std::string customer = "Customer " + std::to_string(number / 1000);
    return "12-9-25\r\nAppraisal for\r\n" + customer +
           "\r\n12 Main St\r\nAnytown, ST 12345\r\n\r\nThe items described below were examined and appraised "
           "by the undersigned for insurance replacement.\r\n\r\nItem number 1 of 1 items:\r\n\r\nOne lady's ring "
           "made of 14 karat yellow gold, weighing 3.2 grams, set with one round brilliant diamond.\r\n\r\n"
           "      Carat :  .50    Color :  G    Clarity :  VS1\r\n\r\n"
           "                                Replacement Value:  " +
           std::to_string(1000 + number % 5000) + ".00\r\n\r\nSigned, the store's appraiser\r\n";
}
void putAppraisal(const fs::path& p, int number) {
    put(p, appraisalText(number));
    fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

// What Appraise needs to start without a question: settings, a logo-less store, a customer.
void minimalStore(const fs::path& dir) {
    fs::create_directories(dir / "APPRAISE");
    put(dir / "align.fac",
        joinLines({"48", "70", "70", "70", "450", "35", "1000", "40", "2600", "35", "2300", "60", "50"}));
    put(dir / "bordsize.dat", "50\r\n");
    put(dir / "DefontAp.dat", "Times New Roman\r\n12\r\n1\r\n1\r\n");
    put(dir / "apptrans.dat", "Ann Smith\r\n12 Main St\r\nAnytown\r\n12\r\n");
    put(dir / "velmaron.exe", "#!/bin/sh\n");
}

std::string words(size_t n) {
    std::string s;
    s.reserve(n);
    while (s.size() < n) s += "gold ";
    s.resize(n);
    return s;
}

struct Window {
    std::vector<std::string> lines;
    Transcript transcript{[this](const std::string& l) { lines.push_back(l); }};
    ScriptedPlatform scripted{setup(), transcript};
    static ScriptSetup setup() {
        ScriptSetup s;
        s.today = QDate(2026, 12, 8);
        return s;
    }
    WorksheetWindow window{scripted.platform()};
};

void longText(size_t n) {
    // Plain functions.
    CompositionInput in;
    WorksheetTables tables;
    in.tables = &tables;
    in.openingLines = {words(n)};
    std::string text;
    const double compose = seconds([&] { text = composeAppraisal(in); });
    const double save = seconds([&] { writeBytes("plain.app", trimForSave(text) + "\r\n"); });
    const double reopen = seconds([&] { text = reopenAppraisal("plain.app"); });
    // Through the window: See Text, Save, and the text reopened from the list.
    put("opening.app", words(n) + "\r\n");
    double seetext = 0, saveWindow = 0, reopenWindow = 0;
    {
        Window w;
        w.window.load();
        // An item to compose (an item with nothing entered has no wording).
        w.window.findChild<QAbstractButton*>("Ring")->click();
        w.window.findChild<QAbstractButton*>("nextitem")->click();
        seetext = seconds([&] { w.window.seeText(); });
        saveWindow = seconds([&] { w.window.saveText(); });
    }
    {
        Window w;
        w.window.load();
        auto* list = w.window.findChild<QListWidget*>("appraisalist");
        reopenWindow = seconds([&] { w.window.openAppraisal(list->item(1)->text()); });
    }
    fs::remove_all("APPRAISE");
    fs::create_directory("APPRAISE");
    std::printf("| %zu | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f |\n", n, compose, save, reopen, seetext, saveWindow,
                reopenWindow);
}

double startup(int runs) {
    std::vector<double> t;
    for (int k = 0; k < runs; ++k) {
        Window w;
        t.push_back(seconds([&] { w.window.load(); }));
        if (k == 0 && std::getenv("BENCH_DEBUG"))
            for (const auto& l : w.lines) std::printf("  %s\n", l.c_str());
    }
    return median(t);
}
// One read of the bytes the register shows, from each appraisal file: opened, read from its start
// to the end of its value line (the last thing shown), closed. No program that shows them from
// the files can read less.
double shownBytesFloor(const fs::path& folder, const std::vector<std::string>& names, size_t shownBytes) {
    std::string buffer(shownBytes, '\0');
    return seconds([&] {
        for (const std::string& n : names) {
            const int fd = ::open((folder / n).c_str(), O_RDONLY);
            if (fd < 0 || ::pread(fd, buffer.data(), buffer.size(), 0) <= 0)
                std::fprintf(stderr, "floor: %s\n", n.c_str());
            ::close(fd);
        }
    });
}

void registerOpening(const fs::path& dir, int count) {
    minimalStore(dir);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%08d.app", 10001000 + i);
        names.push_back(name);
        putAppraisal(dir / "APPRAISE" / name, 10001000 + i);
    }
    const std::string text = appraisalText(10001000);
    const size_t shown = text.find("\r\n", text.find("Replacement Value:")) + 2;
    QDir::setCurrent(QString::fromStdString(dir.string()));
    std::vector<double> first, again, reading, floor;
    for (int round = 0; round < 5; ++round) { // interleaved, so that all see the same machine
        fs::remove(dir / "APPRAISE" / "appraisals.idx");
        Window w;
        w.window.load();
        first.push_back(seconds([&] { w.window.showRegister(); }));
        Window w2;
        w2.window.load();
        again.push_back(seconds([&] { w2.window.showRegister(); }));
        if (w2.window.findChild<QListWidget*>("registerList")->count() != count)
            std::fprintf(stderr, "register short\n");
        reading.push_back(seconds([] { readRegister(QDate(2026, 12, 8)); }));
        floor.push_back(shownBytesFloor(dir / "APPRAISE", names, shown));
    }
    const double f = median(first), a = median(again), r = median(reading), fl = median(floor);
    std::printf("\nThe register over %d appraisals, seconds (medians of 5, interleaved)\n\n", count);
    std::printf("| one read of the bytes shown | opened, no index yet | opened again | of which the list read | "
                "again / one read |\n");
    std::printf("|---:|---:|---:|---:|---:|\n| %.4f | %.4f | %.4f | %.4f | %.2f |\n", fl, f, a, r, a / fl);
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const fs::path root = tmp.path().toStdString();

    minimalStore(root / "text");
    QDir::setCurrent(QString::fromStdString((root / "text").string()));
    std::printf("Long text, seconds (plain functions: compose, save, reopen; window: See Text, Save, reopen)\n\n");
    std::printf("| characters | compose | save | reopen | See Text | Save | reopen from the list |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
    for (size_t n : {100000, 300000, 1000000}) longText(n);

    minimalStore(root / "empty");
    minimalStore(root / "crowded");
    for (int i = 0; i < 2000; ++i) put(root / "crowded" / ("sale" + std::to_string(i) + ".dat"), "x\r\n");
    for (int i = 1; i <= 999; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "00012%03d.app", i);
        putAppraisal(root / "crowded" / "APPRAISE" / name, 12000 + i);
    }
    std::vector<double> empty, crowded;
    for (int round = 0; round < 5; ++round) { // interleaved, so that both see the same machine
        QDir::setCurrent(QString::fromStdString((root / "empty").string()));
        empty.push_back(startup(3));
        QDir::setCurrent(QString::fromStdString((root / "crowded").string()));
        crowded.push_back(startup(3));
    }
    // The whole start as the user waits for it: a process that opens the window, shows it and
    // ends (uiscript, beside this program, with a script of one "open").
    const std::string uiscript = QCoreApplication::applicationDirPath().toStdString() + "/uiscript";
    put(root / "open.uis", "today 12-08-2026\nopen worksheet\n");
    auto processStart = [&](const fs::path& dir) {
        const std::string cmd =
            "cd '" + dir.string() + "' && '" + uiscript + "' '" + (root / "open.uis").string() + "' > /dev/null 2>&1";
        return seconds([&] {
            if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "uiscript failed in %s\n", dir.c_str());
        });
    };
    std::vector<double> emptyProcess, crowdedProcess;
    for (int round = 0; round < 21; ++round) {
        emptyProcess.push_back(processStart(root / "empty"));
        crowdedProcess.push_back(processStart(root / "crowded"));
    }
    const double e = median(empty), c = median(crowded), ep = median(emptyProcess), cp = median(crowdedProcess);
    std::printf("\nStart-up, seconds: the window's load (median of 15) and the whole process that opens the "
                "window (median of 21)\n\n");
    std::printf("| store folder | load | process |\n|---|---:|---:|\n");
    std::printf("| what Appraise needs | %.4f | %.3f |\n", e, ep);
    std::printf("| 2,000 files, 999 appraisals of the customer | %.4f | %.3f |\n", c, cp);
    std::printf("| crowded / empty | %.2f | %.2f |\n", c / e, cp / ep);

    registerOpening(root / "register", 20000);
    return 0;
}
