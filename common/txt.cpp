#include "common/txt.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/cz.h"
#include "common/fe.h"
#include "common/fi.h"
#include "common/mm.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\txt";

namespace {

void free_line(TXT_line *&line)
{
    if (!line)
        return;
    ST_free(&line->text);
    MM_free(line, SRC, __LINE__);
    line = nullptr;
}

}  // namespace

int16_t TXT_create(TXT_buffer *buffer, int16_t size_hint)
{
    if (!buffer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    buffer->count = 0;
    buffer->capacity = 0;
    buffer->size_hint = size_hint < TXT_MIN_HINT ? TXT_MIN_HINT : size_hint;
    buffer->slots = nullptr;
    buffer->modified = 0;
    return 1;
}

void TXT_destroy(TXT_buffer *buffer)
{
    if (!buffer)
        return;
    for (int16_t i = 0; i < buffer->capacity; i++)
        free_line(buffer->slots[i]);
    MM_free(buffer->slots, SRC, __LINE__);
    buffer->slots = nullptr;
    buffer->count = 0;
    buffer->capacity = 0;
}

int16_t TXT_add(TXT_buffer *buffer, const char *text, int16_t *slot)
{
    if (!buffer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (buffer->count == buffer->capacity) {
        if (buffer->capacity > INT16_MAX - TXT_STEP) {
            WE_internal_error(SRC, __LINE__);   // a 16-bit slot number cannot name more
            return 0;
        }
        int16_t capacity = static_cast<int16_t>(buffer->capacity + TXT_STEP);
        TXT_line **slots = static_cast<TXT_line **>(MM_alloc(capacity, sizeof(TXT_line *), SRC, __LINE__));
        if (!slots) {
            WE_low_memory();
            return 0;
        }
        if (buffer->count)
            std::memcpy(slots, buffer->slots, sizeof(TXT_line *) * static_cast<size_t>(buffer->count));
        MM_free(buffer->slots, SRC, __LINE__);
        buffer->slots = slots;
        buffer->capacity = capacity;
    }
    TXT_line *line = static_cast<TXT_line *>(MM_alloc(1, sizeof(TXT_line), SRC, __LINE__));
    if (!line) {
        WE_low_memory();
        return 0;
    }
    if (!ST_dup(text ? text : "", &line->text)) {   // reported by ST_dup
        MM_free(line, SRC, __LINE__);
        return 0;
    }
    buffer->slots[buffer->count] = line;
    if (slot)
        *slot = buffer->count;
    buffer->count++;
    buffer->modified = 1;
    return 1;
}

TXT_line *TXT_get(const TXT_buffer *buffer, int16_t index)
{
    if (!buffer) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    if (index < 0 || index >= buffer->capacity)
        return nullptr;
    return buffer->slots[index];
}

int16_t TXT_add_format(TXT_buffer *buffer, const char *format, ...)
{
    if (!buffer || !format) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char text[TXT_FORMAT_MAX + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return TXT_add(buffer, text, nullptr);
}

int16_t TXT_delete(TXT_buffer *buffer, int16_t index)
{
    if (!buffer || index < 0 || index >= buffer->count) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    free_line(buffer->slots[index]);
    for (int16_t i = index; i + 1 < buffer->count; i++)
        buffer->slots[i] = buffer->slots[i + 1];
    buffer->count--;
    buffer->slots[buffer->count] = nullptr;
    return 1;
}

int16_t TXT_clear(TXT_buffer *buffer)
{
    if (!buffer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (int16_t i = 0; i < buffer->capacity; i++)
        free_line(buffer->slots[i]);
    buffer->count = 0;
    return 1;
}

int16_t TXT_first(const TXT_buffer *buffer, int16_t *cursor)
{
    if (!buffer || !cursor) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *cursor = -1;
    return buffer->count > 0 ? 1 : 0;
}

TXT_line *TXT_next(const TXT_buffer *buffer, int16_t *cursor)
{
    if (!buffer || !cursor) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    for (int16_t i = *cursor < -1 ? 0 : static_cast<int16_t>(*cursor + 1); i < buffer->capacity; i++) {
        if (buffer->slots[i]) {
            *cursor = i;
            return buffer->slots[i];
        }
    }
    return nullptr;
}

int16_t TXT_load(TXT_buffer *buffer, const char *name)
{
    if (!buffer || !name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!FE_exists(name) || FE_dir_exists(name))
        return 0;
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, name, FI_TEXT_READ))   // shown by the file layer
        return 0;
    TXT_clear(buffer);
    int16_t result = 1;
    char line[TXT_LINE_MAX + 1];
    while (result && FI_read_text(file, line, TXT_LINE_MAX))
        result = TXT_add(buffer, line, nullptr);
    FI_destroy(&file);
    return result;
}

int16_t TXT_save(const TXT_buffer *buffer, const char *name)
{
    return TXT_save_code_page(buffer, name, CZ_CP1250);
}

int16_t TXT_save_code_page(const TXT_buffer *buffer, const char *name, int16_t code_page)
{
    if (!buffer || !name || code_page < CZ_KEYBCS2 || code_page > CZ_ASCII) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, name, FI_TEXT_CREATE))   // shown by the file layer
        return 0;
    int16_t result = 1;
    char out[TXT_LINE_MAX + 1];
    for (int16_t i = 0; i < buffer->count && result; i++) {
        const TXT_line *line = buffer->slots[i];
        ST_copy(out, line && line->text ? line->text : "", TXT_LINE_MAX);
        if (code_page != CZ_CP1250)
            CZ_convert(CZ_CP1250, code_page, out);
        result = FI_write_text(file, out);   // a failure is shown there and ends the save
    }
    if (!FI_close(file, 0))
        result = 0;
    FI_destroy(&file);
    return result;
}
