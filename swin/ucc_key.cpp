#include "swin/ucc_key.h"

#include "common/st.h"
#include "swin/key.h"
#include "swin/wgd.h"
#include "util/voc.h"
#include "win/guard.h"
#include "win/wmsg.h"

namespace {

int16_t held(int virtual_key)
{
    return GetKeyState(virtual_key) < 0 ? 1 : 0;
}

}  // namespace

void C_UCC_KEY::typed(int16_t code)
{
    if (code < 0 || code >= VOC_KEYS)
        return;
    key = code;
    InvalidateRect(window, nullptr, TRUE);
    if (HWND parent = GetParent(window))
        PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), UCC_KEY_CHANGED),
                     reinterpret_cast<LPARAM>(window));
}

void C_UCC_KEY::paint()
{
    C_PAINT dc(window);
    if (!dc)
        return;
    C_SELECT_PALETTE palette(dc, WGD_palette(), FALSE);
    if (WGD_palette())
        RealizePalette(dc);
    C_SELECT chosen(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const char *name = VOC_key_name(key);
    if (name)
        TextOutA(dc, 1, 1, name, ST_length(name));
}

LRESULT C_UCC_KEY::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // Alt of a system key-down travels in the context bit as well.
        int16_t alt = held(VK_MENU) || (message == WM_SYSKEYDOWN && (lparam & (1 << 29)));
        const int16_t code = KEY_from_virtual_key(static_cast<int32_t>(wparam), held(VK_SHIFT), alt, held(VK_CONTROL));
        down_coded = code != 0;
        typed(code);
        return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
        const uint8_t c = static_cast<uint8_t>(wparam);
        const int16_t code = message == WM_CHAR ? KEY_from_char(c) : KEY_from_alt_char(c);
        if (code || !down_coded)
            typed(code);
        down_coded = 0;
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetFocus(window);
        return 0;
    case WM_KEY_SET:
        if (wparam >= static_cast<WPARAM>(VOC_KEYS))   // a negative code arrives as a huge one
            return 0;
        key = static_cast<int16_t>(wparam);
        InvalidateRect(window, nullptr, TRUE);
        return 1;
    case WM_KEY_GET:
        return key;
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wparam);
        if (LOWORD(lparam))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font);
    case WM_PAINT:
        paint();
        return 0;
    default:
        return C_CTL::message(message, wparam, lparam);
    }
}

int16_t UCC_KEY_register(HINSTANCE instance)
{
    return CTL_register<C_UCC_KEY>(instance, UCC_KEY_CLASS_NAME, LoadCursorA(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}
