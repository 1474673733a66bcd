#include "platform/terminal.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kovra::platform {

bool StandardOutputIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stdout)) != 0;
#else
    return isatty(fileno(stdout)) != 0;
#endif
}

void ReleaseOwnConsole()
{
#ifdef _WIN32
    // Only this process on the console: it was made for us.
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1)
        FreeConsole();
#endif
}

} // namespace kovra::platform
