#include "common/sysdir.h"

#include "common/config.h"

#if TRK_WINDOWS
#include <direct.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

int16_t SYS_change_dir(const char *host_path)
{
#if TRK_WINDOWS
    return _chdir(host_path) == 0;
#else
    return chdir(host_path) == 0;
#endif
}

int16_t SYS_current_dir(char *out, int size)
{
#if TRK_WINDOWS
    const bool done = _getcwd(out, size) != nullptr;
#else
    const bool done = getcwd(out, static_cast<size_t>(size)) != nullptr;
#endif
    if (!done && size > 0)
        *out = 0;
    return done;
}

int16_t SYS_current_drive()
{
#if TRK_WINDOWS
    return static_cast<int16_t>(_getdrive() - 1);
#else
    return -1;
#endif
}

int16_t SYS_select_drive(int16_t drive)
{
#if TRK_WINDOWS
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool done = _chdrive(drive + 1) == 0 && _getdrive() == drive + 1;
    SetErrorMode(mode);
    return done;
#else
    (void)drive;
    return 0;
#endif
}
