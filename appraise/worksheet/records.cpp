#include "records.h"

#include "basic_number.h"
#include "run_error.h"

std::optional<int16_t> slotNumber(const std::string& text, int limit) {
    try {
        const int16_t n = cint(val(text));
        if (n < 0 || n > limit) return std::nullopt;
        return n;
    } catch (const RunError&) {
        return std::nullopt;
    }
}
