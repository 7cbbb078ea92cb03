// A GUI-subsystem program starts without a console: its standard handles
// are null unless the caller redirected them. Attached to the console of the
// process that started it (a command prompt), it prints there.
#include <windows.h>

#include <cstdio>

#include "platform/terminal/parent_terminal.h"

namespace platform::terminal {
namespace {

bool Usable(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void UseParentTerminal() {
    const bool output = Usable(STD_OUTPUT_HANDLE);
    const bool errors = Usable(STD_ERROR_HANDLE);
    if (output && errors) return;                         // redirected: the caller wants it there
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;  // no console to reach
    // Failing, a stream stays unusable, as it was.
    if (!output) static_cast<void>(std::freopen("CONOUT$", "w", stdout));
    if (!errors) static_cast<void>(std::freopen("CONOUT$", "w", stderr));
}

}  // namespace platform::terminal
