#pragma once
#include <string>

namespace appraise {

// One line that tells a saved appraisal from the others, read from its wording: its date, its
// first item and that item's replacement value, or the total of an appraisal of several items
// ("12-9-26  Ring, 14 karat yellow gold  2,450.00"). Parts the wording lacks are left out.
std::string appraisalSummary(const std::string& text);

} // namespace appraise
