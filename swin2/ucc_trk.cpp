#include "swin2/ucc_trk.h"

#include "win/wmsg.h"

namespace {

int64_t clamp(int64_t value, int64_t low, int64_t high)
{
    return value < low ? low : value > high ? high : value;
}

}  // namespace

C_UCC_TRACK::C_UCC_TRACK(HWND window_, int16_t vertical_)
    : C_CTL(window_), vertical(vertical_), face_colour(UCC_menu_colour()), normal_cursor(LoadCursorA(nullptr, IDC_ARROW)),
      drag_cursor(LoadCursorA(nullptr, vertical_ ? IDC_SIZEWE : IDC_SIZENS))
{
}

void C_UCC_TRACK::move_to(int64_t wanted)
{
    const int32_t now = static_cast<int32_t>(clamp(wanted, minimum, maximum));
    if (now == position)
        return;
    position = now;
    UCC_notify(window, UCC_TRACK_MOVED);
}

// The coordinates of the mouse messages are the client's; the drag works in
// screen coordinates so that a track moved by its parent during the drag
// still follows the cursor.
void C_UCC_TRACK::mouse(UINT message, LPARAM lparam)
{
    POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    RECT client;
    GetClientRect(window, &client);
    const bool inside = PtInRect(&client, p) != FALSE;
    ClientToScreen(window, &p);
    const int64_t at = vertical ? p.x : p.y;
    if (message == WM_LBUTTONDOWN) {
        SetCapture(window);
        dragging = 1;
        last = at;
        lowest = at - (static_cast<int64_t>(position) - minimum);
        highest = at + (static_cast<int64_t>(maximum) - position);
        return;
    }
    if (dragging) {
        SetCursor(drag_cursor);
        // A coordinate past a limit counts as the limit: a fast drag beyond
        // the end still reaches the end.
        const int64_t step = clamp(at, lowest, highest);
        const int64_t moved = step - last;
        last = step;
        move_to(position + moved);
        if (message == WM_MOUSEMOVE)
            return;
        dragging = 0;
    }
    if (inside) {
        SetCursor(drag_cursor);
        SetCapture(window);   // to see the cursor leave
    } else {
        if (GetCapture() == window)
            ReleaseCapture();
        SetCursor(normal_cursor);
    }
}

LRESULT C_UCC_TRACK::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_UCC_TRACK_BAR_COLOUR:
    case WM_UCC_TRACK_FACE_COLOUR:
        (message == WM_UCC_TRACK_BAR_COLOUR ? bar_colour : face_colour) = static_cast<COLORREF>(wparam);
        InvalidateRect(window, nullptr, TRUE);
        return 1;
    case WM_UCC_TRACK_SET_RANGE:
        if (static_cast<int32_t>(wparam) >= static_cast<int32_t>(lparam))
            return 0;
        minimum = static_cast<int32_t>(wparam);
        maximum = static_cast<int32_t>(lparam);
        move_to(position);
        return 1;
    case WM_UCC_TRACK_SET_POSITION:
        move_to(static_cast<int32_t>(wparam));
        return 1;
    case WM_UCC_TRACK_POSITION:
        return position;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        mouse(message, lparam);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lparam) != window)
            dragging = 0;   // taken away in the middle of a drag
        return 0;
    case WM_ERASEBKGND:
        return 1;   // the painting fills the client area
    case WM_PAINT: {
        C_PAINT dc(window);
        C_UCC_PALETTE palette(dc);
        RECT r;
        GetClientRect(window, &r);
        UCC_fill(dc, r, face_colour);
        return 0;
    }
    default:
        return C_CTL::message(message, wparam, lparam);
    }
}
