// Key translation: every form lands on the key code whose name the key-name
// vocabulary gives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "swin/key.h"
#include "util/voc.h"

namespace {

enum MOD { PLAIN, SHIFT, ALT, CTRL, SHIFT_CTRL, ALT_CTRL, SHIFT_ALT };

struct VK_CASE {
    int32_t vk;
    MOD mod;
    const char *name;   // null: no code
};

int16_t translate(const VK_CASE &c)
{
    int16_t shift = c.mod == SHIFT || c.mod == SHIFT_CTRL || c.mod == SHIFT_ALT;
    int16_t alt = c.mod == ALT || c.mod == ALT_CTRL || c.mod == SHIFT_ALT;
    int16_t ctrl = c.mod == CTRL || c.mod == SHIFT_CTRL || c.mod == ALT_CTRL;
    return KEY_from_virtual_key(c.vk, shift, alt, ctrl);
}

std::string name_of(int16_t code)
{
    const char *n = VOC_key_name(code);
    return n ? n : "(null)";
}

}  // namespace

TEST(Key, VirtualKeysGiveTheNamedCodes)
{
    const VK_CASE cases[] = {
        {VK_RETURN, PLAIN, "Enter"},
        {VK_RETURN, SHIFT, "Shift+Enter"},
        {VK_RETURN, CTRL, "Control+Enter"},
        {VK_RETURN, ALT, "Enter"},   // no Alt form: the code stays
        {VK_ESCAPE, PLAIN, "Esc"},
        {VK_ESCAPE, SHIFT, "Shift+Esc"},
        {VK_SPACE, PLAIN, "Mezera"},
        {VK_SPACE, SHIFT, "Shift+Mezera"},
        {VK_SPACE, CTRL, "Control+Mezera"},
        {VK_BACK, PLAIN, "Backspace"},
        {VK_BACK, ALT, "Alt+Backspace"},
        {VK_BACK, CTRL, "Control+BackSpace"},
        {VK_TAB, PLAIN, "Tab"},
        {VK_TAB, SHIFT, "Shift+Tab"},
        {VK_TAB, CTRL, "Control+Tab"},
        {VK_PRIOR, PLAIN, "PageUp"},
        {VK_NEXT, ALT, "Alt+PageDown"},
        {VK_END, CTRL, "Control+End"},
        {VK_HOME, SHIFT, "Shift+Home"},
        {VK_LEFT, PLAIN, "Šipka_vlevo"},
        {VK_RIGHT, CTRL, "Control+Šipka_vpravo"},
        {VK_UP, ALT, "Alt+Šipka_nahoru"},
        {VK_DOWN, SHIFT, "Shift+Šipka_dolu"},
        {VK_INSERT, PLAIN, "Insert"},
        {VK_DELETE, CTRL, "Control+Delete"},
        {VK_OEM_3, PLAIN, "Tilda`/~"},
        {VK_OEM_3, ALT, "Alt+Tilda`/~"},
        {VK_F1, PLAIN, "F1"},
        {VK_F1, SHIFT, "Shift+F1"},
        {VK_F7, ALT, "Alt+F7"},
        {VK_F12, PLAIN, "F12"},
        {VK_F12, CTRL, "Control+F12"},
        {VK_APPS, PLAIN, "Klávesa_aplikace"},
        {VK_APPS, CTRL, "Control+Klávesa_aplikace"},
        {VK_PAUSE, PLAIN, "Break"},
        {VK_PAUSE, SHIFT, "Shift+Break"},
        {VK_PAUSE, ALT, "Alt+Break"},
        {VK_CANCEL, CTRL, "Control+Break"},
        {'0', CTRL, "Control+0"},
        {'9', CTRL, "Control+9"},
        {'A', CTRL, "Control+A"},
        {'Z', CTRL, "Control+Z"},
        {VK_OEM_5, CTRL, "Control_\\"},
        {VK_OEM_5, ALT, "Alt_\\"},
        {VK_OEM_PLUS, CTRL, "Control_="},
        {VK_OEM_MINUS, ALT, "Alt_-"},
        {VK_OEM_4, CTRL, "Control_["},
        {VK_OEM_6, ALT, "Alt_]"},
        {VK_OEM_1, CTRL, "Control_;"},
        {VK_OEM_7, CTRL, "Control_'"},
        {VK_OEM_7, ALT, "Alt'"},
        {VK_OEM_COMMA, ALT, "Alt_,"},
        {VK_OEM_PERIOD, CTRL, "Control_."},
        {VK_OEM_2, ALT, "Alt_/"},
        {VK_NUMPAD0, CTRL, "Control_numpad_0"},
        {VK_NUMPAD9, ALT, "Alt_numpad_9"},
        {VK_MULTIPLY, CTRL, "Control_numpad_*"},
        {VK_ADD, ALT, "Alt_numpad_+"},
        {VK_DIVIDE, CTRL, "Control_numpad_/"},
        {VK_SUBTRACT, ALT, "Alt_numpad_-"},
        {VK_DECIMAL, ALT, "Alt_numpad_."},
        // The last modifier held wins (the window procedure drops such keys earlier).
        {VK_F1, SHIFT_CTRL, "Control+F1"},
        {VK_HOME, SHIFT_ALT, "Alt+Home"},
        {VK_NUMPAD1, ALT_CTRL, "Control_numpad_1"},
    };
    for (const VK_CASE &c : cases)
        EXPECT_EQ(name_of(translate(c)), c.name) << "vk " << c.vk << " mod " << c.mod;
}

