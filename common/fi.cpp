#include "common/fi.h"

#include <cstdarg>
#include <cstring>
#include <new>

#include "common/fe.h"
#include "common/fn.h"
#include "common/mm.h"
#include "common/st.h"
#include "common/sys.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\fi";

const char FI_DESIGN_TEXT[] = "R4400 Design file \r\n\x1A";

namespace {

const char MSG_OPEN[] = "Soubor %s nelze otevřít";
const char MSG_READ[] = "Ze souboru %s nelze číst";
const char MSG_WRITE[] = "Do souboru %s nelze zapisovat (plný disk?)";
const char MSG_HEADER[] = "Chybný soubor %s (hlavička)";
const char MSG_CREATE[] = "Soubor %s nelze vytvořit";
const char MSG_COPY_READ[] = "Chyba kopírování - čtení !";
const char MSG_COPY_WRITE[] = "Chyba kopírování - zápis !";

// A write that failed: shown once while the file is open (the close, which
// writes the same buffered bytes again, fails with it silently); 0.
int16_t write_failed(C_FILE *file)
{
    if (!file->write_failed)
        WE_error_format(MSG_WRITE, file->name);
    file->write_failed = 1;
    return 0;
}

const int32_t ITEM_HEADER_SIZE = 8;
const int32_t COPY_CHUNK = 512;          // FI_copy_from
const int32_t EMBED_CHUNK = 20000;       // FI_store_file, FI_extract_file

enum IO_KIND : int16_t { IO_NONE = 0, IO_READ = 1, IO_WRITE = 2 };

// The stream mode a file mode stands for (as the statistics name it) and the
// binary mode it is really opened with: text translation is done here.
struct FILE_MODE {
    const char *shown;
    const char *opened;
};
const FILE_MODE FILE_MODES[9] = {
    {"", ""},        {"rt", "rb"},   {"w+t", "w+b"}, {"w+t", "w+b"}, {"r+t", "r+b"},
    {"rb", "rb"},    {"wb", "wb"},   {"w+b", "w+b"}, {"r+b", "r+b"},
};

// Shared by every FI_copy_from: the layer is single-threaded.
uint8_t copy_buffer[COPY_CHUNK];

// Open-file statistics: DATA.FI and the table of open streams.
struct STAT_ENTRY {
    char name[FI_NAME_MAX + 1];
    FILE *stream;
};
STAT_ENTRY *stat_table = nullptr;
FILE *stat_file = nullptr;

bool is_file_mode(int16_t mode) { return mode >= FI_TEXT_READ && mode <= FI_BIN_UPDATE; }
bool is_text_mode(int16_t mode) { return mode >= FI_TEXT_READ && mode <= FI_TEXT_UPDATE; }

bool can_read(int16_t mode)
{
    return (mode >= FI_TEXT_READ && mode <= FI_BIN_READ) || mode == FI_BIN_CREATE_RW ||
           mode == FI_BIN_UPDATE || mode == FI_MEM_READ;
}

bool can_write(int16_t mode)
{
    return (mode >= FI_TEXT_CREATE && mode <= FI_TEXT_UPDATE) ||
           (mode >= FI_BIN_CREATE && mode <= FI_MEM_COUNT) || mode == FI_MEM_WRITE;
}

// Null object: internal error; closed object: unexpected case. Both fail.
bool check_open(const C_FILE *file, int line)
{
    if (!file) {
        WE_internal_error(SRC, static_cast<int16_t>(line));
        return false;
    }
    if (file->mode == FI_CLOSED) {
        WE_switch_error(SRC, static_cast<int16_t>(line));
        return false;
    }
    return true;
}

bool fail_internal(int line)
{
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

void put32(uint8_t *p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

int32_t get32(const uint8_t *p)
{
    uint32_t v = p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    return static_cast<int32_t>(v);
}

// Writes bytes with every LF as CR LF, as a text stream does on the suite's platform.
bool write_crlf(FILE *stream, const uint8_t *data, int32_t count)
{
    uint8_t out[1024];
    size_t n = 0;
    for (int32_t i = 0; i < count; i++) {
        if (data[i] == '\n')
            out[n++] = '\r';
        out[n++] = data[i];
        if (n >= sizeof out - 1 || i == count - 1) {
            if (std::fwrite(out, 1, n, stream) != n)
                return false;
            n = 0;
        }
    }
    return true;
}

// An update stream must be positioned between a read and a write.
void prepare(C_FILE *file, IO_KIND io)
{
    if (file->last_io != IO_NONE && file->last_io != io)
        std::fseek(file->stream, 0, SEEK_CUR);
    file->last_io = io;
}

// Reads up to count bytes of a file mode; text modes give CR LF as LF.
int32_t stream_read(C_FILE *file, uint8_t *data, int32_t count)
{
    prepare(file, IO_READ);
    if (!is_text_mode(file->mode))
        return static_cast<int32_t>(std::fread(data, 1, static_cast<size_t>(count), file->stream));
    int32_t n = 0;
    while (n < count) {
        int c = std::getc(file->stream);
        if (c == EOF)
            break;
        if (c == '\r') {
            int d = std::getc(file->stream);
            if (d == '\n')
                c = '\n';
            else if (d != EOF)
                std::ungetc(d, file->stream);
        }
        data[n++] = static_cast<uint8_t>(c);
    }
    return n;
}

bool stream_write(C_FILE *file, const uint8_t *data, int32_t count)
{
    prepare(file, IO_WRITE);
    if (is_text_mode(file->mode))
        return write_crlf(file->stream, data, count);
    return std::fwrite(data, 1, static_cast<size_t>(count), file->stream) == static_cast<size_t>(count);
}

// Mode 11: makes the buffer hold end bytes, growing it in steps of
// FI_MEMORY_STEP and keeping its whole old contents. Low-memory report on failure.
bool memory_reserve(C_FILE *file, int64_t end)
{
    if (end <= file->mem_capacity)
        return true;
    int64_t capacity = int64_t(file->mem_capacity) + FI_MEMORY_STEP;
    while (capacity < end)
        capacity += FI_MEMORY_STEP;
    uint8_t *buffer = nullptr;
    if (capacity <= INT32_MAX)
        buffer = static_cast<uint8_t *>(MM_alloc(1, static_cast<int32_t>(capacity), SRC, __LINE__));
    if (!buffer) {
        WE_low_memory();
        return false;
    }
    if (file->mem_buffer && file->mem_capacity > 0)
        std::memcpy(buffer, file->mem_buffer, static_cast<size_t>(file->mem_capacity));
    if (file->mem_owned)
        MM_free(file->mem_buffer, SRC, __LINE__);
    file->mem_buffer = buffer;
    file->mem_capacity = static_cast<int32_t>(capacity);
    file->mem_owned = 1;
    return true;
}

// Modes 9 and 11: the position moves past the bytes, the length is the high-water mark.
bool memory_write(C_FILE *file, const uint8_t *data, int32_t count)
{
    int64_t end = int64_t(file->mem_position) + count;
    if (end > INT32_MAX) {
        WE_low_memory();
        return false;
    }
    if (file->mode == FI_MEM_WRITE) {
        if (!data || !memory_reserve(file, end))   // only counting (mode 9) passes no data
            return false;
        std::memcpy(file->mem_buffer + file->mem_position, data, static_cast<size_t>(count));
    }
    file->mem_position = static_cast<int32_t>(end);
    if (file->mem_length < end)
        file->mem_length = static_cast<int32_t>(end);
    return true;
}

// Mode 10: all or nothing, bounded by the capacity.
bool memory_read(C_FILE *file, uint8_t *data, int32_t count)
{
    if (int64_t(file->mem_position) + count > file->mem_capacity || !file->mem_buffer)
        return false;
    std::memcpy(data, file->mem_buffer + file->mem_position, static_cast<size_t>(count));
    file->mem_position += count;
    return true;
}

// Exactly count bytes, without a message (mode already checked).
bool read_exact(C_FILE *file, uint8_t *data, int32_t count)
{
    if (file->memory)
        return memory_read(file, data, count);
    return stream_read(file, data, count) == count;
}

bool write_exact(C_FILE *file, const uint8_t *data, int32_t count)
{
    if (file->memory)
        return memory_write(file, data, count);
    return stream_write(file, data, count);
}

void stat_print(const char *format, ...) TRK_PRINTF(1, 2);
void stat_print(const char *format, ...)
{
    if (!stat_file)
        return;
    char text[2 * FI_NAME_MAX + 200];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (n >= static_cast<int>(sizeof text))
        n = sizeof text - 1;
    write_crlf(stat_file, reinterpret_cast<const uint8_t *>(text), n);
}

bool stat_on() { return stat_table && stat_file; }

// renamable: a new binary file that FI_rename_open can rename while open.
int16_t open_file_mode(C_FILE *file, int16_t mode, int16_t renamable = 0)
{
    file->memory = 0;
    file->mode = FI_CLOSED;
    if (file->name[0] == 0)
        return fail_internal(__LINE__);
    const FILE_MODE &fm = FILE_MODES[mode];
    if (stat_on())
        stat_print("Otevreni souboru %s v rezimu %s\n", file->name, fm.shown);
    FILE *stream = renamable ? SYS_fopen_new(file->name) : SYS_fopen(file->name, fm.opened);
    if (!stream) {
        WE_error_format(MSG_OPEN, file->name);
        if (stat_on())
            stat_print("!!! Neuspesne otevreni souboru %s\n", file->name);
        return 0;
    }
    if (stat_on()) {
        STAT_ENTRY *free_entry = nullptr;
        for (int i = 0; i < FI_STAT_ENTRIES && !free_entry; i++)
            if (!stat_table[i].stream && stat_table[i].name[0] == 0)
                free_entry = &stat_table[i];
        if (free_entry) {
            ST_copy(free_entry->name, file->name, FI_NAME_MAX);
            free_entry->stream = stream;
        } else {
            stat_print("!!! Bylo otevreno vice nez %d souboru !!!\n", FI_STAT_ENTRIES);
        }
    }
    file->stream = stream;
    file->mode = mode;
    file->data_start = 0;
    file->last_io = IO_NONE;
    file->write_failed = 0;
    return 1;
}

int16_t open_memory_mode(C_FILE *file, int16_t mode)
{
    switch (mode) {
    case FI_MEM_COUNT:
        break;
    case FI_MEM_READ:
        if (!file->mem_buffer || file->mem_capacity < 1)
            return fail_internal(__LINE__);
        break;
    case FI_MEM_WRITE: {
        if (file->mem_owned)
            MM_free(file->mem_buffer, SRC, __LINE__);
        file->mem_buffer = nullptr;
        file->mem_capacity = 0;
        file->mem_owned = 0;
        file->mode = FI_CLOSED;
        file->memory = 0;
        file->mem_buffer = static_cast<uint8_t *>(MM_alloc(1, FI_MEMORY_STEP, SRC, __LINE__));
        if (!file->mem_buffer) {
            WE_low_memory();
            return 0;
        }
        file->mem_capacity = FI_MEMORY_STEP;
        file->mem_owned = 1;
        break;
    }
    default:
        WE_switch_error(SRC, __LINE__);
        return 0;
    }
    file->mem_position = 0;
    file->mem_length = 0;
    file->memory = 1;
    file->mode = mode;
    file->data_start = 0;
    return 1;
}

// One line of at most FI_LINE_READ_MAX characters, its CR LF or LF removed.
// A line of exactly that length also loses its line end and any blanks before
// it, so that they do not come back as an extra line. 0 at end of file (a read error: message).
int16_t read_line(C_FILE *file, char *buffer, int16_t maximum)
{
    char line[FI_LINE_READ_MAX + 1];
    int n = 0;
    bool any = false;
    bool ended = false;
    FILE *s = file->stream;
    prepare(file, IO_READ);
    while (n < FI_LINE_READ_MAX) {
        int c = std::getc(s);
        if (c == EOF)
            break;
        any = true;
        if (c == '\n') {
            ended = true;
            break;
        }
        if (c == '\r') {
            int d = std::getc(s);
            if (d == '\n') {
                ended = true;
                break;
            }
            if (d != EOF)
                std::ungetc(d, s);
        }
        line[n++] = static_cast<char>(c);
    }
    if (!any) {
        if (std::ferror(s))
            WE_error_format(MSG_READ, file->name);
        return 0;
    }
    if (!ended && n == FI_LINE_READ_MAX) {
        // Blanks and tabs up to the line end (or the end of the file) are no
        // rest of the line; anything else continues in the next call.
        long at = std::ftell(s);
        int c = std::getc(s);
        while (c == ' ' || c == '\t')
            c = std::getc(s);
        if (c == '\r')
            c = std::getc(s) == '\n' ? '\n' : 0;   // a lone CR is part of the rest
        if (c != '\n' && c != EOF && at >= 0)
            std::fseek(s, at, SEEK_SET);
    }
    line[n] = 0;
    ST_copy(buffer, line, maximum);
    return 1;
}

// Text cut to FI_LINE_WRITE_MAX characters, then a line end, as one write.
int16_t write_line(C_FILE *file, const char *text, int32_t length)
{
    uint8_t line[FI_LINE_WRITE_MAX + 1];
    if (length > FI_LINE_WRITE_MAX)
        length = FI_LINE_WRITE_MAX;
    std::memcpy(line, text, static_cast<size_t>(length));
    line[length] = '\n';
    if (!stream_write(file, line, length + 1))
        return write_failed(file);
    return 1;
}

int16_t write_item(C_FILE *file, uint32_t tag, const void *data, int32_t count)
{
    uint8_t head[ITEM_HEADER_SIZE];
    put32(head, tag);
    put32(head + 4, static_cast<uint32_t>(count));
    if (!FI_write(file, head, ITEM_HEADER_SIZE))
        return 0;
    return count < 1 ? 1 : FI_write(file, data, count);
}

// Item length from the header of the next item (the tag is not checked).
int16_t read_item_length(C_FILE *file, int32_t *length)
{
    uint8_t head[ITEM_HEADER_SIZE];
    if (!FI_read(file, head, ITEM_HEADER_SIZE))
        return 0;
    *length = get32(head + 4);
    return 1;
}

bool text_item_read_mode(int16_t mode)
{
    return mode == FI_TEXT_CREATE || (mode >= FI_BIN_READ && mode <= FI_BIN_UPDATE) ||
           mode == FI_MEM_READ;
}

// Version digit 4 -> 5 and years 1997 to 2002 -> 2003, each step applied to
// the result of the one before.
void update_header_marks(uint8_t *h)
{
    if (h[11] == '4')
        h[11] = '5';
    if (h[19] == '7')
        h[19] = '8';
    if (h[19] == '8')
        h[19] = '9';
    if (h[19] == '9') {
        h[16] = '2';
        h[17] = '0';
        h[18] = '0';
        h[19] = '0';
    }
    if (h[19] == '0')
        h[19] = '1';
    if (h[19] == '1')
        h[19] = '2';
    if (h[19] == '2')
        h[19] = '3';
}

// Comparison as zero-terminated texts, never past the record.
bool headers_equal(const uint8_t *a, const uint8_t *b)
{
    for (int i = 0; i < FI_HEADER_SIZE; i++) {
        if (a[i] != b[i])
            return false;
        if (a[i] == 0)
            break;
    }
    return true;
}

void remove_file(const char *name)
{
    if (FE_exists(name))
        FE_remove(name);
}

}  // namespace

int16_t FI_create(C_FILE **file, const char *name)
{
    if (!file)
        return fail_internal(__LINE__);
    *file = nullptr;
    if (name && std::strlen(name) > FI_NAME_MAX)
        return fail_internal(__LINE__);
    void *storage = MM_alloc(1, sizeof(C_FILE), SRC, __LINE__);
    if (!storage) {
        WE_low_memory();
        return 0;
    }
    C_FILE *f = new (storage) C_FILE();
    if (name)
        ST_copy(f->name, name, FI_NAME_MAX);
    *file = f;
    return 1;
}

int16_t FI_destroy(C_FILE **file)
{
    if (!file || !*file)
        return fail_internal(__LINE__);
    C_FILE *f = *file;
    if (f->stream)
        FI_close(f, 0);
    if (f->mem_owned)
        MM_free(f->mem_buffer, SRC, __LINE__);
    f->~C_FILE();
    MM_free(f, SRC, __LINE__);
    *file = nullptr;
    return 1;
}

int16_t FI_set_name(C_FILE *file, const char *name)
{
    if (!file || !name || std::strlen(name) > FI_NAME_MAX)
        return fail_internal(__LINE__);
    ST_copy(file->name, name, FI_NAME_MAX);
    return 1;
}

int16_t FI_create_open(C_FILE **file, const char *name, int16_t mode)
{
    if (!FI_create(file, name))
        return 0;
    if (!FI_open(*file, mode)) {
        FI_destroy(file);
        return 0;
    }
    return 1;
}

int16_t FI_create_open_new(C_FILE **file, const char *name)
{
    if (!FI_create(file, name))
        return 0;
    if (!open_file_mode(*file, FI_BIN_CREATE, 1)) {
        FI_destroy(file);
        return 0;
    }
    return 1;
}

int16_t FI_open(C_FILE *file, int16_t mode)
{
    if (!file)
        return fail_internal(__LINE__);
    if (file->stream)   // the open stream would be lost
        return fail_internal(__LINE__);
    if (mode == FI_CLOSED || mode < 0 || mode > FI_MODE_LAST) {
        WE_switch_error(SRC, __LINE__);
        return 0;
    }
    if (mode > FI_MEM_WRITE)
        return fail_internal(__LINE__);
    if (is_file_mode(mode))
        return open_file_mode(file, mode);
    return open_memory_mode(file, mode);
}

int16_t FI_open_memory(C_FILE *file, const void *buffer, int32_t size)
{
    if (!file || !buffer || size < 1 || file->stream)
        return fail_internal(__LINE__);
    if (file->mem_owned && file->mem_buffer != buffer)
        MM_free(file->mem_buffer, SRC, __LINE__);
    // Mode 10 only reads through the pointer.
    file->mem_buffer = static_cast<uint8_t *>(const_cast<void *>(buffer));
    file->mem_owned = 0;
    file->mem_capacity = size;
    return FI_open(file, FI_MEM_READ);
}

int16_t FI_close(C_FILE *file, int16_t remove)
{
    if (!file)
        return fail_internal(__LINE__);
    if (file->memory)
        return 1;
    int16_t result = 1;
    if (file->stream) {
        if (stat_on()) {
            STAT_ENTRY *entry = nullptr;
            for (int i = 0; i < FI_STAT_ENTRIES && !entry; i++)
                if (stat_table[i].stream == file->stream)
                    entry = &stat_table[i];
            if (entry) {
                stat_print("Zavreni souboru %s otevreneho jako %s\n", file->name, entry->name);
                entry->name[0] = 0;
                entry->stream = nullptr;
            } else {
                stat_print("!!! Zavirany soubor nebyl otevren\n");
            }
        }
        // The last buffered bytes are written here: a failure is a short write.
        // A file some write of which failed is incomplete, whatever the close says.
        if (std::fclose(file->stream) != 0 || file->write_failed)
            result = write_failed(file);
        file->stream = nullptr;
        file->last_io = IO_NONE;
    }
    file->mode = FI_CLOSED;
    if (remove && file->name[0])
        remove_file(file->name);
    return result;
}

int16_t FI_flush(C_FILE *file)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (file->memory)
        return 1;
    if (std::fflush(file->stream) != 0)
        return write_failed(file);
    return 1;
}

int16_t FI_rename_open(C_FILE *file, const char *new_name)
{
    if (!new_name)
        return fail_internal(__LINE__);
    if (!check_open(file, __LINE__))
        return 0;
    if (file->mode != FI_BIN_CREATE || ST_length(new_name) > FI_NAME_MAX ||
        !SYS_frename(file->stream, file->name, new_name))
        return 0;
    ST_copy(file->name, new_name, FI_NAME_MAX);
    return 1;
}

int32_t FI_tell(C_FILE *file)
{
    if (!check_open(file, __LINE__))
        return -1;
    if (file->memory)
        return file->mem_position;
    long position = std::ftell(file->stream);
    return position < 0 || position > INT32_MAX ? -1 : static_cast<int32_t>(position);
}

int32_t FI_size(C_FILE *file)
{
    if (!check_open(file, __LINE__))
        return -1;
    if (file->memory) {
        file->mem_position = file->mem_length;
        return file->mem_length;
    }
    file->last_io = IO_NONE;
    if (std::fseek(file->stream, 0, SEEK_END) != 0)
        return -1;
    return FI_tell(file);
}

int16_t FI_seek(C_FILE *file, int32_t position)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (position < 0)
        return fail_internal(__LINE__);
    if (file->memory) {
        // mode 11 keeps every byte up to the length inside its buffer
        if (file->mode == FI_MEM_WRITE && !memory_reserve(file, position))
            return 0;
        file->mem_position = position;
        if (file->mem_length < position)
            file->mem_length = position;
        return 1;
    }
    file->last_io = IO_NONE;
    return std::fseek(file->stream, position, SEEK_SET) == 0;
}

