// The table control with many rows, for bench/table.sh (Windows build, run under Wine):
//   table_bench N [N ...]
// For each N (1 .. 30000) a fresh table of 6 columns in a visible parent
// window of 800 x 600 is filled, and these phases are timed:
//   fill    N rows by their cell messages, identifiers 1 .. N in a shuffled order
//   lookup  one cell of every row set again by identifier, another shuffled order
//   fit     TAB_fit_columns_to_contents
//   sort    sort kinds and priorities on columns 1 (integer) and 0 (text), then one
//           forced repaint: its layout sorts the rows before they are painted;
//           reported less the paint below, which does not depend on the rows
//   paint   one more full repaint of the screen of rows
// One line per N: "N fill_us_per_row lookup_us_per_row fit_us_per_row
// sort_us_per_row paint_ms bytes_per_row", the bytes being the growth of
// the process's private memory from before the table to after the fill.
// The exit code is 0 when every table held its N rows, in the sorted order,
// with the values set, and no error was reported.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/winbench.h"
#include "swin/col.h"
#include "swin/tab.h"
#include "swin/tab_sort.h"
#include "swin/wgd.h"
#include "win/we.h"
#include "win/wmsg.h"

namespace {

const int COLUMNS = 6;
const int ROWS_MAX = 30000;
const char PARENT_CLASS[] = "TAB_BENCH_PARENT";
const char *const HEADERS[COLUMNS] = {"Název", "Číslo", "Datum", "Barva", "Hotovo", "Popis"};
// A fixed sequence of pseudo-random numbers: the same table in every run.
uint32_t seed = 12345;
uint32_t next_random()
{
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
}

void shuffle(std::vector<int> &v)
{
    for (size_t i = v.size(); i > 1; i--) {
        const size_t j = next_random() % i;
        const int t = v[i - 1];
        v[i - 1] = v[j];
        v[j] = t;
    }
}

// The process's private bytes. Windows gives the same count as PrivateUsage
// and as PagefileUsage; Wine leaves PrivateUsage at 0 and counts the
// process's own pages in PagefileUsage.
uint64_t private_bytes()
{
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&memory), sizeof memory))
        return 0;
    return memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
}

WPARAM at(int row, int column) { return MAKEWPARAM(column, row); }

LRESULT send(HWND table, UINT message, WPARAM wparam, LPARAM lparam)
{
    return SendMessageA(table, message, wparam, lparam);
}

LRESULT set_text(HWND table, int row, int column, const char *text)
{
    return send(table, TAB_set_text, at(row, column), reinterpret_cast<LPARAM>(text));
}

// The text of a cell of the row at an index; empty when it is missing.
void text_at(HWND table, int index, int column, char *out, size_t size)
{
    out[0] = 0;
    const LRESULT length = send(table, TAB_get_text_length_by_index, at(index, column), 0);
    if (length < 0 || static_cast<size_t>(length) >= size)
        return;
    send(table, TAB_get_text_by_index, at(index, column), reinterpret_cast<LPARAM>(out));
}

// The rows in the order of column 1 as a number, then of the row number in
// column 0 ("Řádek 000123"), each with its identifier's values; 1 when so.
int16_t check(HWND table, int rows, const std::vector<int> &number)
{
    if (send(table, TAB_get_row_count, 0, 0) != rows) {
        std::fprintf(stderr, "%d rows expected, %d in the table\n", rows,
                     static_cast<int>(send(table, TAB_get_row_count, 0, 0)));
        return 0;
    }
    const size_t prefix = std::strlen("Řádek ");
    int last_number = 0, last_id = 0;
    for (int i = 0; i < rows; i++) {
        char name[64], value[64];
        text_at(table, i, 0, name, sizeof name);
        text_at(table, i, 1, value, sizeof value);
        const int id = std::strlen(name) > prefix ? std::atoi(name + prefix) : 0;
        const int n = std::atoi(value);
        if (id < 1 || id > rows || n != number[id]) {
            std::fprintf(stderr, "row %d: \"%s\" \"%s\" is not a row of the table\n", i, name, value);
            return 0;
        }
        if (i > 0 && (n < last_number || (n == last_number && id <= last_id))) {
            std::fprintf(stderr, "row %d: \"%s\" \"%s\" out of order\n", i, name, value);
            return 0;
        }
        last_number = n, last_id = id;
    }
    return 1;
}

