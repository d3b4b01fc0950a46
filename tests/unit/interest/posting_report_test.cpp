#include "interest/collection_notes.h"
#include "interest/posting_report.h"
#include "interest/posting_run.h"
#include "tests/support/fault_env.h"
#include "tests/unit/interest/posting_store.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

using namespace common;
using namespace interest;

namespace {
// Each figure ends where its heading ends, so a column can be added up by hand.
void expectUnderHeadings(const std::string& head, const std::string& line, std::initializer_list<const char*> names) {
    for (const char* heading : names) {
        const size_t end = head.find(heading) + std::string(heading).size();
        ASSERT_LE(end, line.size()) << heading;
        EXPECT_NE(line[end - 1], ' ') << heading << ": " << line;
        if (end < line.size()) {
            EXPECT_EQ(line[end], ' ') << heading << ": " << line;
        }
    }
}
// The input of a run of 12-8-26 at 1.5 %, minimum 1.00.
PostingInput runInput(bool preview, bool reportLines, bool firstmon = false, int32_t blockSize = 32768) {
    PostingInput in{postingDateOf("12-8-26"), ".015", "1.00", false, firstmon, false};
    in.preview = preview;
    in.reportLines = reportLines;
    in.blockSize = blockSize;
    return in;
}
} // namespace

TEST(PostingReportTest, ColumnsLineUpUnderTheirHeadings) {
    const std::string head = columnHeadings(false);
    ChargeLine c{1234567, "ADAMS Ann", 1250, std::nullopt, "   18.75", false, 1268.75};
    const std::string line = chargeLine(c, false);
    expectUnderHeadings(head, line, {"Balance before", "Charge", "Balance after"});
    EXPECT_EQ(line, "1234567  ADAMS Ann                            1250.00     18.75          1268.75");
    // An amount stored as ".60" is shown with its leading 0; a long name is cut, not pushed on.
    const std::string small =
        chargeLine({7, "A VERY LONG SURNAME INDEED Firstname Othername", 40, std::nullopt, ".60", false, 40.6}, false);
    EXPECT_EQ(small.size(), line.size());
    EXPECT_NE(small.find("      0.60"), std::string::npos) << small;
    // A minimum charge is marked beside its amount, the columns unmoved.
    c.minimum = true;
    const std::string minimum = chargeLine(c, false);
    EXPECT_EQ(minimum.size(), line.size());
    EXPECT_NE(minimum.find("18.75 min"), std::string::npos) << minimum;
    expectUnderHeadings(head, minimum, {"Balance before", "Charge", "Balance after"});
}

TEST(PostingReportTest, TheBaseIsPrintedWhereTheLastMonthLoweredIt) {
    const std::string head = columnHeadings(true);
    EXPECT_NE(head.find("Base"), std::string::npos);
    const std::string lowered = chargeLine({3, "ROSS Al", 1250, Money::fromText("625"), "9.38", false, 1259.38}, true);
    expectUnderHeadings(head, lowered, {"Balance before", "Base", "Charge", "Balance after"});
    EXPECT_NE(lowered.find("1250.00      625.00      9.38"), std::string::npos) << lowered;
    // Not lowered: the column stays blank, the rest where it was; and no wider than an A4 page.
    const std::string whole = chargeLine({3, "ROSS Al", 1250, std::nullopt, "18.75", false, 1268.75}, true);
    EXPECT_EQ(whole.size(), lowered.size());
    EXPECT_EQ(whole.substr(53, 12), std::string(12, ' ')) << whole;
    EXPECT_LE(head.size(), 93u);
}

