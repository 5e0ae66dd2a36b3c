// The installer window: the client of kind 100 of the installer's frame, a
// screen with a title, the source and target paths with their browse
// buttons, the two shortcut choices, the buttons "&Start instalace",
// "&Přerušit instalaci" and "&Konec", and the four text lines the engine
// writes. It owns the installation state and runs the engine from its start
// button.
#pragma once
#include <cstdint>

#include "insttrkp/ins.h"
#include "swin2/scr1.h"
#include "win/guard.h"

struct IFL_state;

#define ITRK_HANDLERS 200
#define ITRK_TITLE "TOREVAN - Instalace konverzního programu Gerber -> Postscript"
#define ITRK_MESSAGE_CLOSE 0x469   // the frame's close request
#define ITRK_DRAW_TIMER 101        // while the engine runs: the text lines shown
#define ITRK_DRAW_PERIOD 100       // ms between two drawings of the window while the engine runs

enum ITRK_CONTROL : int32_t {
    ITRK_TITLE_ID = 1, ITRK_SOURCE_LABEL = 6, ITRK_SOURCE = 7, ITRK_BROWSE_SOURCE = 8, ITRK_TARGET_LABEL = 9,
    ITRK_TARGET = 10, ITRK_BROWSE_TARGET = 11, ITRK_DESKTOP = 12, ITRK_QUICK_LAUNCH = 13, ITRK_START = 14,
    ITRK_EXIT = 15, ITRK_ABORT = 16,
};

class C_SW_ITRK;
typedef void (C_SW_ITRK::*ITRK_HANDLER)();
struct ITRK_ENTRY {
    int32_t id, code;
    ITRK_HANDLER handler;   // null: a free entry
};

class C_SW_ITRK : public C_SCR1, public C_INS_WINDOW {
public:
    // The state (target "C:\TRAKPRN\"), the window, the frame's title, the
    // widgets laid out and the initial state. Without memory for the state the
    // window says so and offers only "&Konec".
    explicit C_SW_ITRK(C_UMAIN *owner);
    ~C_SW_ITRK() override;   // destroys the state

    // Every control laid out for the client's width, then the base.
    LRESULT size(int32_t width, int32_t height, int32_t kind) override;
    void move_contents(int32_t dx, int32_t dy) override;   // keeps the offset for the layout
    // The rectangle around the visible widgets widened by 50 layout units on
    // each side: the scroll bars appear only when a widget would be cut.
    void contents_bounds(RECT *bounds) override;
    LRESULT command(WPARAM wparam, LPARAM lparam) override;   // the first matching handler
    void timer(UINT_PTR id) override;                          // nothing
    // Yes, except while an installation runs: then the close counts as an
    // abort request and the frame is asked again once the engine returns.
    int16_t can_close() override;

    // What the engine needs of the window. While it runs, its lines and the
    // status line change for every file: a line is kept and shown at the next
    // tick of the draw timer, and the window paints at most every
    // ITRK_DRAW_PERIOD ms (messages are still worked off at every call), or
    // at once before a long step; when the engine returns, every line shows
    // its last text.
    void set_line(int16_t control, const char *text) override;
    void pump_messages() override;
    HWND frame() override;
    void abort_declined() override;   // a close during the installation is called off
    void draw_now() override;

    // A handler for a control's notification; 0 when the table is full.
    int16_t add_handler(int32_t id, int32_t code, ITRK_HANDLER handler);

    void on_source_edited();
    void on_target_edited();
    void on_browse_source();
    void on_browse_target();
    void on_toggle_desktop();
    void on_toggle_quick_launch();
    void on_start();
    void on_abort();
    void on_exit();

    ITRK_ENTRY handlers[ITRK_HANDLERS] = {};
    IFL_state *state = nullptr;           // owned
    int16_t quick_launch_available = 0;   // 1 when the Quick Launch folder exists
    int16_t running = 0;                  // 1 while the engine runs
    int16_t close_when_done = 0;          // the frame was closed during the installation

private:
    void build();
    void lay_out(int32_t width);
    void set_initial_state();
    void path_edited(int32_t field, char *directory);
    void set_path(int32_t field, const char *path);
    void get_path(int32_t field, char *path /*IFL_PATH_MAX + 1*/);
    void toggle(int32_t box);
    void enable_settings(int16_t on);
    void show_lines();   // the lines kept while the engine runs, into their widgets
    C_GDI<HFONT> title_font;
    char lines[INS_LINE_LAST - INS_LINE_FIRST + 1][WT_TEXT_MAX + 1] = {};
    int16_t lines_kept = 0;   // bit i: line INS_LINE_FIRST + i waits to be shown
    DWORD drawn_at = 0;       // GetTickCount of the last painting pump
    int32_t scrolled_x = 0, scrolled_y = 0;   // pixels the contents are scrolled by
};

// The shell's folder browser (flags 5, no root) titled title; the chosen
// folder's path into path (at most 1024 characters) and 1; cancel: 0, path
// unchanged.
int16_t INS_pick_folder(HWND owner, const char *title, char *path);
