// Child processes (Windows build).
#pragma once
#include <cstdint>

// Starts a command line (directory: its current directory, null = ours),
// waits for its end and gives its exit code; 0 when it could not start.
int16_t SYS_run_and_wait(const char *command_line, const char *directory, uint32_t *exit_code);
