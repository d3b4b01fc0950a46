#include "appraise/printing/print_geometry.h"

#include <algorithm>
#include <cctype>

#include "common/basic_number.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"

namespace appraise {

using namespace common;

namespace {
bool fits16(long v) { return v >= -32768 && v <= 32767; }
} // namespace

std::vector<PlacedLine> placeSignature(const std::vector<std::string>& lines, const std::string& value11,
                                       int16_t align13, int16_t border) {
    long y = 0;
    try {
        y = cint(val(value11));
    } catch (const RunError&) {
        throw RunError(err::Overflow, "alignment value 11");
    }
    std::vector<PlacedLine> placed;
    for (const auto& line : lines)
        if (!trim(line).empty()) placed.push_back(PlacedLine{0, 0, line});
    const long b = border;
    if (!fits16(b * align13)) throw RunError(err::Overflow, "the border size or alignment value 13");
    if (!fits16(8 * b) || !fits16(y + 8 * b * static_cast<long>(placed.size())))
        throw RunError(err::Overflow, "the border size or alignment value 11");
    for (auto& p : placed) {
        p.x = static_cast<int>(b * align13);
        p.y = static_cast<int>(y);
        y += 8 * b;
    }
    return placed;
}

std::vector<PlacedLine> readyToSign(std::vector<PlacedLine> placed, int16_t border, const std::string& date) {
    // Without a border the block's lines share one position: nothing is added to print over them.
    if (placed.empty() || border <= 0) return placed;
    bool hasLine = false, hasDate = false;
    for (const auto& line : placed) {
        const std::string_view t = trim(line.text);
        hasLine = hasLine || t.find("___") != std::string_view::npos;
        std::string head(t.substr(0, 4));
        for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        hasDate = hasDate || head == "date";
    }
    const long step = 8L * border;
    const PlacedLine first = placed.front(), last = placed.back();
    if (!hasLine) {
        if (!fits16(first.y - step)) throw RunError(err::Overflow, "the border size or alignment value 11");
        placed.insert(placed.begin(), PlacedLine{first.x, static_cast<int>(first.y - step), signLine});
    }
    if (!hasDate && !trim(date).empty()) {
        if (!fits16(last.y + step)) throw RunError(err::Overflow, "the border size or alignment value 11");
        placed.push_back(PlacedLine{last.x, static_cast<int>(last.y + step), "Date: " + std::string(trim(date))});
    }
    return placed;
}

Span insideBorder(int b) {
    if (b < 1) return Span{};
    return Span{16 * b + 8 * b, 280 * b - 8 * b};
}

std::vector<Circle> borderCircles(int b) {
    std::vector<Circle> circles;
    if (b < 1) return circles;
    for (int row : {16 * b, 280 * b})
        for (int x = 16 * b; x <= 215 * b; x += 4 * b) circles.push_back(Circle{x, row, 8 * b});
    for (int col : {16 * b, 215 * b})
        for (int y = 16 * b; y <= 280 * b; y += 4 * b) circles.push_back(Circle{col, y, 8 * b});
    return circles;
}

Span clearOf(Span area, std::vector<Span> printed, int gap) {
    std::sort(printed.begin(), printed.end(), [](const Span& a, const Span& b) { return a.top < b.top; });
    Span s = area;
    for (const Span& b : printed) {
        if (b.bottom + gap <= s.top) continue;            // wholly above
        if (b.top - gap <= s.top) s.top = b.bottom + gap; // reaches into the top
        else {
            s.bottom = std::min(s.bottom, b.top - gap);
            break;
        }
    }
    if (s.bottom < s.top) s.bottom = s.top;
    return s;
}

} // namespace appraise
