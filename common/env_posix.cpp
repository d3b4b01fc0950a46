// The operating system seam on POSIX systems: the one file of the programs that calls the system
// directly.
#include "common/env.h"

#include "common/run_error.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

// An open-file-description lock on the whole file: held by this open file alone (not by the
// process), so two opens in one process conflict as two computers do.
bool lockWhole(int fd, FileLock lock) {
    struct flock lk {};
    lk.l_type = lock == FileLock::Shared ? F_RDLCK : F_WRLCK;
    lk.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lk) == 0;
}

class PosixFile : public EnvFile {
  public:
    PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixFile() override { ::close(fd_); }

    size_t readAt(int64_t offset, char* data, size_t size) override {
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pread(fd_, data + done, size - done, offset + static_cast<int64_t>(done));
            if (n < 0) {
                if (errno == EINTR) continue;
                throwErrno(errno, path_);
            }
            if (n == 0) break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

    void writeAt(int64_t offset, std::string_view bytes) override {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::pwrite(fd_, bytes.data() + done, bytes.size() - done, offset + static_cast<int64_t>(done));
            if (n < 0) {
                if (errno == EINTR) continue;
                throwErrno(errno, path_);
            }
            done += static_cast<size_t>(n);
        }
    }

    int64_t size() override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) throwErrno(errno, path_);
        return st.st_size;
    }

    void truncate(int64_t size) override {
        if (::ftruncate(fd_, size) != 0) throwErrno(errno, path_);
    }

    void syncData() override {
        if (::fdatasync(fd_) != 0) throwErrno(errno, path_);
    }

  private:
    int fd_;
    std::string path_;
};

// The temporary file of the replace under way, removed when a signal ends the program.
char pendingTemporary[4096];
volatile std::sig_atomic_t hasPendingTemporary = 0;

extern "C" void removePendingTemporary(int sig) {
    if (hasPendingTemporary) ::unlink(pendingTemporary);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void watchSignalsOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
            struct sigaction current {};
            if (::sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
                std::signal(sig, removePendingTemporary);
        }
    });
}

// Marks the temporary file of a replace, so that a signal removes it, until it goes.
class PendingTemporary {
  public:
    explicit PendingTemporary(const std::string& path) {
        watchSignalsOnce();
        if (path.size() < sizeof pendingTemporary) {
            std::memcpy(pendingTemporary, path.c_str(), path.size() + 1);
            hasPendingTemporary = 1;
        }
    }
    ~PendingTemporary() { hasPendingTemporary = 0; }
};

PathInfo infoOf(const struct stat& st) {
    return PathInfo{true, S_ISDIR(st.st_mode), static_cast<int64_t>(st.st_size),
                    static_cast<int64_t>(st.st_mtim.tv_sec)};
}

class PosixEnv : public Env {
  public:
    PathInfo info(const std::string& path) override {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return {};
        return infoOf(st);
    }

