#include "swin/wco.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/config.h"
#include "common/fe.h"
#include "common/fi.h"
#include "common/st.h"
#include "util/scan.h"
#include "util/voc.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\wco";

namespace {

int16_t internal_error(int line)
{
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return 0;
}

// ---- Reading ----

const int32_t READ_CHUNK = 4096;

// One load in progress.
struct READER {
    WCO_file *store;
    WCO_OBSERVER observer;
    void *context;
    int32_t number;     // of the line in the buffer, from 1
    int32_t length;     // characters in store->line
    bool lost;          // characters of this line did not fit or followed a zero byte
    bool stopped;       // the store could not take a line
};

void note(READER &reader, WCO_LINE_EVENT event, const char *section, const char *key,
          const char *text = nullptr)
{
    if (!reader.observer)
        return;
    const WCO_LINE_NOTE line_note{reader.number, event, section, key, text};
    reader.observer(reader.context, &line_note);
}

const char *current_name(const WCO_file *store)
{
    return store->current >= 0 && store->current < store->count ? store->sections[store->current].name : nullptr;
}

bool begins_with(const char *text, const char *start)
{
    return std::strncmp(text, start, std::strlen(start)) == 0;
}

// "BEGIN[name]": the name (trimmed) becomes the current section. A marker
// without a name leaves no section current, so that its entries are dropped
// and reading goes on with the next section.
void section_line(READER &reader, char *line, int16_t length)
{
    WCO_file *store = reader.store;
    line[length - 1] = 0;
    char *name = line + std::strlen("BEGIN[");
    if (!ST_trim(name)) {
        internal_error(__LINE__);
        store->current = -1;
        note(reader, WCO_LINE_NO_NAME, nullptr, nullptr);
        return;
    }
    if (ST_length(name) > WCO_NAME_MAX)
        note(reader, WCO_LINE_NAME_CUT, name, nullptr);
    if (!WCO_select_section(store, name)) {
        reader.stopped = true;
        note(reader, WCO_LINE_NO_MEMORY, name, nullptr);
        return;
    }
    note(reader, WCO_LINE_SECTION, current_name(store), nullptr);
}

// "key = value" in the current section.
void entry_line(READER &reader, char *line, char *equals)
{
    WCO_file *store = reader.store;
    *equals = 0;
    char *key = line;
    char *value = equals + 1;
    ST_trim(key);
    ST_trim(value);
    const char *section = current_name(store);
    if (!WCO_key_storable(key)) {
        note(reader, WCO_LINE_NO_KEY, section, key);
        return;
    }
    if (!section) {
        internal_error(__LINE__);
        note(reader, WCO_LINE_OUTSIDE, nullptr, key);
        return;
    }
    const bool key_cut = ST_length(key) > WCO_NAME_MAX;
    if (key_cut)
        note(reader, WCO_LINE_KEY_CUT, section, key);
    if (ST_length(value) > WCO_VALUE_MAX)
        note(reader, WCO_LINE_VALUE_CUT, section, key);
    if (!WCO_section_set(&store->sections[store->current], key, value)) {
        reader.stopped = true;
        note(reader, WCO_LINE_NO_MEMORY, section, key);
        return;
    }
    if (key_cut) {
        key[WCO_NAME_MAX] = 0;
        ST_trim(key);
    }
    note(reader, WCO_LINE_ENTRY, section, key);
}

// One whole line, in store->line.
void read_line(READER &reader)
{
    WCO_file *store = reader.store;
    char *line = store->line;
    line[reader.length] = 0;
    if (reader.lost) {
        internal_error(__LINE__);
        note(reader, WCO_LINE_LINE_CUT, current_name(store), nullptr);
    }
    if (!ST_trim(line))
        return;
    const int16_t length = ST_length(line);
    if (begins_with(line, "BEGIN[") && length > 6 && line[length - 1] == ']') {
        section_line(reader, line, length);
        return;
    }
    if (begins_with(line, "END[") && length > 4 && line[length - 1] == ']') {
        store->current = -1;
        return;
    }
    char *equals = ST_find_char(line, '=');
    if (equals) {
        entry_line(reader, line, equals);
        return;
    }
    note(reader, WCO_LINE_IGNORED, current_name(store), nullptr, line);
}

// Cuts the bytes into lines (the file layer has turned CR LF into LF) and
// reads each. A line keeps at most WCO_BUFFER_MAX characters; blanks past
// that are no loss, anything else is.
void read_bytes(READER &reader, const char *bytes, int32_t count)
{
    char *line = reader.store->line;
    for (int32_t i = 0; i < count && !reader.stopped; i++) {
        const char c = bytes[i];
        if (c == '\n') {
            read_line(reader);
            reader.number++;
            reader.length = 0;
            reader.lost = false;
        } else if (c == 0) {
            reader.lost = true;
        } else if (reader.length < WCO_BUFFER_MAX && !reader.lost) {
            line[reader.length++] = c;
        } else if (c != ' ' && c != '\t') {
            reader.lost = true;
        }
    }
}

// Reads the open file; false when the store could not take a line.
bool read_file(C_FILE *file, READER &reader)
{
    char chunk[READ_CHUNK];
    int32_t done = 0;
    while (!reader.stopped && FI_read_some(file, chunk, READ_CHUNK, &done))
        read_bytes(reader, chunk, done);
    // The last line may lack its line end.
    if (!reader.stopped && (reader.length > 0 || reader.lost))
        read_line(reader);
    return !reader.stopped;
}

// ---- Writing ----

// The name as the file system compares it: Windows ignores case.
bool same_path(const char *a, const char *b)
{
#if TRK_WINDOWS
    char upper_a[WCO_PATH_MAX + 1];
    char upper_b[WCO_PATH_MAX + 1];
    ST_copy(upper_a, a, WCO_PATH_MAX);
    ST_copy(upper_b, b, WCO_PATH_MAX);
    ST_upper(upper_a);
    ST_upper(upper_b);
    return std::strcmp(upper_a, upper_b) == 0;
#else
    return std::strcmp(a, b) == 0;
#endif
}

bool write_text(C_FILE *file, const char *text)
{
    const int32_t length = static_cast<int32_t>(std::strlen(text));
    return length == 0 || FI_write(file, text, length);
}

// "   key<blanks to column 42>=  value". A key too long for the field keeps
// every character and is followed by one blank.
bool write_entry(C_FILE *file, char *line, const WCO_entry &entry)
{
    ST_copy(line, "   ", 0);
    ST_append(line, entry.key, 0);
    if (ST_length(line) < WCO_KEY_FIELD)
        ST_pad_blank(line, WCO_KEY_FIELD);
    else
        ST_append(line, " ", 0);
    ST_append(line, "=  ", 0);
    ST_append(line, entry.value, 0);
    ST_append(line, "\n", 0);
    return write_text(file, line);
}

bool write_section(C_FILE *file, char *line, const WCO_section &section)
{
    std::snprintf(line, WCO_BUFFER_MAX + 1, "BEGIN[%s]\n", section.name);
    bool written = write_text(file, line);
    for (int32_t i = 0; i < section.count && written; i++)
        written = write_entry(file, line, section.entries[i]);
    std::snprintf(line, WCO_BUFFER_MAX + 1, "END[%s]\n\n", section.name);
    return written && write_text(file, line);
}

bool write_store(C_FILE *file, WCO_file *store)
{
    bool written = write_text(file, WCO_HEADER "\n\n");
    for (int32_t i = 0; i < store->count && written; i++)
        if (store->sections[i].count > 0)
            written = write_section(file, store->line, store->sections[i]);
    return written;
}

}  // namespace

