// The key-input control driven by its messages, its dialog item, and the key box answered from a second thread.
#include "swin/dtools.h"
#include "swin/ucc_key.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "util/voc.h"
#include "win/we_boxes.h"

namespace {

const int KEY_ID = 100;
const int16_t ENTER = 2, F1 = 66;   // key codes of the vocabulary

std::string name_of(LRESULT key) { const char *n = VOC_key_name(int16_t(key)); return n ? n : "(none)"; }

enum { HELD_SHIFT = 1, HELD_CTRL = 2, HELD_ALT = 4 };

// Sends the message with Shift, Ctrl and Alt held as GetKeyState sees them on this thread.
LRESULT send_held(HWND w, UINT message, WPARAM wparam, LPARAM lparam, int held)
{
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    GetKeyboardState(state);
    state[VK_SHIFT] = held & HELD_SHIFT ? 0x80 : 0;
    state[VK_CONTROL] = held & HELD_CTRL ? 0x80 : 0;
    state[VK_MENU] = held & HELD_ALT ? 0x80 : 0;
    SetKeyboardState(state);
    const LRESULT result = SendMessageA(w, message, wparam, lparam);
    SetKeyboardState(saved);
    return result;
}

typedef std::vector<std::pair<WPARAM, LPARAM>> NOTES;
// The WM_COMMANDs posted to the window and not yet taken.
NOTES posted(HWND w)
{
    NOTES got;
    for (MSG m; PeekMessageA(&m, w, WM_COMMAND, WM_COMMAND, PM_REMOVE);)
        got.push_back({m.wParam, m.lParam});
    return got;
}

class KeyInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UCC_KEY_register(GetModuleHandleA(nullptr)), 1);
        parent = WT_window("STATIC", "rodič", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 100);
        ASSERT_NE(control = make_control(), nullptr);
        posted(parent);
    }
    void TearDown() override { DestroyWindow(parent); }
    HWND make_control()
    {
        return CreateWindowExA(0, UCC_KEY_CLASS_NAME, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 200, 20, parent,
                               HMENU(INT_PTR(KEY_ID)), GetModuleHandleA(nullptr), nullptr);
    }
    TEST_DRIVER driver;
    HWND parent = nullptr, control = nullptr;
};

// A key box that types Enter into its key control, through the dialog's keyboard handling, on command TYPE.
class TYPING_KEY_BOX : public C_DW_WM_KB_CHAR {
public:
    static const int TYPE = 0x7F;
    using C_DW_WM_KB_CHAR::C_DW_WM_KB_CHAR;
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override
    {
        if (message != WM_COMMAND || wparam != MAKEWPARAM(KEY_ID, TYPE))
            return C_DW_WM_KB_CHAR::command(message, wparam, lparam);
        MSG m{GetDlgItem(window, KEY_ID), WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
        if (!IsDialogMessageA(window, &m))
            DispatchMessageA(&m);
        return 1;
    }
};

}  // namespace

