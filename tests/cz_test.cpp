#include "common/cz.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/config.h"
#include "tests/testutil.h"

#if TRK_WINDOWS
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

// The conversion table as the letters themselves (UTF-8) and their bytes in
// KEYBCS2, LATIN2 (IBM 852) and CP1250.
struct LETTER {
    const char *utf8;
    unsigned char keybcs2, latin2, cp1250;
};
const LETTER LETTERS[] = {
    {u8"á", 0xA0, 0xA0, 0xE1}, {u8"Á", 0x8F, 0xB5, 0xC1}, {u8"é", 0x82, 0x82, 0xE9},
    {u8"É", 0x90, 0x90, 0xC9}, {u8"í", 0xA1, 0xA1, 0xED}, {u8"Í", 0x8B, 0xD6, 0xCD},
    {u8"ó", 0xA2, 0xA2, 0xF3}, {u8"Ó", 0x95, 0xE0, 0xD3}, {u8"ú", 0xA3, 0xA3, 0xFA},
    {u8"Ú", 0x97, 0xE9, 0xDA}, {u8"ý", 0x98, 0xEC, 0xFD}, {u8"Ý", 0x9D, 0xED, 0xDD},
    {u8"č", 0x87, 0x9F, 0xE8}, {u8"Č", 0x80, 0xAC, 0xC8}, {u8"ď", 0x83, 0xD4, 0xEF},
    {u8"Ď", 0x85, 0xD2, 0xCF}, {u8"ě", 0x88, 0xD8, 0xEC}, {u8"Ě", 0x89, 0xB7, 0xCC},
    {u8"ň", 0xA4, 0xE5, 0xF2}, {u8"Ň", 0xA5, 0xD5, 0xD2}, {u8"ř", 0xA9, 0xFD, 0xF8},
    {u8"Ř", 0x9E, 0xFC, 0xD8}, {u8"š", 0xA8, 0xE7, 0x9A}, {u8"Š", 0x9B, 0xE6, 0x8A},
    {u8"ť", 0x9F, 0x9C, 0x9D}, {u8"Ť", 0x86, 0x9B, 0x8D}, {u8"ů", 0x96, 0x85, 0xF9},
    {u8"Ů", 0xA6, 0xDE, 0xD9}, {u8"ž", 0x91, 0xA7, 0x9E}, {u8"Ž", 0x92, 0xA6, 0x8E},
    {u8"ĺ", 0x8D, 0x92, 0xE5}, {u8"Ĺ", 0x8A, 0x91, 0xC5}, {u8"ľ", 0x8C, 0x96, 0xBE},
    {u8"Ľ", 0x9C, 0x95, 0xBC}, {u8"ô", 0x93, 0x93, 0xF4}, {u8"Ô", 0xA7, 0xE2, 0xD4},
    {u8"«", 0xAE, 0xAE, 0xAB}, {u8"»", 0xAF, 0xAF, 0xBB},
};
const int LETTER_COUNT = sizeof LETTERS / sizeof LETTERS[0];

// One byte of a code page as UTF-8, through the system's own tables.
std::string system_to_utf8(int code_page, unsigned char byte) {
#if TRK_WINDOWS
    const char in = static_cast<char>(byte);
    wchar_t wide[4] = {};
    const int n = MultiByteToWideChar(static_cast<UINT>(code_page), MB_ERR_INVALID_CHARS, &in, 1, wide, 4);
    if (n <= 0) {
        return "(no mapping)";
    }
    char out[16] = {};
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, out, sizeof out, nullptr, nullptr);
    return m > 0 ? std::string(out, static_cast<size_t>(m)) : "(no mapping)";
#else
    iconv_t cd = iconv_open("UTF-8", code_page == 1250 ? "CP1250" : "CP852");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return "(no table)";
    }
    char in[1] = {static_cast<char>(byte)};
    char out[16] = {};
    char *ip = in;
    char *op = out;
    size_t il = 1;
    size_t ol = sizeof out;
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) {
        return "(no mapping)";
    }
    return std::string(out, static_cast<size_t>(op - out));
#endif
}

std::string bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

