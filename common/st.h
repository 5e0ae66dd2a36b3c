// Texts: bounded copy and append, case, searching, trimming and padding,
// comparison, wildcard matching and line picking on zero-terminated CP1250
// strings. Lengths and positions are 16-bit, so a text stays below 32768
// characters. A "maximum" counts characters without the terminator: the
// target must hold maximum + 1 bytes. Every function checks its pointers: a
// null text (or a missing argument) raises WE_internal_error and gives the
// failure result (0, or null for the searches), and nothing is written.
#pragma once
#include <cstdint>

// Byte put into the last kept position when ST_append has to cut its result.
#define ST_CUT_MARK '\xAF'

// Allocates a cleared text of length + 1 bytes (MM_alloc) into *text; the
// caller gives it back with ST_free. 1 on success; 0 with *text null on
// failure (a length below 0: internal error; no memory: low-memory report).
int16_t ST_alloc(int16_t length, char **text);
// Gives back a text of ST_alloc / ST_dup and sets *text to null; a null *text is accepted.
void ST_free(char **text);
// A new copy of text (ST_alloc of its length) into *copy; as ST_alloc otherwise.
int16_t ST_dup(const char *text, char **copy);
// The length of text; a null text counts 0 and raises nothing.
int16_t ST_length(const char *text);

// maximum 0: copies the whole source. maximum > 0: copies at most maximum
// characters and always terminates (target[maximum] at the latest).
// 1 when the whole source was copied, 0 when it had to be cut (the target
// then holds the cut text) or on a null argument.
int16_t ST_copy(char *target, const char *source, int16_t maximum);
// maximum 0 or a result within maximum: plain append, 1. Otherwise appends
// until the target holds maximum characters, puts ST_CUT_MARK into the last
// of them, terminates, and gives 0. A target already longer than maximum is
// cut the same way.
int16_t ST_append(char *target, const char *source, int16_t maximum);
// Appends one character; 0 with the target unchanged when maximum > 0 and the
// result would pass it (or the character is the terminator).
int16_t ST_append_char(char *target, char c, int16_t maximum);
// A non-empty target first gets "\n", then the line; both through ST_append
// with maximum (0 when anything was cut).
int16_t ST_append_line(char *target, int16_t maximum, const char *line);
// Copies line n (from 1) of a text whose lines are separated by "\n", without
// its line feed, into out (at most maximum characters; 0 = no bound). Past the
// last line out is empty and the result 0; 1 when the line was copied whole.
int16_t ST_get_line(int16_t n, const char *text, char *out, int16_t maximum);

// Czech upper / lower case in place (CZ_upper / CZ_lower); 1, or 0 for null.
int16_t ST_upper(char *text);
int16_t ST_lower(char *text);
// Every occurrence of old_c becomes new_c in place; 1, or 0 for null.
int16_t ST_replace_char(char *text, char old_c, char new_c);
// Every occurrence of c is removed in place; 1, or 0 for null.
int16_t ST_remove_char(char *text, char c);

// First / last occurrence of c (the terminator is never found), or null.
const char *ST_find_char(const char *text, char c);
char *ST_find_char(char *text, char c);
const char *ST_find_last(const char *text, char c);
char *ST_find_last(char *text, char c);
// First occurrence of part (an empty part is found at the start), or null.
const char *ST_find(const char *text, const char *part);
char *ST_find(char *text, const char *part);
// Takes the characters of set in their order and gives the first occurrence
// in text of the first of them that occurs at all (not the earliest position
// of any of them); null when none occurs.
const char *ST_find_any(const char *text, const char *set);
char *ST_find_any(char *text, const char *set);
// 1 when every character of text is in set (an empty text gives 1).
int16_t ST_consists_of(const char *text, const char *set);
// 1 for "0" to "9".
int16_t ST_is_digit(char c);

// Removes leading and trailing blanks and tabs in place; 1 when something
// remains, 0 for an empty result (or a null text).
int16_t ST_trim(char *text);
// Removes leading and trailing blanks and makes every inner run of blanks one
// blank; an all-blank text becomes empty. 1, or 0 for null.
int16_t ST_squeeze(char *text);
// A text shorter than width is filled with fill up to width; a text of width
// characters or more is cut to width with ">" as its last character. The text
// must hold width + 1 bytes. 1, or 0 for null / a width below 0.
int16_t ST_pad(char *text, int16_t width, char fill);
// ST_pad with a blank.
int16_t ST_pad_blank(char *text, int16_t width);
// Right-aligns the text in width by leading blanks; a text of width characters
// or more is cut to width with "|" as its last character. The text must hold
// width + 1 bytes. Length + width above 80 is an internal error (0, unchanged).
int16_t ST_pad_left(char *text, int16_t width);

// Comparisons: below 0, 0 or above 0. A null text is smaller than any text;
// two nulls are equal. None of them reports a null text.
// First bytes as signed characters (bytes of 128 and above come before
// ASCII); when they are equal, the rest byte by byte as unsigned values; the
// result is the difference of the first differing bytes. The ordinary order.
int16_t ST_compare_plain(const char *a, const char *b);
// ST_trim of both texts in place, then ST_compare_plain.
int16_t ST_compare_trimmed(char *a, char *b);
// Czech collation (CZ_collate) at the first differing position; a text that
// ends first is smaller. Exactly -1, 0 or 1.
int16_t ST_compare(const char *a, const char *b);
// As ST_compare, with every "&" (menu accelerator mark) passed over. Exactly -1, 0 or 1.
int16_t ST_compare_menu(const char *a, const char *b);
// Texts both shorter than 100 characters: leading parts without digits by
// ST_compare, then the digit runs after them by numeric value (no digit run
// before any digit run), then the rests by ST_compare ("x9" before "x10").
// Longer texts by ST_compare alone.
int16_t ST_compare_natural(const char *a, const char *b);
// Both texts right-aligned with leading blanks to the longer length, then
// ST_compare_plain: numbers compare by size.
int16_t ST_compare_right(const char *a, const char *b);
// 1 when the two texts, squeezed, stripped of diacritics and upper-cased, are
// equal; else 0 (also when either is null).
int16_t ST_equal_words(const char *a, const char *b);

// Wildcard match of text against pattern: "?" is any one character, "*" any
// run. A "*" after a fixed start needs at least one more text character ("abc*"
// does not match "abc"); after a "*" the text goes on at the first occurrence
// of the next pattern character and no other split is tried ("*a.txt" does not
// match "banana.txt"). Case matters. 1 on a match, else 0.
int16_t ST_match(const char *text, const char *pattern);
