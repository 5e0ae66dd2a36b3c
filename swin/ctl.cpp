#include "swin/ctl.h"

#include "win/we.h"

static const char SRC[] = "..\\swin\\ctl";

LRESULT C_CTL::create(const CREATESTRUCTA *)
{
    return 0;
}

LRESULT C_CTL::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

C_CTL *C_CTL::from_window(HWND window)
{
    return window ? reinterpret_cast<C_CTL *>(GetWindowLongPtrA(window, 0)) : nullptr;
}

int16_t CTL_register_class(WNDCLASSEXA *record)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(record->hInstance, record->lpszClassName, &existing))
        return 1;
    return RegisterClassExA(record) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS ? 1 : 0;
}

LRESULT CTL_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, C_CTL *(*make)(HWND window))
{
    if (message == WM_CREATE) {
        C_CTL *object = make(window);
        if (!object) {
            WE_low_memory();
            return -1;
        }
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(object));
        if (object->create(reinterpret_cast<const CREATESTRUCTA *>(lparam)) != -1)
            return 0;
        SetWindowLongPtrA(window, 0, 0);
        MM_destroy(object, SRC, __LINE__);
        return -1;
    }
    C_CTL *object = C_CTL::from_window(window);
    if (!object || object->window != window)
        return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_DESTROY) {
        SetWindowLongPtrA(window, 0, 0);
        MM_destroy(object, SRC, __LINE__);
        return 0;
    }
    return object->message(message, wparam, lparam);
}

int16_t CTL_scroll_position(const SCROLLINFO &info, int code, int32_t line, int32_t page, int32_t *position)
{
    switch (code) {
    case SB_LINEUP: *position = info.nPos - line; return 1;
    case SB_LINEDOWN: *position = info.nPos + line; return 1;
    case SB_PAGEUP: *position = info.nPos - page; return 1;
    case SB_PAGEDOWN: *position = info.nPos + page; return 1;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: *position = info.nTrackPos; return 1;
    case SB_TOP: *position = info.nMin; return 1;
    case SB_BOTTOM: *position = info.nMax; return 1;
    default: return 0;
    }
}
