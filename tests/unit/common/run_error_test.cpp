#include "common/run_error.h"

#include <gtest/gtest.h>

using namespace common;

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
