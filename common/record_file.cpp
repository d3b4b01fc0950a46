#include "common/record_file.h"

#include "common/run_error.h"

#include <algorithm>

namespace common {

RecordFile::RecordFile(std::string_view name, size_t recordLength, Access access, Sharing sharing)
    : file_(name, access, sharing), length_(recordLength) {}

std::string RecordFile::read(int64_t n) const {
    if (n < 1) throw RunError(err::BadRecordNumber, file_.path());
    std::string rec(length_, '\0');
    file_.readAt((n - 1) * static_cast<int64_t>(length_), rec.data(), length_);
    return rec;
}

void RecordFile::write(int64_t n, std::string_view bytes) {
    if (n < 1) throw RunError(err::BadRecordNumber, file_.path());
    if (bytes.size() > length_) throw RunError(err::BadRecordLength, file_.path());
    file_.writeAt((n - 1) * static_cast<int64_t>(length_), bytes);
}

void RecordFile::writeRun(int64_t n, std::string_view records) {
    if (n < 1) throw RunError(err::BadRecordNumber, file_.path());
    if (records.size() % length_) throw RunError(err::BadRecordLength, file_.path());
    file_.writeAt((n - 1) * static_cast<int64_t>(length_), records);
}

std::string RecordFile::readRun(int64_t n, int64_t count) const {
    if (n < 1) throw RunError(err::BadRecordNumber, file_.path());
    std::string recs(static_cast<size_t>(count) * length_, '\0');
    file_.readAt((n - 1) * static_cast<int64_t>(length_), recs.data(), recs.size());
    return recs;
}

void RecordFile::readRunInto(int64_t n, int64_t count, char* out) const {
    if (n < 1) throw RunError(err::BadRecordNumber, file_.path());
    const size_t size = static_cast<size_t>(count) * length_;
    const size_t got = file_.readAt((n - 1) * static_cast<int64_t>(length_), out, size);
    std::fill(out + got, out + size, '\0');
}

int64_t RecordFile::count() const { return file_.size() / static_cast<int64_t>(length_); }

} // namespace common
