// The text buffer: growth of the slot table, lines in order, empty lines for
// missing texts, lookups outside the table; deletion, the walk over the
// lines, formatted lines; text files read and written in each code page.
#include "common/txt.h"

#include "common/config.h"
#include "common/cz.h"
#include "tests/testutil.h"

namespace {

// The lines of the buffer, each followed by "|".
std::string lines_of(const TXT_buffer &b)
{
    std::string all;
    int16_t cursor = 7;
    if (TXT_first(&b, &cursor))
        while (const TXT_line *line = TXT_next(&b, &cursor))
            all += std::string(line->text) + "|";
    return all;
}

struct BUFFER {
    TXT_buffer b;
    explicit BUFFER(std::initializer_list<const char *> lines)
    {
        TXT_create(&b, 100);
        for (const char *line : lines)
            EXPECT_EQ(TXT_add(&b, line, nullptr), 1);
    }
    ~BUFFER() { TXT_destroy(&b); }
};

}  // namespace

TEST(TxtBuffer, GrowsByAHundredSlotsAndKeepsTheLinesInOrder)
{
    TXT_buffer b;
    ASSERT_EQ(TXT_create(&b, 20), 1);
    EXPECT_EQ(TU_V({b.count, b.capacity, b.size_hint, b.modified, b.slots != nullptr}), TU_V({0, 0, 100, 0, 0}));
    int16_t slot = -1;
    for (int i = 0; i < 101; i++) {
        EXPECT_EQ(b.capacity, i == 0 ? 0 : 100);   // grown only when full
        ASSERT_EQ(TXT_add(&b, ("řádek " + std::to_string(i)).c_str(), &slot), 1);
        ASSERT_EQ(slot, i);
    }
    EXPECT_EQ(TU_V({b.count, b.capacity, b.modified}), TU_V({101, 200, 1}));
    for (int i = 0; i < 101; i++)
        ASSERT_EQ(TXT_get(&b, static_cast<int16_t>(i))->text, "řádek " + std::to_string(i));
    ASSERT_EQ(TXT_add(&b, nullptr, nullptr), 1);   // a missing text is an empty line
    EXPECT_STREQ(TXT_get(&b, 101)->text, "");
    for (int16_t i : {102, 200, -1})   // a free slot, outside the table
        EXPECT_EQ(TXT_get(&b, i), nullptr) << i;
    TXT_destroy(&b);
    EXPECT_EQ(TU_V({b.count, b.capacity, b.slots != nullptr}), TU_V({0, 0, 0}));
    ASSERT_EQ(TXT_add(&b, "znovu", &slot), 1);   // filled again after its end
    EXPECT_EQ(TU_V({slot, b.capacity}), TU_V({0, 100}));
    TXT_destroy(&b);
    TXT_destroy(nullptr);
    TU_expect_failures("..\\common\\txt", {TU_FAILS(TXT_create(nullptr, 100)), TU_FAILS(TXT_add(nullptr, "x", &slot)),
                                           TU_FAILS(TXT_get(nullptr, 0))});
}

TEST(TxtBuffer, DeleteClearWalkAndFormattedLines)
{
    BUFFER t({"nula", "jedna", "dva"});
    TXT_buffer &b = t.b;
    int16_t cursor = 5;
    EXPECT_EQ((TU_V{TXT_first(&b, &cursor), cursor}), (TU_V{1, -1}));
    EXPECT_EQ(lines_of(b), "nula|jedna|dva|");
    ASSERT_EQ(TXT_delete(&b, 0), 1);   // the later lines move down
    EXPECT_EQ((TU_V{b.count, TXT_get(&b, 2) == nullptr}), (TU_V{2, 1}));
    EXPECT_EQ(lines_of(b), "jedna|dva|");
    ASSERT_EQ(TXT_delete(&b, 1), 1);
    EXPECT_EQ(lines_of(b), "jedna|");
    ASSERT_EQ(TXT_add_format(&b, "%s %d", "řádek", 42), 1);
    ASSERT_EQ(TXT_add_format(&b, "%s", std::string(500, 'x').c_str()), 1);   // cut
    EXPECT_EQ(lines_of(b), "jedna|řádek 42|" + std::string(TXT_FORMAT_MAX, 'x') + "|");
    cursor = 0;
    EXPECT_STREQ(TXT_next(&b, &cursor)->text, "řádek 42");
    EXPECT_EQ(cursor, 1);
    ASSERT_EQ(TXT_clear(&b), 1);
    EXPECT_EQ((TU_V{b.count, b.capacity, TXT_first(&b, &cursor), TXT_next(&b, &cursor) == nullptr}),
              (TU_V{0, 100, 0, 1}));
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures("..\\common\\txt",
                       {TU_FAILS(TXT_delete(&b, 0)), TU_FAILS(TXT_delete(&b, -1)), TU_FAILS(TXT_delete(nullptr, 0)),
                        TU_FAILS(TXT_clear(nullptr)), TU_FAILS(TXT_first(nullptr, &cursor)),
                        TU_FAILS(TXT_first(&b, nullptr)), TU_FAILS(TXT_next(&b, nullptr)),
                        TU_FAILS(TXT_add_format(nullptr, "x")), TU_FAILS(TXT_add_format(&b, nullptr)),
                        TU_FAILS(TXT_load(nullptr, "a.txt")), TU_FAILS(TXT_load(&b, nullptr)),
                        TU_FAILS(TXT_save(nullptr, "a.txt")), TU_FAILS(TXT_save(&b, nullptr)),
                        TU_FAILS(TXT_save_code_page(&b, "a.txt", 0)), TU_FAILS(TXT_save_code_page(&b, "a.txt", 5))});
}

