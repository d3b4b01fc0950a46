// Test main for the widget-free tests: a core application, a fixed locale, no crash dialogs.
#include "common/env.h"

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
    // Ended at once, as the programs end: under wine a test program's unloading now and then
    // never finished, long after its tests had passed.
    common::Env::current().exitNow(RUN_ALL_TESTS());
}
