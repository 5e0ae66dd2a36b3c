#include "swin2/scr1.h"

#include "common/st.h"
#include "swin2/umain.h"
#include "swin2/wt_edit.h"
#include "win/we.h"

static const char SRC[] = "..\\swin2\\scr1";

namespace {

bool usable(const C_WT_UNI *w)
{
    return w && w->window && IsWindowVisible(w->window) && IsWindowEnabled(w->window);
}

DWORD window_style(const C_WT_UNI *w)
{
    return w && w->window ? static_cast<DWORD>(GetWindowLongA(w->window, GWL_STYLE)) : 0;
}

bool is_button(const C_WT_UNI *w)
{
    return w && (w->kind == WT_BUTTON || w->kind == WT_CHECK || w->kind == WT_RADIO);
}

// Where a group begins: a group start, or a tab stop other than a radio
// button's (the system moves those to the checked radio button of a group).
bool group_boundary(const C_WT_UNI *w)
{
    DWORD style = window_style(w);
    return (style & WS_GROUP) || ((style & WS_TABSTOP) && w->kind != WT_RADIO);
}

int16_t held(int key)
{
    return (GetKeyState(key) & 0x8000) ? 1 : 0;
}

// The access letter of a label ("&x", "&&" being a plain ampersand), in
// upper case; 0 for none.
uint8_t access_letter(const char *label)
{
    for (const char *p = label; *p; p++) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {
            p++;
            continue;
        }
        char letter[2] = {p[1], 0};
        ST_upper(letter);
        return static_cast<uint8_t>(letter[0]);
    }
    return 0;
}

}  // namespace

C_SCR1::C_SCR1(C_UMAIN *owner_frame) : C_CW(owner_frame)
{
    SCR_init(&screen);
}

C_SCR1::~C_SCR1()
{
    for (C_WT_UNI *&w : widgets) {
        MM_destroy(w, SRC, __LINE__);
        w = nullptr;
    }
    SCR_release(&screen);
}

int16_t C_SCR1::create()
{
    if (!C_CW::create())
        return 0;
    SCR_create_font(&screen, window);
    SCR_set_background(&screen, screen.background);
    return 1;
}

LRESULT C_SCR1::erase_background(HDC dc)
{
    return SCR_erase_background(&screen, window, dc);
}

HBRUSH C_SCR1::control_colour(HDC dc, HWND control)
{
    C_WT_UNI *w = find_widget(GetDlgCtrlID(control));
    if (w && w->window == control && w->kind == WT_STATIC)
        if (HBRUSH own = static_cast<C_WT_STATIC *>(w)->colour(dc))
            return own;
    return SCR_control_colour(&screen, dc, control);
}

int16_t C_SCR1::draw_item(WPARAM, LPARAM lparam)
{
    const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lparam);
    if (!item || item->CtlType != ODT_BUTTON)
        return 0;
    C_WT_UNI *w = find_widget(static_cast<int32_t>(item->CtlID));
    if (!w || w->kind != WT_BUTTON)
        return 0;
    return static_cast<C_WT_BUTTON *>(w)->draw(item);
}

LRESULT C_SCR1::destroy(WPARAM, LPARAM)
{
    for (C_WT_UNI *w : widgets)
        if (w)
            w->window = nullptr;   // the system destroys the children with their parent
    return 0;
}

int16_t C_SCR1::escape()
{
    return 0;
}

// ---- layout ----

void C_SCR1::layout_area(int32_t *area_width, int32_t *area_height)
{
    int32_t w = SCR1_DEFAULT_AREA_WIDTH, h = SCR1_DEFAULT_AREA_HEIGHT;
    if (!owner || owner->kind != BW_KIND_FRAME) {
        WE_internal_error(SRC, __LINE__);
    } else if (owner->window) {
        RECT r;
        GetWindowRect(owner->window, &r);
        w = r.right - r.left;
        h = r.bottom - r.top;
    } else if (owner->width > 0 && owner->height > 0) {
        w = owner->width;
        h = owner->height;
    }
    if (area_width)
        *area_width = w;
    if (area_height)
        *area_height = h;
}

