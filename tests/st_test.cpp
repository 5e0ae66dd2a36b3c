#include "common/st.h"

#include <algorithm>
#include <cstring>

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

// Operations that write a text within a maximum or width (0: unbounded): the text afterwards, the result and
// the internal errors. The buffer holds maximum + 1 bytes (unbounded: the text or the result).
TEST(St, Writes)
{
    typedef std::function<int16_t(char *, const char *, int16_t)> OP;
    const OP copy = ST_copy, append = ST_append;
    const OP add_char = [](char *t, const char *s, int16_t m) { return ST_append_char(t, s[0], m); };
    const OP add_line = [](char *t, const char *s, int16_t m) { return ST_append_line(t, m, s); };
    const auto line = [](int16_t n) -> OP {
        return [n](char *t, const char *s, int16_t m) { return ST_get_line(n, s, t, m); };
    };
    const OP trim = [](char *t, const char *, int16_t) { return ST_trim(t); };
    const OP squeeze = [](char *t, const char *, int16_t) { return ST_squeeze(t); };
    const OP pad = [](char *t, const char *fill, int16_t width) { return ST_pad(t, width, fill[0]); };
    const OP pad_blank = [](char *t, const char *, int16_t width) { return ST_pad_blank(t, width); };
    const OP pad_left = [](char *t, const char *, int16_t width) { return ST_pad_left(t, width); };
    const std::string right_80 = std::string(76, ' ') + "12";
    struct CASE { OP op; const char *target, *source, *expected; int16_t maximum, result; int reports = 0; };
    const CASE cases[] = {
        {copy, "", "abcdefgh", "abcde", 5, 0}, {copy, "zz", "abc", "abc", 5, 1}, {copy, "", "abcde", "abcde", 5, 1},
        {copy, "", "abcdefgh", "abcdefgh", 0, 1}, {copy, "xyz", "", "", 3, 1},
        {append, "abc", "defgh", "abcde\xAF", 6, 0}, {append, "abc", "def", "abcdef", 6, 1},
        {append, "abc", "de", "abcde", 0, 1}, {append, "abc", "", "abc", 3, 1},
        {append, "abcdef", "g", "abcde\xAF", 6, 0}, {append, "", "abcdef", "\xAF", 1, 0},
        {add_char, "abc", "d", "abcd", 4, 1}, {add_char, "abcd", "e", "abcd", 4, 0},
        {add_char, "abcd", "e", "abcde", 0, 1}, {add_line, "", "x", "x", 10, 1}, {add_line, "a", "b", "a\nb", 10, 1},
        {add_line, "a", "", "a\n", 10, 1}, {add_line, "abc", "def", "abc\n\xAF", 5, 0},
        {add_line, "abcde", "f", "abcd\xAF", 5, 0}, {line(2), "", "a\nb\nc", "b", 10, 1},
        {line(1), "", "a\nb\nc", "a", 10, 1}, {line(3), "", "a\nb\nc", "c", 10, 1}, {line(4), "", "a\nb\nc", "", 10, 0},
        {line(2), "", "a\n\nb", "", 10, 1},   // an empty line is a line
        {line(2), "", "a\n", "", 10, 1}, {line(3), "", "a\n", "", 10, 0}, {line(1), "", "", "", 10, 1},
        {line(1), "", "abcdef\ng", "abc", 3, 0}, {line(2), "", "x\nabcdef", "abcdef", 0, 1},
        {line(0), "zz", "a", "", 7, 0, 1},   // lines count from 1
        {trim, " \t a b \t", "", "a b", 0, 1}, {trim, "ab", "", "ab", 0, 1}, {trim, " \t  ", "", "", 0, 0},
        {trim, "", "", "", 0, 0}, {squeeze, "  a   b  c ", "", "a b c", 0, 1}, {squeeze, "a\t\tb", "", "a\t\tb", 0, 1},
        {squeeze, "    ", "", "", 0, 1},   // only blanks are squeezed
        {pad, "abcdef", " ", "abc>", 4, 1}, {pad, "ab", ".", "ab..", 4, 1}, {pad, "abc", " ", "", 0, 1},
        {pad, "abcd", " ", "abc>", 4, 1},   // a text of width characters is cut too
        {pad, "", " ", "   ", 3, 1}, {pad, "abc", " ", "abc", -1, 0, 1}, {pad_blank, "abc", "", "abc  ", 5, 1},
        {pad_left, "ab", "", "   ab", 5, 1}, {pad_left, "abcdef", "", "abc|", 4, 1},
        {pad_left, "abcd", "", "abc|", 4, 1}, {pad_left, "12", "", right_80.c_str(), 78, 1},
        {pad_left, "abc", "", "abc", 78, 0, 1},   // up to 80 in all
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        const size_t size = c.maximum > 0 ? c.maximum + 1 : std::strlen(c.expected) + 1;
        std::vector<char> b = buffer(c.target, size);
        const int16_t r = c.op(b.data(), c.source, c.maximum);
        EXPECT_STREQ(b.data(), c.expected) << "'" << c.target << "' + '" << c.source << "' / " << c.maximum;
        EXPECT_EQ(r, c.result) << "'" << c.target << "' + '" << c.source << "' / " << c.maximum;
        EXPECT_TRUE(c.reports ? TU_one_error("..\\common\\st") : TU_reports().empty()) << c.target << "+" << c.source;
    }
}

