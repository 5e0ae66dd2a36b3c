#include "common/sysfold.h"

#include "common/sysreg.h"

int16_t SYS_shell_folder(HKEY root, const char *name, char *path)
{
    return SYS_registry_read(root, SYS_SHELL_FOLDERS, name, path, SYS_FOLDER_MAX + 1);
}
