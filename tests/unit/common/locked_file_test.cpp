#include "common/locked_file.h"
#include "common/record_file.h"
#include "tests/support/held_lock.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace testsupport;

TEST(LockTest, AnotherHolderIsPermissionDenied) {
    TempFolder tmp;
    putFile("1298.dat", std::string(94, ' '));
    // Hold the file the way another computer would: an exclusive lock of its own.
    testsupport::HeldLock other("1298.dat");
    EXPECT_EQ(errorOf([] { RecordFile("1298.dat", 94, Access::Read, Sharing::Shared); }), 70);
    EXPECT_EQ(errorOf([] { RecordFile("1298.dat", 94); }), 70);
    other.release();
    EXPECT_EQ(errorOf([] { RecordFile("1298.dat", 94, Access::Read, Sharing::Shared); }), 0);
}

TEST(LockTest, ReadersShareWritersExclude) {
    TempFolder tmp;
    putFile("a.dat", "x");
    LockedFile r1("a.dat", Access::Read);
    EXPECT_EQ(errorOf([] { LockedFile("a.dat", Access::Read); }), 0);
    EXPECT_EQ(errorOf([] { LockedFile("a.dat", Access::ReadWrite); }), 70);
    EXPECT_EQ(errorOf([] { LockedFile("a.dat", Access::ReadWrite, Sharing::Shared); }), 0);
}
