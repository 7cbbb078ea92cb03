// What the Application sets that other parts of the backend read: the
// name message boxes carry and whether closing the last window ends the
// message loop. Set at start on the window thread, read on it after.
#pragma once

#include <string>

namespace platform::window::win32 {

struct ApplicationState {
    std::string name;
    bool quitOnLastWindowClosed = true;
};

ApplicationState& TheApplicationState();

}  // namespace platform::window::win32
