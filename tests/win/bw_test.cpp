// The basic window: creation and binding, the shared procedure's dispatch,
// the key translation with its modifier rule, WM_MENUCHAR, and the report
// for a window whose object belongs to another window.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "swin/key.h"
#include "swin2/bw.h"
#include "tests/testutil.h"
#include "tests/win/frameutil.h"

namespace {

// Records the operations the procedure calls.
class RECORDING_BW : public C_BW {
public:
    RECORDING_BW()
    {
        set_class_name("BW_TEST_WINDOW");
        style = WS_OVERLAPPEDWINDOW;   // not shown
    }
    int16_t key_command(int16_t code) override { return keys.push_back(code), 1; }
    LRESULT menu_char(WPARAM, LPARAM) override { return menu_char_answer; }
    LRESULT size(int32_t w, int32_t h, int32_t) override { return sizes.push_back({w, h}), 0; }
    int16_t pre_command(WPARAM wparam, LPARAM) override { return log("pre_command"), LOWORD(wparam) == 1; }
    LRESULT command(WPARAM, LPARAM) override { return log("command"), 0; }
    void system_close() override { log("system_close"); }
    void close_request() override { log("close_request"); }
    void after_create(WPARAM wparam, LPARAM lparam) override
    {
        log("after_create " + std::to_string(wparam) + " " + std::to_string(lparam));
    }
    LRESULT scroll(int16_t vertical, int32_t code, int16_t position) override
    {
        return log("scroll " + std::to_string(vertical) + " " + std::to_string(code) + " " + std::to_string(position)), 0;
    }
    int16_t activated() override { return log("activated " + std::to_string(active)), 1; }
    int16_t deactivated() override { return log("deactivated " + std::to_string(active)), 1; }
    LRESULT destroy(WPARAM, LPARAM) override { return log(window ? "destroy bound" : "destroy unbound"), 0; }
    LRESULT default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam) override
    {
        if (message == WM_USER + 1)
            log("default_message");
        return C_BW::default_message(target, message, wparam, lparam);
    }
    void log(const std::string &call) { calls.push_back(call); }

    std::vector<int16_t> keys;
    std::vector<std::pair<int32_t, int32_t>> sizes;
    std::vector<std::string> calls;
    LRESULT menu_char_answer = 0;
};

// Holds the keyboard state of the thread with the given keys down.
class KEYS_DOWN {
public:
    explicit KEYS_DOWN(std::initializer_list<int> keys)
    {
        GetKeyboardState(saved_);
        BYTE state[256] = {};
        for (int k : keys)
            state[k] = 0x80;
        SetKeyboardState(state);
    }
    ~KEYS_DOWN() { SetKeyboardState(saved_); }
    KEYS_DOWN(const KEYS_DOWN &) = delete;
    KEYS_DOWN &operator=(const KEYS_DOWN &) = delete;

private:
    BYTE saved_[256];
};

}  // namespace

TEST(BwCreate, TheDefaultsOfABasicWindow)
{
    C_BW w;
    EXPECT_STREQ(w.class_name, "BASIC_WINDOW");
    EXPECT_STREQ(w.title, "Základní okno");
    EXPECT_EQ(std::vector<int64_t>({w.style, w.ex_style, w.kind, w.large_icon, w.small_icon, w.cursor, w.x, w.height}),
              std::vector<int64_t>({0x10CF0000, 0, BW_KIND_CLIENT, -1, -1, 32512, INT32_MIN, INT32_MIN}));
    EXPECT_EQ(w.window_class.hbrBackground, reinterpret_cast<HBRUSH>(6));
    EXPECT_EQ(w.window_class.cbWndExtra, static_cast<int>(sizeof(LONG_PTR)));
}

