#include "appraise/worksheet/grades.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace appraise;

// Every position of a bar stands for exactly one grade: the ranges follow each other without a
// gap or an overlap from 0 to 32767, and each upper bound belongs to the lower grade.
TEST(GradesTest, TheRangesTileTheBarAndEachBoundBelongsToTheLowerGrade) {
    for (GradeScale scale : {GradeScale::Color, GradeScale::Clarity, GradeScale::Cut}) {
        const auto& ranges = gradeRanges(scale);
        ASSERT_FALSE(ranges.empty());
        EXPECT_EQ(ranges.front().low, 0);
        EXPECT_EQ(ranges.back().high, 32767);
        for (size_t i = 0; i < ranges.size(); ++i) {
            const GradeRange& r = ranges[i];
            EXPECT_LE(r.low, r.high);
            if (i > 0) {
                EXPECT_EQ(r.low, ranges[i - 1].high + 1);
            }
            for (int pos : {r.low, r.middle(), r.high}) {
                EXPECT_EQ(gradeAt(scale, pos), r.grade) << pos;
                EXPECT_EQ(gradeIndex(scale, pos), i) << pos;
            }
        }
    }
    // The three scales as the worksheet reads them, at a bound each.
    EXPECT_EQ(gradeAt(GradeScale::Color, 792), "D");
    EXPECT_EQ(gradeAt(GradeScale::Color, 793), "E");
    EXPECT_EQ(gradeAt(GradeScale::Color, 26955), "Fancy");
    EXPECT_EQ(gradeAt(GradeScale::Clarity, 660), "Flawless");
    EXPECT_EQ(gradeAt(GradeScale::Clarity, 661), "VVS1");
    EXPECT_EQ(gradeAt(GradeScale::Clarity, 16384), "VS2");
    EXPECT_EQ(gradeAt(GradeScale::Cut, 1849), "Ideal");
    EXPECT_EQ(gradeAt(GradeScale::Cut, 30126), "Poor"); // as its label shows it, not "10"
    // Positions beyond the bar are held at its ends.
    EXPECT_EQ(gradeAt(GradeScale::Color, -1), "D");
    EXPECT_EQ(gradeAt(GradeScale::Cut, 40000), "Poor");
}

// A grading key moves to the middle of the next or previous grade, and stops at the ends.
TEST(GradesTest, StepsMoveOneGradeAndHoldAtTheEnds) {
    for (GradeScale scale : {GradeScale::Color, GradeScale::Clarity, GradeScale::Cut}) {
        const auto& ranges = gradeRanges(scale);
        for (size_t i = 0; i < ranges.size(); ++i) {
            const int from = ranges[i].high; // an edge of the range, not its middle
            const size_t up = std::min(i + 1, ranges.size() - 1), down = i == 0 ? 0 : i - 1;
            EXPECT_EQ(stepGrade(scale, from, 1), ranges[up].middle()) << i;
            EXPECT_EQ(stepGrade(scale, from, -1), ranges[down].middle()) << i;
        }
        EXPECT_EQ(stepGrade(scale, 0, 100), ranges.back().middle());
        EXPECT_EQ(stepGrade(scale, 32767, -100), ranges.front().middle());
    }
}

TEST(GradesTest, TheGiaScalesShareTheBarEvenlyAndEndAtItsEnds) {
    const std::pair<GradeScale, std::vector<std::string>> scales[] = {
        {GradeScale::Color, {"D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O",
                             "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"}},
        {GradeScale::Clarity, {"FL", "IF", "VVS1", "VVS2", "VS1", "VS2", "SI1", "SI2", "I1", "I2", "I3"}},
        {GradeScale::Cut, {"Excellent", "Very Good", "Good", "Fair", "Poor"}}};
    for (const auto& [scale, grades] : scales) {
        const auto& r = gradeRanges(scale, GradeSystem::Gia);
        ASSERT_EQ(r.size(), grades.size());
        EXPECT_EQ(r.front().low, 0);
        EXPECT_EQ(r.back().high, 32767);
        for (size_t i = 0; i < r.size(); ++i) {
            EXPECT_EQ(r[i].grade, grades[i]);
            EXPECT_STREQ(r[i].grade, r[i].label); // what is printed is the label shown
            if (i > 0) {
                EXPECT_EQ(r[i].low, r[i - 1].high + 1);
            }
            EXPECT_EQ(gradeAt(scale, r[i].middle(), GradeSystem::Gia), grades[i]);
        }
        // The keys step through every grade in order, held at the ends.
        EXPECT_EQ(gradeAt(scale, stepGrade(scale, 0, 1, GradeSystem::Gia), GradeSystem::Gia), grades[1]);
        EXPECT_EQ(gradeAt(scale, stepGrade(scale, 32767, 5, GradeSystem::Gia), GradeSystem::Gia), grades.back());
    }
    // The classic scales stay as they were.
    EXPECT_EQ(gradeAt(GradeScale::Color, 26955), "Fancy");
}
