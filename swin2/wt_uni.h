// Widgets: the child controls of a screen (swin2/scr1.h), each wrapped in an
// object that knows its kind, control id, rectangle, style, text and font.
// The object makes its window (create) and destroys it in its destructor;
// before creation it keeps what it is given (text, state, font) and puts it
// into the window when that is made.
//
// A widget is constructed with its owner (the window object whose window
// becomes the parent), its control id and its rectangle in pixels relative
// to the owner's client area. The screen's add operations do the layout.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "common/mm.h"
#include "swin/tabc.h"
#include "win/guard.h"

class C_BW;
struct TW_text_window;

#define WT_CLASS_MAX 80         // characters of a window class name
#define WT_TEXT_MAX 250         // characters of a kept window text

// Kinds.
#define WT_BUTTON 1             // owner-drawn push button
#define WT_CHECK 2
#define WT_RADIO 3
#define WT_STATIC 4
#define WT_EDIT 5
#define WT_COMBO 6
#define WT_LIST 7
#define WT_TABLE 8              // the table control (swin/tab.h)
#define WT_TW 9                 // message text window
#define WT_BMP 10
#define WT_TITLE 11
#define WT_ROT 12
#define WT_HTRACK 13
#define WT_VTRACK 14
#define WT_TREE 15
#define WT_KEY 16

#define WT_COLOUR_UNSET (-1)    // a colour the widget leaves to its control
#define WT_TREE_TEXT "Tree View"

class C_WT_UNI : public MM_OBJECT {
public:
    C_WT_UNI(C_BW *owner, int16_t kind, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
             const char *class_name, DWORD style, DWORD ex_style);
    C_WT_UNI(const C_WT_UNI &) = delete;
    C_WT_UNI &operator=(const C_WT_UNI &) = delete;

    // ---- virtual operations, in slot order ----
    // 0: destroys the window if it exists.
    virtual ~C_WT_UNI();
    // 1: the window got a new font [nothing, 1].
    virtual int16_t font_changed(HFONT font);
    // 2: CreateWindowExA with the fields, the owner's window as parent, the
    // control id as menu id; a font already set is applied, then after_create.
    // 0 when the window exists already (internal error), when the owner has
    // no window or the system made none.
    virtual int16_t create();
    // 3: after the window is made [nothing].
    virtual void after_create();
    // 4: keeps the text (cut to 250 characters) and shows it when the window
    // exists. A null text is an internal error and 0.
    virtual int16_t set_text(const char *text);
    // 5: the window's text (the kept one while there is no window), at most
    // bound characters and the terminator. 0 for a null buffer or a bound below 0.
    virtual int16_t get_text(char *buffer, int16_t bound);
    // 6, 7: kind-specific operations (states, colours) [nothing, 1].
    virtual int16_t operation_1(int32_t value);
    virtual int16_t operation_2(int32_t value);
    // 8: kind-specific query (a state) [0].
    virtual int32_t query();

    // Remembers the font (not owned); with a window: WM_SETFONT,
    // font_changed and a redraw. 1.
    int16_t set_font(HFONT font);
    // The matching Win32 calls; 0 (false) while there is no window.
    int16_t enable(int16_t on);
    int16_t is_enabled() const;
    int16_t show(int16_t on);
    int16_t is_visible() const;
    int16_t focus();
    // The widget's rectangle becomes r (pixels in the owner), and the window
    // is moved there when it exists.
    int16_t move_to(const RECT &r, int16_t repaint = 1);
    // The window of the owner that is the parent, or null.
    HWND parent_window() const;

    // ---- fields ----
    C_BW *owner;                      // not owned
    int16_t kind;
    int16_t default_button = 0;       // kind 1: pressed by Enter
    int16_t own_colours = 0;          // kind 4: draws its text in its colours
    int16_t reserved = 0;
    HFONT font = nullptr;             // not owned; null = the control's default
    HWND window = nullptr;
    int32_t id;
    int32_t x, y, width, height;
    DWORD style;
    DWORD ex_style;
    char class_name[WT_CLASS_MAX + 1];
    char text[WT_TEXT_MAX + 1];
};

