#pragma once
#include <string>

namespace testsupport {

// Holds a file the way another computer of the store does: an open-file-description lock on
// the whole file (exclusive, or shared for a reader), until the object goes. The file is
// created when missing.
class HeldLock {
  public:
    explicit HeldLock(const std::string& path, bool exclusive = true);
    ~HeldLock();
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    // Gives the lock up before the object goes.
    void release();

  private:
    int fd_ = -1;
};

} // namespace testsupport
