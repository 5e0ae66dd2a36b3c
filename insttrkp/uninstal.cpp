// UNINSTAL.EXE: removes the installation it belongs to (the parent of its
// own folder) as the installation's UNINST.LST records it. Without
// arguments it asks first and shows the result; with "-r" (the installer's
// call before it installs again) it shows nothing and tells the result only
// by its exit code: 0 when everything recorded is gone, else 1. With
// UNR_HELPER_SWITCH it is the copy that removes the program's own file
// (insttrkp/unr.h).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/st.h"
#include "common/sys.h"
#include "insttrkp/unr.h"
#include "win/we.h"

namespace {

const int16_t LEFT_LINES_MAX = 15;   // lines of the final box naming what was left

// No box at all: what goes wrong is told by the exit code.
int silent(const WE_REPORT *) { return IDOK; }

int box(WE_KIND kind, const std::string &text, UINT style)
{
    return WE_show(kind, UNR_TITLE, text.c_str(), style | MB_SETFOREGROUND);
}

std::string format(const char *format, const char *path)
{
    char text[UNL_PATH_MAX + 128];
    std::snprintf(text, sizeof text, format, path);
    return text;
}

// The program's own file with long names (it may have been started by its short name).
int16_t own_program(char *program)
{
    char started[UNL_PATH_MAX + 1];
    const DWORD n = GetModuleFileNameA(nullptr, started, sizeof started);
    if (n == 0 || n >= sizeof started)
        return 0;
    const DWORD length = GetLongPathNameA(started, program, UNL_PATH_MAX + 1);
    return length > 0 && length <= UNL_PATH_MAX ? 1 : ST_copy(program, started, UNL_PATH_MAX);
}

int32_t uninstall(bool quiet)
{
    char program[UNL_PATH_MAX + 1] = "", install[UNL_PATH_MAX + 1] = "";
    UNR_PLACES places;
    C_UNR_LIST list;
    std::string list_name = UNL_LIST_NAME;
    UNR_LOAD loaded = UNR_MISSING;
    if (own_program(program) && UNR_install_dir(program, install) && UNR_find_places(install, &places)) {
        list_name = std::string(install) + "\\" UNL_LIST_NAME;
        loaded = UNR_load(list_name.c_str(), &list);
    }
    if (loaded != UNR_LOADED) {
        if (!quiet) {
            const char *why = loaded == UNR_MISSING      ? UNR_TEXT_MISSING
                              : loaded == UNR_UNREADABLE ? UNR_TEXT_UNREADABLE
                                                         : UNR_TEXT_DAMAGED;
            box(WE_KIND_NOTIFY, format(why, list_name.c_str()) + "\n" UNR_TEXT_NOTHING, MB_OK | MB_ICONERROR);
        }
        return 1;
    }
    if (!quiet &&
        box(WE_KIND_QUESTION, format(UNR_TEXT_QUESTION, install), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    // Our current directory must not keep a folder of the installation.
    char temporary[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof temporary, temporary);
    if (n > 0 && n < sizeof temporary)
        SetCurrentDirectoryA(temporary);
    const int16_t complete = UNR_remove(&list, &places, install, program);
    if (!quiet && complete) {
        box(WE_KIND_NOTIFY, UNR_TEXT_DONE, MB_OK | MB_ICONINFORMATION);
    } else if (!quiet) {
        char left[4096];
        UNR_left_text(&list, LEFT_LINES_MAX, left, sizeof left);
        box(WE_KIND_NOTIFY, std::string(UNR_TEXT_PARTLY "\n") + left, MB_OK | MB_ICONWARNING);
    }
    return complete ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::vector<std::string> arguments = SYS_arguments();
    if (arguments.size() == 4 && arguments[1] == UNR_HELPER_SWITCH) {
        WE_set_sink(silent);
        return UNR_helper(arguments[2].c_str(), arguments[3].c_str());
    }
    bool quiet = false;
    for (size_t i = 1; i < arguments.size(); i++)
        if (arguments[i] == "-r" || arguments[i] == "-R")
            quiet = true;
    if (quiet)
        WE_set_sink(silent);
    return uninstall(quiet);
}
