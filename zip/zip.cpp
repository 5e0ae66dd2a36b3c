#include "zip/zip.h"

#include <cstring>

#include <zlib.h>

#include "common/fe.h"
#include "common/fi.h"
#include "common/fn.h"
#include "common/mm.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\zip\\zip_util";

namespace {

const int32_t CHUNK = 65536;        // pieces of packed input read at a time
const int32_t OUT_CHUNK = 262144;   // inflated bytes handed on at a time: fewer, larger writes
const int32_t LARGEST = 0x7FFFFFFF;  // a memory result never passes this

}  // namespace

struct ZIP_KEPT {
    z_stream zs;       // initialised once, reset for each stream
    uint8_t *input;    // CHUNK bytes: packed input of a file source
    uint8_t *output;   // OUT_CHUNK bytes: inflated bytes before they are handed on
};

namespace {

// Where inflated bytes go. 0 from put: the code is in *code.
typedef int16_t (*PUT)(void *sink, const uint8_t *data, int32_t length, int16_t *code);
// The next piece of packed input: *length 0 at the end. 0 on a failure (file layer).
typedef int16_t (*TAKE)(void *source, const uint8_t **data, int32_t *length);

// --- sources -----------------------------------------------------------

struct MEMORY_SOURCE {
    const uint8_t *data;
    int32_t length;   // what is still to be given
};

int16_t take_memory(void *source, const uint8_t **data, int32_t *length)
{
    MEMORY_SOURCE *m = static_cast<MEMORY_SOURCE *>(source);
    *data = m->data;
    *length = m->length;
    m->length = 0;
    return 1;
}

// A packed file read in pieces of CHUNK bytes; its size is known up front so
// that every read is an exact one (a short read is the file layer's failure).
struct FILE_SOURCE {
    C_FILE *file;
    int32_t remaining;
    uint8_t *buffer;   // CHUNK bytes, lent
};

int16_t take_file(void *source, const uint8_t **data, int32_t *length)
{
    FILE_SOURCE *f = static_cast<FILE_SOURCE *>(source);
    int32_t n = f->remaining < CHUNK ? f->remaining : CHUNK;
    *data = f->buffer;
    *length = n;
    if (n == 0)
        return 1;
    if (!FI_read(f->file, f->buffer, n))
        return 0;
    f->remaining -= n;
    return 1;
}

// --- sinks ---------------------------------------------------------------

// A buffer of MM_alloc that doubles when it is full (one copy per doubling,
// so a stream that expands a thousandfold costs a few copies, not thousands).
struct MEMORY_SINK {
    uint8_t *buffer;
    int32_t capacity;
    int32_t length;
};

int16_t put_memory(void *sink, const uint8_t *data, int32_t length, int16_t *code)
{
    MEMORY_SINK *m = static_cast<MEMORY_SINK *>(sink);
    if (m->capacity - m->length < length) {
        int64_t wanted = static_cast<int64_t>(m->length) + length;
        int64_t capacity = m->capacity;
        while (capacity < wanted)
            capacity *= 2;
        if (capacity > LARGEST)
            capacity = LARGEST;
        if (capacity < wanted) {
            *code = Z_MEM_ERROR;
            return 0;
        }
        uint8_t *bigger = static_cast<uint8_t *>(MM_alloc_raw(static_cast<int32_t>(capacity), SRC, __LINE__));
        if (!bigger) {
            *code = Z_MEM_ERROR;
            return 0;
        }
        if (m->length > 0)
            std::memcpy(bigger, m->buffer, static_cast<size_t>(m->length));
        MM_free(m->buffer, SRC, __LINE__);
        m->buffer = bigger;
        m->capacity = static_cast<int32_t>(capacity);
    }
    if (length > 0)
        std::memcpy(m->buffer + m->length, data, static_cast<size_t>(length));
    m->length += length;
    return 1;
}

int16_t put_count(void *sink, const uint8_t *, int32_t length, int16_t *code)
{
    uint32_t *count = static_cast<uint32_t *>(sink);
    if (0xFFFFFFFFu - *count < static_cast<uint32_t>(length)) {
        *code = Z_BUF_ERROR;   // more than a distribution record can say
        return 0;
    }
    *count += static_cast<uint32_t>(length);
    return 1;
}

// A new file under a temporary name beside its final name; commit renames it.
struct NEW_FILE {
    C_FILE *file;
    const char *name;
    char temporary[FN_MAX_PATH + 1];
};

int16_t same_name(const char *a, const char *b)
{
    for (; *a && *b; a++, b++) {
        char x = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 32) : *a;
        char y = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 32) : *b;
        if (x != y)
            return 0;
    }
    return *a == *b ? 1 : 0;
}

