#include "common/env.h"
#include "common/run_error.h"
#include "interest/line_spool.h"
#include "interest/use_cases/kept_report.h"
#include "interest/use_cases/report_paging.h"
#include "platform/courier_pdf.h"
#include "tests/support/fault_env.h"
#include "tests/support/temp_folder.h"

#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

using namespace interest;
using namespace testsupport;
using platform::CourierPdf;
namespace fs = std::filesystem;

namespace {

// Every object the cross-reference table names begins where the table says it does.
void expectWholePdf(const std::string& pdf, int pages) {
    ASSERT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
    ASSERT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
    const size_t start = pdf.rfind("startxref\n");
    ASSERT_NE(start, std::string::npos);
    const size_t xref = std::stoul(pdf.substr(start + 10));
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    std::smatch m;
    const std::string table = pdf.substr(xref);
    ASSERT_TRUE(std::regex_search(table, m, std::regex("^xref\n0 (\\d+)\n")));
    const int objects = std::stoi(m[1]);
    for (int n = 1; n < objects; ++n) {
        const size_t at = std::stoul(table.substr(m[0].length() + 20 * static_cast<size_t>(n), 10));
        EXPECT_EQ(pdf.compare(at, std::to_string(n).size() + 6, std::to_string(n) + " 0 obj"), 0) << "object " << n;
    }
    EXPECT_NE(pdf.find("/Type /Pages /Count " + std::to_string(pages) + " "), std::string::npos);
    // The number of pages, printed where a heading ends with it.
    EXPECT_NE(pdf.find("(" + std::to_string(pages) + ") Tj"), std::string::npos);
}

struct Paged {
    std::vector<QStringList> pages;
    ReportPaging paging{
        5, 2, [this](int) { pages.emplace_back(); },
        [this](std::string_view l) { pages.back() << QString::fromUtf8(l.data(), static_cast<qsizetype>(l.size())); }};
};

const common::FixedClock postingDay{QDate(2026, 12, 9), QTime(9, 0)};

} // namespace

TEST(CourierPdfTest, TheStoresBytesEscapedAndTheTableTrue) {
    EXPECT_EQ(platform::pdfString("a(b)c\\d"), "(a\\(b\\)c\\\\d)");
    EXPECT_EQ(platform::pdfString(std::string("tab\there\x01", 9)), "(tab here )");
    EXPECT_EQ(platform::pdfString("caf\xE9"), "(caf\xE9)"); // WinAnsi is the store's code page

    TempFolder folder;
    {
        CourierPdf pdf("r.pdf", common::PageGeometry{}, 10, 240, "Interest report (test)");
        for (int p = 0; p < 300; ++p) // more than one piece of the file's buffer
            pdf.addPage({{"Page " + std::to_string(p + 1) + " of ", true}, {std::string(4000, 'x'), false}});
        EXPECT_EQ(pdf.pages(), 300);
        pdf.finish();
    }
    const std::string bytes = getFile("r.pdf");
    expectWholePdf(bytes, 300);
    EXPECT_NE(bytes.find("/Title (Interest report \\(test\\))"), std::string::npos);
    // The number of pages goes after "Page 1 of ", ten characters of 6 points from the margin.
    EXPECT_NE(bytes.find("q 1 0 0 1 78.00 "), std::string::npos);
}

TEST(CourierPdfTest, ADocumentWithoutAPageHasAnEmptyOne) {
    TempFolder folder;
    {
        CourierPdf pdf("r.pdf", common::PageGeometry{}, 10, 240, "");
        pdf.finish();
        pdf.finish(); // once is enough
    }
    expectWholePdf(getFile("r.pdf"), 1);
}

TEST(ReportPagingTest, HeadingsOnEveryPageAndColumnHeadingsNeverEndOne) {
    Paged r;
    r.paging.add("Account", true);
    for (int k = 1; k <= 4; ++k) r.paging.add(std::to_string(k), false);
    // Page 1: heading (2), columns, 1, 2; the columns go on top of page 2 with the next lines.
    r.paging.add("", false);
    r.paging.add("Spared", true); // would be the page's last line: goes to the next page
    r.paging.add("9", false);
    r.paging.add("", true); // no column headings from here on: they too need a line after them
    r.paging.add("end", false);
    r.paging.end();
    ASSERT_EQ(r.paging.pages(), 5);
    EXPECT_EQ(r.pages[0], QStringList({"Account", "1", "2"}));
    EXPECT_EQ(r.pages[1], QStringList({"Account", "3", "4"}));
    EXPECT_EQ(r.pages[2], QStringList({"Account", ""}));
    EXPECT_EQ(r.pages[3], QStringList({"Spared", "9"}));
    EXPECT_EQ(r.pages[4], QStringList({"end"}));

    Paged empty;
    empty.paging.end();
    EXPECT_EQ(empty.paging.pages(), 1);
    EXPECT_TRUE(empty.pages[0].isEmpty());
}

