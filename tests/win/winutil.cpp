#include "tests/win/winutil.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "swin/tab.h"
#include "tests/testutil.h"
#include "tools/trakdist/td.h"
#include "win/wmsg.h"

std::vector<int16_t> TEST_CLIENT::deleted;

namespace {

// Whatever a failed test left behind does not reach the next one: pending
// allocation failures and the record of deleted clients.
class WIN_RESET : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        WT_fail_allocation(0, 0);
        TEST_CLIENT::deleted.clear();
    }
};
const bool reset_installed = (::testing::UnitTest::GetInstance()->listeners().Append(new WIN_RESET), true);

// The program's memory manager takes its blocks from calloc and malloc,
// which this program replaces by forwarders that can refuse a request.
// Plain pointers, no guarded statics: the runtime allocates before main.
void *(__cdecl *real_calloc)(size_t, size_t) = nullptr;
void *(__cdecl *real_malloc)(size_t) = nullptr;
size_t failing_size = 0;
int failures = 0;

bool refuse(size_t size)
{
    return failures > 0 && size == failing_size && (failures--, true);
}

template <class F>
void runtime(F &f, const char *name)
{
    if (!f)
        f = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("msvcrt.dll"), name)));
}

const std::function<void(TEST_FRAME *)> *current_scenario = nullptr;
HWND box_owner = nullptr;

void write_slot(void **slot, void *value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

extern "C" void *calloc(size_t count, size_t size)
{
    if (count != 0 && size <= SIZE_MAX / count && refuse(count * size))
        return nullptr;
    runtime(real_calloc, "calloc");
    return real_calloc(count, size);
}

extern "C" void *malloc(size_t size)
{
    if (refuse(size))
        return nullptr;
    runtime(real_malloc, "malloc");
    return real_malloc(size);
}

void WT_fail_allocation(size_t size, int count) { failing_size = size, failures = count; }
int WT_failures_left() { return failures; }

int WT_internal_errors(const char *source)
{
    const std::string prefix = std::string("Chyba v souboru ") + source + " řádek ";
    int n = 0;
    for (const TU_REPORT &r : TU_reports())
        n += r.kind == WE_KIND_INTERNAL && WT_starts(r.text, prefix.c_str());
    return n;
}

bool WT_only_low_memory(size_t count)
{
    for (const TU_REPORT &r : TU_reports())
        if (r.kind != WE_KIND_LOW_MEMORY || r.text != " Málo paměti")
            return false;
    return TU_reports().size() == count;
}

bool WT_wait(const std::function<bool()> &done, int ms, int step_ms)
{
    for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
         std::chrono::steady_clock::now() < until; Sleep(static_cast<DWORD>(step_ms)))
        if (done())
            return true;
    return done();
}

IAT_PATCH::IAT_PATCH(const char *dll, const char *function, void *replacement)
{
    auto *base = reinterpret_cast<unsigned char *>(GetModuleHandleA(nullptr));
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress); import->Name;
         import++) {
        if (lstrcmpiA(reinterpret_cast<char *>(base + import->Name), dll))
            continue;
        auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + import->OriginalFirstThunk);
        auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData)->Name, function))
                continue;
            slot_ = reinterpret_cast<void **>(&slots->u1.Function);
            original_ = *slot_;
            write_slot(slot_, replacement);
            return;
        }
    }
}

IAT_PATCH::~IAT_PATCH()
{
    if (slot_)
        write_slot(slot_, original_);
}

