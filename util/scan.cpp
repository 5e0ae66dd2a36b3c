#include "util/scan.h"

#include <cmath>
#include <cstring>

#include "common/st.h"
#include "win/we.h"

static const char SRC[] = "..\\util\\scan";

// Every reader is built from the cursor functions below: they look at the text
// from a position and give the position after what they read, or null, without
// changing anything. The public readers move the text only after the whole read
// has succeeded, which is what makes a failed read leave the text as it was.

static bool is_blank(char c) { return c == ' ' || c == '\t'; }

static const char *skip_blanks(const char *p)
{
    while (is_blank(*p))
        p++;
    return p;
}

// Moves the rest of the text, from rest on, to its front.
static void drop_front(char *text, const char *rest)
{
    memmove(text, rest, strlen(rest) + 1);
}

static const char *expect_at(const char *p, char c)
{
    const char *q = skip_blanks(p);
    if (c != '\0' && *q == c)
        return q + 1;
    return q > p ? q : nullptr;
}

// Decimal integer; signs may come only before the first digit.
static const char *int_at(const char *p, int32_t *value)
{
    const int64_t limit = 2147483648LL;   // magnitude of the smallest int32
    int64_t magnitude = 0;
    bool negative = false;
    bool started = false;
    const char *end = nullptr;   // after the last digit
    for (const char *q = p; *q; q++) {
        if (is_blank(*q)) {
            if (started)
                break;
        } else if (*q == '+' || *q == '-') {
            if (end)
                break;
            negative = *q == '-';
            started = true;
        } else if (ST_is_digit(*q)) {
            magnitude = magnitude * 10 + (*q - '0');
            if (magnitude > limit)
                return nullptr;
            started = true;
            end = q + 1;
        } else {
            break;
        }
    }
    if (!end || (!negative && magnitude == limit))
        return nullptr;
    *value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return end;
}

static int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Hexadecimal value no greater than maximum.
static const char *hex_at(const char *p, uint32_t maximum, uint32_t *value)
{
    const char *q = skip_blanks(p);
    if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X'))
        q += 2;
    if (hex_digit(*q) < 0)
        return nullptr;
    uint64_t v = 0;
    for (; hex_digit(*q) >= 0; q++) {
        v = v * 16 + static_cast<uint64_t>(hex_digit(*q));
        if (v > maximum)
            return nullptr;
    }
    *value = static_cast<uint32_t>(v);
    return q;
}

// Decimal real; the position after it is past the blanks that follow.
static const char *real_at(const char *p, double *value)
{
    const char *q = skip_blanks(p);
    bool negative = false;
    if (*q == '+' || *q == '-') {
        negative = *q == '-';
        q++;
    }
    // The digits form one whole number, held in 64 bits so that values of
    // 2147.483648 and more written with six decimals still read back.
    int64_t whole = 0;
    int decimals = 0;
    bool point = false;
    bool digit = false;
    for (;; q++) {
        if (ST_is_digit(*q)) {
            int d = *q - '0';
            if (whole > (INT64_MAX - d) / 10)
                return nullptr;
            whole = whole * 10 + d;
            decimals += point;
            digit = true;
        } else if (*q == '.') {
            if (point)
                return nullptr;
            point = true;
        } else {
            break;
        }
    }
    if (!digit)
        return nullptr;
    double divisor = 1.0;
    for (int i = 0; i < decimals; i++)
        divisor *= 10.0;
    double v = static_cast<double>(whole) / divisor;
    *value = negative ? -v : v;
    return skip_blanks(q);
}

// A comma between numbers may be missing; the position after it if present.
static const char *optional_separator(const char *p)
{
    const char *q = expect_at(p, ',');
    return q ? q : p;
}

static const char *real_pair_at(const char *p, double v[2])
{
    p = real_at(p, &v[0]);
    return p ? real_at(optional_separator(p), &v[1]) : nullptr;
}

static const char *real_units_at(const char *p, double factor, int32_t *value)
{
    double v;
    const char *q = real_at(p, &v);
    if (!q)
        return nullptr;
    double units = std::round(v / factor);   // half away from zero
    if (!(units >= -2147483648.0 && units <= 2147483647.0))
        return nullptr;
    *value = static_cast<int32_t>(units);
    return q;
}

// Ends a successful real read: the rest moves to the front and is trimmed.
static int16_t finish_real(char *text, const char *rest)
{
    drop_front(text, rest);
    ST_trim(text);
    return 1;
}

// ---- Keywords and separators ----

int16_t SCAN_keyword(char *text, const char *keyword)
{
    if (!text || !keyword) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *start = skip_blanks(text);
    size_t length = strlen(start);
    while (length > 0 && is_blank(start[length - 1]))
        length--;
    size_t keyword_length = strlen(keyword);
    if (length == 0 || keyword_length == 0 || keyword_length > length ||
        strncmp(start, keyword, keyword_length) != 0)
        return 0;
    ST_trim(text);
    drop_front(text, text + keyword_length);
    return 1;
}

