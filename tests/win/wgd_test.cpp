// The GUI driver: window table, dialog stack, owner of the boxes, the run
// with its start-up failures, the message pump and the system queries.
#include <windows.h>

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "swin/dialog.h"
#include "swin/sbar.h"
#include "swin/wgd.h"
#include "tests/testutil.h"
#include "tests/win/dlgutil.h"
#include "tests/win/frameutil.h"
#include "tests/win/iat.h"
#include "tests/win/memfail.h"
#include "win/we.h"

namespace {

const char WGD[] = "..\\swin\\wgd";

HWND popup(const char *title)
{
    return CreateWindowExA(0, "STATIC", title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

void drain_queue()
{
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) {
    }
}

C_UMAIN *no_frame() { return nullptr; }

class UNCREATABLE_FRAME : public C_UMAIN {
public:
    int16_t create() override { return 0; }
};

C_UMAIN *uncreatable_frame() { return new ("test", 0) UNCREATABLE_FRAME(); }
BOOL WINAPI version_fails(OSVERSIONINFOA *) { return FALSE; }
BOOL WINAPI get_message_fails(MSG *, HWND, UINT, UINT) { return -1; }

// A dialog whose after_init runs a nested dialog or ends them all.
class NESTED_DIALOG : public C_DIALOG {
public:
    NESTED_DIALOG(const DLGTEMPLATE *t, int depth) : C_DIALOG(static_cast<HWND>(nullptr), 999), t_(t), depth_(depth) {}
    void after_init() override
    {
        if (depth_ > 1) {
            NESTED_DIALOG inner(t_, depth_ - 1);
            inner_result = DIALOG_run_modal(&inner, t_);
        } else {
            WGD_close_all_dialogs();
        }
    }
    int32_t inner_result = -1;

private:
    const DLGTEMPLATE *t_;
    int depth_;
};

}  // namespace

TEST(WgdWindowTable, NullWindowAndNoDriver)
{
    C_BW w;
    EXPECT_EQ(WGD_register_window(&w), 0);   // no driver
    EXPECT_EQ(WGD_bring_to_front(&w), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
    EXPECT_EQ(WGD_register_window(nullptr), 0);
    EXPECT_EQ(FRAME_internal_errors(WGD), 1);
}

TEST(WgdWindowTable, FiftyFitTheFiftyFirstIsRefused)
{
    TEST_DRIVER driver;
    std::vector<std::unique_ptr<C_BW>> windows;
    for (int i = 0; i < WGD_WINDOWS + 1; i++)
        windows.emplace_back(new C_BW());
    for (int i = 0; i < WGD_WINDOWS; i++) {
        ASSERT_EQ(WGD_register_window(windows[i].get()), 1) << i;
        EXPECT_EQ(windows[i]->serial, i);
    }
    EXPECT_EQ(WGD_register_window(windows[WGD_WINDOWS].get()), 0);
    EXPECT_EQ(windows[WGD_WINDOWS]->serial, -1);
    EXPECT_EQ(driver->serial, WGD_WINDOWS);

    // Out of the middle: the later entries move down and a slot is free again.
    EXPECT_EQ(WGD_unregister_window(windows[10].get()), 1);
    EXPECT_EQ(driver->windows[10], windows[11].get());
    EXPECT_EQ(driver->windows[WGD_WINDOWS - 1], nullptr);
    EXPECT_EQ(WGD_unregister_window(windows[10].get()), 0);
    EXPECT_EQ(WGD_register_window(windows[WGD_WINDOWS].get()), 1);
    EXPECT_EQ(windows[WGD_WINDOWS]->serial, WGD_WINDOWS);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
    windows.clear();   // a deleted window leaves the table
    for (C_BW *slot : driver->windows)
        EXPECT_EQ(slot, nullptr);
}

TEST(WgdWindowTable, BringToFrontMovesToTheEndAndRecordsTheActiveWindow)
{
    TEST_DRIVER driver;
    C_BW a, b, c, stranger;
    for (C_BW *w : {&a, &b, &c})
        ASSERT_EQ(WGD_register_window(w), 1);
    EXPECT_EQ(WGD_bring_to_front(&a), 1);
    EXPECT_EQ(driver->active, &a);
    EXPECT_EQ(std::vector<C_BW *>(driver->windows, driver->windows + 4), std::vector<C_BW *>({&b, &c, &a, nullptr}));
    EXPECT_EQ(a.serial, 0);   // it keeps its number
    EXPECT_EQ(WGD_bring_to_front(&stranger), 1);   // not registered: only recorded
    EXPECT_EQ(driver->active, &stranger);
    EXPECT_EQ(driver->windows[3], nullptr);
    EXPECT_EQ(WGD_bring_to_front(nullptr), 1);
    EXPECT_EQ(driver->active, nullptr);
}

TEST(WgdDialogStack, ThirtyDialogsFitTheThirtyFirstIsAnInternalError)
{
    TEST_DRIVER driver;
    std::vector<std::unique_ptr<C_DIALOG>> dialogs;
    for (int i = 0; i < WGD_DIALOGS + 1; i++)
        dialogs.emplace_back(new C_DIALOG(static_cast<HWND>(nullptr), 100));
    EXPECT_EQ(WGD_top_dialog(), nullptr);
    for (int i = 0; i < WGD_DIALOGS; i++) {
        ASSERT_EQ(WGD_push_dialog(dialogs[i].get()), 1);
        EXPECT_EQ(WGD_top_dialog(), dialogs[i].get());
    }
    EXPECT_EQ(WGD_push_dialog(dialogs[WGD_DIALOGS].get()), 0);
    EXPECT_EQ(FRAME_internal_errors(WGD), 1);

    // Removing leaves a hole that the next push fills; the top is the highest slot.
    EXPECT_EQ(WGD_remove_dialog(dialogs[5].get()), 1);
    EXPECT_EQ(WGD_dialog_at(5), nullptr);
    EXPECT_EQ(WGD_remove_dialog(dialogs[5].get()), 0);
    EXPECT_EQ(WGD_top_dialog(), dialogs[WGD_DIALOGS - 1].get());
    EXPECT_EQ(WGD_push_dialog(dialogs[WGD_DIALOGS].get()), 1);
    EXPECT_EQ(WGD_dialog_at(5), dialogs[WGD_DIALOGS].get());
    EXPECT_EQ(WGD_dialog_at(-1), nullptr);
    EXPECT_EQ(WGD_dialog_at(WGD_DIALOGS), nullptr);
    for (int i = 0; i < WGD_DIALOGS + 1; i++)
        WGD_remove_dialog(dialogs[i].get());
    EXPECT_EQ(WGD_top_dialog(), nullptr);
}

TEST(WgdRun, OwnerStatusPaletteAndClientsWhileTheFrameLives)
{
    EXPECT_EQ(WGD_owner_window(), nullptr);   // no driver
    EXPECT_EQ(WGD_palette(), nullptr);
    EXPECT_EQ(WGD_colours(), nullptr);
    WE_status("bez okna %d", 1);   // no driver: nothing, no report
    TEST_CLIENT::deleted.clear();
    int32_t code = FRAME_run([&](TEST_FRAME *frame) {
        EXPECT_EQ(WGD_driver->main_window, frame);
        EXPECT_EQ(WGD_driver->instance, GetModuleHandleA(nullptr));
        EXPECT_EQ(WGD_palette(), nullptr);   // a true-colour screen
        ASSERT_NE(WGD_colours(), nullptr);
        EXPECT_EQ(COL_value(WGD_colours(), 7), RGB(192, 192, 192));
        WE_status("Kopíruji %s", "SOUBOR.TXT");
        ASSERT_NE(frame->status_bar, nullptr);
        EXPECT_STREQ(SBAR_text(frame->status_bar, 0), "Kopíruji SOUBOR.TXT");
        EXPECT_EQ(frame->statuses, std::vector<std::string>({"Kopíruji SOUBOR.TXT"}));

        // The owner of the boxes: an open dialog, the active window, the top window, the frame.
        EXPECT_EQ(WE_owner(), frame->window);
        UMAIN_push_client(frame, 3);
        WGD_pump_messages();
        C_CW *client = frame->top_client();
        ASSERT_NE(client, nullptr);
        HWND other = popup("jiné");
        WGD_TOP_WINDOW top{other};
        WGD_driver->top_window = &top;
        EXPECT_EQ(WE_owner(), other);
        WGD_bring_to_front(client);
        EXPECT_EQ(WE_owner(), client->window);
        C_DIALOG dialog(static_cast<HWND>(nullptr), 100);
        dialog.window = popup("dialog");
        ASSERT_EQ(WGD_push_dialog(&dialog), 1);
        EXPECT_EQ(WE_owner(), dialog.window);
        WGD_remove_dialog(&dialog);
        DestroyWindow(dialog.window);
        dialog.window = nullptr;
        WGD_bring_to_front(nullptr);
        WGD_driver->top_window = nullptr;
        DestroyWindow(other);
        EXPECT_EQ(WE_owner(), frame->window);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(WE_owner(), nullptr);   // removed with the driver
    EXPECT_EQ(WGD_driver, nullptr);
    EXPECT_EQ(TEST_CLIENT::deleted, std::vector<int16_t>({3}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST(WgdRun, QuitMetInsideThePumpIsPostedAgain)
{
    HWND frame_window = nullptr;
    int16_t pumped = -1;
    int32_t code = FRAME_run([&](TEST_FRAME *frame) {
        frame_window = frame->window;
        PostMessageA(frame->window, WM_NULL, 0, 0);
        PostQuitMessage(42);
        pumped = WGD_pump_messages();
        EXPECT_TRUE(IsWindow(frame->window));   // the pump only passes the quit on
        frame->window_stays = 1;
    });
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(code, 42);   // the main loop met it again
    EXPECT_FALSE(IsWindow(frame_window));
    EXPECT_EQ(WGD_driver, nullptr);
}

TEST(WgdDialogs, CloseAllEndsEveryOpenDialogWithAbort)
{
    EXPECT_EQ(WGD_close_all_dialogs(), 0);   // no driver
    FRAME_run([](TEST_FRAME *) {
        TEMPLATE_BUILDER t(WS_POPUP | WS_CAPTION, 120, 60, L"Vnořený");
        NESTED_DIALOG outer(t.get(), 3);
        EXPECT_EQ(DIALOG_run_modal(&outer, t.get()), 3);
        EXPECT_EQ(outer.inner_result, 3);
        EXPECT_EQ(WGD_top_dialog(), nullptr);
    });
    EXPECT_TRUE(TU_reports().empty());
}

TEST(WgdRun, StartUpFailuresEndWithZero)
{
    TU_fail_allocation(sizeof(WGD_DRIVER));
    EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, uncreatable_frame), 0);
    EXPECT_EQ(TU_failures_left(), 0);
    EXPECT_TRUE(FRAME_only_low_memory(1));
    EXPECT_EQ(WGD_driver, nullptr);
    TU_clear_reports();

    // No frame object or no frame window: silently.
    EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, no_frame), 0);
    EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, uncreatable_frame), 0);
    EXPECT_EQ(WGD_driver, nullptr);
    EXPECT_EQ(WE_owner(), nullptr);
    EXPECT_TRUE(TU_reports().empty());

    int32_t inner = -1;   // a second run inside the first
    FRAME_run([&](TEST_FRAME *) { inner = WGD_run(GetModuleHandleA(nullptr), SW_SHOW, no_frame); });
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(FRAME_internal_errors(WGD), 1);
}

TEST(WgdRun, AFailingGetMessageEndsTheLoopWithAnInternalError)
{
    int32_t code = -1;
    {
        IAT_PATCH patch("USER32.dll", "GetMessageA", reinterpret_cast<void *>(get_message_fails));
        ASSERT_TRUE(patch.active());
        code = FRAME_run([](TEST_FRAME *) {});
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(WGD_driver, nullptr);
    EXPECT_EQ(FRAME_internal_errors(WGD), 1);
    drain_queue();   // the close request left behind
    EXPECT_EQ(WGD_pump_messages(), 0);   // an empty queue
}

TEST(WgdRun, TheLoopOffersMessagesToAcceleratorsThenTheTopClient)
{
    const UINT probe = WM_USER + 9;
    std::vector<int> commands;
    int dispatched = 0, eaten = -1;
    FRAME_run([&](TEST_FRAME *frame) {
        frame->commands = &commands;
        frame->counted = probe;
        frame->count = &dispatched;
        UMAIN_push_client(frame, 1);
        WGD_pump_messages();
        TEST_CLIENT *client = static_cast<TEST_CLIENT *>(frame->top_client());
        ASSERT_NE(client, nullptr);
        client->eat = probe;
        ACCEL f5{FVIRTKEY, VK_F5, 123};
        static WGD_TOP_WINDOW top;
        top.window = frame->window;
        WGD_driver->top_window = &top;
        WGD_driver->accelerators = CreateAcceleratorTableA(&f5, 1);
        PostMessageA(frame->window, WM_KEYDOWN, VK_F5, 0);
        PostMessageA(frame->window, probe, 0, 0);   // the active frame's top client uses it up
        frame->window_stays = 1;
        PostMessageA(frame->window, WM_FRAME_LATER, 0, 0);
        frame->later = [frame, client, probe, &eaten]() {
            eaten = client->eaten;
            DestroyAcceleratorTable(WGD_driver->accelerators);
            WGD_driver->accelerators = nullptr;
            WGD_driver->top_window = nullptr;
            frame->active = 0;
            PostMessageA(frame->window, probe, 0, 0);   // an inactive frame: dispatched
            PostMessageA(frame->window, WM_BW_CLOSE_REQUEST, 0, 0);
        };
    });
    EXPECT_EQ(commands, std::vector<int>({123}));
    EXPECT_EQ(eaten, 1);
    EXPECT_EQ(dispatched, 1);
}

TEST(WgdSystem, VersionQueriesAndTheirFailure)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(WGD_is_windows_nt(), info.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0);
    EXPECT_EQ(WGD_is_windows_95() + WGD_is_windows_98() + WGD_is_win32s(), 0);
    int32_t major = -1, minor = -1, build = -1;
    char service[WGD_SERVICE_MAX + 1];
    std::memset(service, 'x', sizeof service);
    ASSERT_EQ(WGD_get_os_version(&major, &minor, &build, service), 1);
    EXPECT_EQ(major, static_cast<int32_t>(info.dwMajorVersion));
    EXPECT_EQ(minor, static_cast<int32_t>(info.dwMinorVersion));
    EXPECT_EQ(build, static_cast<int32_t>(info.dwBuildNumber));
    EXPECT_STREQ(service, info.szCSDVersion);
    EXPECT_EQ(WGD_get_os_version(nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_TRUE(TU_reports().empty());

    IAT_PATCH patch("KERNEL32.dll", "GetVersionExA", reinterpret_cast<void *>(version_fails));
    ASSERT_TRUE(patch.active());
    for (auto query : {WGD_is_windows_95, WGD_is_windows_98, WGD_is_windows_nt, WGD_is_win32s})
        EXPECT_EQ(query(), 0);
    major = -1;
    EXPECT_EQ(WGD_get_os_version(&major, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(major, -1);
    EXPECT_EQ(FRAME_internal_errors(WGD), 5);
}
