#include "appraise/printing/printed_line_width.h"

namespace appraise {

using namespace common;

int32_t printedLineWidth(const PageGeometry& g, int32_t leftMargin, int32_t rightMargin) {
    const int32_t left = leftMargin - g.offsetLeft;
    const int32_t right = (g.pageWidth - rightMargin) - g.offsetLeft;
    return right - left;
}

} // namespace appraise
