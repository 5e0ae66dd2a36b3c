// The key-input control driven by its messages, its dialog item, and the key
// box of template 106 answered from a second thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "swin/dtools.h"
#include "swin/ucc_key.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "util/voc.h"
#include "win/we_boxes.h"

namespace {

const int KEY_ID = 100;
const int16_t ENTER = 2, F1 = 66;   // key codes of the vocabulary

std::string name_of(LRESULT key)
{
    const char *n = VOC_key_name(static_cast<int16_t>(key));
    return n ? n : "(none)";
}

enum { HELD_SHIFT = 1, HELD_CTRL = 2, HELD_ALT = 4 };

// Shift, Ctrl and Alt as GetKeyState sees them on this thread; released at the end.
class HELD_KEYS : C_GUARD {
public:
    explicit HELD_KEYS(int held)   // HELD_SHIFT | HELD_CTRL | HELD_ALT
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(saved_, saved_ + 256, state);
        state[VK_SHIFT] = held & HELD_SHIFT ? 0x80 : 0;
        state[VK_CONTROL] = held & HELD_CTRL ? 0x80 : 0;
        state[VK_MENU] = held & HELD_ALT ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~HELD_KEYS() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

// A parent window that records the WM_COMMANDs it gets.
std::vector<std::pair<WPARAM, LPARAM>> notifications;

LRESULT CALLBACK parent_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_COMMAND)
        notifications.push_back({wparam, lparam});
    return DefWindowProcA(window, message, wparam, lparam);
}

void pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
}

class KeyInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UCC_KEY_register(GetModuleHandleA(nullptr)), 1);
        WNDCLASSA record{};
        record.lpfnWndProc = parent_procedure;
        record.hInstance = GetModuleHandleA(nullptr);
        record.lpszClassName = "UCC_KEY_TEST_PARENT";
        RegisterClassA(&record);   // a second time fails harmlessly
        parent = CreateWindowExA(0, "UCC_KEY_TEST_PARENT", "rodič", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        control = make_control();
        ASSERT_NE(control, nullptr);
        pump();
        notifications.clear();
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        notifications.clear();
    }
    HWND make_control()
    {
        return CreateWindowExA(0, UCC_KEY_CLASS_NAME, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 200, 20, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(KEY_ID)), GetModuleHandleA(nullptr),
                               nullptr);
    }
    TEST_DRIVER driver;
    HWND parent = nullptr;
    HWND control = nullptr;
};

// A key box that types Enter into its key control, through the dialog's own
// keyboard handling, when it gets the command TYPE from control 100.
class TYPING_KEY_BOX : public C_DW_WM_KB_CHAR {
public:
    static const int TYPE = 0x7F;
    using C_DW_WM_KB_CHAR::C_DW_WM_KB_CHAR;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override
    {
        if (message == WM_COMMAND && wparam == MAKEWPARAM(KEY_ID, TYPE)) {
            MSG m{GetDlgItem(window, KEY_ID), WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
            if (!IsDialogMessageA(window, &m))
                DispatchMessageA(&m);
            return 1;
        }
        return C_DW_WM_KB_CHAR::command(message, wparam, lparam);
    }
};

}  // namespace

