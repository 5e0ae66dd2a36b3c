// TRKDRIVE: operates a running program's window from outside, as a person
// would, by a script of one command per line (UTF-8; "#" starts a comment):
//
//   timeout S                  seconds each later step may wait (default 30)
//   window TITLE               waits for the top-level window titled TITLE
//   text ID TEXT               waits until control ID shows TEXT ("~TEXT": contains it)
//   enabled ID,ID,... FLAGS    waits until the controls are enabled (1) or not (0)
//   checked ID 0|1             waits until the check box is (not) checked
//   set ID TEXT                types TEXT into the field and leaves it
//   press ID                   clicks the (enabled) button or check box
//   box TITLE | TEXT           waits for a message box titled TITLE whose text starts with TEXT
//   answer TITLE | TEXT | BUTTON   ... and presses its button (its text without "&")
//   pick PATH                  picks PATH in the folder browser and confirms it
//   pick                       cancels the folder browser
//   close                      the window's close box
//   gone                       waits until the window has gone
//   shot FILE                  a PNG picture of the window (before one: of the screen)
//
// Every wait ends with a failure after the timeout: the step, the texts of
// the windows seen and a picture of the screen (the file named after the
// script, or the second argument) go out. Clicks and answers are posted,
// never sent: a sent click that opens a box would stop the driver with it.
// Texts come in code page 1250 and go out in UTF-8. Exit code 0 when every
// step was done, 1 otherwise.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/config.h"
#include "common/u8.h"
#include "tools/drive/shot.h"

