#include "appraise/documents/appraisal_register.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace appraise;
using namespace testsupport;

namespace {

std::string appraisal(const std::string& date, const std::string& customer, const std::string& sentence,
                      const std::string& value) {
    return date + "\r\nAppraisal for\r\n" + customer + "\r\n1 Elm St\r\n\r\nItem number 1 of 1 items:\r\n\r\n" +
           sentence + "\r\n\r\n                                Replacement Value:  " + value + "\r\n";
}

struct RegisterFixture : ::testing::Test {
    TempFolder folder;
    const QDate today{2026, 12, 9};
    RegisterFixture() {
        std::filesystem::create_directory("appraise");
        putFile("appraise/00012001.app", appraisal("12-7-24", "Ann Smith", "One lady's ring made of gold", "2450.00"));
        putFile("appraise/00012002.app", appraisal("12-10-24", "Ann Smith", "One bracelet", "90.00"));
        putFile("appraise/00034001.app", appraisal("1-5-26", "bob jones", "One man's watch", "10000.00"));
        putFile("appraise/00034002.app", "");                  // empty: listed by its number
        putFile("appraise/notes.app", "not an appraisal\r\n"); // not a number: not listed
        putFile("appraise/0003400.app", "seven digits\r\n");
    }
    static std::vector<std::string> numbers(const std::vector<RegisterEntry>& entries) {
        std::vector<std::string> out;
        for (const auto& e : entries) out.push_back(e.number);
        return out;
    }
};

} // namespace

TEST_F(RegisterFixture, EveryAppraisalFileOfTheStoreAndNothingElse) {
    const auto entries = readRegister(today);
    EXPECT_EQ(numbers(entries), (std::vector<std::string>{"00012001", "00012002", "00034001", "00034002"}));
    EXPECT_EQ(entries[0].facts.customer, "Ann Smith");
    EXPECT_EQ(entries[0].facts.value, "2,450.00");
    EXPECT_EQ(entries[0].date, QDate(2024, 12, 7));
    EXPECT_EQ(entries[2].value.ticks, 10000 * 10000LL);
    EXPECT_FALSE(entries[3].date.has_value());
}

TEST_F(RegisterFixture, SortedByAColumnTheNumberBetweenEquals) {
    auto entries = readRegister(today);
    sortRegister(entries, RegisterOrder::Value, false);
    EXPECT_EQ(numbers(entries), (std::vector<std::string>{"00034002", "00012002", "00012001", "00034001"}));
    sortRegister(entries, RegisterOrder::Date, true); // newest first, the undated last
    EXPECT_EQ(numbers(entries), (std::vector<std::string>{"00034001", "00012002", "00012001", "00034002"}));
    sortRegister(entries, RegisterOrder::Customer, false); // without regard to case
    EXPECT_EQ(numbers(entries), (std::vector<std::string>{"00034002", "00012001", "00012002", "00034001"}));
}

TEST_F(RegisterFixture, EveryWordOfTheSearchIsFound) {
    const auto entries = readRegister(today);
    auto found = [&](const QString& search) {
        std::vector<std::string> out;
        for (const auto& e : entries)
            if (registerMatches(e, search)) out.push_back(e.number);
        return out;
    };
    EXPECT_EQ(found(QStringLiteral("  ")).size(), 4u);
    EXPECT_EQ(found(QStringLiteral("SMITH ring")), std::vector<std::string>{"00012001"});
    EXPECT_EQ(found(QStringLiteral("2,450")), std::vector<std::string>{"00012001"});
    EXPECT_EQ(found(QStringLiteral("0003400")), (std::vector<std::string>{"00034001", "00034002"}));
    EXPECT_TRUE(found(QStringLiteral("smith watch")).empty());
}

// The search finds an appraisal by any of its items, not only the first the list shows.
TEST(RegisterSearchTest, AnyItemOfAnAppraisalIsFound) {
    TempFolder folder;
    std::filesystem::create_directory("appraise");
    putFile("appraise/00012001.app",
            "1-2-26\r\nAppraisal for\r\nAnn Smith\r\n\r\nItem number 1 of 2 items:\r\n\r\n"
            "One ring made of platinum\r\n   Replacement Value:  10.00\r\nItem number 2 of 2 "
            "items:\r\n\r\nOne bracelet made of sterling\r\n   Total Replacement Value:  30.00\r\n");
    const auto entries = readRegister(QDate(2026, 12, 9));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].facts.firstItem, "Ring, platinum and 1 more");
    EXPECT_EQ(entries[0].facts.everyItem, "Ring, platinum; Bracelet, sterling");
    EXPECT_TRUE(registerMatches(entries[0], QStringLiteral("bracelet sterling")));
    EXPECT_FALSE(registerMatches(entries[0], QStringLiteral("watch")));
}

TEST_F(RegisterFixture, DueWhenOlderThanThePeriodAndNotMadeAgain) {
    auto entries = readRegister(today);
    // 12-7-24 is more than 24 months before 12-9-26; 12-10-24 is not yet.
    EXPECT_EQ(numbers(dueForUpdate(entries, today, 24)), std::vector<std::string>{"00012001"});
    EXPECT_EQ(numbers(dueForUpdate(entries, today, 12)), (std::vector<std::string>{"00012001", "00012002"}));
    // Made again: the later appraisal names it.
    putFile("appraise/00012003.app", reappraisalText(getFile("appraise/00012001.app"), "00012001", "12-9-26"));
    entries = readRegister(today);
    EXPECT_TRUE(dueForUpdate(entries, today, 24).empty());
}

TEST(UpdatePeriodTest, TwentyFourMonthsUnlessTheStoreSetsAnother) {
    TempFolder folder;
    EXPECT_EQ(updatePeriodMonths(), 24);
    for (const auto& [text, months] : std::vector<std::pair<std::string, int>>{
             {"18\r\n", 18}, {"120\r\n", 120}, {"0\r\n", 24}, {"121\r\n", 24}, {"18 months\r\n", 24}, {"\r\n", 24}}) {
        putFile("apupdate.dat", text);
        EXPECT_EQ(updatePeriodMonths(), months) << text;
    }
}

TEST(ReappraisalTest, TodaysDateAndTheEarlierValueAfterTheLastValue) {
    const std::string earlier =
        "12-7-24\r\nAppraisal for\r\nAnn Smith\r\n\r\nItem number 1 of 2 items:\r\n\r\nOne ring\r\n"
        "   Replacement Value:  100.00\r\nItem number 2 of 2 items:\r\n\r\nOne watch\r\n"
        "   Replacement Value:  200.00\r\n   Total Replacement Value:  300.00\r\nSigned.";
    const std::string again = reappraisalText(earlier, "00012001", "12-9-26");
    EXPECT_EQ(again.substr(0, 9), "12-9-26\r\n");
    // On the line after the total, ending where the values end (column 54), before the rest.
    const std::string total = "Total Replacement Value:  300.00\r\n";
    const size_t after = again.find(total) + total.size();
    EXPECT_EQ(again.substr(after), "      Appraised 12-7-24 at 300.00 (appraisal 00012001)\r\nSigned.");
    EXPECT_EQ(appraisalFacts(again).reappraisalOf, "00012001");
    // Made again once more: only the latest earlier value is named.
    const std::string third = reappraisalText(again, "00012002", "1-2-27");
    EXPECT_EQ(appraisalFacts(third).reappraisalOf, "00012002");
    EXPECT_EQ(third.find("(appraisal 00012001)"), std::string::npos);
}
