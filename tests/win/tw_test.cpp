// The message text window: following the end, painting, the ranges, the
// system menu commands, saving and loading, the close notification, the
// container of floating windows and the low-memory paths.
#include <algorithm>

#include "common/txt.h"
#include "swin/wco.h"
#include "swin2/bw.h"
#include "swin2/tw.h"
#include "swin2/tw2.h"
#include "tests/testutil.h"
#include "tests/win/printutil.h"
#include "tests/win/winutil.h"

namespace {

// The spooler lists printers records.
int printers = 0;
BOOL WINAPI fake_enum_printers(DWORD, LPSTR, DWORD, LPBYTE buffer, DWORD, LPDWORD needed, LPDWORD returned)
{
    return *needed = printers ? 64 : 0, *returned = buffer ? DWORD(printers) : 0, TRUE;
}
HWND WINAPI no_window(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    return nullptr;
}

class TextWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        printers = 0;
        WCO_remove_section(WCO_system_store(), TW_SECTION);
        owner.set_title("vlastník"), owner.x = owner.y = 0, owner.width = 640, owner.height = 480;
        ASSERT_EQ(owner.create(), 1);
        ASSERT_NE(text = TW_create(), nullptr);
        ASSERT_TRUE(spooler.active());
    }
    void TearDown() override
    {
        EXPECT_TRUE(TU_reports().empty());
        TW_destroy(text);
        WCO_remove_section(WCO_system_store(), TW_SECTION);
        for (MSG m; PeekMessageA(&m, nullptr, WM_TW_CLOSED, WM_TW_CLOSED, PM_REMOVE);)   // none left for the next test
            ;
    }
    void add_lines(int from, int to)
    {
        for (int i = from; i <= to; i++)
            ASSERT_EQ(TW_add_line_format(text, "řádek %d", i), 1);
    }
    TU_V bar(int which)   // range end, page, position
    {
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(text->window, which, &info);
        return {info.nMax, info.nPage, info.nPos};
    }
    void scroll(int code, int position = 0) { SendMessageA(text->window, WM_VSCROLL, MAKEWPARAM(code, position), 0); }
    void client_lines(int lines)   // the client area made to hold exactly lines lines (the bars may come or go once)
    {
        for (int i = 0; i < 2; i++) {
            RECT w, c;
            GetWindowRect(text->window, &w), GetClientRect(text->window, &c);
            SetWindowPos(text->window, nullptr, 0, 0, 500, lines * text->line_height + (w.bottom - w.top) - c.bottom,
                         SWP_NOMOVE | SWP_NOZORDER);
        }
    }
    int red_bands()   // a bit for each line band of the client area with pixels of the colour 200, 0, 0
    {
        RECT c;
        GetClientRect(text->window, &c);
        C_WINDOW_DC screen(text->window);
        int bands = 0;
        for (int y = 0; y < c.bottom; y++)
            for (int x = 0; x < c.right; x++)
                bands |= GetPixel(screen, x, y) == RGB(200, 0, 0) ? 1 << y / text->line_height : 0;
        return bands;
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
    RECT made, room;   // a child sized to its contents, cut to the owner's client height
    GetWindowRect(text->window, &made), GetClientRect(owner.window, &room);
    EXPECT_EQ(TU_V({made.bottom - made.top, GetParent(text->window) == owner.window}), TU_V({room.bottom, 1}));
    client_lines(10);
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
        {{SB_THUMBTRACK}, 7, 7},
    };
    for (const auto &c : cases) {
        TW_clear(text), add_lines(0, 29);
        for (int code : c.codes)
            scroll(code, 7);
        EXPECT_EQ(bar(SB_VERT), TU_V({29, 10, c.before}));
        ASSERT_EQ(TW_add_line(text, "nový"), 1);
        EXPECT_EQ(bar(SB_VERT), TU_V({30, 10, c.after}));
    }
}

