#include "swin2/wt_uni.h"

#include <cstring>

#include "common/st.h"
#include "swin/col.h"
#include "swin/tab.h"
#include "swin/wgd.h"
#include "swin2/bw.h"
#include "swin2/tw.h"
#include "win/we.h"
#include "win/wmsg.h"

static const char SRC[] = "..\\swin2\\wt_uni";

namespace {

HINSTANCE module_instance()
{
    return WGD_driver ? WGD_driver->instance : GetModuleHandleA(nullptr);
}

const DWORD CHILD = 0x54000000u;   // visible child clipping its siblings

// The custom controls: class, style, and their private messages for the
// text (the message after it clears) and the two colours (0: none).
struct CUSTOM_KIND {
    int16_t kind;
    const char *class_name;
    DWORD style;
    UINT text, colour_1, colour_2;
};
const CUSTOM_KIND CUSTOM_KINDS[] = {
    {WT_BMP, "BMP_WINDOW_CLASS_NAME", CHILD, WM_UCC_BMP_LOAD, 0, 0},
    {WT_TITLE, "TITLE_WINDOW_CLASS_NAME", CHILD, WM_UCC_TITLE_SET_TEXT, WM_UCC_TITLE_TEXT_COLOUR,
     WM_UCC_TITLE_BACKGROUND},
    {WT_ROT, "ROT_WINDOW_CLASS_NAME", CHILD, WM_UCC_ROT_SET_TEXT, WM_UCC_ROT_TEXT_COLOUR, WM_UCC_ROT_BACKGROUND},
    {WT_HTRACK, "HTRACK_WINDOW_CLASS_NAME", CHILD, 0, WM_UCC_TRACK_BAR_COLOUR, WM_UCC_TRACK_FACE_COLOUR},
    {WT_VTRACK, "VTRACK_WINDOW_CLASS_NAME", CHILD, 0, WM_UCC_TRACK_BAR_COLOUR, WM_UCC_TRACK_FACE_COLOUR},
    {WT_KEY, "UCC_KEY_CLASS_NAME", CHILD | WS_TABSTOP, 0, 0, 0},
};

const CUSTOM_KIND &custom_kind(int16_t kind)
{
    for (const CUSTOM_KIND &k : CUSTOM_KINDS)
        if (k.kind == kind)
            return k;
    WE_internal_error(SRC, __LINE__);
    return CUSTOM_KINDS[0];
}

}  // namespace

void WT_copy(char *buffer, const char *source, int16_t bound)
{
    if (bound <= 0)
        buffer[0] = 0;
    else
        ST_copy(buffer, source, bound);
}

COLORREF WT_colour(int32_t entry)
{
    if (entry < 0 || entry >= COL_ENTRIES) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (const COL_TABLE *table = WGD_colours())
        return COL_value(table, static_cast<int16_t>(entry));
    COL_TABLE defaults;
    COL_init(&defaults);
    return COL_value(&defaults, static_cast<int16_t>(entry));
}

// ---- base ----

C_WT_UNI::C_WT_UNI(C_BW *owner_, int16_t kind_, int32_t id_, int32_t x_, int32_t y_, int32_t width_,
                   int32_t height_, const char *class_name_, DWORD style_, DWORD ex_style_)
    : owner(owner_), kind(kind_), id(id_), x(x_), y(y_), width(width_), height(height_), style(style_),
      ex_style(ex_style_)
{
    ST_copy(class_name, class_name_ ? class_name_ : "", WT_CLASS_MAX);
    text[0] = 0;
}

C_WT_UNI::~C_WT_UNI()
{
    if (window && IsWindow(window))
        DestroyWindow(window);
    window = nullptr;
}

int16_t C_WT_UNI::font_changed(HFONT) { return 1; }
void C_WT_UNI::after_create() {}
int16_t C_WT_UNI::operation_1(int32_t) { return 1; }
int16_t C_WT_UNI::operation_2(int32_t) { return 1; }
int32_t C_WT_UNI::query() { return 0; }

HWND C_WT_UNI::parent_window() const
{
    return owner ? owner->window : nullptr;
}