int32_t C_SCR1::pixels(int32_t units, int16_t size, int32_t area, int32_t reference, int32_t per_size)
{
    if (size <= 0)
        return units / per_size;
    int64_t p = static_cast<int64_t>(units) * size;
    if (area < reference)
        return static_cast<int32_t>(p * area / (static_cast<int64_t>(per_size) * reference));
    return static_cast<int32_t>(p / per_size);
}

int32_t C_SCR1::layout_x(int32_t units)
{
    if (screen.char_width <= 0)
        WE_internal_error(SRC, __LINE__);
    int32_t w = 0;
    layout_area(&w, nullptr);
    return pixels(units, screen.char_width, w, SCR1_REFERENCE_WIDTH, SCR1_UNITS_X);
}

int32_t C_SCR1::layout_y(int32_t units)
{
    if (screen.char_height <= 0)
        WE_internal_error(SRC, __LINE__);
    int32_t h = 0;
    layout_area(nullptr, &h);
    return pixels(units, screen.char_height, h, SCR1_REFERENCE_HEIGHT, SCR1_UNITS_Y);
}

// ---- widgets ----

template <class T>
int16_t C_SCR1::add_widget(int32_t id, int32_t ux, int32_t uy, int32_t uw, int32_t uh)
{
    // One report for an unknown font size and one for a missing frame, not
    // one per coordinate.
    if (screen.char_width <= 0 || screen.char_height <= 0)
        WE_internal_error(SRC, __LINE__);
    int32_t aw = 0, ah = 0;
    layout_area(&aw, &ah);
    int32_t px = pixels(ux, screen.char_width, aw, SCR1_REFERENCE_WIDTH, SCR1_UNITS_X) + origin_x;
    int32_t py = pixels(uy, screen.char_height, ah, SCR1_REFERENCE_HEIGHT, SCR1_UNITS_Y) + origin_y;
    int32_t pw = pixels(uw, screen.char_width, aw, SCR1_REFERENCE_WIDTH, SCR1_UNITS_X);
    int32_t ph = pixels(uh, screen.char_height, ah, SCR1_REFERENCE_HEIGHT, SCR1_UNITS_Y);
    T *made = new (SRC, __LINE__) T(this, id, px, py, pw, ph);
    if (!made) {
        WE_low_memory();
        return 0;
    }
    return insert(made);
}

int16_t C_SCR1::insert(C_WT_UNI *widget)
{
    int16_t free_slot = -1;
    for (int16_t slot = 0; slot < SCR1_WIDGETS; slot++) {
        if (!widgets[slot]) {
            if (free_slot < 0)
                free_slot = slot;
        } else if (widgets[slot]->id == widget->id) {
            free_slot = -2;
            break;
        }
    }
    if (free_slot < 0) {   // the id taken, or all slots
        WE_internal_error(SRC, __LINE__);
        MM_destroy(widget, SRC, __LINE__);
        return 0;
    }
    widgets[free_slot] = widget;
    return 1;
}

