// The uninstall program's work (Windows build): the list "UNINST.LST" of an
// installation, loaded and checked whole before anything is touched; the
// places a record may point to; the removal in reverse order; and the
// removal of the program's own file, which a running program cannot delete,
// by a copy of it that waits for the program's end.
//
// Paths are absolute ("X:\..."), without a trailing "\", compared without
// regard to case (Czech upper case of code page 1250).
#pragma once
#include <windows.h>

#include <cstdint>

#include "inst/unl.h"
#include "win/guard.h"

// The program's texts.
#define UNR_TITLE "Odinstalace TRAKPRN"
#define UNR_TEXT_QUESTION "Odstranit instalaci TRAKPRN z adresáře %s ?"
#define UNR_TEXT_MISSING "Soubor %s nenalezen"
#define UNR_TEXT_UNREADABLE "Seznam %s nelze přečíst"
#define UNR_TEXT_DAMAGED "Seznam %s je poškozen"
#define UNR_TEXT_NOTHING "Nic nebylo odstraněno."
#define UNR_TEXT_DONE "Instalace TRAKPRN byla odstraněna."
#define UNR_TEXT_PARTLY "Instalace TRAKPRN nebyla odstraněna celá:"
#define UNR_TEXT_OUTSIDE "Záznam mimo instalaci ponechán: %s"
#define UNR_TEXT_FAILED "Nelze odstranit: %s"
#define UNR_TEXT_MORE "... a další (%d)"

#define UNR_UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TRAKPRN"
#define UNR_QUICK_LAUNCH "\\Microsoft\\Internet Explorer\\Quick Launch"   // below the "AppData" folder
#define UNR_INSTALL_LIST "INST.LST"
#define UNR_PROGRAM_NAME "UNINSTAL.EXE"
#define UNR_HELPER_SWITCH "$z"      // the copy's private argument
#define UNR_RECORDS_MAX 16384       // records of a list; a longer list counts as damaged
#define UNR_PLACES_MAX 5
#define UNR_PROGRAM_WAIT_MS 1500    // how long the copy tries to delete the ended program's file

// What became of a record.
enum UNR_STATE : int16_t {
    UNR_PENDING = 0,   // not handled (yet)
    UNR_REMOVED,       // gone, also when it was missing already
    UNR_OUTSIDE,       // not a plain absolute path, or not in an allowed place: left in place
    UNR_FAILED,        // still there
    UNR_KEPT,          // a directory that still holds other files: kept, which is no failure
    UNR_OWN,           // the program's own file: removed by the copy after the program's end
};

struct UNR_RECORD {
    int16_t kind;                  // UNL_KIND_...
    int16_t state;                 // UNR_STATE
    char path[UNL_PATH_MAX + 1];
};

// The records of a list and, as one more file record at the end, the list
// itself; the memory is freed with the object.
class C_UNR_LIST : C_GUARD {
public:
    C_UNR_LIST() = default;
    ~C_UNR_LIST();
    int32_t count = 0;
    UNR_RECORD *records = nullptr;   // MM_alloc, owned
};

enum UNR_LOAD : int16_t {
    UNR_LOADED = 1,
    UNR_MISSING,      // no such file
    UNR_UNREADABLE,   // there, but it cannot be opened or read
    UNR_DAMAGED,   // empty, not a whole number of records, too long, or a record the writer cannot make
};

// The places a record may point to: the installation directory (which may
// go itself) and the shell folders (which stay; only what is inside them may go).
struct UNR_PLACES {
    int16_t count;
    char root[UNR_PLACES_MAX][UNL_PATH_MAX + 1];   // upper case
    int16_t itself[UNR_PLACES_MAX];                // 1: the root may be removed itself
};

// The installation directory of the program file: the parent of its folder,
// into dir (UNL_PATH_MAX + 1 bytes). 0 with dir "" when the program is not
// at least two levels below a drive's root.
int16_t UNR_install_dir(const char *program, char *dir);
// 1 for a plain absolute path: a drive letter, ":\", then names separated by
// one "\", none empty, ending with a dot or a blank (".", ".." and "..." too)
// or holding a control character or one of / : < > " | ? *.
int16_t UNR_plain_path(const char *path);

// Empties places and adds the installation directory and the shell folders
// "Common Programs" (HKEY_LOCAL_MACHINE), "Programs", "Desktop" and the quick
// launch folder below "AppData" (HKEY_CURRENT_USER); a folder that cannot be
// read is left out. 0 when the installation directory is not plain.
int16_t UNR_find_places(const char *install_dir, UNR_PLACES *places);
// Adds one place (one trailing "\" is dropped); 0 when root is not plain or
// every slot is taken.
int16_t UNR_add_place(UNR_PLACES *places, const char *root, int16_t itself);
// 1 when a record of the kind may be removed: a file or directory strictly
// inside a place (a directory also the root of a place that may go itself),
// the registry key UNR_UNINSTALL_KEY itself.
int16_t UNR_allowed(const UNR_PLACES *places, int16_t kind, const char *path);

// Reads the list file name (a full path) whole and checks every record. On
// UNR_LOADED the list holds its records, all pending, and the list itself;
// otherwise it is empty. Shows nothing.
UNR_LOAD UNR_load(const char *name, C_UNR_LIST *list);

// Removes what the list names, in reverse order: registry keys and files,
// then the installation's INST.LST and the list itself, then the directories
// that are empty, the deepest first; when the program's own file is
// recorded, UNR_remove_later takes it over (UNR_OWN, or UNR_FAILED when the
// copy cannot start). A record that is not allowed is not touched. Every
// record's state tells what became of it. 1 when nothing is left that counts
// (UNR_OUTSIDE and UNR_FAILED count; UNR_KEPT and UNR_OWN do not).
int16_t UNR_remove(C_UNR_LIST *list, const UNR_PLACES *places, const char *install_dir, const char *program);
// The lines of what was left, one a line ("\n" between them), each record
// once (UNR_TEXT_OUTSIDE, UNR_TEXT_FAILED); at most max_lines of them, then
// UNR_TEXT_MORE with the number of the others. text holds size bytes; a line
// that does not fit whole is left out. The number of such records.
int32_t UNR_left_text(const C_UNR_LIST *list, int16_t max_lines, char *text, int32_t size);

// Starts a copy of the program file in the temporary folder that waits for
// this process to end, then deletes the program file and removes its folder
// and that folder's parent when they are empty; the copy's own file goes
// when the copy ends. 1 when the copy runs.
int16_t UNR_remove_later(const char *program);
// The copy's work, with its arguments after UNR_HELPER_SWITCH: the handle
// of the process to wait for (a decimal number, inherited) and the program
// file, which must be named UNR_PROGRAM_NAME. The exit code: 0 when the
// program file is gone.
int32_t UNR_helper(const char *process, const char *program);
