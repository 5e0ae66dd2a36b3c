// Drive and directory changes of the process, on paths in the host's form
// (the system boundary of the file layer). Status flags: 1 = done, 0 = not.
#pragma once
#include <cstdint>

int16_t SYS_change_dir(const char *host_path);
// The current directory into out (size bytes); 0 and "" when it does not fit.
int16_t SYS_current_dir(char *out, int size);
// The current drive, 0 = A:; -1 on a host without drives.
int16_t SYS_current_drive();
// Makes drive (0 = A:) current, without the system's "drive not ready" box;
// 0 when it is not there or not ready (always on a host without drives).
int16_t SYS_select_drive(int16_t drive);
