#include "common/locked_file.h"

#include "common/file_names.h"
#include "common/run_error.h"

namespace common {

namespace {
WriteObserver* observer = nullptr;
} // namespace

void setWriteObserver(WriteObserver* o) { observer = o; }

EnvFile& LockedFile::open() const {
    // A file used after it was closed: "bad file name or number", as the runtime said it.
    if (!file_) throw RunError(err::BadFileName, path_);
    return *file_;
}

LockedFile::LockedFile(std::string_view name, Access access, Sharing sharing) : path_(resolveName(name)) {
    if (path_.empty()) throw RunError(err::BadFileName, std::string(name));
    const bool write = access != Access::Read;
    Env& env = Env::current();
    const bool creates = observer && write && !env.info(path_).exists;
    file_ =
        env.open(path_, write, (!write || sharing == Sharing::Shared) ? FileLock::Shared : FileLock::Exclusive, name);
    if (creates) observer->created(path_);
}

LockedFile::~LockedFile() { close(); }

LockedFile::LockedFile(LockedFile&& other) noexcept : file_(std::move(other.file_)), path_(std::move(other.path_)) {}

void LockedFile::syncData() {
    open().syncData();
    if (observer) observer->synced(*this);
}

void LockedFile::close() { file_.reset(); }

size_t LockedFile::readAt(int64_t offset, char* data, size_t size) const {
    if (observer) observer->beforeRead(*this, offset, size);
    return open().readAt(offset, data, size);
}

void LockedFile::writeAt(int64_t offset, std::string_view bytes) {
    if (observer) observer->beforeWrite(*this, offset, bytes.size());
    open().writeAt(offset, bytes);
}

int64_t LockedFile::size() const { return open().size(); }

std::string LockedFile::readAll() const {
    std::string s(static_cast<size_t>(size()), '\0');
    s.resize(readAt(0, s.data(), s.size()));
    return s;
}

void LockedFile::truncate(int64_t size) {
    if (observer) observer->beforeWrite(*this, size, 0);
    open().truncate(size);
}

} // namespace common
