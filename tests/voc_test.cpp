#include "util/voc.h"

#include <cctype>
#include <cstring>
#include <set>
#include <tuple>

#include "common/cz.h"
#include "tests/testutil.h"

namespace {

std::string keybcs2(const char *cp1250)
{
    std::string s(cp1250);
    CZ_convert(CZ_CP1250, CZ_KEYBCS2, &s[0]);
    return s;
}

std::string lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string str(const char *text) { return text ? text : "(null)"; }

// Every colour by its name, English name and plain name in any case, in CP1250 and KEYBCS2.
TEST(Voc, ColoursReadFromEveryFormInAnyCaseAndBothCodePages)
{
    const struct { const char *shown, *english, *plain, *shown_upper; } colours[] = {
        {"černá", "BLACK", "CERNA", "ČERNÁ"}, {"modrá", "BLUE", "MODRA", "MODRÁ"},
        {"zelená", "GREEN", "ZELENA", "ZELENÁ"}, {"modrozelená", "CYAN", "MODROZELENA", "MODROZELENÁ"},
        {"červená", "RED", "CERVENA", "ČERVENÁ"}, {"fialová", "MAGENTA", "FIALOVA", "FIALOVÁ"},
        {"hnědá", "BROWN", "HNEDA", "HNĚDÁ"}, {"světle šedá", "LIGHTGRAY", "SVETLESEDA", "SVĚTLE ŠEDÁ"},
        {"tmavě šedá", "DARKGRAY", "TMAVESEDA", "TMAVĚ ŠEDÁ"},
        {"světle modrá", "LIGHTBLUE", "SVETLEMODRA", "SVĚTLE MODRÁ"},
        {"světle zelená", "LIGHTGREEN", "SVETLEZELENA", "SVĚTLE ZELENÁ"},
        {"světle modrozelená", "LIGHTCYAN", "SVETLEMODROZELENA", "SVĚTLE MODROZELENÁ"},
        {"světle červená", "LIGHTRED", "SVETLECERVENA", "SVĚTLE ČERVENÁ"},
        {"světle fialová", "LIGHTMAGENTA", "SVETLEFIALOVA", "SVĚTLE FIALOVÁ"}, {"žlutá", "YELLOW", "ZLUTA", "ŽLUTÁ"},
        {"bílá", "", "", "BÍLÁ"},
    };
    ASSERT_EQ(std::size(colours), static_cast<size_t>(VOC_COLOURS));
    for (int16_t i = 0; i < VOC_COLOURS; i++) {
        const auto &c = colours[i];
        EXPECT_EQ(str(VOC_colour_name(i)), c.shown) << i;
        std::vector<std::string> forms = {c.shown, c.shown_upper, keybcs2(c.shown), keybcs2(c.shown_upper)};
        if (c.english[0])
            forms.insert(forms.end(),
                         {c.english, lower(c.english), c.plain, lower(c.plain), "  " + lower(c.english) + "\t"});
        for (const std::string &form : forms)
            EXPECT_EQ(VOC_parse_colour(form.c_str()), i) << form;
    }
    EXPECT_TRUE(!VOC_colour_name(-1) && !VOC_colour_name(VOC_COLOURS));
    EXPECT_EQ(TU_reports().size(), 0u);
}

// The names of every vocabulary, and nothing outside them; text styles; numbers as texts.
TEST(Voc, NumbersToNames)
{
    const struct { const char *(*name)(int16_t); std::vector<const char *> names; } tables[] = {
        {VOC_raster_op_name, {"REPLACE", "AND", "OR", "XOR"}},
        {VOC_raster_op_name_lower, {"replace", "and", "or", "XOR"}},
        {VOC_unit_name, {"mm", "mils", "m", "km", "inch"}},
        {VOC_pattern_name, {"Plný", "Tečkovaný", "Čárkovaný", "Vyplněný", "Otvor", "Mřížovaný", "čeRchovaný", "vzor_3",
                            "vzor_4", "vzor_5", "vzor_6", "vzor_7", "vzor_8"}},
        {VOC_justify_name, {"střed-střed", "střed-vlevo", "střed-vpravo", "dole-střed", "dole-vlevo", "dole-vpravo",
                            "nahoře-střed", "nahoře-vlevo", "nahoře-vpravo"}},
        {VOC_text_window_name, {"NO_TEXT_WINDOW", "TOP_TEXT_WINDOW", "BOTTOM_TEXT_WINDOW", "LEFT_TEXT_WINDOW",
                                "RIGHT_TEXT_WINDOW", "FLOATING_TEXT_WINDOW"}},
        {VOC_panning_name, {"NO_PANNING", "SCROLLBAR_PANNING", "BLOCKS_PANNING", "BOTH_PANNING"}},
        {VOC_cursor_name, {"NORMAL_CURSOR", "LINE_CURSOR", "OBLIQUE_LINE_CURSOR"}},
        {VOC_toolbar_name, {"TOP_TOOLBAR", "BOTTOM_TOOLBAR", "LEFT_TOOLBAR", "RIGHT_TOOLBAR", "FLOATING_TOOLBAR",
                            "HIDDEN_TOOLBAR"}},
    };
    for (const auto &t : tables) {
        const int16_t count = static_cast<int16_t>(t.names.size());
        for (int16_t i = 0; i < count; i++)
            EXPECT_EQ(str(t.name(i)), t.names[i]) << i;
        EXPECT_TRUE(!t.name(-1) && !t.name(count) && !t.name(INT16_MIN)) << t.names[0];
    }
    EXPECT_EQ(str(VOC_yes_no(1)) + str(VOC_yes_no(-7)) + str(VOC_yes_no(0)), "AnoAnoNe ");
    const char *const code_pages[] = {"Nastavení při použití", "KEYBCS2", "LATIN2", "CP1250", "ASCII",
                                      "Nastavení při použití"};
    for (int16_t cp = -1; cp <= 5; cp++)
        EXPECT_EQ(str(VOC_code_page_name(cp)), code_pages[cp < 0 ? 0 : cp]) << cp;
    EXPECT_EQ(str(VOC_dot_style_name(0)) + "|" + str(VOC_dot_style_name(1)), "jednoduchá tečka|dvojitá tečka   ");
    const std::pair<uint16_t, const char *> styles[] = {
        {0x0000, "Jednoduchý-1/1"}, {0x0001, "Jednoduchý-2/3"}, {0x0002, "Jednoduchý-1/2"}, {0x0003, "Šikmý-1/1"},
        {0x0004, "Šikmý-2/3"}, {0x0005, "Šikmý-1/2"}, {0x0104, "Šikmý-2/3 (RU)"}, {0x0100, "Jednoduchý-1/1 (RU)"},
        {0x0006, "???"}, {0x00FF, "???"}, {0x0106, "??? (RU)"}, {0x0205, "Šikmý-1/2"}, {0xFF01, "Jednoduchý-2/3"},
    };
    for (const auto &c : styles)
        EXPECT_EQ(str(VOC_text_style_name(c.first)), c.second) << std::hex << c.first;
    // One static buffer: the next call overwrites it.
    const char *first = VOC_text_style_name(0);
    EXPECT_EQ(first, VOC_text_style_name(3));
    EXPECT_STREQ(first, "Šikmý-1/1");
    const std::tuple<double, int16_t, const char *> numbers[] = {
        {3.14159, 2, "3.14"}, {3.14159, -2, "3.14"}, {7.0, 0, " 7"}, {-1.25, 3, "-1.250"}, {0.5, 1, "0.5"},
        {12345.678, 1, "12345.7"}, {-0.04, 1, "-0.0"}, {2.0, 4, "2.0000"},
    };
    for (const auto &[value, decimals, text] : numbers)
        EXPECT_EQ(str(VOC_number_text(value, decimals)), text) << value << " " << decimals;
    EXPECT_EQ(TU_reports().size(), 0u);
    // A dot style outside the table is a switch error; more decimals than the buffer holds are cut and reported.
    TU_expect_failures("..\\util\\voc", {TU_FAILS(VOC_dot_style_name(2)), TU_FAILS(VOC_dot_style_name(-1))},
                       WE_KIND_SWITCH);
    const auto cut = [] { return std::strlen(VOC_number_text(1.0, INT16_MIN)); };
    TU_expect_failures("..\\util\\voc", {TU_CALL("INT16_MIN decimals", cut, 399)});
}

// The key names at the toolkit's codes; every code a name of its own that reads back as the code.
TEST(Voc, KeyTableHoldsTheToolkitCodes)
{
    const std::pair<int16_t, const char *> cases[] = {
        {0, "KB_null"}, {1, "Control+Break"}, {2, "Enter"}, {5, "Control+Enter"}, {6, "Esc"}, {10, "Mezera"},
        {14, "Backspace"}, {16, "Alt+Backspace"}, {17, "Control+BackSpace"}, {18, "Tab"}, {22, "PageUp"},
        {26, "PageDown"}, {30, "End"}, {34, "Home"}, {38, "Šipka_vlevo"}, {42, "Šipka_vpravo"}, {46, "Šipka_nahoru"},
        {50, "Šipka_dolu"}, {53, "Control+Šipka_dolu"}, {54, "Insert"}, {58, "Delete"}, {61, "Control+Delete"},
        {62, "Tilda`/~"}, {65, "Control+Tilda`/~"}, {66, "F1"}, {67, "Shift+F1"}, {110, "F12"}, {113, "Control+F12"},
        {114, "0"}, {116, "Control+0"}, {143, "Control+9"}, {144, "A"}, {146, "Control+A"}, {221, "Control+Z"},
        {222, "a"}, {247, "z"}, {248, "a_s_čárkou"}, {259, "Y_s_čárkou"}, {260, "c_s_háčkem"}, {267, "u_s_kroužkem"},
        {268, "z_s_háčkem"}, {269, "C_s_háčkem"}, {276, "U_s_kroužkem"}, {277, "Z_s_háčkem"}, {278, "!"}, {295, "\\"},
        {299, "\""}, {309, "~"}, {310, "paragraf"}, {311, "Break"}, {313, "Alt+Break"}, {314, "Klávesa_aplikace"},
        {317, "Control+Klávesa_aplikace"}, {318, "Control_\\"}, {320, "Control_="}, {331, "Alt'"}, {337, "Alt_/"},
        {338, "Control_numpad_0"}, {339, "Alt_numpad_0"}, {358, "Control_numpad_*"}, {367, "Alt_numpad_."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(str(VOC_key_name(c.first)), c.second) << c.first;
    EXPECT_TRUE(!VOC_key_name(-1) && !VOC_key_name(VOC_KEYS));
    // Every code has a name of its own, and the name reads back as the code.
    std::set<std::string> seen;
    for (int16_t key = 0; key < VOC_KEYS; key++) {
        const char *name = VOC_key_name(key);
        ASSERT_NE(name, nullptr) << key;
        EXPECT_TRUE(name[0] && seen.insert(name).second) << key << " " << name;
        EXPECT_EQ(VOC_parse_key(name), key) << name;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// How each reader takes a name: exact, trimmed, folded or contained, and what it gives for anything else.
TEST(Voc, NamesToNumbers)
{
    const struct { int16_t (*parse)(const char *); std::vector<std::pair<std::string, int16_t>> cases; } readers[] = {
        // Colours: nearly right is white; only the first 20 characters count.
        {VOC_parse_colour, {{"SVETLE MODRA", 9}, {"Světle Modrá", 9}, {"svetle  modra", 15}, {"", 15}, {"   ", 15},
            {"light blue", 15}, {"WHITE", 15}, {"zelenáá", 15}, {"LIGHTBLUE           garbage", 9},
            {"xxxxxxxxxxxxxxxxxxxxLIGHTBLUE", 15}, {keybcs2("světle modrá"), 9}}},
        // Keys: exact names, trimmed; only the first 80 characters count.
        {VOC_parse_key, {{" Shift+F1 ", 67}, {"\tEnter\t", 2}, {"Alt_'", 0}, {"shift+f1", 0}, {"Shift + F1", 0},
            {"", 0}, {"   ", 0}, {"Break" + std::string(75, ' ') + "x", 311}, {std::string(76, ' ') + "Break", 0}}},
        // Containing readers fold case and diacritics and look at the first characters only.
        {VOC_parse_code_page, {{"cp1250 (ms windows)", 3}, {"Kamenický keybcs2", 1}, {"latin2", 2}, {"ascii", 4},
            {"ASCII a LATIN2", 2}, {"CP1250 KEYBCS2", 1}, {"Nastavení při použití", 0}, {"CP 1250", 0}}},
        {VOC_parse_yes, {{"ano", 1}, {"ÁNO", 1}, {"yes", 1}, {"On", 1}, {"NE", 0}, {"off", 0}, {"", 0},
            {"12345ano", 0}, {"1234yes", 0}}},
        {VOC_parse_unit, {{"MM", 0}, {"v mm", 0}, {"inch", 1}, {"m", 1}, {"", 1}, {"12345678901234567890mm", 1}}},
        {VOC_parse_raster_op, {{"xor", 3}, {"or", 2}, {"and", 1}, {"", 0}, {"1234567890XOR", 0}}},
    };
    for (const auto &r : readers)
        for (const auto &c : r.cases)
            EXPECT_EQ(r.parse(c.first.c_str()), c.second) << c.first;
    // Every written name reads back as its number.
    for (int16_t cp = 1; cp <= 4; cp++)
        EXPECT_EQ(VOC_parse_code_page(VOC_code_page_name(cp)), cp);
    for (int16_t op = 0; op <= 3; op++)
        EXPECT_TRUE(VOC_parse_raster_op(VOC_raster_op_name(op)) == op &&
                    VOC_parse_raster_op(VOC_raster_op_name_lower(op)) == op) << op;
    EXPECT_TRUE(VOC_parse_yes(VOC_yes_no(1)) == 1 && VOC_parse_yes(VOC_yes_no(0)) == 0 &&
                VOC_parse_unit(VOC_unit_name(0)) == 0);
    // Position names read only when exact.
    const struct { int16_t (*parse)(const char *); const char *(*name)(int16_t); int16_t count, fallback; } tables[] = {
        {VOC_parse_text_window, VOC_text_window_name, 6, 2}, {VOC_parse_panning, VOC_panning_name, 4, 1},
        {VOC_parse_cursor, VOC_cursor_name, 3, 0}, {VOC_parse_toolbar, VOC_toolbar_name, 6, 0},
    };
    for (const auto &t : tables) {
        for (int16_t i = 0; i < t.count; i++) {
            const std::string name = t.name(i);
            EXPECT_EQ(t.parse(name.c_str()), i) << name;
            EXPECT_EQ(t.parse(lower(name).c_str()), t.fallback) << name;
            EXPECT_EQ(t.parse((" " + name).c_str()), t.fallback) << name;
        }
        EXPECT_EQ(t.parse(""), t.fallback);
        EXPECT_EQ(t.parse("garbage"), t.fallback);
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// A null text is an internal error and reads as the unknown answer.
TEST(Voc, NullTextsAreInternalErrorsWithTheUnknownAnswer)
{
    TU_expect_failures("..\\util\\voc", {
        TU_CALL("colour", [] { return VOC_parse_colour(nullptr); }, 15), TU_FAILS(VOC_parse_key(nullptr)),
        TU_FAILS(VOC_parse_code_page(nullptr)), TU_FAILS(VOC_parse_yes(nullptr)),
        TU_CALL("unit", [] { return VOC_parse_unit(nullptr); }, 1), TU_FAILS(VOC_parse_raster_op(nullptr)),
        TU_CALL("text window", [] { return VOC_parse_text_window(nullptr); }, 2),
        TU_CALL("panning", [] { return VOC_parse_panning(nullptr); }, 1), TU_FAILS(VOC_parse_cursor(nullptr)),
        TU_FAILS(VOC_parse_toolbar(nullptr)),
    });
}

}  // namespace