TEST(PostingReportTest, EverySparedAccountIsNamedWithItsReason) {
    SparedLine s{12, SparedLine::Why::Marked, "SMITH Ann", balanceText("250"), Money{}, "2"};
    EXPECT_EQ(sparedLine(s), "     12  SMITH Ann                           250.00  marked for no interest, 2 left");
    s.markLeft = "99";
    EXPECT_NE(sparedLine(s).find("(99: always)"), std::string::npos);
    s.why = SparedLine::Why::Recent;
    s.base = Money::fromText(".5");
    EXPECT_NE(sparedLine(s).find("last month's charges: base 0.50"), std::string::npos);
    s.why = SparedLine::Why::Credit;
    s.balance = balanceText("-5   ");
    EXPECT_NE(sparedLine(s).find("  -5.00  a credit balance"), std::string::npos) << sparedLine(s);
    s.why = SparedLine::Why::ByHand;
    EXPECT_NE(sparedLine(s).find("spared by hand"), std::string::npos);
    s.why = SparedLine::Why::Other;
    s.because = "too large: new balance 101499.99";
    EXPECT_NE(sparedLine(s).find(s.because), std::string::npos);
    // Every reason fits an A4 page beside the longest name and balance.
    s.name = std::string(40, 'W');
    s.balance = "-99999.99";
    for (const auto why : {SparedLine::Why::Marked, SparedLine::Why::Recent, SparedLine::Why::Small,
                           SparedLine::Why::ByHand, SparedLine::Why::Credit}) {
        s.why = why;
        s.base = Money::fromText("-99999.99");
        s.markLeft = "99";
        EXPECT_LE(sparedLine(s).size(), 93u) << sparedLine(s);
    }
    expectUnderHeadings(sparedColumns(), sparedLine(s), {"Balance"});
    // A balance that is no number the posting can handle is shown as stored.
    EXPECT_EQ(balanceText("1E99    "), "1E99");
}

TEST(PostingReportTest, SummaryCountsAddUpToTheAccountsLookedAt) {
    SparedAccounts spared;
    spared.marked = 3;
    spared.small = 1;
    spared.layaway = 2;
    spared.noBalance = 5;
    spared.credit = 1;
    spared.byHand = 2;
    spared.tooLarge = 1;
    const auto lines = reportSummary(34, 19, Money::fromText("282.51"), spared);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "");
    EXPECT_NE(lines[1].find("Accounts looked at"), std::string::npos);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 2), "34");
    EXPECT_NE(lines[2].find("Accounts charged"), std::string::npos);
    EXPECT_NE(lines[2].find("19"), std::string::npos);
    EXPECT_EQ(lines[2].substr(lines[2].size() - 6), "282.51");
    EXPECT_EQ(lines[3].substr(lines[3].size() - 2), "15") << lines[3]; // 34 - 19
    const char* reasons[] = {
        "marked for no interest", "balance under 1.00",       "layaway", "no balance", "credit balance",
        "spared by hand",         "too large for the account"};
    for (size_t k = 0; k < std::size(reasons); ++k) EXPECT_NE(lines[4 + k].find(reasons[k]), std::string::npos);
    // Nothing spared: the counts, and no reasons.
    const auto none = reportSummary(0, 0, Money{}, SparedAccounts{});
    ASSERT_EQ(none.size(), 4u);
    EXPECT_EQ(none[2].substr(none[2].size() - 4), "0.00");
}

TEST(PostingReportTest, RateInPercent) {
    EXPECT_EQ(ratePercent(.015), "1.5 %");
    EXPECT_EQ(ratePercent(1.5), "150 %");
    EXPECT_EQ(ratePercent(.01), "1 %");
    EXPECT_EQ(ratePercent(0), "0 %");
    EXPECT_EQ(ratePercent(.0125), "1.25 %");
    EXPECT_EQ(rateMonthAndYear(.015), "1.5 % a month, 18 % a year");
    EXPECT_EQ(rateMonthAndYear(.0125), "1.25 % a month, 15 % a year");
}

TEST(CollectionNotesTest, AnEmptyNoteShowsAsNoNoteAndIsSavedEmpty) {
    CollectionNotes notes;
    notes[1] = "Please call us.";
    EXPECT_EQ(shownNote(notes, 0), "(no note)");
    EXPECT_EQ(shownNote(notes, 1), "Please call us.");
    EXPECT_EQ(notes[0], ""); // what is saved for it
}

