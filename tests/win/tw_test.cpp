// The message text window: following the end, the line table, the system
// menu commands, the ranges, saving and loading, the close notification, the
// container of floating windows and the low-memory paths.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/txt.h"
#include "swin/wco.h"
#include "swin2/bw.h"
#include "swin2/tw.h"
#include "swin2/tw2.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char TW[] = "..\\swin2\\tw";
const char TW2[] = "..\\swin2\\tw2";

// The spooler's answers: how many printers EnumPrintersA lists.
int printers = 0;
BOOL WINAPI fake_enum_printers(DWORD, LPSTR, DWORD, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned)
{
    *returned = 0;
    *needed = printers ? 64 : 0;
    if (!printers)
        return TRUE;
    if (!buffer || size < 64) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *returned = static_cast<DWORD>(printers);
    return TRUE;
}

class TextWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        printers = 0;
        WCO_remove_section(WCO_system_store(), TW_SECTION);
        owner.set_title("vlastník");
        owner.x = owner.y = 0;
        owner.width = 640;
        owner.height = 480;
        ASSERT_EQ(owner.create(), 1);
        text = TW_create();
        ASSERT_NE(text, nullptr);
        ASSERT_TRUE(spooler.active());
    }
    void TearDown() override
    {
        TW_destroy(text);
        WCO_remove_section(WCO_system_store(), TW_SECTION);
        MSG m;   // no notification left for the next test
        while (PeekMessageA(&m, nullptr, WM_TW_CLOSED, WM_TW_CLOSED, PM_REMOVE))
            ;
    }
    void add_lines(int from, int to)
    {
        for (int i = from; i <= to; i++)
            ASSERT_EQ(TW_add_line_format(text, "řádek %d", i), 1);
    }
    SCROLLINFO bar(int which)
    {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(text->window, which, &info);
        return info;
    }
    // The window made so large that its client area holds exactly lines lines.
    void client_lines(int lines)
    {
        for (int i = 0; i < 2; i++) {   // the bars may come or go once
            RECT w, c;
            GetWindowRect(text->window, &w);
            GetClientRect(text->window, &c);
            SetWindowPos(text->window, nullptr, 0, 0, 500, lines * text->line_height + (w.bottom - w.top) - c.bottom,
                         SWP_NOMOVE | SWP_NOZORDER);
        }
    }
    std::vector<UINT> greyed()   // save, print, clear
    {
        HMENU menu = GetSystemMenu(text->window, FALSE);
        std::vector<UINT> v;
        for (UINT id : {TW_SAVE, TW_PRINT, TW_CLEAR})
            v.push_back(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
        return v;
    }
    std::vector<std::string> lines(const TW_text_window *t)
    {
        return std::vector<std::string>(t->lines, t->lines + t->count);
    }

    C_BW owner;
    TW_text_window *text = nullptr;
    IAT_PATCH spooler{"WINSPOOL.DRV", "EnumPrintersA", reinterpret_cast<void *>(fake_enum_printers)};
};

}  // namespace

