#include "common/cz.h"

#include "common/config.h"
#include "common/u8.h"
#include "tests/testutil.h"

#if TRK_WINDOWS
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

// The conversion table as the letters themselves (UTF-8) and their bytes in KEYBCS2, LATIN2 (IBM 852) and CP1250.
struct LETTER { const char *utf8; unsigned char keybcs2, latin2, cp1250; };
const LETTER LETTERS[] = {
    {u8"á", 0xA0, 0xA0, 0xE1}, {u8"Á", 0x8F, 0xB5, 0xC1}, {u8"é", 0x82, 0x82, 0xE9}, {u8"É", 0x90, 0x90, 0xC9},
    {u8"í", 0xA1, 0xA1, 0xED}, {u8"Í", 0x8B, 0xD6, 0xCD}, {u8"ó", 0xA2, 0xA2, 0xF3}, {u8"Ó", 0x95, 0xE0, 0xD3},
    {u8"ú", 0xA3, 0xA3, 0xFA}, {u8"Ú", 0x97, 0xE9, 0xDA}, {u8"ý", 0x98, 0xEC, 0xFD}, {u8"Ý", 0x9D, 0xED, 0xDD},
    {u8"č", 0x87, 0x9F, 0xE8}, {u8"Č", 0x80, 0xAC, 0xC8}, {u8"ď", 0x83, 0xD4, 0xEF}, {u8"Ď", 0x85, 0xD2, 0xCF},
    {u8"ě", 0x88, 0xD8, 0xEC}, {u8"Ě", 0x89, 0xB7, 0xCC}, {u8"ň", 0xA4, 0xE5, 0xF2}, {u8"Ň", 0xA5, 0xD5, 0xD2},
    {u8"ř", 0xA9, 0xFD, 0xF8}, {u8"Ř", 0x9E, 0xFC, 0xD8}, {u8"š", 0xA8, 0xE7, 0x9A}, {u8"Š", 0x9B, 0xE6, 0x8A},
    {u8"ť", 0x9F, 0x9C, 0x9D}, {u8"Ť", 0x86, 0x9B, 0x8D}, {u8"ů", 0x96, 0x85, 0xF9}, {u8"Ů", 0xA6, 0xDE, 0xD9},
    {u8"ž", 0x91, 0xA7, 0x9E}, {u8"Ž", 0x92, 0xA6, 0x8E}, {u8"ĺ", 0x8D, 0x92, 0xE5}, {u8"Ĺ", 0x8A, 0x91, 0xC5},
    {u8"ľ", 0x8C, 0x96, 0xBE}, {u8"Ľ", 0x9C, 0x95, 0xBC}, {u8"ô", 0x93, 0x93, 0xF4}, {u8"Ô", 0xA7, 0xE2, 0xD4},
    {u8"«", 0xAE, 0xAE, 0xAB}, {u8"»", 0xAF, 0xAF, 0xBB},
};

// One byte of a code page as UTF-8, through the system's own tables.
std::string system_to_utf8(int code_page, unsigned char byte)
{
    char in[1] = {static_cast<char>(byte)}, out[16] = {};
#if TRK_WINDOWS
    wchar_t wide[4] = {};
    const int n = MultiByteToWideChar(static_cast<UINT>(code_page), MB_ERR_INVALID_CHARS, in, 1, wide, 4);
    const int m = n > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, n, out, sizeof out, nullptr, nullptr) : 0;
    return m > 0 ? std::string(out, static_cast<size_t>(m)) : "(no mapping)";
#else
    iconv_t cd = iconv_open("UTF-8", code_page == 1250 ? "CP1250" : "CP852");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "(no table)";
    char *ip = in, *op = out;
    size_t il = 1, ol = sizeof out;
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    return r == static_cast<size_t>(-1) ? "(no mapping)" : std::string(out, static_cast<size_t>(op - out));
#endif
}

std::string bytes(std::initializer_list<unsigned char> list) { return std::string(list.begin(), list.end()); }

}  // namespace

