#include "swin/wco.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <sstream>
#include <tuple>

#include "common/config.h"
#include "tests/wcotest.h"

namespace {

// Null arguments and paths over 1024 characters: an internal error, the store untouched.
TEST(Wco, NullArgumentsAndBoundsAreInternalErrors)
{
    WT_STORE store;
    const std::string long_path(1025, 'p');
    float reals[4] = {};
    TU_expect_failures("..\\swin\\wco", {
        TU_FAILS(WCO_load(nullptr, "x.wco")), TU_FAILS(WCO_load(store, nullptr)),
        TU_FAILS(WCO_load(store, long_path.c_str())), TU_FAILS(WCO_save_needed(nullptr, nullptr)),
        TU_FAILS(WCO_save(nullptr, "x.wco")), TU_FAILS(WCO_save(store, long_path.c_str())),
        TU_FAILS(WCO_save(store, nullptr)), TU_FAILS(WCO_save_forced(nullptr, nullptr)),
        TU_FAILS(WCO_set_real(store, nullptr, "k", 1.0f)), TU_FAILS(WCO_get_real_quad(store, "S", nullptr, reals)),
        TU_FAILS(WCO_get_yes(store, "S", "k", nullptr)), TU_FAILS(WCO_set_int_pair(store, "S", "k", nullptr)),
        TU_FAILS(WCO_get_real_quad(nullptr, "S", "k", reals)), TU_FAILS(WCO_set_rgb(store, "k", nullptr)),
        TU_FAILS(WCO_get_real_pair(store, nullptr, reals)),
    });
    EXPECT_EQ(WT_dump(store), "");
}

// What the reader keeps of every kind of line, and the internal errors of what it drops or cuts.
TEST(WcoLoad, WhatTheReaderTakesAndDrops)
{
    const std::string v1000(1000, 'v');
    // The file, the store after the load, its internal errors, whether the clean-up left a changed flag.
    const struct { const char *name; std::string bytes, dump; int reports, changed; } cases[] = {
        {"header and empty lines only", "Konfiguracni soubor TOREVAN\r\n\r\n\r\n", "", 0, 0},
        {"value holding =", "BEGIN[S]\n   a = b = c==\n", "[S] a=b = c==", 0, 0},
        {"no key, empty value", "BEGIN[S]\n   = x\n  k =\n", "[S] k=", 0, 0},
        {"outside", "k = before\nBEGIN[S]\n a = 1\nEND[S]\n b = after\nBEGIN[T]\n c = 3\n", "[S] a=1 [T] c=3", 2, 0},
        {"end marker name not compared", "BEGIN[S]\n a=1\nEND[Other]\n b=2\n", "[S] a=1", 1, 0},
        {"two blocks", "BEGIN[S]\n a=1\nEND[S]\nBEGIN[T]\n x=1\nBEGIN[S]\n b=2\n a=3\n", "[S] a=3 b=2 [T] x=1", 0, 0},
        {"empty block", "BEGIN[E]\nEND[E]\nBEGIN[S]\n a=1\n", "[S] a=1", 0, 1},
        {"obsolete key", "BEGIN[CO_common]\n browse_timeout = 5\n sound_on = Ano\n", "[CO_common] sound_on=Ano", 0, 1},
        {"tabs and blanks", "\t BEGIN[ S\t]\t\n\tk\t=\tv w\t\n", "[S] k=v w", 0, 0},
        {"CR LF and LF", "BEGIN[S]\r\n a = 1\n b = 2\r\n", "[S] a=1 b=2", 0, 0},
        {"lone CR stays", "BEGIN[S]\r\n a = x\ry\r\n", "[S] a=x\ry", 0, 0},
        {"no last line end", "BEGIN[S]\n a = 1", "[S] a=1", 0, 0},
        {"marker without name", "BEGIN[S]\n a=1\nBEGIN[ ]\n lost=1\nBEGIN[T]\n t=1\n", "[S] a=1 [T] t=1", 2, 0},
        {"marker look-alikes", "BEGIN[S]\n BEGIN[x = y\n END[x = y\n z = 1\nBEGIN[\n", "[S] z=1", 0, 0},
        {"name holding ]", "BEGIN[a]b]\n k = END[x]\n", "[a]b] k=END[x]", 0, 0},
        {"long name and key", "BEGIN[" + std::string(45, 'S') + "]\n " + std::string(41, 'k') + " = 1\n",
         "[" + std::string(40, 'S') + "] " + std::string(40, 'k') + "=1", 2, 0},
        {"1000 in 1045", "BEGIN[S]\n   k" + std::string(38, ' ') + "=  " + v1000 + "\n", "[S] k=" + v1000, 0, 0},
        {"value over 1000", "BEGIN[S]\n k = " + v1000 + v1000 + "\n next = 1\n", "[S] k=" + v1000 + " next=1", 2, 0},
        {"blanks past the buffer", "BEGIN[S]\n k = 1" + std::string(2000, ' ') + "\n", "[S] k=1", 0, 0},
        {"text past the buffer", "BEGIN[S]\n k =" + std::string(1100, ' ') + "z\n", "[S] k=", 1, 0},
        {"zero byte", "BEGIN[S]\n a = 1" + std::string(1, '\0') + "zz\n b = 2\n", "[S] a=1 b=2", 1, 0},
    };
    TU_SCRATCH scratch;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TU_write("in.wco", c.bytes);
        TU_clear_reports();
        WT_STORE store;
        EXPECT_EQ(WCO_load(store, "in.wco"), 1);
        EXPECT_EQ(WT_dump(store), c.dump);
        EXPECT_EQ(TU_count(WE_KIND_INTERNAL), c.reports);
        EXPECT_EQ(TU_reports().size(), static_cast<size_t>(c.reports));
        EXPECT_EQ(WT_changed(store), c.changed != 0);
    }
}

