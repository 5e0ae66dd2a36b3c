// trakdist console program: everything is in TD_main.
#include "common/config.h"
#include "tools/trakdist/td.h"

#if TRK_WINDOWS
#include <windows.h>
#endif

int main(int argc, char **argv)
{
#if TRK_WINDOWS
    // The messages are UTF-8, as on every other terminal.
    SetConsoleOutputCP(CP_UTF8);
#endif
    return TD_main(argc, argv);
}
