// INSTTRKC.EXE: the installation without a person, on the installer's own
// engine. The command line (insttrkp/ins_console.h) answers the engine's
// questions; no window and no box appears: every status line, text line
// and message goes to the console and the log. The next disk is looked for
// in the source's sibling folder DISKn, where trakdist puts it. A previous
// installation is replaced only when its list can be used: its uninstall
// program would otherwise stop at a box. Ctrl+C and
// Ctrl+Break ask for the abort, which the engine sees at its next check.
// Exit code 0 when the installation is complete, 1 when it failed or was
// stopped, 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/co.h"
#include "common/fe.h"
#include "common/st.h"
#include "common/sys.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "insttrkp/ins.h"
#include "insttrkp/ins_console.h"
#include "insttrkp/ins_shell.h"
#include "insttrkp/inst_main.h"
#include "insttrkp/unr.h"
#include "swin/col.h"
#include "swin/sbar.h"
#include "swin/wco_store.h"
#include "swin2/scr.h"
#include "swin2/ucc_titl.h"

namespace {

C_INC_OUTPUT output;
INC_OPTIONS options;
std::string missing_disk;   // the request of a disk not found, "" while none

// The text lines go where the status lines go; nothing to draw, no messages.
class C_INC_WINDOW : public C_INS_WINDOW {
public:
    void set_line(int16_t, const char *text) override
    {
        if (text[0])
            output.line(text);
    }
    void pump_messages() override {}
    HWND frame() override { return nullptr; }
};

void status(const char *text)
{
    if (text && text[0])
        output.line(text);
}

// The disk asked for, in the sibling folder DISKn of the source; else a
// person at the console puts it in; else the run ends with the request.
void find_disk(const char *request)
{
    int number = 0;
    if (std::sscanf(request, INS_TEXT_DISK, &number) != 1)
        return;
    std::string parent = INS_state->source_dir;
    while (!parent.empty() && parent.back() == '\\')
        parent.pop_back();
    parent.erase(parent.find_last_of('\\') + 1);   // npos + 1: nothing left
    const std::string sibling = parent + "DISK" + std::to_string(number) + "\\";
    if (!parent.empty() && FE_dir_exists(sibling.c_str())) {
        ST_copy(INS_state->source_dir, sibling.c_str(), IFL_PATH_MAX);
        output.line(("Zdrojová cesta: " + sibling).c_str());
        return;
    }
    if (INC_input_is_console()) {
        output.line((std::string(request) + " a stiskněte Enter").c_str());
        char answer[16];
        if (std::fgets(answer, sizeof answer, stdin))
            return;
    }
    missing_disk = request;
}

// Whether the previous installation's uninstall program can do its work
// without a person: given a list it cannot use, it shows a box and waits.
bool removable()
{
    const std::string list = std::string(INS_state->target_dir) + UNL_LIST_NAME;
    C_UNR_LIST records;
    const UNR_LOAD loaded = UNR_load(list.c_str(), &records);
    if (loaded == UNR_LOADED)
        return true;
    char text[IFL_PATH_MAX + 100];
    std::snprintf(text, sizeof text,
                  loaded == UNR_UNREADABLE ? UNR_TEXT_UNREADABLE : loaded == UNR_DAMAGED ? UNR_TEXT_DAMAGED : UNR_TEXT_MISSING,
                  list.c_str());
    output.line((std::string("Chyba: ") + text + "; předchozí instalaci nelze odinstalovat bez obsluhy").c_str());
    return false;
}

// Every report of the engine and the libraries: written out, and the
// questions answered from the options.
int report(const WE_REPORT *r)
{
    if (r->kind == WE_KIND_NOTIFY) {
        output.line(r->text);
        find_disk(r->text);
        return IDOK;
    }
    if (r->kind != WE_KIND_QUESTION) {
        output.line((std::string("Chyba: ") + r->text).c_str());
        return IDOK;
    }
    if (!missing_disk.empty() && ST_compare(r->text, INS_TEXT_RETRY) == 0) {
        output.line((std::string("Chyba: ") + missing_disk + " (disk nenalezen)").c_str());
        return IDNO;
    }
    if (ST_compare(r->text, INS_TEXT_PREVIOUS) == 0 && options.replace && !removable()) {
        output.line((std::string(r->text) + " - Ne").c_str());
        return IDNO;
    }
    const int answer = INC_answer(&options, r->text);
    output.line((std::string(r->text) + (answer == IDOK ? " - Ano" : " - Ne")).c_str());
    return answer;
}

BOOL WINAPI control(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    INS_request_abort();
    return TRUE;
}

// What the installer window's colour table, status bar, screen and title
// take from the system store, their defaults written back: the configuration installed
// through the window holds them, and so does one installed without it.
void take_window_settings()
{
    COL_TABLE colours;
    COL_init(&colours);
    COL_read(&colours, WCO_system_store());
    int32_t coordinates = 0, status_field = 0, information = 0;
    SBAR_field_sizes(&coordinates, &status_field, &information);
    LOGFONTA font;
    SCR_font_defaults(&font);
    SCR_read_font_settings(WCO_system_store(), SCR_FONT_NORMAL, &font);
    char title_face[UCC_NAME_MAX + 1];
    UCC_font_setting(UCC_TITLE_SECTION, title_face);
}

// A directory of the command line as a full path with a final backslash.
std::string full_directory(const std::string &given)
{
    char full[IFL_PATH_MAX + 1];
    const DWORD n = GetFullPathNameA(given.c_str(), sizeof full, full, nullptr);
    std::string path = n > 0 && n < sizeof full ? full : given;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

// The installation as the options ask; 1 when complete.
int16_t install(const std::string &program)
{
    IFL_state *state = nullptr;
    if (!IFL_create(&state)) {
        output.line("Chyba: Málo paměti");
        return 0;
    }
    std::string source = options.source;
    if (source.empty())
        source = program.substr(0, program.find_last_of('\\') + 1);
    ST_copy(state->source_dir, full_directory(source).c_str(), IFL_PATH_MAX);
    ST_copy(state->target_dir, full_directory(options.target).c_str(), IFL_PATH_MAX);
    state->desktop_shortcut = options.desktop;
    state->quick_launch_shortcut = options.quick_launch;
    if (options.quick_launch < 0) {
        INS_PATH folder;
        state->quick_launch_shortcut = INS_quick_launch_folder(folder) && FE_dir_exists(folder) ? 1 : 0;
    }
    C_INC_WINDOW window;
    INS_set_window(&window);
    const int16_t done = INS_install(state);
    UNL_close();
    IFL_destroy(&state);
    return done;
}

}  // namespace

int main()
{
    const std::vector<std::string> arguments = SYS_arguments();
    std::vector<const char *> argv;
    for (const std::string &a : arguments)
        argv.push_back(a.c_str());
    std::string error;
    if (argv.empty() || !INC_parse(static_cast<int>(argv.size()), argv.data(), &options, &error)) {
        output.line(error.c_str());
        output.console("\r\n");
        output.console(INC_HELP);
        return INC_EXIT_USAGE;
    }
    if (options.help) {
        output.console(INC_HELP);
        return INC_EXIT_DONE;
    }
    WE_set_sink(report);
    WE_set_status_hook(status);
    if (!options.log.empty() && !output.open_log(options.log.c_str())) {
        output.line(("Chyba: Nelze otevřít protokol " + options.log).c_str());
        return INC_EXIT_FAILED;
    }
    const std::string program = SYS_program_path();
    output.line(("Instalace TRAKPRN bez obsluhy: " + program).c_str());
    // The same start as the window's: the program's place as it was typed,
    // and the configuration record.
    INST_parse_command_line(1, argv.data());
    CO_load_or_default(&CO_system_config);
    take_window_settings();
    SetConsoleCtrlHandler(control, TRUE);
    const int16_t done = install(program);
    SetConsoleCtrlHandler(control, FALSE);
    output.line(done ? "Instalace proběhla úspěšně" : "Instalace nebyla úspěšná");
    CO_release(&CO_system_config);
    return done ? INC_EXIT_DONE : INC_EXIT_FAILED;
}
