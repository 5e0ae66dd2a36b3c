// Screen settings: the font and its keys, the background and the colours of the controls.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "swin/wco.h"
#include "swin2/scr.h"
#include "tests/testutil.h"
#include "tests/win/frameutil.h"

namespace {

const char SCR[] = "..\\swin2\\scr";

class SCREEN_STORE : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = WCO_system_store();
        ASSERT_NE(store, nullptr);
        WCO_remove_section(store, SCR_SECTION);
        SCR_init(&screen);
    }
    void TearDown() override
    {
        SCR_release(&screen);
        WCO_remove_section(store, SCR_SECTION);
    }
    std::string stored(const char *key)
    {
        const char *v = WCO_get_text_ref(store, SCR_SECTION, key);
        return v ? v : "<missing>";
    }
    WCO_file *store = nullptr;
    SCR_SCREEN screen{};
};

}  // namespace

TEST_F(SCREEN_STORE, DefaultsAndMissingKeysWrittenWithThem)
{
    LOGFONTA f;
    std::memset(&f, 0x55, sizeof f);
    SCR_font_defaults(&f);
    EXPECT_EQ(std::vector<long>({f.lfHeight, f.lfWidth, f.lfWeight, f.lfItalic, f.lfUnderline, f.lfStrikeOut,
                                 f.lfCharSet}),
              std::vector<long>({-8, 0, 0, 0, 0, 0, 238}));
    EXPECT_STREQ(f.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(screen.font, nullptr);
    EXPECT_EQ(screen.brush, nullptr);
    EXPECT_EQ(screen.background, 7);
    EXPECT_EQ(screen.char_width, 0);

    ASSERT_EQ(SCR_read_font_settings(store, "normal", &f), 1);
    const char *keys[] = {"height", "weight", "italic", "underline", "strikeout", "charset", "name"};
    const char *values[] = {"8", "0", "Ne", "Ne", "Ne", "238", "MS Sans Serif"};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(stored((std::string("normal_font_") + keys[i]).c_str()), values[i]);
    EXPECT_EQ(WCO_find_section(store, SCR_SECTION)->count, 7);
    EXPECT_EQ(f.lfHeight, -8);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(SCREEN_STORE, StoredSettingsAreTakenUnusableOnesReplaced)
{
    struct {
        const char *key, *value;
    } given[] = {
        {"normal_font_height", "10"},      {"normal_font_weight", "700"},
        {"normal_font_italic", "Ano"},     {"normal_font_underline", "Ne"},
        {"normal_font_strikeout", "Ano"},  {"normal_font_charset", "0"},
        {"normal_font_name", "Courier New"},
    };
    for (const auto &g : given)
        WCO_set_text(store, SCR_SECTION, g.key, g.value);
    LOGFONTA f;
    SCR_font_defaults(&f);
    ASSERT_EQ(SCR_read_font_settings(store, "normal", &f), 1);
    EXPECT_EQ(std::vector<long>({f.lfHeight, f.lfWeight, f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet}),
              std::vector<long>({-10, 700, 1, 0, 1, 0}));
    EXPECT_STREQ(f.lfFaceName, "Courier New");
    for (const auto &g : given)
        EXPECT_EQ(stored(g.key), g.value);   // nothing rewritten
}

TEST_F(SCREEN_STORE, UnusableValuesAreReplacedAndAFaceNameIsCut)
{
    WCO_set_text(store, SCR_SECTION, "normal_font_height", "0");
    WCO_set_text(store, SCR_SECTION, "normal_font_charset", "300");
    WCO_set_text(store, SCR_SECTION, "normal_font_weight", "tučně");
    WCO_set_text(store, SCR_SECTION, "normal_font_name", "");
    LOGFONTA f;
    SCR_font_defaults(&f);
    SCR_read_font_settings(store, "normal", &f);
    EXPECT_EQ(f.lfHeight, -8);
    EXPECT_EQ(f.lfCharSet, 238);
    EXPECT_STREQ(f.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(stored("normal_font_height"), "8");
    EXPECT_EQ(stored("normal_font_charset"), "238");
    EXPECT_EQ(stored("normal_font_weight"), "0");
    EXPECT_EQ(stored("normal_font_name"), "MS Sans Serif");

    // A face name is cut to what the system holds; the kind names the keys.
    WCO_set_text(store, SCR_SECTION, "big_font_name", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    SCR_read_font_settings(store, "big", &f);
    EXPECT_STREQ(f.lfFaceName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(stored("big_font_height"), "8");
}

TEST_F(SCREEN_STORE, TheScreenFontIsMadeAndMeasured)
{
    WCO_set_text(store, SCR_SECTION, "normal_font_height", "16");
    HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
    ASSERT_EQ(SCR_create_font(&screen, w), 1);
    ASSERT_NE(SCR_font(&screen), nullptr);
    EXPECT_EQ(screen.font_description.lfHeight, -16);
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, SCR_font(&screen));
    TEXTMETRICA m;
    GetTextMetricsA(dc, &m);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    EXPECT_EQ(screen.char_width, m.tmAveCharWidth + 1);
    EXPECT_EQ(screen.char_height, m.tmHeight + m.tmExternalLeading);
    EXPECT_GE(screen.char_height, 16);
    DestroyWindow(w);
}

TEST_F(SCREEN_STORE, BackgroundAndControlColours)
{
    EXPECT_EQ(SCR_set_background(&screen, 6), 1);
    EXPECT_EQ(screen.background, 6);
    EXPECT_EQ(screen.background_colour, RGB(192, 128, 0));
    ASSERT_NE(screen.brush, nullptr);
    LOGBRUSH lb;
    GetObjectA(screen.brush, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(192, 128, 0));

    EXPECT_EQ(SCR_set_background(&screen, 65), 0);
    EXPECT_EQ(screen.background, 6);
    EXPECT_EQ(FRAME_internal_errors(SCR), 1);

    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    auto make = [&](const char *cls, DWORD style) {
        return CreateWindowExA(0, cls, "x", WS_CHILD | style, 0, 0, 50, 20, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    const COLORREF background = RGB(192, 128, 0), window = GetSysColor(COLOR_WINDOW), kept = RGB(1, 1, 1);
    struct {
        HWND control;
        HBRUSH brush;   // with the background colour it sets, or none (the colour kept)
        COLORREF colour;
    } cases[] = {
        {make("STATIC", 0), screen.brush, background},
        {make("BUTTON", BS_AUTOCHECKBOX), screen.brush, background},
        {make("BUTTON", BS_RADIOBUTTON), screen.brush, background},
        {make("BUTTON", BS_PUSHBUTTON), nullptr, kept},
        {make("EDIT", 0), GetSysColorBrush(COLOR_WINDOW), window},
        {make("LISTBOX", 0), nullptr, kept},
    };
    for (const auto &c : cases) {
        HDC dc = GetDC(c.control);
        SetBkColor(dc, kept);
        EXPECT_EQ(SCR_control_colour(&screen, dc, c.control), c.brush);
        EXPECT_EQ(GetBkColor(dc), c.colour);
        ReleaseDC(c.control, dc);
    }
    HDC dc = GetDC(parent);
    EXPECT_EQ(SCR_erase_background(&screen, parent, dc), 1);
    EXPECT_EQ(GetPixel(dc, 150, 150), RGB(192, 128, 0));
    ReleaseDC(parent, dc);
    DestroyWindow(parent);
}

TEST(ScrArguments, MissingArgumentsAreInternalErrors)
{
    LOGFONTA f;
    SCR_font_defaults(&f);
    SCR_init(nullptr);
    SCR_font_defaults(nullptr);
    EXPECT_EQ(SCR_read_font_settings(nullptr, "normal", &f), 0);
    EXPECT_EQ(SCR_read_font_settings(WCO_system_store(), nullptr, &f), 0);
    EXPECT_EQ(SCR_read_font_settings(WCO_system_store(), "normal", nullptr), 0);
    EXPECT_EQ(SCR_create_font(nullptr, nullptr), 0);
    EXPECT_EQ(SCR_set_background(nullptr, 1), 0);
    EXPECT_EQ(FRAME_internal_errors(SCR), 7);
    EXPECT_EQ(SCR_font(nullptr), nullptr);   // the queries answer quietly
    EXPECT_EQ(SCR_erase_background(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(SCR_control_colour(nullptr, nullptr, nullptr), nullptr);
    SCR_release(nullptr);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 7);
}