int16_t WCO_load(WCO_file *store, const char *path)
{
    return WCO_load_observed(store, path, nullptr, nullptr);
}

int16_t WCO_load_observed(WCO_file *store, const char *path, WCO_OBSERVER observer, void *context)
{
    if (!store || !path)
        return internal_error(__LINE__);
    if (std::strlen(path) > WCO_PATH_MAX)
        return internal_error(__LINE__);
    ST_copy(store->file_name, path, WCO_PATH_MAX);
    if (!FE_exists(path) || FE_dir_exists(path))
        return 0;
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, path, FI_TEXT_READ))
        return 0;
    READER reader{store, observer, context, 1, 0, false, false};
    store->current = -1;
    const bool complete = read_file(file, reader);
    FI_close(file, 0);
    FI_destroy(&file);
    store->changed = 0;
    for (int32_t i = 0; i < store->count; i++)
        store->sections[i].changed = 0;
    // Both arrays are kept sorted on every insertion, so what remains is the
    // clean-up: obsolete keys and sections left without entries.
    WCO_purge_obsolete(store, nullptr);
    return complete ? 1 : 0;
}

int16_t WCO_save_needed(WCO_file *store, const char *path)
{
    if (!store)
        return internal_error(__LINE__);
    if (path && !same_path(path, store->file_name))
        return 1;
    const char *target = path ? path : store->file_name;
    if (!target[0] || !FE_exists(target) || store->changed)
        return 1;
    for (int32_t i = 0; i < store->count; i++)
        if (store->sections[i].changed)
            return 1;
    return 0;
}

