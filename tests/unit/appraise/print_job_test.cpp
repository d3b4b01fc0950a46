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
    bool print() { return printAppraisal(desk.platform(), settings, AppraisalPrint{text, font, logo}); }
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
    EXPECT_EQ(linesOf("print text 30 ").size(), 2u);
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
