// Line scanner: small in-place operations on keyword lines (zero-terminated
// CP1250 texts). A missing text or output buffer is an internal error and 0.
#pragma once
#include <cstdint>

// Takes the first word of the line as keyword (bounded to `maximum` characters,
// the output must hold maximum + 1 bytes): one trailing line feed is removed,
// tabs become blanks, the line is trimmed, then it loses the keyword and the
// blanks after it. 1 when a keyword was taken; 0 for an empty line (keyword untouched).
int16_t SSC_split_keyword(char *line, char *keyword, int16_t maximum);
// 1 when the two texts are equal byte for byte, else 0.
int16_t SSC_equal(const char *a, const char *b);
// Removes every occurrence of the character; 1.
int16_t SSC_remove_char(char *text, char c);
// Replaces every occurrence of old by new; 1.
int16_t SSC_replace_char(char *text, char old_char, char new_char);
// Removes leading "0" characters; 1 when text remains, else 0.
int16_t SSC_strip_zeros(char *text);
// Line feeds and carriage returns become blanks, the text is cut at the first
// ";", tabs become blanks, leading and trailing blanks go; 1 when text remains.
int16_t SSC_clean_line(char *text);
// Finds the first two delimiters: the characters between them go to out
// (bounded to `maximum`, out holds maximum + 1 bytes) and the text loses
// everything from the first delimiter through the second; 1. With fewer than
// two delimiters, or nothing between them: 0 and nothing changes.
int16_t SSC_take_between(char *text, char *out, int16_t maximum, char delimiter);
