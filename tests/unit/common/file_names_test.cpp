#include "common/file_names.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace testsupport;

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

TEST(FileNamesTest, CopyAndDelete) {
    TempFolder tmp;
    putFile("align.fa1", "48\r\n");
    copyFile("ALIGN.FA1", "align.fac");
    EXPECT_EQ(getFile("align.fac"), "48\r\n");
    removeFile("Align.Fac");
    EXPECT_FALSE(fileExists("align.fac"));
    EXPECT_EQ(errorOf([] { removeFile("align.fac"); }), 53);
    EXPECT_EQ(errorOf([] { copyFile("missing", "x"); }), 53);
}
