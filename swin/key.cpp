#include "swin/key.h"

#include <windows.h>

#include <cstring>

namespace {

// A key's codes plain, with Shift, Alt and Ctrl; -1 where it has no such form.
struct FORMS {
    int32_t virtual_key;
    int16_t plain, shift, alt, ctrl;
};

const FORMS forms[] = {
    {VK_RETURN, 2, 3, -1, 5},
    {VK_ESCAPE, 6, 7, -1, -1},
    {VK_SPACE, 10, 11, -1, 13},
    {VK_BACK, 14, 15, 16, 17},
    {VK_TAB, 18, 19, -1, 21},
    {VK_PRIOR, 22, 23, 24, 25},
    {VK_NEXT, 26, 27, 28, 29},
    {VK_END, 30, 31, 32, 33},
    {VK_HOME, 34, 35, 36, 37},
    {VK_LEFT, 38, 39, 40, 41},
    {VK_RIGHT, 42, 43, 44, 45},
    {VK_UP, 46, 47, 48, 49},
    {VK_DOWN, 50, 51, 52, 53},
    {VK_INSERT, 54, 55, 56, 57},
    {VK_DELETE, 58, 59, 60, 61},
    {VK_OEM_3, 62, 63, 64, 65},
    {VK_PAUSE, 311, 312, 313, -1},
    {VK_APPS, 314, 315, 316, 317},
    {VK_CANCEL, -1, -1, -1, 1},   // Ctrl+Break
};

// Keys with only a Ctrl and an Alt form: "Control_x" at base, "Alt_x" at base + 1.
struct CTRL_ALT {
    int32_t virtual_key;
    int16_t base;
};

const CTRL_ALT ctrl_alt[] = {
    {VK_OEM_5, 318},
    {VK_OEM_PLUS, 320},
    {VK_OEM_MINUS, 322},
    {VK_OEM_4, 324},
    {VK_OEM_6, 326},
    {VK_OEM_1, 328},
    {VK_OEM_7, 330},
    {VK_OEM_COMMA, 332},
    {VK_OEM_PERIOD, 334},
    {VK_OEM_2, 336},
    {VK_MULTIPLY, 358},
    {VK_ADD, 360},
    {VK_DIVIDE, 362},
    {VK_SUBTRACT, 364},
    {VK_DECIMAL, 366},
};

int16_t with_forms(const FORMS &f, int16_t shift, int16_t alt, int16_t ctrl)
{
    int16_t code = f.plain;
    if (shift && f.shift >= 0)
        code = f.shift;
    if (alt && f.alt >= 0)
        code = f.alt;
    if (ctrl && f.ctrl >= 0)
        code = f.ctrl;
    return code < 0 ? 0 : code;
}

// The CP1250 letters with acute, caron and ring in the order of the key
// codes 248 to 277.
const char czech_letters[] = "áéíóúýÁÉÍÓÚÝčďěňřšťůžČĎĚŇŘŠŤŮŽ";
// The punctuation characters of the key codes 278 to 309.
const char punctuation[] = "!@#$%^&*()[]{}-+/\\=_|\"'`:;,.?<>~";
const uint8_t SECTION_SIGN = 0xA7;   // § in CP1250

static_assert(sizeof czech_letters - 1 == 30, "30 Czech letters");
static_assert(sizeof punctuation - 1 == 32, "32 punctuation characters");

}  // namespace

int16_t KEY_from_virtual_key(int32_t virtual_key, int16_t shift, int16_t alt, int16_t ctrl)
{
    if (virtual_key < 0 || virtual_key > 222)
        return 0;
    for (const FORMS &f : forms)
        if (f.virtual_key == virtual_key)
            return with_forms(f, shift, alt, ctrl);
    if (virtual_key >= VK_F1 && virtual_key <= VK_F12) {
        int16_t base = static_cast<int16_t>(66 + 4 * (virtual_key - VK_F1));
        return with_forms({virtual_key, base, static_cast<int16_t>(base + 1), static_cast<int16_t>(base + 2),
                           static_cast<int16_t>(base + 3)},
                          shift, alt, ctrl);
    }
    if (ctrl && virtual_key >= '0' && virtual_key <= '9')
        return static_cast<int16_t>(116 + 3 * (virtual_key - '0'));
    if (ctrl && virtual_key >= 'A' && virtual_key <= 'Z')
        return static_cast<int16_t>(146 + 3 * (virtual_key - 'A'));
    int16_t base = -1;
    if (virtual_key >= VK_NUMPAD0 && virtual_key <= VK_NUMPAD9)
        base = static_cast<int16_t>(338 + 2 * (virtual_key - VK_NUMPAD0));
    for (const CTRL_ALT &k : ctrl_alt)
        if (k.virtual_key == virtual_key)
            base = k.base;
    if (base < 0 || (!ctrl && !alt))
        return 0;
    return ctrl ? base : static_cast<int16_t>(base + 1);
}

int16_t KEY_from_char(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int16_t>(114 + 3 * (c - '0'));
    if (c >= 'A' && c <= 'Z')
        return static_cast<int16_t>(144 + 3 * (c - 'A'));
    if (c >= 'a' && c <= 'z')
        return static_cast<int16_t>(222 + (c - 'a'));
    if (c == SECTION_SIGN)
        return 310;
    if (c == 0)
        return 0;
    if (const char *p = std::strchr(czech_letters, static_cast<char>(c)))
        return static_cast<int16_t>(248 + (p - czech_letters));
    if (const char *p = std::strchr(punctuation, static_cast<char>(c)))
        return static_cast<int16_t>(278 + (p - punctuation));
    return 0;
}

char KEY_to_char(int16_t code)
{
    if (code >= 114 && code < 144 && (code - 114) % 3 == 0)
        return static_cast<char>('0' + (code - 114) / 3);
    if (code >= 144 && code < 222 && (code - 144) % 3 == 0)
        return static_cast<char>('A' + (code - 144) / 3);
    if (code >= 222 && code < 248)
        return static_cast<char>('a' + (code - 222));
    if (code >= 248 && code < 278)
        return czech_letters[code - 248];
    if (code >= 278 && code < 310)
        return punctuation[code - 278];
    if (code == 310)
        return static_cast<char>(SECTION_SIGN);
    return 0;
}

int16_t KEY_from_alt_char(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int16_t>(115 + 3 * (c - '0'));
    if (c >= 'a' && c <= 'z')
        c = static_cast<uint8_t>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z')
        return static_cast<int16_t>(145 + 3 * (c - 'A'));
    return 0;
}
