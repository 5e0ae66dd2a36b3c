// The table print window: its settings, the filling operations and their
// refusals, the window rectangle, the layout on the PDF printer's page (the
// per-mille widths, page breaks, the texts before and after the table), the
// buttons and keys, real prints read back from their PDF files, and a
// machine on which a printer appears only while the window is open.
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <cstring>
#include <string>

#include "swin/prn_util.h"
#include "swin/tp.h"
#include "swin/wco.h"
#include "tests/testutil.h"
#include "tests/win/printutil.h"
#include "tests/win/winutil.h"

namespace {

const char SOURCE[] = "..\\swin\\tp";
const char *const HEADERS[3] = {"Číslo", "Název", "Popis"};

template <class F>
bool pump_until(F done)
{
    return WT_wait([&] {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        return done();
    }, 20000);
}

std::string stored(const char *key)
{
    const char *value = WCO_get_text_ref(WCO_system_store(), TP_SETTINGS, key);
    return value ? value : "(none)";
}

// The errors shown since the last clear, their texts joined by "|".
std::string errors()
{
    std::string all;
    for (const TU_REPORT &r : TU_reports())
        all += (r.kind == WE_KIND_ERROR ? "" : "?") + r.text + "|";
    TU_clear_reports();
    return all;
}

class Tp : public ::testing::Test {
protected:
    void SetUp() override
    {
        WCO_remove_section(WCO_system_store(), TP_SETTINGS);
        ASSERT_EQ(TP_create(&table), 1);
    }
    void TearDown() override
    {
        if (table && TP_window(table))
            TP_close_window(table);
        else
            TP_destroy(&table);
        WCO_remove_section(WCO_system_store(), TP_SETTINGS);
        EXPECT_EQ(errors(), "");
    }
    // A header and rows of three columns; every fifth description breaks into lines.
    void fill(int rows)
    {
        for (int c = 0; c < 3; c++)
            TP_set_header_cell(table, c, HEADERS[c]);
        TP_set_column_alignment(table, 0, TP_RIGHT);
        TP_set_column_weight(table, 0, 1), TP_set_column_weight(table, 1, 2), TP_set_column_weight(table, 2, 4);
        for (int r = 0; r < rows; r++) {
            const std::string n = std::to_string(r + 1);
            TP_set_cell(table, r, 0, n.c_str());
            TP_set_cell(table, r, 1, ("Položka " + n).c_str());
            TP_set_cell(table, r, 2, r % 5 ? "krátký popis"
                                           : "Dlouhý popis, který se do šířky sloupce nevejde a zalomí se do "
                                             "několika řádků: žluťoučký kůň úpěl ďábelské ódy.");
        }
    }
    int16_t open() { return TP_open_window(table, "Tisk tabulky", 42, "tabulka"); }
    void close()
    {
        TP_close_window(table);
        table = nullptr;   // the window took the object with it
    }
    // The number of rows the first page holds.
    int32_t first_page_rows()
    {
        int32_t top = 0, bottom = 0, page = 0, rows = 0;
        while (TP_get_row_layout(table, rows, &top, &bottom, &page) && page == 1)
            rows++;
        return rows;
    }
    HWND item(int id) { return GetDlgItem(TP_window(table), id); }
    TU_V states()   // page, pages, and whether the four printer buttons are enabled
    {
        return {TP_get_current_page(table), TP_get_page_count(table), IsWindowEnabled(item(TP_ID_PROPERTIES)),
                IsWindowEnabled(item(TP_ID_PRINT)), IsWindowEnabled(item(TP_ID_PREVIOUS)),
                IsWindowEnabled(item(TP_ID_NEXT))};
    }
    LRESULT key(WPARAM virtual_key) { return SendMessageA(TP_window(table), WM_KEYDOWN, virtual_key, 0); }
    LRESULT typed(char c) { return SendMessageA(TP_window(table), WM_CHAR, static_cast<uint8_t>(c), 0); }
    LRESULT click(int id)
    {
        return SendMessageA(TP_window(table), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(item(id)));
    }

