#include "common/fixed_field.h"

#include "common/run_error.h"

#include <algorithm>
#include <cstring>

namespace common {

void storeField(std::string& record, Field f, std::string_view value) {
    if (f.offset + f.width > record.size()) throw RunError(err::Subscript, "field beyond record");
    // In place: the value may be a field of the same record.
    const size_t n = std::min(value.size(), f.width);
    if (n > 0) std::memmove(record.data() + f.offset, value.data(), n);
    std::fill(record.begin() + static_cast<std::ptrdiff_t>(f.offset + n),
              record.begin() + static_cast<std::ptrdiff_t>(f.offset + f.width), ' ');
}

std::string_view fieldText(std::string_view record, Field f) {
    if (f.offset + f.width > record.size()) throw RunError(err::Subscript, "field beyond record");
    return record.substr(f.offset, f.width);
}

std::string padded(std::string_view value, size_t width) {
    std::string s(value.substr(0, width));
    s.resize(width, ' ');
    return s;
}

} // namespace common
