#pragma once
// Whether the program's standard output is a terminal (a person reading,
// who gets a progress line redrawn in place) rather than a file or a pipe.

namespace kovra::platform {

bool StandardOutputIsTerminal();

// The program is one executable for the window and the command line. On
// Windows, started from the Start menu or Explorer, it gets a console window
// of its own: the window's road closes that one (a console it was started
// from stays). Nothing elsewhere.
void ReleaseOwnConsole();

} // namespace kovra::platform
