#include "swin/tp.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/cz.h"
#include "common/mm.h"
#include "common/st.h"
#include "swin/key.h"
#include "swin/prn_util.h"
#include "swin/wco.h"
#include "swin/ctl.h"
#include "swin/wgd.h"
#include "swin2/bw.h"
#include "swin2/scr.h"
#include "win/guard.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\tp";

namespace {

const int32_t ROWS_FIRST = 100;      // row slots of a new object
const int32_t ROWS_STEP = 20;        // slots a full row array grows by at first
const int32_t COLUMNS_FIRST = 8;     // column records of a new object
const int32_t MEASURE_MAX = 2048;    // characters measured at a time when breaking a line
const int32_t DESK = 12;             // screen pixels of desk around the previewed page
const int32_t SHADOW = 4;            // screen pixels of the page's shadow
const int32_t RESIZE_ZONE = 3;       // screen pixels either side of a column border that take the mouse
const int32_t LIST_HEIGHT = 200;     // pixels of the printer box's dropped list
const int32_t COMBO_SHARE = 28;      // per cent of the client width
const int32_t BUTTON_SHARE = 12;
const double MM_PER_INCH = 25.4;
const double LENGTH_MAX = 1000.0;        // a stored length beyond is taken as unreadable

const char NO_PRINTER_FOUND[] = "Žádná tiskárna nenalezena!";
const char NO_PRINTER[] = "Tabulku nelze vykreslit - není definovaná tiskárna";
const char NONE_SELECTED[] = "Není vybraná žádná tiskárna";
const char PRINTER_ERROR[] = "Chyba tiskárny!";
const char OPENING_TOO_LONG[] = "Příliš dlouhý úvodní text!";
const char CLOSING_TOO_LONG[] = "Příliš dlouhý závěrečný text!";
const char DOCUMENT[] = "TOREVAN - Tisk tabulky";
const char PAGE_TEXT[] = "Strana %d z %d";
const char PAGE_NUMBER[] = "%d/%d";

const char FONT_FACE[] = "Times New Roman";
const int32_t FONT_HEIGHT = 16;
const BYTE CENTRAL_EUROPE = 238;

// The buttons left to right; the last takes the rest of the width.
struct BUTTON {
    int32_t id;
    const char *text;
};
const BUTTON BUTTONS[] = {
    {TP_ID_PROPERTIES, "&Vlastnosti tiskárny"}, {TP_ID_FONT, "&Font"}, {TP_ID_PRINT, "&Tisk!"},
    {TP_ID_PREVIOUS, "&Minulá strana"},         {TP_ID_NEXT, "&Další strana"}, {TP_ID_CLOSE, "&Zavřít"},
};
const int32_t BUTTON_COUNT = sizeof BUTTONS / sizeof BUTTONS[0];

// Settings read when the object is made: key, default.
struct LENGTH_KEY {
    const char *key;
    double fallback;
};

}  // namespace

// A row: its cells and where the last layout put it.
struct TP_ROW {
    int32_t top, bottom, height, page;
    char **cells;     // MM_alloc array of count owned texts; null = an empty cell
    int32_t count;
};

struct TP_COLUMN {
    uint16_t alignment;
    int32_t width;    // pixels of the last layout
    int32_t weight;   // as set; per mille of the width once the window is open
    int32_t left, right;
};

// A printer's page: the printable area and the sheet around it, in its pixels.
struct TP_MEASURES {
    int32_t width, height;            // printable area
    int32_t dpi_x, dpi_y;
    int32_t page_width, page_height;  // the sheet
    int32_t offset_x, offset_y;       // the printable area's corner on the sheet
};

// The object is the window's object (swin2/bw.h): it is made before its
// window and, once TP_open_window has succeeded, deleted when the window is.
struct TP_table : C_BW {
    ~TP_table() override;
    LRESULT paint() override;
    LRESULT erase_background(HDC dc) override;
    LRESULT size(int32_t width, int32_t height, int32_t kind) override;
    LRESULT move(int32_t x, int32_t y) override;
    LRESULT command(WPARAM wparam, LPARAM lparam) override;
    LRESULT scroll(int16_t vertical, int32_t code, int16_t position) override;
    int16_t key_command(int16_t code) override;
    void system_close() override;   // the close box, the system menu's Close, Alt+F4
    int16_t activated() override;
    void destroyed() override;
    LRESULT default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam) override;

    int32_t caller_data = 0;
    char table_name[TP_NAME_MAX + 1] = "";
    HCURSOR resize_cursor = nullptr;  // over a column border (a shared system cursor)
    HWND combo = nullptr;
    HWND buttons[BUTTON_COUNT] = {};
    int32_t combo_width = 0, button_widths[BUTTON_COUNT] = {}, control_height = 0;

    char **printers = nullptr;        // PRN_list_printers
    int16_t printer_count = 0;
    int16_t selected = -1;            // index into printers
    DEVMODEA *mode = nullptr;         // the selected printer's, MM_alloc
    C_DC information;                 // the selected printer's information context with mode

    TP_MEASURES measures{};
    LOGFONTA font{};                  // lfHeight in screen pixels (negative: character height)
    COLORREF colour = 0;
    int16_t font_read = 0;            // the font keys were read (the window was opened)
    int32_t screen_dpi_x = 96, screen_dpi_y = 96;
    C_GDI<HFONT> preview_font, preview_bold;   // for the printer's pixels

    int32_t pages = 1, page = 1;
    double narrow_mm = 0.2, wide_mm = 0.5;
    double space_mm[4] = {0.3, 0.3, 0.3, 0.3};   // left, right, top, bottom
    int16_t autosave = 1, maximized = 0;
    int32_t narrow = 1, wide = 1, space_left = 0, space_right = 0, space_top = 0, space_bottom = 0;
    RECT box{0, 0, 0, 0};
    int16_t laid_out = 0;

    TP_ROW header{};
    TP_ROW **rows = nullptr;
    int32_t row_count = 0, row_capacity = 0;
    TP_COLUMN *columns = nullptr;
    int32_t column_count = 0, column_capacity = 0;
    char *opening = nullptr, *closing = nullptr;
    int32_t opening_height = 0, closing_height = 0, number_height = 0;
    int32_t closing_top = 0, closing_page = 0;
    double margins[4] = {0, 0, 0, 0};   // left, right, top, bottom

    int16_t open = 0;             // the window exists: no more filling
    int16_t owned = 0;            // the window owns the object
    int16_t busy = 0;             // a print job or a dialog on the settings runs (messages are dispatched)
    int16_t close_pending = 0;    // closed meanwhile: closes after it
    int16_t change_pending = 0;   // printers changed meanwhile: renewed after it
    int32_t drag = -1;            // the column whose right border the mouse moves
};

