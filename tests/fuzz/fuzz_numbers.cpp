// The numeric value of any bytes, and every rule that takes a number from a text.
#include "common/basic_number.h"
#include "common/format_picture.h"
#include "common/money.h"
#include "common/run_error.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace common;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const double v = val(text);
        if (std::isnan(v)) std::abort();
        (void)str(v);
        (void)generalFormat(v);
        try {
            (void)cint(v);
            (void)clng(v);
        } catch (const RunError& e) {
            if (e.number() != 6) std::abort();
        }
        const Money m = Money::fromText(text);
        for (const char* picture : {"######0.00", "#####.00", "######.00", "##.0000", "##.00"})
            if (formatPicture(m, picture).empty()) std::abort();
        (void)str(m);
        (void)generalFormat(m);
        (void)cdbl(text);
    } catch (const RunError& e) {
        if (e.number() != 6 && e.number() != 13) std::abort();
    }
    return 0;
}