    TEST_DRIVER driver;
    TP_table *table = nullptr;
};

class TpPrinter : public Tp {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(print_check::printer_ready());
        Tp::SetUp();
    }
};

// EndPage as the program imports it: records the print-cancel dialog's
// texts at each page and, after the first page, works off the messages
// until hold returns true.
IAT_PATCH *end_page_patch = nullptr;
std::function<bool()> hold;
std::vector<std::string> dialog_texts;   // "document|page"
int WINAPI held_end_page(HDC dc)
{
    const int result = reinterpret_cast<int(WINAPI *)(HDC)>(end_page_patch->original())(dc);
    char document[80] = "", page[80] = "";
    HWND dialog = WGD_driver ? WGD_driver->print_cancel_dialog : nullptr;
    GetDlgItemTextA(dialog, 100, document, sizeof document);
    GetDlgItemTextA(dialog, 101, page, sizeof page);
    dialog_texts.push_back(std::string(document) + "|" + page);
    if (hold) {
        pump_until(hold);
        hold = nullptr;
    }
    return result;
}
int WINAPI failed_start_page(HDC) { return SP_ERROR; }

// The printer list as the program asks for it, counted while a dialog is up;
// the properties and font dialogs as the program imports them: each tells
// the window of a settings change while it is up, as the system would, and
// is then cancelled.
IAT_PATCH *enum_patch = nullptr, *properties_patch = nullptr;
HWND dialog_owner = nullptr;
bool in_dialog = false;
int listed_in_dialog = 0;
BOOL WINAPI counted_enum_printers(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                                  LPDWORD returned)
{
    listed_in_dialog += in_dialog;
    return reinterpret_cast<decltype(&EnumPrintersA)>(enum_patch->original())(flags, name, level, buffer, size,
                                                                              needed, returned);
}
void settings_changed()
{
    in_dialog = true;
    SendMessageA(dialog_owner, WM_SETTINGCHANGE, 0, 0);
    in_dialog = false;
}
LONG WINAPI cancelled_properties(HWND owner, HANDLE printer, LPSTR name, PDEVMODEA out, PDEVMODEA in, DWORD mode)
{
    if (!(mode & DM_IN_PROMPT))   // the settings asked for, no dialog
        return reinterpret_cast<decltype(&DocumentPropertiesA)>(properties_patch->original())(owner, printer, name,
                                                                                             out, in, mode);
    settings_changed();
    return IDCANCEL;
}
BOOL WINAPI cancelled_font(LPCHOOSEFONTA)
{
    settings_changed();
    return FALSE;
}

}  // namespace

