// Replays the seed corpora of the fuzz targets (and whatever the fuzzer was
// given to keep there) through the same target functions.
#include <cstdint>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

int FUZZ_ifl(const uint8_t *data, size_t size);
int FUZZ_dsk(const uint8_t *data, size_t size);

namespace {

// Every file of the corpus through the target; the number of files.
int replay(const std::string &name, int (*target)(const uint8_t *, size_t))
{
    namespace fs = std::filesystem;
    fs::path corpus = fs::absolute(fs::path("..") / "fuzz" / "corpus" / name);
    int count = 0;
    for (const fs::directory_entry &entry : fs::directory_iterator(corpus)) {
        std::string bytes = TU_read(entry.path().string());
        TU_SCRATCH dir;   // the targets write their files into the current folder
        EXPECT_EQ(target(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), 0) << entry.path();
        count++;
    }
    return count;
}

}  // namespace

TEST(IflFuzz, ListCorpusReplays)
{
    EXPECT_GE(replay("ifl", FUZZ_ifl), 8);
    EXPECT_TRUE(TU_reports().empty());   // the target keeps its reports to itself
}

TEST(IflFuzz, LabelCorpusReplays)
{
    EXPECT_GE(replay("dsk", FUZZ_dsk), 9);
    EXPECT_TRUE(TU_reports().empty());
}
