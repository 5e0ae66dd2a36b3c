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
#define WM_UCC_BMP_LOAD (WM_UCC_FIRST + 0)           // 0x40A: lparam path; answers 1 when the file shows, 0 when it cannot or the path is over 80 characters (resource 434 shows, "Chybí soubor : %s" for a missing file or a path too long); 0 for a null path (nothing changes)
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

// Table control (swin/tab.h), 1026 .. 1088. An address is a 32-bit wparam:
// high word the row (0xFFFF header, 0xFFFE footer, else a row identifier or,
// for the by-index forms, a row index), low word the column. Set messages
// addressing a missing row identifier append that row; they answer 1, or 0
// (table unchanged) on no memory. Getters of a missing row or cell answer 0,
// the word getters -1. Pointers travel in lparam.
#define TAB_set_text (WM_USER + 2)                 // 0x402: address, lparam text (null: empty)
#define TAB_set_colour (WM_USER + 3)               // 0x403: address, lparam RGB; palette index -1
#define TAB_set_bitmap (WM_USER + 4)               // 0x404: address, lparam bitmap resource id; 0 when it does not load
#define TAB_set_state (WM_USER + 5)                // 0x405: address, lparam state byte
#define TAB_set_kind (WM_USER + 6)                 // 0x406: address, lparam cell kind 1 .. 11
#define TAB_set_active (WM_USER + 7)               // 0x407: address, lparam flag
#define TAB_set_column_format (WM_USER + 9)        // 0x409: wparam column, lparam format word
#define TAB_set_column_width (WM_USER + 10)        // 0x40A: wparam column, lparam pixels (weight too); 0 while the widths are locked
#define TAB_show_header (WM_USER + 11)             // 0x40B: wparam flag
#define TAB_fit_columns_to_contents (WM_USER + 12) // 0x40C: every width becomes its content width
#define TAB_set_auto_fit (WM_USER + 13)            // 0x40D: fit to the window at every layout from now on
#define TAB_set_row_selection (WM_USER + 14)       // 0x40E: wparam flag: selection marks whole rows
#define TAB_get_current_row_id (WM_USER + 15)      // 0x40F: answers the current row's identifier, 0 for none
#define TAB_get_current_column (WM_USER + 16)      // 0x410: answers the current column
#define TAB_select_row_id (WM_USER + 17)           // 0x411: wparam identifier (unknown: row 0); brought into view; answers 1 when found
#define TAB_select_column (WM_USER + 18)           // 0x412: wparam column; beyond the used columns column 0 and answer 0
#define TAB_get_current_cell_rect (WM_USER + 19)   // 0x413: lparam RECT out, parent coordinates; 0 and empty when none
#define TAB_reset_header_footer (WM_USER + 20)     // 0x414: empty header and footer rows
#define TAB_clear (WM_USER + 21)                   // 0x415: no rows, current cell 0, 0, the used columns recounted, redrawn at once
#define TAB_get_text_length (WM_USER + 22)         // 0x416: address; answers the text's length
#define TAB_get_text (WM_USER + 23)                // 0x417: address, lparam buffer (length + 1 bytes); answers 1
#define TAB_get_colour (WM_USER + 24)              // 0x418: address; answers the RGB
#define TAB_get_state (WM_USER + 25)               // 0x419: address; answers the state byte
#define TAB_get_bitmap (WM_USER + 26)              // 0x41A: address; answers the HBITMAP (owned by the cell)
#define TAB_get_column_width (WM_USER + 27)        // 0x41B: wparam column; answers pixels, 5 for a column not in use
#define TAB_set_column_sort_kind (WM_USER + 28)    // 0x41C: wparam column, lparam kind 0 .. 13
#define TAB_set_column_sort_priority (WM_USER + 29) // 0x41D: wparam column, lparam 1 first key, 2 second ..., 0 none
#define TAB_set_multi_selection (WM_USER + 30)     // 0x41E: wparam flag
#define TAB_show_row_id (WM_USER + 31)             // 0x41F: wparam identifier in the high word; scrolled to the middle
#define TAB_count_selected (WM_USER + 32)          // 0x420: answers the selected rows (row selection) or cells
#define TAB_get_selected (WM_USER + 33)            // 0x421: wparam int32_t identifiers out, lparam int32_t columns out (cells; may be null for rows); answers the count
#define TAB_get_first_visible_row_id (WM_USER + 34) // 0x422: answers the identifier, -1 for none
#define TAB_get_text_length_by_index (WM_USER + 35) // 0x423: as TAB_get_text_length, row by index
#define TAB_get_text_by_index (WM_USER + 36)       // 0x424: as TAB_get_text, row by index
#define TAB_get_row_count (WM_USER + 37)           // 0x425
#define TAB_get_column_count (WM_USER + 38)        // 0x426: the used columns
#define TAB_select_row_index (WM_USER + 39)        // 0x427: wparam row index; answers 0 when out of range
#define TAB_get_current_row_index (WM_USER + 40)   // 0x428: answers the current row index
#define TAB_get_header_column (WM_USER + 41)       // 0x429: header column of the last mouse event there
#define TAB_get_header_cell_rect (WM_USER + 42)    // 0x42A: lparam RECT out of that header cell, parent coordinates
#define TAB_get_first_visible_row_index (WM_USER + 43) // 0x42B: answers -1 for none
#define TAB_show_row_index (WM_USER + 44)          // 0x42C: wparam row index in the high word
#define TAB_set_palette_colour (WM_USER + 45)      // 0x42D: address, lparam colour table entry: its colour and name
#define TAB_get_palette_index (WM_USER + 46)       // 0x42E: address; answers the entry, -1 for an RGB colour
#define TAB_set_pattern (WM_USER + 47)             // 0x42F: address, lparam fill pattern 0 .. 12
#define TAB_get_state_by_index (WM_USER + 48)      // 0x430: as TAB_get_state, row by index
#define TAB_set_state_by_index (WM_USER + 49)      // 0x431: as TAB_set_state, row by index (0 when out of range)
#define TAB_show_footer (WM_USER + 50)             // 0x432: wparam flag
#define TAB_get_footer_column (WM_USER + 51)       // 0x433: footer column of the last mouse event there
#define TAB_get_footer_cell_rect (WM_USER + 52)    // 0x434: lparam RECT out of that footer cell, parent coordinates
#define TAB_set_cell_flag (WM_USER + 53)           // 0x435: address, lparam flag byte
#define TAB_set_cell_word (WM_USER + 54)           // 0x436: address, lparam 32-bit user word
#define TAB_set_row_flag (WM_USER + 55)            // 0x437: wparam identifier in the high word, lparam flag: every used column
#define TAB_set_row_word (WM_USER + 56)            // 0x438: wparam identifier in the high word, lparam word: every used column
#define TAB_set_settings_section (WM_USER + 57)    // 0x439: lparam section name (at most 80 characters, else 0)
#define TAB_load_column_widths (WM_USER + 58)      // 0x43A: answers 1 when every used column's key was there
#define TAB_save_column_widths (WM_USER + 59)      // 0x43B: answers 1; 0 without a section name
#define TAB_get_cell_word (WM_USER + 60)           // 0x43C: address; answers the user word, -1 when the cell is missing
#define TAB_get_cell_word_by_index (WM_USER + 61)  // 0x43D: the same, row by index
#define TAB_set_cell_text_colour (WM_USER + 62)    // 0x43E: address, lparam RGB of the cell's text
#define TAB_set_row_text_colour (WM_USER + 63)     // 0x43F: wparam identifier in the high word, lparam RGB: every used column
#define TAB_set_search_strip_ampersand (WM_USER + 64) // 0x440: wparam flag

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