TEST_F(KeyInput, TypedKeysNotifiedSetKeysSilentDialogItemFocusAndMemory)
{
    ASSERT_EQ(TU_V({SendMessageA(control, WM_KEY_GET, 0, 0), SendMessageA(control, WM_GETDLGCODE, 0, 0)}),
              TU_V({0, 4}));   // a new control holds "KB_null"
    const LPARAM ALT_CONTEXT = 1 << 29;
    const struct { UINT message; WPARAM wparam; LPARAM lparam; int held; const char *name; } cases[] = {
        {WM_KEYDOWN, VK_F1, 0, 0, "F1"},              {WM_KEYDOWN, VK_F1, 0, HELD_SHIFT, "Shift+F1"},
        {WM_KEYDOWN, 'A', 0, HELD_CTRL, "Control+A"}, {WM_KEYDOWN, VK_HOME, 0, HELD_ALT, "Alt+Home"},
        {WM_SYSKEYDOWN, VK_F7, ALT_CONTEXT, 0, "Alt+F7"},   // Alt only in the context bit
        {WM_SYSKEYDOWN, VK_F10, 0, 0, "F10"},               // F10 alone is a system key too
        {WM_CHAR, 0xE8, 0, 0, "c_s_háčkem"},          {WM_SYSCHAR, 'z', ALT_CONTEXT, 0, "Alt+Z"},
        // No toolkit code: code 0, told as any other key; but the character of
        // a key-down that had a code leaves the key, untold (nullptr).
        {WM_KEYDOWN, VK_SHIFT, 0, HELD_SHIFT, "KB_null"}, {WM_CHAR, '\r', 0, 0, "KB_null"},
        {WM_KEYDOWN, VK_RETURN, 0, 0, "Enter"},        {WM_CHAR, '\r', 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(SendMessageA(control, WM_KEY_SET, ENTER, 0), 1);
        EXPECT_EQ(send_held(control, c.message, c.wparam, c.lparam, c.held), 0);
        EXPECT_EQ(name_of(SendMessageA(control, WM_KEY_GET, 0, 0)), c.name ? c.name : "Enter") << c.wparam;
        EXPECT_EQ(posted(parent), NOTES(c.name ? 1 : 0, {MAKEWPARAM(KEY_ID, 1), LPARAM(control)})) << c.wparam;
    }
    const struct { WPARAM set; LRESULT answer; const char *name; } sets[] = {
        // the last code; outside the vocabulary: refused, the key stays
        {367, 1, "Alt_numpad_."}, {368, 0, "Alt_numpad_."}, {WPARAM(-1), 0, "Alt_numpad_."}, {0, 1, "KB_null"},
    };
    for (const auto &c : sets) {
        EXPECT_EQ(SendMessageA(control, WM_KEY_SET, c.set, 0), c.answer) << c.set;
        EXPECT_EQ(name_of(SendMessageA(control, WM_KEY_GET, 0, 0)), c.name) << c.set;
    }
    EXPECT_TRUE(posted(parent).empty()) << "only typed keys are notified";
    C_DT_KEY item(parent, KEY_ID), missing(parent, KEY_ID + 1);   // dialog items over the real control and none
    EXPECT_EQ(TU_V({item.set_key(F1), item.set_key(-1), item.key(), missing.set_key(F1), missing.key()}),
              TU_V({1, 0, F1, 0, 0}));
    SetFocus(parent);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(GetFocus(), control);
    WT_fail_allocation(sizeof(C_UCC_KEY));   // no memory for the object: no window
    EXPECT_EQ(TU_V({make_control() != nullptr, WT_failures_left(), WT_only_low_memory(1)}), TU_V({0, 0, 1}));
}

TEST_F(KeyInput, KeyBoxShowsThePromptAndStoresTheTypedKey)
{
    const std::string long_prompt(100, 'x');
    const BOX_ANSWERER::STEP TYPE{KEY_ID, 0, "", 0, 0, TYPING_KEY_BOX::TYPE};
    const struct { const char *prompt; std::vector<BOX_ANSWERER::STEP> steps; int64_t result, key; std::string shown; }
        cases[] = {   // shown: the prompt static
        {"Klávesa pro tisk: ", {TYPE, {1}}, 1, ENTER, "Klávesa pro tisk: F1"},
        {"Klávesa pro tisk: ", {{1}}, 1, F1, "Klávesa pro tisk: F1"},   // nothing typed: the key shown
        {"Klávesa: ", {TYPE, {2}}, 2, F1, "Klávesa: F1"},
        {"Klávesa: ", {TYPE, {7}}, 7, F1, "Klávesa: F1"},
        {long_prompt.c_str(), {{2}}, 2, F1, std::string(80, 'x') + "F1"},   // the prompt cut to 80
        {nullptr, {{2}}, 2, F1, "F1"},
    };
    for (const auto &c : cases) {
        TYPING_KEY_BOX box(nullptr, "Nastavení klávesy", c.prompt, F1);
        BOX_ANSWERER answer("Nastavení klávesy", c.steps);
        EXPECT_EQ(TU_V({DIALOG_run_modal(&box), box.key}), TU_V({c.result, c.key}));
        ASSERT_TRUE(answer.found());
        EXPECT_EQ(answer.control_text(101) + "|" + answer.control_text(1) + answer.control_text(2),
                  c.shown + "|&O.K.&Storno");
    }
    EXPECT_TRUE(TU_reports().empty());

    C_DW_WM_KB_CHAR wrong(nullptr, "Nastavení klávesy", "?", 368);   // a key outside the vocabulary
    DIALOG_run_modal(&wrong);
    EXPECT_TRUE(TU_one_error("..\\win\\we"));
}