int16_t WCO_save(WCO_file *store, const char *path)
{
    if (!store)
        return internal_error(__LINE__);
    if (path && std::strlen(path) > WCO_PATH_MAX)
        return internal_error(__LINE__);
    const int16_t needed = WCO_save_needed(store, path);
    if (path)
        ST_copy(store->file_name, path, WCO_PATH_MAX);
    if (!needed)
        return 1;
    if (!store->file_name[0])
        return internal_error(__LINE__);
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, store->file_name, FI_TEXT_CREATE))
        return 0;
    // A failed write keeps the changed flags, so that the next save tries again.
    bool written = write_store(file, store);
    written = FI_close(file, 0) && written;
    FI_destroy(&file);
    if (!written)
        return 0;
    for (int32_t i = 0; i < store->count; i++)
        store->sections[i].changed = 0;
    store->changed = 0;
    return 1;
}

int16_t WCO_save_forced(WCO_file *store, const char *path)
{
    if (!store)
        return internal_error(__LINE__);
    store->changed = 1;
    return WCO_save(store, path);
}

// ---- Typed values ----

namespace {

// Reads a value of one kind into out; the numeric kinds work on a copy in
// the section's work buffer.
template <class T>
using PARSE = int16_t (*)(WCO_section *section, const char *value, T *out);
// Writes a value of one kind into the section's work buffer; 0 for a value
// that has no written form (the caller reports it).
template <class T>
using FORMAT = int16_t (*)(WCO_section *section, const T *in);

template <class T>
int16_t get_from(WCO_section *section, const char *key, T *out, PARSE<T> parse)
{
    if (!section)
        return 0;
    const char *value = WCO_section_value(section, key);
    return value ? parse(section, value, out) : 0;
}

template <class T>
int16_t get_named(WCO_file *store, const char *section, const char *key, T *out, PARSE<T> parse)
{
    if (!store || !section || !key || !out)
        return internal_error(__LINE__);
    return get_from(WCO_find_section(store, section), key, out, parse);
}

template <class T>
int16_t get_current(WCO_file *store, const char *key, T *out, PARSE<T> parse)
{
    if (!store || !key || !out)
        return internal_error(__LINE__);
    return get_from(WCO_current_section(store), key, out, parse);
}

template <class T>
int16_t set_into(WCO_section *section, const char *key, const T *in, FORMAT<T> format)
{
    if (!section)
        return 0;
    if (!format(section, in))
        return internal_error(__LINE__);
    return WCO_section_set(section, key, section->work);
}

template <class T>
int16_t set_named(WCO_file *store, const char *section, const char *key, const T *in, FORMAT<T> format)
{
    if (!store || !section || !key || !in)
        return internal_error(__LINE__);
    return set_into(WCO_make_section(store, section), key, in, format);
}

template <class T>
int16_t set_current(WCO_file *store, const char *key, const T *in, FORMAT<T> format)
{
    if (!store || !key || !in)
        return internal_error(__LINE__);
    return set_into(WCO_current_section(store), key, in, format);
}

char *work_copy(WCO_section *section, const char *value)
{
    ST_copy(section->work, value, WCO_VALUE_MAX);
    return section->work;
}

int16_t put(WCO_section *section, const char *format, ...) TRK_PRINTF(2, 3);
int16_t put(WCO_section *section, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(section->work, sizeof section->work, format, args);
    va_end(args);
    return written >= 0 && written < static_cast<int>(sizeof section->work);
}

int16_t put_name(WCO_section *section, const char *name)
{
    return name ? ST_copy(section->work, name, WCO_BUFFER_MAX) : 0;
}

// Integers.
int16_t parse_int32(WCO_section *section, const char *value, int32_t *out)
{
    return SCAN_int32(work_copy(section, value), out);
}
int16_t format_int32(WCO_section *section, const int32_t *in)
{
    return put(section, "%d", *in);
}
int16_t parse_int16(WCO_section *section, const char *value, int16_t *out)
{
    return SCAN_int16(work_copy(section, value), out);
}
int16_t format_int16(WCO_section *section, const int16_t *in)
{
    return put(section, "%d", *in);
}

// Reals: read in 32-bit precision; a double is widened.
int16_t parse_real(WCO_section *section, const char *value, float *out)
{
    return SCAN_real(work_copy(section, value), out);
}
int16_t format_real(WCO_section *section, const float *in)
{
    return put(section, "%f", static_cast<double>(*in));
}
int16_t parse_double(WCO_section *section, const char *value, double *out)
{
    float real = 0;
    if (!SCAN_real(work_copy(section, value), &real))
        return 0;
    *out = real;
    return 1;
}
int16_t format_double(WCO_section *section, const double *in)
{
    return put(section, "%f", *in);
}

// Lists of numbers: each number is stored as soon as it is read; `required`
// tells whether the separator after a number (but the last) must be there.
int16_t parse_ints(char *text, int32_t *out, int count)
{
    for (int i = 0; i < count; i++) {
        if (!SCAN_int32(text, &out[i]))
            return 0;
        if (i + 1 < count && !SCAN_expect(text, ','))
            return 0;
    }
    return 1;
}
int16_t parse_reals(char *text, float *out, int count, bool required)
{
    for (int i = 0; i < count; i++) {
        if (!SCAN_real(text, &out[i]))
            return 0;
        if (i + 1 < count && !SCAN_expect(text, ',') && required)
            return 0;
    }
    return 1;
}

int16_t parse_int_pair(WCO_section *section, const char *value, int32_t *out)
{
    return parse_ints(work_copy(section, value), out, 2);
}
int16_t format_int_pair(WCO_section *section, const int32_t *in)
{
    return put(section, "%d, %d", in[0], in[1]);
}
int16_t parse_int_quad(WCO_section *section, const char *value, int32_t *out)
{
    return parse_ints(work_copy(section, value), out, 4);
}
int16_t format_int_quad(WCO_section *section, const int32_t *in)
{
    return put(section, "%d, %d, %d, %d", in[0], in[1], in[2], in[3]);
}
int16_t parse_real_pair(WCO_section *section, const char *value, float *out)
{
    return parse_reals(work_copy(section, value), out, 2, false);
}
int16_t format_real_pair(WCO_section *section, const float *in)
{
    return put(section, "%f %f", static_cast<double>(in[0]), static_cast<double>(in[1]));
}
int16_t parse_real_quad(WCO_section *section, const char *value, float *out)
{
    return parse_reals(work_copy(section, value), out, 4, true);
}
int16_t format_real_quad(WCO_section *section, const float *in)
{
    return put(section, "%f, %f, %f, %f", static_cast<double>(in[0]), static_cast<double>(in[1]),
               static_cast<double>(in[2]), static_cast<double>(in[3]));
}

// RGB: a component outside a byte does not read (it would come back as
// another colour); the record changes only when the whole value reads.
int16_t parse_rgb(WCO_section *section, const char *value, WCO_RGB *out)
{
    char *text = work_copy(section, value);
    int32_t parts[3] = {0, 0, 0};
    for (int32_t &part : parts)
        if (!SCAN_int32(text, &part) || part < 0 || part > 255 || !SCAN_expect(text, ','))
            return 0;
    ST_trim(text);
    out->red = static_cast<uint8_t>(parts[0]);
    out->green = static_cast<uint8_t>(parts[1]);
    out->blue = static_cast<uint8_t>(parts[2]);
    ST_copy(out->name, text, WCO_RGB_NAME_MAX);
    return 1;
}
int16_t format_rgb(WCO_section *section, const WCO_RGB *in)
{
    return put(section, "%d, %d, %d, %.40s", in->red, in->green, in->blue, in->name);
}

// The name kinds read the stored value directly and never fail.
template <class T, int16_t (*VOC_PARSE)(const char *)>
int16_t parse_name(WCO_section *, const char *value, T *out)
{
    *out = static_cast<T>(VOC_PARSE(value));
    return 1;
}
template <class T, const char *(*VOC_NAME)(int16_t)>
int16_t format_name(WCO_section *section, const T *in)
{
    return put_name(section, VOC_NAME(static_cast<int16_t>(*in)));
}

}  // namespace

