#include "appraise/worksheet/grades.h"

#include <algorithm>
#include <tuple>

namespace appraise {

namespace {
// Each range runs from the position after the one before to its upper bound.
std::vector<GradeRange> ranges(std::initializer_list<std::tuple<int, const char*, const char*>> table) {
    std::vector<GradeRange> r;
    int low = 0;
    for (const auto& [upper, grade, label] : table) {
        r.push_back(GradeRange{low, upper, grade, label});
        low = upper + 1;
    }
    return r;
}
// Grades that share the bar evenly, each its label as stored.
std::vector<GradeRange> even(std::initializer_list<const char*> grades) {
    std::vector<GradeRange> r;
    const int n = static_cast<int>(grades.size());
    int k = 0;
    for (const char* g : grades) {
        r.push_back(GradeRange{k * 32768 / n, (k + 1) * 32768 / n - 1, g, g});
        ++k;
    }
    return r;
}

const std::vector<GradeRange>& giaRanges(GradeScale scale) {
    static const std::vector<GradeRange> color = even({"D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O",
                                                       "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"});
    static const std::vector<GradeRange> clarity =
        even({"FL", "IF", "VVS1", "VVS2", "VS1", "VS2", "SI1", "SI2", "I1", "I2", "I3"});
    static const std::vector<GradeRange> cut = even({"Excellent", "Very Good", "Good", "Fair", "Poor"});
    switch (scale) {
    case GradeScale::Color: return color;
    case GradeScale::Clarity: return clarity;
    case GradeScale::Cut: break;
    }
    return cut;
}
} // namespace

const std::vector<GradeRange>& gradeRanges(GradeScale scale, GradeSystem system) {
    if (system == GradeSystem::Gia) return giaRanges(scale);
    static const std::vector<GradeRange> color = ranges({{792, "D", "D"},
                                                         {2907, "E", "E"},
                                                         {5021, "F", "F"},
                                                         {7531, "G", "G"},
                                                         {9513, "H", "H"},
                                                         {11363, "I", "I"},
                                                         {13080, "J", "J"},
                                                         {15062, "K", "K"},
                                                         {17176, "L", "L"},
                                                         {19555, "M", "M"},
                                                         {21801, "N", "N"},
                                                         {24179, "O", "O"},
                                                         {26954, "P", "P"},
                                                         {32767, "Fancy", "Fancy"}});
    static const std::vector<GradeRange> clarity = ranges({{660, "Flawless", "F"},
                                                           {4492, "VVS1", "VVS1"},
                                                           {9249, "VVS2", "VVS2"},
                                                           {12816, "VS1", "VS1"},
                                                           {16384, "VS2", "VS2"},
                                                           {19422, "SI1", "SI1"},
                                                           {23122, "SI2", "SI2"},
                                                           {26954, "I1", "I1"},
                                                           {30785, "I2", "I2"},
                                                           {32767, "I3", "I3"}});
    static const std::vector<GradeRange> cut = ranges({{1849, "Ideal", "Ideal"},
                                                       {5417, "2", "2"},
                                                       {9117, "3", "3"},
                                                       {12552, "4", "4"},
                                                       {16251, "5", "5"},
                                                       {19687, "6", "6"},
                                                       {23254, "7", "7"},
                                                       {26954, "8", "8"},
                                                       {30125, "9", "9"},
                                                       {32767, "Poor", "Poor"}});
    switch (scale) {
    case GradeScale::Color: return color;
    case GradeScale::Clarity: return clarity;
    case GradeScale::Cut: break;
    }
    return cut;
}

size_t gradeIndex(GradeScale scale, int position, GradeSystem system) {
    const auto& r = gradeRanges(scale, system);
    for (size_t i = 0; i < r.size(); ++i)
        if (position <= r[i].high) return i;
    return r.size() - 1;
}

std::string gradeAt(GradeScale scale, int position, GradeSystem system) {
    return gradeRanges(scale, system)[gradeIndex(scale, position, system)].grade;
}

int stepGrade(GradeScale scale, int position, int steps, GradeSystem system) {
    const auto& r = gradeRanges(scale, system);
    const long i =
        std::clamp(static_cast<long>(gradeIndex(scale, position, system)) + steps, 0L, static_cast<long>(r.size()) - 1);
    return r[static_cast<size_t>(i)].middle();
}

} // namespace appraise
