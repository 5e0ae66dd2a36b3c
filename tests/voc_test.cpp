#include "util/voc.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/cz.h"
#include "tests/testutil.h"

namespace {

std::string keybcs2(const char *cp1250)
{
    std::string s(cp1250);
    CZ_convert(CZ_CP1250, CZ_KEYBCS2, &s[0]);
    return s;
}

std::string str(const char *text) { return text ? text : "(null)"; }

}  // namespace

TEST(Voc, ColoursReadFromEveryFormInAnyCaseAndBothCodePages)
{
    struct {
        const char *shown, *english, *plain, *shown_upper;
    } const colours[] = {
        {"černá", "BLACK", "CERNA", "ČERNÁ"},
        {"modrá", "BLUE", "MODRA", "MODRÁ"},
        {"zelená", "GREEN", "ZELENA", "ZELENÁ"},
        {"modrozelená", "CYAN", "MODROZELENA", "MODROZELENÁ"},
        {"červená", "RED", "CERVENA", "ČERVENÁ"},
        {"fialová", "MAGENTA", "FIALOVA", "FIALOVÁ"},
        {"hnědá", "BROWN", "HNEDA", "HNĚDÁ"},
        {"světle šedá", "LIGHTGRAY", "SVETLESEDA", "SVĚTLE ŠEDÁ"},
        {"tmavě šedá", "DARKGRAY", "TMAVESEDA", "TMAVĚ ŠEDÁ"},
        {"světle modrá", "LIGHTBLUE", "SVETLEMODRA", "SVĚTLE MODRÁ"},
        {"světle zelená", "LIGHTGREEN", "SVETLEZELENA", "SVĚTLE ZELENÁ"},
        {"světle modrozelená", "LIGHTCYAN", "SVETLEMODROZELENA", "SVĚTLE MODROZELENÁ"},
        {"světle červená", "LIGHTRED", "SVETLECERVENA", "SVĚTLE ČERVENÁ"},
        {"světle fialová", "LIGHTMAGENTA", "SVETLEFIALOVA", "SVĚTLE FIALOVÁ"},
        {"žlutá", "YELLOW", "ZLUTA", "ŽLUTÁ"},
        {"bílá", nullptr, nullptr, "BÍLÁ"},
    };
    ASSERT_EQ(std::size(colours), static_cast<size_t>(VOC_COLOURS));
    for (int16_t i = 0; i < VOC_COLOURS; i++) {
        const auto &c = colours[i];
        EXPECT_EQ(str(VOC_colour_name(i)), c.shown) << i;
        EXPECT_EQ(VOC_parse_colour(c.shown), i) << c.shown;
        EXPECT_EQ(VOC_parse_colour(c.shown_upper), i) << c.shown_upper;
        EXPECT_EQ(VOC_parse_colour(keybcs2(c.shown).c_str()), i) << c.shown;
        EXPECT_EQ(VOC_parse_colour(keybcs2(c.shown_upper).c_str()), i) << c.shown_upper;
        if (c.english) {
            std::string lower(c.english);
            for (char &ch : lower)
                ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
            std::string plain_lower(c.plain);
            for (char &ch : plain_lower)
                ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
            EXPECT_EQ(VOC_parse_colour(c.english), i) << c.english;
            EXPECT_EQ(VOC_parse_colour(lower.c_str()), i) << lower;
            EXPECT_EQ(VOC_parse_colour(c.plain), i) << c.plain;
            EXPECT_EQ(VOC_parse_colour(plain_lower.c_str()), i) << plain_lower;
            EXPECT_EQ(VOC_parse_colour(("  " + lower + "\t").c_str()), i) << lower;
        }
    }
    EXPECT_EQ(VOC_colour_name(-1), nullptr);
    EXPECT_EQ(VOC_colour_name(16), nullptr);
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Voc, ColourNamesThatAreNearlyRightGiveWhite)
{
    struct {
        const char *text;
        int16_t colour;
    } const cases[] = {
        {"světle modrá", 9},
        {"SVETLE MODRA", 9},
        {"SVETLEMODRA", 9},
        {"lightblue", 9},
        {"Světle Modrá", 9},
        {"svetle  modra", 15},   // two blanks
        {"", 15},
        {"   ", 15},
        {"light blue", 15},
        {"WHITE", 15},
        {"BILA", 15},
        {"bílá", 15},
        {"zelenáá", 15},
        // Only the first 20 characters count.
        {"LIGHTBLUE           garbage", 9},
        {"xxxxxxxxxxxxxxxxxxxxLIGHTBLUE", 15},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VOC_parse_colour(c.text), c.colour) << c.text;
    EXPECT_EQ(VOC_parse_colour(keybcs2("světle modrá").c_str()), 9);
    EXPECT_EQ(VOC_parse_colour(keybcs2("SVĚTLE MODRÁ").c_str()), 9);
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Voc, ShortVocabulariesNameEveryNumberAndNothingOutside)
{
    struct {
        const char *what;
        const char *(*name)(int16_t);
        std::vector<const char *> names;
    } const tables[] = {
        {"raster", VOC_raster_op_name, {"REPLACE", "AND", "OR", "XOR"}},
        {"raster lower", VOC_raster_op_name_lower, {"replace", "and", "or", "XOR"}},
        {"unit", VOC_unit_name, {"mm", "mils", "m", "km", "inch"}},
        {"pattern", VOC_pattern_name,
         {"Plný", "Tečkovaný", "Čárkovaný", "Vyplněný", "Otvor", "Mřížovaný", "čeRchovaný", "vzor_3", "vzor_4",
          "vzor_5", "vzor_6", "vzor_7", "vzor_8"}},
        {"justify", VOC_justify_name,
         {"střed-střed", "střed-vlevo", "střed-vpravo", "dole-střed", "dole-vlevo", "dole-vpravo",
          "nahoře-střed", "nahoře-vlevo", "nahoře-vpravo"}},
        {"text window", VOC_text_window_name,
         {"NO_TEXT_WINDOW", "TOP_TEXT_WINDOW", "BOTTOM_TEXT_WINDOW", "LEFT_TEXT_WINDOW", "RIGHT_TEXT_WINDOW",
          "FLOATING_TEXT_WINDOW"}},
        {"panning", VOC_panning_name, {"NO_PANNING", "SCROLLBAR_PANNING", "BLOCKS_PANNING", "BOTH_PANNING"}},
        {"cursor", VOC_cursor_name, {"NORMAL_CURSOR", "LINE_CURSOR", "OBLIQUE_LINE_CURSOR"}},
        {"toolbar", VOC_toolbar_name,
         {"TOP_TOOLBAR", "BOTTOM_TOOLBAR", "LEFT_TOOLBAR", "RIGHT_TOOLBAR", "FLOATING_TOOLBAR", "HIDDEN_TOOLBAR"}},
    };
    for (const auto &t : tables) {
        int16_t count = static_cast<int16_t>(t.names.size());
        for (int16_t i = 0; i < count; i++)
            EXPECT_EQ(str(t.name(i)), t.names[i]) << t.what << " " << i;
        EXPECT_EQ(t.name(-1), nullptr) << t.what;
        EXPECT_EQ(t.name(count), nullptr) << t.what;
        EXPECT_EQ(t.name(INT16_MIN), nullptr) << t.what;
    }
    EXPECT_EQ(str(VOC_yes_no(1)), "Ano");
    EXPECT_EQ(str(VOC_yes_no(-7)), "Ano");
    EXPECT_EQ(str(VOC_yes_no(0)), "Ne ");
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Voc, CodePageNamesFallBackToTheSettingOfUse)
{
    const char *const names[] = {"Nastavení při použití", "KEYBCS2", "LATIN2", "CP1250", "ASCII",
                                 "Nastavení při použití"};
    for (int16_t cp = 0; cp <= 5; cp++)
        EXPECT_EQ(str(VOC_code_page_name(cp)), names[cp]) << cp;
    EXPECT_EQ(str(VOC_code_page_name(-1)), "Nastavení při použití");
}

