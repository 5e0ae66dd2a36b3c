// Czech letters and code pages.
#include "common/cz.h"

#include "win/we.h"

static const char SRC[] = "..\\common\\cz";

// One character in the three 8-bit code pages, and its base letter. The first
// 36 rows are the Czech (and Slovak) letters, each small letter followed by its
// capital: the row pairs give the case forms. The last two rows (the
// guillemets) take part only in the conversion.
struct CZ_ROW {
    unsigned char code[3];   // indexed by CZ_COLUMN
    unsigned char base;      // the letter without diacritic, same case
};
enum CZ_COLUMN { CZ_COL_KEYBCS2 = 0, CZ_COL_LATIN2 = 1, CZ_COL_CP1250 = 2 };

static const CZ_ROW CZ_TABLE[] = {
    {{0xA0, 0xA0, 0xE1}, 'a'}, {{0x8F, 0xB5, 0xC1}, 'A'},   // á Á
    {{0x82, 0x82, 0xE9}, 'e'}, {{0x90, 0x90, 0xC9}, 'E'},   // é É
    {{0xA1, 0xA1, 0xED}, 'i'}, {{0x8B, 0xD6, 0xCD}, 'I'},   // í Í
    {{0xA2, 0xA2, 0xF3}, 'o'}, {{0x95, 0xE0, 0xD3}, 'O'},   // ó Ó
    {{0xA3, 0xA3, 0xFA}, 'u'}, {{0x97, 0xE9, 0xDA}, 'U'},   // ú Ú
    {{0x98, 0xEC, 0xFD}, 'y'}, {{0x9D, 0xED, 0xDD}, 'Y'},   // ý Ý
    {{0x87, 0x9F, 0xE8}, 'c'}, {{0x80, 0xAC, 0xC8}, 'C'},   // č Č
    {{0x83, 0xD4, 0xEF}, 'd'}, {{0x85, 0xD2, 0xCF}, 'D'},   // ď Ď
    {{0x88, 0xD8, 0xEC}, 'e'}, {{0x89, 0xB7, 0xCC}, 'E'},   // ě Ě
    {{0xA4, 0xE5, 0xF2}, 'n'}, {{0xA5, 0xD5, 0xD2}, 'N'},   // ň Ň
    {{0xA9, 0xFD, 0xF8}, 'r'}, {{0x9E, 0xFC, 0xD8}, 'R'},   // ř Ř
    {{0xA8, 0xE7, 0x9A}, 's'}, {{0x9B, 0xE6, 0x8A}, 'S'},   // š Š
    {{0x9F, 0x9C, 0x9D}, 't'}, {{0x86, 0x9B, 0x8D}, 'T'},   // ť Ť
    {{0x96, 0x85, 0xF9}, 'u'}, {{0xA6, 0xDE, 0xD9}, 'U'},   // ů Ů
    {{0x91, 0xA7, 0x9E}, 'z'}, {{0x92, 0xA6, 0x8E}, 'Z'},   // ž Ž
    {{0x8D, 0x92, 0xE5}, 'l'}, {{0x8A, 0x91, 0xC5}, 'L'},   // ĺ Ĺ
    {{0x8C, 0x96, 0xBE}, 'l'}, {{0x9C, 0x95, 0xBC}, 'L'},   // ľ Ľ
    {{0x93, 0x93, 0xF4}, 'o'}, {{0xA7, 0xE2, 0xD4}, 'O'},   // ô Ô
    {{0xAE, 0xAE, 0xAB}, 0},   {{0xAF, 0xAF, 0xBB}, 0},     // « »
};
static const int CZ_ROWS = sizeof CZ_TABLE / sizeof CZ_TABLE[0];
static const int CZ_LETTER_ROWS = 36;

// The first row whose byte in the column is c (only among the first `rows`); -1 if none.
static int cz_find(CZ_COLUMN column, unsigned char c, int rows) {
    if (c < 128) {
        return -1;
    }
    for (int r = 0; r < rows; r++) {
        if (CZ_TABLE[r].code[column] == c) {
            return r;
        }
    }
    return -1;
}

enum CZ_FORM { FORM_UPPER, FORM_LOWER, FORM_BASE };

// One character in the given form, in the code page of the column.
static unsigned char cz_form(CZ_COLUMN column, unsigned char c, CZ_FORM form) {
    if (c < 128) {
        switch (form) {
        case FORM_UPPER:
            return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
        case FORM_LOWER:
            return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
        case FORM_BASE:
            return c;
        }
    }
    const int r = cz_find(column, c, CZ_LETTER_ROWS);
    if (r < 0) {
        return c;
    }
    switch (form) {
    case FORM_UPPER:
        return CZ_TABLE[r | 1].code[column];
    case FORM_LOWER:
        return CZ_TABLE[r & ~1].code[column];
    case FORM_BASE:
        return CZ_TABLE[r].base;
    }
    return c;
}

