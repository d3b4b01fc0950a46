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

TEST(PostingDateTest, DatesThatNameNoMonthFileOfTheStoreAreNone) {
    // A run is only ever handed a parsed date, so these never reach one.
    for (const char* date : {"cu-8-st", "..-8-/x", "12-8-2026", "12/8/26", "", "13-8-26", "0-8-26", "12-0-26"}) {
        EXPECT_FALSE(parsePostingDate(date)) << date;
        EXPECT_THROW(postingDateOf(date), RunError) << date;
    }
    const PostingDate d = postingDateOf("12-08-26 ");
    EXPECT_EQ(d.text, "12-8-26");
    EXPECT_EQ(d.monthFile, "1226.dat");
    EXPECT_EQ(d.pointerFile, "1226.ptn");
    EXPECT_EQ(d.day, 8);
    EXPECT_EQ(postingDateOf("1-5-98").monthFile, "1-98.dat");
}

TEST(PostingDateTest, EveryTwoDigitYearNamesTheMonthFileOfTheStore) {
    // The store names a month file from its dates' first two and last two characters, the year
    // in two digits: January 2005 is "1-05.dat".
    const std::pair<const char*, const char*> rows[] = {
        {"1-15-05", "1-15-05"}, {"01-15-05", "1-15-05"}, {"12-7-00", "12-7-00"},  {"01-15-00", "1-15-00"},
        {"1-5-98", "1-5-98"},   {"12-08-26", "12-8-26"}, {"012-8-26", "12-8-26"}, {" 3-1-9 ", "3-1-09"}};
    for (const auto& [typed, normal] : rows) {
        ASSERT_TRUE(parsePostingDate(typed)) << typed;
        EXPECT_EQ(parsePostingDate(typed)->text, normal) << typed;
        EXPECT_EQ(normalisePostingDate(typed), normal) << typed;
    }
    EXPECT_EQ(postingDateOf("1-15-05").monthFile, "1-05.dat");
    EXPECT_EQ(postingDateOf("01-15-00").monthFile, "1-00.dat");
    EXPECT_EQ(postingDateOf("12-7-00").monthFile, "1200.dat");
    // The month before January 00 is December 99.
    const PostingDate d = postingDateOf("1-15-00");
    EXPECT_EQ(d.prevMonth, 12);
    EXPECT_EQ(d.prevYear, 99);
    for (const char* wrong : {"12-7-2026", "13-1-05", "1-32-05", "1-15", "1--05", "a-1-05"})
        EXPECT_EQ(normalisePostingDate(wrong), "ERROR") << wrong;
}
