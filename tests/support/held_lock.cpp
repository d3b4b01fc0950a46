#include "tests/support/held_lock.h"

#include "common/env.h"
#include "common/run_error.h"

#include <stdexcept>

namespace testsupport {

// Through the system's own seam, never a test's stand-in: the lock must be a real one that
// another process sees.
HeldLock::HeldLock(const std::string& path, bool exclusive) {
    try {
        file_ =
            common::systemEnv().open(path, true, exclusive ? common::FileLock::Exclusive : common::FileLock::Shared);
    } catch (const common::RunError& e) {
        throw std::runtime_error("cannot hold " + path + ": " + e.description());
    }
}

HeldLock::~HeldLock() { release(); }

std::string HeldLock::contents() const {
    std::string bytes(static_cast<size_t>(file_->size()), '\0');
    bytes.resize(file_->readAt(0, bytes.data(), bytes.size()));
    return bytes;
}

void HeldLock::release() { file_.reset(); }

} // namespace testsupport