namespace {

// ---- rows, cells and columns ----

void free_row(TP_ROW *row)
{
    for (int32_t i = 0; i < row->count; i++)
        ST_free(&row->cells[i]);
    MM_free(row->cells, SRC, __LINE__);
    row->cells = nullptr;
    row->count = 0;
}

// The text into the cell (grown to the column); the row as it was on failure.
int16_t set_row_cell(TP_ROW *row, int32_t column, const char *text)
{
    if (!text[0] && column >= row->count)
        return 1;
    char *copy = nullptr;
    if (text[0] && !ST_dup(text, &copy))
        return 0;   // reported by ST_dup
    if (column >= row->count) {
        char **cells = static_cast<char **>(MM_alloc(column + 1, sizeof(char *), SRC, __LINE__));
        if (!cells) {
            WE_low_memory();
            ST_free(&copy);
            return 0;
        }
        if (row->count)
            std::memcpy(cells, row->cells, sizeof(char *) * static_cast<size_t>(row->count));
        MM_free(row->cells, SRC, __LINE__);
        row->cells = cells;
        row->count = column + 1;
    }
    ST_free(&row->cells[column]);
    row->cells[column] = copy;
    return 1;
}

const char *cell_text(const TP_ROW *row, int32_t column)
{
    return column < row->count && row->cells[column] ? row->cells[column] : "";
}

// Rows up to index made (empty); nothing changes on failure.
int16_t make_rows(TP_table *t, int32_t index)
{
    if (index < t->row_count)
        return 1;
    if (index >= t->row_capacity) {
        // By ROWS_STEP at first, then by what has been added beyond the first
        // slots, so that filling a long table copies each pointer only a few times.
        const int32_t step = t->row_capacity - ROWS_FIRST > ROWS_STEP ? t->row_capacity - ROWS_FIRST : ROWS_STEP;
        int32_t capacity = t->row_capacity + step;
        if (capacity <= index)
            capacity = index + 1;
        TP_ROW **rows = static_cast<TP_ROW **>(MM_alloc(capacity, sizeof(TP_ROW *), SRC, __LINE__));
        if (!rows) {
            WE_low_memory();
            return 0;
        }
        if (t->row_count)
            std::memcpy(rows, t->rows, sizeof(TP_ROW *) * static_cast<size_t>(t->row_count));
        MM_free(t->rows, SRC, __LINE__);
        t->rows = rows;
        t->row_capacity = capacity;
    }
    const int32_t before = t->row_count;
    while (t->row_count <= index) {
        TP_ROW *row = static_cast<TP_ROW *>(MM_alloc(1, sizeof(TP_ROW), SRC, __LINE__));
        if (!row) {
            WE_low_memory();
            while (t->row_count > before)
                MM_free(t->rows[--t->row_count], SRC, __LINE__);
            return 0;
        }
        t->rows[t->row_count++] = row;
    }
    return 1;
}

// Column records up to count (alignment left and top, weight 1).
int16_t make_columns(TP_table *t, int32_t count)
{
    if (count <= t->column_count)
        return 1;
    if (count > t->column_capacity) {
        int32_t capacity = t->column_capacity * 2;
        if (capacity < count)
            capacity = count;
        TP_COLUMN *columns = static_cast<TP_COLUMN *>(MM_alloc(capacity, sizeof(TP_COLUMN), SRC, __LINE__));
        if (!columns) {
            WE_low_memory();
            return 0;
        }
        if (t->column_count)
            std::memcpy(columns, t->columns, sizeof(TP_COLUMN) * static_cast<size_t>(t->column_count));
        MM_free(t->columns, SRC, __LINE__);
        t->columns = columns;
        t->column_capacity = capacity;
    }
    for (int32_t i = t->column_count; i < count; i++)
        t->columns[i] = TP_COLUMN{TP_LEFT | TP_TOP, 0, 1, 0, 0};
    t->column_count = count;
    return 1;
}

// A filling operation's preconditions.
bool fillable(const TP_table *t, int line)
{
    if (t && !t->open)
        return true;
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

bool column_ok(int32_t column) { return column >= 0 && column < TP_COLUMNS_MAX; }

int16_t set_text(TP_table *t, char **field, const char *text, int line)
{
    if (!fillable(t, line))
        return 0;
    if (!text) {
        WE_internal_error(SRC, static_cast<int16_t>(line));
        return 0;
    }
    char *copy = nullptr;
    if (text[0] && !ST_dup(text, &copy))
        return 0;
    ST_free(field);
    *field = copy;
    return 1;
}

// ---- settings ----

void read_length(WCO_file *store, const char *key, double fallback, double *field)
{
    double value = 0;
    if (WCO_get_double(store, TP_SETTINGS, key, &value) && value >= 0 && value <= LENGTH_MAX) {
        *field = value;
        return;
    }
    *field = fallback;
    WCO_set_double(store, TP_SETTINGS, key, fallback);
}

void read_flag(WCO_file *store, const char *key, int16_t fallback, int16_t *field)
{
    int16_t flag = 0;
    if (WCO_get_yes(store, TP_SETTINGS, key, &flag)) {
        *field = flag ? 1 : 0;
        return;
    }
    *field = fallback;
    WCO_set_yes(store, TP_SETTINGS, key, fallback);
}

void read_settings(TP_table *t)
{
    WCO_file *store = WCO_system_store();
    if (!store)
        return;
    const LENGTH_KEY margin_keys[4] = {{"left_margin", 0}, {"right_margin", 0}, {"top_margin", 0}, {"bottom_margin", 0}};
    for (int i = 0; i < 4; i++)
        read_length(store, margin_keys[i].key, margin_keys[i].fallback, &t->margins[i]);
    read_length(store, "narrow_width", 0.2, &t->narrow_mm);
    read_length(store, "wide_width", 0.5, &t->wide_mm);
    const char *space_keys[4] = {"text_space_left", "text_space_right", "text_space_top", "text_space_bottom"};
    for (int i = 0; i < 4; i++)
        read_length(store, space_keys[i], 0.3, &t->space_mm[i]);
    read_flag(store, "autosave_settings", 1, &t->autosave);
    read_flag(store, "maximized_window", 0, &t->maximized);
}

// The default font, then the font keys over it (missing ones written).
void read_font(TP_table *t)
{
    LOGFONTA f{};
    f.lfHeight = -FONT_HEIGHT;
    f.lfCharSet = CENTRAL_EUROPE;
    ST_copy(f.lfFaceName, FONT_FACE, LF_FACESIZE - 1);
    t->colour = RGB(0, 0, 0);
    if (WCO_file *store = WCO_system_store()) {
        SCR_read_font_section(store, TP_SETTINGS, "", &f);
        WCO_RGB rgb{};
        if (WCO_get_rgb(store, TP_SETTINGS, "font_color", &rgb))
            t->colour = RGB(rgb.red, rgb.green, rgb.blue);
        else
            WCO_set_rgb(store, TP_SETTINGS, "font_color", &rgb);
    }
    t->font = f;
    t->font_read = 1;
}

void save_font(const TP_table *t)
{
    WCO_file *store = WCO_system_store();
    if (!store)
        return;
    const LOGFONTA &f = t->font;
    WCO_set_int16(store, TP_SETTINGS, "font_height", static_cast<int16_t>(f.lfHeight < 0 ? -f.lfHeight : f.lfHeight));
    WCO_set_int32(store, TP_SETTINGS, "font_weight", f.lfWeight);
    WCO_set_yes(store, TP_SETTINGS, "font_italic", f.lfItalic ? 1 : 0);
    WCO_set_yes(store, TP_SETTINGS, "font_underline", f.lfUnderline ? 1 : 0);
    WCO_set_yes(store, TP_SETTINGS, "font_strikeout", f.lfStrikeOut ? 1 : 0);
    WCO_set_int16(store, TP_SETTINGS, "font_charset", f.lfCharSet);
    WCO_set_text(store, TP_SETTINGS, "font_name", f.lfFaceName);
    WCO_RGB rgb{GetRValue(t->colour), GetGValue(t->colour), GetBValue(t->colour), ""};
    WCO_set_rgb(store, TP_SETTINGS, "font_color", &rgb);
}

// ---- measuring and breaking text ----

int32_t line_height(HDC dc)
{
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int32_t height = metrics.tmHeight + metrics.tmExternalLeading;
    return height > 0 ? height : 1;
}

// Breaks the text for width pixels in the font selected into dc: at its line
// ends, after the last blank that fits, else within a word longer than the
// width (at least one character a line); line(start, length) for each line.
// The number of lines, at least 1.
template <class F>
int32_t break_lines(HDC dc, const char *text, int32_t width, F &&line)
{
    if (width < 1)
        width = 1;
    int32_t lines = 0;
    const char *p = text;
    for (;;) {
        const char *end = p;
        while (*end && *end != '\n' && *end != '\r')
            end++;
        const int32_t n = static_cast<int32_t>(end - p);
        int32_t at = 0;
        do {
            const int32_t rest = n - at;
            const int32_t measured = rest < MEASURE_MAX ? rest : MEASURE_MAX;
            int fit = measured;
            SIZE extent{0, 0};
            if (measured > 0 && !GetTextExtentExPointA(dc, p + at, measured, width, &fit, nullptr, &extent))
                fit = measured;
            int32_t take = rest, next = n;
            if (fit < rest) {
                // p[at + fit] is the first character that does not fit: a blank there ends the line too.
                int32_t blank = 0;
                for (int32_t i = fit; i > 0 && !blank; i--)
                    if (p[at + i] == ' ')
                        blank = i;
                if (blank) {
                    take = blank;
                    while (take > 0 && p[at + take - 1] == ' ')
                        take--;
                    next = at + blank;
                    while (next < n && p[next] == ' ')
                        next++;
                } else {
                    take = fit > 0 ? fit : 1;
                    next = at + take;
                }
            }
            line(p + at, take);
            lines++;
            at = next;
        } while (at < n);
        if (!*end)
            return lines;
        p = end + (end[0] == '\r' && end[1] == '\n' ? 2 : 1);
    }
}

int32_t count_lines(HDC dc, const char *text, int32_t width)
{
    return break_lines(dc, text, width, [](const char *, int32_t) {});
}

// Draws the text into the cell inside the text spacings, aligned by the
// alignment word, clipped between the spacings left and right.
void draw_text(const TP_table *t, HDC dc, const char *text, const RECT &cell, uint16_t alignment, int32_t height)
{
    if (!text[0])
        return;
    const RECT inner{cell.left + t->space_left, cell.top + t->space_top, cell.right - t->space_right,
                     cell.bottom - t->space_bottom};
    const RECT clip{inner.left, cell.top, inner.right, cell.bottom};
    const int32_t width = inner.right - inner.left;
    int32_t y = inner.top;
    if (alignment & (TP_MIDDLE | TP_BOTTOM)) {
        const int32_t room = inner.bottom - inner.top - count_lines(dc, text, width) * height;
        if (room > 0)
            y += alignment & TP_BOTTOM ? room : room / 2;
    }
    break_lines(dc, text, width, [&](const char *line, int32_t length) {
        if (y < clip.bottom && length > 0) {
            int32_t x = inner.left;
            if (alignment & (TP_CENTRE | TP_RIGHT)) {
                SIZE extent{0, 0};
                GetTextExtentPoint32A(dc, line, length, &extent);
                const int32_t room = width - extent.cx;
                if (room > 0)
                    x += alignment & TP_RIGHT ? room : room / 2;
            }
            ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, line, static_cast<UINT>(length), nullptr);
        }
        y += height;
    });
}

// ---- printers ----

const char *selected_name(const TP_table *t)
{
    return t->selected >= 0 && t->selected < t->printer_count ? t->printers[t->selected] : nullptr;
}

// The printer named by the default-device profile entry ("name,driver,port"), or -1.
int16_t default_printer(const TP_table *t)
{
    char entry[PRN_NAME_MAX + 80] = "";
    GetProfileStringA("windows", "device", "", entry, sizeof entry);
    if (char *comma = std::strchr(entry, ','))
        *comma = 0;
    ST_trim(entry);
    for (int16_t i = 0; entry[0] && i < t->printer_count; i++)
        if (!lstrcmpiA(t->printers[i], entry))
            return i;
    return -1;
}

bool take_measures(HDC dc, TP_MEASURES *m)
{
    m->width = GetDeviceCaps(dc, HORZRES);
    m->height = GetDeviceCaps(dc, VERTRES);
    m->dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
    m->dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
    m->page_width = GetDeviceCaps(dc, PHYSICALWIDTH);
    m->page_height = GetDeviceCaps(dc, PHYSICALHEIGHT);
    m->offset_x = GetDeviceCaps(dc, PHYSICALOFFSETX);
    m->offset_y = GetDeviceCaps(dc, PHYSICALOFFSETY);
    if (m->page_width < m->width + m->offset_x)   // a device without a sheet around its area
        m->page_width = m->width + m->offset_x;
    if (m->page_height < m->height + m->offset_y)
        m->page_height = m->height + m->offset_y;
    return m->width > 0 && m->height > 0 && m->dpi_x > 0 && m->dpi_y > 0;
}

// The font (bold: its bold form) in the pixels of a device of that resolution.
HFONT make_font(const TP_table *t, const TP_MEASURES &m, bool bold)
{
    LOGFONTA f = t->font;
    int32_t height = f.lfHeight < 0 ? -f.lfHeight : f.lfHeight;
    if (height < 1)
        height = FONT_HEIGHT;
    f.lfHeight = -MulDiv(height, m.dpi_y, t->screen_dpi_y);
    f.lfWidth = MulDiv(f.lfWidth, m.dpi_x, t->screen_dpi_x);
    if (bold && f.lfWeight < FW_BOLD)
        f.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&f);
}

