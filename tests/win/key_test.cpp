// Key translation: every form lands on the key code whose name the key-name
// vocabulary gives it ("" for no code).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "swin/key.h"
#include "util/voc.h"

namespace {

enum MOD { PLAIN = 0, SHIFT = 1, ALT = 2, CTRL = 4 };

std::string name_of(int16_t code)
{
    if (code == 0)
        return "";
    const char *n = VOC_key_name(code);
    return n ? n : "(null)";
}

}  // namespace

TEST(Key, VirtualKeys)
{
    const struct { int32_t vk; int mod; const char *name; } cases[] = {
        {VK_RETURN, PLAIN, "Enter"}, {VK_RETURN, SHIFT, "Shift+Enter"}, {VK_RETURN, CTRL, "Control+Enter"},
        {VK_RETURN, ALT, "Enter"},   // no Alt form: the code stays
        {VK_ESCAPE, PLAIN, "Esc"}, {VK_ESCAPE, SHIFT, "Shift+Esc"}, {VK_ESCAPE, CTRL, "Esc"},
        {VK_SPACE, PLAIN, "Mezera"}, {VK_SPACE, SHIFT, "Shift+Mezera"}, {VK_SPACE, CTRL, "Control+Mezera"},
        {VK_BACK, PLAIN, "Backspace"}, {VK_BACK, ALT, "Alt+Backspace"}, {VK_BACK, CTRL, "Control+BackSpace"},
        {VK_TAB, PLAIN, "Tab"}, {VK_TAB, SHIFT, "Shift+Tab"}, {VK_TAB, CTRL, "Control+Tab"},
        {VK_PRIOR, PLAIN, "PageUp"}, {VK_NEXT, ALT, "Alt+PageDown"}, {VK_END, CTRL, "Control+End"},
        {VK_HOME, SHIFT, "Shift+Home"}, {VK_LEFT, PLAIN, "Šipka_vlevo"}, {VK_RIGHT, CTRL, "Control+Šipka_vpravo"},
        {VK_UP, ALT, "Alt+Šipka_nahoru"}, {VK_DOWN, SHIFT, "Shift+Šipka_dolu"}, {VK_INSERT, PLAIN, "Insert"},
        {VK_DELETE, CTRL, "Control+Delete"}, {VK_OEM_3, PLAIN, "Tilda`/~"}, {VK_OEM_3, ALT, "Alt+Tilda`/~"},
        {VK_F1, PLAIN, "F1"}, {VK_F1, SHIFT, "Shift+F1"}, {VK_F7, ALT, "Alt+F7"}, {VK_F12, PLAIN, "F12"},
        {VK_F12, CTRL, "Control+F12"}, {VK_APPS, PLAIN, "Klávesa_aplikace"},
        {VK_APPS, CTRL, "Control+Klávesa_aplikace"}, {VK_PAUSE, PLAIN, "Break"}, {VK_PAUSE, SHIFT, "Shift+Break"},
        {VK_PAUSE, ALT, "Alt+Break"}, {VK_CANCEL, CTRL, "Control+Break"}, {'0', CTRL, "Control+0"},
        {'9', CTRL, "Control+9"}, {'A', CTRL, "Control+A"}, {'Z', CTRL, "Control+Z"},
        {VK_OEM_5, CTRL, "Control_\\"}, {VK_OEM_5, ALT, "Alt_\\"}, {VK_OEM_PLUS, CTRL, "Control_="},
        {VK_OEM_MINUS, ALT, "Alt_-"}, {VK_OEM_4, CTRL, "Control_["}, {VK_OEM_6, ALT, "Alt_]"},
        {VK_OEM_1, CTRL, "Control_;"}, {VK_OEM_7, CTRL, "Control_'"}, {VK_OEM_7, ALT, "Alt'"},
        {VK_OEM_COMMA, ALT, "Alt_,"}, {VK_OEM_PERIOD, CTRL, "Control_."}, {VK_OEM_2, ALT, "Alt_/"},
        {VK_NUMPAD0, CTRL, "Control_numpad_0"}, {VK_NUMPAD9, ALT, "Alt_numpad_9"},
        {VK_MULTIPLY, CTRL, "Control_numpad_*"}, {VK_ADD, ALT, "Alt_numpad_+"}, {VK_DIVIDE, CTRL, "Control_numpad_/"},
        {VK_SUBTRACT, ALT, "Alt_numpad_-"}, {VK_DECIMAL, ALT, "Alt_numpad_."},
        // The last modifier held wins (the window procedure drops such keys earlier).
        {VK_F1, SHIFT | CTRL, "Control+F1"}, {VK_HOME, SHIFT | ALT, "Alt+Home"},
        {VK_NUMPAD1, ALT | CTRL, "Control_numpad_1"},
        // Keys without a form give no code.
        {'A', PLAIN, ""}, {'A', SHIFT, ""}, {'5', ALT, ""}, {VK_NUMPAD3, PLAIN, ""}, {VK_OEM_2, SHIFT, ""},
        {VK_CANCEL, PLAIN, ""}, {VK_SHIFT, PLAIN, ""}, {VK_F13, PLAIN, ""}, {0xDF, CTRL, ""}, {0xE2, CTRL, ""},
        {-1, PLAIN, ""},
    };
    for (const auto &c : cases) {
        int16_t code = KEY_from_virtual_key(c.vk, c.mod & SHIFT ? 1 : 0, c.mod & ALT ? 1 : 0, c.mod & CTRL ? 1 : 0);
        EXPECT_EQ(name_of(code), c.name) << "vk " << c.vk << " mod " << c.mod;
    }
}

