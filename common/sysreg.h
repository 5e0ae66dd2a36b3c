// The registry (Windows build): text values of a key under a root key.
// Status flags: 1 = done, 0 = not.
#pragma once
#include <windows.h>

#include <cstdint>

// A text value (REG_SZ or REG_EXPAND_SZ) into text (size bytes, always
// terminated, also when the stored text is not); 0 and "" when the key or
// the value cannot be read.
int16_t SYS_registry_read(HKEY root, const char *key, const char *value, char *text, uint32_t size);
// Creates the key when it is missing and sets the value to text (REG_SZ,
// with its terminator).
int16_t SYS_registry_write(HKEY root, const char *key, const char *value, const char *text);
// Writes the root's changes to the disk.
int16_t SYS_registry_flush(HKEY root);
// Removes a key that has no subkeys.
int16_t SYS_registry_delete_key(HKEY root, const char *key);
// 0 when the system says there is no such key; 1 otherwise (also for a key
// that is there but cannot be opened).
int16_t SYS_registry_key_exists(HKEY root, const char *key);
