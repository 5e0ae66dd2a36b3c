// The key-input control: a child window of class "UCC_KEY_CLASS_NAME" that
// takes every key typed into it (WM_GETDLGCODE answers DLGC_WANTALLKEYS),
// turns it into a toolkit key code (swin/key.h), shows the key's name
// (VOC_key_name) and tells its parent: a posted WM_COMMAND with the control
// id in the low and UCC_KEY_CHANGED in the high word, lparam the control.
// A key that has no toolkit code (a modifier alone) is stored and told as
// code 0; only the character that follows a key-down that had a code (Ctrl+A,
// Enter) is passed over, the key-down having told of the key. A click gives
// the control the focus. WM_KEY_SET / WM_KEY_GET of win/wmsg.h set and read
// the key code (WM_KEY_SET answers 1, or 0 with the key unchanged for a code
// outside 0 .. VOC_KEYS - 1); the initial key is 0 ("KB_null").
#pragma once
#include <windows.h>

#include <cstdint>

#include "swin/ctl.h"

#define UCC_KEY_CLASS_NAME "UCC_KEY_CLASS_NAME"
#define UCC_KEY_CHANGED 1   // notification code: the user typed a key

class C_UCC_KEY : public C_CTL {
public:
    explicit C_UCC_KEY(HWND window_) : C_CTL(window_) {}
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;

    int16_t key = 0;        // toolkit key code 0 .. VOC_KEYS - 1
    int16_t down_coded = 0; // the last key-down had a code: its character without one is passed over
    HFONT font = nullptr;   // WM_SETFONT's (not owned); null: the system font

private:
    // Stores a typed key, shows it and notifies the parent.
    void typed(int16_t code);
    void paint();
};

// Registers the class for the instance (standard arrow, window colour);
// 1 when it is there. WGD_run calls it at start-up.
int16_t UCC_KEY_register(HINSTANCE instance);
