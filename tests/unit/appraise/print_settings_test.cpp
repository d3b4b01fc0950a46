#include "appraise/printing/alignment.h"
#include "appraise/printing/border_size.h"
#include "appraise/printing/default_font.h"
#include "appraise/printing/logo_settings.h"
#include "appraise/printing/print_geometry.h"
#include "appraise/printing/startup_settings.h"
#include "common/file_names.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace appraise;
using namespace testsupport;

TEST(SignaturePlacementTest, BlankLinesDroppedEachNextLineEightBordersLower) {
    const auto placed = placeSignature({"Jane Roe", "  ", "", "Appraiser"}, "2300", 60, 50);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].x, 3000);
    EXPECT_EQ(placed[0].y, 2300);
    EXPECT_EQ(placed[1].y, 2700);
    EXPECT_EQ(placed[1].text, "Appraiser");
}

TEST(SignaturePlacementTest, PositionsAtTheSixteenBitEdgeAndPast) {
    // y + 8 x border x lines: 32767 exactly fits, one more does not.
    EXPECT_EQ(placeSignature({"a"}, "32367", 0, 50).size(), 1u);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a", "b"}, "32367"}, // the last line's next position leaves the range
        {{"a"}, "99999"},      // value 11 itself is beyond 16 bits
    };
    for (const auto& [lines, value11] : cases)
        EXPECT_TRUE(throwsRunError(6, [&] { placeSignature(lines, value11, 0, 50); })) << value11;
    try {
        placeSignature({}, "0", 700, 50); // 35000 to the left edge
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.detail(), "the border size or alignment value 13");
    }
    try {
        placeSignature({}, "99999", 0, 50);
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.detail(), "alignment value 11");
    }
}

TEST(SignaturePlacementTest, ReadyToSignAddsTheLineAndTheDateUnlessTheStoreHasThem) {
    const auto block = placeSignature({"Jane Roe", "Appraiser"}, "2300", 60, 50);
    const auto ready = readyToSign(block, 50, " 12-9-2026 ");
    ASSERT_EQ(ready.size(), 4u);
    EXPECT_EQ(ready[0].text, signLine);
    EXPECT_EQ(ready[0].y, 1900); // one step above the first line, at its left
    EXPECT_EQ(ready[0].x, 3000);
    EXPECT_EQ(ready[3].text, "Date: 12-9-2026");
    EXPECT_EQ(ready[3].y, 3100);
    // A store whose block has its own line and date keeps it as it is; no date given, none added.
    const auto own = placeSignature({"____________", "Jane Roe", "DATE ________"}, "2300", 60, 50);
    EXPECT_EQ(readyToSign(own, 50, "12-9-2026").size(), 3u);
    EXPECT_EQ(readyToSign(placeSignature({"Jane Roe"}, "2300", 60, 50), 50, "  ").size(), 2u);
    EXPECT_TRUE(readyToSign({}, 50, "12-9-2026").empty());
    // The line above and the date below stay within 16 bits, as the block's own lines.
    EXPECT_TRUE(throwsRunError(6, [] { readyToSign(placeSignature({"a"}, "-32600", 0, 50), 50, ""); }));
    // The placement leaves room below for one step: the date at the last position that fits.
    EXPECT_EQ(readyToSign(placeSignature({"a"}, "32367", 0, 50), 50, "1-1-26").back().y, 32767);
}

TEST(BorderCirclesTest, RowsThenColumnsAndNoneBelowOne) {
    EXPECT_TRUE(borderCircles(0).empty());
    EXPECT_TRUE(borderCircles(-3).empty());
    const auto c = borderCircles(1);
    // Rows: x from 16 to 215 by 4 (50 circles) twice; columns: y from 16 to 280 by 4 (67) twice.
    ASSERT_EQ(c.size(), 2u * 50 + 2u * 67);
    EXPECT_EQ(c.front().x, 16);
    EXPECT_EQ(c.front().y, 16);
    EXPECT_EQ(c.front().radius, 8);
    EXPECT_EQ(c[50].y, 280);
    EXPECT_EQ(c.back().x, 215);
    EXPECT_EQ(c.back().y, 280);
}

