// The text listing window and the two selection forms over a text buffer
// (common/txt.h). Each runs modally within the call and only reads the
// buffer; the caller keeps it.
//
// The listing window (template "DW_TXT") shows the lines in slot order, the
// first one selected, with "&Tisk" (a table print window of swin/tp.h
// titled TXT_PRINT_TITLE, one row per line in column 0; it owns its table
// and stays open after the listing), "&Výstup do souboru" (the code page
// dialog "Kódování češtiny", starting at MS WINDOWS each time, then the
// save-file dialog; the lines are written by TXT_save_code_page) and
// "&Zavřít".
//
// The selection forms show the lines with "&O.K." and "&Storno". O.K. (or a
// double click on a line) without a selected line shows TXT_NO_SELECTION and
// the form stays open.
//
// owner: the window that owns the dialog; null: the owner lookup of win/we.h.
// caption: the window title (null: the template's). A null buffer is an
// internal error and 0.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/txt.h"

#define TXT_LISTING_TEMPLATE "DW_TXT"
#define TXT_PRINT_TITLE "TOREVAN - tabulka"
#define TXT_NO_SELECTION "Není vybraný žádný řádek"

// 1 once the window has been shown and closed; 0 when it could not run.
int16_t TXT_show(const TXT_buffer *buffer, const char *caption, HWND owner = nullptr);
// The form with a title: the line in slot *slot starts selected (the first
// line for a slot outside the lines). 1 and the chosen line's slot in *slot
// when the user confirms one; else 0 and *slot unchanged (a null slot is an
// internal error).
int16_t TXT_choose(const TXT_buffer *buffer, const char *caption, int16_t *slot, HWND owner = nullptr);
// The form without a caption bar, its top-left corner at the screen position
// x, y (kept inside the work area); the caption names the window only.
int16_t TXT_choose_at(const TXT_buffer *buffer, const char *caption, int32_t x, int32_t y, int16_t *slot,
                      HWND owner = nullptr);
