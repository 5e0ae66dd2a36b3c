#include "swin/wco.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/config.h"
#include "tests/testutil.h"

namespace {

// Owns one store for a test.
struct STORE {
    WCO_file *s = nullptr;
    STORE() { EXPECT_EQ(WCO_create(&s), 1); }
    ~STORE()
    {
        if (s)
            WCO_destroy(&s);
    }
    STORE(const STORE &) = delete;
    STORE &operator=(const STORE &) = delete;
    operator WCO_file *() const { return s; }
    WCO_file *operator->() const { return s; }
};

// "[section] key=value ..." of the whole store, in stored order.
std::string dump(const WCO_file *store)
{
    std::string text;
    for (int32_t i = 0; i < store->count; i++) {
        text += "[" + std::string(store->sections[i].name) + "]";
        for (int32_t j = 0; j < store->sections[i].count; j++)
            text += " " + std::string(store->sections[i].entries[j].key) + "=" + store->sections[i].entries[j].value;
        if (i + 1 < store->count)
            text += " ";
    }
    return text;
}

bool any_changed(const WCO_file *store)
{
    bool changed = store->changed != 0;
    for (int32_t i = 0; i < store->count; i++)
        changed = changed || store->sections[i].changed != 0;
    return changed;
}

std::string lf_to_crlf(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// ---- Reading ----

struct LOAD_CASE {
    const char *name;
    std::string bytes;
    std::string expected;   // dump after the load
    int reports;            // internal-error reports
};

TEST(WcoLoad, WhatTheReaderTakesAndDrops)
{
    const std::string x1200(1200, 'x');
    const std::string v1000(1000, 'v');
    const LOAD_CASE cases[] = {
        {"header and empty lines only", "Konfiguracni soubor TOREVAN\r\n\r\n\r\n", "", 0},
        {"one section, one key", "BEGIN[CO_common]\n   check_file_overwrite   =  Ano\nEND[CO_common]\n",
         "[CO_common] check_file_overwrite=Ano", 0},
        {"value holding =", "BEGIN[S]\n   a = b = c==\n", "[S] a=b = c==", 0},
        {"no key, empty value", "BEGIN[S]\n   = x\n  k =\n", "[S] k=", 0},
        {"entries outside sections", "k = before\nBEGIN[S]\n a = 1\nEND[S]\n b = after\nBEGIN[T]\n c = 3\n",
         "[S] a=1 [T] c=3", 2},
        {"end marker name not compared", "BEGIN[S]\n a=1\nEND[Other]\n b=2\n", "[S] a=1", 1},
        {"two blocks of one section", "BEGIN[S]\n a=1\nEND[S]\nBEGIN[T]\n x=1\nEND[T]\nBEGIN[S]\n b=2\n a=3\nEND[S]\n",
         "[S] a=3 b=2 [T] x=1", 0},
        {"empty block", "BEGIN[E]\nEND[E]\nBEGIN[S]\n a=1\n", "[S] a=1", 0},
        {"obsolete keys", "BEGIN[CO_common]\n browse_timeout = 5\nEND[CO_common]\nBEGIN[TP_table_print_window]\n"
                          " text_space = 1\n kept = 2\n",
         "[TP_table_print_window] kept=2", 0},
        {"tabs and blanks", "\t BEGIN[ S\t]\t\n\tk\t=\tv w\t\n", "[S] k=v w", 0},
        {"CR LF and LF", "BEGIN[S]\r\n a = 1\n b = 2\r\n", "[S] a=1 b=2", 0},
        {"lone CR stays in the value", "BEGIN[S]\r\n a = x\ry\r\n", "[S] a=x\ry", 0},
        {"last line without line end", "BEGIN[S]\n a = 1", "[S] a=1", 0},
        {"marker without name: its entries are dropped, reading goes on",
         "BEGIN[S]\n a=1\nBEGIN[ ]\n lost=1\nBEGIN[T]\n t=1\n", "[S] a=1 [T] t=1", 2},
        {"marker look-alikes", "BEGIN[S]\n BEGIN[x = y\n END[x = y\n z = 1\nBEGIN[\n", "[S] z=1", 0},
        {"name holding ]", "BEGIN[a]b]\n k = END[x]\n", "[a]b] k=END[x]", 0},
        {"long section name and key", "BEGIN[" + std::string(45, 'S') + "]\n " + std::string(41, 'k') + " = 1\n",
         "[" + std::string(40, 'S') + "] " + std::string(40, 'k') + "=1", 2},
        {"value of 1000 in a line of 1045", "BEGIN[S]\n   k" + std::string(38, ' ') + "=  " + v1000 + "\n",
         "[S] k=" + v1000, 0},
        {"line longer than 200 is one line", "BEGIN[S]\n k = " + std::string(500, 'y') + "\n",
         "[S] k=" + std::string(500, 'y'), 0},
        {"value over 1000 is cut", "BEGIN[S]\n k = " + x1200 + "\n next = 1\n",
         "[S] k=" + std::string(1000, 'x') + " next=1", 2},
        {"blanks past the buffer are no loss", "BEGIN[S]\n k = 1" + std::string(2000, ' ') + "\n", "[S] k=1", 0},
        {"text past the buffer is lost", "BEGIN[S]\n k =" + std::string(1100, ' ') + "z\n", "[S] k=", 1},
        {"zero byte ends the line", "BEGIN[S]\n a = 1" + std::string(1, '\0') + "zz\n b = 2\n", "[S] a=1 b=2", 1},
    };
    TU_SCRATCH scratch;
    for (const LOAD_CASE &c : cases) {
        SCOPED_TRACE(c.name);
        TU_write("in.wco", c.bytes);
        TU_clear_reports();
        STORE store;
        EXPECT_EQ(WCO_load(store, "in.wco"), 1);
        EXPECT_EQ(dump(store), c.expected);
        EXPECT_EQ(TU_count(WE_KIND_INTERNAL), c.reports);
        EXPECT_EQ(TU_reports().size(), static_cast<size_t>(c.reports));
    }
}

TEST(WcoLoad, CleanUpMarksTheStoreChanged)
{
    TU_SCRATCH scratch;
    STORE store;
    TU_write("clean.wco", "BEGIN[S]\n a = 1\n");
    ASSERT_EQ(WCO_load(store, "clean.wco"), 1);
    EXPECT_FALSE(any_changed(store));
    // A block without entries and an obsolete key: both removals count as changes.
    TU_write("empty.wco", "BEGIN[E]\nEND[E]\n");
    ASSERT_EQ(WCO_load(store, "empty.wco"), 1);
    EXPECT_EQ(store->changed, 1);
    TU_write("obsolete.wco", "BEGIN[CO_common]\n browse_timeout = 1\n sound_on = Ano\n");
    STORE other;
    ASSERT_EQ(WCO_load(other, "obsolete.wco"), 1);
    EXPECT_EQ(other->changed, 0);
    EXPECT_EQ(other->sections[0].changed, 1);
    EXPECT_EQ(dump(other), "[CO_common] sound_on=Ano");
}

TEST(WcoLoad, LoadingMergesAndClearsTheChangedFlags)
{
    TU_SCRATCH scratch;
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "a", "old"), 1);
    ASSERT_EQ(WCO_set_text(store, "S", "keep", "1"), 1);
    ASSERT_EQ(WCO_set_text(store, "T", "x", "1"), 1);
    ASSERT_EQ(WCO_select_section(store, "T"), 1);
    TU_write("merge.wco", "BEGIN[S]\n a = new\n b = 2\nEND[S]\nBEGIN[R]\n r = 0\nEND[R]\n");
    EXPECT_EQ(WCO_load(store, "merge.wco"), 1);
    EXPECT_EQ(dump(store), "[R] r=0 [S] a=new b=2 keep=1 [T] x=1");
    EXPECT_FALSE(any_changed(store));
    EXPECT_EQ(store->current, -1);   // the file ended with an end marker
    EXPECT_STREQ(store->file_name, "merge.wco");
}

