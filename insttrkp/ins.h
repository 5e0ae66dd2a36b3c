// The installation engine: one installation from the source directory of
// the state into its target directory, in a fixed order of steps (source
// and list check, removal of a previous installation by its own uninstall
// program, target and directories, read-me and list copy, overwrite
// question, free space, the files disk by disk, "SYSTEM.WCO", the shell).
// Everything made is recorded in "UNINST.LST" (inst/unl.h), every installed
// file listed in "INST.LST". Progress goes to the status line, failures to
// error reports, questions and disk requests to message boxes.
// Runs on the window thread; waiting messages are worked off at each abort
// check, so the window's abort button is seen meanwhile.
#pragma once
#include <windows.h>

#include <cstdint>

struct IFL_state;

// Paths of the engine: at most INS_PATH_MAX characters.
#define INS_PATH_MAX 1024
typedef char INS_PATH[INS_PATH_MAX + 1];
// path := first + second + third, cut at INS_PATH_MAX characters.
void INS_join(char *path, const char *first, const char *second, const char *third = "");

// The engine's questions and its disk request, as its message boxes show
// them: a caller without a person (a report sink) answers by these texts.
#define INS_TEXT_PREVIOUS "Na cílové cestě byla nalezena předchozí instalace TOREVAN.\n" \
                          "Před novou instalací je třeba minulou odstranit. Pokračovat?"
#define INS_TEXT_TAKE_OVER "Pro novou instalaci může být převzata systémová konfigurace\n" \
                           "z předchozí instalace TOREVAN. Má se převzít systémová\n" \
                           "konfigurace z předchozí instalace?"
#define INS_TEXT_OVERWRITE "Existující soubory budou přepsány, pokračovat"
#define INS_TEXT_SKIP_MISSING "Soubor %s nenalezen, vynechat"
#define INS_TEXT_ABORT "Přerušit instalaci ?"
#define INS_TEXT_DISK "Vlož DISK%d"
#define INS_TEXT_RETRY "Zkusit znovu"

// The four text lines of the installer window.
enum : int16_t { INS_LINE_FIRST = 18, INS_LINE_LAST = 21 };

// What the engine needs of the installer window.
class C_INS_WINDOW {
public:
    virtual ~C_INS_WINDOW() = default;
    // One of the text lines INS_LINE_FIRST to INS_LINE_LAST.
    virtual void set_line(int16_t control, const char *text) = 0;
    // Works off the thread's waiting messages.
    virtual void pump_messages() = 0;
    // The frame window, made active and foreground after the uninstall program.
    virtual HWND frame() = 0;
    // The person answered "Ne" to "Přerušit instalaci ?": the installation
    // goes on, and whatever asked for the abort (a close) is called off.
    virtual void abort_declined() {}
    // A long step follows (a large file): the lines and the status line are
    // drawn now, not left for the window's next paint.
    virtual void draw_now() {}
};

// The state of the installation that runs (lent by the window for one call).
extern IFL_state *INS_state;
// 1 once a previous installation's "SYSTEM.WCO" was loaded into the system
// store; stays set for the rest of the run.
extern int16_t configuration_taken_over;

// Registers the window (once). Null: internal error, 0.
int16_t INS_set_window(C_INS_WINDOW *window);
// Sets the abort request; the next abort check asks whether to stop. 1.
// Any thread may call it (a console's Ctrl+C handler does).
int16_t INS_request_abort();
// One installation: the target made canonical in the state first (a drive
// root or the source's own folder refused before anything is written), every
// record of "UNINST.LST" written just before the step that makes its thing,
// every file landing under its name only when complete. 1 when complete; 0 when it failed or was aborted (the
// cause has been shown). The caller closes "UNINST.LST" (UNL_close) and the
// state's list (IFL_close_list) afterwards, whatever the result.
int16_t INS_install(IFL_state *state);
// Works off waiting messages; 1 when an abort was requested and confirmed.
int16_t INS_check_abort();
// 1 while INS_install runs (the window must then stay, and so must the session).
int16_t INS_running();
// The one spelling of a directory with a drive letter (FE_canonical_path,
// then a final "\") into out (INS_PATH_MAX + 1 bytes; it may be path itself).
// 0, out unchanged, when path has no drive letter or cannot be made so.
int16_t INS_canonical_directory(const char *path, char *out);

// The window's text lines: the welcome text, the success text, all empty.
void INS_show_welcome();
void INS_show_success();
void INS_clear_lines();
