#include "pack/cpy.h"

#include <cstdio>

#include "common/fe.h"
#include "common/mm.h"
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

}  // namespace

void CPY_set_buffer_limit(int32_t largest)
{
    buffer_limit = largest > 0 ? largest : 0;
}

int16_t CPY_copy_file(const char *source, const char *destination)
{
    if (!source || !destination) {
        WE_internal_error(SRC, __LINE__);
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
        destination_stream = SYS_fopen(destination, "wb");
        if (!destination_stream) {
            WE_error_format("Nelze otevřít soubor %s", destination);
        } else {
            result = move_bytes(size, source);
            // Buffered bytes reach the disk only here: a full disk shows now.
            if (std::fclose(destination_stream) != 0 && result) {
                WE_error_format("Do souboru %s nelze zapisovat (plný disk?)", destination);
                result = 0;
            }
            destination_stream = nullptr;
            if (!result)
                FE_remove(destination);
        }
        std::fclose(source_stream);
        source_stream = nullptr;
    }
    MM_free(buffer, SRC, __LINE__);
    buffer = nullptr;
    return result;
}
