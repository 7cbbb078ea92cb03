// gtest main for the console tests: a network namespace of its own (the
// console binds the fixed status ports and the emulators live on loopback)
// and one QApplication on the offscreen platform.
#include <QApplication>
#include <QThreadPool>

#include <gtest/gtest.h>

#include "tests/support/test_namespace.h"

int main(int argc, char** argv) {
    if (const int skipped = test_support::EnterTestNamespace(argc, argv)) return skipped;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    QApplication::setQuitOnLastWindowClosed(false);
#if defined(__SANITIZE_THREAD__)
    // Qt slices large image work onto its global thread pool and hands it
    // over with futexes ThreadSanitizer cannot see. One pool thread that
    // never expires keeps that hand-over to one pair of threads, whose
    // Qt-internal frames tests/tsan.supp names; the console's own threads
    // are untouched.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
