// gtest main for the stacking tests: they need Qt's xcb platform on an X
// server (run_under_xvfb.sh provides one) and are skipped (77) elsewhere.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/window/scripted_dialog_service.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        qEnvironmentVariable("QT_QPA_PLATFORM") != QStringLiteral("xcb")) {
        std::printf("SKIPPED: needs QT_QPA_PLATFORM=xcb on an X server\n");
        return 77;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    platform::window::ScriptedDialogService unattended;  // no box waits for anyone
    platform::window::ScopedDialogService installed(unattended);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
