#include "interest/posting_backup.h"
#include "interest/posting_journal.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using namespace interest;
using namespace testsupport;

namespace {
JournalBlock bigBlock(int32_t accounts) {
    JournalBlock b;
    b.datebox = "12-8-26";
    b.first = 1;
    b.last = accounts;
    b.monthlast = 77;
    for (int32_t i = 1; i <= accounts; ++i) {
        JournalAccount a;
        a.account = i;
        a.beforeHash = recordHash(std::to_string(i));
        a.after = std::string(222, static_cast<char>('A' + i % 26));
        a.record = i % 3 == 0 ? 0 : 100 + i; // every third account only marked
        if (a.record > 0) a.transaction = std::string(94, static_cast<char>('a' + i % 26));
        b.accounts.push_back(std::move(a));
    }
    return b;
}
} // namespace

// Bytes fed in pieces of any sizes give the fingerprint of the bytes whole.
TEST(FingerprintTest, PiecesOfAnySizeGiveTheWholeFingerprint) {
    std::mt19937 rng(5);
    std::string bytes(5000, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    for (size_t total : {size_t{0}, size_t{1}, size_t{7}, size_t{8}, size_t{9}, size_t{4999}, size_t{5000}}) {
        const std::string_view whole(bytes.data(), total);
        for (int trial = 0; trial < 50; ++trial) {
            Fingerprint f;
            for (size_t at = 0; at < total;) {
                const size_t n = std::min<size_t>(total - at, rng() % 20);
                f.add(whole.substr(at, n));
                at += n;
            }
            ASSERT_EQ(f.value(), recordHash(whole)) << total;
        }
    }
}

// A file's state for the seal, fed in blocks of any size, is what seals already written hold:
// the size, then the fingerprints of its pieces of 1 MiB folded one after the other.
TEST(FingerprintTest, AFilesStateFedInBlocksIsFoldedByPiecesOfOneMiB) {
    std::mt19937 rng(9);
    std::string bytes((5 << 19) + 7, '\0'); // two and a half MiB and a few bytes
    for (char& c : bytes) c = static_cast<char>(rng());
    for (size_t total : {size_t{0}, size_t{3}, size_t{1} << 20, (size_t{1} << 20) + 1, bytes.size()}) {
        const std::string_view whole(bytes.data(), total);
        uint64_t folded = 0;
        for (size_t at = 0; at < total; at += size_t{1} << 20)
            folded = folded * 1099511628211ULL ^ recordHash(whole.substr(at, size_t{1} << 20));
        for (size_t block : {size_t{222}, size_t{32768} * 222, size_t{1} << 20, size_t{10} << 20}) {
            FileState state;
            for (size_t at = 0; at < total; at += block) state.add(whole.substr(at, block));
            EXPECT_EQ(state.text(), std::to_string(total) + " " + std::to_string(folded)) << total << " " << block;
        }
    }
}

// An entry larger than the pieces it is written in reads back whole; cut short by any number
// of bytes, it reads as none and the entry before it counts.
TEST(PostingJournalTest, AnEntryWrittenInPiecesReadsBackAndACutOneDoesNot) {
    TempFolder tmp;
    const JournalBlock small = bigBlock(3), big = bigBlock(5000); // about 1.6 MiB
    {
        PostingJournal journal;
        journal.note(small);
        journal.note(big);
    }
    const auto size = std::filesystem::file_size(PostingJournal::fileName);
    {
        PostingJournal journal;
        const auto pending = journal.pending();
        ASSERT_TRUE(pending);
        EXPECT_EQ(pending->sequence, 2u);
        EXPECT_EQ(pending->datebox, "12-8-26");
        EXPECT_EQ(pending->monthlast, 77);
        ASSERT_EQ(pending->accounts.size(), big.accounts.size());
        for (size_t k = 0; k < big.accounts.size(); ++k) {
            const JournalAccount &a = pending->accounts[k], &b = big.accounts[k];
            ASSERT_EQ(a.account, b.account);
            ASSERT_EQ(a.beforeHash, b.beforeHash);
            ASSERT_EQ(a.after, b.after);
            ASSERT_EQ(a.record, b.record);
            ASSERT_EQ(a.transaction, b.transaction);
        }
    }
    for (uintmax_t cut : {uintmax_t{1}, uintmax_t{8}, uintmax_t{1 << 20}}) {
        std::filesystem::resize_file(PostingJournal::fileName, size - cut);
        PostingJournal journal;
        const auto pending = journal.pending();
        ASSERT_TRUE(pending);
        EXPECT_EQ(pending->sequence, 1u) << cut;
        EXPECT_EQ(pending->accounts.size(), 3u);
    }
}
