#include "swin/txtw.h"

#include "common/cz.h"
#include "common/st.h"
#include "res/dialogs.h"
#include "swin/dialog.h"
#include "swin/dtools.h"
#include "swin/fd.h"
#include "swin/tp.h"
#include "swin/wrc.h"
#include "win/guard.h"
#include "win/we.h"
#include "win/we_boxes.h"

static const char SRC[] = "..\\swin\\txtw";

namespace {

const char TEXT_OK[] = "&O.K.";
const char TEXT_CANCEL[] = "&Storno";
const char TEXT_PRINT[] = "&Tisk";
const char TEXT_TO_FILE[] = "&Výstup do souboru";
const char TEXT_CLOSE[] = "&Zavřít";
const char TITLE_CODE_PAGE[] = "Kódování češtiny";
const char FILTER[] = "Textové soubory *.TXT\0*.TXT\0Všechny soubory *.*\0*.*\0";
const char DEFAULT_EXT[] = "TXT";

// The radio buttons of the code page dialog, in their order.
const struct { int32_t id; int16_t code_page; const char *text; } CODE_PAGES[] = {
    {DLG_ID_CP_KEYBCS2, CZ_KEYBCS2, "&KEYBCS2"},
    {DLG_ID_CP_LATIN2, CZ_LATIN2, "&LATIN2"},
    {DLG_ID_CP_WINDOWS, CZ_CP1250, "MS &WINDOWS"},
    {DLG_ID_CP_ASCII, CZ_ASCII, "&ASCII"},
};
const int CODE_PAGE_COUNT = sizeof CODE_PAGES / sizeof CODE_PAGES[0];

constexpr DIALOG_COMMAND entry(uint32_t wparam, DIALOG_HANDLER handler)
{
    return DIALOG_COMMAND{DIALOG_ENTRY_USED, 0, WM_COMMAND, wparam, 0, handler, {0, 0}};
}
constexpr DIALOG_COMMAND END_OF_TABLE{0, 0, 0, 0, 0, nullptr, {0, 0}};

template <class T>
int16_t label(T *item, const char *text)
{
    return item && item->set_text(text);
}

// The lines in slot order (an empty line for a missing text), the list wide
// enough to scroll to the end of the longest.
int16_t fill_list(C_DT_LIST *list, const TXT_buffer *buffer)
{
    if (!list || !list->clear())
        return 0;
    C_WINDOW_DC dc(list->control());
    C_SELECT chosen(dc, reinterpret_cast<HGDIOBJ>(list->send(WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (int16_t i = 0; i < buffer->count; i++) {
        const TXT_line *line = buffer->slots[i];
        const char *text = line && line->text ? line->text : "";
        if (list->add(text) < 0) {   // the list is out of memory
            WE_low_memory();
            return 0;
        }
        SIZE size{0, 0};
        if (dc.ok() && GetTextExtentPoint32A(dc, text, ST_length(text), &size) && size.cx > widest)
            widest = size.cx;
    }
    list->send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    return 1;
}

// ---- the code page dialog ----

class C_DW_TXT_CODE_PAGE : public C_DIALOG {
public:
    explicit C_DW_TXT_CODE_PAGE(HWND owner_) : C_DIALOG(owner_, DLG_TXT_CODE_PAGE) { place_over_owner(); }
    ~C_DW_TXT_CODE_PAGE() override
    {
        for (C_DT_RADIOBUTTON *&radio : radios)
            DT_drop(radio, SRC, __LINE__);
        DT_drop(ok_button, SRC, __LINE__);
        DT_drop(cancel_button, SRC, __LINE__);
    }
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The radio button of the index checked and the others cleared.
    void check(int index);
    // Takes the checked code page and ends with 1.
    void accept();

    int16_t code_page = CZ_CP1250;   // the choice once ended with 1
    C_DT_RADIOBUTTON *radios[CODE_PAGE_COUNT] = {};
    C_DT_BUTTON *ok_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
};

// A click on a radio button, also one sent without the mouse, checks it.
template <int INDEX>
LRESULT check_code_page(C_DIALOG *d)
{
    static_cast<C_DW_TXT_CODE_PAGE *>(d)->check(INDEX);
    return 1;
}

LRESULT accept_code_page(C_DIALOG *d)
{
    static_cast<C_DW_TXT_CODE_PAGE *>(d)->accept();
    return 1;
}

const DIALOG_COMMAND code_page_commands[] = {
    entry(DLG_ID_CP_KEYBCS2, check_code_page<0>), entry(DLG_ID_CP_LATIN2, check_code_page<1>),
    entry(DLG_ID_CP_WINDOWS, check_code_page<2>), entry(DLG_ID_CP_ASCII, check_code_page<3>),
    entry(DLG_ID_OK, accept_code_page),           END_OF_TABLE};

int16_t C_DW_TXT_CODE_PAGE::init()
{
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    if (!label(ok_button, TEXT_OK) || !label(cancel_button, TEXT_CANCEL) || !DIALOG_set_title(this, TITLE_CODE_PAGE))
        return 0;
    for (int i = 0; i < CODE_PAGE_COUNT; i++) {
        radios[i] = DT_make<C_DT_RADIOBUTTON>(window, CODE_PAGES[i].id, SRC, __LINE__);
        if (!label(radios[i], CODE_PAGES[i].text))
            return 0;
    }
    check(2);   // MS WINDOWS: the choice is not remembered
    return 1;
}

LRESULT C_DW_TXT_CODE_PAGE::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, code_page_commands, message, wparam, lparam);
}

void C_DW_TXT_CODE_PAGE::check(int index)
{
    for (int i = 0; i < CODE_PAGE_COUNT; i++)
        if (radios[i])
            radios[i]->set_checked(i == index ? 1 : 0);
}

void C_DW_TXT_CODE_PAGE::accept()
{
    for (int i = 0; i < CODE_PAGE_COUNT; i++)
        if (radios[i] && radios[i]->checked())
            code_page = CODE_PAGES[i].code_page;
    DIALOG_end(this, DLG_ID_OK);
}

// ---- the listing window ----

class C_DW_TXT : public C_DIALOG {
public:
    C_DW_TXT(HWND owner_, const TXT_buffer *buffer_, const char *caption_)
        : C_DIALOG(owner_, 0), buffer(buffer_), caption(caption_)
    {
    }
    ~C_DW_TXT() override
    {
        DT_drop(list, SRC, __LINE__);
        DT_drop(print_button, SRC, __LINE__);
        DT_drop(file_button, SRC, __LINE__);
        DT_drop(close_button, SRC, __LINE__);
    }
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;
    // "&Tisk": the lines in a table print window of their own.
    void print();
    // "&Výstup do souboru": the code page, the file, the lines.
    void save();

    const TXT_buffer *buffer;   // not owned
    const char *caption;
    C_DT_LIST *list = nullptr;
    C_DT_BUTTON *print_button = nullptr;
    C_DT_BUTTON *file_button = nullptr;
    C_DT_BUTTON *close_button = nullptr;
};

LRESULT print_listing(C_DIALOG *d)
{
    static_cast<C_DW_TXT *>(d)->print();
    return 1;
}

LRESULT save_listing(C_DIALOG *d)
{
    static_cast<C_DW_TXT *>(d)->save();
    return 1;
}

const DIALOG_COMMAND listing_commands[] = {entry(DLG_ID_PRINT, print_listing), entry(DLG_ID_TO_FILE, save_listing),
                                           END_OF_TABLE};

int16_t C_DW_TXT::init()
{
    list = DT_make<C_DT_LIST>(window, DLG_ID_TEXT, SRC, __LINE__);
    print_button = DT_make<C_DT_BUTTON>(window, DLG_ID_PRINT, SRC, __LINE__);
    file_button = DT_make<C_DT_BUTTON>(window, DLG_ID_TO_FILE, SRC, __LINE__);
    close_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    if (!label(print_button, TEXT_PRINT) || !label(file_button, TEXT_TO_FILE) || !label(close_button, TEXT_CLOSE) ||
        (caption && !DIALOG_set_title(this, caption)) || !fill_list(list, buffer))
        return 0;
    list->set_selection(0);
    return 1;
}

LRESULT C_DW_TXT::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, listing_commands, message, wparam, lparam);
}

