#include "common/file_names.h"
#include "common/fixed_field.h"
#include "common/locked_file.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "tests/support/held_lock.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace testsupport;

namespace {
int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RunError& e) {
        return e.number();
    }
    return 0;
}

std::string sampleRecord() {
    std::string rec(222, '\0');
    for (size_t i = 0; i < rec.size(); ++i) rec[i] = static_cast<char>((i * 37 + 11) % 256);
    rec[5] = '\0';
    rec[100] = static_cast<char>(0xE9);
    rec[221] = static_cast<char>(0xFF);
    return rec;
}
} // namespace

TEST(FixedFieldTest, StoreJustifiesCutsAndPads) {
    std::string rec(20, '\0');
    const Field a{0, 5}, b{5, 3}, c{8, 4};
    storeField(rec, a, "ab");
    storeField(rec, b, "toolong");
    EXPECT_EQ(fieldText(rec, a), "ab   ");
    EXPECT_EQ(fieldText(rec, b), "too");
    EXPECT_EQ(fieldText(rec, c), std::string(4, '\0')); // never stored
    storeField(rec, a, "");
    EXPECT_EQ(fieldText(rec, a), "     ");
    EXPECT_EQ(errorOf([&] { storeField(rec, Field{18, 4}, "x"); }), 9);
}

// A field stored from a field of the same record, overlapping where it goes.
TEST(FixedFieldTest, StoreFromTheSameRecord) {
    std::string rec = "abcdefghij";
    storeField(rec, Field{2, 6}, std::string_view(rec).substr(0, 4));
    EXPECT_EQ(rec, "ababcd  ij");
    rec = "abcdefghij";
    storeField(rec, Field{0, 4}, std::string_view(rec).substr(2, 3));
    EXPECT_EQ(rec, "cde efghij");
}

TEST(FixedFieldTest, LayoutFromWidths) {
    constexpr auto f = layoutFields<3>({20, 25, 34});
    static_assert(f[2].offset == 45 && f[2].width == 34);
}

TEST(RecordFileTest, RoundTripsEveryByte) {
    TempFolder tmp;
    const std::string rec = sampleRecord();
    {
        RecordFile f("cust.dat", 222);
        f.write(3, rec);
        EXPECT_EQ(f.count(), 3);
    }
    const std::string bytes = getFile("cust.dat");
    ASSERT_EQ(bytes.size(), 666u);
    EXPECT_EQ(bytes.substr(0, 444), std::string(444, '\0')); // extended with NULs
    EXPECT_EQ(bytes.substr(444), rec);
    RecordFile f("CUST.DAT", 222, Access::Read);
    EXPECT_EQ(f.read(3), rec);
    EXPECT_EQ(f.read(1), std::string(222, '\0'));
    EXPECT_EQ(f.read(50), std::string(222, '\0')); // past the end
}

TEST(RecordFileTest, WritesInPlaceAndLeavesNeighbours) {
    TempFolder tmp;
    putFile("t.dat", std::string(10, 'a') + std::string(10, 'b') + std::string(10, 'c'));
    {
        RecordFile f("t.dat", 10);
        f.write(2, "XYZ");
    }
    EXPECT_EQ(getFile("t.dat"), std::string(10, 'a') + "XYZ" + std::string(7, 'b') + std::string(10, 'c'));
}

TEST(RecordFileTest, BadRecordNumbers) {
    TempFolder tmp;
    RecordFile f("t.dat", 10);
    EXPECT_EQ(errorOf([&] { f.read(0); }), 63);
    EXPECT_EQ(errorOf([&] { f.write(-1, "x"); }), 63);
    EXPECT_EQ(errorOf([&] { f.write(1, std::string(11, 'x')); }), 59);
}

TEST(RecordFileTest, MissingFileForReadingIsNotFound) {
    TempFolder tmp;
    EXPECT_EQ(errorOf([] { RecordFile("none.dat", 10, Access::Read); }), 53);
    RecordFile created("new.dat", 10); // read-write creates it
    EXPECT_TRUE(fileExists("new.dat"));
}

TEST(LockTest, AnotherHolderIsPermissionDenied) {
    TempFolder tmp;
    putFile("1298.dat", std::string(94, ' '));
    // Hold the file the way another computer would: an exclusive lock of its own.
    testsupport::HeldLock other("1298.dat");
    EXPECT_EQ(errorOf([] { RecordFile("1298.dat", 94, Access::Read, Sharing::Shared); }), 70);
    EXPECT_EQ(errorOf([] { RecordFile("1298.dat", 94); }), 70);
    other.release();
    EXPECT_EQ(errorOf([] { RecordFile("1298.dat", 94, Access::Read, Sharing::Shared); }), 0);
}

