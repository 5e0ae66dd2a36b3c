// The basic window: creation and binding, the shared procedure's dispatch,
// the key translation with its modifier rule, WM_MENUCHAR, and the report
// for a window whose object belongs to another window.
#include <gtest/gtest.h>

#include "swin2/bw.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

// Records the operations the procedure calls.
class RECORDING_BW : public C_BW {
public:
    RECORDING_BW() { set_class_name("BW_TEST_WINDOW"), style = WS_OVERLAPPEDWINDOW; }   // not shown
    int16_t key_command(int16_t code) override { return keys.push_back(code), 1; }
    LRESULT menu_char(WPARAM, LPARAM) override { return menu_char_answer; }
    LRESULT size(int32_t w, int32_t h, int32_t) override { return sizes.push_back({w, h}), 0; }
    int16_t pre_command(WPARAM wparam, LPARAM) override { return log("pre_command"), LOWORD(wparam) == 1; }
    LRESULT command(WPARAM, LPARAM) override { return log("command"), 0; }
    void system_close() override { log("system_close"); }
    void close_request() override { log("close_request"); }
    void after_create(WPARAM w, LPARAM l) override
    {
        log("after_create " + std::to_string(w) + " " + std::to_string(l));
    }
    LRESULT scroll(int16_t vertical, int32_t code, int16_t at) override
    {
        return log("scroll " + std::to_string(vertical) + " " + std::to_string(code) + " " + std::to_string(at)), 0;
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
class KEYS_DOWN : C_GUARD {
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

private:
    BYTE saved_[256];
};

}  // namespace

TEST(BwCreate, DefaultsBindingTitleDestroyAndAClassThatCannotBeRegistered)
{
    C_BW basic;
    EXPECT_STREQ(basic.class_name, "BASIC_WINDOW");
    EXPECT_STREQ(basic.title, "Základní okno");
    EXPECT_EQ(std::vector<int64_t>({basic.style, basic.ex_style, basic.kind, basic.large_icon, basic.small_icon,
                                    basic.cursor, basic.x, basic.height}),
              std::vector<int64_t>({0x10CF0000, 0, BW_KIND_CLIENT, -1, -1, 32512, INT32_MIN, INT32_MIN}));
    EXPECT_EQ(basic.window_class.hbrBackground, reinterpret_cast<HBRUSH>(6));
    EXPECT_EQ(basic.window_class.cbWndExtra, static_cast<int>(sizeof(LONG_PTR)));
    HWND made = nullptr;
    {
        RECORDING_BW w;
        w.set_title("Okno s háčky");
        ASSERT_EQ(w.create(), 1);
        made = w.window;
        EXPECT_EQ(C_BW::from_window(made), &w);
        EXPECT_EQ(w.active, 1);
        for (const char *title : {"Okno s háčky", "Nový titulek"}) {   // before and after the creation
            char text[64];
            w.set_title(title);
            GetWindowTextA(made, text, sizeof text);
            EXPECT_STREQ(text, title);
        }
        TU_expect_failures("..\\swin2\\bw", {TU_FAILS(w.create())});   // a second creation is refused

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
    const struct { UINT message; WPARAM wparam; LPARAM lparam; } messages[] = {
        {WM_COMMAND, 1, 0}, {WM_COMMAND, 2, 0},   // pre_command takes the first, declines the second
        {WM_SYSCOMMAND, SC_CLOSE, 0}, {WM_BW_CLOSE_REQUEST, 0, 0}, {WM_BW_AFTER_CREATE, 5, 6},
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0xFFFE), 0}, {WM_HSCROLL, SB_LINEDOWN, 0}, {WM_USER + 1, 0, 0}};
    for (const auto &m : messages)
        SendMessageA(w.window, m.message, m.wparam, m.lparam);
    EXPECT_EQ(w.calls, std::vector<std::string>({"pre_command", "pre_command", "command", "system_close",
                                                 "close_request", "after_create 5 6", "scroll 1 5 -2", "scroll 0 1 0",
                                                 "default_message"}));
    EXPECT_TRUE(IsWindow(w.window));   // SC_CLOSE is finished by system_close
    EXPECT_EQ(SendMessageA(w.window, WM_QUERYENDSESSION, 0, 0), 1);

