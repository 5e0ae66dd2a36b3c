#include "swin2/ucc_rot.h"

#include "common/st.h"
#include "win/we.h"
#include "win/wmsg.h"

C_UCC_ROT::C_UCC_ROT(HWND window_)
    : C_UCC_TEXT(window_, UCC_ROT_SECTION), pixel_shift(UCC_setting(UCC_ROT_SECTION, "pixel_shift", 1, 1)),
      timer_period(static_cast<uint32_t>(UCC_setting(UCC_ROT_SECTION, "timer_period", 100, UCC_ROT_PERIOD_MIN)))
{
}

C_UCC_ROT::~C_UCC_ROT()
{
    KillTimer(window, UCC_ROT_TIMER);
    ST_free(&text);
}

LRESULT C_UCC_ROT::create(const CREATESTRUCTA *creation)
{
    C_UCC_TEXT::create(creation);
    changed();
    SetTimer(window, UCC_ROT_TIMER, timer_period, nullptr);
    return 0;
}

void C_UCC_ROT::changed()
{
    picture.reset();
    picture_width = picture_height = text_width = 0;
    RECT r;
    GetClientRect(window, &r);
    C_WINDOW_DC dc(window);
    C_MEMORY_DC memory(dc);
    C_SELECT chosen_font(memory, font);
    SIZE extent{0, 0};
    const int16_t length = ST_length(text);
    if (text)
        GetTextExtentPoint32A(memory, text, length, &extent);
    text_width = extent.cx;
    const int32_t width = text_width > r.right ? 2 * text_width + UCC_ROT_GAP : r.right;
    if (width > 0 && r.bottom > 0)
        picture.reset(CreateCompatibleBitmap(dc, width, r.bottom));
    if (picture) {
        picture_width = width;
        picture_height = r.bottom;
        C_SELECT chosen_picture(memory, picture);
        C_UCC_PALETTE palette(memory);
        UCC_fill(memory, RECT{0, 0, width, r.bottom}, background);
        SetBkMode(memory, TRANSPARENT);
        const int32_t y = (r.bottom - extent.cy) / 2;
        SetTextColor(memory, text_colour);
        TextOutA(memory, 0, y, text ? text : "", length);
        if (width > r.right) {
            SetTextColor(memory, second_set ? second_colour : text_colour);
            TextOutA(memory, text_width + UCC_ROT_GAP, y, text, length);
        }
    }
    InvalidateRect(window, nullptr, FALSE);
}

void C_UCC_ROT::show(HDC dc)
{
    C_UCC_PALETTE palette(dc);
    RECT r;
    GetClientRect(window, &r);
    int32_t shown = 0;
    if (picture) {
        C_MEMORY_DC memory(dc);
        C_SELECT chosen(memory, picture);
        shown = picture_width - offset < r.right ? picture_width - offset : r.right;
        if (shown > 0)
            BitBlt(dc, 0, 0, shown, picture_height, memory, offset, 0, SRCCOPY);
        else
            shown = 0;
    }
    r.left = shown;
    UCC_fill(dc, r, background);
}

void C_UCC_ROT::tick()
{
    if (!running || !text)
        return;
    const int64_t next = static_cast<int64_t>(offset) + pixel_shift;
    offset = next >= text_width + UCC_ROT_GAP ? 0 : static_cast<int32_t>(next);
    C_WINDOW_DC dc(window);
    show(dc);
}

LRESULT C_UCC_ROT::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_UCC_ROT_SET_TEXT: {
        if (!lparam)
            return 0;
        char *copy = nullptr;
        if (!ST_dup(reinterpret_cast<const char *>(lparam), &copy))
            return 0;   // reported by the string layer
        ST_free(&text);
        text = copy;
        offset = 0;
        running = 1;
        changed();
        return 1;
    }
    case WM_UCC_ROT_CLEAR:
        ST_free(&text);
        offset = 0;
        changed();
        return 1;
    case WM_UCC_ROT_TEXT_COLOUR:
        return set_colour(&text_colour, wparam);
    case WM_UCC_ROT_SECOND_COLOUR:
        second_set = 1;
        return set_colour(&second_colour, wparam);
    case WM_UCC_ROT_BACKGROUND:
        return set_colour(&background, wparam);
    case WM_UCC_ROT_FONT_NAME:
        return set_font_name(lparam);
    case WM_UCC_ROT_PIXEL_SHIFT:
        if (static_cast<int32_t>(wparam) < 1)
            return 0;
        pixel_shift = static_cast<int32_t>(wparam);
        return 1;
    case WM_UCC_ROT_TIMER_PERIOD:
        timer_period = wparam < UCC_ROT_PERIOD_MIN ? UCC_ROT_PERIOD_MIN
                     : wparam > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM : static_cast<uint32_t>(wparam);
        SetTimer(window, UCC_ROT_TIMER, timer_period, nullptr);
        return 1;
    case WM_TIMER:
        if (wparam == UCC_ROT_TIMER)
            tick();
        return 0;
    case WM_LBUTTONDBLCLK:
        running = running ? 0 : 1;
        return 0;
    case WM_SIZE:
        make_font();
        changed();
        return 0;
    case WM_ERASEBKGND:
        return 1;   // the painting covers the client area
    case WM_PAINT: {
        C_PAINT dc(window);
        show(dc);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        return C_UCC_TEXT::message(message, wparam, lparam);
    }
}
