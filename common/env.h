#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// What the operating system tells of a path.
struct PathInfo {
    bool exists = false;
    bool folder = false;
    int64_t size = 0;
    int64_t modified = 0; // seconds since 1970
};

// A name in a folder, as a listing gives it.
struct FolderEntry {
    std::string name;
    bool folder = false;
    int64_t size = 0;
    int64_t modified = 0; // seconds since 1970
};

// How a started program's window first shows (the numbers are the system's own on Windows).
enum class WindowStyle {
    Normal = 1,
    Minimised = 2,
    Maximised = 3,
};

enum class FileLock {
    Shared,    // others may read (and, with a shared lock of their own, write) meanwhile
    Exclusive, // nobody else holds the file meanwhile
};

// An open file and its whole-file lock, held until the object goes. Errors are run-time errors.
class EnvFile {
  public:
    virtual ~EnvFile() = default;
    // Reads up to `size` bytes at `offset`; fewer at the end of the file.
    virtual size_t readAt(int64_t offset, char* data, size_t size) = 0;
    virtual void writeAt(int64_t offset, std::string_view bytes) = 0;
    virtual int64_t size() = 0;
    // Cuts or extends the file to this size.
    virtual void truncate(int64_t size) = 0;
    // Makes what was written durable.
    virtual void syncData() = 0;
};

// Every call the programs make to the operating system, behind one interface: files and their
// locks, whole-file replaces, folders, programs, the end of the process, the memory hint. One
// implementation for POSIX systems; a test may put another in its place (LevelDB's Env).
//
// The public calls are the seam's contract; they keep the case-insensitive folder cache of
// file_names.h up to date themselves (a file created, replaced or removed drops it), so no
// caller has to. Implementations override the protected `do` calls.
class Env {
  public:
    virtual ~Env() = default;

    // The Env the programs use: the operating system's, unless one was installed.
    static Env& current();
    // Puts `env` in place of the current one (nullptr: the operating system's again) and returns
    // the one it replaced. For tests; not while another thread uses the seam.
    static Env* install(Env* env);

    // Opens a file for reading, or for reading and writing (created when missing), and takes a
    // whole-file lock on it. A lock another holder has is error 70 (held elsewhere); a folder
    // is error 75; a missing file opened for reading is error 53.
    // Errors name the file as `shownAs` (the program's own name for it), or by its path.
    std::unique_ptr<EnvFile> open(const std::string& path, bool write, FileLock lock, std::string_view shownAs = {});
    // Replaces a file whole: the bytes are written to `path` + `temporarySuffix` (held while they
    // are written, removed if anything fails or a signal ends the process), made durable, and
    // renamed over `path`, which keeps its permissions. The old content stays until the rename.
    void replace(const std::string& path, std::string_view bytes, std::string_view temporarySuffix,
                 std::string_view shownAs = {});
    // Deletes a file, also one still open (and held) by this process.
    void remove(const std::string& path, std::string_view shownAs = {});
    // Deletes a file unless another holder has it locked; false when it was held or missing.
    bool removeUnlessHeld(const std::string& path);
    // Makes a folder; one that exists already is error 75.
    void makeFolder(const std::string& path, std::string_view shownAs = {});
    // Copies a file, replacing the target. Also on a thread of its own, as long as nothing else
    // uses the two files.
    void copy(const std::string& from, const std::string& to, std::string_view shownAs = {});
    // Deletes a folder and everything in it; false when some of it could not be deleted.
    bool removeTree(const std::string& path);
    // Gives a file another name in its folder; false when it cannot (the target exists, say).
    bool rename(const std::string& from, const std::string& to);

    // Whether `replace` needs the file closed by this process first: Windows renames a file only
    // over one nobody has open, POSIX over any.
    virtual bool replacesOnlyClosedFiles() const { return false; }

    // The last part of an existing path as its folder stores it, where the system finds a name
    // whatever its case (Windows: "CUST.PTN" for "Cust.ptn"); empty where names are exact.
    virtual std::string nameAsStored(const std::string&) { return {}; }

    virtual PathInfo info(const std::string& path) = 0;
    // The entries of a folder ("" is the current folder), "." and ".." left out, in no order;
    // `names` alone leaves their sizes, times and kinds out (a faster listing).
    virtual std::vector<FolderEntry> list(const std::string& folder, bool namesOnly = false) = 0;

    // Where the system's register of installed programs says a program is ("winword.exe" in
    // Windows' App Paths); empty when it says nothing (and on systems without one).
    virtual std::string registeredProgram(const std::string&) { return {}; }
    // An existing file that can be started as a program.
    virtual bool isProgram(const std::string& path) = 0;
    // The folders of the program search path, in order (empty entries left out).
    virtual std::vector<std::string> programFolders() = 0;
    // Starts a program with these arguments in a folder, its window shown in this style where the
    // system lets the starter choose, without a shell and without waiting for it; false when it
    // cannot be started.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& folder, WindowStyle style) = 0;
    // Shows a file in the desktop's file manager: on Windows, Explorer with the file selected;
    // elsewhere its folder opened as the desktop opens folders. False when nothing could be started.
    virtual bool showInFileManager(const std::string& path) = 0;
    // Who works at this computer, as a record of what was done names them: "ann on COUNTER1".
    virtual std::string whoIsHere();
    // Whether another copy of the program of this name runs for this user on this computer. The
    // first call of a copy that runs alone makes it the one the next copies find, for as long as it
    // runs (also when it ends without cleaning up, as when it is killed).
    virtual bool anotherCopyRunning(const std::string& program) = 0;
    // Ends the process at once: no destructors, no unload handlers.
    [[noreturn]] virtual void exitNow(int code) = 0;
    // The program's arguments in UTF-8, the program's own name first: `argv` where the system
    // gives it so (POSIX), the wide command line on Windows (argv there is in the code page).
    virtual std::vector<std::string> programArguments(int argc, char** argv) { return {argv, argv + argc}; }
    // Makes the standard input, output and error streams carry bytes as they are (on Windows
    // they would write each line end as CR LF).
    virtual void standardStreamsAsBytes() {}
    // Whether what the program writes to its standard error reaches a person: a terminal. A
    // program started from the desktop (and every window program on Windows) has none.
    virtual bool standardErrorIsTerminal() { return false; }
    // Lets the work that follows take its memory in large pages where the system allows it
    // (interest/large_pages.h says why); once per process.
    virtual void preferLargePages() = 0;

  protected:
    // `shown` is the name errors give (never empty).
    virtual std::unique_ptr<EnvFile> doOpen(const std::string& path, bool write, FileLock lock,
                                            const std::string& shown) = 0;
    virtual void doReplace(const std::string& path, std::string_view bytes, const std::string& temporary,
                           const std::string& shown) = 0;
    virtual void doRemove(const std::string& path, const std::string& shown) = 0;
    virtual bool doRemoveUnlessHeld(const std::string& path) = 0;
    virtual void doMakeFolder(const std::string& path, const std::string& shown) = 0;
    virtual void doCopy(const std::string& from, const std::string& to, const std::string& shown) = 0;
    virtual bool doRemoveTree(const std::string& path) = 0;
    virtual bool doRename(const std::string& from, const std::string& to) = 0;
};

// The operating system's Env (env_posix.cpp, env_win32.cpp).
Env& systemEnv();

} // namespace common
