// The distribution list "DISKLIST.LST" and the installation state.
//
// File format (little-endian, CP1250 texts zero-terminated within their fields):
//   header, 92 bytes: 0 u16 not used | 2 user name [82] (80 characters read) |
//     84 u16 not used | 86 record count u16 | 88 set number i16 | 90 packed flag i16
//   record, 140 bytes, record count of them after the header: 0 target file
//     name [17] | 17 source file name [17] | 34 target subdirectory [17]
//     (names of 16 characters fill the field without terminator) | 51 padding |
//     52 size u32 | 56 disk index i16 (0 = first disk) | 58 description [82]
//   Bytes after the last record are not read.
#pragma once
#include <cstdint>

class C_FILE;

enum : int16_t {
    IFL_HEADER_SIZE = 92,
    IFL_RECORD_SIZE = 140,
    IFL_NAME_MAX = 16,      // target name, source name, subdirectory
    IFL_TEXT_MAX = 80,      // user name, description
    IFL_PATH_MAX = 1024,    // source and target directory
    IFL_DISKS_MAX = 26,     // label files A.KRV to Z.KRV
};

#define IFL_LIST_NAME "DISKLIST.LST"
#define IFL_INST_LIST_NAME "INST.LST"

// The installation state: made by IFL_create, owned by the installer window,
// lent to the engine for one installation.
struct IFL_state {
    // header copy
    int16_t header_value_0;           // offset 0, not used by the installer
    char user_name[IFL_TEXT_MAX + 1];
    int16_t header_value_84;          // offset 84, not used by the installer
    uint16_t record_count;
    int16_t set_number;
    int16_t packed;                   // 0 plain copies, else every file is one zlib stream
    // current record copy
    char target_name[IFL_NAME_MAX + 1];
    char source_name[IFL_NAME_MAX + 1];
    char target_subdir[IFL_NAME_MAX + 1];   // "." for the installation directory itself
    uint32_t size;                    // installed size in bytes
    int16_t disk_index;
    char description[IFL_TEXT_MAX + 1];
    // directories, both ending with a backslash; the target begins with "X:"
    char source_dir[IFL_PATH_MAX + 1];
    char target_dir[IFL_PATH_MAX + 1];
    int16_t desktop_shortcut;         // 1 = make the shortcut
    int16_t quick_launch_shortcut;    // 1 = make the shortcut
    C_FILE *list;                     // open "DISKLIST.LST", owned; null when closed
    uint16_t records_read;            // since the header was last read (up to 65535)
};

// Makes a cleared state: source directory = the program's own directory in
// upper case, target "C:\KRV5\", no shortcuts, no list. 0 when memory is short.
int16_t IFL_create(IFL_state **state);
// Closes the list, frees the state, sets *state to null; null *state: nothing. 1.
int16_t IFL_destroy(IFL_state **state);
// Closes and ends the list file object if one is open; 1.
int16_t IFL_close_list(IFL_state *state);
// Opens the given list file in place of "DISKLIST.LST" of the current
// directory (a list already open is closed first). 0 when it cannot be opened
// (the file layer has shown why).
int16_t IFL_open_list(IFL_state *state, const char *path);
// Opens "DISKLIST.LST" (current directory) unless a list is open, reads the
// header into the state and starts a pass: records read 0. 0 when the file
// cannot be opened or the header is short.
int16_t IFL_read_header(IFL_state *state);
// Reads the next record into the state. 0 at the end of the list (records read
// = record count) and at a short read, which ends the pass as if the list ended
// there (the file layer has shown "Ze souboru %s nelze číst").
int16_t IFL_next_record(IFL_state *state);

// Field-by-field coding of the two binary records (the reader above and the
// tool that makes distributions). Decoding never reads past the given size.
void IFL_decode_header(IFL_state *state, const uint8_t bytes[IFL_HEADER_SIZE]);
void IFL_decode_record(IFL_state *state, const uint8_t bytes[IFL_RECORD_SIZE]);
void IFL_encode_header(const IFL_state *state, uint8_t bytes[IFL_HEADER_SIZE]);
void IFL_encode_record(const IFL_state *state, uint8_t bytes[IFL_RECORD_SIZE]);

// Safety of the names of a record: 1 when the name is one plain file or
// directory name that stays inside its directory: not empty, no "\", "/" or
// ":", not made of dots only ("." is accepted where allow_dot is 1: the target
// subdirectory). No message.
int16_t IFL_safe_name(const char *name, int16_t allow_dot);
// 1 when the current record is safe: its three names pass IFL_safe_name, in a
// packed list the name on the disk is not the target name (case aside: the
// unpacking would replace the packed file by its own output), and its disk
// index has a label letter (0 to 25). Otherwise the error box
// "Nepřípustný záznam %u souboru DISKLIST.LST: %s \"%s\"" (record number from
// 1, the field, its value) and 0. Nothing is read.
int16_t IFL_check_record(const IFL_state *state);
// One whole pass over the list, every record checked as above; the engine calls
// it before it writes anything. 1 when the header and every record were read
// and are safe; 0 after the first message (an unreadable header shows
// "Chybná cesta/soubor nenalezen: %s"). Leaves the list open, to be read again
// from its header.
int16_t IFL_check_list(IFL_state *state);

// The place of the current record in the installation: the target directory,
// plus the subdirectory and "\" unless it is "."; out holds IFL_PATH_MAX + 1
// bytes. 0 (out empty) when the result would be longer than IFL_PATH_MAX.
int16_t IFL_place(const IFL_state *state, char *out);
// The installed path of the current record: place + target file name; as above.
int16_t IFL_installed_path(const IFL_state *state, char *out);
// Writes the current record's line of "INST.LST" into the open text file: the
// installed path, one blank, the description (the line writer cuts at 160
// characters). 1 when written.
int16_t IFL_write_inst_line(C_FILE *inst_list, const IFL_state *state);
