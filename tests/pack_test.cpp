#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

#include "pack/cpy.h"
#include "pack/ssc.h"
#include "tests/testutil.h"

// The copy buffer halves from 32767 to what the limit allows (15 at least); lengths at the edges of its reads,
// over a longer destination, which the copy empties first.
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
        TU_write("out.bin", std::string(50000, 'x'));
        EXPECT_EQ(CPY_copy_file("in.bin", "out.bin"), 1) << c.limit << " " << c.length;
        EXPECT_EQ(TU_read("out.bin"), bytes) << c.limit << " " << c.length;
    }
    CPY_set_buffer_limit(0);
    EXPECT_TRUE(TU_reports().empty());
}

// A failed copy says why, once, and leaves no destination.
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
        EXPECT_FALSE(TU_exists("out.bin") || TU_exists("out.bin.$$$")) << c.text;
    }
    // A file copied onto itself, in any spelling, stays whole; so does an older
    // destination when the copy fails.
    std::filesystem::create_directory("sub");
    TU_write("old.bin", "older");
    const std::string self = std::string("sub") + TU_SEP + ".." + TU_SEP + "in.bin";
    const struct { const char *source, *destination, *text; } kept[] = {
        {"in.bin", "in.bin", "Soubor in.bin nelze kopírovat sám na sebe"},
        {"in.bin", self.c_str(), "Soubor in.bin nelze kopírovat sám na sebe"},
        {"chybi.bin", "old.bin", "Nelze otevřít soubor chybi.bin"},
    };
    for (const auto &c : kept) {
        TU_clear_reports();
        EXPECT_EQ(CPY_copy_file(c.source, c.destination), 0) << c.text;
        ASSERT_EQ(TU_reports().size(), 1u) << c.text;
        EXPECT_EQ(TU_reports()[0].text, c.text);
    }
    EXPECT_EQ(TU_read("in.bin") + TU_read("old.bin"), "abcolder");
    EXPECT_FALSE(TU_exists("in.bin.$$$") || TU_exists("old.bin.$$$"));
    TU_expect_failures("..\\pack\\cpy", {TU_FAILS(CPY_copy_file(nullptr, "x")), TU_FAILS(CPY_copy_file("x", nullptr))});
}

namespace {

// Each line operation on (text, out); out starts as "(kept)" and must stay so where nothing is taken.
typedef int16_t (*OP)(char *text, char *out);
int16_t split(char *t, char *o) { return SSC_split_keyword(t, o, 80); }
int16_t split4(char *t, char *o) { return SSC_split_keyword(t, o, 4); }
int16_t between(char *t, char *o) { return SSC_take_between(t, o, 80, '"'); }
int16_t clean(char *t, char *) { return SSC_clean_line(t); }
int16_t zeros(char *t, char *) { return SSC_strip_zeros(t); }
int16_t remove_dash(char *t, char *) { return SSC_remove_char(t, '-'); }
int16_t replace_b(char *t, char *) { return SSC_replace_char(t, 'b', 'X'); }
int16_t is_disk(char *t, char *) { return SSC_equal(t, "DISK:"); }

}  // namespace

// The keyword scanner's line operations: result, what is taken out, the line afterwards.
TEST(Ssc, LineOperations)
{
    const struct { OP op; const char *text; int16_t result; const char *out, *after; } cases[] = {
        {split, "DISK:\t 3  ", 1, "DISK:", "3"}, {split, "USER:  Jan  Novák \n", 1, "USER:", "Jan  Novák"},
        {split, "\tDISK_SET:\t\t12\tx", 1, "DISK_SET:", "12 x"}, {split, "DISK:3", 1, "DISK:3", ""},
        {split4, "ABCDEFGHIJ rest", 1, "ABCD", "rest"}, {split, "   ", 0, "(kept)", ""}, {split, "\n", 0, "(kept)", ""},
        {clean, "  klíč = hodnota ; poznámka\r\n", 1, "(kept)", "klíč = hodnota"},
        {clean, "; celý řádek je poznámka", 0, "(kept)", ""}, {clean, "\tA\tB\t", 1, "(kept)", "A B"},
        {clean, "   ;", 0, "(kept)", ""}, {clean, "x\ry\nz", 1, "(kept)", "x y z"}, {between, "\"x\"", 1, "x", ""},
        {between, "a\"jedna\"b\"dva\"", 1, "jedna", "ab\"dva\""},
        {between, "jen \" jeden", 0, "(kept)", "jen \" jeden"},
        {between, "prázdné \"\" uvozovky", 0, "(kept)", "prázdné \"\" uvozovky"}, {between, "bez", 0, "(kept)", "bez"},
        {zeros, "000120", 1, "(kept)", "120"}, {zeros, "000", 0, "(kept)", ""},
        {remove_dash, "a-b-c-", 1, "(kept)", "abc"}, {replace_b, "abcb", 1, "(kept)", "aXcX"},
        {is_disk, "DISK:", 1, "(kept)", "DISK:"}, {is_disk, "disk:", 0, "(kept)", "disk:"},
        {is_disk, "DISK", 0, "(kept)", "DISK"},
    };
    for (const auto &c : cases) {
        char text[100], out[100] = "(kept)";
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(c.op(text, out), c.result) << c.text;
        EXPECT_STREQ(out, c.out) << c.text;
        EXPECT_STREQ(text, c.after) << c.text;
    }
    EXPECT_EQ(SSC_equal("", ""), 1);
    EXPECT_TRUE(TU_reports().empty());
    char text[] = "x", out[10];
    TU_expect_failures("..\\pack\\ssc", {
        TU_FAILS(SSC_split_keyword(nullptr, out, 9)), TU_FAILS(SSC_split_keyword(text, nullptr, 9)),
        TU_FAILS(SSC_equal(nullptr, "x")), TU_FAILS(SSC_remove_char(nullptr, 'x')),
        TU_FAILS(SSC_replace_char(nullptr, 'x', 'y')), TU_FAILS(SSC_strip_zeros(nullptr)),
        TU_FAILS(SSC_clean_line(nullptr)), TU_FAILS(SSC_take_between(text, nullptr, 9, '"')),
    });
}
