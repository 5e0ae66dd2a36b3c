#include "swin/tab.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "common/cz.h"
#include "common/mm.h"
#include "common/st.h"
#include "swin/col.h"
#include "swin/tab_sort.h"
#include "swin/wco.h"
#include "swin/wgd.h"
#include "win/guard.h"
#include "win/we.h"
#include "win/wmsg.h"

static const char SRC[] = "..\\swin\\tab";

namespace {

const int32_t TEXT_MAX = 1024;        // characters of a cell text shown or measured
const int32_t INDEX_FIRST = 256;      // identifier index slots of the first row
const int32_t RESIZE_ZONE = 5;        // pixels left and right of a header border
const int32_t MIN_WIDTH = 5;          // narrowest column the mouse can make
const int32_t PATTERN_WIDTH = 24, PATTERN_HEIGHT = 12;
const COLORREF SELECTED_BACKGROUND = RGB(200, 220, 245);
const COLORREF EMPHASIS_BACKGROUND = RGB(225, 235, 250);
HINSTANCE tooltip_instance = nullptr;

// 8 x 8 fill patterns, a set bit is ink: solid, dotted, dashed, filled,
// hole, grid, dash-dot, then hatches.
const uint8_t PATTERNS[TAB_PATTERNS][8] = {
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},
    {0xF0, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00}, {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},
    {0xE4, 0x00, 0x00, 0x00, 0x4E, 0x00, 0x00, 0x00}, {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},
    {0xEE, 0xBB, 0xEE, 0xBB, 0xEE, 0xBB, 0xEE, 0xBB},
};

template <class T>
T *make(int line)
{
    void *p = MM_alloc(1, sizeof(T), SRC, line);
    return p ? new (p) T() : nullptr;
}

// An array of count elements holding the first used ones of old; null after the low-memory report.
template <class T>
T *grown(const T *old, int32_t used, int32_t count, int line)
{
    T *array = static_cast<T *>(MM_alloc(count, sizeof(T), SRC, line));
    if (!array) {
        WE_low_memory();
        return nullptr;
    }
    for (int32_t i = 0; i < used; i++)
        array[i] = old[i];
    return array;
}

void free_cell(TAB_CELL *cell)
{
    if (!cell)
        return;
    ST_free(&cell->text);
    if (cell->bitmap)
        DeleteObject(cell->bitmap);
    MM_free(cell, SRC, __LINE__);
}

uint32_t slot_of(int32_t id, int32_t capacity)
{
    return (static_cast<uint32_t>(id) * 2654435761u) & static_cast<uint32_t>(capacity - 1);
}

int16_t is_check(int16_t kind) { return kind == TAB_CHECK || kind == TAB_CHECK2 || kind == TAB_CHECK_TEXT || kind == TAB_CHECK2_TEXT; }
int16_t is_colour(int16_t kind) { return kind == TAB_COLOUR || kind == TAB_COLOUR_TEXT; }
int16_t has_bitmap(int16_t kind) { return kind == TAB_BITMAP || kind == TAB_PATTERN || kind == TAB_BITMAP_TEXT || kind == TAB_PATTERN_TEXT; }
int16_t has_text(int16_t kind) { return kind == TAB_TEXT || kind >= TAB_BITMAP_TEXT; }

// The text as shown: line breaks as blanks, trimmed, at most TEXT_MAX characters.
void display_text(const TAB_CELL *cell, char *out)
{
    ST_copy(out, cell && cell->text ? cell->text : "", TEXT_MAX);
    for (char *p = out; *p; p++)
        if (*p == '\r' || *p == '\n')
            *p = ' ';
    ST_trim(out);
}

int32_t line_height(HDC dc)
{
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight + tm.tmExternalLeading;
}

// The search's form of a text: "&" removed when asked, case and diacritics dropped unless they count.
void search_form(char *text, int16_t strip_ampersand, int16_t case_sensitive, int16_t czech_sensitive)
{
    if (strip_ampersand) {
        char *to = text;
        for (const char *from = text; *from; from++)
            if (*from != '&')
                *to++ = *from;
        *to = 0;
    }
    if (!case_sensitive)
        CZ_upper(text);
    if (!czech_sensitive)
        CZ_strip(text);
}

HBITMAP pattern_bitmap(int32_t pattern)
{
    WORD bits[8];
    for (int i = 0; i < 8; i++)
        bits[i] = static_cast<WORD>(~PATTERNS[pattern][i] & 0xFF);   // a clear bit takes the text colour
    C_GDI<HBITMAP> mono(CreateBitmap(8, 8, 1, 1, bits));
    C_GDI<HBRUSH> brush(mono ? CreatePatternBrush(mono) : nullptr);
    C_WINDOW_DC screen(nullptr);
    if (!brush || !screen)
        return nullptr;
    C_MEMORY_DC dc(screen);
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(screen, PATTERN_WIDTH, PATTERN_HEIGHT) : nullptr;
    if (!bitmap)
        return nullptr;
    C_SELECT chosen(dc, bitmap);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    RECT r{0, 0, PATTERN_WIDTH, PATTERN_HEIGHT};
    FillRect(dc, &r, brush);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return bitmap;
}

LRESULT CALLBACK tooltip_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    C_TAB *table = reinterpret_cast<C_TAB *>(GetWindowLongPtrA(window, 0));
    if (!table)
        return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    if (message == WM_PAINT) {
        C_PAINT dc(window);
        RECT r;
        GetClientRect(window, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
        const TAB_ROW *row = table->tip_row == -1   ? &table->header
                             : table->tip_row == -3 ? &table->footer
                             : table->tip_row >= 0 && table->tip_row < table->row_count ? table->rows[table->tip_row]
                                                                                          : nullptr;
        if (row && dc) {
            C_SELECT chosen(dc, table->current_font());
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            table->paint_cell(dc, row, table->tip_column, r, 0);
        }
        return 0;
    }
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL) {
        POINT p{static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam))};
        MapWindowPoints(window, table->window, &p, 1);
        return SendMessageA(table->window, message, wparam, MAKELPARAM(p.x, p.y));
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

// ---- life ----

