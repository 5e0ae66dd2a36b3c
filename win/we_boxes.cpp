#include "win/we_boxes.h"

#include <cstdarg>
#include <cstdio>

#include "common/st.h"
#include "res/dialogs.h"
#include "swin/tab.h"
#include "util/voc.h"
#include "win/we.h"

static const char SRC[] = "..\\win\\we";

namespace {

const char TEXT_OK[] = "&O.K.";
const char TEXT_YES[] = "&Ano";
const char TEXT_NO[] = "&Ne";
const char TEXT_CANCEL[] = "&Storno";
const char TEXT_ALL[] = "&Vše";
const char TEXT_ABORT[] = "&Zruš";

// ---- handlers of the command tables ----

LRESULT end_with_ok(C_DIALOG *d)
{
    DIALOG_end(d, DLG_ID_OK);
    return 1;
}

LRESULT end_with_no(C_DIALOG *d)
{
    DIALOG_end(d, DLG_ID_NO);
    return 1;
}

LRESULT end_with_abort(C_DIALOG *d)
{
    DIALOG_end(d, DLG_ID_ABORT);
    return 1;
}

LRESULT accept_string(C_DIALOG *d)
{
    static_cast<C_DW_WM_STRING *>(d)->accept();
    return 1;
}

LRESULT accept_key(C_DIALOG *d)
{
    static_cast<C_DW_WM_KB_CHAR *>(d)->accept();
    return 1;
}

LRESULT accept_list(C_DIALOG *d)
{
    static_cast<C_DW_WM_MINI_LIST *>(d)->accept();
    return 1;
}

LRESULT accept_colour(C_DIALOG *d)
{
    static_cast<C_DW_WM_MINI_COLOR *>(d)->accept();
    return 1;
}

constexpr DIALOG_COMMAND entry(uint32_t wparam, DIALOG_HANDLER handler)
{
    return DIALOG_COMMAND{DIALOG_ENTRY_USED, 0, WM_COMMAND, wparam, 0, handler, {0, 0}};
}
constexpr DIALOG_COMMAND END_OF_TABLE{0, 0, 0, 0, 0, nullptr, {0, 0}};

const DIALOG_COMMAND yes_commands[] = {entry(DLG_ID_CANCEL, end_with_ok), END_OF_TABLE};
const DIALOG_COMMAND yes_no_commands[] = {entry(DLG_ID_NO, end_with_no), entry(DLG_ID_CANCEL, end_with_no),
                                          END_OF_TABLE};
const DIALOG_COMMAND no_commands[] = {entry(DLG_ID_NO, end_with_no), END_OF_TABLE};
const DIALOG_COMMAND string_commands[] = {entry(DLG_ID_OK, accept_string), entry(DLG_ID_NO, end_with_no),
                                          entry(DLG_ID_ABORT, end_with_abort), END_OF_TABLE};
const DIALOG_COMMAND key_commands[] = {entry(DLG_ID_OK, accept_key), entry(DLG_ID_NO, end_with_no), END_OF_TABLE};
const DIALOG_COMMAND list_commands[] = {entry(DLG_ID_OK, accept_list),
                                        entry(MAKEWPARAM(DLG_ID_TEXT, LBN_DBLCLK), accept_list),
                                        entry(DLG_ID_NO, end_with_no), END_OF_TABLE};
const DIALOG_COMMAND colour_commands[] = {entry(DLG_ID_OK, accept_colour),
                                          entry(MAKEWPARAM(DLG_ID_TEXT, TAB_NOTIFY_DOUBLE_CLICK), accept_colour),
                                          entry(DLG_ID_NO, end_with_no), END_OF_TABLE};

// ---- wrappers ----

// The caller's title (a null one leaves the template's) and the message text.
int16_t show_texts(C_DIALOG *d, const char *title, C_DT_STATIC *text_item, const char *text)
{
    if (!text_item)
        return 0;
    if (title)
        DIALOG_set_title(d, title);
    text_item->set_text(text ? text : "");
    return 1;
}

int16_t label(C_DT_BUTTON *button, const char *text)
{
    return button && button->set_text(text);
}

// ---- the wrapping functions ----

// Whether a report sink takes the boxes instead of the dialogs.
bool sink_installed()
{
    return WE_sink() != nullptr;
}

// Runs a box and deletes it; the id it ended with, 0 when it could not run.
int32_t run_box(C_DIALOG *box)
{
    int32_t result = DIALOG_run_modal(box);
    MM_destroy(box, SRC, __LINE__);
    return result;
}

// Asks with the box BOX on the template number (the sink gets the number as
// its style); the id of the button that ended the box.
template <class BOX>
int32_t ask(int32_t number, HWND owner, bool over_owner, const char *text)
{
    if (sink_installed())
        return WE_show(WE_KIND_QUESTION, WE_TITLE_QUESTION, text, static_cast<uint32_t>(number));
    BOX *box = new (SRC, __LINE__) BOX(owner, WE_TITLE_QUESTION, text);
    if (!box) {   // no memory: the question answers no
        WE_internal_error(SRC, __LINE__);
        return DLG_ID_NO;
    }
    if (over_owner)
        box->place_over_owner();
    return run_box(box);
}

int16_t yes_answer(int32_t id)
{
    return id == DLG_ID_OK ? 1 : 0;
}

int16_t all_answer(int32_t id)
{
    switch (id) {
    case DLG_ID_OK: return 1;
    case DLG_ID_NO: return 0;
    case DLG_ID_ALL: return 2;
    default: return -1;
    }
}

int16_t cancel_answer(int32_t id)
{
    switch (id) {
    case DLG_ID_OK: return 1;
    case DLG_ID_NO: return 0;
    default: return -1;
    }
}

// Formats into text (WE_TEXT_MAX characters); false for a null format.
bool format_text(char (&text)[WE_TEXT_MAX + 1], const char *format, va_list args)
{
    if (!format) {
        WE_internal_error(SRC, __LINE__);
        return false;
    }
    std::vsnprintf(text, sizeof text, format, args);
    return true;
}

void error_box(WE_KIND kind, HWND owner, const char *title, const char *text, bool disable_others)
{
    if (sink_installed()) {
        WE_show(kind, title, text, DLG_YES);
        return;
    }
    C_DW_WM_YES *box = new (SRC, __LINE__) C_DW_WM_YES(owner, title, text);
    if (!box) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    box->place_over_owner();
    if (disable_others)
        WE_enable_thread_windows(0);
    run_box(box);
    if (disable_others)
        WE_enable_thread_windows(1);
}

void file_line_box(WE_KIND kind, const char *title, const char *file, int16_t line)
{
    error_box(kind, nullptr, title, WE_file_line_text(file, line), kind == WE_KIND_INTERNAL);
}

}  // namespace