// Saved byte for byte in every code page (each line cut to 160 characters,
// CR LF after each), read back line by line; failures of both directions.
TEST(TxtBuffer, SavedInEachCodePageAndLoadedBack)
{
    TU_SCRATCH scratch;
    const std::string long_line = std::string(150, 'a') + std::string(150, 'b');   // 300 characters
    BUFFER t({"Čížek", "", "Žluťoučký kůň «x»", long_line.c_str()});
    const std::string tail = "\r\n\r\n", cut = long_line.substr(0, 160) + "\r\n";
    const struct { int16_t code_page; std::string bytes; } cases[] = {
        {CZ_KEYBCS2, "\x80\xA1\x91\x65\x6B" + tail + "\x92lu\x9Fou\x87k\x98 k\x96\xA4 \xAEx\xAF\r\n" + cut},
        {CZ_LATIN2, "\xAC\xA1\xA7\x65\x6B" + tail + "\xA6lu\x9Cou\x9Fk\xEC k\x85\xE5 \xAEx\xAF\r\n" + cut},
        {CZ_CP1250, "Čížek" + tail + "Žluťoučký kůň «x»\r\n" + cut},
        {CZ_ASCII, "Cizek" + tail + "Zlutoucky kun «x»\r\n" + cut},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(TXT_save_code_page(&t.b, "vystup.txt", c.code_page), 1) << c.code_page;
        EXPECT_EQ(TU_read("vystup.txt"), c.bytes) << c.code_page;
    }
    ASSERT_EQ(TXT_save(&t.b, "vystup.txt"), 1);
    EXPECT_EQ(TU_read("vystup.txt"), cases[2].bytes);
    EXPECT_STREQ(TXT_get(&t.b, 0)->text, "Čížek");   // the buffer itself is not converted

    // Back: the lines replace what the buffer held; CR LF or LF; a line
    // longer than the file layer reads at once comes in pieces.
    TU_write("vstup.txt", "první\r\n\ntřetí\n" + std::string(300, 'c') + "\r\nposlední");
    BUFFER in({"staré"});
    ASSERT_EQ(TXT_load(&in.b, "vstup.txt"), 1);
    EXPECT_EQ(lines_of(in.b), "první||třetí|" + std::string(200, 'c') + "|" + std::string(100, 'c') + "|poslední|");
    ASSERT_EQ(TXT_load(&in.b, "vystup.txt"), 1);   // written and read again: the same lines
    EXPECT_EQ(lines_of(in.b), lines_of(t.b).substr(0, lines_of(t.b).size() - 301) + long_line.substr(0, 160) + "|");
    EXPECT_TRUE(TU_reports().empty());

    // A missing file and a directory are no files: nothing shown, the buffer as it was.
    TU_write("prazdny.txt", "");
    const std::string before = lines_of(in.b);
    EXPECT_EQ((TU_V{TXT_load(&in.b, "chybí.txt"), TXT_load(&in.b, scratch.path().c_str())}), (TU_V{0, 0}));
    EXPECT_EQ(lines_of(in.b), before);
    EXPECT_TRUE(TU_reports().empty());
    ASSERT_EQ(TXT_load(&in.b, "prazdny.txt"), 1);
    EXPECT_EQ(in.b.count, 0);
    // A file that cannot be created: the file layer's message.
    const std::string bad = scratch.file("není") + TU_SEP + "x.txt";
    EXPECT_EQ(TXT_save(&t.b, bad.c_str()), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor " + bad + " nelze otevřít");
    TU_clear_reports();
#if !TRK_WINDOWS
    // A full disk: the save ends at the failing line, with one message.
    BUFFER many({});
    for (int i = 0; i < 200; i++)
        TXT_add(&many.b, std::string(150, 'm').c_str(), nullptr);
    EXPECT_EQ(TXT_save(&many.b, "/dev/full"), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Do souboru /dev/full nelze zapisovat (plný disk?)");
    TU_clear_reports();
#endif
}
