#include "appraise/worksheet/item_stone_records.h"

#include "common/basic_number.h"
#include "common/run_error.h"

namespace appraise {

using namespace common;

std::optional<int16_t> slotNumber(const std::string& text, int limit) {
    try {
        const int16_t n = cint(val(text));
        if (n < 0 || n > limit) return std::nullopt;
        return n;
    } catch (const RunError&) {
        return std::nullopt;
    }
}

} // namespace appraise
