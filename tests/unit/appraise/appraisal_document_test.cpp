#include "appraise/documents/appraisal_files.h"
#include "appraise/use_cases/appraisal_document.h"
#include "common/fixed_field.h"
#include "common/run_error.h"
#include "tests/support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

using namespace appraise;
using namespace common;
using namespace testsupport;

namespace {

struct DocumentFixture : ::testing::Test {
    TempFolder folder;
    AppraisalDocument doc;
    WorksheetTables tables;

    DocumentFixture() {
        std::filesystem::create_directory("appraise");
        doc.setCustomer("00012");
    }
    // Item `n` of the worksheet holds a ring.
    void enterItem(int16_t n) {
        storeField(tables.items[n], itemrec::itemno, std::to_string(n));
        storeField(tables.items[n], itemrec::itemtype, "Ring");
        doc.itemEnded(n);
    }
};

} // namespace

TEST_F(DocumentFixture, AComposedAppraisalIsNumberedAtItsFirstSaveAndKeepsItsFile) {
    putFile("appraise/00012001.app", "older\r\n");
    doc.composed({1});
    EXPECT_TRUE(doc.changed("text"));
    EXPECT_FALSE(doc.changed(""));
    ASSERT_EQ(doc.save("text"), AppraisalDocument::Saved::Appraisal);
    EXPECT_EQ(doc.file(), "appraise\\00012002.app");
    EXPECT_EQ(getFile("appraise/00012002.app"), "text\r\n");
    EXPECT_FALSE(doc.changed("text"));
    // The second Save writes the same file, not the next number.
    ASSERT_EQ(doc.save("text, changed"), AppraisalDocument::Saved::Appraisal);
    EXPECT_EQ(getFile("appraise/00012002.app"), "text, changed\r\n");
    EXPECT_FALSE(std::filesystem::exists("appraise/00012003.app"));
    // A new composition is a new appraisal.
    doc.composed({2});
    EXPECT_EQ(doc.file(), "");
}

TEST_F(DocumentFixture, AReopenedAppraisalIsSavedToItsOwnFileAndSettlesNoItem) {
    putFile("appraise/00012005.app", "line one\r\nline two\r\n");
    enterItem(1);
    EXPECT_EQ(doc.reopen("appraise\\00012005.app"), "line one\r\nline two");
    EXPECT_FALSE(doc.changed("line one\r\nline two"));
    ASSERT_EQ(doc.save("line one"), AppraisalDocument::Saved::Appraisal);
    EXPECT_EQ(getFile("appraise/00012005.app"), "line one\r\n");
    EXPECT_EQ(doc.unsavedItems(tables), std::vector<int16_t>{1});
}

TEST_F(DocumentFixture, AllNumbersUsedSavesNothing) {
    for (int n = 1; n <= 999; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "appraise/00012%03d.app", n);
        putFile(name, "x\r\n");
    }
    doc.composed({1});
    EXPECT_EQ(doc.save("text"), AppraisalDocument::Saved::NoNumberLeft);
    EXPECT_EQ(doc.file(), "");
    EXPECT_EQ(doc.nextFile(), std::nullopt);
}

TEST_F(DocumentFixture, AFailedWriteNamesItsTargetAndRecordsNothing) {
    enterItem(1);
    doc.composed({1});
    std::filesystem::remove("appraise");
    putFile("appraise", "a file where the folder should be");
    EXPECT_THROW(doc.save("text"), RunError);
    EXPECT_EQ(doc.target(), "appraise\\00012001.app");
    EXPECT_TRUE(doc.changed("text"));
    EXPECT_EQ(doc.unsavedItems(tables), std::vector<int16_t>{1});
}

TEST_F(DocumentFixture, APassageIsSavedAsItselfAndIsNoAppraisal) {
    doc.editPassage("opening.app");
    EXPECT_FALSE(doc.isAppraisal());
    EXPECT_FALSE(doc.changed("anything"));
    EXPECT_EQ(doc.save("Dear customer"), AppraisalDocument::Saved::Passage);
    EXPECT_EQ(getFile("opening.app"), "Dear customer\r\n");
    doc.editPassage("cust.dat");
    EXPECT_EQ(doc.save("never"), AppraisalDocument::Saved::Nothing);
    EXPECT_NE(getFile("cust.dat"), "never\r\n");
}

TEST_F(DocumentFixture, ItemsWaitForTheSaveOfTheirComposition) {
    enterItem(1);
    enterItem(2);
    enterItem(3);
    doc.itemEnded(4); // ended with nothing entered: not waiting
    EXPECT_EQ(doc.unsavedItems(tables), (std::vector<int16_t>{1, 2, 3}));
    EXPECT_EQ(doc.nextUnsaved(tables, 1), 2);
    EXPECT_EQ(doc.nextUnsaved(tables, 3), 1); // going round
    doc.composed({2});
    ASSERT_EQ(doc.save("item two"), AppraisalDocument::Saved::Appraisal);
    EXPECT_EQ(doc.unsavedItems(tables), (std::vector<int16_t>{1, 3}));
    const auto file = doc.nextFile();
    ASSERT_TRUE(file);
    doc.saveItems({3}, *file, "item three");
    EXPECT_EQ(getFile("appraise/00012002.app"), "item three\r\n");
    EXPECT_EQ(doc.unsavedItems(tables), std::vector<int16_t>{1});
    EXPECT_EQ(doc.nextUnsaved(tables, 1), 1);
}