// A table of that many rows: its line printed, 1 when its checks passed.
int16_t run(int rows)
{
    HWND parent = CreateWindowExA(0, PARENT_CLASS, "Tabulka", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!parent)
        return 0;
    UpdateWindow(parent);
    BENCH_pump();
    RECT client;
    GetClientRect(parent, &client);
    std::vector<int> order(rows);
    for (int i = 0; i < rows; i++)
        order[i] = i + 1;
    shuffle(order);
    std::vector<int> number(rows + 1);
    int16_t ok = 1;
    char text[128];
    const uint64_t memory_before = private_bytes();
    HWND table = CreateWindowExA(0, TABLE_CLASS_NAME, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                                 parent, HMENU(INT_PTR(1)), GetModuleHandleA(nullptr), nullptr);
    if (!table) {
        DestroyWindow(parent);
        return 0;
    }
    for (int c = 0; c < COLUMNS; c++)
        set_text(table, TAB_HEADER_ROW, c, HEADERS[c]);
    RedrawWindow(table, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    BENCH_pump();

    const BENCH_CLOCK::time_point fill_start = BENCH_CLOCK::now();
    for (int i = 0; i < rows; i++) {
        const int id = order[i];
        number[id] = static_cast<int>(next_random() % 2000) - 1000;
        std::snprintf(text, sizeof text, "Řádek %06d", id);
        ok &= set_text(table, id, 0, text) == 1;
        std::snprintf(text, sizeof text, "%d", number[id]);
        ok &= set_text(table, id, 1, text) == 1;
        std::snprintf(text, sizeof text, "%2d.%2d.%4d", static_cast<int>(1 + next_random() % 28),
                      static_cast<int>(1 + next_random() % 12), static_cast<int>(1990 + next_random() % 40));
        ok &= set_text(table, id, 2, text) == 1;
        ok &= send(table, TAB_set_kind, at(id, 3), TAB_COLOUR_TEXT) == 1;
        ok &= send(table, TAB_set_colour, at(id, 3), static_cast<LPARAM>(next_random() & 0xFFFFFF)) == 1;
        ok &= send(table, TAB_set_kind, at(id, 4), TAB_CHECK) == 1;
        ok &= send(table, TAB_set_state, at(id, 4), id & 1) == 1;
        std::snprintf(text, sizeof text, "Příliš žluťoučký kůň úpěl ďábelské ódy, položka číslo %d", id);
        ok &= set_text(table, id, 5, text) == 1;
    }
    const BENCH_CLOCK::time_point fill_end = BENCH_CLOCK::now();
    const uint64_t memory_after = private_bytes();

    // The rows exist now: each new value finds its row by identifier.
    shuffle(order);
    const BENCH_CLOCK::time_point lookup_start = BENCH_CLOCK::now();
    for (int i = 0; i < rows; i++) {
        const int id = order[i];
        number[id] = static_cast<int>(next_random() % 2000) - 1000;
        std::snprintf(text, sizeof text, "%d", number[id]);
        ok &= set_text(table, id, 1, text) == 1;
    }
    const BENCH_CLOCK::time_point lookup_end = BENCH_CLOCK::now();
    ok &= send(table, TAB_get_row_count, 0, 0) == rows;

    const BENCH_CLOCK::time_point fit_start = BENCH_CLOCK::now();
    ok &= send(table, TAB_fit_columns_to_contents, 0, 0) == 1;
    const BENCH_CLOCK::time_point fit_end = BENCH_CLOCK::now();
    // The rows shown once unsorted: the scroll bars come with the first layout, not with the sort.
    RedrawWindow(table, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    BENCH_pump();

    const BENCH_CLOCK::time_point sort_start = BENCH_CLOCK::now();
    send(table, TAB_set_column_sort_kind, 1, TAB_SORT_INTEGER);
    send(table, TAB_set_column_sort_priority, 1, 1);
    send(table, TAB_set_column_sort_kind, 0, TAB_SORT_TEXT);
    send(table, TAB_set_column_sort_priority, 0, 2);
    RedrawWindow(table, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const BENCH_CLOCK::time_point sort_end = BENCH_CLOCK::now();

    const BENCH_CLOCK::time_point paint_start = BENCH_CLOCK::now();
    RedrawWindow(table, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const BENCH_CLOCK::time_point paint_end = BENCH_CLOCK::now();

    if (!ok)
        std::fprintf(stderr, "%d rows: a cell message failed\n", rows);
    ok &= check(table, rows, number);
    std::printf("%d %.3f %.3f %.3f %.3f %.3f %.0f\n", rows, BENCH_microseconds(fill_start, fill_end) / rows,
                BENCH_microseconds(lookup_start, lookup_end) / rows, BENCH_microseconds(fit_start, fit_end) / rows,
                (BENCH_microseconds(sort_start, sort_end) - BENCH_microseconds(paint_start, paint_end)) / rows,
                BENCH_microseconds(paint_start, paint_end) / 1000,
                (static_cast<double>(memory_after) - static_cast<double>(memory_before)) / rows);
    std::fflush(stdout);
    DestroyWindow(parent);
    BENCH_pump();
    return ok;
}

// The parent window's class and the table's.
int16_t register_classes()
{
    WNDCLASSA c{};
    c.lpfnWndProc = DefWindowProcA;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    c.lpszClassName = PARENT_CLASS;
    if (TAB_register(c.hInstance) && RegisterClassA(&c))
        return 1;
    std::fprintf(stderr, "table_bench: the window classes are not registered\n");
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    return BENCH_main("table_bench", argc, argv, ROWS_MAX, run, register_classes);
}
