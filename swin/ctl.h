// Controls whose window makes their object. A dialog template or a
// CreateWindowExA names the class; the class's procedure allocates the
// control object at WM_CREATE (no memory: the low-memory report and the
// creation fails), keeps it in the window's extra word, hands it every later
// message and deletes it at WM_DESTROY. The object lives exactly as long as
// its window: whoever holds a pointer to it drops the pointer when the window
// is destroyed.
//
// The other binding, where the object makes its window, is the basic window
// of swin2/bw.h. Both register their classes with CTL_register_class.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/mm.h"

class C_CTL : public MM_OBJECT {
public:
    explicit C_CTL(HWND window_) : window(window_) {}
    virtual ~C_CTL() = default;
    C_CTL(const C_CTL &) = delete;
    C_CTL &operator=(const C_CTL &) = delete;

    // WM_CREATE, the object already bound; -1 makes the creation fail [0].
    virtual LRESULT create(const CREATESTRUCTA *creation);
    // Every message between WM_CREATE and WM_DESTROY [DefWindowProcA].
    virtual LRESULT message(UINT message, WPARAM wparam, LPARAM lparam);

    // The object bound to a window of a control class, or null.
    static C_CTL *from_window(HWND window);

    const HWND window;
};

// Registers a window class once: a class of that name already registered
// for the record's instance is taken as it is. 1 when the class is there.
int16_t CTL_register_class(WNDCLASSEXA *record);

// The procedure of a control class, written once; make allocates the object.
LRESULT CTL_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, C_CTL *(*make)(HWND window));

template <class T>
LRESULT CALLBACK CTL_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return CTL_procedure(window, message, wparam, lparam,
                         [](HWND w) -> C_CTL * { return new ("..\\swin\\ctl", __LINE__) T(w); });
}

// Registers the control class of T: double clicks, global class, the
// object's word as window extra bytes, no icon and no menu.
template <class T>
int16_t CTL_register(HINSTANCE instance, const char *class_name, HCURSOR cursor, HBRUSH background)
{
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.style = CS_DBLCLKS | CS_GLOBALCLASS;
    record.lpfnWndProc = CTL_window_procedure<T>;
    record.cbWndExtra = sizeof(LONG_PTR);
    record.hInstance = instance;
    record.hCursor = cursor;
    record.hbrBackground = background;
    record.lpszClassName = class_name;
    return CTL_register_class(&record);
}

// The position a scroll bar's code asks for from info: a line or a page up
// or down, the thumb's track position, the top or the bottom. 0 for any
// other code (the position then is not set).
int16_t CTL_scroll_position(const SCROLLINFO &info, int code, int32_t line, int32_t page, int32_t *position);
