#include "appraise/documents/customer_pdf.h"

#include <gtest/gtest.h>

using namespace appraise;

TEST(CustomerPdfTest, NamedSurnameFirstWithNumberAndDate) {
    const QDate d(2026, 12, 9);
    EXPECT_EQ(customerPdfName("Ann Smith", "00012001", d), QStringLiteral("Smith Ann 00012001 2026-12-09.pdf"));
    EXPECT_EQ(customerPdfName("  Mary  Jo Smith ", "00012002", d),
              QStringLiteral("Smith Mary Jo 00012002 2026-12-09.pdf"));
    EXPECT_EQ(customerPdfName("Prince", "00012001", d), QStringLiteral("Prince 00012001 2026-12-09.pdf"));
    // What Windows cannot hold in a name is left out; nothing of a path gets in.
    EXPECT_EQ(customerPdfName("A/B \"C\" D:E*?", "00012001", d), QStringLiteral("DE AB C 00012001 2026-12-09.pdf"));
    EXPECT_EQ(customerPdfName("", "", d), QStringLiteral("2026-12-09.pdf"));
}

TEST(CustomerPdfTest, TheAppraisalDateAsTheBoxHoldsIt) {
    const QDate today(2026, 12, 10);
    EXPECT_EQ(appraisalDate("12-9-2026", today), QDate(2026, 12, 9));
    EXPECT_EQ(appraisalDate("12-09-26", today), QDate(2026, 12, 9));
    EXPECT_EQ(appraisalDate("7-4-98", today), QDate(1998, 7, 4));
    EXPECT_EQ(appraisalDate("1-2-27", today), QDate(2027, 1, 2)); // a year ahead still this century
    EXPECT_EQ(appraisalDate("1-2-28", today), QDate(1928, 1, 2));
    for (const char* no : {"", "ERROR", "2-30-2026", "13-1-26", "12/9", "12-9-2026x"})
        EXPECT_FALSE(appraisalDate(no, today).has_value()) << no;
}
