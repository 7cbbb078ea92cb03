// The Win32 GUI tests' program: the window system started once, as a
// program starts it, before any test makes a window.
#include <gtest/gtest.h>

#include "platform/window/application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    platform::window::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
