#pragma once
#include <stdexcept>
#include <string>

namespace common {

// Why a file could not be used, where the system said more than the classic number does.
enum class FileTrouble { None, HeldElsewhere, ReadOnly, DiskFull, Missing };

// The one run-time error type: a classic error number with its description.
class RunError : public std::runtime_error {
  public:
    explicit RunError(int number, std::string detail = {}, FileTrouble trouble = FileTrouble::None);
    int number() const noexcept { return number_; }
    // The runtime's description of the number ("File not found").
    const std::string& description() const noexcept { return description_; }
    // What failed (a file name, a field), for messages; may be empty.
    const std::string& detail() const noexcept { return detail_; }
    FileTrouble trouble() const noexcept { return trouble_; }

  private:
    int number_;
    std::string description_;
    std::string detail_;
    FileTrouble trouble_;
};

namespace err {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int Subscript = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int InternalError = 51;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int DeviceIO = 57;
constexpr int FileExists = 58;
constexpr int BadRecordLength = 59;
constexpr int DiskFull = 61;
constexpr int PastEnd = 62;
constexpr int BadRecordNumber = 63;
constexpr int BadName = 64;
constexpr int TooManyFiles = 67;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidPicture = 481;
constexpr int PrinterError = 482;
// The store's own: an account with transactions whose record names no month file for them.
constexpr int NoFileNamed = 1001;
} // namespace err

// The classic description of an error number.
std::string errorDescription(int number);

// The classic error number for a failed system call's errno.
int errorFromErrno(int errnoValue);

// What went wrong with the file of an error, in words: "is held by another computer", "is
// read-only", "could not be written: the disk is full", "is missing", or the description.
std::string troubleInWords(const RunError& e);

// Throws the RunError for errno after a failed system call on `what`.
[[noreturn]] void throwErrno(int errnoValue, const std::string& what);

} // namespace common
