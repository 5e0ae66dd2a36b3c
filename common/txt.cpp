#include "common/txt.h"

#include <cstring>

#include "common/mm.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\txt";

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
    for (int16_t i = 0; i < buffer->capacity; i++) {
        if (TXT_line *line = buffer->slots[i]) {
            ST_free(&line->text);
            MM_free(line, SRC, __LINE__);
        }
    }
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