// ---- layout ----

int32_t mm_to_pixels(double mm, int32_t dpi)
{
    return static_cast<int32_t>(mm / MM_PER_INCH * dpi);
}

// The box the table goes into, in pixels from the printable area's corner:
// the margins measured from the sheet's edges, never outside the printable
// area, and one millimetre more.
RECT printable_box(const TP_table *t, const TP_MEASURES &m)
{
    const double dx = m.dpi_x, dy = m.dpi_y, mm = 1.0 / MM_PER_INCH;
    const double left_margin = t->margins[0] / MM_PER_INCH, right_margin = t->margins[1] / MM_PER_INCH;
    const double top_margin = t->margins[2] / MM_PER_INCH, bottom_margin = t->margins[3] / MM_PER_INCH;
    double left = left_margin - m.offset_x / dx, top = top_margin - m.offset_y / dy;
    left = (left > 0 ? left : 0) + mm;
    top = (top > 0 ? top : 0) + mm;
    double right = m.width / dx, bottom = m.height / dy;
    if (right_margin > (m.page_width - m.offset_x - m.width) / dx)
        right = (m.page_width - m.offset_x) / dx - right_margin;
    if (bottom_margin > (m.page_height - m.offset_y - m.height) / dy)
        bottom = (m.page_height - m.offset_y) / dy - bottom_margin;
    right -= mm;
    bottom -= mm;
    RECT box{static_cast<LONG>(left * dx) + 1, static_cast<LONG>(top * dy) + 1, static_cast<LONG>(right * dx) - 1,
             static_cast<LONG>(bottom * dy) - 1};
    if (box.right <= box.left)   // margins wider than the sheet: one column of pixels
        box.right = box.left + 1;
    if (box.bottom <= box.top)
        box.bottom = box.top + 1;
    return box;
}

// Lines of the row's tallest cell (at least one) in the font selected into dc.
int32_t row_lines(const TP_table *t, HDC dc, const TP_ROW *row)
{
    int32_t lines = 1;
    for (int32_t c = 0; c < row->count && c < t->column_count; c++) {
        if (!row->cells[c])
            continue;
        const int32_t n = count_lines(dc, row->cells[c], t->columns[c].width - t->space_left - t->space_right);
        if (n > lines)
            lines = n;
    }
    return lines;
}

int32_t block_height(const TP_table *t, HDC dc, const char *text, int32_t height)
{
    if (!text)
        return 0;
    const int32_t width = t->box.right - t->box.left - t->space_left - t->space_right;
    return count_lines(dc, text, width) * height + t->space_top + t->space_bottom;
}

