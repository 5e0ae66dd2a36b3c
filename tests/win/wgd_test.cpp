// The GUI driver: window table, dialog stack, owner of the boxes, the run
// with its start-up failures, the message pump and the system queries.

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "swin/sbar.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char WGD[] = "..\\swin\\wgd";

C_UMAIN *no_frame() { return nullptr; }

struct UNCREATABLE_FRAME : C_UMAIN {
    int16_t create() override { return 0; }
};
C_UMAIN *uncreatable_frame() { return new ("test", 0) UNCREATABLE_FRAME(); }
BOOL WINAPI version_fails(OSVERSIONINFOA *) { return FALSE; }
BOOL WINAPI get_message_fails(MSG *, HWND, UINT, UINT) { return -1; }

}  // namespace

TEST(WgdWindowTable, WithoutADriverOrAWindow)
{
    C_BW w;
    TU_expect_failures(nullptr, {TU_FAILS(WGD_register_window(&w)), TU_FAILS(WGD_bring_to_front(&w)),
                                 TU_FAILS(WGD_owner_window()), TU_FAILS(WGD_palette()), TU_FAILS(WGD_colours()),
                                 TU_FAILS(WGD_close_all_dialogs()), TU_FAILS(WE_status("bez okna %d", 1))});
    TU_expect_failures(WGD, {TU_FAILS(WGD_register_window(nullptr))});
}

TEST(WgdWindowTable, FiftyFitTheFiftyFirstIsRefused)
{
    std::vector<std::unique_ptr<C_BW>> windows;
    TEST_DRIVER driver;   // goes before the windows
    for (int i = 0; i < WGD_WINDOWS; i++) {
        windows.emplace_back(new C_BW());
        ASSERT_EQ(WGD_register_window(windows[i].get()), 1) << i;
        EXPECT_EQ(windows[i]->serial, i);
    }
    windows.emplace_back(new C_BW());
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
    EXPECT_TRUE(TU_reports().empty());
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
    std::vector<std::unique_ptr<C_DIALOG>> dialogs;
    TEST_DRIVER driver;   // goes, with its stack, before the dialogs
    EXPECT_EQ(WGD_top_dialog(), nullptr);
    for (int i = 0; i < WGD_DIALOGS; i++) {
        dialogs.emplace_back(new TEST_DIALOG());
        ASSERT_EQ(WGD_push_dialog(dialogs[i].get()), 1);
        EXPECT_EQ(WGD_top_dialog(), dialogs[i].get());
    }
    dialogs.emplace_back(new TEST_DIALOG());
    TU_expect_failures(WGD, {TU_FAILS(WGD_push_dialog(dialogs[WGD_DIALOGS].get()))});

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
    WGD_TOP_WINDOW top{WT_window("STATIC", "jiné", WS_POPUP, 0, 0, 10, 10)};   // outlives the run
    TEST_DIALOG dialog;
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
        WGD_driver->top_window = &top;
        EXPECT_EQ(WE_owner(), top.window);
        WGD_bring_to_front(client);
        EXPECT_EQ(WE_owner(), client->window);
        dialog.window = WT_window("STATIC", "dialog", WS_POPUP, 0, 0, 10, 10);
        ASSERT_EQ(WGD_push_dialog(&dialog), 1);
        EXPECT_EQ(WE_owner(), dialog.window);
        WGD_remove_dialog(&dialog);
        WGD_bring_to_front(nullptr);
        WGD_driver->top_window = nullptr;
        EXPECT_EQ(WE_owner(), frame->window);
    });
    DestroyWindow(dialog.window);
    dialog.window = nullptr;
    DestroyWindow(top.window);
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
    EXPECT_EQ(std::vector<int32_t>({pumped, code}), std::vector<int32_t>({1, 42}));   // the main loop met it again
    EXPECT_FALSE(IsWindow(frame_window));
    EXPECT_EQ(WGD_driver, nullptr);
}

