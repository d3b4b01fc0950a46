#pragma once
#include "common/env.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

// The operating system with faults put in where a test asks for them, in place of the real one
// while it lives: a full disk, a read-only file, a file held by another computer, an I/O error
// on writing or syncing. Files are named by their last part, without regard to letter case
// ("cust.dat" is also "INTBACK/20261208-1/CUST.DAT"). Everything else goes to the system. Files
// opened through it must be closed before it goes.
class FaultEnv : public common::Env {
  public:
    FaultEnv();
    ~FaultEnv() override;
    FaultEnv(const FaultEnv&) = delete;
    FaultEnv& operator=(const FaultEnv&) = delete;

    // The disk fills up: no file may grow past this size (what fits is written, then the write
    // fails as on a full disk). Nothing: no limit.
    void setFileSizeLimit(std::optional<int64_t> bytes) { sizeLimit_ = bytes; }
    // Opening the file for writing fails as on a read-only file system.
    void makeReadOnly(const std::string& name) { readOnly_.insert(lowered(name)); }
    // Another computer holds the file: any open of it conflicts.
    void holdElsewhere(const std::string& name) { held_.insert(lowered(name)); }
    void release(const std::string& name) { held_.erase(lowered(name)); }
    // Writes to, or syncs of, the file fail with an I/O error.
    void failWrites(const std::string& name) { failWrites_.insert(lowered(name)); }
    void failSyncs(const std::string& name) { failSyncs_.insert(lowered(name)); }
    // A rename of the file fails, as on a share that refuses it.
    void failRenames(const std::string& name) { failRenames_.insert(lowered(name)); }

    // A power cut. Every write, and every cut of a file's length, since the file's last sync is
    // noted with what it replaced, and so is every file created since: what a machine that stops
    // at once loses. `beforeWrite` is called before each write (writes and cuts counted from 1),
    // on whichever thread writes; it may end the process, and `unsynced` then says what to throw
    // away (newest last).
    struct Unsynced {
        std::string path; // absolute
        int64_t offset = 0, oldSize = 0;
        std::string old;      // the bytes the write replaced (up to the file's old end)
        bool created = false; // the file was created since its last sync
    };
    void notePowerCut(std::function<void(long write)> beforeWrite) { beforeWrite_ = std::move(beforeWrite); }
    std::vector<Unsynced> unsynced() const;

    common::PathInfo info(const std::string& path) override { return inner_.info(path); }
    std::vector<common::FolderEntry> list(const std::string& folder, bool namesOnly) override {
        return inner_.list(folder, namesOnly);
    }
    bool isProgram(const std::string& path) override { return inner_.isProgram(path); }
    bool replacesOnlyClosedFiles() const override { return inner_.replacesOnlyClosedFiles(); }
    void standardStreamsAsBytes() override { inner_.standardStreamsAsBytes(); }
    std::string nameAsStored(const std::string& path) override { return inner_.nameAsStored(path); }
    std::string registeredProgram(const std::string& program) override { return inner_.registeredProgram(program); }
    std::vector<std::string> programFolders() override { return inner_.programFolders(); }
    [[noreturn]] void exitNow(int code) override;
    bool showInFileManager(const std::string& path) override { return inner_.showInFileManager(path); }
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                      common::WindowStyle style) override {
        return inner_.startProgram(program, arguments, folder, style);
    }
    bool anotherCopyRunning(const std::string& program) override { return inner_.anotherCopyRunning(program); }
    void preferLargePages() override {}

  protected:
    std::unique_ptr<common::EnvFile> doOpen(const std::string& path, bool write, common::FileLock lock,
                                            const std::string& shown) override;
    void doReplace(const std::string& path, std::string_view bytes, const std::string& temporary,
                   const std::string& shown) override;
    void doRemove(const std::string& path, const std::string& shown) override { inner_.remove(path, shown); }
    bool doRemoveUnlessHeld(const std::string& path) override;
    void doMakeFolder(const std::string& path, const std::string& shown) override { inner_.makeFolder(path, shown); }
    void doCopy(const std::string& from, const std::string& to, const std::string& shown) override;
    bool doRemoveTree(const std::string& path) override { return inner_.removeTree(path); }
    bool doRename(const std::string& from, const std::string& to) override {
        return !is(failRenames_, from) && inner_.rename(from, to);
    }

  private:
    class File;
    static std::string lowered(const std::string& name);
    static std::string lastPart(const std::string& path);
    bool is(const std::set<std::string>& names, const std::string& path) const;
    // The power cut's notes.
    void noteCreated(const std::string& path);
    void noteWrite(common::EnvFile& file, const std::string& path, int64_t offset, size_t size);
    void noteSync(const std::string& path);

    common::Env& inner_;
    common::Env* before_;
    std::optional<int64_t> sizeLimit_;
    std::set<std::string> readOnly_, held_, failWrites_, failSyncs_, failRenames_;
    std::function<void(long)> beforeWrite_;
    mutable std::recursive_mutex notes_; // `beforeWrite` may ask for the notes
    long writes_ = 0;
    std::map<std::string, std::vector<Unsynced>> pending_;
};

// Another computer holds the file while this lives: the programs' opens of it are refused as a
// lock held elsewhere (through a FaultEnv of its own, in place while it lives).
class HeldElsewhere {
  public:
    explicit HeldElsewhere(const std::string& name) : name_(name) { env_.holdElsewhere(name); }
    // Lets the file go before the object goes.
    void release() { env_.release(name_); }

  private:
    std::string name_;
    FaultEnv env_;
};

} // namespace testsupport
