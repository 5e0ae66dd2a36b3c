// Text buffer: an ordered list of owned text lines that a caller fills line
// by line and then shows. The lines occupy the slots from 0 upward without
// gaps; a line's slot number is its index.
//
// Status flags: 1 = success, 0 = failure. A null buffer is an internal error.
#pragma once
#include <cstdint>

#define TXT_MIN_HINT 100   // smallest size hint
#define TXT_STEP 100       // slots the table starts with and grows by

// One line: an owned text, never null (an empty text for none).
struct TXT_line {
    char *text;
};

struct TXT_buffer {
    int16_t count;       // lines
    int16_t capacity;    // slots of the table
    int16_t size_hint;   // at least TXT_MIN_HINT
    TXT_line **slots;    // MM_alloc, null until the first line
    int16_t modified;    // 1 once a line was added
};

// Makes the buffer empty (count 0, no slot table yet) with the size hint
// (raised to TXT_MIN_HINT). Whatever the record held before is not freed.
int16_t TXT_create(TXT_buffer *buffer, int16_t size_hint);
// Frees every line and the table; the buffer is empty afterwards and may
// be filled again. A null buffer is accepted.
void TXT_destroy(TXT_buffer *buffer);
// Appends a copy of text (null: an empty line); *slot (may be null) gets its
// slot number. Full table: a table TXT_STEP slots larger replaces it. No
// memory: the low-memory report, 0, the buffer unchanged.
int16_t TXT_add(TXT_buffer *buffer, const char *text, int16_t *slot);
// The line in the slot, or null for a free slot or an index outside the table.
TXT_line *TXT_get(const TXT_buffer *buffer, int16_t index);
