#include "appraise/printing/printed_line_width.h"

#include <gtest/gtest.h>

using namespace common;
using namespace appraise;

TEST(PrintedLineWidthTest, LineWidthFromThePrintableArea) {
    PageGeometry letter; // 12240 wide, printable from 360
    EXPECT_EQ(printedLineWidth(letter, 1440, 1440), 9360);
    PageGeometry noOffset{12240, 15840, 0, 0, 12240, 15840};
    EXPECT_EQ(printedLineWidth(noOffset, 1440, 1440), 9360); // the offset cancels out
    PageGeometry a4{11906, 16838, 250, 250, 11406, 16338};
    EXPECT_EQ(printedLineWidth(a4, 1440, 1440), 11906 - 2880);
    EXPECT_EQ(printedLineWidth(letter, 1840, 1540), 12240 - 1540 - 1840);
}