int16_t C_SCR1::add_button(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_BUTTON>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_check(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_CHECK>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_radio(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_RADIO>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_static(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_STATIC>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_edit(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_EDIT>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_combo(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_COMBO>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_list(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_LIST>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_table(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_TABLE>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_text_window(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_TW>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_bitmap(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_BMP>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_title(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_TITLE>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_rot(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_ROT>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_htrack(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_HTRACK>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_vtrack(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_VTRACK>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_tree(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_TREE>(id, x_, y_, w, h);
}
int16_t C_SCR1::add_key(int32_t id, int32_t x_, int32_t y_, int32_t w, int32_t h)
{
    return add_widget<C_WT_KEY>(id, x_, y_, w, h);
}

int16_t C_SCR1::create_widgets()
{
    int16_t all = 1;
    for (C_WT_UNI *w : widgets)
        if (w && !w->window && !w->create())
            all = 0;
    if (HFONT font = SCR_font(&screen))
        for (C_WT_UNI *w : widgets)
            if (w && !w->font)
                w->set_font(font);
    scroll_ranges();
    return all;
}

C_WT_UNI *C_SCR1::find_widget(int32_t id)
{
    for (C_WT_UNI *w : widgets)
        if (w && w->id == id)
            return w;
    return nullptr;
}

C_WT_TW *C_SCR1::find_text_window(int32_t id)
{
    C_WT_UNI *w = find_widget(id);
    if (!w)
        return nullptr;
    if (w->kind != WT_TW) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    return static_cast<C_WT_TW *>(w);
}

int16_t C_SCR1::set_widget_text(int32_t id, const char *new_text)
{
    C_WT_UNI *w = find_widget(id);
    return w ? w->set_text(new_text) : 0;
}

int16_t C_SCR1::get_widget_text(int32_t id, char *buffer, int16_t bound)
{
    C_WT_UNI *w = find_widget(id);
    if (!w) {
        if (buffer && bound >= 0)
            buffer[0] = 0;
        return 0;
    }
    return w->get_text(buffer, bound);
}

int16_t C_SCR1::enable_widget(int32_t id, int16_t on)
{
    C_WT_UNI *w = find_widget(id);
    return w ? w->enable(on) : 0;
}

int16_t C_SCR1::show_widget(int32_t id, int16_t on)
{
    C_WT_UNI *w = find_widget(id);
    return w ? w->show(on) : 0;
}

int16_t C_SCR1::focus_widget(int32_t id)
{
    C_WT_UNI *w = find_widget(id);
    if (!w || !w->focus())
        return 0;
    focus_id = id;
    return 1;
}

int16_t C_SCR1::set_widget_state(int32_t id, int32_t state)
{
    C_WT_UNI *w = find_widget(id);
    return w ? w->operation_1(state) : 0;
}

int32_t C_SCR1::get_widget_state(int32_t id)
{
    C_WT_UNI *w = find_widget(id);
    return w ? w->query() : 0;
}

int16_t C_SCR1::set_default_button(int32_t id, int16_t on)
{
    C_WT_UNI *w = find_widget(id);
    if (!w || w->kind != WT_BUTTON)
        return 0;
    return static_cast<C_WT_BUTTON *>(w)->set_default(on);
}

// ---- keyboard ----

int16_t C_SCR1::slot_of_focus()
{
    HWND focused = GetFocus();
    if (!focused)
        return -1;
    for (int16_t slot = 0; slot < SCR1_WIDGETS; slot++) {
        const C_WT_UNI *w = widgets[slot];
        if (w && w->window && (w->window == focused || IsChild(w->window, focused)))
            return slot;
    }
    return -1;
}

// The next usable tab stop after slot from (before it, direction -1), all
// the way round to from itself; from -1 starts at the first (last) slot.
int16_t C_SCR1::next_tab_stop(int16_t from, int16_t direction)
{
    for (int16_t step = 1; step <= SCR1_WIDGETS; step++) {
        int16_t slot = from < 0 ? (direction > 0 ? step - 1 : SCR1_WIDGETS - step)
                                : (from + direction * step + SCR1_WIDGETS) % SCR1_WIDGETS;
        const C_WT_UNI *w = widgets[slot];
        if (usable(w) && (window_style(w) & WS_TABSTOP))
            return slot;
    }
    return -1;
}

int16_t C_SCR1::group_start(int16_t slot)
{
    while (slot > 0 && !group_boundary(widgets[slot]))
        slot--;
    return slot;
}

int16_t C_SCR1::move_focus(int16_t direction)
{
    int16_t from = slot_of_focus();
    if (direction < 0 && from >= 0)
        from = group_start(from);   // backwards: out of the group, not to its start
    int16_t found = next_tab_stop(from, direction);
    if (found < 0)
        return 0;
    if (window_style(widgets[found]) & WS_GROUP) {
        // The checked radio button of the group takes the focus.
        for (int16_t slot = found; slot < SCR1_WIDGETS; slot++) {
            const C_WT_UNI *w = widgets[slot];
            if (!w)
                continue;
            if (slot > found && group_boundary(w))
                break;
            if (w->kind == WT_RADIO && usable(w) && SendMessageA(w->window, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                found = slot;
                break;
            }
        }
    }
    SetFocus(widgets[found]->window);
    return 1;
}

// The arrows move among the buttons, check boxes and radio buttons of the
// focused one's group; any other control keeps its arrows.
int16_t C_SCR1::move_in_group(int16_t direction)
{
    int16_t current = slot_of_focus();
    if (current < 0 || !is_button(widgets[current]))
        return 0;
    int16_t first = group_start(current);
    int16_t end = first + 1;
    while (end < SCR1_WIDGETS && !group_boundary(widgets[end]))
        end++;
    int16_t size = end - first;
    for (int16_t step = 1; step < size; step++) {
        int16_t slot = first + ((current - first) + direction * step + size * step) % size;
        C_WT_UNI *w = widgets[slot];
        if (is_button(w) && usable(w)) {
            SetFocus(w->window);
            return 1;
        }
    }
    return 0;
}

int16_t C_SCR1::press_default()
{
    int16_t current = slot_of_focus();
    if (current >= 0 && widgets[current]->kind == WT_EDIT && (window_style(widgets[current]) & ES_MULTILINE))
        return 0;   // Enter makes a new line there
    for (C_WT_UNI *w : widgets) {
        if (w && w->kind == WT_BUTTON && w->default_button && usable(w)) {
            SetFocus(w->window);
            SendMessageA(w->window, BM_CLICK, 0, 0);
            return 1;
        }
    }
    return 0;
}

// A label's access letter: a button, check box or radio button gets the
// focus and a click; a static text gives the focus to the next tab stop.
int16_t C_SCR1::access_key(uint8_t letter)
{
    if (!letter)
        return 0;
    char wanted[2] = {static_cast<char>(letter), 0};
    ST_upper(wanted);
    for (int16_t slot = 0; slot < SCR1_WIDGETS; slot++) {
        C_WT_UNI *w = widgets[slot];
        if (!w || !(is_button(w) || w->kind == WT_STATIC) || !usable(w))
            continue;
        char label[WT_TEXT_MAX + 1] = "";
        GetWindowTextA(w->window, label, sizeof label);
        if (access_letter(label) != static_cast<uint8_t>(wanted[0]))
            continue;
        if (w->kind == WT_STATIC) {
            int16_t next = next_tab_stop(slot, 1);
            if (next < 0)
                return 0;
            SetFocus(widgets[next]->window);
            return 1;
        }
        SetFocus(w->window);
        SendMessageA(w->window, BM_CLICK, 0, 0);
        return 1;
    }
    return 0;
}

void C_SCR1::remember_focus()
{
    const int16_t slot = slot_of_focus();
    if (slot >= 0)
        focus_id = widgets[slot]->id;
}

void C_SCR1::restore_focus()
{
    const C_WT_UNI *w = find_widget(focus_id);
    if (usable(w))
        SetFocus(w->window);
    else
        move_focus(1);
}

int16_t C_SCR1::pre_translate(MSG *message)
{
    if (!message || !window)
        return 0;
    // Keys addressed to the frame (it has the focus when no widget has it) are the screen's too.
    const bool frame = owner && owner->window && message->hwnd == owner->window;
    if (!frame && message->hwnd != window && !IsChild(window, message->hwnd))
        return 0;
    remember_focus();
    if (message->message == WM_SYSKEYDOWN)
        return access_key(static_cast<uint8_t>(MapVirtualKeyA(static_cast<UINT>(message->wParam), MAPVK_VK_TO_CHAR)));
    if (message->message != WM_KEYDOWN)
        return 0;
    int16_t shift = held(VK_SHIFT), ctrl = held(VK_CONTROL), alt = held(VK_MENU);
    if (shift && !ctrl && !alt)
        return message->wParam == VK_TAB ? move_focus(-1) : 0;
    if (shift || ctrl || alt)
        return 0;
    switch (message->wParam) {
    case VK_TAB:
        return move_focus(1);
    case VK_RETURN:
        return press_default();
    case VK_ESCAPE:
        return escape();
    case VK_LEFT:
    case VK_UP:
        return move_in_group(-1);
    case VK_RIGHT:
    case VK_DOWN:
        return move_in_group(1);
    default:
        return 0;
    }
}
