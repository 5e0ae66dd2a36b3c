// UNINSTAL.EXE: removes the installation it belongs to (the parent of its
// own folder) as the installation's UNINST.LST records it. Without
// arguments it asks first and shows the result; with "-r" (the installer's
// call before it installs again, and the unattended removal) it asks nothing
// and tells the result by its exit code: 0 when everything recorded is gone,
// else 1; only a list it cannot use is shown, in an error box. When
// something recorded cannot be removed, the list is rewritten to hold what is
// left and the program, its shortcut and the Uninstall key stay: it can be
// run again. With
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

// No box at all: what goes wrong is told by the exit code (the copy, and "-r" once its list is read).
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
    // Said even with "-r": otherwise the installer that waits for this
    // program could only say that it failed, never why.
    if (loaded != UNR_LOADED) {
        const char *why = loaded == UNR_MISSING      ? UNR_TEXT_MISSING
                          : loaded == UNR_UNREADABLE ? UNR_TEXT_UNREADABLE
                                                     : UNR_TEXT_DAMAGED;
        box(quiet ? WE_KIND_ERROR : WE_KIND_NOTIFY, format(why, list_name.c_str()) + "\n" UNR_TEXT_NOTHING,
            MB_OK | MB_ICONERROR);
        return 1;
    }
    if (quiet)
        WE_set_sink(silent);   // from here on the exit code tells
    else if (box(WE_KIND_QUESTION, format(UNR_TEXT_QUESTION, install), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    // Our current directory must not keep a folder of the installation.
    char temporary[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof temporary, temporary);
    if (n > 0 && n < sizeof temporary)
        SetCurrentDirectoryA(temporary);
    const int16_t complete = UNR_remove(&list, &places, install, program);
    if (quiet)
        return complete ? 0 : 1;
    std::string text;
    if (complete) {
        text = UNR_TEXT_DONE;
    } else {
        char left[4096];
        UNR_left_text(&list, LEFT_LINES_MAX, left, sizeof left);
        text = std::string(UNR_TEXT_PARTLY "\n") + left + "\n" UNR_TEXT_AGAIN;
    }
    if (list.cut)   // the last record of a killed installer: what it named was never made
        text += "\n" + format(UNR_TEXT_CUT, list_name.c_str());
    box(WE_KIND_NOTIFY, text, MB_OK | (complete ? MB_ICONINFORMATION : MB_ICONWARNING));
    return complete ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::vector<std::string> arguments = SYS_arguments();
    if (arguments.size() == 5 && arguments[1] == UNR_HELPER_SWITCH) {
        WE_set_sink(silent);
        return UNR_helper(arguments[2].c_str(), arguments[3].c_str(), arguments[4].c_str());
    }
    bool quiet = false;
    for (size_t i = 1; i < arguments.size(); i++)
        if (arguments[i] == "-r" || arguments[i] == "-R")
            quiet = true;
    return uninstall(quiet);
}
