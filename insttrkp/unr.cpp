#include "insttrkp/unr.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/fe.h"
#include "common/st.h"
#include "common/sysfold.h"
#include "common/sysreg.h"
#include "win/guard.h"
#include "win/we.h"

static const char SRC[] = "..\\insttrkp\\unr";

namespace {

const int16_t HELPER_POLL_MS = 20;
const char *const TEMPORARY_SUFFIXES[] = {".$$$", ".$$_"};   // names of files being written

// 1 when nothing of that name is there (a name that cannot be looked at is there).
int16_t gone(const char *path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

int16_t is_link(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// 1 when a name of path after its first skip characters (a place's root),
// the last one included, is a reparse point: a symbolic link, a junction or
// a mount point could lead anywhere. Looked at just before the deletion.
int16_t through_link(const char *path, size_t skip)
{
    std::string head = path;
    for (size_t end = head.find('\\', skip + 1);; end = head.find('\\', end + 1)) {
        const std::string part = head.substr(0, end);
        if (is_link(GetFileAttributesA(part.c_str())))
            return 1;
        if (end == std::string::npos)
            return 0;
    }
}

// A file that is not reached through a link: UNR_REMOVED, UNR_FAILED.
int16_t delete_file(const char *path)
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

// A recorded file in the place of root length skip, and the names it had
// while it was written.
int16_t remove_file(const char *path, size_t skip)
{
    for (const char *suffix : TEMPORARY_SUFFIXES) {
        const std::string temporary = std::string(path) + suffix;
        if (!gone(temporary.c_str()) && !through_link(temporary.c_str(), skip))
            delete_file(temporary.c_str());
    }
    if (through_link(path, skip))
        return UNR_LINKED;
    return delete_file(path);
}

int16_t remove_key(const char *key)
{
    return SYS_registry_delete_key(HKEY_LOCAL_MACHINE, key) || !SYS_registry_key_exists(HKEY_LOCAL_MACHINE, key)
               ? UNR_REMOVED
               : UNR_FAILED;
}

// One try: UNR_REMOVED, UNR_PENDING while something is still inside, UNR_FAILED, UNR_LINKED.
int16_t remove_directory(const char *path, size_t skip)
{
    if (through_link(path, skip))
        return gone(path) ? UNR_REMOVED : UNR_LINKED;
    if (RemoveDirectoryA(path))
        return UNR_REMOVED;
    const DWORD error = GetLastError();
    if (gone(path))
        return UNR_REMOVED;
    return error == ERROR_DIR_NOT_EMPTY ? UNR_PENDING : UNR_FAILED;
}

// The record's path in its long form (a list of an older installer may hold
// short names or doubled separators); a path that is not plain stays as it is.
void take_long_form(UNR_RECORD *r)
{
    char canonical[UNL_PATH_MAX + 1];
    if (r->kind != UNL_KIND_REGISTRY_KEY && FE_canonical_path(r->path, 1, canonical, sizeof canonical))
        ST_copy(r->path, canonical, UNL_PATH_MAX);
}

// The length of the root of the record's place (its names are looked at below it).
size_t root_length(const UNR_PLACES *places, const UNR_RECORD &r)
{
    const int16_t place = UNR_place_of(places, r.kind, r.path);
    return place < 0 ? 0 : std::strlen(places->root[place]);
}

// Writes the records still there (not removed; the list itself left out)
// as the new list, through a temporary file renamed over it.
int16_t rewrite_list(const C_UNR_LIST *list, const char *name)
{
    const std::string temporary = std::string(name) + TEMPORARY_SUFFIXES[0];
    int16_t written = 1;
    {
        C_HANDLE file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
        if (file == INVALID_HANDLE_VALUE) {
            *file.out() = nullptr;
            return 0;
        }
        for (int32_t i = 0; i < list->count - 1 && written; i++) {
            const UNR_RECORD &r = list->records[i];
            if (r.state == UNR_REMOVED)
                continue;
            uint8_t bytes[UNL_RECORD_SIZE];
            UNL_encode_record(r.kind, r.path, bytes);
            DWORD done = 0;
            written = WriteFile(file, bytes, UNL_RECORD_SIZE, &done, nullptr) && done == UNL_RECORD_SIZE;
        }
        written = written && FlushFileBuffers(file);
    }
    if (written && MoveFileExA(temporary.c_str(), name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(temporary.c_str());
    return 0;
}

std::string identity_of(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return "";
    char text[128];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu.%lu.%lu.%lu", info.dwVolumeSerialNumber, info.nFileIndexHigh,
                  info.nFileIndexLow, info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime.dwHighDateTime,
                  info.ftLastWriteTime.dwLowDateTime);
    return text;
}

}  // namespace

std::string UNR_identity(const char *path)
{
    if (!path) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    C_HANDLE file(CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file == INVALID_HANDLE_VALUE) {
        *file.out() = nullptr;
        return "";
    }
    return identity_of(file);
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
        char folder[SYS_FOLDER_MAX + sizeof UNR_QUICK_LAUNCH], canonical[UNL_PATH_MAX + 1];
        if (!SYS_shell_folder(f.root, f.name, folder))
            continue;
        ST_append(folder, f.below, 0);
        UNR_add_place(places, FE_canonical_path(folder, 0, canonical, sizeof canonical) ? canonical : folder, 0);
    }
    return 1;
}

UNR_LOAD UNR_load(const char *name, C_UNR_LIST *list)
{
    if (!name || !list) {
        WE_internal_error(SRC, __LINE__);
        return UNR_UNREADABLE;
    }
    list->clear();
    C_HANDLE file(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (file == INVALID_HANDLE_VALUE) {
        *file.out() = nullptr;
        return gone(name) ? UNR_MISSING : UNR_UNREADABLE;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return UNR_UNREADABLE;
    if (size.QuadPart > static_cast<LONGLONG>(UNR_RECORDS_MAX + 1) * UNL_RECORD_SIZE)
        return UNR_DAMAGED;
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD done = 0;
    if (!bytes.empty() && (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
                           done != bytes.size()))
        return UNR_UNREADABLE;
    return UNR_parse(bytes.data(), size.QuadPart, name, list);
}

int16_t UNR_remove(C_UNR_LIST *list, const UNR_PLACES *places, const char *install_dir, const char *program)
{
    if (!list || !places || !install_dir || !program || list->count < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const std::string inst_list = std::string(install_dir) + "\\" UNR_INSTALL_LIST;
    UNR_RECORD &own_list = list->records[list->count - 1];
    const int32_t last = list->count - 2;   // the last record of the installation
    // The way back: what lets the person run the program again.
    auto way_back = [&](const UNR_RECORD &r) {
        if (r.kind == UNL_KIND_REGISTRY_KEY)
            return true;
        const char *name = ST_find_last(r.path, '\\');
        return r.kind == UNL_KIND_FILE && (r.state == UNR_OWN || (name && UNR_same_path(name + 1, UNR_UNINSTALL_LINK)));
    };
    for (int32_t i = 0; i <= last; i++) {
        UNR_RECORD &r = list->records[i];
        take_long_form(&r);
        if (!UNR_allowed(places, r.kind, r.path))
            r.state = UNR_OUTSIDE;
        else if (r.kind == UNL_KIND_FILE && UNR_same_path(r.path, program))
            r.state = UNR_OWN;
    }
    // Keys and files from the last made back to the first, but the way back.
    for (int32_t i = last; i >= 0; i--) {
        UNR_RECORD &r = list->records[i];
        if (r.state != UNR_PENDING || r.kind == UNL_KIND_DIRECTORY || way_back(r))
            continue;
        r.state = r.kind == UNL_KIND_REGISTRY_KEY ? remove_key(r.path) : remove_file(r.path, root_length(places, r));
    }
    if (!gone(inst_list.c_str()))
        remove_file(inst_list.c_str(), std::strlen(places->root[0]));
    // Directories as they become empty: a pass removes the deepest level left.
    auto remove_directories = [&] {
        for (int16_t progress = 1; progress;) {
            progress = 0;
            for (int32_t i = last; i >= 0; i--) {
                UNR_RECORD &r = list->records[i];
                if (r.state != UNR_PENDING || r.kind != UNL_KIND_DIRECTORY)
                    continue;
                r.state = remove_directory(r.path, root_length(places, r));
                progress |= r.state != UNR_PENDING;
            }
        }
    };
    remove_directories();
    int16_t complete = 1;
    for (int32_t i = 0; i <= last; i++)
        complete &= !UNR_left(list->records[i].state);
    int16_t own = 0;
    for (int32_t i = 0; i <= last; i++)
        own |= list->records[i].state == UNR_OWN;
    // The copy that removes the program file is started before the list goes:
    // a run killed after it still ends with the program gone.
    if (complete && own && !UNR_remove_later(program))
        complete = 0;
    for (int32_t i = last; i >= 0; i--) {
        UNR_RECORD &r = list->records[i];
        if (!way_back(r))
            continue;
        if (!complete)
            r.state = UNR_KEPT;
        else if (r.state == UNR_PENDING)
            r.state = r.kind == UNL_KIND_REGISTRY_KEY ? remove_key(r.path) : remove_file(r.path, root_length(places, r));
    }
    if (complete) {
        own_list.state = remove_file(own_list.path, std::strlen(places->root[0]));
        remove_directories();
    } else {
        own_list.state = rewrite_list(list, own_list.path) ? UNR_KEPT : UNR_FAILED;
    }
    for (int32_t i = 0; i < list->count; i++) {
        UNR_RECORD &r = list->records[i];
        if (r.state == UNR_PENDING)   // only directories are left pending: they hold other files
            r.state = UNR_KEPT;
        complete &= !UNR_left(r.state);
    }
    return complete;
}

int16_t UNR_remove_later(const char *program)
{
    if (!program) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const std::string identity = UNR_identity(program);
    char folder[MAX_PATH + 1], copy[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof folder, folder);
    if (identity.empty() || n == 0 || n >= sizeof folder || !GetTempFileNameA(folder, "UNI", 0, copy))
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
                       std::to_string(reinterpret_cast<uintptr_t>(static_cast<HANDLE>(self))) + " \"" + program +
                       "\" " + identity;
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

int32_t UNR_helper(const char *process, const char *program, const char *identity)
{
    if (!process || !program || !identity) {
        WE_internal_error(SRC, __LINE__);
        return 1;
    }
    char *end = nullptr;
    const unsigned long long value = std::strtoull(process, &end, 10);
    const char *name = ST_find_last(program, '\\');
    if (!process[0] || *end || !UNR_plain_path(program) || !name || !UNR_same_path(name + 1, UNR_PROGRAM_NAME))
        return 1;
    C_HANDLE parent(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)));
    if (WaitForSingleObject(parent, INFINITE) != WAIT_OBJECT_0)
        return 1;
    // The system may hold the image of an ended program for a moment. The
    // file is opened, compared and deleted through one handle: a file that
    // took the name meanwhile (a new installation's) is never touched.
    for (int waited = 0;; waited += HELPER_POLL_MS) {
        C_HANDLE file(CreateFileA(program, DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (file == INVALID_HANDLE_VALUE) {
            *file.out() = nullptr;
            if (gone(program))
                return 0;
        } else {
            if (identity_of(file) != identity)
                return 1;
            FILE_DISPOSITION_INFO dispose{TRUE};
            if (SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose))
                break;
        }
        if (waited >= UNR_PROGRAM_WAIT_MS)
            return 1;
        Sleep(HELPER_POLL_MS);
    }
    // Its folder, then the installation directory, each only when empty and no link.
    char folder[UNL_PATH_MAX + 1];
    ST_copy(folder, program, UNL_PATH_MAX);
    for (int level = 0; level < 2; level++) {
        char *last = ST_find_last(folder, '\\');
        if (!last)
            break;
        *last = 0;
        if (!UNR_plain_path(folder) || is_link(GetFileAttributesA(folder)) || !RemoveDirectoryA(folder))
            break;
    }
    return 0;
}