// Lays every page out on the device dc of measures m with its fonts: the
// widths and spacings in its pixels, the box, the columns, every row's
// height, place and page, the texts before and after the table, the page
// count. An opening or closing text that does not fit is dropped here.
void lay_out(TP_table *t, HDC dc, const TP_MEASURES &m, HFONT normal, HFONT bold)
{
    t->narrow = mm_to_pixels(t->narrow_mm, m.dpi_x);
    t->wide = mm_to_pixels(t->wide_mm, m.dpi_x);
    t->space_left = mm_to_pixels(t->space_mm[0], m.dpi_x);
    t->space_right = mm_to_pixels(t->space_mm[1], m.dpi_x);
    // Heights in the vertical resolution: a device need not have square pixels.
    t->space_top = mm_to_pixels(t->space_mm[2], m.dpi_y);
    t->space_bottom = mm_to_pixels(t->space_mm[3], m.dpi_y);
    t->box = printable_box(t, m);
    const RECT &box = t->box;

    const int32_t width = box.right - box.left;
    int32_t x = box.left, used = 0;
    for (int32_t c = 0; c < t->column_count; c++) {
        TP_COLUMN &column = t->columns[c];
        column.width = c + 1 < t->column_count ? static_cast<int32_t>(int64_t(column.weight) * width / 1000)
                                               : width - used;
        used += column.width;
        column.left = x;
        column.right = x += column.width;
    }

    {
        C_SELECT chosen(dc, bold);
        t->header.height = t->header.count ? row_lines(t, dc, &t->header) * line_height(dc) + t->space_top + t->space_bottom : 0;
    }
    C_SELECT chosen(dc, normal);
    const int32_t height = line_height(dc);
    t->number_height = count_lines(dc, "1", width) * height + t->space_top + t->space_bottom;
    t->opening_height = block_height(t, dc, t->opening, height);
    t->closing_height = block_height(t, dc, t->closing, height);

    int32_t y = box.top + t->opening_height;
    if (t->opening && y > box.bottom) {
        WE_error(OPENING_TOO_LONG);
        ST_free(&t->opening);
        t->opening_height = 0;
        y = box.top;
    }
    const int32_t page_start = box.top + t->number_height + t->header.height;   // the first row of a later page
    y += t->number_height + t->header.height;
    int32_t page = 1, first = y;
    for (int32_t r = 0; r < t->row_count; r++) {
        TP_ROW *row = t->rows[r];
        row->height = row_lines(t, dc, row) * height + t->space_top + t->space_bottom;
        // A row taller than a page stays where it begins a page (clipped there).
        if (y + row->height > box.bottom && y > first) {
            page++;
            y = first = page_start;
        }
        row->top = y;
        row->bottom = y += row->height;
        row->page = page;
    }
    if (t->closing) {
        if (y + t->closing_height <= box.bottom) {
            t->closing_top = y;
            t->closing_page = page;
        } else if (page_start + t->closing_height <= box.bottom) {
            t->closing_top = page_start;
            t->closing_page = ++page;
        } else {
            WE_error(CLOSING_TOO_LONG);
            ST_free(&t->closing);
            t->closing_height = 0;
        }
    }
    t->pages = page;
    if (t->page > t->pages)
        t->page = t->pages;
    if (t->page < 1)
        t->page = 1;
    t->laid_out = 1;
}

// The first row on the page (row_count when none): rows follow their pages.
int32_t first_row_of(const TP_table *t, int32_t page)
{
    int32_t low = 0, high = t->row_count;
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (t->rows[middle]->page < page)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// Where the page's table begins (the header's top) and ends.
void table_extent(const TP_table *t, int32_t page, int32_t *top, int32_t *bottom)
{
    *top = t->box.top + (page == 1 ? t->opening_height : 0) + t->number_height;
    *bottom = *top + t->header.height;
    for (int32_t r = first_row_of(t, page); r < t->row_count && t->rows[r]->page == page; r++)
        *bottom = t->rows[r]->bottom;
}

void draw_line(HDC dc, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The grid of the page's table: the wide pen around it and under the
// header, the narrow pen between the columns and between the rows.
void draw_grid(const TP_table *t, HDC dc, int32_t page, int32_t top, int32_t bottom)
{
    if (t->column_count < 1 || bottom <= top)
        return;
    const int32_t left = t->columns[0].left, right = t->columns[t->column_count - 1].right;
    const int32_t first = first_row_of(t, page);
    C_GDI<HPEN> thin(CreatePen(PS_SOLID, t->narrow > 0 ? t->narrow : 1, t->colour));
    C_GDI<HPEN> thick(CreatePen(PS_SOLID, t->wide > 0 ? t->wide : 1, t->colour));
    {
        C_SELECT pen(dc, thin);
        for (int32_t c = 0; c + 1 < t->column_count; c++)
            draw_line(dc, t->columns[c].right, top, t->columns[c].right, bottom);
        // The first row's top is the header's line or the frame.
        for (int32_t r = first + 1; r < t->row_count && t->rows[r]->page == page; r++)
            draw_line(dc, left, t->rows[r]->top, right, t->rows[r]->top);
    }
    C_SELECT pen(dc, thick);
    if (t->header.height && top + t->header.height < bottom)
        draw_line(dc, left, top + t->header.height, right, top + t->header.height);
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, right, top);
    LineTo(dc, right, bottom);
    LineTo(dc, left, bottom);
    LineTo(dc, left, top);
}

// Draws one page of the last layout in its pixels (the device's own, or
// the printer's mapped onto the screen).
void draw_page(const TP_table *t, HDC dc, int32_t page, HFONT normal, HFONT bold)
{
    const RECT &box = t->box;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, t->colour);
    C_SELECT chosen(dc, normal);
    const int32_t height = line_height(dc);
    int32_t y = box.top;
    if (page == 1 && t->opening) {
        draw_text(t, dc, t->opening, RECT{box.left, y, box.right, y + t->opening_height}, TP_LEFT, height);
        y += t->opening_height;
    }
    char number[40];
    std::snprintf(number, sizeof number, PAGE_NUMBER, static_cast<int>(page), static_cast<int>(t->pages));
    draw_text(t, dc, number, RECT{box.left, y, box.right, y + t->number_height}, TP_CENTRE, height);
    y += t->number_height;
    const int32_t top = y;
    if (t->header.height) {
        C_SELECT emphasis(dc, bold);
        const int32_t bold_height = line_height(dc);
        for (int32_t c = 0; c < t->column_count; c++)
            draw_text(t, dc, cell_text(&t->header, c),
                      RECT{t->columns[c].left, y, t->columns[c].right, y + t->header.height}, TP_CENTRE | TP_MIDDLE,
                      bold_height);
    }
    int32_t bottom = y + t->header.height;
    for (int32_t r = first_row_of(t, page); r < t->row_count && t->rows[r]->page == page; r++) {
        const TP_ROW *row = t->rows[r];
        for (int32_t c = 0; c < t->column_count && c < row->count; c++)
            draw_text(t, dc, cell_text(row, c), RECT{t->columns[c].left, row->top, t->columns[c].right, row->bottom},
                      t->columns[c].alignment, height);
        bottom = row->bottom;
    }
    draw_grid(t, dc, page, top, bottom);
    if (t->closing && t->closing_page == page)
        draw_text(t, dc, t->closing,
                  RECT{box.left, t->closing_top, box.right, t->closing_top + t->closing_height}, TP_LEFT, height);
}

// ---- the window ----

RECT preview_area(const TP_table *t)
{
    RECT area{0, 0, 0, 0};
    GetClientRect(t->window, &area);
    area.top = t->control_height;
    if (area.bottom < area.top)
        area.bottom = area.top;
    return area;
}

// The sheet on the screen at its real size (the screen's pixels per inch),
// on a desk around it, moved by the scroll bars; centred across when the
// area is wider. area: the preview area in the target's coordinates.
RECT sheet_place(const TP_table *t, const RECT &area)
{
    const int32_t width = MulDiv(t->measures.page_width, t->screen_dpi_x, t->measures.dpi_x);
    const int32_t height = MulDiv(t->measures.page_height, t->screen_dpi_y, t->measures.dpi_y);
    int32_t left = area.left + DESK - GetScrollPos(t->window, SB_HORZ);
    if (area.right - area.left > width + 2 * DESK)
        left = area.left + (area.right - area.left - width) / 2;
    const int32_t top = area.top + DESK - GetScrollPos(t->window, SB_VERT);
    return RECT{left, top, left + width, top + height};
}

