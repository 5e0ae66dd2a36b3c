#include "common/sys.h"

#include "common/config.h"

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
