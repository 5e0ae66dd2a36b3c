#include "common/sysproc.h"

#include <string>

#include "win/guard.h"

namespace {

const DWORD POLL_MS = 20;

// Until no process of the job is left, or the milliseconds have passed.
void wait_for_job(HANDLE job, DWORD ms)
{
    for (DWORD waited = 0;; waited += POLL_MS) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) ||
            info.ActiveProcesses == 0 || waited >= ms)
            return;
        Sleep(POLL_MS);
    }
}

}  // namespace

int16_t SYS_run_and_wait(const char *command_line, const char *directory, uint32_t *exit_code)
{
    std::string line = command_line;   // CreateProcessA may write into its command line
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Started held, so that it is in the job before it can start anything.
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, directory, &startup,
                        &started))
        return 0;
    C_HANDLE process(started.hProcess), thread(started.hThread), job(CreateJobObjectA(nullptr, nullptr));
    const bool grouped = job && AssignProcessToJobObject(job, process);
    ResumeThread(thread);
    DWORD code = 0;
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code))
        return 0;
    if (grouped)
        wait_for_job(job, SYS_STARTED_WAIT_MS);
    *exit_code = code;
    return 1;
}
