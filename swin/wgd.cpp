#include "swin/wgd.h"

#include <cstring>

#include "common/mm.h"
#include "common/st.h"
#include "swin/dialog.h"
#include "swin/sbar.h"
#include "swin/tab.h"
#include "swin/ucc_key.h"
#include "swin2/cw.h"
#include "swin2/ucc.h"
#include "swin2/umain.h"
#include "win/gdd.h"
#include "win/pfu.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\wgd";

WGD_DRIVER *WGD_driver = nullptr;

namespace {

void *owner_for_reports()
{
    return WGD_owner_window();
}

void status_into_frame(const char *text)
{
    C_UMAIN *frame = WGD_driver ? WGD_driver->main_window : nullptr;
    if (!frame || !frame->status_bar)
        return;
    SBAR_set_text(frame->status_bar, UMAIN_FIELD_TEXT, text);
    frame->show_status(text);
}

HWND dialog_window(const C_DIALOG *dialog)
{
    if (!dialog)
        return nullptr;
    return dialog->window ? dialog->window : dialog->modeless_window;
}

// Step 6a of the loop and of the pump: 1 when the accelerators used the message.
int16_t accelerator(MSG *message)
{
    WGD_DRIVER *d = WGD_driver;
    if (!d || !d->accelerators || !d->top_window || !d->top_window->window)
        return 0;
    return TranslateAcceleratorA(d->top_window->window, d->accelerators, message) ? 1 : 0;
}

// The main loop's order: accelerators, the modeless dialog, the top client's
// hook, then translation and dispatch.
void main_loop_message(MSG *message)
{
    WGD_DRIVER *d = WGD_driver;
    if (accelerator(message))
        return;
    if (HWND modeless = dialog_window(d->modeless))
        if (IsDialogMessageA(modeless, message))
            return;
    C_UMAIN *frame = d->main_window;
    if (frame && frame->active)
        if (C_CW *top = frame->top_client())
            if (top->pre_translate(message))
                return;
    TranslateMessage(message);
    DispatchMessageA(message);
}

void end_driver()
{
    WGD_DRIVER *d = WGD_driver;
    C_UMAIN *frame = d->main_window;
    d->main_window = nullptr;
    MM_destroy(frame, SRC, __LINE__);
    PFU_release(GDD_global.tables);
    WE_set_status_hook(nullptr);
    WE_set_owner_lookup(nullptr);
    WGD_driver = nullptr;
    MM_destroy(d, SRC, __LINE__);
}

int16_t version(OSVERSIONINFOA *info)
{
    std::memset(info, 0, sizeof *info);
    info->dwOSVersionInfoSize = sizeof *info;
    if (!GetVersionExA(info)) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return 1;
}

}  // namespace

int32_t WGD_run(HINSTANCE instance, int, WGD_MAIN_FACTORY make_main)
{
    if (WGD_driver) {   // one GUI per process
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    WGD_DRIVER *d = new (SRC, __LINE__) WGD_DRIVER();
    if (!d) {
        WE_low_memory();
        return 0;
    }
    WGD_driver = d;
    WE_set_owner_lookup(owner_for_reports);
    WE_set_status_hook(status_into_frame);
    d->instance = instance;
    COL_init(&d->colours);
    COL_load(d);
    // The control window classes (table, key input, custom controls) register
    // here, before the frame. Every registration is attempted; a class that is
    // missing ends the start-up.
    const int16_t table_classes = TAB_register(instance);
    const int16_t key_class = UCC_KEY_register(instance);
    if (!UCC_register_classes(instance) || !key_class || !table_classes) {
        end_driver();
        return 0;
    }
    C_UMAIN *frame = make_main ? make_main() : nullptr;
    if (!frame) {
        end_driver();
        return 0;
    }
    d->main_window = frame;
    if (!frame->create()) {
        // No frame window: no message would ever end the loop.
        end_driver();
        return 0;
    }
    MSG message{};
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            WE_internal_error(SRC, __LINE__);
            message.wParam = 0;
            break;
        }
        main_loop_message(&message);
    }
    end_driver();
    return static_cast<int32_t>(message.wParam);
}

int16_t WGD_pump_messages(int16_t paint)
{
    const UINT kinds = paint ? 0 : PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    MSG message;
    int16_t seen = 0;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | kinds)) {
        seen = 1;
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return 1;
        }
        if (accelerator(&message))
            continue;
        bool used = false;
        for (int16_t slot = 0; slot < WGD_DIALOGS && !used && WGD_driver; slot++) {
            HWND dialog = dialog_window(WGD_driver->dialogs[slot]);
            used = dialog && IsDialogMessageA(dialog, &message);
        }
        if (used)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return seen;
}

