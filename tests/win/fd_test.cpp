// The common file dialogs and the folder browser, answered from a second
// thread as a person would: a name typed into the dialog's file-name field
// and OK pressed (or Cancel), the box the dialog asks with answered.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "swin/fd.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char FILTER[] = "Textové soubory *.TXT\0*.TXT\0Všechny soubory *.*\0*.*\0";
const int NAME_COMBO = 0x47C, NAME_EDIT = 0x480;   // cmb13 and edt1 of the common dialogs

// The first visible dialog of this process that matches, or null.
HWND find_dialog(const std::function<bool(HWND)> &match)
{
    struct SEARCH { const std::function<bool(HWND)> *match; HWND found; } s{&match, nullptr};
    EnumWindows([](HWND window, LPARAM data) -> BOOL {
        SEARCH *s = reinterpret_cast<SEARCH *>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(cls) != "#32770" ||
            !(*s->match)(window))
            return TRUE;
        s->found = window;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND find_file_dialog()
{
    return find_dialog([](HWND w) { return GetDlgItem(w, NAME_COMBO) || GetDlgItem(w, NAME_EDIT); });
}

HWND find_browser()
{
    return find_dialog([](HWND w) { return FindWindowExA(w, nullptr, "SysTreeView32", nullptr) != nullptr; });
}

// Waits for the dialog (found by find) and answers it from a second thread:
// act (on that thread) types and presses; a box the dialog then shows is
// answered with box_answer; a dialog still open after that is cancelled.
class DIALOG_ANSWERER : C_GUARD {
public:
    DIALOG_ANSWERER(HWND (*find)(), std::function<void(HWND)> act, int box_answer = IDOK)
        : thread_(&DIALOG_ANSWERER::run, this, find, act, box_answer)
    {
    }
    ~DIALOG_ANSWERER() { thread_.join(); }
    bool found() const { return found_; }
    bool box_seen() const { return box_seen_; }
    HWND owner() const { return owner_; }

private:
    void run(HWND (*find)(), std::function<void(HWND)> act, int box_answer)
    {
        HWND dialog = nullptr;
        if (!WT_wait([&] { return (dialog = find()) != nullptr; }, 20000))
            return;
        owner_ = GetWindow(dialog, GW_OWNER);
        found_ = true;
        act(dialog);
        auto gone = [dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); };
        auto owned = [dialog](HWND w) { return GetWindow(w, GW_OWNER) == dialog; };
        HWND box = nullptr;
        WT_wait([&] { return gone() || (box = find_dialog(owned)) != nullptr; }, 10000);
        if (box) {
            box_seen_ = true;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(box_answer, BN_CLICKED), 0);
            WT_wait([box] { return !IsWindow(box); }, 10000);
        }
        // Handled once the dialog's thread is back in its loop: by then it has
        // ended, or it stays for good.
        DWORD_PTR ignored;
        SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        if (!gone())
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        WT_wait(gone, 10000);
    }

    std::atomic<bool> found_{false}, box_seen_{false};
    std::atomic<HWND> owner_{nullptr};
    std::thread thread_;   // last: starts when everything else is made
};

// Types the name into the file dialog's name field and presses OK; a null
// name presses Cancel.
std::function<void(HWND)> type_name(const char *name)
{
    return [name](HWND dialog) {
        if (!name) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        HWND field = GetDlgItem(dialog, NAME_COMBO);
        if (!field || !IsWindowVisible(field))
            field = GetDlgItem(dialog, NAME_EDIT);
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

std::string current_directory()
{
    char dir[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, dir);
    return dir;
}

std::string lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = scratch.file("data");
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        TU_write(folder + "\\a.txt", "A");
        TU_write(folder + "\\b.txt", "B");
        start_dir = current_directory();
    }
    TU_SCRATCH scratch;   // the current directory during the test
    TEST_DRIVER driver;
    std::string folder, start_dir;
};

}  // namespace