LRESULT C_TAB::create(const CREATESTRUCTA *)
{
    SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    arrow = LoadCursorA(nullptr, IDC_ARROW);
    resize_cursor = LoadCursorA(nullptr, IDC_SIZEWE);
    header.id = TAB_HEADER_ROW;
    footer.id = TAB_FOOTER_ROW;
    rows = static_cast<TAB_ROW **>(MM_alloc(TAB_ROWS_FIRST, sizeof(TAB_ROW *), SRC, __LINE__));
    columns = grown<TAB_COLUMN>(nullptr, 0, TAB_COLUMNS_FIRST, __LINE__);
    if (!rows || !columns) {
        if (!rows)
            WE_low_memory();
        return -1;
    }
    row_capacity = TAB_ROWS_FIRST;
    column_capacity = TAB_COLUMNS_FIRST;
    for (int32_t c = 0; c < column_capacity; c++)
        columns[c] = TAB_COLUMN();
    read_settings();
    tooltip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TABLE_TOOLTIP_CLASS_NAME, "", WS_POPUP | WS_BORDER, 0, 0,
                              0, 0, window, nullptr, tooltip_instance, nullptr);
    if (tooltip)
        SetWindowLongPtrA(tooltip, 0, reinterpret_cast<LONG_PTR>(this));
    SetTimer(window, TAB_TIMER, 1000, nullptr);
    return 0;
}

C_TAB::~C_TAB()
{
    KillTimer(window, TAB_TIMER);
    if (section[0] && columns)
        store_widths(0);
    if (tooltip && IsWindow(tooltip)) {
        SetWindowLongPtrA(tooltip, 0, 0);
        DestroyWindow(tooltip);
    }
    ST_free(&saved_header_text);
    for (int32_t i = 0; i < row_count; i++) {
        free_row_cells(rows[i]);
        MM_free(rows[i], SRC, __LINE__);
    }
    free_row_cells(&header);
    free_row_cells(&footer);
    MM_free(rows, SRC, __LINE__);
    MM_free(columns, SRC, __LINE__);
    MM_free(index, SRC, __LINE__);
}

void C_TAB::read_settings()
{
    WCO_file *store = WCO_system_store();
    struct {
        const char *key;
        int16_t *field;
        int16_t standard;
    } const keys[] = {
        {"emphasize_cursor_line", &emphasize_cursor_line, 0},
        {"use_tooltips", &use_tooltips, 1},
        {"case_sensitive_keyboard_search", &case_sensitive_keyboard_search, 1},
        {"czech_sensitive_keyboard_search", &czech_sensitive_keyboard_search, 1},
    };
    for (const auto &k : keys)
        if (!store || !WCO_get_yes(store, TAB_SETTINGS, k.key, k.field)) {
            *k.field = k.standard;
            if (store)
                WCO_set_yes(store, TAB_SETTINGS, k.key, k.standard);
        }
}

void C_TAB::free_row_cells(TAB_ROW *row)
{
    for (int16_t c = 0; c < row->cell_count; c++)
        free_cell(row->cells[c]);
    MM_free(row->cells, SRC, __LINE__);
    row->cells = nullptr;
    row->cell_count = row->cell_capacity = 0;
}

// ---- rows, cells and the identifier index ----

TAB_CELL *C_TAB::cell_of(const TAB_ROW *row, int32_t column)
{
    return row && column >= 0 && column < row->cell_count ? row->cells[column] : nullptr;
}

TAB_ROW *C_TAB::find_row(int32_t id) const
{
    if (!index)
        return nullptr;
    for (uint32_t s = slot_of(id, index_capacity);; s = (s + 1) & static_cast<uint32_t>(index_capacity - 1)) {
        if (!index[s] || index[s]->id == id)
            return index[s];
    }
}

int16_t C_TAB::index_insert(TAB_ROW *row)
{
    if ((row_count + 1) * 2 > index_capacity) {
        const int32_t capacity = index_capacity ? index_capacity * 2 : INDEX_FIRST;
        TAB_ROW **slots = grown<TAB_ROW *>(nullptr, 0, capacity, __LINE__);
        if (!slots)
            return 0;
        for (int32_t i = 0; i < index_capacity; i++)
            if (index[i]) {
                uint32_t s = slot_of(index[i]->id, capacity);
                while (slots[s])
                    s = (s + 1) & static_cast<uint32_t>(capacity - 1);
                slots[s] = index[i];
            }
        MM_free(index, SRC, __LINE__);
        index = slots;
        index_capacity = capacity;
    }
    if (!row)
        return 1;
    uint32_t s = slot_of(row->id, index_capacity);
    while (index[s])
        s = (s + 1) & static_cast<uint32_t>(index_capacity - 1);
    index[s] = row;
    return 1;
}

void C_TAB::index_clear()
{
    for (int32_t i = 0; i < index_capacity; i++)
        index[i] = nullptr;
}

int16_t C_TAB::grow_columns(int32_t column)
{
    if (column < 0 || column >= TAB_COLUMNS_MAX) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (column < column_capacity)
        return 1;
    int32_t capacity = column_capacity;
    while (capacity <= column)
        capacity += TAB_GROWTH_STEP;
    TAB_COLUMN *array = grown(columns, column_capacity, capacity, __LINE__);
    if (!array)
        return 0;
    for (int32_t c = column_capacity; c < capacity; c++)
        array[c] = TAB_COLUMN();
    MM_free(columns, SRC, __LINE__);
    columns = array;
    column_capacity = capacity;
    return 1;
}

TAB_ROW *C_TAB::row_for_get(uint16_t row_word, int16_t by_index) const
{
    if (row_word == TAB_HEADER_ROW)
        return const_cast<TAB_ROW *>(&header);
    if (row_word == TAB_FOOTER_ROW)
        return const_cast<TAB_ROW *>(&footer);
    if (by_index)
        return row_word < row_count ? rows[row_word] : nullptr;
    return find_row(row_word);
}

TAB_CELL *C_TAB::cell_for_get(WPARAM address, int16_t by_index) const
{
    return cell_of(row_for_get(HIWORD(address), by_index), LOWORD(address));
}

TAB_ROW *C_TAB::new_row(int32_t id)
{
    if (row_count >= TAB_ROWS_MAX) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    // Every allocation comes first, so that a failure leaves the table as it was.
    if (row_count + 1 >= row_capacity) {
        // By TAB_ROWS_STEP at first, then by what has been added beyond the first
        // slots, so that filling a long table copies each pointer only a few times.
        const int32_t step = row_capacity - TAB_ROWS_FIRST > TAB_ROWS_STEP ? row_capacity - TAB_ROWS_FIRST : TAB_ROWS_STEP;
        const int32_t capacity = row_capacity + step < TAB_ROWS_MAX + 1 ? row_capacity + step : TAB_ROWS_MAX + 1;
        TAB_ROW **array = grown(rows, row_count, capacity, __LINE__);
        if (!array)
            return nullptr;
        MM_free(rows, SRC, __LINE__);
        rows = array;
        row_capacity = capacity;
    }
    if (!index_insert(nullptr))
        return nullptr;
    TAB_ROW *row = make<TAB_ROW>(__LINE__);
    if (!row) {
        WE_low_memory();
        return nullptr;
    }
    row->id = id;
    return row;
}

void C_TAB::append_row(TAB_ROW *row)
{
    row->index = row_count;
    rows[row_count++] = row;
    index_insert(row);
}

