#pragma once
#include <array>
#include <string>

namespace appraise {

// A template passage: its menu entry, its file and the text shown while it has no file.
struct Insert {
    const char* entry;
    const char* file;
    const char* defaultText;
};

const std::array<Insert, 5>& inserts();

// The insert menu's nine entries, in order.
const std::array<const char*, 9>& insertMenu();

// The text an insert opens with: its file's lines, each ended by CR LF, or its default.
std::string insertText(const Insert& insert);

} // namespace appraise