int16_t WGD_close_all_dialogs()
{
    if (!WGD_driver)
        return 0;
    for (int16_t slot = 0; slot < WGD_DIALOGS; slot++)
        if (C_DIALOG *dialog = WGD_driver->dialogs[slot])
            DIALOG_end(dialog, 3);
    if (WGD_driver->modeless)
        DIALOG_end(WGD_driver->modeless, 3);
    WGD_pump_messages();
    return 1;
}

int16_t WGD_register_window(C_BW *window)
{
    if (!window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!WGD_driver)
        return 0;
    for (C_BW *&slot : WGD_driver->windows) {
        if (slot)
            continue;
        slot = window;
        window->serial = WGD_driver->serial++;
        return 1;
    }
    return 0;
}

int16_t WGD_unregister_window(C_BW *window)
{
    if (!WGD_driver || !window)
        return 0;
    for (int16_t i = 0; i < WGD_WINDOWS; i++) {
        if (WGD_driver->windows[i] != window)
            continue;
        std::memmove(&WGD_driver->windows[i], &WGD_driver->windows[i + 1],
                     static_cast<size_t>(WGD_WINDOWS - 1 - i) * sizeof(C_BW *));
        WGD_driver->windows[WGD_WINDOWS - 1] = nullptr;
        return 1;
    }
    return 0;
}

int16_t WGD_bring_to_front(C_BW *window)
{
    if (!WGD_driver)
        return 0;
    WGD_driver->active = window;
    if (window && WGD_unregister_window(window)) {
        // Back in at the end of the occupied entries, keeping its serial number.
        for (C_BW *&slot : WGD_driver->windows)
            if (!slot) {
                slot = window;
                break;
            }
    }
    return 1;
}

int16_t WGD_push_dialog(C_DIALOG *dialog)
{
    if (!dialog) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!WGD_driver)
        return 0;
    for (C_DIALOG *&slot : WGD_driver->dialogs)
        if (!slot) {
            slot = dialog;
            return 1;
        }
    WE_internal_error(SRC, __LINE__);
    return 0;
}

int16_t WGD_remove_dialog(C_DIALOG *dialog)
{
    if (!WGD_driver || !dialog)
        return 0;
    for (C_DIALOG *&slot : WGD_driver->dialogs)
        if (slot == dialog) {
            slot = nullptr;
            return 1;
        }
    return 0;
}

C_DIALOG *WGD_top_dialog()
{
    if (!WGD_driver)
        return nullptr;
    for (int16_t slot = WGD_DIALOGS - 1; slot >= 0; slot--)
        if (WGD_driver->dialogs[slot])
            return WGD_driver->dialogs[slot];
    return nullptr;
}

C_DIALOG *WGD_dialog_at(int16_t slot)
{
    if (!WGD_driver || slot < 0 || slot >= WGD_DIALOGS)
        return nullptr;
    return WGD_driver->dialogs[slot];
}

HWND WGD_owner_window()
{
    WGD_DRIVER *d = WGD_driver;
    if (!d)
        return nullptr;
    if (HWND dialog = dialog_window(WGD_top_dialog()))
        return dialog;
    if (d->active && d->active->window)
        return d->active->window;
    if (d->top_window && d->top_window->window)
        return d->top_window->window;
    return d->main_window ? d->main_window->window : nullptr;
}

HPALETTE WGD_palette()
{
    return WGD_driver ? WGD_driver->palette.get() : nullptr;
}

const COL_TABLE *WGD_colours()
{
    return WGD_driver ? &WGD_driver->colours : nullptr;
}

int16_t WGD_is_windows_95()
{
    OSVERSIONINFOA info;
    return version(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && info.dwMinorVersion == 0;
}

int16_t WGD_is_windows_98()
{
    OSVERSIONINFOA info;
    return version(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && info.dwMinorVersion != 0;
}

int16_t WGD_is_windows_nt()
{
    OSVERSIONINFOA info;
    return version(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int16_t WGD_is_win32s()
{
    OSVERSIONINFOA info;
    return version(&info) && info.dwPlatformId == VER_PLATFORM_WIN32s;
}

int16_t WGD_get_os_version(int32_t *major, int32_t *minor, int32_t *build, char *service)
{
    OSVERSIONINFOA info;
    if (!version(&info))
        return 0;
    if (major)
        *major = static_cast<int32_t>(info.dwMajorVersion);
    if (minor)
        *minor = static_cast<int32_t>(info.dwMinorVersion);
    if (build)
        *build = static_cast<int32_t>(info.dwBuildNumber);
    if (service)
        ST_copy(service, info.szCSDVersion, WGD_SERVICE_MAX);
    return 1;
}
