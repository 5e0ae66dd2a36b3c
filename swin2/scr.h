// Screen settings: the screen font that a screen window lays out its widgets
// with (section "SCR_screen_settings" of the system configuration), the
// screen's background colour, and the colours it gives its controls.
// A screen window embeds one SCR_SCREEN and releases it at its end.
#pragma once
#include <windows.h>

#include <cstdint>

#include "win/guard.h"

struct WCO_file;

#define SCR_SECTION "SCR_screen_settings"
#define SCR_FONT_NORMAL "normal"          // the font kind of the keys below
#define SCR_FONT_NAME_MAX 32              // characters of a stored face name
#define SCR_DEFAULT_HEIGHT 8
#define SCR_DEFAULT_CHARSET 238           // EASTEUROPE_CHARSET
#define SCR_DEFAULT_FACE "MS Sans Serif"
#define SCR_DEFAULT_BACKGROUND 7          // colour entry "světle šedá"

struct SCR_SCREEN {
    LOGFONTA font_description;   // lfHeight is minus the character height
    C_GDI<HFONT> font;
    int16_t char_width;          // layout character width: average width + 1
    int16_t char_height;         // layout character height: height + external leading
    int16_t background;          // colour table entry
    COLORREF background_colour;
    C_GDI<HBRUSH> brush;         // solid, of the background colour
};

// Defaults: no font, layout sizes 0, background entry 7 (no brush yet).
void SCR_init(SCR_SCREEN *screen);
// Frees the font and the brush.
void SCR_release(SCR_SCREEN *screen);

// The default description: height -8, width 0, weight 0, no italic,
// underline or strikeout, charset 238, face "MS Sans Serif".
void SCR_font_defaults(LOGFONTA *font);
// Reads "<kind>_font_height" (positive; the description gets minus it),
// "_font_weight", "_font_italic", "_font_underline", "_font_strikeout",
// "_font_charset" and "_font_name" from section "SCR_screen_settings" of the
// store into the description; a missing or unreadable key is written from
// the description as it is. 0 for a null argument.
int16_t SCR_read_font_settings(WCO_file *store, const char *kind, LOGFONTA *font);
// The same keys in another section; an empty kind names them without a
// prefix ("font_height", ...).
int16_t SCR_read_font_section(WCO_file *store, const char *section, const char *kind, LOGFONTA *font);

// The screen font of a screen window: defaults, then the "normal" settings
// of the system store, the font made and measured in the window's device
// context. 0 when the font cannot be made.
int16_t SCR_create_font(SCR_SCREEN *screen, HWND window);
HFONT SCR_font(const SCR_SCREEN *screen);

// The background entry, its colour from the driver's colour table and a new
// brush (the old one is freed). 0 for an entry outside the table.
int16_t SCR_set_background(SCR_SCREEN *screen, int16_t entry);
// Erases the window's client area with the screen's brush (the driver's
// palette selected first). 1 when it erased.
int16_t SCR_erase_background(const SCR_SCREEN *screen, HWND window, HDC dc);
// The brush of a control's WM_CTLCOLOR... message: static texts, check boxes
// and radio buttons take the screen's background (palette selected), edit
// fields and trees the system window colour; null = the default handling.
HBRUSH SCR_control_colour(const SCR_SCREEN *screen, HDC dc, HWND control);
