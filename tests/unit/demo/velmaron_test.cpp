#include "appraise/documents/customer.h"
#include "demo/demo_store.h"
#include "demo/velmaron_window.h"
#include "platform/qt/store_folder.h"
#include "tests/support/temp_folder.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace appraise;
using namespace demo;
using namespace testsupport;

TEST(VelmaronTest, ListsTheAccountsAndHandsOneOverToAppraise) {
    TempFolder tmp;
    writeDemoStore(QDate(2026, 12, 8));
    VelmaronWindow w;
    ASSERT_EQ(w.accounts->count(), 30);
    EXPECT_TRUE(w.accounts->item(3)->text().contains("Maria DIAZ"));
    EXPECT_TRUE(w.accounts->item(3)->text().contains("2875.40"));
    w.search->setText("smith");
    int shown = 0;
    for (int i = 0; i < w.accounts->count(); ++i) shown += w.accounts->item(i)->isHidden() ? 0 : 1;
    EXPECT_EQ(shown, 2);

    ASSERT_TRUE(w.writeHandover(4));
    const CustomerContext c = readHandover();
    EXPECT_EQ(c.custlines[1], "Maria DIAZ");
    EXPECT_EQ(c.custlines[2], "301 Pine Rd");
    EXPECT_EQ(c.custlines[3], "Anytown, ST 12344");
    EXPECT_EQ(c.custlines[4], "");
    EXPECT_EQ(c.custrecordno, 4);
    EXPECT_EQ(c.custprefix, "00004");
}

TEST(VelmaronTest, FindingKeepsACustomerChosenAndDownOrEnterGoesIntoTheList) {
    TempFolder tmp;
    writeDemoStore(QDate(2026, 12, 8));
    VelmaronWindow w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.search->setFocus();
    QTest::keyClicks(w.search, "diaz");
    ASSERT_TRUE(w.accounts->currentItem());
    EXPECT_FALSE(w.accounts->currentItem()->isHidden());
    EXPECT_TRUE(w.accounts->currentItem()->text().contains("Maria DIAZ"));
    QTest::keyClick(w.search, Qt::Key_Down);
    EXPECT_TRUE(w.accounts->hasFocus());
    // Enter finds: the customer found chosen, and the list takes the focus.
    w.accounts->setCurrentRow(0);
    w.search->setFocus();
    QTest::keyClick(w.search, Qt::Key_Return);
    EXPECT_TRUE(w.accounts->hasFocus());
    ASSERT_TRUE(w.accounts->currentItem());
    EXPECT_TRUE(w.accounts->currentItem()->text().contains("Maria DIAZ"));
}

TEST(StoreFolderTest, NamesWhatIsMissingInWords) {
    TempFolder tmp;
    EXPECT_EQ(platform::missingStoreFiles(), "cust.dat and Cust.ptn");
    putFile("CUST.DAT", "");
    EXPECT_EQ(platform::missingStoreFiles(), "Cust.ptn");
    putFile("cust.ptn", " 0\r\n");
    EXPECT_EQ(platform::missingStoreFiles(), "");
}

TEST(VelmaronTest, BackFromAppraiseTheCustomerServedIsChosen) {
    TempFolder tmp;
    writeDemoStore(QDate(2026, 12, 8));
    {
        VelmaronWindow w;
        EXPECT_EQ(w.accounts->currentRow(), 0); // no hand-over yet: the top of the list
        ASSERT_TRUE(w.writeHandover(17));
    }
    VelmaronWindow again; // started again when Appraise ends
    EXPECT_EQ(again.accounts->currentRow(), 16);
    putFile("apptrans.dat", "\"A\"\r\n\"B\"\r\n\"C\"\r\n999\r\n"); // beyond the list: its last customer
    VelmaronWindow beyond;
    EXPECT_EQ(beyond.accounts->currentRow(), beyond.accounts->count() - 1);
}
