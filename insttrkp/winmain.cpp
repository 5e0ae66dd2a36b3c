// INSTTRKP.EXE: the installer's window-program entry.
#include <windows.h>

#include "insttrkp/inst_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show)
{
    return static_cast<int>(INST_main(instance, previous, command_line, show));
}
