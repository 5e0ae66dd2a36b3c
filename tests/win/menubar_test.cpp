// Menus from function tables: filling (separators, hidden, grey and checked
// entries, submenus), the nesting limit, the help line in the status bar,
// owner drawing and context menus.
#include <gtest/gtest.h>

#include "menu/menu.h"
#include "swin/menubar.h"
#include "swin/sbar.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char MENUBAR[] = "..\\swin\\menubar";

PFU_ENTRY item(int32_t id, uint16_t state = PFU_NORMAL, PFU_ENTRY *sub = nullptr)
{
    return PFU_ENTRY{id, state, 0, 0, 0, sub, sub ? 0 : id, nullptr, 0};
}

const PFU_ENTRY END{0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0};

// The menu's items in one line: "-" a separator, an owner-drawn item its id
// with "g" grey, "c" checked, ">" a submenu; "?" anything else.
std::string shape(HMENU menu)
{
    std::string out;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii);
        out += i ? " " : "";
        if (mii.fType & MFT_SEPARATOR)
            out += "-";
        else if (mii.fType & MFT_OWNERDRAW)
            out += std::to_string(mii.wID) + (mii.fState & MFS_GRAYED ? "g" : "") +
                   (mii.fState & MFS_CHECKED ? "c" : "") + (mii.hSubMenu ? ">" : "");
        else
            out += "?";
    }
    return out;
}

// A window that routes the menu messages as the frame does.
LRESULT CALLBACK menu_window(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITMENUPOPUP)
        return MENU_init_popup(reinterpret_cast<HMENU>(wparam)), 0;
    if (message == WM_MEASUREITEM && MENU_measure_item(window, reinterpret_cast<MEASUREITEMSTRUCT *>(lparam)))
        return TRUE;
    if (message == WM_DRAWITEM && MENU_draw_item(reinterpret_cast<DRAWITEMSTRUCT *>(lparam)))
        return TRUE;
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND make_window()
{
    static const ATOM registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = menu_window;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MENU_TEST_WINDOW";
        return RegisterClassA(&wc);
    }();
    (void)registered;
    return WT_window("MENU_TEST_WINDOW", "Nabídky", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 500, 300);
}

// The context menu of this process on the screen: the id of its highlighted
// item, 0 for none; -1 while no context menu is shown.
int highlighted()
{
    HWND popup = nullptr;
    DWORD pid = 0;
    while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) != nullptr)
        if (GetWindowThreadProcessId(popup, &pid) && pid == GetCurrentProcessId() && IsWindowVisible(popup))
            break;
    if (!popup)
        return -1;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); i++)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return static_cast<int>(GetMenuItemID(menu, i));
    return 0;
}

}  // namespace

