#include "tests/support/held_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace testsupport {

HeldLock::HeldLock(const std::string& path, bool exclusive) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    struct flock lk {};
    lk.l_type = exclusive ? F_WRLCK : F_RDLCK;
    lk.l_whence = SEEK_SET;
    if (fd_ < 0 || ::fcntl(fd_, F_OFD_SETLK, &lk) != 0) {
        const std::string why = std::strerror(errno);
        if (fd_ >= 0) ::close(fd_);
        throw std::runtime_error("cannot hold " + path + ": " + why);
    }
}

HeldLock::~HeldLock() { release(); }

void HeldLock::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

} // namespace testsupport
