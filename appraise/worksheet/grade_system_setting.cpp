#include "appraise/worksheet/grade_system_setting.h"

#include "common/file_names.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include <vector>

namespace appraise {

using namespace common;

GradeSystem storeGradeSystem() {
    if (!fileExists(gradeSystemFile)) return GradeSystem::Classic;
    const std::vector<std::string> lines = readAllLines(gradeSystemFile);
    return !lines.empty() && trim(lines.front()) == "GIA" ? GradeSystem::Gia : GradeSystem::Classic;
}

void keepGradeSystem(GradeSystem system) {
    writeLines(gradeSystemFile, {system == GradeSystem::Gia ? "GIA" : "classic"});
}

} // namespace appraise
