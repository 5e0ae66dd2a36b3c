// The client window: creation in both forms, its procedure, and scrolling by moving the child controls.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "swin2/cw.h"
#include "tests/testutil.h"
#include "tests/win/frameutil.h"

namespace {

class RECORDING_CW : public C_CW {
public:
    RECORDING_CW() : C_CW(nullptr)
    {
        popup = 1;   // a window of its own: no frame needed
        child = 0;
    }
    void timer(UINT_PTR id) override { timers.push_back(static_cast<int>(id)); }
    HBRUSH control_colour(HDC, HWND control) override
    {
        return coloured.push_back(control), GetSysColorBrush(COLOR_HIGHLIGHT);
    }
    LRESULT client_message(UINT message, WPARAM, LPARAM) override { return message == WM_USER + 3 ? 77 : 0; }
    std::vector<int> timers;
    std::vector<HWND> coloured;
};

// A scrolling client of the given client size with child controls.
class SCROLL_VIEW {
public:
    SCROLL_VIEW(int client_width, int client_height)
    {
        RECT r{0, 0, client_width, client_height};
        AdjustWindowRectEx(&r, view.style_for_popup(), FALSE, WS_EX_DLGMODALFRAME);
        view.x = view.y = 0;
        view.width = r.right - r.left;
        view.height = r.bottom - r.top;
        ok = view.create() == 1;
    }
    HWND add(int x, int y, int w, int h)
    {
        return CreateWindowExA(0, "STATIC", "obsah", WS_CHILD | WS_VISIBLE, x, y, w, h, view.window, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    RECT at(HWND child) { return FRAME_rect_in(view.window, child); }
    SCROLLINFO info(int bar)
    {
        SCROLLINFO s{};
        s.cbSize = sizeof s;
        s.fMask = SIF_ALL;
        GetScrollInfo(view.window, bar, &s);
        return s;
    }
    struct VIEW : RECORDING_CW {
        DWORD style_for_popup() const { return CW_POPUP_STYLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; }
    } view;
    bool ok = false;
};

}  // namespace

TEST(CwCreate, TheChildFormAndThePopupFormWithItsStyleFromTheFlags)
{
    C_CW child(nullptr);
    EXPECT_STREQ(child.class_name, "KWS_CLIENT_AREA_WINDOW");
    EXPECT_STREQ(child.title, "");
    EXPECT_EQ(child.style, 0x56000000u);
    EXPECT_EQ(child.ex_style, 0x200u);
    EXPECT_EQ(child.window_class.hbrBackground, reinterpret_cast<HBRUSH>(5));
    EXPECT_EQ(child.kind, BW_KIND_CLIENT);
    EXPECT_EQ(child.popup, 0);
    EXPECT_EQ(child.child, 1);
    EXPECT_EQ(child.can_close(), 1);
    struct CASE {
        int16_t caption, system_menu, thick_frame;
        DWORD style;
    } cases[] = {
        {1, 1, 1, 0x12000000u | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME},
        {0, 0, 0, 0x12000000u},
        {1, 0, 0, 0x12000000u | WS_CAPTION},
    };
    for (const CASE &c : cases) {
        RECORDING_CW w;
        w.caption = c.caption;
        w.system_menu = c.system_menu;
        w.thick_frame = c.thick_frame;
        ASSERT_EQ(w.create(), 1);
        EXPECT_EQ(w.style, c.style);
        EXPECT_EQ(w.ex_style, static_cast<DWORD>(WS_EX_DLGMODALFRAME));
        EXPECT_EQ(w.parent, nullptr);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(w.window, GWL_STYLE)) & c.style, c.style);
        EXPECT_EQ(GetFocus(), w.window);
    }
}

TEST(CwProcedure, TimerColoursScrollRangesAndClientMessages)
{
    RECORDING_CW w;
    ASSERT_EQ(w.create(), 1);
    SendMessageA(w.window, WM_TIMER, CW_TIMER, 0);
    EXPECT_EQ(w.timers, std::vector<int>({CW_TIMER}));
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, w.window, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HDC dc = GetDC(edit);
    for (UINT m : {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC})
        EXPECT_EQ(SendMessageA(w.window, m, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)),
                  reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT)));
    ReleaseDC(edit, dc);
    EXPECT_EQ(w.coloured.size(), 4u);
    EXPECT_EQ(SendMessageA(w.window, WM_USER + 3, 0, 0), 77);
    EXPECT_EQ(SendMessageA(w.window, WM_CW_SCROLL_RANGES, 0, 0), 0);
}

TEST(CwScroll, EmptyContentsAndContentsThatFitNeedNoBars)
{
    C_CW w(nullptr);
    RECT r;
    w.contents_bounds(&r);   // no window: the empty union
    EXPECT_EQ(r, (RECT{32767, 32767, -32768, -32768}));
    SCROLL_VIEW v(200, 150);
    ASSERT_TRUE(v.ok);
    v.view.contents_bounds(&r);
    EXPECT_EQ(r, (RECT{32767, 32767, -32768, -32768}));
    v.view.scroll_ranges();
    EXPECT_EQ(v.view.horizontal_bar + v.view.vertical_bar, 0);

    v.add(10, 10, 100, 50);
    v.add(150, 100, 50, 50);   // reaches the right and bottom edges exactly
    ShowWindow(v.add(500, 500, 10, 10), SW_HIDE);   // hidden children do not count
    v.view.contents_bounds(&r);
    EXPECT_EQ(r, (RECT{10, 10, 200, 150}));
    v.view.scroll_ranges();
    EXPECT_EQ(v.view.horizontal_bar + v.view.vertical_bar, 0);
}

