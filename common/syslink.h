// Shell links (".LNK" files, Windows build), made and read through the
// shell's COM objects; each call brackets its COM use with its own
// initialisation.
#pragma once
#include <cstdint>

#define SYS_LINK_TEXT_MAX 1023   // characters of a path or a description

// What SYS_make_link could not do: bits, 0 when everything was done.
enum SYS_LINK_FAULTS : int16_t {
    SYS_LINK_NO_OBJECT = 0x01,     // no link object: nothing else was tried
    SYS_LINK_NO_FILE = 0x02,       // no file interface: nothing set, nothing saved
    SYS_LINK_PATH = 0x04,
    SYS_LINK_DESCRIPTION = 0x08,
    SYS_LINK_DIRECTORY = 0x10,
    SYS_LINK_SAVE = 0x20,
};

// Makes the link file name to program, or updates an existing one in place;
// after a failed step the next ones are still tried.
int16_t SYS_make_link(const char *name, const char *program, const char *description, const char *directory);
// Reads a link back: its program, description and working directory (each
// SYS_LINK_TEXT_MAX + 1 bytes). 0 when the file is not a readable link.
int16_t SYS_read_link(const char *name, char *program, char *description, char *directory);