TEST_F(TpPrinter, SettingsWrittenWithTheirDefaultsTheFontOnlyOnceRead)
{
    const struct { const char *key, *value; } made[] = {
        {"left_margin", "0.000000"}, {"right_margin", "0.000000"}, {"top_margin", "0.000000"},
        {"bottom_margin", "0.000000"}, {"narrow_width", "0.200000"}, {"wide_width", "0.500000"},
        {"text_space_left", "0.300000"}, {"text_space_right", "0.300000"}, {"text_space_top", "0.300000"},
        {"text_space_bottom", "0.300000"}, {"autosave_settings", "Ano"}, {"maximized_window", "Ne"},
        {"font_height", "(none)"},
    };
    for (const auto &m : made)
        EXPECT_EQ(stored(m.key), m.value) << m.key;
    // Never opened: the stored font stays as it was.
    TP_destroy(&table);
    EXPECT_EQ(TU_V({table == nullptr, TP_destroy(&table)}), TU_V({1, 1}));
    EXPECT_EQ(stored("font_name"), "(none)");
    // Opened: the font keys are read (missing ones written with the default
    // font), and written again when the object goes unless autosave_settings
    // is "Ne". The font dialog confirmed as it is gives the font back in points.
    const struct { int16_t autosave; const char *face; } runs[] = {{0, nullptr}, {1, "Tahoma"}};
    for (const auto &run : runs) {
        WCO_set_yes(WCO_system_store(), TP_SETTINGS, "autosave_settings", run.autosave);
        WCO_set_int16(WCO_system_store(), TP_SETTINGS, "font_height", 12);
        if (run.face)   // a face of every prefix (the font dialog picks another when it has not the face)
            WCO_set_text(WCO_system_store(), TP_SETTINGS, "font_name", run.face);
        ASSERT_EQ(TP_create(&table), 1);
        ASSERT_EQ(open(), 1);
        const struct { const char *key, *value; } font[] = {
            {"font_height", "12"}, {"font_weight", "0"}, {"font_italic", "Ne"}, {"font_underline", "Ne"},
            {"font_strikeout", "Ne"}, {"font_charset", "238"}, {"font_name", run.face ? run.face : "Times New Roman"},
            {"font_color", "0, 0, 0,"},
        };
        for (const auto &f : font) {
            EXPECT_EQ(stored(f.key), f.value) << f.key;
            WCO_remove_key(WCO_system_store(), TP_SETTINGS, f.key);
        }
        if (run.face) {
            for (auto dialog : {std::pair<int, int>{TP_ID_FONT, IDOK}, {TP_ID_PROPERTIES, BOX_ANSWERER::ESC}}) {
                BOX_ANSWERER box("", dialog.second);
                click(dialog.first);
                EXPECT_TRUE(box.found()) << dialog.first;
            }
        }
        EXPECT_EQ(TU_V({TP_get_page_count(table), TP_get_current_page(table)}), TU_V({1, 1}));
        close();
        for (const auto &f : font) {
            const bool named = run.face && std::string(f.key) == "font_weight";   // the dialog names the normal weight
            EXPECT_EQ(stored(f.key), !run.autosave ? "(none)" : named ? "400" : f.value) << f.key;
        }
    }
}

TEST_F(Tp, FillingItsRefusalsAndTheWindowRectangle)
{
    TP_table *none = nullptr;
    TU_expect_failures(SOURCE, {TU_FAILS(TP_set_cell(table, -1, 0, "x")),
                                TU_FAILS(TP_set_cell(table, 0, TP_COLUMNS_MAX, "x")),
                                TU_FAILS(TP_set_cell(table, 0, 0, nullptr)), TU_FAILS(TP_set_cell(none, 0, 0, "x")),
                                TU_FAILS(TP_set_header_cell(table, -1, "x")),
                                TU_FAILS(TP_set_column_weight(table, 0, -1)),
                                TU_FAILS(TP_set_opening_text(table, nullptr)),
                                TU_FAILS(TP_set_margins(table, -1, 0, 0, 0)),
                                TU_FAILS(TP_set_window_rect(table, 0, 0, 0, 100)),
                                TU_FAILS(TP_close_window(none)), TU_FAILS(TP_destroy(nullptr))});
    // No memory for the first row slots: nothing is made.
    WT_fail_allocation(100 * sizeof(void *));
    EXPECT_EQ(TU_V({TP_create(&none), none == nullptr, WT_failures_left(), WT_only_low_memory(1)}), TU_V({0, 1, 0, 1}));
    TU_clear_reports();
    // Cells make their rows; an empty text empties a cell; columns count the widest row.
    EXPECT_EQ(TU_V({TP_set_cell(table, 4, 1, "b"), TP_set_cell(table, 4, 1, ""), TP_set_cell(table, 9, 0, ""),
                    TP_set_column_alignment(table, 5, TP_CENTRE), TP_get_column_count(table),
                    TP_set_opening_text(table, "Úvod"), TP_set_opening_text(table, ""), TP_close_window(table)}),
              TU_V({1, 1, 1, 1, 6, 1, 1, 0}));

    // The rectangle stays inside the work area.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int32_t w = work.right - work.left, h = work.bottom - work.top;
    const struct { int32_t x, y, width, height; TU_V got; } rects[] = {
        {work.left + 10, work.top + 20, 300, 200, {work.left + 10, work.top + 20, 300, 200}},
        {work.left + 100, work.top, w + 500, 200, {work.left + 100, work.top, w - 100, 200}},
        {work.left - 50, work.top - 50, 300, h + 50, {work.left, work.top, 300, h}},
        {work.right + 10, work.bottom, 300, 200, {work.right - 300, work.bottom - 200, 300, 200}},
    };
    for (const auto &r : rects) {
        int32_t got[4] = {};
        EXPECT_EQ(TP_set_window_rect(table, r.x, r.y, r.width, r.height), 1);
        TP_get_window_rect(table, &got[0], &got[1], &got[2], &got[3]);
        EXPECT_EQ(TU_V({got[0], got[1], got[2], got[3]}), r.got) << r.x << " " << r.width;
    }
    TP_set_window_rect(table, work.left + 100, work.top, w + 500, 300);
    for (int c = 0; c < 3; c++)
        TP_set_cell(table, 0, c, "x");
    ASSERT_EQ(open(), 1);
    errors();
    RECT shown;
    GetWindowRect(TP_window(table), &shown);
    int32_t top = 0, bottom = 0, page = 0;   // row 9, of an empty text only, is there
    EXPECT_EQ(TU_V({shown.left, shown.right, TP_get_caller_data(table), TP_get_row_layout(table, 9, &top, &bottom, &page)}),
              TU_V({work.left + 100, work.right, 42, print_check::printer_ready()}));
    EXPECT_STREQ(TP_get_table_name(table), "tabulka");

    // Once the window is open, the table is no longer filled.
    TU_expect_failures(SOURCE, {TU_FAILS(TP_set_cell(table, 0, 0, "y")), TU_FAILS(TP_set_header_cell(table, 0, "y")),
                                TU_FAILS(TP_set_column_weight(table, 0, 1)),
                                TU_FAILS(TP_set_column_alignment(table, 0, TP_LEFT)),
                                TU_FAILS(TP_set_closing_text(table, "y")),
                                TU_FAILS(TP_open_window(table, "", 0, ""))});
    // A command from a control that is not the window's.
    SendMessageA(TP_window(table), WM_COMMAND, MAKEWPARAM(99, BN_CLICKED), 0);
    EXPECT_EQ(WT_internal_errors(SOURCE), 1);
    TU_clear_reports();
}

