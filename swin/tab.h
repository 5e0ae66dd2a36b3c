// The table control: a child window of class "TABLE_CLASS_NAME" showing rows
// of cells under an optional header row and above an optional footer row,
// with a current cell, keyboard navigation, incremental search in a column,
// sorting by column priorities, column widths fitted to the contents or the
// window and remembered in the settings store, and a tooltip for cells wider
// than their column. Owners drive it by the TAB_* messages of win/wmsg.h and
// hear from it by WM_COMMAND sent to the parent: low word the control id,
// high word a TAB_NOTIFY_* code, lparam the table window.
//
// Rows are kept in display order; the order by sort priorities is brought
// up to date before a paint that follows a change. A row identifier names
// one row (an index kept in step finds it). The width lock is set once the
// person has resized a column with the mouse: from then on the widths are
// the person's (no fit to the window, no TAB_set_column_width). A mouse
// capture taken away (WM_CAPTURECHANGED, WM_CANCELMODE) ends a drag.
// Reports raised while the rows are sorted for a paint come once: the sort
// is marked done before it runs, so that a box's repaint does not sort again.
//
// User options live in the system store, section UCC_TAB_table_window, read
// when a table is made (a missing key is written with its default). Column
// widths live in the section named by TAB_set_settings_section, one key
// "column_width_NN" per used column, and are saved when the table is destroyed.
#pragma once
#include <windows.h>

#include <cstdint>

#include "swin/ctl.h"

#define TABLE_CLASS_NAME "TABLE_CLASS_NAME"
#define TABLE_TOOLTIP_CLASS_NAME "TABLE_TOOLTIP_CLASS_NAME"
#define TAB_SETTINGS "UCC_TAB_table_window"
#define TAB_SECTION_MAX 80       // characters of the widths' section name
#define TAB_SEARCH_MAX 80        // characters of the search text and of each compared cell text
#define TAB_HEADER_ROW 0xFFFF    // row word of the header row
#define TAB_FOOTER_ROW 0xFFFE    // row word of the footer row
#define TAB_ROWS_FIRST 100       // row slots of a new table
#define TAB_ROWS_STEP 20         // the first growth; later ones grow with the table
#define TAB_ROWS_MAX 32767       // rows of a table (the sort's limit)
#define TAB_COLUMNS_FIRST 8      // column records of a new table
#define TAB_COLUMNS_MAX 1024     // a column beyond is an internal error
#define TAB_CELLS_FIRST 8        // cell slots of a new row
#define TAB_GROWTH_STEP 2        // columns and cells grow by this many
#define TAB_COLUMN_WIDTH 10      // width of a new column
#define TAB_UNUSED_WIDTH 5       // TAB_get_column_width of a column not in use
#define TAB_SORT_KINDS 14        // sort kinds 0 .. 13 (tab_sort.h)
#define TAB_PATTERNS 13          // fill patterns 0 .. 12
#define TAB_TIMER 1              // id of the 1000 ms timer

// Cell kinds.
enum : int16_t {
    TAB_TEXT = 1,
    TAB_BITMAP = 2,            // a bitmap of the program's resources
    TAB_COLOUR = 3,            // a colour square
    TAB_CHECK = 4,             // check mark, state 0 empty, else checked
    TAB_CHECK2 = 5,            // the same, a second look
    TAB_PATTERN = 6,           // a bitmap built from a fill pattern
    TAB_BITMAP_TEXT = 7,
    TAB_COLOUR_TEXT = 8,
    TAB_CHECK_TEXT = 9,
    TAB_CHECK2_TEXT = 10,
    TAB_PATTERN_TEXT = 11,
};

