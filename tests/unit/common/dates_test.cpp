#include "common/dates.h"

#include <gtest/gtest.h>

using namespace common;

TEST(DatesTest, ClockGivesClassicDateText) {
    FixedClock clock(QDate(2026, 12, 7));
    EXPECT_EQ(currentDateText(clock), "12-07-2026");
    clock.set(QDate(1998, 7, 4));
    EXPECT_EQ(currentDateText(clock), "07-04-1998");
}

// The store writes the month and the day as they are and the year in two digits, so that a
// date's first two and last two characters name its month file ("1-15-05" is in 1-05.dat).
TEST(DatesTest, TheStoresDateKeepsTheYearsLeadingZero) {
    const std::pair<QDate, const char*> rows[] = {
        {QDate(2000, 1, 15), "1-15-00"},   {QDate(2000, 12, 31), "12-31-00"}, {QDate(2005, 1, 15), "1-15-05"},
        {QDate(2005, 7, 4), "7-4-05"},     {QDate(2009, 3, 1), "3-1-09"},     {QDate(2010, 12, 7), "12-7-10"},
        {QDate(2010, 1, 1), "1-1-10"},     {QDate(2026, 8, 5), "8-5-26"},     {QDate(2026, 12, 9), "12-9-26"},
        {QDate(1999, 12, 31), "12-31-99"}, {QDate(1999, 1, 5), "1-5-99"},
    };
    for (const auto& [date, text] : rows) {
        const std::string written = shortDateText(date);
        EXPECT_EQ(written, text) << date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(written.size() - written.rfind('-'), 3u) << written; // the year in two digits
    }
}
