#include "swin/dialog.h"

#include "common/mm.h"
#include "swin/dtools.h"
#include "swin/wgd.h"
#include "swin/wrc.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\dialog";

namespace {

bool is_child_of_owner(const C_DIALOG *d)
{
    return d->owner && (GetWindowLongA(d->window, GWL_STYLE) & WS_CHILD) && GetParent(d->window) == d->owner;
}

C_DIALOG *modeless_dialog()
{
    return WGD_driver ? WGD_driver->modeless : nullptr;
}

// The dialog object of a window, kept in the window's user word once bound.
// An unbound window is adopted by the first dialog still being created (on
// the dialog stack, else the modeless one): that is its first message.
C_DIALOG *bound_dialog(HWND window)
{
    if (C_DIALOG *bound = reinterpret_cast<C_DIALOG *>(GetWindowLongPtrA(window, DWLP_USER)))
        return bound;
    C_DIALOG *modeless = modeless_dialog();
    C_DIALOG *adopting = nullptr;
    for (int16_t slot = 0; slot < WGD_DIALOGS && !adopting; slot++) {
        C_DIALOG *d = WGD_dialog_at(slot);
        if (d && d->being_created)
            adopting = d;
    }
    if (!adopting && modeless && modeless->being_created)
        adopting = modeless;
    if (adopting) {
        adopting->window = window;
        adopting->being_created = 0;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(adopting));
    }
    return adopting;
}

void record_position(C_DIALOG *d)
{
    RECT r;
    if (!GetWindowRect(d->window, &r))
        return;
    d->window_width = r.right - r.left;
    d->window_height = r.bottom - r.top;
    POINT p{r.left, r.top};
    if (is_child_of_owner(d))
        ScreenToClient(d->owner, &p);
    d->last_x = p.x;
    d->last_y = p.y;
}

void record_size(C_DIALOG *d)
{
    RECT r;
    if (!GetClientRect(d->window, &r))
        return;
    d->client_width = r.right;
    d->client_height = r.bottom;
}

