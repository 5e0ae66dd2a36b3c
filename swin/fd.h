// The common file dialogs (open, open several, save) and the folder browser.
//
// The file dialogs are owned by the application's main window
// (WGD_driver->main_window) when there is one, else by the owner given. A
// filter is a Win32 filter list: pairs of zero-terminated texts (description,
// pattern), the list ended by a second zero ("Texty\0*.TXT\0\0"); null means
// no filter. The file name buffer holds FD_NAME_MAX + 1 characters; what it
// holds on entry is the name the dialog starts with (an empty text for none).
// The read-only box is hidden and the path must exist. Unless keep_dir is set
// the dialog leaves the current directory as it was.
//
// Status flags: 1 = the user chose, 0 = cancelled or failed (the buffer is
// then left as it was). A null buffer is an internal error and 0.
#pragma once
#include <windows.h>

#include <cstdint>

#define FD_NAME_MAX 1024  // characters of a file name or folder path

// The open-file dialog. must_exist: the file must exist; else the dialog
// offers to create a missing one.
int16_t FD_open_file(HWND owner, char *name /*FD_NAME_MAX + 1*/, const char *filter,
                     const char *initial_dir, const char *title, int16_t keep_dir,
                     int16_t must_exist);

// The open-file dialog with several files allowed; size counts the
// characters of name (at least 2, else an internal error). With one file
// chosen name holds its path; with several (Explorer form) the folder, a
// zero, each file name followed by a zero, and a second zero at the end.
int16_t FD_open_files(HWND owner, char *name, uint32_t size, const char *filter,
                      const char *initial_dir, const char *title, int16_t keep_dir,
                      int16_t must_exist);

// The save-file dialog; it asks before overwriting an existing file.
// default_ext (without the dot, may be null) is appended to a name typed
// without an extension.
int16_t FD_save_file(HWND owner, char *name /*FD_NAME_MAX + 1*/, const char *filter,
                     const char *initial_dir, const char *default_ext, int16_t keep_dir);

// The shell's folder browser, limited to file-system folders and not going
// below the domain level. 1 and the folder's path in path when the user picks
// a folder that has one; 0 otherwise (cancel, or a folder without a path such
// as "Control Panel"), path then left as it was. The item list the browser
// returns is freed through the shell's allocator in every case. A null path
// is an internal error and 0.
int16_t FD_choose_folder(HWND owner, const char *title, char *path /*FD_NAME_MAX + 1*/);
