#include "appraise/worksheet/item_stone_records.h"

#include <gtest/gtest.h>

using namespace appraise;

TEST(SlotNumberTest, RangeAndRounding) {
    EXPECT_EQ(slotNumber("1", maxItem), 1);
    EXPECT_EQ(slotNumber(" 2 ", maxItem), 2);
    EXPECT_EQ(slotNumber("", maxItem), 0);
    EXPECT_EQ(slotNumber("100", maxItem), 100);
    EXPECT_FALSE(slotNumber("101", maxItem).has_value());
    EXPECT_FALSE(slotNumber("-1", maxItem).has_value());
    EXPECT_FALSE(slotNumber("99999", maxItem).has_value());
    EXPECT_EQ(slotNumber("200", maxStone), 200);
    EXPECT_FALSE(slotNumber("201", maxStone).has_value());
}
