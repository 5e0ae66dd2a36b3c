// The installer window in the installer's frame: its controls after
// building, the path fields and toggles, an installation that fails and one
// that succeeds from the start button, and the frame closed while an
// installation runs. Boxes go to the recording sink, which answers "yes".
#include <functional>

#include "common/fe.h"
#include "common/st.h"
#include "inst/ifl.h"
#include "menu/itrk.h"
#include "swin2/ucc_titl.h"
#include "tests/testutil.h"
#include "tests/win/instutil.h"
#include "tests/win/winutil.h"
#include "win/instmtrk.h"

namespace {

std::function<void(C_SW_ITRK *)> scenario;

// The installer's frame that runs the scenario once its window is built.
class SCENARIO_FRAME : public C_INSTMTRK {
public:
    void after_create(WPARAM wparam, LPARAM lparam) override
    {
        C_INSTMTRK::after_create(wparam, lparam);
        WGD_pump_messages();   // the posted client request
        scenario(dynamic_cast<C_SW_ITRK *>(top_client()));
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
};

void run(const std::function<void(C_SW_ITRK *)> &s)
{
    scenario = s;
    EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, []() -> C_UMAIN * { return new ("test", 0) SCENARIO_FRAME(); }), 0);
}

std::string text(C_SW_ITRK *w, int32_t id)
{
    char t[300] = {};
    w->get_widget_text(id, t, 299);
    return t;
}

// Which of the controls 7, 8, 10, 11, 12, 13, 14, 15, 16 are enabled.
std::string enabled(C_SW_ITRK *w)
{
    std::string s;
    for (int32_t id : {7, 8, 10, 11, 12, 13, 14, 15, 16})
        s += w->find_widget(id)->is_enabled() ? '1' : '0';
    return s;
}

void click(C_SW_ITRK *w, int32_t id, int code = BN_CLICKED)
{
    SendMessageA(w->window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(w->find_widget(id)->window));
}

// A flat distribution of one program file in the folder.
void distribution(const std::string &folder)
{
    inst_check::build(folder, {{"TRAKPRN.EXE", "EXE", "Program", "MZ program"}}, {"--flat"}, false);
}

// The paths as typed: the fields hold them (a field that loses the focus
// gives its text to the state), and so does the state.
void set_paths(C_SW_ITRK *w, const std::string &source, const std::string &target)
{
    SetWindowTextA(w->find_widget(7)->window, source.c_str());
    SetWindowTextA(w->find_widget(10)->window, target.c_str());
    ST_copy(w->state->source_dir, source.c_str(), IFL_PATH_MAX);
    ST_copy(w->state->target_dir, target.c_str(), IFL_PATH_MAX);
}

}  // namespace

