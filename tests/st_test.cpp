#include "common/st.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

// A heap buffer of exactly size bytes (at least the text's) holding text, so that AddressSanitizer sees every
// byte written past it.
std::vector<char> buffer(const std::string &text, size_t size)
{
    std::vector<char> b(std::max(size, text.size() + 1), '#');
    std::memcpy(b.data(), text.c_str(), text.size() + 1);
    return b;
}

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }
std::string shown(const char *text) { return text ? std::string("'") + text + "'" : "(null)"; }

}  // namespace

// Operations that write a text within a maximum (0: unbounded): the text afterwards and the result. The buffer
// holds maximum + 1 bytes (unbounded: exactly the result).
TEST(St, BoundedWrites)
{
    typedef std::function<int16_t(char *, const char *, int16_t)> OP;
    const OP copy = ST_copy, append = ST_append;
    const OP add_char = [](char *t, const char *s, int16_t m) { return ST_append_char(t, s[0], m); };
    const OP add_line = [](char *t, const char *s, int16_t m) { return ST_append_line(t, m, s); };
    const auto line = [](int16_t n) -> OP { return [n](char *t, const char *s, int16_t m) { return ST_get_line(n, s, t, m); }; };
    struct CASE { OP op; const char *target, *source; int16_t maximum; const char *expected; int16_t result; } const cases[] = {
        {copy, "", "abcdefgh", 5, "abcde", 0}, {copy, "zz", "abc", 5, "abc", 1}, {copy, "", "abcde", 5, "abcde", 1},
        {copy, "", "abcdefgh", 0, "abcdefgh", 1}, {copy, "xyz", "", 3, "", 1}, {append, "abc", "defgh", 6, "abcde\xAF", 0},
        {append, "abc", "def", 6, "abcdef", 1}, {append, "abc", "de", 0, "abcde", 1}, {append, "abc", "", 3, "abc", 1},
        {append, "abcdef", "g", 6, "abcde\xAF", 0}, {append, "", "abcdef", 1, "\xAF", 0},
        {add_char, "abc", "d", 4, "abcd", 1}, {add_char, "abcd", "e", 4, "abcd", 0}, {add_char, "abcd", "e", 0, "abcde", 1},
        {add_line, "", "x", 10, "x", 1}, {add_line, "a", "b", 10, "a\nb", 1}, {add_line, "a", "", 10, "a\n", 1},
        {add_line, "abc", "def", 5, "abc\n\xAF", 0}, {add_line, "abcde", "f", 5, "abcd\xAF", 0},
        {line(2), "", "a\nb\nc", 10, "b", 1}, {line(1), "", "a\nb\nc", 10, "a", 1}, {line(3), "", "a\nb\nc", 10, "c", 1},
        {line(4), "", "a\nb\nc", 10, "", 0}, {line(2), "", "a\n\nb", 10, "", 1},   // an empty line is a line
        {line(2), "", "a\n", 10, "", 1}, {line(3), "", "a\n", 10, "", 0}, {line(1), "", "", 10, "", 1},
        {line(1), "", "abcdef\ng", 3, "abc", 0}, {line(2), "", "x\nabcdef", 0, "abcdef", 1},
    };
    for (const CASE &c : cases) {
        const size_t size = c.maximum > 0 ? c.maximum + 1 : std::strlen(c.expected) + 1;
        std::vector<char> b = buffer(c.target, size);
        const int16_t r = c.op(b.data(), c.source, c.maximum);
        EXPECT_STREQ(b.data(), c.expected) << c.target << " + " << c.source << " / " << c.maximum;
        EXPECT_EQ(r, c.result) << c.target << " + " << c.source << " / " << c.maximum;
    }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
    char out[8] = "zz";
    EXPECT_EQ(ST_get_line(0, "a", out, 7), 0);   // lines count from 1
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
        const char *expected;   // null: width - 2 blanks and the text
        int16_t result;
    } const cases[] = {
        {TRIM, " \t a b \t", 0, 0, "a b", 1}, {TRIM, "ab", 0, 0, "ab", 1}, {TRIM, " \t  ", 0, 0, "", 0},
        {TRIM, "", 0, 0, "", 0}, {SQUEEZE, "  a   b  c ", 0, 0, "a b c", 1},
        {SQUEEZE, "a\t\tb", 0, 0, "a\t\tb", 1},   // only blanks are squeezed
        {SQUEEZE, "    ", 0, 0, "", 1}, {PAD, "abcdef", 4, ' ', "abc>", 1}, {PAD, "ab", 4, '.', "ab..", 1},
        {PAD, "abcd", 4, ' ', "abc>", 1},   // a text of width characters is cut too
        {PAD, "abc", 0, ' ', "", 1}, {PAD, "", 3, ' ', "   ", 1}, {PAD_LEFT, "ab", 5, 0, "   ab", 1},
        {PAD_LEFT, "abcdef", 4, 0, "abc|", 1}, {PAD_LEFT, "abcd", 4, 0, "abc|", 1},
        {PAD_LEFT, "12", 78, 0, nullptr, 1},   // length + width exactly 80
    };
    for (const CASE &c : cases) {
        std::vector<char> b = buffer(c.text, c.width + 1);
        const int16_t r = c.op == TRIM ? ST_trim(b.data()) : c.op == SQUEEZE ? ST_squeeze(b.data())
                          : c.op == PAD ? ST_pad(b.data(), c.width, c.fill) : ST_pad_left(b.data(), c.width);
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
    const char *t = "a.b.c", *u = "abcx";
    // Positions in t and u, -1 for none; find_any takes the set's characters in their order.
    const std::pair<const char *, int> found[] = {
        {ST_find_char(t, '.'), 1}, {ST_find_last(t, '.'), 3}, {ST_find_char(t, 'x'), -1}, {ST_find_char(t, 0), -1},
        {ST_find(t, "b.c"), 2}, {ST_find(t, "c.d"), -1}, {ST_find(t, ""), 0},
    }, found_any[] = {{ST_find_any(u, "xa"), 3}, {ST_find_any(u, "qc"), 2}, {ST_find_any(u, "qz"), -1}, {ST_find_any(u, ""), -1}};
    for (const auto &f : found)
        EXPECT_EQ(f.first ? f.first - t : -1, f.second);
    for (const auto &f : found_any)
        EXPECT_EQ(f.first ? f.first - u : -1, f.second);
    char m[] = "m.n";
    char *hit = ST_find_char(m, '.');
    ASSERT_NE(hit, nullptr);
    *hit = '_';
    EXPECT_STREQ(m, "m_n");
    EXPECT_EQ((std::vector<int>{ST_consists_of("", "01"), ST_consists_of("0110", "01"), ST_consists_of("012", "01")}),
              (std::vector<int>{1, 1, 0}));
    for (int c = 1; c < 256; ++c)
        EXPECT_EQ(ST_is_digit(static_cast<char>(c)), c >= '0' && c <= '9') << c;

    char r[] = "a-b-c-", cz[] = "žluťoučký kůň Ab";
    EXPECT_EQ(ST_replace_char(r, '-', '+'), 1);
    EXPECT_STREQ(r, "a+b+c+");
    EXPECT_EQ((std::vector<int>{ST_remove_char(r, '+'), ST_remove_char(r, 'a')}), (std::vector<int>{1, 1}));
    EXPECT_STREQ(r, "bc");
    EXPECT_EQ(ST_upper(cz), 1);
    EXPECT_STREQ(cz, "ŽLUŤOUČKÝ KŮŇ AB");
    EXPECT_EQ(ST_lower(cz), 1);
    EXPECT_STREQ(cz, "žluťoučký kůň ab");

    char *p = nullptr, *d = nullptr;
    ASSERT_EQ(ST_alloc(5, &p), 1);
    EXPECT_EQ(std::string(p, 6), std::string(6, '\0'));
    ST_free(&p);
    EXPECT_EQ(p, nullptr);
    ST_free(&p);   // a null text is accepted
    for (const char *text : {"Příliš", ""}) {
        ASSERT_EQ(ST_dup(text, &d), 1);
        EXPECT_STREQ(d, text);
        ST_free(&d);
    }
    EXPECT_EQ((std::vector<int>{ST_length("abc"), ST_length(""), ST_length(nullptr)}), (std::vector<int>{3, 0, 0}));
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
    p = reinterpret_cast<char *>(&d);   // anything but null: a failure must clear it
    EXPECT_EQ(ST_alloc(-1, &p), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

// Each order both ways round; the Czech and menu orders give exactly -1, 0, 1.
TEST(St, Comparisons)
{
    enum OP { PLAIN, CZECH, MENU, NATURAL, RIGHT };
    const std::string long_9 = "x9" + std::string(100, 'a'), long_10 = "x10" + std::string(100, 'a');
    struct CASE {
        OP op;
        const char *a, *b;
        int order;
    } const cases[] = {
        {PLAIN, "x10", "x9", -1}, {PLAIN, "abc", "abc", 0}, {PLAIN, "ab", "abc", -1}, {PLAIN, "a", "B", 1},
        {PLAIN, "\x8A", "A", -1}, {PLAIN, "A\x8A", "AB", 1},   // first byte signed, later bytes unsigned
        {PLAIN, nullptr, "", -1}, {PLAIN, nullptr, nullptr, 0}, {CZECH, "c", "č", -1}, {CZECH, "č", "d", -1},
        {CZECH, "a", "A", -1}, {CZECH, "e", "é", -1}, {CZECH, "é", "f", -1}, {CZECH, "ě", "f", -1},
        {CZECH, "Zebra", "ahoj", 1},   // letters regardless of case
        {CZECH, "abc", "abcd", -1}, {CZECH, "Čáp", "Čáp", 0}, {CZECH, nullptr, "a", -1}, {CZECH, nullptr, nullptr, 0},
        {MENU, "&Soubor", "Soubor", 0}, {MENU, "S&oubor", "&Soubor", 0}, {MENU, "&&x", "x", 0}, {MENU, "&A", "B", -1},
        {MENU, "Ko&nec", "Konec&", 0}, {MENU, "&č", "d", -1}, {MENU, "x", nullptr, 1},
        {NATURAL, "x9", "x10", -1}, {NATURAL, "x10", "x10", 0}, {NATURAL, "x007", "x7", 0}, {NATURAL, "a2b", "a10a", -1},
        {NATURAL, "x", "x0", -1},   // no number before any number
        {NATURAL, "40000", "30000", 1}, {NATURAL, "123456789012", "99", 1},   // beyond 16 bits
        {NATURAL, "abc", "abd", -1}, {NATURAL, "a1b", "a1c", -1}, {NATURAL, "b1", "a2", 1}, {NATURAL, "2", "10", -1},
        {NATURAL, long_9.c_str(), long_10.c_str(), 1},   // 100 characters or more: Czech order alone
        {NATURAL, nullptr, "x", -1}, {RIGHT, "9", "10", -1}, {RIGHT, "100", "99", 1}, {RIGHT, " 9", "9", 0},
        {RIGHT, "abc", "abd", -1}, {RIGHT, "", "", 0}, {RIGHT, "", "0", -1}, {RIGHT, nullptr, "", -1},
    };
    for (const CASE &c : cases) {
        const auto compare = [&c](const char *x, const char *y) -> int16_t {
            return c.op == PLAIN ? ST_compare_plain(x, y) : c.op == CZECH ? ST_compare(x, y)
                   : c.op == MENU ? ST_compare_menu(x, y) : c.op == NATURAL ? ST_compare_natural(x, y)
                                                                         : ST_compare_right(x, y);
        };
        const bool exact = c.op == CZECH || c.op == MENU;
        const int16_t r = compare(c.a, c.b), swapped = compare(c.b, c.a);
        EXPECT_EQ(exact ? r : sign(r), c.order) << c.op << " " << shown(c.a) << " : " << shown(c.b);
        EXPECT_EQ(exact ? swapped : sign(swapped), -c.order) << "swapped " << c.op << " " << shown(c.a);
    }
    // The plain result is the difference of the first differing bytes.
    EXPECT_EQ(ST_compare_plain("abd", "abb"), 2);
    EXPECT_EQ(ST_compare_plain("a\xFF", "a\x01"), 0xFE);
    char a[] = "  abc \t", b[] = "abc", c[] = " b", d[] = "a ";
    EXPECT_EQ(ST_compare_trimmed(a, b), 0);
    EXPECT_STREQ(a, "abc");   // trimmed in place
    EXPECT_GT(ST_compare_trimmed(c, d), 0);
    EXPECT_LT(ST_compare_trimmed(nullptr, d), 0);
    const std::pair<const char *, const char *> equal[] = {
        {"  Příliš   žluťoučký ", "PRILIS ZLUTOUCKY"}, {"kůň", "KUN"}, {"a b", "a  b"}, {"", "   "},
    }, unequal[] = {{"a b", "ab"}, {"ab", "abc"}, {"a\tb", "a b"}, {nullptr, "a"}, {nullptr, nullptr}};
    for (int16_t same : {1, 0})
        for (const auto &e : same ? equal : unequal) {
            EXPECT_EQ(ST_equal_words(e.first, e.second), same) << shown(e.first) << " : " << shown(e.second);
            EXPECT_EQ(ST_equal_words(e.second, e.first), same) << shown(e.first) << " : " << shown(e.second);
        }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(St, Match)
{
    struct CASE {
        const char *text, *pattern;
        int16_t match;
    } const cases[] = {
        {"abc", "a?c", 1}, {"abc", "a*", 1}, {"ab", "a?c", 0}, {"abcd", "a?c", 0}, {"abcd", "abc*", 1},
        {"abc", "abc*", 0}, {"a", "a*", 0},   // a "*" after a fixed start needs one more character
        {"banana.txt", "*a.txt", 0}, {"a.txt", "*a.txt", 1},   // only the first "a" is tried
        {"file.txt", "*.txt", 1}, {"file.doc", "*.txt", 0}, {"", "*", 1}, {"anything", "*", 1},
        {"abc", "*?c", 0}, {"bc", "*?c", 1},   // "?" after "*" goes on at the same position
        {"abc", "**c", 1}, {"readme.txt", "r*.t?t", 1}, {"readme.txt", "r*.t?x", 0}, {"abc", "abc", 1},
        {"abc", "ABC", 0}, {"", "", 1}, {"a", "", 0}, {"", "a", 0}, {"", "?", 0},
        {"a.b.c", "*.c", 0}, {"ab.c", "*.c", 1},   // the first "." is taken
        {"xay", "*a*", 1}, {"xa", "*a*", 0},
    };
    for (const CASE &c : cases)
        EXPECT_EQ(ST_match(c.text, c.pattern), c.match) << "'" << c.text << "' ~ '" << c.pattern << "'";
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(St, NullArgumentsAreInternalErrors)
{
    char t[16] = "abc";
    char *p = nullptr;
    const std::function<long()> calls[] = {   // the result, pointers as 0 / 1
        [] { return ST_alloc(3, nullptr); }, [&] { return ST_dup(nullptr, &p); }, [] { return ST_dup("a", nullptr); },
        [] { return ST_free(nullptr), 0; }, [] { return ST_copy(nullptr, "a", 3); }, [&] { return ST_copy(t, nullptr, 3); },
        [&] { return ST_copy(t, "a", -1); }, [&] { return ST_append(t, nullptr, 3); },
        [] { return ST_append_char(nullptr, 'a', 3); }, [&] { return ST_append_line(t, 10, nullptr); },
        [] { return ST_get_line(1, nullptr, nullptr, 3); },
        [] { return ST_upper(nullptr); }, [] { return ST_lower(nullptr); },
        [] { return ST_replace_char(nullptr, 'a', 'b'); }, [] { return ST_remove_char(nullptr, 'a'); },
        [] { return long(ST_find_char(static_cast<const char *>(nullptr), 'a') != nullptr); },
        [] { return long(ST_find_last(static_cast<const char *>(nullptr), 'a') != nullptr); },
        [&] { return long(ST_find(t, nullptr) != nullptr); },
        [] { return long(ST_find_any(static_cast<const char *>(nullptr), "a") != nullptr); },
        [&] { return ST_consists_of(t, nullptr); }, [] { return ST_trim(nullptr); }, [] { return ST_squeeze(nullptr); },
        [] { return ST_pad(nullptr, 3, ' '); }, [] { return ST_pad_blank(nullptr, 3); }, [] { return ST_pad_left(nullptr, 3); },
        [] { return ST_match(nullptr, "*"); }, [] { return ST_match("a", nullptr); },
    };
    for (size_t i = 0; i < sizeof calls / sizeof calls[0]; i++) {
        TU_clear_reports();
        EXPECT_EQ(calls[i](), 0) << "call " << i;
        ASSERT_EQ(TU_reports().size(), 1u) << "call " << i;
        EXPECT_EQ(TU_reports()[0].kind, WE_KIND_INTERNAL) << "call " << i;
        EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\common\\st řádek ", 0), 0u) << TU_reports()[0].text;
        EXPECT_STREQ(t, "abc") << "call " << i;
    }
}
