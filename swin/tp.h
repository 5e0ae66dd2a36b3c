// The table print window: a table of texts built by the caller (cells, a
// header row, column alignments and weights, an opening and a closing
// text), shown page by page on the chosen printer's page and printed there.
// Its margins, line widths, spacings and font live in the system store,
// section TP_table_print_window.
//
// The caller makes the object (TP_create), fills it, opens the window
// (TP_open_window); from then on the window owns the object: closing the
// window destroys it (TP_destroy). Filling after the window is open is
// refused (internal error).
//
// The window: the printer box and six buttons across the top; below them
// the shown page at its real size (the screen's pixels per inch), laid out
// in the printer's pixels exactly as it prints. Page Up, Page Down, Home and
// End leaf through the pages, the arrow keys scroll by a tenth of the view,
// Esc closes, Space goes to the printer box, a button's "&" letter presses
// it; a column border dragged with the mouse gives the two columns new
// weights.
//
// Status flags: 1 = success, 0 = failure.
#pragma once
#include <windows.h>

#include <cstdint>

#define TP_CLASS_NAME "WINDOW_TABLE_PRINT_CLASS_NAME"
#define TP_SETTINGS "TP_table_print_window"
#define TP_NAME_MAX 80            // characters of the table's name
#define TP_COLUMNS_MAX 1000       // columns of a table (their widths are per mille of the page)

// Control ids of the window: the printer box and the six buttons.
#define TP_ID_PRINTER 1
#define TP_ID_PROPERTIES 2        // "&Vlastnosti tiskárny"
#define TP_ID_FONT 3              // "&Font"
#define TP_ID_PRINT 4             // "&Tisk!"
#define TP_ID_PREVIOUS 5          // "&Minulá strana"
#define TP_ID_NEXT 6              // "&Další strana"
#define TP_ID_CLOSE 7             // "&Zavřít"

// The column alignment word (the values of DrawText's DT_ flags): one of the
// horizontal values or-ed with one of the vertical ones. A cell's text is
// broken into lines at its line ends, after the last blank that fits the
// column, or within a word longer than the column; lines are clipped to the
// cell. The header row is centred and in the bold form of the font.
#define TP_LEFT 0x0
#define TP_CENTRE 0x1
#define TP_RIGHT 0x2
#define TP_TOP 0x0
#define TP_MIDDLE 0x4
#define TP_BOTTOM 0x8

struct TP_table;

// A new object in *table with its settings read (missing keys written with
// their defaults). No memory: the low-memory report and 0.
int16_t TP_create(TP_table **table);
// Saves the font settings when autosave_settings is set and the window had
// read them (an object that never opened keeps the stored font), destroys an
// open window, frees everything and clears *table; a null object gives 1.
int16_t TP_destroy(TP_table **table);
// The filling operations below are refused once the window is open, as are
// a null object or text, a negative row, a column outside 0 ..
// TP_COLUMNS_MAX - 1 and a negative weight (internal error and 0). No
// memory: the low-memory report and 0, the table as it was.
//
// An owned copy of the text in the cell (an empty text empties it); the rows
// up to the row are made (empty) when missing, also for an empty text.
int16_t TP_set_cell(TP_table *table, int32_t row, int32_t column, const char *text);
// The same for the header row, printed at the top of every page.
int16_t TP_set_header_cell(TP_table *table, int32_t column, const char *text);
// The column's alignment word (TP_LEFT | TP_TOP when not set); the column
// array grows to the column.
int16_t TP_set_column_alignment(TP_table *table, int32_t column, uint16_t alignment);
// The column's share of the width relative to the others (1 when not set);
// the window turns the weights into per mille of the width when it opens.
int16_t TP_set_column_weight(TP_table *table, int32_t column, int32_t weight);
// 0 for a column out of range; per mille of the width once the window is open.
int16_t TP_get_column_weight(const TP_table *table, int32_t column, int32_t *weight);
int32_t TP_get_column_count(const TP_table *table);
// An owned copy; an empty text removes it.
int16_t TP_set_opening_text(TP_table *table, const char *text);
int16_t TP_set_closing_text(TP_table *table, const char *text);
// Kept inside the desktop's work area: a left or top edge outside it moves
// to its edge, a width or height passing its right or bottom edge is cut.
// A width or height below 1 is an internal error and 0. An open window is
// moved at once.
int16_t TP_set_window_rect(TP_table *table, int32_t x, int32_t y, int32_t width, int32_t height);
int16_t TP_get_window_rect(const TP_table *table, int32_t *x, int32_t *y, int32_t *width, int32_t *height);
// Millimetres, each 0 .. 1000 (else an internal error and 0). An open window
// lays its pages out again.
int16_t TP_set_margins(TP_table *table, double left, double right, double top, double bottom);
int16_t TP_get_margins(const TP_table *table, double *left, double *right, double *top, double *bottom);
// Creates and shows the window titled title; caller_data is kept for the
// caller, table_name (cut to TP_NAME_MAX characters) names the table.
// Reads the font settings, lists the printers (none: the box shows "Žádná
// tiskárna nenalezena!", the error "Tabulku nelze vykreslit - není
// definovaná tiskárna" is shown and the printer and page buttons are grey),
// selects the default printer and lays the pages out for it (an opening or
// closing text that does not fit on a page is dropped with its message).
// 0 when a window is already open (internal error), when the class or the
// window could not be made, or without memory; the object then stays the
// caller's.
int16_t TP_open_window(TP_table *table, const char *title, int32_t caller_data, const char *table_name);
// Destroys the window, and with it the object; 0 when none is open. During
// a print job the window closes when the job has ended.
int16_t TP_close_window(TP_table *table);

// ---- the open window ----
// The window, or null while none is open.
HWND TP_window(const TP_table *table);
int32_t TP_get_caller_data(const TP_table *table);
const char *TP_get_table_name(const TP_table *table);
// Lays the pages out again for the selected printer, as for the preview
// and for a print. 0 without an open window or a selected printer.
int16_t TP_lay_out(TP_table *table);
// Pages of the last layout (1 without one) and the page shown (from 1).
int32_t TP_get_page_count(const TP_table *table);
int32_t TP_get_current_page(const TP_table *table);
// The last layout in the printer's pixels from the printable area's corner:
// the box the table is printed into, and a row's top, bottom and page.
// 0 without a layout or for a row out of range.
int16_t TP_get_printable_box(const TP_table *table, int32_t *left, int32_t *top, int32_t *right, int32_t *bottom);
int16_t TP_get_row_layout(const TP_table *table, int32_t row, int32_t *top, int32_t *bottom, int32_t *page);
// Prints every page on the selected printer, as "&Tisk!" does: with no
// printer "Tabulku nelze vykreslit - není definovaná tiskárna", with none
// selected "Není vybraná žádná tiskárna", a failed job "Chyba tiskárny!"
// (not when the user cancelled it in the print-cancel dialog); 0 then.
// While the job runs the window is disabled and its abort procedure works
// off messages: a close meanwhile waits for the end of the job, and the
// window (with the object) is gone when TP_print returns.
int16_t TP_print(TP_table *table);