// A load merges into the store, clears its changed flags and keeps the file name; a failed one changes nothing.
TEST(WcoLoad, MergesIntoTheStoreAndFailsWithoutTouchingIt)
{
    TU_SCRATCH scratch;
    WT_STORE store;
    ASSERT_EQ(WCO_set_text(store, "S", "a", "old") + WCO_set_text(store, "S", "keep", "1"), 2);
    ASSERT_EQ(WCO_set_text(store, "T", "x", "1") + WCO_select_section(store, "T"), 2);
    TU_write("merge.wco", "BEGIN[S]\n a = new\n b = 2\nEND[S]\nBEGIN[R]\n r = 0\nEND[R]\n");
    EXPECT_EQ(WCO_load(store, "merge.wco"), 1);
    EXPECT_EQ(WT_dump(store), "[R] r=0 [S] a=new b=2 keep=1 [T] x=1");
    EXPECT_FALSE(WT_changed(store));
    EXPECT_EQ(store->current, -1);
    EXPECT_STREQ(store->file_name, "merge.wco");
    // A file that ends inside a block leaves its section current.
    TU_write("open.wco", "BEGIN[A]\n a = 1\nEND[A]\nBEGIN[B]\n b = 2\n");
    ASSERT_EQ(WCO_load(store, "open.wco"), 1);
    EXPECT_STREQ(WCO_get_text_ref(store, "b"), "2");
    const std::string before = WT_dump(store);
    EXPECT_EQ(WCO_load(store, "missing.wco"), 0);
    EXPECT_STREQ(store->file_name, "missing.wco");
    EXPECT_EQ(WCO_load(store, "."), 0);
    EXPECT_EQ(WT_dump(store), before);
    EXPECT_EQ(TU_reports().size(), 0u);
}

// line, event, section, key, text
using EVENT = std::tuple<int32_t, int, std::string, std::string, std::string>;