TEST(Voc, DotStyleOutsideTheTableIsASwitchError)
{
    EXPECT_EQ(str(VOC_dot_style_name(0)), "jednoduchá tečka");
    EXPECT_EQ(str(VOC_dot_style_name(1)), "dvojitá tečka   ");
    EXPECT_EQ(TU_reports().size(), 0u);
    EXPECT_EQ(VOC_dot_style_name(2), nullptr);
    EXPECT_EQ(VOC_dot_style_name(-1), nullptr);
    ASSERT_EQ(TU_count(WE_KIND_SWITCH), 2);
    EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\util\\voc řádek ", 0), 0u);
}

TEST(Voc, TextStyleNamesTheLowByteAndMarksRu)
{
    struct {
        uint16_t style;
        const char *name;
    } const cases[] = {
        {0x0000, "Jednoduchý-1/1"},     {0x0001, "Jednoduchý-2/3"}, {0x0002, "Jednoduchý-1/2"},
        {0x0003, "Šikmý-1/1"},          {0x0004, "Šikmý-2/3"},      {0x0005, "Šikmý-1/2"},
        {0x0104, "Šikmý-2/3 (RU)"},     {0x0100, "Jednoduchý-1/1 (RU)"},
        {0x0006, "???"},                {0x00FF, "???"},            {0x0106, "??? (RU)"},
        {0x0205, "Šikmý-1/2"},          {0xFF01, "Jednoduchý-2/3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(str(VOC_text_style_name(c.style)), c.name) << std::hex << c.style;
    // One static buffer: the next call overwrites it.
    const char *first = VOC_text_style_name(0);
    EXPECT_EQ(first, VOC_text_style_name(3));
    EXPECT_STREQ(first, "Šikmý-1/1");
}

TEST(Voc, NumberTextFormatsWithTheGivenDecimals)
{
    struct {
        double value;
        int16_t decimals;
        const char *text;
    } const cases[] = {
        {3.14159, 2, "3.14"},   {3.14159, -2, "3.14"},    {7.0, 0, " 7"},       {-1.25, 3, "-1.250"},
        {0.5, 1, "0.5"},        {12345.678, 1, "12345.7"}, {-0.04, 1, "-0.0"},   {2.0, 4, "2.0000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(str(VOC_number_text(c.value, c.decimals)), c.text) << c.value << " " << c.decimals;
    EXPECT_EQ(TU_reports().size(), 0u);
    // More decimals than the buffer holds: cut, terminated, reported.
    const char *text = VOC_number_text(1.0, INT16_MIN);
    EXPECT_EQ(strlen(text), 399u);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(Voc, KeyTableHoldsTheToolkitCodes)
{
    struct {
        int16_t key;
        const char *name;
    } const cases[] = {
        {0, "KB_null"},
        {1, "Control+Break"},
        {2, "Enter"},
        {3, "Shift+Enter"},
        {4, "Alt+Enter"},
        {5, "Control+Enter"},
        {6, "Esc"},
        {10, "Mezera"},
        {14, "Backspace"},
        {16, "Alt+Backspace"},
        {17, "Control+BackSpace"},
        {18, "Tab"},
        {22, "PageUp"},
        {26, "PageDown"},
        {30, "End"},
        {34, "Home"},
        {38, "Šipka_vlevo"},
        {42, "Šipka_vpravo"},
        {46, "Šipka_nahoru"},
        {50, "Šipka_dolu"},
        {53, "Control+Šipka_dolu"},
        {54, "Insert"},
        {58, "Delete"},
        {61, "Control+Delete"},
        {62, "Tilda`/~"},
        {63, "Shift+Tilda`/~"},
        {65, "Control+Tilda`/~"},
        {66, "F1"},
        {67, "Shift+F1"},
        {106, "F11"},
        {110, "F12"},
        {113, "Control+F12"},
        {114, "0"},
        {115, "Alt+0"},
        {116, "Control+0"},
        {143, "Control+9"},
        {144, "A"},
        {145, "Alt+A"},
        {146, "Control+A"},
        {219, "Z"},
        {221, "Control+Z"},
        {222, "a"},
        {247, "z"},
        {248, "a_s_čárkou"},
        {253, "y_s_čárkou"},
        {254, "A_s_čárkou"},
        {259, "Y_s_čárkou"},
        {260, "c_s_háčkem"},
        {267, "u_s_kroužkem"},
        {268, "z_s_háčkem"},
        {269, "C_s_háčkem"},
        {276, "U_s_kroužkem"},
        {277, "Z_s_háčkem"},
        {278, "!"},
        {283, "^"},
        {288, "["},
        {291, "}"},
        {295, "\\"},
        {297, "_"},
        {298, "|"},
        {299, "\""},
        {300, "'"},
        {301, "`"},
        {304, ","},
        {306, "?"},
        {309, "~"},
        {310, "paragraf"},
        {311, "Break"},
        {312, "Shift+Break"},
        {313, "Alt+Break"},
        {314, "Klávesa_aplikace"},
        {317, "Control+Klávesa_aplikace"},
        {318, "Control_\\"},
        {319, "Alt_\\"},
        {320, "Control_="},
        {330, "Control_'"},
        {331, "Alt'"},
        {332, "Control_,"},
        {337, "Alt_/"},
        {338, "Control_numpad_0"},
        {339, "Alt_numpad_0"},
        {358, "Control_numpad_*"},
        {363, "Alt_numpad_/"},
        {366, "Control_numpad_."},
        {367, "Alt_numpad_."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(str(VOC_key_name(c.key)), c.name) << c.key;
        EXPECT_EQ(VOC_parse_key(c.name), c.key) << c.name;
    }
    EXPECT_EQ(VOC_key_name(-1), nullptr);
    EXPECT_EQ(VOC_key_name(VOC_KEYS), nullptr);

    // Every code has a name of its own, and the name reads back as the code.
    std::set<std::string> seen;
    for (int16_t key = 0; key < VOC_KEYS; key++) {
        const char *name = VOC_key_name(key);
        ASSERT_NE(name, nullptr) << key;
        EXPECT_GT(strlen(name), 0u) << key;
        EXPECT_TRUE(seen.insert(name).second) << key << " " << name;
        EXPECT_EQ(VOC_parse_key(name), key) << name;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Voc, KeyNamesReadOnlyWhenExact)
{
    struct {
        const char *text;
        int16_t key;
    } const cases[] = {
        {" Shift+F1 ", 67},
        {"\tEnter\t", 2},
        {"Alt_'", 0},   // the suite spells 331 without the underscore
        {"Alt'", 331},
        {"shift+f1", 0},
        {"Control+Backspace", 0},
        {"Shift + F1", 0},
        {"", 0},
        {"   ", 0},
        {"KB_null", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VOC_parse_key(c.text), c.key) << c.text;
    // Only the first 80 characters count.
    EXPECT_EQ(VOC_parse_key(("Break" + std::string(75, ' ') + "x").c_str()), 311);
    EXPECT_EQ(VOC_parse_key((std::string(76, ' ') + "Break").c_str()), 0);
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Voc, ContainingReadersFoldCaseAndDiacritics)
{
    struct {
        int16_t (*parse)(const char *);
        const char *text;
        int16_t value;
    } const cases[] = {
        {VOC_parse_code_page, "cp1250 (ms windows)", 3},
        {VOC_parse_code_page, "KEYBCS2", 1},
        {VOC_parse_code_page, "Kamenický keybcs2", 1},
        {VOC_parse_code_page, "latin2", 2},
        {VOC_parse_code_page, "ascii", 4},
        {VOC_parse_code_page, "ASCII a LATIN2", 2},      // tested in table order
        {VOC_parse_code_page, "CP1250 KEYBCS2", 1},
        {VOC_parse_code_page, "Nastavení při použití", 0},
        {VOC_parse_code_page, "CP 1250", 0},
        {VOC_parse_code_page, "", 0},
        {VOC_parse_yes, "ano", 1},
        {VOC_parse_yes, "Ano", 1},
        {VOC_parse_yes, "ÁNO", 1},
        {VOC_parse_yes, "yes", 1},
        {VOC_parse_yes, "On", 1},
        {VOC_parse_yes, "ne", 0},
        {VOC_parse_yes, "NE", 0},
        {VOC_parse_yes, "Ne ", 0},
        {VOC_parse_yes, "no", 0},
        {VOC_parse_yes, "off", 0},
        {VOC_parse_yes, "", 0},
        {VOC_parse_yes, "12345ano", 0},   // only the first 5 characters
        {VOC_parse_yes, "1234yes", 0},
        {VOC_parse_unit, "mm", 0},
        {VOC_parse_unit, "MM", 0},
        {VOC_parse_unit, "v mm", 0},
        {VOC_parse_unit, "mils", 1},
        {VOC_parse_unit, "inch", 1},
        {VOC_parse_unit, "m", 1},
        {VOC_parse_unit, "", 1},
        {VOC_parse_unit, "12345678901234567890mm", 1},
        {VOC_parse_raster_op, "XOR", 3},
        {VOC_parse_raster_op, "xor", 3},
        {VOC_parse_raster_op, "or", 2},
        {VOC_parse_raster_op, "OR", 2},
        {VOC_parse_raster_op, "AND", 1},
        {VOC_parse_raster_op, "and", 1},
        {VOC_parse_raster_op, "REPLACE", 0},
        {VOC_parse_raster_op, "", 0},
        {VOC_parse_raster_op, "1234567890XOR", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.parse(c.text), c.value) << c.text;
    // Every written name reads back as its number.
    for (int16_t cp = 1; cp <= 4; cp++)
        EXPECT_EQ(VOC_parse_code_page(VOC_code_page_name(cp)), cp);
    for (int16_t op = 0; op <= 3; op++) {
        EXPECT_EQ(VOC_parse_raster_op(VOC_raster_op_name(op)), op);
        EXPECT_EQ(VOC_parse_raster_op(VOC_raster_op_name_lower(op)), op);
    }
    EXPECT_EQ(VOC_parse_yes(VOC_yes_no(1)), 1);
    EXPECT_EQ(VOC_parse_yes(VOC_yes_no(0)), 0);
    EXPECT_EQ(VOC_parse_unit(VOC_unit_name(0)), 0);
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Voc, PositionNamesReadOnlyWhenExact)
{
    struct {
        int16_t (*parse)(const char *);
        const char *(*name)(int16_t);
        int16_t count;
        int16_t fallback;
    } const tables[] = {
        {VOC_parse_text_window, VOC_text_window_name, 6, 2},
        {VOC_parse_panning, VOC_panning_name, 4, 1},
        {VOC_parse_cursor, VOC_cursor_name, 3, 0},
        {VOC_parse_toolbar, VOC_toolbar_name, 6, 0},
    };
    for (const auto &t : tables) {
        for (int16_t i = 0; i < t.count; i++) {
            std::string name = t.name(i);
            EXPECT_EQ(t.parse(name.c_str()), i) << name;
            std::string lower = name;
            for (char &ch : lower)
                ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
            EXPECT_EQ(t.parse(lower.c_str()), t.fallback) << lower;
            EXPECT_EQ(t.parse((" " + name).c_str()), t.fallback) << name;
        }
        EXPECT_EQ(t.parse(""), t.fallback);
        EXPECT_EQ(t.parse("garbage"), t.fallback);
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(Voc, NullTextsAreInternalErrorsWithTheUnknownAnswer)
{
    struct {
        const char *what;
        int16_t (*parse)(const char *);
        int16_t value;
    } const cases[] = {
        {"colour", VOC_parse_colour, 15},         {"key", VOC_parse_key, 0},
        {"code page", VOC_parse_code_page, 0},    {"yes", VOC_parse_yes, 0},
        {"unit", VOC_parse_unit, 1},              {"raster", VOC_parse_raster_op, 0},
        {"text window", VOC_parse_text_window, 2}, {"panning", VOC_parse_panning, 1},
        {"cursor", VOC_parse_cursor, 0},          {"toolbar", VOC_parse_toolbar, 0},
    };
    for (const auto &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(c.parse(nullptr), c.value) << c.what;
        ASSERT_EQ(TU_reports().size(), 1u) << c.what;
        EXPECT_EQ(TU_reports()[0].kind, WE_KIND_INTERNAL) << c.what;
        EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\util\\voc řádek ", 0), 0u) << c.what;
    }
}