// The confirmation asks about a preview's totals and drops its report: made without report
// lines, it counts what the full preview and the posting count, account for account.
TEST(PostingReportTest, APreviewOfTotalsOnlyCountsWhatThePostingCharges) {
    testsupport::TempFolder tmp;
    using testsupport::accountBytes;
    testsupport::putFile("cust.dat", accountBytes({"OWES", "A", "1126", "1", "100", "1", 1}) +
                                         accountBytes({"NONE", "B", "1126", "2", "0", "2", 2}) +
                                         accountBytes({"CREDIT", "C", "1126", "3", "-5", "3", 3}) +
                                         accountBytes({"MARKED", "D", "1126", "4", "100", "4", 4, "1", "1"}) +
                                         accountBytes({"WIDE", "E", "1126", "5", "99999.99", "5", 5}) +
                                         accountBytes({"SMALL", "F", "1126", "6", "10", "6", 6}));
    testsupport::putFile("Cust.ptn", " 6\r\n");
    std::string month;
    for (int i = 1; i <= 6; ++i) month += testsupport::txBytes(i, "", "0", "Ring", "10.00");
    testsupport::putFile("1126.dat", month);
    testsupport::putFile("1126.ptn", " 6\r\n");
    struct Counted {
        int32_t withBalance, charged, spared;
        std::string total;
        std::vector<std::string> report;
        bool operator==(const Counted& o) const {
            return std::tie(withBalance, charged, spared, total) ==
                   std::tie(o.withBalance, o.charged, o.spared, o.total);
        }
    };
    const auto counted = [](bool preview, bool reportLines) {
        testsupport::HeadlessHost host(true);
        StepLabel steplabel;
        PostingRun run(runInput(preview, reportLines), host, steplabel);
        EXPECT_EQ(run.run(), PostingOutcome::Completed);
        return Counted{run.withBalance(), run.charged(), run.spared().total(), str(run.total()), host.report()};
    };
    const Counted totals = counted(true, false), whole = counted(true, true);
    const std::string before = testsupport::getFile("cust.dat");
    EXPECT_EQ(totals, whole);
    EXPECT_EQ(testsupport::getFile("cust.dat"), before); // neither preview writes
    const Counted posted = counted(false, false);        // a posting always makes its report
    EXPECT_EQ(totals, posted);
    EXPECT_EQ(totals.charged, 2);
    EXPECT_EQ(totals.total, " 2.5"); // 1.50, and the minimum of 1.00
    EXPECT_EQ(totals.spared, 4);
    // The full preview names every account; the totals alone name none.
    for (const char* name : {"OWES", "NONE", "CREDIT", "MARKED", "WIDE", "SMALL"}) {
        const auto names = [&](const std::vector<std::string>& lines) {
            return std::any_of(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.find(name) != std::string::npos; });
        };
        EXPECT_TRUE(names(whole.report)) << name;
        EXPECT_TRUE(names(posted.report)) << name;
        EXPECT_FALSE(names(totals.report)) << name;
    }
}