TEST_F(KeyInput, TypedKeysAreStoredAndNotified)
{
    const LPARAM ALT_CONTEXT = 1 << 29;
    const struct {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
        int held;
        const char *name;   // null: the key stays, no notification
    } cases[] = {
        {WM_KEYDOWN, VK_F1, 0, 0, "F1"},
        {WM_KEYDOWN, VK_F1, 0, HELD_SHIFT, "Shift+F1"},
        {WM_KEYDOWN, 'A', 0, HELD_CTRL, "Control+A"},
        {WM_KEYDOWN, VK_HOME, 0, HELD_ALT, "Alt+Home"},
        {WM_SYSKEYDOWN, VK_F7, ALT_CONTEXT, 0, "Alt+F7"},   // Alt only in the context bit
        {WM_SYSKEYDOWN, VK_F2, 0, HELD_ALT, "Alt+F2"},
        {WM_SYSKEYDOWN, VK_F10, 0, 0, "F10"},               // F10 alone is a system key too
        {WM_CHAR, 'a', 0, 0, "a"},
        {WM_CHAR, 0xE8, 0, 0, "c_s_háčkem"},
        {WM_SYSCHAR, 'z', ALT_CONTEXT, 0, "Alt+Z"},
        // No toolkit code: a modifier alone, the characters after Ctrl+A and Enter.
        {WM_KEYDOWN, VK_SHIFT, 0, HELD_SHIFT, nullptr},
        {WM_KEYDOWN, 'A', 0, 0, nullptr},
        {WM_SYSKEYDOWN, 'A', ALT_CONTEXT, 0, nullptr},   // Alt+A arrives as WM_SYSCHAR
        {WM_CHAR, 0x01, 0, HELD_CTRL, nullptr},
        {WM_CHAR, '\r', 0, 0, nullptr},
        {WM_SYSCHAR, '-', ALT_CONTEXT, 0, nullptr},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(SendMessageA(control, WM_KEY_SET, ENTER, 0), 1);
        {
            HELD_KEYS held(c.held);
            EXPECT_EQ(SendMessageA(control, c.message, c.wparam, c.lparam), 0);
        }
        pump();
        EXPECT_EQ(name_of(SendMessageA(control, WM_KEY_GET, 0, 0)), c.name ? c.name : "Enter") << c.wparam;
        std::vector<std::pair<WPARAM, LPARAM>> expected;
        if (c.name)
            expected.push_back({MAKEWPARAM(KEY_ID, 1), reinterpret_cast<LPARAM>(control)});
        EXPECT_EQ(notifications, expected) << c.wparam;
        notifications.clear();
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(KeyInput, SettingReadingDialogCodeAndFocus)
{
    EXPECT_EQ(SendMessageA(control, WM_KEY_GET, 0, 0), 0);   // a new control holds "KB_null"
    EXPECT_EQ(SendMessageA(control, WM_GETDLGCODE, 0, 0), 4);
    const struct { WPARAM set; LRESULT answer; const char *name; } cases[] = {
        {5, 1, "Control+Enter"},
        {367, 1, "Alt_numpad_."},
        {368, 0, "Alt_numpad_."},   // outside the vocabulary: refused, the key stays
        {static_cast<WPARAM>(-1), 0, "Alt_numpad_."},
        {0, 1, "KB_null"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SendMessageA(control, WM_KEY_SET, c.set, 0), c.answer) << c.set;
        EXPECT_EQ(name_of(SendMessageA(control, WM_KEY_GET, 0, 0)), c.name) << c.set;
    }
    pump();
    EXPECT_TRUE(notifications.empty());   // only typed keys are notified

    // The dialog item over the real control.
    C_DT_KEY item(parent, KEY_ID), missing(parent, KEY_ID + 1);
    EXPECT_EQ(item.set_key(F1), 1);
    EXPECT_EQ(item.key(), F1);
    EXPECT_EQ(item.set_key(-1), 0);
    EXPECT_EQ(item.set_key(368), 0);
    EXPECT_EQ(item.key(), F1);
    EXPECT_EQ(missing.set_key(F1), 0);
    EXPECT_EQ(missing.key(), 0);

    SetFocus(parent);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(GetFocus(), control);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(KeyInput, NoMemoryForTheObjectMeansNoWindow)
{
    TU_clear_reports();
    WT_fail_allocation(sizeof(C_UCC_KEY));
    EXPECT_EQ(make_control(), nullptr);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    TU_clear_reports();
}

TEST_F(KeyInput, KeyBoxShowsThePromptAndStoresTheTypedKey)
{
    const std::string long_prompt(100, 'x');
    const int TYPE = TYPING_KEY_BOX::TYPE;
    const struct {
        const char *prompt;
        std::vector<BOX_ANSWERER::STEP> steps;
        int32_t result;
        int16_t key;
        std::string shown;   // the prompt static
    } cases[] = {
        {"Klávesa pro tisk: ", {{KEY_ID, 0, "", 0, 0, TYPE}, {1}}, 1, ENTER, "Klávesa pro tisk: F1"},
        {"Klávesa pro tisk: ", {{1}}, 1, F1, "Klávesa pro tisk: F1"},   // nothing typed: the key shown
        {"Klávesa: ", {{KEY_ID, 0, "", 0, 0, TYPE}, {2}}, 2, F1, "Klávesa: F1"},
        {"Klávesa: ", {{KEY_ID, 0, "", 0, 0, TYPE}, {7}}, 7, F1, "Klávesa: F1"},
        {"Klávesa: ", {{BOX_ANSWERER::CLOSE}}, 2, F1, "Klávesa: F1"},
        {long_prompt.c_str(), {{2}}, 2, F1, std::string(80, 'x') + "F1"},   // the prompt cut to 80
        {nullptr, {{2}}, 2, F1, "F1"},
    };
    for (const auto &c : cases) {
        TYPING_KEY_BOX box(nullptr, "Nastavení klávesy", c.prompt, F1);
        BOX_ANSWERER answer("Nastavení klávesy", c.steps);
        EXPECT_EQ(DIALOG_run_modal(&box), c.result);
        ASSERT_TRUE(answer.found());
        EXPECT_EQ(box.key, c.key);
        EXPECT_EQ(answer.control_text(101), c.shown);
        EXPECT_EQ(answer.control_text(1) + answer.control_text(2), "&O.K.&Storno");
    }
    EXPECT_TRUE(TU_reports().empty());

    C_DW_WM_KB_CHAR wrong(nullptr, "Nastavení klávesy", "?", 368);   // a key outside the vocabulary
    DIALOG_run_modal(&wrong);
    EXPECT_EQ(wrong.key, 368);
    EXPECT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(WT_internal_errors("..\\win\\we"), 1);
    TU_clear_reports();
}