// A bar's range and page, set only when they change (a set redraws the bar,
// which costs more than a layout of a short table).
void set_range(HWND window, int bar, int32_t extent, int32_t page)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    const int32_t last = extent > 0 ? extent - 1 : 0;
    if (GetScrollInfo(window, bar, &info) && info.nMin == 0 && info.nMax == last && info.nPage == static_cast<UINT>(page))
        return;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = last;
    info.nPage = static_cast<UINT>(page);
    SetScrollInfo(window, bar, &info, TRUE);
}

// The extent of the sheet with its desk against the visible area.
void set_ranges(TP_table *t)
{
    const RECT area = preview_area(t);
    const RECT sheet = t->laid_out ? sheet_place(t, area) : RECT{0, 0, 0, 0};
    const int32_t desk = t->laid_out ? 2 * DESK : 0;   // no sheet, nothing to scroll
    set_range(t->window, SB_HORZ, sheet.right - sheet.left + desk, area.right - area.left);
    set_range(t->window, SB_VERT, sheet.bottom - sheet.top + desk, area.bottom - area.top);
}

void repaint_preview(TP_table *t)
{
    const RECT area = preview_area(t);
    InvalidateRect(t->window, &area, FALSE);
}

void update_buttons(TP_table *t)
{
    const BOOL any = t->printer_count > 0;
    EnableWindow(GetDlgItem(t->window, TP_ID_PROPERTIES), any);
    EnableWindow(GetDlgItem(t->window, TP_ID_PRINT), any);
    EnableWindow(GetDlgItem(t->window, TP_ID_PREVIOUS), any && t->page > 1);
    EnableWindow(GetDlgItem(t->window, TP_ID_NEXT), any && t->page < t->pages);
}

// The selected printer's measures, the preview's fonts and the layout; the
// page buttons, the scroll ranges and the preview follow. 0 when there is
// no printer to lay the pages out for.
int16_t prepare(TP_table *t)
{
    t->laid_out = 0;
    int16_t done = 0;
    if (const char *name = selected_name(t)) {
        if (!t->information.ok())
            t->information.reset(CreateICA("WINSPOOL", name, nullptr, t->mode));
        if (t->information.ok() && take_measures(t->information, &t->measures)) {
            if (!t->preview_font) {   // made again after a change of the printer or of the font
                t->preview_font.reset(make_font(t, t->measures, false));
                t->preview_bold.reset(make_font(t, t->measures, true));
            }
            lay_out(t, t->information, t->measures, t->preview_font, t->preview_bold);
            done = 1;
        }
    }
    if (!done)
        t->pages = t->page = 1;
    update_buttons(t);
    set_ranges(t);
    repaint_preview(t);
    return done;
}

// The printer at index (-1: none) with its own device settings.
void select_printer(TP_table *t, int16_t index)
{
    t->selected = index;
    t->information.reset();
    t->preview_font.reset();
    MM_free(t->mode, SRC, __LINE__);
    t->mode = nullptr;
    if (const char *name = selected_name(t))
        if (!PRN_get_settings(&t->mode, name))
            t->mode = nullptr;   // the printer's own settings then
    prepare(t);
}

// The printers into the box; the one named keep stays selected when it is
// still there, else the default printer. No printer: the box says so.
void list_printers(TP_table *t, const char *keep)
{
    PRN_free_list(&t->printers, &t->printer_count);
    SendMessageA(t->combo, CB_RESETCONTENT, 0, 0);
    if (!PRN_list_printers(&t->printers, &t->printer_count)) {
        t->printers = nullptr;
        t->printer_count = 0;
    }
    if (t->printer_count == 0) {
        SendMessageA(t->combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NO_PRINTER_FOUND));
        SendMessageA(t->combo, CB_SETCURSEL, 0, 0);
        select_printer(t, -1);
        return;
    }
    int16_t index = -1;
    for (int16_t i = 0; i < t->printer_count; i++) {
        SendMessageA(t->combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t->printers[i]));
        if (keep && !lstrcmpiA(keep, t->printers[i]))
            index = i;
    }
    const bool kept = index >= 0;
    if (!kept)
        index = default_printer(t);
    SendMessageA(t->combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (kept) {   // the same printer: its settings as the person left them
        t->selected = index;
        prepare(t);
    } else {
        select_printer(t, index);
    }
}

// The printer list renewed after a change of the system's settings.
void renew_printers(TP_table *t)
{
    char keep[PRN_NAME_MAX + 1] = "";
    if (const char *name = selected_name(t))
        ST_copy(keep, name, PRN_NAME_MAX);
    list_printers(t, keep[0] ? keep : nullptr);
}

void show_page(TP_table *t, int32_t page)
{
    if (page < 1 || page > t->pages || page == t->page)
        return;
    t->page = page;
    SetScrollPos(t->window, SB_VERT, 0, TRUE);
    update_buttons(t);
    repaint_preview(t);
}

void scroll_to(TP_table *t, int bar, int32_t position)
{
    const int32_t before = GetScrollPos(t->window, bar);
    SetScrollPos(t->window, bar, position, TRUE);
    if (GetScrollPos(t->window, bar) == before)   // as the system clamped it
        return;
    repaint_preview(t);
    UpdateWindow(t->window);
}

void scroll_by(TP_table *t, int bar, int32_t code)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(t->window, bar, &info))
        return;
    const int32_t page = static_cast<int32_t>(info.nPage), line = page / 10 > 0 ? page / 10 : 1;
    int32_t position = 0;
    if (CTL_scroll_position(info, static_cast<int>(code), line, page, &position))
        scroll_to(t, bar, position);
}

void layout_controls(TP_table *t, int32_t width)
{
    t->combo_width = width * COMBO_SHARE / 100;
    MoveWindow(t->combo, 0, 0, t->combo_width, t->control_height + LIST_HEIGHT, TRUE);
    int32_t x = t->combo_width;
    for (int32_t i = 0; i < BUTTON_COUNT; i++) {
        t->button_widths[i] = i + 1 < BUTTON_COUNT ? width * BUTTON_SHARE / 100 : width - x;
        MoveWindow(t->buttons[i], x, 0, t->button_widths[i], t->control_height, TRUE);
        x += t->button_widths[i];
    }
}

void remember_rect(TP_table *t)
{
    RECT r;
    if (IsIconic(t->window) || IsZoomed(t->window) || !GetWindowRect(t->window, &r))
        return;
    t->x = r.left;
    t->y = r.top;
    t->width = r.right - r.left;
    t->height = r.bottom - r.top;
}

// 1 when the window is gone (and the object with it).
int16_t close_window(TP_table *t)
{
    if (t->busy) {
        t->close_pending = 1;
        return 0;
    }
    DestroyWindow(t->window);
    return 1;
}

void properties(TP_table *t)
{
    const char *name = selected_name(t);
    if (!name) {
        WE_error(NONE_SELECTED);
        return;
    }
    if (!t->mode && !PRN_get_settings(&t->mode, name)) {
        t->mode = nullptr;
        WE_error(PRINTER_ERROR);
        return;
    }
    if (PRN_edit_settings(t->window, t->mode, name)) {
        t->information.reset();   // made again with the new settings
        t->preview_font.reset();
        prepare(t);
    }
}

// The font dialog on the printer's information context: TrueType faces of
// the screen and the printer, with effects and colour, from the current
// font. Its height comes back in points: kept in screen pixels.
void choose_font(TP_table *t)
{
    const char *name = selected_name(t);
    if (!name) {
        WE_error(NONE_SELECTED);
        return;
    }
    LOGFONTA chosen = t->font;
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = t->window;
    dialog.hDC = t->information;
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_TTONLY | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | (t->information.ok() ? CF_BOTH : CF_SCREENFONTS);
    dialog.rgbColors = t->colour;
    if (!ChooseFontA(&dialog))
        return;
    if (dialog.iPointSize > 0)
        chosen.lfHeight = -MulDiv(dialog.iPointSize, t->screen_dpi_y, 720);
    t->font = chosen;
    t->colour = dialog.rgbColors;
    t->preview_font.reset();
    prepare(t);
}

