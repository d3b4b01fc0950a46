#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/locked_file.h"
#include "common/run_error.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {
bool lineEnd(char c) { return c == '\r' || c == '\n'; }
bool blank(char c) { return c == ' ' || c == '\t'; }
} // namespace

TextReader::TextReader(std::string_view name) {
    if (!fileExists(name)) throw RunError(err::FileNotFound, std::string(name));
    LockedFile f(name, Access::Read);
    text_ = f.readAll();
    if (auto z = text_.find('\x1a'); z != std::string::npos) text_.resize(z);
}

TextReader TextReader::fromBytes(std::string bytes) {
    TextReader r;
    r.text_ = std::move(bytes);
    if (auto z = r.text_.find('\x1a'); z != std::string::npos) r.text_.resize(z);
    return r;
}

void TextReader::skipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
}

std::string TextReader::readLine() {
    if (atEnd()) throw RunError(err::PastEnd);
    const size_t start = pos_;
    while (pos_ < text_.size() && !lineEnd(text_[pos_])) ++pos_;
    std::string line = text_.substr(start, pos_ - start);
    skipLineEnd();
    return line;
}

std::string TextReader::readField() {
    if (atEnd()) throw RunError(err::PastEnd);
    while (pos_ < text_.size() && blank(text_[pos_])) ++pos_;
    std::string field;
    if (pos_ < text_.size() && text_[pos_] == '"') {
        ++pos_;
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') ++pos_;
        field = text_.substr(start, pos_ - start);
        if (pos_ < text_.size()) ++pos_; // closing quote
        // Whatever follows the quote up to the delimiter is passed over.
        while (pos_ < text_.size() && text_[pos_] != ',' && !lineEnd(text_[pos_])) ++pos_;
    } else {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !lineEnd(text_[pos_])) ++pos_;
        field = std::string(rtrim(std::string_view(text_).substr(start, pos_ - start)));
        while (!field.empty() && field.back() == '\t') field.pop_back();
    }
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else {
        skipLineEnd();
    }
    return field;
}

std::vector<std::string> readAllLines(std::string_view name) {
    TextReader r(name);
    std::vector<std::string> lines;
    while (!r.atEnd()) lines.push_back(r.readLine());
    return lines;
}

std::string readLinesCrLf(std::string_view name) {
    std::string text;
    for (const auto& line : readAllLines(name)) text += line + "\r\n";
    return text;
}

double readNumberFile(std::string_view name) {
    TextReader r(name);
    return val(r.readField());
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

void writeLines(std::string_view name, const std::vector<std::string>& lines) { writeBytes(name, joinLines(lines)); }

namespace {
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
} // namespace

void writeBytes(std::string_view name, std::string_view bytes) {
    const std::string path = resolveName(name);
    if (path.empty()) throw RunError(err::BadFileName, std::string(name));
    mode_t mode = 0666;
    std::optional<LockedFile> held;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw RunError(err::PathFileAccess, std::string(name));
        mode = st.st_mode & 07777;
        // Refuse while another holder has the file; hold it ourselves until it is replaced.
        held.emplace(name, Access::ReadWrite);
    }
    const std::string tmp = path + temporarySuffix;
    const PendingTemporary pending(tmp);
    folderChanged();
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) throwErrno(errno, std::string(name));
    // The temporary file is held while it is written, so that a start elsewhere does not take
    // it for one a stopped program left behind.
    struct flock lk {};
    lk.l_type = F_WRLCK;
    lk.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lk) != 0) {
        ::close(fd);
        throw RunError(err::PermissionDenied, std::string(name), FileTrouble::HeldElsewhere);
    }
    auto fail = [&](int e) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throwErrno(e, std::string(name));
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
    if (held) ::fchmod(fd, mode);
    if (::fsync(fd) != 0) fail(errno);
    if (::rename(tmp.c_str(), path.c_str()) != 0) fail(errno);
    ::close(fd);
}

void clearStaleTemporaries() {
    for (const std::string& name : listMatching(std::string("*") + temporarySuffix)) {
        const int fd = ::open(resolveName(name).c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;
        struct flock lk {};
        lk.l_type = F_WRLCK;
        lk.l_whence = SEEK_SET;
        // Only one that nobody holds: a replace under way elsewhere holds its file.
        if (::fcntl(fd, F_OFD_SETLK, &lk) == 0) {
            ::unlink(resolveName(name).c_str());
            folderChanged();
        }
        ::close(fd);
    }
}

} // namespace common