// ---- C_DW_WM_YES, C_DW_WM_ERROR ----

C_DW_WM_YES::C_DW_WM_YES(HWND owner_, const char *title_, const char *text_, int32_t template_id_)
    : C_DIALOG(owner_, template_id_), title(title_), text(text_)
{
}

C_DW_WM_YES::~C_DW_WM_YES()
{
    DT_drop(static_text, SRC, __LINE__);
    DT_drop(ok_button, SRC, __LINE__);
}

int16_t C_DW_WM_YES::init()
{
    static_text = DT_make<C_DT_STATIC>(window, DLG_ID_TEXT, SRC, __LINE__);
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    return show_texts(this, title, static_text, text) && label(ok_button, TEXT_OK);
}

LRESULT C_DW_WM_YES::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, yes_commands, message, wparam, lparam);
}

C_DW_WM_ERROR::C_DW_WM_ERROR(HWND owner_, const char *title_, const char *text_)
    : C_DW_WM_YES(owner_, title_, text_, DLG_ERROR)
{
}

// ---- C_DW_WM_YES_NO ----

C_DW_WM_YES_NO::C_DW_WM_YES_NO(HWND owner_, const char *title_, const char *text_)
    : C_DIALOG(owner_, DLG_YES_NO), title(title_), text(text_)
{
}

