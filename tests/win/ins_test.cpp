// Real installations: distributions made with trakdist are installed by the
// engine into scratch directories, driven by a test window that owns the four
// text lines; every box is answered from a second thread by its text, as a
// person would answer it.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

#include "common/co.h"
#include "common/fe.h"
#include "common/st.h"
#include "common/sysfold.h"
#include "common/syslink.h"
#include "common/sysproc.h"
#include "common/sysreg.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "insttrkp/ins.h"
#include "insttrkp/ins_shell.h"
#include "swin/wco.h"
#include "swin/wco_store.h"
#include "tests/testutil.h"
#include "tests/win/instutil.h"
#include "tests/win/winutil.h"
#include "zip/zip.h"

namespace {

using namespace inst_check;

const int OK = 1, YES = 1, NO = 7;

// ---- the boxes ----

// One expected box: the start of its text, the button pressed, and what the
// person does before pressing it.
struct RULE {
    std::string start;
    int press;
    std::function<void()> before = nullptr;
};

// The process that started a process; 0 when unknown.
DWORD parent_of(DWORD pid)
{
    C_HANDLE all(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(all, &entry); more; more = Process32Next(all, &entry))
        if (entry.th32ProcessID == pid)
            return entry.th32ParentProcessID;
    return 0;
}

// Answers every box of the process and of the programs it started (the
// uninstall program) by the first unused rule its text starts with, in the
// order the boxes come; a box no rule expects is cancelled, so that no box
// blocks the test. Every box is recorded as "title|text".
class BOX_SCRIPT : C_GUARD {
public:
    explicit BOX_SCRIPT(std::vector<RULE> rules) : rules_(std::move(rules)), thread_(&BOX_SCRIPT::run, this) {}
    ~BOX_SCRIPT() { stop(); }
    // Ends the answering; the boxes seen.
    std::vector<std::string> stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return seen_;
    }

private:
    void run()
    {
        while (!stop_) {
            HWND box = visible_box();
            if (!box) {
                Sleep(20);
                continue;
            }
            Sleep(50);   // its texts are set
            char title[256] = {}, text[1024] = {};
            GetWindowTextA(box, title, sizeof title);
            if (!GetDlgItemTextA(box, 0xFFFF, text, sizeof text))
                GetDlgItemTextA(box, 100, text, sizeof text);   // the toolkit's boxes
            int press = IDCANCEL;
            for (size_t i = 0; i < rules_.size(); i++)
                if (std::string(text).rfind(rules_[i].start, 0) == 0) {
                    if (rules_[i].before)
                        rules_[i].before();
                    press = rules_[i].press;
                    rules_.erase(rules_.begin() + static_cast<long>(i));
                    break;
                }
            seen_.push_back(std::string(title) + "|" + text + (press == IDCANCEL ? "|UNEXPECTED" : ""));
            // An unexpected box may have no cancel button: then its others, one by one.
            for (int button : {press, IDNO, IDOK}) {
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                if (WT_wait([box] { return !IsWindow(box) || !IsWindowVisible(box); }, press == IDCANCEL ? 2000 : 10000))
                    break;
            }
        }
    }
    static HWND visible_box()
    {
        HWND found = nullptr;
        EnumWindows([](HWND window, LPARAM data) -> BOOL {
            char cls[32] = {};
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            GetClassNameA(window, cls, sizeof cls);
            if (!IsWindowVisible(window) || std::string(cls) != "#32770" ||
                (pid != GetCurrentProcessId() && parent_of(pid) != GetCurrentProcessId()))
                return TRUE;
            *reinterpret_cast<HWND *>(data) = window;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    std::vector<RULE> rules_;
    std::vector<std::string> seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// ---- the window ----

const int ABORT_BUTTON = 16;

LRESULT CALLBACK test_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_COMMAND && LOWORD(wparam) == ABORT_BUTTON)
        INS_request_abort();
    return DefWindowProcA(window, message, wparam, lparam);
}

// The installer window as the engine sees it: the four lines are static
// controls; "abort_at" presses the abort button when a line names that file.
class TEST_WINDOW : public C_INS_WINDOW {
public:
    TEST_WINDOW()
    {
        WNDCLASSA c{};
        c.lpfnWndProc = test_window_procedure;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "INS_TEST_WINDOW";
        RegisterClassA(&c);
        window_ = CreateWindowExA(0, "INS_TEST_WINDOW", "Instalace", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600,
                                  300, nullptr, nullptr, c.hInstance, nullptr);
        for (int i = INS_LINE_FIRST; i <= INS_LINE_LAST; i++)
            CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 20 * i - 350, 580, 18, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(i)), c.hInstance, nullptr);
        INS_set_window(this);
    }
    ~TEST_WINDOW() override { DestroyWindow(window_); }
    void set_line(int16_t control, const char *text) override
    {
        SetDlgItemTextA(window_, control, text);
        if (!abort_at.empty() && std::strstr(text, abort_at.c_str()))
            PostMessageA(window_, WM_COMMAND, ABORT_BUTTON, 0), abort_at.clear();
    }
    void pump_messages() override { WGD_pump_messages(); }
    HWND frame() override { return window_; }
    std::string line(int control) const
    {
        char text[256] = {};
        GetDlgItemTextA(window_, control, text, sizeof text);
        return text;
    }

