// Kills posting runs with SIGKILL at random points and checks the store after each: every
// account untouched or fully posted with its transaction in place, every chain walkable to
// its oldest record, no record overwritten; then a second run completes the posting to the
// same bytes as a run that was never stopped.
#include "bench/child_run.h"
#include "bench/synthetic_store.h"
#include "demo/store_layout.h"

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace common;
using namespace demo;
using namespace bench;

namespace fs = std::filesystem;

namespace {
const char* date = "12-8-26";
const std::string month = "1226";

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string rec(const std::string& file, size_t n, size_t len) {
    return (n >= 1 && n * len <= file.size()) ? file.substr((n - 1) * len, len) : std::string();
}

long number(std::string_view s) { return std::atol(std::string(s).c_str()); }

std::string trimmed(std::string_view s) {
    std::string t(s);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\0')) t.pop_back();
    while (!t.empty() && t.front() == ' ') t.erase(0, 1);
    return t;
}

// Starts a posting child and kills it after `delay`.
void killedRun(const std::string& folder, std::chrono::microseconds delay) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl("/proc/self/exe", "child", "--child", "post", folder.c_str(), date, ".015", "1.00", "1",
                static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    std::this_thread::sleep_for(delay);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Every invariant of a stopped run; returns what is wrong, or nothing.
std::string check(const fs::path& work, const fs::path& original, const fs::path& reference) {
    const std::string cust = bytesOf(work / "cust.dat"), custBefore = bytesOf(original / "cust.dat"),
                      custAfter = bytesOf(reference / "cust.dat");
    const std::string monthFile = bytesOf(work / (month + ".dat")), monthRef = bytesOf(reference / (month + ".dat"));
    const long pointer = fs::exists(work / (month + ".ptn")) ? number(bytesOf(work / (month + ".ptn"))) : 0;
    if (cust.size() != custBefore.size()) return "cust.dat changed size";
    const size_t records = monthFile.size() / trans::length;
    if (monthFile.size() % trans::length) return "a partial transaction record";
    if (static_cast<long>(records) > pointer + 1) return "more than one transaction beyond the pointer";
    for (size_t r = 1; r <= records; ++r)
        if (rec(monthFile, r, trans::length) != rec(monthRef, r, trans::length))
            return "transaction " + std::to_string(r) + " differs from the uninterrupted run";
    std::map<std::string, std::string> monthFiles{{month, monthFile}};
    auto monthOf = [&](const std::string& code) -> const std::string& {
        auto it = monthFiles.find(code);
        if (it == monthFiles.end()) it = monthFiles.emplace(code, bytesOf(work / (code + ".dat"))).first;
        return it->second;
    };
    const size_t accounts = cust.size() / cust::length;
    for (size_t i = 1; i <= accounts; ++i) {
        const std::string now = rec(cust, i, cust::length);
        if (now != rec(custBefore, i, cust::length) && now != rec(custAfter, i, cust::length))
            return "account " + std::to_string(i) + " is half posted";
        // Walk the chain to its oldest record.
        std::string file = trimmed(std::string_view(now).substr(cust::lasttxfile.offset, 4));
        long r = number(std::string_view(now).substr(cust::lasttxrec.offset, 8));
        std::set<std::pair<std::string, long>> seen;
        while (r > 0) {
            if (!seen.insert({file, r}).second) return "account " + std::to_string(i) + " chain loops";
            const std::string& data = monthOf(file);
            if (file == month && r > pointer) return "account " + std::to_string(i) + " points past the pointer";
            const std::string t = rec(data, static_cast<size_t>(r), trans::length);
            if (t.empty()) return "account " + std::to_string(i) + " points at a missing transaction";
            if (static_cast<size_t>(number(std::string_view(t).substr(0, 5))) != i)
                return "account " + std::to_string(i) + " chain leaves the account";
            file = trimmed(std::string_view(t).substr(trans::prevfile.offset, 4));
            r = number(std::string_view(t).substr(trans::prevrec.offset, 8));
        }
    }
    for (const auto& e : fs::directory_iterator(original)) {
        const std::string name = e.path().filename().string();
        if (name.size() == 8 && name.substr(4) == ".dat" && name != "cust.dat" && name.substr(0, 4) != month &&
            bytesOf(e.path()) != bytesOf(work / name))
            return name + " was written";
    }
    return {};
}
} // namespace

int main(int argc, char** argv) {
    if (const int rc = childMain(argc, argv); rc >= 0) return rc;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    const int accounts = argc > 2 ? std::atoi(argv[2]) : 2000;
    if (runs < 1 || accounts < 1) {
        std::fprintf(stderr, "Usage: crash-test [RUNS] [ACCOUNTS]\n");
        return 2;
    }
    QTemporaryDir tmp;
    const fs::path root = tmp.path().toStdString();
    const fs::path original = root / "original", reference = root / "reference", work = root / "work";
    fs::create_directories(original);
    QDir::setCurrent(QString::fromStdString(original.string()));
    writeSyntheticStore(accounts, QDate(2026, 12, 8));
    fs::copy(original, reference, fs::copy_options::recursive);
    const auto t0 = std::chrono::steady_clock::now();
    double seconds = 0;
    if (runChild("post", reference.c_str(), date, true, &seconds, nullptr) != 0) {
        std::fprintf(stderr, "the uninterrupted run failed\n");
        return 1;
    }
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);

    std::mt19937 rng(20261208);
    std::uniform_int_distribution<long> when(0, whole.count() * 12 / 10);
    int bad = 0, finished = 0;
    for (int k = 1; k <= runs; ++k) {
        fs::remove_all(work);
        fs::copy(original, work, fs::copy_options::recursive);
        killedRun(work.string(), std::chrono::microseconds(when(rng)));
        std::string problem = check(work, original, reference);
        auto sameAsReference = [&] {
            for (const std::string& f : {std::string("cust.dat"), month + ".dat", month + ".ptn"})
                if (!fs::exists(work / f) || bytesOf(work / f) != bytesOf(reference / f)) return false;
            return true;
        };
        // A kill that came after the run had finished leaves a completed posting: nothing to redo.
        const bool completed = !fs::exists(work / "interest.jrn") && sameAsReference();
        if (completed) ++finished;
        if (problem.empty() && !completed) {
            if (runChild("post", work.c_str(), date, true, nullptr, nullptr) != 0) problem = "the second run failed";
            else if (fs::exists(work / "interest.jrn")) problem = "the journal was left";
            else if (!sameAsReference()) problem = "after the second run the store differs from an uninterrupted run";
        }
        if (!problem.empty()) {
            ++bad;
            std::printf("run %d: %s\n", k, problem.c_str());
        }
    }
    std::printf("%d killed runs of %d accounts (an uninterrupted run takes %.1f ms; %d were killed after they had "
                "finished), %d inconsistencies\n",
                runs, accounts, whole.count() / 1000.0, finished, bad);
    return bad == 0 ? 0 : 1;
}
