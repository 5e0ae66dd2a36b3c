// The frame of the toolkit's benchmarks under Wine: "NAME N [N ...]", each
// N a row count from 1 to a maximum, run inside a driver record like the
// one WGD_run makes (instance, colour table), every error report counted.
#pragma once
#include <chrono>
#include <cstdint>

typedef std::chrono::steady_clock BENCH_CLOCK;

// Checks the counts, installs the driver and the report counter, runs
// prepare (when given) and then run for each count. The exit code: 0 when
// every run answered 1 and nothing was reported, 2 for a wrong count.
int BENCH_main(const char *name, int argc, char **argv, int max, int16_t (*run)(int rows),
               int16_t (*prepare)() = nullptr);
// Works off every waiting message of the thread.
void BENCH_pump();
double BENCH_microseconds(BENCH_CLOCK::time_point from, BENCH_CLOCK::time_point to);
