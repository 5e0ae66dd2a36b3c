// Helpers of the Windows tests: the GUI driver record for one test, real
// boxes and their answerer, dialog templates in memory, a run of the real GUI
// with a recording frame, the report checks, failing system calls and
// allocations.
#pragma once
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "swin/dialog.h"
#include "swin/wgd.h"
#include "swin2/cw.h"
#include "swin2/umain.h"
#include "win/we.h"

// ---- reports ----
// Internal-error reports since the last clear whose text names the source tag (e.g. "..\\swin\\wgd").
int WT_internal_errors(const char *source);
// Whether the reports are exactly count low-memory reports " Málo paměti".
bool WT_only_low_memory(size_t count);
inline bool WT_starts(const std::string &text, const char *prefix) { return text.rfind(prefix, 0) == 0; }
// Asks done every step_ms milliseconds for up to ms milliseconds; whether it came true.
bool WT_wait(const std::function<bool()> &done, int ms, int step_ms = 10);

// ---- allocations ----
// The next count requests of exactly size bytes fail; dropped when the next test starts.
void WT_fail_allocation(size_t size, int count = 1);
int WT_failures_left();   // 0 once all have been met

// ---- system calls ----
// Replaces one function imported by the program's own module (which holds
// the toolkit's calls too) for the life of the object: the way a test makes
// a system call fail. dll like "KERNEL32.dll" (any case).
class IAT_PATCH : C_GUARD {
public:
    IAT_PATCH(const char *dll, const char *function, void *replacement);
    ~IAT_PATCH();   // puts the original back
    bool active() const { return slot_ != nullptr; }
    void *original() const { return original_; }   // to call through from the replacement

private:
    void **slot_ = nullptr;
    void *original_ = nullptr;
};

// ---- windows ----
// A window of a predefined class ("STATIC", "EDIT", ...) of the program's instance.
inline HWND WT_window(const char *cls, const char *title, DWORD style, int x, int y, int w, int h,
                      HWND parent = nullptr)
{
    return CreateWindowExA(0, cls, title, style, x, y, w, h, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}
inline bool operator==(const RECT &a, const RECT &b) { return EqualRect(&a, &b) != FALSE; }
// A child's window rectangle in its parent's client coordinates.
RECT WT_rect_in(HWND parent, HWND child);
void WT_expect_centred(const RECT &r, const RECT &area);   // within a pixel

// While the object lives: a zeroed driver with the program's instance (no WGD_run) ...
class TEST_DRIVER : C_GUARD {
public:
    TEST_DRIVER() : previous_(WGD_driver) { WGD_driver = &driver_, driver_.instance = GetModuleHandleA(nullptr); }
    ~TEST_DRIVER() { WGD_driver = previous_; }
    WGD_DRIVER *operator->() { return &driver_; }

private:
    WGD_DRIVER *previous_;
    WGD_DRIVER driver_{};
};
// ... no report sink: the boxes are real dialogs ...
class REAL_BOXES : C_GUARD {
public:
    REAL_BOXES() : previous_(WE_set_sink(nullptr)) {}
    ~REAL_BOXES() { WE_set_sink(previous_); }

private:
    WE_SINK previous_;
};
// ... the owner lookup of win/we.h gives the window.
struct BOX_OWNER : C_GUARD {
    explicit BOX_OWNER(HWND window);
    ~BOX_OWNER();
};

// A standard dialog template in memory: header, no menu, the default class,
// the title, the font 8 "MS Sans Serif", then the items.
class TEMPLATE_BUILDER {
public:
    TEMPLATE_BUILDER(DWORD style, int16_t cx, int16_t cy, const std::wstring &title)
    {
        put({LOWORD(style | DS_SETFONT), HIWORD(style | DS_SETFONT), 0, 0, 0, 0, 0, WORD(cx), WORD(cy), 0, 0});
        put(title), put({8}), put(L"MS Sans Serif");   // after no menu and the default class
    }
    // A control of a predefined class (0x0080 button, 0x0081 edit, 0x0082
    // static, 0x0083 list box, 0x0084 scroll bar) or of a class given by name.
    TEMPLATE_BUILDER &item(WORD id, WORD cls, DWORD style, int16_t x, int16_t y, int16_t cx, int16_t cy,
                           const std::wstring &text)
    {
        return head(id, style, x, y, cx, cy).put({0xFFFF, cls}).tail(text);
    }
    TEMPLATE_BUILDER &item(WORD id, const std::wstring &cls, DWORD style, int16_t x, int16_t y, int16_t cx,
                           int16_t cy, const std::wstring &text)
    {
        return head(id, style, x, y, cx, cy).put(cls).tail(text);
    }
    const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(words_.data()); }
    int32_t size() const { return static_cast<int32_t>(words_.size() * 2); }

private:
    TEMPLATE_BUILDER &head(WORD id, DWORD style, int16_t x, int16_t y, int16_t cx, int16_t cy)
    {
        words_.resize((words_.size() + 1) / 2 * 2);   // items start on a double word
        style |= WS_CHILD | WS_VISIBLE;
        return put({LOWORD(style), HIWORD(style), 0, 0, WORD(x), WORD(y), WORD(cx), WORD(cy), id});
    }
    TEMPLATE_BUILDER &tail(const std::wstring &text)
    {
        words_[4]++;   // the item count
        return put(text).put({0});   // no creation data
    }
    TEMPLATE_BUILDER &put(std::initializer_list<WORD> words) { return words_.insert(words_.end(), words), *this; }
    TEMPLATE_BUILDER &put(const std::wstring &text)
    {
        words_.insert(words_.end(), text.begin(), text.end());
        return put({0});
    }
    std::vector<WORD> words_;
};

