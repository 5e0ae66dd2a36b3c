// The client window: creation in both forms, its procedure, and scrolling by moving the child controls.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const RECT NO_BOUNDS{32767, 32767, -32768, -32768};   // the empty union

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

// A scrolling client of 200 x 150 client pixels with child controls.
class SCROLL_VIEW : public RECORDING_CW {
public:
    SCROLL_VIEW()
    {
        RECT r{0, 0, 200, 150};
        AdjustWindowRectEx(&r, CW_POPUP_STYLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE, WS_EX_DLGMODALFRAME);
        x = y = 0;
        width = r.right - r.left;
        height = r.bottom - r.top;
        ok = create() == 1;
    }
    HWND add(int left, int top, int w, int h)
    {
        return WT_window("STATIC", "obsah", WS_CHILD | WS_VISIBLE, left, top, w, h, window);
    }
    RECT at(HWND child_window) { return WT_rect_in(window, child_window); }
    std::vector<int> bar(int which)   // minimum, maximum, page, position
    {
        SCROLLINFO s{};
        s.cbSize = sizeof s;
        s.fMask = SIF_ALL;
        GetScrollInfo(window, which, &s);
        return {s.nMin, s.nMax, static_cast<int>(s.nPage), s.nPos};
    }
    void send(UINT message, WPARAM wparam) { SendMessageA(window, message, wparam, 0); }
    bool ok = false;
};

}  // namespace

TEST(CwCreate, TheChildFormAndThePopupFormWithItsStyleFromTheFlags)
{
    C_CW child(nullptr);
    EXPECT_STREQ(child.class_name, "KWS_CLIENT_AREA_WINDOW");
    EXPECT_STREQ(child.title, "");
    EXPECT_EQ(std::vector<int64_t>({child.style, child.ex_style, child.kind, child.popup, child.child,
                                    child.can_close()}),
              std::vector<int64_t>({0x56000000, 0x200, BW_KIND_CLIENT, 0, 1, 1}));
    EXPECT_EQ(child.window_class.hbrBackground, reinterpret_cast<HBRUSH>(5));
    const struct { int16_t caption, system_menu, thick_frame; DWORD style; } cases[] = {
        {1, 1, 1, 0x12000000u | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME},
        {0, 0, 0, 0x12000000u},
        {1, 0, 0, 0x12000000u | WS_CAPTION},
    };
    for (const auto &c : cases) {
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
    HWND edit = WT_window("EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, w.window);
    HDC dc = GetDC(edit);
    for (UINT m : {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC})
        EXPECT_EQ(SendMessageA(w.window, m, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)),
                  reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT)));
    ReleaseDC(edit, dc);
    EXPECT_EQ(w.coloured, std::vector<HWND>(4, edit));
    EXPECT_EQ(SendMessageA(w.window, WM_USER + 3, 0, 0), 77);
    EXPECT_EQ(SendMessageA(w.window, WM_CW_SCROLL_RANGES, 0, 0), 0);
}

TEST(CwScroll, EmptyContentsAndContentsThatFitNeedNoBars)
{
    C_CW w(nullptr);
    RECT r;
    w.contents_bounds(&r);   // no window
    EXPECT_EQ(r, NO_BOUNDS);
    SCROLL_VIEW v;
    ASSERT_TRUE(v.ok);
    v.contents_bounds(&r);
    EXPECT_EQ(r, NO_BOUNDS);
    v.scroll_ranges();
    EXPECT_EQ(v.horizontal_bar + v.vertical_bar, 0);
    v.add(10, 10, 100, 50);
    v.add(150, 100, 50, 50);   // reaches the right and bottom edges exactly
    ShowWindow(v.add(500, 500, 10, 10), SW_HIDE);   // hidden children do not count
    v.contents_bounds(&r);
    EXPECT_EQ(r, (RECT{10, 10, 200, 150}));
    v.scroll_ranges();
    EXPECT_EQ(v.horizontal_bar + v.vertical_bar, 0);
}

