// gtest main for the console tests: a network namespace of its own (the
// console binds the fixed status ports and the emulators live on loopback)
// and one QApplication on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/netns/private_network.h"

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0) listing = true;
    if (!listing) {
        std::string why;
        if (!platform::netns::EnterPrivateNetwork(&why)) {
            std::fprintf(stderr, "SKIPPED: the console tests need a network namespace: %s\n",
                         why.c_str());
            return 77;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