TEST(CzConvert, TableMatchesSystemCodePages) {
    for (const LETTER &l : LETTERS) {
        EXPECT_EQ(system_to_utf8(1250, l.cp1250), l.utf8) << "CP1250 column of " << l.utf8;
        EXPECT_EQ(system_to_utf8(852, l.latin2), l.utf8) << "LATIN2 column of " << l.utf8;
    }
}

// Every listed character: CP1250 -> KEYBCS2 and back, KEYBCS2 -> CP1250 and
// LATIN2, CP1250 -> LATIN2, each with the table's bytes.
TEST(CzConvert, EveryLetterBetweenColumns) {
    std::string cp, kb, l2;
    for (const LETTER &l : LETTERS) {
        cp += static_cast<char>(l.cp1250);
        kb += static_cast<char>(l.keybcs2);
        l2 += static_cast<char>(l.latin2);
    }
    std::string text = cp;
    EXPECT_EQ(CZ_convert(CZ_CP1250, CZ_KEYBCS2, &text[0]), 1);
    EXPECT_EQ(text, kb);
    EXPECT_EQ(CZ_convert(CZ_KEYBCS2, CZ_CP1250, &text[0]), 1);
    EXPECT_EQ(text, cp);
    text = kb;
    EXPECT_EQ(CZ_convert(0, CZ_LATIN2, &text[0]), 1);   // source 0 counts as KEYBCS2
    EXPECT_EQ(text, l2);
    text = cp;
    EXPECT_EQ(CZ_convert(CZ_CP1250, CZ_LATIN2, &text[0]), 1);
    EXPECT_EQ(text, l2);
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(CzConvert, Cases) {
    struct CASE {
        int16_t source, target;
        std::string in, out;
        int16_t result;
    };
    const CASE cases[] = {
        {CZ_CP1250, CZ_KEYBCS2, "Čížek", bytes({0x80, 0xA1, 0x91, 'e', 'k'}), 1},
        {CZ_KEYBCS2, CZ_CP1250, bytes({0x80, 0xA1, 0x91, 'e', 'k'}), "Čížek", 1},
        {CZ_CP1250, CZ_ASCII, "Čížek", "Cizek", 1},
        {CZ_KEYBCS2, CZ_ASCII, bytes({0x80, 0xA1, 0x91, 'e', 'k'}), "Cizek", 1},
        {CZ_CP1250, CZ_CP1250, "Čížek", "Čížek", 0},
        {CZ_KEYBCS2, CZ_KEYBCS2, "Čížek", "Čížek", 0},
        {CZ_CP1250, CZ_KEYBCS2, "plain text", "plain text", 0},
        {CZ_CP1250, 7, "Čížek", bytes({0x80, 0xA1, 0x91, 'e', 'k'}), 1},   // any other target: KEYBCS2
        {CZ_ASCII, CZ_CP1250, "Čížek", "Čížek", 1},                           // nothing, yet 1
        // Guillemets convert; to ASCII they stay (not letters). Unlisted high bytes stay.
        {CZ_CP1250, CZ_KEYBCS2, bytes({0xAB, 0x80, 0xBB}), bytes({0xAE, 0x80, 0xAF}), 1},
        {CZ_CP1250, CZ_ASCII, bytes({0xAB, 0xE4, 0xBB}), bytes({0xAB, 0xE4, 0xBB}), 0},
        {CZ_CP1250, CZ_LATIN2, "Žluťoučký kůň", bytes({0xA6, 'l', 'u', 0x9C, 'o', 'u', 0x9F, 'k', 0xEC,
                                                       ' ', 'k', 0x85, 0xE5}), 1},
    };
    for (const CASE &c : cases) {
        std::string text = c.in;
        EXPECT_EQ(CZ_convert(c.source, c.target, &text[0]), c.result) << c.source << "->" << c.target;
        EXPECT_EQ(text, c.out) << c.source << "->" << c.target;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(CzConvert, RejectedSources) {
    struct CASE {
        int16_t source;
        WE_KIND kind;
    };
    const CASE cases[] = {{CZ_LATIN2, WE_KIND_INTERNAL}, {5, WE_KIND_SWITCH}, {-1, WE_KIND_SWITCH}};
    for (const CASE &c : cases) {
        TU_clear_reports();
        std::string text = bytes({0xAC, 'a', 0x9F});
        EXPECT_EQ(CZ_convert(c.source, CZ_CP1250, &text[0]), 0);
        EXPECT_EQ(text, bytes({0xAC, 'a', 0x9F}));
        ASSERT_EQ(TU_reports().size(), 1u);
        EXPECT_EQ(TU_reports()[0].kind, c.kind);
        EXPECT_EQ(TU_reports()[0].text.find("Chyba v souboru ..\\common\\cz řádek "), 0u);
    }
}

TEST(CzText, CaseAndStrip) {
    struct CASE {
        int16_t (*operation)(char *);
        std::string in, out;
        int16_t result;
    };
    const CASE cases[] = {
        {CZ_upper, "žluťoučký kůň", "ŽLUŤOUČKÝ KŮŇ", 1},
        {CZ_upper, "ABC 123 ÁČ", "ABC 123 ÁČ", 0},
        {CZ_upper, "ĺľôáéíóúýčďěňřšťůž", "ĹĽÔÁÉÍÓÚÝČĎĚŇŘŠŤŮŽ", 1},
        {CZ_lower, "ŽLUŤOUČKÝ KŮŇ", "žluťoučký kůň", 1},
        {CZ_lower, "ĹĽÔÁÉÍÓÚÝČĎĚŇŘŠŤŮŽ", "ĺľôáéíóúýčďěňřšťůž", 1},
        {CZ_lower, "abc", "abc", 0},
        {CZ_strip, "Příliš", "Prilis", 1},
        {CZ_strip, "abc", "abc", 0},
        {CZ_strip, "ÁáÉéÍíÓóÚúÝýČčĎďĚěŇňŘřŠšŤťŮůŽžĹĺĽľÔô", "AaEeIiOoUuYyCcDdEeNnRrSsTtUuZzLlLlOo", 1},
        // Letters the tables do not list stay as they are.
        {CZ_upper, "äöüß", "äöüß", 0},
        {CZ_strip, "Äöü", "Äöü", 0},
        {CZ_strip, "", "", 0},
    };
    for (const CASE &c : cases) {
        std::string text = c.in;
        EXPECT_EQ(c.operation(&text[0]), c.result) << c.in;
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST(CzText, StripKeybcs2) {
    std::string text = bytes({0x80, 0xA1, 0x91, 'e', 'k', 0x9B, 0xAE});
    EXPECT_EQ(CZ_strip_keybcs2(&text[0]), 1);
    EXPECT_EQ(text, bytes({'C', 'i', 'z', 'e', 'k', 'S', 0xAE}));
    // The same bytes read as CP1250 are other characters: no change.
    text = bytes({0x80, 0xA1, 0x91});
    EXPECT_EQ(CZ_strip(&text[0]), 0);
}

TEST(CzText, SingleCharacters) {
    struct CASE {
        int16_t (*operation)(char *);
        char in, out;
        int16_t result;
    };
    const CASE cases[] = {
        {CZ_upper_char, 'a', 'A', 1},      {CZ_upper_char, '\xE8', '\xC8', 1},   // č -> Č
        {CZ_upper_char, 'A', 'A', 0},      {CZ_upper_char, '1', '1', 0},
        {CZ_lower_char, '\x8A', '\x9A', 1},                                      // Š -> š
        {CZ_lower_char, 'Z', 'z', 1},      {CZ_lower_char, 'z', 'z', 0},
        {CZ_strip_char, '\xF9', 'u', 1},                                         // ů
        {CZ_strip_char, '\xD9', 'U', 1},   {CZ_strip_char, 'x', 'x', 0},
        {CZ_strip_char, '\xAB', '\xAB', 0},
    };
    for (const CASE &c : cases) {
        char ch = c.in;
        EXPECT_EQ(c.operation(&ch), c.result) << static_cast<int>(static_cast<unsigned char>(c.in));
        EXPECT_EQ(ch, c.out) << static_cast<int>(static_cast<unsigned char>(c.in));
    }
}

TEST(CzText, NullArgumentsAreReported) {
    EXPECT_EQ(CZ_upper(nullptr), 0);
    EXPECT_EQ(CZ_lower(nullptr), 0);
    EXPECT_EQ(CZ_strip(nullptr), 0);
    EXPECT_EQ(CZ_strip_keybcs2(nullptr), 0);
    EXPECT_EQ(CZ_upper_char(nullptr), 0);
    EXPECT_EQ(CZ_lower_char(nullptr), 0);
    EXPECT_EQ(CZ_strip_char(nullptr), 0);
    EXPECT_EQ(CZ_convert(CZ_CP1250, CZ_ASCII, nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 8);
}

int collate(const char *a, const char *b) {
    return CZ_collate(static_cast<unsigned char>(a[0]), static_cast<unsigned char>(b[0]));
}

TEST(CzCollate, Pairs) {
    struct CASE {
        const char *a, *b;
        int result;
    };
    const CASE cases[] = {
        {"c", "č", -1}, {"č", "d", -1}, {"a", "A", -1}, {"A", "a", 1}, {"e", "é", -1},
        {"é", "ě", -1}, {"e", "ě", -1}, {"ě", "f", -1}, {"é", "f", -1}, {"č", "Č", -1},
        {"C", "č", -1}, {"c", "Č", -1}, {"Č", "c", 1}, {"Z", "ž", -1}, {"ž", "Ž", -1},
        {"a", "B", -1}, {"B", "a", 1}, {"s", "Š", -1}, {"Š", "t", -1}, {"x", "x", 0},
        {"Ř", "Ř", 0}, {"r", "ř", -1}, {"ř", "s", -1}, {"ů", "ú", -1}, {"ú", "v", -1},
        // Other characters above 127 come before all ASCII ones.
        {"ä", "a", -1}, {"\xAB", " ", -1}, {"1", "a", -1}, {" ", "1", -1},
    };
    for (const CASE &c : cases) {
        EXPECT_EQ(collate(c.a, c.b), c.result) << c.a << " " << c.b;
        EXPECT_EQ(collate(c.b, c.a), -c.result) << c.b << " " << c.a;
    }
}

// The collation must be a total order over all bytes, or a sort by it would
// depend on the order of its input. An insertion sort by it must therefore
// agree with it on every pair.
TEST(CzCollate, TotalOrder) {
    std::vector<unsigned char> order;
    for (int c = 1; c < 256; c++) {
        auto at = order.begin();
        while (at != order.end() && CZ_collate(*at, static_cast<unsigned char>(c)) < 0) {
            ++at;
        }
        order.insert(at, static_cast<unsigned char>(c));
    }
    for (size_t i = 0; i < order.size(); i++) {
        for (size_t j = i + 1; j < order.size(); j++) {
            ASSERT_EQ(CZ_collate(order[i], order[j]), -1) << int(order[i]) << " " << int(order[j]);
            ASSERT_EQ(CZ_collate(order[j], order[i]), 1) << int(order[j]) << " " << int(order[i]);
        }
    }
}

// Texts ordered by the collation at their first differing position; the shorter first.
bool czech_less(const std::string &a, const std::string &b) {
    size_t k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k]) {
        k++;
    }
    if (k == a.size() || k == b.size()) {
        return a.size() < b.size();
    }
    return CZ_collate(static_cast<unsigned char>(a[k]), static_cast<unsigned char>(b[k])) < 0;
}

TEST(CzCollate, SortsCzechWords) {
    std::vector<std::string> words = {
        "žena", "Zdeněk", "čaj", "chata", "cesta", "Čech", "Cena", "dům", "ďábel", "hrad",
        "řeka", "rak", "šiška", "sova", "Šárka", "tát", "ťukat", "úterý", "ulice", "ýpsilon",
        "yzop", "ěšť", "esej", "éra", "Eva", "Ostrava", "ó", "ošetřit", "ňadro", "nos", "Brno",
        "brod", "ano", "Adam", "Áda", "ála",
    };
    const std::vector<std::string> expected = {
        "ano", "Adam", "ála", "Áda", "brod", "Brno", "cesta", "chata", "Cena", "čaj", "Čech",
        "dům", "ďábel", "esej", "Eva", "éra", "ěšť", "hrad", "nos", "ňadro", "ošetřit", "Ostrava",
        "ó", "rak", "řeka", "sova", "šiška", "Šárka", "tát", "ťukat", "ulice", "úterý", "yzop",
        "ýpsilon", "Zdeněk", "žena",
    };
    std::reverse(words.begin(), words.end());
    std::sort(words.begin(), words.end(), czech_less);
    EXPECT_EQ(words, expected);
}

}  // namespace
