// Client window: the view that fills the frame (a child of the frame) or
// stands alone as a popup. It scrolls by moving its child controls: the
// scroll bars cover the union of the visible children and the client area.
#pragma once
#include <cstdint>

#include "swin2/bw.h"

class C_UMAIN;

#define CW_CLASS_NAME "KWS_CLIENT_AREA_WINDOW"
#define CW_CHILD_STYLE 0x56000000u      // visible child, clipping siblings and children
#define CW_POPUP_STYLE 0x12000000u      // visible, clipping children
#define CW_TIMER 100                    // 1000 ms, goes to timer()
#define CW_LINE_STEP 10                 // pixels of a line scroll

class C_CW : public C_BW {
public:
    // A child of the owner's window (owner may be null for a popup).
    explicit C_CW(C_UMAIN *owner);
    ~C_CW() override;   // kills the timer, then the base destroys the window

    // Registers the class once and creates the window (the popup form from
    // the flags below); brings it to the top, gives it the focus, starts the
    // timer. 1 on success.
    int16_t create() override;

    LRESULT size(int32_t width, int32_t height, int32_t kind) override;
    LRESULT scroll(int16_t vertical, int32_t code, int16_t position) override;
    // WM_TIMER, WM_CTLCOLOR..., WM_CW_SCROLL_RANGES; the rest to client_message.
    LRESULT default_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // Shifts every child window by dx, dy pixels.
    virtual void move_contents(int32_t dx, int32_t dy);
    // The union of the window rectangles of the visible children in client
    // coordinates; with none: left and top 32767, right and bottom -32768.
    virtual void contents_bounds(RECT *bounds);
    // Any other message; nonzero = handled (else the default procedure) [0].
    virtual LRESULT client_message(UINT message, WPARAM wparam, LPARAM lparam);
    virtual void timer(UINT_PTR id);                      // [nothing]
    // WM_CTLCOLOR... of a child: the brush, or null for the default handling [null].
    virtual HBRUSH control_colour(HDC dc, HWND control);
    // A message of the main loop before dispatch; nonzero = used up [0].
    virtual int16_t pre_translate(MSG *message);
    // The frame loses the activation: keep which control has the focus [nothing].
    virtual void remember_focus();
    // The frame itself got the focus (activated again, a box closed): give it
    // back to the control kept [nothing].
    virtual void restore_focus();
    // Nonzero = may be closed [1].
    virtual int16_t can_close();

    // Recomputes the scroll ranges and shows or hides the bars (skipped while
    // tracking, while busy and for an empty client area).
    void scroll_ranges();

    // ---- fields ----
    C_UMAIN *owner;
    int16_t client_kind = 0;       // the kind the frame made it as (create_client)
    int16_t popup = 0;             // 1: a popup window instead of a child of the frame
    int16_t child = 1;             // popup form: a child of the owner's window
    int16_t thick_frame = 1;       // popup form: sizing frame
    int16_t caption = 1;           // popup form: caption
    int16_t system_menu = 1;       // popup form: system menu
    // Scroll state.
    int16_t vertical_bar = 0;      // shown
    int16_t horizontal_bar = 0;    // shown
    int16_t tracking = 0;          // the thumb is being dragged
    int16_t busy = 0;              // the ranges are being set
    int32_t last_width = 0;        // client size at the last size change
    int32_t last_height = 0;
};