// Searches, character operations, allocation and duplication of texts.
TEST(St, SearchingAndCharacters)
{
    const char *t = "a.b.c", *u = "abcx";
    // Positions in t and u, -1 for none; find_any takes the set's characters in their order.
    const std::pair<const char *, int> found[] = {
        {ST_find_char(t, '.'), 1}, {ST_find_last(t, '.'), 3}, {ST_find_char(t, 'x'), -1}, {ST_find_char(t, 0), -1},
        {ST_find(t, "b.c"), 2}, {ST_find(t, "c.d"), -1}, {ST_find(t, ""), 0},
    }, found_any[] = {{ST_find_any(u, "xa"), 3}, {ST_find_any(u, "qc"), 2}, {ST_find_any(u, "qz"), -1},
                      {ST_find_any(u, ""), -1}};
    for (const auto &f : found)
        EXPECT_EQ(f.first ? f.first - t : -1, f.second);
    for (const auto &f : found_any)
        EXPECT_EQ(f.first ? f.first - u : -1, f.second);
    char m[] = "m.n";
    char *hit = ST_find_char(m, '.');
    ASSERT_NE(hit, nullptr);
    *hit = '_';
    EXPECT_STREQ(m, "m_n");
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
    EXPECT_TRUE(TU_reports().empty());
    p = reinterpret_cast<char *>(&d);   // anything but null: a failure must clear it
    TU_expect_failures("..\\common\\st", {TU_FAILS(ST_alloc(-1, &p))});
    EXPECT_EQ(p, nullptr);
}

