// r40console: the R40 Management Console. Takes --help, --version and, on
// Linux, Qt's own options (-platform, -display, ...), nothing else.
#include <cstdio>
#include <cstring>
#include <string>

#include "console/halden_app.h"
#include "platform/file/user_files_folder.h"
#include "platform/terminal/parent_terminal.h"
#include "platform/window/application.h"

#ifndef R40_CONSOLE_VERSION
#define R40_CONSOLE_VERSION "0"
#endif

int main(int argc, char** argv) {
    // On Windows the console is a windowed program: what it prints goes to
    // the command prompt it was started from, if any.
    platform::terminal::UseParentTerminal();
    // Answered before the window system starts, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Usage: r40console [Qt options such as -platform or -display (Linux)]\n"
                "The R40 Management Console: finds, watches and configures R40 and T22 "
                "receivers.\nSee r40console(1); r40ctl(1) does the same from a command line.\n");
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("r40console %s\n", R40_CONSOLE_VERSION);
            return 0;
        }
    }
    platform::window::Application application(argc, argv);
    // The window system has taken its own options out of argv; anything
    // left is no option.
    if (argc > 1) {
        std::fprintf(stderr,
                     "r40console: unknown argument \"%s\"\nusage: r40console [--help] "
                     "[--version] [Qt options (Linux)]\n",
                     argv[1]);
        return 2;
    }
    // lastused.xml and the other files are named relative to the working
    // folder: on Windows this user's application data, on Linux the folder
    // the caller (a terminal, the desktop launcher) chose.
    std::string error;
    if (platform::file::EnterUserFilesFolder("R40 Management Console", error).empty())
        std::fprintf(stderr, "r40console: staying in the working folder: %s\n", error.c_str());
    application.SetName("R40 Management Console");
    // The console lives in the notification area while hidden: closing its
    // last visible window must not end it.
    application.SetQuitOnLastWindowClosed(false);
    console::CHaldenApp app;
    return app.InitInstance();
}
