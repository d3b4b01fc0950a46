#include "appraise/worksheet/item_log.h"
#include "appraise/worksheet/item_stone_records.h"
#include "common/run_error.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace appraise;
using namespace testsupport;

TEST(ItemLogTest, CreatesCountsAndWritesInPlace) {
    TempFolder tmp;
    std::string rec(itemrec::length, '\0');
    storeField(rec, itemrec::itemno, "1");
    int created = 0;
    logItem(rec, [&] { ++created; });
    EXPECT_EQ(created, 1);
    EXPECT_EQ(getFile("appraise.pt"), " 1\r\n");
    EXPECT_EQ(getFile("appraise.dat"), rec);
    storeField(rec, itemrec::itemno, " 2");
    logItem(rec, [&] { ++created; });
    EXPECT_EQ(created, 1);
    EXPECT_EQ(getFile("appraise.pt"), " 2\r\n");
    EXPECT_EQ(getFile("appraise.dat").substr(itemrec::length), rec);
}

TEST(ItemLogTest, FullLogIsRefusedAndLeftAlone) {
    TempFolder tmp;
    putFile("appraise.pt", " 32767\r\n");
    putFile("appraise.dat", "old");
    try {
        logItem(std::string(itemrec::length, 'x'));
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_EQ(getFile("appraise.pt"), " 32767\r\n");
    EXPECT_EQ(getFile("appraise.dat"), "old");
}

TEST(ItemLogTest, FailedRecordWriteKeepsTheCount) {
    TempFolder tmp;
    putFile("appraise.pt", " 4\r\n");
    std::filesystem::create_directory("appraise.dat"); // cannot be opened as a file
    EXPECT_THROW(logItem(std::string(itemrec::length, 'x')), RunError);
    EXPECT_EQ(getFile("appraise.pt"), " 4\r\n");
}

TEST(ItemLogTest, NeverWritesOverALoggedItemWhateverTheCountFileSays) {
    TempFolder tmp;
    const std::string logged(3 * itemrec::length, 'L');
    const std::string rec(itemrec::length, 'N');
    for (const char* count : {"", "xx\r\n", " 1\r\n", "-5\r\n"}) {
        putFile("appraise.dat", logged + std::string(20, 'P')); // and a record cut short at the end
        putFile("appraise.pt", count);
        logItem(rec);
        const std::string after = getFile("appraise.dat");
        EXPECT_EQ(after.substr(0, logged.size() + 20), logged + std::string(20, 'P')) << count;
        EXPECT_EQ(after.substr(4 * itemrec::length), rec) << count;
        EXPECT_EQ(getFile("appraise.pt"), " 5\r\n") << count;
    }
    // A count ahead of the log is kept: the next record follows it.
    putFile("appraise.pt", " 9\r\n");
    logItem(rec);
    EXPECT_EQ(getFile("appraise.pt"), " 10\r\n");
}
