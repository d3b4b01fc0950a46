#include "appraise/documents/appraisal_summary.h"
#include "appraise/printing/print_geometry.h"
#include "appraise/worksheet/price_text.h"

#include <gtest/gtest.h>

using namespace appraise;

namespace {
struct PriceRow {
    const char* name;
    const char* typed;
    const char* read; // nullptr: not a price
};

class ReadPriceTest : public ::testing::TestWithParam<PriceRow> {};
} // namespace

TEST_P(ReadPriceTest, ReadsAsMeant) {
    const PriceRow& r = GetParam();
    const auto got = readPrice(r.typed);
    if (!r.read) EXPECT_FALSE(got) << r.typed << " read as " << got.value_or("");
    else EXPECT_EQ(got.value_or("(none)"), r.read) << r.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadPriceTest,
    ::testing::Values(PriceRow{"plain", "2450", "2450"}, PriceRow{"decimals", "2450.5", "2450.5"},
                      PriceRow{"comma_groups", "6,500.00", "6500.00"}, PriceRow{"dollar", "$6500", "6500"},
                      PriceRow{"dollar_blank", "$ 6,500", "6500"}, PriceRow{"blank_groups", "6 500", "6500"},
                      PriceRow{"millions", "1,250,000.50", "1250000.50"}, PriceRow{"around_blanks", "  12  ", "12"},
                      PriceRow{"empty_is_zero", "", "0"}, PriceRow{"blank_is_zero", "   ", "0"},
                      PriceRow{"minus", "-3", "-3"}, PriceRow{"minus_dollar", "-$3", "-3"},
                      PriceRow{"dollar_minus", "$-3", "-3"}, PriceRow{"point_first", ".5", "0.5"},
                      PriceRow{"trailing_point", "12.", "12."}, PriceRow{"decimal_comma", "6,50", nullptr},
                      PriceRow{"group_of_four", "6,5000", nullptr}, PriceRow{"mixed_separators", "1,250 000", nullptr},
                      PriceRow{"first_group_too_long", "6500,000", nullptr}, PriceRow{"letters", "12a", nullptr},
                      PriceRow{"words", "twelve", nullptr}, PriceRow{"dollar_alone", "$", nullptr},
                      PriceRow{"two_points", "1.2.3", nullptr}, PriceRow{"trailing_comma", "6,", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GroupedPriceTest, ThousandsGrouped) {
    EXPECT_EQ(groupedPrice("2450.00"), "2,450.00");
    EXPECT_EQ(groupedPrice("450.00"), "450.00");
    EXPECT_EQ(groupedPrice("1250000.5"), "1,250,000.5");
    EXPECT_EQ(groupedPrice("-1000"), "-1,000");
    EXPECT_EQ(groupedPrice("100000"), "100,000");
    // Not a plain number: left as it is.
    EXPECT_EQ(groupedPrice("12 ct"), "12 ct");
    EXPECT_EQ(groupedPrice(""), "");
}

TEST(ClearOfTest, KeepsTheTextAwayFromWhatElseIsPrinted) {
    const Span area{3000, 14000};
    // Nothing else on the page.
    EXPECT_EQ(clearOf(area, {}, 240), area);
    // A signature low on the page: the text stops the gap above it.
    EXPECT_EQ(clearOf(area, {{12400, 13000}}, 240), (Span{3000, 12160}));
    // A closing reaching into the top: the text starts the gap below it.
    EXPECT_EQ(clearOf(area, {{2600, 3500}}, 240), (Span{3740, 14000}));
    // One above, wholly clear of the area (its bottom plus the gap at the top at most).
    EXPECT_EQ(clearOf(area, {{1400, 2760}}, 240), area);
    EXPECT_EQ(clearOf(area, {{1400, 2761}}, 240), (Span{3001, 14000}));
    // Both, given in any order.
    EXPECT_EQ(clearOf(area, {{12400, 13000}, {2600, 3500}}, 240), (Span{3740, 12160}));
    // Something below the area leaves it whole.
    EXPECT_EQ(clearOf(area, {{14300, 14600}}, 240), area);
    // Settings that leave no room: an empty stretch, never a negative one.
    const Span none = clearOf(area, {{2000, 13900}}, 240);
    EXPECT_EQ(none.height(), 0);
    // One reaching into the top, then one reaching into the stretch left: below both.
    EXPECT_EQ(clearOf(area, {{3100, 3200}, {3300, 13000}}, 240), (Span{13240, 14000}));
}

TEST(AppraisalSummaryTest, DateFirstItemAndValue) {
    const std::string oneItem = "12-9-26\r\nAppraisal for\r\nAnn Smith\r\n\r\n\r\n"
                                "Item number 1 of 1 items:                                   \r\n\r\n"
                                "One lady's ring made of 14 karat yellow gold weighing approximately 3.5 grams \r\n"
                                "and containing the following stone:\r\n\r\n"
                                "                                Replacement Value:  2450.00     \r\n";
    EXPECT_EQ(appraisalSummary(oneItem), "12-9-26  Ring, 14 karat yellow gold  2,450.00");

    // A sentence wrapped before the metal; a typed metal; no wearer.
    const std::string wrapped = "1-2-26\r\nItem number 2 of 3 items:\r\n"
                                "One  necklace made of \r\nsterling and containing the following stones:\r\n\r\n"
                                "                                Replacement Value:  880.00\r\n";
    EXPECT_EQ(appraisalSummary(wrapped), "1-2-26  Necklace, sterling  880.00");
}

TEST(AppraisalSummaryTest, SeveralItemsShowTheTotal) {
    const std::string all = "12-9-26\r\nItem number 1 of 3 items:\r\nOne man's watch made of platinum \r\n"
                            "                                Replacement Value:  1200.00\r\n"
                            "Item number 2 of 3 items:\r\nOne  ring \r\n"
                            "                                Replacement Value:  100.00\r\n"
                            "Item number 3 of 3 items:\r\nOne  pearls \r\n"
                            "                                Replacement Value:  50.00\r\n\r\n"
                            "                          Total Replacement Value:  1350.00\r\n";
    EXPECT_EQ(appraisalSummary(all), "12-9-26  Watch, platinum and 2 more  1,350.00");
}

TEST(AppraisalSummaryTest, WhateverTheFileHolds) {
    EXPECT_EQ(appraisalSummary(""), "");
    EXPECT_EQ(appraisalSummary("two\r\n"), "two");
    // Edited beyond recognition: only what can be found.
    EXPECT_EQ(appraisalSummary("\r\nA letter\r\nReplacement Value: about 300\r\n"), "about 300");
    // A long description is cut, so the list stays readable.
    const std::string s =
        appraisalSummary("1-1-26\r\nItem number 1 of 1 items:\r\nOne " + std::string(80, 'x') + "\r\n");
    EXPECT_EQ(s.size(), std::string("1-1-26  ").size() + 48);
}
