#include "swin2/ucc_titl.h"

#include "common/st.h"
#include "win/wmsg.h"

namespace {

void paint(C_UCC_TITLE *title)
{
    C_PAINT dc(title->window);
    C_UCC_PALETTE palette(dc);
    RECT r;
    GetClientRect(title->window, &r);
    UCC_fill(dc, r, title->background);
    C_SELECT chosen(dc, title->font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, title->text_colour);
    DrawTextA(dc, title->text, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace

LRESULT C_UCC_TITLE::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_UCC_TITLE_SET_TEXT:
        if (!lparam)
            return 0;
        ST_copy(text, reinterpret_cast<const char *>(lparam), UCC_NAME_MAX);
        make_font();
        changed();
        return 1;
    case WM_UCC_TITLE_CLEAR:
        text[0] = 0;
        changed();
        return 1;
    case WM_UCC_TITLE_TEXT_COLOUR:
        return set_colour(&text_colour, wparam);
    case WM_UCC_TITLE_BACKGROUND:
        return set_colour(&background, wparam);
    case WM_UCC_TITLE_FONT_NAME:
        return set_font_name(lparam);
    case WM_SIZE:
        make_font();
        changed();
        return 0;
    case WM_ERASEBKGND:
        return 1;   // the painting fills the background
    case WM_PAINT:
        paint(this);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        return C_UCC_TEXT::message(message, wparam, lparam);
    }
}