TEST(LockTest, ReadersShareWritersExclude) {
    TempFolder tmp;
    putFile("a.dat", "x");
    LockedFile r1("a.dat", Access::Read);
    EXPECT_EQ(errorOf([] { LockedFile("a.dat", Access::Read); }), 0);
    EXPECT_EQ(errorOf([] { LockedFile("a.dat", Access::ReadWrite); }), 70);
    EXPECT_EQ(errorOf([] { LockedFile("a.dat", Access::ReadWrite, Sharing::Shared); }), 0);
}

TEST(FileNamesTest, CaseInsensitiveLookup) {
    TempFolder tmp;
    putFile("colnotes.dat", "x");
    putFile("CUST.PTN", "y");
    EXPECT_TRUE(fileExists("COLNOTES.dat"));
    EXPECT_TRUE(fileExists("Cust.ptn"));
    // The file that is there, whatever the case (a case-insensitive system may keep the spelling).
    EXPECT_TRUE(sameName(resolveName("Cust.ptn"), "CUST.PTN")) << resolveName("Cust.ptn");
    EXPECT_EQ(getFile(resolveName("Cust.ptn")), "y");
    EXPECT_FALSE(fileExists("nothing.dat"));
    EXPECT_EQ(resolveName("New.Dat"), "New.Dat"); // created as spelled
    EXPECT_FALSE(fileExists(""));
}

TEST(FileNamesTest, SubFolderWithBackslash) {
    TempFolder tmp;
    makeFolder("APPRAISE");
    EXPECT_EQ(errorOf([] { makeFolder("APPRAISE"); }), 75);
    putFile("APPRAISE/00012001.app", "a");
    putFile("APPRAISE/00012002.APP", "b");
    putFile("APPRAISE/00012010x.app", "c");
    putFile("APPRAISE/00013001.app", "d");
    EXPECT_TRUE(fileExists("appraise\\00012001.app"));
    EXPECT_TRUE(sameName(resolveName("appraise\\00012003.app"), "APPRAISE/00012003.app"));
    const auto list = listMatching("appraise\\00012???.app");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "00012001.app");
    EXPECT_EQ(list[1], "00012002.APP");
    EXPECT_TRUE(listMatching("appraise\\00099???.app").empty());
    EXPECT_TRUE(listMatching("nofolder\\*.app").empty());
}

TEST(FileNamesTest, PatternsAreExactLength) {
    EXPECT_TRUE(matchesPattern("00012001.app", "00012???.app"));
    EXPECT_FALSE(matchesPattern("0001201.app", "00012???.app"));
    EXPECT_FALSE(matchesPattern("000120011.app", "00012???.app"));
    EXPECT_TRUE(matchesPattern("ALIGN.EXE", "align.exe"));
    EXPECT_TRUE(matchesPattern("abc.dat", "*.dat"));
}

TEST(FileNamesTest, CopyDeleteAndDates) {
    TempFolder tmp;
    putFile("align.fa1", "48\r\n");
    copyFile("ALIGN.FA1", "align.fac");
    EXPECT_EQ(getFile("align.fac"), "48\r\n");
    EXPECT_TRUE(modificationTime("align.fac").isValid());
    removeFile("Align.Fac");
    EXPECT_FALSE(fileExists("align.fac"));
    EXPECT_EQ(errorOf([] { removeFile("align.fac"); }), 53);
    EXPECT_EQ(errorOf([] { copyFile("missing", "x"); }), 53);
    EXPECT_EQ(errorOf([] { modificationTime("missing"); }), 53);
}

TEST(RunErrorTest, ClassicNumbersAndDescriptions) {
    EXPECT_EQ(RunError(53).description(), "File not found");
    EXPECT_EQ(RunError(70).description(), "Permission denied");
    EXPECT_EQ(RunError(75).description(), "Path/File access error");
    EXPECT_EQ(RunError(6).description(), "Overflow");
    EXPECT_EQ(RunError(9).description(), "Subscript out of range");
    EXPECT_EQ(RunError(13).description(), "Type mismatch");
    EXPECT_EQ(RunError(62).description(), "Input past end of file");
    EXPECT_EQ(errorFromErrno(ENOENT), 53);
    EXPECT_EQ(errorFromErrno(EACCES), 70);
    EXPECT_EQ(errorFromErrno(ENOSPC), 61);
}
