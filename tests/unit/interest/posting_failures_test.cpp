// Files that cannot be used and numbers that cannot be read: the run says which file and what went
// wrong, changes nothing before its undo copy is complete, and leaves no half-written file.
#include "common/file_names.h"
#include "interest/posting_backup.h"
#include "tests/support/fault_env.h"
#include "tests/unit/interest/posting_store.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;
namespace fs = std::filesystem;

TEST_F(PostingSafetyTest, NumbersOutOfRangeLeaveTheAccountAndNameIt) {
    RecordFile cust("cust.dat", custrec::length);
    std::string a = cust.read(1);
    storeField(a, custrec::rating, "1E10");
    cust.write(1, a);
    a = cust.read(2);
    storeField(a, custrec::balance, "1E99");
    cust.write(2, a);
    a = cust.read(3);
    storeField(a, custrec::lasttxrec, "1E10");
    cust.write(3, a);
    cust.write(4, accountBytes({"EVANS", "Eve", "1126", "1", "100", "5550104", 4}));
    cust.close();
    putFile("Cust.ptn", " 4\r\n");
    const std::string before = getFile("cust.dat");
    EXPECT_EQ(post(), PostingOutcome::Completed);
    // Named in the section of accounts not charged, with the number that could not be read.
    EXPECT_TRUE(reported("its rating \"1E10\" cannot be read"));
    EXPECT_TRUE(reported("its balance \"1E99\" cannot be read"));
    EXPECT_TRUE(reported("its lasttxrec \"1E10\" cannot be read"));
    EXPECT_TRUE(reported("      2  ADAMS Ann"));
    EXPECT_TRUE(reported("numbers not readable"));
    EXPECT_EQ(getFile("cust.dat").substr(0, 3 * custrec::length), before.substr(0, 3 * custrec::length));
    EXPECT_EQ(fieldText(account(4), custrec::balance), "101.5   "); // the run went on
}

TEST_F(PostingSafetyTest, FailuresSayTheFileWhatWentWrongAndHowFarTheRunGot) {
    {
        HeldElsewhere other("1226.dat");
        post();
    }
    EXPECT_EQ(failure, "HereE\rThe file 1226.dat is held by another computer.\rNo account was changed. Post again "
                       "with the same date to complete the posting.");
    // The disk fills up at the month file, after room for one more charge (no file may grow
    // past that size; the journal's entry is smaller).
    for (int r = 3; r <= 26; ++r)
        RecordFile("1226.dat", transrec::length).write(r, txBytes(9, "", "0", "Sale", "1.00"));
    putFile("1226.ptn", " 26\r\n");
    {
        FaultEnv faults;
        faults.setFileSizeLimit(static_cast<int64_t>(fs::file_size("1226.dat") + transrec::length));
        post();
    }
    // The block's transactions go first: the one that fits is written, no account is.
    EXPECT_EQ(failure, "HereE\rThe file 1226.dat could not be written: the disk is full.\rNo account was changed. "
                       "Post again with the same date to complete the posting.");
    EXPECT_EQ(fs::file_size("1226.dat"), 27 * transrec::length);
    EXPECT_EQ(getFile("1226.ptn"), " 26\r\n");
    EXPECT_EQ(fieldText(account(1), custrec::lasttxfile), "1126");
}

// The copy for an undo is made beside the planning; until it is complete nothing is written, and
// a run that stops before its first write is not recorded as the last posting, nor does it hide
// the last completed posting from an undo.
TEST_F(PostingSafetyTest, NothingIsWrittenBeforeTheUndoCopyIsCompleteNorRecordedWhenNothingWas) {
    ASSERT_EQ(post("11-8-26"), PostingOutcome::Completed);
    const auto november = PostingBackup::newest();
    ASSERT_TRUE(november && PostingBackup::sealed(*november));
    putFile("lastpost.dat", "11-8-26\r\n .015\r\n 1\r\n");
    fs::remove("1226.dat"); // December has no sales yet, and no count
    fs::remove("1226.ptn");
    const auto before = snapshot();
    // The copy fails: the disk is full before the account file's copy is complete.
    {
        FaultEnv faults;
        faults.setFileSizeLimit(static_cast<int64_t>(fs::file_size("cust.dat")) - 1);
        post();
    }
    EXPECT_EQ(failure.rfind("HereA\rThe file INTBACK\\", 0), 0u) << failure;
    EXPECT_NE(failure.find("cust.dat could not be written: the disk is full."), std::string::npos) << failure;
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(PostingBackup::newest(), november);
    // The account file is held: the run stops after the copy and before its first write.
    {
        HeldElsewhere other("cust.dat");
        post();
    }
    EXPECT_EQ(failure.rfind("HereD\rThe file cust.dat is held by another computer.", 0), 0u) << failure;
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(PostingBackup::newest(), november); // still the one to undo
    // Posted: the copy holds the files as they were.
    ASSERT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(getFile("lastpost.dat"), "12-8-26\r\n .015\r\n 1\r\n");
    const auto backup = PostingBackup::newest();
    ASSERT_TRUE(backup);
    EXPECT_TRUE(PostingBackup::sealed(*backup));
    PostingBackup::restore(*backup);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(PostingSafetyTest, ReadOnlyAccountFileIsNamed) {
    // As on a read-only file system (or a share the store's computer may only read).
    const auto before = snapshot();
    {
        FaultEnv faults;
        faults.makeReadOnly("cust.dat");
        post();
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(steplabel.text(), "HereD");
    EXPECT_EQ(failure.rfind("HereD\rThe file cust.dat is read-only.\rNo account was changed.", 0), 0u) << failure;
}

TEST_F(PostingSafetyTest, SecondPostingIsRefusedAtOnceWhileOneRuns) {
    const auto before = snapshot();
    HeldElsewhere running("interest.jrn");
    EXPECT_EQ(post(), PostingOutcome::PostingElsewhere);
    EXPECT_TRUE(host->shown().empty());
    EXPECT_EQ(host->reportLines(), 0);
    auto after = snapshot();
    after.erase("interest.jrn"); // the other run's
    EXPECT_EQ(after, before);
}

TEST(StaleTemporariesTest, LeftOnesAreClearedAndOnesBeingWrittenKept) {
    TempFolder tmp;
    putFile("lastpost.dat.~new", "half");
    putFile("colnotes.dat.~new", "being written");
    HeldElsewhere writing("colnotes.dat.~new");
    clearStaleTemporaries();
    EXPECT_FALSE(fileExists("lastpost.dat.~new"));
    EXPECT_TRUE(fileExists("colnotes.dat.~new"));
}

TEST(StaleTemporariesTest, AFailedReplaceLeavesTheOldFileAndNoTemporary) {
    TempFolder tmp;
    putFile("lastpost.dat", "12-8-26\r\n");
    int number = 0;
    {
        FaultEnv faults;
        faults.setFileSizeLimit(4);
        try {
            writeLines("lastpost.dat", {"1-8-27", " .015", " 1"});
        } catch (const RunError& e) {
            number = e.number();
        }
    }
    EXPECT_EQ(number, 61);
    EXPECT_EQ(getFile("lastpost.dat"), "12-8-26\r\n");
    EXPECT_FALSE(fileExists("lastpost.dat.~new"));
}
