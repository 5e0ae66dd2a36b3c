#include "swin/tab_sort.h"

#include "common/dt.h"
#include "common/qs.h"
#include "common/st.h"
#include "util/scan.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\tab_sort";

namespace {

int16_t read_integer(const char *text, int32_t *value)
{
    char copy[TAB_SEARCH_MAX + 1];
    ST_copy(copy, text, TAB_SEARCH_MAX);
    return SCAN_int32(copy, value);
}

int16_t (*stamp_parser(int16_t kind))(DT_STAMP *, const char *)
{
    switch (kind) {
    case TAB_SORT_STAMP_LONG: return DT_stamp_parse_long;
    case TAB_SORT_STAMP: return DT_stamp_parse;
    case TAB_SORT_DATE_LONG: return DT_stamp_parse_date_long;
    case TAB_SORT_DATE: return DT_stamp_parse_date;
    default: return DT_stamp_parse_time;
    }
}

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

}  // namespace

int16_t TAB_compare_cells(int16_t kind, const TAB_CELL *a, const TAB_CELL *b, int *result)
{
    if (!a || !b || !result)
        return 0;
    switch (kind) {
    case TAB_SORT_TEXT:
    case TAB_SORT_MENU_TEXT:
    case TAB_SORT_NATURAL:
        if (!a->text || !b->text)
            return 0;
        *result = sign(kind == TAB_SORT_TEXT        ? ST_compare(a->text, b->text)
                       : kind == TAB_SORT_MENU_TEXT ? ST_compare_menu(a->text, b->text)
                                                    : ST_compare_natural(a->text, b->text));
        return 1;
    case TAB_SORT_COLOUR:
        *result = QS_compare_numbers(static_cast<uint32_t>(a->colour), static_cast<uint32_t>(b->colour));
        return 1;
    case TAB_SORT_STATE:
        *result = a->state == 1 && b->state == 0 ? -1 : (a->state == 0 && b->state == 1 ? 1 : 0);
        return 1;
    case TAB_SORT_INTEGER: {
        int32_t x = 0, y = 0;
        if (!a->text || !b->text || !read_integer(a->text, &x) || !read_integer(b->text, &y))
            return 0;
        *result = QS_compare_numbers(x, y);
        return 1;
    }
    case TAB_SORT_STAMP_LONG:
    case TAB_SORT_STAMP:
    case TAB_SORT_DATE_LONG:
    case TAB_SORT_DATE:
    case TAB_SORT_TIME: {
        // A text that does not parse leaves the stamp empty: before every value.
        DT_STAMP x, y;
        stamp_parser(kind)(&x, a->text ? a->text : "");
        stamp_parser(kind)(&y, b->text ? b->text : "");
        *result = DT_stamp_compare(&x, &y);
        return 1;
    }
    case TAB_SORT_BITMAP:
        *result = (a->bitmap ? 0 : 1) - (b->bitmap ? 0 : 1);
        return 1;
    default:
        return 0;
    }
}

int16_t TAB_sort_rows(C_TAB *table)
{
    if (!table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    // The key columns in priority order: the first column of each priority.
    int32_t keys[TAB_COLUMNS_MAX];
    int32_t key_count = 0;
    int16_t unsupported = 0;
    for (int32_t k = 1; k <= table->column_count; k++)
        for (int32_t c = 0; c < table->column_count; c++)
            if (table->columns[c].sort_priority == k) {
                keys[key_count++] = c;
                unsupported |= table->columns[c].sort_kind == TAB_SORT_UNSUPPORTED;
                break;
            }
    if (unsupported)
        WE_internal_error(SRC, __LINE__);
    if (key_count == 0 || table->row_count < 2)
        return 0;
    for (int32_t i = 0; i < table->row_count; i++)
        table->rows[i]->index = i;   // the order so far breaks ties
    const int16_t sorted = QS_sort(static_cast<int16_t>(table->row_count), table->rows,
                                   [&](const TAB_ROW *a, const TAB_ROW *b) {
                                       for (int32_t k = 0; k < key_count; k++) {
                                           const int32_t c = keys[k];
                                           int result = 0;
                                           if (TAB_compare_cells(table->columns[c].sort_kind, C_TAB::cell_of(a, c),
                                                                 C_TAB::cell_of(b, c), &result) &&
                                               result != 0)
                                               return result;
                                       }
                                       return QS_compare_numbers(a->index, b->index);
                                   });
    for (int32_t i = 0; i < table->row_count; i++)
        table->rows[i]->index = i;
    return sorted;
}
