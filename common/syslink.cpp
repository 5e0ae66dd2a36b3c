#include "common/syslink.h"

#include <windows.h>
#include <shlobj.h>

#include "win/guard.h"

namespace {

// The file name in UTF-16, as the file interface wants it.
void wide_name(const char *name, WCHAR *wide)
{
    if (!MultiByteToWideChar(CP_ACP, 0, name, -1, wide, SYS_LINK_TEXT_MAX + 1))
        wide[0] = 0;
}

}  // namespace

int16_t SYS_make_link(const char *name, const char *program, const char *description, const char *directory)
{
    C_COM_INIT com;
    C_COM_PTR<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out_void())))
        return SYS_LINK_NO_OBJECT;
    C_COM_PTR<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out_void())))
        return SYS_LINK_NO_FILE;
    WCHAR wide[SYS_LINK_TEXT_MAX + 1];
    wide_name(name, wide);
    file->Load(wide, STGM_READ);   // an existing link is updated in place; a new one starts empty
    int16_t faults = 0;
    if (FAILED(link->SetPath(program)))
        faults |= SYS_LINK_PATH;
    if (FAILED(link->SetDescription(description)))
        faults |= SYS_LINK_DESCRIPTION;
    if (FAILED(link->SetWorkingDirectory(directory)))
        faults |= SYS_LINK_DIRECTORY;
    if (FAILED(file->Save(wide, TRUE)))
        faults |= SYS_LINK_SAVE;
    return faults;
}

int16_t SYS_read_link(const char *name, char *program, char *description, char *directory)
{
    program[0] = description[0] = directory[0] = 0;
    C_COM_INIT com;
    C_COM_PTR<IShellLinkA> link;
    C_COM_PTR<IPersistFile> file;
    WCHAR wide[SYS_LINK_TEXT_MAX + 1];
    wide_name(name, wide);
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.out_void())) || FAILED(file->Load(wide, STGM_READ)))
        return 0;
    const int size = SYS_LINK_TEXT_MAX + 1;
    return SUCCEEDED(link->GetPath(program, size, nullptr, SLGP_RAWPATH)) &&
           SUCCEEDED(link->GetDescription(description, size)) &&
           SUCCEEDED(link->GetWorkingDirectory(directory, size));
}