RECT WT_rect_in(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

void WT_expect_centred(const RECT &r, const RECT &area)
{
    EXPECT_NEAR((r.left + r.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (area.top + area.bottom) / 2, 1);
}

BOX_OWNER::BOX_OWNER(HWND window)
{
    box_owner = window;
    WE_set_owner_lookup([]() -> void * { return box_owner; });
}

BOX_OWNER::~BOX_OWNER() { WE_set_owner_lookup(nullptr), box_owner = nullptr; }

// ---- a run of the real GUI ----

LRESULT TEST_FRAME::default_message(HWND target, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (count && counted && message == counted)
        ++*count;
    if (message == WM_FRAME_LATER && later)
        return later(), 0;
    return C_UMAIN::default_message(target, message, wparam, lparam);
}

void TEST_FRAME::after_create(WPARAM, LPARAM)
{
    if (current_scenario)
        (*current_scenario)(this);
    for (C_CW *client : clients)
        if (client)
            static_cast<TEST_CLIENT *>(client)->refuse = 0;
    if (window && !window_stays)
        PostMessageA(window, WM_BW_CLOSE_REQUEST, 0, 0);
}

void TEST_FRAME::create_client(int16_t slot, int16_t kind)
{
    if (!kind)
        return;
    TEST_CLIENT *client = new ("test", 0) TEST_CLIENT(this, kind);
    client->create();
    clients[slot] = client;
}

int32_t FRAME_run(const std::function<void(TEST_FRAME *)> &scenario)
{
    current_scenario = &scenario;
    int32_t code =
        WGD_run(GetModuleHandleA(nullptr), SW_SHOW, []() -> C_UMAIN * { return new ("test", 0) TEST_FRAME(); });
    current_scenario = nullptr;
    return code;
}

// ---- answering boxes ----

namespace {

// A visible dialog of this process titled title (null or "": any), or null.
HWND find_box(const std::string *title)
{
    struct SEARCH { const std::string *title; HWND found; } s{title, nullptr};
    EnumWindows([](HWND window, LPARAM data) -> BOOL {
        SEARCH *s = reinterpret_cast<SEARCH *>(data);
        char text[256] = {}, cls[32] = {};
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        GetClassNameA(window, cls, sizeof cls);
        GetWindowTextA(window, text, sizeof text);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(cls) != "#32770" ||
            (s->title && !s->title->empty() && *s->title != text))
            return TRUE;
        s->found = window;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Cancels every dialog of the process until none is left (a box the test
// did not answer must not block the run).
void cancel_leftovers()
{
    WT_wait([] {
        HWND box = find_box(nullptr);
        return !box || (PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0), Sleep(100), false);
    }, 10000);
}

// With TRK_SHOTS naming a directory (tools/screenshots.sh), each box waits
// for its picture: the title goes into <dir>\ready and the box stays until
// the script has taken the screen and removed the file.
void wait_for_picture(const std::string &title)
{
    if (!WT_shots())
        return;
    const char *dir = std::getenv("TRK_SHOTS");
    Sleep(300);   // painted
    std::string ready = std::string(dir) + "\\ready";
    if (FILE *f = std::fopen(ready.c_str(), "wb")) {
        std::fwrite(title.data(), 1, title.size(), f);
        std::fclose(f);
    }
    WT_wait([&] { return GetFileAttributesA(ready.c_str()) == INVALID_FILE_ATTRIBUTES; }, 30000);
}

}  // namespace

bool WT_shots()
{
    const char *dir = std::getenv("TRK_SHOTS");
    return dir && *dir;
}

void WT_picture(const char *title)
{
    WGD_pump_messages();   // painted before the picture
    wait_for_picture(title);
}

std::string BOX_ANSWERER::control_text(int id, size_t step) const
{
    return has_control(id, step) ? texts_[step].at(id) : "";
}

bool BOX_ANSWERER::has_control(int id, size_t step) const
{
    return step < texts_.size() && texts_[step].count(id) > 0;
}

void BOX_ANSWERER::snapshot()
{
    std::map<int, std::string> texts;
    EnumChildWindows(box_, [](HWND control, LPARAM data) -> BOOL {
        char text[1024] = {}, cls[32] = {};
        GetClassNameA(control, cls, sizeof cls);
        std::string value;
        if (lstrcmpiA(cls, "ListBox") == 0) {
            for (LRESULT i = 0, count = SendMessageA(control, LB_GETCOUNT, 0, 0); i < count; i++) {
                SendMessageA(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                value += std::string(text) + "|";
            }
            value += "#" + std::to_string(SendMessageA(control, LB_GETCURSEL, 0, 0));
        } else if (lstrcmpA(cls, TABLE_CLASS_NAME) == 0) {
            for (LRESULT i = 0, count = SendMessageA(control, TAB_get_row_count, 0, 0); i < count; i++) {
                SendMessageA(control, TAB_get_text_by_index, MAKEWPARAM(0, i), reinterpret_cast<LPARAM>(text));
                value += std::string(text) + "|";
            }
            value += "#" + std::to_string(SendMessageA(control, TAB_get_current_row_index, 0, 0));
        } else {
            GetWindowTextA(control, text, sizeof text);
            value = text;
        }
        (*reinterpret_cast<std::map<int, std::string> *>(data))[GetDlgCtrlID(control) & 0xFFFF] = value;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&texts));
    texts_.push_back(texts);
}

void BOX_ANSWERER::run(std::string title, std::vector<STEP> steps)
{
    HWND box = nullptr;
    if (!WT_wait([&] { return (box = find_box(&title)) != nullptr; }, 20000))
        return cancel_leftovers();
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
        if (step.select_id) {
            char cls[32] = {};
            GetClassNameA(GetDlgItem(box, step.select_id), cls, sizeof cls);
            SendDlgItemMessageA(box, step.select_id, lstrcmpA(cls, TABLE_CLASS_NAME) ? LB_SETCURSEL : TAB_select_row_index,
                                static_cast<WPARAM>(step.select), 0);
        }
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
        if ((i + 1 < steps.size() || (step.press != ESC && step.press != CLOSE)) && IsWindow(box) &&
            IsWindowVisible(box))
            snapshot();
    }
    // Whatever the steps did, the box must go.
    if (!WT_wait([box] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000))
        cancel_leftovers();
}

// ---- child programs ----

namespace {

// A visible box of the process with the title other than not_this, or null.
HWND child_box(DWORD pid, const char *title, HWND not_this)
{
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && w != not_this && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

// Answers the child's boxes one after the other with the buttons (posted,
// never sent); the texts of the boxes it found.
std::vector<std::string> answer_child_boxes(DWORD pid, const char *title, std::vector<int> buttons)
{
    std::vector<std::string> texts;
    HWND previous = nullptr;
    for (int button : buttons) {
        HWND box = nullptr;
        if (!WT_wait([&] { return (box = child_box(pid, title, previous)) != nullptr; }, 20000))
            break;
        char text[2048] = {};
        SendMessageTimeoutA(GetDlgItem(box, 0xFFFF), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 5000, nullptr);
        texts.push_back(text);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        WT_wait([&] { return !IsWindow(box); }, 5000);
        previous = box;
    }
    return texts;
}

}  // namespace

CHILD_RUN WT_run_child(const std::string &program, const std::string &arguments, const std::string &directory,
                       const char *title, const std::vector<int> &buttons, const std::string &output)
{
    CHILD_RUN r;
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    C_HANDLE out;
    if (!output.empty()) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE file = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr);
        *out.out() = file == INVALID_HANDLE_VALUE ? nullptr : file;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = out;
    }
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, out ? TRUE : FALSE, 0, nullptr, directory.c_str(), &si,
                        &pi)) {
        ADD_FAILURE() << "not started: " << line;
        return r;
    }
    C_HANDLE process(pi.hProcess), thread(pi.hThread);
    if (!buttons.empty())
        r.boxes = answer_child_boxes(pi.dwProcessId, title, buttons);
    if (WaitForSingleObject(process, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &r.code);
    else
        TerminateProcess(process, static_cast<UINT>(-1));
    r.ended = std::chrono::steady_clock::now();
    return r;
}

int WT_trakdist(std::vector<std::string> args)
{
    args.insert(args.begin(), "trakdist");
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    FILE *sink = std::fopen("NUL", "w");
    TD_set_streams(sink, sink);
    const int code = TD_main(static_cast<int>(argv.size()), argv.data());
    TD_set_streams(nullptr, nullptr);
    std::fclose(sink);
    return code;
}
