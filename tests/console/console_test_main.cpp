// gtest main for the console tests: a network namespace of its own (the
// console binds the fixed status ports and the emulators live on loopback)
// and one QApplication on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

#include "tests/support/test_namespace.h"

int main(int argc, char** argv) {
    if (const int skipped = test_support::EnterTestNamespace(argc, argv)) return skipped;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
