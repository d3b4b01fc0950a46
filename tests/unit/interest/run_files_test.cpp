#include "common/fixed_field.h"
#include "interest/account_files.h"
#include "interest/transaction_chain.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <random>

using namespace common;
using namespace interest;
using namespace testsupport;

namespace {
// A transaction that names its own record number in its description.
std::string numbered(int32_t record) {
    std::string t(transrec::length, ' ');
    storeField(t, transrec::descr, "record " + std::to_string(record));
    return t;
}

std::string monthFile(int32_t records) {
    std::string bytes;
    for (int32_t r = 1; r <= records; ++r) bytes += numbered(r);
    return bytes;
}
} // namespace

// 100 pieces of about 64 KiB: more than the cache holds at first, so pieces are let go, read
// again and the cache grows; every read must still give its own record.
TEST(RunFilesTest, EveryReadGivesItsRecordWhilePiecesComeAndGo) {
    TempFolder tmp;
    const int32_t records = 697 * 100 + 5; // the last piece cut short
    putFile("1126.dat", monthFile(records));
    RunFiles files;
    for (int32_t r = 1; r <= records; r += 97) ASSERT_EQ(files.read("1126.dat", r), numbered(r)) << r;
    std::mt19937 rng(3);
    for (int n = 0; n < 20000; ++n) {
        const auto r = static_cast<int32_t>(1 + rng() % records);
        ASSERT_EQ(files.read("1126.dat", r), numbered(r)) << r;
    }
    // Past the end of the file: NULs, as a record file reads there.
    EXPECT_EQ(files.read("1126.dat", records + 1), std::string(transrec::length, '\0'));
}

TEST(RunFilesTest, TwoSpellingsAreOneFileAndAMissingFileIsNone) {
    TempFolder tmp;
    putFile("1126.dat", monthFile(3));
    RunFiles files;
    EXPECT_GE(files.identity("1126.dat"), 0);
    EXPECT_EQ(files.identity("1126.DAT"), files.identity("1126.dat"));
    EXPECT_EQ(files.identity("1026.dat"), -1);
    EXPECT_FALSE(files.exists("1026.dat"));
    EXPECT_TRUE(throwsRunError(53, [&] { files.read("1026.dat", 1); }));
}

// The month file the run writes was read by a walk first: once opened for writing, a read
// gives what is there now, not a piece kept from before.
TEST(RunFilesTest, AFileOpenedForWritingIsReadAsItIsNow) {
    TempFolder tmp;
    putFile("1226.dat", monthFile(3));
    RunFiles files;
    EXPECT_EQ(files.read("1226.dat", 2), numbered(2));
    RecordFile& month = files.open("1226.dat", transrec::length, Access::ReadWrite, Sharing::Default);
    month.write(2, numbered(99));
    EXPECT_EQ(files.read("1226.dat", 2), numbered(99));
    EXPECT_EQ(files.read("1226.DAT", 2), numbered(99));
    // A file the run creates is there from then on.
    EXPECT_FALSE(files.exists("0127.dat"));
    files.open("0127.dat", transrec::length, Access::ReadWrite, Sharing::Default);
    EXPECT_TRUE(files.exists("0127.dat"));
}

// A chain longer than the short list of places visited, looping back at its end, is walked
// once, each record in order.
TEST(RunFilesTest, ALongLoopingChainIsWalkedOnce) {
    TempFolder tmp;
    const int32_t n = 300;
    std::string bytes;
    for (int32_t r = 1; r <= n; ++r) {
        std::string t = numbered(r);
        storeField(t, transrec::prevfile, "1126");
        storeField(t, transrec::prevrec, std::to_string(r == 1 ? n : r - 1)); // 1 points back at n
        bytes += t;
    }
    putFile("1126.dat", bytes);
    std::string account(custrec::length, ' ');
    storeField(account, custrec::lasttxfile, "1126");
    storeField(account, custrec::lasttxrec, std::to_string(n));
    RunFiles files;
    TransactionChain chain(files, account);
    int32_t expected = n, walked = 0;
    while (chain.next()) {
        ASSERT_EQ(chain.record(), expected);
        ASSERT_EQ(fieldText(chain.transaction(), transrec::descr), fieldText(numbered(expected), transrec::descr));
        expected = expected == 1 ? n : expected - 1;
        ++walked;
    }
    EXPECT_EQ(walked, n);
}
