// The posting and the removal against the store's files as they really are: the main program
// trading between runs, odd bytes in records, dates as a person types them, files that cannot
// be written.
#include "common/file_names.h"
#include "common/fixed_field.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_charge.h"
#include "interest/account_files.h"
#include "interest/interest_removal.h"
#include "interest/posting_backup.h"
#include "interest/posting_run.h"
#include "tests/support/fault_env.h"
#include "tests/support/headless_host.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace common;
using namespace interest;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {
struct Acct {
    std::string name1, name2, lastFile, lastRec, balance, phone;
    int acctno;
    std::string rating = "1", nointerest = "";
};

std::string accountBytes(const Acct& a) {
    // Bytes Interest does not own: 0x7f.
    return accountRecord(
        {a.name1, a.name2, a.lastFile, a.lastRec, a.balance, a.phone, a.acctno, a.rating, a.nointerest, '\x7f'});
}

std::string txBytes(int acct, const std::string& prevFile, const std::string& prevRec, const std::string& descr,
                    const std::string& amount, const std::string& date = "11-2-26", const std::string& type = "A") {
    return transactionRecord(acct, prevFile, prevRec, descr, amount, date, type, "", '\x7e');
}

std::string recordOf(const std::string& file, int n, size_t len) {
    const std::string all = getFile(file);
    return n >= 1 && n * len <= all.size() ? all.substr((n - 1) * len, len) : std::string();
}

// The store's folder listing with every file's bytes.
std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator("."))
        if (e.is_regular_file()) files[e.path().filename().string()] = getFile(e.path().string());
    return files;
}

// The main program sells to an account: the sale goes after the month file's pointer, the
// pointer moves on, the account points at the sale and owes more.
void sell(int acct, const std::string& amount) {
    RecordFile cust("cust.dat", custrec::length);
    std::string a = cust.read(acct);
    const int pointer = readPointer("1226.ptn") + 1;
    RecordFile("1226.dat", transrec::length)
        .write(pointer, txBytes(acct, std::string(fieldText(a, custrec::lasttxfile)),
                                std::string(trim(fieldText(a, custrec::lasttxrec))), "Sale", amount, "12-9-26"));
    writeLines("1226.ptn", {" " + std::to_string(pointer)});
    storeField(a, custrec::lasttxfile, "1226");
    storeField(a, custrec::lasttxrec, std::to_string(pointer));
    storeField(a, custrec::balance, "150");
    cust.write(acct, a);
}

class PostingSafetyTest : public ::testing::Test {
  protected:
    // Three accounts owing 100, each with one November charge; December holds two records.
    void SetUp() override {
        putFile("cust.dat", accountBytes({"DAVIS", "Di", "1126", "1", "100", "5550101", 1}) +
                                accountBytes({"ADAMS", "Ann", "1126", "2", "100", "5550102", 2}) +
                                accountBytes({"BAKER", "Bo", "1126", "3", "100", "5550103", 3}));
        putFile("Cust.ptn", " 3\r\n");
        putFile("1126.dat", txBytes(1, "", "0", "Ring", "100.00") + txBytes(2, "", "0", "Ring", "100.00") +
                                txBytes(3, "", "0", "Ring", "100.00"));
        putFile("1126.ptn", " 3\r\n");
        putFile("1226.dat", txBytes(9, "", "0", "Watch", "10.00", "12-1-26") +
                                txBytes(9, "1226", "1", "Watch", "10.00", "12-2-26"));
        putFile("1226.ptn", " 2\r\n");
    }
    PostingOutcome post(const std::string& date = "12-8-26") {
        host = std::make_unique<HeadlessHost>([] { throw HeadlessEnd{}; }, true);
        steplabel = Step::None;
        PostingRun run(PostingInput{date, ".015", "1.00", false, false, false}, *host, steplabel);
        try {
            return run.run();
        } catch (const RunError& e) {
            failure = postingFailureMessage(steplabel, e, run.lastDone()).toStdString();
            return PostingOutcome::Stopped;
        }
    }
    std::string account(int i) { return RecordFile("cust.dat", custrec::length, Access::Read).read(i); }
    bool reported(const std::string& start) {
        for (const auto& l : host->report())
            if (l.rfind(start, 0) == 0) return true;
        return false;
    }

