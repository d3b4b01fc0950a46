#include "appraise/documents/word_processor.h"
#include "appraise/worksheet/carat.h"
#include "appraise/worksheet/grades.h"
#include "appraise/worksheet/item_log.h"
#include "appraise/worksheet/item_stone_records.h"
#include "common/run_error.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace appraise;
using namespace testsupport;

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
    EXPECT_EQ(colorGrade(792), "D");
    EXPECT_EQ(colorGrade(793), "E");
    EXPECT_EQ(colorGrade(26955), "Fancy");
    EXPECT_EQ(clarityGrade(660), "Flawless");
    EXPECT_EQ(clarityGrade(661), "VVS1");
    EXPECT_EQ(clarityGrade(16384), "VS2");
    EXPECT_EQ(cutGrade(1849), "Ideal");
    EXPECT_EQ(cutGrade(30126), "10");
    // Positions beyond the bar are held at its ends.
    EXPECT_EQ(colorGrade(-1), "D");
    EXPECT_EQ(cutGrade(40000), "10");
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

namespace {
CaratEstimate estimate(const char* l, const char* w, const char* d, StoneShape s) {
    Measurements m{l, w, d};
    EXPECT_TRUE(completeMeasurements(m));
    auto e = estimateCarat(m, s);
    EXPECT_TRUE(e.has_value());
    return e.value_or(CaratEstimate{});
}
} // namespace

TEST(CaratTest, RoundOvalAndPearKeepTheirFormulas) {
    auto e = estimate("6", "6", "4", StoneShape::RoundBrilliant);
    EXPECT_EQ(caratText(e.carat), "0.882");
    EXPECT_EQ(e.dimensions, "6 X 4 MM");
    e = estimate("6.5", "6.3", "4", StoneShape::RoundBrilliant);
    EXPECT_EQ(caratText(e.carat), "1.0035");
    EXPECT_EQ(e.dimensions, "6.5 X 6.3 X 4 MM");
    e = estimate("6.5", "6.50", "4", StoneShape::RoundBrilliant); // equal numbers, different texts
    EXPECT_EQ(caratText(e.carat), caratText(estimate("6.5", "6.5", "4", StoneShape::RoundBrilliant).carat));
    EXPECT_EQ(e.dimensions, "6.5 X 6.50 X 4 MM");
    e = estimate("8", "6", "4", StoneShape::Oval);
    EXPECT_EQ(caratText(e.carat), "1.2005");
    e = estimate("8", "5", "3", StoneShape::Pear);
    EXPECT_EQ(caratText(e.carat), "0.744");
    e = estimate("6", "6", "0", StoneShape::Pear);
    EXPECT_EQ(caratText(e.carat), "0");
}

TEST(CaratTest, MarquiseAndEmeraldUseLengthAndTheRatioFactor) {
    EXPECT_EQ(caratText(estimate("10", "5", "3", StoneShape::Marquise).carat), "0.87");
    EXPECT_EQ(caratText(estimate("8", "6", "4", StoneShape::EmeraldCut).carat), "1.6896");
    // A longer stone of the same width weighs more.
    EXPECT_GT(estimate("20", "10", "3", StoneShape::Marquise).carat,
              estimate("10", "10", "3", StoneShape::Marquise).carat);
    // Width and length may be given either way round.
    EXPECT_EQ(estimate("5", "10", "3", StoneShape::Marquise).carat,
              estimate("10", "5", "3", StoneShape::Marquise).carat);
    EXPECT_EQ(estimate("10", "5", "3", StoneShape::Marquise).dimensions, "10 X 5 X 3 MM");
}

TEST(CaratTest, FactorTablesInterpolateAndHoldAtTheEnds) {
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 1.0), 0.00565);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 1.625), 0.005675);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 3.0), 0.00595);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::Marquise, 5.0), 0.00595);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::EmeraldCut, 1.0), 0.0080);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::EmeraldCut, 1.25), 0.0086);
    EXPECT_DOUBLE_EQ(shapeFactor(StoneShape::EmeraldCut, 9.0), 0.0106);
}

TEST(CaratTest, OneMeasurementStandsForBoth) {
    Measurements m{"6", " ", "4"};
    ASSERT_TRUE(completeMeasurements(m));
    EXPECT_EQ(m.width, "6");
    Measurements w{" ", "7", "4"};
    ASSERT_TRUE(completeMeasurements(w));
    EXPECT_EQ(w.length, "7");
    Measurements none{" ", "", "4"};
    EXPECT_FALSE(completeMeasurements(none));
    EXPECT_FALSE(estimateCarat(m, StoneShape::None).has_value());
    EXPECT_FALSE(estimateCarat(m, StoneShape::Other).has_value());
}