TEST(MenuFill, SeparatorsHiddenGreyCheckedAndTheTenthLevel)
{
    PFU_ENTRY sub[] = {item(5000), END};
    // No leading separator, two in a row make one, a trailing one is removed.
    PFU_ENTRY table[] = {item(1, PFU_SEPARATOR),  item(1000),          item(2, PFU_SEPARATOR),
                         item(3, PFU_SEPARATOR_2), item(1006, PFU_HIDDEN), item(1007, PFU_GREY),
                         item(1032, PFU_CHECKED | PFU_KEEP), item(1049, PFU_HIDDEN_2), item(4, PFU_SEPARATOR),
                         item(1025, PFU_NORMAL, sub), item(5, PFU_SEPARATOR), item(6, PFU_HIDDEN), END};
    HMENU menu = CreatePopupMenu();
    int16_t added = -1;
    ASSERT_EQ(MENUBAR_fill(menu, table, 0, &added), 1);
    EXPECT_EQ(added, 6);
    EXPECT_EQ(shape(menu), "1000 - 1007g 1032c - 1025>");
    // Each item carries its entry; the submenu is filled when it opens.
    EXPECT_EQ(MENU_item_entry(menu, 0, TRUE), &table[1]);
    EXPECT_EQ(MENU_item_entry(menu, 1032, FALSE), &table[6]);
    EXPECT_EQ(MENU_item_entry(menu, 1, TRUE), nullptr);   // a separator
    HMENU popup = GetSubMenu(menu, 5);
    EXPECT_EQ(GetMenuItemCount(popup), 0);
    for (const char *shown : {"5000", "5000g"}) {   // opening again shows the current states, once
        EXPECT_EQ(MENU_init_popup(popup), 1);
        EXPECT_EQ(shape(popup), shown);
        sub[0].state = PFU_GREY;
    }
    EXPECT_EQ(MENU_init_popup(menu), 0);   // not a submenu of ours
    DestroyMenu(menu);

    PFU_ENTRY empty[] = {item(1, PFU_SEPARATOR), item(2, PFU_HIDDEN), item(3, PFU_SEPARATOR), END};
    menu = CreatePopupMenu();   // only separators and hidden entries: an empty menu
    ASSERT_EQ(MENUBAR_fill(menu, empty, 0, &added), 1);
    EXPECT_EQ(added, 0);
    EXPECT_EQ(GetMenuItemCount(menu), 0);
    DestroyMenu(menu);
    EXPECT_TRUE(TU_reports().empty());

    PFU_ENTRY tables[11][2];   // each opening the next
    for (int i = 10; i >= 0; i--)
        tables[i][0] = item(1000 + i, PFU_NORMAL, i < 10 ? tables[i + 1] : nullptr), tables[i][1] = END;
    HMENU bar = CreateMenu();
    ASSERT_EQ(MENUBAR_fill(bar, tables[0], 0), 1);
    menu = bar;
    int opened = 0;
    for (HMENU next; opened <= 12 && (next = GetSubMenu(menu, 0)) != nullptr; opened++)
        MENU_init_popup(next), menu = next;
    EXPECT_EQ(opened, 9);   // levels 0 to 8 are filled; the popup of level 9 stays empty
    EXPECT_EQ(GetMenuItemCount(menu), 0);
    EXPECT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(WT_internal_errors(MENUBAR), 1);
    DestroyMenu(bar);
    HMENU spare = CreatePopupMenu();
    TU_expect_failures(MENUBAR, {TU_FAILS(MENUBAR_fill(nullptr, tables[0], 0)),
                                 TU_FAILS(MENUBAR_fill(spare, nullptr, 0)),
                                 TU_FAILS(MENU_popup(nullptr, tables[0], 0, 0)),   // no owner at all
                                 TU_FAILS(MENU_popup(GetDesktopWindow(), nullptr, 0, 0))});
    DestroyMenu(spare);
}

TEST(MenuBar, BuiltAttachedRefreshedWithHelpLines)
{
    HWND window = make_window();
    ASSERT_NE(window, nullptr);
    PFU_ENTRY table[] = {item(1000), item(1006), item(1007), END};
    PFU_TABLES set{};
    PFU_add_table(&set, table);
    HMENU bar = MENU_build_bar(window, table);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenu(window), bar);
    EXPECT_EQ(shape(bar), "1000 1006 1007");
    const std::pair<int32_t, uint16_t> changes[] = {{1006, PFU_GREY}, {1007, PFU_CHECKED}};
    for (const auto &change : changes)
        PFU_set_state(&set, 0, change.first, change.second), MENU_refresh(window, bar, change.first);
    EXPECT_EQ(shape(bar), "1000 1006g 1007c");
    DrawMenuBar(window);
    UpdateWindow(window);   // owner drawing of the bar runs without failure

    SBAR_status_bar *status = SBAR_create(window);
    ASSERT_NE(status, nullptr);
    PFU_ENTRY sub[] = {item(5000), item(5001), END};
    PFU_ENTRY popup[] = {item(1000), item(1, PFU_SEPARATOR), item(1032, PFU_NORMAL, sub), END};
    HMENU menu = CreatePopupMenu();
    MENUBAR_fill(menu, popup, 0);
    const LPARAM l = reinterpret_cast<LPARAM>(menu);
    const struct { WPARAM w; LPARAM l; const char *help; } selections[] = {
        {MAKEWPARAM(1000, MF_OWNERDRAW), l, "Práce se soubory návrhů"},
        {MAKEWPARAM(2, MF_POPUP | MF_OWNERDRAW), l, "Práce s okny"},   // a submenu by its position
        {MAKEWPARAM(0, MF_SEPARATOR), l, ""},
        {MAKEWPARAM(1000, MF_OWNERDRAW), l, "Práce se soubory návrhů"},
        {MAKEWPARAM(0, 0xFFFF), 0, ""},   // the menu closed
    };
    for (const auto &s : selections) {
        MENU_select(status, s.w, s.l);
        EXPECT_STREQ(SBAR_text(status, 0), s.help) << s.w;
    }
    MENU_select(nullptr, MAKEWPARAM(1000, 0), l);
    EXPECT_TRUE(TU_reports().empty());
    DestroyMenu(menu);
    SBAR_destroy(status);
    DestroyWindow(window);
}

