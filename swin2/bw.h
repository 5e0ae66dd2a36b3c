// Basic window: a Win32 window bound to a toolkit object. One shared window
// procedure turns the window's messages into calls of the object's virtual
// operations; the derived classes (the frame C_UMAIN, the client C_CW and the
// application's own windows) override the operations they need.
//
// The object pointer lives in the window's extra bytes (one pointer-sized
// word); messages that arrive before it is stored (the creation messages) go
// to the system's default procedure.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/mm.h"
#include "win/wmsg.h"

#define BW_TEXT_MAX 200               // characters of a class name or a title
#define BW_CLASS_NAME "BASIC_WINDOW"
#define BW_DEFAULT_STYLE 0x10CF0000u  // visible overlapped window, caption, system menu, sizing frame, min/max boxes
#define BW_DEFAULT_POSITION ((int32_t)0x80000000)   // CW_USEDEFAULT: the system's position and size
#define BW_ARROW_CURSOR 32512         // IDC_ARROW

// Window kinds (the layout code of the screens reads a screen's owner's kind).
#define BW_KIND_CLIENT 0
#define BW_KIND_FRAME 1

class C_BW : public MM_OBJECT {
public:
    C_BW();
    // Destroys the window if it still exists.
    virtual ~C_BW();
    C_BW(const C_BW &) = delete;
    C_BW &operator=(const C_BW &) = delete;

    // Registers the window class on its first use (icons, cursor, the record
    // below) and creates the window with the fields below; 1 on success, 0
    // when the registration or the creation failed (no window then).
    virtual int16_t create();

    // ---- operations called by the shared procedure (defaults in brackets) ----
    virtual LRESULT paint();                                   // WM_PAINT [begin/end painting, 0]
    virtual LRESULT erase_background(HDC dc);                  // WM_ERASEBKGND [0: the default procedure erases]
    virtual LRESULT query_new_palette();                       // WM_QUERYNEWPALETTE [realise the driver's palette; 1 if any]
    virtual LRESULT palette_changed(HWND window);              // WM_PALETTECHANGED [select and realise the driver's palette]
    virtual LRESULT size(int32_t width, int32_t height, int32_t kind);   // WM_SIZE, then the default procedure [0]
    virtual LRESULT move(int32_t x, int32_t y);                // WM_MOVE [0]
    virtual LRESULT enter_size_move();                         // WM_ENTERSIZEMOVE [0]
    virtual LRESULT exit_size_move();                          // WM_EXITSIZEMOVE [0]
    virtual void after_create(WPARAM wparam, LPARAM lparam);   // WM_BW_AFTER_CREATE [nothing]
    virtual void set_focus();                                  // WM_SETFOCUS [nothing]
    virtual void kill_focus();                                 // WM_KILLFOCUS [nothing]
    virtual int16_t key_command(int16_t code);                 // a toolkit key code (KEY_ translations) [1]
    virtual LRESULT query_end_session(LPARAM lparam);          // WM_QUERYENDSESSION, its result [1]
    virtual void close_request();                              // WM_BW_CLOSE_REQUEST [nothing]
    virtual void init_menu_popup(WPARAM wparam, LPARAM lparam);   // WM_INITMENUPOPUP [nothing]
    virtual void menu_select(WPARAM wparam, LPARAM lparam);    // WM_MENUSELECT [nothing]
    virtual int16_t measure_item(WPARAM wparam, LPARAM lparam);   // WM_MEASUREITEM, nonzero: result 1 [0]
    virtual int16_t draw_item(WPARAM wparam, LPARAM lparam);   // WM_DRAWITEM, nonzero: result 1 [0]
    // WM_MENUCHAR: high word 2 = the result as it is; 1 = the character
    // (upper case) becomes a key code for key_command [0].
    virtual LRESULT menu_char(WPARAM wparam, LPARAM lparam);
    virtual LRESULT command(WPARAM wparam, LPARAM lparam);     // WM_COMMAND when pre_command declined [0]
    virtual LRESULT notify(WPARAM wparam, LPARAM lparam);      // WM_NOTIFY [0]
    virtual int16_t pre_command(WPARAM wparam, LPARAM lparam); // WM_COMMAND first, nonzero = handled [0]
    virtual LRESULT destroy(WPARAM wparam, LPARAM lparam);     // WM_DESTROY; the binding is cleared afterwards [0]
    // Last at WM_DESTROY, the binding cleared and window null: an object
    // that lives as long as its window may delete itself here; nothing
    // touches it afterwards [nothing].
    virtual void destroyed();
    // WM_VSCROLL (vertical 1) / WM_HSCROLL (0): the scroll code and the position [0].
    virtual LRESULT scroll(int16_t vertical, int32_t code, int16_t position);
    virtual void system_close();                               // WM_SYSCOMMAND SC_CLOSE [nothing]
    // WM_CLOSE (sent by the system or another program), nonzero = handled;
    // otherwise the default procedure destroys the window [0].
    virtual int16_t close_message();
    virtual int16_t system_move();                             // WM_SYSCOMMAND SC_MOVE, nonzero = handled [0]
    virtual int16_t activated();                               // WM_ACTIVATE active, after the flag is set [1]
    virtual int16_t deactivated();                             // WM_ACTIVATE inactive, after the flag is cleared [1]
    // The frame's menu refresh after the state of function id changed
    // (called by PFU_set_state on the driver's main window) [nothing].
    virtual void refresh_menu(int32_t id);
    // Sends WM_SIZE to the own window with the current client width and height.
    virtual void refresh_layout();
    // Every message the procedure does not name [DefWindowProcA].
    virtual LRESULT default_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    // The object bound to a window, or null.
    static C_BW *from_window(HWND window);

    // ---- fields ----
    int16_t kind = BW_KIND_CLIENT;          // BW_KIND_FRAME for a frame
    HWND window = nullptr;                  // null until created and after WM_DESTROY
    int32_t large_icon = -1;                // resource ids, -1 = none
    int32_t small_icon = -1;
    int32_t cursor = BW_ARROW_CURSOR;       // system cursor id
    WNDCLASSEXA window_class{};             // the class record registered on first creation
    char class_name[BW_TEXT_MAX + 1];
    char title[BW_TEXT_MAX + 1];
    DWORD style = BW_DEFAULT_STYLE;
    DWORD ex_style = 0;
    HMENU menu = nullptr;
    HWND parent = nullptr;
    int32_t x = BW_DEFAULT_POSITION;
    int32_t y = BW_DEFAULT_POSITION;
    int32_t width = BW_DEFAULT_POSITION;
    int32_t height = BW_DEFAULT_POSITION;
    int16_t active = 0;                     // 1 once created and while activated
    int32_t serial = -1;                    // given by WGD_register_window

    // The class name for the next creation (cut to BW_TEXT_MAX).
    void set_class_name(const char *name);
    // The title (cut to BW_TEXT_MAX); shown at once when the window exists.
    void set_title(const char *text);
};

// The shared window procedure of every toolkit window.
LRESULT CALLBACK BW_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
