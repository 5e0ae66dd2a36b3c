#include "util/voc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/cz.h"
#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\util\\voc";

// ---- Tables ----

struct VOC_COLOUR {
    const char *shown;     // written into settings and shown in lists
    const char *english;   // also accepted when reading (null: none)
    const char *plain;     // Czech name without diacritics (null: none)
};

static const VOC_COLOUR colours[VOC_COLOURS] = {
    {"černá", "BLACK", "CERNA"},
    {"modrá", "BLUE", "MODRA"},
    {"zelená", "GREEN", "ZELENA"},
    {"modrozelená", "CYAN", "MODROZELENA"},
    {"červená", "RED", "CERVENA"},
    {"fialová", "MAGENTA", "FIALOVA"},
    {"hnědá", "BROWN", "HNEDA"},
    {"světle šedá", "LIGHTGRAY", "SVETLESEDA"},
    {"tmavě šedá", "DARKGRAY", "TMAVESEDA"},
    {"světle modrá", "LIGHTBLUE", "SVETLEMODRA"},
    {"světle zelená", "LIGHTGREEN", "SVETLEZELENA"},
    {"světle modrozelená", "LIGHTCYAN", "SVETLEMODROZELENA"},
    {"světle červená", "LIGHTRED", "SVETLECERVENA"},
    {"světle fialová", "LIGHTMAGENTA", "SVETLEFIALOVA"},
    {"žlutá", "YELLOW", "ZLUTA"},
    {"bílá", nullptr, nullptr},
};

static const char *const raster_ops[] = {"REPLACE", "AND", "OR", "XOR"};
static const char *const raster_ops_lower[] = {"replace", "and", "or", "XOR"};
static const char *const units[] = {"mm", "mils", "m", "km", "inch"};
static const char *const patterns[] = {
    "Plný", "Tečkovaný", "Čárkovaný", "Vyplněný", "Otvor", "Mřížovaný", "čeRchovaný",
    "vzor_3", "vzor_4", "vzor_5", "vzor_6", "vzor_7", "vzor_8",
};
static const char *const dot_styles[] = {"jednoduchá tečka", "dvojitá tečka   "};
static const char *const text_styles[] = {
    "Jednoduchý-1/1", "Jednoduchý-2/3", "Jednoduchý-1/2", "Šikmý-1/1", "Šikmý-2/3", "Šikmý-1/2",
};
static const char *const justifications[] = {
    "střed-střed", "střed-vlevo", "střed-vpravo", "dole-střed", "dole-vlevo",
    "dole-vpravo", "nahoře-střed", "nahoře-vlevo", "nahoře-vpravo",
};
// Index = code page number - 1; the order is also the order of the search.
static const char *const code_pages[] = {"KEYBCS2", "LATIN2", "CP1250", "ASCII"};
static const char *const text_windows[] = {
    "NO_TEXT_WINDOW", "TOP_TEXT_WINDOW", "BOTTOM_TEXT_WINDOW",
    "LEFT_TEXT_WINDOW", "RIGHT_TEXT_WINDOW", "FLOATING_TEXT_WINDOW",
};
static const char *const pannings[] = {"NO_PANNING", "SCROLLBAR_PANNING", "BLOCKS_PANNING", "BOTH_PANNING"};
static const char *const cursors[] = {"NORMAL_CURSOR", "LINE_CURSOR", "OBLIQUE_LINE_CURSOR"};
static const char *const toolbars[] = {
    "TOP_TOOLBAR", "BOTTOM_TOOLBAR", "LEFT_TOOLBAR", "RIGHT_TOOLBAR", "FLOATING_TOOLBAR", "HIDDEN_TOOLBAR",
};

#define VOC_COUNT(table) static_cast<int16_t>(sizeof(table) / sizeof((table)[0]))

// The names of the toolkit key codes, in the order the key translation numbers
// them. Built once from the groups of keys rather than spelled out 368 times.
namespace {

class KEY_NAMES {
public:
    KEY_NAMES();
    const char *name(int16_t key) const { return names_[key]; }

private:
    enum { LONGEST = 31 };
    void add(const char *prefix, const char *name);
    // Plain, "Shift+", "Alt+" and "Control+".
    void add_four(const char *name);
    // Plain, "Alt+" and "Control+".
    void add_three(const char *name);

