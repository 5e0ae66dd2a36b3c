#include "common/sys.h"

#include "common/config.h"

#if TRK_WINDOWS
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#else
#include <unistd.h>
#endif

std::string SYS_host_path(const char *name)
{
    std::string path = name ? name : "";
#if !TRK_WINDOWS
    for (char &c : path)
        if (c == '\\')
            c = '/';
#endif
    return path;
}

FILE *SYS_fopen(const char *name, const char *mode)
{
    if (!name || !mode)
        return nullptr;
    return std::fopen(SYS_host_path(name).c_str(), mode);
}

#if TRK_WINDOWS
// Opened with the right to rename it, so that the open file can take its
// name without being opened again (each opening of a name is a look-up).
FILE *SYS_fopen_new(const char *name)
{
    if (!name)
        return nullptr;
    HANDLE handle = CreateFileA(name, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    FILE *stream = _fdopen(fd, "wb");
    if (!stream)
        _close(fd);
    return stream;
}

int SYS_frename(FILE *stream, const char *, const char *new_name)
{
    if (!stream || !new_name)
        return 0;
    wchar_t wide[MAX_PATH + 1];
    const int length = MultiByteToWideChar(CP_ACP, 0, new_name, -1, wide, MAX_PATH + 1);
    if (length <= 1)
        return 0;
    // The record ends with the name (without its terminator).
    std::vector<unsigned char> info(sizeof(FILE_RENAME_INFO) + static_cast<size_t>(length) * sizeof(wchar_t));
    FILE_RENAME_INFO *rename = reinterpret_cast<FILE_RENAME_INFO *>(info.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>((length - 1) * sizeof(wchar_t));
    std::memcpy(rename->FileName, wide, static_cast<size_t>(length) * sizeof(wchar_t));
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    return handle != INVALID_HANDLE_VALUE &&
           SetFileInformationByHandle(handle, FileRenameInfo, rename, static_cast<DWORD>(info.size()));
}
#else
FILE *SYS_fopen_new(const char *name) { return SYS_fopen(name, "wb"); }

int SYS_frename(FILE *stream, const char *old_name, const char *new_name)
{
    return stream && old_name && new_name &&
           std::rename(SYS_host_path(old_name).c_str(), SYS_host_path(new_name).c_str()) == 0;
}
#endif

std::vector<std::string> SYS_arguments()
{
    std::vector<std::string> args;
#if TRK_WINDOWS
    for (int i = 0; __argv && i < __argc; i++)
        args.push_back(__argv[i] ? __argv[i] : "");
#else
    if (FILE *f = std::fopen("/proc/self/cmdline", "rb")) {
        std::string arg;
        int c;
        while ((c = std::fgetc(f)) != EOF) {
            if (c == 0) {
                args.push_back(arg);
                arg.clear();
            } else {
                arg += static_cast<char>(c);
            }
        }
        std::fclose(f);
    }
#endif
    return args;
}

std::string SYS_program_path()
{
    char path[4096];
#if TRK_WINDOWS
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return "";
#else
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "";
#endif
    return std::string(path, static_cast<size_t>(n));
}