    std::vector<FolderEntry> list(const std::string& folder, bool namesOnly) override {
        std::vector<FolderEntry> entries;
        DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!d) return entries;
        while (dirent* e = ::readdir(d)) {
            const std::string_view name = e->d_name;
            if (name == "." || name == "..") continue;
            FolderEntry entry;
            entry.name = e->d_name;
            struct stat st;
            if (!namesOnly && ::fstatat(::dirfd(d), e->d_name, &st, 0) == 0) {
                const PathInfo i = infoOf(st);
                entry.folder = i.folder;
                entry.size = i.size;
                entry.modified = i.modified;
            }
            entries.push_back(std::move(entry));
        }
        ::closedir(d);
        return entries;
    }

    bool isProgram(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
    }

    std::vector<std::string> programFolders() override {
        std::vector<std::string> folders;
        const char* path = std::getenv("PATH");
        std::string cur;
        for (const char* c = path ? path : "";; ++c) {
            if (*c == ':' || *c == '\0') {
                if (!cur.empty()) folders.push_back(cur);
                cur.clear();
                if (*c == '\0') break;
            } else {
                cur += *c;
            }
        }
        return folders;
    }

    bool startProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                      WindowStyle) override {
        // The window manager places and sizes a new window; the style is not asked of it.
        QStringList args;
        for (const std::string& a : arguments) args << QString::fromStdString(a);
        return QProcess::startDetached(QString::fromStdString(program), args, QString::fromStdString(folder));
    }

    bool showInFileManager(const std::string& path) override {
        // Desktops differ in how a file is selected; its folder is what every one can open.
        const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath();
        return QProcess::startDetached(QStringLiteral("xdg-open"), {folder});
    }

    bool anotherCopyRunning(const std::string& program) override {
        // A lock file per program and user in the temporary folder, held while the copy runs; one
        // left by a copy that was killed is taken over at once.
        static std::map<std::string, std::unique_ptr<QLockFile>> held;
        auto& lock = held[program];
        if (!lock) {
            lock = std::make_unique<QLockFile>(QDir::temp().filePath(
                QStringLiteral("%1-%2.lock").arg(QString::fromStdString(program)).arg(::getuid())));
            lock->setStaleLockTime(0);
        }
        return !lock->isLocked() && !lock->tryLock(0);
    }

    [[noreturn]] void exitNow(int code) override {
        std::fflush(nullptr);
        ::_exit(code);
    }

    bool standardErrorIsTerminal() override { return ::isatty(STDERR_FILENO) == 1; }

    void preferLargePages() override {
        static std::once_flag once;
        std::call_once(once, [] {
            constexpr int kMiB = 1 << 20;
            constexpr uintptr_t kLargePage = 2 * kMiB;
            // Buffers of up to 32 MB come from the heap and are reused instead of mapped and
            // unmapped each time; the heap keeps what it freed and grows 64 MB at a time.
            mallopt(M_MMAP_THRESHOLD, 32 * kMiB);
            mallopt(M_TRIM_THRESHOLD, 128 * kMiB);
            mallopt(M_TOP_PAD, 64 * kMiB);
            // Grow the heap now and advise the new part, so that the pages faulted in there
            // later are large ones. Only the heap's own end is looked at; nothing is written.
            const auto before = reinterpret_cast<uintptr_t>(::sbrk(0));
            void* volatile grow = std::malloc(16 * kMiB); // volatile: not to be left out
            const auto after = reinterpret_cast<uintptr_t>(::sbrk(0));
            std::free(grow);
            if (before == static_cast<uintptr_t>(-1) || after <= before) return;
            const uintptr_t from = (before + kLargePage - 1) & ~(kLargePage - 1);
            if (after > from) (void)::madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE);
        });
    }

  protected:
    std::unique_ptr<EnvFile> doOpen(const std::string& path, bool write, FileLock lock,
                                    const std::string& shown) override {
        const int fd = ::open(path.c_str(), write ? (O_RDWR | O_CREAT | O_CLOEXEC) : (O_RDONLY | O_CLOEXEC), 0666);
        if (fd < 0) throwErrno(errno, shown);
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            throw RunError(err::PathFileAccess, shown);
        }
        if (!lockWhole(fd, lock)) {
            const int e = errno;
            ::close(fd);
            if (e == EAGAIN || e == EACCES) throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
            throwErrno(e, shown);
        }
        return std::make_unique<PosixFile>(fd, path);
    }

    void doReplace(const std::string& path, std::string_view bytes, const std::string& tmp,
                   const std::string& shown) override {
        struct stat st;
        const bool existed = ::stat(path.c_str(), &st) == 0;
        const mode_t mode = existed ? (st.st_mode & 07777) : 0666;
        const PendingTemporary pending(tmp);
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) throwErrno(errno, shown);
        // The temporary file is held while it is written, so that a start elsewhere does not
        // take it for one a stopped program left behind.
        if (!lockWhole(fd, FileLock::Exclusive)) {
            ::close(fd);
            throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
        }
        auto fail = [&](int e) {
            ::close(fd);
            ::unlink(tmp.c_str());
            throwErrno(e, shown);
        };
        if (::ftruncate(fd, 0) != 0) fail(errno);
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno);
            }
            done += static_cast<size_t>(n);
        }
        if (existed) ::fchmod(fd, mode);
        if (::fsync(fd) != 0) fail(errno);
        if (::rename(tmp.c_str(), path.c_str()) != 0) fail(errno);
        ::close(fd);
    }

    void doRemove(const std::string& path, const std::string& shown) override {
        if (::unlink(path.c_str()) != 0) throwErrno(errno, shown);
    }

    bool doRemoveUnlessHeld(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) return false;
        const bool free = lockWhole(fd, FileLock::Exclusive);
        const bool removed = free && ::unlink(path.c_str()) == 0;
        ::close(fd);
        return removed;
    }

    void doMakeFolder(const std::string& path, const std::string& shown) override {
        if (::mkdir(path.c_str(), 0777) != 0) {
            if (errno == EEXIST) throw RunError(err::PathFileAccess, shown);
            throwErrno(errno, shown);
        }
    }

    bool doRename(const std::string& from, const std::string& to) override {
        struct stat st;
        if (::stat(to.c_str(), &st) == 0) return false; // never over another file
        return ::rename(from.c_str(), to.c_str()) == 0;
    }

    bool doRemoveTree(const std::string& path) override {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
        return !ec;
    }

    void doCopy(const std::string& from, const std::string& to, const std::string& shown) override {
        std::error_code ec;
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) throw RunError(errorFromErrno(ec.value()), shown);
    }
};

} // namespace

Env& systemEnv() {
    static PosixEnv env;
    return env;
}

} // namespace common
