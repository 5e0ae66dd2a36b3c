#include "swin2/umain.h"

#include <cstdio>

#include "common/dt.h"
#include "swin/menubar.h"
#include "swin/sbar.h"
#include "swin/wgd.h"
#include "swin2/cw.h"
#include "swin2/scr1.h"
#include "win/gdd.h"
#include "win/pfu.h"
#include "win/we.h"

static const char SRC[] = "..\\swin2\\umain";

C_UMAIN::C_UMAIN()
{
    kind = BW_KIND_FRAME;
    set_class_name(UMAIN_OBJECT_CLASS_NAME);
}

C_UMAIN::~C_UMAIN()
{
    for (int16_t slot = UMAIN_CLIENTS - 1; slot >= 0; slot--)
        delete_client(slot);
    SBAR_destroy(status_bar);
    status_bar = nullptr;
}

int16_t C_UMAIN::create()
{
    set_class_name(UMAIN_CLASS_NAME);
    large_icon = UMAIN_LARGE_ICON;
    small_icon = UMAIN_SMALL_ICON;
    set_title(UMAIN_TITLE);
    if (!C_BW::create())
        return 0;
    PFU_TABLES *tables = GDD_global.tables;
    if (tables && tables->count > 0) {
        menu_table = tables->tables[0];
        menu = MENU_build_bar(window, menu_table);
    }
    status_bar = SBAR_create(window);
    refresh_layout();
    PostMessageA(window, WM_BW_AFTER_CREATE, 0, 0);
    SetTimer(window, UMAIN_TIMER, 1000, nullptr);
    return 1;
}

LRESULT C_UMAIN::size(int32_t w, int32_t h, int32_t size_kind)
{
    if (size_kind == SIZE_MINIMIZED)
        return 0;   // the clients keep their layout while the frame is an icon
    client_area = RECT{0, 0, w, h};
    if (status_bar) {
        int32_t bar = SBAR_height(status_bar);
        MoveWindow(status_bar->window, 0, h - bar, w, bar, TRUE);
        SBAR_layout(status_bar, w);
        client_area.bottom -= bar;
    }
    for (C_CW *client : clients)
        if (client && client->window)
            MoveWindow(client->window, client_area.left, client_area.top, client_area.right - client_area.left,
                       client_area.bottom - client_area.top, TRUE);
    return 0;
}

LRESULT C_UMAIN::enter_size_move()
{
    C_CW *top = top_client();
    return top ? top->enter_size_move() : 0;
}

LRESULT C_UMAIN::exit_size_move()
{
    C_CW *top = top_client();
    return top ? top->exit_size_move() : 0;
}

LRESULT C_UMAIN::destroy(WPARAM, LPARAM)
{
    status_bar = nullptr;   // destroyed with its window, which is a child of this one
    PostQuitMessage(0);
    return 0;
}

void C_UMAIN::system_close()
{
    PostMessageA(window, WM_BW_CLOSE_REQUEST, 0, 0);
}

int16_t C_UMAIN::close_message()
{
    if (top_slot() < 0)
        return 0;
    system_close();
    return 1;
}

int16_t C_UMAIN::deactivated()
{
    if (C_CW *top = top_client())
        top->remember_focus();
    return 1;
}

void C_UMAIN::set_focus()
{
    if (C_CW *top = top_client())
        top->restore_focus();
}

LRESULT C_UMAIN::query_end_session(LPARAM)
{
    return 1;
}

void C_UMAIN::init_menu_popup(WPARAM wparam, LPARAM)
{
    MENU_init_popup(reinterpret_cast<HMENU>(wparam));
}

void C_UMAIN::menu_select(WPARAM wparam, LPARAM lparam)
{
    MENU_select(status_bar, wparam, lparam);
}

int16_t C_UMAIN::measure_item(WPARAM, LPARAM lparam)
{
    return MENU_measure_item(window, reinterpret_cast<MEASUREITEMSTRUCT *>(lparam));
}

int16_t C_UMAIN::draw_item(WPARAM, LPARAM lparam)
{
    return MENU_draw_item(reinterpret_cast<const DRAWITEMSTRUCT *>(lparam));
}

void C_UMAIN::refresh_menu(int32_t id)
{
    if (window && menu)
        MENU_refresh(window, menu, id);
}

LRESULT C_UMAIN::default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_TIMER:
        if (wparam == UMAIN_TIMER) {
            show_clock();
            return 0;
        }
        break;
    case WM_UMAIN_REPLACE_CLIENT:
        replace_client(static_cast<int16_t>(LOWORD(wparam)));
        return 0;
    case WM_UMAIN_PUSH_CLIENT:
        push_client(static_cast<int16_t>(LOWORD(wparam)));
        return 0;
    case WM_UMAIN_POP_CLIENT:
        pop_client();
        return 0;
    }
    return C_BW::default_message(target, message, wparam, lparam);
}