C_DW_WM_YES_NO::~C_DW_WM_YES_NO()
{
    DT_drop(static_text, SRC, __LINE__);
    DT_drop(yes_button, SRC, __LINE__);
    DT_drop(no_button, SRC, __LINE__);
}

int16_t C_DW_WM_YES_NO::init()
{
    static_text = DT_make<C_DT_STATIC>(window, DLG_ID_TEXT, SRC, __LINE__);
    yes_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    no_button = DT_make<C_DT_BUTTON>(window, DLG_ID_NO, SRC, __LINE__);
    return show_texts(this, title, static_text, text) && label(yes_button, TEXT_YES) && label(no_button, TEXT_NO);
}

LRESULT C_DW_WM_YES_NO::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, yes_no_commands, message, wparam, lparam);
}

// ---- C_DW_WM_YES_NO_ALL ----

C_DW_WM_YES_NO_ALL::C_DW_WM_YES_NO_ALL(HWND owner_, const char *title_, const char *text_)
    : C_DIALOG(owner_, DLG_YES_NO_ALL), title(title_), text(text_)
{
}

C_DW_WM_YES_NO_ALL::~C_DW_WM_YES_NO_ALL()
{
    DT_drop(static_text, SRC, __LINE__);
    DT_drop(yes_button, SRC, __LINE__);
    DT_drop(no_button, SRC, __LINE__);
    DT_drop(cancel_button, SRC, __LINE__);
    DT_drop(all_button, SRC, __LINE__);
}

int16_t C_DW_WM_YES_NO_ALL::init()
{
    static_text = DT_make<C_DT_STATIC>(window, DLG_ID_TEXT, SRC, __LINE__);
    yes_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    no_button = DT_make<C_DT_BUTTON>(window, DLG_ID_NO, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    all_button = DT_make<C_DT_BUTTON>(window, DLG_ID_ALL, SRC, __LINE__);
    return show_texts(this, title, static_text, text) && label(yes_button, TEXT_YES) && label(no_button, TEXT_NO) &&
           label(cancel_button, TEXT_CANCEL) && label(all_button, TEXT_ALL);
}

LRESULT C_DW_WM_YES_NO_ALL::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, no_commands, message, wparam, lparam);
}

// ---- C_DW_WM_YES_NO_CANCEL ----

C_DW_WM_YES_NO_CANCEL::C_DW_WM_YES_NO_CANCEL(HWND owner_, const char *title_, const char *text_)
    : C_DIALOG(owner_, DLG_YES_NO_CANCEL), title(title_), text(text_)
{
}

C_DW_WM_YES_NO_CANCEL::~C_DW_WM_YES_NO_CANCEL()
{
    DT_drop(static_text, SRC, __LINE__);
    DT_drop(yes_button, SRC, __LINE__);
    DT_drop(no_button, SRC, __LINE__);
    DT_drop(cancel_button, SRC, __LINE__);
}

int16_t C_DW_WM_YES_NO_CANCEL::init()
{
    static_text = DT_make<C_DT_STATIC>(window, DLG_ID_TEXT, SRC, __LINE__);
    yes_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    no_button = DT_make<C_DT_BUTTON>(window, DLG_ID_NO, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    return show_texts(this, title, static_text, text) && label(yes_button, TEXT_YES) && label(no_button, TEXT_NO) &&
           label(cancel_button, TEXT_CANCEL);
}

LRESULT C_DW_WM_YES_NO_CANCEL::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, no_commands, message, wparam, lparam);
}