TEST(CwScroll, RangesLinesPagesAndEnds)
{
    SCROLL_VIEW v(200, 150);
    ASSERT_TRUE(v.ok);
    HWND a = v.add(0, 0, 100, 50);
    v.add(250, 400, 50, 50);   // beyond both edges
    v.view.scroll_ranges();
    ASSERT_EQ(v.view.horizontal_bar, 1);
    ASSERT_EQ(v.view.vertical_bar, 1);
    RECT client;
    GetClientRect(v.view.window, &client);   // less the two bars now
    EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 150 - GetSystemMetrics(SM_CYHSCROLL));
    SCROLLINFO h = v.info(SB_HORZ), s = v.info(SB_VERT);
    EXPECT_EQ(std::vector<int>({h.nMin, h.nMax, static_cast<int>(h.nPage), h.nPos}),
              std::vector<int>({0, 300, client.right + 1, 0}));
    EXPECT_EQ(std::vector<int>({s.nMin, s.nMax, static_cast<int>(s.nPage), s.nPos}),
              std::vector<int>({0, 450, client.bottom + 1, 0}));

    // A line down moves the contents up by 10; the range follows them.
    SendMessageA(v.view.window, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(v.at(a).top, -10);
    EXPECT_EQ(v.info(SB_VERT).nMin, -10);
    EXPECT_EQ(v.info(SB_VERT).nPos, 0);
    SendMessageA(v.view.window, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(v.at(a).top, 0);
    SendMessageA(v.view.window, WM_VSCROLL, SB_LINEUP, 0);   // clamped at the start
    EXPECT_EQ(v.at(a).top, 0);

    // A page right: one page, clamped to the end (maximum - page).
    SendMessageA(v.view.window, WM_HSCROLL, SB_PAGEDOWN, 0);
    int page = client.right + 1;
    EXPECT_EQ(v.at(a).left, -std::min(page, 300 - page));
    SendMessageA(v.view.window, WM_HSCROLL, SB_TOP, 0);
    EXPECT_EQ(v.at(a).left, 0);
    SendMessageA(v.view.window, WM_HSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(v.at(a).left, -(300 - page));
    SendMessageA(v.view.window, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(v.at(a).top, -(450 - (client.bottom + 1)));
    for (int i = 0; i < 3; i++)
        SendMessageA(v.view.window, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(v.at(a).top, 0);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(CwScroll, ThumbTrackingKeepsTheRangeUntilTheEnd)
{
    SCROLL_VIEW v(200, 150);
    ASSERT_TRUE(v.ok);
    HWND a = v.add(0, 0, 100, 50);
    v.add(0, 600, 50, 50);
    v.view.scroll_ranges();
    for (int position : {100, 40}) {
        SendMessageA(v.view.window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
        EXPECT_EQ(v.view.tracking, 1);
        EXPECT_EQ(v.at(a).top, -position);
        EXPECT_EQ(v.info(SB_VERT).nMin, 0);   // no recomputation while tracking
        EXPECT_EQ(v.info(SB_VERT).nPos, position);
    }
    SendMessageA(v.view.window, WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(v.view.tracking, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, v.view.window, WM_CW_SCROLL_RANGES, WM_CW_SCROLL_RANGES, PM_REMOVE));
    DispatchMessageA(&m);
    EXPECT_EQ(v.info(SB_VERT).nMin, -40);
    EXPECT_EQ(v.info(SB_VERT).nPos, 0);
}

TEST(CwScroll, GrowingBringsScrolledContentsBackButNotPastTheOrigin)
{
    SCROLL_VIEW v(200, 150);
    ASSERT_TRUE(v.ok);
    HWND a = v.add(0, 0, 100, 50);
    v.add(0, 400, 50, 50);
    v.view.scroll_ranges();
    for (int i = 0; i < 3; i++)
        SendMessageA(v.view.window, WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_EQ(v.at(a).top, -30);
    RECT w;
    GetWindowRect(v.view.window, &w);
    // 20 pixels taller: the contents come down by 20.
    SetWindowPos(v.view.window, nullptr, 0, 0, w.right - w.left, w.bottom - w.top + 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(v.at(a).top, -10);
    // 100 more: only the 10 that were above the origin.
    SetWindowPos(v.view.window, nullptr, 0, 0, w.right - w.left, w.bottom - w.top + 120, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(v.at(a).top, 0);
    EXPECT_EQ(v.at(a).left, 0);

    HWND b = v.add(50, 60, 10, 10);   // moving the contents shifts every child, hidden ones too
    ShowWindow(b, SW_HIDE);
    v.view.move_contents(-3, 4);
    EXPECT_EQ(v.at(a).left, -3);
    EXPECT_EQ(v.at(a).top, 4);
    EXPECT_EQ(v.at(b).left, 47);
    EXPECT_EQ(v.at(b).top, 64);
}
