// The table control driven by its messages and by synthesized keys and mouse
// messages, its notifications seen by the parent, the settings store and
// allocation failures.
#include <cstring>

#include "swin/col.h"
#include "swin/tab.h"
#include "swin/wco.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "win/wmsg.h"

namespace {

const int TABLE_ID = 7;
const char WIDTHS[] = "TAB_test_widths";
std::vector<WPARAM> notes;   // WM_COMMAND wparams the parent got

LRESULT CALLBACK parent_procedure(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_COMMAND)
        notes.push_back(wp);
    return DefWindowProcA(w, m, wp, lp);
}

WPARAM at(int row, int column) { return MAKEWPARAM(column, row); }

class Tab : public ::testing::Test {
protected:
    void SetUp() override
    {
        COL_init(&driver->colours);
        ASSERT_EQ(TAB_register(GetModuleHandleA(nullptr)), 1);
        WNDCLASSA c{};
        c.lpfnWndProc = parent_procedure;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "TAB_TEST_PARENT";
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&c);
        parent = CreateWindowExA(0, "TAB_TEST_PARENT", "tabulka", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 420, 300,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(table = make(), nullptr);
        notes.clear();
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        WCO_remove_section(WCO_system_store(), TAB_SETTINGS);
        WCO_remove_section(WCO_system_store(), WIDTHS);
    }
    HWND make()
    {
        return CreateWindowExA(0, TABLE_CLASS_NAME, "", WS_CHILD | WS_VISIBLE, 0, 0, 404, 200, parent,
                               HMENU(INT_PTR(TABLE_ID)), GetModuleHandleA(nullptr), nullptr);
    }
    LRESULT send(UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(table, m, wp, lp); }
    LRESULT set(int row, int column, const char *text) { return send(TAB_set_text, at(row, column), LPARAM(text)); }
    std::string text(int row, int column, UINT get = TAB_get_text)
    {
        std::string t(send(get == TAB_get_text ? TAB_get_text_length : TAB_get_text_length_by_index, at(row, column)), '\0');
        return send(get, at(row, column), LPARAM(&t[0])) ? t : "(none)";
    }
    std::string column_texts(int column)   // row by row in display order, "|" after each
    {
        std::string all;
        for (int i = 0; i < send(TAB_get_row_count); i++)
            all += text(i, column, TAB_get_text_by_index) + "|";
        return all;
    }
    void repaint() { RedrawWindow(table, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
    // The client point in the middle of a cell (row index, -1 header, -3 footer); columns 100 pixels wide.
    LPARAM point(int row, int column)
    {
        RECT r, client;
        send(TAB_get_current_cell_rect, 0, LPARAM(&r));
        GetClientRect(table, &client);
        const int h = r.bottom - r.top;
        const int y = row == -1 ? h / 2 : row == -3 ? client.bottom - h / 2 : h + row * h + h / 2;
        return MAKELPARAM(column * 100 + 50, y);
    }
    void click(UINT down, UINT up, LPARAM p)
    {
        send(down, 0, p);
        send(up, 0, p);
    }
    std::vector<int> codes()
    {
        std::vector<int> got;
        for (WPARAM w : notes)
            got.push_back(LOWORD(w) == TABLE_ID ? HIWORD(w) : -1);
        notes.clear();
        return got;
    }
    TEST_DRIVER driver;
    HWND parent = nullptr, table = nullptr;
};

TEST_F(Tab, CellsRowsAndTheirMessages)
{
    // A cell in an empty table makes its row; the cells before it stay missing.
    EXPECT_EQ(TU_V({set(7, 3, "sedm"), send(TAB_get_row_count), send(TAB_get_column_count),
                    send(TAB_get_text_length, at(7, 3)), send(TAB_get_text_length, at(7, 1)),
                    send(TAB_get_cell_word, at(7, 1)), send(TAB_get_text_length, at(8, 3)),
                    send(TAB_get_current_row_id), send(TAB_get_column_width, 2), send(TAB_get_column_width, 4)}),
              TU_V({1, 1, 4, 4, 0, -1, 0, 7, 10, 5}));
    EXPECT_EQ(text(7, 3), "sedm");
    // Header and footer rows, a null text, by-index forms.
    set(0xFFFF, 0, "Název");
    set(0xFFFE, 0, nullptr);
    send(TAB_set_state_by_index, at(0, 3), 1);
    EXPECT_EQ(TU_V({send(TAB_get_text_length, at(0xFFFF, 0)), send(TAB_get_text_length, at(0xFFFE, 0)),
                    send(TAB_get_state, at(7, 3)), send(TAB_set_state_by_index, at(5, 0), 1),
                    send(TAB_get_row_count)}),
              TU_V({5, 0, 1, 0, 1}));
    EXPECT_EQ(text(0, 3, TAB_get_text_by_index), "sedm");
    // Colours, palette entries with their names, words, flags, bitmaps, patterns, kinds.
    send(TAB_set_palette_colour, at(7, 0), 1);
    const std::string palette_name = text(7, 0);
    const LRESULT palette_colour = send(TAB_get_colour, at(7, 0));
    const LRESULT palette_index = send(TAB_get_palette_index, at(7, 0));
    send(TAB_set_colour, at(7, 0), RGB(1, 2, 3));
    send(TAB_set_cell_word, at(7, 3), 42);
    send(TAB_set_row_word, MAKEWPARAM(0, 7), 9);
    EXPECT_EQ(TU_V({palette_colour == LRESULT(COL_value(&driver->colours, 1)), palette_index,
                    send(TAB_get_colour, at(7, 0)), send(TAB_get_palette_index, at(7, 0)),
                    send(TAB_get_cell_word, at(7, 3)), send(TAB_get_cell_word_by_index, at(0, 0)),
                    send(TAB_set_row_word, MAKEWPARAM(0, 99), 1), send(TAB_set_bitmap, at(7, 1), 434),
                    send(TAB_get_bitmap, at(7, 1)) != 0, send(TAB_set_bitmap, at(7, 1), 9999),
                    send(TAB_set_pattern, at(7, 2), 5), send(TAB_get_bitmap, at(7, 2)) != 0}),
              TU_V({1, 1, RGB(1, 2, 3), -1, 9, 9, 1, 1, 1, 0, 1, 1}));
    // The row form on a missing row appended it, without cells.
    EXPECT_EQ(TU_V({send(TAB_get_row_count), send(TAB_get_current_row_id), send(TAB_get_cell_word, at(99, 0))}),
              TU_V({2, 7, -1}));
    EXPECT_EQ(palette_name, driver->colours.entries[1].name);
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ(TU_V({send(TAB_set_kind, at(7, 0), 12), send(TAB_set_pattern, at(7, 0), 13),
                    WT_internal_errors("..\\swin\\tab")}),
              TU_V({0, 0, 2}));
    TU_clear_reports();
    // Selection by identifier, index and column; an unknown identifier gives row 0.
    for (int id = 100; id < 2100; id++)   // past the first row array and several index growths
        set(id, 0, "x");
    EXPECT_EQ(TU_V({send(TAB_get_row_count), send(TAB_select_row_id, 1500), send(TAB_get_current_row_index),
                    send(TAB_get_current_row_id), send(TAB_select_row_id, 5000), send(TAB_get_current_row_index),
                    send(TAB_select_row_index, 2002), send(TAB_select_row_index, 2001), send(TAB_get_current_row_id),
                    send(TAB_select_column, 3), send(TAB_select_column, 4), send(TAB_get_current_column)}),
              TU_V({2002, 1, 1402, 1500, 0, 0, 0, 1, 2099, 1, 0, 0}));
    // The current cell's rectangle in the parent's coordinates; a scrolled row shows in the middle.
    RECT r{};
    EXPECT_EQ(TU_V({send(TAB_show_row_index, MAKEWPARAM(0, 1000)), send(TAB_get_first_visible_row_index) > 990,
                    send(TAB_get_first_visible_row_id) == send(TAB_get_first_visible_row_index) + 98}),
              TU_V({1, 1, 1}));
    send(TAB_clear);
    EXPECT_EQ(TU_V({send(TAB_get_row_count), send(TAB_get_current_row_index), send(TAB_get_current_row_id),
                    send(TAB_get_current_cell_rect, 0, LPARAM(&r)), IsRectEmpty(&r), send(TAB_get_first_visible_row_id),
                    send(TAB_get_text_length, at(0xFFFF, 0)), set(3, 0, "znovu"), send(TAB_get_current_row_id)}),
              TU_V({0, 0, 0, 0, 1, -1, 5, 1, 3}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Tab, NotificationsFromKeysMouseAndFocus)
{
    send(TAB_show_footer, 1);
    for (int id = 1; id <= 3; id++)
        for (int c = 0; c < 2; c++)
            set(id, c, "buňka");
    set(0xFFFF, 1, "hlava");
    set(0xFFFE, 1, "pata");
    send(TAB_set_column_width, 0, 100);
    send(TAB_set_column_width, 1, 100);
    send(TAB_set_active, at(2, 1), 0);
    repaint();
    SetFocus(table);
    const LPARAM body = point(0, 1), inactive = point(1, 1), header = point(-1, 1), footer = point(-3, 1);
    send(TAB_select_row_index, 0), send(TAB_select_column, 0);
    codes();
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, body);       // moves there and clicks
    send(WM_LBUTTONDBLCLK, 0, body);
    send(WM_LBUTTONUP, 0, body);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, inactive);   // moves, no click of an inactive cell
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, header);
    send(WM_LBUTTONDBLCLK, 0, header);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, footer);
    send(WM_RBUTTONUP, 0, body), send(WM_RBUTTONDBLCLK, 0, body);
    send(WM_RBUTTONUP, 0, header), send(WM_RBUTTONDBLCLK, 0, footer);
    send(WM_MBUTTONUP, 0, body), send(WM_MBUTTONDBLCLK, 0, body);
    send(WM_MBUTTONUP, 0, header), send(WM_MBUTTONDBLCLK, 0, footer);
    EXPECT_EQ(codes(), (std::vector<int>{4, 1, 2, 4, 5, 6, 7, 10, 11, 14, 17, 12, 13, 18, 21}));
    EXPECT_EQ(TU_V({send(TAB_get_header_column), send(TAB_get_footer_column), send(TAB_get_current_row_index)}),
              TU_V({1, 1, 1}));
    RECT h{}, f{};
    send(TAB_get_header_cell_rect, 0, LPARAM(&h)), send(TAB_get_footer_cell_rect, 0, LPARAM(&f));
    EXPECT_TRUE(h.top < f.top && h.left == f.left && h.right - h.left == 100) << h.top << " " << f.top;
    // Keys on the inactive current cell, then on an active one; two modifiers are ignored.
    send(WM_KEYDOWN, VK_SPACE), send(WM_KEYDOWN, VK_INSERT);
    send(WM_KEYDOWN, VK_DOWN), send(WM_KEYDOWN, VK_SPACE), send(WM_KEYDOWN, VK_INSERT);
    send(WM_KEYDOWN, VK_DOWN);   // already the last row
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    send(WM_KEYDOWN, VK_UP);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    SetFocus(parent);
    SetFocus(table);
    EXPECT_EQ(codes(), (std::vector<int>{4, 3, 9, 23, 22}));
    // Multi-selection by Shift with the arrows and by Space.
    send(TAB_set_multi_selection, 1), send(TAB_set_row_selection, 1);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    send(WM_KEYDOWN, VK_UP), send(WM_KEYDOWN, VK_UP);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    int32_t ids[3] = {0, 0, 0};
    EXPECT_EQ(TU_V({send(TAB_count_selected), send(TAB_get_selected, WPARAM(ids), 0), ids[0], ids[1]}),
              TU_V({2, 2, 2, 3}));
    send(TAB_set_row_selection, 0);
    send(WM_KEYDOWN, VK_SPACE);
    int32_t columns[3] = {9, 9, 9};
    EXPECT_EQ(TU_V({send(TAB_get_selected, WPARAM(ids), LPARAM(columns)), ids[0], columns[0]}), TU_V({1, 1, 1}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Tab, RowsSortedByTwoPrioritiesOverMixedKinds)
{
    // Column 0: dates, first key; column 1: numbers, second key; column 2: check states, third key.
    const char *rows[][3] = {{"1.2.2024", "10", "a"}, {"5.1.2024", "x", "b"},     {"1.2.2024", "9", "c"},
                             {"nic", "3", "d"},        {"1.2.2024", "9", "e"},     {"5.1.2024", "2", "f"}};
    for (int i = 0; i < 6; i++)
        for (int c = 0; c < 3; c++)
            set(20 - i, c, rows[i][c]);
    send(TAB_set_state, at(16, 2), 1);   // "e" checked: before "c"
    send(TAB_set_column_sort_kind, 0, 11), send(TAB_set_column_sort_priority, 0, 1);
    send(TAB_set_column_sort_kind, 1, 6), send(TAB_set_column_sort_priority, 1, 2);
    send(TAB_set_column_sort_kind, 2, 5), send(TAB_set_column_sort_priority, 2, 3);
    send(TAB_select_row_id, 15);   // "f"
    repaint();
    // Dates first (no date before every date), then numbers ("x" passes over: earlier rows first), then states.
    EXPECT_EQ(column_texts(2), "d|b|f|e|c|a|");
    EXPECT_EQ(TU_V({send(TAB_get_current_row_id), send(TAB_get_current_row_index)}), TU_V({15, 2}));
    // Natural text order on the first key; a kind that is not supported is reported once per sort.
    send(TAB_set_column_sort_kind, 0, 3);
    send(TAB_set_column_sort_kind, 1, 7);
    send(TAB_set_text, at(14, 0), LPARAM("x10")), send(TAB_set_text, at(13, 0), LPARAM("x9"));
    repaint();
    EXPECT_EQ(column_texts(0).substr(0, 24), "1.2.2024|1.2.2024|1.2.20");
    EXPECT_EQ(column_texts(0).substr(45), "nic|x9|x10|");
    EXPECT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(WT_internal_errors("..\\swin\\tab_sort"), 1);
    TU_clear_reports();
    if (!WT_shots())
        return;
    // The table filled for a person to look at: header, footer, sorted rows, colours and check marks.
    const char *captions[] = {"Datum", "Číslo", "Název", "Barva", "Hotovo"};
    const int widths[] = {80, 50, 60, 120, 60};
    for (int c = 0; c < 5; c++)
        set(0xFFFF, c, captions[c]), send(TAB_set_column_width, c, widths[c]);
    send(TAB_show_footer, 1), set(0xFFFE, 0, "Celkem"), set(0xFFFE, 1, "6");
    send(TAB_set_column_sort_kind, 0, 11), send(TAB_set_column_sort_kind, 1, 6), send(TAB_set_column_format, 1, 2);
    for (int id = 15; id <= 20; id++) {
        send(TAB_set_kind, at(id, 3), TAB_COLOUR_TEXT), send(TAB_set_palette_colour, at(id, 3), id - 13);
        send(TAB_set_kind, at(id, 4), TAB_CHECK), send(TAB_set_state, at(id, 4), id % 2);
    }
    SetFocus(table);
    repaint();
    WT_picture("Tabulka: záhlaví, zápatí, řádky seřazené podle dvou klíčů, barvy a zaškrtnutí");
}

TEST_F(Tab, KeyboardSearchWithEachSwitch)
{
    const char *names[] = {"Alfa", "  &Beta", "Čáp", "cihla", "Cesta"};
    auto fill = [&] {
        for (int i = 0; i < 5; i++)
            set(i + 1, 0, names[i]);
        set(0xFFFF, 0, "Jméno");
        SetFocus(table);
    };
    auto type = [&](const char *keys) {
        for (const char *k = keys; *k; k++)
            *k == '\b' ? send(WM_KEYDOWN, VK_BACK) : send(WM_CHAR, static_cast<uint8_t>(*k));
        return std::to_string(send(TAB_get_current_row_id)) + ":" + text(0xFFFF, 0);
    };
    // Defaults: case and diacritics count; written to the store when missing.
    fill();
    EXPECT_EQ(type("c"), "4:c");
    EXPECT_EQ(type("x"), "4:c");     // nothing begins with "cx": taken off again
    EXPECT_EQ(type("\b"), "4:Jméno");  // empty: the search ends, the header comes back
    EXPECT_EQ(type("C"), "5:C");
    EXPECT_EQ(type("B"), "5:C");     // "&Beta" does not begin with "CB"
    send(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(type("B"), "5:Jméno");  // "&" counts
    send(TAB_set_search_strip_ampersand, 1);
    EXPECT_EQ(type("Be"), "2:Be");   // trimmed, "&" stripped
    send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(text(0xFFFF, 0), "Jméno");
    int16_t flags[2] = {0, 0};
    WCO_get_yes(WCO_system_store(), TAB_SETTINGS, "use_tooltips", &flags[0]);
    WCO_get_yes(WCO_system_store(), TAB_SETTINGS, "emphasize_cursor_line", &flags[1]);
    EXPECT_EQ(TU_V({flags[0], flags[1]}), TU_V({1, 0}));
    const char *case_key = "case_sensitive_keyboard_search", *czech_key = "czech_sensitive_keyboard_search";
    EXPECT_STREQ(WCO_get_text_ref(WCO_system_store(), TAB_SETTINGS, case_key), "Ano");
    EXPECT_STREQ(WCO_get_text_ref(WCO_system_store(), TAB_SETTINGS, czech_key), "Ano");
    // Case ignored: "C" finds "cihla" before "Cesta"; diacritics ignored too: "Čáp" first.
    const std::pair<int16_t, int16_t> switches[] = {{0, 1}, {0, 0}, {1, 0}};
    const char *expected[] = {"4:C", "3:C", "3:Ca"};
    const char *typed[] = {"C", "C", "Ca"};
    for (int i = 0; i < 3; i++) {
        DestroyWindow(table);
        WCO_set_yes(WCO_system_store(), TAB_SETTINGS, case_key, switches[i].first);
        WCO_set_yes(WCO_system_store(), TAB_SETTINGS, czech_key, switches[i].second);
        table = make();
        fill();
        EXPECT_EQ(type(typed[i]), expected[i]) << i;
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Tab, WidthsFittedResizedAndKeptInTheStore)
{
    RECT client;
    auto widths = [&] {
        TU_V w;
        for (int c = 0; c < send(TAB_get_column_count); c++)
            w.push_back(send(TAB_get_column_width, c));
        return w;
    };
    set(1, 0, "i"), set(1, 1, "WWWWWWWW"), set(0xFFFF, 2, "jen hlava");
    // Content widths: the body rows only.
    send(TAB_fit_columns_to_contents);
    const TU_V fitted = widths();
    EXPECT_TRUE(fitted.size() == 3 && fitted[0] > 2 && fitted[1] > 4 * fitted[0] && fitted[2] == 0) << fitted[1];
    // Weights 0 count as a sum of 1: the last column takes the rest; otherwise shared by weight.
    for (int c = 0; c < 3; c++)
        send(TAB_set_column_width, c, 0);
    send(TAB_set_auto_fit);
    repaint();
    GetClientRect(table, &client);
    EXPECT_EQ(widths(), TU_V({0, 0, client.right - 2}));
    send(TAB_set_column_width, 0, 1), send(TAB_set_column_width, 1, 3), send(TAB_set_column_width, 2, 4);
    repaint();
    const int share = client.right - 1;
    EXPECT_EQ(widths(), TU_V({share / 8, share * 3 / 8, share - share / 8 - share * 3 / 8 - 1}));
    // No section: neither load nor save; with one, saved when the table goes and read back.
    EXPECT_EQ(TU_V({send(TAB_load_column_widths), send(TAB_save_column_widths)}), TU_V({0, 0}));
    EXPECT_EQ(send(TAB_set_settings_section, 0, LPARAM(std::string(81, 's').c_str())), 0);
    EXPECT_EQ(WT_internal_errors("..\\swin\\tab"), 1);
    TU_clear_reports();
    send(TAB_set_settings_section, 0, LPARAM(WIDTHS));
    const TU_V saved = widths();
    DestroyWindow(table);
    int32_t stored[3] = {0, 0, 0};
    WCO_get_int32(WCO_system_store(), WIDTHS, "column_width_00", &stored[0]);
    WCO_get_int32(WCO_system_store(), WIDTHS, "column_width_01", &stored[1]);
    WCO_get_int32(WCO_system_store(), WIDTHS, "column_width_02", &stored[2]);
    EXPECT_EQ(TU_V({stored[0], stored[1], stored[2]}), saved);
    table = make();
    set(1, 3, "čtvrtý");
    send(TAB_set_settings_section, 0, LPARAM(WIDTHS));
    EXPECT_EQ(send(TAB_load_column_widths), 0);   // no column_width_03
    EXPECT_EQ(widths(), TU_V({saved[0], saved[1], saved[2], 10}));
    WCO_set_int32(WCO_system_store(), WIDTHS, "column_width_03", 33);
    EXPECT_EQ(TU_V({send(TAB_load_column_widths), send(TAB_get_column_width, 3)}), TU_V({1, 33}));
    // Dragging a header border resizes the column and locks the widths.
    send(TAB_set_column_width, 0, 60);
    repaint();
    RECT h;
    send(TAB_get_current_cell_rect, 0, LPARAM(&h));
    const int row_height = h.bottom - h.top;
    send(WM_LBUTTONDOWN, 0, MAKELPARAM(62, row_height / 2));
    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, row_height / 2));
    send(WM_LBUTTONUP, 0, MAKELPARAM(90, row_height / 2));
    EXPECT_EQ(TU_V({send(TAB_get_column_width, 0), send(TAB_set_column_width, 0, 10), send(TAB_get_column_width, 0)}),
              TU_V({90, 0, 90}));
    C_TAB *object = static_cast<C_TAB *>(C_CTL::from_window(table));
    set(1, 0, "velmi dlouhý text buňky");
    repaint();
    // A cell wider than its column shows its tooltip while the mouse rests on it (the timer looks).
    POINT over{10, row_height + row_height / 2}, away{10, 150};
    ClientToScreen(table, &over), ClientToScreen(table, &away);
    TU_V shown;
    for (POINT p : {over, away}) {
        SetCursorPos(p.x, p.y);
        send(WM_MOUSEMOVE, 0, MAKELPARAM(10, row_height + row_height / 2));
        shown.push_back(IsWindowVisible(object->tooltip));
        send(WM_TIMER, TAB_TIMER);
        shown.push_back(IsWindowVisible(object->tooltip));
    }
    send(WM_MOUSEMOVE, 0, MAKELPARAM(10, row_height + row_height / 2));
    send(WM_KEYDOWN, VK_DOWN);   // any other message hides it too
    shown.push_back(IsWindowVisible(object->tooltip));
    EXPECT_EQ(shown, TU_V({1, 1, 1, 0, 0}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Tab, PagingEndsWheelAndScrollBarsKeepTheViewInStep)
{
    for (int id = 1; id <= 50; id++)
        set(id, 0, "řádek"), set(id, 1, "druhý sloupec");
    send(TAB_set_column_width, 0, 100), send(TAB_set_column_width, 1, 1000);
    repaint();
    RECT cell, client;
    send(TAB_get_current_cell_rect, 0, LPARAM(&cell));
    GetClientRect(table, &client);
    const int h = cell.bottom - cell.top, visible = (client.bottom - h) / h, last_top = 50 - visible;
    auto view = [&](UINT m, WPARAM wp) {
        send(m, wp);
        return TU_V({send(TAB_get_current_row_index), send(TAB_get_first_visible_row_index)});
    };
    ASSERT_GT(visible, 3);
    EXPECT_EQ(view(WM_KEYDOWN, VK_NEXT), TU_V({visible - 1, 0}));
    EXPECT_EQ(view(WM_KEYDOWN, VK_DOWN), TU_V({visible, 1}));   // past the last visible row: one line
    EXPECT_EQ(view(WM_KEYDOWN, VK_END), TU_V({49, last_top}));
    EXPECT_EQ(view(WM_KEYDOWN, VK_PRIOR), TU_V({50 - visible, last_top}));
    EXPECT_EQ(view(WM_KEYDOWN, VK_HOME), TU_V({0, 0}));
    EXPECT_EQ(view(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA))), TU_V({0, 6}));   // three lines a notch
    EXPECT_EQ(view(WM_VSCROLL, SB_LINEUP), TU_V({0, 5}));
    EXPECT_EQ(view(WM_VSCROLL, SB_PAGEDOWN), TU_V({0, 5 + visible}));
    EXPECT_EQ(view(WM_VSCROLL, SB_BOTTOM), TU_V({0, last_top}));
    EXPECT_EQ(view(WM_MOUSEWHEEL, MAKEWPARAM(0, 100 * WHEEL_DELTA)), TU_V({0, 0}));
    // Sideways: the cells move left, at most until the last column ends at the client's edge.
    RECT moved, end;
    view(WM_HSCROLL, SB_LINEDOWN);
    send(TAB_get_current_cell_rect, 0, LPARAM(&moved));
    view(WM_HSCROLL, SB_BOTTOM);
    send(TAB_select_column, 1);
    send(TAB_get_current_cell_rect, 0, LPARAM(&end));
    POINT edge{client.right, 0};
    MapWindowPoints(table, parent, &edge, 1);
    EXPECT_EQ(TU_V({moved.left < cell.left, end.right}), TU_V({1, edge.x}));
    EXPECT_TRUE(TU_reports().empty());
}

// The report sink while a table paints: records, then repaints the table as
// a box's messages would (up to a depth), to find reports that come again.
WE_SINK recording = nullptr;
HWND repainted = nullptr;
int depth = 0;
int repainting_sink(const WE_REPORT *report)
{
    const int answer = recording(report);
    if (depth++ < 2)
        RedrawWindow(repainted, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    depth--;
    return answer;
}

TEST_F(Tab, ReportsWhilePaintingATinyBodyClearingLostCapturesAndShrinkingColumns)
{
    C_TAB *object = nullptr;
    auto fill = [&](int rows, int columns) {
        for (int id = 1; id <= rows; id++)
            for (int c = 0; c < columns; c++)
                set(id, c, std::to_string(rows - id).c_str());
    };
    const struct { const char *what; std::function<TU_V()> run; TU_V expected; } cases[] = {
        {"a sort kind not supported: one report however often the box repaints",
         [&] {
             fill(3, 2);
             send(TAB_set_column_sort_kind, 0, 7), send(TAB_set_column_sort_priority, 0, 1);
             repaint();
             return TU_V{WT_internal_errors("..\\swin\\tab_sort"), TU_count(WE_KIND_LOW_MEMORY)};
         },
         {1, 0}},
        {"no memory for a long sort: one report",
         [&] {
             fill(120, 1);
             send(TAB_set_column_sort_kind, 0, 1), send(TAB_set_column_sort_priority, 0, 1);
             WT_fail_allocation((120 / 2 + 2) * sizeof(int16_t), 4);   // the sort's work stack: two arrays a sort
             repaint();
             const int left = WT_failures_left();
             WT_fail_allocation(0, 0);
             return TU_V{WT_only_low_memory(1), left};
         },
         {1, 2}},
        {"a body lower than one row: the top row stays the last row",
         [&] {
             fill(3, 1);
             RECT cell;
             send(TAB_get_current_cell_rect, 0, LPARAM(&cell));
             MoveWindow(table, 0, 0, 404, cell.bottom - cell.top + 6, TRUE);   // the header and a strip
             TU_V got;   // after a wheel and after a line step from the top: the top row, its identifier
             for (UINT m : {UINT(WM_MOUSEWHEEL), UINT(WM_VSCROLL)}) {
                 send(WM_VSCROLL, SB_TOP);
                 send(m, m == WM_VSCROLL ? SB_LINEDOWN : MAKEWPARAM(0, static_cast<WORD>(-5 * WHEEL_DELTA)));
                 const LRESULT index = send(TAB_get_first_visible_row_index);
                 got.insert(got.end(), {index, index < 3 ? send(TAB_get_first_visible_row_id) : -2});
             }
             return got;
         },
         {2, 3, 1, 2}},
        {"cleared: no row left in its slot",
         [&] {
             fill(3, 1);
             send(TAB_clear);
             return TU_V{object->rows[0] == nullptr, object->rows[2] == nullptr};
         },
         {1, 1}},
        {"the capture taken away ends moving the current cell",
         [&] {
             fill(3, 2), send(TAB_set_column_width, 0, 100), send(TAB_set_column_width, 1, 100), repaint();
             TU_V got;
             for (UINT lost : {WM_CAPTURECHANGED, WM_CANCELMODE}) {
                 send(WM_LBUTTONDOWN, MK_LBUTTON, point(0, 0));
                 send(lost);
                 send(WM_MOUSEMOVE, MK_LBUTTON, point(1, 1));
                 got.push_back(send(TAB_get_current_row_index) * 10 + send(TAB_get_current_column));
             }
             return got;
         },
         {0, 0}},
        {"used columns recounted: a hidden footer does not count, clear and reset shrink them",
         [&] {
             fill(2, 5), set(0xFFFF, 4, "E"), set(0xFFFE, 5, "skryté");
             TU_V got{send(TAB_get_column_count)};
             send(TAB_clear), send(TAB_reset_header_footer);
             fill(2, 2);
             got.insert(got.end(), {send(TAB_get_column_count), send(TAB_get_column_width, 3)});
             return got;
         },
         {5, 2, 5}},
    };
    struct REPAINTING : C_GUARD {
        REPAINTING() { recording = WE_set_sink(repainting_sink); }
        ~REPAINTING() { WE_set_sink(recording); }
    } sink;
    for (const auto &c : cases) {
        DestroyWindow(table);
        ASSERT_NE(table = make(), nullptr);
        object = reinterpret_cast<C_TAB *>(GetWindowLongPtrA(table, 0));
        repainted = table;
        EXPECT_EQ(c.run(), c.expected) << c.what;
        TU_clear_reports();
    }
}

TEST_F(Tab, AllocationFailuresLeaveTheTableAsItWas)
{
    set(1, 0, "jedna");
    const char long_text[] = "text of exactly thirty-seven bytes...";
    struct {
        const char *what;
        size_t size;
        WPARAM address;
    } const cases[] = {
        {"row record", sizeof(TAB_ROW), at(2, 0)},
        {"cell record", sizeof(TAB_CELL), at(1, 1)},
        {"text", sizeof long_text, at(1, 0)},
        {"column records", 10 * sizeof(TAB_COLUMN), at(1, 9)},
        {"cell slots", 10 * sizeof(TAB_CELL *), at(1, 9)},
    };
    for (const auto &c : cases) {
        WT_fail_allocation(c.size);
        EXPECT_EQ(TU_V({send(TAB_set_text, c.address, LPARAM(long_text)), WT_failures_left(), WT_only_low_memory(1),
                        send(TAB_get_row_count), send(TAB_get_column_count), send(TAB_get_text_length, c.address)}),
                  TU_V({0, 0, 1, 1, 1, c.address == at(1, 0) ? 5 : 0}))
            << c.what;
        TU_clear_reports();
    }
    EXPECT_EQ(text(1, 0), "jedna");
    // The row array grows when the count reaches its capacity.
    for (int id = 2; id < 100; id++)
        set(id, 0, "x");
    WT_fail_allocation((100 + 20) * sizeof(TAB_ROW *));
    EXPECT_EQ(TU_V({set(100, 0, "x"), WT_only_low_memory(1), send(TAB_get_row_count), set(100, 0, "x"),
                    send(TAB_get_row_count), send(TAB_get_text_length, at(100, 0))}),
              TU_V({0, 1, 99, 1, 100, 1}));
    TU_clear_reports();
    // A table without memory for its rows is not made.
    WT_fail_allocation(100 * sizeof(TAB_ROW *));
    EXPECT_EQ(TU_V({make() == nullptr, WT_only_low_memory(1)}), TU_V({1, 1}));
}

}  // namespace
