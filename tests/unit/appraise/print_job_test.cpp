#include "appraise/printing/print_geometry.h"
#include "appraise/use_cases/print_job.h"
#include "tests/support/scripted_desk.h"
#include "tests/support/temp_folder.h"

#include <QTextDocument>
#include <gtest/gtest.h>

#include <algorithm>

using namespace appraise;
using namespace testsupport;

namespace {

// A print of a short text on the scripted printer, in a store folder of its own.
struct PrintFixture : ::testing::Test {
    TempFolder folder;
    ScriptedDesk desk;
    LayoutSettings settings;
    QTextDocument text{QStringLiteral("Item 1: a ring.")};
    QImage logo{QSize(2, 1), QImage::Format_RGB32};
    platform::FontChoice font{QStringLiteral("Times New Roman"), 12, true, true};

    PrintFixture() {
        settings.alignText[8] = "2600"; // the closing's top
        settings.alignText[9] = "35";   // its left
        settings.alignText[10] = "14000";
        settings.align13 = 10;
        logo.fill(Qt::black);
    }
    QString head, date;
    bool print() { return printAppraisal(desk.platform(), settings, AppraisalPrint{text, font, logo, head, date}); }
    // The transcript's lines that begin with `prefix`, in order.
    std::vector<std::string> linesOf(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : desk.lines)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }
    // Where in the transcript the first line that begins with `prefix` is.
    long indexOf(const std::string& prefix) const {
        const auto it = std::find_if(desk.lines.begin(), desk.lines.end(),
                                     [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
        return it == desk.lines.end() ? -1 : it - desk.lines.begin();
    }
};

} // namespace

TEST_F(PrintFixture, PrintsInOrderClosingTextSignatureBorderLogo) {
    putFile("bordsize.dat", "3\r\n");
    putFile("closing.app", "A closing\r\n");
    putFile("sigblock.app", "Appraiser\r\n\r\nGemologist\r\n");
    ASSERT_TRUE(print());
    const long closing = indexOf("print text 35 2600 \"A closing\"");
    const long text = indexOf("print richtext page=1");
    const long signature = indexOf("print text 30 14000 \"Appraiser\"");
    const long border = indexOf("print circle");
    const long picture = indexOf("print picture 0 1 30 15"); // at 800 times a factor of 0
    const long end = indexOf("print enddoc");
    EXPECT_GE(closing, 0);
    EXPECT_LT(closing, text);
    EXPECT_LT(text, signature);
    EXPECT_LT(signature, border);
    EXPECT_LT(border, picture);
    EXPECT_LT(picture, end);
    EXPECT_EQ(end + 1, static_cast<long>(desk.lines.size()) - 1); // then only the pointer back
    // The signature block in the text's face and size, never slanted; the blank line skipped.
    EXPECT_EQ(linesOf("print font \"Times New Roman\""),
              std::vector<std::string>{"print font \"Times New Roman\" 12 bold=yes italic=no"});
    EXPECT_EQ(linesOf("print text 30 ").size(), 3u); // the line to sign on, the two lines; no date given
    EXPECT_EQ(indexOf("print text 30 13976 \"________________________________\""), signature - 1);
    EXPECT_EQ(settings.bordersize, 3); // read again for the print
    EXPECT_TRUE(linesOf("print killdoc").empty());
}

TEST_F(PrintFixture, WithoutABorderSizeNothingIsPrinted) {
    putFile("closing.app", "A closing\r\n");
    EXPECT_FALSE(print());
    EXPECT_LT(indexOf("print text 35 2600"), indexOf("print killdoc"));
    EXPECT_TRUE(linesOf("print enddoc").empty());
    EXPECT_TRUE(linesOf("print richtext").empty());
    EXPECT_EQ(linesOf("msgbox \"You will need to set the size of the border").size(), 1u);
    EXPECT_EQ(desk.lines.back().rfind("msgbox", 0), 0u); // the pointer is back before the box
}

TEST_F(PrintFixture, ABorderBeyondSixteenBitsStopsThePrint) {
    putFile("bordsize.dat", "40000\r\n");
    putFile("closing.app", "A closing\r\n");
    EXPECT_FALSE(print());
    EXPECT_EQ(linesOf("print killdoc").size(), 1u);
    EXPECT_EQ(linesOf("msgbox \"The border size in bordsize.dat is too large").size(), 1u);
    EXPECT_TRUE(linesOf("print circle").empty());
}

TEST_F(PrintFixture, ASignatureOutOfRangeStopsBeforeTheText) {
    putFile("bordsize.dat", "3\r\n");
    putFile("sigblock.app", "Appraiser\r\n");
    putFile("closing.app", "A closing\r\n");
    settings.alignText[10] = "40000";
    EXPECT_FALSE(print());
    EXPECT_TRUE(linesOf("print richtext").empty());
    EXPECT_EQ(linesOf("print killdoc").size(), 1u);
    EXPECT_EQ(
        linesOf("msgbox \"The signature block cannot be placed with these settings. Change alignment value 11.").size(),
        1u);
}

TEST_F(PrintFixture, TheLogoStaysOffWhenTheStoreChoseNoHeading) {
    putFile("bordsize.dat", "0\r\n");
    putFile("logono.dat", "N\r\n");
    ASSERT_TRUE(print());
    EXPECT_TRUE(linesOf("print picture").empty());
    EXPECT_TRUE(linesOf("print circle").empty()); // border size 0: no border
    EXPECT_EQ(linesOf("print enddoc").size(), 1u);
}

TEST_F(PrintFixture, ALongTextGoesOnToNewPagesAndEndsWhereItStops) {
    putFile("bordsize.dat", "0\r\n");
    QString many;
    for (int i = 1; i <= 150; ++i) many += QStringLiteral("Line %1\n").arg(i);
    text.setPlainText(many);
    ASSERT_TRUE(print());
    const auto pages = linesOf("print richtext");
    ASSERT_GE(pages.size(), 2u);
    // Each page starts where the one before stopped; the last stops at the text's end.
    long next = 0;
    for (const auto& page : pages) {
        const auto first = std::stol(page.substr(page.find("first=") + 6));
        EXPECT_EQ(first, next) << page;
        next = std::stol(page.substr(page.find("next=") + 5));
    }
    EXPECT_EQ(next, text.characterCount() - 1);
}

// Pages of a text long enough for three: every page framed, the later ones headed, the
// signature with the end of the text.
TEST_F(PrintFixture, EveryPageHasItsBorderLogoAndPageNumber) {
    putFile("bordsize.dat", "3\r\n");
    putFile("sigblock.app", "Appraiser\r\n");
    settings.alignText[10] = "12000";
    head = QStringLiteral("Ann Smith, appraisal 00012001");
    date = QStringLiteral("12-9-2026");
    QString many;
    for (int i = 1; i <= 110; ++i) many += QStringLiteral("Line %1\n").arg(i);
    text.setPlainText(many);
    ASSERT_TRUE(print());
    const auto pages = linesOf("print richtext");
    ASSERT_EQ(pages.size(), 3u);
    // Each page: its text, then the border and the logo, before the next page begins.
    for (int page = 1; page <= 3; ++page) {
        const long textAt = indexOf("print richtext page=" + std::to_string(page));
        const long next = page < 3 ? indexOf("print page " + std::to_string(page + 1)) : indexOf("print enddoc");
        long circles = 0, logos = 0;
        for (long i = textAt; i < next; ++i) {
            circles += desk.lines[static_cast<size_t>(i)].rfind("print circle", 0) == 0;
            logos += desk.lines[static_cast<size_t>(i)].rfind("print picture", 0) == 0;
        }
        EXPECT_GT(circles, 0) << "page " << page;
        EXPECT_EQ(logos, 1) << "page " << page;
    }
    EXPECT_EQ(linesOf("print text 1480 3080 \"Ann Smith, appraisal 00012001      Page 1 of 3\"").size(), 1u);
    EXPECT_EQ(linesOf("print text 1480 3080 \"Ann Smith, appraisal 00012001      Page 2 of 3\"").size(), 1u);
    EXPECT_EQ(linesOf("print text 1480 3080 \"Ann Smith, appraisal 00012001      Page 3 of 3\"").size(), 1u);
    // Every page's text starts below the head.
    for (const auto& page : pages) EXPECT_EQ(page.find("rect=1480,3080,"), std::string::npos) << page;
    // The signature on the last page only, ready to sign and dated.
    EXPECT_GT(indexOf("print text 30 12000 \"Appraiser\""), indexOf("print richtext page=3"));
    EXPECT_EQ(linesOf("print text 30 12024 \"Date: 12-9-2026\"").size(), 1u);
}

TEST_F(PrintFixture, TheSignatureNeverGoesToAPageWithoutTheEndOfTheText) {
    putFile("bordsize.dat", "0\r\n");
    putFile("sigblock.app", "Appraiser\r\n");
    settings.alignText[10] = "12000";
    // Texts around every length where a page fills, one line at a time.
    for (int lines = 30; lines <= 90; ++lines) {
        desk.lines.clear();
        QString many;
        for (int i = 1; i <= lines; ++i) many += QStringLiteral("Line %1\n").arg(i);
        text.setPlainText(many);
        ASSERT_TRUE(print());
        const auto pages = linesOf("print richtext");
        ASSERT_FALSE(pages.empty());
        const auto& last = pages.back();
        const int first = std::stoi(last.substr(last.find("first=") + 6));
        const int next = std::stoi(last.substr(last.find("next=") + 5));
        EXPECT_EQ(next, text.characterCount() - 1) << lines;
        // Each line of text starts with an L.
        const int carried = static_cast<int>(std::count(many.begin() + first, many.end(), QChar('L')));
        EXPECT_GE(carried, std::min(linesWithSignature, lines)) << lines << " lines: " << last;
    }
}

// A border drawn round the text keeps the text above its bottom row; one too small to reach the
// text's area leaves the area as it is.
TEST_F(PrintFixture, TheTextStaysAboveTheBordersBottomRow) {
    putFile("bordsize.dat", "50\r\n"); // inner edge of the bottom row at 13600
    QString many;
    for (int i = 1; i <= 120; ++i) many += QStringLiteral("Line %1\n").arg(i);
    text.setPlainText(many);
    ASSERT_TRUE(print());
    for (const auto& page : linesOf("print richtext")) {
        const auto rect = page.substr(page.find("rect=") + 5);
        const int bottom = std::stoi(rect.substr(rect.rfind(',') + 1));
        EXPECT_LE(bottom, 13600 - 240) << page;
    }
    EXPECT_EQ(insideBorder(50), (Span{1200, 13600}));
    EXPECT_EQ(insideBorder(0), Span{});
}

// A closing where the first page's head would go keeps its place: the first page goes without.
TEST_F(PrintFixture, TheFirstPageGoesWithoutItsHeadWhereTheClosingIs) {
    putFile("bordsize.dat", "0\r\n");
    putFile("closing.app", "A closing\r\n");
    settings.alignText[8] = "3000"; // over the text's top
    head = QStringLiteral("Ann Smith, appraisal 00012001");
    QString many;
    for (int i = 1; i <= 110; ++i) many += QStringLiteral("Line %1\n").arg(i);
    text.setPlainText(many);
    ASSERT_TRUE(print());
    EXPECT_TRUE(linesOf("print text 1480 3080 \"Ann Smith, appraisal 00012001      Page 1 of").empty());
    EXPECT_EQ(linesOf("print text 1480 3080 \"Ann Smith, appraisal 00012001      Page 2 of").size(), 1u);
}

// An item's heading never ends a page: it goes on with its item.
TEST_F(PrintFixture, AnItemsHeadingGoesToThePageOfItsItem) {
    putFile("bordsize.dat", "0\r\n");
    // A heading every fifth line, shifted a line at a time: one of them falls where a page ends.
    for (int shift = 0; shift < 5; ++shift) {
        desk.lines.clear();
        QString many;
        for (int i = 1; i <= 120; ++i)
            many += (i + shift) % 5 == 0 ? QStringLiteral("Item number %1 of 99 items:\n").arg(i)
                                         : QStringLiteral("Line %1\n").arg(i);
        text.setPlainText(many);
        ASSERT_TRUE(print());
        for (const auto& page : linesOf("print richtext")) {
            const int next = std::stoi(page.substr(page.find("next=") + 5));
            if (next >= text.characterCount() - 1) continue;
            const int lastStart = static_cast<int>(many.lastIndexOf('\n', next - 2)) + 1; // the last line printed
            EXPECT_FALSE(many.mid(lastStart).startsWith(QStringLiteral("Item number"))) << shift << ": " << page;
        }
    }
}
