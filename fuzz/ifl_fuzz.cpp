// libFuzzer program of the distribution list (tools/fuzz.sh ifl).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

int FUZZ_ifl(const uint8_t *data, size_t size);

// The target writes its files into the current directory: a private one.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "trk_fuzz_ifl";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FUZZ_ifl(data, size);
}
