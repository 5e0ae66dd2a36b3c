// Controls that make their object: the object lives exactly as long as its
// window, a refused creation leaves nothing behind, and messages reach the
// object only between creation and destruction.
#include <gtest/gtest.h>

#include "swin/ctl.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

int alive = 0;
bool refuse = false;

struct PROBE : C_CTL {
    explicit PROBE(HWND w) : C_CTL(w) { alive++; }
    ~PROBE() override { alive--; }
    LRESULT create(const CREATESTRUCTA *c) override { return refuse || !c ? -1 : 0; }
    LRESULT message(UINT m, WPARAM wparam, LPARAM lparam) override
    {
        return m == WM_USER + 7 ? static_cast<LRESULT>(wparam + 1) : C_CTL::message(m, wparam, lparam);
    }
};

HWND make_probe()
{
    return WT_window("TRK_PROBE_CONTROL", "", WS_POPUP, 0, 0, 10, 10);
}

}  // namespace

TEST(Control, TheWindowOwnsItsObject)
{
    alive = 0;
    refuse = false;
    for (int twice = 0; twice < 2; twice++)   // registered once, and again without harm
        ASSERT_EQ(CTL_register<PROBE>(GetModuleHandleA(nullptr), "TRK_PROBE_CONTROL", nullptr, nullptr), 1);
    HWND w = make_probe();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(alive, 1);
    ASSERT_NE(C_CTL::from_window(w), nullptr);
    EXPECT_EQ(C_CTL::from_window(w)->window, w);
    EXPECT_EQ(SendMessageA(w, WM_USER + 7, 41, 0), 42);
    DestroyWindow(w);
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(C_CTL::from_window(nullptr), nullptr);

    refuse = true;   // the object refuses its creation: no window, no object
    EXPECT_EQ(make_probe(), nullptr);
    EXPECT_EQ(alive, 0);
    refuse = false;
    EXPECT_TRUE(TU_reports().empty());

    WT_fail_allocation(sizeof(PROBE));
    EXPECT_EQ(make_probe(), nullptr);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(alive, 0);
}
