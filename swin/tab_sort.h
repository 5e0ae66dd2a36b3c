// Row order of the table control (swin/tab.h): the rows sorted by the
// columns' sort priorities, each key compared by its column's sort kind.
#pragma once
#include <cstdint>

#include "swin/tab.h"

// Sort kinds of a column.
enum : int16_t {
    TAB_SORT_NONE = 0,
    TAB_SORT_TEXT = 1,           // ST_compare
    TAB_SORT_MENU_TEXT = 2,      // ST_compare_menu ("&" passed over)
    TAB_SORT_NATURAL = 3,        // ST_compare_natural
    TAB_SORT_COLOUR = 4,         // colour words, unsigned
    TAB_SORT_STATE = 5,          // state 1 before state 0
    TAB_SORT_INTEGER = 6,        // texts read by SCAN_int32
    TAB_SORT_UNSUPPORTED = 7,    // an internal error, passed over
    TAB_SORT_STAMP_LONG = 8,     // DT_stamp_parse_long
    TAB_SORT_STAMP = 9,          // DT_stamp_parse
    TAB_SORT_DATE_LONG = 10,     // DT_stamp_parse_date_long
    TAB_SORT_DATE = 11,          // DT_stamp_parse_date
    TAB_SORT_TIME = 12,          // DT_stamp_parse_time
    TAB_SORT_BITMAP = 13,        // a cell with a bitmap first
};

// Compares two cells by a sort kind: 1 with -1, 0 or 1 in *result, or 0 when
// the key is passed over (kinds 0, 7 and above 13, a text that is missing or
// not a number).
int16_t TAB_compare_cells(int16_t kind, const TAB_CELL *a, const TAB_CELL *b, int *result);

// Sorts the table's rows ascending by priority 1, 2, ... (the first column
// of each priority); rows equal in every key keep their order. Renumbers the
// rows' indexes. A key of kind 7 is reported once per sort. 1 when sorted,
// 0 when there was nothing to sort by or the sort could not run.
int16_t TAB_sort_rows(C_TAB *table);
