// Option vocabularies: the words the suite stores and shows instead of numbers
// (colours, keys, code pages, window and toolbar positions, styles), number to
// name and name to number. Names are constant CP1250 texts that the caller must
// not change or free; the functions that say so return one static buffer of
// their own instead, overwritten by their next call.
#pragma once
#include <cstdint>

// Number of colours (0 .. 15) and of toolkit key codes (0 .. 367).
enum : int16_t {
    VOC_COLOURS = 16,
    VOC_KEYS = 368,
};

// ---- Number to name (null for a number outside the table unless said) ----

// Displayed Czech colour name, 0 "černá" .. 15 "bílá".
const char *VOC_colour_name(int16_t colour);
// Raster operation 0 .. 3: "REPLACE", "AND", "OR", "XOR".
const char *VOC_raster_op_name(int16_t op);
// The same in small letters, except "XOR": "replace", "and", "or", "XOR".
const char *VOC_raster_op_name_lower(int16_t op);
// "Ano" for any non-zero flag, "Ne " (three characters, for aligned columns) for 0.
const char *VOC_yes_no(int16_t flag);
// Length unit 0 .. 4: "mm", "mils", "m", "km", "inch".
const char *VOC_unit_name(int16_t unit);
// Line and fill pattern 0 .. 12: "Plný" .. "vzor_8".
const char *VOC_pattern_name(int16_t pattern);
// Dot style 0 "jednoduchá tečka", 1 "dvojitá tečka   "; any other value
// raises the switch-error report and gives null.
const char *VOC_dot_style_name(int16_t style);
// Text style: the low byte 0 .. 5 names the style ("Jednoduchý-1/1" ..
// "Šikmý-1/2", any other "???"); a high byte of 1 appends " (RU)".
// Static buffer of at most 50 characters; never null.
const char *VOC_text_style_name(uint16_t style);
// Text justification 0 "střed-střed" .. 8 "nahoře-vpravo".
const char *VOC_justify_name(int16_t justify);
// Code page 1 "KEYBCS2", 2 "LATIN2", 3 "CP1250", 4 "ASCII"; any other number
// "Nastavení při použití"; never null.
const char *VOC_code_page_name(int16_t code_page);
// Toolkit key code 0 .. 367: "KB_null", "Control+Break", "Enter", "Shift+Enter", ...
const char *VOC_key_name(int16_t key);
// Text window position 0 .. 5: "NO_TEXT_WINDOW" .. "FLOATING_TEXT_WINDOW".
const char *VOC_text_window_name(int16_t position);
// Panning 0 .. 3: "NO_PANNING" .. "BOTH_PANNING".
const char *VOC_panning_name(int16_t panning);
// Cursor 0 .. 2: "NORMAL_CURSOR", "LINE_CURSOR", "OBLIQUE_LINE_CURSOR".
const char *VOC_cursor_name(int16_t cursor);
// Toolbar position 0 .. 5: "TOP_TOOLBAR" .. "HIDDEN_TOOLBAR".
const char *VOC_toolbar_name(int16_t position);

// The value with |decimals| decimals in a field of |decimals| + 2 characters
// ("%*.*f"); 3.14159 with 2 gives "3.14". Static buffer; never null.
const char *VOC_number_text(double value, int16_t decimals);

// ---- Name to number ----
// None of these fails: a text that names nothing gives the value noted. A null
// text raises the internal-error report and gives that same value.

// Colour index 0 .. 15 from the displayed name, the English name ("LIGHTBLUE")
// or the Czech name without diacritics ("SVETLEMODRA"), in any case, in CP1250
// or KEYBCS2; the first 20 characters count. Unknown: 15.
int16_t VOC_parse_colour(const char *text);
// Key code from its exact name, trimmed (the first 80 characters count). Unknown: 0.
int16_t VOC_parse_key(const char *text);
// Code page 1 .. 4 when the text (upper-cased, without diacritics, first 80
// characters) contains "KEYBCS2", "LATIN2", "CP1250" or "ASCII", tested in
// that order. Else 0.
int16_t VOC_parse_code_page(const char *text);
// 1 when the first 5 characters (upper-cased, without diacritics) contain
// "ON", "YES" or "ANO"; else 0.
int16_t VOC_parse_yes(const char *text);
// 0 (millimetres) when the first 20 characters (upper-cased, without
// diacritics) contain "MM"; else 1 (mils).
int16_t VOC_parse_unit(const char *text);
// Raster operation from the first 10 characters (upper-cased, without
// diacritics): containing "XOR" 3, else "OR" 2, else "AND" 1, else 0.
int16_t VOC_parse_raster_op(const char *text);
// Exact names of the position tables above. Unknown: 2, 1, 0 and 0.
int16_t VOC_parse_text_window(const char *text);
int16_t VOC_parse_panning(const char *text);
int16_t VOC_parse_cursor(const char *text);
int16_t VOC_parse_toolbar(const char *text);