TEST(CaratTest, TooLargeIsOverflow) {
    Measurements m{"1e9", "1e9", "1e9"};
    try {
        estimateCarat(m, StoneShape::Pear);
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(SlotNumberTest, RangeAndRounding) {
    EXPECT_EQ(slotNumber("1", maxItem), 1);
    EXPECT_EQ(slotNumber(" 2 ", maxItem), 2);
    EXPECT_EQ(slotNumber("", maxItem), 0);
    EXPECT_EQ(slotNumber("100", maxItem), 100);
    EXPECT_FALSE(slotNumber("101", maxItem).has_value());
    EXPECT_FALSE(slotNumber("-1", maxItem).has_value());
    EXPECT_FALSE(slotNumber("99999", maxItem).has_value());
    EXPECT_EQ(slotNumber("200", maxStone), 200);
    EXPECT_FALSE(slotNumber("201", maxStone).has_value());
}

TEST(ItemLogTest, CreatesCountsAndWritesInPlace) {
    TempFolder tmp;
    std::string rec(itemrec::length, '\0');
    storeField(rec, itemrec::itemno, "1");
    int created = 0;
    logItem(rec, [&] { ++created; });
    EXPECT_EQ(created, 1);
    EXPECT_EQ(getFile("appraise.pt"), " 1\r\n");
    EXPECT_EQ(getFile("appraise.dat"), rec);
    storeField(rec, itemrec::itemno, " 2");
    logItem(rec, [&] { ++created; });
    EXPECT_EQ(created, 1);
    EXPECT_EQ(getFile("appraise.pt"), " 2\r\n");
    EXPECT_EQ(getFile("appraise.dat").substr(itemrec::length), rec);
}

TEST(ItemLogTest, FullLogIsRefusedAndLeftAlone) {
    TempFolder tmp;
    putFile("appraise.pt", " 32767\r\n");
    putFile("appraise.dat", "old");
    try {
        logItem(std::string(itemrec::length, 'x'));
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_EQ(getFile("appraise.pt"), " 32767\r\n");
    EXPECT_EQ(getFile("appraise.dat"), "old");
}

TEST(ItemLogTest, FailedRecordWriteKeepsTheCount) {
    TempFolder tmp;
    putFile("appraise.pt", " 4\r\n");
    std::filesystem::create_directory("appraise.dat"); // cannot be opened as a file
    EXPECT_THROW(logItem(std::string(itemrec::length, 'x')), RunError);
    EXPECT_EQ(getFile("appraise.pt"), " 4\r\n");
}

TEST(ItemLogTest, NeverWritesOverALoggedItemWhateverTheCountFileSays) {
    TempFolder tmp;
    const std::string logged(3 * itemrec::length, 'L');
    const std::string rec(itemrec::length, 'N');
    for (const char* count : {"", "xx\r\n", " 1\r\n", "-5\r\n"}) {
        putFile("appraise.dat", logged + std::string(20, 'P')); // and a record cut short at the end
        putFile("appraise.pt", count);
        logItem(rec);
        const std::string after = getFile("appraise.dat");
        EXPECT_EQ(after.substr(0, logged.size() + 20), logged + std::string(20, 'P')) << count;
        EXPECT_EQ(after.substr(4 * itemrec::length), rec) << count;
        EXPECT_EQ(getFile("appraise.pt"), " 5\r\n") << count;
    }
    // A count ahead of the log is kept: the next record follows it.
    putFile("appraise.pt", " 9\r\n");
    logItem(rec);
    EXPECT_EQ(getFile("appraise.pt"), " 10\r\n");
}

TEST(WordProcessorTest, TheFirstInstalledElseTheDesktopsOpenerNeverWrite) {
    EXPECT_EQ(suggestedWordProcessor([](const std::string&) { return false; }), "xdg-open app.tmp");
    EXPECT_EQ(suggestedWordProcessor([](const std::string& p) { return p == "abiword" || p == "soffice"; }),
              "soffice --writer app.tmp");
    EXPECT_EQ(suggestedWordProcessor([](const std::string& p) { return p == "write"; }), "xdg-open app.tmp");
}

TEST(WordProcessorTest, OnWindowsWordPadThenTheRegisteredOnesThenNotepad) {
    const auto none = [](const std::string&) { return std::string(); };
    const auto nothing = [](const std::string&) { return false; };
    EXPECT_EQ(suggestedWindowsWordProcessor([](const std::string& p) { return p == "write"; }, none), "write app.tmp");
    EXPECT_EQ(suggestedWindowsWordProcessor(nothing, none), "notepad app.tmp");
    // A path with blanks is quoted, so that the command line splits into the program and the file.
    const auto office = [](const std::string& p) {
        return p == "soffice.exe" ? std::string("C:\\Program Files\\LibreOffice\\program\\soffice.exe") : std::string();
    };
    const std::string command = suggestedWindowsWordProcessor(nothing, office);
    EXPECT_EQ(command, "\"C:\\Program Files\\LibreOffice\\program\\soffice.exe\" app.tmp");
    const auto both = [](const std::string& p) { return "C:\\" + p; };
    EXPECT_EQ(suggestedWindowsWordProcessor(nothing, both), "\"C:\\winword.exe\" app.tmp");
}
