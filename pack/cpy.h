// Chunked file copy: one file byte for byte through a buffer whose size adapts
// to the memory that can be had (32767 bytes, halved down to 15 when needed).
// Not re-entrant: the buffer and the two streams are module-wide while a copy runs.
#pragma once
#include <cstdint>

// Copies source to destination (created or emptied); dates and attributes are
// not carried over. 1 on success. 0 after a message of its own: " Málo paměti",
// "Nelze otevřít soubor %s" (source or destination), "Chyba při kopírování
// (zapsaná délka != přečtené délce)", "Ze souboru %s nelze číst" (a read error)
// or "Do souboru %s nelze zapisovat (plný disk?)" (the destination could not be
// completed). A failed copy leaves no destination behind.
int16_t CPY_copy_file(const char *source, const char *destination);

// Buffers larger than `largest` bytes count as unobtainable, as if memory were
// short (for tests of the adaptive buffer); 0 lifts the limit.
void CPY_set_buffer_limit(int32_t largest);
