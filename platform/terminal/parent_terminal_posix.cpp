// On Linux a program's output goes where its terminal or its caller sent it.
#include "platform/terminal/parent_terminal.h"

namespace platform::terminal {

void UseParentTerminal() {}

}  // namespace platform::terminal