TEST_F(TextWindow, PaintsFromTheScrollPositionAndMeasuresTheShownLines)
{
    for (int i = 0; i < 30; i++)
        TW_add_line(text, i == 7 || i == 9 ? "MMMMMMMM" : "");
    text->colour[0] = 200;
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_EMBEDDED), 1);
    client_lines(6);
    scroll(SB_THUMBTRACK, 5);
    EXPECT_EQ(red_bands(), 1 << 2 | 1 << 4);   // lines 7 and 9 in the text colour
    scroll(SB_LINEDOWN);                       // scrolled by one line
    EXPECT_EQ(red_bands(), 1 << 1 | 1 << 3);
    const std::string wide(200, 'W');   // grows the horizontal range to its width
    SIZE extent{0, 0};
    C_MEMORY_DC dc(nullptr);
    C_SELECT chosen(dc, text->font);
    GetTextExtentPoint32A(dc, wide.c_str(), 200, &extent);
    ASSERT_EQ(TW_add_line(text, wide.c_str()), 1);
    RECT client;
    GetClientRect(text->window, &client);
    SendMessageA(text->window, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), 0);
    EXPECT_EQ(bar(SB_HORZ), TU_V({extent.cx, client.right, client.right}));
    TXT_buffer list;   // an external list is shown and measured instead; the own lines stay for the commands
    TXT_create(&list, 0);
    for (const char *l : {"a", "b", "c", "d", "e"})
        TXT_add(&list, l, nullptr);
    ASSERT_EQ(TW_show_list(text, &list), 1);
    EXPECT_EQ(TU_V({bar(SB_VERT)[0], bar(SB_HORZ)[0] < 100}), TU_V({4, 1}));
    ASSERT_EQ(TW_show_list(text, nullptr), 1);
    EXPECT_EQ(TU_V({bar(SB_VERT)[0], bar(SB_HORZ)[0]}), TU_V({30, extent.cx}));
    TXT_destroy(&list);
}

TEST_F(TextWindow, AFloatingWindowReadsTheFontSettingsAndGreysTheCommandsThatCannotAct)
{
    TEST_DRIVER driver;
    TU_SCRATCH dir;
    WCO_file *store = WCO_system_store();
    WCO_set_int16(store, TW_SECTION, "font_height", 30);
    WCO_set_text(store, TW_SECTION, "font_name", "Courier New");
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 1);
    EXPECT_EQ(TU_V({text->font_description.lfHeight, text->line_height >= 30}), TU_V({-30, 1}));
    EXPECT_STREQ(text->font_description.lfFaceName, "Courier New");
    for (const char *key : {"font_weight", "font_italic", "font_underline", "font_strikeout", "font_charset"})
        EXPECT_NE(WCO_get_text_ref(store, TW_SECTION, key), nullptr) << key;   // the missing ones written back
    EXPECT_STREQ(WCO_get_text_ref(store, TW_SECTION, "font_height"), "30");

    HMENU menu = GetSystemMenu(text->window, FALSE);
    char item[40] = "";
    for (auto c : {std::pair<int, const char *>{6, "&Uložení"}, {7, "&Tisk"}, {8, "&Vymazání"}})
        EXPECT_STREQ((GetMenuStringA(menu, c.first, item, sizeof item, MF_BYPOSITION), item), c.second);
    EXPECT_EQ(GetMenuState(menu, 5, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));

    const int G = MF_GRAYED;
    auto settings = [&] { SendMessageA(text->window, WM_SETTINGCHANGE, 0, 0); };
    const struct { const char *step; int printers; std::function<void()> act; TU_V grey; } steps[] = {
        {"no lines", 1, [] {}, {G, G, G}},
        {"a line, no printer", 0, [&] { TW_add_line(text, "první"); }, {0, G, 0}},
        {"more lines", 1, [&] { TW_add_line(text, "druhý"); }, {0, G, 0}},
        {"a printer appeared", 1, settings, {0, 0, 0}},
        {"the menu opened, the printer gone", 0, [&] { SendMessageA(text->window, WM_INITMENU, WPARAM(menu), 0); },
         {0, G, 0}},
        {"the menu opened, a printer there", 1,
         [&] { SendMessageA(text->window, WM_INITMENUPOPUP, WPARAM(menu), MAKELPARAM(0, TRUE)); }, {0, 0, 0}},
        {"cleared", 1, [&] { SendMessageA(text->window, WM_SYSCOMMAND, TW_CLEAR, 0); }, {G, G, G}},
        {"settings without lines", 1, settings, {G, G, G}},
        {"a line with a printer", 1, [&] { TW_add_line(text, "třetí řádek"); }, {0, 0, 0}},
    };
    auto grey = [&](UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED; };
    for (const auto &s : steps) {
        printers = s.printers;
        s.act();
        EXPECT_EQ(TU_V({grey(TW_SAVE), grey(TW_PRINT), grey(TW_CLEAR)}), s.grey) << s.step;
    }
    for (int button : {IDCANCEL, IDOK}) {   // the name typed, then cancelled: nothing written; then saved
        BOX_ANSWERER box("", {{button, 0x47C, dir.file("ZPRAVY.TXT")}});
        SendMessageA(text->window, WM_SYSCOMMAND, TW_SAVE, 0);
        ASSERT_TRUE(box.found());   // the proposed name, the first filter
        EXPECT_EQ(box.control_text(0x47C) + "|" + box.control_text(0x470), "TEXT.TXT|Textové soubory *.TXT");
        EXPECT_EQ(TU_V({TU_exists("TEXT.TXT"), TU_exists("ZPRAVY.TXT")}), TU_V({0, button == IDOK}));
    }
    EXPECT_EQ(TU_read(dir.file("ZPRAVY.TXT")), "t\xF8" "et\xED \xF8\xE1\x64\x65k\r\n");
}

