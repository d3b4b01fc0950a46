#pragma once
#include <string>

namespace appraise {

// "DefontAp.dat": the appraisal's font, four lines: name, size in points, bold, italic.
struct DefaultFont {
    std::string name = "Times New Roman";
    double size = 12;
    bool bold = true;
    bool italic = true;
};

bool hasDefaultFont();
// Reads the four lines. A flag is true for the word True or a non-zero number, false for the
// word False; a size or flag that is neither is error 13, a missing line error 62.
DefaultFont readDefaultFont();
// Writes the file anew: the size with its sign blank and a trailing blank (" 12 "), the flags
// as True or False.
void writeDefaultFont(const DefaultFont& font);
// The file a first start creates: "Times New Roman", "12", "1", "1".
void writeFirstDefaultFont();
// Removes the file, so that the font can be set anew.
void eraseDefaultFont();

} // namespace appraise
