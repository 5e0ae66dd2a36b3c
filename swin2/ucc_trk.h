// Tracks: splitter bars that the user drags with the mouse. The horizontal
// track is dragged up and down, the vertical one left and right; the
// position follows the cursor pixel by pixel within the range. Every change
// of the position is told to the parent with notification UCC_TRACK_MOVED.
// Messages WM_UCC_TRACK_... of win/wmsg.h.
#pragma once
#include "swin2/ucc.h"

#define UCC_HTRACK_CLASS_NAME "HTRACK_WINDOW_CLASS_NAME"
#define UCC_VTRACK_CLASS_NAME "VTRACK_WINDOW_CLASS_NAME"
#define UCC_TRACK_MOVED 1          // notification code: the position changed

class C_UCC_TRACK : public C_CTL {
public:
    // vertical 1: the vertical track, dragged along the horizontal coordinate.
    C_UCC_TRACK(HWND window, int16_t vertical);
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;

    const int16_t vertical;
    COLORREF bar_colour = 0;
    COLORREF face_colour;          // the menu colour
    HCURSOR normal_cursor;         // the standard arrow (shared, not owned)
    HCURSOR drag_cursor;           // north-south or west-east sizing cursor (shared)
    int32_t position = 300;
    int32_t minimum = 0;
    int32_t maximum = 600;
    int64_t lowest = 0;            // drag limits: cursor coordinates (screen), wide
    int64_t highest = 0;           // enough for any range
    int16_t dragging = 0;
    int64_t last = 0;              // the cursor coordinate at the last step

private:
    // The position clamped into the range; notifies when it changed.
    void move_to(int64_t wanted);
    void mouse(UINT message, LPARAM lparam);
};

struct C_UCC_HTRACK : C_UCC_TRACK {
    explicit C_UCC_HTRACK(HWND window) : C_UCC_TRACK(window, 0) {}
};
struct C_UCC_VTRACK : C_UCC_TRACK {
    explicit C_UCC_VTRACK(HWND window) : C_UCC_TRACK(window, 1) {}
};
