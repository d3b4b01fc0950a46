#pragma once
#include "common/page_geometry.h"

#include <cstdint>

namespace appraise {

// The width of a printed line with these margins from the paper's edges, measured from the
// printer's printable area: (page width - right - offset) - (left - offset).
int32_t printedLineWidth(const common::PageGeometry& g, int32_t leftMargin, int32_t rightMargin);

} // namespace appraise
