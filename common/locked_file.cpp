#include "common/locked_file.h"

#include "common/file_names.h"
#include "common/run_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {
WriteObserver* observer = nullptr;
} // namespace

void setWriteObserver(WriteObserver* o) { observer = o; }

LockedFile::LockedFile(std::string_view name, Access access, Sharing sharing) : path_(resolveName(name)) {
    if (path_.empty()) throw RunError(err::BadFileName, std::string(name));
    const int flags = access == Access::Read ? O_RDONLY : (O_RDWR | O_CREAT);
    if (access != Access::Read) folderChanged(); // it may create the file
    const bool creates = observer && access != Access::Read && ::access(path_.c_str(), F_OK) != 0;
    fd_ = ::open(path_.c_str(), flags | O_CLOEXEC, 0666);
    if (creates && fd_ >= 0) observer->created(path_);
    if (fd_ < 0) throwErrno(errno, std::string(name));
    struct stat st;
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw RunError(err::PathFileAccess, std::string(name));
    }
    struct flock lk {};
    lk.l_type = (access == Access::Read || sharing == Sharing::Shared) ? F_RDLCK : F_WRLCK;
    lk.l_whence = SEEK_SET;
    if (::fcntl(fd_, F_OFD_SETLK, &lk) != 0) {
        const int e = errno;
        ::close(fd_);
        fd_ = -1;
        if (e == EAGAIN || e == EACCES)
            throw RunError(err::PermissionDenied, std::string(name), FileTrouble::HeldElsewhere);
        throwErrno(e, std::string(name));
    }
}

LockedFile::~LockedFile() { close(); }

void LockedFile::syncData() {
    if (::fdatasync(fd_) != 0) throwErrno(errno, path_);
    if (observer) observer->synced(*this);
}

LockedFile::LockedFile(LockedFile&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) { other.fd_ = -1; }

void LockedFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

size_t LockedFile::readAt(int64_t offset, char* data, size_t size) const {
    if (observer) observer->beforeRead(*this, offset, size);
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

void LockedFile::writeAt(int64_t offset, std::string_view bytes) {
    if (observer) observer->beforeWrite(*this, offset, bytes.size());
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, offset + static_cast<int64_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throwErrno(errno, path_);
        }
        done += static_cast<size_t>(n);
    }
}

int64_t LockedFile::size() const {
    struct stat st;
    if (::fstat(fd_, &st) != 0) throwErrno(errno, path_);
    return st.st_size;
}

std::string LockedFile::readAll() const {
    std::string s(static_cast<size_t>(size()), '\0');
    s.resize(readAt(0, s.data(), s.size()));
    return s;
}

void LockedFile::truncate(int64_t size) {
    if (observer) observer->beforeWrite(*this, size, 0);
    if (::ftruncate(fd_, size) != 0) throwErrno(errno, path_);
}

} // namespace common
