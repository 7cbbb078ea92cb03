// Printing from a windowed program to the terminal it was started from.
#pragma once

namespace platform::terminal {

// Makes stdout and stderr reach the terminal the program was started from
// where they would go nowhere: a Windows GUI program gets no console of its
// own, so from a command prompt it writes to the prompt's (which has already
// shown its next prompt, as it does not wait for GUI programs). Output
// redirected to a file or pipe stays there. Elsewhere nothing to do.
void UseParentTerminal();

}  // namespace platform::terminal