int16_t FI_skip(C_FILE *file, int32_t distance)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (file->memory)
        return fail_internal(__LINE__);
    file->last_io = IO_NONE;
    return std::fseek(file->stream, distance, SEEK_CUR) == 0;
}

int16_t FI_read(C_FILE *file, void *buffer, int32_t count)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!buffer || count < 1 || !can_read(file->mode))
        return fail_internal(__LINE__);
    if (file->memory)
        return memory_read(file, static_cast<uint8_t *>(buffer), count);
    if (stream_read(file, static_cast<uint8_t *>(buffer), count) != count) {
        WE_error_format(MSG_READ, file->name);
        return 0;
    }
    return 1;
}

int16_t FI_read_some(C_FILE *file, void *buffer, int32_t count, int32_t *done)
{
    if (done)
        *done = 0;
    if (!check_open(file, __LINE__))
        return 0;
    if (!buffer || !done || count < 1 || file->memory || !can_read(file->mode))
        return fail_internal(__LINE__);
    *done = stream_read(file, static_cast<uint8_t *>(buffer), count);
    return *done > 0;
}

int16_t FI_write(C_FILE *file, const void *buffer, int32_t count)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!buffer || count < 1 || !can_write(file->mode))
        return fail_internal(__LINE__);
    if (file->memory)
        return memory_write(file, static_cast<const uint8_t *>(buffer), count);
    if (!stream_write(file, static_cast<const uint8_t *>(buffer), count))
        return write_failed(file);
    return 1;
}

