#pragma once
#include "common/locked_file.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace common {

// A random-access file of fixed-length records: record n (from 1) is at (n - 1) x length.
// Records are written in place; other computers may have the file open.
class RecordFile {
  public:
    RecordFile(std::string_view name, size_t recordLength, Access access = Access::ReadWrite,
               Sharing sharing = Sharing::Default);

    // Record n; bytes past the end of the file read as NULs. n below 1 is error 63.
    std::string read(int64_t n) const;
    // Writes exactly these bytes (at most one record) at record n, extending the file with
    // NULs where needed.
    void write(int64_t n, std::string_view bytes);
    // Whole records in the file, and its size in bytes (a record may be cut short at the end).
    int64_t count() const;
    int64_t size() const { return file_.size(); }
    size_t recordLength() const { return length_; }
    void close() { file_.close(); }
    // Whole records from record n on, in one write; and all that was written made durable.
    void writeRun(int64_t n, std::string_view records);
    void syncData() { file_.syncData(); }
    // `count` records from record n on, in one read (past the end: NULs).
    std::string readRun(int64_t n, int64_t count) const;
    // The same into `out`, which holds count x length bytes.
    void readRunInto(int64_t n, int64_t count, char* out) const;

  private:
    LockedFile file_;
    size_t length_;
};

} // namespace common
