// Test main for the widget-free tests: a core application, a fixed locale, no crash dialogs.
#include <QCoreApplication>
#include <QLocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QTEST_DISABLE_STACK_DUMP", "1");
    qputenv("LANG", "C.UTF-8");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
