// The private window messages of the toolkit (WM_USER = 0x400), each with
// what travels in wParam and lParam and what the receiver answers. Every
// WM_USER + n of the toolkit is defined here and nowhere else.
#pragma once
#include <windows.h>

// Key-input control.
#define WM_KEY_SET (WM_USER + 1)              // 0x401: wparam key code; answers 1
#define WM_KEY_GET (WM_USER + 2)              // 0x402: answers the key code

// Custom controls: WM_USER + 10 onward, each control giving them its own meaning.
#define WM_UCC_FIRST (WM_USER + 10)           // 0x40A

// Tracks (swin2/ucc_trk.h). A position change is notified to the parent.
#define WM_UCC_TRACK_BAR_COLOUR (WM_UCC_FIRST + 0)   // 0x40A: wparam COLORREF; answers 1
#define WM_UCC_TRACK_FACE_COLOUR (WM_UCC_FIRST + 1)  // 0x40B: wparam COLORREF; answers 1
#define WM_UCC_TRACK_SET_RANGE (WM_UCC_FIRST + 2)    // 0x40C: wparam minimum, lparam maximum (signed 32 bits); answers 0 unless minimum < maximum
#define WM_UCC_TRACK_SET_POSITION (WM_UCC_FIRST + 3) // 0x40D: wparam position (signed 32 bits), clamped into the range; answers 1
#define WM_UCC_TRACK_POSITION (WM_UCC_FIRST + 4)     // 0x40E: answers the position

// Bitmap view (swin2/ucc_bmp.h).
#define WM_UCC_BMP_LOAD (WM_UCC_FIRST + 0)           // 0x40A: lparam path; answers 1 when the file shows, 0 when it cannot (resource 434 shows); 0 for a null path or one over 80 characters (nothing changes)
#define WM_UCC_BMP_CLEAR (WM_UCC_FIRST + 1)          // 0x40B: no parameters; resource 434 shows; answers 1
#define WM_UCC_BMP_KEEP_ASPECT (WM_UCC_FIRST + 2)    // 0x40C: wparam flag; answers 1

// Title (swin2/ucc_titl.h).
#define WM_UCC_TITLE_SET_TEXT (WM_UCC_FIRST + 0)     // 0x40A: lparam text (cut to 80 characters); answers 1, 0 for null
#define WM_UCC_TITLE_CLEAR (WM_UCC_FIRST + 1)        // 0x40B: no parameters; answers 1
#define WM_UCC_TITLE_TEXT_COLOUR (WM_UCC_FIRST + 2)  // 0x40C: wparam COLORREF; answers 1
#define WM_UCC_TITLE_BACKGROUND (WM_UCC_FIRST + 3)   // 0x40D: wparam COLORREF; answers 1
#define WM_UCC_TITLE_FONT_NAME (WM_UCC_FIRST + 4)    // 0x40E: lparam font name (cut to 80 characters); answers 1, 0 for null

// Scrolling text (swin2/ucc_rot.h).
#define WM_UCC_ROT_SET_TEXT (WM_UCC_FIRST + 0)       // 0x40A: lparam text (copied), from its start, running; answers 1, 0 for null or no memory
#define WM_UCC_ROT_CLEAR (WM_UCC_FIRST + 1)          // 0x40B: no parameters; answers 1
#define WM_UCC_ROT_TEXT_COLOUR (WM_UCC_FIRST + 2)    // 0x40C: wparam COLORREF; answers 1
#define WM_UCC_ROT_SECOND_COLOUR (WM_UCC_FIRST + 3)  // 0x40D: wparam COLORREF of the second copy; answers 1
#define WM_UCC_ROT_BACKGROUND (WM_UCC_FIRST + 4)     // 0x40E: wparam COLORREF; answers 1
#define WM_UCC_ROT_FONT_NAME (WM_UCC_FIRST + 5)      // 0x40F: lparam font name (cut to 80 characters); answers 1, 0 for null
#define WM_UCC_ROT_PIXEL_SHIFT (WM_UCC_FIRST + 6)    // 0x410: wparam pixels per tick (signed 32 bits); answers 0 below 1
#define WM_UCC_ROT_TIMER_PERIOD (WM_UCC_FIRST + 7)   // 0x411: wparam ms, at least 10 (raised); restarts the timer; answers 1

// Table control (the two the table dialog item uses).
#define WM_TAB_SELECT_ROW_INDEX (WM_USER + 39)      // 0x427: wparam row index; answers 0 when out of range
#define WM_TAB_GET_CURRENT_ROW_INDEX (WM_USER + 40) // 0x428: answers the current row index

// Basic window, frame and client.
#define WM_BW_CLOSE_REQUEST (WM_USER + 105)   // 0x469: no parameters; the window's close_request
#define WM_BW_AFTER_CREATE (WM_USER + 150)    // 0x496: wparam, lparam passed on to after_create
#define WM_CW_SCROLL_RANGES (WM_USER + 156)   // 0x49C: no parameters; recompute the client's scroll ranges
#define WM_TW_CLOSED (WM_USER + 157)          // 0x49D: wparam owner notification code; a floating text window closed
#define WM_UMAIN_REPLACE_CLIENT (WM_USER + 200) // 0x4C8: LOWORD(wparam) client kind; replace the top client
#define WM_UMAIN_PUSH_CLIENT (WM_USER + 201)  // 0x4C9: LOWORD(wparam) client kind; push a client
#define WM_UMAIN_POP_CLIENT (WM_USER + 202)   // 0x4CA: no parameters; pop the top client

// Dialogs.
#define WM_DIALOG_INITIALISED (WM_USER + 120) // 0x478: no parameters, posted at WM_INITDIALOG; answers 1
#define WM_DIALOG_BEEP (WM_USER + 204)        // 0x4CC: no parameters; a warning beep
