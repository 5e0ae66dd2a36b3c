// The common file dialogs and the folder browser, answered from a second
// thread as a person would: a name typed into the dialog's file-name field
// and OK pressed (or Cancel), the box the dialog asks with answered.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <optional>

#include "swin/fd.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char FILTER[] = "Textové soubory *.TXT\0*.TXT\0Všechny soubory *.*\0*.*\0";
const int NAME_COMBO = 0x47C, NAME_EDIT = 0x480;   // cmb13 and edt1 of the common dialogs

// The first visible dialog of this process owned by owner (null: any), or null.
HWND find_dialog(HWND owner)
{
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && (!owner || GetWindow(w, GW_OWNER) == owner))
            return w;
    }
    return nullptr;
}

// Waits for the dialog and answers it from a second thread: act (on that
// thread) types and presses; a box the dialog then shows is answered with
// box_answer; a dialog still open after that is cancelled.
class DIALOG_ANSWERER : C_GUARD {
public:
    explicit DIALOG_ANSWERER(std::function<void(HWND)> act, int box_answer = IDOK) : thread_([=] {
        HWND dialog = nullptr, box = nullptr;
        if (!WT_wait([&] { return (dialog = find_dialog(nullptr)) != nullptr; }, 20000))
            return;
        owner = GetWindow(dialog, GW_OWNER), found = true;
        act(dialog);
        auto gone = [dialog] { return !IsWindowVisible(dialog); };
        WT_wait([&] { return gone() || (box = find_dialog(dialog)) != nullptr; }, 10000);
        if (box) {
            box_seen = true;
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
    }) {}
    ~DIALOG_ANSWERER() { thread_.join(); }
    std::atomic<bool> found{false}, box_seen{false};
    std::atomic<HWND> owner{nullptr};

private:
    std::thread thread_;   // last: starts when everything else is made
};

// Types the name into the file dialog's name field and presses OK; a null
// name presses Cancel.
std::function<void(HWND)> type_name(const char *name)
{
    return [name](HWND dialog) {
        HWND field = GetDlgItem(dialog, NAME_COMBO);
        if (name)
            SendMessageA(field && IsWindowVisible(field) ? field : GetDlgItem(dialog, NAME_EDIT), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(name));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(name ? IDOK : IDCANCEL, BN_CLICKED), 0);
    };
}

std::string lower(std::string s) { return CharLowerA(&s[0]), s; }
std::string lower_current_directory() { char dir[MAX_PATH] = {}; return GetCurrentDirectoryA(MAX_PATH, dir), lower(dir); }

// Selects the folder in the browser (again until its tree shows the folder
// selected: a browser just shown may not take it yet) and presses OK; null
// presses Cancel.
std::function<void(HWND)> pick(const std::string *folder)
{
    return [folder](HWND browser) {
        HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
        if (folder)
            WT_wait([&] {
                SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder->c_str()));
                char text[MAX_PATH] = {};
                TVITEMA item{TVIF_TEXT, TreeView_GetSelection(tree), 0, 0, text, MAX_PATH, 0, 0, 0, 0};
                return item.hItem && TreeView_GetItem(tree, &item) &&
                       lstrcmpiA(text, folder->substr(folder->rfind('\\') + 1).c_str()) == 0;
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
} counting;

HRESULT WINAPI counting_get_malloc(IMalloc **out) { return *out = &counting, S_OK; }
BOOL WINAPI no_path(LPCITEMIDLIST, LPSTR path) { return path[0] = 0, FALSE; }

}  // namespace

