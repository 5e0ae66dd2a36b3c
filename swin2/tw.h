// Message text window: a read-only, scrollable log of text lines in one
// font. Lines are only appended (or all cleared); the view follows the end of
// the log while the user has not scrolled away from it.
//
// Two forms: kind TW_KIND_FLOATING is a floating child of its owner with a
// caption and, in its system menu, the commands save, print and clear (save
// and clear grey without lines, print also without a printer: looked at
// again when the menu opens and when the system's settings change); any
// other kind is an embedded child window without caption (the message text
// widget of a screen moves it to the widget's rectangle).
//
// The object outlives its window: closing the window clears the handle, the
// lines stay, and TW_create_window may give the object a new window. The
// window holds the object pointer in its extra word while it exists.
//
// Status flags: 1 = success, 0 = failure. A null object is an internal
// error and 0.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/config.h"
#include "common/mm.h"
#include "win/guard.h"
#include "win/wmsg.h"

class C_BW;
struct TXT_buffer;

#define TW_CLASS_NAME "MESSAGE_TEXT_WINDOW_CLASS_NAME"
#define TW_SECTION "TW_info_window"   // font settings of the system store ("font_height", ...)
#define TW_SMALL_ICON 38
#define TW_KIND_EMBEDDED 2            // the default kind
#define TW_KIND_FLOATING 5
#define TW_FIRST_SLOTS 400            // line table slots at creation
#define TW_GROWTH 200                 // slots a full table grows by
#define TW_LINE_MAX 200               // characters of a formatted line and of a line read
#define TW_STYLE 0x54300000u          // visible child, clipping siblings, both scroll bars
#define TW_FLOATING_STYLE 0x00CF0000u // caption, system menu, sizing frame, min/max boxes
#define TW_FLOATING_EX_STYLE 0x8u     // topmost
#define TW_EMBEDDED_EX_STYLE 0x208u   // topmost, sunken edge

// System-menu commands of a floating window.
#define TW_SAVE 100      // "&Uložení": the save-file dialog, then TW_save
#define TW_PRINT 101     // "&Tisk": TW_print
#define TW_CLEAR 102     // "&Vymazání": TW_clear
#define TW_SAVE_FILTER "Textové soubory *.TXT\0*.TXT\0Všechny soubory *.*\0*.*\0"
#define TW_SAVE_NAME "TEXT.TXT"
#define TW_SAVE_EXTENSION "TXT"
#define TW_DOCUMENT "TOREVAN - Informace"   // the print job's name
#define TW_PAGE_FORMAT "Strana %d z %d"

struct TW_text_window : MM_OBJECT {
    HWND window;            // null until created and again once closed
    HWND owner_window;      // the owner object's window
    int16_t kind;           // TW_KIND_FLOATING or embedded
    // A floating window closed by its close command posts WM_TW_CLOSED with
    // the code to the owner window when closable is 1 and the code is
    // neither 0 nor 5.
    int16_t owner_code;
    int16_t closable;
    C_BW *owner;            // not owned
    HMENU system_menu;      // a floating window's, else null
    uint8_t colour[3];      // text colour: red, green, blue
    char *title;            // owned copy, or null
    int32_t client_width;
    int32_t client_height;
    C_GDI<HFONT> font;
    LOGFONTA font_description;
    int32_t char_width;     // average character width
    int32_t line_height;    // character height + external leading
    char **lines;           // MM_alloc table of ST_dup texts
    int32_t capacity;
    int32_t count;
    int32_t longest;        // characters of the longest line (at least 1)
    int32_t widest;         // pixels of the widest line
    int16_t external;       // 1: the window shows list instead of lines
    const TXT_buffer *list; // not owned
};

// A cleared object with black text, kind TW_KIND_EMBEDDED and a table of
// TW_FIRST_SLOTS lines; null when there is no memory (low-memory report).
TW_text_window *TW_create();
// Closes the window, frees every line, the table, the title and the
// object. Null is accepted.
void TW_destroy(TW_text_window *text);

// Registers the class once, creates the window of the kind as a child of
// the owner's window, adds a floating window's commands, reads the font
// settings and makes the font, sizes the window to its contents (within the
// owner's client area, the position kept) and shows it. 0 when the window
// already exists (internal error), when the owner has no window (internal
// error), or when the registration or the creation failed (no message).
int16_t TW_create_window(TW_text_window *text, C_BW *owner, int16_t kind);

// Keeps a copy of the title (null: none) and shows it as the window text
// when the window exists. No memory: the low-memory report and 0, the old
// title kept.
int16_t TW_set_title(TW_text_window *text, const char *title);

// Appends a copy of the line (null: an empty line). 0 when there is no
// memory for the copy (low-memory report; nothing added) or for a larger
// table (low-memory report; the line is dropped again).
int16_t TW_add_line(TW_text_window *text, const char *line);
// Formats at most TW_LINE_MAX characters and appends them.
int16_t TW_add_line_format(TW_text_window *text, const char *format, ...) TRK_PRINTF(2, 3);
// Drops every line; redraws, resets the ranges, greys save, print and clear.
int16_t TW_clear(TW_text_window *text);

// Writes every line, in order, as one text line (CP1250 as held, CR LF,
// cut to the file layer's 160 characters) into a new file. A failure to
// open or write (shown by the file layer) gives 0; the file stays as far
// as it was written.
int16_t TW_save(TW_text_window *text, const char *name);
// Prints every line on the printer chosen in the print dialog (one copy
// proposed, no page ranges): the window's font scaled to the printer's
// resolution (a font that is not TrueType leaves the face to the printer),
// as many lines a page as fit, copies times the pages, each page announced
// as "Strana %d z %d" in the print-cancel dialog. 0 when the dialog was
// cancelled, when the job could not be printed (internal error) or when the
// user cancelled it (the job is thrown away, no report).
int16_t TW_print(TW_text_window *text);
// Appends every line of a text file (lines of up to TW_LINE_MAX characters;
// a longer one continues in the next line). 0 when the file cannot be opened
// (the file layer's message) or a line cannot be added; the lines read
// before stay.
int16_t TW_load(TW_text_window *text, const char *name);

// Shows the text buffer (not owned, must outlive the window or be replaced)
// instead of the own lines; null goes back to the own lines. The commands
// still act on the own lines.
int16_t TW_show_list(TW_text_window *text, const TXT_buffer *list);

// The object bound to a text window, or null.
TW_text_window *TW_from_window(HWND window);
