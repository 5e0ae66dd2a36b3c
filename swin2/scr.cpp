#include "swin2/scr.h"

#include <cstdio>
#include <cstring>

#include "common/st.h"
#include "swin/col.h"
#include "swin/wco.h"
#include "swin/wgd.h"
#include "win/we.h"

static const char SRC[] = "..\\swin2\\scr";

namespace {

// "<kind>_font_<what>", or "font_<what>" for an empty kind
void key_name(char *key, size_t size, const char *kind, const char *what)
{
    std::snprintf(key, size, "%s%sfont_%s", kind, kind[0] ? "_" : "", what);
}

void read_switch(WCO_file *store, const char *section, const char *kind, const char *what, BYTE *field)
{
    char key[64];
    key_name(key, sizeof key, kind, what);
    int16_t flag = 0;
    if (WCO_get_yes(store, section, key, &flag))
        *field = flag ? 1 : 0;
    else
        WCO_set_yes(store, section, key, *field ? 1 : 0);
}

COLORREF table_colour(int16_t entry)
{
    if (const COL_TABLE *table = WGD_colours())
        return COL_value(table, entry);
    COL_TABLE defaults;   // before the driver exists: the built-in colours
    COL_init(&defaults);
    return COL_value(&defaults, entry);
}

// Static texts, check boxes and radio buttons share the screen's background.
bool on_background(HWND control, const char *class_name)
{
    if (!lstrcmpiA(class_name, "Static"))
        return true;
    if (lstrcmpiA(class_name, "Button"))
        return false;
    switch (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    }
    return false;
}

}  // namespace

void SCR_init(SCR_SCREEN *screen)
{
    if (!screen) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    SCR_release(screen);
    SCR_font_defaults(&screen->font_description);
    screen->char_width = 0;
    screen->char_height = 0;
    screen->background = SCR_DEFAULT_BACKGROUND;
    screen->background_colour = 0;
}

void SCR_release(SCR_SCREEN *screen)
{
    if (!screen)
        return;
    screen->font.reset();
    screen->brush.reset();
}

void SCR_font_defaults(LOGFONTA *font)
{
    if (!font) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    std::memset(font, 0, sizeof *font);
    font->lfHeight = -SCR_DEFAULT_HEIGHT;
    font->lfCharSet = SCR_DEFAULT_CHARSET;
    ST_copy(font->lfFaceName, SCR_DEFAULT_FACE, LF_FACESIZE - 1);
}

int16_t SCR_read_font_settings(WCO_file *store, const char *kind, LOGFONTA *font)
{
    return SCR_read_font_section(store, SCR_SECTION, kind, font);
}

int16_t SCR_read_font_section(WCO_file *store, const char *section, const char *kind, LOGFONTA *font)
{
    if (!store || !section || !kind || !font) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char key[64];
    key_name(key, sizeof key, kind, "height");
    int16_t height = 0;
    if (WCO_get_int16(store, section, key, &height) && height > 0)
        font->lfHeight = -height;
    else
        WCO_set_int16(store, section, key, static_cast<int16_t>(font->lfHeight < 0 ? -font->lfHeight : font->lfHeight));

    key_name(key, sizeof key, kind, "weight");
    int32_t weight = 0;
    if (WCO_get_int32(store, section, key, &weight))
        font->lfWeight = weight;
    else
        WCO_set_int32(store, section, key, font->lfWeight);

    read_switch(store, section, kind, "italic", &font->lfItalic);
    read_switch(store, section, kind, "underline", &font->lfUnderline);
    read_switch(store, section, kind, "strikeout", &font->lfStrikeOut);

    key_name(key, sizeof key, kind, "charset");
    int16_t charset = 0;
    if (WCO_get_int16(store, section, key, &charset) && charset >= 0 && charset <= 255)
        font->lfCharSet = static_cast<BYTE>(charset);
    else
        WCO_set_int16(store, section, key, font->lfCharSet);

    key_name(key, sizeof key, kind, "name");
    char name[SCR_FONT_NAME_MAX + 1] = "";
    if (WCO_get_text(store, section, key, name, SCR_FONT_NAME_MAX) && name[0])
        ST_copy(font->lfFaceName, name, LF_FACESIZE - 1);   // the system's face names are shorter
    else
        WCO_set_text(store, section, key, font->lfFaceName);
    return 1;
}

int16_t SCR_create_font(SCR_SCREEN *screen, HWND window)
{
    if (!screen) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    SCR_font_defaults(&screen->font_description);
    if (WCO_file *store = WCO_system_store())
        SCR_read_font_settings(store, SCR_FONT_NORMAL, &screen->font_description);
    HFONT font = CreateFontIndirectA(&screen->font_description);
    if (!font)
        return 0;
    screen->font.reset(font);
    TEXTMETRICA metrics{};
    {
        C_WINDOW_DC dc(window);
        C_SELECT chosen(dc, font);
        GetTextMetricsA(dc, &metrics);
    }
    screen->char_width = static_cast<int16_t>(metrics.tmAveCharWidth + 1);
    screen->char_height = static_cast<int16_t>(metrics.tmHeight + metrics.tmExternalLeading);
    return 1;
}

HFONT SCR_font(const SCR_SCREEN *screen)
{
    return screen ? screen->font.get() : nullptr;
}

int16_t SCR_set_background(SCR_SCREEN *screen, int16_t entry)
{
    if (!screen || entry < 0 || entry >= COL_ENTRIES) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    COLORREF colour = table_colour(entry);
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush)
        return 0;
    screen->brush.reset(brush);
    screen->background = entry;
    screen->background_colour = colour;
    return 1;
}

int16_t SCR_erase_background(const SCR_SCREEN *screen, HWND window, HDC dc)
{
    if (!screen || !screen->brush || !dc)
        return 0;
    C_SELECT_PALETTE chosen(dc, WGD_palette(), TRUE);
    RealizePalette(dc);
    RECT r;
    GetClientRect(window, &r);
    FillRect(dc, &r, screen->brush);
    return 1;
}

HBRUSH SCR_control_colour(const SCR_SCREEN *screen, HDC dc, HWND control)
{
    if (!screen || !dc || !control)
        return nullptr;
    char class_name[64] = "";
    GetClassNameA(control, class_name, sizeof class_name);
    if (on_background(control, class_name)) {
        if (!screen->brush)
            return nullptr;
        if (HPALETTE palette = WGD_palette()) {
            // Stays selected: the control paints in this DC after the answer.
            SelectPalette(dc, palette, TRUE);
            RealizePalette(dc);
        }
        SetBkColor(dc, screen->background_colour);
        return screen->brush;
    }
    if (!lstrcmpiA(class_name, "Edit") || !lstrcmpiA(class_name, "SysTreeView32")) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    return nullptr;
}