TEST(BwCreate, BindingTitleDestroyAndAClassThatCannotBeRegistered)
{
    HWND made = nullptr;
    {
        RECORDING_BW w;
        w.set_title("Okno s háčky");
        ASSERT_EQ(w.create(), 1);
        made = w.window;
        EXPECT_EQ(C_BW::from_window(made), &w);
        EXPECT_EQ(w.active, 1);
        char text[64];
        GetWindowTextA(made, text, sizeof text);
        EXPECT_STREQ(text, "Okno s háčky");
        w.set_title("Nový titulek");
        GetWindowTextA(made, text, sizeof text);
        EXPECT_STREQ(text, "Nový titulek");
        EXPECT_EQ(w.create(), 0);   // a second creation is refused
        EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);

        RECORDING_BW second;   // the class is registered once and shared
        ASSERT_EQ(second.create(), 1);
        HWND second_window = second.window;
        DestroyWindow(second_window);
        EXPECT_EQ(second.calls.empty() ? "" : second.calls.back(), "destroy bound");
        EXPECT_EQ(second.window, nullptr);
        EXPECT_EQ(C_BW::from_window(second_window), nullptr);
    }
    EXPECT_FALSE(IsWindow(made));   // the destructor destroys the window

    RECORDING_BW w;
    w.set_class_name("");
    EXPECT_EQ(w.create(), 0);
    EXPECT_EQ(w.window, nullptr);
    EXPECT_EQ(w.active, 0);
}

