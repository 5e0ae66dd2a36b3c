// Dialog item wrappers: thin layers over SendDlgItemMessageA,
// SetDlgItemTextA and GetDlgItemTextA for one control of a dialog. A dialog
// makes its wrappers in init (new (SRC, __LINE__)) by control id and deletes
// them in its destructor; a wrapper reads its control's rectangle (dialog
// client coordinates) when it is made.
//
// Status flags: 1 = success, 0 = failure (no such control).
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/mm.h"
#include "swin/tabc.h"

// Item kinds.
enum ITEM_KIND : int16_t {
    ITEM_BUTTON = 1,
    ITEM_STATIC,
    ITEM_EDIT,
    ITEM_RADIOBUTTON,
    ITEM_LIST,
    ITEM_KEY,
    ITEM_TABLE,
};

class C_DT_TOOLS : public MM_OBJECT {
public:
    C_DT_TOOLS(int16_t kind, HWND dialog, int32_t id);
    virtual ~C_DT_TOOLS();
    C_DT_TOOLS(const C_DT_TOOLS &) = delete;
    C_DT_TOOLS &operator=(const C_DT_TOOLS &) = delete;

    // The control's window, or null.
    HWND control() const;
    // SendDlgItemMessageA to the control.
    LRESULT send(UINT message, WPARAM wparam, LPARAM lparam) const;

    int16_t kind;
    HWND dialog;
    int32_t id = -1;
    int32_t x = 0;   // the control's rectangle in the dialog's client area
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

protected:
    int16_t set_text(const char *text);
    // At most maximum characters into text (maximum + 1 bytes).
    int16_t get_text(char *text, int16_t maximum) const;
};

class C_DT_BUTTON : public C_DT_TOOLS {
public:
    static const int16_t KIND = ITEM_BUTTON;
    C_DT_BUTTON(HWND dialog, int32_t id) : C_DT_TOOLS(KIND, dialog, id) {}
    using C_DT_TOOLS::set_text;
};

class C_DT_STATIC : public C_DT_TOOLS {
public:
    static const int16_t KIND = ITEM_STATIC;
    C_DT_STATIC(HWND dialog, int32_t id) : C_DT_TOOLS(KIND, dialog, id) {}
    using C_DT_TOOLS::set_text;
    using C_DT_TOOLS::get_text;
};

class C_DT_EDIT : public C_DT_TOOLS {
public:
    static const int16_t KIND = ITEM_EDIT;
    C_DT_EDIT(HWND dialog, int32_t id) : C_DT_TOOLS(KIND, dialog, id) {}
    using C_DT_TOOLS::set_text;
    using C_DT_TOOLS::get_text;
};

class C_DT_RADIOBUTTON : public C_DT_TOOLS {
public:
    static const int16_t KIND = ITEM_RADIOBUTTON;
    C_DT_RADIOBUTTON(HWND dialog, int32_t id) : C_DT_TOOLS(KIND, dialog, id) {}
    using C_DT_TOOLS::set_text;
    using C_DT_TOOLS::get_text;
    int16_t set_checked(int16_t checked);
    int16_t checked() const;   // 1 when checked
};

class C_DT_LIST : public C_DT_TOOLS {
public:
    static const int16_t KIND = ITEM_LIST;
    C_DT_LIST(HWND dialog, int32_t id) : C_DT_TOOLS(KIND, dialog, id) {}
    int16_t clear();
    // The index of the new line, or -1.
    int32_t add(const char *text);
    int16_t set_selection(int32_t index);
    // The selected index, or -1.
    int32_t selection() const;
};

// The key-input control (WM_KEY_SET sets, WM_KEY_GET reads the key code).
class C_DT_KEY : public C_DT_TOOLS {
public:
    static const int16_t KIND = ITEM_KEY;
    C_DT_KEY(HWND dialog, int32_t id) : C_DT_TOOLS(KIND, dialog, id) {}
    // 0 when there is no control or it refused the code (outside 0 .. 367).
    int16_t set_key(int16_t key);
    int16_t key() const;   // 0 without a control
};

// The table control: the operations of swin/tabc.h, any other message through send().
class C_DT_TABLE : public C_DT_TOOLS, public C_TAB_CALLS {
public:
    static const int16_t KIND = ITEM_TABLE;
    C_DT_TABLE(HWND dialog, int32_t id) : C_DT_TOOLS(KIND, dialog, id) {}
    LRESULT table_message(UINT message, WPARAM wparam, LPARAM lparam) const override;
};

// A dialog's wrapper of one of its controls, made and freed through the
// memory manager under the caller's source tag; null when there is no memory.
template <class T>
T *DT_make(HWND dialog, int32_t id, const char *source, int line)
{
    return new (source, line) T(dialog, id);
}
template <class T>
void DT_drop(T *&item, const char *source, int line)
{
    MM_destroy(item, source, line);
    item = nullptr;
}
