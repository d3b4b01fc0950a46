#include "common/env.h"
#include "common/locked_file.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "tests/support/fault_env.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace testsupport;

TEST(EnvTest, LocksConflictAsBetweenTwoComputers) {
    TempFolder tmp;
    Env& env = Env::current();
    auto writer = env.open("a.dat", true, FileLock::Exclusive);
    EXPECT_TRUE(throwsRunError(err::PermissionDenied, [&] { env.open("a.dat", false, FileLock::Shared); }));
    writer.reset();
    auto reader = env.open("a.dat", false, FileLock::Shared);
    auto other = env.open("a.dat", false, FileLock::Shared); // readers share
    EXPECT_TRUE(throwsRunError(err::PermissionDenied, [&] { env.open("a.dat", true, FileLock::Exclusive); }));
    EXPECT_TRUE(throwsRunError(err::FileNotFound, [&] { env.open("missing.dat", false, FileLock::Shared); }));
    std::filesystem::create_directory("folder");
    EXPECT_TRUE(throwsRunError(err::PathFileAccess, [&] { env.open("folder", false, FileLock::Shared); }));
}

TEST(EnvTest, AFileStillOpenIsRemovedAndReplacesKeepThePermissions) {
    TempFolder tmp;
    Env& env = Env::current();
    auto held = env.open("j.dat", true, FileLock::Exclusive);
    held->writeAt(0, "entry");
    env.remove("j.dat");
#ifdef _WIN32
    // Deleted once closed; nobody can open it meanwhile.
    EXPECT_TRUE(throwsRunError(err::PermissionDenied, [&] { env.open("j.dat", true, FileLock::Shared); }));
#else
    EXPECT_FALSE(env.info("j.dat").exists);
#endif
    held->writeAt(5, "more"); // the open file goes on until it is closed
    held.reset();
    EXPECT_FALSE(env.info("j.dat").exists);
    writeBytes("p.dat", "old");
    namespace fs = std::filesystem;
#ifdef _WIN32
    // Windows keeps no mode, only the read-only attribute (a read-only file is not replaced).
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write |
                      fs::perms::others_read | fs::perms::others_write;
#else
    const auto mode = fs::perms::owner_read | fs::perms::owner_write;
#endif
    fs::permissions("p.dat", mode);
    env.replace("p.dat", "new", ".~new");
    EXPECT_EQ(fs::status("p.dat").permissions(), mode);
    EXPECT_FALSE(env.info("p.dat.~new").exists);
    EXPECT_EQ(env.info("p.dat").size, 3);
    env.makeFolder("sub");
    EXPECT_TRUE(throwsRunError(err::PathFileAccess, [&] { env.makeFolder("sub"); }));
}

TEST(FaultEnvTest, FaultsComeOnlyWhereAskedForAndGoWithIt) {
    TempFolder tmp;
    writeBytes("cust.dat", std::string(10, 'x'));
    {
        FaultEnv faults;
        faults.holdElsewhere("CUST.DAT");
        EXPECT_TRUE(throwsRunError(err::PermissionDenied, [] { LockedFile("cust.dat", Access::Read); }));
        faults.release("cust.dat");
        faults.makeReadOnly("cust.dat");
        EXPECT_TRUE(throwsRunError(err::PermissionDenied, [] { LockedFile("cust.dat", Access::ReadWrite); }));
        LockedFile("cust.dat", Access::Read); // reading is allowed
        faults.setFileSizeLimit(12);
        LockedFile other("other.dat", Access::ReadWrite);
        EXPECT_TRUE(throwsRunError(err::DiskFull, [&] { other.writeAt(8, "abcdef"); }));
        EXPECT_EQ(other.size(), 12); // what fitted was written
        faults.failSyncs("other.dat");
        EXPECT_TRUE(throwsRunError(err::DeviceIO, [&] { other.syncData(); }));
    }
    LockedFile back("cust.dat", Access::ReadWrite); // the system's again
    back.writeAt(100, "y");
    back.syncData();
}