    TempFolder tmp;
    std::unique_ptr<HeadlessHost> host;
    StepLabel steplabel;
    std::string failure;
};
} // namespace

TEST_F(PostingSafetyTest, SalesAppendedBetweenStopAndResumeSurviveAndTheChargesFollowThem) {
    {
        HeldElsewhere other("1226.dat"); // the first charge cannot be written
        EXPECT_EQ(post(), PostingOutcome::Stopped);
    }
    EXPECT_EQ(steplabel.text(), "HereE");
    EXPECT_TRUE(fileExists("interest.jrn"));
    // Between the runs the main program sells three times and moves the pointer to 5.
    sell(3, "20.00");
    sell(3, "20.00");
    sell(2, "30.00");
    const std::string sales = getFile("1226.dat").substr(2 * transrec::length);
    ASSERT_EQ(sales.size(), 3 * transrec::length);
    EXPECT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(getFile("1226.dat").substr(2 * transrec::length, 3 * transrec::length), sales); // intact
    EXPECT_EQ(getFile("1226.ptn"), " 8\r\n");
    // The charges follow the sales, each chained to its account's newest transaction.
    const std::string c1 = recordOf("1226.dat", 6, transrec::length), c2 = recordOf("1226.dat", 7, transrec::length),
                      c3 = recordOf("1226.dat", 8, transrec::length);
    EXPECT_EQ(fieldText(c1, transrec::acctno), "1    ");
    EXPECT_EQ(fieldText(c1, transrec::prevfile), "1126");
    EXPECT_EQ(fieldText(c2, transrec::prevfile), "1226");
    EXPECT_EQ(fieldText(c2, transrec::prevrec), "5       ");
    EXPECT_EQ(fieldText(c3, transrec::prevrec), "4       ");
    EXPECT_EQ(fieldText(account(1), custrec::lasttxrec), "6       ");
    EXPECT_EQ(fieldText(account(3), custrec::lasttxrec), "8       ");
    EXPECT_FALSE(fileExists("interest.jrn"));
}

TEST_F(PostingSafetyTest, TheChargeCutShortByAStopIsCompletedInItsOwnRecord) {
    {
        HeldElsewhere other("1226.dat");
        EXPECT_EQ(post(), PostingOutcome::Stopped);
    }
    // As if the stop had come in the middle of writing account 1's charge into record 3.
    const AccountCharge c =
        chargeAccount(account(1), 1, Money::fromText("100"), 3, ChargeTerms{.015, 1.0, "12-8-26", "1226.dat", false});
    putFile("1226.dat", getFile("1226.dat") + c.transaction.substr(0, 50));
    EXPECT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(recordOf("1226.dat", 3, transrec::length), c.transaction);
    EXPECT_EQ(fieldText(account(1), custrec::lasttxrec), "3       ");
    EXPECT_EQ(getFile("1226.ptn"), " 5\r\n");
    // Anything else cut short there is not the run's, and is left as it is.
    SetUp();
    {
        HeldElsewhere other("1226.dat");
        post();
    }
    putFile("1226.dat", getFile("1226.dat") + std::string(50, 'S'));
    EXPECT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(getFile("1226.dat").substr(2 * transrec::length, 50), std::string(50, 'S'));
    EXPECT_EQ(fieldText(account(1), custrec::lasttxrec), "4       ");
}

TEST_F(PostingSafetyTest, TrailingBlankInTheDateNamesTheSameMonthFileAndResumesIt) {
    {
        HeldElsewhere other("1226.dat");
        EXPECT_EQ(post("12-8-26 "), PostingOutcome::Stopped);
    }
    EXPECT_FALSE(fileExists("126 .dat"));
    EXPECT_EQ(post("12-8-26 "), PostingOutcome::Completed); // the retry the message asks for
    EXPECT_FALSE(fileExists("126 .dat"));
    EXPECT_FALSE(fileExists("126 .ptn"));
    EXPECT_EQ(getFile("1226.ptn"), " 5\r\n");
    EXPECT_EQ(fieldText(recordOf("1226.dat", 3, transrec::length), transrec::txdate), "12-8-26 ");
    EXPECT_EQ(getFile("lastpost.dat"), "12-8-26\r\n .015\r\n 1\r\n");
}