TEST(UnsavedItemsQuestionTest, NamesTheItemsInWords) {
    EXPECT_EQ(unsavedItemsQuestion({2}), QStringLiteral("Item 2 has not been saved as an appraisal. Save it now?"));
    EXPECT_EQ(unsavedItemsQuestion({2, 3}),
              QStringLiteral("Items 2 and 3 have not been saved as appraisals. Save them now?"));
    EXPECT_EQ(unsavedItemsQuestion({1, 2, 3}),
              QStringLiteral("Items 1, 2 and 3 have not been saved as appraisals. Save them now?"));
}

TEST_F(DocumentFixture, AnEditedWordingStaysWithItsItemsAndWaitsForItsSave) {
    enterItem(1);
    enterItem(2);
    doc.composed({1});
    doc.composedAs("item one");
    doc.keepShown("item one, edited");
    doc.composed({2});
    doc.composedAs("item two");
    doc.keepShown("item two"); // not edited: nothing kept
    EXPECT_EQ(doc.keptWording({2}), std::nullopt);
    doc.composed({1});
    EXPECT_EQ(doc.keptWording({1}), "item one, edited");
    // Saved, the wording no longer waits; edited again after the Save, it waits again.
    ASSERT_EQ(doc.save("item one, edited"), AppraisalDocument::Saved::Appraisal);
    EXPECT_EQ(doc.unsavedItems(tables), std::vector<int16_t>{2});
    EXPECT_TRUE(doc.unsavedWordings().empty());
    doc.keepShown("item one, edited twice");
    EXPECT_EQ(doc.unsavedItems(tables), (std::vector<int16_t>{1, 2}));
    // Its Save goes to the file it was saved to.
    const auto file = doc.fileFor({1});
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, "appraise\\00012001.app");
    doc.saveItems({1}, *file, "item one, edited twice");
    EXPECT_EQ(getFile("appraise/00012001.app"), "item one, edited twice\r\n");
    EXPECT_TRUE(doc.unsavedWordings().empty());
    // Composed again, these items come back to their file and their saved text.
    doc.composed({1});
    EXPECT_EQ(doc.file(), "appraise\\00012001.app");
    EXPECT_FALSE(doc.changed("item one, edited twice"));
}

TEST_F(DocumentFixture, AnItemEndedAgainForgetsWhatWasKeptForIt) {
    enterItem(1);
    doc.composed({1});
    doc.composedAs("ring");
    doc.keepShown("ring, edited");
    ASSERT_EQ(doc.save("ring, edited"), AppraisalDocument::Saved::Appraisal);
    doc.itemEnded(1); // the item holds something else now
    EXPECT_EQ(doc.keptWording({1}), std::nullopt);
    EXPECT_EQ(doc.unsavedItems(tables), std::vector<int16_t>{1});
    EXPECT_EQ(doc.fileFor({1}), "appraise\\00012002.app"); // a new appraisal, the old one kept
    doc.composed({1});
    EXPECT_EQ(doc.file(), "");
}

// A text made from an earlier appraisal (of this customer or another) is numbered among the
// earlier one's customer's appraisals, never written over the earlier file, and belongs to no item.
TEST_F(DocumentFixture, ATextMadeFromAnEarlierAppraisalTakesANumberOfItsOwn) {
    putFile("appraise/00034001.app", "earlier\r\n");
    putFile("appraise/00034002.app", "earlier too\r\n");
    enterItem(1);
    doc.reopen("appraise\\00034001.app");
    EXPECT_TRUE(doc.isReopened());
    doc.madeFrom("00034");
    EXPECT_FALSE(doc.isReopened());
    EXPECT_FALSE(doc.isComposed()); // belongs to no items: leaving it asks about it
    EXPECT_TRUE(doc.isMadeFrom());
    EXPECT_TRUE(doc.changed("earlier"));
    EXPECT_EQ(doc.nextFile(), "appraise\\00034003.app");
    EXPECT_EQ(doc.fileFor({}), "appraise\\00034003.app");
    ASSERT_EQ(doc.save("again"), AppraisalDocument::Saved::Appraisal);
    EXPECT_EQ(getFile("appraise/00034003.app"), "again\r\n");
    EXPECT_EQ(getFile("appraise/00034001.app"), "earlier\r\n");
    ASSERT_EQ(doc.save("again, edited"), AppraisalDocument::Saved::Appraisal); // its own file again
    EXPECT_EQ(getFile("appraise/00034003.app"), "again, edited\r\n");
    EXPECT_FALSE(std::filesystem::exists("appraise/00034004.app"));
    EXPECT_EQ(doc.unsavedItems(tables), std::vector<int16_t>{1});
    // A composition afterwards is the worksheet customer's again.
    doc.composed({1});
    EXPECT_EQ(doc.nextFile(), "appraise\\00012001.app");
}
