#pragma once
#include "common/money.h"

#include <optional>
#include <string>
#include <string_view>

namespace appraise {

enum class StoneShape { None, RoundBrilliant, Marquise, EmeraldCut, Oval, Pear, Other };

// The measurement boxes as they stand.
struct Measurements {
    std::string length, width, depth;
};

struct CaratEstimate {
    common::Money carat;
    std::string dimensions; // "6 X 4 MM", "6.5 X 6.3 X 4 MM"
};

// Where only one of length and width is given, it stands for both. Returns false when both
// are missing (nothing can be estimated).
bool completeMeasurements(Measurements& m);

// The specific gravity of a gem of the stone list, by its name there ("Sapphire" 4.00); none
// for a stone the list does not know ("Other").
std::optional<double> specificGravity(std::string_view gem);
inline constexpr double diamondGravity = 3.52;

// The estimate for a shape, by the trade's formula for a diamond of that shape weighed by the
// gem's specific gravity against a diamond's; nothing for no shape or "Other". A product beyond
// the money range is error 6.
std::optional<CaratEstimate> estimateCarat(const Measurements& m, StoneShape shape, double gravity = diamondGravity);

// The standard factor k of L x W x D x k for a marquise or an emerald cut, interpolated on
// the length-to-width ratio and held at the ends of its table.
double shapeFactor(StoneShape shape, double ratio);

// How the estimate shows in the carat box, to two decimals as the trade states an estimate:
// "0.88", "1.00".
std::string caratText(common::Money carat);

} // namespace appraise