int16_t SCAN_expect(char *text, char c)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *rest = expect_at(text, c);
    if (!rest)
        return 0;
    drop_front(text, rest);
    return 1;
}

int16_t SCAN_skip_past(char *text, char c)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *found = ST_find_char(static_cast<const char *>(text), c);
    if (!found)
        return 0;
    drop_front(text, found + 1);
    return 1;
}

// ---- Integers ----

int16_t SCAN_int32(char *text, int32_t *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *rest = int_at(text, value);
    if (!rest)
        return 0;
    drop_front(text, rest);
    return 1;
}

int16_t SCAN_int16(char *text, int16_t *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int32_t v;
    const char *rest = int_at(text, &v);
    if (!rest)
        return 0;
    // The low 16 bits, as the settings have always kept them.
    *value = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v) & 0xFFFFu));
    drop_front(text, rest);
    return 1;
}

int16_t SCAN_int8(char *text, int8_t *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int32_t v;
    const char *rest = int_at(text, &v);
    if (!rest || v < -128 || v > 127)
        return 0;
    *value = static_cast<int8_t>(v);
    drop_front(text, rest);
    return 1;
}

// count integers, each but the first after an optional separator.
static const char *int_list_at(const char *p, int32_t *v, int count)
{
    p = int_at(p, &v[0]);
    for (int i = 1; i < count && p; i++)
        p = int_at(optional_separator(p), &v[i]);
    return p;
}

int16_t SCAN_int_pair(char *text, int32_t *a, int32_t *b)
{
    if (!text || !a || !b) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int32_t v[2];
    const char *p = int_list_at(text, v, 2);
    if (!p)
        return 0;
    *a = v[0];
    *b = v[1];
    drop_front(text, p);
    return 1;
}

int16_t SCAN_int_quad(char *text, int32_t *a, int32_t *b, int32_t *c, int32_t *d)
{
    if (!text || !a || !b || !c || !d) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int32_t v[4];
    const char *p = int_list_at(text, v, 4);
    if (!p)
        return 0;
    *a = v[0];
    *b = v[1];
    *c = v[2];
    *d = v[3];
    drop_front(text, p);
    return 1;
}

// ---- Hexadecimal values ----

int16_t SCAN_hex32(char *text, uint32_t *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *rest = hex_at(text, 0xFFFFFFFFu, value);
    if (!rest)
        return 0;
    drop_front(text, rest);
    return 1;
}

int16_t SCAN_hex16(char *text, uint16_t *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    uint32_t v;
    const char *rest = hex_at(text, 0xFFFFu, &v);
    if (!rest)
        return 0;
    *value = static_cast<uint16_t>(v);
    drop_front(text, rest);
    return 1;
}

int16_t SCAN_hex8(char *text, uint8_t *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    uint32_t v;
    const char *rest = hex_at(text, 0xFFu, &v);
    if (!rest)
        return 0;
    *value = static_cast<uint8_t>(v);
    drop_front(text, rest);
    return 1;
}

// ---- Reals ----

int16_t SCAN_real(char *text, float *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    double v;
    const char *rest = real_at(text, &v);
    if (!rest)
        return 0;
    *value = static_cast<float>(v);
    return finish_real(text, rest);
}

int16_t SCAN_double(char *text, double *value)
{
    if (!text || !value) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *rest = real_at(text, value);
    if (!rest)
        return 0;
    return finish_real(text, rest);
}

int16_t SCAN_real_pair(char *text, float *a, float *b)
{
    if (!text || !a || !b) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    double v[2];
    const char *p = real_pair_at(text, v);
    if (!p)
        return 0;
    *a = static_cast<float>(v[0]);
    *b = static_cast<float>(v[1]);
    return finish_real(text, p);
}

int16_t SCAN_double_pair(char *text, double *a, double *b)
{
    if (!text || !a || !b) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    double v[2];
    const char *p = real_pair_at(text, v);
    if (!p)
        return 0;
    *a = v[0];
    *b = v[1];
    return finish_real(text, p);
}

int16_t SCAN_real_units(char *text, double factor, int32_t *value)
{
    if (!text || !value || factor == 0.0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *rest = real_units_at(text, factor, value);
    if (!rest)
        return 0;
    return finish_real(text, rest);
}

int16_t SCAN_real_units_pair(char *text, double factor, int32_t *a, int32_t *b)
{
    if (!text || !a || !b || factor == 0.0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int32_t v[2];
    const char *p = real_units_at(text, factor, &v[0]);
    if (p)
        p = real_units_at(optional_separator(p), factor, &v[1]);
    if (!p)
        return 0;
    *a = v[0];
    *b = v[1];
    return finish_real(text, p);
}