// Every page to the selected printer (run by while_busy); 1 when all went out.
int16_t print_job(TP_table *t)
{
    if (t->printer_count == 0) {
        WE_error(NO_PRINTER);
        return 0;
    }
    const char *name = selected_name(t);
    if (!name) {
        WE_error(NONE_SELECTED);
        return 0;
    }
    const int32_t shown = t->page;
    int16_t done = 0, cancelled = 0;
    {
        C_PRINTER_DC printer(name, t->mode);
        TP_MEASURES m{};
        if (printer.ok() && take_measures(printer, &m)) {
            C_GDI<HFONT> normal(make_font(t, m, false)), bold(make_font(t, m, true));
            // Laid out once for the whole job; each page then draws its own rows.
            lay_out(t, printer, m, normal, bold);
            if (PRN_cancel_open(printer, t->window)) {
                PRN_cancel_text1(DOCUMENT);
                if (printer.start(DOCUMENT)) {
                    done = 1;
                    for (int32_t page = 1; page <= t->pages && done; page++) {
                        char text[60];
                        std::snprintf(text, sizeof text, PAGE_TEXT, static_cast<int>(page), static_cast<int>(t->pages));
                        PRN_cancel_text2(text);
                        if (StartPage(printer) <= 0) {
                            done = 0;
                            break;
                        }
                        draw_page(t, printer, page, normal, bold);
                        if (EndPage(printer) <= 0 || !PRN_cancel_pump())
                            done = 0;
                    }
                    if (done && !printer.end())
                        done = 0;
                }
                cancelled = PRN_cancelled();
                PRN_cancel_close();
            }
        }
    }
    t->page = shown;
    prepare(t);
    if (!done && !cancelled)
        WE_error(PRINTER_ERROR);
    return done;
}

// A step that dispatches messages while it uses the printer's settings and
// information context (a print job, the properties or the font dialog): a
// settings change or a close meanwhile waits for its end. 1 when the window
// is gone afterwards.
template <class F>
int16_t while_busy(TP_table *t, F step)
{
    t->busy = 1;
    step(t);
    t->busy = 0;
    if (t->close_pending) {
        DestroyWindow(t->window);
        return 1;
    }
    if (t->change_pending) {
        t->change_pending = 0;
        renew_printers(t);
    }
    return 0;
}

// A button's action; 1 when the window is gone.
int16_t press(TP_table *t, int32_t id)
{
    int16_t closed = 0;
    switch (id) {
    case TP_ID_PROPERTIES: closed = while_busy(t, properties); break;
    case TP_ID_FONT: closed = while_busy(t, choose_font); break;
    case TP_ID_PRINT: closed = while_busy(t, print_job); break;
    case TP_ID_PREVIOUS: show_page(t, t->page - 1); break;
    case TP_ID_NEXT: show_page(t, t->page + 1); break;
    case TP_ID_CLOSE: return close_window(t);
    default: WE_internal_error(SRC, __LINE__); break;
    }
    return closed;
}

// A typed letter presses the enabled button whose "&" letter it is, both
// compared without diacritics and case.
int16_t press_letter(TP_table *t, char typed)
{
    CZ_strip_char(&typed);
    CZ_upper_char(&typed);
    for (const BUTTON &button : BUTTONS) {
        const char *mark = std::strchr(button.text, '&');
        char letter = mark ? mark[1] : 0;
        CZ_strip_char(&letter);
        CZ_upper_char(&letter);
        if (letter && letter == typed && IsWindowEnabled(GetDlgItem(t->window, button.id)))
            return press(t, button.id);
    }
    return 0;
}

// The point of the client area in the printer's pixels of the shown page.
POINT page_point(const TP_table *t, int32_t x, int32_t y)
{
    const RECT sheet = sheet_place(t, preview_area(t));
    return POINT{MulDiv(x - sheet.left, t->measures.dpi_x, t->screen_dpi_x) - t->measures.offset_x,
                 MulDiv(y - sheet.top, t->measures.dpi_y, t->screen_dpi_y) - t->measures.offset_y};
}

// The column whose right border (between two columns) is under the client point, or -1.
int32_t border_at(const TP_table *t, int32_t x, int32_t y)
{
    if (!t->laid_out || t->column_count < 2 || y < t->control_height)
        return -1;
    const POINT p = page_point(t, x, y);
    int32_t top = 0, bottom = 0;
    table_extent(t, t->page, &top, &bottom);
    if (p.y < top || p.y > bottom)
        return -1;
    const int32_t zone = MulDiv(RESIZE_ZONE, t->measures.dpi_x, t->screen_dpi_x);
    for (int32_t c = 0; c + 1 < t->column_count; c++)
        if (std::abs(p.x - t->columns[c].right) <= zone)
            return c;
    return -1;
}

// The dragged border follows the mouse, keeping both columns at least a
// hundredth of the width.
void drag_to(TP_table *t, int32_t x, int32_t y)
{
    TP_COLUMN &left = t->columns[t->drag], &right = t->columns[t->drag + 1];
    const int32_t least = (t->box.right - t->box.left) / 100 + t->space_left + t->space_right + 1;
    int32_t border = page_point(t, x, y).x;
    if (border > right.right - least)
        border = right.right - least;
    if (border < left.left + least)
        border = left.left + least;
    if (border <= left.left || border >= right.right || border == left.right)
        return;
    left.right = right.left = border;
    left.width = left.right - left.left;
    right.width = right.right - right.left;
    repaint_preview(t);
}

// The widths the mouse left become the weights, and the pages are laid out again.
void end_drag(TP_table *t)
{
    if (t->drag < 0)
        return;
    t->drag = -1;
    const int32_t width = t->box.right - t->box.left;
    int32_t sum = 0;
    for (int32_t c = 0; c + 1 < t->column_count; c++) {
        t->columns[c].weight = static_cast<int32_t>((int64_t(t->columns[c].width) * 1000 + width / 2) / width);
        sum += t->columns[c].weight;
    }
    t->columns[t->column_count - 1].weight = 1000 - sum;
    prepare(t);
}

void draw_preview(const TP_table *t, HDC dc, const RECT &area)
{
    FillRect(dc, &area, GetSysColorBrush(COLOR_APPWORKSPACE));
    if (!t->laid_out)
        return;
    const RECT sheet = sheet_place(t, area);
    const RECT shadow{sheet.left + SHADOW, sheet.top + SHADOW, sheet.right + SHADOW, sheet.bottom + SHADOW};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_3DDKSHADOW));
    FillRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    C_SAVE_DC saved(dc);
    IntersectClipRect(dc, sheet.left, sheet.top, sheet.right, sheet.bottom);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, t->measures.dpi_x, t->measures.dpi_y, nullptr);
    SetViewportExtEx(dc, t->screen_dpi_x, t->screen_dpi_y, nullptr);
    SetViewportOrgEx(dc, sheet.left + MulDiv(t->measures.offset_x, t->screen_dpi_x, t->measures.dpi_x),
                     sheet.top + MulDiv(t->measures.offset_y, t->screen_dpi_y, t->measures.dpi_y), nullptr);
    draw_page(t, dc, t->page, t->preview_font, t->preview_bold);
}

HINSTANCE module_instance()
{
    return WGD_driver ? WGD_driver->instance : GetModuleHandleA(nullptr);
}

