// "UNINST.LST": what an installation made, for the uninstall program, in the
// order it was made. Records of 1028 bytes: 0 kind u16 (0 file, 1 directory,
// 3 registry key under HKEY_LOCAL_MACHINE) | 2 path [1024], zero-terminated,
// every byte after the terminator up to offset 1025 a blank | 1026 zero |
// 1027 zero. Paths longer than 1024 characters are cut.
// Recording is process-wide: on between UNL_open and UNL_close. Each record
// is handed to the system as it is written (nothing waits in a buffer of the
// program), so the engine writes a record just before it makes the thing:
// whatever a killed installation left is named by the list, and only the
// list's last record can be cut short.
#pragma once
#include <cstdint>

enum : int16_t {
    UNL_RECORD_SIZE = 1028,
    UNL_PATH_MAX = 1024,
    UNL_KIND_FILE = 0,
    UNL_KIND_DIRECTORY = 1,
    UNL_KIND_REGISTRY_KEY = 3,
};

#define UNL_LIST_NAME "UNINST.LST"

// Creates (or empties) "UNINST.LST" in the current directory and switches
// recording on; when it cannot be opened recording stays off (the file layer
// has shown why). 1.
int16_t UNL_open();
// Closes the file; recording is off. 1.
int16_t UNL_close();
// 1 while recording is on.
int16_t UNL_recording();

// The record operations do nothing and give 1 while recording is off. A null
// path is an internal error: nothing is written, 0. 0 also when the write fails
// (the file layer has shown why).
// A file: directory + "\" + name + "\" + second (a null name or second is left
// out; no backslash is doubled).
int16_t UNL_add_file(const char *directory, const char *name = nullptr, const char *second = nullptr);
// A directory, stored without one trailing backslash.
int16_t UNL_add_directory(const char *path);
// A key path under HKEY_LOCAL_MACHINE, as given.
int16_t UNL_add_registry_key(const char *key_path);

// One record's bytes: the kind, the path cut at UNL_PATH_MAX characters, the
// terminator and the blanks, the two zero bytes (what the record operations write).
void UNL_encode_record(int16_t kind, const char *path, uint8_t record[UNL_RECORD_SIZE]);
// Reads one record back: its kind and its path (UNL_PATH_MAX + 1 bytes). 1
// when the record is as the writer makes it: a known kind, a path ended within
// its field (or filling it), blanks after the terminator, zero bytes at 1026
// and 1027. 0 otherwise, with *kind -1 and the path empty; a null argument is
// an internal error.
int16_t UNL_decode_record(const uint8_t bytes[UNL_RECORD_SIZE], int16_t *kind, char *path);
