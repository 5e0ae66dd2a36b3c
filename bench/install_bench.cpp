// One installation for bench/install.sh (Windows build, run under Wine):
//   install_bench SOURCE TARGET
// installs the distribution in SOURCE into TARGET with every question
// answered yes, and prints "<milliseconds> <peak working set in kB>".
// The exit code is 0 when the installation succeeded.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>

#include "common/st.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "insttrkp/ins.h"
#include "win/we.h"

namespace {

// No window: the lines are dropped, the messages worked off.
class BENCH_WINDOW : public C_INS_WINDOW {
public:
    void set_line(int16_t, const char *) override {}
    void pump_messages() override
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    HWND frame() override { return nullptr; }
};

int report(const WE_REPORT *r)
{
    if (r->kind != WE_KIND_QUESTION && r->kind != WE_KIND_NOTIFY)
        std::fprintf(stderr, "%s\n", r->text);
    return IDOK;   // "&Ano" / "&O.K."
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "install_bench SOURCE TARGET\n");
        return 2;
    }
    WE_set_sink(report);
    BENCH_WINDOW window;
    INS_set_window(&window);
    IFL_state *state = nullptr;
    if (!IFL_create(&state))
        return 1;
    ST_copy(state->source_dir, argv[1], IFL_PATH_MAX - 1);
    ST_append(state->source_dir, "\\", IFL_PATH_MAX);
    ST_copy(state->target_dir, argv[2], IFL_PATH_MAX - 1);
    ST_append(state->target_dir, "\\", IFL_PATH_MAX);
    const auto start = std::chrono::steady_clock::now();
    const int16_t done = INS_install(state);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    UNL_close();
    IFL_destroy(&state);
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%lld %llu\n", static_cast<long long>(ms.count()),
                static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
    return done ? 0 : 1;
}
