// Test main for the tests that open windows: a QApplication on the offscreen platform, a fixed locale, no crash
// dialogs.
#include <QApplication>
#include <QLocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QTEST_DISABLE_STACK_DUMP", "1", 1);
    setenv("LANG", "C.UTF-8", 1);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
