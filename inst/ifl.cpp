#include "inst/ifl.h"

#include <cstdio>
#include <cstdlib>

#include "common/config.h"
#include "common/fi.h"
#include "common/mm.h"
#include "common/st.h"
#include "common/sys.h"
#include "win/we.h"

static const char SRC[] = "..\\inst\\ifl";

namespace {

const char DEFAULT_TARGET[] = "C:\\KRV5\\";

uint16_t get16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
void put16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A text field: at most `maximum` characters up to the first zero byte; the
// field may be full without a terminator.
void get_text(char *out, const uint8_t *field, int maximum)
{
    int n = 0;
    while (n < maximum && field[n])
        n++;
    for (int i = 0; i < n; i++)
        out[i] = static_cast<char>(field[i]);
    out[n] = 0;
}

// The text into a field of `size` bytes, zero-filled; at most size - 1
// characters, or size for the 17-byte names (which may fill their field).
void put_text(uint8_t *field, const char *text, int size, int maximum)
{
    for (int i = 0; i < size; i++)
        field[i] = 0;
    for (int i = 0; i < maximum && text[i]; i++)
        field[i] = static_cast<uint8_t>(text[i]);
}

// The program's own path, in the suite's form.
void program_path(char *out, int16_t maximum)
{
    ST_copy(out, SYS_program_path().c_str(), maximum);
#if !TRK_WINDOWS
    ST_replace_char(out, '/', '\\');
#endif
}

// 1 when the two names are the same name, case aside (as the file system sees them).
int16_t same_name(const char *a, const char *b)
{
    char upper_a[IFL_NAME_MAX + 1], upper_b[IFL_NAME_MAX + 1];
    ST_copy(upper_a, a, IFL_NAME_MAX);
    ST_copy(upper_b, b, IFL_NAME_MAX);
    ST_upper(upper_a);
    ST_upper(upper_b);
    return ST_compare_plain(upper_a, upper_b) == 0;
}

// Appends text while the result stays within IFL_PATH_MAX; 0 when it would not.
int16_t append_path(char *out, const char *text)
{
    if (ST_length(out) + ST_length(text) > IFL_PATH_MAX)
        return 0;
    ST_append(out, text, 0);
    return 1;
}

}  // namespace

int16_t IFL_create(IFL_state **state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *state = static_cast<IFL_state *>(MM_alloc(1, sizeof(IFL_state), SRC, __LINE__));
    if (!*state) {
        WE_low_memory();
        return 0;
    }
    IFL_state *s = *state;
    program_path(s->source_dir, IFL_PATH_MAX);
    if (char *last = ST_find_last(s->source_dir, '\\'))
        last[1] = 0;
    else
        s->source_dir[0] = 0;
    ST_upper(s->source_dir);
    ST_copy(s->target_dir, DEFAULT_TARGET, 0);
    return 1;
}

int16_t IFL_destroy(IFL_state **state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!*state)
        return 1;
    IFL_close_list(*state);
    MM_free(*state, SRC, __LINE__);
    *state = nullptr;
    return 1;
}

int16_t IFL_close_list(IFL_state *state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (state->list) {
        FI_close(state->list, 0);
        FI_destroy(&state->list);
    }
    return 1;
}

int16_t IFL_open_list(IFL_state *state, const char *path)
{
    if (!state || !path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    IFL_close_list(state);
    if (!FI_create_open(&state->list, path, FI_BIN_READ))
        return 0;
    return 1;
}

int16_t IFL_read_header(IFL_state *state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!state->list && !IFL_open_list(state, IFL_LIST_NAME))
        return 0;
    uint8_t bytes[IFL_HEADER_SIZE];
    if (!FI_seek(state->list, 0) || !FI_read(state->list, bytes, IFL_HEADER_SIZE))
        return 0;
    IFL_decode_header(state, bytes);
    state->records_read = 0;
    return 1;
}

int16_t IFL_next_record(IFL_state *state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!state->list || state->records_read >= state->record_count)
        return 0;
    uint8_t bytes[IFL_RECORD_SIZE];
    if (!FI_read(state->list, bytes, IFL_RECORD_SIZE))
        return 0;
    IFL_decode_record(state, bytes);
    state->records_read++;
    return 1;
}

void IFL_decode_header(IFL_state *state, const uint8_t bytes[IFL_HEADER_SIZE])
{
    if (!state || !bytes) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    state->header_value_0 = static_cast<int16_t>(get16(bytes));
    get_text(state->user_name, bytes + 2, IFL_TEXT_MAX);
    state->header_value_84 = static_cast<int16_t>(get16(bytes + 84));
    state->record_count = get16(bytes + 86);
    state->set_number = static_cast<int16_t>(get16(bytes + 88));
    state->packed = static_cast<int16_t>(get16(bytes + 90));
}

