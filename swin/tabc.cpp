#include "swin/tabc.h"

#include "common/mm.h"
#include "common/st.h"
#include "win/we.h"
#include "win/wmsg.h"

static const char SRC[] = "..\\swin\\tabc";

namespace {

WPARAM address(int32_t row_id, int32_t column)
{
    return MAKEWPARAM(static_cast<WORD>(column), static_cast<WORD>(row_id));
}

}  // namespace

int16_t C_TAB_CALLS::set_cell_text(int32_t row_id, int32_t column, const char *text)
{
    return table_message(TAB_set_text, address(row_id, column), reinterpret_cast<LPARAM>(text)) ? 1 : 0;
}

int16_t C_TAB_CALLS::set_cell_kind(int32_t row_id, int32_t column, int16_t kind)
{
    return table_message(TAB_set_kind, address(row_id, column), kind) ? 1 : 0;
}

int16_t C_TAB_CALLS::set_cell_state(int32_t row_id, int32_t column, uint8_t state)
{
    return table_message(TAB_set_state, address(row_id, column), state) ? 1 : 0;
}

int16_t C_TAB_CALLS::set_cell_palette_colour(int32_t row_id, int32_t column, int16_t entry)
{
    return table_message(TAB_set_palette_colour, address(row_id, column), entry) ? 1 : 0;
}

int16_t C_TAB_CALLS::cell_text(int32_t row_id, int32_t column, char *buffer, int16_t bound) const
{
    if (!buffer || bound < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    buffer[0] = 0;
    const int32_t length = static_cast<int32_t>(table_message(TAB_get_text_length, address(row_id, column), 0));
    if (length <= bound)
        return table_message(TAB_get_text, address(row_id, column), reinterpret_cast<LPARAM>(buffer)) ? 1 : 0;
    // The whole text comes first; the buffer takes its beginning.
    char *whole = static_cast<char *>(MM_alloc(length + 1, 1, SRC, __LINE__));
    if (!whole) {
        WE_low_memory();
        return 0;
    }
    const int16_t got = table_message(TAB_get_text, address(row_id, column), reinterpret_cast<LPARAM>(whole)) ? 1 : 0;
    if (got && bound > 0)
        ST_copy(buffer, whole, bound);
    MM_free(whole, SRC, __LINE__);
    return got;
}

int16_t C_TAB_CALLS::set_column_width(int32_t column, int32_t pixels)
{
    return table_message(TAB_set_column_width, static_cast<WPARAM>(column), pixels) ? 1 : 0;
}

int16_t C_TAB_CALLS::set_column_sort(int32_t column, int16_t kind, int32_t priority)
{
    return table_message(TAB_set_column_sort_kind, static_cast<WPARAM>(column), kind) &&
                   table_message(TAB_set_column_sort_priority, static_cast<WPARAM>(column), priority)
               ? 1
               : 0;
}

int16_t C_TAB_CALLS::fit_columns_to_contents()
{
    return table_message(TAB_fit_columns_to_contents, 0, 0) ? 1 : 0;
}

int16_t C_TAB_CALLS::show_header(int16_t on)
{
    return table_message(TAB_show_header, on ? 1 : 0, 0) ? 1 : 0;
}

int16_t C_TAB_CALLS::clear_rows()
{
    return table_message(TAB_clear, 0, 0) ? 1 : 0;
}

int32_t C_TAB_CALLS::row_count() const
{
    return static_cast<int32_t>(table_message(TAB_get_row_count, 0, 0));
}

int16_t C_TAB_CALLS::select_row_index(int32_t index)
{
    return index >= 0 && table_message(TAB_select_row_index, static_cast<WPARAM>(index), 0) ? 1 : 0;
}

int32_t C_TAB_CALLS::current_row_index() const
{
    return static_cast<int32_t>(table_message(TAB_get_current_row_index, 0, 0));
}

int32_t C_TAB_CALLS::current_row_id() const
{
    return static_cast<int32_t>(table_message(TAB_get_current_row_id, 0, 0));
}
