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

// An edited passage's Save writes one of the five files, never another file of the store.
TEST(InsertsTest, OnlyTheFivePassagesArePassageFiles) {
    for (const Insert& ins : inserts()) EXPECT_TRUE(isPassageFile(ins.file)) << ins.file;
    for (const char* other : {"cust.dat", "main.app", "align.fac", "SIGBLOCK.APP", ""})
        EXPECT_FALSE(isPassageFile(other)) << other;
}
