// The installer program's entry: the ordinary run (the configuration record
// and the window toolkit) or, with the argument "$f", the developer listing
// "PFU_LIST.PFU" of the function tables without any window.
#pragma once
#include <windows.h>

#include <cstdint>

struct PFU_TABLES;

#define INST_DRIVE_MAX 3
#define INST_DIRECTORY_MAX 1024
#define INST_LIST_FILE "PFU_LIST.PFU"
#define INST_LIST_TEXT_MAX 250     // characters of a listing line before the line writer cuts it

// The drive of the program's own path ("C:"), and its directory without the
// drive, ending with a backslash. The installation's configuration step
// replaces exe_directory by the installed program directory.
extern char exe_drive[INST_DRIVE_MAX + 1];
extern char exe_directory[INST_DIRECTORY_MAX + 1];
// 1 once an argument "$f" / "$F" was seen.
extern int16_t INST_list_functions;

// WinMain of INSTTRKP.EXE. The previous instance and the command-line text
// are not used (the runtime's argument vector is). The exit code of the
// toolkit; 0 in the listing mode and when the toolkit could not start.
int32_t INST_main(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show);
// Takes exe_drive and exe_directory from argument 0 (and the system drive's
// letter of the configuration record from exe_drive), and sets the listing
// flag for an argument whose first character is "$" and second "f" or "F";
// other arguments have no effect here ("$m" is the memory manager's). 1; 0
// (internal error) without argument 0.
int16_t INST_parse_command_line(int argc, const char *const *argv);
// Writes "PFU_LIST.PFU" into the current directory: seven lines for every
// listed entry of every table, then "KONEC". 1 when written, 0 when the file
// could not be created or opened (the file layer has shown it).
int16_t INST_write_function_list(const PFU_TABLES *tables);
