// The program's connection to the window system (the part of CWinApp that
// is not the console's own): started once in main, before any window, and
// ended after the last one.
#pragma once

#include <memory>
#include <string_view>

namespace platform::window {

class Application {
  public:
    // Starts the window system. It takes the options it understands out of
    // argc/argv (a display to use, a platform plug-in, ...); what is left
    // is the program's.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The name message boxes carry (ApplicationName).
    void SetName(std::string_view name);
    // Whether closing the last visible window ends the program's message
    // loop; a program that lives on in the notification area says no.
    void SetQuitOnLastWindowClosed(bool quit);

  private:
    struct Native;
    std::unique_ptr<Native> m_native;
};

// For a program that only renders its windows into pictures
// (CaptureWindow) and shows none, called before the Application is made:
// unless the user named a display, the window system is started without a
// screen. Win32 windows print into bitmaps as they are; nothing to do there.
void PreferOffscreenRendering();

// Handles the window messages waiting now, for at most `maxMilliseconds`:
// what a loop that waits for workers runs so that their reports arrive.
void PumpMessages(int maxMilliseconds);

}  // namespace platform::window
