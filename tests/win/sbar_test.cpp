// The status bar: its window and settings, the field layout, the texts and
// the progress bars.
#include <gtest/gtest.h>

#include "swin/sbar.h"
#include "swin/wco.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char SBAR[] = "..\\swin\\sbar";

class StatusBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        WCO_remove_section(WCO_system_store(), SBAR_SETTINGS);
        parent = WT_window("STATIC", "rám", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 800, 300);
        ASSERT_NE(parent, nullptr);
        bar = SBAR_create(parent);
        ASSERT_NE(bar, nullptr);
    }
    void TearDown() override
    {
        SBAR_destroy(bar);
        DestroyWindow(parent);
        WCO_remove_section(WCO_system_store(), SBAR_SETTINGS);
    }
    std::vector<int32_t> settings()   // the coordinate, status and info field sizes
    {
        std::vector<int32_t> v;
        for (const char *key : {"coord_field_size", "status_field_size", "info_field_size"})
            v.push_back(-1), WCO_get_int32(WCO_system_store(), SBAR_SETTINGS, key, &v.back());
        return v;
    }
    HWND parent = nullptr;
    SBAR_status_bar *bar = nullptr;
};

}  // namespace

TEST_F(StatusBar, CreationWritesOrReadsTheSettings)
{
    char cls[50];
    GetClassNameA(bar->window, cls, sizeof cls);
    EXPECT_STREQ(cls, "SBAR_CLASS_NAME");
    EXPECT_EQ(GetParent(bar->window), parent);
    EXPECT_EQ(settings(), std::vector<int32_t>({160, 100, 100}));
    TEXTMETRICA tm;   // the height follows the line height of the default GUI font
    {
        C_WINDOW_DC dc(parent);
        C_SELECT chosen(dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextMetricsA(dc, &tm);
    }
    EXPECT_EQ(SBAR_height(bar), tm.tmHeight + tm.tmExternalLeading + 8);
    RECT client;
    GetClientRect(parent, &client);
    EXPECT_EQ(WT_rect_in(parent, bar->window),
              (RECT{0, client.bottom - SBAR_height(bar), client.right, client.bottom}));
    EXPECT_TRUE(TU_reports().empty());

    WCO_set_int32(WCO_system_store(), SBAR_SETTINGS, "coord_field_size", 200);
    WCO_set_text(WCO_system_store(), SBAR_SETTINGS, "info_field_size", "široké");   // does not read
    SBAR_status_bar *second = SBAR_create(parent);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::vector<int32_t>({second->coord_size, second->status_size, second->info_size}),
              std::vector<int32_t>({200, 100, 100}));
    EXPECT_EQ(settings(), std::vector<int32_t>({200, 100, 100}));   // the default written back
    SBAR_destroy(second);

    WT_fail_allocation(sizeof(SBAR_status_bar));
    EXPECT_EQ(SBAR_create(parent), nullptr);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    TU_expect_failures(SBAR, {TU_FAILS(SBAR_create(nullptr)), TU_FAILS(SBAR_set_text(nullptr, 0, "x"))});
    TU_expect_failures(nullptr, {TU_FAILS(SBAR_height(nullptr)), TU_FAILS(SBAR_destroy(nullptr))});
}

TEST_F(StatusBar, FieldLayout)
{
    const int32_t g = GetSystemMetrics(SM_CXVSCROLL);
    SBAR_layout(bar, 800);
    const LONG rights[] = {800 - (160 + 100 + 100 + g), 800 - (160 + 100 + g), 800 - (160 + g), 800 - g};
    for (int f = 0; f < 4; f++)
        EXPECT_EQ(std::vector<LONG>({bar->field[f].left, bar->field[f].right}),
                  std::vector<LONG>({f ? rights[f - 1] : 0, rights[f]})) << f;
    MoveWindow(bar->window, 0, 0, 1000, SBAR_height(bar), TRUE);   // laid out for the new width
    EXPECT_EQ(std::vector<LONG>({bar->field[0].right, bar->field[3].right}),
              std::vector<LONG>({1000 - (360 + g), 1000 - g}));
    ShowWindow(parent, SW_MAXIMIZE);   // no sizing grip while the frame is maximised
    if (IsZoomed(parent)) {
        SBAR_layout(bar, 800);
        EXPECT_EQ(std::vector<LONG>({bar->field[0].right, bar->field[3].right}), std::vector<LONG>({800 - 360, 800}));
    }
    SBAR_layout(bar, 100);   // too narrow: the fields do not run backwards
    for (int f = 0; f < 4; f++)
        EXPECT_LE(bar->field[f].left, bar->field[f].right) << f;
}