void place(C_DIALOG *d)
{
    RECT work{0, 0, 0, 0}, r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (!GetWindowRect(d->window, &r))
        return;
    const LONG w = r.right - r.left, h = r.bottom - r.top;
    POINT p{work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2};
    switch (d->placement) {
    case DIALOG_PLACE_FIXED:
        p = POINT{d->fixed_x, d->fixed_y};
        break;
    case DIALOG_PLACE_OWNER_CLIENT:
        p = POINT{d->fixed_x, d->fixed_y};
        if (d->owner)
            ClientToScreen(d->owner, &p);
        break;
    case DIALOG_PLACE_OVER_OWNER: {
        RECT o;
        if (d->owner && GetWindowRect(d->owner, &o))
            p = POINT{o.left + (o.right - o.left - w) / 2, o.top + (o.bottom - o.top - h) / 2};
        break;
    }
    case DIALOG_PLACE_WORK_AREA:
        break;
    default:
        WE_switch_error(SRC, __LINE__);
        break;
    }
    // Inside the work area; when it does not fit, the right and bottom edges win.
    if (p.x < work.left)
        p.x = work.left;
    if (p.x + w > work.right)
        p.x = work.right - w;
    if (p.y < work.top)
        p.y = work.top;
    if (p.y + h > work.bottom)
        p.y = work.bottom - h;
    if (is_child_of_owner(d))
        ScreenToClient(d->owner, &p);
    SetWindowPos(d->window, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Ending with 1 or 6 needs the consent of the dialog and of the modeless one.
void end_if_agreed(C_DIALOG *d, int32_t value)
{
    if (!d->can_close())
        return;
    C_DIALOG *modeless = modeless_dialog();
    if (modeless && modeless != d && !modeless->can_close())
        return;
    DIALOG_end(d, value);
}

LRESULT scroll_command(C_DIALOG *d, UINT message, WPARAM wparam, LPARAM lparam)
{
    HWND bar = reinterpret_cast<HWND>(lparam);
    for (int16_t i = 0; i < d->item_count; i++)
        if (d->items[i] && bar && d->items[i]->control() == bar)
            return d->command(message, MAKEWPARAM(d->items[i]->id, LOWORD(wparam)), lparam);
    return 0;
}

INT_PTR handle(C_DIALOG *d, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!d->init()) {
            PostMessageA(d->window, WM_COMMAND, IDCANCEL, 0);
        } else {
            PostMessageA(d->window, WM_DIALOG_INITIALISED, 0, 0);
            place(d);
        }
        return TRUE;
    case WM_DIALOG_INITIALISED:
        record_position(d);
        record_size(d);
        d->after_init();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK:
        case 6:
            if (!d->command(message, wparam, lparam))
                end_if_agreed(d, LOWORD(wparam));
            return TRUE;
        case IDCANCEL:
            if (!d->command(message, wparam, lparam)) {
                d->cancelled = 1;
                DIALOG_end(d, IDCANCEL);
            }
            return TRUE;
        default:
            return d->command(message, wparam, lparam);
        }
    case WM_CHAR:
        return d->command(message, wparam, lparam);
    case WM_HSCROLL:
    case WM_VSCROLL:
        return scroll_command(d, message, wparam, lparam);
    case WM_SIZE:
        d->client_width = LOWORD(lparam);
        d->client_height = HIWORD(lparam);
        d->size(wparam, lparam);
        return TRUE;
    case WM_MOVE:
        record_position(d);
        return TRUE;
    case WM_RBUTTONDOWN:
    case WM_DIALOG_BEEP:
        MessageBeep(MB_ICONEXCLAMATION);
        return TRUE;
    case WM_NCDESTROY:
        if (WGD_driver && WGD_driver->modeless == d) {
            WGD_driver->modeless = nullptr;
            d->modeless_window = nullptr;
        }
        SetWindowLongPtrA(d->window, DWLP_USER, 0);
        d->window = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

C_DIALOG::C_DIALOG(HWND owner_, int32_t template_id_)
    : owner(owner_ ? owner_ : static_cast<HWND>(WE_owner())), template_id(template_id_)
{
    for (int32_t i = 0; i < DIALOG_VALUES; i++)
        values[i] = i + 1;
}

C_DIALOG::C_DIALOG(C_DIALOG *parent_, int32_t template_id_) : C_DIALOG(static_cast<HWND>(nullptr), template_id_)
{
    parent = parent_;
}

C_DIALOG::~C_DIALOG()
{
    if (modeless_window)
        DestroyWindow(modeless_window);
    if (window)   // a window that outlives its object no longer reaches it
        SetWindowLongPtrA(window, DWLP_USER, 0);
    if (WGD_driver && WGD_driver->modeless == this)
        WGD_driver->modeless = nullptr;
    MM_free(modeless_template, SRC, __LINE__);
}

int16_t C_DIALOG::init()
{
    return 1;
}

void C_DIALOG::after_init() {}

int16_t C_DIALOG::can_close()
{
    return 1;
}

void C_DIALOG::size(WPARAM, LPARAM) {}

LRESULT C_DIALOG::command(UINT, WPARAM, LPARAM)
{
    return 0;
}

void C_DIALOG::place_fixed(int32_t x, int32_t y)
{
    placement = DIALOG_PLACE_FIXED;
    fixed_x = x;
    fixed_y = y;
}

void C_DIALOG::place_owner_client(int32_t x, int32_t y)
{
    placement = DIALOG_PLACE_OWNER_CLIENT;
    fixed_x = x;
    fixed_y = y;
}

void C_DIALOG::place_over_owner()
{
    placement = DIALOG_PLACE_OVER_OWNER;
}

void C_DIALOG::place_on_work_area()
{
    placement = DIALOG_PLACE_WORK_AREA;
}

LRESULT DIALOG_dispatch(C_DIALOG *dialog, const DIALOG_COMMAND *table, UINT message, WPARAM wparam, LPARAM)
{
    if (!dialog || !table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (const DIALOG_COMMAND *e = table; e->flags != 0; e++)
        if ((e->flags & DIALOG_ENTRY_USED) == DIALOG_ENTRY_USED && e->message == message &&
            e->wparam == static_cast<uint32_t>(wparam) && e->handler)
            return e->handler(dialog);
    return 0;
}

int32_t DIALOG_run_modal(C_DIALOG *dialog, const DLGTEMPLATE *dialog_template)
{
    if (!dialog || !WGD_driver) {   // without the driver no dialog can be bound
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!WGD_push_dialog(dialog))
        return 0;
    if (!dialog_template)
        dialog_template = WRC_find_template(dialog->template_id);
    if (!dialog_template) {
        WGD_remove_dialog(dialog);
        return 0;
    }
    dialog->being_created = 1;
    dialog->cancelled = 0;
    INT_PTR result = DialogBoxIndirectParamA(WGD_driver->instance, dialog_template, dialog->owner, DIALOG_procedure, 0);
    dialog->being_created = 0;
    if (!WGD_remove_dialog(dialog)) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (result < 0) {
        WE_internal_error(SRC, __LINE__);
        return 3;
    }
    return static_cast<int32_t>(result);
}

int16_t DIALOG_create_modeless(C_DIALOG *dialog, const DLGTEMPLATE *dialog_template)
{
    if (!dialog || !WGD_driver || WGD_driver->modeless) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    DLGTEMPLATE *copy = dialog_template ? WRC_copy(dialog_template) : WRC_copy_template(dialog->template_id);
    if (!copy)
        return 0;
    MM_free(dialog->modeless_template, SRC, __LINE__);
    dialog->modeless_template = copy;
    WGD_driver->modeless = dialog;
    dialog->being_created = 1;
    dialog->cancelled = 0;
    HWND window = CreateDialogIndirectParamA(WGD_driver->instance, copy, dialog->owner, DIALOG_procedure, 0);
    dialog->being_created = 0;
    if (!window) {
        WGD_driver->modeless = nullptr;
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    dialog->modeless_window = window;
    place(dialog);
    return 1;
}

void DIALOG_end(C_DIALOG *dialog, int32_t value)
{
    if (!dialog || !dialog->window) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    if (value == IDCANCEL)
        dialog->cancelled = 1;
    if (dialog->modeless_window && dialog->modeless_window == dialog->window)
        DestroyWindow(dialog->window);   // a modeless dialog has no run to end
    else
        EndDialog(dialog->window, value);
}

int16_t DIALOG_set_title(C_DIALOG *dialog, const char *text)
{
    if (!dialog || !text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return dialog->window && SetWindowTextA(dialog->window, text) ? 1 : 0;
}

int16_t DIALOG_get_title(C_DIALOG *dialog, char *text, int16_t maximum)
{
    if (!dialog || !text || maximum < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    text[0] = 0;
    if (!dialog->window)
        return 0;
    GetWindowTextA(dialog->window, text, maximum + 1);
    return 1;
}

void DIALOG_focus(C_DIALOG *dialog)
{
    if (dialog && dialog->window)
        SetFocus(dialog->window);
}

void DIALOG_pixels_to_units(C_DIALOG *dialog, int32_t *x, int32_t *y)
{
    if (!dialog || !dialog->window || !x || !y) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    RECT r{0, 0, 4, 8};
    MapDialogRect(dialog->window, &r);
    if (r.right > 0)
        *x = *x * 4 / r.right;
    if (r.bottom > 0)
        *y = *y * 8 / r.bottom;
}

int16_t DIALOG_add_item(C_DIALOG *dialog, C_DT_TOOLS *item)
{
    if (!dialog || !item || dialog->item_count >= DIALOG_ITEMS_MAX) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    dialog->items[dialog->item_count++] = item;
    return 1;
}

C_DT_TOOLS *DIALOG_find_item(C_DIALOG *dialog, int32_t id, int16_t kind)
{
    if (dialog)
        for (int16_t i = 0; i < dialog->item_count; i++) {
            C_DT_TOOLS *item = dialog->items[i];
            if (item && item->id == id) {
                if (item->kind == kind)
                    return item;
                break;
            }
        }
    WE_internal_error(SRC, __LINE__);
    return nullptr;
}

INT_PTR CALLBACK DIALOG_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    C_DIALOG *dialog = bound_dialog(window);
    return dialog ? handle(dialog, message, wparam, lparam) : FALSE;
}