TEST(Itrk, BuiltWithItsTextsPathsAndChoices)
{
    TU_clear_reports();
    run([](C_SW_ITRK *w) {
        ASSERT_NE(w, nullptr);
        char title[100] = {};
        GetWindowTextA(w->frame(), title, sizeof title);
        EXPECT_STREQ(title, ITRK_TITLE);
        EXPECT_EQ(text(w, 1), "Konverze Gerber->Postscript");
        const HWND title_control = w->find_widget(1)->window;
        EXPECT_STREQ(reinterpret_cast<C_UCC_TITLE *>(GetWindowLongPtrA(title_control, 0))->font_name, "Times New Roman");
        EXPECT_EQ(text(w, 14), "&Start instalace");
        EXPECT_EQ(text(w, 18), "Blahopřejeme Vám k pořízení konverzního programu Gerber -> Postscript.");
        EXPECT_EQ(text(w, 21), "Případná předchozí instalace na cílové cestě bude před novou instalací odinstalována");
        EXPECT_EQ(text(w, 10), "C:\\TRAKPRN\\");
        EXPECT_EQ(text(w, 7), w->state->source_dir);
        EXPECT_EQ(enabled(w), w->quick_launch_available ? "111111110" : "111110110");
        EXPECT_EQ(w->get_widget_state(12), 1);
        EXPECT_EQ(w->find_widget(14)->default_button, 1);

        // A path with a drive letter gets its backslash; one without is refused.
        w->set_widget_text(10, "D:\\Programy");
        click(w, 10, EN_KILLFOCUS);
        EXPECT_EQ(std::string(w->state->target_dir), "D:\\Programy\\");
        w->set_widget_text(10, "\\\\server\\KRV5");
        click(w, 10, EN_KILLFOCUS);
        EXPECT_EQ(text(w, 10), "D:\\Programy\\");
        const std::string long_path = "D:\\" + std::string(200, 'p');   // more than an edit widget keeps
        SetWindowTextA(w->find_widget(10)->window, long_path.c_str());
        click(w, 10, EN_KILLFOCUS);
        EXPECT_EQ(std::string(w->state->target_dir), long_path + "\\");
        click(w, 12);
        EXPECT_EQ(w->get_widget_state(12), 0);
        click(w, 12);
        EXPECT_EQ(w->get_widget_state(12), 1);

        // The table takes 200 handlers and refuses more.
        int16_t added = 1;
        for (int i = 0; added; i++)
            added = w->add_handler(1000 + i, 0, &C_SW_ITRK::on_abort);
        EXPECT_EQ(std::count_if(std::begin(w->handlers), std::end(w->handlers),
                                [](const ITRK_ENTRY &e) { return e.handler != nullptr; }),
                  ITRK_HANDLERS);
    });
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Itrk, FailedThenSuccessfulInstallationFromTheStartButton)
{
    TU_SCRATCH scratch;
    inst_check::SHELL_CLEANUP shell;
    distribution(scratch.file("dist"));
    TU_clear_reports();
    run([&](C_SW_ITRK *w) {
        ASSERT_NE(w, nullptr);
        set_paths(w, scratch.file("dist") + "\\", "Q:\\KRV5\\");
        click(w, 12);   // no desktop shortcut
        click(w, 14);
        ASSERT_EQ(TU_reports().size(), 1u);
        EXPECT_EQ(TU_reports()[0].text, "Nelze najít disk Q:");
        EXPECT_EQ(enabled(w), w->quick_launch_available ? "111111110" : "111110110");

        TU_clear_reports();
        std::string target = scratch.file("KRV5") + "\\";
        set_paths(w, scratch.file("dist") + "\\", target);
        click(w, 14);
        EXPECT_EQ(TU_count(WE_KIND_ERROR), 1);   // no uninstall program in this distribution
        EXPECT_EQ(TU_read(target + "EXE\\TRAKPRN.EXE"), "MZ program");
        EXPECT_EQ(enabled(w), "000000010");
        EXPECT_EQ(w->find_widget(15)->default_button, 1);
        EXPECT_EQ(text(w, 18), "Instalace proběhla úspěšně. ");
        EXPECT_EQ(text(w, 20), "\"Start | Programy | TOREVAN\" kliknutím na ikonu TRAKPRN.");
        EXPECT_FALSE(FE_exists((inst_check::desktop() + "\\TRAKPRN.LNK").c_str()));
        SetCurrentDirectoryA(scratch.path().c_str());
    });
}

// The end of the session asked for while the target is checked.
HWND session_frame = nullptr;
LRESULT session_answer = -1;
void ask_for_the_session(const char *status)
{
    if (std::string(status) == "Kontrola cílové cesty ...")
        session_answer = SendMessageA(session_frame, WM_QUERYENDSESSION, 0, 0);
}

// A close while an installation runs, from the close box or from another
// program (WM_CLOSE, as Task Manager's "End task"): the window stays, the
// session may not end, "Přerušit instalaci ?" comes at the next check; "Ano"
// ends the program after the installation stopped, "Ne" calls the close off.
TEST(Itrk, ClosingTheFrameDuringAnInstallationAsksFirst)
{
    const struct { UINT message; WPARAM wparam; int answer; int16_t closes; } cases[] = {
        {WM_SYSCOMMAND, SC_CLOSE, 1, 1}, {WM_CLOSE, 0, 1, 1}, {WM_CLOSE, 0, 7, 0}, {WM_SYSCOMMAND, SC_CLOSE, 7, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.message) + " " + std::to_string(c.answer));
        TU_SCRATCH scratch;
        distribution(scratch.file("dist"));
        TU_clear_reports();
        TU_set_answer(c.answer);
        session_answer = -1;
        bool stayed = false;
        int16_t closes = -1;
        LRESULT session_after = -1;
        run([&](C_SW_ITRK *w) {
            ASSERT_NE(w, nullptr);
            session_frame = w->frame();
            set_paths(w, scratch.file("dist") + "\\", scratch.file("KRV5") + "\\");
            PostMessageA(w->frame(), c.message, c.wparam, 0);   // seen at the first abort check
            WE_set_status_hook(ask_for_the_session);             // in place of the status bar
            click(w, 14);
            stayed = IsWindow(w->window) && IsWindow(w->frame());
            closes = w->close_when_done;
            session_after = SendMessageA(w->frame(), WM_QUERYENDSESSION, 0, 0);
            SetCurrentDirectoryA(scratch.path().c_str());
        });
        WE_set_status_hook(nullptr);
        TU_set_answer(1);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(session_answer, 0);
        EXPECT_EQ(session_after, 1);
        EXPECT_EQ(closes, c.closes);
        std::string questions;   // the distribution has no uninstall program: that is said too
        for (const TU_REPORT &r : TU_reports())
            questions += r.kind == WE_KIND_QUESTION ? r.text + "\n" : "";
        EXPECT_EQ(questions, "Přerušit instalaci ?\n");
        EXPECT_EQ(TU_exists(scratch.file("KRV5\\EXE\\TRAKPRN.EXE")), !c.closes);
    }
}