// The printer box and the buttons in the default GUI font, as high as the box.
int16_t make_controls(TP_table *t)
{
    HINSTANCE instance = module_instance();
    HGDIOBJ gui_font = GetStockObject(DEFAULT_GUI_FONT);
    t->combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
                               0, 0, 100, LIST_HEIGHT, t->window, reinterpret_cast<HMENU>(INT_PTR(TP_ID_PRINTER)),
                               instance, nullptr);
    if (!t->combo)
        return 0;
    SendMessageA(t->combo, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font), FALSE);
    RECT r{0, 0, 0, 0};
    GetWindowRect(t->combo, &r);
    t->control_height = r.bottom - r.top;
    for (int32_t i = 0; i < BUTTON_COUNT; i++) {
        t->buttons[i] = CreateWindowExA(0, "BUTTON", BUTTONS[i].text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                        0, 0, 10, t->control_height, t->window,
                                        reinterpret_cast<HMENU>(INT_PTR(BUTTONS[i].id)), instance, nullptr);
        if (!t->buttons[i])
            return 0;
        SendMessageA(t->buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(gui_font), FALSE);
    }
    return 1;
}

// The column array grown to the widest row, the weights in per mille.
int16_t weights_to_mille(TP_table *t)
{
    int32_t count = t->header.count;
    for (int32_t r = 0; r < t->row_count; r++)
        if (t->rows[r]->count > count)
            count = t->rows[r]->count;
    if (!make_columns(t, count))
        return 0;
    int64_t sum = 0;
    for (int32_t c = 0; c < t->column_count; c++)
        sum += t->columns[c].weight;
    if (sum == 0)
        sum = 1;
    int32_t given = 0;
    for (int32_t c = 0; c + 1 < t->column_count; c++)
        given += t->columns[c].weight = static_cast<int32_t>(int64_t(t->columns[c].weight) * 1000 / sum);
    if (t->column_count)
        t->columns[t->column_count - 1].weight = 1000 - given;
    return 1;
}

}  // namespace

// ---- the window's operations ----

TP_table::~TP_table()
{
    if (window && IsWindow(window)) {
        // Unbound first: the object is being taken apart.
        SetWindowLongPtrA(window, 0, 0);
        DestroyWindow(window);
    }
    window = nullptr;
    free_row(&header);
    for (int32_t r = 0; r < row_count; r++) {
        free_row(rows[r]);
        MM_free(rows[r], SRC, __LINE__);
    }
    MM_free(rows, SRC, __LINE__);
    MM_free(columns, SRC, __LINE__);
    ST_free(&opening);
    ST_free(&closing);
    PRN_free_list(&printers, &printer_count);
    MM_free(mode, SRC, __LINE__);
}

LRESULT TP_table::paint()
{
    C_PAINT painting(window);
    RECT area = preview_area(this);
    const int32_t width = area.right - area.left, height = area.bottom - area.top;
    if (width < 1 || height < 1)
        return 0;
    // Drawn off the screen first: the page appears at once.
    C_MEMORY_DC memory(painting);
    C_GDI<HBITMAP> picture(memory.ok() ? CreateCompatibleBitmap(painting, width, height) : nullptr);
    if (!picture) {
        draw_preview(this, painting, area);
        return 0;
    }
    C_SELECT chosen(memory, picture);
    draw_preview(this, memory, RECT{0, 0, width, height});
    BitBlt(painting, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    return 0;
}

LRESULT TP_table::erase_background(HDC)
{
    return 1;   // the controls and the preview cover the whole client area
}

LRESULT TP_table::size(int32_t client_width, int32_t, int32_t)
{
    if (!open)
        return 0;
    layout_controls(this, client_width);
    set_ranges(this);
    repaint_preview(this);
    remember_rect(this);
    return 0;
}

LRESULT TP_table::move(int32_t, int32_t)
{
    if (open)
        remember_rect(this);
    return 0;
}

LRESULT TP_table::command(WPARAM wparam, LPARAM)
{
    const int32_t id = LOWORD(wparam), code = HIWORD(wparam);
    if (id == TP_ID_PRINTER) {
        if (code == CBN_SELCHANGE && printer_count > 0) {
            const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
            if (index >= 0 && index < printer_count && index != selected)
                select_printer(this, static_cast<int16_t>(index));
        }
        // A printer picked: the page keys are the preview's again.
        if ((code == CBN_SELCHANGE && !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) || code == CBN_CLOSEUP)
            SetFocus(window);
        return 0;
    }
    if (id >= TP_ID_PROPERTIES && id <= TP_ID_CLOSE) {
        // The focus back to the window, so that its keys work after a click.
        if (code == BN_CLICKED && !press(this, id))
            SetFocus(window);
        return 0;
    }
    WE_internal_error(SRC, __LINE__);
    return 0;
}

LRESULT TP_table::scroll(int16_t vertical, int32_t code, int16_t)
{
    scroll_by(this, vertical ? SB_VERT : SB_HORZ, code);
    return 0;
}

int16_t TP_table::key_command(int16_t code)
{
    // Each key in its plain, Shift, Alt and Ctrl forms (swin/key.h).
    switch (code) {
    case 22: case 23: case 24: case 25: show_page(this, page - 1); return 1;       // Page Up
    case 26: case 27: case 28: case 29: show_page(this, page + 1); return 1;       // Page Down
    case 30: case 31: case 32: case 33: show_page(this, pages); return 1;          // End
    case 34: case 35: case 36: case 37: show_page(this, 1); return 1;              // Home
    case 38: case 39: case 40: case 41: scroll_by(this, SB_HORZ, SB_LINEUP); return 1;
    case 42: case 43: case 44: case 45: scroll_by(this, SB_HORZ, SB_LINEDOWN); return 1;
    case 46: case 47: case 48: case 49: scroll_by(this, SB_VERT, SB_LINEUP); return 1;
    case 50: case 51: case 52: case 53: scroll_by(this, SB_VERT, SB_LINEDOWN); return 1;
    case 6: case 7: close_window(this); return 1;                                        // Escape: nothing after it
    case 10: case 11: case 13: SetFocus(combo); return 1;                          // Space
    }
    if (char typed = KEY_to_char(code))
        press_letter(this, typed);
    return 1;
}

void TP_table::system_close()
{
    close_window(this);
}

int16_t TP_table::activated()
{
    WGD_bring_to_front(this);
    return 1;
}

void TP_table::destroyed()
{
    if (!owned)
        return;   // a window that failed to open: the object stays the caller's
    TP_table *self = this;
    TP_destroy(&self);
}

LRESULT TP_table::default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_SETTINGCHANGE:
        if (busy)
            change_pending = 1;   // the job still uses the printer and its settings
        else if (open)
            renew_printers(this);
        break;
    case WM_CLOSE:
        if (busy) {
            close_pending = 1;
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lparam) == HTCLIENT) {
            POINT p{0, 0};
            GetCursorPos(&p);
            ScreenToClient(target, &p);
            if (drag >= 0 || border_at(this, p.x, p.y) >= 0) {
                SetCursor(resize_cursor);
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        drag = border_at(this, static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam)));
        if (drag >= 0) {
            SetCapture(target);
            SetCursor(resize_cursor);
        }
        SetFocus(target);
        return 0;
    case WM_MOUSEMOVE:
        if (drag >= 0)
            drag_to(this, static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam)));
        return 0;
    case WM_LBUTTONUP:
        if (drag >= 0)
            ReleaseCapture();   // WM_CAPTURECHANGED ends the drag
        return 0;
    case WM_CAPTURECHANGED:
        end_drag(this);
        return 0;
    case WM_MOUSEWHEEL:
        scroll_by(this, SB_VERT, GET_WHEEL_DELTA_WPARAM(wparam) > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    }
    return DefWindowProcA(target, message, wparam, lparam);
}

// ---- the operations ----