TEST_F(TextWindow, TheViewFollowsTheEndUntilTheUserScrollsAway)
{
    add_lines(0, 29);
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 1);
    char cls[64] = "";
    GetClassNameA(text->window, cls, sizeof cls);
    EXPECT_STREQ(cls, "MESSAGE_TEXT_WINDOW_CLASS_NAME");
    EXPECT_EQ(GetParent(text->window), owner.window);
    RECT made, room;   // sized to its contents, cut to the owner's client height
    GetWindowRect(text->window, &made);
    GetClientRect(owner.window, &room);
    EXPECT_EQ(made.bottom - made.top, room.bottom);
    client_lines(10);
    ASSERT_EQ(bar(SB_VERT).nPage, 10u);
    EXPECT_EQ(bar(SB_VERT).nMax, 29);
    if (WT_shots())   // for a person to look at
        TW_set_title(text, "Informace – žluťoučký kůň"), WT_picture("Plovoucí okno zpráv");

    // 30 lines, scroll codes sent, then one line appended: the first shown line before and after it.
    const struct { std::vector<int> codes; int before, after; } cases[] = {
        {{SB_BOTTOM}, 20, 21},                            // the end shown: followed
        {{SB_BOTTOM, SB_LINEUP}, 19, 21},                 // the line before the new one half shown: followed
        {{SB_BOTTOM, SB_LINEUP, SB_LINEUP}, 18, 18},      // scrolled away: the view stays
        {{SB_TOP}, 0, 0},
        {{SB_TOP, SB_LINEDOWN, SB_PAGEDOWN}, 11, 11},
        {{SB_BOTTOM, SB_PAGEUP, SB_THUMBPOSITION}, 10, 10},   // the thumb position changes nothing
    };
    for (const auto &c : cases) {
        TW_clear(text);
        add_lines(0, 29);
        for (int code : c.codes)
            SendMessageA(text->window, WM_VSCROLL, MAKEWPARAM(code, 7), 0);
        EXPECT_EQ(bar(SB_VERT).nPos, c.before);
        ASSERT_EQ(TW_add_line(text, "nový"), 1);
        EXPECT_EQ(bar(SB_VERT).nPos, c.after) << c.before;
        EXPECT_EQ(bar(SB_VERT).nMax, 30);
    }
    SendMessageA(text->window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3), 0);
    EXPECT_EQ(bar(SB_VERT).nPos, 3);
    EXPECT_TRUE(TU_reports().empty());
}

// The line bands of the client area that hold pixels of the colour, top down.
std::vector<int> bands_of_colour(HWND window, int line_height, COLORREF colour)
{
    RECT c;
    GetClientRect(window, &c);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), c.right, -c.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    C_WINDOW_DC screen(window);
    C_GDI<HBITMAP> picture(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    C_MEMORY_DC copy(screen);
    {
        C_SELECT chosen(copy, picture);
        BitBlt(copy, 0, 0, c.right, c.bottom, screen, 0, 0, SRCCOPY);
    }
    const DWORD wanted = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    std::vector<int> bands;
    for (int y = 0; y < c.bottom; y++)
        for (int x = 0; x < c.right; x++)
            if ((static_cast<const DWORD *>(bits)[y * c.right + x] & 0xFFFFFF) == wanted) {
                if (bands.empty() || bands.back() != y / line_height)
                    bands.push_back(y / line_height);
                break;
            }
    return bands;
}

TEST_F(TextWindow, PaintsTheLinesFromTheScrollPositionInTheTextColour)
{
    for (int i = 0; i < 30; i++)
        TW_add_line(text, i == 7 || i == 9 ? "MMMMMMMM" : "");
    text->colour[0] = 200;
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_EMBEDDED), 1);
    client_lines(6);
    SendMessageA(text->window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5), 0);
    ASSERT_EQ(bar(SB_VERT).nPos, 5);
    UpdateWindow(text->window);
    EXPECT_EQ(bands_of_colour(text->window, text->line_height, RGB(200, 0, 0)), std::vector<int>({2, 4}));
    SendMessageA(text->window, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);   // scrolled by one line
    EXPECT_EQ(bands_of_colour(text->window, text->line_height, RGB(200, 0, 0)), std::vector<int>({1, 3}));
    InvalidateRect(text->window, nullptr, TRUE);   // painted again whole
    UpdateWindow(text->window);
    EXPECT_EQ(bands_of_colour(text->window, text->line_height, RGB(200, 0, 0)), std::vector<int>({1, 3}));
}

