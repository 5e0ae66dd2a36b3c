// Screen: a client window (swin2/cw.h) that holds up to 200 widgets
// (swin2/wt_uni.h), lays them out in units of its screen font, creates them
// together, finds them by control id and moves the focus among them from the
// keyboard. The application derives its screen from C_SCR1, adds its widgets
// after the window exists, then calls create_widgets.
//
// Layout units: x in sixtieths of the screen font's layout character width,
// y in hundred-and-thirtieths of its character height; on a frame narrower
// than 788 or lower than 503 pixels they shrink in proportion.
#pragma once
#include <cstdint>

#include "swin2/cw.h"
#include "swin2/scr.h"
#include "swin2/wt_uni.h"

#define SCR1_WIDGETS 200
#define SCR1_UNITS_X 60               // layout units per character width
#define SCR1_UNITS_Y 130              // layout units per character height
#define SCR1_REFERENCE_WIDTH 788      // the frame size the layout is drawn for
#define SCR1_REFERENCE_HEIGHT 503
#define SCR1_DEFAULT_AREA_WIDTH 800   // the reference area without a frame
#define SCR1_DEFAULT_AREA_HEIGHT 600

class C_SCR1 : public C_CW {
public:
    // The screen settings at their defaults; no widgets, origin 0, 0.
    explicit C_SCR1(C_UMAIN *owner);
    // Deletes every widget (their windows first), then the font and brush.
    ~C_SCR1() override;

    // The client window, then the screen font (its layout sizes) and the
    // background brush. 1 when the window was made.
    int16_t create() override;
    LRESULT erase_background(HDC dc) override;        // the screen's brush
    HBRUSH control_colour(HDC dc, HWND control) override;
    int16_t draw_item(WPARAM wparam, LPARAM lparam) override;   // the owner-drawn buttons
    LRESULT destroy(WPARAM wparam, LPARAM lparam) override;     // the widgets' windows go with it
    // Keys of the thread for this screen (the message's window is the screen,
    // inside it, or the frame itself): Tab / Shift+Tab, Enter, Esc, the arrows
    // inside a group, Alt+access letter. 1 = used up.
    int16_t pre_translate(MSG *message) override;
    // The widget that has the focus is kept (also at each key of the screen
    // and each focus_widget); restore_focus gives the focus back to it, or,
    // when it cannot take the focus now, to the first tab stop.
    void remember_focus() override;
    void restore_focus() override;
    // Esc pressed in the screen; nonzero = the key is used up [0].
    virtual int16_t escape();

    // ---- layout ----
    // Units into pixels (without the origin). A font size not known yet (0)
    // is an internal error and takes units / 60 (units / 130); a screen
    // whose owner is not a frame is an internal error and lays out for 800 x 600.
    int32_t layout_x(int32_t units);
    int32_t layout_y(int32_t units);
    // The reference area: the frame's window size (its placement size while
    // it has no window).
    void layout_area(int32_t *width, int32_t *height);

    // ---- widgets ----
    // One per kind: the rectangle in layout units (the origin added), the
    // widget made (no window yet) and put into the first free slot. 0 when no
    // memory is left (low-memory report), for a control id already on the
    // screen or a full table (internal errors; the new widget is dropped).
    int16_t add_button(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_check(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_radio(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_static(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_edit(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_combo(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_list(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_table(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_text_window(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_bitmap(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_title(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_rot(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_htrack(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_vtrack(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_tree(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t add_key(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);

    // Creates every widget without a window, gives the screen font to those
    // without a font of their own, recomputes the scroll ranges. 1 when every
    // widget has its window.
    int16_t create_widgets();

    // The widget of a control id, or null (no report).
    C_WT_UNI *find_widget(int32_t id);
    // The message text widget of a control id; null for none, and an
    // internal error for a widget of another kind.
    C_WT_TW *find_text_window(int32_t id);
    // By control id through the widget; 0 for an unknown id.
    int16_t set_widget_text(int32_t id, const char *text);
    int16_t get_widget_text(int32_t id, char *buffer, int16_t bound);
    int16_t enable_widget(int32_t id, int16_t on);
    int16_t show_widget(int32_t id, int16_t on);
    int16_t focus_widget(int32_t id);
    int16_t set_widget_state(int32_t id, int32_t state);   // operation 1 (slot 6)
    int32_t get_widget_state(int32_t id);                  // the query (slot 8); 0 for an unknown id
    int16_t set_default_button(int32_t id, int16_t on);    // kind 1 only

    // ---- fields ----
    SCR_SCREEN screen;                        // font, layout sizes, background
    C_WT_UNI *widgets[SCR1_WIDGETS] = {};     // owned; null = free
    int32_t origin_x = 0;                     // pixels added to every widget position
    int32_t origin_y = 0;
    int32_t focus_id = 0;                     // control id of the widget that had the focus last; 0 none

private:
    template <class T>
    int16_t add_widget(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
    int16_t insert(C_WT_UNI *widget);
    static int32_t pixels(int32_t units, int16_t size, int32_t area, int32_t reference, int32_t per_size);
    int16_t slot_of_focus();
    int16_t next_tab_stop(int16_t from, int16_t direction);
    // The first slot of the group that holds slot: the nearest widget at or
    // before it with a group start or a tab stop (a radio button's tab stop,
    // which the system gives the checked one, does not count).
    int16_t group_start(int16_t slot);
    int16_t move_focus(int16_t direction);
    int16_t move_in_group(int16_t direction);
    int16_t press_default();
    int16_t access_key(uint8_t letter);
};