TEST(CwScroll, RangesLinesPagesAndEnds)
{
    SCROLL_VIEW v;
    ASSERT_TRUE(v.ok);
    HWND a = v.add(0, 0, 100, 50);
    v.add(250, 400, 50, 50);   // beyond both edges
    v.scroll_ranges();
    ASSERT_EQ(std::vector<int>({v.horizontal_bar, v.vertical_bar}), std::vector<int>({1, 1}));
    RECT client;
    GetClientRect(v.window, &client);   // less the two bars now
    EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 150 - GetSystemMetrics(SM_CYHSCROLL));
    const int page = client.right + 1, vpage = client.bottom + 1;
    EXPECT_EQ(v.bar(SB_HORZ), std::vector<int>({0, 300, page, 0}));
    EXPECT_EQ(v.bar(SB_VERT), std::vector<int>({0, 450, vpage, 0}));

    // A line down moves the contents up by 10; the range follows them.
    v.send(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(v.at(a).top, -10);
    EXPECT_EQ(v.bar(SB_VERT)[0], -10);
    EXPECT_EQ(v.bar(SB_VERT)[3], 0);
    const struct { UINT message; WPARAM code; int times; LONG left, top; } steps[] = {
        {WM_VSCROLL, SB_LINEUP, 1, 0, 0},
        {WM_VSCROLL, SB_LINEUP, 1, 0, 0},   // clamped at the start
        {WM_HSCROLL, SB_PAGEDOWN, 1, -std::min(page, 300 - page), 0},   // one page, clamped to maximum - page
        {WM_HSCROLL, SB_TOP, 1, 0, 0},
        {WM_HSCROLL, SB_BOTTOM, 1, -(300 - page), 0},
        {WM_VSCROLL, SB_BOTTOM, 1, -(300 - page), -(450 - vpage)},
        {WM_VSCROLL, SB_PAGEUP, 3, -(300 - page), 0},
    };
    for (const auto &s : steps) {
        for (int i = 0; i < s.times; i++)
            v.send(s.message, s.code);
        EXPECT_EQ(std::vector<LONG>({v.at(a).left, v.at(a).top}), std::vector<LONG>({s.left, s.top})) << s.code;
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST(CwScroll, ThumbTrackingKeepsTheRangeUntilTheEndAndGrowingBringsTheContentsBack)
{
    SCROLL_VIEW v;
    ASSERT_TRUE(v.ok);
    HWND a = v.add(0, 0, 100, 50);
    v.add(0, 600, 50, 50);
    v.scroll_ranges();
    for (int position : {100, 40}) {
        v.send(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position));
        EXPECT_EQ(v.tracking, 1);
        EXPECT_EQ(v.at(a).top, -position);
        EXPECT_EQ(v.bar(SB_VERT)[0], 0);   // no recomputation while tracking
        EXPECT_EQ(v.bar(SB_VERT)[3], position);
    }
    v.send(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_EQ(v.tracking, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, v.window, WM_CW_SCROLL_RANGES, WM_CW_SCROLL_RANGES, PM_REMOVE));
    DispatchMessageA(&m);
    EXPECT_EQ(v.bar(SB_VERT)[0], -40);
    EXPECT_EQ(v.bar(SB_VERT)[3], 0);

    v.send(WM_VSCROLL, SB_TOP);
    for (int i = 0; i < 3; i++)
        v.send(WM_VSCROLL, SB_LINEDOWN);
    ASSERT_EQ(v.at(a).top, -30);
    RECT w;
    GetWindowRect(v.window, &w);
    // 20 pixels taller: the contents come down by 20; 100 more: only the 10 that were above the origin.
    for (LONG taller : {20, 120}) {
        SetWindowPos(v.window, nullptr, 0, 0, w.right - w.left, w.bottom - w.top + taller, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(v.at(a).top, taller == 20 ? -10 : 0);
    }
    EXPECT_EQ(v.at(a).left, 0);

    HWND b = v.add(50, 60, 10, 10);   // moving the contents shifts every child, hidden ones too
    ShowWindow(b, SW_HIDE);
    v.move_contents(-3, 4);
    EXPECT_EQ(std::vector<LONG>({v.at(a).left, v.at(a).top, v.at(b).left, v.at(b).top}),
              std::vector<LONG>({-3, 4, 47, 64}));
}