    std::string abort_at;

private:
    HWND window_;
};

std::vector<std::string> statuses;
void record_status(const char *text) { statuses.push_back(text); }

// Rewrites the records of a list through edit.
void edit_list(const std::string &path, const std::function<void(IFL_state *)> &edit)
{
    std::string list = TU_read(path);
    IFL_state s{};
    for (size_t at = IFL_HEADER_SIZE; at + IFL_RECORD_SIZE <= list.size(); at += IFL_RECORD_SIZE) {
        uint8_t *record = reinterpret_cast<uint8_t *>(&list[at]);
        IFL_decode_record(&s, record);
        edit(&s);
        IFL_encode_record(&s, record);
    }
    TU_write(path, list);
}

class InsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        statuses.clear();
        WE_set_status_hook(record_status);
        configuration_taken_over = 0;
        ST_copy(CO_system_config.initial_directory, ".", 0);
    }
    void TearDown() override { WE_set_status_hook(nullptr); }

    // Installs from source into target with the rules for the boxes; the
    // result, and the boxes seen in seen.
    int16_t install(const std::string &source, const std::string &target, std::vector<RULE> rules,
                    int16_t shortcuts = 0)
    {
        IFL_state *state = nullptr;
        EXPECT_EQ(IFL_create(&state), 1);
        ST_copy(state->source_dir, (source + "\\").c_str(), IFL_PATH_MAX);
        ST_copy(state->target_dir, (target + "\\").c_str(), IFL_PATH_MAX);
        state->desktop_shortcut = state->quick_launch_shortcut = shortcuts;
        int16_t result;
        {
            BOX_SCRIPT script(std::move(rules));
            result = INS_install(state);
            UNL_close();   // as the window closes it: a failed last write is shown here
            seen = script.stop();
        }
        IFL_destroy(&state);
        return result;
    }

    TEST_DRIVER driver;
    REAL_BOXES boxes;
    TEST_WINDOW window;
    SHELL_CLEANUP shell;
    TU_SCRATCH scratch;
    std::vector<std::string> seen;
};