int16_t FI_read_text(C_FILE *file, char *buffer, int16_t maximum)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!buffer || maximum < 1)
        return fail_internal(__LINE__);
    switch (file->mode) {
    case FI_TEXT_READ:
    case FI_TEXT_CREATE_RW:
    case FI_TEXT_UPDATE:
        return read_line(file, buffer, maximum);
    default:
        break;
    }
    if (!text_item_read_mode(file->mode))
        return fail_internal(__LINE__);
    int32_t length = 0;
    if (!read_item_length(file, &length))
        return 0;
    if (length < 1) {
        buffer[0] = 0;
        return 1;
    }
    if (length > maximum)
        return fail_internal(__LINE__);
    std::memset(buffer, ' ', static_cast<size_t>(maximum));
    buffer[maximum] = 0;
    if (!FI_read(file, buffer, length))
        return 0;
    buffer[length] = 0;
    return 1;
}

int16_t FI_read_text_alloc(C_FILE *file, char **text)
{
    if (text)
        *text = nullptr;
    if (!check_open(file, __LINE__))
        return 0;
    if (!text || !text_item_read_mode(file->mode))
        return fail_internal(__LINE__);
    int32_t length = 0;
    if (!read_item_length(file, &length))
        return 0;
    if (length < 1)
        return 1;
    if (length > INT16_MAX)   // no text of the program is that long
        return fail_internal(__LINE__);
    if (!ST_alloc(static_cast<int16_t>(length), text))
        return 0;
    if (!FI_read(file, *text, length)) {
        ST_free(text);
        return 0;
    }
    return 1;
}

