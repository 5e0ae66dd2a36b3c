// Load and save of WCO files. The main file has 200 sections of 100 keys
// each, written by the store itself, so it is already sorted; the counter
// per_key is the time per key. The single-section file and the reversed file
// show how the cost grows with the size of one section.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "swin/wco.h"
#include "win/we.h"

namespace {

// Internal-error reports would only slow the runs down.
int quiet(const WE_REPORT *)
{
    return 1;
}

// Writes a store of sections x keys (keys in the given order) to the file.
void make_file(const char *path, int sections, int keys, bool reversed)
{
    WE_set_sink(quiet);
    WCO_file *store = nullptr;
    WCO_create(&store);
    for (int s = 0; s < sections; s++) {
        char section[32];
        std::snprintf(section, sizeof section, "BENCH_section_%03d", s);
        WCO_select_section(store, section);
        for (int k = 0; k < keys; k++) {
            char key[32];
            std::snprintf(key, sizeof key, "real_bench_key_%05d", reversed ? keys - 1 - k : k);
            WCO_set_real(store, key, static_cast<float>(k) / 8);
        }
    }
    WCO_save_forced(store, path);
    WCO_destroy(&store);
}

// A file whose lines are in reverse order of keys: each key goes to the front.
void make_reversed_file(const char *path, int keys)
{
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return;
    std::fputs("BEGIN[BENCH]\r\n", f);
    for (int k = keys - 1; k >= 0; k--)
        std::fprintf(f, "   real_bench_key_%05d = %f\r\n", k, static_cast<double>(k) / 8);
    std::fputs("END[BENCH]\r\n", f);
    std::fclose(f);
}

void load_file(benchmark::State &state, const char *path, int keys)
{
    for (auto _ : state) {
        WCO_file *store = nullptr;
        WCO_create(&store);
        if (!WCO_load(store, path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(store->count);
        WCO_destroy(&store);
    }
    state.counters["per_key"] = benchmark::Counter(keys, benchmark::Counter::kIsIterationInvariantRate |
                                                             benchmark::Counter::kInvert);
}

void BM_load_200x100(benchmark::State &state)
{
    make_file("bench_200x100.wco", 200, 100, false);
    load_file(state, "bench_200x100.wco", 200 * 100);
}
BENCHMARK(BM_load_200x100)->Unit(benchmark::kMillisecond);

void BM_save_200x100(benchmark::State &state)
{
    make_file("bench_200x100.wco", 200, 100, false);
    WCO_file *store = nullptr;
    WCO_create(&store);
    WCO_load(store, "bench_200x100.wco");
    for (auto _ : state)
        if (!WCO_save_forced(store, "bench_200x100_out.wco"))
            state.SkipWithError("save failed");
    WCO_destroy(&store);
    state.counters["per_key"] = benchmark::Counter(200 * 100, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
}
BENCHMARK(BM_save_200x100)->Unit(benchmark::kMillisecond);

// One section of n keys, sorted: the time per key must not grow with n.
void BM_load_one_section(benchmark::State &state)
{
    const int keys = static_cast<int>(state.range(0));
    make_file("bench_one.wco", 1, keys, false);
    load_file(state, "bench_one.wco", keys);
}
BENCHMARK(BM_load_one_section)->Arg(1000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

// The same keys in reverse order: every insertion moves the whole section.
void BM_load_one_section_reversed(benchmark::State &state)
{
    const int keys = static_cast<int>(state.range(0));
    make_reversed_file("bench_reversed.wco", keys);
    load_file(state, "bench_reversed.wco", keys);
}
BENCHMARK(BM_load_one_section_reversed)->Arg(1000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
