#include "swin/wco_store.h"

#include <cstring>

#include "common/mm.h"
#include "common/qs.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\wco_store";

const WCO_KEY_REF WCO_obsolete_keys[] = {
    {"CO_common", "browse_timeout"},
    {"CO_common", "use_local_config"},
    {"CO_common", "make_text_file_without_czech"},
    {"CO_common", "xmax_ratsnest_points"},
    {"CO_common", "real_schema_sjoin_width"},
    {"CO_gex_output", "default_gex_config_extension"},
    {"TP_table_print_window", "text_space"},
    {"CO_gerin_input", "default_gerin_input_file"},
    {nullptr, nullptr},
};

namespace {

int16_t internal_error(int line)
{
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return 0;
}

int compare_section(const WCO_section &section, const char *name)
{
    return ST_compare(section.name, name);
}

int compare_entry(const WCO_entry &entry, const char *key)
{
    return ST_compare(entry.key, key);
}

// The name or key as it is looked up: trimmed and cut to WCO_NAME_MAX (a
// longer one was cut the same way when it was stored). 0 when empty.
int16_t lookup_form(const char *name, char *out)
{
    ST_copy(out, name, WCO_BUFFER_MAX);
    ST_trim(out);
    out[WCO_NAME_MAX] = 0;
    return ST_trim(out);
}

// Growth of an array that just became full: at least the fixed step, and a
// sixteenth of what it holds once that is more, so that a large file does not
// copy its arrays over and over while it is read.
int32_t grown(int32_t capacity, int32_t step)
{
    const int32_t share = capacity / 16;
    return capacity + (share > step ? share : step);
}

// Makes room for one more element: when the insertion would fill the array,
// it grows first (so it is never full afterwards). 0 after the low-memory
// report, nothing changed.
template <class T>
int16_t make_room(T **array, int32_t count, int32_t *capacity, int32_t step)
{
    if (count + 1 < *capacity)
        return 1;
    const int32_t next = grown(*capacity, step);
    T *bigger = static_cast<T *>(MM_alloc(next, static_cast<int32_t>(sizeof(T)), SRC, __LINE__));
    if (!bigger) {
        WE_low_memory();
        return 0;
    }
    if (count > 0)
        std::memcpy(bigger, *array, static_cast<size_t>(count) * sizeof(T));
    MM_free(*array, SRC, __LINE__);
    *array = bigger;
    *capacity = next;
    return 1;
}

// A duplicate of the text, trimmed and cut to maximum characters (with an
// internal-error report). 0 after the low-memory report.
int16_t trimmed_copy(const char *text, int16_t maximum, char **copy)
{
    if (std::strlen(text) > static_cast<size_t>(INT16_MAX))
        return internal_error(__LINE__);
    if (!ST_dup(text, copy))
        return 0;
    ST_trim(*copy);
    if (ST_length(*copy) > maximum) {
        (*copy)[maximum] = 0;
        ST_trim(*copy);   // the cut may leave blanks at the end
        internal_error(__LINE__);
    }
    return 1;
}

void free_section(WCO_section *section)
{
    for (int32_t i = 0; i < section->count; i++) {
        ST_free(&section->entries[i].key);
        ST_free(&section->entries[i].value);
    }
    MM_free(section->entries, SRC, __LINE__);
    ST_free(&section->name);
    section->entries = nullptr;
    section->count = 0;
}

// The index of the section, created at its sorted place when missing; -1 on
// failure (reported).
int32_t add_section(WCO_file *store, const char *name)
{
    if (!store || !name)
        return internal_error(__LINE__) - 1;
    if (std::strchr(name, '\n'))
        return internal_error(__LINE__) - 1;
    char *copy = nullptr;
    if (!trimmed_copy(name, WCO_NAME_MAX, &copy))
        return -1;
    if (!copy[0]) {
        ST_free(&copy);
        return internal_error(__LINE__) - 1;
    }
    int16_t index = 0;
    if (QS_search(static_cast<int16_t>(store->count), store->sections, static_cast<const char *>(copy), &index,
                  compare_section)) {
        ST_free(&copy);
        return index;
    }
    if (index < -1 || store->count >= WCO_COUNT_MAX) {
        ST_free(&copy);
        return internal_error(__LINE__) - 1;
    }
    WCO_entry *entries = static_cast<WCO_entry *>(
        MM_alloc(WCO_ENTRIES_FIRST, static_cast<int32_t>(sizeof(WCO_entry)), SRC, __LINE__));
    if (!entries || !make_room(&store->sections, store->count, &store->capacity, WCO_SECTIONS_STEP)) {
        if (!entries)
            WE_low_memory();
        MM_free(entries, SRC, __LINE__);
        ST_free(&copy);
        return -1;
    }
    const int32_t at = index + 1;
    std::memmove(&store->sections[at + 1], &store->sections[at],
                 static_cast<size_t>(store->count - at) * sizeof(WCO_section));
    WCO_section &section = store->sections[at];
    std::memset(&section, 0, sizeof section);
    section.name = copy;
    section.entries = entries;
    section.capacity = WCO_ENTRIES_FIRST;
    store->count++;
    store->changed = 1;
    // The current section stays the same section.
    if (store->current >= at)
        store->current++;
    return at;
}

// The section named in a named-form call, or null (no report when missing).
WCO_section *named_section(WCO_file *store, const char *name)
{
    if (!store || !name) {
        internal_error(__LINE__);
        return nullptr;
    }
    return WCO_find_section(store, name);
}

}  // namespace

