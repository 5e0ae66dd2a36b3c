#include "common/u8.h"

#include <cstdint>

namespace {

// Unicode of the CP1250 bytes 0x80 to 0xFF; 0 where CP1250 has no character.
const uint16_t UPPER_HALF[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void put_utf8(std::string &out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one sequence at s[i] (i < n); returns its length, 0 when broken.
size_t take_utf8(const unsigned char *s, size_t n, size_t i, uint32_t *cp)
{
    unsigned char c = s[i];
    size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > n)
        return 0;
    uint32_t v = len == 1 ? c : c & (0x7F >> len);
    for (size_t k = 1; k < len; k++) {
        if ((s[i + k] & 0xC0) != 0x80)
            return 0;
        v = (v << 6) | (s[i + k] & 0x3F);
    }
    static const uint32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < least[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    *cp = v;
    return len;
}

}  // namespace

std::string U8_from_cp1250(const char *text)
{
    std::string out;
    if (!text)
        return out;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; p++) {
        uint32_t cp = *p < 0x80 ? *p : UPPER_HALF[*p - 0x80];
        put_utf8(out, cp ? cp : 0xFFFD);
    }
    return out;
}

std::string U8_to_cp1250(const char *text, int *lossless)
{
    std::string out;
    int exact = 1;
    if (text) {
        const unsigned char *s = reinterpret_cast<const unsigned char *>(text);
        size_t n = std::char_traits<char>::length(text);
        for (size_t i = 0; i < n;) {
            uint32_t cp = 0;
            size_t len = take_utf8(s, n, i, &cp);
            if (len == 0) {
                out += '?';
                exact = 0;
                i++;
                continue;
            }
            i += len;
            if (cp < 0x80) {
                out += static_cast<char>(cp);
                continue;
            }
            int found = -1;
            for (int b = 0; b < 128 && found < 0; b++)
                if (UPPER_HALF[b] == cp)
                    found = b;
            if (found < 0)
                exact = 0;
            out += found < 0 ? '?' : static_cast<char>(0x80 + found);
        }
    }
    if (lossless)
        *lossless = exact;
    return out;
}

int U8_is_utf8(const char *text, size_t length)
{
    const unsigned char *s = reinterpret_cast<const unsigned char *>(text);
    int wide = 0;
    for (size_t i = 0; i < length;) {
        uint32_t cp = 0;
        size_t len = take_utf8(s, length, i, &cp);
        if (len == 0)
            return 0;
        wide |= len > 1;
        i += len;
    }
    return wide;
}
