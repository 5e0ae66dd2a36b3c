#include "swin2/tw2.h"

#include <cstring>

#include "win/we.h"

static const char SRC[] = "..\\swin2\\tw2";

C_TW2_LIST::~C_TW2_LIST()
{
    for (int16_t i = 0; i < slots; i++)
        TW_destroy(windows[i]);
    MM_free(windows, SRC, __LINE__);
}

int16_t C_TW2_LIST::add()
{
    int16_t slot = 0;
    while (slot < slots && windows[slot])
        slot++;
    if (slot == slots) {
        if (slots == INT16_MAX) {
            WE_internal_error(SRC, __LINE__);
            return -1;
        }
        int16_t more = static_cast<int16_t>(slots ? slots + 1 : TW2_FIRST_SLOTS);
        TW_text_window **table = static_cast<TW_text_window **>(MM_alloc(more, sizeof *table, SRC, __LINE__));
        if (!table) {
            WE_low_memory();
            return -1;
        }
        if (slots)
            std::memcpy(table, windows, sizeof *table * static_cast<size_t>(slots));
        MM_free(windows, SRC, __LINE__);
        windows = table;
        slots = more;
    }
    TW_text_window *text = TW_create();
    if (!text)
        return -1;   // reported by TW_create
    windows[slot] = text;
    return slot;
}

TW_text_window *C_TW2_LIST::get(int16_t slot)
{
    if (slot < 0 || slot >= slots || !windows[slot]) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    return windows[slot];
}

int16_t C_TW2_LIST::create_window(int16_t slot, C_BW *owner)
{
    TW_text_window *text = get(slot);
    return text ? TW_create_window(text, owner, TW_KIND_FLOATING) : 0;
}

int16_t C_TW2_LIST::remove(int16_t slot)
{
    if (!get(slot))
        return 0;
    TW_destroy(windows[slot]);
    std::memmove(windows + slot, windows + slot + 1, sizeof *windows * static_cast<size_t>(slots - slot - 1));
    windows[slots - 1] = nullptr;
    return 1;
}

int16_t C_TW2_LIST::close_all()
{
    for (int16_t i = 0; i < slots; i++) {
        if (!windows[i])
            continue;
        if (windows[i]->window)
            SendMessageA(windows[i]->window, WM_CLOSE, 0, 0);
        TW_destroy(windows[i]);
        windows[i] = nullptr;
    }
    return 1;
}

int16_t C_TW2_LIST::draw_captions(int16_t active)
{
    for (int16_t i = 0; i < slots; i++)
        if (windows[i] && windows[i]->window)
            SendMessageA(windows[i]->window, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    return 1;
}
