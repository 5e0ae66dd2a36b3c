#include "tests/win/boxanswer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

struct SEARCH {
    const std::string *title;   // null: any dialog of the process
    HWND found;
};

bool is_process_dialog(HWND window)
{
    char cls[32] = {};
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    GetClassNameA(window, cls, sizeof cls);
    return pid == GetCurrentProcessId() && IsWindowVisible(window) && std::string(cls) == "#32770";
}

BOOL CALLBACK match_box(HWND window, LPARAM data)
{
    SEARCH *s = reinterpret_cast<SEARCH *>(data);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (is_process_dialog(window) && (!s->title || s->title->empty() || *s->title == title)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND find_box(const std::string *title)
{
    SEARCH s{title, nullptr};
    EnumWindows(match_box, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

BOOL CALLBACK read_control(HWND control, LPARAM data)
{
    auto *texts = reinterpret_cast<std::map<int, std::string> *>(data);
    char text[1024] = {}, cls[32] = {};
    GetClassNameA(control, cls, sizeof cls);
    std::string value;
    if (lstrcmpiA(cls, "ListBox") == 0) {
        LRESULT count = SendMessageA(control, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; i++) {
            SendMessageA(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            value += std::string(text) + "|";
        }
        value += "#" + std::to_string(SendMessageA(control, LB_GETCURSEL, 0, 0));
    } else {
        GetWindowTextA(control, text, sizeof text);
        value = text;
    }
    (*texts)[GetDlgCtrlID(control) & 0xFFFF] = value;
    return TRUE;
}

// Cancels every dialog of the process until none is left (a box the test
// did not answer must not block the run).
void cancel_leftovers()
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        HWND box = find_box(nullptr);
        if (!box)
            return;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        Sleep(100);
    }
}

// With TRK_SHOTS naming a directory (tools/screenshots.sh), each box waits
// for its picture: the title goes into <dir>\ready and the box stays until
// the script has taken the screen and removed the file.
void wait_for_picture(const std::string &title)
{
    const char *dir = std::getenv("TRK_SHOTS");
    if (!dir || !*dir)
        return;
    Sleep(300);   // painted
    std::string ready = std::string(dir) + "\\ready";
    if (FILE *f = std::fopen(ready.c_str(), "wb")) {
        std::fwrite(title.data(), 1, title.size(), f);
        std::fclose(f);
    }
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (GetFileAttributesA(ready.c_str()) != INVALID_FILE_ATTRIBUTES && std::chrono::steady_clock::now() < until)
        Sleep(50);
}

}  // namespace

BOX_ANSWERER::BOX_ANSWERER(const char *title, int button)
    : BOX_ANSWERER(title, std::vector<STEP>{STEP(button)})
{
}

BOX_ANSWERER::BOX_ANSWERER(const char *title, std::vector<STEP> steps)
    : thread_(&BOX_ANSWERER::run, this, std::string(title), std::move(steps))
{
}

BOX_ANSWERER::~BOX_ANSWERER()
{
    thread_.join();
}

std::string BOX_ANSWERER::control_text(int id, size_t step) const
{
    if (step >= texts_.size())
        return "";
    auto it = texts_[step].find(id);
    return it == texts_[step].end() ? "" : it->second;
}

bool BOX_ANSWERER::has_control(int id, size_t step) const
{
    return step < texts_.size() && texts_[step].count(id) > 0;
}

void BOX_ANSWERER::snapshot()
{
    std::map<int, std::string> texts;
    EnumChildWindows(box_, read_control, reinterpret_cast<LPARAM>(&texts));
    texts_.push_back(texts);
}

void BOX_ANSWERER::run(std::string title, std::vector<STEP> steps)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    HWND box = nullptr;
    while (!box && std::chrono::steady_clock::now() < until) {
        box = find_box(&title);
        if (!box)
            Sleep(20);
    }
    if (!box) {
        cancel_leftovers();
        return;
    }
    box_ = box;
    GetWindowRect(box, &rect_);
    owner_ = GetWindow(box, GW_OWNER);
    if (HWND w = watched_.load())
        watched_enabled_ = IsWindowEnabled(w) != FALSE;
    snapshot();
    found_ = true;
    wait_for_picture(title);
    for (size_t i = 0; i < steps.size() && IsWindow(box); i++) {
        const STEP &step = steps[i];
        if (step.set_id)
            SendDlgItemMessageA(box, step.set_id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.set_text.c_str()));
        if (step.select_id)
            SendDlgItemMessageA(box, step.select_id, LB_SETCURSEL, static_cast<WPARAM>(step.select), 0);
        if (step.press == ESC) {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
            HWND focus = info.hwndFocus ? info.hwndFocus : box;
            PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(focus, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
        } else if (step.press == CLOSE) {
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(step.press, step.code),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, step.press)));
        }
        if (i + 1 < steps.size() || (step.press != ESC && step.press != CLOSE)) {
            if (IsWindow(box) && IsWindowVisible(box))
                snapshot();
        }
    }
    // Whatever the steps did, the box must go.
    auto gone = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (IsWindow(box) && IsWindowVisible(box) && std::chrono::steady_clock::now() < gone)
        Sleep(20);
    if (IsWindow(box) && IsWindowVisible(box))
        cancel_leftovers();
}