TEST_F(FileDialogs, OpenAndSave)
{
    enum { OPEN, OPEN_MUST_EXIST, SAVE };
    const struct {
        int kind;
        const char *typed;   // null: Cancel
        int box_answer;      // 0: no box expected
        int16_t result;
        const char *file;    // what the buffer holds afterwards, in the folder; null: as before
    } cases[] = {
        {OPEN_MUST_EXIST, "a.txt", 0, 1, "a.txt"},
        {OPEN_MUST_EXIST, nullptr, 0, 0, nullptr},
        {OPEN_MUST_EXIST, "chybi.txt", IDOK, 0, nullptr},   // "file not found", the dialog stays
        {OPEN, "novy.txt", IDYES, 1, "novy.txt"},           // offered to create it
        {OPEN, "novy.txt", IDNO, 0, nullptr},
        {SAVE, "a.txt", IDYES, 1, "a.txt"},                 // overwrite? yes
        {SAVE, "a.txt", IDNO, 0, nullptr},
        {SAVE, "zprava", 0, 1, "zprava.TXT"},               // the default extension
        {SAVE, nullptr, 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.typed ? c.typed : "(cancel)") + " " + std::to_string(c.kind));
        char name[FD_NAME_MAX + 1] = "";
        int16_t result;
        DIALOG_ANSWERER answer(find_file_dialog, type_name(c.typed), c.box_answer);
        if (c.kind == SAVE)
            result = FD_save_file(nullptr, name, FILTER, folder.c_str(), "TXT", 0);
        else
            result = FD_open_file(nullptr, name, FILTER, folder.c_str(), "Otevřít", 0, c.kind == OPEN_MUST_EXIST);
        ASSERT_TRUE(answer.found());
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(answer.box_seen(), c.box_answer != 0);
        EXPECT_EQ(lower(name), c.file ? lower(folder + "\\" + c.file) : "");
        EXPECT_EQ(current_directory(), start_dir);
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(FileDialogs, KeepDirOwnerSeveralFilesAndFailures)
{
    char name[FD_NAME_MAX + 1] = "";
    {   // keep_dir: the dialog's folder stays the current directory
        DIALOG_ANSWERER answer(find_file_dialog, type_name("a.txt"));
        EXPECT_EQ(FD_open_file(nullptr, name, FILTER, folder.c_str(), nullptr, 1, 1), 1);
        EXPECT_EQ(lower(current_directory()), lower(folder));
        SetCurrentDirectoryA(start_dir.c_str());
    }
    HWND owner = WT_window("STATIC", "vlastník", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    {   // the owner given, without a main window
        DIALOG_ANSWERER answer(find_file_dialog, type_name(nullptr));
        EXPECT_EQ(FD_save_file(owner, name, nullptr, folder.c_str(), nullptr, 0), 0);
        EXPECT_EQ(answer.owner(), owner);
    }
    {   // several files: the folder, then each name, each ended by a zero
        char names[300];
        std::memset(names, 'x', sizeof names);
        names[0] = 0;
        DIALOG_ANSWERER answer(find_file_dialog, type_name("\"a.txt\" \"b.txt\""));
        EXPECT_EQ(FD_open_files(owner, names, sizeof names, FILTER, folder.c_str(), nullptr, 0, 1), 1);
        const char *second = names + std::strlen(names) + 1;
        const char *third = second + std::strlen(second) + 1;
        EXPECT_EQ(lower(names), lower(folder));
        EXPECT_EQ(std::string(second) + "|" + third + "|" + std::to_string(third[std::strlen(third) + 1]),
                  "a.txt|b.txt|0");
    }
    DestroyWindow(owner);
    std::strcpy(name, "puvodni");
    TU_expect_failures("..\\swin\\fd", {TU_FAILS(FD_open_file(nullptr, nullptr, FILTER, nullptr, nullptr, 0, 0)),
                                        TU_FAILS(FD_open_files(nullptr, name, 1, FILTER, nullptr, nullptr, 0, 0)),
                                        TU_FAILS(FD_save_file(nullptr, nullptr, FILTER, nullptr, nullptr, 0)),
                                        TU_FAILS(FD_choose_folder(nullptr, "?", nullptr))});
    WT_fail_allocation(FD_NAME_MAX + 1);   // the dialog's working copy of the name
    EXPECT_EQ(FD_save_file(nullptr, name, FILTER, nullptr, nullptr, 0), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_STREQ(name, "puvodni");
    TU_clear_reports();
}

TEST(FileDialogOwner, TheMainWindowOwnsTheDialogs)
{
    HWND other = WT_window("STATIC", "jiné", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    HWND frame_window = nullptr, owner = nullptr;
    FRAME_run([&](TEST_FRAME *frame) {
        frame_window = frame->window;
        char name[FD_NAME_MAX + 1] = "";
        DIALOG_ANSWERER answer(find_file_dialog, type_name(nullptr));
        FD_open_file(other, name, nullptr, nullptr, nullptr, 0, 0);
        owner = answer.owner();
    });
    EXPECT_NE(frame_window, nullptr);
    EXPECT_EQ(owner, frame_window);
    DestroyWindow(other);
}

// ---- the folder browser ----

namespace {

// Selects the folder in the browser (again until its tree shows the folder
// selected: a browser just shown may not take it yet) and presses OK; null
// presses Cancel.
std::function<void(HWND)> pick(const std::string *folder)
{
    return [folder](HWND browser) {
        HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
        const std::string leaf = folder ? folder->substr(folder->rfind('\\') + 1) : "";
        WT_wait([&] {
            if (!folder)
                return true;
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder->c_str()));
            char text[MAX_PATH] = {};
            TVITEMA item{};
            item.mask = TVIF_TEXT;
            item.hItem = TreeView_GetSelection(tree);
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            return item.hItem && TreeView_GetItem(tree, &item) && lstrcmpiA(text, leaf.c_str()) == 0;
        }, 10000);
        PostMessageA(browser, WM_COMMAND, MAKEWPARAM(folder ? IDOK : IDCANCEL, BN_CLICKED), 0);
    };
}

// The shell's allocator, counting what is given back through it.
struct COUNTING_MALLOC : IMalloc {
    IMalloc *real = nullptr;
    int freed = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **out) override { return *out = nullptr, E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void *STDMETHODCALLTYPE Alloc(SIZE_T n) override { return real->Alloc(n); }
    void *STDMETHODCALLTYPE Realloc(void *p, SIZE_T n) override { return real->Realloc(p, n); }
    void STDMETHODCALLTYPE Free(void *p) override { freed++, real->Free(p); }
    SIZE_T STDMETHODCALLTYPE GetSize(void *p) override { return real->GetSize(p); }
    int STDMETHODCALLTYPE DidAlloc(void *p) override { return real->DidAlloc(p); }
    void STDMETHODCALLTYPE HeapMinimize() override { real->HeapMinimize(); }
};
COUNTING_MALLOC counting;

HRESULT WINAPI counting_get_malloc(IMalloc **out)
{
    return *out = &counting, S_OK;
}

BOOL WINAPI no_path(LPCITEMIDLIST, LPSTR path)
{
    return path[0] = 0, FALSE;
}

}  // namespace

TEST(FolderBrowser, PickCancelAndAFolderWithoutAPath)
{
    TU_SCRATCH scratch;
    const std::string folder = scratch.file("cil");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_EQ(SHGetMalloc(&counting.real), S_OK);
    IAT_PATCH allocator("SHELL32.dll", "SHGetMalloc", reinterpret_cast<void *>(counting_get_malloc));
    ASSERT_TRUE(allocator.active());
    const struct { bool pick; bool path; int16_t result; int freed; } cases[] = {
        {true, true, 1, 1},
        {false, true, 0, 0},    // cancelled: no item list
        {true, false, 0, 1},    // a folder without a path: the list is freed all the same
    };
    for (const auto &c : cases) {
        char path[FD_NAME_MAX + 1] = "puvodni";
        counting.freed = 0;
        std::optional<IAT_PATCH> path_patch;
        if (!c.path)
            path_patch.emplace("SHELL32.dll", "SHGetPathFromIDListA", reinterpret_cast<void *>(no_path));
        DIALOG_ANSWERER answer(find_browser, pick(c.pick ? &folder : nullptr));
        EXPECT_EQ(FD_choose_folder(nullptr, "Vyberte cílový adresář", path), c.result);
        ASSERT_TRUE(answer.found());
        EXPECT_EQ(lower(path), c.result ? lower(folder) : "puvodni");
        EXPECT_EQ(counting.freed, c.freed);
    }
    counting.real->Release();
    EXPECT_TRUE(TU_reports().empty());
}