TEST_F(TextWindow, SavedAndLoadedByteForByte)
{
    TU_SCRATCH dir;
    const std::string file = dir.file("log.txt"), longest(200, 'w');   // a whole line of the longest kind, not cut
    const std::vector<std::string> saved = {"Čížek žluťoučký kůň", "", "  mezery a\ttabulátor  ", "ÁÉÍÓÚÝ ďťň",
                                            longest};
    for (const std::string &l : saved)
        TW_add_line(text, l.c_str());
    ASSERT_EQ(TW_save(text, file.c_str()), 1);
    EXPECT_EQ(TU_read(file), "\xC8\xED\x9E" "ek \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n\r\n  mezery a\ttabul\xE1tor  \r\n"
                             "\xC1\xC9\xCD\xD3\xDA\xDD \xEF\x9D\xF2\r\n" + longest + "\r\n");
    ASSERT_EQ(TW_load(text, file.c_str()), 1);   // appended after what was there
    EXPECT_EQ(std::vector<std::string>(text->lines + 5, text->lines + text->count), saved);
    EXPECT_EQ(TW_load(text, dir.file("chybí.txt").c_str()), 0);   // the file layer's message, nothing appended
    ASSERT_EQ(TU_V({int64_t(TU_reports().size()), text->count}), TU_V({1, 10}));
    EXPECT_TRUE(WT_starts(TU_reports()[0].text, "Soubor ")) << TU_reports()[0].text;
    TU_clear_reports();
}

TEST_F(TextWindow, TheCloseCommandTellsTheOwnerAndTheObjectLivesOn)
{
    const struct { int16_t kind, closable, code; int posted; } cases[] = {
        {TW_KIND_FLOATING, 1, 7, 7}, {TW_KIND_FLOATING, 0, 7, 0}, {TW_KIND_FLOATING, 1, 0, 0},
        {TW_KIND_FLOATING, 1, 5, 0}, {TW_KIND_EMBEDDED, 1, 7, 0},
    };
    TW_add_line(text, "zůstává");
    for (const auto &c : cases) {
        text->closable = c.closable, text->owner_code = c.code;
        ASSERT_EQ(TW_create_window(text, &owner, c.kind), 1);
        HWND window = text->window;
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        MSG m{};
        int posted = PeekMessageA(&m, owner.window, WM_TW_CLOSED, WM_TW_CLOSED, PM_REMOVE) ? int(m.wParam) : 0;
        EXPECT_EQ(TU_V({IsWindow(window), text->window != nullptr, posted, text->count}), TU_V({0, 0, c.posted, 1}))
            << c.kind << " " << c.closable << " " << c.code;
    }
    EXPECT_STREQ(text->lines[0], "zůstává");
}

