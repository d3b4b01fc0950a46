#include "appraise/worksheet/grades.h"

#include <utility>

namespace appraise {

namespace {
template <size_t N>
std::string gradeOf(int position, const std::pair<int, const char*> (&table)[N]) {
    for (const auto& [upper, grade] : table)
        if (position <= upper) return grade;
    return table[N - 1].second;
}
} // namespace

std::string colorGrade(int p) {
    static const std::pair<int, const char*> t[] = {
        {792, "D"},   {2907, "E"},  {5021, "F"},  {7531, "G"},  {9513, "H"},  {11363, "I"}, {13080, "J"},
        {15062, "K"}, {17176, "L"}, {19555, "M"}, {21801, "N"}, {24179, "O"}, {26954, "P"}, {32767, "Fancy"}};
    return gradeOf(p, t);
}

std::string clarityGrade(int p) {
    static const std::pair<int, const char*> t[] = {{660, "Flawless"}, {4492, "VVS1"}, {9249, "VVS2"}, {12816, "VS1"},
                                                    {16384, "VS2"},    {19422, "SI1"}, {23122, "SI2"}, {26954, "I1"},
                                                    {30785, "I2"},     {32767, "I3"}};
    return gradeOf(p, t);
}

std::string cutGrade(int p) {
    static const std::pair<int, const char*> t[] = {{1849, "Ideal"}, {5417, "2"},  {9117, "3"},  {12552, "4"},
                                                    {16251, "5"},    {19687, "6"}, {23254, "7"}, {26954, "8"},
                                                    {30125, "9"},    {32767, "10"}};
    return gradeOf(p, t);
}

} // namespace appraise
