#include "bench/winbench.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "swin/col.h"
#include "swin/wgd.h"
#include "win/we.h"

namespace {

int reports = 0;

int report(const WE_REPORT *r)
{
    if (r->kind != WE_KIND_QUESTION && r->kind != WE_KIND_NOTIFY) {
        std::fprintf(stderr, "%s\n", r->text);
        reports++;
    }
    return IDOK;
}

}  // namespace

int BENCH_main(const char *name, int argc, char **argv, int max, int16_t (*run)(int rows), int16_t (*prepare)())
{
    if (argc < 2) {
        std::fprintf(stderr, "%s N [N ...]   (1 <= N <= %d)\n", name, max);
        return 2;
    }
    for (int i = 1; i < argc; i++) {
        const int n = std::atoi(argv[i]);
        if (n < 1 || n > max) {
            std::fprintf(stderr, "%s: %s rows: 1 .. %d\n", name, argv[i], max);
            return 2;
        }
    }
    WE_set_sink(report);
    static WGD_DRIVER driver{};
    driver.instance = GetModuleHandleA(nullptr);
    COL_init(&driver.colours);
    WGD_driver = &driver;
    int16_t ok = !prepare || prepare();
    for (int i = 1; ok && i < argc; i++)
        ok &= run(std::atoi(argv[i]));
    WGD_driver = nullptr;
    if (reports)
        std::fprintf(stderr, "%s: %d error reports\n", name, reports);
    return ok && !reports ? 0 : 1;
}

void BENCH_pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

double BENCH_microseconds(BENCH_CLOCK::time_point from, BENCH_CLOCK::time_point to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}
