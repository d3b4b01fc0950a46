#pragma once
#include "printer.h"

#include <cstdint>

// The width of a printed line with these margins from the paper's edges, measured from the
// printer's printable area: (page width - right - offset) - (left - offset).
int32_t printedLineWidth(const PageGeometry& g, int32_t leftMargin, int32_t rightMargin);
