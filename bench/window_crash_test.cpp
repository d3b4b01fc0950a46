// Kills Interest's window as it posts (the scenario driver's platform, the report printed into a
// PDF and kept), at random moments from the first block to the end of the report, then starts
// it again on the store as a person would: the stopped posting is completed or recognised, its
// report written, and it is undone. After each: no empty or broken file in the store, every kept
// report a whole PDF, and the undo puts every file back byte for byte.
#include "bench/synthetic_store.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string bin; // the folder of this program, where posting-bench and uiscript are too

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The window's posting of 12-8-26 in `folder`, as posting-bench runs it; killed after `delay`
// unless that is zero. Returns the seconds it ran.
double windowPosting(const fs::path& folder, std::chrono::microseconds delay) {
    const auto t0 = std::chrono::steady_clock::now();
    std::fflush(nullptr); // nothing of this program's output written twice by the child
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        const std::string bench = bin + "/posting-bench";
        ::execl(bench.c_str(), "posting-bench", "--child", "window", folder.c_str(), "12-8-26", ".015", "1.00", "0",
                static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    if (delay.count() > 0) {
        std::this_thread::sleep_for(delay);
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Where the kill left the posting: not begun, in its blocks (a journal), before its report was
// finished (sealed, not described), or done.
std::string phaseOf(const fs::path& work) {
    if (fs::exists(work / "interest.jrn") && fs::file_size(work / "interest.jrn") > 0) return "in its blocks";
    if (!fs::exists(work / "INTBACK")) return "not begun";
    for (const auto& e : fs::directory_iterator(work / "INTBACK")) {
        if (!fs::exists(e.path() / "after.lst")) continue;
        return fs::exists(e.path() / "posting.txt") ? "done" : "in its report";
    }
    return "not begun";
}

// Interest started again: Start (Yes to what it asks first: a stopped posting is completed, a
// posting never begun is made, one made is not made twice), then Undo, Yes. Its transcript.
std::string startAgain(const fs::path& work) {
    std::ofstream(work / ".again.uis") << "today 12-08-2026\nopen interest\ntype Percentage \".015\"\n"
                                          "type MinFinance \"1.00\"\nanswer yes\nclick Start\nanswer yes\nclick undo\n";
    const std::string command = "cd '" + work.string() + "' && QT_QPA_PLATFORM=offscreen '" + bin +
                                "/uiscript' .again.uis > .again.out 2>/dev/null";
    std::system(command.c_str());
    const std::string transcript = bytesOf(work / ".again.out");
    fs::remove(work / ".again.uis");
    fs::remove(work / ".again.out");
    return transcript;
}

std::string problemOf(const fs::path& work, const fs::path& original, const std::string& phase,
                      const std::string& transcript) {
    if (phase == "in its report" && transcript.find("ended before its report was written") == std::string::npos)
        return "the posting stopped in its report was not recognised";
    if (transcript.find("was undone.") == std::string::npos) return "the posting could not be undone";
    for (const char* f : {"cust.dat", "Cust.ptn", "lastpost.dat", "1226.dat", "1226.ptn", "1126.dat"})
        if (fs::exists(original / f) != fs::exists(work / f) ||
            (fs::exists(original / f) && bytesOf(original / f) != bytesOf(work / f)))
            return std::string(f) + " is not as it was before the posting";
    for (const auto& e : fs::directory_iterator(work)) {
        const std::string name = e.path().filename().string();
        // (report.pdf is the paper the stand-in printer printed, not a file of the store)
        if (!e.is_regular_file() || name == "report.pdf") continue;
        if (name.ends_with(".~new")) return "a temporary was left: " + name;
        if (fs::file_size(e.path()) == 0) return "an empty file was left: " + name;
        if (name.ends_with(".pdf") && bytesOf(e.path()).rfind("%%EOF") == std::string::npos)
            return "a broken report was kept: " + name;
    }
    return {};
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bin = QCoreApplication::applicationDirPath().toStdString();
    const int kills = argc > 1 ? std::atoi(argv[1]) : 20;
    const int accounts = argc > 2 ? std::atoi(argv[2]) : 5000;
    QTemporaryDir tmp;
    const fs::path original = fs::path(tmp.path().toStdString()) / "original", work = original.parent_path() / "store";
    fs::create_directories(original);
    fs::current_path(original);
    bench::writeSyntheticStore(accounts, QDate(2026, 12, 8));
    fs::current_path(original.parent_path());
    // How long an uninterrupted posting takes, and that it can be undone.
    fs::copy(original, work, fs::copy_options::recursive);
    const double whole = windowPosting(work, {});
    if (phaseOf(work) != "done") {
        std::fprintf(stderr, "the uninterrupted posting did not complete\n");
        return 1;
    }
    std::mt19937 rng(20261209);
    // Half the kills anywhere in the posting, half in its last tenth, where the report ends.
    std::uniform_real_distribution<double> anywhere(0.05, 1.0), late(0.85, 1.0);
    std::map<std::string, int> phases;
    int bad = 0;
    for (int k = 1; k <= kills; ++k) {
        fs::remove_all(work);
        fs::copy(original, work, fs::copy_options::recursive);
        const double at = k % 2 ? anywhere(rng) : late(rng);
        windowPosting(work, std::chrono::microseconds(static_cast<long>(at * whole * 1e6)));
        const std::string phase = phaseOf(work);
        ++phases[phase];
        const std::string transcript = startAgain(work);
        const std::string problem = problemOf(work, original, phase, transcript);
        if (!problem.empty()) {
            ++bad;
            std::printf("kill %d (%s): %s\n", k, phase.c_str(), problem.c_str());
            if (std::getenv("CRASH_SHOW")) std::printf("%s\n", transcript.c_str());
        }
    }
    std::printf("%d kills of the window's posting of %d accounts (%.2f s uninterrupted):", kills, accounts, whole);
    for (const auto& [phase, n] : phases) std::printf(" %d %s,", n, phase.c_str());
    std::printf(" %d problems after starting again\n", bad);
    return bad == 0 ? 0 : 1;
}
