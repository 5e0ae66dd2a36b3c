// Menus built from function tables: the frame's menu bar, submenus filled
// when they open, and context menus. Every item is owner-drawn (the menu
// text of its function, the bitmap resource numbered by the function id when
// there is one); its item data is its table entry. A window that shows such
// menus passes WM_INITMENUPOPUP, WM_MENUSELECT, WM_MEASUREITEM and
// WM_DRAWITEM to the functions below.
//
// Status flags: 1 = success, 0 = failure.
#pragma once
#include <windows.h>

#include <cstdint>

#include "win/pfu.h"

struct SBAR_status_bar;

#define MENU_LEVELS_MAX 10       // nesting of submenus; the tenth level is refused
#define MENU_ITEM_MIN_HEIGHT 20  // pixels
#define MENU_TEXT_LEFT 25        // pixels from the item's left edge to its text

// Fills a menu from a table up to its end entry: hidden entries are left
// out; a separator entry becomes a separator only after an item and never
// twice in a row, and a trailing one is removed; any other entry becomes an
// owner-drawn item (grey and checked by its state), a submenu (an empty popup
// filled when it opens) when it has a sub-table, else a command item whose
// id is the function id. level counts the submenus above (0 for a bar or a
// context menu); MENU_LEVELS_MAX - 1 or more is an internal error and 0, as
// are a null menu or table. The number of items added is given in *added
// when added is not null.
int16_t MENUBAR_fill(HMENU menu, const PFU_ENTRY *table, int16_t level, int16_t *added = nullptr);

// Builds the menu bar of a table and attaches it to the frame (a null frame:
// the bar is only built, for a window still to be created); the menu, or
// null on failure (the system's menu calls failing: internal error).
HMENU MENU_build_bar(HWND frame, const PFU_ENTRY *table);

// WM_INITMENUPOPUP: a submenu made by MENUBAR_fill is emptied and filled again
// from its table (so it shows the current states); other menus are left
// alone. 1 when the popup was one of ours.
int16_t MENU_init_popup(HMENU popup);

// WM_MENUSELECT: the help line of the selected function into field 0 of the
// bar; the field is cleared when the menu closes (and for separators).
void MENU_select(SBAR_status_bar *bar, WPARAM wparam, LPARAM lparam);

// WM_MEASUREITEM and WM_DRAWITEM for the owner-drawn items; 1 when the item
// was one of ours (the message result is then 1), else 0.
int16_t MENU_measure_item(HWND window, MEASUREITEMSTRUCT *item);
int16_t MENU_draw_item(const DRAWITEMSTRUCT *item);

// The function entry of an owner-drawn item of ours, or null.
const PFU_ENTRY *MENU_item_entry(HMENU menu, UINT item, BOOL by_position);

// Updates the grey and checked marks of the items of function id in a menu
// and its submenus from their entries; redraws the frame's bar when it is
// the frame's menu.
void MENU_refresh(HWND frame, HMENU menu, int32_t id);

// Shows a context menu of the table at the screen point for the owner window
// (null: the owner of message boxes); the chosen function id, or 0 when none
// was chosen or the menu could not be shown.
int32_t MENU_popup(HWND owner, const PFU_ENTRY *table, int32_t x, int32_t y);
