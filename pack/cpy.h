// Chunked file copy: one file byte for byte through a buffer whose size adapts
// to the memory that can be had (32767 bytes, halved down to 15 when needed).
// Not re-entrant: the buffer and the two streams are module-wide while a copy runs.
#pragma once
#include <cstdint>

// The suffix of the name a copy is written under until it is complete.
#define CPY_TEMPORARY_SUFFIX ".$$$"

// Copies source to destination; dates and attributes are not carried over.
// The bytes go to destination + CPY_TEMPORARY_SUFFIX (".$$_" when that is the
// source), which takes the destination's name, replacing an older file, only
// when complete: the destination is never seen half-written. 1 on success.
// 0 after a message of its own: " Málo paměti", "Nelze otevřít soubor %s"
// (source or destination), "Soubor %s nelze kopírovat sám na sebe" (both
// names lead to one file: nothing is opened for writing), "Chyba při
// kopírování (zapsaná délka != přečtené délce)", "Ze souboru %s nelze číst"
// (a read error) or "Do souboru %s nelze zapisovat (plný disk?)". A failed
// copy leaves the destination as it was and no temporary file.
int16_t CPY_copy_file(const char *source, const char *destination);
// As CPY_copy_file, and on success *source_size is the source's size as its
// open file tells and *landed the size the destination holds on the disk
// once its last bytes are written (a full disk may have let a write seem to
// succeed).
// 0xFFFFFFFF for a size that cannot be told (more than 32 bits), and both on
// failure. seen_missing 1: the caller has read the destination's folder and
// neither the destination nor its temporary name is there, so neither can be
// the source: the two look-ups that would tell are left out.
int16_t CPY_copy_file_sized(const char *source, const char *destination, uint32_t *source_size, uint32_t *landed,
                            int16_t seen_missing);

// Buffers larger than `largest` bytes count as unobtainable, as if memory were
// short (for tests of the adaptive buffer); 0 lifts the limit.
void CPY_set_buffer_limit(int32_t largest);
