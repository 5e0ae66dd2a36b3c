// The table control's messages (swin/tab.h) as operations, for the objects
// that wrap a table: the table widget of a screen and the table item of a
// dialog. A wrapper answers table_message; everything else goes through it.
// Rows are addressed by identifier unless the name says index.
//
// Status flags: 1 = success, 0 = failure (no table, the table refused).
#pragma once
#include <windows.h>

#include <cstdint>

class C_TAB_CALLS {
public:
    // The table's answer, 0 while there is no table window.
    virtual LRESULT table_message(UINT message, WPARAM wparam, LPARAM lparam) const = 0;

    // A missing row is appended with that identifier (header 0xFFFF, footer 0xFFFE).
    int16_t set_cell_text(int32_t row_id, int32_t column, const char *text);
    int16_t set_cell_kind(int32_t row_id, int32_t column, int16_t kind);
    int16_t set_cell_state(int32_t row_id, int32_t column, uint8_t state);
    // The colour table's entry with its name as the text.
    int16_t set_cell_palette_colour(int32_t row_id, int32_t column, int16_t entry);
    // At most bound characters and the terminator; 0 (and "") for a missing cell.
    int16_t cell_text(int32_t row_id, int32_t column, char *buffer, int16_t bound) const;
    int16_t set_column_width(int32_t column, int32_t pixels);
    // Sort kind 0 .. 13, priority 1 for the first key, 0 for none.
    int16_t set_column_sort(int32_t column, int16_t kind, int32_t priority);
    int16_t fit_columns_to_contents();
    int16_t show_header(int16_t on);
    int16_t clear_rows();
    int32_t row_count() const;
    int16_t select_row_index(int32_t index);   // 0 when out of range
    int32_t current_row_index() const;
    int32_t current_row_id() const;            // 0 when none

protected:
    ~C_TAB_CALLS() = default;
};
