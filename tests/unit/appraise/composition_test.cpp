#include "appraise/documents/appraisal_files.h"
#include "appraise/documents/composition.h"
#include "common/run_error.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace appraise;
using namespace testsupport;

namespace {
void item(WorksheetTables& t, int slot, const std::string& no, const std::string& type, const std::string& color,
          const std::string& metal, const std::string& wearer, const std::string& weight, const std::string& unit,
          const std::string& price) {
    std::string& r = t.items[slot];
    storeField(r, itemrec::itemno, no);
    storeField(r, itemrec::itemtype, type);
    storeField(r, itemrec::metalcolor, color);
    storeField(r, itemrec::metal, metal);
    storeField(r, itemrec::wearer, wearer);
    storeField(r, itemrec::weight, weight);
    storeField(r, itemrec::weightunit, unit);
    storeField(r, itemrec::price, price);
}

void stone(WorksheetTables& t, int slot, const std::string& itemno, const std::string& kind, const std::string& shape,
           const std::string& qty, const std::string& dims, const std::string& clarity, const std::string& color,
           const std::string& cut, const std::string& carat) {
    std::string& r = t.stones[slot];
    storeField(r, stonerec::itemno, itemno);
    storeField(r, stonerec::kind, kind);
    storeField(r, stonerec::shape, shape);
    storeField(r, stonerec::quantity, qty);
    storeField(r, stonerec::dimensions, dims);
    storeField(r, stonerec::clarity, clarity);
    storeField(r, stonerec::color, color);
    storeField(r, stonerec::cut, cut);
    storeField(r, stonerec::carat, carat);
    t.curstone = std::max<int16_t>(t.curstone, static_cast<int16_t>(slot));
}

CompositionInput input(const WorksheetTables& t, int16_t shown) {
    CompositionInput in;
    in.tables = &t;
    in.shownitem = shown;
    in.itemCount = itemCount(t);
    in.datebox = "12-7-26";
    in.custlines = {"", "Ann Smith", "12 Main St", "Anytown, ST 12345", ""};
    in.openingLines = {"", "The following item was examined and appraised for insurance purposes."};
    return in;
}
} // namespace

TEST(CompositionTest, OneItemWithTheExtraLines) {
    WorksheetTables t;
    item(t, 1, "1", "ring", "yellow", "14 karat", "lady's", "3.5", "g", "1250.00");
    stone(t, 1, "1", "diamond", "round brilliant", "3", "2 X 1.2 MM", "VS1", "G", "Ideal", "0.09");
    const std::string expected = "12-7-26\r\nAppraisal for\r\nAnn Smith\r\n12 Main St\r\nAnytown, ST 12345\r\n\r\n"
                                 "The following item was examined and appraised for insurance purposes.\r\n"
                                 "\r\n\r\n"
                                 "\r\n" +
                                 padded("Item number 1 of 1 items:", 60) +
                                 "\r\n"
                                 "\r\n"
                                 "One lady's ring made of 14 karat yellow gold weighing approximately 3.5 grams \r\n"
                                 "and containing the following stones:\r\n"
                                 "\r\n\r\n   3 round brilliant cut diamonds measuring approximately 2 X 1.2 MM"
                                 "\r\n          Clarity : VS1\r\n          Cut :     Ideal\r\n          Color :   G"
                                 "\r\n          Carat :   0.09"
                                 "\r\n"
                                 "\r\n                                Replacement Value:  1250.00     \r\n";
    EXPECT_EQ(composeAppraisal(input(t, 1)), expected);
}

TEST(CompositionTest, TwoItemsWithoutTheExtraLines) {
    WorksheetTables t;
    item(t, 1, "1", "ring", "white", "platinum", "man's", "5", "d", "900.00");
    item(t, 2, " 2", "watch", "", "OtherMetal", "man's", "40", "g", "75.00");
    stone(t, 1, "1", "ruby", "oval", "1", "5 X 4 X 3 MM", "", "", "", "");
    stone(t, 2, " 2", "topaz", "pear", "2", "6 MM", "SI1", "", "", "1.5");
    const std::string expected =
        "12-7-26\r\nAppraisal for\r\nAnn Smith\r\n12 Main St\r\nAnytown, ST 12345\r\n\r\n"
        "The following item was examined and appraised for insurance purposes.\r\n"
        "\r\n" +
        padded("Item number 2 of 2 items:", 60) +
        "\r\n"
        "One man's watch weighing approximately 40 grams and containing the following \r\nstones:\r\n"
        "\r\n   2 pear cut topaz measuring approximately 6 MM\r\n          Clarity : SI1\r\n          Carat :   1.5"
        "\r\n                                Replacement Value:  75.00       \r\n";
    EXPECT_EQ(composeAppraisal(input(t, 2)), expected);
    const std::string first = composeAppraisal(input(t, 1));
    EXPECT_NE(first.find("One man's ring made of platinum weighing approximately 5 DWT and containing the \r\n"
                         "following stone:\r\n\r\n   1 oval cut ruby measuring approximately 5 X 4 X 3 MM\r\n"),
              std::string::npos);
}

