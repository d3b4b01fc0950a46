#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace appraise {

// A line printed at a position of the page, in twips.
struct PlacedLine {
    int x = 0, y = 0;
    std::string text;
};

// The signature block's lines placed on the page: the lines whose trimmed text is not empty,
// the first at alignment value 11 (`value11`, as held), each next one 8 border sizes lower, all
// at border size x value 13 from the left. The positions are 16-bit numbers: one that leaves
// that range is error 6, its detail naming the setting to change ("alignment value 11", "the
// border size or alignment value 11", "the border size or alignment value 13").
std::vector<PlacedLine> placeSignature(const std::vector<std::string>& lines, const std::string& value11,
                                       int16_t align13, int16_t border);

struct Circle {
    int x = 0, y = 0, radius = 0;
};

// The border of circles around the page for a border size: rows along the top and bottom, then
// columns down both sides. No border below 1.
std::vector<Circle> borderCircles(int border);

} // namespace appraise
