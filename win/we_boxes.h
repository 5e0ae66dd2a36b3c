// Message boxes: the small modal dialogs that ask and tell (templates 100 to
// 109 and 120 of res/dialogs.rc) with their Czech button texts,
// and the functions that wrap the most used of them.
//
// When a report sink is installed (WE_set_sink), the wrapping functions show
// no dialog: they give the box to the sink through WE_show (kind
// WE_KIND_QUESTION or WE_KIND_NOTIFY, the box's title and text, and the
// box's template number as style), and the sink's answer is taken as the id
// of the button pressed (1 "&Ano" or "&O.K.", 7 "&Ne", 2 "&Storno" or Esc,
// 6 "&Vše").
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/config.h"
#include "swin/dialog.h"
#include "swin/dtools.h"

#define WE_TITLE_QUESTION "Dotaz"
#define WE_TITLE_NOTIFY "Oznámení"
#define WE_TEXT_MAX 200           // characters of a formatted box text
#define WE_INPUT_MAX 81           // characters read from an input box's field
#define WE_KEY_PROMPT_MAX 80      // characters of the key box's prompt, and of the key's name after it

// ---- The wrapping functions ----

// "&Ano" 1, anything else 0 ("&Ne", Esc, closing). A null text, or no
// memory for the box, is an internal error and 0.
int16_t WE_question(const char *text);
// Formats at most WE_TEXT_MAX characters first.
int16_t WE_question_format(const char *format, ...) TRK_PRINTF(1, 2);
// "&Ano" 1, "&Ne" 0, "&Vše" 2, anything else -1 ("&Storno", Esc, closing).
// A null format or no memory for the box: internal error and 0, as above.
int16_t WE_question_all(const char *format, ...) TRK_PRINTF(1, 2);
// "&Ano" 1, "&Ne" 0, anything else -1 ("&Storno", Esc, closing).
int16_t WE_question_cancel(const char *format, ...) TRK_PRINTF(1, 2);
// The same three, centred over the owner (null: the owner lookup) instead
// of the work area.
int16_t WE_question_over(HWND owner, const char *text);
int16_t WE_question_all_over(HWND owner, const char *format, ...) TRK_PRINTF(2, 3);
int16_t WE_question_cancel_over(HWND owner, const char *format, ...) TRK_PRINTF(2, 3);
// The notification box "Oznámení", centred over its owner; 1 (0 when it
// could not be shown for want of memory or a null text).
int16_t WE_notify(const char *text);
// The dialog form of the error report: title " Chyba ", the formatted text,
// centred over the owner (null: the owner lookup).
void WE_error_dialog(HWND owner, const char *format, ...) TRK_PRINTF(2, 3);
// Dialog forms of the internal-error and switch-error reports (the same
// texts and titles as the system boxes); the internal-error form disables
// the other top-level windows of the thread meanwhile.
void WE_internal_error_dialog(const char *file, int16_t line);
void WE_switch_error_dialog(const char *file, int16_t line);

// ---- The boxes ----
// Each: construct (owner null = the owner lookup), DIALOG_run_modal, read
// the result, delete. The texts are not copied: they must live while the
// box runs. A null title leaves the template's title.

// Template 100: static text and "&O.K."; 1 and Esc end with 1.
class C_DW_WM_YES : public C_DIALOG {
public:
    C_DW_WM_YES(HWND owner, const char *title, const char *text, int32_t template_id = 100);
    ~C_DW_WM_YES() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;

    const char *title;
    const char *text;
    C_DT_STATIC *static_text = nullptr;
    C_DT_BUTTON *ok_button = nullptr;
};

// Template 120: as template 100.
class C_DW_WM_ERROR : public C_DW_WM_YES {
public:
    C_DW_WM_ERROR(HWND owner, const char *title, const char *text);
};

// Template 101: "&Ano" ends with 1; "&Ne" and Esc end with 7.
class C_DW_WM_YES_NO : public C_DIALOG {
public:
    C_DW_WM_YES_NO(HWND owner, const char *title, const char *text);
    ~C_DW_WM_YES_NO() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;

    const char *title;
    const char *text;
    C_DT_STATIC *static_text = nullptr;
    C_DT_BUTTON *yes_button = nullptr;
    C_DT_BUTTON *no_button = nullptr;
};

// Template 102: "&Ano" 1, "&Ne" 7, "&Storno" 2 (and Esc), "&Vše" 6.
class C_DW_WM_YES_NO_ALL : public C_DIALOG {
public:
    C_DW_WM_YES_NO_ALL(HWND owner, const char *title, const char *text);
    ~C_DW_WM_YES_NO_ALL() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;

    const char *title;
    const char *text;
    C_DT_STATIC *static_text = nullptr;
    C_DT_BUTTON *yes_button = nullptr;
    C_DT_BUTTON *no_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
    C_DT_BUTTON *all_button = nullptr;
};

