// Custom controls of the toolkit: window classes of its own that screens and
// dialogs use like the system's controls. Each is a C_CTL (swin/ctl.h): the
// window makes its object at WM_CREATE and deletes it at WM_DESTROY. Their
// private messages (WM_USER + 10 onward) are in win/wmsg.h, one block per
// control.
//
//   "TITLE_WINDOW_CLASS_NAME"   title                  swin2/ucc_titl.h
//   "ROT_WINDOW_CLASS_NAME"     scrolling text         swin2/ucc_rot.h
//   "VTRACK_WINDOW_CLASS_NAME"  vertical track         swin2/ucc_trk.h
//   "HTRACK_WINDOW_CLASS_NAME"  horizontal track       swin2/ucc_trk.h
//   "BMP_WINDOW_CLASS_NAME"     bitmap view            swin2/ucc_bmp.h
//
// This header also holds what the controls share: the menu colour, the
// palette while painting, the notification to the parent, the settings
// readers and the text controls' colours and font.
#pragma once
#include <windows.h>

#include <cstdint>

#include "swin/ctl.h"
#include "win/guard.h"

#define UCC_NAME_MAX 80          // characters of a title text, a font name, a bitmap path
#define UCC_DEFAULT_FONT "Arial"
#define UCC_KEY_FONT_NAME "font_name"

// Registers the five classes above for the instance; every registration is
// attempted. 1 when all five are there.
int16_t UCC_register_classes(HINSTANCE instance);

// The menu colour (system colour 4), the controls' initial face colour.
COLORREF UCC_menu_colour();

// Sends WM_COMMAND (control id, code) with the control's window to its parent.
void UCC_notify(HWND control, WORD code);

// Fills the rectangle with a solid colour.
void UCC_fill(HDC dc, const RECT &rect, COLORREF colour);

// A number of the system store: the value of the key in the section, raised
// to minimum when below it; a missing or unreadable key gives fallback, which
// is written into the store.
int32_t UCC_setting(const char *section, const char *key, int32_t fallback, int32_t minimum);
// The font name of the section (key "font_name", at most UCC_NAME_MAX
// characters) into name; missing or empty: "Arial", written into the store.
void UCC_font_setting(const char *section, char *name);

// The driver's palette selected into a device context (as background
// palette) and realised while the guard lives; nothing without a palette.
class C_UCC_PALETTE : C_GUARD {
public:
    explicit C_UCC_PALETTE(HDC dc);

private:
    C_SELECT_PALETTE select_;
};

// The part of the title and the scrolling text that is the same: text and
// background colours, the font name from the control's settings section and
// the font made from it to suit the control's height.
class C_UCC_TEXT : public C_CTL {
public:
    // Reads the font name from the settings section.
    C_UCC_TEXT(HWND window, const char *section);
    LRESULT create(const CREATESTRUCTA *creation) override;   // makes the font

    COLORREF text_colour = 0;
    COLORREF background;             // the menu colour
    char font_name[UCC_NAME_MAX + 1];
    C_GDI<HFONT> font;               // null when it cannot be made (the system font is used)

protected:
    // The colour into *field and changed(); 1.
    LRESULT set_colour(COLORREF *field, WPARAM colour);
    // A new font name (cut to UCC_NAME_MAX), the font made anew, changed();
    // 0 for a null name, nothing changed.
    LRESULT set_font_name(LPARAM name);
    // Makes the font from the name for the client height.
    void make_font();
    // After a change of colour, font or size: the default redraws the window.
    virtual void changed();
};
