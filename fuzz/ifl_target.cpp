// Fuzz target of the distribution list: the input is a "DISKLIST.LST" in the
// current directory, read through every pass the engine makes of it.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "common/fi.h"
#include "inst/ifl.h"
#include "win/we.h"

namespace {

int quiet(const WE_REPORT *) { return 1; }

}  // namespace

int FUZZ_ifl(const uint8_t *data, size_t size)
{
    FILE *f = std::fopen("DISKLIST.LST", "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    WE_SINK previous = WE_set_sink(quiet);
    IFL_state *state = nullptr;
    if (IFL_create(&state)) {
        // The engine's order: the safety check, then passes that build paths
        // and the lines of "INST.LST" (counted, not kept).
        if (IFL_check_list(state) && IFL_read_header(state)) {
            C_FILE *inst = nullptr;
            if (FI_create(&inst, "INST.LST") && FI_open(inst, FI_MEM_COUNT)) {
                char path[IFL_PATH_MAX + 1];
                while (IFL_next_record(state)) {
                    IFL_installed_path(state, path);
                    IFL_write_inst_line(inst, state);
                }
            }
            if (inst)
                FI_destroy(&inst);
        }
        IFL_destroy(&state);
    }
    WE_set_sink(previous);
    return 0;
}