TAB_CELL *C_TAB::cell_for_set(WPARAM address, int16_t by_index)
{
    const int32_t column = LOWORD(address);
    if (!grow_columns(column))
        return nullptr;
    TAB_ROW *row = row_for_get(HIWORD(address), by_index);
    TAB_ROW *made = nullptr;
    if (!row) {
        if (by_index)
            return nullptr;
        if (!(row = made = new_row(HIWORD(address))))
            return nullptr;
    }
    if (column >= row->cell_capacity) {
        int32_t capacity = row->cell_capacity ? row->cell_capacity : TAB_CELLS_FIRST;
        while (capacity <= column)
            capacity += TAB_GROWTH_STEP;
        TAB_CELL **cells = grown(row->cells, row->cell_count, capacity, __LINE__);
        if (!cells) {
            MM_free(made, SRC, __LINE__);
            return nullptr;
        }
        MM_free(row->cells, SRC, __LINE__);
        row->cells = cells;
        row->cell_capacity = static_cast<int16_t>(capacity);
    }
    TAB_CELL *cell = row->cells[column];
    if (!cell) {
        cell = make<TAB_CELL>(__LINE__);
        if (!cell) {
            WE_low_memory();
            if (made) {
                MM_free(made->cells, SRC, __LINE__);
                MM_free(made, SRC, __LINE__);
            }
            return nullptr;
        }
        row->cells[column] = cell;
        if (column >= row->cell_count)
            row->cell_count = static_cast<int16_t>(column + 1);
    }
    if (made)
        append_row(made);
    // A hidden header or footer row does not count.
    if (column >= column_count && !(row == &header && !header_shown) && !(row == &footer && !footer_shown))
        column_count = column + 1;
    return cell;
}

void C_TAB::changed(int16_t order)
{
    layout_needed = 1;
    if (order)
        order_needed = 1;
    // One invalidation until the paint: a table filled cell by cell asks the system once.
    if (!redraw_needed) {
        redraw_needed = 1;
        InvalidateRect(window, nullptr, FALSE);
    }
}

LRESULT C_TAB::set_cell(UINT message, WPARAM wparam, LPARAM lparam)
{
    // Values that need memory or a resource are made before the cell.
    char *text = nullptr;
    HBITMAP bitmap = nullptr;
    const COL_TABLE *colours = WGD_colours();
    switch (message) {
    case TAB_set_text:
        if (!ST_dup(lparam ? reinterpret_cast<const char *>(lparam) : "", &text))
            return 0;
        break;
    case TAB_set_palette_colour:
        if (lparam < 0 || lparam >= COL_ENTRIES || !colours) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        if (!ST_dup(colours->entries[lparam].name, &text))
            return 0;
        break;
    case TAB_set_bitmap:
        bitmap = LoadBitmapA(WGD_driver ? WGD_driver->instance : GetModuleHandleA(nullptr),
                             MAKEINTRESOURCEA(static_cast<WORD>(lparam)));
        if (!bitmap)
            return 0;
        break;
    case TAB_set_pattern:
        if (lparam < 0 || lparam >= TAB_PATTERNS) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        if (!(bitmap = pattern_bitmap(static_cast<int32_t>(lparam))))
            return 0;
        break;
    case TAB_set_kind:
        if (lparam < TAB_TEXT || lparam > TAB_PATTERN_TEXT) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        break;
    default:
        break;
    }
    TAB_CELL *cell = cell_for_set(wparam, message == TAB_set_state_by_index);
    if (!cell) {
        ST_free(&text);
        if (bitmap)
            DeleteObject(bitmap);
        return 0;
    }
    if (text) {
        ST_free(&cell->text);
        cell->text = text;
    }
    if (bitmap) {
        if (cell->bitmap)
            DeleteObject(cell->bitmap);
        BITMAP b{};
        GetObjectA(bitmap, sizeof b, &b);
        cell->bitmap = bitmap;
        cell->bitmap_width = b.bmWidth;
        cell->bitmap_height = b.bmHeight;
    }
    switch (message) {
    case TAB_set_colour: cell->colour = static_cast<COLORREF>(lparam), cell->palette_index = -1; break;
    case TAB_set_palette_colour:
        cell->colour = COL_value(colours, static_cast<int16_t>(lparam));
        cell->palette_index = static_cast<int32_t>(lparam);
        break;
    case TAB_set_pattern: cell->pattern = static_cast<int32_t>(lparam); break;
    case TAB_set_state:
    case TAB_set_state_by_index: cell->state = static_cast<uint8_t>(lparam); break;
    case TAB_set_kind: cell->kind = static_cast<int16_t>(lparam); break;
    case TAB_set_active: cell->active = lparam ? 1 : 0; break;
    case TAB_set_cell_flag: cell->flag = static_cast<uint8_t>(lparam); break;
    case TAB_set_cell_word: cell->word = static_cast<int32_t>(lparam); break;
    case TAB_set_cell_text_colour: cell->has_text_colour = 1, cell->text_colour = static_cast<COLORREF>(lparam); break;
    default: break;
    }
    changed();
    return 1;
}

LRESULT C_TAB::row_set(UINT message, WPARAM wparam, LPARAM lparam)
{
    // The cells the row holds take the value; a missing row is appended without cells.
    TAB_ROW *row = row_for_get(HIWORD(wparam), 0);
    if (!row) {
        if (!(row = new_row(HIWORD(wparam))))
            return 0;
        append_row(row);
    }
    for (int16_t c = 0; c < row->cell_count; c++)
        if (TAB_CELL *cell = row->cells[c]) {
            if (message == TAB_set_row_flag)
                cell->flag = static_cast<uint8_t>(lparam);
            else if (message == TAB_set_row_word)
                cell->word = static_cast<int32_t>(lparam);
            else
                cell->has_text_colour = 1, cell->text_colour = static_cast<COLORREF>(lparam);
        }
    changed();
    return 1;
}

LRESULT C_TAB::get_cell(UINT message, WPARAM wparam, LPARAM lparam)
{
    const int16_t by_index = message == TAB_get_text_length_by_index || message == TAB_get_text_by_index ||
                             message == TAB_get_state_by_index || message == TAB_get_cell_word_by_index;
    const TAB_CELL *cell = cell_for_get(wparam, by_index);
    if (message == TAB_get_cell_word || message == TAB_get_cell_word_by_index)
        return cell ? cell->word : -1;
    if (!cell)
        return 0;
    switch (message) {
    case TAB_get_text_length:
    case TAB_get_text_length_by_index: return ST_length(cell->text);
    case TAB_get_text:
    case TAB_get_text_by_index:
        if (!lparam) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        ST_copy(reinterpret_cast<char *>(lparam), cell->text ? cell->text : "", 0);
        return 1;
    case TAB_get_colour: return static_cast<LRESULT>(cell->colour);
    case TAB_get_state:
    case TAB_get_state_by_index: return cell->state;
    case TAB_get_bitmap: return reinterpret_cast<LRESULT>(cell->bitmap);
    case TAB_get_palette_index: return cell->palette_index;
    default: WE_switch_error(SRC, __LINE__); return 0;
    }
}

