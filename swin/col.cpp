#include "swin/col.h"

#include <cstdio>

#include "common/mm.h"
#include "common/st.h"
#include "swin/wco.h"
#include "swin/wgd.h"
#include "win/guard.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\col";

namespace {

struct DEFAULT_COLOUR {
    uint8_t red, green, blue;
    const char *name;
};

// The sixteen-colour set without its white; every later entry is white.
const DEFAULT_COLOUR defaults[15] = {
    {0, 0, 0, "černá"},
    {0, 0, 128, "modrá"},
    {0, 128, 0, "zelená"},
    {0, 128, 128, "modrozelená"},
    {128, 0, 0, "červená"},
    {128, 0, 128, "fialová"},
    {192, 128, 0, "hnědá"},
    {192, 192, 192, "světle šedá"},
    {128, 128, 128, "tmavě šedá"},
    {0, 0, 255, "světle modrá"},
    {0, 255, 0, "světle zelená"},
    {0, 255, 255, "světle modrozelená"},
    {255, 0, 0, "světle červená"},
    {255, 0, 255, "světle fialová"},
    {255, 255, 0, "žlutá"},
};

// Entries 0 .. 63 from the store; a key that is missing or does not read is
// written from the entry as it is.

int16_t make_palette(WGD_DRIVER *driver)
{
    COL_TABLE &table = driver->colours;
    int32_t bytes = static_cast<int32_t>(sizeof(LOGPALETTE) + (COL_STORED - 1) * sizeof(PALETTEENTRY));
    LOGPALETTE *record = static_cast<LOGPALETTE *>(MM_alloc(1, bytes, SRC, __LINE__));
    if (!record) {
        WE_low_memory();
        return 0;
    }
    record->palVersion = COL_PALETTE_VERSION;
    record->palNumEntries = COL_STORED;
    for (int16_t i = 0; i < COL_STORED; i++)
        record->palPalEntry[i] = PALETTEENTRY{table.entries[i].red, table.entries[i].green, table.entries[i].blue, 0};
    driver->palette.reset(CreatePalette(record));
    MM_free(record, SRC, __LINE__);
    if (!driver->palette)
        return 0;
    for (COL_ENTRY &e : table.entries)
        e.value = PALETTERGB(e.red, e.green, e.blue);
    return 1;
}

}  // namespace

int16_t COL_init(COL_TABLE *table)
{
    if (!table) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (int16_t i = 0; i < COL_ENTRIES; i++) {
        COL_ENTRY &e = table->entries[i];
        if (i < 15) {
            e.red = defaults[i].red;
            e.green = defaults[i].green;
            e.blue = defaults[i].blue;
            e.standard = static_cast<uint8_t>(i);
            ST_copy(e.name, defaults[i].name, COL_NAME_MAX);
        } else {
            e.red = e.green = e.blue = 255;
            e.standard = 15;
            ST_copy(e.name, "bílá", COL_NAME_MAX);
        }
        e.value = RGB(e.red, e.green, e.blue);
    }
    return 1;
}

COLORREF COL_value(const COL_TABLE *table, int16_t entry)
{
    if (!table || entry < 0 || entry >= COL_ENTRIES) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return table->entries[entry].value;
}

int16_t COL_read(COL_TABLE *table, WCO_file *store)
{
    if (!table || !store) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (int16_t i = 0; i < COL_STORED; i++) {
        COL_ENTRY &e = table->entries[i];
        char key[32];
        std::snprintf(key, sizeof key, COL_KEY_FORMAT, i);
        WCO_RGB rgb{};
        if (WCO_get_rgb(store, COL_SECTION, key, &rgb)) {
            e.red = rgb.red;
            e.green = rgb.green;
            e.blue = rgb.blue;
            ST_copy(e.name, rgb.name, COL_NAME_MAX);
        } else {
            rgb.red = e.red;
            rgb.green = e.green;
            rgb.blue = e.blue;
            ST_copy(rgb.name, e.name, WCO_RGB_NAME_MAX);
            WCO_set_rgb(store, COL_SECTION, key, &rgb);
        }
    }
    return 1;
}

int16_t COL_load(WGD_DRIVER *driver)
{
    if (!driver) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    COL_TABLE &table = driver->colours;
    if (WCO_file *store = WCO_system_store())
        COL_read(&table, store);
    for (COL_ENTRY &e : table.entries)
        e.value = RGB(e.red, e.green, e.blue);   // what stays when no palette can be made
    driver->palette.reset();
    C_WINDOW_DC dc(nullptr);
    int16_t done = 1;
    if ((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) && GetDeviceCaps(dc, SIZEPALETTE) == 256) {
        done = make_palette(driver);
    } else {
        for (COL_ENTRY &e : table.entries)
            e.value = GetNearestColor(dc, RGB(e.red, e.green, e.blue));
    }
    return done;
}
