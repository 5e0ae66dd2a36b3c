// The uninstall program's work on Windows: the list "UNINST.LST" of an
// installation loaded and checked whole before anything is touched (the
// reading and the decision which records may be touched: inst/unr_list.h);
// the places a record may point to; the removal in reverse order, never
// through a link; a partial removal that keeps its way back; and the removal
// of the program's own file, which a running program cannot delete, by a copy
// of it that waits for the program's end.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "inst/unr_list.h"

// The program's texts.
#define UNR_TITLE "Odinstalace TRAKPRN"
#define UNR_TEXT_QUESTION "Odstranit instalaci TRAKPRN z adresáře %s ?"
#define UNR_TEXT_MISSING "Soubor %s nenalezen"
#define UNR_TEXT_UNREADABLE "Seznam %s nelze přečíst"
#define UNR_TEXT_DAMAGED "Seznam %s je poškozen"
#define UNR_TEXT_NOTHING "Nic nebylo odstraněno."
#define UNR_TEXT_DONE "Instalace TRAKPRN byla odstraněna."
#define UNR_TEXT_PARTLY "Instalace TRAKPRN nebyla odstraněna celá:"
#define UNR_TEXT_AGAIN "Odinstalaci lze spustit znovu, až budou soubory uvolněny."
#define UNR_TEXT_CUT "Poslední záznam seznamu %s byl neúplný (přerušená instalace) a byl vynechán."

#define UNR_QUICK_LAUNCH "\\Microsoft\\Internet Explorer\\Quick Launch"   // below the "AppData" folder
#define UNR_INSTALL_LIST "INST.LST"
#define UNR_PROGRAM_NAME "UNINSTAL.EXE"
#define UNR_UNINSTALL_LINK "Odinstalace TRAKPRN.LNK"   // the Start menu's way to the program
#define UNR_HELPER_SWITCH "$z"      // the copy's private argument
#define UNR_PROGRAM_WAIT_MS 1500    // how long the copy tries to delete the ended program's file

// Empties places and adds the installation directory and the shell folders
// "Common Programs" (HKEY_LOCAL_MACHINE), "Programs", "Desktop" and the quick
// launch folder below "AppData" (HKEY_CURRENT_USER), each in its long form;
// a folder that cannot be read is left out. 0 when the installation
// directory is not plain.
int16_t UNR_find_places(const char *install_dir, UNR_PLACES *places);

// Reads the list file name (a full path) whole and checks it (UNR_parse).
// Shows nothing.
UNR_LOAD UNR_load(const char *name, C_UNR_LIST *list);

// Removes what the list names, in reverse order. Each file or directory
// record is taken in its long form; one that is not allowed is not touched
// (UNR_OUTSIDE), nor one reached through a reparse point below its place
// (UNR_LINKED): every name from the place down is looked at when it is
// deleted. With a file go the names it had while it was written (".$$$",
// ".$$_"), and "INST.LST" of the installation goes even when unrecorded
// (a killed installer records it last).
// Registry keys and files first, then the directories that are empty, the
// deepest first. Then, when nothing else was left: the way back goes too
// (the Uninstall key, the Start menu's uninstall link, the list), the
// program's own file through UNR_remove_later (UNR_OWN; UNR_FAILED when the
// copy cannot start), and the result is 1. Otherwise the way back stays
// (UNR_KEPT), the list is rewritten to hold exactly the records still there
// (whole, through a temporary file and a rename), and the result is 0.
int16_t UNR_remove(C_UNR_LIST *list, const UNR_PLACES *places, const char *install_dir, const char *program);

// The identity of a file (volume, index, size, time of last writing) as a
// text; "" when it cannot be read.
std::string UNR_identity(const char *path);
// Starts a copy of the program file in the temporary folder that waits for
// this process to end, then deletes the program file, if it is still the
// very file it was now (the same identity, size and time of writing: never a
// newer one of the same name), and removes its folder and that folder's
// parent when they are empty; the copy's own file goes when the copy ends.
// 1 when the copy runs.
int16_t UNR_remove_later(const char *program);
// The copy's work, with its arguments after UNR_HELPER_SWITCH: the handle of
// the process to wait for (a decimal number, inherited), the program file,
// which must be named UNR_PROGRAM_NAME, and its identity as UNR_remove_later
// wrote it. The exit code: 0 when that file is gone.
int32_t UNR_helper(const char *process, const char *program, const char *identity);