TEST(WcoLoad, AFileThatEndsInsideABlockLeavesItCurrent)
{
    TU_SCRATCH scratch;
    STORE store;
    TU_write("open.wco", "BEGIN[A]\n a = 1\nEND[A]\nBEGIN[B]\n b = 2\n");
    ASSERT_EQ(WCO_load(store, "open.wco"), 1);
    EXPECT_STREQ(WCO_get_text_ref(store, "b"), "2");
}

TEST(WcoLoad, MissingFileOrDirectoryGivesZeroAndKeepsTheStore)
{
    TU_SCRATCH scratch;
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "a", "1"), 1);
    EXPECT_EQ(WCO_load(store, "missing.wco"), 0);
    EXPECT_STREQ(store->file_name, "missing.wco");
    EXPECT_EQ(WCO_load(store, "."), 0);
    EXPECT_EQ(dump(store), "[S] a=1");
    EXPECT_EQ(TU_reports().size(), 0u);
    EXPECT_EQ(WCO_load(store, std::string(1025, 'p').c_str()), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

struct EVENT {
    int32_t line;
    WCO_LINE_EVENT event;
    std::string section;
    std::string key;
    std::string text;
    bool operator==(const EVENT &o) const
    {
        return line == o.line && event == o.event && section == o.section && key == o.key && text == o.text;
    }
};

void record_event(void *context, const WCO_LINE_NOTE *note)
{
    static_cast<std::vector<EVENT> *>(context)->push_back({note->line, note->event, note->section ? note->section : "",
                                                           note->key ? note->key : "", note->text ? note->text : ""});
}

std::ostream &operator<<(std::ostream &os, const EVENT &e)
{
    return os << e.line << ":" << e.event << ":" << e.section << ":" << e.key << ":" << e.text;
}

TEST(WcoLoad, TheObserverHearsOfEveryLineWithItsNumber)
{
    TU_SCRATCH scratch;
    const std::string bytes = "Konfiguracni soubor TOREVAN\r\n"                  // 1
                              "orphan = 1\r\n"                                   // 2
                              "BEGIN[S]\r\n"                                     // 3
                              "   a = 1\r\n"                                     // 4
                              "just words\r\n"                                   // 5
                              "  = no key\r\n"                                   // 6
                              "   " + std::string(42, 'k') + " = 2\r\n"        // 7
                              "   v = " + std::string(1001, 'v') + "\r\n"      // 8
                              "   w = 1" + std::string(1100, 'w') + "\r\n"     // 9
                              "BEGIN[]\r\n"                                      // 10
                              "BEGIN[" + std::string(41, 'N') + "]\r\n";       // 11
    TU_write("events.wco", bytes);
    STORE store;
    std::vector<EVENT> events;
    ASSERT_EQ(WCO_load_observed(store, "events.wco", record_event, &events), 1);
    const std::string n40(40, 'N');
    const std::vector<EVENT> expected = {
        {1, WCO_LINE_IGNORED, "", "", "Konfiguracni soubor TOREVAN"},
        {2, WCO_LINE_OUTSIDE, "", "orphan", ""},
        {3, WCO_LINE_SECTION, "S", "", ""},
        {4, WCO_LINE_ENTRY, "S", "a", ""},
        {5, WCO_LINE_IGNORED, "S", "", "just words"},
        {6, WCO_LINE_NO_KEY, "S", "", ""},
        {7, WCO_LINE_KEY_CUT, "S", std::string(42, 'k'), ""},
        {7, WCO_LINE_ENTRY, "S", std::string(40, 'k'), ""},
        {8, WCO_LINE_VALUE_CUT, "S", "v", ""},
        {8, WCO_LINE_ENTRY, "S", "v", ""},
        {9, WCO_LINE_LINE_CUT, "S", "", ""},
        {9, WCO_LINE_VALUE_CUT, "S", "w", ""},
        {9, WCO_LINE_ENTRY, "S", "w", ""},
        {10, WCO_LINE_NO_NAME, "", "", ""},
        {11, WCO_LINE_NAME_CUT, std::string(41, 'N'), "", ""},
        {11, WCO_LINE_SECTION, n40, "", ""},
    };
    EXPECT_EQ(events, expected);
}

// ---- Writing ----

TEST(WcoSave, ExactLayout)
{
    TU_SCRATCH scratch;
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "B", "cursor_type", "NORMAL_CURSOR"), 1);
    ASSERT_EQ(WCO_set_text(store, "B", "empty", ""), 1);
    ASSERT_EQ(WCO_set_text(store, "B", std::string(38, 'f').c_str(), "fits"), 1);
    ASSERT_EQ(WCO_set_text(store, "B", std::string(40, 'l').c_str(), "long key"), 1);
    ASSERT_EQ(WCO_set_text(store, "A", "k", "v = w"), 1);
    ASSERT_EQ(WCO_select_section(store, "C"), 1);   // no entries: not written
    EXPECT_EQ(WCO_save(store, "out.wco"), 1);
    const std::string expected =
        "Konfiguracni soubor TOREVAN\r\n"
        "\r\n"
        "BEGIN[A]\r\n"
        "   k                                      =  v = w\r\n"
        "END[A]\r\n"
        "\r\n"
        "BEGIN[B]\r\n"
        "   cursor_type                            =  NORMAL_CURSOR\r\n"
        "   empty                                  =  \r\n"
        "   ffffffffffffffffffffffffffffffffffffff =  fits\r\n"
        "   llllllllllllllllllllllllllllllllllllllll =  long key\r\n"
        "END[B]\r\n"
        "\r\n";
    EXPECT_EQ(TU_read("out.wco"), expected);
    EXPECT_FALSE(any_changed(store));
    EXPECT_EQ(TU_reports().size(), 0u);
    // What was written reads back as the same store and is written again byte for byte.
    STORE again;
    ASSERT_EQ(WCO_load(again, "out.wco"), 1);
    EXPECT_EQ(dump(again), "[A] k=v = w [B] cursor_type=NORMAL_CURSOR empty= " + std::string(38, 'f') + "=fits " +
                               std::string(40, 'l') + "=long key");
    EXPECT_EQ(WCO_save_forced(again, "again.wco"), 1);
    EXPECT_EQ(TU_read("again.wco"), expected);
}

