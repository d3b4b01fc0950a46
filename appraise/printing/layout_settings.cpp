#include "appraise/printing/layout_settings.h"

namespace appraise {

using namespace common;

const std::array<const char*, 22>& defaultAlignmentLines() {
    static const std::array<const char*, 22> lines = {"48",   "70", "70",   "70", "450", "35", "1000", "40",
                                                      "2600", "35", "2300", "60", "50",  " ",  " ",    " ",
                                                      " ",    " ",  " ",    " ",  " ",   " "};
    return lines;
}

} // namespace appraise
