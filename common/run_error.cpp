#include "common/run_error.h"

#include <cerrno>
#include <map>

namespace common {

namespace {
std::string composeWhat(int number, const std::string& description, const std::string& detail) {
    std::string s = "Error " + std::to_string(number) + ": " + description;
    if (!detail.empty()) s += " (" + detail + ")";
    return s;
}
} // namespace

RunError::RunError(int number, std::string detail, FileTrouble trouble)
    : std::runtime_error(composeWhat(number, errorDescription(number), detail)), number_(number),
      description_(errorDescription(number)), detail_(std::move(detail)), trouble_(trouble) {}

std::string errorDescription(int number) {
    static const std::map<int, std::string> texts = {
        {3, "Return without GoSub"},
        {5, "Invalid procedure call"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {10, "Duplicate definition"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {51, "Internal error"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {59, "Bad record length"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {63, "Bad record number"},
        {64, "Bad file name"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {74, "Can't rename with different drive"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {481, "Invalid picture"},
        {482, "Printer error"},
        {1001, "Nothing designated for file name"},
    };
    auto it = texts.find(number);
    return it != texts.end() ? it->second : "Application-defined or object-defined error";
}

int errorFromErrno(int e) {
    switch (e) {
    case ENOENT: return err::FileNotFound;
    case EACCES:
    case EPERM:
    case EAGAIN:
    case EROFS:
    case ETXTBSY: return err::PermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return err::DiskFull;
    case EMFILE:
    case ENFILE: return err::TooManyFiles;
    case EIO: return err::DeviceIO;
    case ENOTDIR: return err::PathNotFound;
    case EEXIST: return err::FileExists;
    case ENAMETOOLONG: return err::BadName;
    default: return err::PathFileAccess;
    }
}

namespace {
FileTrouble troubleOf(int e) {
    switch (e) {
    case EAGAIN: return FileTrouble::HeldElsewhere;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return FileTrouble::ReadOnly;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return FileTrouble::DiskFull;
    case ENOENT: return FileTrouble::Missing;
    default: return FileTrouble::None;
    }
}
} // namespace

void throwErrno(int e, const std::string& what) { throw RunError(errorFromErrno(e), what, troubleOf(e)); }

std::string troubleInWords(const RunError& e) {
    switch (e.trouble()) {
    case FileTrouble::HeldElsewhere: return "is held by another computer";
    case FileTrouble::ReadOnly: return "is read-only";
    case FileTrouble::DiskFull: return "could not be written: the disk is full";
    case FileTrouble::Missing: return "is missing";
    case FileTrouble::None: break;
    }
    if (e.number() == err::PermissionDenied) return "is held by another computer";
    if (e.number() == err::FileNotFound) return "is missing";
    if (e.number() == err::DiskFull) return "could not be written: the disk is full";
    return "could not be used: " + e.description();
}

} // namespace common
