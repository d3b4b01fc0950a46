// How the posting writes and reads the store's files: accounts it leaves keep every byte, blocks
// of any size end alike, the undo copy's seal, the progress, a block's failed write.
#include "common/file_names.h"
#include "common/locked_file.h"
#include "interest/posting_backup.h"
#include "tests/support/fault_env.h"
#include "tests/unit/interest/posting_store.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace common;
using namespace interest;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {
// Counts the writes of one file.
struct WriteCounter : WriteObserver {
    std::string name;
    int writes = 0;
    void created(const std::string&) override {}
    void beforeWrite(const LockedFile& f, int64_t, size_t size) override {
        if (size > 0 && fs::path(f.path()).filename() == name) ++writes;
    }
    void synced(const LockedFile&) override {}
};
} // namespace

// Accounts the posting leaves as they are keep every byte, also where they are written again
// between two changed ones (up to 16 of them), and a longer stretch is not written at all.
TEST(PostingWritesTest, AccountsLeftAsTheyAreKeepEveryByte) {
    TempFolder tmp;
    const std::set<int> owing{1, 2, 4, 21, 39, 70}; // gaps of 0, 1, 16, 17 and 30 accounts
    std::string cust, month;
    for (int i = 1; i <= 75; ++i) {
        const bool owes = owing.count(i) > 0;
        cust += accountBytes({"NAME" + std::to_string(i), "F", "1126", std::to_string(i), owes ? "100" : "0",
                              "555" + std::to_string(i), i});
        month += txBytes(i, "", "0", "Ring", "100.00");
    }
    putFile("cust.dat", cust);
    putFile("Cust.ptn", " 75\r\n");
    putFile("1126.dat", month);
    putFile("1126.ptn", " 75\r\n");
    WriteCounter counter;
    counter.name = "cust.dat";
    setWriteObserver(&counter);
    HeadlessHost host(true);
    StepLabel steplabel;
    PostingRun run(PostingInput{postingDateOf("12-8-26"), ".015", "1.00", false, false, false}, host, steplabel);
    const PostingOutcome outcome = run.run();
    setWriteObserver(nullptr);
    ASSERT_EQ(outcome, PostingOutcome::Completed);
    const std::string after = getFile("cust.dat");
    ASSERT_EQ(after.size(), cust.size());
    for (int i = 1; i <= 75; ++i) {
        const std::string_view was = std::string_view(cust).substr((i - 1) * custrec::length, custrec::length);
        const std::string_view is = std::string_view(after).substr((i - 1) * custrec::length, custrec::length);
        if (owing.count(i)) EXPECT_EQ(trim(fieldText(is, custrec::balance)), "101.5") << i;
        else EXPECT_EQ(is, was) << i;
    }
    EXPECT_EQ(counter.writes, 3); // 1 to 21 in one write, then 39, then 70
}

// The seal of the undo copy notes the account file as a fresh read finds it. A run from the first
// account on takes it from the blocks it wrote and reads only what lies past the accounts; a file
// shorter than its accounts, or one with much more past them, is read again.
TEST(PostingWritesTest, TheSealNotesTheAccountFileAsAReadOfItFindsIt) {
    struct Case {
        const char* what;
        int64_t pastAccounts; // bytes past the 40 accounts (fewer than none: the file is short)
        int32_t blockSize;
        bool fromBlocks;
    };
    struct ReadCounter : WriteObserver {
        int64_t bytes = 0;
        void created(const std::string&) override {}
        void beforeWrite(const LockedFile&, int64_t, size_t) override {}
        void synced(const LockedFile&) override {}
        void beforeRead(const LockedFile& f, int64_t, size_t size) override {
            if (fs::path(f.path()).filename() == "cust.dat") bytes += static_cast<int64_t>(size);
        }
    };
    for (const Case& c :
         {Case{"the accounts alone", 0, 7, true}, Case{"in one block", 0, 1000, true},
          Case{"a record cut short past them", 100, 7, true}, Case{"records past them", 3 * 222 + 5, 16, true},
          Case{"the last accounts cut short", -300, 7, false},
          Case{"more than 1 MiB past them", (1 << 20) + 222, 64, false}}) {
        TempFolder tmp;
        std::string cust, month;
        for (int i = 1; i <= 40; ++i) {
            cust +=
                accountBytes({"N" + std::to_string(i), "F", "1126", std::to_string(i), i % 3 ? "100" : "0", "555", i});
            month += txBytes(i, "", "0", "Ring", "100.00");
        }
        if (c.pastAccounts < 0) cust.resize(cust.size() - static_cast<size_t>(-c.pastAccounts));
        for (int64_t k = 0; k < c.pastAccounts; ++k) cust += static_cast<char>('A' + k % 23);
        putFile("cust.dat", cust);
        putFile("Cust.ptn", " 40\r\n");
        putFile("1126.dat", month);
        putFile("1126.ptn", " 40\r\n");
        ReadCounter reads;
        setWriteObserver(&reads);
        HeadlessHost host(true);
        StepLabel steplabel;
        PostingInput in{postingDateOf("12-8-26"), ".015", "1.00", false, false, false};
        in.blockSize = c.blockSize;
        const PostingOutcome outcome = PostingRun(in, host, steplabel).run();
        setWriteObserver(nullptr);
        ASSERT_EQ(outcome, PostingOutcome::Completed) << c.what;
        const auto backup = PostingBackup::newest();
        ASSERT_TRUE(backup) << c.what;
        EXPECT_EQ(PostingBackup::changedSince(*backup), "") << c.what;
        const auto size = static_cast<int64_t>(fs::file_size("cust.dat"));
        if (c.fromBlocks) EXPECT_LT(reads.bytes, size + 222) << c.what; // the blocks and the rest, once
        else EXPECT_GE(reads.bytes, 40 * 222 + size) << c.what;         // and the whole file again
    }
}