TEST(LineSpoolTest, LinesComeBackInOrderWithTheirMarkFromMemoryAndFromTheFile) {
    TempFolder folder;
    const auto files = [] { return std::distance(fs::directory_iterator("."), fs::directory_iterator()); };
    std::vector<std::pair<std::string, bool>> back;
    const auto keep = [&](std::string_view t, bool c) { back.emplace_back(t, c); };
    {
        LineSpool spool;
        spool.replay(keep);
        EXPECT_TRUE(back.empty() && spool.empty());
        spool.add("a", true);
        spool.add("");
        spool.replay(keep); // a few lines stay in memory: no file
        EXPECT_EQ(back, (std::vector<std::pair<std::string, bool>>{{"a", true}, {"", false}}));
        EXPECT_EQ(files(), 0);
    }
    back.clear();
    {
        LineSpool spool;
        spool.holdInMemory(1000);
        const std::string wide(300, '\xE9'); // lines across the file's pieces and the memory's
        for (int k = 0; k < 5000; ++k) spool.add(k % 100 == 0 ? std::string() : wide + std::to_string(k), k % 50 == 0);
        EXPECT_EQ(files(), 1);
        spool.replay(keep);
        ASSERT_EQ(back.size(), 5000u);
        EXPECT_EQ(back[0], std::make_pair(std::string(), true));
        EXPECT_EQ(back[50], std::make_pair(wide + "50", true));
        EXPECT_EQ(back[4999], std::make_pair(wide + "4999", false));
        LineSpool other; // a second report in the same folder keeps a file of its own
        other.holdInMemory(1);
        other.add("x");
        EXPECT_EQ(files(), 2);
        spool.clear();
        EXPECT_TRUE(spool.empty());
        EXPECT_EQ(files(), 1);
    }
    EXPECT_EQ(files(), 0);
}

TEST(KeptReportTest, WrittenAsItComesNamedWhenWholeAndNothingLeftOtherwise) {
    TempFolder folder;
    {
        KeptReport kept(postingDay, "12-9-26", common::PageGeometry{}, 240);
        EXPECT_EQ(kept.name(), QStringLiteral("Interest report 12-9-26 posted 2026-12-09 0900.pdf"));
        for (int p = 0; p < 500; ++p) kept.addPage({{"Page " + std::to_string(p + 1) + " of ", true}, {"line", false}});
        EXPECT_EQ(kept.keep(), kept.name());
    }
    expectWholePdf(getFile("Interest report 12-9-26 posted 2026-12-09 0900.pdf"), 500);
    {
        KeptReport again(postingDay, "12-9-26", common::PageGeometry{}, 240); // the name is taken: " (2)"
        EXPECT_EQ(again.name(), QStringLiteral("Interest report 12-9-26 posted 2026-12-09 0900 (2).pdf"));
        again.addPage({{"a", false}});
        again.drop();
    }
    {
        KeptReport dropped(postingDay, "12-9-26", common::PageGeometry{}, 240);
        dropped.addPage({{"a", false}});
    } // gone without keep: dropped
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

TEST(KeptReportTest, AFailedWriteIsAnErrorAtTheEndAndLeavesNothing) {
    TempFolder folder;
    FaultEnv faults;
    faults.failWrites("Interest report 12-9-26 posted 2026-12-09 0900.pdf.~new");
    {
        KeptReport kept(postingDay, "12-9-26", common::PageGeometry{}, 240);
        // More pages than wait to be written: the making goes on when the writing has failed.
        for (int p = 0; p < 2000; ++p) kept.addPage({{std::string(2000, 'x'), false}});
        EXPECT_THROW(kept.keep(), common::RunError);
    }
    EXPECT_TRUE(fs::is_empty(fs::current_path()));
}

TEST(KeptReportTest, ANameTakenMeanwhileGivesTheNextAndARefusedRenameIsAnError) {
    TempFolder folder;
    const std::string first = "Interest report 12-9-26 posted 2026-12-09 0900.pdf";
    {
        KeptReport kept(postingDay, "12-9-26", common::PageGeometry{}, 240);
        kept.addPage({{"ours", false}});
        putFile(first, "another computer's"); // kept while ours was made
        putFile("Interest report 12-9-26 posted 2026-12-09 0900 (2).pdf", "and another");
        EXPECT_EQ(kept.keep(), QStringLiteral("Interest report 12-9-26 posted 2026-12-09 0900 (3).pdf"));
    }
    EXPECT_EQ(getFile(first), "another computer's");
    expectWholePdf(getFile("Interest report 12-9-26 posted 2026-12-09 0900 (3).pdf"), 1);

    FaultEnv faults;
    faults.failRenames("Interest report 12-9-26 posted 2026-12-09 0900 (4).pdf.~new");
    {
        KeptReport refused(postingDay, "12-9-26", common::PageGeometry{}, 240);
        refused.addPage({{"a", false}});
        try {
            refused.keep();
            ADD_FAILURE() << "kept under " << refused.name().toStdString();
        } catch (const common::RunError& e) {
            EXPECT_EQ(e.detail(), "Interest report 12-9-26 posted 2026-12-09 0900 (4).pdf");
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 3); // no temporary left
}
