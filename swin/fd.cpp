#include "swin/fd.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

#include "common/mm.h"
#include "swin/wgd.h"
#include "swin2/umain.h"
#include "win/guard.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\fd";

namespace {

// The application's main window when there is one, else the caller's.
HWND dialog_owner(HWND owner)
{
    C_UMAIN *frame = WGD_driver ? WGD_driver->main_window : nullptr;
    return frame && frame->window ? frame->window : owner;
}

// Runs the open or save dialog on a working copy of name (size characters),
// so that a cancelled or failed dialog leaves the caller's buffer as it was.
int16_t run_file_dialog(OPENFILENAMEA *record, char *name, uint32_t size, bool save)
{
    if (!name || size < 2) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char *work = static_cast<char *>(MM_alloc(1, static_cast<int32_t>(size), SRC, __LINE__));
    if (!work) {
        WE_low_memory();
        return 0;
    }
    size_t start = strnlen(name, size - 1);   // what the dialog starts with
    std::memcpy(work, name, start);
    work[start] = 0;
    record->lStructSize = sizeof *record;
    record->lpstrFile = work;
    record->nMaxFile = size;
    record->nFilterIndex = record->lpstrFilter ? 1 : 0;
    record->Flags |= OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    BOOL chosen = save ? GetSaveFileNameA(record) : GetOpenFileNameA(record);
    if (chosen)
        std::memcpy(name, work, size);
    MM_free(work, SRC, __LINE__);
    return chosen ? 1 : 0;
}

DWORD open_flags(int16_t keep_dir, int16_t must_exist)
{
    return (keep_dir ? 0 : OFN_NOCHANGEDIR) | (must_exist ? OFN_FILEMUSTEXIST : OFN_CREATEPROMPT);
}

}  // namespace

int16_t FD_open_file(HWND owner, char *name, const char *filter, const char *initial_dir, const char *title,
                     int16_t keep_dir, int16_t must_exist)
{
    OPENFILENAMEA record{};
    record.hwndOwner = dialog_owner(owner);
    record.lpstrFilter = filter;
    record.lpstrInitialDir = initial_dir;
    record.lpstrTitle = title;
    record.Flags = open_flags(keep_dir, must_exist);
    return run_file_dialog(&record, name, FD_NAME_MAX + 1, false);
}

int16_t FD_open_files(HWND owner, char *name, uint32_t size, const char *filter, const char *initial_dir,
                      const char *title, int16_t keep_dir, int16_t must_exist)
{
    OPENFILENAMEA record{};
    record.hwndOwner = dialog_owner(owner);
    record.lpstrFilter = filter;
    record.lpstrInitialDir = initial_dir;
    record.lpstrTitle = title;
    record.Flags = open_flags(keep_dir, must_exist) | OFN_ALLOWMULTISELECT;
    return run_file_dialog(&record, name, size, false);
}

int16_t FD_save_file(HWND owner, char *name, const char *filter, const char *initial_dir, const char *default_ext,
                     int16_t keep_dir)
{
    OPENFILENAMEA record{};
    record.hwndOwner = dialog_owner(owner);
    record.lpstrFilter = filter;
    record.lpstrInitialDir = initial_dir;
    record.lpstrDefExt = default_ext;
    record.Flags = (keep_dir ? 0 : OFN_NOCHANGEDIR) | OFN_OVERWRITEPROMPT;
    return run_file_dialog(&record, name, FD_NAME_MAX + 1, true);
}

int16_t FD_choose_folder(HWND owner, const char *title, char *path)
{
    if (!path) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    C_COM_INIT com;   // the browser is a shell dialog
    char display[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = display;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    LPITEMIDLIST list = SHBrowseForFolderA(&browse);
    if (!list)
        return 0;   // cancelled
    char folder[MAX_PATH] = {};
    BOOL has_path = SHGetPathFromIDListA(list, folder);
    {
        C_COM_PTR<IMalloc> allocator;
        if (SUCCEEDED(SHGetMalloc(allocator.out())) && allocator.ok())
            allocator->Free(list);
        else
            CoTaskMemFree(list);   // the same task allocator behind the shell's
    }
    if (!has_path || !folder[0])
        return 0;
    size_t length = strnlen(folder, FD_NAME_MAX);
    std::memcpy(path, folder, length);
    path[length] = 0;
    return 1;
}