// The bar shows the share of the accounts handled, also in a store of fewer than 100.
TEST(PostingWritesTest, ProgressIsTheShareOfTheAccountsHandled) {
    TempFolder tmp;
    std::string cust;
    for (int i = 1; i <= 30; ++i) cust += accountBytes({"N" + std::to_string(i), "F", "", "0", "0", "555", i});
    putFile("cust.dat", cust);
    putFile("Cust.ptn", " 30\r\n");
    struct Recording : HeadlessHost {
        std::vector<int> shown;
        void progress(int percent) override { shown.push_back(percent); }
    } host;
    StepLabel steplabel;
    PostingInput in{postingDateOf("12-8-26"), ".015", "1.00", false, false, false};
    in.blockSize = 10;
    ASSERT_EQ(PostingRun(in, host, steplabel).run(), PostingOutcome::Completed);
    EXPECT_EQ(host.shown, (std::vector<int>{33, 66, 100}));
}

// Blocks written while the next is planned, the walks reading the month file being written, and
// (in blocks of 192 accounts or more) exclusion walks made ahead on another thread: the store
// ends as a posting in blocks of any size leaves it.
TEST(PostingWritesTest, BlocksWrittenWhileTheNextIsPlannedEndAsOneBlock) {
    const auto postWith = [](int32_t blockSize) {
        TempFolder tmp;
        std::string cust, november, december;
        for (int i = 1; i <= 400; ++i) {
            // Every other account's chain starts in the posting month file, which only the
            // planning reads; the others start in November, walked ahead.
            const bool sold = i % 2 == 0;
            cust += accountBytes({"N" + std::to_string(i), "F", sold ? "1226" : "1126", std::to_string(i),
                                  i % 7 == 0 ? "0" : "100", "555", i});
            november += txBytes(i, "", "0", "Ring", "60.00", i % 3 == 0 ? "11-20-26" : "11-2-26");
            december += txBytes(i, "1126", std::to_string(i), "Chain", "40.00", "12-2-26");
        }
        putFile("cust.dat", cust);
        putFile("Cust.ptn", " 400\r\n");
        putFile("1126.dat", november);
        putFile("1126.ptn", " 400\r\n");
        putFile("1226.dat", december);
        putFile("1226.ptn", " 400\r\n");
        putFile("firstmon.dat", "Y\r\n");
        HeadlessHost host(true);
        StepLabel steplabel;
        PostingInput in{postingDateOf("12-8-26"), ".015", "1.00", false, true, false};
        in.blockSize = blockSize;
        EXPECT_EQ(PostingRun(in, host, steplabel).run(), PostingOutcome::Completed);
        auto files = snapshot();
        files.erase("lastpost.dat");
        return std::make_pair(files, host.report());
    };
    const auto [oneBlock, oneReport] = postWith(1000);
    for (int32_t size : {1, 7, 191, 192, 250}) {
        const auto [blocks, report] = postWith(size);
        EXPECT_EQ(blocks, oneBlock) << size;
        EXPECT_EQ(report, oneReport) << size;
    }
    // The column headings, the accounts charged, the accounts not charged named, the counts.
    EXPECT_EQ(oneReport.size(), 410u);
}

// A block's write fails (the disk fills up) while a walk of the next block reads the month file
// where that block wrote: the run stops with the write's failure, which is not taken for a read
// the walk could retry.
TEST(PostingWritesTest, AFailedBlockWriteStopsTheRunAndIsNotTakenForARead) {
    TempFolder tmp;
    putFile("cust.dat", accountBytes({"A", "A", "1126", "1", "100", "5551", 1}) +
                            accountBytes({"B", "B", "1126", "2", "100", "5552", 2}) +
                            accountBytes({"C", "C", "1226", "27", "1", "5553", 3})); // past the month's records
    putFile("Cust.ptn", " 3\r\n");
    putFile("1126.dat", txBytes(1, "", "0", "Ring", "100.00") + txBytes(2, "", "0", "Ring", "100.00"));
    putFile("1126.ptn", " 2\r\n");
    std::string december;
    for (int r = 1; r <= 26; ++r) december += txBytes(9, "", "0", "Sale", "1.00", "12-1-26");
    putFile("1226.dat", december);
    putFile("1226.ptn", " 26\r\n");
    HeadlessHost host(true);
    StepLabel steplabel;
    std::string failure;
    PostingInput in{postingDateOf("12-8-26"), ".015", "1.00", false, true, false};
    in.blockSize = 2;
    PostingRun run(in, host, steplabel);
    {
        FaultEnv faults;
        // Room for one of the two charges.
        faults.setFileSizeLimit(static_cast<int64_t>(fs::file_size("1226.dat") + transrec::length));
        try {
            run.run();
        } catch (const RunError& e) {
            failure = postingFailureMessage(steplabel, e, run.lastDone()).toStdString();
        }
    }
    EXPECT_EQ(
        failure.rfind("HereE\rThe file 1226.dat could not be written: the disk is full.\rNo account was changed.", 0),
        0u)
        << failure;
    for (const std::string& box : host.shown()) EXPECT_EQ(box.find("HereG"), std::string::npos) << box;
    EXPECT_TRUE(fileExists("interest.jrn")); // the block is noted, for the next posting to complete
}
