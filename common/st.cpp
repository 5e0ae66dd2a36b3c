#include "common/st.h"

#include <algorithm>
#include <cstring>

#include "common/cz.h"
#include "common/mm.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\st";

namespace {

const size_t TEXT_LIMIT = 32767;   // 16-bit lengths
const size_t PAD_LEFT_LIMIT = 80;
const size_t NATURAL_LIMIT = 100;

// 1 when every pointer is there; otherwise the internal-error report for the caller's line.
bool present(int line, const void *a, const void *b = "")
{
    if (a && b)
        return true;
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

// A negative maximum or width is a broken precondition.
bool bound_ok(int16_t bound, int line)
{
    if (bound >= 0)
        return true;
    WE_internal_error(SRC, static_cast<int16_t>(line));
    return false;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// -1, 0 or 1 for the order of a[0..la) and b[0..lb) in the Czech collation;
// with skip_amp every "&" is passed over in both.
int16_t collate(const char *a, size_t la, const char *b, size_t lb, bool skip_amp)
{
    size_t i = 0, j = 0;
    for (;;) {
        if (skip_amp) {
            while (i < la && a[i] == '&')
                ++i;
            while (j < lb && b[j] == '&')
                ++j;
        }
        const bool end_a = i >= la, end_b = j >= lb;
        if (end_a || end_b)
            return end_a && end_b ? 0 : end_a ? -1 : 1;
        if (a[i] != b[j])
            return static_cast<int16_t>(CZ_collate(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[j])));
        ++i;
        ++j;
    }
}

// Order of null texts: null before any text; 2 when neither is null.
int16_t null_order(const char *a, const char *b)
{
    if (a && b)
        return 2;
    return a ? 1 : b ? -1 : 0;
}

// A text seen at a width: pad leading blanks, then the text, then zeros.
struct ALIGNED {
    const char *text;
    size_t length;
    size_t pad;
    char operator()(size_t i) const
    {
        if (i < pad)
            return ' ';
        i -= pad;
        return i < length ? text[i] : 0;
    }
};

// Plain order over the first n positions: the first bytes as signed
// characters, the rest as unsigned bytes.
int16_t plain_order(size_t n, const ALIGNED &a, const ALIGNED &b)
{
    if (n == 0)
        return 0;
    const signed char fa = static_cast<signed char>(a(0)), fb = static_cast<signed char>(b(0));
    if (fa != fb)
        return static_cast<int16_t>(fa - fb);
    for (size_t i = 1; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(a(i)), cb = static_cast<unsigned char>(b(i));
        if (ca != cb)
            return static_cast<int16_t>(ca - cb);
    }
    return 0;
}

// Reads a text as ST_squeeze would leave it, one character at a time.
struct SQUEEZED {
    const char *p;
    explicit SQUEEZED(const char *text) : p(text)
    {
        while (*p == ' ')
            ++p;
    }
    // The next character, 0 at the end.
    char next()
    {
        if (*p == ' ') {
            while (*p == ' ')
                ++p;
            return *p ? ' ' : 0;
        }
        return *p ? *p++ : 0;
    }
};

// The compared form of a character in ST_equal_words.
char word_char(char c)
{
    CZ_strip_char(&c);
    CZ_upper_char(&c);
    return c;
}

// -1, 0, 1 for two runs of decimal digits by their value; an absent run (n 0)
// comes before any run.
int16_t compare_numbers(const char *a, size_t na, const char *b, size_t nb)
{
    if (na == 0 || nb == 0)
        return na ? 1 : nb ? -1 : 0;
    while (na > 1 && *a == '0') {
        ++a;
        --na;
    }
    while (nb > 1 && *b == '0') {
        ++b;
        --nb;
    }
    if (na != nb)
        return na < nb ? -1 : 1;
    const int c = std::memcmp(a, b, na);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

int16_t ST_alloc(int16_t length, char **text)
{
    if (!present(__LINE__, text))
        return 0;
    *text = nullptr;
    if (!bound_ok(length, __LINE__))
        return 0;
    *text = static_cast<char *>(MM_alloc(length + 1, 1, SRC, __LINE__));
    if (!*text) {
        WE_low_memory();
        return 0;
    }
    return 1;
}

void ST_free(char **text)
{
    if (!present(__LINE__, text))
        return;
    MM_free(*text, SRC, __LINE__);
    *text = nullptr;
}

int16_t ST_dup(const char *text, char **copy)
{
    if (!present(__LINE__, text, copy))
        return 0;
    *copy = nullptr;
    const size_t n = std::strlen(text);
    if (n > TEXT_LIMIT) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!ST_alloc(static_cast<int16_t>(n), copy))
        return 0;
    std::memcpy(*copy, text, n);
    return 1;
}

int16_t ST_length(const char *text)
{
    if (!text)
        return 0;
    const size_t n = std::strlen(text);
    if (n > TEXT_LIMIT) {
        WE_internal_error(SRC, __LINE__);
        return static_cast<int16_t>(TEXT_LIMIT);
    }
    return static_cast<int16_t>(n);
}

int16_t ST_copy(char *target, const char *source, int16_t maximum)
{
    if (!present(__LINE__, target, source) || !bound_ok(maximum, __LINE__))
        return 0;
    const size_t n = std::strlen(source);
    if (maximum == 0 || n <= static_cast<size_t>(maximum)) {
        std::memmove(target, source, n + 1);
        return 1;
    }
    std::memmove(target, source, static_cast<size_t>(maximum));
    target[maximum] = 0;
    return 0;
}

int16_t ST_append(char *target, const char *source, int16_t maximum)
{
    if (!present(__LINE__, target, source) || !bound_ok(maximum, __LINE__))
        return 0;
    const size_t have = std::strlen(target), add = std::strlen(source);
    const size_t limit = static_cast<size_t>(maximum);
    if (maximum == 0 || have + add <= limit) {
        std::memmove(target + have, source, add + 1);
        return 1;
    }
    if (have < limit)
        std::memmove(target + have, source, limit - have);
    target[limit] = 0;
    if (limit > 0)
        target[limit - 1] = ST_CUT_MARK;
    return 0;
}

int16_t ST_append_char(char *target, char c, int16_t maximum)
{
    if (!present(__LINE__, target) || !bound_ok(maximum, __LINE__))
        return 0;
    const size_t have = std::strlen(target);
    if (c == 0 || (maximum > 0 && have + 1 > static_cast<size_t>(maximum)))
        return 0;
    target[have] = c;
    target[have + 1] = 0;
    return 1;
}

int16_t ST_append_line(char *target, int16_t maximum, const char *line)
{
    if (!present(__LINE__, target, line) || !bound_ok(maximum, __LINE__))
        return 0;
    int16_t whole = 1;
    if (*target)
        whole = ST_append(target, "\n", maximum);
    return ST_append(target, line, maximum) && whole;
}

int16_t ST_get_line(int16_t n, const char *text, char *out, int16_t maximum)
{
    if (!present(__LINE__, text, out))
        return 0;
    *out = 0;
    if (!bound_ok(maximum, __LINE__))
        return 0;
    if (n < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *p = text;
    for (int16_t i = 1; i < n; ++i) {
        p = std::strchr(p, '\n');
        if (!p)
            return 0;
        ++p;
    }
    const char *end = std::strchr(p, '\n');
    size_t len = end ? static_cast<size_t>(end - p) : std::strlen(p);
    int16_t whole = 1;
    if (maximum > 0 && len > static_cast<size_t>(maximum)) {
        len = static_cast<size_t>(maximum);
        whole = 0;
    }
    std::memcpy(out, p, len);
    out[len] = 0;
    return whole;
}

int16_t ST_upper(char *text)
{
    if (!present(__LINE__, text))
        return 0;
    CZ_upper(text);
    return 1;
}

int16_t ST_lower(char *text)
{
    if (!present(__LINE__, text))
        return 0;
    CZ_lower(text);
    return 1;
}

int16_t ST_replace_char(char *text, char old_c, char new_c)
{
    if (!present(__LINE__, text))
        return 0;
    if (old_c == 0)
        return 1;
    for (char *p = text; *p; ++p)
        if (*p == old_c)
            *p = new_c;
    return 1;
}

int16_t ST_remove_char(char *text, char c)
{
    if (!present(__LINE__, text))
        return 0;
    char *out = text;
    for (const char *p = text; *p; ++p)
        if (*p != c)
            *out++ = *p;
    *out = 0;
    return 1;
}

const char *ST_find_char(const char *text, char c)
{
    if (!present(__LINE__, text) || c == 0)
        return nullptr;
    return std::strchr(text, c);
}

char *ST_find_char(char *text, char c)
{
    return const_cast<char *>(ST_find_char(static_cast<const char *>(text), c));
}

const char *ST_find_last(const char *text, char c)
{
    if (!present(__LINE__, text) || c == 0)
        return nullptr;
    return std::strrchr(text, c);
}

char *ST_find_last(char *text, char c)
{
    return const_cast<char *>(ST_find_last(static_cast<const char *>(text), c));
}

const char *ST_find(const char *text, const char *part)
{
    if (!present(__LINE__, text, part))
        return nullptr;
    return std::strstr(text, part);
}

char *ST_find(char *text, const char *part)
{
    return const_cast<char *>(ST_find(static_cast<const char *>(text), part));
}

const char *ST_find_any(const char *text, const char *set)
{
    if (!present(__LINE__, text, set))
        return nullptr;
    for (const char *s = set; *s; ++s) {
        const char *hit = std::strchr(text, *s);
        if (hit)
            return hit;
    }
    return nullptr;
}

char *ST_find_any(char *text, const char *set)
{
    return const_cast<char *>(ST_find_any(static_cast<const char *>(text), set));
}

int16_t ST_consists_of(const char *text, const char *set)
{
    if (!present(__LINE__, text, set))
        return 0;
    for (const char *p = text; *p; ++p)
        if (!std::strchr(set, *p))
            return 0;
    return 1;
}

int16_t ST_is_digit(char c) { return c >= '0' && c <= '9'; }

int16_t ST_trim(char *text)
{
    if (!present(__LINE__, text))
        return 0;
    const char *start = text;
    while (is_blank(*start))
        ++start;
    size_t n = std::strlen(start);
    while (n > 0 && is_blank(start[n - 1]))
        --n;
    std::memmove(text, start, n);
    text[n] = 0;
    return n > 0;
}

int16_t ST_squeeze(char *text)
{
    if (!present(__LINE__, text))
        return 0;
    // The squeezed text is never longer than the text, so it can be written over it.
    SQUEEZED in(text);
    char *out = text;
    for (char c = in.next(); c; c = in.next())
        *out++ = c;
    *out = 0;
    return 1;
}

int16_t ST_pad(char *text, int16_t width, char fill)
{
    if (!present(__LINE__, text) || !bound_ok(width, __LINE__))
        return 0;
    const size_t n = std::strlen(text), w = static_cast<size_t>(width);
    if (n < w) {
        std::memset(text + n, fill, w - n);
    } else if (w > 0) {
        text[w - 1] = '>';
    }
    text[w] = 0;
    return 1;
}

int16_t ST_pad_blank(char *text, int16_t width) { return ST_pad(text, width, ' '); }

int16_t ST_pad_left(char *text, int16_t width)
{
    if (!present(__LINE__, text) || !bound_ok(width, __LINE__))
        return 0;
    const size_t n = std::strlen(text), w = static_cast<size_t>(width);
    if (n + w > PAD_LEFT_LIMIT) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (n < w) {
        std::memmove(text + (w - n), text, n);
        std::memset(text, ' ', w - n);
    } else if (w > 0) {
        text[w - 1] = '|';
    }
    text[w] = 0;
    return 1;
}

int16_t ST_compare_plain(const char *a, const char *b)
{
    const int16_t order = null_order(a, b);
    if (order != 2)
        return order;
    // The terminators take part, so that a text that ends first is decided there.
    const size_t la = std::strlen(a), lb = std::strlen(b);
    return plain_order(std::max(la, lb) + 1, ALIGNED{a, la, 0}, ALIGNED{b, lb, 0});
}

int16_t ST_compare_trimmed(char *a, char *b)
{
    if (a)
        ST_trim(a);
    if (b)
        ST_trim(b);
    return ST_compare_plain(a, b);
}

int16_t ST_compare(const char *a, const char *b)
{
    const int16_t order = null_order(a, b);
    if (order != 2)
        return order;
    return collate(a, std::strlen(a), b, std::strlen(b), false);
}

int16_t ST_compare_menu(const char *a, const char *b)
{
    const int16_t order = null_order(a, b);
    if (order != 2)
        return order;
    return collate(a, std::strlen(a), b, std::strlen(b), true);
}

int16_t ST_compare_natural(const char *a, const char *b)
{
    const int16_t order = null_order(a, b);
    if (order != 2)
        return order;
    const size_t la = std::strlen(a), lb = std::strlen(b);
    if (la >= NATURAL_LIMIT || lb >= NATURAL_LIMIT)
        return collate(a, la, b, lb, false);
    const size_t lead_a = std::strcspn(a, "0123456789"), lead_b = std::strcspn(b, "0123456789");
    int16_t c = collate(a, lead_a, b, lead_b, false);
    if (c)
        return c;
    const size_t digits_a = std::strspn(a + lead_a, "0123456789");
    const size_t digits_b = std::strspn(b + lead_b, "0123456789");
    c = compare_numbers(a + lead_a, digits_a, b + lead_b, digits_b);
    if (c)
        return c;
    const size_t rest_a = lead_a + digits_a, rest_b = lead_b + digits_b;
    return collate(a + rest_a, la - rest_a, b + rest_b, lb - rest_b, false);
}

int16_t ST_compare_right(const char *a, const char *b)
{
    const int16_t order = null_order(a, b);
    if (order != 2)
        return order;
    // Right-aligned in place of copies: position i of the longer width reads a
    // blank until the text begins.
    const size_t la = std::strlen(a), lb = std::strlen(b), n = std::max(la, lb);
    return plain_order(n, ALIGNED{a, la, n - la}, ALIGNED{b, lb, n - lb});
}

int16_t ST_equal_words(const char *a, const char *b)
{
    if (!a || !b)
        return 0;
    SQUEEZED wa(a), wb(b);
    for (;;) {
        const char ca = wa.next(), cb = wb.next();
        if (word_char(ca) != word_char(cb))
            return 0;
        if (!ca)
            return 1;
    }
}

int16_t ST_match(const char *text, const char *pattern)
{
    if (!present(__LINE__, text, pattern))
        return 0;
    const char *t = text, *p = pattern;
    for (;;) {
        // The fixed part up to the next "*".
        size_t k = 0;
        while (p[k] && p[k] != '*') {
            if (!t[k] || (p[k] != '?' && p[k] != t[k]))
                return 0;
            ++k;
        }
        if (!p[k])
            return t[k] == 0;
        if (k > 0 && !t[k])
            return 0;
        t += k;
        p += k;
        while (*p == '*')
            ++p;
        // After the "*": "?" goes on here, anything else at its first occurrence.
        if (*p != '?') {
            t = *p ? std::strchr(t, *p) : t + std::strlen(t);
            if (!t)
                return 0;
        }
    }
}
