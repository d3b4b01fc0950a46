#pragma once
#include <cstdint>
#include <string>

namespace appraise {

// "bordsize.dat": the size of the printed border, one value on one line.
constexpr const char* borderSizeFile = "bordsize.dat";

bool hasBorderSize();
// The value as written (its first field); "50" when there is no file.
std::string readBorderSizeText();
// The value as a 16-bit whole number (error 6 beyond that range).
int16_t readBorderSize();
// Writes the file anew with the answer as typed.
void writeBorderSize(const std::string& answer);

} // namespace appraise