int16_t TP_create(TP_table **table)
{
    if (!table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *table = nullptr;
    TP_table *t = new (SRC, __LINE__) TP_table();
    if (!t) {
        WE_low_memory();
        return 0;
    }
    t->rows = static_cast<TP_ROW **>(MM_alloc(ROWS_FIRST, sizeof(TP_ROW *), SRC, __LINE__));
    t->columns = static_cast<TP_COLUMN *>(MM_alloc(COLUMNS_FIRST, sizeof(TP_COLUMN), SRC, __LINE__));
    if (!t->rows || !t->columns) {
        WE_low_memory();
        MM_destroy(t, SRC, __LINE__);
        return 0;
    }
    t->row_capacity = ROWS_FIRST;
    t->column_capacity = COLUMNS_FIRST;
    t->set_class_name(TP_CLASS_NAME);
    read_settings(t);
    *table = t;
    return 1;
}

int16_t TP_destroy(TP_table **table)
{
    if (!table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    TP_table *t = *table;
    if (!t)
        return 1;
    *table = nullptr;
    // Only a font read from the store goes back: the defaults of an object
    // that never opened its window must not replace the person's font.
    if (t->autosave && t->font_read)
        save_font(t);
    MM_destroy(t, SRC, __LINE__);
    return 1;
}

int16_t TP_set_cell(TP_table *table, int32_t row, int32_t column, const char *text)
{
    if (!fillable(table, __LINE__))
        return 0;
    if (row < 0 || !column_ok(column) || !text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const int32_t rows_before = table->row_count;
    if (!make_rows(table, row))
        return 0;
    if (set_row_cell(table->rows[row], column, text))
        return 1;
    while (table->row_count > rows_before)   // the rows made for it go again
        MM_free(table->rows[--table->row_count], SRC, __LINE__);
    return 0;
}

int16_t TP_set_header_cell(TP_table *table, int32_t column, const char *text)
{
    if (!fillable(table, __LINE__))
        return 0;
    if (!column_ok(column) || !text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return set_row_cell(&table->header, column, text);
}

int16_t TP_set_column_alignment(TP_table *table, int32_t column, uint16_t alignment)
{
    if (!fillable(table, __LINE__))
        return 0;
    if (!column_ok(column)) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!make_columns(table, column + 1))
        return 0;
    table->columns[column].alignment = alignment;
    return 1;
}

int16_t TP_set_column_weight(TP_table *table, int32_t column, int32_t weight)
{
    if (!fillable(table, __LINE__))
        return 0;
    if (!column_ok(column) || weight < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!make_columns(table, column + 1))
        return 0;
    table->columns[column].weight = weight;
    return 1;
}

int16_t TP_get_column_weight(const TP_table *table, int32_t column, int32_t *weight)
{
    if (!table || !weight) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (column < 0 || column >= table->column_count)
        return 0;
    *weight = table->columns[column].weight;
    return 1;
}

int32_t TP_get_column_count(const TP_table *table)
{
    if (!table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return table->column_count;
}

int16_t TP_set_opening_text(TP_table *table, const char *text)
{
    return set_text(table, table ? &table->opening : nullptr, text, __LINE__);
}

int16_t TP_set_closing_text(TP_table *table, const char *text)
{
    return set_text(table, table ? &table->closing : nullptr, text, __LINE__);
}

int16_t TP_set_window_rect(TP_table *table, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!table || width < 1 || height < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // An edge beyond the far side comes back as far as the window's size allows.
    if (x >= work.right)
        x = work.right - width;
    if (y >= work.bottom)
        y = work.bottom - height;
    if (x < work.left)
        x = work.left;
    if (y < work.top)
        y = work.top;
    if (x + width > work.right)
        width = work.right - x;
    if (y + height > work.bottom)
        height = work.bottom - y;
    table->x = x;
    table->y = y;
    table->width = width;
    table->height = height;
    if (table->window)
        MoveWindow(table->window, x, y, width, height, TRUE);
    return 1;
}

int16_t TP_get_window_rect(const TP_table *table, int32_t *x, int32_t *y, int32_t *width, int32_t *height)
{
    if (!table || !x || !y || !width || !height) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *x = table->x;
    *y = table->y;
    *width = table->width;
    *height = table->height;
    return 1;
}

int16_t TP_set_margins(TP_table *table, double left, double right, double top, double bottom)
{
    const double given[4] = {left, right, top, bottom};
    bool lengths = true;
    for (double margin : given)
        lengths = lengths && margin >= 0 && margin <= LENGTH_MAX;   // false for NaN too
    if (!table || !lengths) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (int i = 0; i < 4; i++)
        table->margins[i] = given[i];
    if (table->open && !table->busy)
        prepare(table);
    return 1;
}

int16_t TP_get_margins(const TP_table *table, double *left, double *right, double *top, double *bottom)
{
    if (!table || !left || !right || !top || !bottom) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *left = table->margins[0];
    *right = table->margins[1];
    *top = table->margins[2];
    *bottom = table->margins[3];
    return 1;
}

int16_t TP_open_window(TP_table *table, const char *title, int32_t caller_data, const char *table_name)
{
    if (!table || table->open || table->window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    TP_table *t = table;
    t->caller_data = caller_data;
    ST_copy(t->table_name, table_name ? table_name : "", TP_NAME_MAX);
    t->set_class_name(TP_CLASS_NAME);
    t->set_title(title ? title : "");
    t->window_class.style = CS_DBLCLKS;
    t->large_icon = 39;
    t->small_icon = 40;
    t->style = WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;
    {
        C_WINDOW_DC screen(nullptr);
        if (screen.ok()) {
            t->screen_dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
            t->screen_dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
        }
        if (t->screen_dpi_x < 1 || t->screen_dpi_y < 1)
            t->screen_dpi_x = t->screen_dpi_y = 96;
    }
    read_font(t);
    if (!t->create())
        return 0;
    t->resize_cursor = LoadCursorA(nullptr, IDC_SIZEWE);
    if (!make_controls(t) || !weights_to_mille(t)) {
        DestroyWindow(t->window);   // not owned yet: the object stays
        t->combo = nullptr;
        for (HWND &button : t->buttons)
            button = nullptr;
        return 0;
    }
    WGD_register_window(t);
    t->open = 1;
    t->owned = 1;
    SetFocus(t->window);
    RECT client{0, 0, 0, 0};
    GetClientRect(t->window, &client);
    layout_controls(t, client.right);
    SetScrollPos(t->window, SB_HORZ, 0, FALSE);
    SetScrollPos(t->window, SB_VERT, 0, FALSE);
    // Shown before the printers are asked, so that their messages have the window behind them.
    ShowWindow(t->window, t->maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    list_printers(t, nullptr);
    if (t->printer_count == 0)
        WE_error(NO_PRINTER);
    UpdateWindow(t->window);
    return 1;
}

int16_t TP_close_window(TP_table *table)
{
    if (!table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!table->window)
        return 0;
    close_window(table);
    return 1;
}

HWND TP_window(const TP_table *table)
{
    return table ? table->window : nullptr;
}

int32_t TP_get_caller_data(const TP_table *table)
{
    return table ? table->caller_data : 0;
}

const char *TP_get_table_name(const TP_table *table)
{
    return table ? table->table_name : "";
}

int16_t TP_lay_out(TP_table *table)
{
    if (!table || !table->window || table->busy)
        return 0;
    return prepare(table);
}

int32_t TP_get_page_count(const TP_table *table)
{
    return table ? table->pages : 1;
}

int32_t TP_get_current_page(const TP_table *table)
{
    return table ? table->page : 1;
}

int16_t TP_get_printable_box(const TP_table *table, int32_t *left, int32_t *top, int32_t *right, int32_t *bottom)
{
    if (!table || !left || !top || !right || !bottom) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!table->laid_out)
        return 0;
    *left = table->box.left;
    *top = table->box.top;
    *right = table->box.right;
    *bottom = table->box.bottom;
    return 1;
}

int16_t TP_get_row_layout(const TP_table *table, int32_t row, int32_t *top, int32_t *bottom, int32_t *page)
{
    if (!table || !top || !bottom || !page) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!table->laid_out || row < 0 || row >= table->row_count)
        return 0;
    *top = table->rows[row]->top;
    *bottom = table->rows[row]->bottom;
    *page = table->rows[row]->page;
    return 1;
}

int16_t TP_print(TP_table *table)
{
    if (!table || !table->window || table->busy) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int16_t done = 0;
    while_busy(table, [&done](TP_table *t) { done = print_job(t); });
    return done;
}
