// The status bar at the bottom of a frame: a child window of class
// "SBAR_CLASS_NAME" with four text fields (0: messages, help lines and up to
// ten progress bars; 1: information; 2: state; 3: clock), written in the
// system's default GUI font. Field widths come from the settings section
// "SBAR_status_bar_settings" of the system store (defaults written back when
// missing).
//
// Status flags: 1 = success, 0 = failure. A null bar is an internal error.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/config.h"
#include "common/mm.h"
#include "swin/ctl.h"
#include "win/guard.h"

#define SBAR_CLASS_NAME "SBAR_CLASS_NAME"
#define SBAR_SETTINGS "SBAR_status_bar_settings"
#define SBAR_FIELDS 4
#define SBAR_TEXT_MAX 250       // characters of a field's text
#define SBAR_PROGRESS_MAX 10    // progress bars at once
#define SBAR_COORD_DEFAULT 160  // default field sizes in pixels
#define SBAR_STATUS_DEFAULT 100
#define SBAR_INFO_DEFAULT 100

// One progress bar of field 0.
struct SBAR_PROGRESS {
    int16_t active;
    int32_t start;
    int32_t end;
    int32_t value;
    DWORD start_time;     // GetTickCount when started
    DWORD drawn_time;     // when last drawn
    DWORD changed_time;   // when the value last changed
    RECT rect;            // the bar's part of field 0
    int32_t drawn_width;  // inverted pixels now shown
};

// The bar is the object of its window (swin/ctl.h): it is made when the
// window is created and deleted when the window is destroyed.
struct SBAR_status_bar : C_CTL {
    explicit SBAR_status_bar(HWND window);
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;

    char text[SBAR_FIELDS][SBAR_TEXT_MAX + 1] = {};
    RECT field[SBAR_FIELDS] = {};
    int32_t height = 0;
    HFONT font;           // the system's default GUI font (not owned)
    C_GDI<HPEN> pen;      // the frame line
    SBAR_PROGRESS progress[SBAR_PROGRESS_MAX] = {};
    int16_t waiting = 0;  // bit f: field f is invalidated for a new text, not yet painted
    int32_t coord_size;   // the settings, in pixels
    int32_t status_size;
    int32_t info_size;
};

// The field widths of the settings (coordinates, status, information), each
// missing or unreadable one taken from its default and written back.
void SBAR_field_sizes(int32_t *coord, int32_t *status, int32_t *info);
// Registers the class once, reads the settings, creates the bar as a child
// of parent (at its bottom, full width). Null on failure (no memory: the
// low-memory report; a null parent or a failed registration: internal error).
SBAR_status_bar *SBAR_create(HWND parent);
// Destroys the window, and with it the bar; null is accepted.
void SBAR_destroy(SBAR_status_bar *bar);
// The bar's height in pixels (0 for a null bar).
int32_t SBAR_height(const SBAR_status_bar *bar);
// Computes the field rectangles for the bar width (the sizing grip takes the
// width of a vertical scroll bar unless the parent is maximised); redraws.
void SBAR_layout(SBAR_status_bar *bar, int32_t width);
// Sets a field's text (cut to SBAR_TEXT_MAX); the field is drawn when the bar
// next paints (a caller that runs long shows it by working off its messages
// or by UpdateWindow). A field outside 0 to 3 or a null text is ignored.
void SBAR_set_text(SBAR_status_bar *bar, int16_t field, const char *text);
void SBAR_set_text_format(SBAR_status_bar *bar, int16_t field, const char *format, ...) TRK_PRINTF(3, 4);
// A field's text; "" for a null bar or a field outside 0 to 3.
const char *SBAR_text(const SBAR_status_bar *bar, int16_t field);

// Starts a progress bar from start to end (equal: no known length, the
// elapsed time is shown); the slot 0 to 9, or -1 when all ten are busy.
int16_t SBAR_progress_start(SBAR_status_bar *bar, int32_t start, int32_t end);
// Records the value; draws when 10 ms passed since the last drawing.
void SBAR_progress_step(SBAR_status_bar *bar, int16_t slot, int32_t value);
// Draws the last value, waits 100 ms, frees the slot and redraws.
void SBAR_progress_end(SBAR_status_bar *bar, int16_t slot);
// The inverted width of a bar for a value in a field width w: (value - start)
// x w / (end - start), 0 before the start and w at or after the end.
int32_t SBAR_progress_width(int32_t start, int32_t end, int32_t value, int32_t w);
// The elapsed-time text "%02d:%02d:%02d" (minutes, seconds, hundredths) of
// milliseconds, into a static buffer.
const char *SBAR_elapsed_text(DWORD milliseconds);
