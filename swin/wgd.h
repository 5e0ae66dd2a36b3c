// The GUI driver: the one process-wide record of the window toolkit, the
// start-up, the application's single message loop and the shutdown, the
// table of registered windows, the stack of open modal dialogs, the owner
// window of every box, and the operating-system queries.
//
// WGD_driver exists only inside WGD_run; everything here checks for it.
// While it exists the error reports of win/we.h take their owner window from
// WGD_owner_window and WE_status writes into the frame's status bar.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/mm.h"
#include "swin/col.h"
#include "win/guard.h"

class C_BW;
class C_UMAIN;
class C_DIALOG;

#define WGD_WINDOWS 50             // window table slots
#define WGD_DIALOGS 30             // dialog stack slots
#define WGD_SERVICE_MAX 127        // characters of the service-pack text

// An application's top window record; only its first field is read.
struct WGD_TOP_WINDOW {
    HWND window;
};

struct WGD_DRIVER : MM_OBJECT {
    HINSTANCE instance;                 // every class registration, window creation and resource load
    WGD_TOP_WINDOW *top_window;         // accelerators, fallback owner; null unless installed
    C_UMAIN *main_window;               // the frame, owned (deleted at the end of WGD_run)
    C_BW *windows[WGD_WINDOWS];         // registered windows, packed from slot 0
    HACCEL accelerators;                // null unless installed (translated for top_window)
    C_DIALOG *dialogs[WGD_DIALOGS];     // open modal dialogs, null = free slot
    C_DIALOG *modeless;                 // the one open modeless dialog, or null
    int16_t print_abort;                // 1 when the user cancelled the running print job
    HWND print_cancel_dialog;           // while a print job runs
    C_BW *active;                       // the window last brought to the front
    int32_t application_value;          // one word for the application
    int32_t serial;                     // next serial number of a registered window
    COL_TABLE colours;
    C_GDI<HPALETTE> palette;            // null unless on a palette display
};

// The driver while WGD_run runs, else null.
extern WGD_DRIVER *WGD_driver;

// Makes the application's frame object (not its window); null on failure.
typedef C_UMAIN *(*WGD_MAIN_FACTORY)();

// The whole life of the GUI: makes the driver (low-memory report and 0 when
// it cannot), installs the owner lookup and the status hook of win/we.h,
// loads the colour table and the palette, registers the control window
// classes (swin/ucc_key.h, swin2/ucc.h), makes the frame with make_main
// (the application's frame class) and creates its window, then runs the
// message loop until WM_QUIT. Afterwards it deletes the palette, the frame
// (with its clients and status bar), the storage of the function tables and
// the driver. The exit code of the quit message; 0 when the start-up failed
// (a control class not registered, no frame object or no frame window,
// silently), when a run is already going on, or when GetMessageA failed
// (internal errors). The show command is not used.
int32_t WGD_run(HINSTANCE instance, int show, WGD_MAIN_FACTORY make_main);

// Works off every waiting message of the thread (accelerators, then the
// open modal dialogs, then dispatch). A WM_QUIT is posted again with its
// exit code and ends the pumping at once, so the main loop still ends.
// 1 when at least one message was seen, 0 when the queue was empty.
// paint 0: the windows are not painted meanwhile (input, posted and sent
// messages and timers only), for a caller that works off messages often and
// paints at its own pace.
int16_t WGD_pump_messages(int16_t paint = 1);
// Ends every open modal dialog and the modeless dialog with 3 (abort), then
// pumps the messages. 1; 0 without a driver.
int16_t WGD_close_all_dialogs();

// ---- window table ----
// Into the first free slot with the next serial number (window->serial); 0
// when all 50 slots are taken, the window is null or there is no driver.
int16_t WGD_register_window(C_BW *window);
// Out of the table, the later entries move down; 0 when it was not there.
int16_t WGD_unregister_window(C_BW *window);
// Records the window as the active one and moves it to the end of the
// occupied entries when registered; null only clears the active window. 1.
int16_t WGD_bring_to_front(C_BW *window);

// ---- dialog stack (the dialog framework) ----
// Into the first free slot; 0 when all 30 are taken (internal-error report),
// when the dialog is null or there is no driver.
int16_t WGD_push_dialog(C_DIALOG *dialog);
// Empties the slot that holds the dialog; 0 when it is not on the stack.
int16_t WGD_remove_dialog(C_DIALOG *dialog);
// The dialog in the highest occupied slot, or null.
C_DIALOG *WGD_top_dialog();
// The dialog in a slot (0 .. 29), or null (also for a slot outside the stack).
C_DIALOG *WGD_dialog_at(int16_t slot);

// The owner window of a box now: the top dialog's window, else the active
// window's, else the top window's, else the frame's; null without a driver.
HWND WGD_owner_window();

// The driver's palette, or null.
HPALETTE WGD_palette();
// The driver's colour table, or null without a driver.
const COL_TABLE *WGD_colours();

// ---- operating system (GetVersionExA; its failure: internal error, 0) ----
int16_t WGD_is_windows_95();      // platform 1, minor version 0
int16_t WGD_is_windows_98();      // platform 1, minor version not 0
int16_t WGD_is_windows_nt();      // platform 2
int16_t WGD_is_win32s();          // platform 0
// Major, minor and build number (each may be null) and the service-pack text
// (at most WGD_SERVICE_MAX characters into service when it is not null). 1.
int16_t WGD_get_os_version(int32_t *major, int32_t *minor, int32_t *build, char *service);
