#include "common/basic_number.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "demo/demo_store.h"
#include "interest/account_files.h"
#include "interest/account_planner.h"
#include "interest/transaction_chain.h"
#include "store/month_files.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace demo;
using namespace testsupport;

TEST(DemoStoreTest, EveryAccountAndEveryChainReadsBack) {
    TempFolder tmp;
    writeDemoStore(QDate(2026, 12, 8));
    const int32_t count = clng(val(TextReader("Cust.ptn").readField()));
    ASSERT_GE(count, 28);
    RecordFile cust("cust.dat", custrec::length, Access::Read);
    EXPECT_EQ(cust.count(), count);
    int withBalance = 0, marked99 = 0, layaways = 0;
    RunFiles walked;
    for (int32_t i = 1; i <= count; ++i) {
        const std::string c = cust.read(i);
        EXPECT_EQ(val(fieldText(c, custrec::acctno)), i);
        if (val(fieldText(c, custrec::balance)) > 0) ++withBalance;
        if (trim(fieldText(c, custrec::nointerest)) == "99") ++marked99;
        const double rating = val(fieldText(c, custrec::rating));
        EXPECT_GE(rating, 1);
        EXPECT_LE(rating, 6);
        // The chain from the newest transaction to the oldest: four, each within its month's
        // pointer and each of this account (a missing file or a loop ends the walk short).
        FolderChainFiles files;
        TransactionChain chain(files, c);
        int steps = 0;
        while (chain.next()) {
            ASSERT_LE(chain.record(), readPointer(pointerFileName(chain.file()))) << "beyond the pointer";
            EXPECT_EQ(val(fieldText(chain.transaction(), transrec::acctno)), i);
            ++steps;
        }
        EXPECT_EQ(steps, 4) << "account " << i;
        if (val(fieldText(c, custrec::balance)) > 1 && layawayFlag(walked, c) == "Y") ++layaways;
    }
    EXPECT_GE(withBalance, count / 2);
    EXPECT_GE(marked99, 1);
    EXPECT_EQ(layaways, 2);
    for (const char* f : {"align.fa1", "bordsize.dat", "lastpost.dat", "anytown1.bmp", "8-26.dat", "1126.ptn"})
        EXPECT_TRUE(fileExists(f)) << f;
    EXPECT_FALSE(fileExists("opening.app")); // the template passages show their defaults
    EXPECT_FALSE(QImage(QStringLiteral("anytown1.bmp")).isNull());
}

TEST(DemoStoreTest, NeverWritesOverAStore) {
    TempFolder tmp;
    putFile("Cust.ptn", " 3\r\n");
    try {
        writeDemoStore(QDate(2026, 12, 8));
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 58);
    }
    EXPECT_EQ(getFile("Cust.ptn"), " 3\r\n");
    EXPECT_FALSE(fileExists("cust.dat"));
}

// The demo store names its month files from its dates as Interest does from a posting date: the
// year in two digits, with its leading zero, in every century.
TEST(DemoStoreTest, MonthCodesAsInterestNamesThem) {
    struct Row {
        QDate date;
        const char* written;
        const char* code;
    };
    const Row rows[] = {
        {QDate(2000, 1, 15), "1-15-00", "1-00"},   {QDate(2005, 1, 15), "1-15-05", "1-05"},
        {QDate(2009, 3, 1), "3-1-09", "3-09"},     {QDate(2010, 12, 7), "12-7-10", "1210"},
        {QDate(2026, 8, 5), "8-5-26", "8-26"},     {QDate(2026, 12, 7), "12-7-26", "1226"},
        {QDate(1999, 12, 31), "12-31-99", "1299"},
    };
    for (const Row& r : rows) {
        const std::string written = shortDateText(r.date);
        EXPECT_EQ(written, r.written) << r.written;
        EXPECT_EQ(store::monthCode(r.date), r.code) << r.written;
        EXPECT_TRUE(store::isMonthCode(store::monthCode(r.date))) << r.written;
        // The month file a posting of that date writes.
        EXPECT_EQ(postingDateOf(written).text, written) << r.written;
        EXPECT_EQ(postingDateOf(written).monthFile, store::monthCode(r.date) + ".dat") << r.written;
    }
}