    // The flag is set before the operation runs (the default procedure may call it again).
    for (WPARAM state : {WA_INACTIVE, WA_CLICKACTIVE}) {
        w.calls.clear();
        SendMessageA(w.window, WM_ACTIVATE, state, 0);
        EXPECT_EQ(w.active, state == WA_INACTIVE ? 0 : 1);
        ASSERT_FALSE(w.calls.empty());
        for (const std::string &call : w.calls)
            EXPECT_EQ(call, state == WA_INACTIVE ? "deactivated 0" : "activated 1");
    }

    RECORDING_BW b;   // a window bound to another window's object: the default procedure has it
    ASSERT_EQ(b.create(), 1);
    SetWindowLongPtrA(w.window, 0, reinterpret_cast<LONG_PTR>(&b));
    b.calls.clear();
    EXPECT_EQ(SendMessageA(w.window, WM_BW_CLOSE_REQUEST, 0, 0), 0);
    EXPECT_TRUE(b.calls.empty());
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(WT_internal_errors("..\\swin2\\bw"), 1);
    EXPECT_EQ(TU_reports()[0].title, " Interní chyba, informujte dodavatele ");
    SetWindowLongPtrA(w.window, 0, reinterpret_cast<LONG_PTR>(&w));

    w.sizes.clear();   // the layout is refreshed with the client size
    w.refresh_layout();
    RECT r;
    GetClientRect(w.window, &r);
    EXPECT_EQ(w.sizes, (std::vector<std::pair<int32_t, int32_t>>{{r.right, r.bottom}}));
}

TEST(BwKeys, KeysCharactersAndMenuCharactersReachKeyCommandWithTheirCodes)
{
    RECORDING_BW w;
    ASSERT_EQ(w.create(), 1);
    // F1 is 66, Shift 67, Alt 68, Ctrl 69; with two or more modifiers no call.
    const struct { std::initializer_list<int> held; UINT message; WPARAM key; int16_t expected; } keys[] = {
        {{}, WM_KEYDOWN, VK_F1, 66},           {{VK_SHIFT}, WM_KEYDOWN, VK_F1, 67},
        {{VK_MENU}, WM_SYSKEYDOWN, VK_F1, 68}, {{VK_CONTROL}, WM_KEYDOWN, VK_F1, 69},
        {{VK_SHIFT, VK_CONTROL}, WM_KEYDOWN, VK_F1, 0},       {{VK_SHIFT, VK_MENU}, WM_SYSKEYDOWN, VK_F1, 0},
        {{VK_CONTROL, VK_MENU}, WM_KEYDOWN, VK_F1, 0},  {{VK_SHIFT, VK_CONTROL, VK_MENU}, WM_SYSKEYDOWN, VK_F1, 0},
        {{}, WM_KEYDOWN, 'A', 0},   // a plain letter has no code
    };
    for (const auto &c : keys) {
        w.keys.clear();
        KEYS_DOWN held(c.held);
        SendMessageA(w.window, c.message, c.key, 0);
        EXPECT_EQ(w.keys, c.expected ? std::vector<int16_t>({c.expected}) : std::vector<int16_t>()) << c.held.size();
    }
    // Characters: 'Z' 219, 'a' 222, '5' 129, 'č' 260; character 1 has no code.
    const struct { uint8_t c; int16_t expected; } chars[] = {{'a', 222}, {'Z', 219}, {'5', 129}, {0xE8, 260}, {1, 0}};
    for (const auto &c : chars) {
        w.keys.clear();
        SendMessageA(w.window, WM_CHAR, c.c, 0);
        EXPECT_EQ(w.keys, c.expected ? std::vector<int16_t>({c.expected}) : std::vector<int16_t>()) << int(c.c);
    }
    // WM_MENUCHAR: high word 2 is answered as it is; high word 1 makes the
    // upper-cased character the Alt key code (Alt+K 175); without a key code the answer is 0.
    const struct { LRESULT answer; WPARAM c; LRESULT result; std::vector<int16_t> keys; } menu_chars[] = {
        {MAKELRESULT(3, 2), 'k', MAKELRESULT(3, 2), {}},
        {MAKELRESULT(0, 1), 'k', MAKELRESULT(0, 1), {175}},
        {MAKELRESULT(0, 1), '#', 0, {}},
    };
    for (const auto &c : menu_chars) {
        w.keys.clear();
        w.menu_char_answer = c.answer;
        EXPECT_EQ(SendMessageA(w.window, WM_MENUCHAR, c.c, 0), c.result) << c.c;
        EXPECT_EQ(w.keys, c.keys) << c.c;
    }
}
