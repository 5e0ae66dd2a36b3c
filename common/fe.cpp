#include "common/fe.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/config.h"
#include "common/fn.h"
#include "common/st.h"
#include "common/sys.h"
#include "common/sysdir.h"
#include "common/sysdisk.h"
#include "win/we.h"

#if TRK_WINDOWS
#include <direct.h>
#include <windows.h>
#else
#include <dirent.h>
#include <unistd.h>

#include <filesystem>
#endif

static const char SRC[] = "..\\common\\fe";

namespace {

const size_t BLOCK = 1024;
const int DRIVES = 26;

// The system calls, on a path in the host's form.
#if TRK_WINDOWS
typedef struct _stat64 HOST_STAT;
int host_stat(const char *path, HOST_STAT *st) { return _stat64(path, st); }
int host_fstat(FILE *stream, HOST_STAT *st) { return _fstat64(_fileno(stream), st); }
int host_mkdir(const char *path) { return _mkdir(path); }
int host_rmdir(const char *path) { return _rmdir(path); }
#else
typedef struct stat HOST_STAT;
int host_stat(const char *path, HOST_STAT *st) { return stat(path, st); }
int host_fstat(FILE *stream, HOST_STAT *st) { return fstat(fileno(stream), st); }
int host_mkdir(const char *path) { return mkdir(path, 0777); }
int host_rmdir(const char *path) { return rmdir(path); }
#endif

// A present name of at most FN_MAX_PATH characters; else the internal-error report.
bool name_ok(int line, const char *name)
{
    if (name && std::strlen(name) <= FN_MAX_PATH)
        return true;
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

bool status_of(const char *name, HOST_STAT *st) { return host_stat(SYS_host_path(name).c_str(), st) == 0; }

bool is_directory(const char *name)
{
    HOST_STAT st;
    return status_of(name, &st) && (st.st_mode & S_IFMT) == S_IFDIR;
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

// Copies a name (at most FN_MAX_PATH characters) without its trailing separators.
void copy_without_separator(char *out, const char *name)
{
    size_t n = std::strlen(name);
    while (n > 0 && is_separator(name[n - 1]))
        --n;
    std::memcpy(out, name, n);
    out[n] = 0;
}

bool make_one(const char *path) { return host_mkdir(SYS_host_path(path).c_str()) == 0; }

// Creates path and its missing parents; the path is cut and mended in place.
int16_t make_chain(char *path)
{
    if (FE_dir_exists(path) || make_one(path))
        return 1;
    char *cut = path + std::strlen(path);
    while (cut > path && !is_separator(*cut))
        --cut;
    if (cut == path)
        return 0;
    const char separator = *cut;
    *cut = 0;
    const int16_t parent = make_chain(path);
    *cut = separator;
    // One more try once the parent is there: a directory that cannot be made
    // (no right, a file in the way) must not be tried for ever. A name the
    // parent's making already made (a separator at its end) is there.
    return parent && (make_one(path) || FE_dir_exists(path));
}

// Suite paths use "\"; a directory read from a host without drives comes with "/".
void to_suite_form(char *path)
{
#if !TRK_WINDOWS
    ST_replace_char(path, '/', '\\');
#else
    (void)path;
#endif
}

bool drive_ok(int line, int16_t drive)
{
    if (drive >= 0 && drive < DRIVES)
        return true;
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

// Selects the drive without the system's box for a drive without a medium.

}  // namespace

int16_t FE_same_file(const char *a, const char *b)
{
    if (!name_ok(__LINE__, a) || !name_ok(__LINE__, b))
        return 0;
#if TRK_WINDOWS
    // The file's identity, not its name: another spelling, a short name, a
    // second drive letter or a link all lead to the same volume and index.
    // b is opened first and nothing is asked before both are open: b is
    // usually a name not yet made, and its failed open costs no request,
    // whereas asking a handle its volume goes to the system's mount manager.
    const char *names[2] = {b, a};
    HANDLE h[2] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
    BY_HANDLE_FILE_INFORMATION info[2];
    int16_t same = 0;
    for (int i = 0; i < 2; i++) {
        h[i] = CreateFileA(names[i], 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h[i] == INVALID_HANDLE_VALUE)
            break;
    }
    if (h[1] != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h[0], &info[0]) &&
        GetFileInformationByHandle(h[1], &info[1]))
        same = info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
               info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
    for (HANDLE handle : h)
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    return same;
#else
    HOST_STAT sa, sb;
    return status_of(a, &sa) && status_of(b, &sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
}

namespace {

// Copies the blocks; false on a failed read or a short write.
bool copy_blocks(FILE *from, FILE *to)
{
    char block[BLOCK];
    for (;;) {
        const size_t got = std::fread(block, 1, BLOCK, from);
        if (got > 0 && std::fwrite(block, 1, got, to) != got)
            return false;
        if (got < BLOCK)
            return !std::ferror(from);
    }
}

}  // namespace

int16_t FE_exists(const char *name)
{
    if (!name_ok(__LINE__, name))
        return 0;
    // The runtime's stat does not find "DIR\" on Windows.
    HOST_STAT st;
    return status_of(name, &st) || FE_dir_exists(name);
}

int16_t FE_dir_exists(const char *path)
{
    if (!name_ok(__LINE__, path) || !*path)
        return 0;
    if (is_directory(path))
        return 1;
    // Older runtimes find a directory only in one of the two forms.
    char other[FN_MAX_PATH + 2];
    const size_t n = std::strlen(path);
    if (is_separator(path[n - 1])) {
        copy_without_separator(other, path);
    } else {
        std::memcpy(other, path, n);
        other[n] = '\\';
        other[n + 1] = 0;
    }
    return is_directory(other);
}

int16_t FE_make_path(const char *path)
{
    if (!name_ok(__LINE__, path))
        return 0;
    if (FE_dir_exists(path))
        return 1;
    char copy[FN_MAX_PATH + 1];
    copy_without_separator(copy, path);
    return *copy ? make_chain(copy) : 0;
}

int16_t FE_remove_dir(const char *path)
{
    if (!name_ok(__LINE__, path))
        return 0;
    char copy[FN_MAX_PATH + 1];
    copy_without_separator(copy, path);
    return host_rmdir(SYS_host_path(copy).c_str()) == 0;
}

int16_t FE_change_dir(const char *path)
{
    if (!name_ok(__LINE__, path))
        return 0;
    return SYS_change_dir(SYS_host_path(path).c_str());
}

int16_t FE_change_dir_drive(const char *path)
{
    if (!name_ok(__LINE__, path))
        return 0;
    const unsigned char letter = static_cast<unsigned char>(path[0]);
    if (std::isalpha(letter) && path[1] == ':') {
        if (!FE_set_drive(static_cast<int16_t>(std::toupper(letter) - 'A'))) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        path += 2;
        if (!*path)
            return 1;
    }
    return FE_change_dir(path);
}

int16_t FE_get_dir(char *out)
{
    if (!out) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!SYS_current_dir(out, FN_MAX_PATH + 1))
        return 0;
    to_suite_form(out);
    return 1;
}

int16_t FE_get_drive()
{
    return SYS_current_drive();
}

int16_t FE_set_drive(int16_t drive)
{
    if (!drive_ok(__LINE__, drive))
        return 0;
    return SYS_select_drive(drive);
}

int16_t FE_drive_ready(int16_t drive)
{
    if (!drive_ok(__LINE__, drive))
        return 0;
    char dir[FN_MAX_PATH + 1];
    const bool have_dir = SYS_current_dir(dir, sizeof dir);
    const int16_t saved = SYS_current_drive();
    const int16_t ready = SYS_select_drive(drive);
    if (saved >= 0)
        SYS_select_drive(saved);
    if (have_dir)
        SYS_change_dir(dir);
    return ready;
}

namespace {

// The long form of the longest part of path ("X:\..." with single
// separators) that exists: short (8.3) names become the names as stored.
std::string long_names(const std::string &path)
{
#if TRK_WINDOWS
    for (size_t end = path.size(); end > 3; end = path.rfind('\\', end - 1)) {
        const std::string head = path.substr(0, end);
        char long_head[4 * FN_MAX_PATH];
        const DWORD n = GetLongPathNameA(head.c_str(), long_head, sizeof long_head);
        if (n > 0 && n < sizeof long_head)
            return long_head + path.substr(end);
    }
#endif
    return path;
}

}  // namespace

int16_t FE_canonical_path(const char *path, int16_t strict, char *out, int16_t size)
{
    if (!out || size < 4) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *out = 0;
    if (!path) {   // a text of any length: it may be typed
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    while (!strict && *path == ' ')
        path++;
    const char drive = path[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) || path[1] != ':')
        return 0;
    std::vector<std::string> parts;
    std::string part;
    for (const char *p = path + 2;; p++) {
        if (*p && !is_separator(*p)) {
            part += *p;
            continue;
        }
        // A part ends; separators in a row make no part.
        const std::string as_written = part;
        const size_t first = part.find_first_not_of(' '), last = part.find_last_not_of(' ');
        part = first == std::string::npos ? "" : part.substr(first, last - first + 1);
        if (strict && part != as_written)
            return 0;
        if (part == "." || part == "..") {
            if (strict)
                return 0;
            if (part == ".." && !parts.empty())
                parts.pop_back();
        } else if (!part.empty()) {
            // The system drops trailing dots and blanks: such a name is not the one written.
            if (part.back() == '.' || part.back() == ' ')
                return 0;
            parts.push_back(part);
        }
        part.clear();
        if (!*p)
            break;
    }
    std::string result = std::string(1, drive) + ":\\";
    for (size_t i = 0; i < parts.size(); i++)
        result += (i ? "\\" : "") + parts[i];
    result = long_names(result);
    if (result.size() >= static_cast<size_t>(size) || result.size() > FN_MAX_PATH)
        return 0;
    std::memcpy(out, result.c_str(), result.size() + 1);
    return 1;
}

int16_t FE_full_path(const char *name, char *out, int16_t size)
{
    if (!out || size < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *out = 0;
    if (!name_ok(__LINE__, name))
        return 0;
#if TRK_WINDOWS
    char full[4 * FN_MAX_PATH];
    if (!_fullpath(full, name, sizeof full))
        return 0;
    const std::string result = full;
#else
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(SYS_host_path(name), failed);
    if (failed)
        return 0;
    const std::string result = absolute.lexically_normal().string();
#endif
    if (result.size() >= static_cast<size_t>(size)) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    std::memcpy(out, result.c_str(), result.size() + 1);
    to_suite_form(out);
    return 1;
}

namespace {

// The size of a plain file of at most 32 bits from its status, else 0xFFFFFFFF.
int16_t size_from(const HOST_STAT &st, uint32_t *size)
{
    if ((st.st_mode & S_IFMT) != S_IFREG || st.st_size < 0 || static_cast<uint64_t>(st.st_size) >= 0xFFFFFFFFu)
        return 0;
    *size = static_cast<uint32_t>(st.st_size);
    return 1;
}

}  // namespace

int16_t FE_file_size(const char *name, uint32_t *size)
{
    if (!size) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *size = 0xFFFFFFFFu;
    if (!name_ok(__LINE__, name))
        return 0;
    HOST_STAT st;
    return status_of(name, &st) && size_from(st, size);
}

int16_t FE_stream_size(FILE *stream, uint32_t *size)
{
    if (!stream || !size) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *size = 0xFFFFFFFFu;
    HOST_STAT st;
    return host_fstat(stream, &st) == 0 && size_from(st, size);
}

int16_t FE_list_names(const char *directory, void (*take)(const char *name, void *context), void *context)
{
    if (!take) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!name_ok(__LINE__, directory))
        return 0;
    char pattern[FN_MAX_PATH + 3];
    copy_without_separator(pattern, directory);
    auto proper = [](const char *name) { return name[0] && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0; };
#if TRK_WINDOWS
    std::strcat(pattern, "\\*");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;   // an empty root
    do {
        if (proper(found.cFileName))
            take(found.cFileName, context);
        if (proper(found.cAlternateFileName))
            take(found.cAlternateFileName, context);
    } while (FindNextFileA(search, &found));
    FindClose(search);
#else
    DIR *dir = opendir(SYS_host_path(pattern).c_str());
    if (!dir)
        return 0;
    while (const dirent *entry = readdir(dir))
        if (proper(entry->d_name))
            take(entry->d_name, context);
    closedir(dir);
#endif
    return 1;
}

int16_t FE_not_newer(const char *a, const char *b)
{
    if (!name_ok(__LINE__, a) || !name_ok(__LINE__, b))
        return 0;
    HOST_STAT sa, sb;
    return status_of(a, &sa) && status_of(b, &sb) && sa.st_mtime <= sb.st_mtime;
}

int16_t FE_copy_file(const char *source, const char *target)
{
    if (!name_ok(__LINE__, source) || !name_ok(__LINE__, target) || FE_same_file(source, target))
        return 0;
    FILE *from = SYS_fopen(source, "rb");
    if (!from)
        return 0;
    FILE *to = SYS_fopen(target, "wb");
    if (!to) {
        std::fclose(from);
        return 0;
    }
    bool done = copy_blocks(from, to);
    std::fclose(from);
    done = std::fclose(to) == 0 && done;
    if (!done)
        std::remove(SYS_host_path(target).c_str());
    return done;
}

int16_t FE_rename(const char *old_name, const char *new_name)
{
    if (!name_ok(__LINE__, old_name) || !name_ok(__LINE__, new_name))
        return 0;
    return std::rename(SYS_host_path(old_name).c_str(), SYS_host_path(new_name).c_str()) == 0;
}

int16_t FE_rename_over(const char *old_name, const char *new_name)
{
#if TRK_WINDOWS
    if (!name_ok(__LINE__, old_name) || !name_ok(__LINE__, new_name))
        return 0;
    // One step: the older file gives way only to the new one (a remove and a
    // second rename would lose it when the second failed).
    return MoveFileExA(old_name, new_name, MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
#else
    return FE_rename(old_name, new_name);   // a rename replaces here
#endif
}

int16_t FE_remove(const char *name)
{
    if (!name_ok(__LINE__, name) || is_directory(name))
        return 0;
    return std::remove(SYS_host_path(name).c_str()) == 0;
}

int16_t FE_disk_space(const char *directory, uint64_t *free_bytes, uint32_t *cluster_size)
{
    if (!free_bytes || !cluster_size) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *free_bytes = 0;
    *cluster_size = 0;
    if (!name_ok(__LINE__, directory))
        return 0;
    return SYS_disk_space(SYS_host_path(directory).c_str(), free_bytes, cluster_size);
}
