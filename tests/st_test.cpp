#include "common/st.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

// A heap buffer of exactly size bytes holding text, so that AddressSanitizer
// sees every byte written past it.
std::vector<char> buffer(const std::string &text, size_t size)
{
    std::vector<char> b(std::max(size, text.size() + 1), '#');
    std::memcpy(b.data(), text.c_str(), text.size() + 1);
    return b;
}

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

}  // namespace

TEST(St, BoundedCopyAndAppend)
{
    enum OP { COPY, APPEND, APPEND_CHAR, APPEND_LINE };
    struct CASE {
        OP op;
        const char *target;
        const char *source;   // APPEND_CHAR: its first character
        int16_t maximum;
        const char *expected;
        int16_t result;
    };
    const CASE cases[] = {
        {COPY, "", "abcdefgh", 5, "abcde", 0},
        {COPY, "zz", "abc", 5, "abc", 1},
        {COPY, "", "abcde", 5, "abcde", 1},
        {COPY, "", "abcdefgh", 0, "abcdefgh", 1},
        {COPY, "xyz", "", 3, "", 1},
        {APPEND, "abc", "defgh", 6, "abcde\xAF", 0},
        {APPEND, "abc", "def", 6, "abcdef", 1},
        {APPEND, "abc", "de", 0, "abcde", 1},
        {APPEND, "abcdef", "g", 6, "abcde\xAF", 0},
        {APPEND, "abc", "", 3, "abc", 1},
        {APPEND, "", "abcdef", 1, "\xAF", 0},
        {APPEND_CHAR, "abc", "d", 4, "abcd", 1},
        {APPEND_CHAR, "abcd", "e", 4, "abcd", 0},
        {APPEND_CHAR, "abcd", "e", 0, "abcde", 1},
        {APPEND_LINE, "", "x", 10, "x", 1},
        {APPEND_LINE, "a", "b", 10, "a\nb", 1},
        {APPEND_LINE, "a", "", 10, "a\n", 1},
        {APPEND_LINE, "abc", "def", 5, "abc\n\xAF", 0},
        {APPEND_LINE, "abcde", "f", 5, "abcd\xAF", 0},
    };
    for (const CASE &c : cases) {
        // Room for maximum + 1 bytes only (unbounded cases: exactly the result).
        const size_t size = c.maximum > 0 ? c.maximum + 1 : std::strlen(c.expected) + 1;
        std::vector<char> b = buffer(c.target, size);
        int16_t r = 0;
        switch (c.op) {
        case COPY: r = ST_copy(b.data(), c.source, c.maximum); break;
        case APPEND: r = ST_append(b.data(), c.source, c.maximum); break;
        case APPEND_CHAR: r = ST_append_char(b.data(), c.source[0], c.maximum); break;
        case APPEND_LINE: r = ST_append_line(b.data(), c.maximum, c.source); break;
        }
        EXPECT_STREQ(b.data(), c.expected) << c.op << " " << c.target << " + " << c.source;
        EXPECT_EQ(r, c.result) << c.op << " " << c.target << " + " << c.source;
    }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(St, GetLine)
{
    struct CASE {
        int16_t n;
        const char *text;
        int16_t maximum;
        const char *expected;
        int16_t result;
    };
    const CASE cases[] = {
        {2, "a\nb\nc", 10, "b", 1},
        {1, "a\nb\nc", 10, "a", 1},
        {3, "a\nb\nc", 10, "c", 1},
        {4, "a\nb\nc", 10, "", 0},
        {2, "a\n\nb", 10, "", 1},     // an empty line is still a line
        {2, "a\n", 10, "", 1},
        {3, "a\n", 10, "", 0},
        {1, "", 10, "", 1},
        {1, "abcdef\ng", 3, "abc", 0},
        {2, "x\nabcdef", 0, "abcdef", 1},
    };
    for (const CASE &c : cases) {
        std::vector<char> out = buffer("", c.maximum > 0 ? c.maximum + 1 : std::strlen(c.expected) + 1);
        EXPECT_EQ(ST_get_line(c.n, c.text, out.data(), c.maximum), c.result) << c.n << " of " << c.text;
        EXPECT_STREQ(out.data(), c.expected) << c.n << " of " << c.text;
    }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
    char out[8] = "zz";
    EXPECT_EQ(ST_get_line(0, "a", out, 7), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(St, TrimSqueezeAndPad)
{
    enum OP { TRIM, SQUEEZE, PAD, PAD_LEFT };
    struct CASE {
        OP op;
        const char *text;
        int16_t width;
        char fill;
        const char *expected;
        int16_t result;
    };
    const CASE cases[] = {
        {TRIM, " \t a b \t", 0, 0, "a b", 1},
        {TRIM, "ab", 0, 0, "ab", 1},
        {TRIM, " \t  ", 0, 0, "", 0},
        {TRIM, "", 0, 0, "", 0},
        {SQUEEZE, "  a   b  c ", 0, 0, "a b c", 1},
        {SQUEEZE, "a\t\tb", 0, 0, "a\t\tb", 1},   // only blanks are squeezed
        {SQUEEZE, "    ", 0, 0, "", 1},
        {PAD, "abcdef", 4, ' ', "abc>", 1},
        {PAD, "ab", 4, '.', "ab..", 1},
        {PAD, "abcd", 4, ' ', "abc>", 1},          // a text of width characters is cut too
        {PAD, "abc", 0, ' ', "", 1},
        {PAD, "", 3, ' ', "   ", 1},
        {PAD_LEFT, "ab", 5, 0, "   ab", 1},
        {PAD_LEFT, "abcdef", 4, 0, "abc|", 1},
        {PAD_LEFT, "abcd", 4, 0, "abc|", 1},
        {PAD_LEFT, "12", 78, 0, nullptr, 1},        // length + width exactly 80
    };
    for (const CASE &c : cases) {
        std::vector<char> b = buffer(c.text, c.width + 1);
        int16_t r = 0;
        switch (c.op) {
        case TRIM: r = ST_trim(b.data()); break;
        case SQUEEZE: r = ST_squeeze(b.data()); break;
        case PAD: r = ST_pad(b.data(), c.width, c.fill); break;
        case PAD_LEFT: r = ST_pad_left(b.data(), c.width); break;
        }
        const std::string expected = c.expected ? c.expected : std::string(c.width - 2, ' ') + c.text;
        EXPECT_EQ(std::string(b.data()), expected) << c.op << " '" << c.text << "' " << c.width;
        EXPECT_EQ(r, c.result) << c.op << " '" << c.text << "' " << c.width;
    }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    std::vector<char> b = buffer("abc", 80);
    EXPECT_EQ(ST_pad_left(b.data(), 78), 0);   // 3 + 78 passes 80
    EXPECT_STREQ(b.data(), "abc");
    EXPECT_EQ(ST_pad_blank(b.data(), 5), 1);
    EXPECT_STREQ(b.data(), "abc  ");
    EXPECT_EQ(ST_pad(b.data(), -1, ' '), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 2);
}

TEST(St, SearchingAndCharacters)
{
    const char *t = "a.b.c";
    EXPECT_EQ(ST_find_char(t, '.'), t + 1);
    EXPECT_EQ(ST_find_last(t, '.'), t + 3);
    EXPECT_EQ(ST_find_char(t, 'x'), nullptr);
    EXPECT_EQ(ST_find_char(t, 0), nullptr);
    EXPECT_EQ(ST_find(t, "b.c"), t + 2);
    EXPECT_EQ(ST_find(t, "c.d"), nullptr);
    EXPECT_EQ(ST_find(t, ""), t);
    // The set's characters in their order, not the earliest position.
    const char *u = "abcx";
    EXPECT_EQ(ST_find_any(u, "xa"), u + 3);
    EXPECT_EQ(ST_find_any(u, "qc"), u + 2);
    EXPECT_EQ(ST_find_any(u, "qz"), nullptr);
    EXPECT_EQ(ST_find_any(u, ""), nullptr);
    char m[] = "m.n";
    char *hit = ST_find_char(m, '.');
    ASSERT_NE(hit, nullptr);
    *hit = '_';
    EXPECT_STREQ(m, "m_n");

    EXPECT_EQ(ST_consists_of("", "01"), 1);
    EXPECT_EQ(ST_consists_of("0110", "01"), 1);
    EXPECT_EQ(ST_consists_of("012", "01"), 0);
    for (int c = 1; c < 256; ++c)
        EXPECT_EQ(ST_is_digit(static_cast<char>(c)), c >= '0' && c <= '9') << c;

    char r[] = "a-b-c-";
    EXPECT_EQ(ST_replace_char(r, '-', '+'), 1);
    EXPECT_STREQ(r, "a+b+c+");
    EXPECT_EQ(ST_remove_char(r, '+'), 1);
    EXPECT_STREQ(r, "abc");
    EXPECT_EQ(ST_remove_char(r, 'a'), 1);
    EXPECT_STREQ(r, "bc");

    char cz[] = "žluťoučký kůň Ab";
    EXPECT_EQ(ST_upper(cz), 1);
    EXPECT_STREQ(cz, "ŽLUŤOUČKÝ KŮŇ AB");
    EXPECT_EQ(ST_lower(cz), 1);
    EXPECT_STREQ(cz, "žluťoučký kůň ab");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(St, AllocDupFree)
{
    char *p = nullptr;
    ASSERT_EQ(ST_alloc(5, &p), 1);
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(p[i], 0);
    ST_free(&p);
    EXPECT_EQ(p, nullptr);
    ST_free(&p);   // a null text is accepted

    char *d = nullptr;
    ASSERT_EQ(ST_dup("Příliš", &d), 1);
    EXPECT_STREQ(d, "Příliš");
    ST_free(&d);
    ASSERT_EQ(ST_dup("", &d), 1);
    EXPECT_STREQ(d, "");
    ST_free(&d);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    p = reinterpret_cast<char *>(&d);   // anything but null: a failure must clear it
    EXPECT_EQ(ST_alloc(-1, &p), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);

    EXPECT_EQ(ST_length("abc"), 3);
    EXPECT_EQ(ST_length(""), 0);
    EXPECT_EQ(ST_length(nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(St, Comparisons)
{
    enum OP { PLAIN, CZECH, MENU, NATURAL, RIGHT };
    struct CASE {
        OP op;
        const char *a;
        const char *b;
        int order;
    };
    const std::string long_9 = "x9" + std::string(100, 'a'), long_10 = "x10" + std::string(100, 'a');
    const CASE cases[] = {
        {PLAIN, "x10", "x9", -1},
        {PLAIN, "abc", "abc", 0},
        {PLAIN, "ab", "abc", -1},
        {PLAIN, "\x8A", "A", -1},      // first byte signed: 0x8A before ASCII
        {PLAIN, "A\x8A", "AB", 1},     // later bytes unsigned
        {PLAIN, "a", "B", 1},
        {PLAIN, nullptr, "", -1},
        {PLAIN, "", nullptr, 1},
        {PLAIN, nullptr, nullptr, 0},
        {CZECH, "c", "č", -1},
        {CZECH, "č", "d", -1},
        {CZECH, "a", "A", -1},
        {CZECH, "e", "é", -1},
        {CZECH, "é", "f", -1},
        {CZECH, "ě", "f", -1},
        {CZECH, "Zebra", "ahoj", 1},   // letters regardless of case
        {CZECH, "abc", "abcd", -1},
        {CZECH, "abcd", "abc", 1},
        {CZECH, "Čáp", "Čáp", 0},
        {CZECH, nullptr, "a", -1},
        {CZECH, nullptr, nullptr, 0},
        {MENU, "&Soubor", "Soubor", 0},
        {MENU, "S&oubor", "&Soubor", 0},
        {MENU, "&&x", "x", 0},
        {MENU, "&A", "B", -1},
        {MENU, "Ko&nec", "Konec&", 0},
        {MENU, "&č", "d", -1},
        {MENU, "x", nullptr, 1},
        {NATURAL, "x9", "x10", -1},
        {NATURAL, "x10", "x9", 1},
        {NATURAL, "x10", "x10", 0},
        {NATURAL, "x007", "x7", 0},
        {NATURAL, "a2b", "a10a", -1},
        {NATURAL, "x", "x0", -1},        // no number before any number
        {NATURAL, "40000", "30000", 1},  // beyond 16 bits
        {NATURAL, "123456789012", "99", 1},
        {NATURAL, "abc", "abd", -1},
        {NATURAL, "a1b", "a1c", -1},
        {NATURAL, "b1", "a2", 1},
        {NATURAL, "2", "10", -1},
        {NATURAL, long_9.c_str(), long_10.c_str(), 1},   // 100 characters or more: Czech order alone
        {NATURAL, nullptr, "x", -1},
        {RIGHT, "9", "10", -1},
        {RIGHT, "100", "99", 1},
        {RIGHT, " 9", "9", 0},
        {RIGHT, "abc", "abd", -1},
        {RIGHT, "", "", 0},
        {RIGHT, "", "0", -1},
        {RIGHT, nullptr, "", -1},
    };
    for (const CASE &c : cases) {
        const auto compare = [&c](const char *x, const char *y) -> int16_t {
            switch (c.op) {
            case PLAIN: return ST_compare_plain(x, y);
            case CZECH: return ST_compare(x, y);
            case MENU: return ST_compare_menu(x, y);
            case NATURAL: return ST_compare_natural(x, y);
            case RIGHT: return ST_compare_right(x, y);
            }
            return 99;
        };
        const std::string a = c.a ? c.a : "(null)", b = c.b ? c.b : "(null)";
        int16_t r = compare(c.a, c.b);
        EXPECT_EQ(sign(r), c.order) << c.op << " " << a << " : " << b;
        if (c.op == CZECH || c.op == MENU) {
            EXPECT_EQ(r, c.order) << "exactly -1, 0, 1: " << a << " : " << b;
        }
        // Swapped, the order turns round.
        r = compare(c.b, c.a);
        EXPECT_EQ(sign(r), -c.order) << "swapped " << c.op << " " << a << " : " << b;
    }
    // The plain result is the difference of the first differing bytes.
    EXPECT_EQ(ST_compare_plain("abd", "abb"), 2);
    EXPECT_EQ(ST_compare_plain("a\xFF", "a\x01"), 0xFE);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(St, CompareTrimmedTrimsInPlace)
{
    char a[] = "  abc \t", b[] = "abc";
    EXPECT_EQ(ST_compare_trimmed(a, b), 0);
    EXPECT_STREQ(a, "abc");
    char c[] = " b", d[] = "a ";
    EXPECT_GT(ST_compare_trimmed(c, d), 0);
    EXPECT_LT(ST_compare_trimmed(nullptr, d), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(St, EqualWords)
{
    struct CASE {
        const char *a;
        const char *b;
        int16_t equal;
    };
    const CASE cases[] = {
        {"  Příliš   žluťoučký ", "PRILIS ZLUTOUCKY", 1},
        {"kůň", "KUN", 1},
        {"a b", "a  b", 1},
        {"a b", "ab", 0},
        {"ab", "abc", 0},
        {"", "   ", 1},
        {"a\tb", "a b", 0},
        {nullptr, "a", 0},
        {nullptr, nullptr, 0},
    };
    for (const CASE &c : cases) {
        EXPECT_EQ(ST_equal_words(c.a, c.b), c.equal) << (c.a ? c.a : "(null)") << " : " << (c.b ? c.b : "(null)");
        EXPECT_EQ(ST_equal_words(c.b, c.a), c.equal) << (c.a ? c.a : "(null)") << " : " << (c.b ? c.b : "(null)");
    }
}

TEST(St, Match)
{
    struct CASE {
        const char *text;
        const char *pattern;
        int16_t match;
    };
    const CASE cases[] = {
        {"abc", "a?c", 1},
        {"abc", "a*", 1},
        {"ab", "a?c", 0},
        {"abcd", "a?c", 0},
        {"abc", "abc*", 0},           // a "*" after a fixed start needs one more character
        {"abcd", "abc*", 1},
        {"a", "a*", 0},
        {"banana.txt", "*a.txt", 0},  // only the first "a" is tried
        {"a.txt", "*a.txt", 1},
        {"file.txt", "*.txt", 1},
        {"file.doc", "*.txt", 0},
        {"", "*", 1},
        {"anything", "*", 1},
        {"abc", "*?c", 0},            // "?" after "*" goes on at the same position
        {"bc", "*?c", 1},
        {"abc", "**c", 1},
        {"readme.txt", "r*.t?t", 1},
        {"readme.txt", "r*.t?x", 0},
        {"abc", "abc", 1},
        {"abc", "ABC", 0},
        {"", "", 1},
        {"a", "", 0},
        {"", "a", 0},
        {"", "?", 0},
        {"a.b.c", "*.c", 0},          // the first "." is taken
        {"ab.c", "*.c", 1},
        {"xay", "*a*", 1},
        {"xa", "*a*", 0},
    };
    for (const CASE &c : cases)
        EXPECT_EQ(ST_match(c.text, c.pattern), c.match) << "'" << c.text << "' ~ '" << c.pattern << "'";
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(St, NullArgumentsAreInternalErrors)
{
    char t[16] = "abc";
    char *p = nullptr;
    struct CASE {
        const char *name;
        std::function<long()> call;   // the result, pointers as 0 / 1
        long failure;
    };
    const CASE cases[] = {
        {"alloc", [] { return long(ST_alloc(3, nullptr)); }, 0},
        {"dup text", [&] { return long(ST_dup(nullptr, &p)); }, 0},
        {"dup out", [] { return long(ST_dup("a", nullptr)); }, 0},
        {"free", [] { ST_free(nullptr); return 0L; }, 0},
        {"copy target", [] { return long(ST_copy(nullptr, "a", 3)); }, 0},
        {"copy source", [&] { return long(ST_copy(t, nullptr, 3)); }, 0},
        {"copy maximum", [&] { return long(ST_copy(t, "a", -1)); }, 0},
        {"append", [&] { return long(ST_append(t, nullptr, 3)); }, 0},
        {"append char", [] { return long(ST_append_char(nullptr, 'a', 3)); }, 0},
        {"append line", [&] { return long(ST_append_line(t, 10, nullptr)); }, 0},
        {"get line", [] { return long(ST_get_line(1, nullptr, nullptr, 3)); }, 0},
        {"upper", [] { return long(ST_upper(nullptr)); }, 0},
        {"lower", [] { return long(ST_lower(nullptr)); }, 0},
        {"replace", [] { return long(ST_replace_char(nullptr, 'a', 'b')); }, 0},
        {"remove", [] { return long(ST_remove_char(nullptr, 'a')); }, 0},
        {"find char", [] { return long(ST_find_char(static_cast<const char *>(nullptr), 'a') != nullptr); }, 0},
        {"find last", [] { return long(ST_find_last(static_cast<const char *>(nullptr), 'a') != nullptr); }, 0},
        {"find", [&] { return long(ST_find(t, nullptr) != nullptr); }, 0},
        {"find any", [] { return long(ST_find_any(static_cast<const char *>(nullptr), "a") != nullptr); }, 0},
        {"consists of", [&] { return long(ST_consists_of(t, nullptr)); }, 0},
        {"trim", [] { return long(ST_trim(nullptr)); }, 0},
        {"squeeze", [] { return long(ST_squeeze(nullptr)); }, 0},
        {"pad", [] { return long(ST_pad(nullptr, 3, ' ')); }, 0},
        {"pad blank", [] { return long(ST_pad_blank(nullptr, 3)); }, 0},
        {"pad left", [] { return long(ST_pad_left(nullptr, 3)); }, 0},
        {"match text", [] { return long(ST_match(nullptr, "*")); }, 0},
        {"match pattern", [] { return long(ST_match("a", nullptr)); }, 0},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(c.call(), c.failure) << c.name;
        ASSERT_EQ(TU_reports().size(), 1u) << c.name;
        EXPECT_EQ(TU_reports()[0].kind, WE_KIND_INTERNAL) << c.name;
        EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\common\\st řádek ", 0), 0u) << TU_reports()[0].text;
    }
    EXPECT_STREQ(t, "abc");
}