// Kind 1: an owner-drawn push button; the screen passes its WM_DRAWITEM here.
class C_WT_BUTTON : public C_WT_UNI {
public:
    C_WT_BUTTON(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    // Marks (1) or unmarks (0) the button as the screen's default button:
    // the flag, style bit BS_DEFPUSHBUTTON, a redraw. 1.
    int16_t set_default(int16_t on);
    // The face, the frame (a thicker one for the default button, sunken while
    // pressed), the focus rectangle and the centred text, the driver's
    // palette selected. 1; 0 for another control's drawing.
    int16_t draw(const DRAWITEMSTRUCT *item);
    COLORREF face;                    // system colour 4 at construction
};

// Kind 2: state 1 = checked, 0 = clear, any other = grey; read 1, 0 or -1.
class C_WT_CHECK : public C_WT_UNI {
public:
    C_WT_CHECK(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    void after_create() override;            // the state set before creation
    int16_t operation_1(int32_t state) override;
    int32_t query() override;
    int32_t state = 0;
};

// Kind 3: state 1 = checked, 0 = clear.
class C_WT_RADIO : public C_WT_UNI {
public:
    C_WT_RADIO(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    void after_create() override;
    int16_t operation_1(int32_t state) override;
    int32_t query() override;
    int32_t state = 0;
};

// Kind 4: a static text; with colours set (operation 1 the text colour,
// operation 2 the background, as colour table entries) it is drawn in them.
class C_WT_STATIC : public C_WT_UNI {
public:
    C_WT_STATIC(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t operation_1(int32_t entry) override;
    int16_t operation_2(int32_t entry) override;
    // The answer to the static's WM_CTLCOLORSTATIC: its text colour set into
    // the dc, and with a background of its own that colour and its brush;
    // null = the screen's background.
    HBRUSH colour(HDC dc);
    int32_t text_colour = WT_COLOUR_UNSET;
    int32_t background = WT_COLOUR_UNSET;
    C_GDI<HBRUSH> brush;
};

// Kinds 6 and 7: a combo box and a list box, through their messages (the
// same operations, each control with its own message numbers). Indexes from
// 0; -1 = none.
struct WT_LIST_MESSAGES {
    UINT add, reset, count, select, selection, text_length, text;
    LRESULT error;
};

class C_WT_ITEMS : public C_WT_UNI {
public:
    C_WT_ITEMS(C_BW *owner, int16_t kind, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
               const char *class_name, uint32_t style, const WT_LIST_MESSAGES &messages);
    int32_t add(const char *item);           // its index, -1 on failure
    int16_t clear();
    int32_t count();
    int16_t operation_1(int32_t index) override;   // select
    int32_t query() override;                      // the selected index
    // The item's text, at most bound characters; 0 for an index out of range.
    int16_t item_text(int32_t index, char *buffer, int16_t bound);

private:
    const WT_LIST_MESSAGES &messages_;
};

class C_WT_COMBO : public C_WT_ITEMS {
public:
    C_WT_COMBO(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
};

class C_WT_LIST : public C_WT_ITEMS {
public:
    C_WT_LIST(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
};

// Kinds 10 to 14 and 16: the toolkit's custom controls. The title, the
// scrolling text and the bitmap take their text (the bitmap: its file path)
// through their set-text message; operations 1 and 2 give the title and the
// scrolling text their text and background colours and the tracks their bar
// and face colours (colour table entries, unset until given, sent once the
// window exists). The key control's operation 1 sets its key code.
class C_WT_CUSTOM : public C_WT_UNI {
public:
    C_WT_CUSTOM(C_BW *owner, int16_t kind, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    void after_create() override;                 // the text and the colours given before
    int16_t set_text(const char *text) override;
    int16_t operation_1(int32_t entry) override;
    int16_t operation_2(int32_t entry) override;
    int32_t query() override;                     // the key control's key code, else 0
    int32_t colour_1 = WT_COLOUR_UNSET;
    int32_t colour_2 = WT_COLOUR_UNSET;
    int32_t key_code = 0;                         // the key control's, 0 = none given

private:
    int16_t send_text();   // the control's answer; 1 while there is no window
    void send_colour(int which);
};

#define WT_CUSTOM_MEMBER(name, member_kind)                                                               \
    class name : public C_WT_CUSTOM {                                                                      \
    public:                                                                                                \
        name(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)           \
            : C_WT_CUSTOM(owner_, member_kind, id_, x_, y_, width_, height_) {}                             \
    }
WT_CUSTOM_MEMBER(C_WT_BMP, WT_BMP);
WT_CUSTOM_MEMBER(C_WT_TITLE, WT_TITLE);
WT_CUSTOM_MEMBER(C_WT_ROT, WT_ROT);
WT_CUSTOM_MEMBER(C_WT_HTRACK, WT_HTRACK);
WT_CUSTOM_MEMBER(C_WT_VTRACK, WT_VTRACK);
WT_CUSTOM_MEMBER(C_WT_KEY, WT_KEY);
#undef WT_CUSTOM_MEMBER

// Kind 8: the table control, through the operations of swin/tabc.h.
class C_WT_TABLE : public C_WT_UNI, public C_TAB_CALLS {
public:
    C_WT_TABLE(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    LRESULT table_message(UINT message, WPARAM wparam, LPARAM lparam) const override;
};

// Kind 15: a tree view (the common controls initialised first).
class C_WT_TREE : public C_WT_UNI {
public:
    C_WT_TREE(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t create() override;
    // A new last child of parent (TVI_ROOT for the top level); null on failure.
    HTREEITEM add(const char *item, HTREEITEM parent = TVI_ROOT);
    int16_t clear();
    int16_t select(HTREEITEM item);
    HTREEITEM selection();
    int16_t item_text(HTREEITEM item, char *buffer, int16_t bound);
};

// Kind 9: a message text window (swin2/tw.h) of the embedded kind, made by
// create and moved to the widget's rectangle. Its texts are lines: set_text
// appends one, get_text reads the last one.
class C_WT_TW : public C_WT_UNI {
public:
    C_WT_TW(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    ~C_WT_TW() override;                          // the text window with its lines
    // The text object (once) and its window, moved to the rectangle; the
    // lines added before are kept. 0 as the base, or when the object or its
    // window cannot be made.
    int16_t create() override;
    int16_t set_text(const char *text) override;  // appended as a line
    int16_t get_text(char *buffer, int16_t bound) override;
    int16_t add_line(const char *line);
    int16_t clear();
    int32_t line_count() const;
    TW_text_window *text_window = nullptr;        // owned
};

// Copies at most bound characters and the terminator (bound 0: an empty text).
void WT_copy(char *buffer, const char *source, int16_t bound);

// The colour value of a colour table entry (the driver's table, or the
// built-in colours without a driver).
COLORREF WT_colour(int32_t entry);
