// The disk: existence, directories, drives, sizes and times, copy, rename and
// removal of files, free space. Names are suite paths ("\" separators, at most
// FN_MAX_PATH characters); the native build maps them to the host's form at
// the system call (SYS_host_path) and gives directories it reads back with "\".
// Drives exist on Windows only: elsewhere every drive operation answers
// "not ready" (0). A null argument raises WE_internal_error and gives 0.
// Nothing here shows a user message.
#pragma once
#include <cstdint>
#include <cstdio>

// 1 when the file or directory exists.
int16_t FE_exists(const char *name);
// 1 when path names a directory (also given with or without a trailing "\").
int16_t FE_dir_exists(const char *path);
// Creates the directory and every missing parent; 1 when it exists afterwards.
int16_t FE_make_path(const char *path);
// Removes an existing empty directory (a trailing "\" is dropped); 1 on success.
int16_t FE_remove_dir(const char *path);
// Makes path the current directory; 1 on success.
int16_t FE_change_dir(const char *path);
// As FE_change_dir; a path beginning with a drive letter (either case) and ":"
// selects that drive first (a drive that cannot be selected is an internal
// error, 0), then changes to the rest (nothing more for "X:" alone).
int16_t FE_change_dir_drive(const char *path);
// The current directory into out (FN_MAX_PATH + 1 bytes); 1, or 0 with out empty.
int16_t FE_get_dir(char *out);
// The current drive number (0 = A), or -1 on a host without drives.
int16_t FE_get_drive();
// Selects drive number drive (0 = A); 1 when it is then the current drive.
int16_t FE_set_drive(int16_t drive);
// 1 when the drive could be selected; the current drive and directory are kept.
int16_t FE_drive_ready(int16_t drive);
// The full path of name into out of size bytes; a result that does not fit is
// an internal error (0, out empty).
int16_t FE_full_path(const char *name, char *out, int16_t size);
// The one spelling of an absolute path "X:..." into out (size bytes): blanks
// before it dropped, "/" and "\" alike, separators in a row as one, blanks around each name removed,
// "." dropped and ".." going up (never above the root), then, on Windows, the
// long names of the part that exists. The result is "X:\" or "X:\name\...\name",
// without a trailing separator. strict: a path that needs any of these
// changes except the separators and the long names is refused instead (a
// record of the uninstall program is taken only as written). 0 (out empty)
// for a path without a drive letter, a name ending with a dot or a blank, a
// name made of dots only other than "." and "..", or a result that does not fit.
int16_t FE_canonical_path(const char *path, int16_t strict, char *out, int16_t size);
// The size of a file in bytes, 1; a missing file (or a directory, or a file
// too large for 32 bits) gives 0 and size 0xFFFFFFFF.
int16_t FE_file_size(const char *name, uint32_t *size);
// The size of the open file of stream (what it holds on the disk: flushed
// bytes only), 1; as FE_file_size otherwise (0, size 0xFFFFFFFF).
int16_t FE_stream_size(FILE *stream, uint32_t *size);
// Hands every name in directory ("." and ".." left out; on Windows also the
// short form of a long name) to take; 1 when the directory could be read
// (also when empty), 0 when it could not (nothing handed on).
int16_t FE_list_names(const char *directory, void (*take)(const char *name, void *context), void *context);
// 1 when both exist and a's modification time is not later than b's.
int16_t FE_not_newer(const char *a, const char *b);
// Copies source to target in blocks of 1024 bytes; 0 when either cannot be
// opened, a read or write fails or is short, or both name the same file. A
// failed copy leaves no target behind (it was emptied when opened anyway).
int16_t FE_copy_file(const char *source, const char *target);
// 1 when both names exist and lead to one file or directory (the same
// identity on the disk, whatever the spelling); 0 otherwise. b is looked up
// first: a name that is usually missing costs least as b.
int16_t FE_same_file(const char *a, const char *b);
// Renames old_name to new_name; 1 on success (an existing new_name: the
// system's rule, a failure on Windows).
int16_t FE_rename(const char *old_name, const char *new_name);
// Renames old_name to new_name, replacing an older file of new_name in one
// step; 1 on success. On a failure (old_name missing, either name in use)
// both files stay as they were.
int16_t FE_rename_over(const char *old_name, const char *new_name);
// Removes the file (not a directory); 1 on success.
int16_t FE_remove(const char *name);
// Free space on the disk holding directory (Windows: a drive root such as
// "C:\" is safe on every version): free bytes for the caller and the size of
// one allocation unit. 1, or 0 with both outputs 0 when the system cannot tell.
int16_t FE_disk_space(const char *directory, uint64_t *free_bytes, uint32_t *cluster_size);