TEST_F(PostingSafetyTest, DatesThatNameNoMonthFileOfTheStoreChangeNothing) {
    putFile("lastpost.dat", "11-8-26\r\n .015\r\n 1\r\n");
    fs::create_directory("../x-outside");
    const auto before = snapshot();
    for (const char* date : {"cu-8-st", "..-8-/x", "12-8-2026", "12/8/26", "", "13-8-26", "0-8-26", "12-0-26"}) {
        EXPECT_EQ(post(date), PostingOutcome::Stopped) << date;
        ASSERT_EQ(host->shown().size(), 1u) << date;
        EXPECT_EQ(host->shown()[0], "The posting date must be month-day-year, for example 12-7-98.");
        EXPECT_EQ(host->reportLines(), 0) << date;
        EXPECT_EQ(snapshot(), before) << date;
    }
    EXPECT_FALSE(fs::exists("../x.dat"));
    EXPECT_TRUE(acceptablePostingDate("1-5-98"));
    EXPECT_TRUE(acceptablePostingDate("12-08-26"));
}

TEST(PostingDateTest, EveryTwoDigitYearNamesTheMonthFileOfTheStore) {
    // The store names a month file from its dates' first two and last two characters, the year
    // in two digits: January 2005 is "1-05.dat".
    const std::pair<const char*, const char*> rows[] = {
        {"1-15-05", "1-15-05"}, {"01-15-05", "1-15-05"}, {"12-7-00", "12-7-00"},  {"01-15-00", "1-15-00"},
        {"1-5-98", "1-5-98"},   {"12-08-26", "12-8-26"}, {"012-8-26", "12-8-26"}, {" 3-1-9 ", "3-1-09"}};
    for (const auto& [typed, normal] : rows) {
        EXPECT_TRUE(acceptablePostingDate(typed)) << typed;
        EXPECT_EQ(normalisePostingDate(typed), normal) << typed;
    }
    EXPECT_EQ(monthFileName(normalisePostingDate("1-15-05")), "1-05.dat");
    EXPECT_EQ(monthFileName(normalisePostingDate("01-15-00")), "1-00.dat");
    EXPECT_EQ(monthFileName(normalisePostingDate("12-7-00")), "1200.dat");
    // The month before January 00 is December 99.
    const PostingDate d = postingDate(normalisePostingDate("1-15-00"));
    EXPECT_EQ(d.prevMonth, 12);
    EXPECT_EQ(d.prevYear, 99);
    for (const char* wrong : {"12-7-2026", "13-1-05", "1-32-05", "1-15", "1--05", "a-1-05"})
        EXPECT_EQ(normalisePostingDate(wrong), "ERROR") << wrong;
}

TEST_F(PostingSafetyTest, ChainPointersOutsideTheStoreAreNeverFollowed) {
    // The store is a folder of its own; "y.dat" beside it belongs to something else.
    fs::create_directory("store");
    for (const char* f : {"cust.dat", "Cust.ptn", "1126.dat", "1126.ptn", "1226.dat", "1226.ptn"})
        fs::rename(f, std::string("store/") + f);
    const std::string outside = txBytes(2, "", "0", "Interest", "5.00");
    putFile("y.dat", outside);
    fs::current_path("store");
    RecordFile cust("cust.dat", custrec::length);
    std::string a = cust.read(1);
    storeField(a, custrec::lasttxfile, "../y");
    cust.write(1, a);
    // Account 2's newest transaction is its own interest, pointing back at "../y".
    RecordFile("1126.dat", transrec::length).write(2, txBytes(2, "../y", "1", "Interest", "1.50"));
    cust.close();
    HeadlessHost removal;
    removal.answers.assign(10, true);
    StepLabel label;
    EXPECT_EQ(removeInterest("5550101", removal, label).removed, 0);
    EXPECT_EQ(removeInterest("5550102", removal, label).removed, 1); // its own charge only
    EXPECT_EQ(getFile("../y.dat"), outside);
    EXPECT_EQ(fieldText(recordOf("1126.dat", 2, transrec::length), transrec::amount), "0.00    ");
    EXPECT_EQ(post(), PostingOutcome::Completed);
    EXPECT_EQ(getFile("../y.dat"), outside);
    fs::current_path("..");
}

