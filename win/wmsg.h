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
