#include "appraise/printing/inserts.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace appraise;
using namespace testsupport;

// A passage the store has not written is missing, not empty: the print leaves out a signature
// block that has no file, but prints none for one whose file is empty.
TEST(InsertsTest, APassageIsItsFileOrNothing) {
    TempFolder tmp;
    EXPECT_EQ(passageLines(signatureFile), std::nullopt);
    EXPECT_EQ(typeLine(), std::nullopt);
    putFile("sigblock.app", "");
    EXPECT_EQ(passageLines(signatureFile), std::vector<std::string>{});
    putFile("type.app", "Insurance appraisal for\r\nsecond line\r\n");
    EXPECT_EQ(typeLine(), "Insurance appraisal for");
    EXPECT_EQ(insertText(inserts()[0]), "Insurance appraisal for\r\nsecond line\r\n");
    EXPECT_EQ(insertText(inserts()[1]), "I have this day inspected and graded the following:");
}

// An edited passage's Save writes one of the passages' files, never another file of the store.
TEST(InsertsTest, OnlyThePassagesArePassageFiles) {
    for (const Insert& ins : inserts()) EXPECT_TRUE(isPassageFile(ins.file)) << ins.file;
    for (const char* other : {"cust.dat", "main.app", "align.fac", "SIGBLOCK.APP", ""})
        EXPECT_FALSE(isPassageFile(other)) << other;
}

// The purpose is composed only once the store has its passage; its dates are filled in wherever
// the store put them, as often as it did.
TEST(InsertsTest, ThePurposeWithItsDatesFilledIn) {
    TempFolder tmp;
    EXPECT_TRUE(purposeLines("12-9-26", "12-10-26").empty());
    EXPECT_TRUE(insertText(inserts()[5]).find("{effective date}") != std::string::npos); // the default, to edit
    putFile("purpose.app",
            "Estate.\r\nSeen {effective date}; seen {effective date}.\r\nReport {report date}{report date}\r\n");
    EXPECT_EQ(purposeLines("12-9-26", "12-10-26"),
              (std::vector<std::string>{"Estate.", "Seen 12-9-26; seen 12-9-26.", "Report 12-10-2612-10-26"}));
    // A date that itself reads like a mark is not filled in again.
    EXPECT_EQ(purposeLines("{effective date}", "x"),
              (std::vector<std::string>{"Estate.", "Seen {effective date}; seen {effective date}.", "Report xx"}));
}
