// gtest main for the dialog tests: one QApplication, offscreen unless another
// platform is asked for, named as the console is (the message boxes' caption),
// with message boxes answered without an operator.
#include <QApplication>

#include <gtest/gtest.h>

#include "platform/window/scripted_dialog_service.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    // No message box ever waits for an operator; tests that look at the
    // boxes install a service of their own.
    platform::window::ScriptedDialogService unattended;
    platform::window::ScopedDialogService installed(unattended);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
