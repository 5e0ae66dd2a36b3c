// Replays the seed corpora of the fuzz targets (and whatever the fuzzer was given to keep there) through the same
// target functions, each file in a scratch folder of its own: the targets write their files into the current one.
#include <filesystem>

#include "tests/testutil.h"

int FUZZ_ifl(const uint8_t *data, size_t size);
int FUZZ_dsk(const uint8_t *data, size_t size);
int FUZZ_wco_load(const uint8_t *data, size_t size);
int FUZZ_unr(const uint8_t *data, size_t size);

namespace {

// Every file of the corpus beside tests/ through the target, which must answer 0 and leave only the reports
// allowed; the number of files.
size_t replay(const char *name, int (*target)(const uint8_t *, size_t), bool (*allowed)(const TU_REPORT &))
{
    size_t count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::filesystem::absolute("../fuzz/corpus/") / name)) {
        const std::string bytes = TU_read(entry.path().string()), file = entry.path().filename().string();
        TU_SCRATCH dir;
        TU_clear_reports();
        EXPECT_EQ(target(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), 0) << file;
        for (const TU_REPORT &r : TU_reports())
            EXPECT_TRUE(allowed(r)) << file << ": " << r.text;
        count++;
    }
    return count;
}

bool none(const TU_REPORT &) { return false; }

}  // namespace

// The list, label and uninstall-list targets keep their reports to themselves.
TEST(FuzzCorpus, ListsAndLabelsReplay)
{
    EXPECT_GE(replay("ifl", FUZZ_ifl, none), 8u);
    EXPECT_GE(replay("dsk", FUZZ_dsk, none), 9u);
    EXPECT_GE(replay("unr", FUZZ_unr, none), 5u);
}

// Every settings file loads, writes and reads back as the same store; the store's order never breaks (no report
// of the sort, no unexpected case).
TEST(FuzzCorpus, SettingsFilesLoadAndRoundTrip)
{
    const auto allowed = [](const TU_REPORT &r) {
        return r.kind != WE_KIND_SWITCH && r.text.find("common\\qs") == std::string::npos;
    };
    EXPECT_GE(replay("wco_load", FUZZ_wco_load, allowed), 5u);
}
