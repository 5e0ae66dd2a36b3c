// The application's frame window: a status bar at the bottom and a stack of
// up to 20 client windows above it, of which the top one is the active view.
// Changes of the stack travel as messages posted to the frame, so that they
// run after the message being handled (a client never deletes itself from
// inside one of its own handlers).
//
// An application derives its frame from C_UMAIN and overrides create_client,
// the factory of its client kinds.
#pragma once
#include <cstdint>

#include "swin2/bw.h"

class C_CW;
struct PFU_ENTRY;
struct SBAR_status_bar;

#define UMAIN_CLIENTS 20                 // client stack slots
#define UMAIN_CLASS_NAME "UNI_MAIN_WINDOW"
#define UMAIN_OBJECT_CLASS_NAME "MAIN_WINDOW_UNI"   // until the window is created
#define UMAIN_TITLE "Titulek"
#define UMAIN_LARGE_ICON 20
#define UMAIN_SMALL_ICON 23
#define UMAIN_TIMER 100                  // the clock timer, 1000 ms
#define UMAIN_STATUS_WIDGET 17           // control id of a screen's status echo
#define UMAIN_EXIT_FUNCTION 1049         // "&Konec": set to 1 when a client refuses to close

// State flags shown in field 2 of the status bar.
#define UMAIN_MODIFIED 0x0001            // "modifikováno"
#define UMAIN_SAVING 0x0010              // "Ukládání" (wins over modified)

// Status bar fields used by the frame.
#define UMAIN_FIELD_TEXT 0
#define UMAIN_FIELD_STATE 2
#define UMAIN_FIELD_CLOCK 3

class C_UMAIN : public C_BW {
public:
    // Kind BW_KIND_FRAME, the status bar object (no window yet), no state.
    C_UMAIN();
    // Deletes the clients (slot 19 down to 0) and the status bar.
    ~C_UMAIN() override;

    // Registers "UNI_MAIN_WINDOW" once (icons 20 and 23), creates the window
    // titled "Titulek" with the menu bar of the first function table of
    // GDD_global.tables (when there is one), creates the
    // status bar, lays them out, posts WM_BW_AFTER_CREATE to itself and starts
    // the clock timer. 1 on success, 0 when the window was not made.
    int16_t create() override;

    LRESULT size(int32_t width, int32_t height, int32_t kind) override;
    LRESULT enter_size_move() override;    // passed on to the top client
    LRESULT exit_size_move() override;     // passed on to the top client
    LRESULT destroy(WPARAM wparam, LPARAM lparam) override;   // PostQuitMessage(0)
    void system_close() override;          // posts WM_BW_CLOSE_REQUEST
    // While clients are open, WM_CLOSE (Task Manager's "End task", a close
    // from another program) takes the way of the close box: the clients are
    // asked first. The frame's own WM_CLOSE, posted when they are all gone,
    // destroys it.
    int16_t close_message() override;
    // The top client keeps its focused control while the frame is inactive
    // and gets the focus back when the frame has it again (as a dialog does).
    int16_t deactivated() override;
    void set_focus() override;
    LRESULT query_end_session(LPARAM lparam) override;        // 1
    void init_menu_popup(WPARAM wparam, LPARAM lparam) override;   // fills the submenu from its table
    void menu_select(WPARAM wparam, LPARAM lparam) override;  // the help line into field 0
    int16_t measure_item(WPARAM wparam, LPARAM lparam) override;   // owner-drawn menu items
    int16_t draw_item(WPARAM wparam, LPARAM lparam) override;
    void refresh_menu(int32_t id) override;
    // WM_TIMER (the clock in field 3) and the three client-stack requests.
    LRESULT default_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // The application's factory: constructs the client of the given kind and
    // stores it in clients[slot] (or leaves the slot empty). The base reports
    // an internal error: every application overrides it.
    virtual void create_client(int16_t slot, int16_t kind);
    // The application's echo of a status text (WE_status) [a line in the
    // message text widget UMAIN_STATUS_WIDGET of the top client when that is
    // a screen that has one].
    virtual void show_status(const char *text);

    // The top client (the highest occupied slot), or null.
    C_CW *top_client() const;
    // Its slot, or -1 when the stack is empty.
    int16_t top_slot() const;

    // ---- fields ----
    const PFU_ENTRY *menu_table = nullptr;  // the function table of the menu bar
    RECT client_area{0, 0, 0, 0};           // the area the clients fill
    SBAR_status_bar *status_bar = nullptr;  // owned
    int32_t application_word = 0;
    C_CW *clients[UMAIN_CLIENTS] = {};      // owned; slot 19 is the highest
    uint16_t state = 0;                     // UMAIN_MODIFIED, UMAIN_SAVING

private:
    void replace_client(int16_t kind);
    void push_client(int16_t kind);
    void pop_client();
    // Asks the client in the slot; on refusal function 1049 is set to 1.
    int16_t may_close(int16_t slot);
    void delete_client(int16_t slot);
    void show_clock();
    friend int16_t UMAIN_close_all_clients(C_UMAIN *frame);
};

// Posted requests (the kind travels in the low 16 bits of wparam); 0 when
// the frame has no window or the post failed. A null frame is an internal
// error and 0 in all the operations below.
int16_t UMAIN_replace_client(C_UMAIN *frame, int16_t kind);
int16_t UMAIN_push_client(C_UMAIN *frame, int16_t kind);
int16_t UMAIN_pop_client(C_UMAIN *frame);
// Asks every client (slot 19 down to 0) whether it may close and deletes the
// consenting ones; the first refusal sets function 1049 to 1 and ends with 0,
// the frame left open. When all are gone WM_CLOSE is posted to the frame and
// the result is 1.
int16_t UMAIN_close_all_clients(C_UMAIN *frame);
// Set / clear state flags and redraw the state field; 1.
int16_t UMAIN_set_state(C_UMAIN *frame, uint16_t flags);
int16_t UMAIN_clear_state(C_UMAIN *frame, uint16_t flags);