// The preview that only counts goes through each block in two halves at once. A file it cannot
// read stops it with the error a preview of every line meets first: the first half's when both
// halves meet one, the second half's when only it does.
TEST(PostingReportTest, APreviewOfTotalsOnlyStopsAtTheFirstErrorOfAPreviewInOrder) {
    testsupport::TempFolder tmp;
    using testsupport::accountBytes;
    using testsupport::putFile;
    putFile("cust.dat", accountBytes({"ONE", "A", "0926", "1", "100", "1", 1}) +
                            accountBytes({"TWO", "B", "1126", "1", "100", "2", 2}) +
                            accountBytes({"THREE", "C", "1026", "1", "100", "3", 3}) +
                            accountBytes({"FOUR", "D", "1126", "2", "100", "4", 4}));
    putFile("Cust.ptn", " 4\r\n");
    for (const char* month : {"0926", "1026", "1126"}) {
        putFile(std::string(month) + ".dat", testsupport::txBytes(1, "", "0", "Ring", "100.00") +
                                                 testsupport::txBytes(2, "", "0", "Ring", "100.00"));
        putFile(std::string(month) + ".ptn", " 2\r\n");
    }
    const auto failure = [](bool reportLines) -> std::string {
        testsupport::HeadlessHost host(true);
        StepLabel steplabel;
        PostingRun run(runInput(true, reportLines), host, steplabel);
        try {
            run.run();
        } catch (const RunError& e) {
            return std::to_string(e.number()) + " " + e.detail();
        }
        return "none";
    };
    testsupport::FaultEnv env;
    env.holdElsewhere("1026.dat"); // read by the second half only
    EXPECT_EQ(failure(true).substr(0, 3), "70 ");
    EXPECT_EQ(failure(false), failure(true));
    env.holdElsewhere("0926.dat"); // and by the first
    EXPECT_NE(failure(true).find("0926"), std::string::npos) << failure(true);
    EXPECT_EQ(failure(false), failure(true));
    env.release("1026.dat");
    env.release("0926.dat");
    EXPECT_EQ(failure(false), "none");
}

// Previews of a store of 400 accounts, in blocks of any size: counted only (the halves of a
// block at once when the last month counts in full; with the walks of the last month made ahead
// on another thread when it does not) or with every line, they count what the posting charges.
TEST(PostingReportTest, PreviewsInBlocksOfAnySizeCountWhatThePostingCharges) {
    std::vector<std::vector<std::string>> postings;
    for (const bool firstmon : {false, true}) {
        testsupport::TempFolder tmp;
        using testsupport::txBytes;
        std::string cust, november, december;
        for (int i = 1; i <= 400; ++i) {
            const bool sold = i % 2 == 0; // a chain from the posting month, or from November
            cust += testsupport::accountBytes({"N" + std::to_string(i), "F", sold ? "1226" : "1126", std::to_string(i),
                                               i % 7 == 0 ? "0" : std::to_string(i % 13) + "0", "555", i});
            november += txBytes(i, "", "0", "Ring", "60.00", i % 3 == 0 ? "11-20-26" : "11-2-26");
            december += txBytes(i, "1126", std::to_string(i), "Chain", "40.00", "12-2-26");
        }
        testsupport::putFile("cust.dat", cust);
        testsupport::putFile("Cust.ptn", " 400\r\n");
        testsupport::putFile("1126.dat", november);
        testsupport::putFile("1126.ptn", " 400\r\n");
        testsupport::putFile("1226.dat", december);
        testsupport::putFile("1226.ptn", " 400\r\n");
        const auto counted = [firstmon](bool preview, bool reportLines, int32_t blockSize) {
            testsupport::HeadlessHost host(true);
            StepLabel steplabel;
            PostingRun run(runInput(preview, reportLines, firstmon, blockSize), host, steplabel);
            EXPECT_EQ(run.run(), PostingOutcome::Completed);
            const SparedAccounts& s = run.spared();
            return std::vector<std::string>{std::to_string(run.withBalance()), std::to_string(run.charged()),
                                            str(run.total()),
                                            std::to_string(s.noBalance) + " " + std::to_string(s.small) + " " +
                                                std::to_string(s.recent) + " " + std::to_string(s.total())};
        };
        std::vector<std::vector<std::string>> previews;
        for (const int32_t blockSize : {1, 2, 191, 192, 1000})
            for (const bool reportLines : {false, true}) previews.push_back(counted(true, reportLines, blockSize));
        const auto posted = counted(false, true, 1000);
        for (const auto& p : previews) EXPECT_EQ(p, posted) << firstmon;
        EXPECT_GT(std::stoi(posted[1]), 100) << firstmon;
        postings.push_back(posted);
    }
    // The walks of the last month changed what is charged.
    EXPECT_NE(postings[0], postings[1]);
}