LRESULT C_TAB::selected(int32_t *ids, int32_t *cols) const
{
    int32_t n = 0;
    for (int32_t i = 0; i < row_count; i++) {
        const TAB_ROW *row = rows[i];
        const int16_t current = !multi_selection && i == current_row;
        if (row_selection) {
            if (multi_selection ? row->selected : current) {
                if (ids)
                    ids[n] = row->id;
                n++;
            }
            continue;
        }
        for (int32_t c = 0; c < column_count; c++) {
            const TAB_CELL *cell = cell_of(row, c);
            if (multi_selection ? cell && cell->selected : current && c == current_column) {
                if (ids)
                    ids[n] = row->id, cols[n] = c;
                n++;
            }
        }
    }
    return n;
}

// ---- widths and layout ----

HFONT C_TAB::current_font() const
{
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int32_t C_TAB::needed_width(HDC dc, const TAB_CELL *cell) const
{
    if (!cell)
        return 0;
    int32_t text_width = 0;
    if (has_text(cell->kind)) {
        char text[TEXT_MAX + 1];
        display_text(cell, text);
        SIZE size{0, 0};
        GetTextExtentPoint32A(dc, text, ST_length(text), &size);
        text_width = size.cx;
    }
    const int32_t picture = has_bitmap(cell->kind) ? cell->bitmap_width
                            : is_colour(cell->kind) || is_check(cell->kind) ? line_height(dc)
                                                                            : 0;
    return picture + text_width + 2;
}

int32_t C_TAB::used_columns() const
{
    int32_t n = 0;
    for (int32_t i = 0; i < row_count; i++)
        n = rows[i]->cell_count > n ? rows[i]->cell_count : n;
    if (header_shown && header.cell_count > n)
        n = header.cell_count;
    if (footer_shown && footer.cell_count > n)
        n = footer.cell_count;
    return n;
}

void C_TAB::recount_columns()
{
    column_count = used_columns();
    if (current_column >= column_count)
        current_column = column_count > 0 ? column_count - 1 : 0;
}

int16_t C_TAB::fit_to_contents()
{
    const int32_t n = used_columns();
    if (n > 0 && !grow_columns(n - 1))
        return 0;
    column_count = n;
    C_WINDOW_DC dc(window);
    if (!dc)
        return 0;
    C_SELECT chosen(dc, current_font());
    for (int32_t c = 0; c < n; c++) {
        int32_t width = 0;
        for (int32_t i = 0; i < row_count; i++) {
            const int32_t w = needed_width(dc, cell_of(rows[i], c));
            width = w > width ? w : width;
        }
        columns[c].width = width;
        columns[c].weight = static_cast<float>(width);
    }
    changed(0);
    return 1;
}

int16_t C_TAB::fit_to_window()
{
    if (width_lock)
        return 0;
    const int32_t n = used_columns();
    if (n > 0 && !grow_columns(n - 1))
        return 0;
    column_count = n;
    RECT client;
    GetClientRect(window, &client);
    const int32_t share = client.right - 1;
    double sum = 0;
    for (int32_t c = 0; c < n; c++)
        sum += columns[c].weight;
    if (sum < 0.000001)
        sum = 1;
    int32_t given = 0;
    for (int32_t c = 0; c + 1 < n; c++) {
        columns[c].width = static_cast<int32_t>(share * columns[c].weight / sum);
        given += columns[c].width;
    }
    if (n > 0) {
        const int32_t rest = share - given - 1;
        columns[n - 1].width = rest > 0 ? rest : 0;
    }
    InvalidateRect(window, nullptr, FALSE);
    return 1;
}

int16_t C_TAB::store_widths(int16_t load)
{
    WCO_file *store = WCO_system_store();
    if (!section[0] || !store)
        return 0;
    int16_t all = 1;
    for (int32_t c = 0; c < column_count; c++) {
        char key[WCO_NAME_MAX + 1];
        std::snprintf(key, sizeof key, "column_width_%02d", static_cast<int>(c));
        int32_t width = 0;
        if (!load) {
            all &= WCO_set_int32(store, section, key, columns[c].width);
        } else if (WCO_get_int32(store, section, key, &width) && width >= 0 && width <= 32767) {
            columns[c].width = width;
            columns[c].weight = static_cast<float>(width);
        } else {
            all = 0;
        }
    }
    WCO_select_section(store, nullptr);
    if (load)
        changed(0);
    return all;
}

int32_t C_TAB::body_top() const
{
    return header_shown ? row_height : 0;
}

int32_t C_TAB::visible_rows() const
{
    RECT client;
    GetClientRect(window, &client);
    const int32_t height = client.bottom - body_top() - (footer_shown ? row_height : 0);
    return height > 0 ? height / row_height : 0;
}

void C_TAB::layout()
{
    {
        C_WINDOW_DC dc(window);
        C_SELECT chosen(dc, current_font());
        if (dc)
            row_height = line_height(dc) + 4;
    }
    if (order_needed) {
        // Marked done first: a report of the sort shows a box, whose messages
        // paint the table again, and that paint must not sort (and report) again.
        order_needed = 0;
        // The current row stays the same row after the sort.
        TAB_ROW *current = current_row < row_count ? rows[current_row] : nullptr;
        if (TAB_sort_rows(this) && current)
            current_row = current->index;
    }
    if (auto_fit)
        fit_to_window();
    int32_t x = 0;
    for (int32_t c = 0; c < column_capacity; c++) {
        columns[c].left = x;
        columns[c].right = x + columns[c].width;
        if (c < column_count)
            x = columns[c].right;
    }
    layout_needed = 0;
    scroll_to(top_row);
}

void C_TAB::update_scroll_bars()
{
    RECT client;
    GetClientRect(window, &client);
    SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE | SIF_POS, 0, row_count > 0 ? row_count - 1 : 0,
                 static_cast<UINT>(visible_rows()), top_row, 0};
    SetScrollInfo(window, SB_VERT, &v, TRUE);
    const int32_t width = column_count > 0 ? columns[column_count - 1].right : 0;
    SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE | SIF_POS, 0, width > 0 ? width - 1 : 0,
                 static_cast<UINT>(client.right), left_pixel, 0};
    SetScrollInfo(window, SB_HORZ, &h, TRUE);
}