int16_t FI_write_text(C_FILE *file, const char *text)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!text)
        return fail_internal(__LINE__);
    int32_t length = static_cast<int32_t>(std::strlen(text));
    switch (file->mode) {
    case FI_TEXT_CREATE:
    case FI_TEXT_CREATE_RW:
    case FI_TEXT_UPDATE:
        return write_line(file, text, length);
    case FI_BIN_CREATE:
    case FI_BIN_CREATE_RW:
    case FI_BIN_UPDATE:
    case FI_MEM_COUNT:
    case FI_MEM_WRITE:
        return write_item(file, FI_TAG_TEXT, text, length);
    default:
        return fail_internal(__LINE__);
    }
}

int16_t FI_read_block(C_FILE *file, void *buffer, int32_t count)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!buffer || count < 1)
        return fail_internal(__LINE__);
    int32_t length = 0;
    if (!read_item_length(file, &length))
        return 0;
    if (length != count)
        return fail_internal(__LINE__);
    return FI_read(file, buffer, count);
}

int16_t FI_write_block(C_FILE *file, const void *buffer, int32_t count)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!buffer || count < 1)
        return fail_internal(__LINE__);
    return write_item(file, FI_TAG_BLOCK, buffer, count);
}

int16_t FI_copy_from(C_FILE *target, C_FILE *source, int32_t from, int32_t count)
{
    if (!check_open(target, __LINE__))
        return 0;
    if (!source || from < 0 || count < 1)
        return fail_internal(__LINE__);
    if (target->mode == FI_MEM_COUNT) {
        // Counting only: the source is not read.
        int64_t end = int64_t(from) + count;
        if (from >= target->mem_length)
            end = int64_t(target->mem_position) + count;
        else if (end <= target->mem_length)
            return 1;
        if (end > INT32_MAX)
            return fail_internal(__LINE__);
        target->mem_position = target->mem_length = static_cast<int32_t>(end);
        return 1;
    }
    if (!can_write(target->mode))
        return fail_internal(__LINE__);
    if (!check_open(source, __LINE__))
        return 0;
    if (!can_read(source->mode))
        return fail_internal(__LINE__);
    if (!FI_seek(source, from)) {
        WE_error(MSG_COPY_READ);
        return 0;
    }
    for (int32_t left = count; left > 0;) {
        int32_t n = left < COPY_CHUNK ? left : COPY_CHUNK;
        if (!read_exact(source, copy_buffer, n)) {
            WE_error(MSG_COPY_READ);
            return 0;
        }
        if (!write_exact(target, copy_buffer, n)) {
            WE_error(MSG_COPY_WRITE);
            return 0;
        }
        left -= n;
    }
    return 1;
}