// Template 103: "&Ano" 1, "&Ne" 7, "&Storno" 2 (and Esc).
class C_DW_WM_YES_NO_CANCEL : public C_DIALOG {
public:
    C_DW_WM_YES_NO_CANCEL(HWND owner, const char *title, const char *text);
    ~C_DW_WM_YES_NO_CANCEL() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;

    const char *title;
    const char *text;
    C_DT_STATIC *static_text = nullptr;
    C_DT_BUTTON *yes_button = nullptr;
    C_DT_BUTTON *no_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
};

// Template 104: the title is always "Oznámení"; "&O.K." ends with 1.
class C_DW_WM_ANY_KEY : public C_DIALOG {
public:
    C_DW_WM_ANY_KEY(HWND owner, const char *text);
    ~C_DW_WM_ANY_KEY() override;
    int16_t init() override;

    const char *text;
    C_DT_STATIC *static_text = nullptr;
    C_DT_BUTTON *ok_button = nullptr;
};

// Input boxes (templates 105, 107, 108): an edit field with the default
// text, a prompt (not in 108). Accepting (1) reads the field: an unreadable,
// empty or all-blank field with a default text gets the default back and the
// box stays open; otherwise the field (at most maximum characters) goes into
// the result buffer (maximum + 1 bytes) and the box ends with 1. "&Storno",
// Esc and 7 end with their id; "&Zruš" (107) ends with 3.
class C_DW_WM_STRING : public C_DIALOG {
public:
    C_DW_WM_STRING(HWND owner, const char *title, const char *prompt, const char *default_text, char *result,
                   int16_t maximum, int32_t template_id = 105);
    ~C_DW_WM_STRING() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The accepting step; 1 when the box ended.
    int16_t accept();

    const char *title;
    const char *prompt;
    const char *default_text;
    char *result;
    int16_t maximum;
    C_DT_EDIT *edit = nullptr;
    C_DT_STATIC *prompt_text = nullptr;
    C_DT_BUTTON *ok_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
    C_DT_BUTTON *abort_button = nullptr;   // 107 only
};

// Template 107: as C_DW_WM_STRING with "&Zruš" (3).
class C_DW_WM_STRING_ABORT : public C_DW_WM_STRING {
public:
    C_DW_WM_STRING_ABORT(HWND owner, const char *title, const char *prompt, const char *default_text, char *result,
                         int16_t maximum);
};

// Template 108: no caption, no prompt.
class C_DW_WM_MINI_STRING : public C_DW_WM_STRING {
public:
    C_DW_WM_MINI_STRING(HWND owner, const char *default_text, char *result, int16_t maximum);
};

// Template 106: the key-input control (swin/ucc_key.h, its class registered)
// showing key, and the prompt followed by the name of that key (each cut to
// WE_KEY_PROMPT_MAX characters). "&O.K." stores the key the control holds in
// key and ends with 1; "&Storno" (and the close box) and 7 end with their id,
// key unchanged. Esc and Enter typed into the key control are keys like any
// other.
class C_DW_WM_KB_CHAR : public C_DIALOG {
public:
    C_DW_WM_KB_CHAR(HWND owner, const char *title, const char *prompt, int16_t key);
    ~C_DW_WM_KB_CHAR() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;
    // Stores the control's key and ends with 1.
    void accept();

    const char *title;
    const char *prompt;
    int16_t key;
    char prompt_line[2 * WE_KEY_PROMPT_MAX + 1] = {};
    C_DT_KEY *key_input = nullptr;
    C_DT_STATIC *prompt_text = nullptr;
    C_DT_BUTTON *ok_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
};

// Template 109: a list of the non-null texts of items (count of them), the
// *selected one preselected; "&O.K." or a double click stores the selected
// index in *selected and ends with 1; "&Storno", Esc and 7 end with their id.
class C_DW_WM_MINI_LIST : public C_DIALOG {
public:
    C_DW_WM_MINI_LIST(HWND owner, const char *const *items, int16_t count, int16_t *selected);
    ~C_DW_WM_MINI_LIST() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;
    // Stores the selection and ends with 1.
    void accept();

    const char *const *item_texts;
    int16_t count;
    int16_t *selected;
    C_DT_LIST *list = nullptr;
    C_DT_BUTTON *ok_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
};

// Template 110: the sixteen colours of the colour table, each with its
// name, the row of *colour current; "&O.K." or a double click stores the
// current row (0 .. 15) in *colour and ends with 1; "&Storno", Esc and 7 end
// with their id.
class C_DW_WM_MINI_COLOR : public C_DIALOG {
public:
    C_DW_WM_MINI_COLOR(HWND owner, uint8_t *colour);
    ~C_DW_WM_MINI_COLOR() override;
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;
    // Stores the current row and ends with 1.
    void accept();

    uint8_t *colour;
    C_DT_TABLE *table = nullptr;
    C_DT_BUTTON *ok_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
};