void C_TAB::scroll_to(int32_t top)
{
    // The last row stays in view, also in a body lower than one row.
    const int32_t last = row_count - (visible_rows() > 0 ? visible_rows() : 1);
    top = top > last ? last : top;
    top = top < 0 ? 0 : top;
    if (top != top_row) {
        top_row = top;
        InvalidateRect(window, nullptr, FALSE);
    }
    update_scroll_bars();
}

void C_TAB::bring_into_view(int32_t row)
{
    const int32_t visible = visible_rows() > 0 ? visible_rows() : 1;
    if (row < top_row)
        scroll_to(row);
    else if (row >= top_row + visible)
        scroll_to(row - visible + 1);
    if (current_column < column_count) {
        RECT client;
        GetClientRect(window, &client);
        const TAB_COLUMN &c = columns[current_column];
        if (c.left < left_pixel || c.right - c.left > client.right)
            left_pixel = c.left;
        else if (c.right > left_pixel + client.right)
            left_pixel = c.right - client.right;
        update_scroll_bars();
    }
}

void C_TAB::centre_row(int32_t row)
{
    scroll_to(row - visible_rows() / 2);
}

int16_t C_TAB::cell_rect(int32_t row_slot, int32_t column, RECT *r) const
{
    if (column < 0 || column >= column_count) {
        SetRectEmpty(r);
        return 0;
    }
    RECT client;
    GetClientRect(window, &client);
    const int32_t top = row_slot == -1   ? 0
                        : row_slot == -3 ? client.bottom - row_height
                                         : body_top() + (row_slot - top_row) * row_height;
    *r = RECT{columns[column].left - left_pixel, top, columns[column].right - left_pixel, top + row_height};
    return 1;
}

void C_TAB::hit(int32_t x, int32_t y, int32_t *row, int32_t *column) const
{
    RECT client;
    GetClientRect(window, &client);
    *column = -1;
    for (int32_t c = 0; c < column_count; c++)
        if (x + left_pixel >= columns[c].left && x + left_pixel < columns[c].right)
            *column = c;
    if (header_shown && y < row_height)
        *row = -1;
    else if (footer_shown && y >= client.bottom - row_height)
        *row = -3;
    else if (y >= body_top() && top_row + (y - body_top()) / row_height < row_count)
        *row = top_row + (y - body_top()) / row_height;
    else
        *row = -2;
}

// ---- current cell, selection and notifications ----

void C_TAB::notify(uint16_t code)
{
    if (HWND parent = GetParent(window))
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code), reinterpret_cast<LPARAM>(window));
}

void C_TAB::notify_cell(int32_t row, int32_t column, uint16_t code)
{
    const TAB_CELL *cell = row >= 0 && row < row_count ? cell_of(rows[row], column) : nullptr;
    if (cell && cell->active)
        notify(code);
}

void C_TAB::move_current(int32_t row, int32_t column, int16_t notify_change)
{
    row = row >= row_count ? row_count - 1 : row;
    row = row < 0 ? 0 : row;
    column = column >= column_count ? column_count - 1 : column;
    column = column < 0 ? 0 : column;
    const int16_t moved = row != current_row || column != current_column;
    current_row = row;
    current_column = column;
    bring_into_view(row);
    if (!moved)
        return;
    InvalidateRect(window, nullptr, FALSE);
    if (notify_change)
        notify(TAB_NOTIFY_CURRENT);
}

void C_TAB::toggle_selection(int32_t row)
{
    if (row < 0 || row >= row_count)
        return;
    if (row_selection) {
        rows[row]->selected = !rows[row]->selected;
    } else if (TAB_CELL *cell = cell_of(rows[row], current_column)) {
        cell->selected = !cell->selected;
    }
    InvalidateRect(window, nullptr, FALSE);
}

// ---- keyboard ----

void C_TAB::key_down(WPARAM key)
{
    const int16_t shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
    if (shift + control + (GetKeyState(VK_MENU) < 0) > 1)
        return;
    const int32_t page = visible_rows() > 1 ? visible_rows() - 1 : 1;
    int32_t row = current_row, column = current_column;
    switch (key) {
    case VK_UP: row--; break;
    case VK_DOWN: row++; break;
    case VK_PRIOR: row -= page; break;
    case VK_NEXT: row += page; break;
    case VK_HOME: row = 0; break;
    case VK_END: row = row_count - 1; break;
    case VK_LEFT: column--; break;
    case VK_RIGHT: column++; break;
    case VK_BACK:
        if (search_active)
            backspace();
        return;
    case VK_SPACE:
        if (search_active) {
            end_search();
            return;
        }
        if (multi_selection)
            toggle_selection(current_row);
        notify_cell(current_row, current_column, TAB_NOTIFY_SPACE);
        return;
    case VK_INSERT: notify_cell(current_row, current_column, TAB_NOTIFY_INSERT); return;
    case VK_RETURN:
    case VK_ESCAPE: end_search(); return;
    default: return;
    }
    end_search();
    if (row_count == 0)
        return;
    if (shift && multi_selection && (key == VK_UP || key == VK_DOWN) && row >= 0 && row < row_count)
        toggle_selection(current_row);
    move_current(row, column, 1);
}

void C_TAB::typed(char c)
{
    if (!search_active) {
        if (row_count == 0 || current_column >= column_count)
            return;
        // The header cell shows the search text; its own text comes back when the search ends.
        const TAB_CELL *cell = cell_of(&header, current_column);
        if (cell && !ST_dup(cell->text ? cell->text : "", &saved_header_text))
            return;
        search_column = current_column;
        search_active = 1;
        search_text[0] = 0;
    }
    const int16_t length = ST_length(search_text);
    if (length >= TAB_SEARCH_MAX)
        return;
    search_text[length] = c;
    search_text[length + 1] = 0;
    if (!search())
        search_text[length] = 0;   // nothing begins so: the character is taken off again
    if (!search_text[0]) {
        end_search();
        return;
    }
    set_cell(TAB_set_text, MAKEWPARAM(search_column, TAB_HEADER_ROW), reinterpret_cast<LPARAM>(search_text));
}

void C_TAB::backspace()
{
    const int16_t length = ST_length(search_text);
    if (length > 0)
        search_text[length - 1] = 0;
    if (!search_text[0]) {
        end_search();
        return;
    }
    search();
    set_cell(TAB_set_text, MAKEWPARAM(search_column, TAB_HEADER_ROW), reinterpret_cast<LPARAM>(search_text));
}

