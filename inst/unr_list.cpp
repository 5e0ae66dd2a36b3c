#include "inst/unr_list.h"

#include <cstdio>
#include <cstring>

#include "common/mm.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\inst\\unr_list";

namespace {

// The path in upper case into upper (UNL_PATH_MAX + 1 bytes); 0 for a longer one.
int16_t upper_copy(const char *path, char *upper)
{
    if (!ST_copy(upper, path, UNL_PATH_MAX))
        return 0;
    ST_upper(upper);
    return 1;
}

// Cuts the path at its last "\"; 0 when it has none.
int16_t cut_last_name(char *path)
{
    char *last = ST_find_last(path, '\\');
    if (!last)
        return 0;
    *last = 0;
    return 1;
}

// Appends a line ("\n" before it unless it is the first) when it fits whole.
void append_line(char *text, int32_t size, const char *line)
{
    const size_t used = std::strlen(text), separator = used ? 1 : 0, length = std::strlen(line);
    if (used + separator + length + 1 > static_cast<size_t>(size))
        return;
    if (separator)
        text[used] = '\n';
    std::memcpy(text + used + separator, line, length + 1);
}

// 1 when an earlier record of the same kind and path was left the same way.
int16_t told_before(const C_UNR_LIST *list, int32_t index)
{
    const UNR_RECORD &r = list->records[index];
    for (int32_t i = 0; i < index; i++) {
        const UNR_RECORD &e = list->records[i];
        if (e.kind == r.kind && e.state == r.state && std::strcmp(e.path, r.path) == 0)
            return 1;
    }
    return 0;
}

// 1 when the name (from name up to end) is a device of the system in any
// folder: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$,
// also with an extension.
int16_t device_name(const char *name, const char *end)
{
    static const char *const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    char base[8] = "";
    size_t n = 0;
    for (const char *p = name; p < end && *p != '.'; p++) {
        if (n + 1 >= sizeof base)
            return 0;
        base[n++] = (*p >= 'a' && *p <= 'z') ? static_cast<char>(*p - 32) : *p;
    }
    base[n] = 0;
    for (const char *d : devices)
        if (std::strcmp(base, d) == 0)
            return 1;
    return n == 4 && (std::strncmp(base, "COM", 3) == 0 || std::strncmp(base, "LPT", 3) == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

void release(C_UNR_LIST *list)
{
    MM_free(list->records, SRC, __LINE__);
    list->records = nullptr;
    list->count = 0;
    list->cut = 0;
}

}  // namespace

int16_t UNR_same_path(const char *a, const char *b)
{
    char upper_a[UNL_PATH_MAX + 1], upper_b[UNL_PATH_MAX + 1];
    return a && b && upper_copy(a, upper_a) && upper_copy(b, upper_b) && std::strcmp(upper_a, upper_b) == 0;
}

C_UNR_LIST::~C_UNR_LIST()
{
    release(this);
}

void C_UNR_LIST::clear()
{
    release(this);
}

int16_t UNR_plain_path(const char *path)
{
    if (!path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char drive = path[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) || path[1] != ':' || path[2] != '\\')
        return 0;
    const char *name = path + 3;   // the start of the name being read
    for (const char *p = name; p - path <= UNL_PATH_MAX; p++) {
        if (*p == '\\' || *p == 0) {
            // The system would drop a trailing dot or blank: the name would not be the one recorded.
            if (p == name || p[-1] == '.' || p[-1] == ' ' || device_name(name, p))
                return 0;
            if (*p == 0)
                return 1;
            name = p + 1;
        } else if (static_cast<unsigned char>(*p) < 32 || ST_find_char("/:<>\"|?*", *p)) {
            return 0;
        }
    }
    return 0;
}

int16_t UNR_install_dir(const char *program, char *dir)
{
    if (!program || !dir) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!ST_copy(dir, program, UNL_PATH_MAX) || !cut_last_name(dir) || !cut_last_name(dir) || !UNR_plain_path(dir)) {
        dir[0] = 0;
        return 0;
    }
    return 1;
}

int16_t UNR_add_place(UNR_PLACES *places, const char *root, int16_t itself)
{
    if (!places || !root) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (places->count >= UNR_PLACES_MAX)
        return 0;
    char *slot = places->root[places->count];
    if (!upper_copy(root, slot))
        return 0;
    const int16_t n = ST_length(slot);
    if (n > 0 && slot[n - 1] == '\\')
        slot[n - 1] = 0;
    if (!UNR_plain_path(slot))
        return 0;
    places->itself[places->count++] = itself;
    return 1;
}

int16_t UNR_place_of(const UNR_PLACES *places, int16_t kind, const char *path)
{
    if (!places || !path) {
        WE_internal_error(SRC, __LINE__);
        return -1;
    }
    char upper[UNL_PATH_MAX + 1];
    if ((kind != UNL_KIND_FILE && kind != UNL_KIND_DIRECTORY) || !UNR_plain_path(path) || !upper_copy(path, upper))
        return -1;
    for (int16_t i = 0; i < places->count; i++) {
        const size_t n = std::strlen(places->root[i]);
        if (std::strncmp(upper, places->root[i], n) == 0 &&
            (upper[n] == '\\' || (upper[n] == 0 && places->itself[i] && kind == UNL_KIND_DIRECTORY)))
            return i;
    }
    return -1;
}

int16_t UNR_allowed(const UNR_PLACES *places, int16_t kind, const char *path)
{
    if (!places || !path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (kind == UNL_KIND_REGISTRY_KEY)
        return UNR_same_path(path, UNR_UNINSTALL_KEY);
    return UNR_place_of(places, kind, path) >= 0 ? 1 : 0;
}

UNR_LOAD UNR_parse(const uint8_t *bytes, int64_t size, const char *name, C_UNR_LIST *list)
{
    if ((!bytes && size > 0) || size < 0 || !name || !list) {
        WE_internal_error(SRC, __LINE__);
        return UNR_UNREADABLE;
    }
    release(list);
    const int64_t whole = size / UNL_RECORD_SIZE;
    const int16_t cut = size % UNL_RECORD_SIZE != 0;
    if (size == 0 || whole > UNR_RECORDS_MAX)
        return UNR_DAMAGED;
    const int32_t count = static_cast<int32_t>(whole);
    UNR_RECORD *records = static_cast<UNR_RECORD *>(MM_alloc(count + 1, sizeof(UNR_RECORD), SRC, __LINE__));
    if (!records)
        return UNR_UNREADABLE;
    for (int32_t i = 0; i < count; i++)
        if (!UNL_decode_record(bytes + static_cast<int64_t>(i) * UNL_RECORD_SIZE, &records[i].kind, records[i].path)) {
            MM_free(records, SRC, __LINE__);
            return UNR_DAMAGED;
        }
    // The list itself, so that its removal is told like any other.
    if (!ST_copy(records[count].path, name, UNL_PATH_MAX)) {
        MM_free(records, SRC, __LINE__);
        return UNR_UNREADABLE;
    }
    records[count].kind = UNL_KIND_FILE;
    list->records = records;
    list->count = count + 1;
    list->cut = cut;
    return UNR_LOADED;
}

int16_t UNR_left(int16_t state)
{
    return state == UNR_OUTSIDE || state == UNR_FAILED || state == UNR_LINKED;
}

int32_t UNR_left_text(const C_UNR_LIST *list, int16_t max_lines, char *text, int32_t size)
{
    if (!list || !text || size < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    text[0] = 0;
    int32_t left = 0;
    char line[UNL_PATH_MAX + 64];
    for (int32_t i = 0; i < list->count; i++) {
        const UNR_RECORD &r = list->records[i];
        if (!UNR_left(r.state) || told_before(list, i))
            continue;
        if (++left > max_lines)
            continue;
        const char *format = r.state == UNR_OUTSIDE ? UNR_TEXT_OUTSIDE
                             : r.state == UNR_LINKED ? UNR_TEXT_LINKED
                                                     : UNR_TEXT_FAILED;
        std::snprintf(line, sizeof line, format, r.path);
        append_line(text, size, line);
    }
    if (left > max_lines) {
        std::snprintf(line, sizeof line, UNR_TEXT_MORE, static_cast<int>(left - max_lines));
        append_line(text, size, line);
    }
    return left;
}
