#include "interest/collection_notes.h"
#include "interest/posting_report.h"
#include "interest/posting_run.h"

#include <gtest/gtest.h>

using namespace common;
using namespace interest;

TEST(PostingReportTest, ColumnsLineUpUnderTheirHeadings) {
    const std::string head = columnHeadings();
    const std::string line = chargeLine(1234567, "ADAMS Ann", 1250, "   18.75", 1268.75);
    // Each figure ends where its heading ends, so a column can be added up by hand.
    for (const char* heading : {"Balance before", "Charge", "Balance after"}) {
        const size_t end = head.find(heading) + std::string(heading).size();
        ASSERT_LE(end, line.size()) << heading;
        EXPECT_NE(line[end - 1], ' ') << heading << ": " << line;
        if (end < line.size()) {
            EXPECT_EQ(line[end], ' ') << heading << ": " << line;
        }
    }
    EXPECT_EQ(line, "1234567  ADAMS Ann                              1250.00     18.75        1268.75");
    // An amount stored as ".60" is shown with its leading 0; a long name is cut, not pushed on.
    const std::string small = chargeLine(7, "A VERY LONG SURNAME INDEED Firstname Othername", 40, ".60", 40.6);
    EXPECT_EQ(small.size(), line.size());
    EXPECT_NE(small.find("      0.60"), std::string::npos) << small;
}

TEST(PostingReportTest, SummaryCountsEveryAccountNotCharged) {
    SparedAccounts spared;
    spared.marked = 3;
    spared.small = 1;
    spared.layaway = 2;
    spared.noBalance = 5;
    const auto lines = reportSummary(19, Money::fromText("282.51"), spared);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "");
    EXPECT_NE(lines[1].find("Accounts charged"), std::string::npos);
    EXPECT_NE(lines[1].find("19"), std::string::npos);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 6), "282.51");
    EXPECT_NE(lines[2].find("11"), std::string::npos) << lines[2]; // 3 + 1 + 2 + 5
    EXPECT_NE(lines[3].find("marked for no interest"), std::string::npos);
    EXPECT_NE(lines[4].find("balance under 1.00"), std::string::npos);
    EXPECT_NE(lines[5].find("layaway"), std::string::npos);
    EXPECT_NE(lines[6].find("no balance"), std::string::npos);
    // Nothing spared: the count line, and no reasons.
    const auto none = reportSummary(0, Money{}, SparedAccounts{});
    ASSERT_EQ(none.size(), 3u);
    EXPECT_EQ(none[1].substr(none[1].size() - 4), "0.00");
}

TEST(PostingReportTest, RateInPercent) {
    EXPECT_EQ(ratePercent(.015), "1.5 %");
    EXPECT_EQ(ratePercent(1.5), "150 %");
    EXPECT_EQ(ratePercent(.01), "1 %");
    EXPECT_EQ(ratePercent(0), "0 %");
    EXPECT_EQ(ratePercent(.0125), "1.25 %");
}

TEST(CollectionNotesTest, AnEmptyNoteShowsAsNoNoteAndIsSavedEmpty) {
    CollectionNotes notes;
    notes[1] = "Please call us.";
    EXPECT_EQ(shownNote(notes, 0), "(no note)");
    EXPECT_EQ(shownNote(notes, 1), "Please call us.");
    EXPECT_EQ(notes[0], ""); // what is saved for it
}