TEST_F(TpPrinter, WeightsBecomePerMilleOfTheWidth)
{
    const struct { std::vector<int32_t> weights; TU_V mille; } cases[] = {
        {{1, 1, 1}, {333, 333, 334}},
        {{0, 0, 0}, {0, 0, 1000}},
        {{1, 2, 4}, {142, 285, 573}},
    };
    for (const auto &c : cases) {
        if (!table) {
            ASSERT_EQ(TP_create(&table), 1);
        }
        for (int32_t i = 0; i < 3; i++)
            TP_set_column_weight(table, i, c.weights[i]), TP_set_cell(table, 0, i, "buňka");
        ASSERT_EQ(open(), 1);
        int32_t got[3] = {}, box[4] = {}, top = 0, bottom = 0, page = 0;
        for (int32_t i = 0; i < 3; i++)
            TP_get_column_weight(table, i, &got[i]);
        EXPECT_EQ(TU_V({got[0], got[1], got[2]}), c.mille);
        EXPECT_EQ(TU_V({TP_get_column_weight(table, 3, &got[0]), TP_get_column_count(table),
                        TP_get_printable_box(table, &box[0], &box[1], &box[2], &box[3]),
                        TP_get_row_layout(table, 0, &top, &bottom, &page), page}),
                  TU_V({0, 3, 1, 1, 1}));
        // The box of a sheet of 2479 x 3508 pixels at 300 per inch, one millimetre in.
        EXPECT_EQ(TU_V({box[0], box[1], box[2] > 2300, box[3] > 3300}), TU_V({12, 12, 1, 1}));
        close();
    }
}

