#include "common/env.h"
#include "interest/posting_record.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace interest;
using namespace testsupport;

TEST(PostingRecordTest, LinesAreAddedAfterTheColumnNamesAndNeverRewritten) {
    TempFolder tmp;
    appendToRecord("2026-12-09 14:37:02", {RecordLine{"posting", "12-9-26", ".015", "3", "45.10"}});
    const std::string first = getFile(recordFileName);
    EXPECT_EQ(first.substr(0, first.find("\r\n")), recordHeading());
    appendToRecord("2026-12-09 14:40:00", {RecordLine{"undo", "12-9-26"}, RecordLine{"posting", "12-9-26"}});
    const std::string now = getFile(recordFileName);
    EXPECT_EQ(now.substr(0, first.size()), first);
    EXPECT_EQ(std::count(now.begin(), now.end(), '\n'), 4);
    // Nothing to add writes nothing, not even the column names.
    TempFolder other;
    appendToRecord("2026-12-09 14:40:00", {});
    EXPECT_FALSE(common::Env::current().info(recordFileName).exists);
}

TEST(PostingRecordTest, FieldsKeepToTheirColumns) {
    RecordLine l{"charge removed", "12-9-26", "", "", "2.50", "7", "DIAZ\tMaria", "555-0107", "11-7-26", "a\r\nb"};
    const std::string line = recordText("2026-12-09 14:37:02", "ann on COUNTER1", l);
    // A tab or a line end typed into a name would start a column or a line of its own.
    EXPECT_EQ(line, "2026-12-09 14:37:02\tann on COUNTER1\tcharge removed\t12-9-26\t\t\t2.50\t7\tDIAZ Maria\t555-0107\t"
                    "11-7-26\ta  b");
    const std::string heading = recordHeading();
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), std::count(heading.begin(), heading.end(), '\t'));
}

TEST(PostingRecordTest, ALineCutShortByAStopIsEndedBeforeTheNext) {
    TempFolder tmp;
    putFile(recordFileName, recordHeading() + "\r\n2026-12-09 14:37:02\tann\tpost");
    appendToRecord("2026-12-09 14:40:00", {RecordLine{"undo", "12-9-26"}});
    const std::string now = getFile(recordFileName);
    EXPECT_NE(now.find("\tpost\r\n2026-12-09 14:40:00\t"), std::string::npos) << now;
}
