#include "common/sys.h"

#include "common/config.h"

#if TRK_WINDOWS
#include <windows.h>

#include <cstdlib>
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
