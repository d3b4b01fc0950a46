#include "appraise/documents/appraisal_index.h"
#include "appraise/documents/appraisal_register.h"
#include "appraise/documents/old_appraisals.h"
#include "tests/support/held_lock.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace appraise;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {

std::string appraisal(const std::string& customer, const std::string& value) {
    return "12-9-26\r\nAppraisal for\r\n" + customer +
           "\r\n1 Elm St\r\n\r\nItem number 1 of 1 items:\r\n\r\nOne ring\r\n\r\n" +
           "                                Replacement Value:  " + value + "\r\n";
}

// Files whose times are an hour old, so that an index written now may vouch for them.
void putOld(const std::string& name, const std::string& bytes) {
    putFile(name, bytes);
    fs::last_write_time(name, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

struct IndexFixture : ::testing::Test {
    TempFolder folder;
    const QDate today{2026, 12, 9};
    IndexFixture() {
        fs::create_directory("APPRAISE");
        putOld("APPRAISE/00012001.app", appraisal("Ann Smith", "2450.00"));
        putOld("APPRAISE/00012002.app", appraisal("Ann Smith", "90.00"));
        putOld("APPRAISE/00034001.app", appraisal("Bob Jones", "10.00"));
    }
    // The index as a list of names and customers.
    static std::vector<std::string> indexed() {
        std::vector<std::string> out;
        for (const IndexEntry& e : indexEntries(getFile("APPRAISE/appraisals.idx")))
            out.push_back(e.name + " " + e.facts.customer);
        return out;
    }
    // Makes the index say another customer for a file, as if it had been read before.
    static void forge(const std::string& name, const std::string& customer) {
        std::vector<IndexEntry> entries = indexEntries(getFile("APPRAISE/appraisals.idx"));
        for (IndexEntry& e : entries)
            if (e.name == name) e.facts.customer = customer;
        putFile("APPRAISE/appraisals.idx", indexBytes(entries));
    }
};

} // namespace

TEST(IndexFormatTest, EntriesComeBackAsWrittenAndNothingElse) {
    AppraisalFacts f;
    f.date = "12-9-26";
    f.customer = "Ann Smith";
    f.firstItem = "Ring and 1 more";
    f.value = "2,540.00";
    f.everyItem = "Ring; Watch";
    f.items = 2;
    f.reappraisalOf = "00012001";
    AppraisalFacts tabbed = f;
    tabbed.customer = "Ann\tSmith";
    const std::string bytes = indexBytes({{"00012002.app", 412, 1765270000, f}, {"00012003.app", 9, 1, tabbed}});
    const std::vector<IndexEntry> back = indexEntries(bytes);
    ASSERT_EQ(back.size(), 1u); // a fact holding a tab is not kept: that file is read again
    EXPECT_EQ(back[0].name, "00012002.app");
    EXPECT_EQ(back[0].size, 412);
    EXPECT_EQ(back[0].modified, 1765270000);
    EXPECT_EQ(back[0].facts.everyItem, "Ring; Watch");
    EXPECT_EQ(back[0].facts.items, 2);
    EXPECT_EQ(back[0].facts.reappraisalOf, "00012001");
    EXPECT_EQ(back[0].facts.value, "2,540.00");

    // A line cut short (a stop as it was written), another kind of file, figures that are none.
    EXPECT_TRUE(indexEntries(bytes.substr(0, bytes.size() - 1)).empty());
    EXPECT_TRUE(indexEntries("Appraise index 2\r\n" + bytes.substr(18)).empty());
    EXPECT_TRUE(indexEntries("Appraise index 1\r\nx.app\t-1\t5\t1\t\t\t\t\t\t\r\n").empty());
    EXPECT_TRUE(indexEntries("").empty());
}

TEST_F(IndexFixture, TheIndexVouchesOnlyForAFileAsItListedIt) {
    ASSERT_EQ(readRegister(today).size(), 3u);
    EXPECT_EQ(indexed(),
              (std::vector<std::string>{"00012001.app Ann Smith", "00012002.app Ann Smith", "00034001.app Bob Jones"}));
    // Unchanged files are taken from the index: what it says is what the list shows.
    forge("00012001.app", "From the index");
    EXPECT_EQ(readRegister(today)[0].facts.customer, "From the index");

    // Another size, another time: the file is read again, and the index mended.
    putOld("APPRAISE/00012001.app", appraisal("Ann Smith-Jones", "2450.00"));
    EXPECT_EQ(readRegister(today)[0].facts.customer, "Ann Smith-Jones");
    forge("00012002.app", "From the index");
    fs::last_write_time("APPRAISE/00012002.app", fs::file_time_type::clock::now() - std::chrono::minutes(30));
    EXPECT_EQ(readRegister(today)[1].facts.customer, "Ann Smith");

    // A file changed in the second the index was written may have changed after it: read again.
    forge("00034001.app", "From the index");
    fs::last_write_time("APPRAISE/00034001.app", fs::last_write_time("APPRAISE/appraisals.idx"));
    EXPECT_EQ(readRegister(today)[2].facts.customer, "Bob Jones");
}

TEST_F(IndexFixture, AStartKeepsTheOtherCustomersEntriesAndDropsItsOwnGoneFiles) {
    readRegister(today);
    fs::remove("APPRAISE/00012002.app");
    fs::remove("APPRAISE/00034001.app");
    const std::vector<QString> list = oldAppraisalEntries("00012");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], QStringLiteral("00012001.app  12-9-26  Ring  2,450.00"));
    // Only the customer's own files are listed at a start; another customer's gone file is the
    // register's to drop.
    EXPECT_EQ(indexed(), (std::vector<std::string>{"00012001.app Ann Smith", "00034001.app Bob Jones"}));
    EXPECT_EQ(readRegister(today).size(), 1u);
    EXPECT_EQ(indexed(), (std::vector<std::string>{"00012001.app Ann Smith"}));
}

TEST_F(IndexFixture, AFileThatCannotBeReadIsListedAndNotIndexed) {
    const HeldLock held(fs::absolute("APPRAISE/00012002.app").string());
    const std::vector<RegisterEntry> entries = readRegister(today);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[1].facts.customer.empty());
    EXPECT_EQ(indexed(), (std::vector<std::string>{"00012001.app Ann Smith", "00034001.app Bob Jones"}));
}

TEST_F(IndexFixture, ABrokenOrHeldIndexOnlyCostsTheReading) {
    putFile("APPRAISE/appraisals.idx", "Appraise index 1\r\n00012001.app\t1\t2");
    EXPECT_EQ(readRegister(today)[0].facts.customer, "Ann Smith");
    EXPECT_EQ(indexed().size(), 3u);
    {
        const HeldLock held(fs::absolute("APPRAISE/appraisals.idx").string());
        putOld("APPRAISE/00012001.app", appraisal("Ann Smith-Jones", "2450.00"));
        EXPECT_EQ(readRegister(today)[0].facts.customer, "Ann Smith-Jones");
    }
    fs::remove_all("APPRAISE");
    EXPECT_TRUE(readRegister(today).empty());
    EXPECT_FALSE(fs::exists("APPRAISE"));
}
