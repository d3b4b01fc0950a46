// The removal of a customer's charges, and chains of transactions that lead out of the store or
// into another account's: only the customer's own charges are offered and changed.
#include "common/file_names.h"
#include "interest/interest_removal.h"
#include "tests/unit/interest/posting_store.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;
namespace fs = std::filesystem;

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