TEST_F(TextWindow, TheContainerAddsCreatesRemovesAndClosesAll)
{
    C_TW2_LIST list;
    for (int16_t i = 0; i < 6; i++)
        ASSERT_EQ(list.add(), i);
    EXPECT_EQ(list.slots, 6);   // 5 on first use, then one more
    TW_text_window *second = list.get(1), *third = list.get(2);
    EXPECT_EQ(TU_V({list.create_window(1, &owner), list.create_window(2, &owner), second->kind}),
              TU_V({1, 1, TW_KIND_FLOATING}));
    HWND window = second->window;
    ASSERT_EQ(list.remove(1), 1);   // destroyed, the later ones moved down, the last slot free
    TU_expect_failures("..\\swin2\\tw2", {TU_FAILS(list.get(-1)), TU_FAILS(list.get(5)), TU_FAILS(list.get(6)),
                                          TU_FAILS(list.create_window(6, &owner)), TU_FAILS(list.remove(7))});
    EXPECT_EQ(TU_V({IsWindow(window), list.get(1) == third, list.add()}), TU_V({0, 1, 5}));
    window = third->window;
    EXPECT_EQ(list.close_all(), 1);
    EXPECT_EQ(TU_V({IsWindow(window), std::count(list.windows, list.windows + 6, nullptr)}), TU_V({0, 6}));
}

TEST_F(TextWindow, TheTableGrowsByTwoHundredAndLowMemoryOrBrokenCallsFail)
{
    for (size_t size : {sizeof(TW_text_window), 400 * sizeof(char *)}) {   // the object, the line table
        WT_fail_allocation(size);
        EXPECT_EQ(TU_V({TW_create() != nullptr, WT_failures_left(), WT_only_low_memory(1)}), TU_V({0, 0, 1})) << size;
        TU_clear_reports();
    }
    const char line[] = "řádek, na který není paměť";
    WT_fail_allocation(sizeof line);
    EXPECT_EQ(TU_V({TW_add_line(text, line), WT_only_low_memory(1), text->count}), TU_V({0, 1, 0}));
    TU_clear_reports();
    add_lines(1, 399);
    WT_fail_allocation(600 * sizeof(char *));   // no memory for the larger table: the 400th line dropped
    EXPECT_EQ(TU_V({TW_add_line(text, "řádek 400"), WT_only_low_memory(1), text->count, text->capacity}),
              TU_V({0, 1, 399, 400}));
    TU_clear_reports();
    add_lines(400, 401);   // the table grown by 200 without losing a line
    EXPECT_EQ(TU_V({text->count, text->capacity}), TU_V({401, 600}));
    for (int i = 0; i < 401; i++)
        ASSERT_EQ(text->lines[i], "řádek " + std::to_string(i + 1));
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_EMBEDDED), 1);
    C_BW unmade;
    TW_text_window *other = TW_create();
    TU_expect_failures("..\\swin2\\tw",
                       {TU_FAILS(TW_create_window(nullptr, &owner, 5)), TU_FAILS(TW_create_window(text, &owner, 5)),
                        TU_FAILS(TW_create_window(other, &unmade, 5)), TU_FAILS(TW_create_window(other, nullptr, 5)),
                        TU_FAILS(TW_add_line(nullptr, "x")), TU_FAILS(TW_clear(nullptr)),
                        TU_FAILS(TW_save(text, nullptr)), TU_FAILS(TW_load(nullptr, "x")),
                        TU_FAILS(TW_set_title(nullptr, "x")), TU_FAILS(TW_show_list(nullptr, nullptr))});
    TW_destroy(nullptr);
    char title[20] = "";
    EXPECT_EQ(TU_V({TW_set_title(text, "Informace"), GetWindowTextA(text->window, title, sizeof title)}), TU_V({1, 9}));
    EXPECT_STREQ(title, "Informace");
    IAT_PATCH creation("USER32.dll", "CreateWindowExA", reinterpret_cast<void *>(no_window));
    ASSERT_TRUE(creation.active());
    EXPECT_EQ(TW_create_window(other, &owner, TW_KIND_FLOATING), 0);   // no window made: 0 without a message
    TW_destroy(other);
}