TEST(FileDialogs, OpenSaveSeveralFilesTheMainWindowAndFailures)
{
    TU_SCRATCH scratch;   // the current directory during the test
    const std::string folder = scratch.file("data"), low = lower(folder), start = lower_current_directory();
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    TU_write(folder + "\\a.txt", "A"), TU_write(folder + "\\b.txt", "B");
    HWND owner = WT_window("STATIC", "vlastník", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    enum { OPEN, MUST_EXIST, KEEP_DIR, SAVE };
    // typed: null for Cancel; box_answer: 0 for no box; file: what the buffer holds after, in the folder (null: as before).
    const struct { int kind; const char *typed; int box_answer; int16_t result; const char *file; } cases[] = {
        {MUST_EXIST, "a.txt", 0, 1, "a.txt"},
        {MUST_EXIST, nullptr, 0, 0, nullptr},
        {MUST_EXIST, "chybi.txt", IDOK, 0, nullptr},   // "file not found", the dialog stays
        {KEEP_DIR, "b.txt", 0, 1, "b.txt"},            // the dialog's folder stays the current directory
        {OPEN, "novy.txt", IDYES, 1, "novy.txt"},      // offered to create it
        {OPEN, "novy.txt", IDNO, 0, nullptr},
        {SAVE, "a.txt", IDYES, 1, "a.txt"},            // overwrite? yes
        {SAVE, "a.txt", IDNO, 0, nullptr},
        {SAVE, "zprava", 0, 1, "zprava.txt"},          // the default extension
        {SAVE, nullptr, 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.typed ? c.typed : "(cancel)") + " " + std::to_string(c.kind));
        char name[FD_NAME_MAX + 1] = "puvodni";
        DIALOG_ANSWERER answer(type_name(c.typed), c.box_answer);
        int16_t result = c.kind == SAVE ? FD_save_file(owner, name, FILTER, folder.c_str(), "TXT", 0)
                                        : FD_open_file(owner, name, FILTER, folder.c_str(), "Otevřít",
                                                       c.kind == KEEP_DIR, c.kind != OPEN);
        ASSERT_TRUE(answer.found);
        EXPECT_EQ((TU_V{result, answer.box_seen, answer.owner == owner}), (TU_V{c.result, c.box_answer != 0, 1}));
        EXPECT_EQ(lower(name), c.file ? low + "\\" + c.file : "puvodni");
        EXPECT_EQ(lower_current_directory(), c.kind == KEEP_DIR ? low : start);
        SetCurrentDirectoryA(start.c_str());
    }
    {   // several files: the folder, then each name, each ended by a zero
        char names[300];
        std::memset(names, 'x', sizeof names), names[0] = 0;
        DIALOG_ANSWERER answer(type_name("\"a.txt\" \"b.txt\""));
        EXPECT_EQ(FD_open_files(owner, names, sizeof names, FILTER, folder.c_str(), nullptr, 0, 1), 1);
        const char *second = names + std::strlen(names) + 1, *third = second + std::strlen(second) + 1;
        EXPECT_EQ(lower(names) + "|" + second + "|" + third + "|" + std::to_string(third[std::strlen(third) + 1]),
                  low + "|a.txt|b.txt|0");
    }
    char name[FD_NAME_MAX + 1] = "puvodni";
    FRAME_run([&](TEST_FRAME *frame) {   // the main window owns the dialogs
        DIALOG_ANSWERER answer(type_name(nullptr));
        EXPECT_EQ(FD_open_file(owner, name, nullptr, nullptr, nullptr, 0, 0), 0);
        EXPECT_EQ((TU_V{answer.owner == frame->window, frame->window != nullptr}), (TU_V{1, 1}));
    });
    DestroyWindow(owner);
    TU_expect_failures("..\\swin\\fd", {TU_FAILS(FD_open_file(nullptr, nullptr, FILTER, nullptr, nullptr, 0, 0)),
                                        TU_FAILS(FD_open_files(nullptr, name, 1, FILTER, nullptr, nullptr, 0, 0)),
                                        TU_FAILS(FD_save_file(nullptr, nullptr, FILTER, nullptr, nullptr, 0)),
                                        TU_FAILS(FD_choose_folder(nullptr, "?", nullptr))});
    WT_fail_allocation(FD_NAME_MAX + 1);   // the dialog's working copy of the name
    EXPECT_EQ((TU_V{FD_save_file(nullptr, name, FILTER, nullptr, nullptr, 0), WT_failures_left(),
                    WT_only_low_memory(1)}), (TU_V{0, 0, 1}));
    EXPECT_STREQ(name, "puvodni");
    TU_clear_reports();
}

TEST(FolderBrowser, PickCancelAndAFolderWithoutAPath)
{
    TU_SCRATCH scratch;
    const std::string folder = scratch.file("cil");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_EQ(SHGetMalloc(&counting.real), S_OK);
    IAT_PATCH allocator("SHELL32.dll", "SHGetMalloc", reinterpret_cast<void *>(counting_get_malloc));
    ASSERT_TRUE(allocator.active());
    const struct { bool pick, path; int16_t result; int freed; } cases[] = {
        {true, true, 1, 1},
        {false, true, 0, 0},   // cancelled: no item list
        {true, false, 0, 1},   // a folder without a path: the list is freed all the same
    };
    for (const auto &c : cases) {
        char path[FD_NAME_MAX + 1] = "puvodni";
        counting.freed = 0;
        std::optional<IAT_PATCH> path_patch;
        if (!c.path)
            path_patch.emplace("SHELL32.dll", "SHGetPathFromIDListA", reinterpret_cast<void *>(no_path));
        DIALOG_ANSWERER answer(pick(c.pick ? &folder : nullptr));
        EXPECT_EQ(FD_choose_folder(nullptr, "Vyberte cílový adresář", path), c.result);
        ASSERT_TRUE(answer.found);
        EXPECT_EQ(counting.freed, c.freed);
        EXPECT_EQ(lower(path), c.result ? lower(folder) : "puvodni");
    }
    counting.real->Release();
    EXPECT_TRUE(TU_reports().empty());
}
