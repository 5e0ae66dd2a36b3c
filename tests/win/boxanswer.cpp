#include "tests/win/boxanswer.h"

#include <chrono>

namespace {

struct SEARCH {
    const std::string *title;
    HWND found;
};

BOOL CALLBACK match_box(HWND window, LPARAM data)
{
    SEARCH *s = reinterpret_cast<SEARCH *>(data);
    char cls[32] = {}, title[256] = {};
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && *s->title == title &&
        std::string(cls) == "#32770") {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

BOX_ANSWERER::BOX_ANSWERER(const char *title, int button)
    : thread_(&BOX_ANSWERER::run, this, std::string(title), button)
{
}

BOX_ANSWERER::~BOX_ANSWERER()
{
    thread_.join();
}

void BOX_ANSWERER::run(std::string title, int button)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    SEARCH s{&title, nullptr};
    while (!s.found && std::chrono::steady_clock::now() < until) {
        EnumWindows(match_box, reinterpret_cast<LPARAM>(&s));
        if (!s.found)
            Sleep(20);
    }
    if (!s.found)
        return;
    char text[1024] = {};
    GetDlgItemTextA(s.found, 0xFFFF, text, sizeof text);   // the box's message text
    text_ = text;
    owner_ = GetWindow(s.found, GW_OWNER);
    if (HWND w = watched_.load())
        watched_enabled_ = IsWindowEnabled(w) != FALSE;
    found_ = true;
    PostMessageA(s.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}
