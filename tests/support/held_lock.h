#pragma once
#include "common/env.h"

#include <memory>
#include <string>

namespace testsupport {

// Holds a file the way another computer of the store does: the system's whole-file lock
// (exclusive, or shared for a reader), until the object goes. The file is created when missing.
class HeldLock {
  public:
    explicit HeldLock(const std::string& path, bool exclusive = true);
    ~HeldLock();
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    // The file's bytes, read through the holder's own open file.
    std::string contents() const;
    // Gives the lock up before the object goes.
    void release();

  private:
    std::unique_ptr<common::EnvFile> file_;
};

} // namespace testsupport
