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
// Status flags: 1 = success, 0 = failure.
#pragma once
#include <cstdint>

#define TP_CLASS_NAME "WINDOW_TABLE_PRINT_CLASS_NAME"
#define TP_SETTINGS "TP_table_print_window"
#define TP_NAME_MAX 80            // characters of the table's name

struct TP_table;

// A new object in *table with its settings read (missing keys written with
// their defaults). No memory: the low-memory report and 0.
int16_t TP_create(TP_table **table);
// Saves the font settings when autosave_settings is set, frees everything
// and clears *table; a null object gives 1.
int16_t TP_destroy(TP_table **table);
int16_t TP_set_cell(TP_table *table, int32_t row, int32_t column, const char *text);
int16_t TP_set_header_cell(TP_table *table, int32_t column, const char *text);
int16_t TP_set_column_alignment(TP_table *table, int32_t column, uint16_t alignment);
int16_t TP_set_column_weight(TP_table *table, int32_t column, int32_t weight);
// 0 for a column out of range; per mille of the width once the window is open.
int16_t TP_get_column_weight(const TP_table *table, int32_t column, int32_t *weight);
int32_t TP_get_column_count(const TP_table *table);
// An owned copy; an empty text removes it.
int16_t TP_set_opening_text(TP_table *table, const char *text);
int16_t TP_set_closing_text(TP_table *table, const char *text);
// Kept inside the desktop's work area.
int16_t TP_set_window_rect(TP_table *table, int32_t x, int32_t y, int32_t width, int32_t height);
int16_t TP_get_window_rect(const TP_table *table, int32_t *x, int32_t *y, int32_t *width, int32_t *height);
// Millimetres.
int16_t TP_set_margins(TP_table *table, double left, double right, double top, double bottom);
int16_t TP_get_margins(const TP_table *table, double *left, double *right, double *top, double *bottom);
// Creates and shows the window titled title; caller_data is kept for the
// caller, table_name (at most TP_NAME_MAX characters) names the table.
int16_t TP_open_window(TP_table *table, const char *title, int32_t caller_data, const char *table_name);
// Destroys the window (and with it the object); 0 when none is open.
int16_t TP_close_window(TP_table *table);
