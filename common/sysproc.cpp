#include "common/sysproc.h"

#include <string>

#include "win/guard.h"

int16_t SYS_run_and_wait(const char *command_line, const char *directory, uint32_t *exit_code)
{
    std::string line = command_line;   // CreateProcessA may write into its command line
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &started))
        return 0;
    C_HANDLE process(started.hProcess), thread(started.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code))
        return 0;
    *exit_code = code;
    return 1;
}