// The table against the system's code pages. Conversions of every listed character between the columns,
// case and base letters of texts and single characters: the result and the text afterwards (unlisted high
// bytes stay); a null text or a rejected source is an internal (or switch) error and changes nothing.
TEST(Cz, ConversionsCaseAndStrip)
{
    std::string cp, kb, l2;
    for (const LETTER &l : LETTERS) {
        EXPECT_EQ(system_to_utf8(1250, l.cp1250), l.utf8) << "CP1250 column of " << l.utf8;
        EXPECT_EQ(system_to_utf8(852, l.latin2), l.utf8) << "LATIN2 column of " << l.utf8;
        cp += static_cast<char>(l.cp1250), kb += static_cast<char>(l.keybcs2), l2 += static_cast<char>(l.latin2);
    }
    const std::string cizek_kb = bytes({0x80, 0xA1, 0x91, 'e', 'k'}), other = bytes({0xAC, 'a', 0x9F});
    typedef std::function<int16_t(char *)> ACT;
    const auto conv = [](int16_t from, int16_t to) -> ACT { return [=](char *t) { return CZ_convert(from, to, t); }; };
    struct CASE { ACT act; std::string in, out; int16_t result; WE_KIND report = WE_KIND(0); } const cases[] = {
        {conv(CZ_CP1250, CZ_KEYBCS2), cp, kb, 1}, {conv(CZ_KEYBCS2, CZ_CP1250), kb, cp, 1},
        {conv(CZ_CP1250, CZ_LATIN2), cp, l2, 1}, {conv(0, CZ_LATIN2), kb, l2, 1},   // source 0 counts as KEYBCS2
        {conv(CZ_CP1250, CZ_ASCII), "Čížek", "Cizek", 1}, {conv(CZ_KEYBCS2, CZ_ASCII), cizek_kb, "Cizek", 1},
        {conv(CZ_CP1250, CZ_CP1250), "Čížek", "Čížek", 0}, {conv(CZ_KEYBCS2, CZ_KEYBCS2), "Čížek", "Čížek", 0},
        {conv(CZ_CP1250, CZ_KEYBCS2), "plain text", "plain text", 0},
        {conv(CZ_CP1250, 7), "Čížek", cizek_kb, 1},          // any other target: KEYBCS2
        {conv(CZ_ASCII, CZ_CP1250), "Čížek", "Čížek", 1},   // nothing, yet 1
        // Guillemets convert, but to ASCII they stay (no letters).
        {conv(CZ_CP1250, CZ_KEYBCS2), bytes({0xAB, 0x80, 0xBB}), bytes({0xAE, 0x80, 0xAF}), 1},
        {conv(CZ_CP1250, CZ_ASCII), bytes({0xAB, 0xE4, 0xBB}), bytes({0xAB, 0xE4, 0xBB}), 0},
        {conv(CZ_LATIN2, CZ_CP1250), other, other, 0, WE_KIND_INTERNAL},
        {conv(5, CZ_CP1250), other, other, 0, WE_KIND_SWITCH}, {conv(-1, CZ_CP1250), other, other, 0, WE_KIND_SWITCH},
        {CZ_upper, "žluťoučký kůň", "ŽLUŤOUČKÝ KŮŇ", 1}, {CZ_upper, "ABC 123 ÁČ", "ABC 123 ÁČ", 0},
        {CZ_upper, "ĺľôáéíóúýčďěňřšťůž", "ĹĽÔÁÉÍÓÚÝČĎĚŇŘŠŤŮŽ", 1}, {CZ_upper, "äöüß", "äöüß", 0},
        {CZ_lower, "ĹĽÔÁÉÍÓÚÝČĎĚŇŘŠŤŮŽ AB", "ĺľôáéíóúýčďěňřšťůž ab", 1}, {CZ_lower, "abc", "abc", 0},
        {CZ_strip, "ÁáÉéÍíÓóÚúÝýČčĎďĚěŇňŘřŠšŤťŮůŽžĹĺĽľÔô", "AaEeIiOoUuYyCcDdEeNnRrSsTtUuZzLlLlOo", 1},
        {CZ_strip, "abc", "abc", 0}, {CZ_strip, "Äöü", "Äöü", 0}, {CZ_strip, "", "", 0},
        {CZ_strip, bytes({0x80, 0xA1, 0x91}), bytes({0x80, 0xA1, 0x91}), 0},   // KEYBCS2 bytes are other letters
        {CZ_strip_keybcs2, bytes({0x80, 0xA1, 0x91, 'e', 0x9B, 0xAE}), bytes({'C', 'i', 'z', 'e', 'S', 0xAE}), 1},
        {CZ_upper_char, "a", "A", 1}, {CZ_upper_char, "č", "Č", 1}, {CZ_upper_char, "A", "A", 0},
        {CZ_lower_char, "Š", "š", 1}, {CZ_lower_char, "z", "z", 0}, {CZ_strip_char, "ů", "u", 1},
        {CZ_strip_char, "Ů", "U", 1}, {CZ_strip_char, "x", "x", 0}, {CZ_strip_char, "\xAB", "\xAB", 0},
        {CZ_upper_char, "čč", "Čč", 1},   // one character only
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        std::string text = c.in;
        EXPECT_EQ(c.act(&text[0]), c.result) << c.in;
        EXPECT_EQ(text, c.out) << c.in;
        EXPECT_TRUE(c.report ? TU_one_error("..\\common\\cz", c.report) : TU_reports().empty()) << c.in;
    }
    TU_expect_failures("..\\common\\cz", {
        TU_FAILS(CZ_upper(nullptr)), TU_FAILS(CZ_lower(nullptr)), TU_FAILS(CZ_strip(nullptr)),
        TU_FAILS(CZ_strip_keybcs2(nullptr)), TU_FAILS(CZ_upper_char(nullptr)), TU_FAILS(CZ_lower_char(nullptr)),
        TU_FAILS(CZ_strip_char(nullptr)), TU_FAILS(CZ_convert(CZ_CP1250, CZ_ASCII, nullptr)),
    });
}