// Both forms of one kind's set and get.
#define WCO_TYPED(NAME, T, PARSE_FN, FORMAT_FN)                                                      \
    int16_t WCO_set_##NAME(WCO_file *store, const char *section, const char *key, T value)          \
    {                                                                                               \
        return set_named<T>(store, section, key, &value, FORMAT_FN);                                \
    }                                                                                               \
    int16_t WCO_set_##NAME(WCO_file *store, const char *key, T value)                               \
    {                                                                                               \
        return set_current<T>(store, key, &value, FORMAT_FN);                                       \
    }                                                                                               \
    int16_t WCO_get_##NAME(WCO_file *store, const char *section, const char *key, T *value)         \
    {                                                                                               \
        return get_named<T>(store, section, key, value, PARSE_FN);                                  \
    }                                                                                               \
    int16_t WCO_get_##NAME(WCO_file *store, const char *key, T *value)                              \
    {                                                                                               \
        return get_current<T>(store, key, value, PARSE_FN);                                         \
    }

// The same for kinds passed as arrays or records.
#define WCO_TYPED_ARRAY(NAME, T, IN, OUT, PARSE_FN, FORMAT_FN)                                       \
    int16_t WCO_set_##NAME(WCO_file *store, const char *section, const char *key, IN values)        \
    {                                                                                               \
        return set_named<T>(store, section, key, values, FORMAT_FN);                                \
    }                                                                                               \
    int16_t WCO_set_##NAME(WCO_file *store, const char *key, IN values)                             \
    {                                                                                               \
        return set_current<T>(store, key, values, FORMAT_FN);                                       \
    }                                                                                               \
    int16_t WCO_get_##NAME(WCO_file *store, const char *section, const char *key, OUT values)       \
    {                                                                                               \
        return get_named<T>(store, section, key, values, PARSE_FN);                                 \
    }                                                                                               \
    int16_t WCO_get_##NAME(WCO_file *store, const char *key, OUT values)                            \
    {                                                                                               \
        return get_current<T>(store, key, values, PARSE_FN);                                        \
    }

