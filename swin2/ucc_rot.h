// Scrolling text: a ticker that moves its text to the left by a number of
// pixels on every tick of timer 101. A text wider than the control is
// drawn twice in a row (the second copy in the second colour when one is
// set), so that its start follows its end. A double click stops and starts
// it. Settings section "UCC_ROT_robot_text_window": "font_name" ("Arial"),
// "pixel_shift" (1) and "timer_period" (100 ms, at least 10), each written
// back when missing. Messages WM_UCC_ROT_... of win/wmsg.h.
#pragma once
#include "swin2/ucc.h"

#define UCC_ROT_CLASS_NAME "ROT_WINDOW_CLASS_NAME"
#define UCC_ROT_SECTION "UCC_ROT_robot_text_window"
#define UCC_ROT_TIMER 101
#define UCC_ROT_PERIOD_MIN 10        // ms
#define UCC_ROT_GAP 5                // pixels between the end of the text and its next start

class C_UCC_ROT : public C_UCC_TEXT {
public:
    explicit C_UCC_ROT(HWND window);
    ~C_UCC_ROT() override;   // kills the timer, frees the text
    LRESULT create(const CREATESTRUCTA *creation) override;   // the font, the picture, the timer
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;

    char *text = nullptr;            // owned (ST_dup), null for none
    COLORREF second_colour = 0;
    int16_t second_set = 0;
    C_GDI<HBITMAP> picture;          // the off-screen picture of the text
    int32_t picture_width = 0;
    int32_t picture_height = 0;
    int32_t text_width = 0;          // pixels
    int32_t offset = 0;              // of the picture's part shown at the control's left edge
    int16_t running = 1;
    int32_t pixel_shift;             // pixels per tick, at least 1
    uint32_t timer_period;           // ms, at least UCC_ROT_PERIOD_MIN

protected:
    void changed() override;         // the picture made anew and shown

private:
    void show(HDC dc);               // the picture from the offset, the rest in the background colour
    void tick();
};
