// The colour table: its defaults, the CO_color_table keys, the values on a
// true-colour screen and on a 256-colour palette screen.
#include <cstdio>

#include <gtest/gtest.h>

#include "swin/col.h"
#include "swin/wco.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

// A zeroed driver of the test's own, and the colour section removed before and after.
class COLOUR_STORE : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(store, nullptr);
        WCO_remove_section(store, COL_SECTION);
        COL_init(&driver.colours);
    }
    void TearDown() override { WCO_remove_section(store, COL_SECTION); }
    std::string stored(int entry)
    {
        char key[32];
        std::snprintf(key, sizeof key, "color_table_item_%02d", entry);
        const char *v = WCO_get_text_ref(store, COL_SECTION, key);
        return v ? v : "<missing>";
    }
    WCO_file *store = WCO_system_store();
    WGD_DRIVER driver{};
};

int(WINAPI *real_caps)(HDC, int) = nullptr;

// A 256-colour palette screen.
int WINAPI palette_caps(HDC dc, int index)
{
    return index == RASTERCAPS ? RC_PALETTE : index == SIZEPALETTE ? 256 : real_caps(dc, index);
}

}  // namespace

TEST(ColDefaults, TheSixteenColourSetAndWhiteAfterIt)
{
    COL_TABLE t;
    ASSERT_EQ(COL_init(&t), 1);
    const struct { int entry, r, g, b; const char *name; } rows[] = {
        {0, 0, 0, 0, "černá"},              {1, 0, 0, 128, "modrá"},
        {2, 0, 128, 0, "zelená"},           {3, 0, 128, 128, "modrozelená"},
        {4, 128, 0, 0, "červená"},          {5, 128, 0, 128, "fialová"},
        {6, 192, 128, 0, "hnědá"},          {7, 192, 192, 192, "světle šedá"},
        {8, 128, 128, 128, "tmavě šedá"},   {9, 0, 0, 255, "světle modrá"},
        {10, 0, 255, 0, "světle zelená"},   {11, 0, 255, 255, "světle modrozelená"},
        {12, 255, 0, 0, "světle červená"},  {13, 255, 0, 255, "světle fialová"},
        {14, 255, 255, 0, "žlutá"},         {15, 255, 255, 255, "bílá"},
        {40, 255, 255, 255, "bílá"},        {64, 255, 255, 255, "bílá"},
    };
    for (const auto &row : rows) {
        const COL_ENTRY &e = t.entries[row.entry];
        EXPECT_EQ(RGB(e.red, e.green, e.blue), RGB(row.r, row.g, row.b)) << row.entry;
        EXPECT_STREQ(e.name, row.name) << row.entry;
        EXPECT_EQ(e.standard, row.entry < 15 ? row.entry : 15);
        EXPECT_EQ(COL_value(&t, static_cast<int16_t>(row.entry)), RGB(row.r, row.g, row.b));
    }
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures("..\\swin\\col", {TU_FAILS(COL_value(&t, -1)), TU_FAILS(COL_value(&t, 65)),
                                         TU_FAILS(COL_value(&t, 1000)), TU_FAILS(COL_value(nullptr, 1)),
                                         TU_FAILS(COL_init(nullptr)), TU_FAILS(COL_load(nullptr))});
}

TEST_F(COLOUR_STORE, AMissingSectionGetsAllSixtyFourKeys)
{
    ASSERT_EQ(COL_load(&driver), 1);
    const std::pair<int, const char *> keys[] = {{0, "0, 0, 0, černá"},         {6, "192, 128, 0, hnědá"},
                                                 {14, "255, 255, 0, žlutá"},    {15, "255, 255, 255, bílá"},
                                                 {63, "255, 255, 255, bílá"},   {64, "<missing>"}};   // not stored
    for (const auto &k : keys)
        EXPECT_EQ(stored(k.first), k.second);
    ASSERT_NE(WCO_find_section(store, COL_SECTION), nullptr);
    EXPECT_EQ(WCO_find_section(store, COL_SECTION)->count, 64);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(COLOUR_STORE, StoredColoursAreReadAndBadOnesRewritten)
{
    WCO_RGB own{1, 2, 3, "Moje barva"};
    WCO_set_rgb(store, COL_SECTION, "color_table_item_03", &own);
    WCO_set_text(store, COL_SECTION, "color_table_item_04", "nesmysl");
    WCO_set_text(store, COL_SECTION, "color_table_item_64", "9, 9, 9, nikdy");
    ASSERT_EQ(COL_load(&driver), 1);
    const COL_ENTRY &e = driver.colours.entries[3];
    EXPECT_EQ(std::vector<int>({e.red, e.green, e.blue, e.standard}), std::vector<int>({1, 2, 3, 3}));
    EXPECT_STREQ(e.name, "Moje barva");
    EXPECT_EQ(stored(4), "128, 0, 0, červená");   // unreadable: the default written back
    EXPECT_EQ(driver.colours.entries[64].red, 255);   // 64 is never read
    EXPECT_EQ(driver.palette, nullptr);   // a true-colour screen
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(COL_value(&driver.colours, 3), GetNearestColor(dc, RGB(1, 2, 3)));
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(COL_value(&driver.colours, 3) & 0xFF000000u, 0u);
}

TEST_F(COLOUR_STORE, APaletteScreenGetsSixtyFourPaletteEntries)
{
    IAT_PATCH caps("GDI32.dll", "GetDeviceCaps", reinterpret_cast<void *>(palette_caps));
    ASSERT_TRUE(caps.active());
    real_caps = reinterpret_cast<int(WINAPI *)(HDC, int)>(caps.original());
    WCO_RGB own{10, 20, 30, "vlastní"};
    WCO_set_rgb(store, COL_SECTION, "color_table_item_63", &own);
    ASSERT_EQ(COL_load(&driver), 1);
    ASSERT_NE(driver.palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(driver.palette, 0, 0, nullptr), 64u);
    PALETTEENTRY entries[64];
    ASSERT_EQ(GetPaletteEntries(driver.palette, 0, 64, entries), 64u);
    EXPECT_EQ(RGB(entries[6].peRed, entries[6].peGreen, entries[6].peBlue), RGB(192, 128, 0));
    EXPECT_EQ(RGB(entries[63].peRed, entries[63].peGreen, entries[63].peBlue), RGB(10, 20, 30));
    EXPECT_EQ(COL_value(&driver.colours, 6), 0x02000000u | RGB(192, 128, 0));
    EXPECT_EQ(COL_value(&driver.colours, 63), 0x02000000u | RGB(10, 20, 30));
    HPALETTE first = driver.palette;   // a second load replaces the palette
    ASSERT_EQ(COL_load(&driver), 1);
    EXPECT_NE(driver.palette, nullptr);
    EXPECT_EQ(GetObjectType(first), 0u);   // deleted
    EXPECT_TRUE(TU_reports().empty());

    // No memory for the palette record (the keys exist now, so it is the only allocation).
    driver.palette.reset();
    WT_fail_allocation(sizeof(LOGPALETTE) + 63 * sizeof(PALETTEENTRY));
    EXPECT_EQ(COL_load(&driver), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_EQ(driver.palette, nullptr);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(COL_value(&driver.colours, 6), RGB(192, 128, 0));
    EXPECT_EQ(stored(6), "192, 128, 0, hnědá");
}
