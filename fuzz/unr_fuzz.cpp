// libFuzzer program of the uninstall program's list (tools/fuzz.sh unr).
#include <cstddef>
#include <cstdint>

int FUZZ_unr(const uint8_t *data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FUZZ_unr(data, size);
}
