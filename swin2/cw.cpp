#include "swin2/cw.h"

#include <algorithm>

#include "swin2/umain.h"

C_CW::C_CW(C_UMAIN *owner_frame) : owner(owner_frame)
{
    set_class_name(CW_CLASS_NAME);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    set_title("");
    style = CW_CHILD_STYLE;
    ex_style = WS_EX_CLIENTEDGE;
}

C_CW::~C_CW()
{
    if (window)
        KillTimer(window, CW_TIMER);
}

int16_t C_CW::create()
{
    HWND owner_window = owner ? owner->window : nullptr;
    parent = owner_window;
    if (popup) {
        style = CW_POPUP_STYLE;
        ex_style = WS_EX_DLGMODALFRAME;
        if (caption)
            style |= WS_CAPTION;
        if (system_menu)
            style |= WS_SYSMENU;
        if (thick_frame)
            style |= WS_THICKFRAME;
        if (!child)
            parent = nullptr;
        else
            style |= WS_CHILD | WS_CLIPSIBLINGS;
    }
    if (!C_BW::create())
        return 0;
    if (popup)
        SendMessageA(window, WM_NCACTIVATE, 1, 0);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(window);
    SetTimer(window, CW_TIMER, 1000, nullptr);
    return 1;
}

LRESULT C_CW::default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_TIMER:
        timer(wparam);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = control_colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_CW_SCROLL_RANGES:
        scroll_ranges();
        return 0;
    default:
        if (LRESULT handled = client_message(message, wparam, lparam))
            return handled;
        break;
    }
    return C_BW::default_message(target, message, wparam, lparam);
}

LRESULT C_CW::client_message(UINT, WPARAM, LPARAM) { return 0; }
void C_CW::timer(UINT_PTR) {}
HBRUSH C_CW::control_colour(HDC, HWND) { return nullptr; }
int16_t C_CW::pre_translate(MSG *) { return 0; }
void C_CW::remember_focus() {}
void C_CW::restore_focus() {}
int16_t C_CW::can_close() { return 1; }

void C_CW::move_contents(int32_t dx, int32_t dy)
{
    if (!window || (dx == 0 && dy == 0))
        return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
        SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void C_CW::contents_bounds(RECT *bounds)
{
    if (!bounds)
        return;
    *bounds = RECT{32767, 32767, -32768, -32768};
    if (!window)
        return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
        bounds->left = std::min(bounds->left, r.left);
        bounds->top = std::min(bounds->top, r.top);
        bounds->right = std::max(bounds->right, r.right);
        bounds->bottom = std::max(bounds->bottom, r.bottom);
    }
}

namespace {

// One axis of the range computation: the range from the contents and the
// client area, the page, the position; whether a bar is needed.
struct AXIS {
    int32_t minimum, maximum, page, position;
    bool needed;
};

AXIS axis(int32_t contents_low, int32_t contents_high, int32_t client_low, int32_t client_high)
{
    AXIS a;
    a.minimum = std::min(contents_low, client_low);
    a.maximum = std::max(contents_high, client_high);
    a.page = client_high - client_low + 1;
    a.position = client_low;
    a.needed = a.minimum < client_low || client_low + a.page <= a.maximum;
    return a;
}

void set_bar(HWND window, int bar, const AXIS &a)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = a.minimum;
    info.nMax = a.maximum;
    info.nPage = static_cast<UINT>(std::max(a.page, 0));
    info.nPos = a.position;
    SetScrollInfo(window, bar, &info, TRUE);
}

}  // namespace

void C_CW::scroll_ranges()
{
    if (!window || tracking || busy)
        return;
    RECT client;
    GetClientRect(window, &client);
    if (IsRectEmpty(&client))
        return;
    RECT contents;
    contents_bounds(&contents);
    int32_t bar_width = GetSystemMetrics(SM_CXVSCROLL), bar_height = GetSystemMetrics(SM_CYHSCROLL);
    RECT full = client;
    if (vertical_bar)
        full.right += bar_width;
    if (horizontal_bar)
        full.bottom += bar_height;
    AXIS h{}, v{};
    RECT r = full;
    for (int pass = 0; pass < 3; pass++) {
        h = axis(contents.left, contents.right, r.left, r.right);
        v = axis(contents.top, contents.bottom, r.top, r.bottom);
        r = full;
        if (h.needed)
            r.bottom -= bar_height;
        if (v.needed)
            r.right -= bar_width;
    }
    busy = 1;
    set_bar(window, SB_HORZ, h);
    set_bar(window, SB_VERT, v);
    horizontal_bar = h.needed ? 1 : 0;
    vertical_bar = v.needed ? 1 : 0;
    busy = 0;
}

LRESULT C_CW::scroll(int16_t vertical, int32_t code, int16_t position)
{
    int bar = vertical ? SB_VERT : SB_HORZ;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window, bar, &info))
        return 0;
    int32_t low = info.nMin, high = info.nMax - static_cast<int32_t>(info.nPage);
    int32_t old_position = info.nPos, next = old_position;
    switch (code) {
    case SB_LINEUP:
        next -= CW_LINE_STEP;
        break;
    case SB_LINEDOWN:
        next += CW_LINE_STEP;
        break;
    case SB_PAGEUP:
        next -= static_cast<int32_t>(info.nPage);
        break;
    case SB_PAGEDOWN:
        next += static_cast<int32_t>(info.nPage);
        break;
    case SB_THUMBTRACK:
        tracking = 1;
        next = position;
        break;
    case SB_TOP:
        next = low;
        break;
    case SB_BOTTOM:
        next = high;
        break;
    case SB_ENDSCROLL:
        tracking = 0;
        PostMessageA(window, WM_CW_SCROLL_RANGES, 0, 0);
        return 0;
    default:
        return 0;
    }
    next = std::max(low, std::min(next, high));   // low wins for a range shorter than a page
    int32_t delta = old_position - next;
    if (delta)
        move_contents(vertical ? 0 : delta, vertical ? delta : 0);
    SetScrollPos(window, bar, next, TRUE);
    if (!tracking)
        scroll_ranges();
    return 0;
}

LRESULT C_CW::size(int32_t w, int32_t h, int32_t)
{
    if (w <= 0 || h <= 0)
        return 0;   // hidden or an icon: the layout is kept for the return
    RECT contents;
    contents_bounds(&contents);
    // Growing while contents lie before the origin: bring them in, but never
    // past the origin (that would leave a strip the bars cannot reach).
    int32_t dx = 0, dy = 0;
    if (w > last_width && contents.left < 0)
        dx = std::min(w - last_width, static_cast<int32_t>(-contents.left));
    if (h > last_height && contents.top < 0)
        dy = std::min(h - last_height, static_cast<int32_t>(-contents.top));
    move_contents(dx, dy);
    last_width = w;
    last_height = h;
    scroll_ranges();
    return 0;
}
