// Czech letters: case, base letter without diacritics, collation, and the
// conversion between the code pages the suite's files use. Texts are
// zero-terminated; bytes below 128 are never changed by anything here, and
// bytes of 128 and above that the tables do not list stay as they are.
#pragma once
#include <cstdint>

// Code page numbers (also the values of the "code page" settings).
enum : int16_t {
    CZ_KEYBCS2 = 1,   // Kamenický code page of the suite's older tools
    CZ_LATIN2 = 2,    // IBM code page 852
    CZ_CP1250 = 3,    // MS WINDOWS, the program's own text
    CZ_ASCII = 4,     // plain ASCII: letters without diacritics
};

// In place, CP1250: "a".."z" and the Czech small letters become capitals.
// 1 when anything changed, else 0 (also for a null text, with an internal-error report).
int16_t CZ_upper(char *text);
// In place, CP1250: "A".."Z" and the Czech capitals become small letters; 1 when anything changed.
int16_t CZ_lower(char *text);
// In place, CP1250: Czech letters become their base letters, keeping the case
// ("Příliš" -> "Prilis"); 1 when anything changed.
int16_t CZ_strip(char *text);
// As CZ_strip for a text in KEYBCS2.
int16_t CZ_strip_keybcs2(char *text);

// The same for one CP1250 character in place; 1 when it changed (0 for a null pointer, reported).
int16_t CZ_upper_char(char *c);
int16_t CZ_lower_char(char *c);
int16_t CZ_strip_char(char *c);

// Converts the text in place from code page `source` to `target` (numbers above;
// a source of 0 counts as KEYBCS2). To ASCII the Czech letters lose their
// diacritics. 1 when any character changed, else 0. From KEYBCS2 an unknown
// target changes nothing; from CP1250 any unknown target means KEYBCS2.
// Source ASCII: nothing, 1. Source LATIN2 is not supported: internal-error
// report, text unchanged, 0; an unknown source: switch-error report, 0.
int16_t CZ_convert(int16_t source, int16_t target, char *text);

// Czech order of the two CP1250 characters found at the first position where
// two texts differ: -1 when a sorts before b, 0 when equal, 1 when after.
// Letters sort alphabetically regardless of case and diacritics; within one
// letter the small one comes before the capital and the plain one before its
// accented forms ('c' < 'č' < 'd', 'a' < 'A'). "ch" is not one letter. Bytes of
// 128 and above that are not Czech letters sort before all ASCII characters.
int CZ_collate(unsigned char a, unsigned char b);