TEST_F(InsTest, PlainInstallationIsCompleteAndRecorded)
{
    std::vector<FILE_ENTRY> files = sample();
    build(scratch.file("dist"), files, {"--flat"});
    std::string target = scratch.file("KRV5");
    FE_make_path(quick_launch().c_str());
    ASSERT_EQ(install(scratch.file("dist"), target, {}, 1), 1);
    EXPECT_TRUE(seen.empty()) << seen.front();
    expect_installed(target, files);
    EXPECT_EQ(TU_read(target + "\\README.TXT"), "Čtěte mě\r\n");
    EXPECT_FALSE(TU_exists(target + "\\DISKLIST.LST"));
    EXPECT_EQ(TU_read(target + "\\INST.LST"), inst_lines(target, files));
    for (int i = INS_LINE_FIRST; i <= INS_LINE_LAST; i++)
        EXPECT_EQ(window.line(i), "");

    std::string t = target + "\\", g = group();
    std::vector<std::pair<int, std::string>> expected = {
        {0, t + "README.TXT"}, {0, t + "DISKLIST.LST"}, {1, t + "EXE"}, {1, t + "EXE"}, {1, t + "Data"},
        {1, t + "Data"}, {1, target}, {0, t + "EXE\\TRAKPRN.EXE"}, {0, t + "EXE\\UNINSTAL.EXE"},
        {0, t + "POPIS.TXT"}, {0, t + "Data\\VZOR.GBR"}, {0, t + "INST.LST"}, {0, t + "EXE\\SYSTEM.WCO"},
        {1, g}, {0, g + "\\TRAKPRN.LNK"}, {0, g + "\\Odinstalace TRAKPRN.LNK"},
        {0, desktop() + "\\TRAKPRN.LNK"}, {0, quick_launch() + "\\TRAKPRN.LNK"}, {3, INS_UNINSTALL_KEY}};
    EXPECT_EQ(uninst_records(t + "UNINST.LST"), expected);

    EXPECT_EQ(wco_value(t + "EXE\\SYSTEM.WCO", "system_path"), t.substr(2));
    EXPECT_EQ(wco_value(t + "EXE\\SYSTEM.WCO", "initial_directory"), t + "Data");
    LINK program{t + "EXE\\TRAKPRN.EXE", "TRAKPRN - Konverze dat Gerber->Postscript", t + "Data"};
    EXPECT_EQ(read_link(g + "\\TRAKPRN.LNK"), program);
    EXPECT_EQ(read_link(desktop() + "\\TRAKPRN.LNK"), program);
    EXPECT_EQ(read_link(quick_launch() + "\\TRAKPRN.LNK"), program);
    EXPECT_EQ(read_link(g + "\\Odinstalace TRAKPRN.LNK"), (LINK{t + "EXE\\UNINSTAL.EXE", "Odinstalace TRAKPRN", target}));
    EXPECT_EQ(registry("DisplayName"), "TRAKPRN");
    EXPECT_EQ(registry("UninstallString"), t + "EXE\\UNINSTAL.EXE");

    std::vector<std::string> steps = {"Kontrola zdrojové cesty ...", "Odstranění předchozí instalace ...",
                                      "Kontrola cílové cesty ...", "Vytváření adresářů ...",
                                      "Kontrola místa na disku ...", "Zápis/oprava konfiguračního souboru",
                                      "Aktualizace nabídky Start ...", "Aktualizace pracovní plochy ...",
                                      "Aktualizace systémové lišty ...", "Aktualizace registru (odinstalace) ..."};
    size_t at = 0;
    for (const std::string &s : statuses)
        at += at < steps.size() && s == steps[at];
    EXPECT_EQ(at, steps.size()) << "the steps in order, missing: " << (at < steps.size() ? steps[at] : "");
    EXPECT_EQ(statuses.back(), "");
    RemoveDirectoryA(quick_launch().c_str());

    // Files of an installation without its uninstall program are deleted
    // after one question.
    ASSERT_TRUE(DeleteFileA((t + "EXE\\UNINSTAL.EXE").c_str()));
    EXPECT_EQ(install(scratch.file("dist"), target, {{"Existující", NO}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>{"Dotaz|Existující soubory budou přepsány, pokračovat"});
    EXPECT_EQ(TU_read(t + "POPIS.TXT"), "Verze 5\r\n");
    EXPECT_EQ(install(scratch.file("dist"), target, {{"Existující", YES}}), 1);
    EXPECT_EQ(seen, std::vector<std::string>{"Dotaz|Existující soubory budou přepsány, pokračovat"});
    expect_installed(target, files);
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Maže se : " + t + "POPIS.TXT"), statuses.end());
}

TEST_F(InsTest, PackedTwoDisksAskForTheSecondAndCheckItsLabel)
{
    std::vector<FILE_ENTRY> files = sample(150000);
    build(scratch.file("dist"), files, {"--packed", "--disk-size", "160000"}, false);
    ASSERT_TRUE(TU_exists(scratch.file("dist\\DISK2\\B.KRV")));
    // The disk in the drive is a folder whose contents the person changes:
    // first the first disk is left in, then a second disk labelled as the
    // first, then the right one.
    std::string disk = scratch.file("disk"), first = scratch.file("dist\\DISK1"),
                second = scratch.file("dist\\DISK2"), wrong = scratch.file("wrong");
    ASSERT_TRUE(CreateDirectoryA(wrong.c_str(), nullptr));
    std::string label = TU_read(second + "\\B.KRV");
    ASSERT_NE(label.find("DISK: 2"), std::string::npos);
    TU_write(wrong + "\\B.KRV", label.replace(label.find("DISK: 2"), 7, "DISK: 1"));
    ASSERT_TRUE(MoveFileA(first.c_str(), disk.c_str()));
    auto insert = [&](std::string *out, const std::string &in) {
        return [&, out, in] { MoveFileA(disk.c_str(), out->c_str()), MoveFileA(in.c_str(), disk.c_str()); };
    };
    std::string wrong_out = wrong, first_out = first;
    std::string target = scratch.file("Moje programy\\KRV5");
    ASSERT_EQ(install(disk, target,
                      {{"Vlož DISK2", OK}, {"Nesprávná disketa", OK}, {"Zkusit znovu", YES, insert(&first_out, wrong)},
                       {"Vlož DISK2", OK}, {"Nesprávné pořadové číslo diskety (1)", OK},
                       {"Zkusit znovu", YES, insert(&wrong_out, second)}, {"Vlož DISK2", OK}}),
              1);
    EXPECT_EQ(seen, (std::vector<std::string>{"Oznámení|Vlož DISK2", " Chyba |Nesprávná disketa", "Dotaz|Zkusit znovu",
                                              "Oznámení|Vlož DISK2", " Chyba |Nesprávné pořadové číslo diskety (1)",
                                              "Dotaz|Zkusit znovu", "Oznámení|Vlož DISK2"}));
    expect_installed(target, files);
    EXPECT_EQ(TU_read(target + "\\INST.LST"), inst_lines(target, files));
    // A packed file is unpacked in the installation directory and moved.
    std::vector<std::pair<int, std::string>> records = uninst_records(target + "\\UNINST.LST");
    std::string t = target + "\\";
    std::vector<std::pair<int, std::string>> trakprn = {
        {0, t + "TRAKPRN.EX_"}, {0, t + "TRAKPRN.EXE"}, {0, t + "EXE\\TRAKPRN.EXE"}};
    EXPECT_NE(std::search(records.begin(), records.end(), trakprn.begin(), trakprn.end()), records.end());
    EXPECT_FALSE(TU_exists(t + "TRAKPRN.EXE") || TU_exists(t + "TRAKPRN.EX_"));
    EXPECT_EQ(registry("UninstallString"), "\"" + t + "EXE\\UNINSTAL.EXE\"");
}

TEST_F(InsTest, RefusedSourcesTargetsAndListsWriteNothing)
{
    build(scratch.file("dist"), sample(), {"--flat"});
    std::string unsafe = scratch.file("unsafe");
    build(unsafe, sample(), {"--flat"});
    edit_list(unsafe + "\\DISKLIST.LST", [](IFL_state *s) {
        if (ST_compare(s->target_name, "POPIS.TXT") == 0)
            ST_copy(s->target_subdir, "..", 0);
    });
    const std::string dist = scratch.file("dist"), list = TU_read(dist + "\\DISKLIST.LST");
    std::string slashed = dist;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    char short_dist[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(dist.c_str(), short_dist, sizeof short_dist), 0u);
    struct CASE { std::string source, target, box; bool target_there = false; } cases[] = {
        {scratch.file("none"), scratch.file("T1"), " Chyba |Chybná cesta/soubor nenalezen: " + scratch.file("none\\DISKLIST.LST")},
        {dist, "\\\\server\\share\\KRV5", " Chyba |Chybná cílová cesta \\\\server\\share\\KRV5\\"},
        {dist, "KRV5", " Chyba |Chybná cílová cesta KRV5\\"},
        {dist, "q:\\KRV5", " Chyba |Nelze najít disk Q:"},
        {unsafe, scratch.file("T2"), " Chyba |Nepřípustný záznam 3 souboru DISKLIST.LST: "},
        // The copy would read and write the same files.
        {dist, dist, " Chyba |Zdrojová a cílová cesta jsou stejné: " + dist + "\\", true},
        {dist, slashed, " Chyba |Zdrojová a cílová cesta jsou stejné: " + dist + "\\", true},
        {short_dist, dist + "\\.", " Chyba |Zdrojová a cílová cesta jsou stejné: " + dist + "\\", true},
        {dist, dist.substr(0, 2), " Chyba |Cílová cesta nesmí být kořenovým adresářem disku: " + dist.substr(0, 3), true},
        {dist, dist + "\\..\\..\\..\\..\\..\\..", " Chyba |Cílová cesta nesmí být kořenovým adresářem disku: ", true},
    };
    for (const CASE &c : cases) {
        SCOPED_TRACE(c.box);
        EXPECT_EQ(install(c.source, c.target, {{c.box.substr(c.box.find('|') + 1), OK}}), 0);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].substr(0, c.box.size()), c.box);
        EXPECT_EQ(FE_exists((c.target + "\\").c_str()), c.target_there ? 1 : 0);
        EXPECT_FALSE(FE_exists((dist + "\\UNINST.LST").c_str()) || FE_exists((dist + "\\Data").c_str()));
        EXPECT_TRUE(TU_read(dist + "\\DISKLIST.LST") == list);
    }
}