TEST(Key, CharactersAndAltCharacters)
{
    const struct { unsigned char c; const char *name; } cases[] = {
        {'0', "0"}, {'7', "7"}, {'A', "A"}, {'Z', "Z"}, {'a', "a"}, {'z', "z"}, {0xE1, "a_s_čárkou"},
        {0xFD, "y_s_čárkou"}, {0xC1, "A_s_čárkou"}, {0xDD, "Y_s_čárkou"}, {0xE8, "c_s_háčkem"},
        {0xF9, "u_s_kroužkem"}, {0x9E, "z_s_háčkem"}, {0xC8, "C_s_háčkem"}, {0xD9, "U_s_kroužkem"},
        {0x8E, "Z_s_háčkem"}, {'!', "!"}, {'|', "|"}, {'"', "\""}, {'~', "~"}, {'\\', "\\"}, {'_', "_"},
        {'>', ">"}, {0xA7, "paragraf"}, {0, ""}, {32, ""}, {13, ""}, {0x7F, ""}, {0xA0, ""}, {0xF6, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(name_of(KEY_from_char(c.c)), c.name) << int(c.c);
    int seen[368] = {};   // every code the character table can give is unique, and gives its character back
    for (int c = 0; c < 256; c++) {
        int16_t code = KEY_from_char(static_cast<uint8_t>(c));
        EXPECT_TRUE(code == 0 || ++seen[code] == 1) << code;
        EXPECT_EQ(static_cast<uint8_t>(KEY_to_char(code)), code ? c : 0) << c;
    }
    for (int16_t code : {1, 6, 113, 115, 145, 146, 311, 367})   // keys, not characters
        EXPECT_EQ(KEY_to_char(code), 0) << code;
    const struct {
        unsigned char c;
        const char *name;
    } alt[] = {{'0', "Alt+0"}, {'9', "Alt+9"}, {'S', "Alt+S"}, {'s', "Alt+S"}, {'Z', "Alt+Z"}, {'!', ""}, {0xE1, ""}};
    for (const auto &c : alt)
        EXPECT_EQ(name_of(KEY_from_alt_char(c.c)), c.name) << int(c.c);
}