// The observer hears of every line with its number, in the order the reader deals with it.
TEST(WcoLoad, TheObserverHearsOfEveryLineWithItsNumber)
{
    TU_SCRATCH scratch;
    TU_write("events.wco", "Konfiguracni soubor TOREVAN\r\norphan = 1\r\nBEGIN[S]\r\n   a = 1\r\njust words\r\n"
                           "  = no key\r\n   " + std::string(42, 'k') + " = 2\r\n   v = " + std::string(1001, 'v') +
                               "\r\n   w = 1" + std::string(1100, 'w') + "\r\nBEGIN[]\r\nBEGIN[" +
                               std::string(41, 'N') + "]\r\n");
    WT_STORE store;
    std::vector<EVENT> events;
    const WCO_OBSERVER record = [](void *context, const WCO_LINE_NOTE *note) {
        auto text = [](const char *t) { return std::string(t ? t : ""); };
        static_cast<std::vector<EVENT> *>(context)->emplace_back(note->line, note->event, text(note->section),
                                                                 text(note->key), text(note->text));
    };
    ASSERT_EQ(WCO_load_observed(store, "events.wco", record, &events), 1);
    const std::vector<EVENT> expected = {
        {1, WCO_LINE_IGNORED, "", "", "Konfiguracni soubor TOREVAN"}, {2, WCO_LINE_OUTSIDE, "", "orphan", ""},
        {3, WCO_LINE_SECTION, "S", "", ""}, {4, WCO_LINE_ENTRY, "S", "a", ""},
        {5, WCO_LINE_IGNORED, "S", "", "just words"}, {6, WCO_LINE_NO_KEY, "S", "", ""},
        {7, WCO_LINE_KEY_CUT, "S", std::string(42, 'k'), ""}, {7, WCO_LINE_ENTRY, "S", std::string(40, 'k'), ""},
        {8, WCO_LINE_VALUE_CUT, "S", "v", ""}, {8, WCO_LINE_ENTRY, "S", "v", ""},
        {9, WCO_LINE_LINE_CUT, "S", "", ""}, {9, WCO_LINE_VALUE_CUT, "S", "w", ""}, {9, WCO_LINE_ENTRY, "S", "w", ""},
        {10, WCO_LINE_NO_NAME, "", "", ""}, {11, WCO_LINE_NAME_CUT, std::string(41, 'N'), "", ""},
        {11, WCO_LINE_SECTION, std::string(40, 'N'), "", ""},
    };
    EXPECT_EQ(events, expected);
}

