#include "inst/unl.h"

#include "common/fi.h"
#include "common/st.h"
#include "win/we.h"

// A null path is a mistake of the engine, so the report names the engine.
static const char SRC[] = "insttrkp";

namespace {

C_FILE *uninst = nullptr;   // "UNINST.LST" while recording is on

// Appends text to a path of at most UNL_PATH_MAX characters, cutting what
// does not fit (no cut mark: the path is a name, not a display text).
void append_cut(char *path, const char *text)
{
    int16_t n = ST_length(path);
    while (n < UNL_PATH_MAX && *text)
        path[n++] = *text++;
    path[n] = 0;
}

// Adds "\" unless the path already ends with one, then the name.
void append_name(char *path, const char *name)
{
    int16_t n = ST_length(path);
    if (n > 0 && path[n - 1] != '\\')
        append_cut(path, "\\");
    append_cut(path, name);
}

}  // namespace

void UNL_encode_record(int16_t kind, const char *path, uint8_t record[UNL_RECORD_SIZE])
{
    record[0] = static_cast<uint8_t>(kind);
    record[1] = static_cast<uint8_t>(static_cast<uint16_t>(kind) >> 8);
    int n = 0;
    while (n < UNL_PATH_MAX && path[n]) {
        record[2 + n] = static_cast<uint8_t>(path[n]);
        n++;
    }
    // The terminator, then blanks up to offset 1025; a path of 1024
    // characters fills the field and the zero at 1026 ends it.
    if (n < UNL_PATH_MAX)
        record[2 + n++] = 0;
    while (n < UNL_PATH_MAX)
        record[2 + n++] = ' ';
    record[1026] = 0;
    record[1027] = 0;
}

namespace {

int16_t write_record(int16_t kind, const char *path)
{
    uint8_t record[UNL_RECORD_SIZE];
    UNL_encode_record(kind, path, record);
    // Passed to the system at once: a program killed after this record
    // leaves it whole in the list, and the thing it names is made only after it.
    return FI_write(uninst, record, UNL_RECORD_SIZE) && FI_flush(uninst);
}

}  // namespace

int16_t UNL_open()
{
    UNL_close();
    FI_create_open(&uninst, UNL_LIST_NAME, FI_BIN_CREATE);
    return 1;
}

int16_t UNL_close()
{
    if (uninst) {
        FI_close(uninst, 0);
        FI_destroy(&uninst);
    }
    return 1;
}

int16_t UNL_recording() { return uninst ? 1 : 0; }

int16_t UNL_add_file(const char *directory, const char *name, const char *second)
{
    if (!directory) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!uninst)
        return 1;
    char path[UNL_PATH_MAX + 1] = "";
    append_cut(path, directory);
    if (name && name[0])
        append_name(path, name);
    if (second && second[0])
        append_name(path, second);
    return write_record(UNL_KIND_FILE, path);
}

int16_t UNL_add_directory(const char *path)
{
    if (!path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!uninst)
        return 1;
    char directory[UNL_PATH_MAX + 1] = "";
    append_cut(directory, path);
    int16_t n = ST_length(directory);
    if (n > 0 && directory[n - 1] == '\\')
        directory[n - 1] = 0;
    return write_record(UNL_KIND_DIRECTORY, directory);
}

int16_t UNL_add_registry_key(const char *key_path)
{
    if (!key_path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!uninst)
        return 1;
    char key[UNL_PATH_MAX + 1] = "";
    append_cut(key, key_path);
    return write_record(UNL_KIND_REGISTRY_KEY, key);
}

int16_t UNL_decode_record(const uint8_t bytes[UNL_RECORD_SIZE], int16_t *kind, char *path)
{
    if (!bytes || !kind || !path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *kind = -1;
    path[0] = 0;
    const int16_t stored = static_cast<int16_t>(bytes[0] | bytes[1] << 8);
    if ((stored != UNL_KIND_FILE && stored != UNL_KIND_DIRECTORY && stored != UNL_KIND_REGISTRY_KEY) ||
        bytes[1026] != 0 || bytes[1027] != 0)
        return 0;
    int n = 0;
    while (n < UNL_PATH_MAX && bytes[2 + n])
        n++;
    for (int i = n + 1; i < UNL_PATH_MAX; i++)
        if (bytes[2 + i] != ' ')
            return 0;
    for (int i = 0; i < n; i++)
        path[i] = static_cast<char>(bytes[2 + i]);
    path[n] = 0;
    *kind = stored;
    return 1;
}