WCO_TYPED(int32, int32_t, parse_int32, format_int32)
WCO_TYPED(int16, int16_t, parse_int16, format_int16)
WCO_TYPED(real, float, parse_real, format_real)
WCO_TYPED(double, double, parse_double, format_double)
WCO_TYPED_ARRAY(int_pair, int32_t, const int32_t *, int32_t *, parse_int_pair, format_int_pair)
WCO_TYPED_ARRAY(int_quad, int32_t, const int32_t *, int32_t *, parse_int_quad, format_int_quad)
WCO_TYPED_ARRAY(real_pair, float, const float *, float *, parse_real_pair, format_real_pair)
WCO_TYPED_ARRAY(real_quad, float, const float *, float *, parse_real_quad, format_real_quad)
WCO_TYPED_ARRAY(rgb, WCO_RGB, const WCO_RGB *, WCO_RGB *, parse_rgb, format_rgb)
WCO_TYPED(yes, int16_t, (parse_name<int16_t, VOC_parse_yes>), (format_name<int16_t, VOC_yes_no>))
WCO_TYPED(colour, uint8_t, (parse_name<uint8_t, VOC_parse_colour>), (format_name<uint8_t, VOC_colour_name>))
WCO_TYPED(draw_mode, uint8_t, (parse_name<uint8_t, VOC_parse_raster_op>),
          (format_name<uint8_t, VOC_raster_op_name>))
WCO_TYPED(code_page, int16_t, (parse_name<int16_t, VOC_parse_code_page>),
          (format_name<int16_t, VOC_code_page_name>))
WCO_TYPED(unit, int16_t, (parse_name<int16_t, VOC_parse_unit>), (format_name<int16_t, VOC_unit_name>))
WCO_TYPED(text_window, int16_t, (parse_name<int16_t, VOC_parse_text_window>),
          (format_name<int16_t, VOC_text_window_name>))
WCO_TYPED(panning, int16_t, (parse_name<int16_t, VOC_parse_panning>), (format_name<int16_t, VOC_panning_name>))
WCO_TYPED(cursor, int16_t, (parse_name<int16_t, VOC_parse_cursor>), (format_name<int16_t, VOC_cursor_name>))
WCO_TYPED(toolbar, int16_t, (parse_name<int16_t, VOC_parse_toolbar>), (format_name<int16_t, VOC_toolbar_name>))
WCO_TYPED(key, int16_t, (parse_name<int16_t, VOC_parse_key>), (format_name<int16_t, VOC_key_name>))
