#include "pack/ssc.h"

#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\pack\\ssc";

int16_t SSC_split_keyword(char *line, char *keyword, int16_t maximum)
{
    if (!line || !keyword || maximum < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int16_t n = ST_length(line);
    if (n > 0 && line[n - 1] == '\n')
        line[n - 1] = 0;
    ST_replace_char(line, '\t', ' ');
    ST_trim(line);
    if (!line[0])
        return 0;
    // The first word: up to the first blank (or the end); never empty after trimming.
    int16_t word = 0;
    while (line[word] && line[word] != ' ')
        word++;
    int16_t kept = word < maximum ? word : maximum;
    for (int16_t i = 0; i < kept; i++)
        keyword[i] = line[i];
    keyword[kept] = 0;
    char *rest = line + word;
    while (*rest == ' ')
        rest++;
    char *out = line;
    while (*rest)
        *out++ = *rest++;
    *out = 0;
    return 1;
}

int16_t SSC_equal(const char *a, const char *b)
{
    if (!a || !b) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return ST_compare_plain(a, b) == 0 ? 1 : 0;
}

int16_t SSC_remove_char(char *text, char c)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return ST_remove_char(text, c);
}

int16_t SSC_replace_char(char *text, char old_char, char new_char)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return ST_replace_char(text, old_char, new_char);
}

int16_t SSC_strip_zeros(char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *p = text;
    while (*p == '0')
        p++;
    char *out = text;
    while (*p)
        *out++ = *p++;
    *out = 0;
    return text[0] ? 1 : 0;
}

int16_t SSC_clean_line(char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!text[0] || text[0] == ';') {
        text[0] = 0;
        return 0;
    }
    ST_replace_char(text, '\n', ' ');
    ST_replace_char(text, '\r', ' ');
    if (char *comment = ST_find_char(text, ';'))
        *comment = 0;
    ST_replace_char(text, '\t', ' ');
    ST_trim(text);
    return text[0] ? 1 : 0;
}

int16_t SSC_take_between(char *text, char *out, int16_t maximum, char delimiter)
{
    if (!text || !out || maximum < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char *first = ST_find_char(text, delimiter);
    if (!first)
        return 0;
    char *second = ST_find_char(first + 1, delimiter);
    if (!second || second == first + 1)
        return 0;
    int16_t between = static_cast<int16_t>(second - first - 1);
    int16_t kept = between < maximum ? between : maximum;
    for (int16_t i = 0; i < kept; i++)
        out[i] = first[1 + i];
    out[kept] = 0;
    char *rest = second + 1;
    char *to = first;
    while (*rest)
        *to++ = *rest++;
    *to = 0;
    return 1;
}
