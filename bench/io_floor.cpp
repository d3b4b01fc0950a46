#include "bench/io_floor.h"

#include "bench/headless_posting.h"
#include "common/locked_file.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace bench {

namespace {
struct Op {
    char kind; // 'R'ead, 'W'rite, 'S'ync
    std::string path;
    int64_t offset = 0, size = 0;
};

// Called from the run's planning and from its writing thread at once.
class Recorder : public common::WriteObserver {
  public:
    std::vector<Op> ops;
    void created(const std::string&) override {}
    void beforeWrite(const common::LockedFile& f, int64_t offset, size_t size) override {
        if (size > 0) add(Op{'W', f.path(), offset, static_cast<int64_t>(size)});
    }
    void beforeRead(const common::LockedFile& f, int64_t offset, size_t size) override {
        add(Op{'R', f.path(), offset, static_cast<int64_t>(size)});
    }
    void synced(const common::LockedFile& f) override { add(Op{'S', f.path(), 0, 0}); }

  private:
    void add(Op op) {
        const std::lock_guard<std::mutex> hold(mutex_);
        ops.push_back(std::move(op));
    }
    std::mutex mutex_;
};
} // namespace

int recordPosting(const std::string& trace, const std::string& datebox, bool firstmon) {
    Recorder recorder;
    common::setWriteObserver(&recorder);
    const int rc = postHeadless(datebox, ".015", "1.00", firstmon);
    common::setWriteObserver(nullptr);
    std::ofstream out(trace);
    for (const Op& op : recorder.ops) out << op.kind << ' ' << op.path << ' ' << op.offset << ' ' << op.size << '\n';
    return rc;
}

double replayFloor(const std::string& trace) {
    std::vector<Op> ops;
    {
        std::ifstream in(trace);
        Op op;
        while (in >> op.kind >> op.path >> op.offset >> op.size) ops.push_back(op);
    }
    // Reads merged per file; writes merged while each follows the one before in the same file.
    std::map<std::string, std::vector<std::pair<int64_t, int64_t>>> reads;
    std::vector<Op> writes;
    int64_t biggest = 64;
    for (const Op& op : ops) {
        if (op.kind == 'R') reads[op.path].push_back({op.offset, op.offset + op.size});
        if (op.kind != 'W') continue;
        if (!writes.empty() && writes.back().path == op.path && writes.back().offset + writes.back().size == op.offset)
            writes.back().size += op.size;
        else writes.push_back(op);
    }
    for (auto& [path, ranges] : reads) {
        std::sort(ranges.begin(), ranges.end());
        std::vector<std::pair<int64_t, int64_t>> merged;
        for (const auto& r : ranges)
            if (!merged.empty() && r.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, r.second);
            else merged.push_back(r);
        ranges = std::move(merged);
        for (const auto& r : ranges) biggest = std::max(biggest, r.second - r.first);
    }
    for (const Op& w : writes) biggest = std::max(biggest, w.size);
    std::string readBuffer(static_cast<size_t>(biggest), ' '), writeBuffer(static_cast<size_t>(biggest), ' ');
    // Every file opened first, so that the two halves below share nothing but the descriptors.
    std::map<std::string, int> fds;
    auto open = [&](const std::string& path) {
        // The run's own folders (the undo copy's) are there for it as well.
        const std::filesystem::path parent = std::filesystem::path(path).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent);
        if (!fds.count(path)) fds.emplace(path, ::open(path.c_str(), O_RDWR | O_CREAT, 0666));
    };
    for (const auto& [path, ranges] : reads) open(path);
    for (const Op& w : writes) open(w.path);

    const auto t0 = std::chrono::steady_clock::now();
    // The floor moves the bytes on both cores, as the run may: the undo copy and the reads on
    // one, the writes on the other, each write's way to the disk started at once and every
    // written file synced once at the end.
    std::atomic<bool> failed{false};
    std::thread reading([&] {
        // The copy a posting keeps for an undo, of the files it changes, before its first write.
        std::filesystem::create_directories("floor-backup");
        for (const char* f : {"cust.dat", "1226.dat", "1226.ptn", "lastpost.dat"}) {
            std::error_code ec;
            if (std::filesystem::exists(f))
                std::filesystem::copy_file(f, std::string("floor-backup/") + f,
                                           std::filesystem::copy_options::overwrite_existing, ec);
        }
        for (const auto& [path, ranges] : reads)
            for (const auto& r : ranges)
                if (::pread(fds.at(path), readBuffer.data(), static_cast<size_t>(r.second - r.first), r.first) < 0)
                    failed = true;
    });
    const int lastpost = ::open("lastpost.dat", O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (lastpost < 0 || ::write(lastpost, "12-8-26\r\n .015\r\n 1\r\n", 21) != 21 || ::fdatasync(lastpost) != 0)
        failed = true;
    ::close(lastpost);
    std::map<std::string, bool> written;
    for (const Op& w : writes) {
        const int f = fds.at(w.path);
        if (::pwrite(f, writeBuffer.data(), static_cast<size_t>(w.size), w.offset) != w.size) failed = true;
        ::sync_file_range(f, w.offset, w.size, SYNC_FILE_RANGE_WRITE);
        written[w.path] = true;
    }
    for (const auto& [path, yes] : written)
        if (::fdatasync(fds.at(path)) != 0) failed = true;
    reading.join();
    for (const auto& [path, f] : fds) ::close(f);
    if (failed) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace bench
