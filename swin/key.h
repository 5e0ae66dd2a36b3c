// Key translation: window-message keys into the toolkit key codes 0 to 367
// (the key-name vocabulary VOC_key_name of util/voc.h; 0 = no key). Used by
// the shared window procedure, the key-input control, the screens and the
// key codes of the function tables.
#pragma once
#include <cstdint>

// Key-down messages (WM_KEYDOWN, WM_SYSKEYDOWN): the virtual key with the
// held modifiers (nonzero = held). A key with four forms gives its base code,
// base + 1 with Shift, + 2 with Alt, + 3 with Ctrl, tested in that order so
// that the last one held wins (a modifier for which the key has no form
// leaves the code as it was). Digits and letters give a code only with Ctrl,
// the numeric pad and punctuation keys only with Ctrl or Alt. Other keys and
// virtual keys above 222 give 0.
int16_t KEY_from_virtual_key(int32_t virtual_key, int16_t shift, int16_t alt, int16_t ctrl);

// Character messages (WM_CHAR): the character's own code (digits, letters,
// the Czech letters of code page 1250, punctuation, the section sign); 0
// for any other character.
int16_t KEY_from_char(uint8_t c);

// The character of a code KEY_from_char gives (0 for any other code).
char KEY_to_char(int16_t code);

// System-character and menu-character messages (WM_SYSCHAR, WM_MENUCHAR):
// the Alt form of a digit or a letter (either case); 0 for any other character.
int16_t KEY_from_alt_char(uint8_t c);
