#include "swin2/bw.h"

#include <cstring>

#include "common/st.h"
#include "swin/ctl.h"
#include "swin/key.h"
#include "swin/wgd.h"
#include "win/guard.h"
#include "win/we.h"

static const char SRC[] = "..\\swin2\\bw";

namespace {

HINSTANCE module_instance()
{
    return WGD_driver ? WGD_driver->instance : GetModuleHandleA(nullptr);
}

int16_t held(int key)
{
    return (GetKeyState(key) & 0x8000) ? 1 : 0;
}

// Key-down: with two or more of Shift, Ctrl and Alt held the key is ignored.
void key_down(C_BW *object, WPARAM virtual_key)
{
    int16_t shift = held(VK_SHIFT), ctrl = held(VK_CONTROL), alt = held(VK_MENU);
    if (shift + ctrl + alt >= 2)
        return;
    int16_t code = KEY_from_virtual_key(static_cast<int32_t>(virtual_key), shift, alt, ctrl);
    if (code)
        object->key_command(code);
}

LRESULT menu_character(C_BW *object, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = object->menu_char(wparam, lparam);
    if (HIWORD(result) != 1)
        return result;
    char letter[2] = {static_cast<char>(LOWORD(wparam) & 0xFF), 0};
    ST_upper(letter);
    int16_t code = KEY_from_alt_char(static_cast<uint8_t>(letter[0]));
    if (!code)
        return 0;
    object->key_command(code);
    return result;
}

}  // namespace

C_BW::C_BW()
{
    std::strcpy(class_name, BW_CLASS_NAME);
    std::strcpy(title, "Základní okno");
    window_class.cbSize = sizeof(WNDCLASSEXA);
    window_class.style = 0;
    window_class.lpfnWndProc = BW_window_procedure;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = sizeof(LONG_PTR);   // the object pointer
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
}

C_BW::~C_BW()
{
    if (WGD_driver) {
        WGD_unregister_window(this);
        if (WGD_driver->active == this)
            WGD_driver->active = nullptr;
    }
    if (window && IsWindow(window)) {
        // Unbound first: the object is being taken apart, its operations must
        // not run for the messages of the destruction.
        SetWindowLongPtrA(window, 0, 0);
        DestroyWindow(window);
    }
    window = nullptr;
}

void C_BW::set_class_name(const char *name)
{
    ST_copy(class_name, name ? name : "", BW_TEXT_MAX);
}

void C_BW::set_title(const char *text)
{
    ST_copy(title, text ? text : "", BW_TEXT_MAX);
    if (window)
        SetWindowTextA(window, title);
}

int16_t C_BW::create()
{
    if (window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    HINSTANCE instance = module_instance();
    window_class.hInstance = instance;
    window_class.hIcon = large_icon == -1 ? nullptr : LoadIconA(instance, MAKEINTRESOURCEA(large_icon));
    window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(cursor));
    window_class.hIconSm = small_icon == -1
                               ? nullptr
                               : static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(small_icon), IMAGE_ICON,
                                                               GetSystemMetrics(SM_CXSMICON),
                                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    window_class.lpszClassName = class_name;
    window_class.lpszMenuName = nullptr;
    if (!CTL_register_class(&window_class))
        return 0;
    HWND made = CreateWindowExA(ex_style, class_name, title, style, x, y, width, height, parent, menu, instance,
                                nullptr);
    if (!made)
        return 0;
    window = made;
    SetWindowLongPtrA(made, 0, reinterpret_cast<LONG_PTR>(this));
    active = 1;
    return 1;
}

C_BW *C_BW::from_window(HWND window)
{
    return window ? reinterpret_cast<C_BW *>(GetWindowLongPtrA(window, 0)) : nullptr;
}

LRESULT C_BW::paint()
{
    C_PAINT painting(window);
    return 0;
}

LRESULT C_BW::erase_background(HDC)
{
    return 0;
}

namespace {

// Realises the toolkit's palette in the window; false when there is none.
bool realize_palette(HWND window)
{
    HPALETTE palette = WGD_palette();
    if (!palette)
        return false;
    C_WINDOW_DC dc(window);
    C_SELECT_PALETTE chosen(dc, palette, TRUE);
    RealizePalette(dc);
    return true;
}

}  // namespace

LRESULT C_BW::query_new_palette()
{
    if (!realize_palette(window))
        return 0;
    UpdateWindow(window);
    return 1;
}

LRESULT C_BW::palette_changed(HWND)
{
    realize_palette(window);
    return 0;
}

