// File layer: every file and memory stream of the program is read and written
// through one kind of object, C_FILE, made by FI_create and ended by
// FI_destroy. The layer shows every user-facing failure itself, in Czech
// (for example "Soubor %s nelze otevřít"); callers only test the status flag.
//
// Status flags: 1 = success, 0 = failure. A null argument, a count below 1 or
// a mode that does not allow the operation raises the internal-error report
// and fails; an operation on a closed object raises the unexpected-case
// (switch) report and fails.
//
// Text modes (1 to 4) are byte streams underneath: lines are written with
// CR LF on every platform and read with CR LF or LF; FI_write and FI_read in
// a text mode turn LF into CR LF and CR LF into LF, as a text stream does.
// Binary files and memory streams hold items: an 8-byte header (4-byte tag,
// 4-byte little-endian length) followed by the data.
#pragma once
#include <cstdint>
#include <cstdio>

// Open modes.
enum : int16_t {
    FI_CLOSED = 0,
    FI_TEXT_READ = 1,          // "rt": lines
    FI_TEXT_CREATE = 2,        // "w+t": writes lines, reads text items
    FI_TEXT_CREATE_RW = 3,     // "w+t": lines both ways
    FI_TEXT_UPDATE = 4,        // "r+t": lines both ways
    FI_BIN_READ = 5,           // "rb"
    FI_BIN_CREATE = 6,         // "wb"
    FI_BIN_CREATE_RW = 7,      // "w+b"
    FI_BIN_UPDATE = 8,         // "r+b"
    FI_MEM_COUNT = 9,          // counts the length of what is written, keeps nothing
    FI_MEM_READ = 10,          // reads a buffer (lent by the caller or left by mode 11)
    FI_MEM_WRITE = 11,         // writes into a growing buffer owned by the object
    FI_MODE_LAST = 14,         // 12 to 14 are reserved: opening one is an internal error
};

#define FI_NAME_MAX 1024        // characters of a file name, without the terminator
#define FI_HEADER_SIZE 82       // bytes of a header record
#define FI_LINE_READ_MAX 200    // characters of one line read
#define FI_LINE_WRITE_MAX 160   // characters of one line written (longer ones are cut)
#define FI_MEMORY_STEP 20000    // a mode-11 buffer starts with and grows by this many bytes
#define FI_STAT_ENTRIES 25      // open files the statistics keep track of
#define FI_STAT_FILE "DATA.FI"  // statistics log, in the current directory

// Item tags (little-endian on disk: 84 03 0A 00 and 20 03 0A 00).
#define FI_TAG_TEXT 0x000A0384u
#define FI_TAG_BLOCK 0x000A0320u

// The first 21 bytes of a design file ("R4400 Design file ", CR, LF, 0x1A),
// followed in the file by a zero byte; a design file is at least 80 bytes long.
extern const char FI_DESIGN_TEXT[];

// One file or memory stream. Only FI_create makes one and only FI_destroy
// ends one (constructor and destructor are private). The fields may be read;
// they change only through the operations below.
class C_FILE {
public:
    int16_t mode;                        // 0 = closed, else the open mode
    char name[FI_NAME_MAX + 1];
    uint8_t header[FI_HEADER_SIZE];      // the last header record read or written
    FILE *stream;                        // null unless a file mode is open
    int32_t data_start;                  // position just after the last header record
    int16_t memory;                      // 1 while a memory mode (9 to 11) is open
    int32_t mem_position;
    int32_t mem_length;                  // highest position written (high-water mark)
    int32_t mem_capacity;
    uint8_t *mem_buffer;                 // lent (mode 10) or owned (mem_owned)
    int16_t mem_owned;                   // 1 when FI_destroy must free mem_buffer
    int16_t last_io;                     // 0, 1 read, 2 write: a stream must be seeked between the two
    int16_t write_failed;                // 1 once a write to the open file failed (and was shown)

