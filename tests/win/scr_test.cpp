// Screen settings: the screen font and its keys in SCR_screen_settings, the
// background colour and the colours a screen gives its controls.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "swin/wco.h"
#include "swin2/scr.h"
#include "tests/testutil.h"

namespace {

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

TEST(ScrFont, Defaults)
{
    LOGFONTA f;
    std::memset(&f, 0x55, sizeof f);
    SCR_font_defaults(&f);
    EXPECT_EQ(f.lfHeight, -8);
    EXPECT_EQ(f.lfWidth, 0);
    EXPECT_EQ(f.lfWeight, 0);
    EXPECT_EQ(f.lfItalic, 0);
    EXPECT_EQ(f.lfUnderline, 0);
    EXPECT_EQ(f.lfStrikeOut, 0);
    EXPECT_EQ(f.lfCharSet, 238);
    EXPECT_STREQ(f.lfFaceName, "MS Sans Serif");
    SCR_SCREEN s;
    SCR_init(&s);
    EXPECT_EQ(s.font, nullptr);
    EXPECT_EQ(s.brush, nullptr);
    EXPECT_EQ(s.background, 7);
    EXPECT_EQ(s.char_width, 0);
}

TEST_F(SCREEN_STORE, MissingKeysAreWrittenWithTheDefaults)
{
    LOGFONTA f;
    SCR_font_defaults(&f);
    ASSERT_EQ(SCR_read_font_settings(store, "normal", &f), 1);
    EXPECT_EQ(stored("normal_font_height"), "8");
    EXPECT_EQ(stored("normal_font_weight"), "0");
    EXPECT_EQ(stored("normal_font_italic"), "Ne");
    EXPECT_EQ(stored("normal_font_underline"), "Ne");
    EXPECT_EQ(stored("normal_font_strikeout"), "Ne");
    EXPECT_EQ(stored("normal_font_charset"), "238");
    EXPECT_EQ(stored("normal_font_name"), "MS Sans Serif");
    EXPECT_EQ(WCO_find_section(store, SCR_SECTION)->count, 7);
    EXPECT_EQ(f.lfHeight, -8);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(SCREEN_STORE, StoredSettingsAreTaken)
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
    EXPECT_EQ(f.lfHeight, -10);
    EXPECT_EQ(f.lfWeight, 700);
    EXPECT_EQ(f.lfItalic, 1);
    EXPECT_EQ(f.lfUnderline, 0);
    EXPECT_EQ(f.lfStrikeOut, 1);
    EXPECT_EQ(f.lfCharSet, 0);
    EXPECT_STREQ(f.lfFaceName, "Courier New");
    for (const auto &g : given)
        EXPECT_EQ(stored(g.key), g.value);   // nothing rewritten
}

TEST_F(SCREEN_STORE, UnusableValuesAreReplacedByTheDefaults)
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
}

TEST_F(SCREEN_STORE, AFaceNameIsCutToWhatTheSystemHolds)
{
    WCO_set_text(store, SCR_SECTION, "big_font_name", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    LOGFONTA f;
    SCR_font_defaults(&f);
    SCR_read_font_settings(store, "big", &f);
    EXPECT_STREQ(f.lfFaceName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(stored("big_font_height"), "8");   // the kind names the keys
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

    TU_clear_reports();
    EXPECT_EQ(SCR_set_background(&screen, 65), 0);
    EXPECT_EQ(screen.background, 6);
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 1);
    EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\swin2\\scr řádek ", 0), 0u);

    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    auto make = [&](const char *cls, DWORD style) {
        return CreateWindowExA(0, cls, "x", WS_CHILD | style, 0, 0, 50, 20, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    struct {
        HWND control;
        bool background;   // else the system window colour, or default (null)
        bool window_colour;
    } cases[] = {
        {make("STATIC", 0), true, false},
        {make("BUTTON", BS_AUTOCHECKBOX), true, false},
        {make("BUTTON", BS_RADIOBUTTON), true, false},
        {make("BUTTON", BS_PUSHBUTTON), false, false},
        {make("EDIT", 0), false, true},
        {make("LISTBOX", 0), false, false},
    };
    for (const auto &c : cases) {
        HDC dc = GetDC(c.control);
        SetBkColor(dc, RGB(1, 1, 1));
        HBRUSH brush = SCR_control_colour(&screen, dc, c.control);
        if (c.background) {
            EXPECT_EQ(brush, screen.brush);
            EXPECT_EQ(GetBkColor(dc), RGB(192, 128, 0));
        } else if (c.window_colour) {
            EXPECT_EQ(brush, GetSysColorBrush(COLOR_WINDOW));
            EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
        } else {
            EXPECT_EQ(brush, nullptr);
            EXPECT_EQ(GetBkColor(dc), RGB(1, 1, 1));
        }
        ReleaseDC(c.control, dc);
    }
    // Erasing fills the client area with the background.
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
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 7);
    for (const TU_REPORT &r : TU_reports())
        EXPECT_EQ(r.text.rfind("Chyba v souboru ..\\swin2\\scr řádek ", 0), 0u) << r.text;
    EXPECT_EQ(SCR_font(nullptr), nullptr);   // the queries answer quietly
    EXPECT_EQ(SCR_erase_background(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(SCR_control_colour(nullptr, nullptr, nullptr), nullptr);
    SCR_release(nullptr);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 7);
}