namespace {

// The texts the print-cancel dialog's fields are given (a hook of this
// thread), "|" after each; the dialog's button is clicked (posted) once a
// text begins with press_at.
struct FIELD_WATCH {
    explicit FIELD_WATCH(const char *press_at = nullptr)
    {
        watch = this, press = press_at;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, seen, nullptr, GetCurrentThreadId());
    }
    ~FIELD_WATCH() { UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK seen(int code, WPARAM wp, LPARAM lp)
    {
        const CWPSTRUCT *call = reinterpret_cast<const CWPSTRUCT *>(lp);
        const int id = GetDlgCtrlID(call->hwnd);
        if (code == HC_ACTION && call->message == WM_SETTEXT && (id == 100 || id == 101) && call->lParam) {
            const std::string text = reinterpret_cast<const char *>(call->lParam);
            watch->shown += text + "|";
            if (watch->press && text.rfind(watch->press, 0) == 0)
                PostMessageA(GetParent(call->hwnd), WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static FIELD_WATCH *watch;
    const char *press;
    HHOOK hook;
    std::string shown;
};
FIELD_WATCH *FIELD_WATCH::watch = nullptr;

// The window's lines printed on the PDF printer of the run.
class TextWindowPrinting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(print_check::printer_ready());
        WCO_set_int16(WCO_system_store(), TW_SECTION, "font_height", 24);
        owner.set_title("vlastník"), owner.x = owner.y = 0, owner.width = 640, owner.height = 480;
        ASSERT_EQ(owner.create(), 1);
        ASSERT_NE(text = TW_create(), nullptr);
        ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 1);
        before = print_check::pdf_files();
    }
    void TearDown() override
    {
        TW_destroy(text);
        WCO_remove_section(WCO_system_store(), TW_SECTION);
    }
    TEST_DRIVER driver;
    C_BW owner;
    TW_text_window *text = nullptr;
    std::set<std::string> before;
};

}  // namespace

TEST_F(TextWindowPrinting, EveryLineOnItsPageAndTheCancelledDialogPrintsNothing)
{
    for (int i = 1; i <= 120; i++)
        TW_add_line_format(text, "řádek %d", i);
    {   // the print dialog cancelled: no job, no print-cancel dialog
        BOX_ANSWERER print("", IDCANCEL);
        EXPECT_EQ(TW_print(text), 0);
        EXPECT_TRUE(print.found());
    }
    FIELD_WATCH fields;
    BOX_ANSWERER print("", IDOK);
    EXPECT_EQ(TW_print(text), 1);
    EXPECT_NE(fields.shown.find("TOREVAN - Informace|Strana 1 z 3|Strana 2 z 3|Strana 3 z 3|"), std::string::npos)
        << fields.shown;
    const std::string pdf = print_check::new_pdf(before);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(print_check::pdf_pages(pdf), 3);
    // The lines in order, each once.
    const std::string printed = print_check::pdf_text(pdf);
    size_t at = 0;
    for (int i = 1; i <= 120 && at != std::string::npos; i++)
        at = printed.find("řádek " + std::to_string(i) + "\n", at);
    EXPECT_NE(at, std::string::npos) << printed.substr(0, 300);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(TextWindowPrinting, ZrusitStopsALongJob)
{
    for (int i = 1; i <= 600; i++)
        TW_add_line_format(text, "řádek %d", i);
    BOX_ANSWERER print("", IDOK);
    FIELD_WATCH fields("Strana 2 z ");
    EXPECT_EQ(TW_print(text), 0);
    // Stopped at the second of the fifteen pages.
    EXPECT_EQ(TU_V({fields.shown.find("Strana 2 z 15|") != std::string::npos,
                    fields.shown.find("Strana 3 z") == std::string::npos}),
              TU_V({1, 1}))
        << fields.shown;
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    EXPECT_EQ(print_check::new_pdf(before, 3000), "");
    EXPECT_TRUE(TU_reports().empty());
}

TEST(TextWindowNoPrinter, PrintStaysGreyWithLines)
{
    TEST_DRIVER driver;
    C_BW owner;
    owner.set_title("vlastník"), owner.x = owner.y = 0, owner.width = 640, owner.height = 480;
    ASSERT_EQ(owner.create(), 1);
    TW_text_window *text = TW_create();
    ASSERT_EQ(TW_create_window(text, &owner, TW_KIND_FLOATING), 1);
    TW_add_line(text, "řádek");
    SendMessageA(text->window, WM_SETTINGCHANGE, 0, 0);
    HMENU menu = GetSystemMenu(text->window, FALSE);
    EXPECT_EQ(TU_V({int(GetMenuState(menu, TW_SAVE, MF_BYCOMMAND) & MF_GRAYED),
                    int(GetMenuState(menu, TW_PRINT, MF_BYCOMMAND) & MF_GRAYED)}),
              TU_V({0, MF_GRAYED}));
    TW_destroy(text);
    WCO_remove_section(WCO_system_store(), TW_SECTION);
}
