// Runs the skin tests inside a Qt application, on the offscreen platform
// unless another is asked for (QT_QPA_PLATFORM=xcb under Xvfb shows the same
// windows on a real X server).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