TEST(Key, KeysWithoutAFormGiveNoCode)
{
    const VK_CASE cases[] = {
        {'A', PLAIN, nullptr},        {'A', SHIFT, nullptr},      {'5', ALT, nullptr},
        {VK_NUMPAD3, PLAIN, nullptr}, {VK_OEM_2, SHIFT, nullptr}, {VK_CANCEL, PLAIN, nullptr},
        {VK_SHIFT, PLAIN, nullptr},   {VK_F13, PLAIN, nullptr},   {0xDF, CTRL, nullptr},
        {0xE2, CTRL, nullptr},        {-1, PLAIN, nullptr},       {VK_ESCAPE, CTRL, nullptr},
    };
    for (const VK_CASE &c : cases) {
        int16_t code = translate(c);
        if (c.vk == VK_ESCAPE)
            EXPECT_EQ(name_of(code), "Esc");   // no Ctrl form: the plain code stays
        else
            EXPECT_EQ(code, 0) << "vk " << c.vk;
    }
}

TEST(Key, CharactersGiveTheirOwnCodes)
{
    struct {
        unsigned char c;
        const char *name;
    } cases[] = {
        {'0', "0"}, {'7', "7"}, {'A', "A"}, {'Z', "Z"}, {'a', "a"}, {'z', "z"},
        {0xE1, "a_s_čárkou"}, {0xFD, "y_s_čárkou"}, {0xC1, "A_s_čárkou"}, {0xDD, "Y_s_čárkou"},
        {0xE8, "c_s_háčkem"}, {0xF9, "u_s_kroužkem"}, {0x9E, "z_s_háčkem"}, {0xC8, "C_s_háčkem"},
        {0xD9, "U_s_kroužkem"}, {0x8E, "Z_s_háčkem"},
        {'!', "!"}, {'|', "|"}, {'"', "\""}, {'~', "~"}, {'\\', "\\"}, {'_', "_"}, {'>', ">"},
        {0xA7, "paragraf"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(name_of(KEY_from_char(c.c)), c.name) << int(c.c);
    for (int c : {0, 32, 13, 0x7F, 0xA0, 0xF6})
        EXPECT_EQ(KEY_from_char(static_cast<uint8_t>(c)), 0) << c;
    // Every code the character table can give is unique.
    int seen[368] = {};
    for (int c = 0; c < 256; c++) {
        if (int16_t code = KEY_from_char(static_cast<uint8_t>(c))) {
            EXPECT_EQ(++seen[code], 1) << code;
        }
    }
}

TEST(Key, AltCharactersGiveTheAltForms)
{
    EXPECT_EQ(name_of(KEY_from_alt_char('0')), "Alt+0");
    EXPECT_EQ(name_of(KEY_from_alt_char('9')), "Alt+9");
    EXPECT_EQ(name_of(KEY_from_alt_char('S')), "Alt+S");
    EXPECT_EQ(name_of(KEY_from_alt_char('s')), "Alt+S");
    EXPECT_EQ(name_of(KEY_from_alt_char('Z')), "Alt+Z");
    EXPECT_EQ(KEY_from_alt_char('!'), 0);
    EXPECT_EQ(KEY_from_alt_char(0xE1), 0);
}