// ---- C_DW_WM_ANY_KEY ----

C_DW_WM_ANY_KEY::C_DW_WM_ANY_KEY(HWND owner_, const char *text_) : C_DIALOG(owner_, DLG_ANY_KEY), text(text_)
{
    place_over_owner();
}

C_DW_WM_ANY_KEY::~C_DW_WM_ANY_KEY()
{
    DT_drop(static_text, SRC, __LINE__);
    DT_drop(ok_button, SRC, __LINE__);
}

int16_t C_DW_WM_ANY_KEY::init()
{
    static_text = DT_make<C_DT_STATIC>(window, DLG_ID_TEXT, SRC, __LINE__);
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    return show_texts(this, WE_TITLE_NOTIFY, static_text, text) && label(ok_button, TEXT_OK);
}

// ---- input boxes ----

C_DW_WM_STRING::C_DW_WM_STRING(HWND owner_, const char *title_, const char *prompt_, const char *default_text_,
                               char *result_, int16_t maximum_, int32_t template_id_)
    : C_DIALOG(owner_, template_id_), title(title_), prompt(prompt_), default_text(default_text_), result(result_),
      maximum(maximum_)
{
}

C_DW_WM_STRING::~C_DW_WM_STRING()
{
    DT_drop(edit, SRC, __LINE__);
    DT_drop(prompt_text, SRC, __LINE__);
    DT_drop(ok_button, SRC, __LINE__);
    DT_drop(cancel_button, SRC, __LINE__);
    DT_drop(abort_button, SRC, __LINE__);
}

int16_t C_DW_WM_STRING::init()
{
    edit = DT_make<C_DT_EDIT>(window, DLG_ID_EDIT, SRC, __LINE__);
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    if (!edit || !label(ok_button, TEXT_OK) || !label(cancel_button, TEXT_CANCEL))
        return 0;
    if (template_id != DLG_MINI_STRING) {
        prompt_text = DT_make<C_DT_STATIC>(window, DLG_ID_TEXT, SRC, __LINE__);
        if (!show_texts(this, title, prompt_text, prompt))
            return 0;
    }
    if (template_id == DLG_STRING_ABORT) {
        abort_button = DT_make<C_DT_BUTTON>(window, DLG_ID_ABORT, SRC, __LINE__);
        if (!label(abort_button, TEXT_ABORT))
            return 0;
    }
    edit->set_text(default_text ? default_text : "");
    return 1;
}

LRESULT C_DW_WM_STRING::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, string_commands, message, wparam, lparam);
}

int16_t C_DW_WM_STRING::accept()
{
    if (!result || maximum < 1) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char field[WE_INPUT_MAX + 1];
    int16_t read = edit->get_text(field, WE_INPUT_MAX);
    if (read)
        ST_trim(field);
    if (default_text && (!read || !field[0])) {
        edit->set_text(default_text);   // the box stays open with the default
        return 0;
    }
    if (!edit->get_text(result, maximum))
        return 0;
    DIALOG_end(this, DLG_ID_OK);
    return 1;
}

C_DW_WM_STRING_ABORT::C_DW_WM_STRING_ABORT(HWND owner_, const char *title_, const char *prompt_,
                                           const char *default_text_, char *result_, int16_t maximum_)
    : C_DW_WM_STRING(owner_, title_, prompt_, default_text_, result_, maximum_, DLG_STRING_ABORT)
{
}

C_DW_WM_MINI_STRING::C_DW_WM_MINI_STRING(HWND owner_, const char *default_text_, char *result_, int16_t maximum_)
    : C_DW_WM_STRING(owner_, nullptr, nullptr, default_text_, result_, maximum_, DLG_MINI_STRING)
{
}

// ---- C_DW_WM_KB_CHAR ----

C_DW_WM_KB_CHAR::C_DW_WM_KB_CHAR(HWND owner_, const char *title_, const char *prompt_, int16_t key_)
    : C_DIALOG(owner_, DLG_KB_CHAR), title(title_), prompt(prompt_), key(key_)
{
}

