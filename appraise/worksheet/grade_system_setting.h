#pragma once
#include "appraise/worksheet/grades.h"

namespace appraise {

// The scales the store grades on, one line in Appraise's own "gradescl.dat": "GIA" or
// "classic". A store without the file keeps the classic scales until it chooses.
inline constexpr const char* gradeSystemFile = "gradescl.dat";

GradeSystem storeGradeSystem();
void keepGradeSystem(GradeSystem system);

} // namespace appraise
