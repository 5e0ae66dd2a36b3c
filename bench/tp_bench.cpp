// The table print window with many rows, for bench/tp.sh (Windows build, run
// under Wine with the default printer of the run):
//   tp_bench N [N ...]
// For each N (1 .. 100000) a table of three columns and N rows (every fifth
// description long enough to break into lines) is opened in the window on
// the default printer, and these phases are timed:
//   layout  TP_lay_out: every row measured and placed on its page (the best
//           of three runs)
//   print   TP_print: the whole job, laid out once more and every page drawn
// One line per N: "N pages layout_us_per_row print_us_per_row". The exit
// code is 0 when every table was laid out and printed without an error report.
//   tp_bench fill N [N ...]
// Only fills the table (no window, no printer), the best of three: one line
// per N, "N fill_us_per_row".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/winbench.h"
#include "swin/col.h"
#include "swin/tp.h"
#include "swin/wgd.h"
#include "win/we.h"

namespace {

const int ROWS_MAX = 100000;
const int LAYOUT_RUNS = 3;
const int FILL_RUNS = 3;

// The header, the columns and the rows; 1 when every cell was taken.
int16_t fill(TP_table *table, int rows)
{
    const char *headers[3] = {"Číslo", "Název", "Popis"};
    int16_t ok = 1;
    for (int c = 0; c < 3; c++)
        ok &= TP_set_header_cell(table, c, headers[c]);
    ok &= TP_set_column_weight(table, 0, 1) & TP_set_column_weight(table, 1, 2) & TP_set_column_weight(table, 2, 4);
    ok &= TP_set_column_alignment(table, 0, TP_RIGHT);
    for (int r = 0; r < rows && ok; r++) {
        const std::string n = std::to_string(r + 1);
        ok &= TP_set_cell(table, r, 0, n.c_str());
        ok &= TP_set_cell(table, r, 1, ("Položka " + n).c_str());
        ok &= TP_set_cell(table, r, 2, r % 5 ? "krátký popis"
                                             : "Dlouhý popis, který se do šířky sloupce nevejde a zalomí se do "
                                               "několika řádků: žluťoučký kůň úpěl ďábelské ódy.");
    }
    return ok;
}

int16_t run_fill(int rows)
{
    double best = 0;
    int16_t ok = 1;
    for (int i = 0; i < FILL_RUNS && ok; i++) {
        TP_table *table = nullptr;
        if (!TP_create(&table))
            return 0;
        const BENCH_CLOCK::time_point start = BENCH_CLOCK::now();
        ok &= fill(table, rows);
        const double took = BENCH_microseconds(start, BENCH_CLOCK::now());
        best = i == 0 || took < best ? took : best;
        TP_destroy(&table);
    }
    std::printf("%d %.3f\n", rows, best / rows);
    std::fflush(stdout);
    return ok;
}

int16_t run(int rows)
{
    TP_table *table = nullptr;
    if (!TP_create(&table))
        return 0;
    int16_t ok = fill(table, rows);
    if (!ok || !TP_open_window(table, "Tisk tabulky", 0, "tabulka")) {
        std::fprintf(stderr, "%d rows: the table was not made\n", rows);
        TP_destroy(&table);
        return 0;
    }
    BENCH_pump();
    double layout = 0;
    for (int i = 0; i < LAYOUT_RUNS; i++) {
        const BENCH_CLOCK::time_point start = BENCH_CLOCK::now();
        ok &= TP_lay_out(table);
        const double took = BENCH_microseconds(start, BENCH_CLOCK::now());
        layout = i == 0 || took < layout ? took : layout;
    }
    const int32_t pages = TP_get_page_count(table);
    const BENCH_CLOCK::time_point print_start = BENCH_CLOCK::now();
    ok &= TP_print(table);
    const BENCH_CLOCK::time_point print_end = BENCH_CLOCK::now();
    if (!ok)
        std::fprintf(stderr, "%d rows: the layout or the print failed\n", rows);
    std::printf("%d %d %.3f %.3f\n", rows, static_cast<int>(pages), layout / rows,
                BENCH_microseconds(print_start, print_end) / rows);
    std::fflush(stdout);
    TP_close_window(table);   // the object goes with its window
    BENCH_pump();
    return ok;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::string(argv[1]) == "fill")
        return BENCH_main("tp_bench fill", argc - 1, argv + 1, ROWS_MAX, run_fill);
    return BENCH_main("tp_bench", argc, argv, ROWS_MAX, run);
}