int16_t FI_is_design_file(C_FILE *file)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (file->mode != FI_BIN_READ && file->mode != FI_BIN_CREATE_RW && file->mode != FI_BIN_UPDATE)
        return fail_internal(__LINE__);
    char head[81] = {};
    int32_t position = FI_tell(file);
    int16_t ok = FI_read(file, head, 80);
    if (position >= 0)
        FI_seek(file, position);
    return ok && std::strcmp(head, FI_DESIGN_TEXT) == 0;
}

int16_t FI_read_header(C_FILE *file, uint8_t *header)
{
    if (!check_open(file, __LINE__))
        return 0;
    switch (file->mode) {
    case FI_BIN_READ:
    case FI_BIN_CREATE_RW:
    case FI_BIN_UPDATE:
        if (!read_exact(file, file->header, FI_HEADER_SIZE)) {
            WE_error_format(MSG_HEADER, file->name);
            return 0;
        }
        if (header) {
            update_header_marks(file->header);
            if (!headers_equal(file->header, header)) {
                FI_close(file, 0);
                WE_error_format(MSG_HEADER, file->name);
                return 0;
            }
            std::memcpy(header, file->header, FI_HEADER_SIZE);
        }
        break;
    case FI_MEM_READ:
        if (!read_exact(file, file->header, FI_HEADER_SIZE))
            return 0;
        if (header)
            std::memcpy(header, file->header, FI_HEADER_SIZE);
        break;
    default:
        return fail_internal(__LINE__);
    }
    file->data_start = FI_tell(file);
    return 1;
}