TEST(Itrk, WithoutMemoryForItsStateOnlyTheWayOut)
{
    TU_clear_reports();
    WT_fail_allocation(sizeof(IFL_state));
    run([](C_SW_ITRK *w) {
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->state, nullptr);
        EXPECT_EQ(text(w, 6), "Pro instalaci není dost paměti.");
        EXPECT_EQ(text(w, 15), "&Konec");
        EXPECT_TRUE(w->find_widget(15)->is_enabled());
        for (int32_t id : {7, 8, 10, 11, 12, 13, 14, 16, 18})
            EXPECT_EQ(w->find_widget(id), nullptr) << id;
        click(w, 15);   // the close request, as from the frame
    });
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
}

TEST(Itrk, TheKeyboardAfterBoxesAndTheBrowserAndEveryTextReadableAtTheFramesSize)
{
    TU_clear_reports();
    run([](C_SW_ITRK *w) {
        ASSERT_NE(w, nullptr);
        set_paths(w, "A:\\", "Q:\\KRV5\\");
        // A key as the main loop gives it to the screen: to the focused window, else to the frame.
        auto key = [&](WPARAM k) {
            MSG m{GetFocus() ? GetFocus() : w->frame(), WM_KEYDOWN, k, 0, 0, {0, 0}};
            return w->pre_translate(&m);
        };
        auto focused = [] { return GetDlgCtrlID(GetFocus()); };
        const struct { const char *what; std::function<void()> act; WPARAM key; TU_V focus; } steps[] = {
            // the focus after the step, whether the key was used, the focus after the key
            {"a box closed", [&] { REAL_BOXES real; BOX_ANSWERER box("", IDOK); WE_error("Zkouška"); }, VK_TAB,
             {8, 1, 10}},
            {"the folder browser cancelled", [&] { BOX_ANSWERER browser("", IDCANCEL); click(w, 8); }, VK_RETURN,
             {8, 1, 7}},   // the installation started, failed, and gave the first field the focus
        };
        for (const auto &s : steps) {
            w->focus_widget(8);
            s.act();
            const int before = focused();
            const int used = key(s.key);
            EXPECT_EQ(TU_V({before, used, focused()}), s.focus) << s.what;
        }
        EXPECT_EQ(TU_reports().size(), 1u);   // "Nelze najít disk Q:" of the installation
        TU_clear_reports();

        // At the frame's own size every text fits its control, no line wraps, no scroll bar shows.
        for (int32_t id : {12, 13, 18, 19, 20, 21}) {
            const HWND control = w->find_widget(id)->window;
            char t[300] = "";
            GetWindowTextA(control, t, sizeof t);
            RECT needed{0, 0, 0, 0}, client;
            {
                C_WINDOW_DC dc(control);
                C_SELECT chosen(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
                DrawTextA(dc, t, -1, &needed, DT_CALCRECT | DT_SINGLELINE);
            }
            GetClientRect(control, &client);
            const LONG box = id < 18 ? GetSystemMetrics(SM_CXMENUCHECK) : 0;
            const LONG wraps = id < 18 ? 0 : (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
            EXPECT_EQ(TU_V({needed.right <= client.right - box, wraps}), TU_V({1, 0})) << id << " " << t;
        }
        EXPECT_EQ(GetWindowLongA(w->window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
        // Every control is laid out again when the size changes.
        const RECT small = WT_rect_in(w->window, w->find_widget(14)->window);
        SetWindowPos(w->frame(), nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOMOVE);
        EXPECT_NE(WT_rect_in(w->window, w->find_widget(14)->window).right, small.right);
    });
    EXPECT_TRUE(TU_reports().empty());
}
