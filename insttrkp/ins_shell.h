// The installation's place in the Windows shell: the Start menu group
// "TOREVAN" with its two shortcuts, the optional desktop and Quick Launch
// shortcuts, and the Uninstall entry of the registry. Everything made is
// recorded in "UNINST.LST" while its recording is on (inst/unl.h).
// Called by the engine after the files and "SYSTEM.WCO" are in place; every
// failure is reported here, and the engine does not look at the results.
// The shortcut operations leave the current directory in the folder they
// wrote to.
#pragma once
#include <windows.h>

#include <cstdint>

#define INS_GROUP_NAME "TOREVAN"
#define INS_PROGRAM_LINK "TRAKPRN.LNK"
#define INS_UNINSTALL_LINK "Odinstalace TRAKPRN.LNK"
#define INS_UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TRAKPRN"

// The group in the Programs folder (all users on Windows NT, the current user
// on 95 and 98) with the program's and the uninstall program's shortcuts;
// a missing program is reported and its shortcut still made. 0 when the
// folder is not known or cannot be entered.
int16_t INS_update_start_menu();
// The program's shortcut on the desktop; 0 at once when not chosen, 0 when the
// folder is not known or cannot be entered.
int16_t INS_update_desktop();
// The program's shortcut in the Quick Launch bar; 0 at once when not chosen,
// 0 when the folder is not known or does not exist (it is not created).
int16_t INS_update_quick_launch();
// The Uninstall entry (DisplayName, UninstallString: the uninstall program,
// quoted when its path holds a blank); write failures are reported. 1.
int16_t INS_register_uninstall();
// The Quick Launch folder (whether it exists or not) into folder
// (INS_PATH_MAX + 1 bytes); 0, reported, when the Application Data folder
// is not known.
int16_t INS_quick_launch_folder(char *folder);
// Makes the link file name (relative: in the current directory) to program,
// or updates an existing one in place; each step that fails is reported with
// the description. 1.
int16_t INS_make_shortcut(const char *name, const char *program, const char *description, const char *directory);
// Creates subkey under root when missing and sets its text value name; 1, or
// 0 when the key cannot be created or the value not set.
int16_t INS_set_registry_string(HKEY root, const char *subkey, const char *name, const char *text);