// ---- Store life ----

int16_t WCO_create(WCO_file **store)
{
    if (!store)
        return internal_error(__LINE__);
    *store = static_cast<WCO_file *>(MM_alloc(1, static_cast<int32_t>(sizeof(WCO_file)), SRC, __LINE__));
    if (!*store) {
        WE_low_memory();
        return 0;
    }
    (*store)->sections = static_cast<WCO_section *>(
        MM_alloc(WCO_SECTIONS_FIRST, static_cast<int32_t>(sizeof(WCO_section)), SRC, __LINE__));
    if (!(*store)->sections) {
        MM_free(*store, SRC, __LINE__);
        *store = nullptr;
        WE_low_memory();
        return 0;
    }
    (*store)->capacity = WCO_SECTIONS_FIRST;
    (*store)->current = -1;
    return 1;
}

int16_t WCO_destroy(WCO_file **store)
{
    if (!store || !*store)
        return internal_error(__LINE__);
    for (int32_t i = 0; i < (*store)->count; i++)
        free_section(&(*store)->sections[i]);
    MM_free((*store)->sections, SRC, __LINE__);
    MM_free(*store, SRC, __LINE__);
    *store = nullptr;
    return 1;
}

namespace {

// The system store lives in one slot, filled during static initialisation by
// the holder below and emptied at exit (or earlier by WCO_system_store_free).
struct SYSTEM_STORE {
    WCO_file *store = nullptr;
    bool freed = false;
    bool guarded = false;   // made while the memory statistics were on
};

SYSTEM_STORE &system_slot()
{
    static SYSTEM_STORE slot;
    return slot;
}

struct SYSTEM_STORE_HOLDER {
    SYSTEM_STORE_HOLDER() { WCO_system_store(); }
    // Blocks taken in statistics mode can only be given back while it lasts;
    // once it has ended, the process is ending and the store is left to it.
    ~SYSTEM_STORE_HOLDER()
    {
        if (!system_slot().guarded || MM_statistics())
            WCO_system_store_free();
    }
    SYSTEM_STORE_HOLDER(const SYSTEM_STORE_HOLDER &) = delete;
    SYSTEM_STORE_HOLDER &operator=(const SYSTEM_STORE_HOLDER &) = delete;
};

SYSTEM_STORE_HOLDER system_store_holder;

}  // namespace

WCO_file *WCO_system_store()
{
    SYSTEM_STORE &slot = system_slot();
    if (!slot.store && !slot.freed) {
        WCO_create(&slot.store);
        slot.guarded = MM_statistics() != 0;
    }
    return slot.store;
}

void WCO_system_store_free()
{
    SYSTEM_STORE &slot = system_slot();
    if (slot.store)
        WCO_destroy(&slot.store);
    slot.freed = true;
}

// ---- Sections ----

int16_t WCO_select_section(WCO_file *store, const char *name)
{
    if (!store)
        return internal_error(__LINE__);
    if (!name) {
        store->current = -1;
        return 1;
    }
    const int32_t index = add_section(store, name);
    if (index < 0)
        return 0;
    store->current = index;
    return 1;
}

