#include "appraise/worksheet/carat.h"
#include "common/run_error.h"

#include <gtest/gtest.h>

using namespace common;
using namespace appraise;

namespace {
CaratEstimate estimate(const char* l, const char* w, const char* d, StoneShape s) {
    Measurements m{l, w, d};
    EXPECT_TRUE(completeMeasurements(m));
    auto e = estimateCarat(m, s);
    EXPECT_TRUE(e.has_value());
    return e.value_or(CaratEstimate{});
}
} // namespace

TEST(CaratTest, RoundOvalAndPearKeepTheirFormulas) {
    auto e = estimate("6", "6", "4", StoneShape::RoundBrilliant);
    EXPECT_EQ(e.carat, Money::fromText("0.882"));
    EXPECT_EQ(e.dimensions, "6 X 4 MM");
    e = estimate("6.5", "6.3", "4", StoneShape::RoundBrilliant);
    EXPECT_EQ(e.carat, Money::fromText("1.0035"));
    EXPECT_EQ(e.dimensions, "6.5 X 6.3 X 4 MM");
    e = estimate("6.5", "6.50", "4", StoneShape::RoundBrilliant); // equal numbers, different texts
    EXPECT_EQ(caratText(e.carat), caratText(estimate("6.5", "6.5", "4", StoneShape::RoundBrilliant).carat));
    EXPECT_EQ(e.dimensions, "6.5 X 6.50 X 4 MM");
    e = estimate("8", "6", "4", StoneShape::Oval);
    EXPECT_EQ(e.carat, Money::fromText("1.2005"));
    e = estimate("8", "5", "3", StoneShape::Pear);
    EXPECT_EQ(e.carat, Money::fromText("0.744"));
    e = estimate("6", "6", "0", StoneShape::Pear);
    EXPECT_EQ(e.carat, Money::fromText("0"));
}

TEST(CaratTest, MarquiseAndEmeraldUseLengthAndTheRatioFactor) {
    EXPECT_EQ(estimate("10", "5", "3", StoneShape::Marquise).carat, Money::fromText("0.87"));
    EXPECT_EQ(estimate("8", "6", "4", StoneShape::EmeraldCut).carat, Money::fromText("1.6896"));
    // A longer stone of the same width weighs more.
    EXPECT_GT(estimate("20", "10", "3", StoneShape::Marquise).carat,
              estimate("10", "10", "3", StoneShape::Marquise).carat);
    // Width and length may be given either way round.
    EXPECT_EQ(estimate("5", "10", "3", StoneShape::Marquise).carat,
              estimate("10", "5", "3", StoneShape::Marquise).carat);
    EXPECT_EQ(estimate("10", "5", "3", StoneShape::Marquise).dimensions, "10 X 5 X 3 MM");
}

TEST(CaratTest, FactorTablesInterpolateAndHoldAtTheEnds) {
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 1.0), 0.00565);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 1.625), 0.005675);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 3.0), 0.00595);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 5.0), 0.00595);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::EmeraldCut, 1.0), 0.0080);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::EmeraldCut, 1.25), 0.0086);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::EmeraldCut, 9.0), 0.0106);
}

TEST(CaratTest, OneMeasurementStandsForBoth) {
    Measurements m{"6", " ", "4"};
    ASSERT_TRUE(completeMeasurements(m));
    EXPECT_EQ(m.width, "6");
    Measurements w{" ", "7", "4"};
    ASSERT_TRUE(completeMeasurements(w));
    EXPECT_EQ(w.length, "7");
    Measurements none{" ", "", "4"};
    EXPECT_FALSE(completeMeasurements(none));
    EXPECT_FALSE(estimateCarat(m, StoneShape::None).has_value());
    EXPECT_FALSE(estimateCarat(m, StoneShape::Other).has_value());
}

TEST(CaratTest, TooLargeIsOverflow) {
    Measurements m{"1e9", "1e9", "1e9"};
    try {
        estimateCarat(m, StoneShape::Pear);
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(CaratTest, TheGemWeighsTheEstimate) {
    // An oval of 6.0 x 4.0 x 2.9 mm: 0.4441 ct as a diamond; a sapphire (4.00 against 3.52) about
    // 14 % more, an opal (2.15) much less.
    Measurements m{"6.0", "4.0", "2.9"};
    const auto diamond = estimateCarat(m, StoneShape::Oval);
    ASSERT_TRUE(diamond);
    EXPECT_EQ(caratText(diamond->carat), "0.44");
    const auto sapphire = estimateCarat(m, StoneShape::Oval, *specificGravity("Sapphire"));
    ASSERT_TRUE(sapphire);
    EXPECT_EQ(caratText(sapphire->carat), "0.50");
    EXPECT_NEAR(sapphire->carat.toDouble() / diamond->carat.toDouble(), 4.00 / 3.52, 0.001);
    EXPECT_EQ(sapphire->dimensions, diamond->dimensions); // the depth as measured, not as weighed
    EXPECT_EQ(caratText(estimateCarat(m, StoneShape::Oval, *specificGravity("Opal"))->carat), "0.27");
    // Every stone of the list has its gravity; "Other" has none.
    for (const char* gem : {"Diamond", "Amethyst", "Aquamarine", "Citrine", "Emerald", "Garnet", "Jade", "Lapis",
                            "Opal", "Onyx", "Pearl", "Peridot", "Ruby", "Sapphire", "Topaz", "Zircon"})
        EXPECT_TRUE(specificGravity(gem)) << gem;
    EXPECT_FALSE(specificGravity("OtherStone"));
    EXPECT_DOUBLE_EQ(*specificGravity("Diamond"), diamondGravity);
}

TEST(CaratTest, TheEstimateShowsToTwoDecimals) {
    EXPECT_EQ(caratText(Money::fromText("0.882")), "0.88");
    EXPECT_EQ(caratText(Money::fromText("1.0035")), "1.00");
    EXPECT_EQ(caratText(Money::fromText("1.6896")), "1.69");
    EXPECT_EQ(caratText(Money{}), "0.00");
    EXPECT_EQ(caratText(Money::fromText("123.4")), "123.40");
}
