// Child processes (Windows build).
#pragma once
#include <cstdint>

// How long, after the program's own end, the programs it started are waited for.
#define SYS_STARTED_WAIT_MS 20000

// Starts a command line (directory: its current directory, null = ours),
// waits for its end and gives its exit code; 0 when it could not start.
// The programs it starts (and theirs) are waited for too, for at most
// SYS_STARTED_WAIT_MS after its end: what it left to them (an uninstall
// program's removal of its own file and folders) is done when this returns.
// Where the system cannot group them (a job object), only the program is.
int16_t SYS_run_and_wait(const char *command_line, const char *directory, uint32_t *exit_code);