    char names_[VOC_KEYS][LONGEST + 1];
    int16_t count_ = 0;
};

KEY_NAMES::KEY_NAMES()
{
    static const char *const editing[] = {
        "Enter", "Esc", "Mezera", "Backspace", "Tab", "PageUp", "PageDown", "End", "Home",
        "Šipka_vlevo", "Šipka_vpravo", "Šipka_nahoru", "Šipka_dolu", "Insert", "Delete",
    };
    static const char acute[] = "aeiouy";
    static const char caron[] = "cdenrstuz";   // "u" takes the ring ("kroužek")
    static const char single[] = "!@#$%^&*()[]{}-+/\\=_|\"'`:;,.?<>~";
    static const char punctuation[] = "\\=-[];',./";
    static const char numpad[] = "0123456789*+/-.";
    char one[2] = {0, 0};
    char fkey[8];

    add("", "KB_null");
    add("", "Control+Break");
    for (const char *name : editing)
        add_four(name);
    ST_copy(names_[17], "Control+BackSpace", LONGEST);   // the suite's own spelling
    add_four("Tilda`/~");
    for (int f = 1; f <= 12; f++) {
        snprintf(fkey, sizeof fkey, "F%d", f);
        add_four(fkey);
    }
    for (char c = '0'; c <= '9'; c++) {
        one[0] = c;
        add_three(one);
    }
    for (char c = 'A'; c <= 'Z'; c++) {
        one[0] = c;
        add_three(one);
    }
    for (char c = 'a'; c <= 'z'; c++) {
        one[0] = c;
        add("", one);
    }
    for (int upper = 0; upper < 2; upper++)
        for (const char *c = acute; *c; c++) {
            one[0] = upper ? static_cast<char>(*c - 'a' + 'A') : *c;
            add(one, "_s_čárkou");
        }
    for (int upper = 0; upper < 2; upper++)
        for (const char *c = caron; *c; c++) {
            one[0] = upper ? static_cast<char>(*c - 'a' + 'A') : *c;
            add(one, *c == 'u' ? "_s_kroužkem" : "_s_háčkem");
        }
    for (const char *c = single; *c; c++) {
        one[0] = *c;
        add("", one);
    }
    add("", "paragraf");
    add("", "Break");
    add("", "Shift+Break");
    add("", "Alt+Break");
    add_four("Klávesa_aplikace");
    for (const char *c = punctuation; *c; c++) {
        one[0] = *c;
        add("Control_", one);
        add("Alt_", one);
    }
    ST_copy(names_[331], "Alt'", LONGEST);   // the suite's own spelling
    for (const char *c = numpad; *c; c++) {
        one[0] = *c;
        add("Control_numpad_", one);
        add("Alt_numpad_", one);
    }
    if (count_ != VOC_KEYS)
        WE_internal_error(SRC, __LINE__);
}

void KEY_NAMES::add(const char *prefix, const char *name)
{
    if (count_ >= VOC_KEYS) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    ST_copy(names_[count_], prefix, LONGEST);
    ST_append(names_[count_], name, LONGEST);
    count_++;
}

void KEY_NAMES::add_four(const char *name)
{
    add("", name);
    add("Shift+", name);
    add("Alt+", name);
    add("Control+", name);
}

void KEY_NAMES::add_three(const char *name)
{
    add("", name);
    add("Alt+", name);
    add("Control+", name);
}

const KEY_NAMES &key_names()
{
    static const KEY_NAMES names;
    return names;
}

}  // namespace

// ---- Helpers ----

static const char *pick(const char *const *table, int16_t count, int16_t n)
{
    return n >= 0 && n < count ? table[n] : nullptr;
}

// The first `maximum` characters of text, upper-cased and without CP1250
// diacritics, into out (maximum + 1 bytes): the form that lets a user type a
// name with or without diacritics in either case.
static void fold(char *out, const char *text, int16_t maximum)
{
    ST_copy(out, text, maximum);
    CZ_upper(out);
    CZ_strip(out);
}

// ---- Number to name ----

const char *VOC_colour_name(int16_t colour)
{
    return colour >= 0 && colour < VOC_COLOURS ? colours[colour].shown : nullptr;
}

const char *VOC_raster_op_name(int16_t op) { return pick(raster_ops, VOC_COUNT(raster_ops), op); }

const char *VOC_raster_op_name_lower(int16_t op)
{
    return pick(raster_ops_lower, VOC_COUNT(raster_ops_lower), op);
}

const char *VOC_yes_no(int16_t flag) { return flag ? "Ano" : "Ne "; }

const char *VOC_unit_name(int16_t unit) { return pick(units, VOC_COUNT(units), unit); }

const char *VOC_pattern_name(int16_t pattern) { return pick(patterns, VOC_COUNT(patterns), pattern); }

const char *VOC_dot_style_name(int16_t style)
{
    const char *name = pick(dot_styles, VOC_COUNT(dot_styles), style);
    if (!name)
        WE_switch_error(SRC, __LINE__);
    return name;
}

const char *VOC_text_style_name(uint16_t style)
{
    enum { LONGEST = 50 };
    static char buffer[LONGEST + 1];
    const char *name = pick(text_styles, VOC_COUNT(text_styles), static_cast<int16_t>(style & 0xFF));
    ST_copy(buffer, name ? name : "???", LONGEST);
    if ((style >> 8) == 1)
        ST_append(buffer, " (RU)", LONGEST);
    return buffer;
}

