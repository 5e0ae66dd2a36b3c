// libFuzzer program of the WCO reader (tools/fuzz.sh wco_load).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "win/we.h"

int FUZZ_wco_load(const uint8_t *data, size_t size);

namespace {

// The reader reports what it cuts or drops; that is expected here. A report
// of the sorting module means an order that is not consistent: a finding.
int fuzz_sink(const WE_REPORT *report)
{
    if (std::strstr(report->text, "common\\qs") || report->kind == WE_KIND_SWITCH)
        std::abort();
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    WE_set_sink(fuzz_sink);
    // The target works on files of its own: keep them in a directory of this run.
    char directory[] = "/tmp/wco_load_fuzz_XXXXXX";
    if (!mkdtemp(directory) || chdir(directory) != 0)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FUZZ_wco_load(data, size);
}