TEST(WcoSave, AnEmptyStoreWritesTheHeaderOnly)
{
    TU_SCRATCH scratch;
    STORE store;
    EXPECT_EQ(WCO_save(store, "empty.wco"), 1);
    EXPECT_EQ(TU_read("empty.wco"), "Konfiguracni soubor TOREVAN\r\n\r\n");
}

TEST(WcoSave, WritesOnlyWhenNeeded)
{
    TU_SCRATCH scratch;
    TU_write("cfg.wco", "BEGIN[S]\n  a=1\n");
    STORE store;
    ASSERT_EQ(WCO_load(store, "cfg.wco"), 1);
    // Nothing changed: the file is not touched (the marker proves it).
    TU_write("cfg.wco", "marker");
    EXPECT_EQ(WCO_save_needed(store, nullptr), 0);
    EXPECT_EQ(WCO_save(store, nullptr), 1);
    EXPECT_EQ(WCO_save(store, "cfg.wco"), 1);
    EXPECT_EQ(TU_read("cfg.wco"), "marker");
    // The same value again: still nothing to write.
    ASSERT_EQ(WCO_set_text(store, "S", "a", "1"), 1);
    EXPECT_EQ(WCO_save(store, nullptr), 1);
    EXPECT_EQ(TU_read("cfg.wco"), "marker");
    // Another path is written and becomes the store's file name.
    EXPECT_EQ(WCO_save(store, "other.wco"), 1);
    EXPECT_STREQ(store->file_name, "other.wco");
    const std::string normal = lf_to_crlf("Konfiguracni soubor TOREVAN\n\nBEGIN[S]\n   a" + std::string(38, ' ') +
                                          "=  1\nEND[S]\n\n");
    EXPECT_EQ(TU_read("other.wco"), normal);
    // A missing file is written.
    ASSERT_TRUE(std::remove("other.wco") == 0);
    EXPECT_EQ(WCO_save(store, nullptr), 1);
    EXPECT_EQ(TU_read("other.wco"), normal);
    // A changed value is written.
    ASSERT_EQ(WCO_set_text(store, "S", "a", "2"), 1);
    EXPECT_EQ(WCO_save_needed(store, nullptr), 1);
    EXPECT_EQ(WCO_save(store, nullptr), 1);
    EXPECT_NE(TU_read("other.wco").find("=  2\r\n"), std::string::npos);
    // Forced: written although nothing changed.
    TU_write("other.wco", "marker");
    EXPECT_EQ(WCO_save_forced(store, nullptr), 1);
    EXPECT_NE(TU_read("other.wco"), "marker");
}