const char *VOC_justify_name(int16_t justify)
{
    return pick(justifications, VOC_COUNT(justifications), justify);
}

const char *VOC_code_page_name(int16_t code_page)
{
    const char *name = pick(code_pages, VOC_COUNT(code_pages), static_cast<int16_t>(code_page - 1));
    return name ? name : "Nastavení při použití";
}

const char *VOC_key_name(int16_t key)
{
    return key >= 0 && key < VOC_KEYS ? key_names().name(key) : nullptr;
}

const char *VOC_text_window_name(int16_t position)
{
    return pick(text_windows, VOC_COUNT(text_windows), position);
}

const char *VOC_panning_name(int16_t panning) { return pick(pannings, VOC_COUNT(pannings), panning); }

const char *VOC_cursor_name(int16_t cursor) { return pick(cursors, VOC_COUNT(cursors), cursor); }

const char *VOC_toolbar_name(int16_t position) { return pick(toolbars, VOC_COUNT(toolbars), position); }

const char *VOC_number_text(double value, int16_t decimals)
{
    static char buffer[400];
    int places = abs(static_cast<int>(decimals));
    int length = snprintf(buffer, sizeof buffer, "%*.*f", places + 2, places, value);
    if (length < 0 || length >= static_cast<int>(sizeof buffer))
        WE_internal_error(SRC, __LINE__);   // cut at the buffer, still terminated
    return buffer;
}

// ---- Name to number ----

int16_t VOC_parse_colour(const char *text)
{
    enum { LONGEST = 20 };
    char cp1250[LONGEST + 1];
    char keybcs2[LONGEST + 1];
    char name[LONGEST + 1];
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 15;
    }
    fold(cp1250, text, LONGEST);
    ST_trim(cp1250);
    ST_copy(keybcs2, text, LONGEST);
    CZ_strip_keybcs2(keybcs2);
    CZ_upper(keybcs2);
    ST_trim(keybcs2);
    for (int16_t i = 0; i < VOC_COLOURS; i++) {
        const VOC_COLOUR &c = colours[i];
        fold(name, c.shown, LONGEST);
        const char *forms[] = {name, c.english, c.plain};
        for (const char *form : forms)
            if (form && (strcmp(form, cp1250) == 0 || strcmp(form, keybcs2) == 0))
                return i;
    }
    return 15;
}

int16_t VOC_parse_key(const char *text)
{
    enum { LONGEST = 80 };
    char name[LONGEST + 1];
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    ST_copy(name, text, LONGEST);
    ST_trim(name);
    for (int16_t key = 0; key < VOC_KEYS; key++)
        if (strcmp(key_names().name(key), name) == 0)
            return key;
    return 0;
}

int16_t VOC_parse_code_page(const char *text)
{
    enum { LONGEST = 80 };
    char folded[LONGEST + 1];
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    fold(folded, text, LONGEST);
    for (int16_t i = 0; i < VOC_COUNT(code_pages); i++)
        if (ST_find(folded, code_pages[i]))
            return static_cast<int16_t>(i + 1);
    return 0;
}

int16_t VOC_parse_yes(const char *text)
{
    enum { LONGEST = 5 };
    char folded[LONGEST + 1];
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    fold(folded, text, LONGEST);
    return ST_find(folded, "ON") || ST_find(folded, "YES") || ST_find(folded, "ANO");
}

int16_t VOC_parse_unit(const char *text)
{
    enum { LONGEST = 20 };
    char folded[LONGEST + 1];
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 1;
    }
    fold(folded, text, LONGEST);
    return ST_find(folded, "MM") ? 0 : 1;
}

int16_t VOC_parse_raster_op(const char *text)
{
    enum { LONGEST = 10 };
    char folded[LONGEST + 1];
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    fold(folded, text, LONGEST);
    if (ST_find(folded, "XOR"))
        return 3;
    if (ST_find(folded, "OR"))
        return 2;
    return ST_find(folded, "AND") ? 1 : 0;
}

// The exact-name readers share one shape: table, answer for anything else.
static int16_t parse_exact(const char *const *table, int16_t count, const char *text, int16_t fallback)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return fallback;
    }
    for (int16_t i = 0; i < count; i++)
        if (strcmp(table[i], text) == 0)
            return i;
    return fallback;
}

int16_t VOC_parse_text_window(const char *text)
{
    return parse_exact(text_windows, VOC_COUNT(text_windows), text, 2);
}

int16_t VOC_parse_panning(const char *text) { return parse_exact(pannings, VOC_COUNT(pannings), text, 1); }

int16_t VOC_parse_cursor(const char *text) { return parse_exact(cursors, VOC_COUNT(cursors), text, 0); }

int16_t VOC_parse_toolbar(const char *text) { return parse_exact(toolbars, VOC_COUNT(toolbars), text, 0); }
