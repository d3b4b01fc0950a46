#include "common/format_picture.h"
#include "common/money.h"
#include "common/run_error.h"

#include <gtest/gtest.h>
#include <limits>

using namespace common;

TEST(MoneyTest, FromDoubleRoundsHalvesToEvenOnTheDoubleProduct) {
    EXPECT_EQ(Money::fromDouble(0.00005).ticks, 0); // 0.5 ticks -> 0
    EXPECT_EQ(Money::fromDouble(0.00015).ticks, 1); // the double product is 1.4999...
    EXPECT_EQ(Money::fromDouble(0.00035).ticks, 4); // the double product is 3.5
    EXPECT_EQ(Money::fromDouble(82.33 * 0.015).ticks, 12350);
    EXPECT_EQ(Money::fromDouble(200.0 * 0.015).ticks, 30000);
    EXPECT_EQ(Money::fromDouble(-2.00005).ticks, -20000);
    EXPECT_EQ(Money::fromDouble(1.0).ticks, 10000);
}

TEST(MoneyTest, FromTextThroughNumericValue) {
    EXPECT_EQ(Money::fromText(" .015").ticks, 150);
    EXPECT_EQ(Money::fromText("1,250").ticks, 10000);
    EXPECT_EQ(Money::fromText("abc").ticks, 0);
    EXPECT_EQ(Money::fromText("1 999999").ticks, 19999990000);
}

TEST(MoneyTest, OverflowIsErrorSix) {
    const Money big = Money::fromTicks(std::numeric_limits<int64_t>::max());
    try {
        (void)(big + Money::fromTicks(1));
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_THROW((void)(Money::fromTicks(std::numeric_limits<int64_t>::min()) - Money::fromTicks(1)), RunError);
    EXPECT_THROW(Money::fromDouble(1e15), RunError);
    EXPECT_NO_THROW(Money::fromDouble(9e14));
}

TEST(MoneyTest, SumsAreExact) {
    Money total;
    for (int i = 0; i < 1000; ++i) total = total + Money::fromText(".01");
    EXPECT_EQ(total.ticks, 100000);
    EXPECT_EQ((Money::fromText("100") - Money::fromText("2.5")).ticks, 975000);
}

TEST(MoneyTest, Texts) {
    EXPECT_EQ(str(Money::fromText("97.5")), " 97.5");
    EXPECT_EQ(str(Money::fromText(".015")), " .015");
    EXPECT_EQ(str(Money::fromText("-3")), "-3");
    EXPECT_EQ(str(Money{}), " 0");
    EXPECT_EQ(generalFormat(Money::fromText("102.50")), "102.5");
    EXPECT_EQ(generalFormat(Money::fromText(".75")), "0.75");
    EXPECT_EQ(generalFormat(Money::fromText("-.75")), "-0.75");
    EXPECT_EQ(str(Money::fromTicks(std::numeric_limits<int64_t>::min())), "-922337203685477.5808");
}

struct PictureRow {
    const char* name;
    const char* value;
    const char* picture;
    const char* expected;
};

class PictureTest : public ::testing::TestWithParam<PictureRow> {};

TEST_P(PictureTest, Formats) {
    const auto& r = GetParam();
    EXPECT_EQ(formatPicture(Money::fromText(r.value), r.picture), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PictureTest,
    ::testing::Values(PictureRow{"price_whole", "1250", "######0.00", "1250.00"},
                      PictureRow{"price_half", "12.5", "######0.00", "12.50"},
                      PictureRow{"price_zero", "0", "######0.00", "0.00"},
                      PictureRow{"price_negative", "-3", "######0.00", "-3.00"},
                      PictureRow{"price_more_digits_than_places", "123456789", "######0.00", "123456789.00"},
                      PictureRow{"amount_below_one", ".75", "#####.00", ".75"},
                      PictureRow{"amount_half_cent_up", "1.235", "#####.00", "1.24"},
                      PictureRow{"amount_half_away_from_zero", ".125", "#####.00", ".13"},
                      PictureRow{"amount_negative_half", "-.125", "#####.00", "-.13"},
                      PictureRow{"amount_rounds_to_whole", "9.995", "#####.00", "10.00"},
                      PictureRow{"total_zero", "0", "######.00", ".00"}, PictureRow{"rate", ".015", "##.0000", ".0150"},
                      PictureRow{"rate_zero", "0", "##.0000", ".0000"}, PictureRow{"minimum_one", "1", "##.00", "1.00"},
                      PictureRow{"minimum_zero", "0", "##.00", ".00"},
                      PictureRow{"tiny_negative_rounds_to_zero", "-.001", "##.00", ".00"},
                      PictureRow{"optional_decimals", ".5", "#.##", ".5"},
                      PictureRow{"optional_zero", "0", "#.##", "."}),
    [](const auto& info) { return std::string(info.param.name); });
