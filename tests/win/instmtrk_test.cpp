// The installer's frame: its placement, its first client and its close.
#include <windows.h>

#include <gtest/gtest.h>

#include "swin/wgd.h"
#include "swin2/cw.h"
#include "tests/testutil.h"
#include "tests/win/frameutil.h"
#include "tests/win/memfail.h"
#include "win/instmtrk.h"

namespace {

// The installer's frame with a check of its state once its client is there.
class CHECKED_FRAME : public C_INSTMTRK {
public:
    void after_create(WPARAM wparam, LPARAM lparam) override
    {
        C_INSTMTRK::after_create(wparam, lparam);
        WGD_pump_messages();   // the posted client request
        client_kind = top_client() ? top_client()->client_kind : -1;
        client_slot = top_slot();
        create_client(5, 7);   // any other kind: none
        other_kind_slot_empty = clients[5] == nullptr;
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);   // the close box
    }
    static int16_t client_kind, client_slot;
    static bool other_kind_slot_empty;
};
int16_t CHECKED_FRAME::client_kind = 0, CHECKED_FRAME::client_slot = 0;
bool CHECKED_FRAME::other_kind_slot_empty = false;

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
    EXPECT_EQ(frame.width, 600);
    EXPECT_EQ(frame.height, 440);
    EXPECT_EQ(frame.x, (work.right - work.left) / 2 - 300);
    EXPECT_EQ(frame.y, (work.bottom - work.top) / 2 - 220);
    EXPECT_EQ(frame.kind, BW_KIND_FRAME);
    EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, make_checked), 0);
    EXPECT_EQ(CHECKED_FRAME::client_kind, INSTMTRK_CLIENT_KIND);
    EXPECT_EQ(CHECKED_FRAME::client_slot, 0);
    EXPECT_TRUE(CHECKED_FRAME::other_kind_slot_empty);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Instmtrk, TheFactoryNoMemoryAndASlotOutsideTheStack)
{
    C_UMAIN *made = INSTMTRK_make();
    ASSERT_NE(made, nullptr);
    EXPECT_NE(dynamic_cast<C_INSTMTRK *>(made), nullptr);
    MM_destroy(made, "test", 0);

    TU_fail_allocation(sizeof(C_INSTMTRK));
    EXPECT_EQ(INSTMTRK_make(), nullptr);
    C_INSTMTRK frame;
    TU_fail_allocation(sizeof(C_CW));
    frame.create_client(0, INSTMTRK_CLIENT_KIND);
    EXPECT_EQ(TU_failures_left(), 0);
    EXPECT_EQ(frame.clients[0], nullptr);
    EXPECT_TRUE(FRAME_only_low_memory(2));
    TU_clear_reports();

    frame.create_client(-1, INSTMTRK_CLIENT_KIND);
    frame.create_client(UMAIN_CLIENTS, INSTMTRK_CLIENT_KIND);
    EXPECT_EQ(FRAME_internal_errors("..\\win\\instmtrk"), 2);
    EXPECT_EQ(TU_reports().size(), 2u);
}
