#include "pack/cpy.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

// The buffer halves from 32767 to what the limit allows (15 at least); lengths at the edges of its reads.
TEST(Cpy, CopiesEveryLengthAroundTheBufferSizes)
{
    TU_SCRATCH dir;
    const struct { int32_t limit; size_t length; } cases[] = {
        {0, 0}, {0, 32766}, {0, 32767}, {0, 32768}, {0, 100000}, {16383, 16383}, {16383, 40000}, {15, 15}, {15, 1000}};
    std::mt19937 gen(1);
    for (const auto &c : cases) {
        CPY_set_buffer_limit(c.limit);
        std::string bytes(c.length, '\0');
        std::generate(bytes.begin(), bytes.end(), [&gen] { return static_cast<char>(gen()); });
        TU_write("in.bin", bytes);
        TU_write("out.bin", std::string(50000, 'x'));   // emptied by the copy
        EXPECT_EQ(CPY_copy_file("in.bin", "out.bin"), 1) << c.limit << " " << c.length;
        EXPECT_EQ(TU_read("out.bin"), bytes) << c.limit << " " << c.length;
    }
    CPY_set_buffer_limit(0);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Cpy, FailuresSayWhyAndLeaveNoDestination)
{
    TU_SCRATCH dir;
    TU_write("in.bin", "abc");
    std::filesystem::create_directory("adresar");
    const struct { int32_t limit; const char *source, *destination, *text; WE_KIND kind; } cases[] = {
        {14, "in.bin", "out.bin", " Málo paměti", WE_KIND_LOW_MEMORY},   // no buffer of 15 bytes or more
        {0, "chybi.bin", "out.bin", "Nelze otevřít soubor chybi.bin", WE_KIND_ERROR},
        {0, "in.bin", "neni\\out.bin", "Nelze otevřít soubor neni\\out.bin", WE_KIND_ERROR},
#if !defined(_WIN32)   // a directory opens for reading here, but every read fails
        {0, "adresar", "out.bin", "Ze souboru adresar nelze číst", WE_KIND_ERROR},
#endif
    };
    for (const auto &c : cases) {
        TU_clear_reports();
        CPY_set_buffer_limit(c.limit);
        EXPECT_EQ(CPY_copy_file(c.source, c.destination), 0) << c.text;
        CPY_set_buffer_limit(0);
        ASSERT_EQ(TU_reports().size(), 1u) << c.text;
        EXPECT_EQ(TU_reports()[0].text, c.text);
        EXPECT_EQ(TU_reports()[0].kind, c.kind) << c.text;
        EXPECT_FALSE(TU_exists("out.bin")) << c.text;
    }
    EXPECT_EQ(CPY_copy_file(nullptr, "x"), 0);
    EXPECT_EQ(CPY_copy_file("x", nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 2);
}
