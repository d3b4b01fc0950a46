#pragma once
#include "common/env.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace common {

enum class Access { Read, ReadWrite };
enum class Sharing {
    Default, // reading takes a shared lock, writing an exclusive one
    Shared,  // others may read and write meanwhile: a shared lock whatever the access
};

class LockedFile;

// Sees every change of a locked file before it is made, and every sync after it: the layer
// under the record files that the power-cut test uses to know which writes were durable.
class WriteObserver {
  public:
    virtual ~WriteObserver() = default;
    virtual void created(const std::string& path) = 0;
    virtual void beforeWrite(const LockedFile& file, int64_t offset, size_t size) = 0;
    virtual void synced(const LockedFile& file) = 0;
    virtual void beforeRead(const LockedFile&, int64_t /*offset*/, size_t /*size*/) {}
};
// Installs an observer for every locked file (nothing by default).
void setWriteObserver(WriteObserver* observer);

// An open file with a lock on the whole file, held until it is closed (through the operating
// system seam, env.h). A lock another holder conflicts with is run-time error 70. The name goes
// through the case-insensitive lookup; ReadWrite creates a missing file.
class LockedFile {
  public:
    LockedFile(std::string_view name, Access access, Sharing sharing = Sharing::Default);
    ~LockedFile();
    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&&) = delete;
    LockedFile(const LockedFile&) = delete;

    // Positioned reads and writes; a short read is padded by the caller.
    size_t readAt(int64_t offset, char* data, size_t size) const;
    void writeAt(int64_t offset, std::string_view bytes);
    int64_t size() const;
    std::string readAll() const;
    // Makes what was written durable (fdatasync).
    void syncData();
    // Cuts or extends the file to this size.
    void truncate(int64_t size);
    void close();
    const std::string& path() const { return path_; }

  private:
    EnvFile& open() const;
    std::unique_ptr<EnvFile> file_;
    std::string path_;
};

} // namespace common
