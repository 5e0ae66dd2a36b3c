// libFuzzer program of the disk label check (tools/fuzz.sh dsk).
#include <cstddef>
#include <cstdint>
#include <filesystem>

int FUZZ_dsk(const uint8_t *data, size_t size);

// The target writes its label files into the current directory: a private one.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "trk_fuzz_dsk";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FUZZ_dsk(data, size);
}
