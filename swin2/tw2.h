// A container of floating message text windows (swin2/tw.h). The container
// owns the objects; a slot index identifies one. The occupied slots are
// packed from 0: a removal moves the later ones down.
//
// A slot index that names no object is an internal error and the failure
// result (0, -1 or null).
#pragma once
#include <cstdint>

#include "common/mm.h"
#include "swin2/tw.h"

class C_BW;

#define TW2_FIRST_SLOTS 5   // slots made on first use; a full table grows by one

class C_TW2_LIST : public MM_OBJECT {
public:
    C_TW2_LIST() = default;
    // Destroys every object (and with it its window) and frees the table.
    ~C_TW2_LIST();
    C_TW2_LIST(const C_TW2_LIST &) = delete;
    C_TW2_LIST &operator=(const C_TW2_LIST &) = delete;

    // A new text window object (no window yet) in the first free slot; its
    // slot, or -1 when there is no memory (low-memory report).
    int16_t add();
    // The object of the slot, or null.
    TW_text_window *get(int16_t slot);
    // Creates the floating window (kind 5) of the slot for the owner; 1 or 0.
    int16_t create_window(int16_t slot, C_BW *owner);
    // Destroys the object with its window; the later slots move down one.
    int16_t remove(int16_t slot);
    // Sends WM_CLOSE to every existing window and deletes every object. 1.
    int16_t close_all();
    // Draws every window's caption active (1) or inactive (0). 1.
    int16_t draw_captions(int16_t active);

    int16_t slots = 0;                       // the table's size
    TW_text_window **windows = nullptr;      // MM_alloc, owned; null = free slot
};