TEST(DefaultFontTest, FirstStartFileReadsBoldItalicAndWritesBackTheWords) {
    TempFolder tmp;
    writeFirstDefaultFont();
    EXPECT_EQ(getFile("DefontAp.dat"), "Times New Roman\r\n12\r\n1\r\n1\r\n");
    DefaultFont f = readDefaultFont();
    EXPECT_EQ(f.name, "Times New Roman");
    EXPECT_EQ(f.size, 12);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.italic);
    writeDefaultFont(DefaultFont{"Arial, Narrow", 10.5, false, true});
    EXPECT_EQ(getFile("DefontAp.dat"), "Arial, Narrow\r\n 10.5 \r\nFalse\r\nTrue\r\n");
    f = readDefaultFont();
    EXPECT_EQ(f.name, "Arial, Narrow"); // a comma belongs to the name
    EXPECT_FALSE(f.bold);
    EXPECT_TRUE(f.italic);
}

TEST(DefaultFontTest, DamagedFileIsAnErrorAndCanBeErased) {
    TempFolder tmp;
    putFile("DefontAp.dat", "Arial\r\nbig\r\n1\r\n1\r\n");
    EXPECT_TRUE(throwsRunError(13, [] { readDefaultFont(); }));
    putFile("DefontAp.dat", "Arial\r\n12\r\nmaybe\r\n1\r\n");
    EXPECT_TRUE(throwsRunError(13, [] { readDefaultFont(); }));
    putFile("DefontAp.dat", "Arial\r\n12\r\n");
    EXPECT_TRUE(throwsRunError(62, [] { readDefaultFont(); }));
    eraseDefaultFont();
    EXPECT_FALSE(hasDefaultFont());
    eraseDefaultFont(); // nothing to erase is not an error
}

TEST(StartupSettingsTest, FirstStartMakesWhatItNeedsAndAsksForTheBorder) {
    TempFolder tmp;
    StartupSettings s;
    loadStartupSettings(s);
    EXPECT_TRUE(fileExists("align.fac"));
    EXPECT_TRUE(fileExists("DefontAp.dat"));
    EXPECT_TRUE(std::filesystem::is_directory("APPRAISE"));
    ASSERT_EQ(s.notices.size(), 1u);
    EXPECT_NE(s.notices[0].find("size of the border"), std::string::npos);
    EXPECT_EQ(s.settings.bordersize, 0);
}

TEST(StartupSettingsTest, SettingsAndFlagsOfAnExistingStore) {
    TempFolder tmp;
    writeBorderSize("45");
    putFile("logosize.dat", "1.5\r\n");
    setFlag(HeadingFlag::NoAppraisalLogo, true);
    setFlag(HeadingFlag::NameInWording, true);
    EXPECT_EQ(getFile("nologowc.dat"), "N\r\n");
    StartupSettings s;
    loadStartupSettings(s);
    EXPECT_TRUE(s.notices.empty());
    EXPECT_EQ(s.settings.bordersize, 45);
    EXPECT_EQ(s.settings.logofactor, Money::fromText("1.5"));
    EXPECT_EQ(s.settings.aplogoflag, 'N');
    EXPECT_EQ(s.settings.nologoflag, 'N');
    setFlag(HeadingFlag::NameInWording, false);
    EXPECT_FALSE(isSet(HeadingFlag::NameInWording));
    setFlag(HeadingFlag::NameInWording, false); // clearing a clear flag is not an error
}

TEST(StartupSettingsTest, BorderSizeBeyondSixteenBitsKeepsTheDefault) {
    TempFolder tmp;
    writeBorderSize("40000");
    EXPECT_TRUE(throwsRunError(6, [] { readBorderSize(); }));
    StartupSettings s;
    loadStartupSettings(s);
    EXPECT_EQ(s.settings.bordersize, 0);
    EXPECT_EQ(readBorderSizeText(), "40000");
}

TEST(AlignmentEditorTest, EachRowOfTheListIsWhatItShows) {
    // The rows the editor shows and what choosing each does must agree: a row taken for a value
    // that is explanation (or the reverse) would write the wrong value of the file.
    const LayoutSettings s;
    const std::vector<QString> lines = alignmentEditorLines(s);
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(alignmentRow(0), AlignmentRow::Heading);
    for (int row = 1; row <= 12; ++row) EXPECT_EQ(alignmentRow(row), AlignmentRow::TextValue) << row;
    EXPECT_EQ(alignmentRow(13), AlignmentRow::SignatureMargin);
    for (int row = 14; row <= 25; ++row) EXPECT_EQ(alignmentRow(row), AlignmentRow::Explanation) << row;
    EXPECT_EQ(alignmentRow(26), AlignmentRow::RestoreDefaults);
    EXPECT_TRUE(lines[26].startsWith(QStringLiteral("Click this line to set all values back")));
    // No row chosen, or one past the list, is no value.
    EXPECT_EQ(alignmentRow(-1), AlignmentRow::Explanation);
    EXPECT_EQ(alignmentRow(27), AlignmentRow::Explanation);
}
