#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace appraise {

enum class GradeScale { Color, Clarity, Cut };

// The scales a store grades on: the classic ones it has always used, or GIA's (color D to Z,
// clarity FL to I3, cut Excellent to Poor).
enum class GradeSystem { Classic, Gia };

// The positions of a grade bar (0..32767) one grade stands for, the grade as stored and the
// label the scale shows over it ("Flawless" shows as "F").
struct GradeRange {
    int low = 0, high = 0;
    const char* grade = "";
    const char* label = "";
    int middle() const { return (low + high) / 2; }
};

// The grades of a scale, in order along the bar.
const std::vector<GradeRange>& gradeRanges(GradeScale scale, GradeSystem system = GradeSystem::Classic);

// The grade a position stands for; each upper bound belongs to the lower grade (792 is "D",
// 793 "E").
std::string gradeAt(GradeScale scale, int position, GradeSystem system = GradeSystem::Classic);
size_t gradeIndex(GradeScale scale, int position, GradeSystem system = GradeSystem::Classic);
// The middle of the range `steps` grades on from the grade at `position`, held at the ends.
int stepGrade(GradeScale scale, int position, int steps, GradeSystem system = GradeSystem::Classic);

} // namespace appraise