namespace {

// A line of the program's texts (CP1250) in UTF-8.
void say(const char *format, ...) TRK_PRINTF(1, 2);
void say(const char *format, ...)
{
    char text[8192];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string utf8 = U8_from_cp1250(text) + "\n";
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

// A window's text through WM_GETTEXT; a program busy for two seconds gives "".
std::string text_of(HWND w)
{
    char buffer[4096] = "";
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(w, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                             &got))
        return "";
    return std::string(buffer, got < sizeof buffer ? got : sizeof buffer - 1);
}

std::string class_of(HWND w)
{
    char name[64] = "";
    GetClassNameA(w, name, sizeof name);
    return name;
}

std::vector<HWND> children(HWND parent)
{
    std::vector<HWND> all;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM list) {
            reinterpret_cast<std::vector<HWND> *>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

std::vector<HWND> top_windows()
{
    std::vector<HWND> all;
    EnumWindows(
        [](HWND w, LPARAM list) {
            if (IsWindowVisible(w))
                reinterpret_cast<std::vector<HWND> *>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

std::string without_ampersand(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    return s;
}

// The message text of a box: its static texts, one per line.
std::string box_text(HWND box)
{
    std::string text;
    for (HWND c : children(box))
        if (class_of(c) == "Static") {
            std::string t = text_of(c);
            if (!t.empty())
                text += (text.empty() ? "" : "\n") + t;
        }
    return text;
}

bool is_dialog(HWND w) { return class_of(w) == "#32770"; }

class DRIVER {
public:
    explicit DRIVER(std::string picture) : picture_(std::move(picture)) {}
    // Runs the script's lines; 1 when every step was done.
    int run(std::istream &script);

private:
    bool step(const std::string &command, const std::string &rest);
    bool wait(const std::function<bool()> &done);
    bool fail(const std::string &why);
    HWND control(int id);
    HWND find_box(const std::string &title, const std::string &text);
    bool press_button(HWND button);
    bool pick(std::string path);
    void report();

    std::string picture_, line_, why_;
    HWND window_ = nullptr;
    int seconds_ = 30, number_ = 0;
};

bool DRIVER::wait(const std::function<bool()> &done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds_);
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool DRIVER::fail(const std::string &why)
{
    why_ = why;
    return false;
}

// The descendant of the window with the control id.
HWND DRIVER::control(int id)
{
    if (!window_ || !IsWindow(window_))
        return nullptr;
    for (HWND c : children(window_))
        if (GetDlgCtrlID(c) == id && IsWindowVisible(c))
            return c;
    return nullptr;
}

HWND DRIVER::find_box(const std::string &title, const std::string &text)
{
    for (HWND w : top_windows())
        if (is_dialog(w) && text_of(w) == title && box_text(w).rfind(text, 0) == 0)
            return w;
    return nullptr;
}

bool DRIVER::press_button(HWND button)
{
    if (!IsWindowEnabled(button))
        return fail("prvek je zakázaný");
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

// The text of the tree's selected item, read through a record in the
// tree's process at remote (a TVITEMA, then room for the text).
std::string selected_item(HWND tree, HANDLE process, char *remote)
{
    DWORD_PTR item = 0;
    if (!SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG, 2000, &item) || !item)
        return "";
    TVITEMA record{};
    record.mask = TVIF_TEXT;
    record.hItem = reinterpret_cast<HTREEITEM>(item);
    record.pszText = remote + sizeof record;
    record.cchTextMax = MAX_PATH;
    char text[MAX_PATH + 1] = "";
    DWORD_PTR got = 0;
    if (!WriteProcessMemory(process, remote, &record, sizeof record, nullptr) ||
        !SendMessageTimeoutA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &got) ||
        !ReadProcessMemory(process, remote + sizeof record, text, MAX_PATH, nullptr))
        return "";
    return text;
}

// The browser's own selection message, with the path in the browser's
// process, until its tree shows the folder selected (a browser still filling
// its tree drops it); then its OK button. No path: its cancel button.
bool DRIVER::pick(std::string path)
{
    HWND browser = nullptr, tree = nullptr;
    if (!wait([&] {
            for (HWND w : top_windows())
                if (is_dialog(w))
                    for (HWND c : children(w))
                        if (class_of(c) == "SysTreeView32") {
                            tree = c;
                            return (browser = w) != nullptr;
                        }
            return false;
        }))
        return fail("není otevřen výběr složky");
    if (path.empty()) {
        PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return wait([&] { return !IsWindow(browser); }) || fail("výběr složky nezmizel");
    }
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    DWORD pid = 0;
    GetWindowThreadProcessId(browser, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return fail("proces výběru složky nelze otevřít");
    const size_t record_size = sizeof(TVITEMA) + MAX_PATH + 1;
    auto *remote = static_cast<char *>(
        VirtualAllocEx(process, nullptr, record_size + path.size() + 1, MEM_COMMIT, PAGE_READWRITE));
    char *remote_path = remote + record_size;
    bool taken = remote && WriteProcessMemory(process, remote_path, path.c_str(), path.size() + 1, nullptr) &&
                 wait([&] {
                     DWORD_PTR result = 0;
                     SendMessageTimeoutA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote_path),
                                         SMTO_ABORTIFHUNG, 2000, &result);
                     return lstrcmpiA(selected_item(tree, process, remote).c_str(), name.c_str()) == 0;
                 });
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!taken)
        return fail("výběr složky cestu nepřijal");
    HWND ok = GetDlgItem(browser, IDOK);
    if (!ok || !wait([&] { return IsWindowEnabled(ok) != 0; }))
        return fail("tlačítko OK výběru složky zůstává zakázané");
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    return true;
}

std::vector<std::string> split(const std::string &s, const std::string &by)
{
    std::vector<std::string> parts;
    size_t from = 0, at;
    while ((at = s.find(by, from)) != std::string::npos) {
        parts.push_back(s.substr(from, at - from));
        from = at + by.size();
    }
    parts.push_back(s.substr(from));
    return parts;
}

// The first word of rest as a number into id, the remainder into tail.
bool id_and_tail(const std::string &rest, int *id, std::string *tail)
{
    char *end = nullptr;
    long n = std::strtol(rest.c_str(), &end, 10);
    if (end == rest.c_str() || n <= 0 || n > 0xFFFF)
        return false;
    *id = static_cast<int>(n);
    *tail = *end == ' ' ? std::string(end + 1) : std::string(end);
    return true;
}

bool DRIVER::step(const std::string &command, const std::string &rest)
{
    int id = 0;
    std::string tail;
    if (command == "timeout")
        return (seconds_ = std::atoi(rest.c_str())) > 0 || fail("timeout je počet sekund");
    if (command == "window")
        return wait([&] {
                   for (HWND w : top_windows())
                       if (!is_dialog(w) && text_of(w) == rest)
                           return (window_ = w) != nullptr;
                   return false;
               }) ||
               fail("takové okno není");
    if (command == "close") {
        if (!window_ || !IsWindow(window_))
            return fail("okno není");
        PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    if (command == "gone")
        return wait([&] { return !window_ || !IsWindow(window_); }) || fail("okno nezmizelo");
    if (command == "shot") {
        RECT area;
        const bool framed = window_ && IsWindow(window_) && GetWindowRect(window_, &area);
        return SHOT_screen(rest.c_str(), framed ? &area : nullptr) || fail("obrázek se nepodařilo zapsat");
    }
    if (command == "pick")
        return pick(rest);
    if (command == "box" || command == "answer") {
        std::vector<std::string> parts = split(rest, " | ");
        if (parts.size() != (command == "box" ? 2u : 3u))
            return fail(command == "box" ? "čeká se TITULEK | TEXT" : "čeká se TITULEK | TEXT | TLAČÍTKO");
        HWND box = nullptr;
        if (!wait([&] { return (box = find_box(parts[0], parts[1])) != nullptr; }))
            return fail("takové hlášení není");
        if (command == "box")
            return true;
        for (HWND c : children(box))
            if (class_of(c) == "Button" && without_ampersand(text_of(c)) == parts[2]) {
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), reinterpret_cast<LPARAM>(c));
                return wait([&] { return !IsWindow(box); }) || fail("hlášení nezmizelo");
            }
        return fail("hlášení nemá takové tlačítko");
    }
    if (command == "enabled") {
        std::vector<std::string> parts = split(rest, " ");
        std::vector<std::string> ids = split(parts[0], ",");
        if (parts.size() != 2 || parts[1].size() != ids.size())
            return fail("čeká se ID,ID,... a jeden příznak za každý prvek");
        return wait([&] {
                   for (size_t i = 0; i < ids.size(); ++i) {
                       HWND c = control(std::atoi(ids[i].c_str()));
                       if (!c || (IsWindowEnabled(c) ? '1' : '0') != parts[1][i])
                           return false;
                   }
                   return true;
               }) ||
               fail("prvky nejsou v tomto stavu");
    }
    if (!id_and_tail(rest, &id, &tail))
        return fail("čeká se číslo prvku");
    if (command == "press") {
        HWND c = nullptr;
        if (!wait([&] { return (c = control(id)) != nullptr; }))
            return fail("takový prvek není");
        return press_button(c);
    }
    if (command == "checked")
        return wait([&] {
                   HWND c = control(id);
                   DWORD_PTR state = 0;
                   return c && SendMessageTimeoutA(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state) &&
                          (state == BST_CHECKED ? "1" : "0") == tail;
               }) ||
               fail("zaškrtávací pole není v tomto stavu");
    if (command == "text") {
        const bool part = !tail.empty() && tail[0] == '~';
        const std::string want = part ? tail.substr(1) : tail;
        return wait([&] {
                   HWND c = control(id);
                   if (!c)
                       return false;
                   std::string t = text_of(c);
                   return part ? t.find(want) != std::string::npos : t == want;
               }) ||
               fail("prvek tento text neukazuje");
    }
    if (command == "set") {
        HWND c = control(id);
        if (!c)
            return fail("takový prvek není");
        if (!IsWindowEnabled(c))
            return fail("prvek je zakázaný");
        DWORD_PTR done = 0;
        SendMessageTimeoutA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tail.c_str()), SMTO_ABORTIFHUNG, 2000, &done);
        // Leaving the field: what the field tells its parent when it loses the focus.
        PostMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(c));
        return true;
    }
    return fail("neznámý příkaz");
}