void C_DW_TXT::print()
{
    TP_table *table = nullptr;
    if (!TP_create(&table))   // reported there
        return;
    int16_t filled = 1;
    for (int16_t i = 0; i < buffer->count && filled; i++) {
        const TXT_line *line = buffer->slots[i];
        filled = TP_set_cell(table, i, 0, line && line->text ? line->text : "");
    }
    // From a successful open on the window owns the table and outlives this dialog.
    if (!filled || !TP_open_window(table, TXT_PRINT_TITLE, 0, TXT_LISTING_TEMPLATE))
        TP_destroy(&table);
}

void C_DW_TXT::save()
{
    C_DW_TXT_CODE_PAGE *ask = new (SRC, __LINE__) C_DW_TXT_CODE_PAGE(window);
    if (!ask) {
        WE_low_memory();
        return;
    }
    const int32_t answer = DIALOG_run_modal(ask);
    const int16_t code_page = ask->code_page;
    MM_destroy(ask, SRC, __LINE__);
    if (answer != DLG_ID_OK)
        return;
    char name[FD_NAME_MAX + 1] = "";
    if (!FD_save_file(window, name, FILTER, nullptr, DEFAULT_EXT, 0))
        return;
    TXT_save_code_page(buffer, name, code_page);   // a failure is shown by the file layer
}

