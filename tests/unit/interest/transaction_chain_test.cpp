#include "common/fixed_field.h"
#include "interest/account_files.h"
#include "interest/transaction_chain.h"
#include "tests/support/fault_env.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;

namespace {
std::string tx(const std::string& prevFile, const std::string& prevRec, const std::string& descr = "Ring") {
    std::string t(transrec::length, ' ');
    storeField(t, transrec::acctno, "7");
    storeField(t, transrec::prevfile, prevFile);
    storeField(t, transrec::prevrec, prevRec);
    storeField(t, transrec::descr, descr);
    return t;
}

// The places a whole walk visits, as "file:record".
std::vector<std::string> walk(const std::string& acct) {
    FolderChainFiles files;
    TransactionChain chain(files, acct);
    std::vector<std::string> seen;
    while (chain.next()) seen.push_back(chain.file() + ":" + std::to_string(chain.record()));
    return seen;
}
} // namespace

TEST(TransactionChainTest, WalksBackAcrossMonthFilesToTheEnd) {
    TempFolder tmp;
    putFile("1226.dat", tx("1126", "2") + tx("", "0"));
    putFile("1126.dat", tx("", "0") + tx("1226", "2"));
    EXPECT_EQ(walk(diazAccount("1226", "1")), (std::vector<std::string>{"1226.dat:1", "1126.dat:2", "1226.dat:2"}));
}

TEST(TransactionChainTest, EndsAtLoopsMissingFilesNulsAndRecordsBelowOne) {
    TempFolder tmp;
    putFile("1226.dat", tx("1226", "1"));
    EXPECT_EQ(walk(diazAccount("1226", "1")), std::vector<std::string>{"1226.dat:1"}); // points at itself
    EXPECT_TRUE(walk(diazAccount("0526", "1")).empty());                               // no such month file
    EXPECT_TRUE(walk(diazAccount("1226", "0")).empty());
    EXPECT_TRUE(walk(diazAccount("1226", "-3")).empty());
    EXPECT_TRUE(walk(diazAccount(std::string("12\0"
                                             "6",
                                             4),
                                 "1"))
                    .empty());
    // A never-written account: NULs in its pointer fields.
    EXPECT_TRUE(walk(std::string(custrec::length, '\0')).empty());
}

TEST(TransactionChainTest, NamesTheCallerRefusesEndTheWalk) {
    TempFolder tmp;
    putFile("1226.dat", tx("1326", "1"));
    putFile("1326.dat", tx("", "0"));
    FolderChainFiles files;
    TransactionChain chain(files, diazAccount("1226", "1"), [](const std::string& f) { return f != "1326.dat"; });
    ASSERT_TRUE(chain.next());
    EXPECT_EQ(chain.nextFile(), "1326.dat");
    EXPECT_FALSE(chain.next());
}

TEST(TransactionChainTest, AFailedReadCanBeRepeated) {
    TempFolder tmp;
    putFile("1226.dat", tx("", "0"));
    FolderChainFiles files;
    TransactionChain chain(files, diazAccount("1226", "1"));
    {
        HeldElsewhere other("1226.dat");
        EXPECT_TRUE(throwsRunError(70, [&] { chain.next(); }));
    }
    ASSERT_TRUE(chain.next()); // the same place, now that the other computer let go
    EXPECT_EQ(chain.record(), 1);
    EXPECT_FALSE(chain.next());
}
