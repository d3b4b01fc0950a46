#pragma once
#include <string>

namespace appraise {

// The grade a scroll bar position (0..32767) stands for; each upper bound belongs to the
// lower grade (792 is "D", 793 "E").
std::string colorGrade(int position);
std::string clarityGrade(int position);
std::string cutGrade(int position);

} // namespace appraise