TEST_F(TpPrinter, PagesButtonsKeysAndAPrintWithItsHeaderOnEveryPage)
{
    // How many rows a page holds.
    fill(200);
    ASSERT_EQ(open(), 1);
    const int32_t rows = first_page_rows();
    ASSERT_GT(rows, 10);
    int32_t top = 0, bottom = 0, page = 0, box[4] = {};
    TP_get_printable_box(table, &box[0], &box[1], &box[2], &box[3]);
    TP_get_row_layout(table, rows, &top, &bottom, &page);
    const int32_t second_top = top;
    TP_get_row_layout(table, rows - 1, &top, &bottom, &page);
    EXPECT_LE(bottom, box[3]);
    EXPECT_GT(bottom + (bottom - top), box[3]) << "another row would have fitted";
    // The printer box, the buttons and their shares of the width.
    char text[80];
    GetWindowTextA(item(TP_ID_PRINTER), text, sizeof text);
    EXPECT_STREQ(text, "PDF");
    RECT client, r;
    GetClientRect(TP_window(table), &client);
    const char *captions[] = {"&Vlastnosti tiskárny", "&Font", "&Tisk!", "&Minulá strana", "&Další strana", "&Zavřít"};
    int32_t x = client.right * 28 / 100;
    for (int id = TP_ID_PROPERTIES; id <= TP_ID_CLOSE; id++) {
        GetWindowTextA(item(id), text, sizeof text);
        r = WT_rect_in(TP_window(table), item(id));
        EXPECT_STREQ(text, captions[id - 2]);
        EXPECT_EQ(TU_V({r.left, r.top, r.right - r.left}),
                  TU_V({x, 0, id < TP_ID_CLOSE ? client.right * 12 / 100 : client.right - x}));
        x = r.right;
    }
    // Keys and typed letters leaf through the pages.
    const int32_t pages = TP_get_page_count(table);
    ASSERT_GE(pages, 3);
    key(VK_PRIOR);
    EXPECT_EQ(states(), TU_V({1, pages, 1, 1, 0, 1}));
    key(VK_NEXT), typed('d'), typed('\xEF');   // Page Down, "d", "ď"
    EXPECT_EQ(TP_get_current_page(table), 4 <= pages ? 4 : pages);
    key(VK_END);
    EXPECT_EQ(states(), TU_V({pages, pages, 1, 1, 1, 0}));
    key(VK_HOME), key(VK_NEXT), typed('M');
    EXPECT_EQ(TP_get_current_page(table), 1);
    close();

    // Rows that fill exactly one page, then one row more; a short closing
    // text after a full page goes onto a page of its own.
    const struct { int32_t rows; const char *closing; int32_t pages; } cases[] = {
        {rows, "", 1}, {rows, "Konec tabulky.", 2}, {rows + 1, "", 2},   // the last stays open
    };
    for (const auto &c : cases) {
        ASSERT_EQ(TP_create(&table), 1);
        fill(c.rows);
        TP_set_closing_text(table, c.closing);
        ASSERT_EQ(open(), 1);
        EXPECT_EQ(states(), TU_V({1, c.pages, 1, 1, 0, c.pages > 1}));
        if (c.rows > rows) {
            TP_get_row_layout(table, rows, &top, &bottom, &page);
            EXPECT_EQ(TU_V({page, top}), TU_V({2, second_top}));
        }
        if (&c != &cases[2])
            close();
    }
    click(TP_ID_NEXT);
    EXPECT_EQ(states(), TU_V({2, 2, 1, 1, 1, 0}));
    // Printed: two pages in the PDF, each with the header; the print-cancel
    // dialog names the document and the page.
    const std::set<std::string> before = print_check::pdf_files();
    IAT_PATCH patch("GDI32.dll", "EndPage", reinterpret_cast<void *>(held_end_page));
    ASSERT_TRUE(patch.active());
    end_page_patch = &patch;
    dialog_texts.clear();
    EXPECT_EQ(TU_V({TP_print(table), TP_get_current_page(table), IsWindowEnabled(TP_window(table))}), TU_V({1, 2, 1}));
    EXPECT_EQ(dialog_texts,
              (std::vector<std::string>{"TOREVAN - Tisk tabulky|Strana 1 z 2", "TOREVAN - Tisk tabulky|Strana 2 z 2"}));
    const std::string pdf = print_check::new_pdf(before);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(print_check::pdf_pages(pdf), 2);
    const std::string printed = print_check::pdf_text(pdf);
    const size_t feed = printed.find('\f');
    ASSERT_NE(feed, std::string::npos);
    const std::string first = printed.substr(0, feed), second = printed.substr(feed + 1);
    for (const char *header : HEADERS) {
        EXPECT_NE(first.find(header), std::string::npos) << header;
        EXPECT_NE(second.find(header), std::string::npos) << header;
    }
    EXPECT_NE(first.find("1/2"), std::string::npos);
    EXPECT_NE(second.find("2/2"), std::string::npos);
    EXPECT_NE(first.find("Položka 1 "), std::string::npos);
    EXPECT_NE(second.find("Položka " + std::to_string(rows + 1)), std::string::npos);
    EXPECT_NE(first.find("žluťoučký"), std::string::npos);

    // Cancelled in the dialog: no error; a page the printer refuses: "Chyba tiskárny!".
    {
        BOX_ANSWERER cancel("Zrušení tisku", 1);
        hold = [] { return PRN_cancelled() == 1; };
        EXPECT_EQ(TP_print(table), 0);
        EXPECT_EQ(errors(), "");
    }
    end_page_patch = nullptr;
    IAT_PATCH refused("GDI32.dll", "StartPage", reinterpret_cast<void *>(failed_start_page));
    EXPECT_EQ(TU_V({TP_print(table), IsWindowEnabled(TP_window(table))}), TU_V({0, 1}));
    EXPECT_EQ(errors(), "Chyba tiskárny!|");
    if (WT_shots()) {   // for a person to look at: the first page with margins, in a large window
        TP_set_window_rect(table, 0, 0, 4000, 4000);
        TP_set_margins(table, 20, 15, 15, 15);
        key(VK_HOME);
        WT_picture("Náhled tisku tabulky");
    }
}

