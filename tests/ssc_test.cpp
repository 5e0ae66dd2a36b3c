#include "pack/ssc.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

const char INTERNAL_SSC[] = "Chyba v souboru ..\\pack\\ssc řádek ";

}  // namespace

TEST(Ssc, SplitKeywordTakesTheFirstWordAndTrimsTheRest)
{
    struct {
        const char *line;
        int16_t result;
        const char *keyword;   // "(kept)" when the buffer must stay as it was
        const char *rest;
    } const cases[] = {
        {"DISK:\t 3  ", 1, "DISK:", "3"},
        {"   ", 0, "(kept)", ""},
        {"", 0, "(kept)", ""},
        {"\n", 0, "(kept)", ""},
        {"USER:  Jan  Novák \n", 1, "USER:", "Jan  Novák"},
        {"DISK:3", 1, "DISK:3", ""},
        {"\tDISK_SET:\t\t12\tx", 1, "DISK_SET:", "12 x"},
        {"slovo", 1, "slovo", ""},
    };
    for (const auto &c : cases) {
        char line[100];
        char keyword[100] = "(kept)";
        std::snprintf(line, sizeof line, "%s", c.line);
        EXPECT_EQ(SSC_split_keyword(line, keyword, 80), c.result) << c.line;
        EXPECT_STREQ(keyword, c.keyword) << c.line;
        EXPECT_STREQ(line, c.rest) << c.line;
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Ssc, SplitKeywordCutsALongKeywordToItsBuffer)
{
    char line[] = "ABCDEFGHIJ rest";
    char keyword[5];
    EXPECT_EQ(SSC_split_keyword(line, keyword, 4), 1);
    EXPECT_STREQ(keyword, "ABCD");
    EXPECT_STREQ(line, "rest");
}

TEST(Ssc, CleanLineStripsCommentsTabsAndLineEnds)
{
    struct {
        const char *text;
        int16_t result;
        const char *after;
    } const cases[] = {
        {"  klíč = hodnota ; poznámka\r\n", 1, "klíč = hodnota"},
        {"; celý řádek je poznámka", 0, ""},
        {"", 0, ""},
        {"\tA\tB\t", 1, "A B"},
        {"   ;", 0, ""},
        {"x\ry\nz", 1, "x y z"},
    };
    for (const auto &c : cases) {
        char text[100];
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(SSC_clean_line(text), c.result) << c.text;
        EXPECT_STREQ(text, c.after) << c.text;
    }
}

TEST(Ssc, TakeBetweenNeedsTwoDelimitersWithSomethingBetween)
{
    struct {
        const char *text;
        int16_t result;
        const char *out;
        const char *after;
    } const cases[] = {
        {"a\"jedna\"b\"dva\"", 1, "jedna", "ab\"dva\""},
        {"jen \" jeden", 0, "(kept)", "jen \" jeden"},
        {"prázdné \"\" uvozovky", 0, "(kept)", "prázdné \"\" uvozovky"},
        {"\"x\"", 1, "x", ""},
        {"bez", 0, "(kept)", "bez"},
    };
    for (const auto &c : cases) {
        char text[100];
        char out[100] = "(kept)";
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(SSC_take_between(text, out, 80, '"'), c.result) << c.text;
        EXPECT_STREQ(out, c.out) << c.text;
        EXPECT_STREQ(text, c.after) << c.text;
    }
}

TEST(Ssc, SmallTextOperations)
{
    char zeros[] = "000120";
    EXPECT_EQ(SSC_strip_zeros(zeros), 1);
    EXPECT_STREQ(zeros, "120");
    char only_zeros[] = "000";
    EXPECT_EQ(SSC_strip_zeros(only_zeros), 0);
    EXPECT_STREQ(only_zeros, "");

    char text[] = "a-b-c-";
    EXPECT_EQ(SSC_remove_char(text, '-'), 1);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(SSC_replace_char(text, 'b', 'X'), 1);
    EXPECT_STREQ(text, "aXc");

    EXPECT_EQ(SSC_equal("DISK:", "DISK:"), 1);
    EXPECT_EQ(SSC_equal("DISK:", "disk:"), 0);
    EXPECT_EQ(SSC_equal("DISK", "DISK:"), 0);
    EXPECT_EQ(SSC_equal("", ""), 1);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Ssc, MissingTextsAreInternalErrors)
{
    char text[] = "x";
    char out[10];
    EXPECT_EQ(SSC_split_keyword(nullptr, out, 9), 0);
    EXPECT_EQ(SSC_split_keyword(text, nullptr, 9), 0);
    EXPECT_EQ(SSC_equal(nullptr, "x"), 0);
    EXPECT_EQ(SSC_remove_char(nullptr, 'x'), 0);
    EXPECT_EQ(SSC_replace_char(nullptr, 'x', 'y'), 0);
    EXPECT_EQ(SSC_strip_zeros(nullptr), 0);
    EXPECT_EQ(SSC_clean_line(nullptr), 0);
    EXPECT_EQ(SSC_take_between(text, nullptr, 9, '"'), 0);
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 8);
    for (const TU_REPORT &r : TU_reports())
        EXPECT_EQ(r.text.rfind(INTERNAL_SSC, 0), 0u) << r.text;
}
