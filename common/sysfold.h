// The shell's folders (Windows build): the values of the key "Shell
// Folders" under a root key ("Desktop", "Programs", "AppData", ...).
#pragma once
#include <windows.h>

#include <cstdint>

#define SYS_SHELL_FOLDERS "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
#define SYS_FOLDER_MAX 1023   // characters of a folder path

// The folder's path into path (SYS_FOLDER_MAX + 1 bytes); 0 and "" when the
// key or the value cannot be read.
int16_t SYS_shell_folder(HKEY root, const char *name, char *path);
