// File names: extensions, directory parts and DOS names built from patterns.
// The separator is the backslash; a name's extension is what follows the last
// "." of the part after the last backslash (it may be empty: "A." has one).
// Paths hold at most FN_MAX_PATH characters, so every path buffer written here
// holds FN_MAX_PATH + 1 bytes. A null argument raises WE_internal_error and
// gives 0 (or null) with nothing written.
#pragma once
#include <cstdint>

#define FN_MAX_PATH 1024

// Appends "." and ext when name has no extension, 1; else 0 and no change
// (also when the result would pass FN_MAX_PATH, with an internal-error report).
int16_t FN_add_ext(char *name, const char *ext);
// 1 when the name has an extension.
int16_t FN_has_ext(const char *name);
// Cuts the name at the "." of its extension, 1; 0 when there is none.
int16_t FN_drop_ext(char *name);
// The extension's text inside name (after the "."), or null when there is none.
const char *FN_ext(const char *name);
char *FN_ext(char *name);
// name := directory + "\" (unless directory ends with one) + name, 1. An empty
// directory gives 0 and no change; a result past FN_MAX_PATH gives 0 and no
// change with an internal-error report.
int16_t FN_add_dir(char *name, const char *directory);
// Splits a path into its drive and directory without a trailing backslash
// ("C:\A\B.TXT" -> "C:\A"; "C:\B.TXT" -> "C:"; "B.TXT" -> "") and its file name
// with extension ("B.TXT"). Either output may be null when not wanted. 1.
int16_t FN_split(const char *path, char *directory, char *name);
// 1 when the directory part of path equals directory, both upper-cased, a
// trailing backslash of directory ignored; else 0.
int16_t FN_same_dir(const char *path, const char *directory);
// Builds a DOS file name into out: name without ".", "\", "/", "*", "?", ":",
// "~", ",", ";", "|" and blanks takes the place of each "*" in the file part
// of pattern; the pattern's directory stays; the base is cut to 8 and the
// extension to 3 characters and the file part upper-cased; a leading "X:" of
// the current drive is removed (the path then starts at the root "\").
// 1; 0 when the result would pass FN_MAX_PATH (internal error, out empty).
int16_t FN_from_pattern(const char *pattern, const char *name, char *out);