void C_UMAIN::create_client(int16_t, int16_t)
{
    WE_internal_error(SRC, __LINE__);
}

void C_UMAIN::show_status(const char *text)
{
    // The echo goes into the message text widget 17 of a screen that has one.
    C_SCR1 *screen = dynamic_cast<C_SCR1 *>(top_client());
    C_WT_UNI *widget = screen ? screen->find_widget(UMAIN_STATUS_WIDGET) : nullptr;
    if (widget && widget->kind == WT_TW && text)
        static_cast<C_WT_TW *>(widget)->add_line(text);
}

int16_t C_UMAIN::top_slot() const
{
    for (int16_t slot = UMAIN_CLIENTS - 1; slot >= 0; slot--)
        if (clients[slot])
            return slot;
    return -1;
}

C_CW *C_UMAIN::top_client() const
{
    int16_t slot = top_slot();
    return slot < 0 ? nullptr : clients[slot];
}

int16_t C_UMAIN::may_close(int16_t slot)
{
    if (clients[slot]->can_close())
        return 1;
    if (GDD_global.tables)
        PFU_set_state(GDD_global.tables, 0, UMAIN_EXIT_FUNCTION, PFU_NORMAL);
    return 0;
}

void C_UMAIN::delete_client(int16_t slot)
{
    MM_destroy(clients[slot], SRC, __LINE__);
    clients[slot] = nullptr;
}

void C_UMAIN::replace_client(int16_t client_kind)
{
    int16_t slot = top_slot();
    if (slot < 0)
        slot = 0;
    if (clients[slot]) {
        if (!may_close(slot))
            return;
        delete_client(slot);
    }
    create_client(slot, client_kind);
    refresh_layout();
}

void C_UMAIN::push_client(int16_t client_kind)
{
    int16_t slot = static_cast<int16_t>(top_slot() + 1);
    if (slot >= UMAIN_CLIENTS) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    create_client(slot, client_kind);
    refresh_layout();
}

void C_UMAIN::pop_client()
{
    int16_t slot = top_slot();
    if (slot < 0 || !may_close(slot))
        return;
    delete_client(slot);
    refresh_layout();
}

void C_UMAIN::show_clock()
{
    if (!status_bar)
        return;
    DT_DATE today = DT_today();
    DT_TIME now = DT_now_time();
    char text[80];
    std::snprintf(text, sizeof text, "%s %s", DT_date_short(&today), DT_time_text(&now));
    SBAR_set_text(status_bar, UMAIN_FIELD_CLOCK, text);
}

namespace {

int16_t post(C_UMAIN *frame, UINT message, int16_t kind)
{
    if (!frame) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (!frame->window)
        return 0;
    return PostMessageA(frame->window, message, static_cast<WPARAM>(static_cast<uint16_t>(kind)), 0) ? 1 : 0;
}

void show_state(C_UMAIN *frame)
{
    if (!frame->status_bar)
        return;
    const char *text = (frame->state & UMAIN_SAVING)     ? "Ukládání"
                       : (frame->state & UMAIN_MODIFIED) ? "modifikováno"
                                                         : "";
    SBAR_set_text(frame->status_bar, UMAIN_FIELD_STATE, text);
}

}  // namespace

int16_t UMAIN_replace_client(C_UMAIN *frame, int16_t kind)
{
    return post(frame, WM_UMAIN_REPLACE_CLIENT, kind);
}

int16_t UMAIN_push_client(C_UMAIN *frame, int16_t kind)
{
    return post(frame, WM_UMAIN_PUSH_CLIENT, kind);
}

int16_t UMAIN_pop_client(C_UMAIN *frame)
{
    return post(frame, WM_UMAIN_POP_CLIENT, 0);
}

int16_t UMAIN_close_all_clients(C_UMAIN *frame)
{
    if (!frame) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (int16_t slot = UMAIN_CLIENTS - 1; slot >= 0; slot--) {
        if (!frame->clients[slot])
            continue;
        if (!frame->may_close(slot))
            return 0;
        frame->delete_client(slot);
        frame->refresh_layout();
    }
    if (frame->window)
        PostMessageA(frame->window, WM_CLOSE, 0, 0);
    return 1;
}

int16_t UMAIN_set_state(C_UMAIN *frame, uint16_t flags)
{
    if (!frame) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    frame->state = static_cast<uint16_t>(frame->state | flags);
    show_state(frame);
    return 1;
}

int16_t UMAIN_clear_state(C_UMAIN *frame, uint16_t flags)
{
    if (!frame) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    frame->state = static_cast<uint16_t>(frame->state & ~flags);
    show_state(frame);
    return 1;
}