// A dialog that counts its init and can_close calls (refusing the first
// refusals), records its commands, dispatches them to its table when it has
// one, and runs on_after_init once shown.
class TEST_DIALOG : public C_DIALOG {
public:
    explicit TEST_DIALOG(HWND owner_ = nullptr, int32_t number = 0) : C_DIALOG(owner_, number) {}
    int16_t init() override { return init_calls++, init_answer; }
    void after_init() override { if (on_after_init) on_after_init(this); }
    int16_t can_close() override { return can_close_calls++, refusals-- > 0 ? 0 : 1; }
    LRESULT command(UINT message, WPARAM wparam, LPARAM lparam) override
    {
        commands.push_back({message, wparam});
        return table ? DIALOG_dispatch(this, table, message, wparam, lparam) : 0;
    }

    int16_t init_answer = 1;
    int init_calls = 0, can_close_calls = 0, refusals = 0;
    std::vector<std::pair<UINT, WPARAM>> commands;
    const DIALOG_COMMAND *table = nullptr;
    std::function<void(TEST_DIALOG *)> on_after_init;
};

// ---- a run of the real GUI ----
#define WM_FRAME_LATER (WM_USER + 11)

// A client that may refuse to close; its kind is recorded when it is deleted.
class TEST_CLIENT : public C_CW {
public:
    TEST_CLIENT(C_UMAIN *owner, int16_t kind) : C_CW(owner) { client_kind = kind; }
    ~TEST_CLIENT() override { deleted.push_back(client_kind); }
    int16_t can_close() override { return refuse ? 0 : 1; }
    // Uses up the messages numbered eat.
    int16_t pre_translate(MSG *m) override { return eat && m->message == eat ? (eaten++, 1) : 0; }

    int16_t refuse = 0;
    UINT eat = 0;
    int eaten = 0;
    static std::vector<int16_t> deleted;   // kinds, in order of deletion; emptied when a test starts
};

class TEST_FRAME : public C_UMAIN {
public:
    void after_create(WPARAM wparam, LPARAM lparam) override;   // runs the scenario, then closes
    void close_request() override { UMAIN_close_all_clients(this); }
    void create_client(int16_t slot, int16_t kind) override;    // a TEST_CLIENT (kind 0: none)
    void show_status(const char *text) override { statuses.push_back(text); }
    LRESULT command(WPARAM wparam, LPARAM) override { return commands ? (commands->push_back(LOWORD(wparam)), 0) : 0; }
    LRESULT default_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    int16_t kind_of(int16_t slot) const { return clients[slot] ? clients[slot]->client_kind : -1; }

    std::vector<std::string> statuses;      // show_status texts
    int16_t window_stays = 0;               // 1: after_create does not close the frame
    std::vector<int> *commands = nullptr;   // WM_COMMAND ids, when given
    UINT counted = 0;                       // messages of this number dispatched to the frame
    int *count = nullptr;                   // are counted here, when given
    std::function<void()> later;            // runs when WM_FRAME_LATER reaches the frame
};

