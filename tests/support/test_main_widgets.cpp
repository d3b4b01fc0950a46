// Test main for the tests that open windows: a QApplication on the offscreen platform, a fixed locale, no crash
// dialogs.
#include "common/env.h"
#include "tests/support/linux_fonts.h"

#include <QApplication>
#include <QLocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTEST_DISABLE_STACK_DUMP", "1");
    qputenv("LANG", "C.UTF-8");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    testsupport::useLinuxFontAliases();
    ::testing::InitGoogleTest(&argc, argv);
    // Ended at once, as the programs end: under wine a test program's unloading now and then
    // never finished, long after its tests had passed.
    common::Env::current().exitNow(RUN_ALL_TESTS());
}
