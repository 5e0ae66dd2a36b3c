#include "pack/cpy.h"

#include <cstdio>

#include "common/fe.h"
#include "common/fn.h"
#include "common/mm.h"
#include "common/st.h"
#include "common/sys.h"
#include "win/we.h"

static const char SRC[] = "..\\pack\\cpy";

namespace {

const int32_t LARGEST_BUFFER = 32767;
const int32_t SMALLEST_BUFFER = 10;

// Module-wide while a copy runs (the copy is not re-entrant).
char *buffer = nullptr;
FILE *source_stream = nullptr;
FILE *destination_stream = nullptr;
int32_t buffer_limit = 0;

// The largest buffer of 32767, 16383, ... bytes (at least 10) that can be had.
int32_t take_buffer()
{
    for (int32_t size = LARGEST_BUFFER; size >= SMALLEST_BUFFER; size /= 2) {
        if (buffer_limit > 0 && size > buffer_limit)
            continue;
        buffer = static_cast<char *>(MM_alloc_raw(size, SRC, __LINE__));
        if (buffer)
            return size;
    }
    return 0;
}

// Moves the whole source to the destination; 1 when every byte arrived.
int16_t move_bytes(int32_t size, const char *source)
{
    for (;;) {
        size_t got = std::fread(buffer, 1, static_cast<size_t>(size), source_stream);
        if (got > 0 && std::fwrite(buffer, 1, got, destination_stream) != got) {
            WE_error("Chyba při kopírování (zapsaná délka != přečtené délce)");
            return 0;
        }
        if (got < static_cast<size_t>(size)) {
            // A short read is the end of the file, unless the stream failed:
            // then the copy would silently lose the rest.
            if (std::ferror(source_stream)) {
                WE_error_format("Ze souboru %s nelze číst", source);
                return 0;
            }
            return 1;
        }
    }
}

// The name the copy is written under: the destination + ".$$$" (".$$_"
// when that is the source itself; not looked at for a null source); 0 when
// it would be too long.
int16_t temporary_name(const char *destination, const char *source, char *temporary)
{
    if (ST_length(destination) > FN_MAX_PATH - 4)
        return 0;
    ST_copy(temporary, destination, FN_MAX_PATH);
    ST_append(temporary, CPY_TEMPORARY_SUFFIX, FN_MAX_PATH);
    if (source && FE_same_file(source, temporary))
        temporary[ST_length(temporary) - 1] = '_';
    return 1;
}

// The complete copy takes the destination's name (an older file of that
// name replaced in one step).
int16_t take_name(const char *temporary, const char *destination)
{
    if (FE_rename_over(temporary, destination))
        return 1;
    WE_error_format("Nelze otevřít soubor %s", destination);
    return 0;
}

}  // namespace

void CPY_set_buffer_limit(int32_t largest)
{
    buffer_limit = largest > 0 ? largest : 0;
}

int16_t CPY_copy_file(const char *source, const char *destination)
{
    uint32_t source_size = 0, landed = 0;
    return CPY_copy_file_sized(source, destination, &source_size, &landed, 0);
}

int16_t CPY_copy_file_sized(const char *source, const char *destination, uint32_t *source_size, uint32_t *landed,
                            int16_t seen_missing)
{
    if (!source || !destination || !source_size || !landed) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *source_size = *landed = 0xFFFFFFFFu;
    // Opening the destination for writing would empty the source first.
    if (!seen_missing && FE_same_file(source, destination)) {
        WE_error_format("Soubor %s nelze kopírovat sám na sebe", source);
        return 0;
    }
    char temporary[FN_MAX_PATH + 1];
    if (!temporary_name(destination, seen_missing ? nullptr : source, temporary)) {
        WE_error_format("Nelze otevřít soubor %s", destination);
        return 0;
    }
    int32_t size = take_buffer();
    if (size == 0) {
        WE_low_memory();
        return 0;
    }
    int16_t result = 0;
    source_stream = SYS_fopen(source, "rb");
    if (!source_stream) {
        WE_error_format("Nelze otevřít soubor %s", source);
    } else {
        destination_stream = SYS_fopen_new(temporary);
        if (!destination_stream) {
            WE_error_format("Nelze otevřít soubor %s", destination);
        } else {
            // Streams as large as the pieces: each piece is one read and one
            // write of the system; the last piece of a file is written by the
            // flush.
            std::setvbuf(source_stream, nullptr, _IOFBF, static_cast<size_t>(size));
            std::setvbuf(destination_stream, nullptr, _IOFBF, static_cast<size_t>(size));
            FE_stream_size(source_stream, source_size);
            result = move_bytes(size, source);
            // Buffered bytes reach the disk only here: a full disk shows now,
            // when the runtime tells it; when not, the size on the disk does.
            if (std::fflush(destination_stream) != 0 && result) {
                WE_error_format("Do souboru %s nelze zapisovat (plný disk?)", destination);
                result = 0;
            }
            if (result)
                FE_stream_size(destination_stream, landed);
            // The open file takes its name; when that fails, the name is
            // taken after the close (an older file may stand in the way).
            const int renamed = result && SYS_frename(destination_stream, temporary, destination);
            if (std::fclose(destination_stream) != 0 && result) {
                WE_error_format("Do souboru %s nelze zapisovat (plný disk?)", destination);
                FE_remove(renamed ? destination : temporary);
                result = 0;
            }
            destination_stream = nullptr;
            result = result && (renamed || take_name(temporary, destination));
            if (!result) {
                FE_remove(temporary);
                *source_size = *landed = 0xFFFFFFFFu;
            }
        }
        std::fclose(source_stream);
        source_stream = nullptr;
    }
    MM_free(buffer, SRC, __LINE__);
    buffer = nullptr;
    return result;
}
