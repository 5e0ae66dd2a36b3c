// Value readers: take one keyword, separator, number or list of numbers off
// the front of a text. Each reader works in place on a zero-terminated CP1250
// text (the caller's working copy): on success it stores the value and removes
// what it consumed from the front of the text, on failure it returns 0 and
// leaves both the text and the value unchanged. Blanks are spaces and tabs.
// A null argument raises the internal-error report and fails.
#pragma once
#include <cstdint>

// Trims the text; when it then begins with the keyword (exact case), removes
// the keyword (what follows is not trimmed). 0 for an empty text or keyword,
// or a text that does not begin with the keyword.
int16_t SCAN_keyword(char *text, const char *keyword);
// Separator: leading blanks and then one `c` if it comes next are removed.
// 1 when a `c` or at least one blank was removed; 0 (nothing removed) for an
// empty text or one that begins with any other character.
int16_t SCAN_expect(char *text, char c);
// Removes everything up to and including the first `c`; 0 when there is none.
int16_t SCAN_skip_past(char *text, char c);

// Decimal integer: leading blanks, signs ("+" or "-", the last one counts),
// then digits; the number ends at the first other character (a sign after a
// digit included). Everything up to the last digit is removed. 0 without a
// digit, or for a value outside the 32-bit range.
int16_t SCAN_int32(char *text, int32_t *value);
// As SCAN_int32, keeping the low 16 bits (70000 gives 4464).
int16_t SCAN_int16(char *text, int16_t *value);
// As SCAN_int32; 0 for a value outside -128 .. 127.
int16_t SCAN_int8(char *text, int8_t *value);
// Two or four integers, each but the last followed by an optional separator
// (SCAN_expect with ","). All or nothing.
int16_t SCAN_int_pair(char *text, int32_t *a, int32_t *b);
int16_t SCAN_int_quad(char *text, int32_t *a, int32_t *b, int32_t *c, int32_t *d);

// Hexadecimal value: leading blanks and an optional "0x" or "0X", then the
// digits 0-9, A-F, a-f up to the first other character. 0 without a digit or
// when the value does not fit the width.
int16_t SCAN_hex32(char *text, uint32_t *value);
int16_t SCAN_hex16(char *text, uint16_t *value);
int16_t SCAN_hex8(char *text, uint8_t *value);

// Decimal real: after trimming, an optional "+" or "-", then digits with at
// most one "." (no exponent); the number ends at the first other character.
// On success the number is removed and the rest trimmed ("-2.50 mm" leaves
// "mm"). 0 for an empty text, no digit, a second "." in the number, or digits
// that (without the point) pass the 64-bit range. The value is the digits as
// a whole number divided by 10 to the number of decimals, rounded to the
// result's precision, so that a value written with "%f" reads back.
int16_t SCAN_real(char *text, float *value);
int16_t SCAN_double(char *text, double *value);
// Two reals with an optional separator (SCAN_expect with ",") between them.
int16_t SCAN_real_pair(char *text, float *a, float *b);
int16_t SCAN_double_pair(char *text, double *a, double *b);
// A real (SCAN_double) divided by the unit factor and rounded half away from
// zero. 0 for a factor of 0 (internal-error report) or a result outside the
// 32-bit range.
int16_t SCAN_real_units(char *text, double factor, int32_t *value);
// Two such values with an optional separator between them.
int16_t SCAN_real_units_pair(char *text, double factor, int32_t *a, int32_t *b);
