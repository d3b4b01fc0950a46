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

// The signature block made ready to sign: a line to sign on one step (8 border sizes) above its
// first line and "Date: " with `date` one step below its last, each left out when the store's own
// block already has one (a line of underscores, a line that starts with "Date"). Nothing is added
// to an empty block, nor where the border size is 0 (the lines share one position). A position beyond 16 bits is error
// 6, as placeSignature's.
std::vector<PlacedLine> readyToSign(std::vector<PlacedLine> placed, int16_t border, const std::string& date);

// The line to sign on.
inline constexpr const char* signLine = "________________________________";

// A stretch of a page from top to bottom, in twips.
struct Span {
    int top = 0, bottom = 0;
    int height() const { return bottom - top; }
    bool operator==(const Span&) const = default;
};

// The stretch of a page's text area that the text may take beside what else is printed on that
// page (the closing, the signature block), `gap` twips clear of each: below those that reach into
// the top of the area, above the first one further down. Empty (height 0) when nothing is left.
Span clearOf(Span area, std::vector<Span> printed, int gap);

struct Circle {
    int x = 0, y = 0, radius = 0;
};

// The stretch of the page between the border's top and bottom rows of circles (their inner
// edges); empty without a border.
Span insideBorder(int border);

// The border of circles around the page for a border size: rows along the top and bottom, then
// columns down both sides. No border below 1.
std::vector<Circle> borderCircles(int border);

} // namespace appraise