C_DW_WM_KB_CHAR::~C_DW_WM_KB_CHAR()
{
    DT_drop(key_input, SRC, __LINE__);
    DT_drop(prompt_text, SRC, __LINE__);
    DT_drop(ok_button, SRC, __LINE__);
    DT_drop(cancel_button, SRC, __LINE__);
}

int16_t C_DW_WM_KB_CHAR::init()
{
    key_input = DT_make<C_DT_KEY>(window, DLG_ID_TEXT, SRC, __LINE__);
    prompt_text = DT_make<C_DT_STATIC>(window, DLG_ID_EDIT, SRC, __LINE__);
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    if (!key_input || !label(ok_button, TEXT_OK) || !label(cancel_button, TEXT_CANCEL))
        return 0;
    if (!key_input->set_key(key)) {   // a code outside the vocabulary
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char name[WE_KEY_PROMPT_MAX + 1];
    ST_copy(prompt_line, prompt ? prompt : "", WE_KEY_PROMPT_MAX);
    ST_copy(name, VOC_key_name(key), WE_KEY_PROMPT_MAX);
    ST_append(prompt_line, name, 0);
    return show_texts(this, title, prompt_text, prompt_line);
}

LRESULT C_DW_WM_KB_CHAR::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, key_commands, message, wparam, lparam);
}

void C_DW_WM_KB_CHAR::accept()
{
    key = key_input->key();
    DIALOG_end(this, DLG_ID_OK);
}

// ---- C_DW_WM_MINI_LIST ----

C_DW_WM_MINI_LIST::C_DW_WM_MINI_LIST(HWND owner_, const char *const *items_, int16_t count_, int16_t *selected_)
    : C_DIALOG(owner_, DLG_MINI_LIST), item_texts(items_), count(count_), selected(selected_)
{
}

C_DW_WM_MINI_LIST::~C_DW_WM_MINI_LIST()
{
    DT_drop(list, SRC, __LINE__);
    DT_drop(ok_button, SRC, __LINE__);
    DT_drop(cancel_button, SRC, __LINE__);
}

int16_t C_DW_WM_MINI_LIST::init()
{
    list = DT_make<C_DT_LIST>(window, DLG_ID_TEXT, SRC, __LINE__);
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    if (!list || !selected || !label(ok_button, TEXT_OK) || !label(cancel_button, TEXT_CANCEL))
        return 0;
    list->clear();
    for (int16_t i = 0; item_texts && i < count; i++)
        if (item_texts[i])
            list->add(item_texts[i]);
    list->set_selection(*selected);
    return 1;
}

LRESULT C_DW_WM_MINI_LIST::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, list_commands, message, wparam, lparam);
}

void C_DW_WM_MINI_LIST::accept()
{
    *selected = static_cast<int16_t>(list->selection());
    DIALOG_end(this, DLG_ID_OK);
}

// ---- the wrapping functions ----

int16_t WE_question(const char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return yes_answer(ask<C_DW_WM_YES_NO>(DLG_YES_NO, nullptr, false, text));
}