TEST(WgdDialogs, CloseAllEndsEveryOpenDialogWithAbort)
{
    FRAME_run([](TEST_FRAME *) {   // three dialogs, each opened by the one before; the last ends them all
        TEMPLATE_BUILDER t(WS_POPUP | WS_CAPTION, 120, 60, L"Vnořený");
        TEST_DIALOG d[3];
        int32_t results[3] = {-1, -1, -1};
        d[0].on_after_init = [&](TEST_DIALOG *) { results[1] = DIALOG_run_modal(&d[1], t.get()); };
        d[1].on_after_init = [&](TEST_DIALOG *) { results[2] = DIALOG_run_modal(&d[2], t.get()); };
        d[2].on_after_init = [](TEST_DIALOG *) { WGD_close_all_dialogs(); };
        results[0] = DIALOG_run_modal(&d[0], t.get());
        EXPECT_EQ(std::vector<int32_t>(results, results + 3), std::vector<int32_t>({3, 3, 3}));
        EXPECT_EQ(WGD_top_dialog(), nullptr);
    });
    EXPECT_TRUE(TU_reports().empty());
}

TEST(WgdRun, StartUpFailuresEndWithZero)
{
    WT_fail_allocation(sizeof(WGD_DRIVER));
    EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, uncreatable_frame), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(WGD_driver, nullptr);
    // No frame object or no frame window: silently.
    TU_expect_failures(nullptr, {TU_FAILS(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, no_frame)),
                                 TU_FAILS(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, uncreatable_frame))});
    EXPECT_EQ(WGD_driver, nullptr);
    EXPECT_EQ(WE_owner(), nullptr);

    int32_t inner = -1;   // a second run inside the first
    FRAME_run([&](TEST_FRAME *) { inner = WGD_run(GetModuleHandleA(nullptr), SW_SHOW, no_frame); });
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(WT_internal_errors(WGD), 1);
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
    EXPECT_EQ(WT_internal_errors(WGD), 1);
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);)   // the close request left behind
        continue;
    EXPECT_EQ(WGD_pump_messages(), 0);   // an empty queue
}

TEST(WgdRun, TheLoopOffersMessagesToAcceleratorsThenTheTopClient)
{
    const UINT probe = WM_USER + 9;
    std::vector<int> commands;
    int dispatched = 0, eaten = -1;
    WGD_TOP_WINDOW top{nullptr};
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
    EXPECT_EQ(std::vector<int>({eaten, dispatched}), std::vector<int>({1, 1}));
}

TEST(WgdSystem, VersionQueriesAndTheirFailure)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(std::vector<int>({WGD_is_windows_nt(), WGD_is_windows_95(), WGD_is_windows_98(), WGD_is_win32s()}),
              std::vector<int>({1, 0, 0, 0}));   // Wine is of the NT platform
    int32_t major = -1, minor = -1, build = -1;
    char service[WGD_SERVICE_MAX + 1];
    std::memset(service, 'x', sizeof service);
    ASSERT_EQ(WGD_get_os_version(&major, &minor, &build, service), 1);
    EXPECT_EQ(std::vector<DWORD>({DWORD(major), DWORD(minor), DWORD(build)}),
              std::vector<DWORD>({info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber}));
    EXPECT_STREQ(service, info.szCSDVersion);
    EXPECT_EQ(WGD_get_os_version(nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_TRUE(TU_reports().empty());

    IAT_PATCH patch("KERNEL32.dll", "GetVersionExA", reinterpret_cast<void *>(version_fails));
    ASSERT_TRUE(patch.active());
    major = -1;
    TU_expect_failures(WGD, {TU_FAILS(WGD_is_windows_95()), TU_FAILS(WGD_is_windows_98()),
                             TU_FAILS(WGD_is_windows_nt()), TU_FAILS(WGD_is_win32s()),
                             TU_FAILS(WGD_get_os_version(&major, nullptr, nullptr, nullptr))});
    EXPECT_EQ(major, -1);
}
