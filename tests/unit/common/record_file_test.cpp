#include "common/file_names.h"
#include "common/record_file.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace common;
using namespace testsupport;

namespace {
std::string sampleRecord() {
    std::string rec(222, '\0');
    for (size_t i = 0; i < rec.size(); ++i) rec[i] = static_cast<char>((i * 37 + 11) % 256);
    rec[5] = '\0';
    rec[100] = static_cast<char>(0xE9);
    rec[221] = static_cast<char>(0xFF);
    return rec;
}
} // namespace

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
