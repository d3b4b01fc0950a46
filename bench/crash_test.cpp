// Kills posting runs with SIGKILL at random points and checks the store after each: every
// account untouched or fully posted with its transaction in place, every chain walkable to
// its oldest record, no record overwritten; then a second run completes the posting: to the
// same bytes as a run that was never stopped or, when a stand-in for the main program traded
// in between, with every sale and change of the main program intact.
#include "bench/child_run.h"
#include "bench/synthetic_store.h"
#include "bench/test_stores.h"
#include "common/basic_number.h"
#include "common/fixed_field.h"
#include "store/account_record.h"
#include "store/transaction_record.h"

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace common;
namespace custrec = store::account;
namespace transrec = store::transaction;
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

// A temporary file of a replace left in the store after the run completed.
bool strayTemporary(const fs::path& work) {
    for (const auto& e : fs::directory_iterator(work))
        if (e.path().string().ends_with(".~new")) return true;
    return false;
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

// Walks every account's chain from its newest transaction to its oldest: each record there,
// counted by its pointer when it is in the posting month, of the account, visited once. Returns
// what is wrong, or nothing; `visit` sees each account's chain as (file, record) places.
std::string walkChains(const fs::path& work, const std::string& cust, long pointer,
                       const std::function<void(size_t, const std::vector<std::pair<std::string, long>>&,
                                                const std::map<std::string, std::string>&)>& visit = {}) {
    std::map<std::string, std::string> monthFiles;
    auto monthOf = [&](const std::string& code) -> const std::string& {
        auto it = monthFiles.find(code);
        if (it == monthFiles.end()) it = monthFiles.emplace(code, bytesOf(work / (code + ".dat"))).first;
        return it->second;
    };
    const size_t accounts = cust.size() / custrec::length;
    for (size_t i = 1; i <= accounts; ++i) {
        const std::string now = rec(cust, i, custrec::length);
        std::string file = trimmed(std::string_view(now).substr(custrec::lasttxfile.offset, 4));
        long r = number(std::string_view(now).substr(custrec::lasttxrec.offset, 8));
        std::vector<std::pair<std::string, long>> chain;
        std::set<std::pair<std::string, long>> seen;
        while (r > 0) {
            if (!seen.insert({file, r}).second) return "account " + std::to_string(i) + " chain loops";
            const std::string& data = monthOf(file);
            if (file == month && r > pointer) return "account " + std::to_string(i) + " points past the pointer";
            const std::string t = rec(data, static_cast<size_t>(r), transrec::length);
            if (t.empty()) return "account " + std::to_string(i) + " points at a missing transaction";
            if (static_cast<size_t>(number(std::string_view(t).substr(0, 5))) != i)
                return "account " + std::to_string(i) + " chain leaves the account";
            chain.emplace_back(file, r);
            file = trimmed(std::string_view(t).substr(transrec::prevfile.offset, 4));
            r = number(std::string_view(t).substr(transrec::prevrec.offset, 8));
        }
        if (visit) visit(i, chain, monthFiles);
    }
    return {};
}

// Every invariant of a stopped run; returns what is wrong, or nothing.
std::string check(const fs::path& work, const fs::path& original, const fs::path& reference) {
    const std::string cust = bytesOf(work / "cust.dat"), custBefore = bytesOf(original / "cust.dat"),
                      custAfter = bytesOf(reference / "cust.dat");
    const std::string monthFile = bytesOf(work / (month + ".dat")), monthRef = bytesOf(reference / (month + ".dat"));
    const long pointer = fs::exists(work / (month + ".ptn")) ? number(bytesOf(work / (month + ".ptn"))) : 0;
    if (cust.size() != custBefore.size()) return "cust.dat changed size";
    // A block's transactions are written before the pointer moves past them, and a kill inside a
    // write can leave the start of a record only: beyond the pointer, where no account points
    // (the walk below checks that), the resume finds them.
    const size_t records = (monthFile.size() + transrec::length - 1) / transrec::length;
    if (monthFile.size() % transrec::length && static_cast<long>(records) <= pointer)
        return "a partial transaction record within the pointer";
    for (size_t r = 1; r <= records; ++r) {
        const std::string here = monthFile.substr((r - 1) * transrec::length, transrec::length);
        if (here != rec(monthRef, r, transrec::length).substr(0, here.size()))
            return "transaction " + std::to_string(r) + " differs from the uninterrupted run";
    }
    const size_t accounts = cust.size() / custrec::length;
    for (size_t i = 1; i <= accounts; ++i) {
        const std::string now = rec(cust, i, custrec::length);
        if (now != rec(custBefore, i, custrec::length) && now != rec(custAfter, i, custrec::length))
            return "account " + std::to_string(i) + " is half posted";
    }
    if (std::string chains = walkChains(work, cust, pointer); !chains.empty()) return chains;
    for (const auto& e : fs::directory_iterator(original)) {
        const std::string name = e.path().filename().string();
        if (name.size() == 8 && name.substr(4) == ".dat" && name != "cust.dat" && name.substr(0, 4) != month &&
            bytesOf(e.path()) != bytesOf(work / name))
            return name + " was written";
    }
    return {};
}
struct Sale {
    size_t account;
    long record;
    std::string bytes;
};

// The stand-in for the main program trading between a stop and the next run: each sale goes
// after the month's pointer (over a record the stopped run wrote past it, as the main program
// would), the pointer moves on, and the account points at its sale and owes more. Half of the
// time one sale is to the account the stopped run was writing.
std::vector<Sale> trade(const fs::path& work, std::mt19937& rng, int count) {
    std::fstream cust(work / "cust.dat", std::ios::in | std::ios::out | std::ios::binary);
    if (!fs::exists(work / (month + ".dat"))) std::ofstream(work / (month + ".dat"), std::ios::binary);
    std::fstream monthFile(work / (month + ".dat"), std::ios::in | std::ios::out | std::ios::binary);
    const size_t accounts = fs::file_size(work / "cust.dat") / custrec::length;
    std::uniform_int_distribution<size_t> anyAccount(1, accounts);
    size_t inFlight = 0;
    // The first account the journal's block changes, from the slot that holds an entry.
    const std::string journal = bytesOf(work / "interest.jrn");
    for (size_t at : {size_t{0}, size_t{32} * 1024 * 1024}) {
        if (journal.size() < at + 57 || journal.compare(at, 5, "VJRN2") != 0 || journal[at + 49] == 0) continue;
        for (int b = 3; b >= 0; --b)
            inFlight = inFlight * 256 + static_cast<unsigned char>(journal[at + 53 + static_cast<size_t>(b)]);
        break;
    }
    if (inFlight > accounts) inFlight = 0;
    std::vector<Sale> sales;
    for (int k = 0; k < count; ++k) {
        const size_t a = (k == 0 && inFlight > 0 && rng() % 2 == 0) ? inFlight : anyAccount(rng);
        std::string acct(custrec::length, '\0');
        cust.seekg(static_cast<std::streamoff>((a - 1) * custrec::length));
        cust.read(acct.data(), static_cast<std::streamsize>(acct.size()));
        const long record = number(bytesOf(work / (month + ".ptn"))) + 1;
        std::string t(transrec::length, ' ');
        storeField(t, transrec::acctno, std::to_string(a));
        storeField(t, transrec::prevfile, fieldText(acct, custrec::lasttxfile));
        storeField(t, transrec::prevrec, fieldText(acct, custrec::lasttxrec));
        storeField(t, transrec::descr, "Sale");
        storeField(t, transrec::amount, "25.00");
        storeField(t, transrec::txdate, "12-9-26");
        storeField(t, transrec::txtype, "A");
        monthFile.seekp(static_cast<std::streamoff>((record - 1) * transrec::length));
        monthFile.write(t.data(), static_cast<std::streamsize>(t.size()));
        monthFile.flush();
        std::ofstream(work / (month + ".ptn"), std::ios::binary) << ' ' << record << "\r\n";
        storeField(acct, custrec::lasttxfile, month);
        storeField(acct, custrec::lasttxrec, std::to_string(record));
        storeField(acct, custrec::balance, generalFormat(val(fieldText(acct, custrec::balance)) + 25));
        cust.seekp(static_cast<std::streamoff>((a - 1) * custrec::length));
        cust.write(acct.data(), static_cast<std::streamsize>(acct.size()));
        cust.flush();
        sales.push_back(Sale{a, record, t});
    }
    return sales;
}

// After the main program traded and the posting was completed: every sale and every change of
// the main program intact, every chain whole, no account charged twice, and every account the
// main program did not touch posted as an uninterrupted run posts it.
std::string checkAfterTrading(const fs::path& work, const fs::path& reference, const std::vector<Sale>& sales) {
    const std::string cust = bytesOf(work / "cust.dat"), custRef = bytesOf(reference / "cust.dat");
    const std::string monthFile = bytesOf(work / (month + ".dat"));
    const long pointer = number(bytesOf(work / (month + ".ptn")));
    if (monthFile.size() % transrec::length) return "a partial transaction record";
    if (static_cast<long>(monthFile.size() / transrec::length) != pointer)
        return "the pointer does not count the records";
    std::set<size_t> sold;
    for (const Sale& sale : sales) {
        sold.insert(sale.account);
        if (rec(monthFile, static_cast<size_t>(sale.record), transrec::length) != sale.bytes)
            return "the sale at record " + std::to_string(sale.record) + " was written over (now \"" +
                   rec(monthFile, static_cast<size_t>(sale.record), transrec::length).substr(0, 60) + "\")";
    }
    std::string problem;
    const std::string chains =
        walkChains(work, cust, pointer,
                   [&](size_t i, const std::vector<std::pair<std::string, long>>& chain,
                       const std::map<std::string, std::string>& files) {
                       if (!problem.empty()) return;
                       int charges = 0;
                       std::set<long> inMonth;
                       for (const auto& [file, r] : chain) {
                           const std::string t = rec(files.at(file), static_cast<size_t>(r), transrec::length);
                           if (file == month) inMonth.insert(r);
                           if (trimmed(fieldText(t, transrec::txdate)) == date &&
                               fieldText(t, transrec::descr).substr(0, 8) == "Interest")
                               ++charges;
                       }
                       if (charges > 1) problem = "account " + std::to_string(i) + " was charged twice";
                       for (const Sale& sale : sales)
                           if (sale.account == i && !inMonth.count(sale.record))
                               problem = "account " + std::to_string(i) + " lost its sale at record " +
                                         std::to_string(sale.record);
                       if (sold.count(i)) return;
                       // Untouched by the main program: posted exactly as the uninterrupted run posted it,
                       // but for the record number of its charge, which the sales moved on.
                       std::string now = rec(cust, i, custrec::length), ref = rec(custRef, i, custrec::length);
                       storeField(now, custrec::lasttxrec, "");
                       storeField(ref, custrec::lasttxrec, "");
                       if (now != ref) problem = "account " + std::to_string(i) + " differs from the uninterrupted run";
                   });
    return chains.empty() ? problem : chains;
}
} // namespace

