#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// A fixed-width text field inside a record of bytes.
struct Field {
    size_t offset;
    size_t width;
};

// The fields of a record laid end to end from their widths.
template <size_t N>
constexpr std::array<Field, N> layoutFields(const std::array<size_t, N>& widths) {
    std::array<Field, N> fields{};
    size_t at = 0;
    for (size_t i = 0; i < N; ++i) {
        fields[i] = Field{at, widths[i]};
        at += widths[i];
    }
    return fields;
}

// Storing left-justifies the value, cuts it to the width and pads it with blanks.
// The record must be long enough to hold the field.
void storeField(std::string& record, Field f, std::string_view value);

// The field's bytes as stored (NULs of a field never stored included).
std::string_view fieldText(std::string_view record, Field f);

// A blank-padded text of the given width, as a field stores it.
std::string padded(std::string_view value, size_t width);

} // namespace common
