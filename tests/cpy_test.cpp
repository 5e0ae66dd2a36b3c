#include "pack/cpy.h"

#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

std::string random_bytes(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(gen());
    return s;
}

// Lifts the buffer limit however a test ends.
struct LIMIT {
    explicit LIMIT(int32_t largest) { CPY_set_buffer_limit(largest); }
    ~LIMIT() { CPY_set_buffer_limit(0); }
};

}  // namespace

TEST(Cpy, CopiesEveryLengthAroundTheBufferSizes)
{
    TU_SCRATCH dir;
    // Lengths at the edges of the reads: empty, exactly one buffer (the
    // second read returns nothing), one byte either side, several buffers.
    struct {
        int32_t limit;
        size_t length;
    } const cases[] = {
        {0, 0},          {0, 1},          {0, 32766},     {0, 32767},   {0, 32768},
        {0, 65534},      {0, 100000},     {16383, 16383}, {16383, 32766}, {16383, 40000},
        {15, 15},        {15, 31},        {15, 1000},
    };
    for (const auto &c : cases) {
        LIMIT limit(c.limit);
        std::string bytes = random_bytes(c.length, static_cast<unsigned>(c.length));
        TU_write("in.bin", bytes);
        ASSERT_EQ(CPY_copy_file("in.bin", "out.bin"), 1) << c.limit << " " << c.length;
        EXPECT_EQ(TU_read("out.bin"), bytes) << c.limit << " " << c.length;
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Cpy, EmptiesAnExistingDestination)
{
    TU_SCRATCH dir;
    TU_write("in.bin", "abc");
    TU_write("out.bin", std::string(50000, 'x'));
    ASSERT_EQ(CPY_copy_file("in.bin", "out.bin"), 1);
    EXPECT_EQ(TU_read("out.bin"), "abc");
}

TEST(Cpy, WithoutAnyBufferReportsLowMemory)
{
    TU_SCRATCH dir;
    LIMIT limit(14);   // below the smallest size tried, 15
    TU_write("in.bin", "abc");
    EXPECT_EQ(CPY_copy_file("in.bin", "out.bin"), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].kind, WE_KIND_LOW_MEMORY);
    EXPECT_EQ(TU_reports()[0].text, " Málo paměti");
    EXPECT_FALSE(TU_exists("out.bin"));
}

TEST(Cpy, OpenFailuresNameTheFile)
{
    TU_SCRATCH dir;
    EXPECT_EQ(CPY_copy_file("chybi.bin", "out.bin"), 0);
    EXPECT_FALSE(TU_exists("out.bin"));

    TU_write("in.bin", "abc");
    EXPECT_EQ(CPY_copy_file("in.bin", "neni\\out.bin"), 0);

    ASSERT_EQ(TU_reports().size(), 2u);
    EXPECT_EQ(TU_reports()[0].text, "Nelze otevřít soubor chybi.bin");
    EXPECT_EQ(TU_reports()[1].text, "Nelze otevřít soubor neni\\out.bin");
    EXPECT_EQ(TU_reports()[1].kind, WE_KIND_ERROR);
}

#if !defined(_WIN32)
// A directory opens for reading on the host but every read fails: the copy
// must not pass an empty destination off as the file. (Windows does not open
// a directory as a file at all.)
TEST(Cpy, ASourceThatCannotBeReadIsNotACompleteCopy)
{
    TU_SCRATCH dir;
    ASSERT_TRUE(std::filesystem::create_directory("adresar"));
    EXPECT_EQ(CPY_copy_file("adresar", "out.bin"), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Ze souboru adresar nelze číst");
    EXPECT_FALSE(TU_exists("out.bin"));
}
#endif

TEST(Cpy, NullPathsAreInternalErrors)
{
    EXPECT_EQ(CPY_copy_file(nullptr, "x"), 0);
    EXPECT_EQ(CPY_copy_file("x", nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 2);
}