int16_t WCO_has_section(WCO_file *store, const char *name)
{
    if (!store)
        return internal_error(__LINE__);
    return name && WCO_find_section(store, name) ? 1 : 0;
}

WCO_section *WCO_find_section(WCO_file *store, const char *name)
{
    if (!store || !name) {
        internal_error(__LINE__);
        return nullptr;
    }
    char wanted[WCO_BUFFER_MAX + 1];
    if (!lookup_form(name, wanted))
        return nullptr;
    int16_t index = 0;
    if (!QS_search(static_cast<int16_t>(store->count), store->sections, static_cast<const char *>(wanted), &index,
                   compare_section))
        return nullptr;
    return &store->sections[index];
}

WCO_section *WCO_make_section(WCO_file *store, const char *name)
{
    const int32_t index = add_section(store, name);
    return index < 0 ? nullptr : &store->sections[index];
}

WCO_section *WCO_current_section(WCO_file *store)
{
    if (!store || store->current < 0 || store->current >= store->count) {
        internal_error(__LINE__);
        return nullptr;
    }
    return &store->sections[store->current];
}

int16_t WCO_remove_section(WCO_file *store, const char *name)
{
    WCO_section *section = named_section(store, name);
    if (!section)
        return 0;
    const int32_t at = static_cast<int32_t>(section - store->sections);
    free_section(section);
    std::memmove(&store->sections[at], &store->sections[at + 1],
                 static_cast<size_t>(store->count - at - 1) * sizeof(WCO_section));
    store->count--;
    store->changed = 1;
    if (store->current == at)
        store->current = -1;
    else if (store->current > at)
        store->current--;
    return 1;
}

// ---- Keys as text ----

int16_t WCO_key_storable(const char *key)
{
    if (!key)
        return internal_error(__LINE__);
    return key[0] && !std::strchr(key, '=') && !std::strchr(key, '\n') && ST_find(key, "BEGIN[") != key &&
                   ST_find(key, "END[") != key
               ? 1
               : 0;
}

int16_t WCO_section_set(WCO_section *section, const char *key, const char *value)
{
    if (!section || !key || !value)
        return internal_error(__LINE__);
    // Such a value would read back as something else.
    if (std::strchr(value, '\n'))
        return internal_error(__LINE__);
    char *new_key = nullptr;
    char *new_value = nullptr;
    if (!trimmed_copy(key, WCO_NAME_MAX, &new_key))
        return 0;
    if (!WCO_key_storable(new_key)) {
        ST_free(&new_key);
        return internal_error(__LINE__);
    }
    if (!trimmed_copy(value, WCO_VALUE_MAX, &new_value)) {
        ST_free(&new_key);
        return 0;
    }
    int16_t index = 0;
    if (QS_search(static_cast<int16_t>(section->count), section->entries, static_cast<const char *>(new_key), &index,
                  compare_entry)) {
        ST_free(&new_key);
        WCO_entry &entry = section->entries[index];
        if (ST_compare(entry.value, new_value) == 0) {
            ST_free(&new_value);
            return 1;
        }
        ST_free(&entry.value);
        entry.value = new_value;
        section->changed = 1;
        return 1;
    }
    if (index < -1 || section->count >= WCO_COUNT_MAX ||
        !make_room(&section->entries, section->count, &section->capacity, WCO_ENTRIES_STEP)) {
        if (index < -1 || section->count >= WCO_COUNT_MAX)
            internal_error(__LINE__);
        ST_free(&new_key);
        ST_free(&new_value);
        return 0;
    }
    const int32_t at = index + 1;
    std::memmove(&section->entries[at + 1], &section->entries[at],
                 static_cast<size_t>(section->count - at) * sizeof(WCO_entry));
    section->entries[at].key = new_key;
    section->entries[at].value = new_value;
    section->count++;
    section->changed = 1;
    return 1;
}

const char *WCO_section_value(const WCO_section *section, const char *key)
{
    if (!section || !key) {
        internal_error(__LINE__);
        return nullptr;
    }
    char wanted[WCO_BUFFER_MAX + 1];
    if (!lookup_form(key, wanted))
        return nullptr;
    int16_t index = 0;
    if (!QS_search(static_cast<int16_t>(section->count), section->entries, static_cast<const char *>(wanted), &index,
                   compare_entry))
        return nullptr;
    return section->entries[index].value;
}