int16_t C_WT_UNI::create()
{
    if (window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    HWND parent = parent_window();
    if (!parent)
        return 0;
    window = CreateWindowExA(ex_style, class_name, text, style, x, y, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_instance(), nullptr);
    if (!window)
        return 0;
    if (font)
        set_font(font);
    after_create();
    return 1;
}

int16_t C_WT_UNI::set_text(const char *new_text)
{
    if (!new_text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    ST_copy(text, new_text, WT_TEXT_MAX);
    if (window)
        SetWindowTextA(window, text);
    return 1;
}

int16_t C_WT_UNI::get_text(char *buffer, int16_t bound)
{
    if (!buffer || bound < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (window)
        GetWindowTextA(window, buffer, bound + 1);
    else
        WT_copy(buffer, text, bound);
    return 1;
}

int16_t C_WT_UNI::set_font(HFONT new_font)
{
    font = new_font;
    if (window) {
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        font_changed(font);
        InvalidateRect(window, nullptr, TRUE);
    }
    return 1;
}

int16_t C_WT_UNI::enable(int16_t on)
{
    return window ? (EnableWindow(window, on ? TRUE : FALSE), 1) : 0;
}

int16_t C_WT_UNI::is_enabled() const
{
    return window && IsWindowEnabled(window) ? 1 : 0;
}

int16_t C_WT_UNI::show(int16_t on)
{
    return window ? (ShowWindow(window, on ? SW_SHOW : SW_HIDE), 1) : 0;
}

int16_t C_WT_UNI::is_visible() const
{
    return window && IsWindowVisible(window) ? 1 : 0;
}

int16_t C_WT_UNI::focus()
{
    return window ? (SetFocus(window), 1) : 0;
}

int16_t C_WT_UNI::move_to(const RECT &r, int16_t repaint)
{
    x = r.left;
    y = r.top;
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (window)
        MoveWindow(window, x, y, width, height, repaint ? TRUE : FALSE);
    return 1;
}

// ---- kind 1: owner-drawn push button ----

C_WT_BUTTON::C_WT_BUTTON(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_BUTTON, id_, x_, y_, width_, height_, "BUTTON", 0x54010F0Bu, 0),
      face(GetSysColor(COLOR_MENU))
{
}

int16_t C_WT_BUTTON::set_default(int16_t on)
{
    default_button = on ? 1 : 0;
    if (on)
        style |= BS_DEFPUSHBUTTON;   // the owner-drawn type keeps this bit
    if (window)
        InvalidateRect(window, nullptr, TRUE);
    return 1;
}

int16_t C_WT_BUTTON::draw(const DRAWITEMSTRUCT *item)
{
    if (!item || item->hwndItem != window || !window)
        return 0;
    HDC dc = item->hDC;
    C_SELECT_PALETTE chosen(dc, WGD_palette(), TRUE);
    RealizePalette(dc);
    RECT r = item->rcItem;
    {
        C_GDI<HBRUSH> brush(CreateSolidBrush(face));
        FillRect(dc, &r, brush);
    }
    if (default_button) {   // the default button's outer black line
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    bool pressed = (item->itemState & ODS_SELECTED) != 0;
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    char caption[WT_TEXT_MAX + 1] = "";
    GetWindowTextA(window, caption, sizeof caption);
    RECT t = r;
    InflateRect(&t, -3, -3);
    if (pressed)
        OffsetRect(&t, 1, 1);
    {
        C_SELECT chosen_font(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor((item->itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextA(dc, caption, -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (item->itemState & ODS_FOCUS)
        DrawFocusRect(dc, &t);
    return 1;
}

// ---- kinds 2 and 3: check box and radio button ----

C_WT_CHECK::C_WT_CHECK(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_CHECK, id_, x_, y_, width_, height_, "BUTTON", 0x54010C02u, 0)
{
}

void C_WT_CHECK::after_create()
{
    if (state)   // the window starts clear
        operation_1(state);
}

int16_t C_WT_CHECK::operation_1(int32_t new_state)
{
    state = new_state;
    if (!window)
        return 1;
    WPARAM check = new_state == 1 ? BST_CHECKED : new_state == 0 ? BST_UNCHECKED : BST_INDETERMINATE;
    if (check == BST_INDETERMINATE && (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_CHECKBOX)
        // A two-state box turns grey into checked: it becomes a three-state one.
        SendMessageA(window, BM_SETSTYLE, BS_3STATE, TRUE);
    SendMessageA(window, BM_SETCHECK, check, 0);
    return 1;
}

int32_t C_WT_CHECK::query()
{
    if (!window)
        return state == 1 || state == 0 ? state : -1;
    switch (SendMessageA(window, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        return 1;
    case BST_UNCHECKED:
        return 0;
    default:
        return -1;
    }
}

C_WT_RADIO::C_WT_RADIO(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_RADIO, id_, x_, y_, width_, height_, "BUTTON", 0x54000004u, 0)
{
}

void C_WT_RADIO::after_create()
{
    // The window starts clear; BM_SETCHECK would also take a tab stop of the
    // application's off a clear radio button.
    if (state)
        operation_1(state);
}

int16_t C_WT_RADIO::operation_1(int32_t new_state)
{
    state = new_state ? 1 : 0;
    if (window)
        SendMessageA(window, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
    return 1;
}

int32_t C_WT_RADIO::query()
{
    if (!window)
        return state;
    return SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

// ---- kind 4: static text ----

C_WT_STATIC::C_WT_STATIC(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_STATIC, id_, x_, y_, width_, height_, "STATIC", CHILD, 0)
{
}

int16_t C_WT_STATIC::operation_1(int32_t entry)
{
    if (entry < 0 || entry >= COL_ENTRIES) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    text_colour = entry;
    own_colours = 1;
    if (window)
        InvalidateRect(window, nullptr, TRUE);
    return 1;
}

int16_t C_WT_STATIC::operation_2(int32_t entry)
{
    if (entry < 0 || entry >= COL_ENTRIES) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    HBRUSH made = CreateSolidBrush(WT_colour(entry));
    if (!made)
        return 0;
    brush.reset(made);
    background = entry;
    own_colours = 1;
    if (window)
        InvalidateRect(window, nullptr, TRUE);
    return 1;
}

HBRUSH C_WT_STATIC::colour(HDC dc)
{
    if (!own_colours || !dc)
        return nullptr;
    if (text_colour != WT_COLOUR_UNSET)
        SetTextColor(dc, WT_colour(text_colour));
    if (background == WT_COLOUR_UNSET || !brush)
        return nullptr;   // the screen's background
    if (HPALETTE palette = WGD_palette()) {
        SelectPalette(dc, palette, TRUE);   // stays: the control paints in this dc afterwards
        RealizePalette(dc);
    }
    SetBkColor(dc, WT_colour(background));
    return brush;
}

// ---- kinds 6 and 7: combo box and list box ----

namespace {

const WT_LIST_MESSAGES COMBO_MESSAGES{CB_ADDSTRING, CB_RESETCONTENT, CB_GETCOUNT, CB_SETCURSEL,
                                      CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_ERR};
const WT_LIST_MESSAGES LIST_BOX_MESSAGES{LB_ADDSTRING, LB_RESETCONTENT, LB_GETCOUNT, LB_SETCURSEL,
                                         LB_GETCURSEL, LB_GETTEXTLEN, LB_GETTEXT, LB_ERR};

}  // namespace

C_WT_ITEMS::C_WT_ITEMS(C_BW *owner_, int16_t kind_, int32_t id_, int32_t x_, int32_t y_, int32_t width_,
                       int32_t height_, const char *class_name_, uint32_t style_, const WT_LIST_MESSAGES &messages)
    : C_WT_UNI(owner_, kind_, id_, x_, y_, width_, height_, class_name_, style_, 0), messages_(messages)
{
}

int32_t C_WT_ITEMS::add(const char *item)
{
    if (!item) {
        WE_internal_error(SRC, __LINE__);
        return -1;
    }
    if (!window)
        return -1;
    LRESULT index = SendMessageA(window, messages_.add, 0, reinterpret_cast<LPARAM>(item));
    return index < 0 ? -1 : static_cast<int32_t>(index);
}

int16_t C_WT_ITEMS::clear() { return window ? (SendMessageA(window, messages_.reset, 0, 0), 1) : 0; }

int32_t C_WT_ITEMS::count()
{
    LRESULT n = window ? SendMessageA(window, messages_.count, 0, 0) : 0;
    return n < 0 ? 0 : static_cast<int32_t>(n);
}

int16_t C_WT_ITEMS::operation_1(int32_t index)
{
    if (!window || index < -1 || index >= count())
        return 0;
    SendMessageA(window, messages_.select, static_cast<WPARAM>(index), 0);
    return 1;
}

int32_t C_WT_ITEMS::query()
{
    LRESULT index = window ? SendMessageA(window, messages_.selection, 0, 0) : messages_.error;
    return index < 0 ? -1 : static_cast<int32_t>(index);
}

int16_t C_WT_ITEMS::item_text(int32_t index, char *buffer, int16_t bound)
{
    if (!buffer || bound < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    buffer[0] = 0;
    if (!window || index < 0 || index >= count())
        return 0;
    LRESULT length = SendMessageA(window, messages_.text_length, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return 0;
    // The control writes the whole item: through a buffer of its length.
    char *whole = static_cast<char *>(MM_alloc(static_cast<int32_t>(length) + 1, 1, SRC, __LINE__));
    if (!whole) {
        WE_low_memory();
        return 0;
    }
    SendMessageA(window, messages_.text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(whole));
    WT_copy(buffer, whole, bound);
    MM_free(whole, SRC, __LINE__);
    return 1;
}

C_WT_COMBO::C_WT_COMBO(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_ITEMS(owner_, WT_COMBO, id_, x_, y_, width_, height_, "COMBOBOX", 0x54810200u, COMBO_MESSAGES)
{
}

C_WT_LIST::C_WT_LIST(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_ITEMS(owner_, WT_LIST, id_, x_, y_, width_, height_, "LISTBOX", 0x54810040u, LIST_BOX_MESSAGES)
{
}

// ---- kinds 10 to 14 and 16: custom controls ----

C_WT_CUSTOM::C_WT_CUSTOM(C_BW *owner_, int16_t kind_, int32_t id_, int32_t x_, int32_t y_, int32_t width_,
                         int32_t height_)
    : C_WT_UNI(owner_, kind_, id_, x_, y_, width_, height_, custom_kind(kind_).class_name,
               custom_kind(kind_).style, 0)
{
}

int16_t C_WT_CUSTOM::send_text()
{
    UINT message = custom_kind(kind).text;
    if (window && message)
        return SendMessageA(window, text[0] ? message : message + 1, 0, reinterpret_cast<LPARAM>(text)) ? 1 : 0;
    return 1;
}

void C_WT_CUSTOM::send_colour(int which)
{
    const CUSTOM_KIND &k = custom_kind(kind);
    UINT message = which == 1 ? k.colour_1 : k.colour_2;
    int32_t entry = which == 1 ? colour_1 : colour_2;
    if (window && message && entry != WT_COLOUR_UNSET)
        SendMessageA(window, message, WT_colour(entry), 0);
}

void C_WT_CUSTOM::after_create()
{
    if (text[0])
        send_text();
    send_colour(1);
    send_colour(2);
    if (kind == WT_KEY && key_code)
        SendMessageA(window, WM_KEY_SET, static_cast<WPARAM>(key_code), 0);
}

int16_t C_WT_CUSTOM::set_text(const char *new_text)
{
    if (!C_WT_UNI::set_text(new_text))
        return 0;
    return send_text();   // 0 when the control refused it (a bitmap that did not load)
}

int16_t C_WT_CUSTOM::operation_1(int32_t value)
{
    if (kind == WT_KEY) {   // the key code, kept until the window exists
        key_code = value;
        if (window)
            SendMessageA(window, WM_KEY_SET, static_cast<WPARAM>(value), 0);
        return 1;
    }
    if (value < 0 || value >= COL_ENTRIES) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    colour_1 = value;
    send_colour(1);
    return 1;
}

int16_t C_WT_CUSTOM::operation_2(int32_t entry)
{
    if (kind == WT_KEY)
        return 1;
    if (entry < 0 || entry >= COL_ENTRIES) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    colour_2 = entry;
    send_colour(2);
    return 1;
}

int32_t C_WT_CUSTOM::query()
{
    if (kind != WT_KEY || !window)
        return 0;
    return static_cast<int32_t>(SendMessageA(window, WM_KEY_GET, 0, 0));
}

// ---- kind 8: table ----

C_WT_TABLE::C_WT_TABLE(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_TABLE, id_, x_, y_, width_, height_, TABLE_CLASS_NAME, 0x54010000u, 0)
{
}

LRESULT C_WT_TABLE::table_message(UINT message, WPARAM wparam, LPARAM lparam) const
{
    return window ? SendMessageA(window, message, wparam, lparam) : 0;
}

// ---- kind 15: tree ----

C_WT_TREE::C_WT_TREE(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_TREE, id_, x_, y_, width_, height_, WC_TREEVIEWA, 0x54810007u, WS_EX_CLIENTEDGE)
{
    ST_copy(text, WT_TREE_TEXT, WT_TEXT_MAX);
}

int16_t C_WT_TREE::create()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return C_WT_UNI::create();
}

HTREEITEM C_WT_TREE::add(const char *item, HTREEITEM parent_item)
{
    if (!item) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    if (!window)
        return nullptr;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent_item;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char *>(item);
    return reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

int16_t C_WT_TREE::clear()
{
    return window && SendMessageA(window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) ? 1 : 0;
}

int16_t C_WT_TREE::select(HTREEITEM item)
{
    return window && SendMessageA(window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) ? 1 : 0;
}

HTREEITEM C_WT_TREE::selection()
{
    return window ? reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
}

int16_t C_WT_TREE::item_text(HTREEITEM item, char *buffer, int16_t bound)
{
    if (!buffer || bound < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    buffer[0] = 0;
    if (!window || !item)
        return 0;
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = bound + 1;
    return SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) ? 1 : 0;
}

// ---- kind 9: message text window ----

C_WT_TW::C_WT_TW(C_BW *owner_, int32_t id_, int32_t x_, int32_t y_, int32_t width_, int32_t height_)
    : C_WT_UNI(owner_, WT_TW, id_, x_, y_, width_, height_, TW_CLASS_NAME, TW_STYLE, TW_EMBEDDED_EX_STYLE)
{
}

C_WT_TW::~C_WT_TW()
{
    TW_destroy(text_window);   // closes its window
    text_window = nullptr;
    window = nullptr;
}

int16_t C_WT_TW::create()
{
    if (window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!parent_window())
        return 0;
    if (!text_window && !(text_window = TW_create()))
        return 0;   // reported by TW_create
    if (!TW_create_window(text_window, owner, TW_KIND_EMBEDDED))
        return 0;
    window = text_window->window;
    SetWindowLongPtrA(window, GWLP_ID, static_cast<LONG_PTR>(id));
    MoveWindow(window, x, y, width, height, TRUE);
    if (font)
        set_font(font);
    after_create();
    return 1;
}

int16_t C_WT_TW::add_line(const char *line)
{
    if (!line) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!text_window && !(text_window = TW_create()))
        return 0;
    ST_copy(text, line, WT_TEXT_MAX);
    return TW_add_line(text_window, line);
}

int16_t C_WT_TW::set_text(const char *new_text)
{
    return add_line(new_text);
}

int16_t C_WT_TW::get_text(char *buffer, int16_t bound)
{
    if (!buffer || bound < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *last = text_window && text_window->count > 0 ? text_window->lines[text_window->count - 1] : "";
    WT_copy(buffer, last ? last : "", bound);
    return 1;
}

int16_t C_WT_TW::clear()
{
    text[0] = 0;
    return text_window ? TW_clear(text_window) : 1;
}

int32_t C_WT_TW::line_count() const
{
    return text_window ? text_window->count : 0;
}