// Notification codes (high word of the WM_COMMAND's wparam).
enum : uint16_t {
    TAB_NOTIFY_CLICK = 1,          // left click on an active cell
    TAB_NOTIFY_DOUBLE_CLICK = 2,
    TAB_NOTIFY_SPACE = 3,          // Space on an active current cell
    TAB_NOTIFY_CURRENT = 4,        // the person moved the current cell
    TAB_NOTIFY_HEADER_CLICK = 5,
    TAB_NOTIFY_HEADER_DOUBLE = 6,
    TAB_NOTIFY_FOOTER_CLICK = 7,
    TAB_NOTIFY_FOOTER_DOUBLE = 8,
    TAB_NOTIFY_INSERT = 9,         // Insert on an active current cell
    TAB_NOTIFY_RIGHT_CLICK = 10,   // 10 .. 21: right and middle buttons, see the mouse table in tab.cpp
    TAB_NOTIFY_FOCUS = 22,
    TAB_NOTIFY_UNFOCUS = 23,
};

struct TAB_CELL {
    int16_t kind = TAB_TEXT;
    uint8_t active = 1;          // notifications about the cell only when set
    char *text = nullptr;        // owned, never null once set
    COLORREF colour = 0;
    int32_t palette_index = -1;  // colour table entry, -1 for an RGB colour
    int32_t pattern = 0;         // fill pattern of the pattern bitmap
    HBITMAP bitmap = nullptr;    // owned
    int32_t bitmap_width = 0;
    int32_t bitmap_height = 0;
    uint8_t state = 0;
    int32_t word = 0;            // the owner's user word
    uint8_t has_text_colour = 0;
    COLORREF text_colour = 0;
    uint8_t flag = 0;            // the owner's flag byte
    uint8_t selected = 0;        // selection mark (multi-selection of cells)
};

struct TAB_COLUMN {
    uint16_t format = 0;
    int32_t width = TAB_COLUMN_WIDTH;
    float weight = TAB_COLUMN_WIDTH;   // set with the width; fit to the window shares by it
    int32_t left = 0;                  // pixel edges in the table's client, unscrolled
    int32_t right = 0;
    int16_t sort_kind = 0;
    int32_t sort_priority = 0;
};

struct TAB_ROW {
    int32_t id = 0;
    int32_t index = 0;           // position in the row array, kept in step
    TAB_CELL **cells = nullptr;  // owned, cell_capacity slots
    int16_t cell_count = 0;      // one more than the highest column holding a cell
    int16_t cell_capacity = 0;
    uint8_t selected = 0;        // selection mark (multi-selection of rows)
};

class C_TAB : public C_CTL {
public:
    explicit C_TAB(HWND window_) : C_CTL(window_) {}
    ~C_TAB() override;   // saves the widths, frees rows and cells, ends timer and tooltip
    LRESULT create(const CREATESTRUCTA *creation) override;
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;

    // The row with that identifier, or null.
    TAB_ROW *find_row(int32_t id) const;
    // The cell of a row, or null.
    static TAB_CELL *cell_of(const TAB_ROW *row, int32_t column);
    // Paints one cell into rectangle r (used by the tooltip too).
    void paint_cell(HDC dc, const TAB_ROW *row, int32_t column, RECT r, int16_t emphasis);
    // Width that the cell needs (0 for a missing cell), in the table's font.
    int32_t needed_width(HDC dc, const TAB_CELL *cell) const;
    HFONT current_font() const;

