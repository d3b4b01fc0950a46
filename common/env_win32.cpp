// The operating system seam on Windows: the one file of the programs that calls Win32 directly.
// Paths are UTF-8 in the programs and wide strings here, so a store folder with any letters in
// its name works.
#include "common/env.h"

#include "common/run_error.h"

#ifndef NOMINMAX
#define NOMINMAX // std::min, not the macro
#endif
#include <windows.h>

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#ifndef ERROR_DISK_QUOTA_EXCEEDED
#define ERROR_DISK_QUOTA_EXCEEDED 1295L // not in every mingw-w64's headers
#endif

namespace common {

namespace {

std::wstring wide(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string narrow(const wchar_t* w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

// The classic error number and the trouble for a failed Win32 call, as the POSIX seam gives them
// for the matching errno.
[[noreturn]] void throwWin32(DWORD e, const std::string& shown) {
    switch (e) {
    case ERROR_FILE_NOT_FOUND: throw RunError(err::FileNotFound, shown, FileTrouble::Missing);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY: throw RunError(err::PathNotFound, shown);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: throw RunError(err::PermissionDenied, shown, FileTrouble::ReadOnly);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_QUOTA_EXCEEDED:
    case ERROR_FILE_TOO_LARGE: throw RunError(err::DiskFull, shown, FileTrouble::DiskFull);
    case ERROR_TOO_MANY_OPEN_FILES: throw RunError(err::TooManyFiles, shown);
    case ERROR_CRC:
    case ERROR_IO_DEVICE: throw RunError(err::DeviceIO, shown);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: throw RunError(err::FileExists, shown);
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME: throw RunError(err::BadName, shown);
    default: throw RunError(err::PathFileAccess, shown);
    }
}

[[noreturn]] void throwLast(const std::string& shown) { throwWin32(GetLastError(), shown); }

// Whole-file locks with LockFileEx, taken without waiting. A shared holder locks only the last
// byte a file can have, so that it can still write the file itself (Windows refuses writes
// inside a shared lock, even to its holder); an exclusive holder locks every byte, the last one
// with them, and so conflicts with every other holder, as POSIX whole-file locks do.
constexpr DWORD kAll = MAXDWORD;
constexpr DWORD kLastByteHigh = MAXDWORD;
constexpr DWORD kLastByteLow = MAXDWORD - 1;

bool lockWhole(HANDLE h, FileLock lock) {
    OVERLAPPED at{};
    if (lock == FileLock::Exclusive)
        return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, kAll, kAll, &at) != 0;
    at.Offset = kLastByteLow;
    at.OffsetHigh = kLastByteHigh;
    return LockFileEx(h, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

// Opens shared for reading, writing and deleting: the store's other computers keep using the
// files, and the locks decide who may.
HANDLE openShared(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileW(wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class Win32File : public EnvFile {
  public:
    Win32File(HANDLE h, std::string path) : h_(h), path_(std::move(path)) {}
    ~Win32File() override { close(); }
    // Closes the file before the object goes.
    void close() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

    size_t readAt(int64_t offset, char* data, size_t size) override {
        size_t done = 0;
        while (done < size) {
            OVERLAPPED at = at_(offset + static_cast<int64_t>(done));
            DWORD n = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
            if (!ReadFile(h_, data + done, want, &n, &at)) {
                const DWORD e = GetLastError();
                if (e == ERROR_HANDLE_EOF) break;
                throwWin32(e, path_);
            }
            if (n == 0) break;
            done += n;
        }
        return done;
    }

    void writeAt(int64_t offset, std::string_view bytes) override {
        size_t done = 0;
        while (done < bytes.size()) {
            OVERLAPPED at = at_(offset + static_cast<int64_t>(done));
            DWORD n = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
            if (!WriteFile(h_, bytes.data() + done, want, &n, &at)) throwLast(path_);
            done += n;
        }
    }

    int64_t size() override {
        LARGE_INTEGER s;
        if (!GetFileSizeEx(h_, &s)) throwLast(path_);
        return s.QuadPart;
    }

    void truncate(int64_t size) override {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = size;
        if (!SetFileInformationByHandle(h_, FileEndOfFileInfo, &end, sizeof end)) throwLast(path_);
    }

    void syncData() override {
        if (!FlushFileBuffers(h_)) throwLast(path_);
    }

  private:
    static OVERLAPPED at_(int64_t offset) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xffffffffu);
        at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
        return at;
    }
    HANDLE h_;
    std::string path_;
};

int64_t secondsOf(const FILETIME& t) {
    // 100-nanosecond steps since 1601.
    const uint64_t ticks = (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000u) - 11644473600LL;
}

int64_t sizeOf(DWORD high, DWORD low) { return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low); }

// The temporary file of the replace under way, removed when the console is closed or Ctrl+C or
// Ctrl+Break ends the program (the console's signals).
wchar_t pendingTemporary[MAX_PATH * 4];
std::atomic<bool> hasPendingTemporary{false};

BOOL WINAPI removePendingTemporary(DWORD) {
    if (hasPendingTemporary) DeleteFileW(pendingTemporary);
    return FALSE; // and end as the system would have
}

void watchConsoleOnce() {
    static std::once_flag once;
    std::call_once(once, [] { SetConsoleCtrlHandler(removePendingTemporary, TRUE); });
}

class PendingTemporary {
  public:
    explicit PendingTemporary(const std::wstring& path) {
        watchConsoleOnce();
        if (path.size() < std::size(pendingTemporary)) {
            std::memcpy(pendingTemporary, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
            hasPendingTemporary = true;
        }
    }
    ~PendingTemporary() { hasPendingTemporary = false; }
};

// A program's command line as the Microsoft C runtime splits it again into the same words.
void appendQuoted(std::wstring& line, const std::wstring& word) {
    if (!line.empty()) line += L' ';
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += word;
        return;
    }
    line += L'"';
    size_t slashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        line.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        line += c;
    }
    line.append(slashes * 2, L'\\');
    line += L'"';
}

class Win32Env : public Env {
  public:
    bool replacesOnlyClosedFiles() const override { return true; }

    std::string nameAsStored(const std::string& path) override {
        if (path.find_first_of("*?") != std::string::npos) return {};
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileExW(wide(path).c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr, 0);
        if (h == INVALID_HANDLE_VALUE) return {};
        FindClose(h);
        return narrow(d.cFileName);
    }

    PathInfo info(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA d;
        if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &d)) return {};
        return PathInfo{true, (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                        sizeOf(d.nFileSizeHigh, d.nFileSizeLow), secondsOf(d.ftLastWriteTime)};
    }

    std::vector<FolderEntry> list(const std::string& folder, bool namesOnly) override {
        std::vector<FolderEntry> entries;
        const std::wstring pattern = wide(folder.empty() ? std::string(".") : folder) + L"\\*";
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr,
                                    FIND_FIRST_EX_LARGE_FETCH);
        if (h == INVALID_HANDLE_VALUE) return entries;
        do {
            const std::wstring_view name = d.cFileName;
            if (name == L"." || name == L"..") continue;
            FolderEntry entry;
            entry.name = narrow(d.cFileName);
            if (!namesOnly) {
                entry.folder = (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                entry.size = sizeOf(d.nFileSizeHigh, d.nFileSizeLow);
                entry.modified = secondsOf(d.ftLastWriteTime);
            }
            entries.push_back(std::move(entry));
        } while (FindNextFileW(h, &d));
        FindClose(h);
        return entries;
    }

    bool isProgram(const std::string& path) override {
        const PathInfo i = info(path);
        if (!i.exists || i.folder || path.size() < 4) return false;
        std::string ext = path.substr(path.size() - 4);
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return ext == ".exe" || ext == ".com";
    }

    std::string registeredProgram(const std::string& program) override {
        const std::wstring key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + wide(program);
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            wchar_t value[MAX_PATH * 2];
            DWORD size = sizeof value;
            if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, value, &size) ==
                ERROR_SUCCESS) {
                std::wstring path = value;
                if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
                    path = path.substr(1, path.size() - 2);
                const std::string found = narrow(path.c_str());
                if (isProgram(found)) return found;
            }
        }
        return {};
    }

    std::vector<std::string> programFolders() override {
        std::vector<std::string> folders;
        const DWORD n = GetEnvironmentVariableW(L"PATH", nullptr, 0);
        if (n == 0) return folders;
        std::wstring path(n, L'\0');
        path.resize(GetEnvironmentVariableW(L"PATH", path.data(), n));
        size_t from = 0;
        while (from <= path.size()) {
            const size_t to = std::min(path.find(L';', from), path.size());
            std::wstring dir = path.substr(from, to - from);
            if (dir.size() >= 2 && dir.front() == L'"' && dir.back() == L'"') dir = dir.substr(1, dir.size() - 2);
            if (!dir.empty()) folders.push_back(narrow(dir.c_str()));
            from = to + 1;
        }
        return folders;
    }

    bool startProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                      WindowStyle style) override {
        const std::wstring app = wide(program);
        std::wstring line;
        appendQuoted(line, app);
        for (const std::string& a : arguments) appendQuoted(line, wide(a));
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(style);
        PROCESS_INFORMATION pi{};
        const std::wstring dir = wide(folder);
        if (!CreateProcessW(app.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, nullptr,
                            dir.empty() ? nullptr : dir.c_str(), &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return true;
    }

    bool showInFileManager(const std::string& path) override {
        // Explorer takes "/select," and the path as one word, the path in quotes of its own.
        std::wstring full(MAX_PATH, L'\0');
        const std::wstring given = wide(path);
        const DWORD n = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        full.resize(n > 0 && n < full.size() ? n : 0);
        if (full.empty()) full = given;
        std::wstring line = L"explorer.exe /select,\"" + full + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return true;
    }

    bool anotherCopyRunning(const std::string& program) override {
        // A named mutex per program in this user's session, held while the copy runs; the
        // system lets go of it when the process ends, however it ends.
        static std::map<std::string, HANDLE> held;
        if (held.count(program)) return false;
        HANDLE m = CreateMutexW(nullptr, FALSE, (L"Local\\Velmaron-" + wide(program)).c_str());
        if (!m) return false;
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(m);
            return true;
        }
        held[program] = m;
        return false;
    }

    [[noreturn]] void exitNow(int code) override {
        std::fflush(nullptr);
        // Not ExitProcess (which _Exit calls): it runs every DLL's detach code while other
        // threads may have died holding the locks that code takes, and now and then never ends
        // (seen under wine after a test program's tests had passed). The files are written
        // through the system, so nothing the program wrote is lost.
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
        std::_Exit(code);
    }

    std::vector<std::string> programArguments(int argc, char** argv) override {
        int n = 0;
        LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
        if (!wide) return Env::programArguments(argc, argv);
        std::vector<std::string> args;
        for (int i = 0; i < n; ++i) args.push_back(narrow(wide[i]));
        LocalFree(wide);
        return args;
    }

    void standardStreamsAsBytes() override {
        std::fflush(nullptr);
        for (FILE* f : {stdin, stdout, stderr}) _setmode(_fileno(f), _O_BINARY);
    }

    // A console program run in a console window writes there; a window program has no console.
    bool standardErrorIsTerminal() override {
        DWORD mode = 0;
        return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    }

    // Large pages need a privilege a store's user does not have: the heap stays as it is.
    void preferLargePages() override {}

  protected:
    std::unique_ptr<EnvFile> doOpen(const std::string& path, bool write, FileLock lock,
                                    const std::string& shown) override {
        const DWORD attributes = GetFileAttributesW(wide(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw RunError(err::PathFileAccess, shown);
        HANDLE h =
            openShared(path, write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, write ? OPEN_ALWAYS : OPEN_EXISTING);
        if (h == INVALID_HANDLE_VALUE) throwLast(shown);
        if (!lockWhole(h, lock)) {
            const DWORD e = GetLastError();
            CloseHandle(h);
            if (e == ERROR_LOCK_VIOLATION || e == ERROR_IO_PENDING)
                throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
            throwWin32(e, shown);
        }
        return std::make_unique<Win32File>(h, path);
    }

    void doReplace(const std::string& path, std::string_view bytes, const std::string& tmp,
                   const std::string& shown) override {
        const std::wstring wtmp = wide(tmp);
        const PendingTemporary pending(wtmp);
        HANDLE h = CreateFileW(wtmp.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            // Another program writing the same temporary file holds it open.
            const DWORD e = GetLastError();
            if (e == ERROR_SHARING_VIOLATION) throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
            throwWin32(e, shown);
        }
        // Held while it is written, so that a start elsewhere does not take it for one a stopped
        // program left behind.
        if (!lockWhole(h, FileLock::Exclusive)) {
            CloseHandle(h);
            throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
        }
        Win32File file(h, tmp);
        try {
            file.truncate(0);
            file.writeAt(0, bytes);
            file.syncData();
        } catch (const RunError& e) {
            file.close();
            DeleteFileW(wtmp.c_str());
            throw RunError(e.number(), shown, e.trouble());
        }
        // Closed first: Windows replaces a file only by one nobody has open.
        file.close();
        const std::wstring target = wide(path);
        // A read-only file stays as it is, as a read-only file's folder entry does on POSIX.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            DeleteFileW(wtmp.c_str());
            throw RunError(err::PermissionDenied, shown, FileTrouble::ReadOnly);
        }
        if (!MoveFileExW(wtmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD e = GetLastError();
            DeleteFileW(wtmp.c_str());
            // Refused because somebody has the file open: another computer holds it.
            if (e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION)
                throw RunError(err::PermissionDenied, shown, FileTrouble::HeldElsewhere);
            throwWin32(e, shown);
        }
    }

    void doRemove(const std::string& path, const std::string& shown) override {
        if (!DeleteFileW(wide(path).c_str())) throwLast(shown);
    }

    bool doRemoveUnlessHeld(const std::string& path) override {
        HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        // Marked for deletion while the lock shows nobody else holds it; gone when closed.
        FILE_DISPOSITION_INFO gone{};
        gone.DeleteFile = TRUE;
        const bool removed =
            lockWhole(h, FileLock::Exclusive) && SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone);
        CloseHandle(h);
        return removed;
    }

    void doMakeFolder(const std::string& path, const std::string& shown) override {
        if (!CreateDirectoryW(wide(path).c_str(), nullptr)) {
            const DWORD e = GetLastError();
            if (e == ERROR_ALREADY_EXISTS) throw RunError(err::PathFileAccess, shown);
            throwWin32(e, shown);
        }
    }

    bool doRename(const std::string& from, const std::string& to) override {
        return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH) !=
               0; // never over another file
    }

    bool doRemoveTree(const std::string& path) override { return removeTreeW(wide(path)); }

    void doCopy(const std::string& from, const std::string& to, const std::string& shown) override {
        if (!CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE)) throwLast(shown);
    }

  private:
    static bool removeTreeW(const std::wstring& folder) {
        bool all = true;
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr, 0);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = d.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + L"\\" + name;
                if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    all = removeTreeW(full) && all;
                else {
                    if (d.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                        SetFileAttributesW(full.c_str(), d.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
                    all = ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(full.c_str())
                                                                           : DeleteFileW(full.c_str())) &&
                          all;
                }
            } while (FindNextFileW(h, &d));
            FindClose(h);
        }
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return all;
        return RemoveDirectoryW(folder.c_str()) && all;
    }
};

} // namespace

Env& systemEnv() {
    static Win32Env env;
    return env;
}

} // namespace common