TEST(WcoSave, PathsCompareAsTheFileSystemDoes)
{
    TU_SCRATCH scratch;
    TU_write("case.wco", "BEGIN[S]\n a=1\n");
    STORE store;
    ASSERT_EQ(WCO_load(store, "case.wco"), 1);
#if TRK_WINDOWS
    EXPECT_EQ(WCO_save_needed(store, "CASE.WCO"), 0);
#else
    EXPECT_EQ(WCO_save_needed(store, "CASE.WCO"), 1);
#endif
}

TEST(WcoSave, AFileThatCannotBeOpenedGivesZeroAndKeepsTheFlags)
{
    TU_SCRATCH scratch;
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "a", "1"), 1);
    const std::string path = std::string("no_such_dir") + TU_SEP + "x.wco";
    EXPECT_EQ(WCO_save(store, path.c_str()), 0);
    ASSERT_EQ(TU_count(WE_KIND_ERROR), 1);
    EXPECT_EQ(TU_reports()[0].text, "Soubor " + path + " nelze otevřít");
    EXPECT_TRUE(any_changed(store));
    EXPECT_EQ(WCO_save(store, "ok.wco"), 1);
    EXPECT_FALSE(any_changed(store));
}

#if !TRK_WINDOWS
// A full disk: the write fails at the latest when the file is closed.
TEST(WcoSave, AFailedWriteGivesZeroAndKeepsTheFlags)
{
    if (!TU_exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this host";
    STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "a", "1"), 1);
    EXPECT_EQ(WCO_save(store, "/dev/full"), 0);
    ASSERT_GE(TU_count(WE_KIND_ERROR), 1);
    EXPECT_EQ(TU_reports().back().text, "Do souboru /dev/full nelze zapisovat (plný disk?)");
    EXPECT_TRUE(any_changed(store));
}
#endif

