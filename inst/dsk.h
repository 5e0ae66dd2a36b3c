// Disk label files: "A.KRV" on the first disk, "B.KRV" on the second, ...
// Each line is a keyword, white space and a value:
//   "DISK:" number of the disk from 1 | "DISK_SET:" set number | "USER:" set user name
#pragma once
#include <cstdint>

struct IFL_state;

#define DSK_KEY_DISK "DISK:"
#define DSK_KEY_SET "DISK_SET:"
#define DSK_KEY_USER "USER:"

// The disk the engine expects (0 = first); set before DSK_check_label.
extern int16_t DSK_disk_index;

// The label file name of a disk index 0 to 25 ("A.KRV" ...) into out (6 bytes
// at least). 0 (internal error, out empty) for another index.
int16_t DSK_label_name(int16_t disk_index, char *out);
// 1 when the label file of disk DSK_disk_index exists in the state's source
// directory and all its lines agree with the state's header. 0 otherwise, after
// the messages: "Nesprávná disketa" (no label), "Nesprávné pořadové číslo
// diskety (%d)", "Disketa je z jiné série" (one per disagreeing line),
// "Neznámé klíčové slovo v souboru %s" (ends the reading). Empty lines pass.
int16_t DSK_check_label(const IFL_state *state);