int16_t WCO_section_remove(WCO_section *section, const char *key)
{
    if (!section || !key)
        return internal_error(__LINE__);
    char wanted[WCO_BUFFER_MAX + 1];
    if (!lookup_form(key, wanted))
        return 0;
    int16_t index = 0;
    if (!QS_search(static_cast<int16_t>(section->count), section->entries, static_cast<const char *>(wanted), &index,
                   compare_entry))
        return 0;
    ST_free(&section->entries[index].key);
    ST_free(&section->entries[index].value);
    std::memmove(&section->entries[index], &section->entries[index + 1],
                 static_cast<size_t>(section->count - index - 1) * sizeof(WCO_entry));
    section->count--;
    section->changed = 1;
    return 1;
}

int16_t WCO_set_text(WCO_file *store, const char *section, const char *key, const char *text)
{
    if (!store || !section || !key || !text)
        return internal_error(__LINE__);
    WCO_section *target = WCO_make_section(store, section);
    return target ? WCO_section_set(target, key, text) : 0;
}

int16_t WCO_set_text(WCO_file *store, const char *key, const char *text)
{
    WCO_section *target = WCO_current_section(store);
    return target ? WCO_section_set(target, key, text) : 0;
}

namespace {

int16_t copy_text(const char *value, char *buffer, int16_t maximum)
{
    if (!value)
        return 0;
    ST_copy(buffer, value, maximum);
    return 1;
}

int16_t alloc_text(const char *value, char **text)
{
    if (!value)
        return 0;
    return ST_dup(value, text);
}

}  // namespace

int16_t WCO_get_text(WCO_file *store, const char *section, const char *key, char *buffer, int16_t maximum)
{
    if (!buffer || !key || maximum < 0)
        return internal_error(__LINE__);
    WCO_section *source = named_section(store, section);
    return source ? copy_text(WCO_section_value(source, key), buffer, maximum) : 0;
}

int16_t WCO_get_text(WCO_file *store, const char *key, char *buffer, int16_t maximum)
{
    if (!buffer || !key || maximum < 0)
        return internal_error(__LINE__);
    WCO_section *source = WCO_current_section(store);
    return source ? copy_text(WCO_section_value(source, key), buffer, maximum) : 0;
}

int16_t WCO_get_text_alloc(WCO_file *store, const char *section, const char *key, char **text)
{
    if (!text || *text || !key)
        return internal_error(__LINE__);
    WCO_section *source = named_section(store, section);
    return source ? alloc_text(WCO_section_value(source, key), text) : 0;
}

int16_t WCO_get_text_alloc(WCO_file *store, const char *key, char **text)
{
    if (!text || *text || !key)
        return internal_error(__LINE__);
    WCO_section *source = WCO_current_section(store);
    return source ? alloc_text(WCO_section_value(source, key), text) : 0;
}

const char *WCO_get_text_ref(WCO_file *store, const char *section, const char *key)
{
    WCO_section *source = named_section(store, section);
    return source ? WCO_section_value(source, key) : nullptr;
}

const char *WCO_get_text_ref(WCO_file *store, const char *key)
{
    WCO_section *source = WCO_current_section(store);
    return source ? WCO_section_value(source, key) : nullptr;
}

int16_t WCO_remove_key(WCO_file *store, const char *section, const char *key)
{
    if (!key)
        return internal_error(__LINE__);
    WCO_section *source = named_section(store, section);
    return source ? WCO_section_remove(source, key) : 0;
}

int16_t WCO_remove_key(WCO_file *store, const char *key)
{
    WCO_section *source = WCO_current_section(store);
    return source ? WCO_section_remove(source, key) : 0;
}

int16_t WCO_purge_obsolete(WCO_file *store, const WCO_KEY_REF *table)
{
    if (!store)
        return internal_error(__LINE__);
    for (const WCO_KEY_REF *pair = table ? table : WCO_obsolete_keys; pair->section && pair->key; pair++)
        WCO_remove_key(store, pair->section, pair->key);
    for (int32_t i = store->count - 1; i >= 0; i--)
        if (store->sections[i].count == 0)
            WCO_remove_section(store, store->sections[i].name);
    return 1;
}