// Opens "<name>.$$$" (another suffix when that is the packed file itself).
int16_t new_file_open(NEW_FILE *f, const char *name, const char *source)
{
    f->file = nullptr;
    f->name = name;
    if (ST_length(name) > FN_MAX_PATH - 4) {
        WE_error_format("Soubor %s nelze vytvořit", name);
        return 0;
    }
    ST_copy(f->temporary, name, 0);
    ST_append(f->temporary, ".$$$", 0);
    if (source && same_name(source, f->temporary))
        f->temporary[ST_length(f->temporary) - 1] = '_';
    if (!FI_create_open_new(&f->file, f->temporary))
        return 0;
    return 1;
}

int16_t put_file(void *sink, const uint8_t *data, int32_t length, int16_t *code)
{
    NEW_FILE *f = static_cast<NEW_FILE *>(sink);
    if (length > 0 && !FI_write(f->file, data, length)) {
        *code = ZIP_FILE_ERROR;
        return 0;
    }
    return 1;
}

// Completes the file: flushed (a full disk shows here, in the file layer's
// box), renamed while open, and closed; when an old file has the name, it is
// replaced after the close. landed (may be null):
// what the file holds on the disk once its bytes are written.
int16_t new_file_commit(NEW_FILE *f, uint32_t *landed)
{
    int16_t ok = FI_flush(f->file);
    if (ok && landed)
        FE_stream_size(f->file->stream, landed);
    const int16_t renamed = ok && FI_rename_open(f->file, f->name);
    ok = FI_close(f->file, 0) && ok;
    FI_destroy(&f->file);
    if (!ok) {
        FE_remove(renamed ? f->name : f->temporary);
        return 0;
    }
    if (!renamed && !FE_rename_over(f->temporary, f->name)) {
        WE_error_format("Soubor %s nelze vytvořit", f->name);
        FE_remove(f->temporary);
        return 0;
    }
    return 1;
}

void new_file_abandon(NEW_FILE *f)
{
    if (!f->file)
        return;
    FI_close(f->file, 1);
    FI_destroy(&f->file);
}

// --- the work ----------------------------------------------------------------

// Inflates one zlib stream from take into put through pieces of fixed size,
// with the kept inflater (reset). The result code: 0 when the stream ended
// cleanly, else the code of zlib, the sink or ZIP_FILE_ERROR (a failed input read).
int16_t inflate_stream(ZIP_KEPT *kept, TAKE take, void *source, PUT put, void *sink)
{
    z_stream &zs = kept->zs;
    zs.next_in = nullptr;   // nothing left over from an earlier stream
    zs.avail_in = 0;
    uint8_t *out = kept->output;
    int16_t result = Z_OK;
    int16_t input_ended = 0;
    for (;;) {
        if (zs.avail_in == 0 && !input_ended) {
            const uint8_t *data = nullptr;
            int32_t length = 0;
            if (!take(source, &data, &length)) {
                result = ZIP_FILE_ERROR;
                break;
            }
            if (length == 0)
                input_ended = 1;
            zs.next_in = const_cast<Bytef *>(data);
            zs.avail_in = static_cast<uInt>(length);
        }
        zs.next_out = out;
        zs.avail_out = OUT_CHUNK;
        int code = inflate(&zs, Z_NO_FLUSH);
        int32_t produced = OUT_CHUNK - static_cast<int32_t>(zs.avail_out);
        if (produced > 0 && !put(sink, out, produced, &result))
            break;
        if (code == Z_STREAM_END)
            break;
        if (code == Z_BUF_ERROR && zs.avail_in == 0 && !input_ended)
            continue;   // wants the next piece
        if (code != Z_OK) {
            // Z_BUF_ERROR with the input used up: the stream was cut short.
            result = static_cast<int16_t>(code);
            break;
        }
    }
    return result;
}