TEST_F(PostingSafetyTest, RemovalNeverOffersAnotherAccountsCharge) {
    // Account 1's chain runs into account 3's interest charge.
    RecordFile("1126.dat", transrec::length).write(1, txBytes(1, "1126", "3", "Ring", "100.00"));
    RecordFile("1126.dat", transrec::length).write(3, txBytes(3, "", "0", "Interest", "2.00"));
    const auto before = snapshot();
    HeadlessHost removal;
    removal.answers.assign(10, true);
    StepLabel label;
    EXPECT_EQ(removeInterest("5550101", removal, label).removed, 0);
    EXPECT_TRUE(removal.shown().empty());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(PostingSafetyTest, AccountChangedSinceTheStopIsLeftForAPersonAndTheRestIsPosted) {
    // Account 1 is marked for no interest, so it is written before the charge of account 2 stops.
    RecordFile cust("cust.dat", custrec::length);
    std::string a1 = cust.read(1);
    storeField(a1, custrec::nointerest, "2");
    cust.write(1, a1);
    cust.close();
    {
        HeldElsewhere other("1226.dat");
        EXPECT_EQ(post(), PostingOutcome::Stopped);
    }
    sell(2, "30.00"); // the main program changes the account in flight
    const std::string changed = account(2);
    EXPECT_EQ(post(), PostingOutcome::Completed);
    ASSERT_FALSE(host->shown().empty());
    EXPECT_EQ(host->shown()[0].rfind("Account 2 (Ann ADAMS) has changed since the posting of 12-8-26", 0), 0u);
    EXPECT_TRUE(reported("Check by hand: account 2 Ann ADAMS"));
    EXPECT_EQ(account(2), changed);
    EXPECT_EQ(fieldText(account(3), custrec::lasttxfile), "1226"); // the rest is posted
    EXPECT_FALSE(fileExists("interest.jrn"));
    EXPECT_EQ(post("1-8-27"), PostingOutcome::Completed); // nothing locks the store out
}

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
    EXPECT_TRUE(reported("Not charged: account 1 Di DAVIS (its rating \"1E10\""));
    EXPECT_TRUE(reported("Not charged: account 2 Ann ADAMS (its balance \"1E99\""));
    EXPECT_TRUE(reported("Not charged: account 3 Bo BAKER (its lasttxrec \"1E10\""));
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
    EXPECT_EQ(post(), PostingOutcome::Stopped);
    EXPECT_EQ(host->shown(), std::vector<std::string>{
                                 "Interest is being posted on another computer. Try again when it has finished."});
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

TEST_F(PostingSafetyTest, RemovalTellsWhetherThePhoneWasFoundAndOffersTheSameDigits) {
    HeadlessHost removal;
    StepLabel label;
    RemovalResult r = removeInterest("5550199", removal, label);
    EXPECT_EQ(r.accounts, 0);
    EXPECT_TRUE(r.sameDigits.empty());
    r = removeInterest("555-0102", removal, label); // stored as 5550102
    EXPECT_EQ(r.accounts, 0);
    ASSERT_EQ(r.sameDigits.size(), 1u);
    EXPECT_EQ(r.sameDigits[0].account, 2);
    EXPECT_EQ(r.sameDigits[0].phone, "5550102");
    EXPECT_EQ(r.sameDigits[0].name, "Ann ADAMS");
    r = removeInterest("5550102", removal, label);
    EXPECT_EQ(r.accounts, 1);
    EXPECT_TRUE(r.sameDigits.empty());
}

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
    HeadlessHost host({}, true);
    StepLabel steplabel;
    PostingRun run(PostingInput{"12-8-26", ".015", "1.00", false, false, false}, host, steplabel);
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
        HeadlessHost host({}, true);
        StepLabel steplabel;
        PostingInput in{"12-8-26", ".015", "1.00", false, false, false};
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
    PostingInput in{"12-8-26", ".015", "1.00", false, false, false};
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
        HeadlessHost host({}, true);
        StepLabel steplabel;
        PostingInput in{"12-8-26", ".015", "1.00", false, true, false};
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
    EXPECT_EQ(oneReport.size(), 292u); // the column headings, the accounts charged, the counts
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
    HeadlessHost host([] { throw HeadlessEnd{}; }, true);
    StepLabel steplabel;
    std::string failure;
    PostingInput in{"12-8-26", ".015", "1.00", false, true, false};
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
