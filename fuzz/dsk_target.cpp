// Fuzz target of the disk label check. The input: byte 0 the disk index
// (0 to 25), bytes 1 and 2 the set number, then the set user name up to the
// first line feed, and the rest is the label file.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "common/st.h"
#include "inst/dsk.h"
#include "inst/ifl.h"
#include "win/we.h"

namespace {

int quiet(const WE_REPORT *) { return 1; }

}  // namespace

int FUZZ_dsk(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    IFL_state state{};
    DSK_disk_index = static_cast<int16_t>(data[0] % IFL_DISKS_MAX);
    state.set_number = static_cast<int16_t>(data[1] | (data[2] << 8));
    size_t at = 3;
    size_t n = 0;
    while (at < size && data[at] != '\n') {
        if (n < IFL_TEXT_MAX && data[at])
            state.user_name[n++] = static_cast<char>(data[at]);
        at++;
    }
    at = at < size ? at + 1 : at;
    char name[8];
    DSK_label_name(DSK_disk_index, name);
    FILE *f = std::fopen(name, "wb");
    if (!f)
        return 0;
    std::fwrite(data + at, 1, size - at, f);
    std::fclose(f);
    ST_copy(state.source_dir, "", 0);   // the current directory
    WE_SINK previous = WE_set_sink(quiet);
    DSK_check_label(&state);
    WE_set_sink(previous);
    std::remove(name);
    return 0;
}
