#include "appraise/worksheet/carat.h"

#include "common/basic_number.h"
#include "common/format_picture.h"
#include "common/trim_left_right_mid.h"

#include <algorithm>
#include <utility>

namespace appraise {

using namespace common;

namespace {
template <size_t N>
double interpolate(const std::pair<double, double> (&t)[N], double x) {
    if (x <= t[0].first) return t[0].second;
    for (size_t i = 1; i < N; ++i) {
        if (x <= t[i].first) {
            const auto [x0, y0] = t[i - 1];
            const auto [x1, y1] = t[i];
            return y0 + (x - x0) / (x1 - x0) * (y1 - y0);
        }
    }
    return t[N - 1].second;
}
} // namespace

bool completeMeasurements(Measurements& m) {
    if (val(m.width) == 0 && val(m.length) == 0) return false;
    if (val(m.width) == 0) m.width = m.length;
    if (val(m.length) == 0) m.length = m.width;
    return true;
}

double shapeFactor(StoneShape shape, double ratio) {
    static const std::pair<double, double> marquise[] = {{1.50, 0.00565}, {1.75, 0.00570}, {2.00, 0.00580},
                                                         {2.25, 0.00583}, {2.50, 0.00585}, {2.75, 0.00590},
                                                         {3.00, 0.00595}};
    static const std::pair<double, double> emerald[] = {{1.00, 0.0080}, {1.50, 0.0092}, {2.00, 0.0100}, {2.50, 0.0106}};
    return shape == StoneShape::Marquise ? interpolate(marquise, ratio) : interpolate(emerald, ratio);
}

std::optional<double> specificGravity(std::string_view gem) {
    // The gems' usual specific gravities (GIA's gem reference), the mean where a gem varies.
    static const std::pair<std::string_view, double> gravities[] = {
        {"Diamond", 3.52}, {"Amethyst", 2.65}, {"Aquamarine", 2.72}, {"Citrine", 2.65},
        {"Emerald", 2.72}, {"Garnet", 3.90},   {"Jade", 3.33},       {"Lapis", 2.80},
        {"Opal", 2.15},    {"Onyx", 2.65},     {"Pearl", 2.70},      {"Peridot", 3.34},
        {"Ruby", 4.00},    {"Sapphire", 4.00}, {"Topaz", 3.53},      {"Zircon", 4.69}};
    for (const auto& [name, g] : gravities)
        if (name == gem) return g;
    return std::nullopt;
}

std::optional<CaratEstimate> estimateCarat(const Measurements& m, StoneShape shape, double gravity) {
    // Every formula is in proportion to the depth: the gem's weight against a diamond's scales it.
    const double L = val(m.length), W = val(m.width), D = val(m.depth) * gravity / diamondGravity;
    const std::string three = m.length + " X " + m.width + " X " + m.depth + " MM";
    auto roundStone = [&](bool alwaysAverage) {
        const Money d = (alwaysAverage || L != W) ? Money::fromDouble((L + W) / 2) : Money::fromDouble(W);
        const double r = d.toDouble() / 2;
        return Money::fromDouble(D * (r * r) * 0.0245);
    };
    switch (shape) {
    case StoneShape::RoundBrilliant:
        return CaratEstimate{roundStone(false), m.width != m.length ? three : m.width + " X " + m.depth + " MM"};
    case StoneShape::Oval: return CaratEstimate{roundStone(true), three};
    case StoneShape::Pear: return CaratEstimate{Money::fromDouble(L * W * D * 0.0062), three};
    case StoneShape::Marquise:
    case StoneShape::EmeraldCut: {
        const double lo = std::min(L, W), hi = std::max(L, W);
        const double ratio = lo > 0 ? hi / lo : 1.0;
        return CaratEstimate{Money::fromDouble(L * W * D * shapeFactor(shape, ratio)), three};
    }
    default: return std::nullopt;
    }
}

std::string caratText(Money carat) { return std::string(trim(formatPicture(carat, "#####0.00"))); }

} // namespace appraise