// The written layout byte for byte, read back the same; a file is written only when the store changed, another
// path or a forced save; a failed save keeps the changed flags.
TEST(WcoSave, ExactLayoutRoundTripAndWritesOnlyWhenNeeded)
{
    TU_SCRATCH scratch;
    WT_STORE store;
    EXPECT_EQ(WCO_save(store, "empty.wco"), 1);
    EXPECT_EQ(TU_read("empty.wco"), "Konfiguracni soubor TOREVAN\r\n\r\n");
    // Keys of 38 characters and more: every character written, one blank at least before the "=".
    const std::string f38(38, 'f'), l40(40, 'l'), n39(39, 'n');
    ASSERT_EQ(WCO_set_text(store, "B", "cursor_type", "NORMAL_CURSOR") + WCO_set_text(store, "B", "empty", ""), 2);
    ASSERT_EQ(WCO_set_text(store, "B", f38.c_str(), "fits") + WCO_set_text(store, "B", l40.c_str(), "long key"), 2);
    ASSERT_EQ(WCO_set_text(store, "B", n39.c_str(), "exact"), 1);
    ASSERT_EQ(WCO_set_text(store, "A", "k", "v = w") + WCO_select_section(store, "C"), 2);
    // A failed open or write gives 0 and keeps the changed flags.
    const std::string no_dir = std::string("no_such_dir") + TU_SEP + "x.wco";
    std::vector<std::pair<std::string, std::string>> failures = {{no_dir, "Soubor " + no_dir + " nelze otevřít"}};
    if (!TRK_WINDOWS && TU_exists("/dev/full"))   // a full disk: the write fails at the latest on closing
        failures.push_back({"/dev/full", "Do souboru /dev/full nelze zapisovat (plný disk?)"});
    for (const auto &f : failures) {
        TU_clear_reports();
        EXPECT_EQ(WCO_save(store, f.first.c_str()), 0);
        ASSERT_EQ(TU_reports().size(), 1u);
        EXPECT_EQ(TU_reports()[0].kind, WE_KIND_ERROR);
        EXPECT_EQ(TU_reports()[0].text, f.second);
        EXPECT_TRUE(WT_changed(store));
    }
    TU_clear_reports();
    EXPECT_EQ(WCO_save(store, "out.wco"), 1);
    const std::string expected = "Konfiguracni soubor TOREVAN\r\n\r\nBEGIN[A]\r\n"
                                 "   k                                      =  v = w\r\n"
                                 "END[A]\r\n\r\nBEGIN[B]\r\n"
                                 "   cursor_type                            =  NORMAL_CURSOR\r\n"
                                 "   empty                                  =  \r\n"
                                 "   ffffffffffffffffffffffffffffffffffffff =  fits\r\n"
                                 "   llllllllllllllllllllllllllllllllllllllll =  long key\r\n"
                                 "   nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn =  exact\r\n"
                                 "END[B]\r\n\r\n";
    EXPECT_EQ(TU_read("out.wco"), expected);
    EXPECT_FALSE(WT_changed(store));
    WT_STORE again;
    ASSERT_EQ(WCO_load(again, "out.wco"), 1);
    EXPECT_EQ(WT_dump(again), "[A] k=v = w [B] cursor_type=NORMAL_CURSOR empty= " + f38 + "=fits " + l40 +
                                  "=long key " + n39 + "=exact");
    EXPECT_EQ(WCO_save_needed(again, "OUT.WCO"), TRK_WINDOWS ? 0 : 1);
    // Nothing changed, or the same value set again: the file is not touched.
    TU_write("out.wco", "marker");
    EXPECT_EQ(WCO_save_needed(again, nullptr), 0);
    EXPECT_EQ(WCO_save(again, nullptr) + WCO_save(again, "out.wco"), 2);
    ASSERT_EQ(WCO_set_text(again, "A", "k", "v = w"), 1);
    EXPECT_EQ(WCO_save(again, nullptr), 1);
    EXPECT_EQ(TU_read("out.wco"), "marker");
    // Another path is written and becomes the store's file name; so is a missing file.
    EXPECT_EQ(WCO_save(again, "again.wco"), 1);
    EXPECT_STREQ(again->file_name, "again.wco");
    EXPECT_EQ(TU_read("again.wco"), expected);
    ASSERT_TRUE(std::remove("again.wco") == 0);
    EXPECT_EQ(WCO_save(again, nullptr), 1);
    EXPECT_EQ(TU_read("again.wco"), expected);
    ASSERT_EQ(WCO_set_text(again, "A", "k", "2"), 1);
    EXPECT_EQ(WCO_save_needed(again, nullptr), 1);
    EXPECT_EQ(WCO_save(again, nullptr), 1);
    EXPECT_NE(TU_read("again.wco").find("=  2\r\n"), std::string::npos);
    TU_write("again.wco", "marker");
    EXPECT_EQ(WCO_save_forced(again, nullptr), 1);
    EXPECT_NE(TU_read("again.wco"), "marker");
    EXPECT_EQ(TU_reports().size(), 0u);
}

#define SET(fn, ...) [&](WCO_file *s) { return fn(s, "S", "k", __VA_ARGS__); }

