#pragma once

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// QTEST_MAIN with the test mode of QStandardPaths on, so no test touches the user's files.
#define SONAVEL_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