LRESULT C_BW::size(int32_t, int32_t, int32_t) { return 0; }
LRESULT C_BW::move(int32_t, int32_t) { return 0; }
LRESULT C_BW::enter_size_move() { return 0; }
LRESULT C_BW::exit_size_move() { return 0; }
void C_BW::after_create(WPARAM, LPARAM) {}
void C_BW::set_focus() {}
void C_BW::kill_focus() {}
int16_t C_BW::key_command(int16_t) { return 1; }
LRESULT C_BW::query_end_session(LPARAM) { return 1; }
void C_BW::close_request() {}
void C_BW::init_menu_popup(WPARAM, LPARAM) {}
void C_BW::menu_select(WPARAM, LPARAM) {}
int16_t C_BW::measure_item(WPARAM, LPARAM) { return 0; }
int16_t C_BW::draw_item(WPARAM, LPARAM) { return 0; }
LRESULT C_BW::menu_char(WPARAM, LPARAM) { return 0; }
LRESULT C_BW::command(WPARAM, LPARAM) { return 0; }
LRESULT C_BW::notify(WPARAM, LPARAM) { return 0; }
int16_t C_BW::pre_command(WPARAM, LPARAM) { return 0; }
LRESULT C_BW::destroy(WPARAM, LPARAM) { return 0; }
void C_BW::destroyed() {}
LRESULT C_BW::scroll(int16_t, int32_t, int16_t) { return 0; }
void C_BW::system_close() {}
int16_t C_BW::close_message() { return 0; }
int16_t C_BW::system_move() { return 0; }
int16_t C_BW::activated() { return 1; }
int16_t C_BW::deactivated() { return 1; }
void C_BW::refresh_menu(int32_t) {}

void C_BW::refresh_layout()
{
    if (!window)
        return;
    RECT r;
    GetClientRect(window, &r);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right - r.left, r.bottom - r.top));
}

LRESULT C_BW::default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(target, message, wparam, lparam);
}

LRESULT CALLBACK BW_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    C_BW *object = C_BW::from_window(window);
    if (!object)
        return DefWindowProcA(window, message, wparam, lparam);
    if (object->window != window) {
        WE_internal_error(SRC, __LINE__);
        return DefWindowProcA(window, message, wparam, lparam);
    }
    switch (message) {
    case WM_PAINT:
        object->paint();
        return 0;
    case WM_ERASEBKGND:
        if (LRESULT done = object->erase_background(reinterpret_cast<HDC>(wparam)))
            return done;
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_QUERYNEWPALETTE:
        return object->query_new_palette();
    case WM_PALETTECHANGED:
        return object->palette_changed(reinterpret_cast<HWND>(wparam));
    case WM_SIZE:
        object->size(LOWORD(lparam), HIWORD(lparam), static_cast<int32_t>(wparam));
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_MOVE:
        object->move(static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam)));
        return 0;
    case WM_ENTERSIZEMOVE:
        return object->enter_size_move();
    case WM_EXITSIZEMOVE:
        return object->exit_size_move();
    case WM_BW_AFTER_CREATE:
        object->after_create(wparam, lparam);
        return 0;
    case WM_SETFOCUS:
        object->set_focus();
        return 0;
    case WM_KILLFOCUS:
        object->kill_focus();
        return 0;
    case WM_QUERYENDSESSION:
        return object->query_end_session(lparam);
    case WM_BW_CLOSE_REQUEST:
        object->close_request();
        return 0;
    case WM_INITMENUPOPUP:
        object->init_menu_popup(wparam, lparam);
        return 0;
    case WM_MENUSELECT:
        object->menu_select(wparam, lparam);
        return 0;
    case WM_MEASUREITEM:
        if (object->measure_item(wparam, lparam))
            return 1;
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_DRAWITEM:
        if (object->draw_item(wparam, lparam))
            return 1;
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_MENUCHAR:
        return menu_character(object, wparam, lparam);
    case WM_COMMAND:
        if (object->pre_command(wparam, lparam))
            return 0;
        return object->command(wparam, lparam);
    case WM_NOTIFY:
        return object->notify(wparam, lparam);
    case WM_DESTROY:
        object->destroy(wparam, lparam);
        SetWindowLongPtrA(window, 0, 0);
        object->window = nullptr;
        object->destroyed();
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        object->scroll(message == WM_VSCROLL ? 1 : 0, LOWORD(wparam), static_cast<int16_t>(HIWORD(wparam)));
        return 0;
    case WM_CLOSE:
        if (object->close_message())
            return 0;
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_SYSCOMMAND:
        switch (wparam & 0xFFF0) {
        case SC_CLOSE:
            object->system_close();
            return 0;
        case SC_MOVE:
            if (object->system_move())
                return 0;
            break;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_ACTIVATE:
        // The default procedure still runs: it gives the activated window the focus.
        if (LOWORD(wparam) != WA_INACTIVE) {
            object->active = 1;
            object->activated();
        } else {
            object->active = 0;
            object->deactivated();
        }
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_KEYDOWN:
        key_down(object, wparam);
        return 0;
    case WM_SYSKEYDOWN:
        key_down(object, wparam);
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_CHAR:
        if (int16_t code = KEY_from_char(static_cast<uint8_t>(wparam & 0xFF)))
            object->key_command(code);
        return 0;
    }
    return object->default_message(window, message, wparam, lparam);
}
