// The error reports as real system boxes: shown, read and answered.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/testutil.h"
#include "tests/win/boxanswer.h"
#include "win/we.h"

namespace {

// The real box instead of the recording sink for one test.
class SystemBox : public ::testing::Test {
protected:
    void SetUp() override { previous_ = WE_set_sink(nullptr); }
    void TearDown() override { WE_set_sink(previous_); }
    WE_SINK previous_ = nullptr;
};

}  // namespace

TEST_F(SystemBox, InternalErrorWithoutDriverIsAnOwnerlessBox)
{
    BOX_ANSWERER box(" Interní chyba, informujte dodavatele ", IDOK);
    WE_internal_error("..\\swin\\wgd", 321);
    ASSERT_TRUE(box.found());
    EXPECT_EQ(box.text(), "Chyba v souboru ..\\swin\\wgd řádek 321");
    EXPECT_EQ(box.owner(), nullptr);
}

TEST_F(SystemBox, ErrorBoxesShowTheirTexts)
{
    {
        BOX_ANSWERER box(" Chyba ", IDOK);
        WE_error_format("Soubor %s nelze otevřít", "A.KRV");
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.text(), "Soubor A.KRV nelze otevřít");
    }
    {
        BOX_ANSWERER box(" Chyba ", IDOK);
        WE_low_memory();
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.text(), " Málo paměti");
    }
    {
        BOX_ANSWERER box(" Chyba switch, informujte dodavatele ", IDOK);
        WE_switch_error("..\\swin2\\bw", 5);
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.text(), "Chyba v souboru ..\\swin2\\bw řádek 5");
    }
}

TEST_F(SystemBox, ThreadWindowsAreDisabledDuringTheBoxAndEnabledAfter)
{
    HWND window = CreateWindowExA(0, "STATIC", "okno", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EnableWindow(window, FALSE);   // disabled before the report
    {
        BOX_ANSWERER box(" Chyba ", IDOK);
        box.watch_window(window);
        WE_error("zkouška");
        ASSERT_TRUE(box.found());
        EXPECT_FALSE(box.watched_was_enabled());
    }
    EXPECT_TRUE(IsWindowEnabled(window));
    DestroyWindow(window);
}

TEST_F(SystemBox, OwnerComesFromTheLookup)
{
    static HWND frame;
    frame = CreateWindowExA(0, "STATIC", "rám", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame, nullptr);
    WE_set_owner_lookup([]() -> void * { return frame; });
    {
        BOX_ANSWERER box(" Chyba ", IDOK);
        WE_error("s vlastníkem");
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.owner(), frame);
    }
    WE_set_owner_lookup(nullptr);
    DestroyWindow(frame);
}