// The whole text in the given form, in place; 1 when anything changed.
static int16_t cz_text_form(CZ_COLUMN column, char *text, CZ_FORM form, int16_t line) {
    if (text == nullptr) {
        WE_internal_error(SRC, line);
        return 0;
    }
    int16_t changed = 0;
    for (char *p = text; *p != '\0'; p++) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const unsigned char d = cz_form(column, c, form);
        if (d != c) {
            *p = static_cast<char>(d);
            changed = 1;
        }
    }
    return changed;
}

static int16_t cz_char_form(char *c, CZ_FORM form, int16_t line) {
    if (c == nullptr) {
        WE_internal_error(SRC, line);
        return 0;
    }
    const unsigned char old = static_cast<unsigned char>(*c);
    const unsigned char d = cz_form(CZ_COL_CP1250, old, form);
    *c = static_cast<char>(d);
    return d != old ? 1 : 0;
}

int16_t CZ_upper(char *text) {
    return cz_text_form(CZ_COL_CP1250, text, FORM_UPPER, __LINE__);
}

int16_t CZ_lower(char *text) {
    return cz_text_form(CZ_COL_CP1250, text, FORM_LOWER, __LINE__);
}

int16_t CZ_strip(char *text) {
    return cz_text_form(CZ_COL_CP1250, text, FORM_BASE, __LINE__);
}

int16_t CZ_strip_keybcs2(char *text) {
    return cz_text_form(CZ_COL_KEYBCS2, text, FORM_BASE, __LINE__);
}

int16_t CZ_upper_char(char *c) {
    return cz_char_form(c, FORM_UPPER, __LINE__);
}

int16_t CZ_lower_char(char *c) {
    return cz_char_form(c, FORM_LOWER, __LINE__);
}

int16_t CZ_strip_char(char *c) {
    return cz_char_form(c, FORM_BASE, __LINE__);
}

// Replaces every byte of the `from` column by the same row's byte of the `to` column.
static int16_t cz_map(CZ_COLUMN from, CZ_COLUMN to, char *text) {
    int16_t changed = 0;
    for (char *p = text; *p != '\0'; p++) {
        const int r = cz_find(from, static_cast<unsigned char>(*p), CZ_ROWS);
        if (r >= 0 && CZ_TABLE[r].code[to] != static_cast<unsigned char>(*p)) {
            *p = static_cast<char>(CZ_TABLE[r].code[to]);
            changed = 1;
        }
    }
    return changed;
}

int16_t CZ_convert(int16_t source, int16_t target, char *text) {
    if (text == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    switch (source) {
    case 0:
    case CZ_KEYBCS2:
        switch (target) {
        case CZ_LATIN2:
            return cz_map(CZ_COL_KEYBCS2, CZ_COL_LATIN2, text);
        case CZ_CP1250:
            return cz_map(CZ_COL_KEYBCS2, CZ_COL_CP1250, text);
        case CZ_ASCII:
            return CZ_strip_keybcs2(text);
        default:
            return 0;
        }
    case CZ_CP1250:
        switch (target) {
        case CZ_LATIN2:
            return cz_map(CZ_COL_CP1250, CZ_COL_LATIN2, text);
        case CZ_CP1250:
            return 0;
        case CZ_ASCII:
            return CZ_strip(text);
        default:
            return cz_map(CZ_COL_CP1250, CZ_COL_KEYBCS2, text);
        }
    case CZ_LATIN2:
        // Nothing in the suite reads LATIN2 text.
        WE_internal_error(SRC, __LINE__);
        return 0;
    case CZ_ASCII:
        return 1;
    default:
        WE_switch_error(SRC, __LINE__);
        return 0;
    }
}

int CZ_collate(unsigned char a, unsigned char b) {
    if (a == b) {
        return 0;
    }
    const unsigned char ua = cz_form(CZ_COL_CP1250, a, FORM_UPPER);
    const unsigned char ub = cz_form(CZ_COL_CP1250, b, FORM_UPPER);
    const unsigned char sa = cz_form(CZ_COL_CP1250, a, FORM_BASE);
    const unsigned char sb = cz_form(CZ_COL_CP1250, b, FORM_BASE);
    if (ua == ub) {
        // Differ in case only: the small letter first.
        return sa <= sb ? 1 : -1;
    }
    // The letter first, regardless of case and diacritic; as signed bytes, so
    // that the other characters above 127 come before all ASCII ones.
    const signed char la = static_cast<signed char>(cz_form(CZ_COL_CP1250, sa, FORM_UPPER));
    const signed char lb = static_cast<signed char>(cz_form(CZ_COL_CP1250, sb, FORM_UPPER));
    if (la != lb) {
        return la > lb ? 1 : -1;
    }
    // One letter in two forms: the plain one before the accented ones (all of
    // which lie above ASCII), and the accented ones in code order of their
    // capitals. Ordering by the capitals also when the case differs keeps the
    // order consistent: c < C < č < Č.
    return ua >= ub ? 1 : -1;
}
