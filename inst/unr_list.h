// The uninstall program's reading of "UNINST.LST" and its decision which
// records it may touch; no system call, so that both run (and are fuzzed)
// on every host. The removal itself is the Windows side's (insttrkp/unr.h).
//
// Paths are absolute ("X:\..."), without a trailing "\", compared without
// regard to case (Czech upper case of code page 1250).
#pragma once
#include <cstdint>

#include "inst/unl.h"

#define UNR_UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TRAKPRN"
#define UNR_RECORDS_MAX 16384   // records of a list; a longer list counts as damaged
#define UNR_PLACES_MAX 5

// The program's texts of what was left.
#define UNR_TEXT_OUTSIDE "Záznam mimo instalaci ponechán: %s"
#define UNR_TEXT_FAILED "Nelze odstranit: %s"
#define UNR_TEXT_LINKED "Záznam vede přes odkaz, ponechán: %s"
#define UNR_TEXT_MORE "... a další (%d)"

// What became of a record.
enum UNR_STATE : int16_t {
    UNR_PENDING = 0,   // not handled (yet)
    UNR_REMOVED,       // gone, also when it was missing already
    UNR_OUTSIDE,       // not a plain absolute path, or not in an allowed place: left in place
    UNR_FAILED,        // still there
    UNR_KEPT,          // a directory that still holds other files: kept, which is no failure
    UNR_OWN,           // the program's own file: removed by the copy after the program's end
    UNR_LINKED,        // reached through a link (a reparse point) below its place: left in place
};

struct UNR_RECORD {
    int16_t kind;    // UNL_KIND_...
    int16_t state;   // UNR_STATE
    char path[UNL_PATH_MAX + 1];
};

// The records of a list and, as one more file record at the end, the list
// itself; the memory is freed with the object.
class C_UNR_LIST {
public:
    C_UNR_LIST() = default;
    C_UNR_LIST(const C_UNR_LIST &) = delete;
    C_UNR_LIST &operator=(const C_UNR_LIST &) = delete;
    ~C_UNR_LIST();
    void clear();   // no records, the memory freed
    int32_t count = 0;
    UNR_RECORD *records = nullptr;   // MM_alloc, owned
    int16_t cut = 0;                 // 1: the last record was cut short (a killed writer) and left out
};

enum UNR_LOAD : int16_t {
    UNR_LOADED = 1,
    UNR_MISSING,      // no such file
    UNR_UNREADABLE,   // there, but it cannot be opened or read
    UNR_DAMAGED,      // empty, too long, or a whole record the writer cannot make
};

// The places a record may point to: the installation directory (which may
// go itself) and the shell folders (which stay; only what is inside them may go).
struct UNR_PLACES {
    int16_t count;
    char root[UNR_PLACES_MAX][UNL_PATH_MAX + 1];   // upper case
    int16_t itself[UNR_PLACES_MAX];                // 1: the root may be removed itself
};

// 1 when both texts name the same path, case aside (null: 0).
int16_t UNR_same_path(const char *a, const char *b);
// 1 for a plain absolute path: a drive letter, ":\", then names separated by
// one "\", none empty, ending with a dot or a blank (".", ".." and "..." too),
// holding a control character or one of / : < > " | ? * (so no stream "X:s"),
// or naming a device (CON, NUL, COM1, LPT1, ... with or without extension).
int16_t UNR_plain_path(const char *path);
// The installation directory of the program file: the parent of its folder,
// into dir (UNL_PATH_MAX + 1 bytes). 0 with dir "" when the program is not
// at least two levels below a drive's root.
int16_t UNR_install_dir(const char *program, char *dir);
// Adds one place (one trailing "\" is dropped); 0 when root is not plain or
// every slot is taken.
int16_t UNR_add_place(UNR_PLACES *places, const char *root, int16_t itself);
// The place a record of the kind lies in: a file or directory strictly inside
// a place (a directory also the root of a place that may go itself); -1 for
// none, for a registry key and for a path that is not plain.
int16_t UNR_place_of(const UNR_PLACES *places, int16_t kind, const char *path);
// 1 when a record of the kind may be removed: inside a place as above, or the
// registry key UNR_UNINSTALL_KEY itself.
int16_t UNR_allowed(const UNR_PLACES *places, int16_t kind, const char *path);

// The records of a list file's bytes (name: the list's full path, added as
// the last record). Whole records are checked one by one (UNL_decode_record);
// a rest shorter than a record is the record a killed writer cut: left out,
// with list->cut set. On UNR_LOADED the list holds its records, all pending;
// otherwise it is empty.
UNR_LOAD UNR_parse(const uint8_t *bytes, int64_t size, const char *name, C_UNR_LIST *list);

// The lines of what was left, one a line ("\n" between them), each record
// once (UNR_TEXT_OUTSIDE, UNR_TEXT_FAILED, UNR_TEXT_LINKED); at most max_lines
// of them, then UNR_TEXT_MORE with the number of the others. text holds size
// bytes; a line that does not fit whole is left out. The number of such records.
int32_t UNR_left_text(const C_UNR_LIST *list, int16_t max_lines, char *text, int32_t size);
// 1 for the states that leave a record in place against the list's will.
int16_t UNR_left(int16_t state);