TEST_F(TpPrinter, DialogsKeepTheSettingsThePickedPrinterGivesTheKeysBackAndTheSystemMenuCloses)
{
    IAT_PATCH listing("WINSPOOL.DRV", "EnumPrintersA", reinterpret_cast<void *>(counted_enum_printers));
    IAT_PATCH properties("WINSPOOL.DRV", "DocumentPropertiesA", reinterpret_cast<void *>(cancelled_properties));
    IAT_PATCH font("COMDLG32.dll", "ChooseFontA", reinterpret_cast<void *>(cancelled_font));
    ASSERT_TRUE(listing.active() && properties.active() && font.active());
    enum_patch = &listing, properties_patch = &properties;
    const struct { const char *what; std::function<void()> act; TU_V expected; } cases[] = {
        // printers listed while the dialog was up, the window there, the focus on it
        {"a settings change while the properties are up", [&] { click(TP_ID_PROPERTIES); }, {0, 1, 1}},
        {"a settings change while the font dialog is up", [&] { click(TP_ID_FONT); }, {0, 1, 1}},
        {"a printer picked in the list",
         [&] {
             SetFocus(item(TP_ID_PRINTER));
             SendMessageA(TP_window(table), WM_COMMAND, MAKEWPARAM(TP_ID_PRINTER, CBN_SELCHANGE),
                          LPARAM(item(TP_ID_PRINTER)));
         },
         {0, 1, 1}},
        {"the system menu's Close", [&] { SendMessageA(TP_window(table), WM_SYSCOMMAND, SC_CLOSE, 0); }, {0, 0, 0}},
    };
    fill(3);
    ASSERT_EQ(open(), 1);
    const HWND window = TP_window(table);
    dialog_owner = window;
    for (const auto &c : cases) {
        listed_in_dialog = 0;
        c.act();
        EXPECT_EQ(TU_V({listed_in_dialog, IsWindow(window), GetFocus() == window}), c.expected) << c.what;
    }
    table = nullptr;   // the window took the object with it
    enum_patch = properties_patch = nullptr;
}

