#include "common/locked_file.h"
#include "common/run_error.h"
#include "tests/support/held_lock.h"
#include "tests/support/temp_folder.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace common;
using namespace testsupport;

namespace {
bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

RunError caught(const std::function<void()>& f) {
    try {
        f();
    } catch (const RunError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return RunError(0);
}
} // namespace

// What a message shows of an error: its number, the runtime's description of it and what failed.
TEST(RunErrorTest, TheMessageCarriesNumberDescriptionAndDetail) {
    for (int number : {err::Overflow, err::Subscript, err::TypeMismatch, err::FileNotFound, err::DiskFull, err::PastEnd,
                       err::PermissionDenied, err::PathFileAccess, err::PrinterError}) {
        const RunError e(number, "cust.dat");
        const std::string what = e.what();
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.description(), errorDescription(number));
        EXPECT_EQ(e.detail(), "cust.dat");
        EXPECT_TRUE(contains(what, std::to_string(number))) << what;
        EXPECT_TRUE(contains(what, e.description())) << what;
        EXPECT_TRUE(contains(what, "cust.dat")) << what;
        EXPECT_EQ(RunError(number).what(), "Error " + std::to_string(number) + ": " + e.description()) << number;
    }
}

// Each number the programs raise has a description of its own; one the runtime does not know is
// described as the runtime does any other.
TEST(RunErrorTest, EachNumberHasItsOwnDescription) {
    std::set<std::string> seen;
    const int numbers[] = {err::InvalidCall,     err::Overflow,       err::OutOfMemory,      err::Subscript,
                           err::DivisionByZero,  err::TypeMismatch,   err::InternalError,    err::BadFileName,
                           err::FileNotFound,    err::BadFileMode,    err::DeviceIO,         err::FileExists,
                           err::BadRecordLength, err::DiskFull,       err::PastEnd,          err::BadRecordNumber,
                           err::BadName,         err::TooManyFiles,   err::PermissionDenied, err::PathFileAccess,
                           err::PathNotFound,    err::InvalidPicture, err::PrinterError};
    const std::string unknown = errorDescription(1234);
    EXPECT_EQ(errorDescription(999), unknown);
    for (int number : numbers) {
        EXPECT_NE(errorDescription(number), unknown) << number;
        EXPECT_TRUE(seen.insert(errorDescription(number)).second) << number;
    }
}

// A file another computer holds is error 70, the number the posting's retries and the "posted on
// another computer" question look for; its words say so, where a read-only file under the same
// number says that instead.
TEST(RunErrorTest, AFileHeldElsewhereIsError70AndSaysSo) {
    TempFolder tmp;
    putFile("1226.dat", std::string(94, ' '));
    HeldLock other("1226.dat");
    const RunError held = caught([] { LockedFile("1226.dat", Access::ReadWrite); });
    EXPECT_EQ(held.number(), err::PermissionDenied);
    EXPECT_EQ(held.number(), 70);
    EXPECT_EQ(held.trouble(), FileTrouble::HeldElsewhere);
    EXPECT_EQ(troubleInWords(held), "is held by another computer");
    EXPECT_TRUE(contains(held.detail(), "1226.dat")) << held.detail();

    EXPECT_EQ(errorFromErrno(EAGAIN), 70);
    EXPECT_EQ(caught([] { throwErrno(EAGAIN, "1226.dat"); }).trouble(), FileTrouble::HeldElsewhere);
    const RunError readOnly = caught([] { throwErrno(EROFS, "1226.dat"); });
    EXPECT_EQ(readOnly.number(), 70);
    EXPECT_EQ(troubleInWords(readOnly), "is read-only");
}

// The system's reasons come to the classic numbers the messages and the checks know.
TEST(RunErrorTest, SystemErrorsComeToTheClassicNumbers) {
    EXPECT_EQ(caught([] { throwErrno(ENOENT, "cust.dat"); }).number(), err::FileNotFound);
    EXPECT_EQ(troubleInWords(caught([] { throwErrno(ENOENT, "cust.dat"); })), "is missing");
    const RunError full = caught([] { throwErrno(ENOSPC, "1226.dat"); });
    EXPECT_EQ(full.number(), err::DiskFull);
    EXPECT_EQ(troubleInWords(full), "could not be written: the disk is full");
    EXPECT_EQ(full.detail(), "1226.dat");
    // Without a reason from the system, the words come from the number.
    EXPECT_EQ(troubleInWords(RunError(err::FileNotFound, "x")), "is missing");
    EXPECT_EQ(troubleInWords(RunError(err::BadRecordLength, "x")), "could not be used: " + RunError(59).description());
}
