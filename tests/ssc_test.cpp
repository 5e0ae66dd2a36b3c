#include "pack/ssc.h"

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

// Each operation on (text, out); out starts as "(kept)" and must stay so where nothing is taken.
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

TEST(Ssc, LineOperations)
{
    const struct { OP op; const char *text; int16_t result; const char *out, *after; } cases[] = {
        {split, "DISK:\t 3  ", 1, "DISK:", "3"},
        {split, "USER:  Jan  Novák \n", 1, "USER:", "Jan  Novák"},
        {split, "\tDISK_SET:\t\t12\tx", 1, "DISK_SET:", "12 x"},
        {split, "DISK:3", 1, "DISK:3", ""},         {split4, "ABCDEFGHIJ rest", 1, "ABCD", "rest"},
        {split, "   ", 0, "(kept)", ""},            {split, "\n", 0, "(kept)", ""},
        {clean, "  klíč = hodnota ; poznámka\r\n", 1, "(kept)", "klíč = hodnota"},
        {clean, "; celý řádek je poznámka", 0, "(kept)", ""},
        {clean, "\tA\tB\t", 1, "(kept)", "A B"},      {clean, "   ;", 0, "(kept)", ""},
        {clean, "x\ry\nz", 1, "(kept)", "x y z"},   {between, "\"x\"", 1, "x", ""},
        {between, "a\"jedna\"b\"dva\"", 1, "jedna", "ab\"dva\""},
        {between, "jen \" jeden", 0, "(kept)", "jen \" jeden"},
        {between, "prázdné \"\" uvozovky", 0, "(kept)", "prázdné \"\" uvozovky"},
        {between, "bez", 0, "(kept)", "bez"},       {zeros, "000120", 1, "(kept)", "120"},
        {zeros, "000", 0, "(kept)", ""},            {remove_dash, "a-b-c-", 1, "(kept)", "abc"},
        {replace_b, "abcb", 1, "(kept)", "aXcX"},   {is_disk, "DISK:", 1, "(kept)", "DISK:"},
        {is_disk, "disk:", 0, "(kept)", "disk:"},   {is_disk, "DISK", 0, "(kept)", "DISK"},
    };
    for (const auto &c : cases) {
        char text[100];
        char out[100] = "(kept)";
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(c.op(text, out), c.result) << c.text;
        EXPECT_STREQ(out, c.out) << c.text;
        EXPECT_STREQ(text, c.after) << c.text;
    }
    EXPECT_EQ(SSC_equal("", ""), 1);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Ssc, MissingTextsAreInternalErrors)
{
    char text[] = "x";
    char out[10];
    const int16_t results[] = {SSC_split_keyword(nullptr, out, 9),      SSC_split_keyword(text, nullptr, 9),
                               SSC_equal(nullptr, "x"),                 SSC_remove_char(nullptr, 'x'),
                               SSC_replace_char(nullptr, 'x', 'y'),     SSC_strip_zeros(nullptr),
                               SSC_clean_line(nullptr),                 SSC_take_between(text, nullptr, 9, '"')};
    for (int16_t result : results)
        EXPECT_EQ(result, 0);
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 8);
    for (const TU_REPORT &r : TU_reports())
        EXPECT_EQ(r.text.rfind("Chyba v souboru ..\\pack\\ssc řádek ", 0), 0u) << r.text;
}