// The system's free space as the test sets it.
ULONGLONG free_space = 0;
BOOL WINAPI fake_free_ex(LPCSTR, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER all_free)
{
    available->QuadPart = total->QuadPart = all_free->QuadPart = free_space;
    return TRUE;
}
BOOL WINAPI fake_free(LPCSTR, LPDWORD sectors, LPDWORD bytes, LPDWORD free_clusters, LPDWORD clusters)
{
    *sectors = 8, *bytes = 512;
    *free_clusters = *clusters = static_cast<DWORD>(free_space / 4096);   // wraps above 16 TB, as the system's
    return TRUE;
}

TEST_F(InsTest, FreeSpaceCountsOneClusterMorePerFileIn64Bits)
{
    std::vector<FILE_ENTRY> files = sample();
    build(scratch.file("dist"), files, {"--flat"});
    // Two records claim 3 000 000 000 bytes each: their sum passes 32 bits,
    // and more than a 32-bit product of a 79 516 848 128-byte disk gives
    // (2 207 436 800). One is exactly one cluster: it counts two.
    edit_list(scratch.file("dist\\DISKLIST.LST"), [](IFL_state *s) {
        if (ST_compare(s->target_name, "POPIS.TXT") == 0 || ST_compare(s->target_name, "VZOR.GBR") == 0)
            s->size = 3000000000u;
        if (ST_compare(s->target_name, "TRAKPRN.EXE") == 0)
            s->size = 4096;
    });
    uint64_t need = 1000000;
    for (uint32_t size : {4096u, static_cast<uint32_t>(files[1].content.size()), 3000000000u, 3000000000u})
        need += (size / 4096 + 1) * 4096ull;
    IAT_PATCH ex("KERNEL32.dll", "GetDiskFreeSpaceExA", reinterpret_cast<void *>(fake_free_ex));
    IAT_PATCH plain("KERNEL32.dll", "GetDiskFreeSpaceA", reinterpret_cast<void *>(fake_free));
    ASSERT_TRUE(ex.active() && plain.active());
    free_space = need - 1;
    EXPECT_EQ(install(scratch.file("dist"), scratch.file("T1"), {{"Málo místa", OK}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>{" Chyba |Málo místa na disku, je třeba " + std::to_string(need) + " B"});
    for (ULONGLONG exact : {need, 79516848128ull}) {
        free_space = exact;
        SHELL_CLEANUP::clean();
        EXPECT_EQ(install(scratch.file("dist"), scratch.file("T" + std::to_string(exact)), {}), 1);
        EXPECT_TRUE(seen.empty()) << seen.front();
    }
}

TEST_F(InsTest, MissingFileIsSkippedOnRequestAndAbortIsConfirmed)
{
    std::vector<FILE_ENTRY> files = sample();
    build(scratch.file("dist"), files, {"--flat"});
    std::string missing = scratch.file("dist\\POPIS.TXT");
    ASSERT_TRUE(DeleteFileA(missing.c_str()));
    std::string target = scratch.file("T1");
    window.abort_at = "Konverzní program";
    ASSERT_EQ(install(scratch.file("dist"), target,
                      {{"Přerušit instalaci ?", NO}, {"Vlož DISK1", OK}, {"Soubor ", YES}}),
              1);
    EXPECT_EQ(seen, (std::vector<std::string>{"Dotaz|Přerušit instalaci ?", "Oznámení|Vlož DISK1",
                                              "Dotaz|Soubor " + missing + " nenalezen, vynechat"}));
    files.erase(files.begin() + 2);
    EXPECT_EQ(TU_read(target + "\\INST.LST"), inst_lines(target, files));
    EXPECT_EQ(window.line(INS_LINE_FIRST), "");

    // Declined skip and confirmed abort end the installation; what was made is recorded.
    SHELL_CLEANUP::clean();
    EXPECT_EQ(install(scratch.file("dist"), scratch.file("T2"), {{"Vlož DISK1", OK}, {"Soubor ", NO}}), 0);
    window.abort_at = "Odinstalační program";
    std::string t3 = scratch.file("T3");
    EXPECT_EQ(install(scratch.file("dist"), t3, {{"Přerušit instalaci ?", YES}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>{"Dotaz|Přerušit instalaci ?"});
    std::vector<std::pair<int, std::string>> records = uninst_records(t3 + "\\UNINST.LST");
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[records.size() - 2].second, t3 + "\\EXE\\TRAKPRN.EXE");
    EXPECT_EQ(records.back().second, t3 + "\\INST.LST");
    EXPECT_FALSE(TU_exists(t3 + "\\EXE\\SYSTEM.WCO"));
    EXPECT_EQ(registry("DisplayName"), "");
}

TEST_F(InsTest, DamagedPackedFilesAreReportedAndSkipped)
{
    std::vector<FILE_ENTRY> files = sample();
    build(scratch.file("dist"), files, {"--flat", "--packed"});
    std::string corrupt = scratch.file("dist\\POPIS.TX_"), cut = scratch.file("dist\\VZOR.GB_");
    std::string packed = TU_read(corrupt);
    packed[packed.size() / 2] ^= 0x55;
    packed[packed.size() - 1] ^= 0x55;
    TU_write(corrupt, packed);
    TU_write(cut, TU_read(cut).substr(0, 100));
    std::vector<std::string> expected;
    for (const std::string &p : {corrupt, cut}) {
        C_ZIP zip;
        EXPECT_EQ(zip.decompress_file(p.c_str(), scratch.file("probe").c_str()), 0);
        expected.push_back(std::string(" Chyba |") + ZIP_error_text(zip.last_error()));
    }
    std::string target = scratch.file("T1");
    // The Quick Launch folder is not there: said, and the installation succeeds.
    RemoveDirectoryA(quick_launch().c_str());
    expected.push_back(" Chyba |Nelze přejít do adresáře " + quick_launch() +
                       "\nDo systémové lišty nelze doplnit ikonu,\nVáš systém Windows tuto funkci nepodporuje.");
    EXPECT_EQ(install(scratch.file("dist"), target, {{"", OK}, {"", OK}, {"", OK}}, 1), 1);
    EXPECT_EQ(seen, expected);
    files.erase(files.begin() + 2, files.end());
    EXPECT_EQ(TU_read(target + "\\INST.LST"), inst_lines(target, files));
    EXPECT_FALSE(TU_exists(target + "\\POPIS.TXT") || TU_exists(target + "\\Data\\VZOR.GBR"));

    // A file that unpacks whole but to another size than its record says did
    // not land: the installation fails and the file is not left.
    build(scratch.file("sized"), sample(), {"--flat", "--packed"});
    edit_list(scratch.file("sized\\DISKLIST.LST"), [](IFL_state *s) {
        if (ST_compare(s->target_name, "VZOR.GBR") == 0)
            s->size++;
    });
    SHELL_CLEANUP::clean();
    const std::string t2 = scratch.file("T2");
    EXPECT_EQ(install(scratch.file("sized"), t2, {{"Chyba", OK}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>{" Chyba |Chyba při kopírování souboru " + t2 + "\\VZOR.GB_"});
    EXPECT_FALSE(TU_exists(t2 + "\\VZOR.GBR") || TU_exists(t2 + "\\Data\\VZOR.GBR"));
}

// Every spelling of one target is installed into the same folder, recorded in
// its one spelling, and removed by the installation's own uninstall program
// to nothing.
TEST_F(InsTest, EverySpellingOfTheTargetInstallsAndUninstallsToNothing)
{
    build(scratch.file("dist"), sample(5000, true), {"--flat"});
    const std::string target = scratch.file("KRV 5"), long_folder = scratch.file("Dlouhy nazev slozky");
    ASSERT_EQ(FE_make_path(long_folder.c_str()), 1);
    char short_folder[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(long_folder.c_str(), short_folder, sizeof short_folder), 0u);
    ASSERT_EQ(std::string(short_folder).find("Dlouhy"), std::string::npos) << short_folder;
    std::string slashed = target;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const struct { std::string typed, canonical; } cases[] = {
        {slashed, target},
        {scratch.path() + "\\\\KRV 5", target},
        {scratch.path() + "\\.\\Data\\..\\KRV 5", target},
        {scratch.path() + "\\ KRV 5 ", target},
        {std::string(short_folder) + "\\KRV 5", long_folder + "\\KRV 5"},
    };
    const std::vector<std::string> roots = {scratch.path(), group(), desktop()};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        SHELL_CLEANUP::clean();
        const std::vector<std::string> before = snapshot(roots);
        ASSERT_EQ(install(scratch.file("dist"), c.typed, {}), 1);
        EXPECT_TRUE(seen.empty()) << seen.front();
        const std::vector<std::pair<int, std::string>> records = uninst_records(c.canonical + "\\UNINST.LST");
        ASSERT_FALSE(records.empty());
        EXPECT_EQ(records.front().second, c.canonical + "\\README.TXT");
        EXPECT_EQ(registry("UninstallString"), "\"" + c.canonical + "\\EXE\\UNINSTAL.EXE\"");
        const CHILD_RUN run = WT_run_child(c.canonical + "\\EXE\\UNINSTAL.EXE", "-r", scratch.path(), "Odinstalace TRAKPRN");
        EXPECT_EQ(run.code, 0u);
        if (run.code != 0)   // what its list still holds
            for (const auto &r : uninst_records(c.canonical + "\\UNINST.LST"))
                ADD_FAILURE() << "left: " << r.first << " " << r.second;
        WT_wait([&] { return !TU_exists(c.canonical); }, SYS_STARTED_WAIT_MS);
        EXPECT_EQ(snapshot(roots), before);
    }
}

TEST_F(InsTest, FullDiskDuringTheCopyFailsTheInstallation)
{
    // A tmpfs of 256 KB mounted at /tmp/trk-full by the test run; the records
    // understate the sizes so that the space check passes.
    const std::string full = "Z:\\tmp\\trk-full";
    uint64_t free_bytes = 0;
    uint32_t cluster = 0;
    ASSERT_TRUE(FE_disk_space((full + "\\").c_str(), &free_bytes, &cluster) && free_bytes < 300000)
        << "the small disk " << full << " is mounted by test.sh";
    std::vector<FILE_ENTRY> files = sample(400000);
    build(scratch.file("dist"), files, {"--flat"});
    edit_list(scratch.file("dist\\DISKLIST.LST"), [](IFL_state *s) { s->size = 10; });
    std::string target = full + "\\KRV5";
    // A full disk: the first record cannot be written, so nothing is made.
    TU_write(full + "\\filler", std::string(free_bytes, 'x'));
    EXPECT_EQ(install(scratch.file("dist"), target, {{"Do souboru", OK}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>{" Chyba |Do souboru UNINST.LST nelze zapisovat (plný disk?)"});
    EXPECT_FALSE(TU_exists(target + "\\README.TXT"));
    // A full disk after the records: the small copy's last bytes, written
    // before it takes its name, do not fit.
    DeleteFileA((full + "\\filler").c_str());
    TU_write(full + "\\filler", std::string(free_bytes - 4096, 'x'));   // one page: the list's
    EXPECT_EQ(install(scratch.file("dist"), target, {{"Do souboru", OK}, {"Chyba při kopírování souboru", OK}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>({" Chyba |Do souboru " + target + "\\README.TXT nelze zapisovat (plný disk?)",
                                              " Chyba |Chyba při kopírování souboru " + scratch.file("dist\\README.TXT")}));
    EXPECT_FALSE(TU_exists(target + "\\README.TXT"));
    DeleteFileA((full + "\\filler").c_str());
    // The disk fills up during the copy.
    EXPECT_EQ(install(scratch.file("dist"), target, {{"Do souboru", OK}, {"Chyba při kopírování (", OK}, {"Chyba při kopírování souboru", OK}}), 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), " Chyba |Chyba při kopírování souboru " + scratch.file("dist\\TRAKPRN.EXE"));
    EXPECT_FALSE(TU_exists(target + "\\EXE\\TRAKPRN.EXE"));
    EXPECT_EQ(TU_read(target + "\\INST.LST"), "");
    std::vector<std::pair<int, std::string>> records = uninst_records(target + "\\UNINST.LST");
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().second, target + "\\INST.LST");
    // The disk fills up while a packed file is unpacked: the installation
    // stops there, as at the copy (bad packed data would let it go on).
    build(scratch.file("packed"), files, {"--flat", "--packed"});
    edit_list(scratch.file("packed\\DISKLIST.LST"), [](IFL_state *s) { s->size = 10; });
    SetCurrentDirectoryA(scratch.path().c_str());
    std::error_code ec;
    std::filesystem::remove_all(target, ec);
    EXPECT_EQ(install(scratch.file("packed"), target, {{"Do souboru", OK}, {"Komprese", OK}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>({" Chyba |Do souboru " + target + "\\EXE\\TRAKPRN.EXE.$$$ nelze zapisovat (plný disk?)",
                                              " Chyba |Komprese/dekomprese dat - chyba při práci se soubory"}));
    EXPECT_FALSE(TU_exists(target + "\\EXE\\TRAKPRN.EXE") || TU_exists(target + "\\EXE\\UNINSTAL.EXE"));
    SetCurrentDirectoryA(scratch.path().c_str());
    std::filesystem::remove_all(target, ec);
}

// ---- failing shell calls ----

LONG WINAPI failing_flush(HKEY) { return ERROR_ACCESS_DENIED; }
HRESULT WINAPI failing_create(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID *object)
{
    *object = nullptr;
    return E_FAIL;
}
DWORD minor_version = 10;
BOOL WINAPI windows_9x(LPOSVERSIONINFOA info)
{
    info->dwMajorVersion = 4, info->dwMinorVersion = minor_version, info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    return TRUE;
}

TEST_F(InsTest, ShellFailuresAreReportedAndTheInstallationStillSucceeds)
{
    std::vector<FILE_ENTRY> files = sample();
    files.erase(files.begin());   // no program: its shortcuts point at nothing
    build(scratch.file("dist"), files, {"--flat"});
    const std::string no_program = " Chyba |Nelze najít spustitelný program systému TOREVAN";
    struct CASE {
        const char *dll, *function;
        void *replacement;
        std::vector<std::string> boxes;
        bool links;
    } cases[] = {
        {"ADVAPI32.dll", "RegFlushKey", reinterpret_cast<void *>(failing_flush),
         {no_program, " Chyba |Chyba při ukládání registru\n(RegFlushKey)"}, true},
        {"OLE32.dll", "CoCreateInstance", reinterpret_cast<void *>(failing_create),
         {no_program, " Chyba |Nelze vytvořit zástupce", " Chyba |Nelze vytvořit zástupce"}, false},
        {nullptr, nullptr, nullptr, {" Chyba |Windows NT - Nelze zjistit adresář nabídky Start|Programy"}, false},
    };
    int n = 0;
    for (const CASE &c : cases) {
        SCOPED_TRACE(c.boxes.back());
        SHELL_CLEANUP::clean();
        std::optional<IAT_PATCH> patch;
        char programs[SYS_FOLDER_MAX + 1] = {};
        if (c.dll) {
            patch.emplace(c.dll, c.function, c.replacement);
            ASSERT_TRUE(patch->active());
        } else {   // no all-users Programs folder
            SYS_shell_folder(HKEY_LOCAL_MACHINE, "Common Programs", programs);
            ASSERT_EQ(RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SYS_SHELL_FOLDERS, "Common Programs"), ERROR_SUCCESS);
        }
        std::vector<RULE> rules;
        for (const std::string &box : c.boxes)
            rules.push_back({box.substr(box.find('|') + 1), OK});
        std::string target = scratch.file("T" + std::to_string(n++));
        EXPECT_EQ(install(scratch.file("dist"), target, rules), 1);
        if (programs[0])
            SYS_registry_write(HKEY_LOCAL_MACHINE, SYS_SHELL_FOLDERS, "Common Programs", programs);
        EXPECT_EQ(seen, c.boxes);
        // The Uninstall entry is written whatever failed before.
        EXPECT_EQ(registry("UninstallString"), target + "\\EXE\\UNINSTAL.EXE");
        // The program's shortcut is made although the program is missing.
        EXPECT_EQ(read_link(group() + "\\TRAKPRN.LNK").has_value(), c.links);
    }

    // Windows 98 and 95: the group goes into the user's Programs folder.
    IAT_PATCH version("KERNEL32.dll", "GetVersionExA", reinterpret_cast<void *>(windows_9x));
    ASSERT_TRUE(version.active());
    std::string user_group = folder(HKEY_CURRENT_USER, "Programs") + "\\TOREVAN";
    for (DWORD minor : {10u, 0u}) {
        minor_version = minor;
        SHELL_CLEANUP::clean();
        EXPECT_EQ(install(scratch.file("dist"), scratch.file("T9" + std::to_string(minor)), {{"Nelze najít", OK}}), 1);
        EXPECT_TRUE(read_link(user_group + "\\Odinstalace TRAKPRN.LNK").has_value());
        EXPECT_FALSE(FE_exists(group().c_str()));
        SetCurrentDirectoryA(scratch.path().c_str());
        DeleteFileA((user_group + "\\TRAKPRN.LNK").c_str());
        DeleteFileA((user_group + "\\Odinstalace TRAKPRN.LNK").c_str());
        EXPECT_TRUE(RemoveDirectoryA(user_group.c_str()));
    }
}


// ---- over a previous installation, and its removal ----

void set_initial_directory(const std::string &file, const char *value)
{
    WCO_file *store = nullptr;
    WCO_create(&store);
    WCO_load(store, file.c_str());
    WCO_set_text(store, "CO_common", "initial_directory", value);
    WCO_save_forced(store, file.c_str());
    WCO_destroy(&store);
}

TEST_F(InsTest, PreviousInstallationIsRemovedByItsOwnUninstallProgram)
{
    std::vector<FILE_ENTRY> files = sample(5000, true);
    build(scratch.file("dist"), files, {"--flat"});
    const std::string target = scratch.file("KRV5"), t = target + "\\", wco = t + "EXE\\SYSTEM.WCO";
    ASSERT_EQ(install(scratch.file("dist"), target, {}), 1);
    TU_write(t + "Data\\MOJE.GBR", "vlastní data");
    FE_make_path(quick_launch().c_str());
    const std::string found = "Dotaz|Na cílové cestě byla nalezena předchozí instalace TOREVAN.\n"
                              "Před novou instalací je třeba minulou odstranit. Pokračovat?";
    const std::string take = "Dotaz|Pro novou instalaci může být převzata systémová konfigurace\n"
                             "z předchozí instalace TOREVAN. Má se převzít systémová\nkonfigurace z předchozí instalace?";
    // Declined: nothing is touched.
    const std::string list = TU_read(t + "UNINST.LST");
    EXPECT_EQ(install(scratch.file("dist"), target, {{"Na cílové", NO}}), 0);
    EXPECT_EQ(seen, std::vector<std::string>{found});
    EXPECT_EQ(TU_read(t + "UNINST.LST"), list);

    // Removed, with and without the previous configuration; the user's file stays.
    for (int16_t taken : {0, 1}) {
        SCOPED_TRACE(taken);
        set_initial_directory(wco, "D:\\JINDE");
        EXPECT_EQ(install(scratch.file("dist"), target, {{"Na cílové", YES}, {"Pro novou", taken ? YES : NO}}, 1), 1);
        EXPECT_EQ(seen, (std::vector<std::string>{found, take}));
        EXPECT_EQ(configuration_taken_over, taken);
        EXPECT_EQ(wco_value(wco, "initial_directory"), taken ? "D:\\JINDE" : t + "Data");
        expect_installed(target, files);
        EXPECT_EQ(TU_read(t + "Data\\MOJE.GBR"), "vlastní data");
        EXPECT_TRUE(read_link(group() + "\\TRAKPRN.LNK") && read_link(quick_launch() + "\\TRAKPRN.LNK"));
        EXPECT_EQ(uninst_records(t + "UNINST.LST").size(), 19u);   // made anew, nothing twice
    }

    // An uninstall program that fails (its list is damaged): it says why,
    // and nothing is installed.
    std::string damaged = TU_read(t + "UNINST.LST");
    damaged[UNL_RECORD_SIZE] = 2;   // a record of a kind the writer never makes
    TU_write(t + "UNINST.LST", damaged);
    EXPECT_EQ(install(scratch.file("dist"), target,
                      {{"Na cílové", YES}, {"Pro novou", NO}, {"Seznam", OK}, {"Chyba", OK}}),
              0);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[2], "Odinstalace TRAKPRN|Seznam " + t + "UNINST.LST je poškozen\nNic nebylo odstraněno.");
    EXPECT_EQ(seen.back(), " Chyba |Chyba při spuštění odinstalačního programu TOREVAN");
    EXPECT_TRUE(TU_read(t + "UNINST.LST") == damaged);
    RemoveDirectoryA(quick_launch().c_str());
}

TEST_F(InsTest, UninstallLeavesWhatWasThereBeforeAndTheUsersFiles)
{
    build(scratch.file("dist"), sample(5000, true), {"--packed"});
    FE_make_path(quick_launch().c_str());
    const std::vector<std::string> roots = {scratch.path(), folder(HKEY_LOCAL_MACHINE, "Common Programs"),
                                            desktop(), quick_launch()};
    for (const char *arguments : {"-r", ""}) {
        SCOPED_TRACE(arguments);
        const std::string target = scratch.file(std::string("Moje programy\\KRV5") + arguments);
        FE_make_path(scratch.file("Moje programy").c_str());
        std::vector<std::string> before = snapshot(roots);
        ASSERT_EQ(install(scratch.file("dist\\DISK1"), target, {}, 1), 1);
        TU_write(target + "\\Data\\MOJE.GBR", "vlastní data");
        // The uninstall program as the Start menu's shortcut starts it.
        std::optional<LINK> link = read_link(group() + "\\Odinstalace TRAKPRN.LNK");
        ASSERT_TRUE(link.has_value());
        CHILD_RUN run = WT_run_child(link->program, arguments, link->directory, "Odinstalace TRAKPRN",
                                     arguments[0] ? std::vector<int>{} : std::vector<int>{IDYES, IDOK});
        EXPECT_EQ(run.code, 0u);
        WT_wait([&] { return !TU_exists(target + "\\EXE"); }, SYS_STARTED_WAIT_MS);
        for (const std::string &kept : {target, target + "\\Data", target + "\\Data\\MOJE.GBR"})
            before.push_back(kept);
        std::sort(before.begin(), before.end());
        EXPECT_EQ(snapshot(roots), before);
    }
    RemoveDirectoryA(quick_launch().c_str());
}

}  // namespace
