// Compression module over zlib: whole files and memory blocks in the zlib
// format (RFC 1950). A packed distribution file is exactly one zlib stream:
// no header, no stored length, no name.
#pragma once
#include <cstdint>

// Result codes: zlib's own (0 success, 1 end of stream, 2 need dictionary,
// -1 system error, -2 stream error, -3 data error, -4 memory error, -5 buffer
// error, -6 version error) and the file layer's.
enum : int16_t { ZIP_FILE_ERROR = -10 };

// The inflater and the pieces' buffers an object keeps between operations.
struct ZIP_KEPT;

// Made on the stack for one or more operations: what inflating needs is
// made at the first inflation and kept until the object is destroyed (an
// installation unpacks all its files with one). Every operation returns 1 on success
// and 0 on failure, when last_error tells why. The module shows no message of
// its own except internal-error reports (a missing name or buffer, an out
// buffer that is not null on entry) and "Soubor %s nelze vytvořit" when a
// finished file cannot take its name; the file layer shows its own messages.
// A buffer handed out comes from the memory manager: the caller frees it with MM_free;
// on failure no buffer is handed out (*out stays null, *out_length 0).
// A file written by an operation appears only complete: it is made under a
// temporary name beside it (the name + ".$$$") and takes the name at the end
// (an old file of that name is replaced then), so a failed operation leaves
// no new destination and an old one as it was.
class C_ZIP {
public:
    C_ZIP();
    ~C_ZIP();
    C_ZIP(const C_ZIP &) = delete;
    C_ZIP &operator=(const C_ZIP &) = delete;

    // Accepts 0 to 9 and -1 (zlib's default); anything else: 0, level unchanged.
    int16_t set_level(int16_t level);
    int16_t last_error() const;

    int16_t compress_buffer(const uint8_t *data, int32_t length, uint8_t **out, int32_t *out_length);
    int16_t decompress_buffer(const uint8_t *data, int32_t length, uint8_t **out, int32_t *out_length);
    int16_t compress_buffer_to_file(const uint8_t *data, int32_t length, const char *name);
    int16_t decompress_buffer_to_file(const uint8_t *data, int32_t length, const char *name);
    int16_t compress_file_to_buffer(const char *name, uint8_t **out, int32_t *out_length);
    int16_t decompress_file_to_buffer(const char *name, uint8_t **out, int32_t *out_length);
    int16_t compress_file(const char *source, const char *destination);
    // Streams: memory stays the same whatever the size of the file. landed
    // (may be null): on success the size the new file holds on the disk once
    // closed (a full disk may have let a write seem to succeed), else 0xFFFFFFFF.
    int16_t decompress_file(const char *source, const char *destination, uint32_t *landed = nullptr);
    // Inflates a packed file without writing anything; *size is the size it
    // unpacks to (a distribution check: does the file unpack, and to how much).
    int16_t measure_file(const char *source, uint32_t *size);

private:
    // The kept inflater, reset for a new stream; null (last_result_ says why)
    // when it cannot be made.
    ZIP_KEPT *inflater();

    int16_t level_;         // passed to zlib
    int16_t last_result_;   // zlib's code of the last operation, or ZIP_FILE_ERROR
    ZIP_KEPT *kept_;        // null until the first inflation
};

// The Czech text of a result code (a constant text, not to be freed).
const char *ZIP_error_text(int16_t code);