// WGD_run with a TEST_FRAME whose after_create runs the scenario; afterwards
// every client is made to agree and the frame is closed as the user would
// close it. The exit code of WGD_run.
int32_t FRAME_run(const std::function<void(TEST_FRAME *)> &scenario);

// ---- pictures (tools/screenshots.sh) ----
bool WT_shots();                    // whether pictures are being taken (TRK_SHOTS)
void WT_picture(const char *title); // with WT_shots: waits until the screen has been taken

// ---- answering boxes ----
// Answers the next box or dialog of this process from a second thread, the
// way a person would: finds the dialog by its title, reads its controls'
// texts, types into fields, presses buttons or Esc. A box that is not
// answered within the waiting time (a wrong title, a step that does not end
// it) is cancelled, so that no test blocks on a box. With TRK_SHOTS set
// (tools/screenshots.sh) each box first waits for its picture.
class BOX_ANSWERER : C_GUARD {
public:
    // Pseudo buttons: the Esc key pressed in the focused control, and the
    // close command of the window's system menu.
    static const int ESC = -1;
    static const int CLOSE = -2;

    // One step: optionally set the text of a control and the selection of a
    // list box (the current row of a table), then press a button (its id,
    // ESC or CLOSE): a WM_COMMAND with the id and the notification code, sent
    // and handled before the next step.
    struct STEP {
        int press;
        int set_id = 0;                 // 0: set no text
        std::string set_text = "";      // CP1250
        int select_id = 0, select = 0;  // 0: select nothing
        int code = BN_CLICKED;
    };

    // Waits (up to 20 s) for a visible dialog titled title ("": any dialog of
    // the process) and presses button, or takes the steps.
    BOX_ANSWERER(const char *title, int button) : BOX_ANSWERER(title, std::vector<STEP>{{button}}) {}
    BOX_ANSWERER(const char *title, std::vector<STEP> steps)
        : thread_(&BOX_ANSWERER::run, this, std::string(title), steps)
    {
    }
    ~BOX_ANSWERER() { thread_.join(); }

    bool found() const { return found_; }
    // The system box's message text (control 0xFFFF) as first seen (CP1250).
    std::string text() const { return control_text(0xFFFF); }
    // The text of a control before the given step (0: as first seen; a step
    // past the last: after the last step, when the box was still open); ""
    // when there was no such control. A list box gives its lines, each
    // followed by "|", and "#" with the selected index; a table the same of
    // its first column, and "#" with the current row.
    std::string control_text(int id, size_t step = 0) const;
    bool has_control(int id, size_t step = 0) const;   // whether it existed before the step
    HWND owner() const { return owner_; }
    RECT rect() const { return rect_; }   // the box's window rectangle as first seen
    // Whether the given window was enabled while the box was up.
    void watch_window(HWND window) { watched_ = window; }
    bool watched_was_enabled() const { return watched_enabled_; }

private:
    void run(std::string title, std::vector<STEP> steps);
    void snapshot();

    std::vector<std::map<int, std::string>> texts_;
    HWND owner_ = nullptr;
    HWND box_ = nullptr;
    RECT rect_{0, 0, 0, 0};
    std::atomic<HWND> watched_{nullptr};
    bool watched_enabled_ = true;
    std::atomic<bool> found_{false};
    std::thread thread_;   // last: starts when everything else is made
};

// ---- child programs ----
struct CHILD_RUN {
    DWORD code = static_cast<DWORD>(-1);   // -1: did not start or had to be ended
    std::vector<std::string> boxes;         // the texts of the boxes answered
    std::chrono::steady_clock::time_point ended;
};
// Runs the program file with the arguments in the directory and answers its
// boxes titled title with the buttons, one after the other (posted, never
// sent); waits up to a minute for its end. With an output file, the
// program's standard output and error go there.
CHILD_RUN WT_run_child(const std::string &program, const std::string &arguments, const std::string &directory,
                       const char *title, const std::vector<int> &buttons = {}, const std::string &output = "");

// ---- distributions ----
// Runs trakdist with the arguments (after the program name), its output
// dropped; its exit code.
int WT_trakdist(std::vector<std::string> args);