    C_FILE(const C_FILE &) = delete;
    C_FILE &operator=(const C_FILE &) = delete;

private:
    C_FILE() = default;
    ~C_FILE() = default;
    friend int16_t FI_create(C_FILE **file, const char *name);
    friend int16_t FI_destroy(C_FILE **file);
};

// A new closed object with the name (null: empty) in *file; on failure *file
// is null (low-memory report; a name longer than FI_NAME_MAX is an internal error).
int16_t FI_create(C_FILE **file, const char *name);
// Closes an open file (it is not removed), frees a buffer the object owns,
// frees the object and sets *file to null.
int16_t FI_destroy(C_FILE **file);
// Replaces the name (used by the next open); longer than FI_NAME_MAX: internal error.
int16_t FI_set_name(C_FILE *file, const char *name);

// Opens in mode 1 to 14 (see the enum). A file mode opens the named file and
// shows "Soubor %s nelze otevřít" when it cannot; a failed open leaves the
// object closed. Mode 10 reads the buffer the object holds (lent by
// FI_open_memory or left by mode 11); mode 11 starts a new buffer of
// FI_MEMORY_STEP bytes. An object whose file is open must be closed first.
int16_t FI_open(C_FILE *file, int16_t mode);
// FI_create and FI_open in one: on any failure *file is null and nothing stays open.
int16_t FI_create_open(C_FILE **file, const char *name, int16_t mode);
// As FI_create_open in FI_BIN_CREATE, for a file under a temporary name:
// FI_rename_open can give it its name while it is open (until it is closed,
// nobody else can open it).
int16_t FI_create_open_new(C_FILE **file, const char *name);
// Lends the buffer of size bytes (not owned, never written) and opens mode 10.
int16_t FI_open_memory(C_FILE *file, const void *buffer, int32_t size);
// Closes a file mode (a failed final flush shows the write message, unless a
// write already failed and was shown; a file with a failed write gives 0 too); with remove set the named file is removed afterwards, also when nothing
// was open. Closing a memory mode changes nothing: it stays readable/writable.
int16_t FI_close(C_FILE *file, int16_t remove);
// Flushes a file stream (failure: the write message and 0); memory modes: 1.
int16_t FI_flush(C_FILE *file);
// Gives a file of FI_create_open_new the name new_name while it stays open
// (file->name follows); 1 when it has it. 0, with nothing shown, when it
// cannot have it so (the name is taken, another file): it keeps its name.
int16_t FI_rename_open(C_FILE *file, const char *new_name);

// Positions are byte offsets from the start; -1 on failure.
int32_t FI_tell(C_FILE *file);
// The size in bytes; leaves the position at the end (memory modes: the length).
int32_t FI_size(C_FILE *file);
// Absolute seek; in a memory mode a position past the length raises the
// length to it (mode 11 grows its buffer so that it holds the length).
int16_t FI_seek(C_FILE *file, int32_t position);
// Relative seek; file modes only (memory modes: internal error and 0).
int16_t FI_skip(C_FILE *file, int32_t distance);

// Reads exactly count bytes; a short read shows "Ze souboru %s nelze číst"
// in a file mode and fails silently in mode 10 (past the capacity).
int16_t FI_read(C_FILE *file, void *buffer, int32_t count);
// Reads up to count bytes from a file (not a memory mode); *done gets the
// number read. Fails, without a message, only when nothing at all was read.
int16_t FI_read_some(C_FILE *file, void *buffer, int32_t count, int32_t *done);
// Writes exactly count bytes; a short write shows
// "Do souboru %s nelze zapisovat (plný disk?)". Mode 9 only counts.
int16_t FI_write(C_FILE *file, const void *buffer, int32_t count);

