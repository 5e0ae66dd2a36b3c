#include "insttrkp/unr.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/mm.h"
#include "common/st.h"
#include "common/sysfold.h"
#include "common/sysreg.h"
#include "win/we.h"

static const char SRC[] = "..\\insttrkp\\unr";

namespace {

const int16_t HELPER_POLL_MS = 20;

// The path in upper case into upper (UNL_PATH_MAX + 1 bytes); 0 for a longer one.
int16_t upper_copy(const char *path, char *upper)
{
    if (!ST_copy(upper, path, UNL_PATH_MAX))
        return 0;
    ST_upper(upper);
    return 1;
}

int16_t same_path(const char *a, const char *b)
{
    char upper_a[UNL_PATH_MAX + 1], upper_b[UNL_PATH_MAX + 1];
    return upper_copy(a, upper_a) && upper_copy(b, upper_b) && std::strcmp(upper_a, upper_b) == 0;
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

// 1 when nothing of that name is there (a name that cannot be looked at is there).
int16_t gone(const char *path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

int16_t remove_file(const char *path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return gone(path) ? UNR_REMOVED : UNR_FAILED;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return UNR_FAILED;
    if (attributes & FILE_ATTRIBUTE_READONLY)   // copied from a read-only medium
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileA(path) || gone(path) ? UNR_REMOVED : UNR_FAILED;
}

int16_t remove_key(const char *key)
{
    return SYS_registry_delete_key(HKEY_LOCAL_MACHINE, key) || !SYS_registry_key_exists(HKEY_LOCAL_MACHINE, key)
               ? UNR_REMOVED
               : UNR_FAILED;
}

// One try: UNR_REMOVED, UNR_PENDING while something is still inside, UNR_FAILED.
int16_t remove_directory(const char *path)
{
    if (RemoveDirectoryA(path))
        return UNR_REMOVED;
    const DWORD error = GetLastError();
    if (gone(path))
        return UNR_REMOVED;
    return error == ERROR_DIR_NOT_EMPTY ? UNR_PENDING : UNR_FAILED;
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

void release(C_UNR_LIST *list)
{
    MM_free(list->records, SRC, __LINE__);
    list->records = nullptr;
    list->count = 0;
}

}  // namespace

C_UNR_LIST::~C_UNR_LIST()
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
            if (p == name || p[-1] == '.' || p[-1] == ' ')
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

int16_t UNR_find_places(const char *install_dir, UNR_PLACES *places)
{
    if (!install_dir || !places) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    places->count = 0;
    if (!UNR_add_place(places, install_dir, 1))
        return 0;
    static const struct { HKEY root; const char *name, *below; } folders[] = {
        {HKEY_LOCAL_MACHINE, "Common Programs", ""},
        {HKEY_CURRENT_USER, "Programs", ""},
        {HKEY_CURRENT_USER, "Desktop", ""},
        {HKEY_CURRENT_USER, "AppData", UNR_QUICK_LAUNCH},
    };
    for (const auto &f : folders) {
        char folder[SYS_FOLDER_MAX + sizeof UNR_QUICK_LAUNCH];
        if (SYS_shell_folder(f.root, f.name, folder)) {
            ST_append(folder, f.below, 0);
            UNR_add_place(places, folder, 0);
        }
    }
    return 1;
}

int16_t UNR_allowed(const UNR_PLACES *places, int16_t kind, const char *path)
{
    if (!places || !path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (kind == UNL_KIND_REGISTRY_KEY)
        return same_path(path, UNR_UNINSTALL_KEY);
    char upper[UNL_PATH_MAX + 1];
    if ((kind != UNL_KIND_FILE && kind != UNL_KIND_DIRECTORY) || !UNR_plain_path(path) || !upper_copy(path, upper))
        return 0;
    for (int16_t i = 0; i < places->count; i++) {
        const size_t n = std::strlen(places->root[i]);
        if (std::strncmp(upper, places->root[i], n) == 0 &&
            (upper[n] == '\\' || (upper[n] == 0 && places->itself[i] && kind == UNL_KIND_DIRECTORY)))
            return 1;
    }
    return 0;
}

UNR_LOAD UNR_load(const char *name, C_UNR_LIST *list)
{
    if (!name || !list) {
        WE_internal_error(SRC, __LINE__);
        return UNR_UNREADABLE;
    }
    release(list);
    C_HANDLE file(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (file == INVALID_HANDLE_VALUE) {
        *file.out() = nullptr;
        return gone(name) ? UNR_MISSING : UNR_UNREADABLE;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return UNR_UNREADABLE;
    if (size.QuadPart == 0 || size.QuadPart % UNL_RECORD_SIZE != 0 ||
        size.QuadPart / UNL_RECORD_SIZE > UNR_RECORDS_MAX)
        return UNR_DAMAGED;
    const int32_t count = static_cast<int32_t>(size.QuadPart / UNL_RECORD_SIZE);
    UNR_RECORD *records = static_cast<UNR_RECORD *>(MM_alloc(count + 1, sizeof(UNR_RECORD), SRC, __LINE__));
    if (!records)
        return UNR_UNREADABLE;
    UNR_LOAD result = UNR_LOADED;
    for (int32_t i = 0; i < count && result == UNR_LOADED; i++) {
        uint8_t bytes[UNL_RECORD_SIZE];
        DWORD done = 0;
        if (!ReadFile(file, bytes, UNL_RECORD_SIZE, &done, nullptr) || done != UNL_RECORD_SIZE)
            result = UNR_UNREADABLE;
        else if (!UNL_decode_record(bytes, &records[i].kind, records[i].path))
            result = UNR_DAMAGED;
    }
    // The list itself, so that its removal is told like any other.
    if (result == UNR_LOADED && !ST_copy(records[count].path, name, UNL_PATH_MAX))
        result = UNR_UNREADABLE;
    if (result != UNR_LOADED) {
        MM_free(records, SRC, __LINE__);
        return result;
    }
    records[count].kind = UNL_KIND_FILE;
    list->records = records;
    list->count = count + 1;
    return UNR_LOADED;
}

int16_t UNR_remove(C_UNR_LIST *list, const UNR_PLACES *places, const char *install_dir, const char *program)
{
    if (!list || !places || !install_dir || !program || list->count < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char inst_list[UNL_PATH_MAX + 1] = "";
    ST_copy(inst_list, install_dir, UNL_PATH_MAX);
    ST_append(inst_list, "\\" UNR_INSTALL_LIST, UNL_PATH_MAX);
    const char *uninst_list = list->records[list->count - 1].path;
    auto is_list = [&](const UNR_RECORD &r) {
        return r.kind == UNL_KIND_FILE && (same_path(r.path, inst_list) || same_path(r.path, uninst_list));
    };

    int16_t own = 0;
    for (int32_t i = 0; i < list->count; i++) {
        UNR_RECORD &r = list->records[i];
        if (!UNR_allowed(places, r.kind, r.path))
            r.state = UNR_OUTSIDE;
        else if (r.kind == UNL_KIND_FILE && same_path(r.path, program))
            r.state = UNR_OWN, own = 1;
    }
    // Keys and files from the last made back to the first; the two lists
    // after them, so that an interrupted run can be repeated.
    for (int pass = 0; pass < 2; pass++)
        for (int32_t i = list->count - 1; i >= 0; i--) {
            UNR_RECORD &r = list->records[i];
            if (r.state != UNR_PENDING || r.kind == UNL_KIND_DIRECTORY || is_list(r) != (pass == 1))
                continue;
            r.state = r.kind == UNL_KIND_REGISTRY_KEY ? remove_key(r.path) : remove_file(r.path);
        }
    // Directories as they become empty: a pass removes the deepest level left.
    for (int16_t progress = 1; progress;) {
        progress = 0;
        for (int32_t i = list->count - 1; i >= 0; i--) {
            UNR_RECORD &r = list->records[i];
            if (r.state != UNR_PENDING || r.kind != UNL_KIND_DIRECTORY)
                continue;
            r.state = remove_directory(r.path);
            if (r.state != UNR_PENDING)
                progress = 1;
        }
    }
    const int16_t own_state = own && UNR_remove_later(program) ? UNR_OWN : UNR_FAILED;
    int16_t complete = 1;
    for (int32_t i = 0; i < list->count; i++) {
        UNR_RECORD &r = list->records[i];
        if (r.state == UNR_PENDING)   // only directories are left pending: they hold other files
            r.state = UNR_KEPT;
        else if (r.state == UNR_OWN)
            r.state = own_state;
        if (r.state == UNR_OUTSIDE || r.state == UNR_FAILED)
            complete = 0;
    }
    return complete;
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
        if ((r.state != UNR_OUTSIDE && r.state != UNR_FAILED) || told_before(list, i))
            continue;
        if (++left > max_lines)
            continue;
        std::snprintf(line, sizeof line, r.state == UNR_OUTSIDE ? UNR_TEXT_OUTSIDE : UNR_TEXT_FAILED, r.path);
        append_line(text, size, line);
    }
    if (left > max_lines) {
        std::snprintf(line, sizeof line, UNR_TEXT_MORE, static_cast<int>(left - max_lines));
        append_line(text, size, line);
    }
    return left;
}

int16_t UNR_remove_later(const char *program)
{
    if (!program) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char folder[MAX_PATH + 1], copy[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof folder, folder);
    if (n == 0 || n >= sizeof folder || !GetTempFileNameA(folder, "UNI", 0, copy))
        return 0;
    if (!CopyFileA(program, copy, FALSE)) {
        DeleteFileA(copy);
        return 0;
    }
    // Opened for deletion on close and inherited by the copy: the file goes
    // when the last handle closes, that is when the copy has ended.
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    C_HANDLE doomed(CreateFileA(copy, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited, OPEN_EXISTING,
                                FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (doomed == INVALID_HANDLE_VALUE) {
        *doomed.out() = nullptr;
        DeleteFileA(copy);
        return 0;
    }
    // This process, as a handle the copy inherits and waits for.
    C_HANDLE self;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), self.out(), SYNCHRONIZE,
                         TRUE, 0))
        return 0;
    std::string line = std::string("\"") + copy + "\" " UNR_HELPER_SWITCH " " +
                       std::to_string(reinterpret_cast<uintptr_t>(static_cast<HANDLE>(self))) + " \"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    PROCESS_INFORMATION started{};
    // Its current directory is the temporary folder: none of the folders it removes.
    if (!CreateProcessA(copy, &line[0], nullptr, nullptr, TRUE, 0, nullptr, folder, &startup, &started))
        return 0;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return 1;
}

int32_t UNR_helper(const char *process, const char *program)
{
    if (!process || !program) {
        WE_internal_error(SRC, __LINE__);
        return 1;
    }
    char *end = nullptr;
    const unsigned long long value = std::strtoull(process, &end, 10);
    const char *name = ST_find_last(program, '\\');
    if (!process[0] || *end || !UNR_plain_path(program) || !name || !same_path(name + 1, UNR_PROGRAM_NAME))
        return 1;
    C_HANDLE parent(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)));
    if (WaitForSingleObject(parent, INFINITE) != WAIT_OBJECT_0)
        return 1;
    // The system may hold the image of an ended program for a moment.
    for (int waited = 0; remove_file(program) != UNR_REMOVED; waited += HELPER_POLL_MS) {
        if (waited >= UNR_PROGRAM_WAIT_MS)
            return 1;
        Sleep(HELPER_POLL_MS);
    }
    // Its folder, then the installation directory, each only when empty.
    char folder[UNL_PATH_MAX + 1];
    ST_copy(folder, program, UNL_PATH_MAX);
    if (cut_last_name(folder) && RemoveDirectoryA(folder) && cut_last_name(folder) && UNR_plain_path(folder))
        RemoveDirectoryA(folder);
    return 0;
}
