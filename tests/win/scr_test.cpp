// Screen settings: the font and its keys, the background and the colours of the controls.
#include <cstring>

#include <gtest/gtest.h>

#include "swin/wco.h"
#include "swin2/scr.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char SCR[] = "..\\swin2\\scr";

class SCREEN_STORE : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(store, nullptr);
        WCO_remove_section(store, SCR_SECTION);
        SCR_init(&screen);
    }
    void TearDown() override
    {
        SCR_release(&screen);
        WCO_remove_section(store, SCR_SECTION);
    }
    WCO_file *store = WCO_system_store();
    SCR_SCREEN screen{};
};

std::vector<long> font_fields(const LOGFONTA &f)
{
    return {f.lfHeight, f.lfWidth, f.lfWeight, f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet};
}

}  // namespace

TEST_F(SCREEN_STORE, FontSettingsAreTakenUnusableAndMissingOnesWrittenWithTheDefaults)
{
    LOGFONTA f;
    std::memset(&f, 0x55, sizeof f);
    SCR_font_defaults(&f);
    EXPECT_EQ(font_fields(f), std::vector<long>({-8, 0, 0, 0, 0, 0, 238}));
    EXPECT_STREQ(f.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(screen.font, nullptr);
    EXPECT_EQ(screen.brush, nullptr);
    EXPECT_EQ(std::vector<int>({screen.background, screen.char_width}), std::vector<int>({7, 0}));

    typedef std::vector<std::pair<const char *, const char *>> KEYS;   // without "<kind>_font_"
    const KEYS defaults = {{"height", "8"},    {"weight", "0"},   {"italic", "Ne"}, {"underline", "Ne"},
                           {"strikeout", "Ne"}, {"charset", "238"}, {"name", "MS Sans Serif"}};
    const KEYS own = {{"height", "10"},     {"weight", "700"}, {"italic", "Ano"},        {"underline", "Ne"},
                      {"strikeout", "Ano"}, {"charset", "0"},  {"name", "Courier New"}};
    const struct { const char *kind; KEYS given, stored; std::vector<long> font; const char *face; } cases[] = {
        {"normal", {}, defaults, {-8, 0, 0, 0, 0, 0, 238}, "MS Sans Serif"},     // all written
        {"normal", own, own, {-10, 0, 700, 1, 0, 1, 0}, "Courier New"},         // nothing rewritten
        {"normal", {{"height", "0"}, {"charset", "300"}, {"weight", "tučně"}, {"name", ""}}, defaults,
         {-8, 0, 0, 0, 0, 0, 238}, "MS Sans Serif"},                            // unusable: replaced
        {"big", {{"name", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"}}, {{"height", "8"}},
         {-8, 0, 0, 0, 0, 0, 238}, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},         // cut to what the system holds
    };
    for (const auto &c : cases) {
        WCO_remove_section(store, SCR_SECTION);
        for (const auto &g : c.given)
            WCO_set_text(store, SCR_SECTION, (std::string(c.kind) + "_font_" + g.first).c_str(), g.second);
        SCR_font_defaults(&f);
        ASSERT_EQ(SCR_read_font_settings(store, c.kind, &f), 1);
        EXPECT_EQ(font_fields(f), c.font) << c.face;
        EXPECT_STREQ(f.lfFaceName, c.face);
        for (const auto &s : c.stored) {
            const char *v = WCO_get_text_ref(store, SCR_SECTION, (std::string(c.kind) + "_font_" + s.first).c_str());
            EXPECT_STREQ(v ? v : "<missing>", s.second) << c.face << " " << s.first;
        }
        ASSERT_NE(WCO_find_section(store, SCR_SECTION), nullptr);
        EXPECT_EQ(WCO_find_section(store, SCR_SECTION)->count, 7);
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(SCREEN_STORE, TheFontBackgroundAndControlColours)
{
    WCO_set_text(store, SCR_SECTION, "normal_font_height", "16");
    HWND parent = WT_window("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300);
    ASSERT_EQ(SCR_create_font(&screen, parent), 1);
    ASSERT_NE(SCR_font(&screen), nullptr);
    EXPECT_EQ(screen.font_description.lfHeight, -16);
    TEXTMETRICA m;
    {
        C_WINDOW_DC dc(parent);
        C_SELECT chosen(dc, SCR_font(&screen));
        GetTextMetricsA(dc, &m);
    }
    EXPECT_EQ(screen.char_width, m.tmAveCharWidth + 1);
    EXPECT_EQ(screen.char_height, m.tmHeight + m.tmExternalLeading);
    EXPECT_GE(screen.char_height, 16);

    EXPECT_EQ(SCR_set_background(&screen, 6), 1);
    EXPECT_EQ(screen.background, 6);
    EXPECT_EQ(screen.background_colour, RGB(192, 128, 0));
    ASSERT_NE(screen.brush, nullptr);
    LOGBRUSH lb;
    GetObjectA(screen.brush, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(192, 128, 0));
    TU_expect_failures(SCR, {TU_FAILS(SCR_set_background(&screen, 65))});
    EXPECT_EQ(screen.background, 6);

    auto make = [&](const char *cls, DWORD s) { return WT_window(cls, "x", WS_CHILD | s, 0, 0, 50, 20, parent); };
    const COLORREF background = RGB(192, 128, 0), kept = RGB(1, 1, 1);
    const struct { HWND control; HBRUSH brush; COLORREF colour; } cases[] = {   // no brush: the colour kept
        {make("STATIC", 0), screen.brush, background},
        {make("BUTTON", BS_AUTOCHECKBOX), screen.brush, background},
        {make("BUTTON", BS_RADIOBUTTON), screen.brush, background},
        {make("BUTTON", BS_PUSHBUTTON), nullptr, kept},
        {make("EDIT", 0), GetSysColorBrush(COLOR_WINDOW), GetSysColor(COLOR_WINDOW)},
        {make("LISTBOX", 0), nullptr, kept},
    };
    for (const auto &c : cases) {
        C_WINDOW_DC dc(c.control);
        SetBkColor(dc, kept);
        EXPECT_EQ(SCR_control_colour(&screen, dc, c.control), c.brush);
        EXPECT_EQ(GetBkColor(dc), c.colour);
    }
    {
        C_WINDOW_DC dc(parent);
        EXPECT_EQ(SCR_erase_background(&screen, parent, dc), 1);
        EXPECT_EQ(GetPixel(dc, 150, 150), RGB(192, 128, 0));
    }
    DestroyWindow(parent);
}

TEST(ScrArguments, MissingArgumentsAreInternalErrorsTheQueriesAnswerQuietly)
{
    LOGFONTA f;
    SCR_font_defaults(&f);
    TU_expect_failures(SCR, {TU_FAILS(SCR_init(nullptr)), TU_FAILS(SCR_font_defaults(nullptr)),
                             TU_FAILS(SCR_read_font_settings(nullptr, "normal", &f)),
                             TU_FAILS(SCR_read_font_settings(WCO_system_store(), nullptr, &f)),
                             TU_FAILS(SCR_read_font_settings(WCO_system_store(), "normal", nullptr)),
                             TU_FAILS(SCR_create_font(nullptr, nullptr)), TU_FAILS(SCR_set_background(nullptr, 1))});
    TU_expect_failures(nullptr, {TU_FAILS(SCR_font(nullptr)), TU_FAILS(SCR_erase_background(nullptr, nullptr, nullptr)),
                                 TU_FAILS(SCR_control_colour(nullptr, nullptr, nullptr)),
                                 TU_FAILS(SCR_release(nullptr))});
}
