// The colour table: 65 named colours the toolkit draws with, configurable in
// section "CO_color_table" of the system configuration, realised through a
// logical palette on 256-colour displays.
#pragma once
#include <windows.h>

#include <cstdint>

struct WGD_DRIVER;
struct WCO_file;

#define COL_ENTRIES 65            // entries 0 .. 64
#define COL_STORED 64             // entries 0 .. 63 are stored; 64 is not
#define COL_NAME_MAX 40
#define COL_SECTION "CO_color_table"
#define COL_KEY_FORMAT "color_table_item_%02d"
#define COL_PALETTE_VERSION 0x300

struct COL_ENTRY {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t standard;              // number in the sixteen-colour set, 15 for the rest
    COLORREF value;                // as drawn: plain, palette-relative or nearest solid
    char name[COL_NAME_MAX + 1];
};

struct COL_TABLE {
    COL_ENTRY entries[COL_ENTRIES];
};

// The built-in colours: the sixteen-colour set in 0 .. 14, white ("bílá")
// in 15 .. 64; every value red | green << 8 | blue << 16. 0 for a null table.
int16_t COL_init(COL_TABLE *table);
// The value of an entry; an entry outside 0 .. 64 (or no table) is an
// internal error and gives 0.
COLORREF COL_value(const COL_TABLE *table, int16_t entry);
// Reads entries 0 .. 63 from the store into the table; a missing or
// unreadable key is written from the entry as it is. 0 for a null argument.
int16_t COL_read(COL_TABLE *table, WCO_file *store);
// Reads entries 0 .. 63 from the system store (COL_read), then rebuilds the driver's palette:
// a 64-entry palette with palette-relative values on a 256-colour palette
// display, else no palette and the nearest solid colours. 0 when the driver
// is missing or the palette record or palette cannot be made (the colours
// stay as read).
int16_t COL_load(WGD_DRIVER *driver);
