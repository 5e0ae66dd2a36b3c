#include "common/fn.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "common/fe.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\fn";

namespace {

// Characters that never go from a name into a DOS file name.
const char NOT_IN_DOS_NAME[] = ".\\/*?:~,;| ";
const size_t DOS_BASE = 8;
const size_t DOS_EXT = 3;

bool present(int line, const void *a, const void *b = "")
{
    if (a && b)
        return true;
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

// A result longer than a path may be is a broken precondition of the caller.
bool fits(size_t length, int line)
{
    if (length <= FN_MAX_PATH)
        return true;
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

// The part after the last backslash.
const char *file_part(const char *name)
{
    const char *slash = std::strrchr(name, '\\');
    return slash ? slash + 1 : name;
}

// The "." of the extension, or null.
const char *ext_dot(const char *name) { return std::strrchr(file_part(name), '.'); }

// Length of the drive and directory of a path (without a trailing backslash)
// and where its file name begins.
void split_at(const char *path, size_t *dir_length, const char **name)
{
    const char *slash = std::strrchr(path, '\\');
    if (slash) {
        *dir_length = static_cast<size_t>(slash - path);
        *name = slash + 1;
    } else if (std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        *dir_length = 2;
        *name = path + 2;
    } else {
        *dir_length = 0;
        *name = path;
    }
}

// Writes the pattern characters [from, to) with every "*" replaced by fill, at
// most limit characters; gives their number.
size_t fill_in(char *out, const char *from, const char *to, const char *fill, size_t limit)
{
    size_t n = 0;
    for (const char *p = from; p < to && n < limit; ++p) {
        if (*p != '*') {
            out[n++] = *p;
            continue;
        }
        for (const char *f = fill; *f && n < limit; ++f)
            out[n++] = *f;
    }
    return n;
}

// Copies n characters and terminates.
void put(char *out, const char *from, size_t n)
{
    std::memcpy(out, from, n);
    out[n] = 0;
}

}  // namespace

int16_t FN_add_ext(char *name, const char *ext)
{
    if (!present(__LINE__, name, ext) || ext_dot(name))
        return 0;
    const size_t n = std::strlen(name), e = std::strlen(ext);
    if (!fits(n + 1 + e, __LINE__))
        return 0;
    name[n] = '.';
    put(name + n + 1, ext, e);
    return 1;
}

int16_t FN_has_ext(const char *name)
{
    if (!present(__LINE__, name))
        return 0;
    return ext_dot(name) != nullptr;
}

int16_t FN_drop_ext(char *name)
{
    if (!present(__LINE__, name))
        return 0;
    char *dot = const_cast<char *>(ext_dot(name));
    if (!dot)
        return 0;
    *dot = 0;
    return 1;
}

const char *FN_ext(const char *name)
{
    if (!present(__LINE__, name))
        return nullptr;
    const char *dot = ext_dot(name);
    return dot ? dot + 1 : nullptr;
}

char *FN_ext(char *name) { return const_cast<char *>(FN_ext(static_cast<const char *>(name))); }

int16_t FN_add_dir(char *name, const char *directory)
{
    if (!present(__LINE__, name, directory) || !*directory)
        return 0;
    const size_t n = std::strlen(name), d = std::strlen(directory);
    const size_t slash = directory[d - 1] == '\\' ? 0 : 1;
    if (!fits(d + slash + n, __LINE__))
        return 0;
    // Built aside, so that a directory taken from the name itself stays intact.
    char path[FN_MAX_PATH + 1];
    std::memcpy(path, directory, d);
    path[d] = '\\';
    put(path + d + slash, name, n);
    std::memcpy(name, path, d + slash + n + 1);
    return 1;
}

int16_t FN_split(const char *path, char *directory, char *name)
{
    if (!present(__LINE__, path))
        return 0;
    if (directory)
        *directory = 0;
    if (name)
        *name = 0;
    if (!fits(std::strlen(path), __LINE__))
        return 0;
    size_t dir_length;
    const char *file;
    split_at(path, &dir_length, &file);
    if (directory)
        put(directory, path, dir_length);
    if (name)
        put(name, file, std::strlen(file));
    return 1;
}

int16_t FN_same_dir(const char *path, const char *directory)
{
    if (!present(__LINE__, path, directory))
        return 0;
    char of_path[FN_MAX_PATH + 1], given[FN_MAX_PATH + 1];
    if (!FN_split(path, of_path, nullptr))
        return 0;
    size_t d = std::strlen(directory);
    if (d > 0 && directory[d - 1] == '\\')
        --d;
    if (!fits(d, __LINE__))
        return 0;
    put(given, directory, d);
    ST_upper(of_path);
    ST_upper(given);
    return std::strcmp(of_path, given) == 0;
}

int16_t FN_from_pattern(const char *pattern, const char *name, char *out)
{
    if (!present(__LINE__, pattern, name) || !present(__LINE__, out))
        return 0;
    *out = 0;
    const size_t pattern_length = std::strlen(pattern);
    if (!fits(pattern_length, __LINE__))
        return 0;

    // No more of the cleaned name than the longer DOS part can survive.
    char clean[DOS_BASE + 1];
    size_t c = 0;
    for (const char *p = name; *p && c < DOS_BASE; ++p)
        if (!std::strchr(NOT_IN_DOS_NAME, *p))
            clean[c++] = *p;
    clean[c] = 0;

    // Base and extension of the pattern's file part, each with its "*" filled
    // in and cut to its DOS length.
    const char *file = file_part(pattern);
    const size_t dir_length = static_cast<size_t>(file - pattern);
    const char *dot = std::strrchr(file, '.');
    const char *file_end = file + std::strlen(file);
    char dos[DOS_BASE + 1 + DOS_EXT + 1];
    size_t d = fill_in(dos, file, dot ? dot : file_end, clean, DOS_BASE);
    if (dot) {
        dos[d++] = '.';
        d += fill_in(dos + d, dot + 1, file_end, clean, DOS_EXT);
    }
    dos[d] = 0;
    ST_upper(dos);

    // "X:\..." on the current drive is the same place as "\...".
    size_t skip = 0;
    if (dir_length >= 3 && std::isalpha(static_cast<unsigned char>(pattern[0])) && pattern[1] == ':' && pattern[2] == '\\' &&
        std::toupper(static_cast<unsigned char>(pattern[0])) - 'A' == FE_get_drive())
        skip = 2;
    const size_t total = dir_length - skip + std::strlen(dos);
    if (!fits(total, __LINE__))
        return 0;
    std::memcpy(out, pattern + skip, dir_length - skip);
    put(out + dir_length - skip, dos, std::strlen(dos));
    return 1;
}