TEST_F(StatusBar, TextsOfTheFourFields)
{
    SBAR_set_text(bar, 0, "Kopírování souboru TRAKPRN.EXE");
    SBAR_set_text(bar, 2, "modifikováno");
    SBAR_set_text_format(bar, 3, "%02d.%02d.%04d %02d:%02d", 6, 12, 2024, 7, 5);
    SBAR_set_text(bar, 4, "mimo");
    SBAR_set_text(bar, -1, "mimo");
    SBAR_set_text(bar, 1, nullptr);
    const char *texts[] = {"Kopírování souboru TRAKPRN.EXE", "", "modifikováno", "06.12.2024 07:05", ""};
    for (int16_t f = 0; f < 5; f++)
        EXPECT_STREQ(SBAR_text(bar, f), texts[f]) << f;
    SBAR_set_text(bar, 1, std::string(300, 'x').c_str());
    EXPECT_EQ(std::string(SBAR_text(bar, 1)), std::string(250, 'x'));
    UpdateWindow(bar->window);   // painting with texts does not fail
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(StatusBar, TenProgressBarsAtMost)
{
    for (int16_t i = 0; i < SBAR_PROGRESS_MAX; i++)
        EXPECT_EQ(SBAR_progress_start(bar, 0, 100), i);
    EXPECT_EQ(SBAR_progress_start(bar, 0, 100), -1);
    for (int16_t i = 1; i < SBAR_PROGRESS_MAX; i++)   // sharing field 0's height top to bottom
        EXPECT_EQ(bar->progress[i].rect.top, bar->progress[i - 1].rect.bottom);
    EXPECT_EQ(bar->progress[0].rect.top, bar->field[0].top + 2);
    EXPECT_LE(bar->progress[9].rect.bottom, bar->field[0].bottom);
    SBAR_progress_end(bar, 3);
    EXPECT_EQ(bar->progress[3].active, 0);
    EXPECT_EQ(SBAR_progress_start(bar, 0, 200), 3);   // the free slot again
    const SBAR_PROGRESS &p = bar->progress[3];
    int32_t w = p.rect.right - p.rect.left;
    ASSERT_GT(w, 0);
    SBAR_progress_step(bar, 3, 50);
    EXPECT_EQ(p.value, 50);
    EXPECT_EQ(p.drawn_width, 50 * w / 200);
    for (int16_t i = 0; i < SBAR_PROGRESS_MAX; i++)
        SBAR_progress_end(bar, i);
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures(SBAR, {TU_FAILS(SBAR_progress_step(bar, 0, 1)),   // not running
                              TU_FAILS(SBAR_progress_end(bar, 10)), TU_FAILS(SBAR_progress_start(nullptr, 0, 1) + 1)});
}

TEST(StatusBarArithmetic, ProgressWidthAndElapsedTime)
{
    const struct { int32_t start, end, value, w, width; } widths[] = {
        {0, 100, 50, 300, 150},  {0, 100, -5, 300, 0},  {0, 100, 0, 300, 0},   {0, 100, 100, 300, 300},
        {0, 100, 150, 300, 300}, {10, 20, 15, 100, 50}, {100, 0, 25, 100, 75}, {100, 0, -1, 100, 100},
        {5, 5, 5, 100, 0},       {0, 3, 1, 100, 33},
    };
    for (const auto &c : widths)
        EXPECT_EQ(SBAR_progress_width(c.start, c.end, c.value, c.w), c.width) << c.start << " " << c.value;
    const std::pair<uint32_t, const char *> times[] = {
        {0, "00:00:00"}, {1234, "00:01:23"}, {61009, "01:01:00"}, {6000000, "100:00:00"}};
    for (const auto &t : times)
        EXPECT_STREQ(SBAR_elapsed_text(t.first), t.second);
}
