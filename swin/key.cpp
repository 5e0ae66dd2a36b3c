#include "swin/key.h"

#include <cstring>

namespace {

// Virtual keys as the system numbers them (written out so that the
// translation stays a plain table on every build).
enum : int32_t {
    VK_CANCEL_KEY = 0x03,
    VK_BACK_KEY = 0x08,
    VK_TAB_KEY = 0x09,
    VK_RETURN_KEY = 0x0D,
    VK_PAUSE_KEY = 0x13,
    VK_ESCAPE_KEY = 0x1B,
    VK_SPACE_KEY = 0x20,
    VK_PRIOR_KEY = 0x21,
    VK_NEXT_KEY = 0x22,
    VK_END_KEY = 0x23,
    VK_HOME_KEY = 0x24,
    VK_LEFT_KEY = 0x25,
    VK_UP_KEY = 0x26,
    VK_RIGHT_KEY = 0x27,
    VK_DOWN_KEY = 0x28,
    VK_INSERT_KEY = 0x2D,
    VK_DELETE_KEY = 0x2E,
    VK_APPS_KEY = 0x5D,
    VK_NUMPAD0_KEY = 0x60,
    VK_MULTIPLY_KEY = 0x6A,
    VK_ADD_KEY = 0x6B,
    VK_SUBTRACT_KEY = 0x6D,
    VK_DECIMAL_KEY = 0x6E,
    VK_DIVIDE_KEY = 0x6F,
    VK_F1_KEY = 0x70,
    VK_F12_KEY = 0x7B,
    VK_OEM_1_KEY = 0xBA,       // ;
    VK_OEM_PLUS_KEY = 0xBB,    // =
    VK_OEM_COMMA_KEY = 0xBC,
    VK_OEM_MINUS_KEY = 0xBD,
    VK_OEM_PERIOD_KEY = 0xBE,
    VK_OEM_2_KEY = 0xBF,       // /
    VK_OEM_3_KEY = 0xC0,       // ` ~
    VK_OEM_4_KEY = 0xDB,       // [
    VK_OEM_5_KEY = 0xDC,       // backslash
    VK_OEM_6_KEY = 0xDD,       // ]
    VK_OEM_7_KEY = 0xDE,       // '
};

// A key's codes plain, with Shift, Alt and Ctrl; -1 where it has no such form.
struct FORMS {
    int32_t virtual_key;
    int16_t plain, shift, alt, ctrl;
};

const FORMS forms[] = {
    {VK_RETURN_KEY, 2, 3, -1, 5},
    {VK_ESCAPE_KEY, 6, 7, -1, -1},
    {VK_SPACE_KEY, 10, 11, -1, 13},
    {VK_BACK_KEY, 14, 15, 16, 17},
    {VK_TAB_KEY, 18, 19, -1, 21},
    {VK_PRIOR_KEY, 22, 23, 24, 25},
    {VK_NEXT_KEY, 26, 27, 28, 29},
    {VK_END_KEY, 30, 31, 32, 33},
    {VK_HOME_KEY, 34, 35, 36, 37},
    {VK_LEFT_KEY, 38, 39, 40, 41},
    {VK_RIGHT_KEY, 42, 43, 44, 45},
    {VK_UP_KEY, 46, 47, 48, 49},
    {VK_DOWN_KEY, 50, 51, 52, 53},
    {VK_INSERT_KEY, 54, 55, 56, 57},
    {VK_DELETE_KEY, 58, 59, 60, 61},
    {VK_OEM_3_KEY, 62, 63, 64, 65},
    {VK_PAUSE_KEY, 311, 312, 313, -1},
    {VK_APPS_KEY, 314, 315, 316, 317},
    {VK_CANCEL_KEY, -1, -1, -1, 1},   // Ctrl+Break
};

// Keys with only a Ctrl and an Alt form: "Control_x" at base, "Alt_x" at base + 1.
struct CTRL_ALT {
    int32_t virtual_key;
    int16_t base;
};

const CTRL_ALT ctrl_alt[] = {
    {VK_OEM_5_KEY, 318},
    {VK_OEM_PLUS_KEY, 320},
    {VK_OEM_MINUS_KEY, 322},
    {VK_OEM_4_KEY, 324},
    {VK_OEM_6_KEY, 326},
    {VK_OEM_1_KEY, 328},
    {VK_OEM_7_KEY, 330},
    {VK_OEM_COMMA_KEY, 332},
    {VK_OEM_PERIOD_KEY, 334},
    {VK_OEM_2_KEY, 336},
    {VK_MULTIPLY_KEY, 358},
    {VK_ADD_KEY, 360},
    {VK_DIVIDE_KEY, 362},
    {VK_SUBTRACT_KEY, 364},
    {VK_DECIMAL_KEY, 366},
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
    if (virtual_key >= VK_F1_KEY && virtual_key <= VK_F12_KEY) {
        int16_t base = static_cast<int16_t>(66 + 4 * (virtual_key - VK_F1_KEY));
        return with_forms({virtual_key, base, static_cast<int16_t>(base + 1), static_cast<int16_t>(base + 2),
                           static_cast<int16_t>(base + 3)},
                          shift, alt, ctrl);
    }
    if (ctrl && virtual_key >= '0' && virtual_key <= '9')
        return static_cast<int16_t>(116 + 3 * (virtual_key - '0'));
    if (ctrl && virtual_key >= 'A' && virtual_key <= 'Z')
        return static_cast<int16_t>(146 + 3 * (virtual_key - 'A'));
    int16_t base = -1;
    if (virtual_key >= VK_NUMPAD0_KEY && virtual_key <= VK_NUMPAD0_KEY + 9)
        base = static_cast<int16_t>(338 + 2 * (virtual_key - VK_NUMPAD0_KEY));
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