TEST_F(TpPrinter, TextsTooTallForAPageAreDroppedWithTheirMessages)
{
    std::string tall;
    for (int i = 0; i < 300; i++)
        tall += "Úvodní řádek " + std::to_string(i) + "\n";
    fill(200);
    TP_set_opening_text(table, tall.c_str());
    TP_set_closing_text(table, tall.c_str());
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(errors(), "Příliš dlouhý úvodní text!|Příliš dlouhý závěrečný text!|");
    // The first rows start at the top, where the rows of every later page start.
    int32_t top = 0, bottom = 0, page = 0, later = 0;
    const int32_t rows = first_page_rows();
    TP_get_row_layout(table, rows, &later, &bottom, &page);
    TP_get_row_layout(table, 0, &top, &bottom, &page);
    EXPECT_EQ(TU_V({top, page}), TU_V({later, 1}));
    // Dropped for good: another layout says nothing.
    EXPECT_EQ(TP_lay_out(table), 1);
    EXPECT_EQ(errors(), "");
}

TEST_F(Tp, NoPrinterUntilOneAppears)
{
    fill(200);
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(errors(), "Tabulku nelze vykreslit - není definovaná tiskárna|");
    char text[80];
    GetWindowTextA(item(TP_ID_PRINTER), text, sizeof text);
    EXPECT_STREQ(text, "Žádná tiskárna nenalezena!");
    EXPECT_EQ(states(), TU_V({1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(TU_V({IsWindowEnabled(item(TP_ID_FONT)), TP_print(table), TP_lay_out(table)}), TU_V({1, 0, 0}));
    click(TP_ID_FONT);
    EXPECT_EQ(errors(), "Tabulku nelze vykreslit - není definovaná tiskárna|Není vybraná žádná tiskárna|");

    // A printer of the spooler (Wine's PostScript driver with the PDF
    // queue's description) made the default; the window hears of it.
    char ppd[MAX_PATH] = "";
    DWORD size = 0;
    ASSERT_TRUE(GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE *>(ppd), sizeof ppd, &size));
    std::strcat(ppd, "\\3\\Tabulky.ppd");
    ASSERT_TRUE(CopyFileA("Z:\\usr\\share\\ppd\\cups-pdf\\CUPS-PDF_opt.ppd", ppd, FALSE));
    DRIVER_INFO_3A driver_info{};
    driver_info.cVersion = 3;
    driver_info.pName = const_cast<char *>("Tabulky");
    driver_info.pDriverPath = const_cast<char *>("wineps.drv");
    driver_info.pConfigFile = const_cast<char *>("wineps.drv");
    driver_info.pDataFile = const_cast<char *>("Tabulky.ppd");
    ASSERT_TRUE(AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE *>(&driver_info))) << GetLastError();
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char *>("Tabulky");
    info.pPortName = const_cast<char *>("CUPS:PDF");
    info.pDriverName = const_cast<char *>("Tabulky");
    info.pPrintProcessor = const_cast<char *>("WinPrint");
    info.pDatatype = const_cast<char *>("RAW");
    HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE *>(&info));
    ASSERT_NE(added, nullptr) << GetLastError();
    EXPECT_TRUE(SetDefaultPrinterA("Tabulky"));
    SendMessageA(TP_window(table), WM_SETTINGCHANGE, 0, 0);
    GetWindowTextA(item(TP_ID_PRINTER), text, sizeof text);
    EXPECT_STREQ(text, "Tabulky");
    const int32_t pages = TP_get_page_count(table);
    EXPECT_GE(pages, 3);
    EXPECT_EQ(states(), TU_V({1, pages, 1, 1, 0, 1}));
    key(VK_NEXT);
    EXPECT_EQ(states(), TU_V({2, pages, 1, 1, 1, 1}));
    close();
    EXPECT_TRUE(DeletePrinter(added));
    ClosePrinter(added);
    EXPECT_TRUE(DeletePrinterDriverA(nullptr, nullptr, const_cast<char *>("Tabulky")));
    DeleteFileA(ppd);
}