TEST(CompositionTest, PluralRules) {
    WorksheetTables t;
    item(t, 1, "1", "bracelet", "", "", "lady's", "", "", "1.00");
    stone(t, 1, "1", "opal", "oval", "2", "", "", "", "", "");
    stone(t, 2, "1", "emeralds", "emerald", "2", "", "", "", "", "");
    stone(t, 3, "1", "quartz", "oval", "4", "", "", "", "", "");
    stone(t, 4, "1", "garnet", "oval", "1", "", "", "", "", "");
    const std::string s = composeAppraisal(input(t, 1));
    EXPECT_NE(s.find("   2 oval cut opals\r\n"), std::string::npos);
    EXPECT_NE(s.find("   2 emerald cut emeralds\r\n"), std::string::npos);
    EXPECT_NE(s.find("   4 oval cut quartz\r\n"), std::string::npos);
    EXPECT_NE(s.find("   1 oval cut garnet\r\n"), std::string::npos);
    EXPECT_NE(s.find("One lady's bracelet and containing"), std::string::npos); // no metal, no weight
}

TEST(CompositionTest, WordsOfAShapeOrMeasurementsNotGivenAreLeftOut) {
    WorksheetTables t;
    item(t, 1, "1", "necklace", "", "", "lady's", "", "", "1.00");
    stone(t, 1, "1", "pearl", "", "52", "", "", "", "", "");
    stone(t, 2, "1", "diamond", "round brilliant", "2", "", "", "", "", "");
    stone(t, 3, "1", "ruby", "oval", "1", "6 X 4 X 3 MM", "", "", "", "");
    const std::string s = composeAppraisal(input(t, 1));
    EXPECT_NE(s.find("   52 pearls\r\n"), std::string::npos) << s;
    EXPECT_EQ(s.find("  cut"), std::string::npos) << s;
    EXPECT_NE(s.find("   2 round brilliant cut diamonds\r\n"), std::string::npos) << s;
    EXPECT_NE(s.find("   1 oval cut ruby measuring approximately 6 X 4 X 3 MM"), std::string::npos) << s;
}

TEST(CompositionTest, NoWearerChosenLeavesNoDoubleBlank) {
    WorksheetTables t;
    item(t, 1, "1", "ring", "white", "14 karat", "", "2", "g", "10.00");
    EXPECT_EQ(itemSentence(t, 1).substr(0, 23), "One ring made of 14 kar");
    item(t, 2, "2", "watch", "", "", "man's", "", "", "1.00");
    EXPECT_EQ(itemSentence(t, 2).substr(0, 16), "One man's watch ");
}

TEST(CompositionTest, NeverStoredFieldsLeaveNoNuls) {
    WorksheetTables t;
    storeField(t.items[1], itemrec::itemno, "1"); // nothing else ever stored
    const std::string s = composeAppraisal(input(t, 1));
    EXPECT_EQ(s.find('\0'), std::string::npos);
    EXPECT_NE(s.find("\r\nOne  \r\n"), std::string::npos); // no wearer: one blank fewer
}

TEST(WrapTest, EightyColumns) {
    const std::string eighty(80, 'a');
    EXPECT_EQ(wrap80(eighty), eighty + "\r\n");
    const std::string line81 = std::string(40, 'a') + " " + std::string(40, 'b');
    EXPECT_EQ(wrap80(line81), std::string(40, 'a') + " \r\n" + std::string(40, 'b') + "\r\n");
    // 200 characters with blanks: three lines of at most 80, each broken after a blank.
    std::string words;
    while (words.size() < 200) words += "word ";
    words.resize(200);
    const std::string w = wrap80(words);
    size_t start = 0, lines = 0;
    for (size_t e; (e = w.find("\r\n", start)) != std::string::npos; start = e + 2, ++lines) {
        EXPECT_LE(e - start, 80u);
        if (lines < 2) {
            EXPECT_EQ(w[e - 1], ' ');
        }
    }
    EXPECT_EQ(lines, 3u);
    // No blank in the first 80: a hard break, never a loop.
    EXPECT_EQ(wrap80(std::string(170, 'x')),
              std::string(80, 'x') + "\r\n" + std::string(80, 'x') + "\r\n" + std::string(10, 'x') + "\r\n");
    EXPECT_EQ(wrap80(""), "\r\n");
}

TEST(AppraisalFilesTest, TrimmingForSave) {
    EXPECT_EQ(trimForSave("text   "), "text");
    EXPECT_EQ(trimForSave("text \r \r  "), "text");
    EXPECT_EQ(trimForSave("text\r\n  "), "text\r\n"); // a line feed stops it
    EXPECT_EQ(trimForSave("   "), "");
    EXPECT_EQ(trimForSave(""), "");
}