int16_t C_TAB::search()
{
    char wanted[TAB_SEARCH_MAX + 1];
    ST_copy(wanted, search_text, TAB_SEARCH_MAX);
    search_form(wanted, 0, case_sensitive_keyboard_search, czech_sensitive_keyboard_search);
    const int16_t length = ST_length(wanted);
    for (int32_t i = 0; i < row_count; i++) {
        const TAB_CELL *cell = cell_of(rows[i], search_column);
        if (!cell || !cell->text)
            continue;
        char text[TAB_SEARCH_MAX + 1];
        ST_copy(text, cell->text, TAB_SEARCH_MAX);
        ST_trim(text);
        search_form(text, strip_ampersand, case_sensitive_keyboard_search, czech_sensitive_keyboard_search);
        if (std::strncmp(text, wanted, static_cast<size_t>(length)) == 0) {
            move_current(i, search_column, 1);
            return 1;
        }
    }
    return 0;
}

void C_TAB::end_search()
{
    if (!search_active)
        return;
    search_active = 0;
    search_text[0] = 0;
    TAB_CELL *cell = cell_of(&header, search_column);
    if (cell) {
        ST_free(&cell->text);
        cell->text = saved_header_text;   // null reads as an empty text
        saved_header_text = nullptr;
    }
    ST_free(&saved_header_text);
    InvalidateRect(window, nullptr, FALSE);
}

// ---- mouse and tooltip ----

// Notification codes of the mouse: [button][double][place: body, header, footer].
static const uint16_t MOUSE_CODES[3][2][3] = {
    {{1, 5, 7}, {2, 6, 8}},
    {{10, 14, 16}, {11, 15, 17}},
    {{12, 18, 20}, {13, 19, 21}},
};

void C_TAB::mouse(UINT message, int32_t x, int32_t y)
{
    hide_tooltip();
    if (layout_needed)
        layout();
    int32_t row = -2, column = -1;
    hit(x, y, &row, &column);
    if (row == -1)
        header_column = column;
    if (row == -3)
        footer_column = column;
    int button = 0, twice = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        for (int32_t c = 0; row == -1 && c < column_count; c++)
            if (std::abs(x + left_pixel - columns[c].right) < RESIZE_ZONE) {
                resizing = c;
                SetCapture(window);
                return;
            }
        end_search();
        SetFocus(window);
        SetCapture(window);
        pressed = 1;
        if (row >= 0 && column >= 0) {
            if (multi_selection) {
                current_column = column;
                toggle_selection(row);
            }
            move_current(row, column, 1);
        }
        return;
    case WM_LBUTTONUP: {
        // The drag ends before the capture goes (that tells of the end too).
        const int32_t resized = resizing;
        const int16_t was_pressed = pressed;
        resizing = -1;
        pressed = 0;
        if (GetCapture() == window)
            ReleaseCapture();
        if (resized >= 0) {
            width_lock = 1;
            return;
        }
        if (!was_pressed)
            return;
        break;
    }
    case WM_LBUTTONDBLCLK: twice = 1; break;
    case WM_RBUTTONUP: button = 1; break;
    case WM_RBUTTONDBLCLK: button = 1, twice = 1; break;
    case WM_MBUTTONUP: button = 2; break;
    case WM_MBUTTONDBLCLK: button = 2, twice = 1; break;
    default: return;
    }
    if (column < 0)
        return;
    if (row == -1 || row == -3)
        notify(MOUSE_CODES[button][twice][row == -1 ? 1 : 2]);
    else
        notify_cell(row, column, MOUSE_CODES[button][twice][0]);
}

void C_TAB::mouse_move(int32_t x, int32_t y)
{
    if (layout_needed)
        layout();
    if (resizing >= 0) {
        const int32_t width = x + left_pixel - columns[resizing].left;
        columns[resizing].width = width > MIN_WIDTH ? width : MIN_WIDTH;
        columns[resizing].weight = static_cast<float>(columns[resizing].width);
        changed(0);
        return;
    }
    int32_t row = -2, column = -1;
    hit(x, y, &row, &column);
    if (pressed) {
        if (row >= 0 && column >= 0)
            move_current(row, column, 1);
        return;
    }
    if (use_tooltips && row != -2 && column >= 0)
        show_tooltip(row, column);
    else
        hide_tooltip();
}