// ---- Typed values ----

struct SET_CASE {
    const char *name;
    std::function<int16_t(WCO_file *)> set;   // sets key "k" of section "S"
    const char *written;                      // the stored text, null when the set must fail
};

TEST(WcoTyped, WrittenForms)
{
    const int32_t pair[2] = {-3, 4};
    const int32_t quad[4] = {1, -2, 3, 2147483647};
    const float real_pair[2] = {3.0f, 0.5f};
    const float real_quad[4] = {0.0f, 0.0f, 170.0f, 120.0f};
    WCO_RGB rgb{10, 20, 255, "světle modrá obloha"};
    WCO_RGB long_name{1, 2, 3, ""};
    std::fill(std::begin(long_name.name), std::end(long_name.name), 'n');   // not terminated
    const SET_CASE cases[] = {
        {"int32", [](WCO_file *s) { return WCO_set_int32(s, "S", "k", -2147483647 - 1); }, "-2147483648"},
        {"int16", [](WCO_file *s) { return WCO_set_int16(s, "S", "k", -2); }, "-2"},
        {"real", [](WCO_file *s) { return WCO_set_real(s, "S", "k", 0.2f); }, "0.200000"},
        {"real, large", [](WCO_file *s) { return WCO_set_real(s, "S", "k", 123456.789f); }, "123456.789062"},
        {"real, negative", [](WCO_file *s) { return WCO_set_real(s, "S", "k", -1.5f); }, "-1.500000"},
        {"double", [](WCO_file *s) { return WCO_set_double(s, "S", "k", 210.0); }, "210.000000"},
        {"int pair", [&](WCO_file *s) { return WCO_set_int_pair(s, "S", "k", pair); }, "-3, 4"},
        {"int quad", [&](WCO_file *s) { return WCO_set_int_quad(s, "S", "k", quad); }, "1, -2, 3, 2147483647"},
        {"real pair", [&](WCO_file *s) { return WCO_set_real_pair(s, "S", "k", real_pair); }, "3.000000 0.500000"},
        {"real quad", [&](WCO_file *s) { return WCO_set_real_quad(s, "S", "k", real_quad); },
         "0.000000, 0.000000, 170.000000, 120.000000"},
        {"rgb", [&](WCO_file *s) { return WCO_set_rgb(s, "S", "k", &rgb); }, "10, 20, 255, světle modrá obloha"},
        {"rgb, name of 41 without terminator", [&](WCO_file *s) { return WCO_set_rgb(s, "S", "k", &long_name); },
         "1, 2, 3, nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
        {"yes", [](WCO_file *s) { return WCO_set_yes(s, "S", "k", 5); }, "Ano"},
        {"no", [](WCO_file *s) { return WCO_set_yes(s, "S", "k", 0); }, "Ne"},
        {"colour", [](WCO_file *s) { return WCO_set_colour(s, "S", "k", 7); }, "světle šedá"},
        {"colour 0", [](WCO_file *s) { return WCO_set_colour(s, "S", "k", 0); }, "černá"},
        {"colour 16", [](WCO_file *s) { return WCO_set_colour(s, "S", "k", 16); }, nullptr},
        {"drawing mode", [](WCO_file *s) { return WCO_set_draw_mode(s, "S", "k", 3); }, "XOR"},
        {"drawing mode 4", [](WCO_file *s) { return WCO_set_draw_mode(s, "S", "k", 4); }, nullptr},
        {"code page", [](WCO_file *s) { return WCO_set_code_page(s, "S", "k", 3); }, "CP1250"},
        {"code page 0", [](WCO_file *s) { return WCO_set_code_page(s, "S", "k", 0); }, "Nastavení při použití"},
        {"code page 9", [](WCO_file *s) { return WCO_set_code_page(s, "S", "k", 9); }, "Nastavení při použití"},
        {"unit", [](WCO_file *s) { return WCO_set_unit(s, "S", "k", 4); }, "inch"},
        {"unit 5", [](WCO_file *s) { return WCO_set_unit(s, "S", "k", 5); }, nullptr},
        {"text window", [](WCO_file *s) { return WCO_set_text_window(s, "S", "k", 5); }, "FLOATING_TEXT_WINDOW"},
        {"panning", [](WCO_file *s) { return WCO_set_panning(s, "S", "k", 3); }, "BOTH_PANNING"},
        {"cursor", [](WCO_file *s) { return WCO_set_cursor(s, "S", "k", 2); }, "OBLIQUE_LINE_CURSOR"},
        {"cursor -1", [](WCO_file *s) { return WCO_set_cursor(s, "S", "k", -1); }, nullptr},
        {"toolbar", [](WCO_file *s) { return WCO_set_toolbar(s, "S", "k", 5); }, "HIDDEN_TOOLBAR"},
        {"key", [](WCO_file *s) { return WCO_set_key(s, "S", "k", 311); }, "Break"},
        {"key 0", [](WCO_file *s) { return WCO_set_key(s, "S", "k", 0); }, "KB_null"},
        {"key 368", [](WCO_file *s) { return WCO_set_key(s, "S", "k", 368); }, nullptr},
    };
    for (const SET_CASE &c : cases) {
        SCOPED_TRACE(c.name);
        TU_clear_reports();
        STORE store;
        ASSERT_EQ(WCO_select_section(store, "S"), 1);
        ASSERT_EQ(WCO_set_text(store, "k", "before"), 1);
        EXPECT_EQ(c.set(store), c.written ? 1 : 0);
        EXPECT_STREQ(WCO_get_text_ref(store, "S", "k"), c.written ? c.written : "before");
        EXPECT_EQ(TU_count(WE_KIND_INTERNAL), c.written ? 0 : 1);
    }
}

struct GET_CASE {
    std::string value;                                           // stored under S / k
    std::function<std::string(WCO_file *, int16_t *)> get;       // the status and what the get gave
    int16_t status;
    std::string result;
};

std::string text_of(float v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

std::string text_of(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

// Getters that start from a known output, so that an untouched output shows.
std::string get_int32(WCO_file *s, int16_t *status)
{
    int32_t v = 99;
    *status = WCO_get_int32(s, "S", "k", &v);
    return std::to_string(v);
}
std::string get_int16(WCO_file *s, int16_t *status)
{
    int16_t v = 99;
    *status = WCO_get_int16(s, "S", "k", &v);
    return std::to_string(v);
}
std::string get_real(WCO_file *s, int16_t *status)
{
    float v = 99;
    *status = WCO_get_real(s, "S", "k", &v);
    return text_of(v);
}
std::string get_double(WCO_file *s, int16_t *status)
{
    double v = 99;
    *status = WCO_get_double(s, "S", "k", &v);
    return text_of(v);
}
std::string get_int_pair(WCO_file *s, int16_t *status)
{
    int32_t v[2] = {99, 99};
    *status = WCO_get_int_pair(s, "S", "k", v);
    return std::to_string(v[0]) + " " + std::to_string(v[1]);
}
std::string get_int_quad(WCO_file *s, int16_t *status)
{
    int32_t v[4] = {99, 99, 99, 99};
    *status = WCO_get_int_quad(s, "S", "k", v);
    return std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]) + " " + std::to_string(v[3]);
}
std::string get_real_pair(WCO_file *s, int16_t *status)
{
    float v[2] = {99, 99};
    *status = WCO_get_real_pair(s, "S", "k", v);
    return text_of(v[0]) + " " + text_of(v[1]);
}
std::string get_real_quad(WCO_file *s, int16_t *status)
{
    float v[4] = {99, 99, 99, 99};
    *status = WCO_get_real_quad(s, "S", "k", v);
    return text_of(v[0]) + " " + text_of(v[1]) + " " + text_of(v[2]) + " " + text_of(v[3]);
}
std::string get_rgb(WCO_file *s, int16_t *status)
{
    WCO_RGB v{9, 9, 9, "untouched"};
    *status = WCO_get_rgb(s, "S", "k", &v);
    return std::to_string(v.red) + " " + std::to_string(v.green) + " " + std::to_string(v.blue) + " [" + v.name + "]";
}
template <class T, int16_t (*GET)(WCO_file *, const char *, const char *, T *)>
std::string get_name(WCO_file *s, int16_t *status)
{
    T v = 99;
    *status = GET(s, "S", "k", &v);
    return std::to_string(v);
}

TEST(WcoTyped, ReadRules)
{
    const GET_CASE cases[] = {
        {"-12", get_int32, 1, "-12"},
        {"  +7 rest", get_int32, 1, "7"},
        {"12abc", get_int32, 1, "12"},
        {"abc", get_int32, 0, "99"},
        {"", get_int32, 0, "99"},
        {"70000", get_int16, 1, "4464"},
        {"-1", get_int16, 1, "-1"},
        {"x", get_int16, 0, "99"},
        {"0.200000", get_real, 1, "0.2"},
        {"-2.50 mm", get_real, 1, "-2.5"},
        {"2147.483648", get_real, 1, "2147.48"},   // more digits than 32 bits hold
        {"1.2.3", get_real, 0, "99"},
        {".", get_real, 0, "99"},
        {"210.000000", get_double, 1, "210"},
        {"297.5", get_double, 1, "297.5"},
        {"3, 4", get_int_pair, 1, "3 4"},
        {"3 4", get_int_pair, 1, "3 4"},
        {"34", get_int_pair, 0, "34 99"},
        {"1, 2, 3, 4", get_int_quad, 1, "1 2 3 4"},
        {"1, 2, x, 4", get_int_quad, 0, "1 2 99 99"},
        {"3.000000 3.000000", get_real_pair, 1, "3 3"},
        {"3.000000, 3.000000", get_real_pair, 1, "3 3"},
        {"3.0,3.0", get_real_pair, 1, "3 3"},
        {"3.0", get_real_pair, 0, "3 99"},
        {"0.000000, 0.000000, 170.000000, 120.000000", get_real_quad, 1, "0 0 170 120"},
        {"0 0 170 120", get_real_quad, 0, "0 99 99 99"},
        {"10, 20, 30, světle modrá obloha ", get_rgb, 1, "10 20 30 [světle modrá obloha]"},
        {"1, 2, 3,", get_rgb, 1, "1 2 3 []"},
        {"1, 2, 3, " + std::string(45, 'n'), get_rgb, 1, "1 2 3 [" + std::string(40, 'n') + "]"},
        {"1, 2, 3", get_rgb, 0, "9 9 9 [untouched]"},
        {"300, 0, 0, red", get_rgb, 0, "9 9 9 [untouched]"},
        {"ano", get_name<int16_t, WCO_get_yes>, 1, "1"},
        {"Ano", get_name<int16_t, WCO_get_yes>, 1, "1"},
        {"yes", get_name<int16_t, WCO_get_yes>, 1, "1"},
        {"ON", get_name<int16_t, WCO_get_yes>, 1, "1"},
        {"ne", get_name<int16_t, WCO_get_yes>, 1, "0"},
        {"NE", get_name<int16_t, WCO_get_yes>, 1, "0"},
        {"maybe", get_name<int16_t, WCO_get_yes>, 1, "0"},
        {"Nastavení při použití", get_name<int16_t, WCO_get_yes>, 1, "0"},
        {"světle šedá", get_name<uint8_t, WCO_get_colour>, 1, "7"},
        {"lightblue", get_name<uint8_t, WCO_get_colour>, 1, "9"},
        {"fuchsie", get_name<uint8_t, WCO_get_colour>, 1, "15"},
        {"XOR", get_name<uint8_t, WCO_get_draw_mode>, 1, "3"},
        {"or", get_name<uint8_t, WCO_get_draw_mode>, 1, "2"},
        {"and", get_name<uint8_t, WCO_get_draw_mode>, 1, "1"},
        {"copy", get_name<uint8_t, WCO_get_draw_mode>, 1, "0"},
        {"cp1250 (ms windows)", get_name<int16_t, WCO_get_code_page>, 1, "3"},
        {"Nastavení při použití", get_name<int16_t, WCO_get_code_page>, 1, "0"},
        {"mm", get_name<int16_t, WCO_get_unit>, 1, "0"},
        {"inch", get_name<int16_t, WCO_get_unit>, 1, "1"},
        {"LEFT_TEXT_WINDOW", get_name<int16_t, WCO_get_text_window>, 1, "3"},
        {"left", get_name<int16_t, WCO_get_text_window>, 1, "2"},
        {"NO_PANNING", get_name<int16_t, WCO_get_panning>, 1, "0"},
        {"none", get_name<int16_t, WCO_get_panning>, 1, "1"},
        {"LINE_CURSOR", get_name<int16_t, WCO_get_cursor>, 1, "1"},
        {"line_cursor", get_name<int16_t, WCO_get_cursor>, 1, "0"},
        {"FLOATING_TOOLBAR", get_name<int16_t, WCO_get_toolbar>, 1, "4"},
        {"top", get_name<int16_t, WCO_get_toolbar>, 1, "0"},
        {"Break", get_name<int16_t, WCO_get_key>, 1, "311"},
        {"Shift+F1", get_name<int16_t, WCO_get_key>, 1, "67"},
        {"NoSuchKey", get_name<int16_t, WCO_get_key>, 1, "0"},
    };
    for (const GET_CASE &c : cases) {
        SCOPED_TRACE(c.value);
        STORE store;
        ASSERT_EQ(WCO_set_text(store, "S", "k", c.value.c_str()), 1);
        int16_t status = -1;
        EXPECT_EQ(c.get(store, &status), c.result);
        EXPECT_EQ(status, c.status);
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(WcoTyped, MissingKeyGivesZeroAndLeavesTheOutput)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    int16_t flag = 7;
    uint8_t colour = 7;
    float reals[2] = {1, 2};
    EXPECT_EQ(WCO_get_yes(store, "k", &flag), 0);
    EXPECT_EQ(WCO_get_colour(store, "S", "k", &colour), 0);
    EXPECT_EQ(WCO_get_real_pair(store, "k", reals), 0);
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(colour, 7);
    EXPECT_EQ(reals[0], 1.0f);
    EXPECT_EQ(WCO_get_yes(store, "S", "k", nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(WcoTyped, CurrentAndNamedFormsMeetInTheSameEntry)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    ASSERT_EQ(WCO_set_int32(store, "n", 42), 1);
    int32_t n = 0;
    EXPECT_EQ(WCO_get_int32(store, "S", "n", &n), 1);
    EXPECT_EQ(n, 42);
    const float quad[4] = {1, 2, 3, 4};
    ASSERT_EQ(WCO_set_real_quad(store, "S", "q", quad), 1);
    float back[4] = {};
    EXPECT_EQ(WCO_get_real_quad(store, "q", back), 1);
    EXPECT_EQ(back[3], 4.0f);
}

// Every value a set writes reads back as the value set.
TEST(WcoTyped, SetThenGetRoundTrips)
{
    STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    for (float v : {0.0f, 0.2f, 1.25f, -3.5f, 170.0f, 2147.48f, 1e-6f}) {
        ASSERT_EQ(WCO_set_real(store, "r", v), 1);
        float back = 99;
        EXPECT_EQ(WCO_get_real(store, "r", &back), 1);
        EXPECT_NEAR(back, v, 5e-7f) << v;
    }
    for (int16_t key = 0; key < 368; key++) {
        ASSERT_EQ(WCO_set_key(store, "key", key), 1);
        int16_t back = -1;
        EXPECT_EQ(WCO_get_key(store, "key", &back), 1);
        EXPECT_EQ(back, key);
    }
    for (uint8_t colour = 0; colour < 16; colour++) {
        ASSERT_EQ(WCO_set_colour(store, "colour", colour), 1);
        uint8_t back = 99;
        EXPECT_EQ(WCO_get_colour(store, "colour", &back), 1);
        EXPECT_EQ(back, colour);
    }
}

}  // namespace
