// The error reports as real system boxes: shown, read and answered.
#include <gtest/gtest.h>

#include <memory>

#include "tests/testutil.h"
#include "tests/win/winutil.h"

TEST(SystemBox, ReportsShowTheirTitlesAndTextsOverTheLookedUpOwner)
{
    REAL_BOXES real;
    HWND frame = WT_window("STATIC", "rám", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    ASSERT_NE(frame, nullptr);
    const struct { const char *title; std::function<void()> show; const char *text; HWND owner; } cases[] = {
        {" Interní chyba, informujte dodavatele ", [] { WE_internal_error("..\\swin\\wgd", 321); },
         "Chyba v souboru ..\\swin\\wgd řádek 321", nullptr},   // no driver: an ownerless box
        {" Chyba ", [] { WE_error_format("Soubor %s nelze otevřít", "A.KRV"); }, "Soubor A.KRV nelze otevřít", frame},
        {" Chyba ", [] { WE_low_memory(); }, " Málo paměti", frame},
        {" Chyba switch, informujte dodavatele ", [] { WE_switch_error("..\\swin2\\bw", 5); },
         "Chyba v souboru ..\\swin2\\bw řádek 5", frame},
    };
    for (const auto &c : cases) {
        std::unique_ptr<BOX_OWNER> owner(c.owner ? new BOX_OWNER(c.owner) : nullptr);
        BOX_ANSWERER box(c.title, IDOK);
        c.show();
        ASSERT_TRUE(box.found()) << c.text;
        EXPECT_EQ(box.text(), c.text);
        EXPECT_EQ(box.owner(), c.owner) << c.text;
    }
    EnableWindow(frame, FALSE);   // the thread's windows are disabled during the box and enabled after
    {
        BOX_ANSWERER box(" Chyba ", IDOK);
        box.watch_window(frame);
        WE_error("zkouška");
        ASSERT_TRUE(box.found());
        EXPECT_FALSE(box.watched_was_enabled());
    }
    EXPECT_TRUE(IsWindowEnabled(frame));
    DestroyWindow(frame);
}
