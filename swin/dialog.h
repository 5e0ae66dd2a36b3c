// Dialog base: every dialog of the toolkit derives from C_DIALOG, is built on
// a dialog template of the program's resources (swin/wrc.h), runs modally
// (DIALOG_run_modal: the caller waits for the result) or modelessly (one at a
// time), and is bound to its window by the shared dialog procedure. Derived
// classes handle commands through a command table (DIALOG_dispatch) and reach
// their controls through the item wrappers of swin/dtools.h.
//
// Run results: the id the dialog ended with (1 = OK, 2 = cancelled, ...);
// 0 when it could not run; 3 when the system could not create it.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/mm.h"
#include "win/wmsg.h"

class C_DT_TOOLS;

#define DIALOG_ITEMS_MAX 99            // item wrappers a dialog can register
#define DIALOG_VALUES 10

// Placement of a dialog when it initialises (one mode at a time).
enum DIALOG_PLACEMENT : int16_t {
    DIALOG_PLACE_FIXED = 1,         // at the fixed position (screen coordinates)
    DIALOG_PLACE_OWNER_CLIENT,      // at the fixed position in the owner's client area
    DIALOG_PLACE_OVER_OWNER,        // centred over the owner window
    DIALOG_PLACE_WORK_AREA,         // centred on the screen's work area (default)
};

class C_DIALOG : public MM_OBJECT {
public:
    // owner null: the owner of message boxes (WE_owner) at construction.
    C_DIALOG(HWND owner, int32_t template_id);
    // A dialog of a parent dialog; its owner is the owner lookup's.
    C_DIALOG(C_DIALOG *parent, int32_t template_id);
    // Frees the private template copy of the modeless form and destroys a
    // modeless window that still exists. Registered items are not deleted:
    // the derived class that made them deletes them.
    virtual ~C_DIALOG();
    C_DIALOG(const C_DIALOG &) = delete;
    C_DIALOG &operator=(const C_DIALOG &) = delete;

    // ---- operations (defaults in brackets) ----
    // WM_INITDIALOG; 0 makes the dialog cancel itself at once [1].
    virtual int16_t init();
    // After the dialog is placed and shown [nothing].
    virtual void after_init();
    // Consulted before ending with 1 or 6; 0 keeps the dialog open [1].
    virtual int16_t can_close();
    // WM_SIZE [nothing].
    virtual void size(WPARAM wparam, LPARAM lparam);
    // WM_COMMAND, WM_CHAR and the scroll messages; nonzero = handled [0].
    // Derived classes look the message up in their command table.
    virtual LRESULT command(UINT message, WPARAM wparam, LPARAM lparam);

    // ---- fields ----
    C_DIALOG *parent = nullptr;
    HWND owner = nullptr;
    int32_t template_id;
    HWND window = nullptr;           // set at the first message for the window
    HWND modeless_window = nullptr;  // what the modeless creation returned
    int16_t being_created = 0;       // 1 between the start of the run and the first message
    int16_t cancelled = 0;           // ended with 2
    DIALOG_PLACEMENT placement = DIALOG_PLACE_WORK_AREA;
    int32_t fixed_x = -1;
    int32_t fixed_y = -1;
    int32_t last_x = 0;              // screen (or owner-client for a child) coordinates
    int32_t last_y = 0;
    int32_t client_width = 0;
    int32_t client_height = 0;
    int32_t window_width = 0;
    int32_t window_height = 0;
    int16_t item_count = 0;
    C_DT_TOOLS *items[DIALOG_ITEMS_MAX + 1] = {};
    int32_t values[DIALOG_VALUES];   // 1 to 10, for derived classes
    DLGTEMPLATE *modeless_template = nullptr;   // owned copy (MM_alloc)

    // Placement choices, each replacing the others.
    void place_fixed(int32_t x, int32_t y);
    // x, y in the owner's client area.
    void place_owner_client(int32_t x, int32_t y);
    void place_over_owner();
    void place_on_work_area();
};

// A command table entry: used when flags is DIALOG_ENTRY_USED; a table ends
// with an entry whose flags are 0. wparam matches exactly: the control id in
// the low and the notification code in the high 16 bits (0 for a click).
typedef LRESULT (*DIALOG_HANDLER)(C_DIALOG *dialog);
#define DIALOG_ENTRY_USED 3
struct DIALOG_COMMAND {
    uint8_t flags;
    uint8_t reserved;
    uint32_t message;       // WM_COMMAND in the toolkit's tables
    uint32_t wparam;
    uint32_t reserved2;
    DIALOG_HANDLER handler;
    uint32_t reserved3[2];
};

// Runs the handler of the first used entry of the table that matches; its
// result, or 0 when none matched (or the handler answered 0).
LRESULT DIALOG_dispatch(C_DIALOG *dialog, const DIALOG_COMMAND *table, UINT message, WPARAM wparam,
                        LPARAM lparam);

// Runs the dialog modally on the template (null: the template of its number).
// 0 without the GUI driver or on a full dialog stack (internal error), for a
// missing template ("WRC - chybí id : %d") or when the dialog left the stack
// meanwhile (internal error); 3 when the system could not create it.
int32_t DIALOG_run_modal(C_DIALOG *dialog, const DLGTEMPLATE *dialog_template = nullptr);
// Creates the modeless dialog on a private copy of the template (null: the
// template of its number) and places it; 1, or 0 when a modeless dialog
// exists already (internal error), the template is missing or too large, or
// the creation failed.
int16_t DIALOG_create_modeless(C_DIALOG *dialog, const DLGTEMPLATE *dialog_template = nullptr);
// Ends the dialog with the value (2 also sets the cancelled flag); the
// modeless form destroys its window instead.
void DIALOG_end(C_DIALOG *dialog, int32_t value);
// The window title; a null text is an internal error and 0.
int16_t DIALOG_set_title(C_DIALOG *dialog, const char *text);
// Copies the title into text (at most maximum characters); 1, or 0 when
// there is no window.
int16_t DIALOG_get_title(C_DIALOG *dialog, char *text, int16_t maximum);
// Gives the dialog the keyboard focus.
void DIALOG_focus(C_DIALOG *dialog);
// Pixels to dialog units in place (x * 4 / base width, y * 8 / base height).
void DIALOG_pixels_to_units(C_DIALOG *dialog, int32_t *x, int32_t *y);
// Appends an item wrapper to the dialog's item table (not owned); a null
// item or a table that holds DIALOG_ITEMS_MAX already is an internal error and 0.
int16_t DIALOG_add_item(C_DIALOG *dialog, C_DT_TOOLS *item);
// The registered item with that control id and kind; an unknown id or an
// item of another kind is an internal error and null.
C_DT_TOOLS *DIALOG_find_item(C_DIALOG *dialog, int32_t id, int16_t kind);
// The typed lookup: T is one of the wrappers of swin/dtools.h.
template <class T>
T *DIALOG_find(C_DIALOG *dialog, int32_t id)
{
    return static_cast<T *>(DIALOG_find_item(dialog, id, T::KIND));
}

// The shared dialog procedure of every toolkit dialog.
INT_PTR CALLBACK DIALOG_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
