// The installer's frame: its placement, its first client and its close.
#include <gtest/gtest.h>

#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "menu/itrk.h"
#include "win/instmtrk.h"

namespace {

// What the checked frame saw once its client was there; made anew for each run.
struct SEEN {
    int16_t client_kind = -2, client_slot = -2;
    bool other_kind_slot_empty = false;
} seen;

// The installer's frame with a check of its state once its client is there.
class CHECKED_FRAME : public C_INSTMTRK {
public:
    void after_create(WPARAM wparam, LPARAM lparam) override
    {
        C_INSTMTRK::after_create(wparam, lparam);
        WGD_pump_messages();   // the posted client request
        seen.client_kind = top_client() ? top_client()->client_kind : -1;
        seen.client_slot = top_slot();
        create_client(5, 7);   // any other kind: none
        seen.other_kind_slot_empty = clients[5] == nullptr;
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);   // the close box
    }
};

C_UMAIN *make_checked()
{
    return new ("test", 0) CHECKED_FRAME();
}

}  // namespace

TEST(Instmtrk, PlacedInTheMiddleAsksForItsClientAndClosesFromTheCloseBox)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    C_INSTMTRK frame;
    EXPECT_EQ(std::vector<int32_t>({frame.x, frame.y, frame.width, frame.height, frame.kind}),
              std::vector<int32_t>({(work.right - work.left) / 2 - 300, (work.bottom - work.top) / 2 - 220, 600, 440,
                                    BW_KIND_FRAME}));
    seen = SEEN();
    EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, make_checked), 0);
    EXPECT_EQ(std::vector<int16_t>({seen.client_kind, seen.client_slot}),
              std::vector<int16_t>({INSTMTRK_CLIENT_KIND, 0}));
    EXPECT_TRUE(seen.other_kind_slot_empty);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Instmtrk, TheFactoryNoMemoryAndASlotOutsideTheStack)
{
    C_UMAIN *made = INSTMTRK_make();
    ASSERT_NE(made, nullptr);
    EXPECT_NE(dynamic_cast<C_INSTMTRK *>(made), nullptr);
    MM_destroy(made, "test", 0);

    WT_fail_allocation(sizeof(C_INSTMTRK));
    EXPECT_EQ(INSTMTRK_make(), nullptr);
    C_INSTMTRK frame;
    WT_fail_allocation(sizeof(C_SW_ITRK));
    frame.create_client(0, INSTMTRK_CLIENT_KIND);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_EQ(frame.clients[0], nullptr);
    EXPECT_TRUE(WT_only_low_memory(2));
    TU_expect_failures("..\\win\\instmtrk", {TU_FAILS(frame.create_client(-1, INSTMTRK_CLIENT_KIND)),
                                             TU_FAILS(frame.create_client(UMAIN_CLIENTS, INSTMTRK_CLIENT_KIND))});
}