// ---- the selection forms ----

class C_DW_TXT_CHOOSE : public C_DIALOG {
public:
    C_DW_TXT_CHOOSE(HWND owner_, int32_t template_id_, const TXT_buffer *buffer_, const char *caption_,
                    int16_t *slot_)
        : C_DIALOG(owner_, template_id_), buffer(buffer_), caption(caption_), slot(slot_)
    {
    }
    ~C_DW_TXT_CHOOSE() override
    {
        DT_drop(list, SRC, __LINE__);
        DT_drop(ok_button, SRC, __LINE__);
        DT_drop(cancel_button, SRC, __LINE__);
    }
    int16_t init() override;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The selected line's slot into *slot and the end with 1; without a
    // selected line the warning, and the form stays.
    void accept();

    const TXT_buffer *buffer;   // not owned
    const char *caption;
    int16_t *slot;
    C_DT_LIST *list = nullptr;
    C_DT_BUTTON *ok_button = nullptr;
    C_DT_BUTTON *cancel_button = nullptr;
};

LRESULT accept_line(C_DIALOG *d)
{
    static_cast<C_DW_TXT_CHOOSE *>(d)->accept();
    return 1;
}

const DIALOG_COMMAND choose_commands[] = {entry(DLG_ID_OK, accept_line),
                                          entry(MAKEWPARAM(DLG_ID_TEXT, LBN_DBLCLK), accept_line), END_OF_TABLE};

int16_t C_DW_TXT_CHOOSE::init()
{
    list = DT_make<C_DT_LIST>(window, DLG_ID_TEXT, SRC, __LINE__);
    ok_button = DT_make<C_DT_BUTTON>(window, DLG_ID_OK, SRC, __LINE__);
    cancel_button = DT_make<C_DT_BUTTON>(window, DLG_ID_CANCEL, SRC, __LINE__);
    if (!label(ok_button, TEXT_OK) || !label(cancel_button, TEXT_CANCEL) ||
        (caption && !DIALOG_set_title(this, caption)) || !fill_list(list, buffer))
        return 0;
    list->set_selection(*slot >= 0 && *slot < buffer->count ? *slot : 0);
    return 1;
}

LRESULT C_DW_TXT_CHOOSE::command(UINT message, WPARAM wparam, LPARAM lparam)
{
    return DIALOG_dispatch(this, choose_commands, message, wparam, lparam);
}

void C_DW_TXT_CHOOSE::accept()
{
    const int32_t selected = list ? list->selection() : -1;
    if (selected < 0 || selected >= buffer->count) {
        WE_notify(TXT_NO_SELECTION);
        return;
    }
    *slot = static_cast<int16_t>(selected);
    DIALOG_end(this, DLG_ID_OK);
}

// Runs the dialog and deletes it; the id it ended with (0: it could not run).
int32_t run(C_DIALOG *dialog, const DLGTEMPLATE *dialog_template = nullptr)
{
    if (!dialog) {
        WE_low_memory();
        return 0;
    }
    const int32_t result = DIALOG_run_modal(dialog, dialog_template);
    MM_destroy(dialog, SRC, __LINE__);
    return result;
}

int16_t choose(const TXT_buffer *buffer, const char *caption, int16_t *slot, HWND owner, int32_t template_id,
               const POINT *at)
{
    if (!buffer || !slot) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    int16_t chosen = *slot;
    C_DW_TXT_CHOOSE *form = new (SRC, __LINE__) C_DW_TXT_CHOOSE(owner, template_id, buffer, caption, &chosen);
    if (form && at)
        form->place_fixed(at->x, at->y);
    if (run(form) != DLG_ID_OK)
        return 0;
    *slot = chosen;
    return 1;
}

}  // namespace

int16_t TXT_show(const TXT_buffer *buffer, const char *caption, HWND owner)
{
    if (!buffer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const DLGTEMPLATE *listing = WRC_find_named_template(TXT_LISTING_TEMPLATE);
    if (!listing)
        return 0;
    const int32_t result = run(new (SRC, __LINE__) C_DW_TXT(owner, buffer, caption), listing);
    return result == 0 || result == 3 ? 0 : 1;
}

int16_t TXT_choose(const TXT_buffer *buffer, const char *caption, int16_t *slot, HWND owner)
{
    return choose(buffer, caption, slot, owner, DLG_TXT_CHOOSE, nullptr);
}

int16_t TXT_choose_at(const TXT_buffer *buffer, const char *caption, int32_t x, int32_t y, int16_t *slot,
                      HWND owner)
{
    const POINT at{x, y};
    return choose(buffer, caption, slot, owner, DLG_TXT_CHOOSE_AT, &at);
}