void IFL_decode_record(IFL_state *state, const uint8_t bytes[IFL_RECORD_SIZE])
{
    if (!state || !bytes) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    get_text(state->target_name, bytes, IFL_NAME_MAX);
    get_text(state->source_name, bytes + 17, IFL_NAME_MAX);
    get_text(state->target_subdir, bytes + 34, IFL_NAME_MAX);
    state->size = get32(bytes + 52);
    state->disk_index = static_cast<int16_t>(get16(bytes + 56));
    get_text(state->description, bytes + 58, IFL_TEXT_MAX);
}

void IFL_encode_header(const IFL_state *state, uint8_t bytes[IFL_HEADER_SIZE])
{
    if (!state || !bytes) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    put16(bytes, static_cast<uint16_t>(state->header_value_0));
    put_text(bytes + 2, state->user_name, 82, IFL_TEXT_MAX);
    put16(bytes + 84, static_cast<uint16_t>(state->header_value_84));
    put16(bytes + 86, state->record_count);
    put16(bytes + 88, static_cast<uint16_t>(state->set_number));
    put16(bytes + 90, static_cast<uint16_t>(state->packed));
}

void IFL_encode_record(const IFL_state *state, uint8_t bytes[IFL_RECORD_SIZE])
{
    if (!state || !bytes) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    put_text(bytes, state->target_name, 17, IFL_NAME_MAX);
    put_text(bytes + 17, state->source_name, 17, IFL_NAME_MAX);
    put_text(bytes + 34, state->target_subdir, 17, IFL_NAME_MAX);
    bytes[51] = 0;
    put32(bytes + 52, state->size);
    put16(bytes + 56, static_cast<uint16_t>(state->disk_index));
    put_text(bytes + 58, state->description, 82, IFL_TEXT_MAX);
}

int16_t IFL_safe_name(const char *name, int16_t allow_dot)
{
    if (!name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!name[0] || ST_find_any(name, "\\/:"))
        return 0;
    // "..", "..." and the like lead out of the directory (Windows also drops
    // trailing dots); "." is the installation directory itself.
    if (ST_consists_of(name, "."))
        return allow_dot && name[1] == 0 ? 1 : 0;
    return 1;
}

int16_t IFL_check_record(const IFL_state *state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *field = nullptr;
    const char *value = nullptr;
    char number[8];
    if (!IFL_safe_name(state->target_name, 0)) {
        field = "cílový název souboru";
        value = state->target_name;
    } else if (!IFL_safe_name(state->source_name, 0) || (state->packed && same_name(state->source_name, state->target_name))) {
        field = "název souboru na disketě";
        value = state->source_name;
    } else if (!IFL_safe_name(state->target_subdir, 1)) {
        field = "cílový podadresář";
        value = state->target_subdir;
    } else if (state->disk_index < 0 || state->disk_index >= IFL_DISKS_MAX) {
        std::snprintf(number, sizeof number, "%d", state->disk_index + 1);
        field = "číslo diskety";
        value = number;
    } else {
        return 1;
    }
    WE_error_format("Nepřípustný záznam %u souboru DISKLIST.LST: %s \"%s\"", static_cast<unsigned>(state->records_read),
                    field, value);
    return 0;
}

int16_t IFL_check_list(IFL_state *state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!IFL_read_header(state)) {
        WE_error_format("Chybná cesta/soubor nenalezen: %s", state->list ? state->list->name : IFL_LIST_NAME);
        return 0;
    }
    // A short list ends the pass with the file layer's message; the records
    // read so far are then the whole list, as for every other pass.
    while (IFL_next_record(state))
        if (!IFL_check_record(state))
            return 0;
    return 1;
}

int16_t IFL_place(const IFL_state *state, char *out)
{
    if (!state || !out) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    out[0] = 0;
    int16_t ok = append_path(out, state->target_dir);
    if (ok && ST_compare_plain(state->target_subdir, ".") != 0)
        ok = append_path(out, state->target_subdir) && append_path(out, "\\");
    if (!ok)
        out[0] = 0;
    return ok;
}

int16_t IFL_installed_path(const IFL_state *state, char *out)
{
    if (!IFL_place(state, out))
        return 0;
    if (!append_path(out, state->target_name)) {
        out[0] = 0;
        return 0;
    }
    return 1;
}

int16_t IFL_write_inst_line(C_FILE *inst_list, const IFL_state *state)
{
    if (!inst_list || !state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char line[IFL_PATH_MAX + 1 + IFL_TEXT_MAX + 1];
    if (!IFL_installed_path(state, line))
        return 0;
    ST_append(line, " ", 0);
    ST_append(line, state->description, 0);
    return FI_write_text(inst_list, line);
}
