#include "tests/support/fault_env.h"

#include "common/run_error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace testsupport {

using namespace common;

// An open file whose writes and syncs go through the faults.
class FaultEnv::File : public EnvFile {
  public:
    File(FaultEnv& env, std::unique_ptr<EnvFile> inner, std::string path)
        : env_(env), inner_(std::move(inner)), path_(std::move(path)) {}
    size_t readAt(int64_t offset, char* data, size_t size) override { return inner_->readAt(offset, data, size); }
    void writeAt(int64_t offset, std::string_view bytes) override {
        if (env_.is(env_.failWrites_, path_)) throwErrno(EIO, path_);
        if (env_.beforeWrite_) env_.noteWrite(*inner_, path_, offset, bytes.size());
        if (env_.sizeLimit_ && offset + static_cast<int64_t>(bytes.size()) > *env_.sizeLimit_) {
            // What fits is written, as a full disk takes it.
            if (offset < *env_.sizeLimit_)
                inner_->writeAt(offset, bytes.substr(0, static_cast<size_t>(*env_.sizeLimit_ - offset)));
            throwErrno(ENOSPC, path_);
        }
        inner_->writeAt(offset, bytes);
    }
    int64_t size() override { return inner_->size(); }
    void truncate(int64_t size) override {
        if (env_.sizeLimit_ && size > *env_.sizeLimit_) throwErrno(ENOSPC, path_);
        if (env_.beforeWrite_) env_.noteWrite(*inner_, path_, size, 0);
        inner_->truncate(size);
    }
    void syncData() override {
        if (env_.is(env_.failSyncs_, path_)) throwErrno(EIO, path_);
        inner_->syncData();
        if (env_.beforeWrite_) env_.noteSync(path_);
    }

  private:
    FaultEnv& env_;
    std::unique_ptr<EnvFile> inner_;
    std::string path_;
};

FaultEnv::FaultEnv() : inner_(systemEnv()), before_(Env::install(this)) {}

FaultEnv::~FaultEnv() { Env::install(before_); }

void FaultEnv::exitNow(int code) {
    inner_.exitNow(code);
    std::abort(); // not reached
}

std::string FaultEnv::lowered(const std::string& name) {
    std::string l = name;
    for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
}

std::string FaultEnv::lastPart(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FaultEnv::is(const std::set<std::string>& names, const std::string& path) const {
    return names.count(lowered(lastPart(path))) > 0;
}

std::unique_ptr<EnvFile> FaultEnv::doOpen(const std::string& path, bool write, FileLock lock,
                                          const std::string& shown) {
    if (is(held_, path)) throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
    if (write && is(readOnly_, path)) throwErrno(EROFS, shown);
    const bool creates = beforeWrite_ && write && !inner_.info(path).exists;
    auto file = std::make_unique<File>(*this, inner_.open(path, write, lock, shown), path);
    if (creates) noteCreated(path);
    return file;
}

namespace {
std::string absolute(const std::string& path) { return std::filesystem::absolute(path).lexically_normal().string(); }
} // namespace

void FaultEnv::noteCreated(const std::string& path) {
    const std::lock_guard<std::recursive_mutex> hold(notes_);
    const std::string p = absolute(path);
    pending_[p].push_back(Unsynced{p, 0, 0, {}, true});
}

void FaultEnv::noteWrite(EnvFile& file, const std::string& path, int64_t offset, size_t size) {
    const std::lock_guard<std::recursive_mutex> hold(notes_);
    beforeWrite_(++writes_);
    Unsynced u{absolute(path), offset, file.size(), {}, false};
    // A write keeps what it covers; a cut (size 0) keeps everything after the new end.
    const int64_t end = size > 0 ? std::min<int64_t>(offset + static_cast<int64_t>(size), u.oldSize) : u.oldSize;
    if (end > offset) {
        u.old.resize(static_cast<size_t>(end - offset));
        u.old.resize(file.readAt(offset, u.old.data(), u.old.size()));
    }
    pending_[u.path].push_back(std::move(u));
}

void FaultEnv::noteSync(const std::string& path) {
    const std::lock_guard<std::recursive_mutex> hold(notes_);
    pending_.erase(absolute(path));
}

std::vector<FaultEnv::Unsynced> FaultEnv::unsynced() const {
    const std::lock_guard<std::recursive_mutex> hold(notes_);
    std::vector<Unsynced> all;
    for (const auto& [path, notes] : pending_) all.insert(all.end(), notes.begin(), notes.end());
    return all;
}

void FaultEnv::doReplace(const std::string& path, std::string_view bytes, const std::string& temporary,
                         const std::string& shown) {
    if (is(held_, path) || is(held_, temporary))
        throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
    if (is(readOnly_, path)) throwErrno(EROFS, shown);
    if (is(failWrites_, path) || is(failSyncs_, path)) throwErrno(EIO, shown);
    // A replace that does not fit leaves the old file and no temporary, as a full disk does.
    if (sizeLimit_ && static_cast<int64_t>(bytes.size()) > *sizeLimit_) throwErrno(ENOSPC, shown);
    inner_.replace(path, bytes, temporary.substr(path.size()), shown);
}

bool FaultEnv::doRemoveUnlessHeld(const std::string& path) {
    if (is(held_, path)) return false;
    return inner_.removeUnlessHeld(path);
}

void FaultEnv::doCopy(const std::string& from, const std::string& to, const std::string& shown) {
    // A copy reads past another holder's lock, as a POSIX lock (advisory) lets it.
    if (sizeLimit_ && inner_.info(from).size > *sizeLimit_) throwErrno(ENOSPC, shown);
    inner_.copy(from, to, shown);
}

} // namespace testsupport
