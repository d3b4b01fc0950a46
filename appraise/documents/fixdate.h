#pragma once
#include <string>

namespace appraise {

// Normalises an appraisal date in place: "070498" -> "7-4-98", "07-04-98" -> "7-4-98".
// Anything without exactly two dashes, or with a month outside 1..12, a day outside 1..31 or a
// year outside 0..99, becomes "ERROR". Texts shorter than two characters are left alone.
void fixdate(std::string& s);

} // namespace appraise
