#include "swin2/ucc.h"

#include "common/st.h"
#include "swin/wco.h"
#include "swin/wgd.h"
#include "swin2/ucc_bmp.h"
#include "swin2/ucc_rot.h"
#include "swin2/ucc_titl.h"
#include "swin2/ucc_trk.h"

namespace {

const int32_t FONT_HEIGHT_MIN = 8;   // pixels of the smallest font made

HBRUSH menu_brush()
{
    return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
}

}  // namespace

int16_t UCC_register_classes(HINSTANCE instance)
{
    // No class cursor: the tracks set theirs while the mouse moves.
    const int16_t done[] = {
        CTL_register<C_UCC_TITLE>(instance, UCC_TITLE_CLASS_NAME, nullptr, menu_brush()),
        CTL_register<C_UCC_ROT>(instance, UCC_ROT_CLASS_NAME, nullptr, menu_brush()),
        CTL_register<C_UCC_VTRACK>(instance, UCC_VTRACK_CLASS_NAME, nullptr, menu_brush()),
        CTL_register<C_UCC_HTRACK>(instance, UCC_HTRACK_CLASS_NAME, nullptr, menu_brush()),
        CTL_register<C_UCC_BMP>(instance, UCC_BMP_CLASS_NAME, nullptr, menu_brush()),
    };
    for (int16_t d : done)
        if (!d)
            return 0;
    return 1;
}

COLORREF UCC_menu_colour()
{
    return GetSysColor(COLOR_MENU);
}

void UCC_notify(HWND control, WORD code)
{
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

void UCC_fill(HDC dc, const RECT &rect, COLORREF colour)
{
    C_GDI<HBRUSH> brush(CreateSolidBrush(colour));
    if (brush)
        FillRect(dc, &rect, brush);
}

int32_t UCC_setting(const char *section, const char *key, int32_t fallback, int32_t minimum)
{
    WCO_file *store = WCO_system_store();
    int32_t value = fallback;
    if (store && !WCO_get_int32(store, section, key, &value)) {
        value = fallback;
        WCO_set_int32(store, section, key, fallback);
    }
    return value < minimum ? minimum : value;
}

void UCC_font_setting(const char *section, char *name)
{
    WCO_file *store = WCO_system_store();
    name[0] = 0;
    if (store)
        WCO_get_text(store, section, UCC_KEY_FONT_NAME, name, UCC_NAME_MAX);
    if (name[0])
        return;
    ST_copy(name, UCC_DEFAULT_FONT, UCC_NAME_MAX);
    if (store)
        WCO_set_text(store, section, UCC_KEY_FONT_NAME, name);
}

C_UCC_PALETTE::C_UCC_PALETTE(HDC dc) : select_(dc, WGD_palette(), TRUE)
{
    if (dc && WGD_palette())
        RealizePalette(dc);
}

C_UCC_TEXT::C_UCC_TEXT(HWND window_, const char *section) : C_CTL(window_), background(UCC_menu_colour())
{
    UCC_font_setting(section, font_name);
}

LRESULT C_UCC_TEXT::create(const CREATESTRUCTA *)
{
    make_font();
    return 0;
}

LRESULT C_UCC_TEXT::set_colour(COLORREF *field, WPARAM colour)
{
    *field = static_cast<COLORREF>(colour);
    changed();
    return 1;
}

LRESULT C_UCC_TEXT::set_font_name(LPARAM name)
{
    if (!name)
        return 0;
    ST_copy(font_name, reinterpret_cast<const char *>(name), UCC_NAME_MAX);
    make_font();
    changed();
    return 1;
}

void C_UCC_TEXT::make_font()
{
    RECT r{};
    GetClientRect(window, &r);
    LOGFONTA description{};
    // Four fifths of the control's height, the rest is the margin.
    description.lfHeight = r.bottom * 4 / 5 < FONT_HEIGHT_MIN ? FONT_HEIGHT_MIN : r.bottom * 4 / 5;
    description.lfCharSet = EASTEUROPE_CHARSET;
    ST_copy(description.lfFaceName, font_name, LF_FACESIZE - 1);
    font.reset(CreateFontIndirectA(&description));
}

void C_UCC_TEXT::changed()
{
    InvalidateRect(window, nullptr, TRUE);
}