// The text every typed set writes; a value without a written form fails with an internal error.
TEST(WcoTyped, WrittenForms)
{
    const int32_t pair[2] = {-3, 4}, quad[4] = {1, -2, 3, 2147483647};
    const float real_pair[2] = {3.0f, 0.5f}, real_quad[4] = {0.0f, 0.0f, 170.0f, 120.0f};
    const WCO_RGB rgb{10, 20, 255, "světle modrá obloha"};
    WCO_RGB long_name{1, 2, 3, ""};
    std::fill(std::begin(long_name.name), std::end(long_name.name), 'n');   // not terminated
    // A set of S / k, the text it stores (null: the set fails).
    const std::pair<std::function<int16_t(WCO_file *)>, const char *> cases[] = {
        {SET(WCO_set_int32, -2147483647 - 1), "-2147483648"}, {SET(WCO_set_int16, -2), "-2"},
        {SET(WCO_set_real, 123456.789f), "123456.789062"}, {SET(WCO_set_double, 210.0), "210.000000"},
        {SET(WCO_set_int_pair, pair), "-3, 4"}, {SET(WCO_set_int_quad, quad), "1, -2, 3, 2147483647"},
        {SET(WCO_set_real_pair, real_pair), "3.000000 0.500000"},
        {SET(WCO_set_real_quad, real_quad), "0.000000, 0.000000, 170.000000, 120.000000"},
        {SET(WCO_set_rgb, &rgb), "10, 20, 255, světle modrá obloha"},
        {SET(WCO_set_rgb, &long_name), "1, 2, 3, nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
        {SET(WCO_set_yes, 5), "Ano"}, {SET(WCO_set_yes, 0), "Ne"}, {SET(WCO_set_colour, 7), "světle šedá"},
        {SET(WCO_set_colour, 16), nullptr}, {SET(WCO_set_draw_mode, 3), "XOR"}, {SET(WCO_set_draw_mode, 4), nullptr},
        {SET(WCO_set_code_page, 3), "CP1250"}, {SET(WCO_set_code_page, 0), "Nastavení při použití"},
        {SET(WCO_set_code_page, 5), "Nastavení při použití"}, {SET(WCO_set_unit, 4), "inch"},
        {SET(WCO_set_unit, 5), nullptr}, {SET(WCO_set_text_window, 5), "FLOATING_TEXT_WINDOW"},
        {SET(WCO_set_panning, 3), "BOTH_PANNING"}, {SET(WCO_set_cursor, 2), "OBLIQUE_LINE_CURSOR"},
        {SET(WCO_set_cursor, -1), nullptr}, {SET(WCO_set_toolbar, 5), "HIDDEN_TOOLBAR"},
        {SET(WCO_set_key, 0), "KB_null"}, {SET(WCO_set_key, 311), "Break"}, {SET(WCO_set_key, 368), nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.second ? c.second : "(fails)");
        TU_clear_reports();
        WT_STORE store;
        ASSERT_EQ(WCO_set_text(store, "S", "k", "before"), 1);
        EXPECT_EQ(c.first(store), c.second ? 1 : 0);
        EXPECT_STREQ(WCO_get_text_ref(store, "S", "k"), c.second ? c.second : "before");
        EXPECT_TRUE(c.second ? TU_reports().empty() : TU_one_error("..\\swin\\wco"));
    }
}

using READ = std::function<std::string(WCO_file *, int16_t *)>;

// A named get of S / k into N outputs that start at 99: the status, and the outputs as text.
template <int N = 1, class T>
READ reader(int16_t (*get)(WCO_file *, const char *, const char *, T *))
{
    return [get](WCO_file *s, int16_t *status) {
        T v[N];
        std::fill(v, v + N, static_cast<T>(99));
        *status = get(s, "S", "k", v);
        std::ostringstream text;
        for (int i = 0; i < N; i++)
            text << (i ? " " : "") << std::setprecision(9) << +v[i];
        return text.str();
    };
}

std::string get_rgb(WCO_file *s, int16_t *status)
{
    WCO_RGB v{9, 9, 9, "untouched"};
    *status = WCO_get_rgb(s, "S", "k", &v);
    return std::to_string(v.red) + " " + std::to_string(v.green) + " " + std::to_string(v.blue) + " [" + v.name + "]";
}

// The name kinds read through the vocabularies (tested there); one name each shows the wiring.
TEST(WcoTyped, ReadRules)
{
    const struct { std::string value; READ get; int16_t status; std::string result; } cases[] = {   // value: S / k
        // Numbers through the value readers (tested there); lists read one by one and keep what was read.
        {"  +7 rest", reader(WCO_get_int32), 1, "7"}, {"abc", reader(WCO_get_int32), 0, "99"},
        {"70000", reader(WCO_get_int16), 1, "4464"}, {"-2.50 mm", reader(WCO_get_real), 1, "-2.5"},
        {"2147.483648", reader(WCO_get_real), 1, "2147.48364"}, {"0.1", reader(WCO_get_double), 1, "0.100000001"},
        {"3, 4", reader<2>(WCO_get_int_pair), 1, "3 4"}, {"34", reader<2>(WCO_get_int_pair), 0, "34 99"},
        {"1, 2, 3, 4", reader<4>(WCO_get_int_quad), 1, "1 2 3 4"},
        {"1, 2, x, 4", reader<4>(WCO_get_int_quad), 0, "1 2 99 99"},
        {"3.000000 3.000000", reader<2>(WCO_get_real_pair), 1, "3 3"}, {"3.0", reader<2>(WCO_get_real_pair), 0, "3 99"},
        {"0.000000, 0.000000, 170.000000, 120.000000", reader<4>(WCO_get_real_quad), 1, "0 0 170 120"},
        {"0 0 170 120", reader<4>(WCO_get_real_quad), 0, "0 99 99 99"},
        {"10, 20, 30, světle modrá obloha ", get_rgb, 1, "10 20 30 [světle modrá obloha]"},
        {"1, 2, 3,", get_rgb, 1, "1 2 3 []"}, {"1, 2, 3", get_rgb, 0, "9 9 9 [untouched]"},
        {"1, 2, 3, " + std::string(45, 'n'), get_rgb, 1, "1 2 3 [" + std::string(40, 'n') + "]"},
        {"300, 0, 0, red", get_rgb, 0, "9 9 9 [untouched]"}, {"Ano", reader(WCO_get_yes), 1, "1"},
        {"maybe", reader(WCO_get_yes), 1, "0"}, {"světle šedá", reader(WCO_get_colour), 1, "7"},
        {"XOR", reader(WCO_get_draw_mode), 1, "3"}, {"cp1250 (ms windows)", reader(WCO_get_code_page), 1, "3"},
        {"inch", reader(WCO_get_unit), 1, "1"}, {"LEFT_TEXT_WINDOW", reader(WCO_get_text_window), 1, "3"},
        {"NO_PANNING", reader(WCO_get_panning), 1, "0"}, {"LINE_CURSOR", reader(WCO_get_cursor), 1, "1"},
        {"FLOATING_TOOLBAR", reader(WCO_get_toolbar), 1, "4"}, {"Shift+F1", reader(WCO_get_key), 1, "67"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        WT_STORE store;
        ASSERT_EQ(WCO_set_text(store, "S", "k", c.value.c_str()), 1);
        int16_t status = -1;
        EXPECT_EQ(c.get(store, &status), c.result);
        EXPECT_EQ(status, c.status);
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Every value a set writes reads back as the value set, between the named and the current forms.
TEST(WcoTyped, SetThenGetRoundTrips)
{
    WT_STORE store;
    ASSERT_EQ(WCO_select_section(store, "S"), 1);
    int16_t flag = 7;
    uint8_t colour = 7;
    float reals[2] = {1, 2};
    EXPECT_EQ(WCO_get_yes(store, "k", &flag) + WCO_get_colour(store, "S", "k", &colour) +
                  WCO_get_real_pair(store, "k", reals), 0);
    EXPECT_TRUE(flag == 7 && colour == 7 && reals[0] == 1.0f && reals[1] == 2.0f);
    for (float v : {0.0f, 0.2f, 1.25f, -3.5f, 170.0f, 2147.48f, 1e-6f}) {
        float real = 99;
        ASSERT_EQ(WCO_set_real(store, "r", v), 1);
        EXPECT_EQ(WCO_get_real(store, "S", "r", &real), 1);
        EXPECT_NEAR(real, v, 5e-7f) << v;
    }
    int16_t code = -1;   // names and numbers of the vocabularies: tested there
    EXPECT_EQ((TU_V{WCO_set_key(store, "S", "key", 311), WCO_get_key(store, "key", &code), code}), (TU_V{1, 1, 311}));
    EXPECT_EQ((TU_V{WCO_set_colour(store, "c", 15), WCO_get_colour(store, "c", &colour), colour}), (TU_V{1, 1, 15}));
}

}  // namespace