TEST_F(TextWindow, TheTableGrowsByTwoHundredWithoutLosingALine)
{
    add_lines(1, 399);
    EXPECT_EQ(text->capacity, 400);
    WT_fail_allocation(600 * sizeof(char *));   // no memory for the larger table: the 400th line dropped
    EXPECT_EQ(TW_add_line(text, "řádek 400"), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(std::vector<int32_t>({text->count, text->capacity}), std::vector<int32_t>({399, 400}));
    TU_clear_reports();
    add_lines(400, 401);
    EXPECT_EQ(std::vector<int32_t>({text->count, text->capacity}), std::vector<int32_t>({401, 600}));
    const std::vector<std::string> all = lines(text);
    for (int i = 0; i < 401; i++)
        ASSERT_EQ(all[i], "řádek " + std::to_string(i + 1));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(TextWindow, TheCommandsAreGreyWithoutLinesAndPrintAlsoWithoutAPrinter)
{
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 1);
    HMENU menu = GetSystemMenu(text->window, FALSE);
    char item[40] = "";
    for (auto c : {std::pair<int, const char *>{6, "&Uložení"}, {7, "&Tisk"}, {8, "&Vymazání"}}) {
        GetMenuStringA(menu, c.first, item, sizeof item, MF_BYPOSITION);
        EXPECT_STREQ(item, c.second);
    }
    EXPECT_EQ(GetMenuState(menu, 5, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));

    const UINT G = MF_GRAYED;
    const struct { const char *step; int printers; std::function<void()> act; std::vector<UINT> grey; } steps[] = {
        {"no lines", 1, [] {}, {G, G, G}},
        {"a line, no printer", 0, [&] { TW_add_line(text, "první"); }, {0, G, 0}},
        {"more lines", 1, [&] { TW_add_line(text, "druhý"); }, {0, G, 0}},
        {"a printer appeared", 1, [&] { SendMessageA(text->window, WM_SETTINGCHANGE, 0, 0); }, {0, 0, 0}},
        {"cleared", 1, [&] { SendMessageA(text->window, WM_SYSCOMMAND, TW_CLEAR, 0); }, {G, G, G}},
        {"settings without lines", 1, [&] { SendMessageA(text->window, WM_SETTINGCHANGE, 0, 0); }, {G, G, G}},
        {"a line with a printer", 1, [&] { TW_add_line(text, "třetí"); }, {0, 0, 0}},
        {"cleared by call", 1, [&] { TW_clear(text); }, {G, G, G}},
    };
    for (const auto &s : steps) {
        printers = s.printers;
        s.act();
        EXPECT_EQ(greyed(), s.grey) << s.step;
    }
    EXPECT_EQ(text->count, 0);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(TextWindow, AWideLineGrowsTheHorizontalRangeToItsWidth)
{
    add_lines(1, 3);
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_EMBEDDED), 1);
    SetWindowPos(text->window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    const std::string wide(120, 'W');
    SIZE extent{0, 0};
    {
        C_WINDOW_DC dc(text->window);
        C_SELECT chosen(dc, text->font);
        GetTextExtentPoint32A(dc, wide.c_str(), 120, &extent);
    }
    ASSERT_GT(extent.cx, 300);
    EXPECT_LT(bar(SB_HORZ).nMax, 300);
    ASSERT_EQ(TW_add_line(text, wide.c_str()), 1);
    RECT client;
    GetClientRect(text->window, &client);
    EXPECT_EQ(bar(SB_HORZ).nMax, extent.cx);
    EXPECT_EQ(bar(SB_HORZ).nPage, UINT(client.right));
    SendMessageA(text->window, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), 0);
    EXPECT_EQ(bar(SB_HORZ).nPos, client.right);

    // An external list is shown and measured instead; the own lines stay for the commands.
    TXT_buffer list;
    TXT_create(&list, 0);
    for (const char *l : {"a", "b", "c", "d", "e"})
        TXT_add(&list, l, nullptr);
    ASSERT_EQ(TW_show_list(text, &list), 1);
    EXPECT_EQ(std::vector<int>({bar(SB_VERT).nMax, bar(SB_HORZ).nMax < 100}), std::vector<int>({4, 1}));
    EXPECT_EQ(text->count, 4);
    ASSERT_EQ(TW_show_list(text, nullptr), 1);
    EXPECT_EQ(std::vector<int>({bar(SB_VERT).nMax, bar(SB_HORZ).nMax}), std::vector<int>({3, int(extent.cx)}));
    TXT_destroy(&list);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(TextWindow, SavedAndLoadedByteForByte)
{
    TU_SCRATCH dir;
    const std::string file = dir.file("log.txt"), again = dir.file("again.txt");
    const std::string longest(200, 'w');   // a whole line of the longest kind, not cut
    for (const char *l : {"Čížek žluťoučký kůň", "", "  mezery a\ttabulátor  ", "ÁÉÍÓÚÝ ďťň", longest.c_str()})
        TW_add_line(text, l);
    ASSERT_EQ(TW_save(text, file.c_str()), 1);
    const std::string bytes = std::string("\xC8\xED\x9E" "ek \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n"
                              "\r\n"
                              "  mezery a\ttabul\xE1tor  \r\n"
                              "\xC1\xC9\xCD\xD3\xDA\xDD \xEF\x9D\xF2\r\n") + longest + "\r\n";
    EXPECT_EQ(TU_read(file), bytes);

    TW_text_window *loaded = TW_create();
    ASSERT_NE(loaded, nullptr);
    TW_add_line(loaded, "dříve");
    ASSERT_EQ(TW_load(loaded, file.c_str()), 1);   // appended after what was there
    EXPECT_EQ(lines(loaded), std::vector<std::string>({"dříve", "Čížek žluťoučký kůň", "", "  mezery a\ttabulátor  ",
                                                        "ÁÉÍÓÚÝ ďťň", longest}));
    TW_clear(loaded);
    ASSERT_EQ(TW_load(loaded, file.c_str()), 1);
    ASSERT_EQ(TW_save(loaded, again.c_str()), 1);
    EXPECT_EQ(TU_read(again), bytes);
    TW_destroy(loaded);

    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ(TW_load(text, dir.file("chybí.txt").c_str()), 0);   // the file layer's message
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_TRUE(WT_starts(TU_reports()[0].text, "Soubor ")) << TU_reports()[0].text;
    EXPECT_EQ(text->count, 5);   // nothing appended
    TU_clear_reports();
}

TEST_F(TextWindow, SavedFromTheMenuThroughTheSaveDialog)
{
    TEST_DRIVER driver;
    TU_SCRATCH dir;
    const std::string file = dir.file("ZPRAVY.TXT");
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 1);
    TW_add_line(text, "první řádek");
    TW_add_line(text, "druhý");
    {
        BOX_ANSWERER cancel("", IDCANCEL);
        SendMessageA(text->window, WM_SYSCOMMAND, TW_SAVE, 0);
        ASSERT_TRUE(cancel.found());
        EXPECT_EQ(cancel.control_text(0x47C), "TEXT.TXT");   // the proposed name
        EXPECT_EQ(cancel.control_text(0x470), "Textové soubory *.TXT");   // the first filter
    }
    EXPECT_FALSE(TU_exists(dir.file("TEXT.TXT")));
    {
        BOX_ANSWERER save("", {{IDOK, 0x47C, file}});
        SendMessageA(text->window, WM_SYSCOMMAND, TW_SAVE, 0);
        ASSERT_TRUE(save.found());
    }
    EXPECT_EQ(TU_read(file), "prvn\xED \xF8\xE1\x64\x65k\r\ndruh\xFD\r\n");
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(TextWindow, TheCloseCommandTellsTheOwnerAndTheObjectLivesOn)
{
    const struct { int16_t kind, closable, code; UINT posted; } cases[] = {
        {TW_KIND_FLOATING, 1, 7, 7},
        {TW_KIND_FLOATING, 0, 7, 0},
        {TW_KIND_FLOATING, 1, 0, 0},
        {TW_KIND_FLOATING, 1, 5, 0},
        {TW_KIND_EMBEDDED, 1, 7, 0},
    };
    TW_add_line(text, "zůstává");
    for (const auto &c : cases) {
        text->closable = c.closable;
        text->owner_code = c.code;
        ASSERT_EQ(TW_create_window(text, &owner, c.kind), 1);
        HWND window = text->window;
        EXPECT_EQ(TW_from_window(window), text);
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(window)) << c.code;
        EXPECT_EQ(text->window, nullptr);
        MSG m{};
        UINT posted = PeekMessageA(&m, owner.window, WM_TW_CLOSED, WM_TW_CLOSED, PM_REMOVE) ? UINT(m.wParam) : 0;
        EXPECT_EQ(posted, c.posted) << c.kind << " " << c.closable << " " << c.code;
    }
    EXPECT_EQ(lines(text), std::vector<std::string>({"zůstává"}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(TextWindow, TheContainerAddsCreatesRemovesAndClosesAll)
{
    C_TW2_LIST list;
    for (int16_t i = 0; i < 6; i++)
        ASSERT_EQ(list.add(), i);
    EXPECT_EQ(list.slots, 6);   // 5 on first use, then one more
    TW_text_window *second = list.get(1), *third = list.get(2);
    TW_add_line(third, "třetí");
    ASSERT_EQ(list.create_window(1, &owner), 1);
    ASSERT_EQ(list.create_window(2, &owner), 1);
    EXPECT_EQ(second->kind, TW_KIND_FLOATING);
    HWND window = second->window;
    ASSERT_EQ(list.remove(1), 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(list.get(1), third);
    EXPECT_EQ(list.windows[5], nullptr);
    EXPECT_EQ(list.add(), 5);

    TU_expect_failures(TW2, {TU_FAILS(list.get(-1)), TU_FAILS(list.get(6)), TU_FAILS(list.create_window(6, &owner)),
                             TU_FAILS(list.remove(7))});
    window = third->window;
    EXPECT_EQ(list.close_all(), 1);
    EXPECT_FALSE(IsWindow(window));
    for (int16_t i = 0; i < list.slots; i++)
        EXPECT_EQ(list.windows[i], nullptr);
    TU_expect_failures(TW2, {TU_FAILS(list.get(0))});
    EXPECT_TRUE(TU_reports().empty());
}

HWND WINAPI no_window(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    return nullptr;
}

TEST_F(TextWindow, TheFontSettingsAreReadAndTheMissingOnesWrittenBack)
{
    WCO_file *store = WCO_system_store();
    WCO_set_int16(store, TW_SECTION, "font_height", 30);
    WCO_set_text(store, TW_SECTION, "font_name", "Courier New");
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 1);
    EXPECT_EQ(text->font_description.lfHeight, -30);
    EXPECT_STREQ(text->font_description.lfFaceName, "Courier New");
    EXPECT_GE(text->line_height, 30);
    for (const char *key : {"font_weight", "font_italic", "font_underline", "font_strikeout", "font_charset"})
        EXPECT_NE(WCO_get_text_ref(store, TW_SECTION, key), nullptr) << key;
    EXPECT_STREQ(WCO_get_text_ref(store, TW_SECTION, "font_height"), "30");

    // A window that cannot be made: 0 without a message, the object without a window.
    SendMessageA(text->window, WM_CLOSE, 0, 0);
    IAT_PATCH creation("USER32.dll", "CreateWindowExA", reinterpret_cast<void *>(no_window));
    ASSERT_TRUE(creation.active());
    EXPECT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 0);
    EXPECT_EQ(text->window, nullptr);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(TextWindow, LowMemoryAndBrokenCalls)
{
    const struct { const char *what; size_t size; } objects[] = {
        {"the object", sizeof(TW_text_window)},
        {"the line table", 400 * sizeof(char *)},
    };
    for (const auto &o : objects) {
        WT_fail_allocation(o.size);
        EXPECT_EQ(TW_create(), nullptr) << o.what;
        EXPECT_EQ(WT_failures_left(), 0) << o.what;
        EXPECT_TRUE(WT_only_low_memory(1)) << o.what;
        TU_clear_reports();
    }
    const char line[] = "řádek, na který není paměť";
    WT_fail_allocation(sizeof line);
    EXPECT_EQ(TW_add_line(text, line), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(text->count, 0);
    TU_clear_reports();

    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_EMBEDDED), 1);
    C_BW unmade;
    TU_expect_failures(TW, {TU_FAILS(TW_create_window(nullptr, &owner, 5)),
                            TU_FAILS(TW_create_window(text, &owner, 5)),   // it has a window
                            TU_FAILS(TW_add_line(nullptr, "x")), TU_FAILS(TW_clear(nullptr)),
                            TU_FAILS(TW_save(text, nullptr)), TU_FAILS(TW_load(nullptr, "x")),
                            TU_FAILS(TW_set_title(nullptr, "x")), TU_FAILS(TW_show_list(nullptr, nullptr))});
    TW_text_window *other = TW_create();
    TU_expect_failures(TW, {TU_FAILS(TW_create_window(other, &unmade, 5)),
                            TU_FAILS(TW_create_window(other, nullptr, 5))});
    TW_destroy(other);
    TW_destroy(nullptr);
    ASSERT_EQ(TW_set_title(text, "Informace"), 1);
    char title[20] = "";
    GetWindowTextA(text->window, title, sizeof title);
    EXPECT_STREQ(title, "Informace");
    EXPECT_TRUE(TU_reports().empty());
}