int16_t WE_question_format(const char *format, ...)
{
    char text[WE_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    bool ok = format_text(text, format, args);
    va_end(args);
    return ok ? yes_answer(ask<C_DW_WM_YES_NO>(DLG_YES_NO, nullptr, false, text)) : 0;
}

int16_t WE_question_all(const char *format, ...)
{
    char text[WE_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    bool ok = format_text(text, format, args);
    va_end(args);
    return ok ? all_answer(ask<C_DW_WM_YES_NO_ALL>(DLG_YES_NO_ALL, nullptr, false, text)) : 0;
}

int16_t WE_question_cancel(const char *format, ...)
{
    char text[WE_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    bool ok = format_text(text, format, args);
    va_end(args);
    return ok ? cancel_answer(ask<C_DW_WM_YES_NO_CANCEL>(DLG_YES_NO_CANCEL, nullptr, false, text)) : 0;
}

int16_t WE_question_over(HWND owner, const char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return yes_answer(ask<C_DW_WM_YES_NO>(DLG_YES_NO, owner, true, text));
}

int16_t WE_question_all_over(HWND owner, const char *format, ...)
{
    char text[WE_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    bool ok = format_text(text, format, args);
    va_end(args);
    return ok ? all_answer(ask<C_DW_WM_YES_NO_ALL>(DLG_YES_NO_ALL, owner, true, text)) : 0;
}

int16_t WE_question_cancel_over(HWND owner, const char *format, ...)
{
    char text[WE_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    bool ok = format_text(text, format, args);
    va_end(args);
    return ok ? cancel_answer(ask<C_DW_WM_YES_NO_CANCEL>(DLG_YES_NO_CANCEL, owner, true, text)) : 0;
}

int16_t WE_notify(const char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (sink_installed()) {
        WE_show(WE_KIND_NOTIFY, WE_TITLE_NOTIFY, text, DLG_ANY_KEY);
        return 1;
    }
    C_DW_WM_ANY_KEY *box = new (SRC, __LINE__) C_DW_WM_ANY_KEY(nullptr, text);
    if (!box) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    run_box(box);
    return 1;
}

void WE_error_dialog(HWND owner, const char *format, ...)
{
    char text[WE_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    bool ok = format_text(text, format, args);
    va_end(args);
    if (ok)
        error_box(WE_KIND_ERROR, owner, WE_TITLE_ERROR, text, false);
}

void WE_internal_error_dialog(const char *file, int16_t line)
{
    file_line_box(WE_KIND_INTERNAL, WE_TITLE_INTERNAL, file, line);
}

void WE_switch_error_dialog(const char *file, int16_t line)
{
    file_line_box(WE_KIND_SWITCH, WE_TITLE_SWITCH, file, line);
}

// ---- C_DW_WM_MINI_COLOR ----

C_DW_WM_MINI_COLOR::C_DW_WM_MINI_COLOR(HWND owner_, uint8_t *colour_)
    : C_DIALOG(owner_, DLG_MINI_COLOR), colour(colour_)
{
}

C_DW_WM_MINI_COLOR::~C_DW_WM_MINI_COLOR()
{
    DT_drop(table, SRC, __LINE__);
    DT_drop(ok_button, SRC, __LINE__);
    DT_drop(cancel_button, SRC, __LINE__);
}

int16_t C_DW_WM_MINI_COLOR::init()
{
    table = DT_make<C_DT_TABLE>(window, DLG_ID_TEXT, SRC, __LINE__);
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    if (!table || !colour || !label(ok_button, TEXT_OK) || !label(cancel_button, TEXT_CANCEL))
        return 0;
    // Row identifiers 1 .. 16 for the colours 0 .. 15: a colour square and the name.
    table->show_header(0);
    for (int16_t c = 0; c < VOC_COLOURS; c++)
        if (!table->set_cell_palette_colour(c + 1, 0, c) || !table->set_cell_kind(c + 1, 0, TAB_COLOUR_TEXT) ||
            !table->set_cell_text(c + 1, 0, VOC_colour_name(c)))
            return 0;
    table->send(TAB_set_auto_fit, 0, 0);
    table->select_row_index(*colour < VOC_COLOURS ? *colour : 0);
    return 1;
}

LRESULT C_DW_WM_MINI_COLOR::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, colour_commands, message, wparam, lparam);
}

void C_DW_WM_MINI_COLOR::accept()
{
    const int32_t row = table->current_row_index();
    if (row >= 0 && row < VOC_COLOURS)
        *colour = static_cast<uint8_t>(row);
    DIALOG_end(this, DLG_ID_OK);
}