int main(int argc, char** argv) {
    if (const int rc = childMain(argc, argv); rc >= 0) return rc;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    const int accounts = argc > 2 ? std::atoi(argv[2]) : 2000;
    // Blocks of 256 accounts, so that a kill can come between blocks, inside a block's writes,
    // and inside the journal's.
    if (qEnvironmentVariableIsEmpty("POSTING_BLOCK")) qputenv("POSTING_BLOCK", "256");
    if (runs < 1 || accounts < 1) {
        std::fprintf(stderr, "Usage: crash-test [RUNS] [ACCOUNTS]\n");
        return 2;
    }
    const TestStores stores(accounts);
    const fs::path &original = stores.original, &reference = stores.reference, &work = stores.work;
    const auto t0 = std::chrono::steady_clock::now();
    double seconds = 0;
    if (runChild("post", reference.c_str(), date, true, &seconds, nullptr) != 0) {
        std::fprintf(stderr, "the uninterrupted run failed\n");
        return 1;
    }
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);

    std::mt19937 rng(20261208);
    std::uniform_int_distribution<long> when(0, whole.count());
    int bad = 0, finished = 0, traded = 0;
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
        // Every other time the main program trades before the posting is run again.
        const bool trading = k % 2 == 0;
        if (problem.empty() && !completed) {
            const std::vector<Sale> sales = trading ? trade(work, rng, 3) : std::vector<Sale>{};
            if (trading) ++traded;
            if (const char* keep = std::getenv("CRASH_KEEP")) {
                fs::remove_all(fs::path(keep) / "before-resume");
                fs::copy(work, fs::path(keep) / "before-resume", fs::copy_options::recursive);
            }
            if (runChild("post", work.c_str(), date, true, nullptr, nullptr) != 0) problem = "the second run failed";
            else if (fs::exists(work / "interest.jrn")) problem = "the journal was left";
            else if (trading) problem = checkAfterTrading(work, reference, sales);
            else if (!sameAsReference()) problem = "after the second run the store differs from an uninterrupted run";
            if (problem.empty() && strayTemporary(work)) problem = "a temporary file was left";
        }
        if (!problem.empty()) {
            if (const char* keep = std::getenv("CRASH_KEEP")) // for looking into a failed run
                fs::rename(fs::path(keep) / "before-resume", fs::path(keep) / ("run" + std::to_string(k)));
            ++bad;
            std::printf("run %d: %s\n", k, problem.c_str());
        }
    }
    std::printf("%d killed runs of %d accounts (an uninterrupted run takes %.1f ms; %d were killed after they had "
                "finished; before %d of the resumed runs the main program traded), %d inconsistencies\n",
                runs, accounts, whole.count() / 1000.0, finished, traded, bad);
    return bad == 0 ? 0 : 1;
}