// Functions of two texts. Predicates give exactly 0 or 1, word equality both ways round; orders are checked
// both ways round, the Czech and menu orders exactly -1, 0, 1, the others by sign.
TEST(St, TwoTexts)
{
    typedef int16_t (*F)(const char *, const char *);
    const F plain = ST_compare_plain, czech = ST_compare, menu = ST_compare_menu, natural = ST_compare_natural;
    const F right = ST_compare_right, match = ST_match, words = ST_equal_words, consists = ST_consists_of;
    const std::string long_9 = "x9" + std::string(100, 'a'), long_10 = "x10" + std::string(100, 'a');
    struct CASE { F op; const char *a, *b; int expected; } const cases[] = {
        {plain, "x10", "x9", -1}, {plain, "abc", "abc", 0}, {plain, "ab", "abc", -1}, {plain, "a", "B", 1},
        {plain, "\x8A", "A", -1}, {plain, "A\x8A", "AB", 1},   // first byte signed, later bytes unsigned
        {plain, nullptr, "", -1}, {plain, nullptr, nullptr, 0}, {czech, "c", "č", -1}, {czech, "a", "A", -1},
        {czech, "Zebra", "ahoj", 1},   // letters regardless of case
        {czech, "abc", "abcd", -1}, {czech, "Čáp", "Čáp", 0}, {czech, nullptr, "a", -1}, {czech, nullptr, nullptr, 0},
        {menu, "&Soubor", "Soubor", 0}, {menu, "S&oubor", "&Soubor", 0}, {menu, "&&x", "x", 0}, {menu, "&A", "B", -1},
        {menu, "Ko&nec", "Konec&", 0}, {menu, "&č", "d", -1}, {menu, "x", nullptr, 1}, {natural, "x9", "x10", -1},
        {natural, "x10", "x10", 0}, {natural, "x007", "x7", 0}, {natural, "a2b", "a10a", -1},
        {natural, "x", "x0", -1},   // no number before any number
        {natural, "40000", "30000", 1}, {natural, "123456789012", "99", 1},   // beyond 16 bits
        {natural, "abc", "abd", -1}, {natural, "a1b", "a1c", -1}, {natural, "b1", "a2", 1}, {natural, "2", "10", -1},
        {natural, long_9.c_str(), long_10.c_str(), 1},   // 100 characters or more: Czech order alone
        {natural, nullptr, "x", -1}, {right, "9", "10", -1}, {right, "100", "99", 1}, {right, " 9", "9", 0},
        {right, "abc", "abd", -1}, {right, "", "", 0}, {right, "", "0", -1}, {right, nullptr, "", -1},
        {words, "  Příliš   žluťoučký ", "PRILIS ZLUTOUCKY", 1}, {words, "kůň", "KUN", 1}, {words, "a b", "a  b", 1},
        {words, "", "   ", 1}, {words, "a b", "ab", 0}, {words, "ab", "abc", 0}, {words, "a\tb", "a b", 0},
        {words, nullptr, "a", 0}, {words, nullptr, nullptr, 0}, {consists, "", "01", 1}, {consists, "0110", "01", 1},
        {consists, "012", "01", 0}, {match, "abc", "a?c", 1}, {match, "ab", "a?c", 0}, {match, "abcd", "a?c", 0},
        {match, "abcd", "abc*", 1}, {match, "abc", "abc*", 0}, {match, "a", "a*", 0},   // a "*" after a fixed start
        {match, "banana.txt", "*a.txt", 0}, {match, "a.txt", "*a.txt", 1},   // only the first "a" is tried
        {match, "file.doc", "*.txt", 0}, {match, "", "*", 1}, {match, "abc", "*?c", 0},
        {match, "bc", "*?c", 1},   // "?" after "*" goes on at the same position
        {match, "abc", "**c", 1}, {match, "readme.txt", "r*.t?t", 1}, {match, "readme.txt", "r*.t?x", 0},
        {match, "abc", "abc", 1}, {match, "abc", "ABC", 0}, {match, "", "", 1}, {match, "a", "", 0},
        {match, "", "a", 0}, {match, "", "?", 0}, {match, "a.b.c", "*.c", 0},
        {match, "ab.c", "*.c", 1},   // the first "." is taken
        {match, "xay", "*a*", 1}, {match, "xa", "*a*", 0},
    };
    for (const CASE &c : cases) {
        const bool by_sign = c.op == plain || c.op == natural || c.op == right;
        const bool order = by_sign || c.op == czech || c.op == menu;
        const int16_t r = c.op(c.a, c.b), swapped = order || c.op == words ? c.op(c.b, c.a) : 0;
        EXPECT_EQ(by_sign ? sign(r) : r, c.expected) << shown(c.a) << " : " << shown(c.b);
        EXPECT_EQ(by_sign ? sign(swapped) : swapped, order ? -c.expected : c.op == words ? c.expected : 0)
            << "swapped " << shown(c.a) << " : " << shown(c.b);
    }
    // The plain result is the difference of the first differing bytes; a comparison after trimming, in place.
    EXPECT_EQ(ST_compare_plain("abd", "abb"), 2);
    EXPECT_EQ(ST_compare_plain("a\xFF", "a\x01"), 0xFE);
    char a[] = "  abc \t", b[] = "abc", c[] = " b", d[] = "a ";
    EXPECT_EQ(ST_compare_trimmed(a, b), 0);
    EXPECT_STREQ(a, "abc");
    EXPECT_GT(ST_compare_trimmed(c, d), 0);
    EXPECT_LT(ST_compare_trimmed(nullptr, d), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

// A null text or a negative bound: an internal error, the text unchanged.
TEST(St, NullArgumentsAreInternalErrors)
{
    char t[16] = "abc";
    char *p = nullptr;
    const char *none = nullptr;
    TU_expect_failures("..\\common\\st", {
        TU_FAILS(ST_alloc(3, nullptr)), TU_FAILS(ST_dup(nullptr, &p)), TU_FAILS(ST_dup("a", nullptr)),
        TU_FAILS(ST_free(nullptr)), TU_FAILS(ST_copy(nullptr, "a", 3)), TU_FAILS(ST_copy(t, nullptr, 3)),
        TU_FAILS(ST_copy(t, "a", -1)), TU_FAILS(ST_append(t, nullptr, 3)), TU_FAILS(ST_append_char(nullptr, 'a', 3)),
        TU_FAILS(ST_append_line(t, 10, nullptr)), TU_FAILS(ST_get_line(1, nullptr, nullptr, 3)),
        TU_FAILS(ST_upper(nullptr)), TU_FAILS(ST_lower(nullptr)), TU_FAILS(ST_replace_char(nullptr, 'a', 'b')),
        TU_FAILS(ST_remove_char(nullptr, 'a')), TU_FAILS(ST_find_char(none, 'a')), TU_FAILS(ST_find_last(none, 'a')),
        TU_FAILS(ST_find(t, nullptr)), TU_FAILS(ST_find_any(none, "a")), TU_FAILS(ST_consists_of(t, nullptr)),
        TU_FAILS(ST_trim(nullptr)), TU_FAILS(ST_squeeze(nullptr)), TU_FAILS(ST_pad(nullptr, 3, ' ')),
        TU_FAILS(ST_pad_blank(nullptr, 3)), TU_FAILS(ST_pad_left(nullptr, 3)), TU_FAILS(ST_match(nullptr, "*")),
        TU_FAILS(ST_match("a", nullptr)),
    });
    EXPECT_STREQ(t, "abc");
}
