// Power cuts: a posting is stopped at a random write as a power cut would stop the machine,
// and every write not yet made durable is thrown away; the next posting must complete the
// store to exactly the bytes of a posting that was never stopped.
//
// The posting runs in a child process (this program again, started with --cut) on the
// fault-injecting operating-system seam, which keeps, for every write since its file's last sync,
// what the write replaced. At the chosen write the child leaves that list and ends at once; the
// parent undoes those writes (newest first) and deletes the files created since their last sync,
// then posts again and checks the store.
#include "bench/headless_posting.h"
#include "bench/synthetic_store.h"
#include "bench/test_stores.h"
#include "tests/support/fault_env.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace common;
using namespace bench;
namespace fs = std::filesystem;

namespace {
const char* date = "12-8-26";

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

using Undo = testsupport::FaultEnv::Unsynced;

// The machine stops: what was not durable is written down for the parent to throw away.
[[noreturn]] void cut(const std::string& log, const std::vector<Undo>& unsynced) {
    std::ofstream out(log, std::ios::binary);
    for (const Undo& u : unsynced) {
        out << u.path << '\n' << u.offset << ' ' << u.oldSize << ' ' << u.created << ' ' << u.old.size() << '\n';
        out.write(u.old.data(), static_cast<std::streamsize>(u.old.size()));
    }
    out.close();
    std::_Exit(0);
}

// The child: posts in the folder, cut at write `cutAt` (0: never), and leaves the count of its
// writes in the folder.
int cutChild(const fs::path& folder, long cutAt) {
    fs::current_path(folder);
    // The operating system seam notes every write not yet synced, as the machine's loses them.
    testsupport::FaultEnv env;
    long writes = 0;
    const std::string log = (folder / ".undo").string();
    env.notePowerCut([&](long write) {
        writes = write;
        if (write == cutAt) cut(log, env.unsynced());
    });
    const int rc = postHeadless(date, ".015", "1.00", true);
    std::ofstream(folder / ".writes") << writes;
    std::_Exit(rc);
}

std::string self;

// Posts in the folder in a child, cut at write `cutAt` (0: never); returns the writes it made.
long postWithCut(const fs::path& folder, long cutAt) {
    const fs::path counted = folder / ".writes";
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    child.setStandardErrorFile(QProcess::nullDevice()); // its messages are not wanted
    child.start(QString::fromStdString(self),
                {QStringLiteral("--cut"), QString::fromStdU16String(folder.u16string()), QString::number(cutAt)});
    child.waitForFinished(-1);
    long writes = 0;
    std::ifstream(counted) >> writes;
    fs::remove(counted);
    return writes;
}

// Throws away what the cut child had not made durable, newest first.
void throwAwayUndurable(const fs::path& folder) {
    std::ifstream in(folder / ".undo", std::ios::binary);
    std::vector<Undo> undos;
    std::string path;
    while (std::getline(in, path)) {
        Undo u;
        u.path = path;
        size_t n = 0;
        in >> u.offset >> u.oldSize >> u.created >> n;
        in.get();
        u.old.resize(n);
        in.read(u.old.data(), static_cast<std::streamsize>(n));
        undos.push_back(std::move(u));
    }
    in.close(); // Windows removes only a closed file
    fs::remove(folder / ".undo");
    std::map<std::string, std::vector<const Undo*>> byFile;
    for (const Undo& u : undos) byFile[u.path].push_back(&u);
    for (const auto& [file, list] : byFile) {
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            const Undo& u = **it;
            if (u.created) {
                fs::remove(file);
                break;
            }
            std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(u.offset);
            f.write(u.old.data(), static_cast<std::streamsize>(u.old.size()));
            f.close();
            if (static_cast<int64_t>(fs::file_size(file)) > u.oldSize)
                fs::resize_file(file, static_cast<uintmax_t>(u.oldSize));
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--cut") return cutChild(argv[2], std::atol(argv[3]));
    QCoreApplication app(argc, argv);
    self = QCoreApplication::applicationFilePath().toStdString();
    const int cuts = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int accounts = argc > 2 ? std::atoi(argv[2]) : 2000;
    if (qEnvironmentVariableIsEmpty("POSTING_BLOCK")) qputenv("POSTING_BLOCK", "256");
    const TestStores stores(accounts);
    const fs::path &original = stores.original, &reference = stores.reference, &work = stores.work;
    const long total = postWithCut(reference, 0);
    if (total <= 0) {
        std::fprintf(stderr, "the uninterrupted run failed\n");
        return 1;
    }
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<long> at(1, total);
    int bad = 0;
    for (int k = 1; k <= cuts; ++k) {
        fs::remove_all(work);
        fs::copy(original, work, fs::copy_options::recursive);
        postWithCut(work, at(rng));
        throwAwayUndurable(work);
        postWithCut(work, 0);
        std::string problem;
        for (const char* f : {"cust.dat", "1226.dat", "1226.ptn", "lastpost.dat"})
            if (bytesOf(work / f) != bytesOf(reference / f))
                problem = std::string(f) + " differs from the uninterrupted run";
        if (fs::exists(work / "interest.jrn")) problem = "the journal was left";
        if (!problem.empty()) {
            ++bad;
            std::printf("cut %d: %s\n", k, problem.c_str());
        }
    }
    std::printf("%d power cuts of a posting of %d accounts (%ld writes, blocks of 256 accounts), %d inconsistencies\n",
                cuts, accounts, total, bad);
    return bad == 0 ? 0 : 1;
}