TEST(BwProcedure, MessagesReachTheirOperations)
{
    RECORDING_BW w;
    ASSERT_EQ(w.create(), 1);
    w.calls.clear();
    SendMessageA(w.window, WM_COMMAND, MAKEWPARAM(1, 0), 0);   // pre_command takes it
    SendMessageA(w.window, WM_COMMAND, MAKEWPARAM(2, 0), 0);   // pre_command declines
    SendMessageA(w.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(w.window, WM_BW_CLOSE_REQUEST, 0, 0);
    SendMessageA(w.window, WM_BW_AFTER_CREATE, 5, 6);
    SendMessageA(w.window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0xFFFE), 0);
    SendMessageA(w.window, WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    SendMessageA(w.window, WM_USER + 1, 0, 0);
    std::vector<std::string> expected = {
        "pre_command", "pre_command", "command", "system_close", "close_request", "after_create 5 6",
        "scroll 1 5 -2", "scroll 0 1 0", "default_message",
    };
    EXPECT_EQ(w.calls, expected);
    EXPECT_TRUE(IsWindow(w.window));   // SC_CLOSE is finished by system_close
    EXPECT_EQ(SendMessageA(w.window, WM_QUERYENDSESSION, 0, 0), 1);

    // The flag is set before the operation runs (the default procedure may call it again).
    w.calls.clear();
    SendMessageA(w.window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(w.active, 0);
    ASSERT_FALSE(w.calls.empty());
    EXPECT_EQ(w.calls[0], "deactivated 0");
    w.calls.clear();
    SendMessageA(w.window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(w.active, 1);
    ASSERT_FALSE(w.calls.empty());
    for (const std::string &call : w.calls)
        EXPECT_EQ(call, "activated 1");
}

TEST(BwProcedure, AWindowBoundToAnotherWindowsObjectIsAnInternalError)
{
    RECORDING_BW a, b;
    ASSERT_EQ(a.create(), 1);
    ASSERT_EQ(b.create(), 1);
    SetWindowLongPtrA(a.window, 0, reinterpret_cast<LONG_PTR>(&b));
    b.calls.clear();
    EXPECT_EQ(SendMessageA(a.window, WM_BW_CLOSE_REQUEST, 0, 0), 0);
    EXPECT_TRUE(b.calls.empty());   // the default procedure had it
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 1);
    EXPECT_EQ(FRAME_internal_errors("..\\swin2\\bw"), 1);
    EXPECT_EQ(TU_reports()[0].title, " Interní chyba, informujte dodavatele ");
    SetWindowLongPtrA(a.window, 0, reinterpret_cast<LONG_PTR>(&a));

    a.sizes.clear();   // the layout is refreshed with the client size
    a.refresh_layout();
    RECT r;
    GetClientRect(a.window, &r);
    EXPECT_EQ(a.sizes, (std::vector<std::pair<int32_t, int32_t>>{{r.right, r.bottom}}));
}

TEST(BwKeys, KeysWithTwoOrMoreModifiersNeverReachKeyCommand)
{
    RECORDING_BW w;
    ASSERT_EQ(w.create(), 1);
    struct CASE {
        std::initializer_list<int> held;
        UINT message;
        int16_t expected;   // 0 = no call
    };
    const CASE cases[] = {
        {{}, WM_KEYDOWN, KEY_from_virtual_key(VK_F1, 0, 0, 0)},
        {{VK_SHIFT}, WM_KEYDOWN, KEY_from_virtual_key(VK_F1, 1, 0, 0)},
        {{VK_CONTROL}, WM_KEYDOWN, KEY_from_virtual_key(VK_F1, 0, 0, 1)},
        {{VK_MENU}, WM_SYSKEYDOWN, KEY_from_virtual_key(VK_F1, 0, 1, 0)},
        {{VK_SHIFT, VK_CONTROL}, WM_KEYDOWN, 0},
        {{VK_SHIFT, VK_MENU}, WM_SYSKEYDOWN, 0},
        {{VK_CONTROL, VK_MENU}, WM_KEYDOWN, 0},
        {{VK_SHIFT, VK_CONTROL, VK_MENU}, WM_SYSKEYDOWN, 0},
    };
    for (const CASE &c : cases) {
        w.keys.clear();
        KEYS_DOWN keys(c.held);
        SendMessageA(w.window, c.message, VK_F1, 0);
        EXPECT_EQ(w.keys, c.expected ? std::vector<int16_t>({c.expected}) : std::vector<int16_t>()) << c.held.size();
    }
    EXPECT_EQ(KEY_from_virtual_key(VK_F1, 1, 0, 0), 67);   // F1 66, Shift + 1
    w.keys.clear();   // a plain letter has no code
    KEYS_DOWN none({});
    SendMessageA(w.window, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(w.keys.empty());
}

TEST(BwKeys, CharactersAndMenuCharacters)
{
    RECORDING_BW w;
    ASSERT_EQ(w.create(), 1);
    for (unsigned char c : {uint8_t('a'), uint8_t('Z'), uint8_t('5'), uint8_t(0xE8) /* č */, uint8_t(1)}) {
        w.keys.clear();
        SendMessageA(w.window, WM_CHAR, c, 0);
        if (c == 1) {   // no code: no call
            EXPECT_TRUE(w.keys.empty());
        } else {
            EXPECT_NE(KEY_from_char(c), 0);
            EXPECT_EQ(w.keys, std::vector<int16_t>({KEY_from_char(c)})) << int(c);
        }
    }
    // WM_MENUCHAR: high word 2 is answered as it is; high word 1 makes the
    // upper-cased character the Alt key code; without a key code the answer is 0.
    w.keys.clear();
    w.menu_char_answer = MAKELRESULT(3, 2);
    EXPECT_EQ(SendMessageA(w.window, WM_MENUCHAR, 'k', 0), MAKELRESULT(3, 2));
    EXPECT_TRUE(w.keys.empty());
    w.menu_char_answer = MAKELRESULT(0, 1);
    EXPECT_EQ(SendMessageA(w.window, WM_MENUCHAR, 'k', 0), MAKELRESULT(0, 1));
    EXPECT_NE(KEY_from_alt_char('K'), 0);
    EXPECT_EQ(w.keys, std::vector<int16_t>({KEY_from_alt_char('K')}));
    w.keys.clear();
    EXPECT_EQ(SendMessageA(w.window, WM_MENUCHAR, '#', 0), 0);
    EXPECT_TRUE(w.keys.empty());
}