TEST(MenuBar, OwnerDrawnItems)
{
    HWND window = make_window();
    PFU_ENTRY e = item(1049);
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = reinterpret_cast<ULONG_PTR>(&e);
    ASSERT_EQ(MENU_measure_item(window, &mis), 1);
    // 25 pixels wider than the text in the menu font, at least 20 high.
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    RECT r{0, 0, 0, 0};
    {
        C_WINDOW_DC dc(window);
        C_GDI<HFONT> font(CreateFontIndirectA(&ncm.lfMenuFont));
        C_SELECT chosen(dc, font);
        DrawTextA(dc, "&Konec", -1, &r, DT_SINGLELINE | DT_CALCRECT);
    }
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(r.right + 25));
    EXPECT_GE(mis.itemHeight, 20u);
    MEASUREITEMSTRUCT other{};
    other.CtlType = ODT_BUTTON;
    EXPECT_EQ(MENU_measure_item(window, &other), 0);

    // The highlight for a selected item, the menu colour otherwise.
    C_WINDOW_DC screen(nullptr);
    C_MEMORY_DC memory(screen);
    C_GDI<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 200, 30));
    C_SELECT chosen(memory, bitmap);
    for (UINT state : {0u, UINT(ODS_SELECTED), UINT(ODS_GRAYED), UINT(ODS_CHECKED)}) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemData = reinterpret_cast<ULONG_PTR>(&e);
        dis.hDC = memory;
        dis.rcItem = RECT{0, 0, 200, 30};
        dis.itemState = state;
        ASSERT_EQ(MENU_draw_item(&dis), 1);
        const COLORREF background = GetSysColor(state == ODS_SELECTED ? COLOR_HIGHLIGHT : COLOR_MENU);
        EXPECT_EQ(GetPixel(memory, 199, 1), background) << state;
        // The 16 x 16 bitmap at (2, 7): its corner shows the item, its picture does not.
        int drawn = 0;
        for (int y = 7; y < 23; y++)
            for (int x = 2; x < 18; x++)
                drawn += GetPixel(memory, x, y) != background;
        EXPECT_EQ(GetPixel(memory, 2, 7), background) << state;
        EXPECT_GT(drawn, 20) << state;
    }
    DestroyWindow(window);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(MenuBar, ContextMenuReturnsTheChosenFunction)
{
    HWND window = make_window();
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    PFU_ENTRY table[] = {item(5000), item(5001), END};
    // Each key is typed once the one before has shown its effect: the
    // highlighted item, or the menu gone (-1).
    const struct { std::vector<std::pair<WPARAM, int>> keys; int32_t chosen; } cases[] = {
        {{{VK_DOWN, 5000}, {VK_RETURN, -1}}, 5000},
        {{{VK_DOWN, 5000}, {VK_DOWN, 5001}, {VK_RETURN, -1}}, 5001},
        {{{VK_ESCAPE, -1}}, 0},
    };
    for (const auto &c : cases) {
        bool typed = true;
        std::thread typist([window, &c, &typed] {
            typed = WT_wait([] { return highlighted() == 0; }, 10000);   // shown, nothing highlighted yet
            for (size_t i = 0; typed && i < c.keys.size(); i++) {
                PostMessageA(window, WM_KEYDOWN, c.keys[i].first, 0);
                typed = WT_wait([&] { return highlighted() == c.keys[i].second; }, 10000);
            }
            if (highlighted() != -1)   // whatever happened, the menu must go
                PostMessageA(window, WM_CANCELMODE, 0, 0);
        });
        EXPECT_EQ(MENU_popup(window, table, 100, 100), c.chosen);
        typist.join();
        EXPECT_TRUE(typed) << c.chosen;
    }
    PFU_ENTRY hidden[] = {item(1, PFU_HIDDEN), END};
    EXPECT_EQ(MENU_popup(window, hidden, 100, 100), 0);   // nothing to show
    EXPECT_TRUE(TU_reports().empty());
    DestroyWindow(window);
}
