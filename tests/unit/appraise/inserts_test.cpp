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

// The purpose is composed only once the store has its passage; its marks are filled in wherever
// the store put them, as often as it did.
TEST(InsertsTest, ThePurposeWithItsMarksFilledIn) {
    TempFolder tmp;
    const Purpose estate{"estate", "fair market value"};
    EXPECT_TRUE(purposeLines(estate, "12-9-26", "12-10-26").empty());
    EXPECT_TRUE(insertText(inserts()[5]).find("{effective date}") != std::string::npos); // the default, to edit
    putFile("purpose.app", "For {purpose} ({type of value}).\r\nSeen {effective date}; seen {effective date}.\r\n"
                           "Report {report date}{report date}\r\n");
    EXPECT_EQ(purposeLines(estate, "12-9-26", "12-10-26"),
              (std::vector<std::string>{"For estate (fair market value).", "Seen 12-9-26; seen 12-9-26.",
                                        "Report 12-10-2612-10-26"}));
    // A date that itself reads like a mark is not filled in again.
    EXPECT_EQ(purposeLines(estate, "{effective date}", "x")[1], "Seen {effective date}; seen {effective date}.");
}

// The store's purposes: its own list, the first the usual one; the default without one.
TEST(InsertsTest, ThePurposesTheStoreLists) {
    TempFolder tmp;
    const auto usual = purposes();
    ASSERT_GE(usual.size(), 3u);
    EXPECT_EQ(usual[0].use, "insurance replacement");
    EXPECT_EQ(usual[0].value, "retail replacement value");
    putFile("purposes.app", "  Estate ;  fair market value \r\n\r\nCollateral\r\n;\r\n");
    const auto own = purposes();
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(own[0].use, "Estate");
    EXPECT_EQ(own[0].value, "fair market value");
    EXPECT_EQ(own[1].use, "Collateral");
    EXPECT_EQ(own[1].value, "");
    putFile("purposes.app", "\r\n  \r\n");
    EXPECT_EQ(purposes().size(), 1u); // never none
}