// A file opened for reading in pieces through buffer (CHUNK bytes); 0 (file
// layer's message) on failure.
int16_t file_source_open(FILE_SOURCE *f, const char *name, uint8_t *buffer)
{
    f->file = nullptr;
    f->buffer = buffer;
    f->remaining = 0;
    if (!FI_create(&f->file, name))
        return 0;
    if (FI_open(f->file, FI_BIN_READ)) {
        int32_t size = FI_size(f->file);
        if (size >= 0 && FI_seek(f->file, 0)) {
            f->remaining = size;
            return 1;
        }
    }
    FI_destroy(&f->file);
    return 0;
}

void file_source_close(FILE_SOURCE *f)
{
    if (f->file)
        FI_destroy(&f->file);
}

// Reads a whole file into a new buffer of MM_alloc (null for an empty file).
int16_t read_whole(const char *name, uint8_t **data, int32_t *length)
{
    *data = nullptr;
    *length = 0;
    C_FILE *file = nullptr;
    if (!FI_create(&file, name))
        return 0;
    int16_t ok = 0;
    if (FI_open(file, FI_BIN_READ)) {
        int32_t size = FI_size(file);
        if (size == 0) {
            ok = 1;
        } else if (size > 0 && FI_seek(file, 0)) {
            *data = static_cast<uint8_t *>(MM_alloc_raw(size, SRC, __LINE__));
            if (*data && FI_read(file, *data, size)) {
                *length = size;
                ok = 1;
            } else {
                MM_free(*data, SRC, __LINE__);
                *data = nullptr;
            }
        }
    }
    FI_destroy(&file);
    return ok;
}

// Writes a whole buffer as a new file (through a temporary name).
int16_t write_whole(const char *name, const uint8_t *data, int32_t length)
{
    NEW_FILE f;
    if (!new_file_open(&f, name, nullptr))
        return 0;
    if (length > 0 && !FI_write(f.file, data, length)) {
        new_file_abandon(&f);
        return 0;
    }
    return new_file_commit(&f, nullptr);
}

// The out buffer must be given and hold none yet; the length starts at 0.
int16_t check_out(uint8_t **out, int32_t *out_length)
{
    if (!out || !out_length || *out) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *out_length = 0;
    return 1;
}

// The room for a memory result: the input length rounded up to 256.
int32_t first_room(int32_t length)
{
    int64_t room = (static_cast<int64_t>(length) + 255) & ~static_cast<int64_t>(255);
    if (room < 256)
        return 256;
    return room > LARGEST ? LARGEST : static_cast<int32_t>(room);
}

}  // namespace

C_ZIP::C_ZIP() : level_(Z_DEFAULT_COMPRESSION), last_result_(Z_OK), kept_(nullptr) {}

namespace {

// Gives back what inflater made (null is accepted); initialised: its
// inflater was initialised.
void give_back(ZIP_KEPT *kept, int16_t initialised)
{
    if (!kept)
        return;
    if (initialised)
        inflateEnd(&kept->zs);
    MM_free(kept->input, SRC, __LINE__);
    MM_free(kept->output, SRC, __LINE__);
    MM_free(kept, SRC, __LINE__);
}

}  // namespace

C_ZIP::~C_ZIP() { give_back(kept_, 1); }

