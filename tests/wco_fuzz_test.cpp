// Replays the seed corpus of the WCO reader's fuzz target: every file must
// load, write and read back without a fault and without an inconsistent order.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/testutil.h"

int FUZZ_wco_load(const uint8_t *data, size_t size);

namespace {

namespace fs = std::filesystem;

TEST(WcoFuzzCorpus, EveryFileLoadsAndRoundTrips)
{
    // The tests run in tests/; the corpus lies beside it.
    const fs::path corpus = fs::absolute(fs::path("..") / "fuzz" / "corpus" / "wco_load");
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus.string();
    std::vector<fs::path> files;
    for (const fs::directory_entry &entry : fs::directory_iterator(corpus))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    ASSERT_GE(files.size(), 5u);
    TU_SCRATCH scratch;
    for (const fs::path &file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = TU_read(file.string());
        TU_clear_reports();
        EXPECT_EQ(FUZZ_wco_load(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), 0);
        for (const TU_REPORT &report : TU_reports()) {
            EXPECT_EQ(report.text.find("common\\qs"), std::string::npos) << report.text;
            EXPECT_NE(report.kind, WE_KIND_SWITCH) << report.text;
        }
    }
}

}  // namespace
