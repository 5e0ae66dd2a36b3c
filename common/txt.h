// Text buffer: an ordered list of owned text lines that a caller fills (line
// by line or from a text file) and then shows (swin/txtw.h) or saves. The
// lines occupy the slots from 0 upward without gaps; a line's slot number is
// its index.
//
// Status flags: 1 = success, 0 = failure. A null buffer (or name, or format)
// is an internal error.
#pragma once
#include <cstdint>

#include "common/config.h"

#define TXT_MIN_HINT 100      // smallest size hint
#define TXT_STEP 100          // slots the table starts with and grows by
#define TXT_FORMAT_MAX 407    // characters of a line made by TXT_add_format
#define TXT_LINE_MAX 250      // characters of a line read from or written to a file

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
// Formats at most TXT_FORMAT_MAX characters and appends them as TXT_add does.
int16_t TXT_add_format(TXT_buffer *buffer, const char *format, ...) TRK_PRINTF(2, 3);
// Frees the line at index (below the count, else an internal error and 0)
// and moves every later line one slot down.
int16_t TXT_delete(TXT_buffer *buffer, int16_t index);
// Frees every line; the table stays for the next lines.
int16_t TXT_clear(TXT_buffer *buffer);

// Walk over the lines in slot order:
//     int16_t cursor;
//     if (TXT_first(buffer, &cursor))
//         while (TXT_line *line = TXT_next(buffer, &cursor)) ...
// TXT_first sets the cursor before the first slot; 1 when there are lines.
int16_t TXT_first(const TXT_buffer *buffer, int16_t *cursor);
// The next line after the cursor, the cursor moved onto it; null at the end.
TXT_line *TXT_next(const TXT_buffer *buffer, int16_t *cursor);

// Replaces the lines by those of the text file (file layer, mode 1; a line is
// read in pieces of at most FI_LINE_READ_MAX characters). A missing file (or
// a directory): 0 without a message, the buffer unchanged. A file that cannot
// be opened: the file layer's message, 0, the buffer unchanged. No memory for
// a line: the low-memory report and 0, the lines read before it kept.
int16_t TXT_load(TXT_buffer *buffer, const char *name);
// Creates the file (file layer, mode 2) and writes every line as a text line
// (cut to FI_LINE_WRITE_MAX characters by that layer, a CR LF after each).
int16_t TXT_save(const TXT_buffer *buffer, const char *name);
// The same with each line cut to TXT_LINE_MAX characters and converted from
// CP1250 to code_page (CZ_KEYBCS2 .. CZ_ASCII of common/cz.h; CZ_CP1250: as
// it is). A write that fails ends the save at that line: the file layer has
// shown its message, the lines before it stay in the file, the result is 0.
int16_t TXT_save_code_page(const TXT_buffer *buffer, const char *name, int16_t code_page);
