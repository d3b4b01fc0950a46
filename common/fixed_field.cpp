#include "common/fixed_field.h"

#include "common/run_error.h"

namespace common {

void storeField(std::string& record, Field f, std::string_view value) {
    if (f.offset + f.width > record.size()) throw RunError(err::Subscript, "field beyond record");
    record.replace(f.offset, f.width, padded(value, f.width));
}

std::string_view fieldText(const std::string& record, Field f) {
    if (f.offset + f.width > record.size()) throw RunError(err::Subscript, "field beyond record");
    return std::string_view(record).substr(f.offset, f.width);
}

std::string padded(std::string_view value, size_t width) {
    std::string s(value.substr(0, width));
    s.resize(width, ' ');
    return s;
}

} // namespace common