// Every visible top-level window with its controls: id, class, text, state.
void DRIVER::report()
{
    say("Viděná okna:");
    for (HWND w : top_windows()) {
        std::string title = text_of(w);
        if (title.empty() && !is_dialog(w))
            continue;
        say("  [%s] \"%s\"", class_of(w).c_str(), title.c_str());
        for (HWND c : children(w)) {
            if (!IsWindowVisible(c))
                continue;
            std::string t = text_of(c);
            say("    %d %s \"%s\"%s", GetDlgCtrlID(c), class_of(c).c_str(), t.c_str(),
                IsWindowEnabled(c) ? "" : " (zakázaný)");
        }
    }
}

int DRIVER::run(std::istream &script)
{
    while (std::getline(script, line_)) {
        ++number_;
        if (!line_.empty() && line_.back() == '\r')
            line_.pop_back();
        const size_t start = line_.find_first_not_of(' ');
        if (start == std::string::npos || line_[start] == '#')
            continue;
        const std::string text = U8_to_cp1250(line_.substr(start).c_str());
        const size_t blank = text.find(' ');
        const std::string command = text.substr(0, blank), rest = blank == std::string::npos ? "" : text.substr(blank + 1);
        if (!step(command, rest)) {
            say("TRKDRIVE: řádek %d \"%s\": %s", number_, text.c_str(), why_.c_str());
            report();
            if (SHOT_screen(picture_.c_str()))
                say("Obrázek obrazovky: %s", picture_.c_str());
            return 0;
        }
    }
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    _setmode(_fileno(stdout), _O_BINARY);   // UTF-8 bytes as they are, CR LF from the texts only
    if (argc < 2 || argc > 3) {
        say("Použití: TRKDRIVE skript [obrázek.png]");
        return 2;
    }
    std::ifstream script(argv[1], std::ios::binary);
    if (!script) {
        say("TRKDRIVE: nelze číst %s", argv[1]);
        return 2;
    }
    std::string picture = argc == 3 ? argv[2] : std::string(argv[1]).substr(0, std::string(argv[1]).rfind('.')) + ".png";
    DRIVER driver(picture);
    return driver.run(script) ? 0 : 1;
}