    HCURSOR arrow = nullptr;
    HCURSOR resize_cursor = nullptr;
    HFONT font = nullptr;            // WM_SETFONT's (not owned); null: the default GUI font
    int16_t header_shown = 1;
    TAB_ROW header;
    int16_t footer_shown = 0;
    TAB_ROW footer;
    TAB_ROW **rows = nullptr;        // owned, in display order
    int32_t row_count = 0;
    int32_t row_capacity = 0;
    TAB_COLUMN *columns = nullptr;   // owned
    int32_t column_count = 0;        // used columns
    int32_t column_capacity = 0;
    int32_t current_column = 0;
    int32_t current_row = 0;
    int32_t row_height = 16;
    int32_t top_row = 0;             // first visible row
    int32_t left_pixel = 0;          // horizontal scroll
    int16_t layout_needed = 1;
    int16_t order_needed = 0;        // rows changed since the last sort
    int16_t redraw_needed = 0;       // invalidated, not painted yet
    int32_t header_column = -1;      // column of the last mouse event on the header row
    int32_t footer_column = -1;
    char section[TAB_SECTION_MAX + 1] = "";
    int16_t emphasize_cursor_line = 0;
    HWND tooltip = nullptr;
    int16_t use_tooltips = 1;
    int16_t case_sensitive_keyboard_search = 1;
    int16_t czech_sensitive_keyboard_search = 1;
    int32_t search_column = -1;
    int16_t search_active = 0;
    int16_t strip_ampersand = 0;
    char search_text[TAB_SEARCH_MAX + 1] = "";
    char *saved_header_text = nullptr;   // owned: the search column's header while a search shows
    int16_t auto_fit = 0;
    int16_t width_lock = 0;
    int16_t row_selection = 0;
    int16_t multi_selection = 0;
    int32_t resizing = -1;           // column being resized with the mouse
    int16_t pressed = 0;             // left button held (not resizing)
    int32_t tip_row = -2;            // cell under the tooltip (row index, -1 header, -3 footer)
    int32_t tip_column = -1;

private:
    // Set-cell steps: finds or appends the row, makes the cell; null (table as it was) on failure.
    TAB_CELL *cell_for_set(WPARAM address, int16_t by_index = 0);
    TAB_CELL *cell_for_get(WPARAM address, int16_t by_index = 0) const;
    // A new row record with room made for it in the row array and the index; null on failure.
    TAB_ROW *new_row(int32_t id);
    void append_row(TAB_ROW *row);   // cannot fail after new_row
    TAB_ROW *row_for_get(uint16_t row_word, int16_t by_index) const;
    LRESULT set_cell(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT get_cell(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT row_set(UINT message, WPARAM wparam, LPARAM lparam);
    int16_t grow_columns(int32_t column);
    int16_t index_insert(TAB_ROW *row);
    void index_clear();
    void changed(int16_t order = 1);
    void free_row_cells(TAB_ROW *row);
    int32_t used_columns() const;
    void recount_columns();          // the used column count as the rows say; current column kept inside
    int16_t fit_to_contents();
    int16_t fit_to_window();
    // Reads (1) or writes (0) the used columns' widths in the section; 0 without a section name.
    int16_t store_widths(int16_t load);
    void read_settings();
    void layout();
    int32_t body_top() const;
    int32_t visible_rows() const;
    void update_scroll_bars();
    void scroll_to(int32_t top);
    void bring_into_view(int32_t index);
    void centre_row(int32_t index);
    int16_t cell_rect(int32_t row_slot, int32_t column, RECT *r) const;
    // Where a client point lies: row index (-1 header, -3 footer, -2 nothing) and column (-1 none).
    void hit(int32_t x, int32_t y, int32_t *row, int32_t *column) const;
    void move_current(int32_t row, int32_t column, int16_t notify);
    void toggle_selection(int32_t row);
    void notify(uint16_t code);
    void notify_cell(int32_t row, int32_t column, uint16_t code);
    void key_down(WPARAM key);
    void typed(char c);
    void backspace();
    int16_t search();
    void end_search();
    void mouse(UINT message, int32_t x, int32_t y);
    void mouse_move(int32_t x, int32_t y);
    void show_tooltip(int32_t row, int32_t column);
    void hide_tooltip();
    void paint();
    void paint_row(HDC dc, const TAB_ROW *row, int32_t y, int16_t frame, int16_t current);
    LRESULT selected(int32_t *ids, int32_t *cols) const;

    TAB_ROW **index = nullptr;       // owned: open addressing by identifier, index_capacity slots
    int32_t index_capacity = 0;
};

// Registers both classes for the instance; 1 when they are there. WGD_run calls it at start-up.
int16_t TAB_register(HINSTANCE instance);