int16_t FI_write_header(C_FILE *file, uint8_t *header)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!header)
        return fail_internal(__LINE__);
    int16_t ok = 0;
    switch (file->mode) {
    case FI_TEXT_CREATE:
    case FI_TEXT_CREATE_RW:
    case FI_TEXT_UPDATE: {
        header[80] |= 1;
        int32_t length = 0;
        while (length < FI_HEADER_SIZE && header[length] != 0)
            length++;
        ok = write_line(file, reinterpret_cast<const char *>(header), length);
        break;
    }
    case FI_BIN_CREATE:
    case FI_BIN_CREATE_RW:
    case FI_BIN_UPDATE:
    case FI_MEM_COUNT:
    case FI_MEM_WRITE:
        header[80] |= 1;
        ok = FI_write(file, header, FI_HEADER_SIZE);
        break;
    case FI_MEM_READ:
        return 0;
    default:
        return fail_internal(__LINE__);
    }
    if (!ok)
        return 0;
    std::memcpy(file->header, header, FI_HEADER_SIZE);
    file->data_start = FI_tell(file);
    return 1;
}

int16_t FI_store_file(C_FILE *file, const char *name)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!name)
        return fail_internal(__LINE__);
    if (file->mode < FI_BIN_CREATE || file->mode == FI_MEM_READ)
        return fail_internal(__LINE__);
    C_FILE *source = nullptr;
    if (!FI_create_open(&source, name, FI_BIN_READ))
        return 0;
    int16_t ok = 0;
    uint8_t *chunk = nullptr;
    int32_t size = FI_size(source);
    uint8_t length[4];
    put32(length, static_cast<uint32_t>(size));
    if (size < 0 || !FI_seek(source, 0)) {
        WE_error_format(MSG_READ, name);
    } else if (file->mode == FI_MEM_COUNT) {
        ok = FI_write(file, length, 4) && (size == 0 || memory_write(file, nullptr, size));
    } else if (FI_write(file, length, 4)) {
        chunk = static_cast<uint8_t *>(MM_alloc_raw(EMBED_CHUNK, SRC, __LINE__));
        if (!chunk)
            WE_low_memory();
        ok = chunk != nullptr;
        for (int32_t left = size; ok && left > 0;) {
            int32_t n = left < EMBED_CHUNK ? left : EMBED_CHUNK;
            ok = FI_read(source, chunk, n) && FI_write(file, chunk, n);
            left -= n;
        }
    }
    MM_free(chunk, SRC, __LINE__);
    FI_destroy(&source);
    return ok;
}