void C_TAB::show_tooltip(int32_t row, int32_t column)
{
    if (!tooltip || (row == tip_row && column == tip_column && IsWindowVisible(tooltip)))
        return;
    const TAB_ROW *r = row == -1 ? &header : row == -3 ? &footer : rows[row];
    int32_t width = 0;
    {
        C_WINDOW_DC dc(window);
        C_SELECT chosen(dc, current_font());
        width = dc ? needed_width(dc, cell_of(r, column)) + 4 : 0;
    }
    if (width <= columns[column].width) {
        hide_tooltip();
        return;
    }
    RECT cell;
    cell_rect(row, column, &cell);
    POINT corner{cell.left, cell.top};
    ClientToScreen(window, &corner);
    tip_row = row;
    tip_column = column;
    SetWindowPos(tooltip, HWND_TOPMOST, corner.x, corner.y, width, row_height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(tooltip, nullptr, TRUE);
}

void C_TAB::hide_tooltip()
{
    if (tooltip && IsWindowVisible(tooltip))
        ShowWindow(tooltip, SW_HIDE);
    tip_row = -2;
    tip_column = -1;
}

// ---- painting ----

void C_TAB::paint_cell(HDC dc, const TAB_ROW *row, int32_t column, RECT r, int16_t emphasis)
{
    const TAB_CELL *cell = cell_of(row, column);
    if (!cell)
        return;
    const int32_t line = line_height(dc);
    RECT inner{r.left + 1, r.top, r.right - 1, r.bottom};
    C_GDI<HRGN> clip(CreateRectRgnIndirect(&inner));
    SelectClipRgn(dc, clip);
    int32_t x = inner.left;
    const int32_t middle = (r.top + r.bottom) / 2;
    if (is_colour(cell->kind)) {
        RECT square{x + 1, middle - line / 2 + 1, x + line - 1, middle + line / 2 - 1};
        C_GDI<HBRUSH> brush(CreateSolidBrush(cell->colour));
        FillRect(dc, &square, brush);
        FrameRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        x += line;
    } else if (is_check(cell->kind)) {
        RECT box{x + 1, middle - line / 2 + 1, x + line - 1, middle + line / 2 - 1};
        const UINT flat = cell->kind == TAB_CHECK2 || cell->kind == TAB_CHECK2_TEXT ? DFCS_FLAT : 0;
        DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | flat | (cell->state ? DFCS_CHECKED : 0));
        x += line;
    } else if (has_bitmap(cell->kind) && cell->bitmap) {
        C_MEMORY_DC source(dc);
        C_SELECT chosen(source, cell->bitmap);
        if (source)
            BitBlt(dc, x, middle - cell->bitmap_height / 2, cell->bitmap_width, cell->bitmap_height, source, 0, 0,
                   SRCCOPY);
        x += cell->bitmap_width;
    }
    if (has_text(cell->kind)) {
        char text[TEXT_MAX + 1];
        display_text(cell, text);
        RECT place{x, r.top, inner.right, r.bottom};
        const TAB_COLUMN *c = column < column_capacity ? &columns[column] : nullptr;
        const UINT align = c && c->format == 1 ? DT_CENTER : c && c->format == 2 ? DT_RIGHT : DT_LEFT;
        if (!IsWindowEnabled(window))
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        else if (cell->has_text_colour && emphasis != 1)
            SetTextColor(dc, cell->text_colour);
        DrawTextA(dc, text, -1, &place, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    SelectClipRgn(dc, nullptr);
}

void C_TAB::paint_row(HDC dc, const TAB_ROW *row, int32_t y, int16_t frame, int16_t current)
{
    for (int32_t c = 0; c < column_count; c++) {
        RECT r{columns[c].left - left_pixel, y, columns[c].right - left_pixel, y + row_height};
        const TAB_CELL *cell = cell_of(row, c);
        const int16_t here = current && c == current_column;
        int16_t emphasis = 0;
        COLORREF background = GetSysColor(COLOR_WINDOW);
        if (frame) {
            background = GetSysColor(COLOR_BTNFACE);
        } else if (here && GetFocus() == window) {
            background = GetSysColor(COLOR_HIGHLIGHT), emphasis = 1;
        } else if ((row_selection ? row->selected : cell && cell->selected) && multi_selection) {
            background = SELECTED_BACKGROUND;
        } else if (current && (emphasize_cursor_line || row_selection)) {
            background = EMPHASIS_BACKGROUND;
        }
        C_GDI<HBRUSH> brush(CreateSolidBrush(background));
        FillRect(dc, &r, brush);
        SetTextColor(dc, GetSysColor(emphasis ? COLOR_HIGHLIGHTTEXT : frame ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
        paint_cell(dc, row, c, r, emphasis);
        if (frame) {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        } else {
            RECT grid{r.left, r.bottom - 1, r.right, r.bottom};
            FillRect(dc, &grid, GetSysColorBrush(COLOR_BTNFACE));
            grid = RECT{r.right - 1, r.top, r.right, r.bottom};
            FillRect(dc, &grid, GetSysColorBrush(COLOR_BTNFACE));
            if (here && GetFocus() != window)
                FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        }
    }
}

void C_TAB::paint()
{
    redraw_needed = 0;
    if (layout_needed)
        layout();
    C_PAINT screen(window);
    if (!screen)
        return;
    RECT client;
    GetClientRect(window, &client);
    // Drawn off the screen first, so that nothing flickers.
    C_MEMORY_DC dc(screen);
    C_GDI<HBITMAP> picture(dc ? CreateCompatibleBitmap(screen, client.right, client.bottom) : nullptr);
    if (!picture)
        return;
    C_SELECT chosen(dc, picture);
    C_SELECT_PALETTE palette(dc, WGD_palette(), FALSE);
    if (WGD_palette())
        RealizePalette(dc);
    C_SELECT chosen_font(dc, current_font());
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const int32_t bottom = client.bottom - (footer_shown ? row_height : 0);
    for (int32_t i = top_row, y = body_top(); i < row_count && y < bottom; i++, y += row_height)
        paint_row(dc, rows[i], y, 0, i == current_row);
    if (footer_shown)
        paint_row(dc, &footer, bottom, 1, 0);
    if (header_shown)
        paint_row(dc, &header, 0, 1, 0);
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

// ---- messages ----

LRESULT C_TAB::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_PAINT && message != WM_TIMER && message != WM_MOUSEMOVE && message != WM_SETCURSOR &&
        message != WM_NCHITTEST && message != WM_ERASEBKGND && (message < WM_MOUSEFIRST || message > WM_MOUSELAST))
        hide_tooltip();
    switch (message) {
    case TAB_set_text:
    case TAB_set_colour:
    case TAB_set_bitmap:
    case TAB_set_state:
    case TAB_set_kind:
    case TAB_set_active:
    case TAB_set_palette_colour:
    case TAB_set_pattern:
    case TAB_set_state_by_index:
    case TAB_set_cell_flag:
    case TAB_set_cell_word:
    case TAB_set_cell_text_colour:
        return set_cell(message, wparam, lparam);
    case TAB_set_row_flag:
    case TAB_set_row_word:
    case TAB_set_row_text_colour:
        return row_set(message, wparam, lparam);
    case TAB_get_text_length:
    case TAB_get_text:
    case TAB_get_colour:
    case TAB_get_state:
    case TAB_get_bitmap:
    case TAB_get_text_length_by_index:
    case TAB_get_text_by_index:
    case TAB_get_palette_index:
    case TAB_get_state_by_index:
    case TAB_get_cell_word:
    case TAB_get_cell_word_by_index:
        return get_cell(message, wparam, lparam);
    case TAB_set_column_format:
    case TAB_set_column_width:
    case TAB_set_column_sort_kind:
    case TAB_set_column_sort_priority: {
        if (message == TAB_set_column_width && width_lock)
            return 0;
        if (!grow_columns(static_cast<int32_t>(wparam)))
            return 0;
        TAB_COLUMN &c = columns[wparam];
        if (message == TAB_set_column_format)
            c.format = static_cast<uint16_t>(lparam);
        else if (message == TAB_set_column_width)
            c.width = static_cast<int32_t>(lparam), c.weight = static_cast<float>(c.width);
        else if (message == TAB_set_column_sort_kind)
            c.sort_kind = static_cast<int16_t>(lparam);
        else
            c.sort_priority = static_cast<int32_t>(lparam);
        changed(message == TAB_set_column_sort_kind || message == TAB_set_column_sort_priority);
        return 1;
    }
    case TAB_show_header:
    case TAB_show_footer:
        (message == TAB_show_header ? header_shown : footer_shown) = wparam ? 1 : 0;
        recount_columns();
        changed(0);
        return 1;
    case TAB_fit_columns_to_contents: return fit_to_contents();
    case TAB_set_auto_fit: auto_fit = 1, changed(0); return 1;
    case TAB_set_row_selection: row_selection = wparam ? 1 : 0, changed(0); return 1;
    case TAB_set_multi_selection: multi_selection = wparam ? 1 : 0, changed(0); return 1;
    case TAB_set_search_strip_ampersand: strip_ampersand = wparam ? 1 : 0; return 1;
    case TAB_get_current_row_id: return current_row < row_count ? rows[current_row]->id : 0;
    case TAB_get_current_column: return current_column;
    case TAB_get_current_row_index: return current_row;
    case TAB_get_row_count: return row_count;
    case TAB_get_column_count: return column_count;
    case TAB_get_header_column: return header_column;
    case TAB_get_footer_column: return footer_column;
    case TAB_select_row_id: {
        const TAB_ROW *row = find_row(static_cast<int32_t>(wparam));
        current_row = row ? row->index : 0;
        bring_into_view(current_row);
        InvalidateRect(window, nullptr, FALSE);
        return row ? 1 : 0;
    }
    case TAB_select_row_index:
        if (wparam >= static_cast<WPARAM>(row_count))
            return 0;
        current_row = static_cast<int32_t>(wparam);
        bring_into_view(current_row);
        InvalidateRect(window, nullptr, FALSE);
        return 1;
    case TAB_select_column:
        current_column = wparam < static_cast<WPARAM>(column_count) ? static_cast<int32_t>(wparam) : 0;
        InvalidateRect(window, nullptr, FALSE);
        return wparam < static_cast<WPARAM>(column_count) ? 1 : 0;
    case TAB_show_row_id:
    case TAB_show_row_index: {
        const TAB_ROW *row = message == TAB_show_row_id ? find_row(HIWORD(wparam)) : row_for_get(HIWORD(wparam), 1);
        if (!row || row == &header || row == &footer)
            return 0;
        centre_row(row->index);
        return 1;
    }
    case TAB_get_current_cell_rect:
    case TAB_get_header_cell_rect:
    case TAB_get_footer_cell_rect: {
        RECT *r = reinterpret_cast<RECT *>(lparam);
        if (!r) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        if (layout_needed)
            layout();
        int16_t got = message == TAB_get_current_cell_rect ? row_count > 0 && cell_rect(current_row, current_column, r)
                      : message == TAB_get_header_cell_rect ? cell_rect(-1, header_column, r)
                                                            : cell_rect(-3, footer_column, r);
        if (got)
            MapWindowPoints(window, GetParent(window), reinterpret_cast<POINT *>(r), 2);
        else
            SetRectEmpty(r);
        return got;
    }
    case TAB_reset_header_footer:
        ST_free(&saved_header_text);
        search_active = 0, search_text[0] = 0;
        free_row_cells(&header);
        free_row_cells(&footer);
        recount_columns();
        changed(0);
        return 1;
    case TAB_clear:
        end_search();
        for (int32_t i = 0; i < row_count; i++) {
            free_row_cells(rows[i]);
            MM_free(rows[i], SRC, __LINE__);
            rows[i] = nullptr;
        }
        row_count = 0;
        index_clear();
        current_row = current_column = top_row = 0;
        recount_columns();   // the header and footer rows may still hold cells
        changed();
        UpdateWindow(window);
        return 1;
    case TAB_count_selected: return selected(nullptr, nullptr);
    case TAB_get_selected:
        if (!wparam || (!lparam && !row_selection)) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        return selected(reinterpret_cast<int32_t *>(wparam), reinterpret_cast<int32_t *>(lparam));
    case TAB_get_first_visible_row_id: return top_row < row_count ? rows[top_row]->id : -1;
    case TAB_get_first_visible_row_index: return top_row < row_count ? top_row : -1;
    case TAB_get_column_width:
        return wparam < static_cast<WPARAM>(column_count) ? columns[wparam].width : TAB_UNUSED_WIDTH;
    case TAB_set_settings_section: {
        const char *name = reinterpret_cast<const char *>(lparam);
        if (!name || ST_length(name) > TAB_SECTION_MAX) {
            WE_internal_error(SRC, __LINE__);
            return 0;
        }
        ST_copy(section, name, TAB_SECTION_MAX);
        return 1;
    }
    case TAB_load_column_widths: return store_widths(1);
    case TAB_save_column_widths: return store_widths(0);
    case WM_PAINT: paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: changed(0); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS)
            end_search();
        InvalidateRect(window, nullptr, FALSE);
        notify(message == WM_SETFOCUS ? TAB_NOTIFY_FOCUS : TAB_NOTIFY_UNFOCUS);
        return 0;
    case WM_ENABLE: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wparam);
        layout_needed = 1;
        if (LOWORD(lparam))
            InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font);
    case WM_TIMER: {
        // The tooltip goes when the mouse has left its cell.
        if (wparam != TAB_TIMER || tip_row == -2)
            return 0;
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        int32_t row = -2, column = -1;
        hit(p.x, p.y, &row, &column);
        RECT client;
        GetClientRect(window, &client);
        if (!PtInRect(&client, p) || row != tip_row || column != tip_column)
            hide_tooltip();
        return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
        const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(window, bar, &info);
        const int32_t line = bar == SB_VERT ? 1 : 16;
        const int32_t page = static_cast<int32_t>(info.nPage) > line ? static_cast<int32_t>(info.nPage) : line;
        int32_t position = 0;
        if (!CTL_scroll_position(info, LOWORD(wparam), line, page, &position))
            return 0;
        if (bar == SB_VERT) {
            scroll_to(position);
        } else {
            const int32_t last = info.nMax - static_cast<int32_t>(info.nPage) + 1;
            position = position > last ? last : position;
            left_pixel = position < 0 ? 0 : position;
            update_scroll_bars();
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        scroll_to(top_row - GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA * 3);
        return 0;
    case WM_MOUSEMOVE:
        mouse_move(static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam)));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        mouse(message, static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam)));
        return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        // The capture taken away (a box, another program): the drag ends here.
        if (message == WM_CANCELMODE && GetCapture() == window)
            ReleaseCapture();
        if (resizing >= 0)
            width_lock = 1;
        resizing = -1;
        pressed = 0;
        return 0;
    case WM_SETCURSOR: {
        if (LOWORD(lparam) != HTCLIENT)
            break;
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        int16_t border = resizing >= 0;
        for (int32_t c = 0; !border && header_shown && p.y < row_height && c < column_count; c++)
            border = std::abs(p.x + left_pixel - columns[c].right) < RESIZE_ZONE;
        SetCursor(border ? resize_cursor : arrow);
        return TRUE;
    }
    case WM_KEYDOWN: key_down(wparam); return 0;
    case WM_CHAR:
        // Space and Backspace are keys of their own (key_down).
        if (static_cast<uint8_t>(wparam) > ' ')
            typed(static_cast<char>(wparam));
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default: break;
    }
    return C_CTL::message(message, wparam, lparam);
}

int16_t TAB_register(HINSTANCE instance)
{
    const int16_t table = CTL_register<C_TAB>(instance, TABLE_CLASS_NAME, nullptr,
                                              reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.style = CS_DBLCLKS;
    record.lpfnWndProc = tooltip_procedure;
    record.cbWndExtra = sizeof(LONG_PTR);
    record.hInstance = instance;
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    record.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    record.lpszClassName = TABLE_TOOLTIP_CLASS_NAME;
    tooltip_instance = instance;
    return table && CTL_register_class(&record) ? 1 : 0;
}
