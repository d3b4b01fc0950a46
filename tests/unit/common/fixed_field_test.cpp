#include "common/fixed_field.h"
#include "tests/support/run_error_expect.h"

#include <gtest/gtest.h>

using namespace common;
using testsupport::errorOf;

TEST(FixedFieldTest, StoreJustifiesCutsAndPads) {
    std::string rec(20, '\0');
    const Field a{0, 5}, b{5, 3}, c{8, 4};
    storeField(rec, a, "ab");
    storeField(rec, b, "toolong");
    EXPECT_EQ(fieldText(rec, a), "ab   ");
    EXPECT_EQ(fieldText(rec, b), "too");
    EXPECT_EQ(fieldText(rec, c), std::string(4, '\0')); // never stored
    storeField(rec, a, "");
    EXPECT_EQ(fieldText(rec, a), "     ");
    EXPECT_EQ(errorOf([&] { storeField(rec, Field{18, 4}, "x"); }), 9);
}

// A field stored from a field of the same record, overlapping where it goes.
TEST(FixedFieldTest, StoreFromTheSameRecord) {
    std::string rec = "abcdefghij";
    storeField(rec, Field{2, 6}, std::string_view(rec).substr(0, 4));
    EXPECT_EQ(rec, "ababcd  ij");
    rec = "abcdefghij";
    storeField(rec, Field{0, 4}, std::string_view(rec).substr(2, 3));
    EXPECT_EQ(rec, "cde efghij");
}

TEST(FixedFieldTest, LayoutFromWidthsReadsEachFieldWhereItStands) {
    constexpr auto f = layoutFields<3>({2, 3, 4});
    const std::string record = "ab"
                               "cde"
                               "fghi";
    EXPECT_EQ(fieldText(record, f[0]), "ab");
    EXPECT_EQ(fieldText(record, f[1]), "cde");
    EXPECT_EQ(fieldText(record, f[2]), "fghi");
    std::string copy = record;
    storeField(copy, f[1], "X");
    EXPECT_EQ(copy, "abX  fghi"); // the neighbours keep their bytes
}