int16_t FI_extract_file(C_FILE *file, const char *name)
{
    if (!check_open(file, __LINE__))
        return 0;
    if (!name || file->mode != FI_MEM_READ || std::strlen(name) > FI_NAME_MAX)
        return fail_internal(__LINE__);
    // The temporary file lies beside the target (a target without a
    // directory: in the current directory).
    char directory[FN_MAX_PATH + 1] = {};
    char temporary[FN_MAX_PATH + 1] = "file.$$$";
    FN_split(name, directory, nullptr);
    if (directory[0] && !FN_add_dir(temporary, directory))
        return 0;
    remove_file(temporary);
    uint8_t head[4];
    if (!memory_read(file, head, 4))
        return 0;
    int32_t length = get32(head);
    if (length < 0 || int64_t(file->mem_position) + length > file->mem_capacity)
        return 0;
    C_FILE *out = nullptr;
    if (!FI_create_open(&out, temporary, FI_BIN_CREATE))
        return 0;
    int16_t ok = 1;
    for (int32_t left = length; ok && left > 0;) {
        int32_t n = left < EMBED_CHUNK ? left : EMBED_CHUNK;
        ok = FI_write(out, file->mem_buffer + file->mem_position, n);
        file->mem_position += n;
        left -= n;
    }
    ok = FI_close(out, 0) && ok;
    if (!ok)
        FI_close(out, 1);
    FI_destroy(&out);
    if (!ok)
        return 0;
    remove_file(name);
    if (!FE_rename(temporary, name)) {
        WE_error_format(MSG_CREATE, temporary);
        return 0;
    }
    return 1;
}