TEST(AppraisalFilesTest, NumberingReusesTheFirstGap) {
    TempFolder tmp;
    std::filesystem::create_directory("APPRAISE");
    EXPECT_EQ(nextAppraisalFile("00012"), "appraise\\00012001.app");
    putFile("APPRAISE/00012002.app", "x");
    EXPECT_EQ(nextAppraisalFile("00012"), "appraise\\00012001.app");
    putFile("APPRAISE/00012001.APP", "x");
    EXPECT_EQ(nextAppraisalFile("00012"), "appraise\\00012003.app");
    for (int n = 1; n <= 999; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "APPRAISE/00077%03d.app", n);
        putFile(name, "");
    }
    EXPECT_FALSE(nextAppraisalFile("00077").has_value());
}

TEST(AppraisalFilesTest, ReopenedTextSavesBackToTheSameBytes) {
    TempFolder tmp;
    const std::string saved = "12-7-26\r\nAppraisal for\r\n\r\n   Value:  10.00     \r\n\r\n";
    putFile("a.app", saved);
    const std::string text = reopenAppraisal("a.app");
    EXPECT_EQ(trimForSave(text) + "\r\n", saved);
}

TEST(CompositionTest, AnEmptyItemHasNothingToCompose) {
    WorksheetTables t;
    item(t, 1, "1", "", "", "", "", "", "", "");
    EXPECT_TRUE(itemIsEmpty(t, 1));
    item(t, 2, " 2", "", "", "", "", "", "", "0.00");
    EXPECT_TRUE(itemIsEmpty(t, 2)); // a price of 0 is nothing entered
    item(t, 3, " 3", "", "", "", "", "", "", "");
    stone(t, 1, " 3", "opal", "", "1", "", "", "", "", "");
    EXPECT_FALSE(itemIsEmpty(t, 3)); // its stone is something
    item(t, 4, " 4", "", "", "", "", "", "", "5.00");
    EXPECT_FALSE(itemIsEmpty(t, 4));
    // A slot never stored holds NULs, and is empty too.
    EXPECT_TRUE(itemIsEmpty(t, 9));
    EXPECT_EQ(itemsToCompose(t), (std::vector<int16_t>{3, 4}));
}

TEST(CompositionTest, AllItemsInOneTextWithTheTotal) {
    WorksheetTables t;
    item(t, 1, "1", "ring", "yellow", "14 karat", "lady's", "3.5", "g", "2450.00");
    stone(t, 1, "1", "diamond", "round brilliant", "1", "5 X 3 MM", "VS1", "", "", ".50");
    item(t, 2, " 2", "", "", "", "", "", "", "");
    item(t, 3, " 3", "watch", "", "platinum", "man's", "", "", "1200.00");
    const std::string text = composeAllItems(input(t, 1));
    const std::string expected = "12-7-26\r\nAppraisal for\r\nAnn Smith\r\n12 Main St\r\nAnytown, ST 12345\r\n\r\n"
                                 "The following item was examined and appraised for insurance purposes.\r\n"
                                 "\r\n" +
                                 padded("Item number 1 of 2 items:", 60) +
                                 "\r\n"
                                 "One lady's ring made of 14 karat yellow gold weighing approximately 3.5 grams \r\n"
                                 "and containing the following stone:\r\n"
                                 "\r\n   1 round brilliant cut diamond measuring approximately 5 X 3 MM"
                                 "\r\n          Clarity : VS1\r\n          Carat :   .50\r\n"
                                 "                                Replacement Value:  2450.00     \r\n"
                                 "\r\n" +
                                 padded("Item number 2 of 2 items:", 60) +
                                 "\r\n"
                                 "One man's watch made of platinum \r\n"
                                 "\r\n                                Replacement Value:  1200.00     \r\n"
                                 "\r\n                          Total Replacement Value:  3650.00\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(totalReplacementValue(t, {1, 3}).toDouble(), 3650.0);
}

TEST(CompositionTest, TotalOfPricesAsTyped) {
    WorksheetTables t;
    item(t, 1, "1", "ring", "", "", "", "", "", "6,500.00"); // stored before it was formatted
    item(t, 2, " 2", "ring", "", "", "", "", "", "abc");     // not a price: counts 0
    item(t, 3, " 3", "ring", "", "", "", "", "", "-0.50");
    EXPECT_EQ(totalReplacementValue(t, {1, 2, 3}).toDouble(), 6499.5);
}

// The purpose follows the opening, after a blank line, each of its lines wrapped as the opening's.
TEST(CompositionTest, ThePurposeAfterTheOpening) {
    WorksheetTables t;
    item(t, 1, "1", "ring", "yellow", "14 karat", "lady's", "3.5", "g", "1250.00");
    CompositionInput in = input(t, 1);
    const std::string without = composeAppraisal(in);
    in.purposeLines = {"Intended use: estate.", "", "Effective date: 12-7-26"};
    const std::string with = composeAppraisal(in);
    const std::string opening = "The following item was examined and appraised for insurance purposes.\r\n";
    const size_t at = with.find(opening);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(with.substr(at + opening.size(), 50), "\r\nIntended use: estate.\r\nEffective date: 12-7-26\r\n");
    // Without the passage the text is as before, byte for byte.
    EXPECT_EQ(with.substr(0, at + opening.size()) + with.substr(at + opening.size() + 50), without);
}
