// The posting date as a person types it: every two-digit year names the store's month file, and
// a date that names none changes nothing.
#include "common/file_names.h"
#include "tests/unit/interest/posting_store.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace interest;
using namespace testsupport;
namespace fs = std::filesystem;

TEST_F(PostingSafetyTest, DatesThatNameNoMonthFileOfTheStoreChangeNothing) {
    putFile("lastpost.dat", "11-8-26\r\n .015\r\n 1\r\n");
    fs::create_directory("../x-outside");
    const auto before = snapshot();
    for (const char* date : {"cu-8-st", "..-8-/x", "12-8-2026", "12/8/26", "", "13-8-26", "0-8-26", "12-0-26"}) {
        EXPECT_EQ(post(date), PostingOutcome::Stopped) << date;
        ASSERT_EQ(host->shown().size(), 1u) << date;
        EXPECT_EQ(host->shown()[0], "The posting date must be month-day-year, for example 12-7-98.");
        EXPECT_EQ(host->reportLines(), 0) << date;
        EXPECT_EQ(snapshot(), before) << date;
    }
    EXPECT_FALSE(fs::exists("../x.dat"));
    EXPECT_TRUE(acceptablePostingDate("1-5-98"));
    EXPECT_TRUE(acceptablePostingDate("12-08-26"));
}

TEST(PostingDateTest, EveryTwoDigitYearNamesTheMonthFileOfTheStore) {
    // The store names a month file from its dates' first two and last two characters, the year
    // in two digits: January 2005 is "1-05.dat".
    const std::pair<const char*, const char*> rows[] = {
        {"1-15-05", "1-15-05"}, {"01-15-05", "1-15-05"}, {"12-7-00", "12-7-00"},  {"01-15-00", "1-15-00"},
        {"1-5-98", "1-5-98"},   {"12-08-26", "12-8-26"}, {"012-8-26", "12-8-26"}, {" 3-1-9 ", "3-1-09"}};
    for (const auto& [typed, normal] : rows) {
        EXPECT_TRUE(acceptablePostingDate(typed)) << typed;
        EXPECT_EQ(normalisePostingDate(typed), normal) << typed;
    }
    EXPECT_EQ(monthFileName(normalisePostingDate("1-15-05")), "1-05.dat");
    EXPECT_EQ(monthFileName(normalisePostingDate("01-15-00")), "1-00.dat");
    EXPECT_EQ(monthFileName(normalisePostingDate("12-7-00")), "1200.dat");
    // The month before January 00 is December 99.
    const PostingDate d = postingDate(normalisePostingDate("1-15-00"));
    EXPECT_EQ(d.prevMonth, 12);
    EXPECT_EQ(d.prevYear, 99);
    for (const char* wrong : {"12-7-2026", "13-1-05", "1-32-05", "1-15", "1--05", "a-1-05"})
        EXPECT_EQ(normalisePostingDate(wrong), "ERROR") << wrong;
}