int16_t FI_get_memory(C_FILE *file, uint8_t **buffer, int32_t *capacity, int32_t *length)
{
    if (!file || !buffer || !capacity || !length || !file->memory)
        return fail_internal(__LINE__);
    *buffer = file->mem_buffer;
    *capacity = file->mem_capacity;
    *length = file->mem_length;
    return 1;
}

int16_t FI_set_memory(C_FILE *file, uint8_t *buffer, int32_t capacity, int32_t length)
{
    if (!file || (file->mode != FI_MEM_READ && file->mode != FI_MEM_WRITE))
        return fail_internal(__LINE__);
    if (capacity < 0 || length < 0 || length > capacity || (!buffer && capacity > 0))
        return fail_internal(__LINE__);
    file->mem_buffer = buffer;
    file->mem_capacity = capacity;
    file->mem_length = length;
    file->mem_owned = file->mode == FI_MEM_WRITE && buffer;
    return 1;
}

void FI_stat_begin()
{
    if (stat_table)
        return;
    stat_table = static_cast<STAT_ENTRY *>(MM_alloc(FI_STAT_ENTRIES, sizeof(STAT_ENTRY), SRC, __LINE__));
    if (!stat_table)
        return;
    stat_file = SYS_fopen(FI_STAT_FILE, "wb");
    if (!stat_file) {
        MM_free(stat_table, SRC, __LINE__);
        stat_table = nullptr;
        return;
    }
    stat_print("Statistika otevrenych souboru\n");
}

void FI_stat_end()
{
    if (!stat_on())
        return;
    for (int i = 0; i < FI_STAT_ENTRIES; i++)
        if (stat_table[i].stream && stat_table[i].name[0])
            stat_print("!!! Nebyl uzavren soubor %s", stat_table[i].name);
    stat_print("Konec statistiky otevrenych souboru");
    std::fclose(stat_file);
    stat_file = nullptr;
    MM_free(stat_table, SRC, __LINE__);
    stat_table = nullptr;
    std::printf("Statistika otevrenych souboru : %s\n", FI_STAT_FILE);
}