// Modes 1, 3, 4: reads one line (at most FI_LINE_READ_MAX characters, line end
// removed; a longer line continues in the next call unless only blanks and
// tabs follow up to its end) into buffer, cut to maximum characters (buffer
// holds maximum + 1); 0 without a message at end of file. Modes 2, 5 to 8 and 10: reads one text item; an item longer than
// maximum is an internal error (nothing after its header is read); the
// buffer is filled with blanks to maximum and terminated after the text.
int16_t FI_read_text(C_FILE *file, char *buffer, int16_t maximum);
// Reads one text item (modes as FI_read_text's items) into a new text that the
// caller frees with ST_free; an empty item gives *text = null and 1.
int16_t FI_read_text_alloc(C_FILE *file, char **text);
// Modes 2, 3, 4: writes the text cut to FI_LINE_WRITE_MAX characters and a
// line end. Modes 6 to 9 and 11: writes one text item (no terminator stored).
int16_t FI_write_text(C_FILE *file, const char *text);
// Reads one data-block item whose length must be count (else internal error).
int16_t FI_read_block(C_FILE *file, void *buffer, int32_t count);
// Writes one data-block item of count bytes.
int16_t FI_write_block(C_FILE *file, const void *buffer, int32_t count);

// Copies count bytes of source, from position from on, to the target's
// position ("Chyba kopírování - čtení !" / "Chyba kopírování - zápis !").
// A mode-9 target only counts: see the algorithm in the source.
int16_t FI_copy_from(C_FILE *target, C_FILE *source, int32_t from, int32_t count);
// Modes 5, 7, 8: 1 when the file at its current position begins with the
// design-file text (position unchanged). Fewer than 80 bytes: the read message and 0.
int16_t FI_is_design_file(C_FILE *file);

// Reads a header record of FI_HEADER_SIZE bytes into the object's copy
// (modes 5, 7, 8: failure shows "Chybný soubor %s (hlavička)"; mode 10: silent).
// With header null nothing more is done. Otherwise, in modes 5, 7, 8, the
// copy's version digit (byte 11: 4 -> 5) and year (bytes 16 to 19: 1997 to
// 2002 -> 2003) are brought up to date and compared with *header as a
// zero-terminated text: a difference closes the file, shows the message and
// fails; a match copies the updated record into *header. In mode 10 the record
// read is copied into *header as it is. Success sets data_start after it.
int16_t FI_read_header(C_FILE *file, uint8_t *header);
// Sets bit 0 of header[80], writes the record (modes 2 to 4: its text up to
// the first zero byte as a line; modes 6 to 9, 11: all FI_HEADER_SIZE bytes),
// keeps a copy and sets data_start after it. Modes 10, 12 to 14: 0, no message.
int16_t FI_write_header(C_FILE *file, uint8_t *header);

// Embeds the named disk file: a 4-byte little-endian length, then its bytes
// (modes 6 to 9 and 11; mode 9 only counts 4 + size).
int16_t FI_store_file(C_FILE *file, const char *name);
// Mode 10: writes the embedded file at the position out to the named file,
// through "file.$$$" in the target's directory, which then replaces the target.
int16_t FI_extract_file(C_FILE *file, const char *name);

// Hands out the memory stream's buffer (still the object's), capacity and
// length; a mode outside 9 to 11 is an internal error.
int16_t FI_get_memory(C_FILE *file, uint8_t **buffer, int32_t *capacity, int32_t *length);
// Modes 10 and 11: replaces buffer, capacity and length (length <= capacity).
// The previous buffer is not freed: take it first with FI_get_memory, it is
// then the caller's. In mode 11 the object owns the new buffer (an MM_alloc
// block, or null with capacity 0); in mode 10 it is lent.
int16_t FI_set_memory(C_FILE *file, uint8_t *buffer, int32_t capacity, int32_t length);

// Open-file statistics in DATA.FI, started and ended by the memory manager's
// statistics mode. FI_stat_begin: a failure leaves the statistics off.
void FI_stat_begin();
// Notes every file still open, closes DATA.FI and prints its name on stdout.
void FI_stat_end();