ZIP_KEPT *C_ZIP::inflater()
{
    if (kept_) {
        inflateReset(&kept_->zs);
        return kept_;
    }
    // All zero: zlib's own allocation (zalloc, zfree, opaque null), no buffers yet.
    ZIP_KEPT *kept = static_cast<ZIP_KEPT *>(MM_alloc(1, static_cast<int32_t>(sizeof(ZIP_KEPT)), SRC, __LINE__));
    if (kept) {
        kept->input = static_cast<uint8_t *>(MM_alloc_raw(CHUNK, SRC, __LINE__));
        kept->output = static_cast<uint8_t *>(MM_alloc_raw(OUT_CHUNK, SRC, __LINE__));
    }
    const int code = !kept || !kept->input || !kept->output
                         ? Z_MEM_ERROR
                         : inflateInit_(&kept->zs, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
    if (code != Z_OK) {
        give_back(kept, 0);
        last_result_ = static_cast<int16_t>(code);
        return nullptr;
    }
    kept_ = kept;
    return kept_;
}

int16_t C_ZIP::set_level(int16_t level)
{
    if (level < -1 || level > 9)
        return 0;
    level_ = level;
    return 1;
}

int16_t C_ZIP::last_error() const { return last_result_; }

int16_t C_ZIP::compress_buffer(const uint8_t *data, int32_t length, uint8_t **out, int32_t *out_length)
{
    if (!data || length < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!check_out(out, out_length))
        return 0;
    // Room for the worst case: a tenth more plus the stream's own bytes.
    int64_t room = (static_cast<int64_t>(length) / 10 + length + 267) & ~static_cast<int64_t>(255);
    uint8_t *buffer = room <= LARGEST ? static_cast<uint8_t *>(MM_alloc_raw(static_cast<int32_t>(room), SRC, __LINE__)) : nullptr;
    if (!buffer) {
        last_result_ = Z_MEM_ERROR;
        return 0;
    }
    uLongf packed = static_cast<uLongf>(room);
    last_result_ = static_cast<int16_t>(compress2(buffer, &packed, data, static_cast<uLong>(length), level_));
    if (last_result_ != Z_OK) {
        MM_free(buffer, SRC, __LINE__);
        return 0;
    }
    *out = buffer;
    *out_length = static_cast<int32_t>(packed);
    return 1;
}

int16_t C_ZIP::decompress_buffer(const uint8_t *data, int32_t length, uint8_t **out, int32_t *out_length)
{
    if (!data || length < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!check_out(out, out_length))
        return 0;
    ZIP_KEPT *kept = inflater();
    if (!kept)
        return 0;
    // The first room is the input length rounded to 256; it doubles when full.
    MEMORY_SINK sink = {nullptr, first_room(length), 0};
    sink.buffer = static_cast<uint8_t *>(MM_alloc_raw(sink.capacity, SRC, __LINE__));
    if (!sink.buffer) {
        last_result_ = Z_MEM_ERROR;
        return 0;
    }
    MEMORY_SOURCE source = {data, length};
    last_result_ = inflate_stream(kept, take_memory, &source, put_memory, &sink);
    if (last_result_ != Z_OK) {
        MM_free(sink.buffer, SRC, __LINE__);
        return 0;
    }
    *out = sink.buffer;
    *out_length = sink.length;
    return 1;
}

int16_t C_ZIP::compress_buffer_to_file(const uint8_t *data, int32_t length, const char *name)
{
    if (!data || length < 0 || !name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    uint8_t *packed = nullptr;
    int32_t packed_length = 0;
    if (!compress_buffer(data, length, &packed, &packed_length))
        return 0;
    int16_t ok = write_whole(name, packed, packed_length);
    MM_free(packed, SRC, __LINE__);
    if (!ok)
        last_result_ = ZIP_FILE_ERROR;
    return ok;
}

int16_t C_ZIP::decompress_buffer_to_file(const uint8_t *data, int32_t length, const char *name)
{
    if (!data || length < 0 || !name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    ZIP_KEPT *kept = inflater();
    if (!kept)
        return 0;
    NEW_FILE sink;
    if (!new_file_open(&sink, name, nullptr)) {
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    MEMORY_SOURCE source = {data, length};
    last_result_ = inflate_stream(kept, take_memory, &source, put_file, &sink);
    if (last_result_ != Z_OK) {
        new_file_abandon(&sink);
        return 0;
    }
    if (!new_file_commit(&sink, nullptr)) {
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    return 1;
}

int16_t C_ZIP::compress_file_to_buffer(const char *name, uint8_t **out, int32_t *out_length)
{
    if (!name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!check_out(out, out_length))
        return 0;
    uint8_t *data = nullptr;
    int32_t length = 0;
    if (!read_whole(name, &data, &length)) {
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    static const uint8_t nothing[1] = {0};
    int16_t ok = compress_buffer(data ? data : nothing, length, out, out_length);
    MM_free(data, SRC, __LINE__);
    return ok;
}

int16_t C_ZIP::decompress_file_to_buffer(const char *name, uint8_t **out, int32_t *out_length)
{
    if (!name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!check_out(out, out_length))
        return 0;
    ZIP_KEPT *kept = inflater();
    if (!kept)
        return 0;
    FILE_SOURCE source;
    if (!file_source_open(&source, name, kept->input)) {
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    MEMORY_SINK sink = {nullptr, first_room(source.remaining), 0};
    sink.buffer = static_cast<uint8_t *>(MM_alloc_raw(sink.capacity, SRC, __LINE__));
    if (!sink.buffer) {
        file_source_close(&source);
        last_result_ = Z_MEM_ERROR;
        return 0;
    }
    last_result_ = inflate_stream(kept, take_file, &source, put_memory, &sink);
    file_source_close(&source);
    if (last_result_ != Z_OK) {
        MM_free(sink.buffer, SRC, __LINE__);
        return 0;
    }
    *out = sink.buffer;
    *out_length = sink.length;
    return 1;
}

int16_t C_ZIP::compress_file(const char *source, const char *destination)
{
    if (!source || !destination) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    uint8_t *packed = nullptr;
    int32_t packed_length = 0;
    if (!compress_file_to_buffer(source, &packed, &packed_length))
        return 0;
    int16_t ok = write_whole(destination, packed, packed_length);
    MM_free(packed, SRC, __LINE__);
    if (!ok)
        last_result_ = ZIP_FILE_ERROR;
    return ok;
}

int16_t C_ZIP::decompress_file(const char *source, const char *destination, uint32_t *landed)
{
    uint32_t ignored = 0;
    if (!landed)
        landed = &ignored;
    *landed = 0xFFFFFFFFu;
    if (!source || !destination) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    ZIP_KEPT *kept = inflater();
    if (!kept)
        return 0;
    FILE_SOURCE input;
    if (!file_source_open(&input, source, kept->input)) {
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    NEW_FILE output;
    if (!new_file_open(&output, destination, source)) {
        file_source_close(&input);
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    last_result_ = inflate_stream(kept, take_file, &input, put_file, &output);
    file_source_close(&input);
    if (last_result_ != Z_OK) {
        new_file_abandon(&output);
        return 0;
    }
    if (!new_file_commit(&output, landed)) {
        *landed = 0xFFFFFFFFu;
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    return 1;
}

int16_t C_ZIP::measure_file(const char *source, uint32_t *size)
{
    if (!source || !size) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *size = 0;
    ZIP_KEPT *kept = inflater();
    if (!kept)
        return 0;
    FILE_SOURCE input;
    if (!file_source_open(&input, source, kept->input)) {
        last_result_ = ZIP_FILE_ERROR;
        return 0;
    }
    uint32_t count = 0;
    last_result_ = inflate_stream(kept, take_file, &input, put_count, &count);
    file_source_close(&input);
    if (last_result_ != Z_OK)
        return 0;
    *size = count;
    return 1;
}

const char *ZIP_error_text(int16_t code)
{
    switch (code) {
    case ZIP_FILE_ERROR:
    case Z_ERRNO:
        return "Komprese/dekomprese dat - chyba při práci se soubory";
    case Z_VERSION_ERROR:
        return "Komprese/dekomprese dat - chybná verze dat";
    case Z_BUF_ERROR:
        return "Komprese/dekomprese dat - nepostačující buffer";
    case Z_MEM_ERROR:
        return "Komprese/dekomprese dat - málo paměti";
    case Z_DATA_ERROR:
        return "Komprese/dekomprese dat - chyba ve vstupních datech";
    case Z_STREAM_ERROR:
        return "Komprese/dekomprese dat - neočekávaný konec dat";
    case Z_OK:
        return "Komprese/dekomprese dat bez chyb";
    case Z_STREAM_END:
        return "Komprese/dekomprese dat - konec dat";
    case Z_NEED_DICT:
        return "Komprese/dekomprese dat - MSG_zip_need_dict";
    default:
        return "Neznámá chyba při kompresi/dekompresi dat";
    }
}