// Letters alphabetically regardless of case and diacritics, the small one before the capital and the plain
// one before the accented; other characters above 127 before all ASCII ones. A total order over all bytes,
// or a sort by it would depend on the order of its input: an insertion sort by it must agree with it on
// every pair.
TEST(CzCollate, Order)
{
    const auto expect_before = [](char a, char b) {
        const unsigned char x = static_cast<unsigned char>(a), y = static_cast<unsigned char>(b);
        ASSERT_EQ(CZ_collate(x, y), -1) << int(x) << " " << int(y);
        ASSERT_EQ(CZ_collate(y, x), 1) << int(y) << " " << int(x);
    };
    const std::string chain = "« 1aAáÁbBcCčČdďeEéěfhnňoOóprřsšŠtťuůúvxyýzZžŽ";
    for (size_t i = 0; i < chain.size(); i++)
        for (size_t j = i + 1; j < chain.size(); j++)
            expect_before(chain[i], chain[j]);
    expect_before('\xE4', ' ');   // ä
    std::vector<unsigned char> order;
    for (int c = 1; c < 256; c++) {
        auto at = order.begin();
        while (at != order.end() && CZ_collate(*at, static_cast<unsigned char>(c)) < 0)
            ++at;
        order.insert(at, static_cast<unsigned char>(c));
    }
    for (size_t i = 0; i < order.size(); i++) {
        ASSERT_EQ(CZ_collate(order[i], order[i]), 0) << int(order[i]);
        for (size_t j = i + 1; j < order.size(); j++)
            expect_before(static_cast<char>(order[i]), static_cast<char>(order[j]));
    }
}

// CP1250 and UTF-8: every defined byte round trips losslessly; known letters, the undefined byte, what CP1250
// lacks and broken sequences ("?", not lossless); UTF-8 told from CP1250.
TEST(U8, Conversions)
{
    for (int b = 1; b < 256; b++) {
        if (b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98)
            continue;   // not defined in CP1250
        const char in[2] = {static_cast<char>(b), 0};
        int lossless = 0;
        EXPECT_EQ(U8_to_cp1250(U8_from_cp1250(in).c_str(), &lossless), in) << b;
        EXPECT_EQ(lossless, 1) << b;
    }
    const std::string cp = "žluťoučký kůň", u = U8_from_cp1250(cp.c_str());   // CP1250 bytes, as every literal
    // ž, the euro sign, an undefined byte.
    EXPECT_EQ(U8_from_cp1250("\x9E") + U8_from_cp1250("\x80") + U8_from_cp1250("\x81"),
              "\xC5\xBE\xE2\x82\xAC\xEF\xBF\xBD");
    EXPECT_EQ(u, "\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88");
    EXPECT_EQ(U8_to_cp1250(u.c_str()), cp);
    // A CJK letter, a broken sequence, an overlong "/".
    const std::pair<const char *, const char *> lossy[] = {
        {"a\xE4\xB8\xAD" "b", "a?b"}, {"\xC3(", "?("}, {"\xC0\xAF", "??"},
    };
    for (const auto &l : lossy) {
        int lossless = 1;
        EXPECT_EQ(U8_to_cp1250(l.first, &lossless), l.second);
        EXPECT_EQ(lossless, 0) << l.second;
    }
    EXPECT_EQ(U8_to_cp1250(nullptr) + U8_from_cp1250(nullptr), "");
    EXPECT_EQ((TU_V{U8_is_utf8(u.data(), u.size()), U8_is_utf8(cp.data(), cp.size()), U8_is_utf8("plain", 5)}),
              (TU_V{1, 0, 0}));   // plain ASCII: nothing to tell
}
