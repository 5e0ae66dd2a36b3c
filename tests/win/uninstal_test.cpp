// The uninstall program: the places a record may point to and the texts of
// what was left, in this process; whole runs of UNINSTAL.EXE against real
// installations in scratch folders and the prefix's shell folders, its boxes
// answered from here, its own file gone within two seconds of its end.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/fe.h"
#include "common/sysfold.h"
#include "common/syslink.h"
#include "common/sysproc.h"
#include "common/sysreg.h"
#include "inst/unl.h"
#include "insttrkp/unr.h"
#include "tests/testutil.h"
#include "tests/win/instutil.h"
#include "tests/win/winutil.h"
#include "win/guard.h"

namespace {

const int ALLOWED_AFTER_EXIT_MS = SYS_STARTED_WAIT_MS;   // the installer waits this long for what it left running

std::string shell_folder(HKEY root, const char *name)
{
    char folder[SYS_FOLDER_MAX + 1];
    EXPECT_EQ(SYS_shell_folder(root, name, folder), 1) << name;
    return folder;
}

std::string program_path()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + "UNINSTAL.exe";
}

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void make_file(const std::string &path) { TU_write(path, "x\r\n"); }

// The number of the copies' files in the temporary folder.
int temporary_copies()
{
    char folder[MAX_PATH + 1];
    GetTempPathA(sizeof folder, folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(folder) + "UNI*.tmp").c_str(), &found);
    int count = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        count++;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return count;
}

// Milliseconds from the end of the run until the path is gone; -1 when it
// is still there after the time allowed.
int gone_after(const CHILD_RUN &r, const std::string &path)
{
    WT_wait([&] { return !exists(path); }, ALLOWED_AFTER_EXIT_MS);
    if (exists(path))
        return -1;
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - r.ended).count());
}

// A whole installation as the installer leaves it, in <scratch>\KRV5, with
// its links in the prefix's shell folders and its registry key; UNINST.LST
// records it in the installer's order. Whatever is left goes with the object.
class INSTALLATION {
public:
    INSTALLATION()
        : dir(scratch.path() + "\\KRV5"), exe(dir + "\\EXE"), data(dir + "\\Data"),
          program(exe + "\\UNINSTAL.EXE"), group(shell_folder(HKEY_CURRENT_USER, "Programs") + "\\TOREVAN"),
          quick_launch(shell_folder(HKEY_CURRENT_USER, "AppData") + UNR_QUICK_LAUNCH),
          desktop_link(shell_folder(HKEY_CURRENT_USER, "Desktop") + "\\TRAKPRN.LNK")
    {
        for (const std::string &d : {exe, data, group, quick_launch})
            EXPECT_EQ(FE_make_path(d.c_str()), 1) << d;
        EXPECT_TRUE(CopyFileA(program_path().c_str(), program.c_str(), FALSE)) << program;
        files = {dir + "\\README.TXT", exe + "\\TRAKPRN.EXE", data + "\\VZOR.DAT", dir + "\\INST.LST",
                 exe + "\\SYSTEM.WCO"};
        for (const std::string &f : files)
            make_file(f);
        links = {group + "\\TRAKPRN.LNK", group + "\\Odinstalace TRAKPRN.LNK", desktop_link,
                 quick_launch + "\\TRAKPRN.LNK"};
        for (const std::string &l : links)
            EXPECT_EQ(SYS_make_link(l.c_str(), (exe + "\\TRAKPRN.EXE").c_str(), "TRAKPRN", exe.c_str()), 0) << l;
        EXPECT_EQ(SYS_registry_write(HKEY_LOCAL_MACHINE, UNR_UNINSTALL_KEY, "DisplayName", "TRAKPRN"), 1);
    }
    ~INSTALLATION()
    {
        for (const std::string &l : links)
            DeleteFileA(l.c_str());
        RemoveDirectoryA(group.c_str());
        SYS_registry_delete_key(HKEY_LOCAL_MACHINE, UNR_UNINSTALL_KEY);
    }

    // UNINST.LST with the installation's records and then the extra ones
    // (a second text: a directory).
    void record(const std::vector<std::pair<int16_t, std::string>> &extra = {})
    {
        ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
        UNL_open();
        UNL_add_file(dir.c_str(), "README.TXT");
        UNL_add_file(dir.c_str(), "DISKLIST.LST");   // removed by the installer at its end
        for (const std::string &d : {exe, data, exe, data, dir})
            UNL_add_directory(d.c_str());
        UNL_add_file(exe.c_str(), "TRAKPRN.EXE");
        UNL_add_file(program.c_str());
        UNL_add_file(dir.c_str(), "TRAKPRN.EXE");    // the packed file, moved away
        UNL_add_file(data.c_str(), "VZOR.DAT");
        UNL_add_file(dir.c_str(), "INST.LST");
        UNL_add_file(exe.c_str(), "SYSTEM.WCO");
        UNL_add_directory(group.c_str());
        for (const std::string &l : links)
            UNL_add_file(l.c_str());
        UNL_add_registry_key(UNR_UNINSTALL_KEY);
        for (const auto &e : extra)
            e.first == UNL_KIND_DIRECTORY ? UNL_add_directory(e.second.c_str()) : e.first == UNL_KIND_FILE
                                                                                      ? UNL_add_file(e.second.c_str())
                                                                                      : UNL_add_registry_key(e.second.c_str());
        UNL_close();
        SetCurrentDirectoryA(scratch.path().c_str());   // no folder of the installation is ours
    }
    std::string list() const { return dir + "\\UNINST.LST"; }
    CHILD_RUN uninstall(const std::string &arguments, const std::vector<int> &buttons = {}) const
    {
        return WT_run_child(program, arguments, scratch.path(), UNR_TITLE, buttons);
    }
    // What is still there of the installation's files, links, lists and key.
    std::string left() const
    {
        std::string names;
        for (const std::string &f : files)
            names += exists(f) ? f + "\n" : "";
        for (const std::string &l : links)
            names += exists(l) ? l + "\n" : "";
        names += exists(list()) ? list() + "\n" : "";
        names += exists(group) ? group + "\n" : "";
        names += SYS_registry_key_exists(HKEY_LOCAL_MACHINE, UNR_UNINSTALL_KEY) ? "key\n" : "";
        return names;
    }
    std::string all() const
    {
        std::string names;
        for (const std::string &f : files)
            names += f + "\n";
        for (const std::string &l : links)
            names += l + "\n";
        return names + list() + "\n" + group + "\nkey\n";
    }

    TU_SCRATCH scratch;
    const std::string dir, exe, data, program, group, quick_launch, desktop_link;
    std::vector<std::string> files, links;
};

}  // namespace

// "-r": everything recorded goes; a directory holding a file of the user
// stays with it; exit code 0; the program file, its folder and the copy
// that removed them are gone within the time the installer allows.
TEST(Uninst, QuietRunRemovesTheInstallationAndItself)
{
    INSTALLATION inst;
    const std::string user_file = inst.data + "\\MOJE.DAT";
    make_file(user_file);
    inst.record();
    const int copies = temporary_copies();
    const CHILD_RUN r = inst.uninstall("-r");
    EXPECT_EQ(r.code, 0u);
    EXPECT_EQ(inst.left(), "");
    EXPECT_TRUE(exists(user_file));
    const int program_gone = gone_after(r, inst.program), folder_gone = gone_after(r, inst.exe);
    EXPECT_GE(program_gone, 0) << "the program file is still there";
    EXPECT_GE(folder_gone, 0) << "its folder is still there";
    std::printf("program file gone %d ms, its folder %d ms after the end\n", program_gone, folder_gone);
    EXPECT_TRUE(WT_wait([&] { return temporary_copies() == copies; }, ALLOWED_AFTER_EXIT_MS));
    EXPECT_TRUE(exists(inst.dir));   // it holds Data, which holds the user's file
}

// Records outside the installation and its places, or not plain, stay; so
// does another registry key; the rest goes and the exit code tells.
TEST(Uninst, QuietRunLeavesRecordsOutside)
{
    INSTALLATION inst;
    TU_SCRATCH other;
    const std::string sibling = inst.scratch.path() + "\\KRV5X", other_key = "SOFTWARE\\TRK_TESTS\\Uninstall";
    ASSERT_EQ(FE_make_path(sibling.c_str()), 1);
    const std::vector<std::string> outside = {other.file("CIZI.TXT"), sibling + "\\CIZI.TXT",
                                              inst.scratch.path() + "\\CIZI.TXT"};
    for (const std::string &f : outside)
        make_file(f);
    ASSERT_EQ(SYS_registry_write(HKEY_LOCAL_MACHINE, other_key.c_str(), "x", "y"), 1);
    inst.record({{UNL_KIND_FILE, outside[0]},
                 {UNL_KIND_FILE, outside[1]},
                 {UNL_KIND_FILE, inst.exe + "\\..\\..\\CIZI.TXT"},
                 {UNL_KIND_FILE, "CIZI.TXT"},
                 {UNL_KIND_DIRECTORY, sibling},
                 {UNL_KIND_REGISTRY_KEY, other_key}});
    const CHILD_RUN r = inst.uninstall("-r");
    EXPECT_EQ(r.code, 1u);
    for (const std::string &f : outside)
        EXPECT_TRUE(exists(f)) << f;
    EXPECT_TRUE(exists(sibling));
    EXPECT_EQ(SYS_registry_key_exists(HKEY_LOCAL_MACHINE, other_key.c_str()), 1);
    // Something is left: the way back stays, and the list holds exactly what is there.
    EXPECT_EQ(inst.left(), inst.group + "\\" UNR_UNINSTALL_LINK "\n" + inst.list() + "\n" + inst.group + "\nkey\n");
    EXPECT_TRUE(exists(inst.program));
    const std::vector<std::pair<int, std::string>> kept = {
        {1, inst.exe}, {1, inst.exe}, {1, inst.dir}, {0, inst.program}, {1, inst.group},
        {0, inst.group + "\\" UNR_UNINSTALL_LINK}, {3, UNR_UNINSTALL_KEY}, {0, outside[0]}, {0, outside[1]},
        {0, inst.exe + "\\..\\..\\CIZI.TXT"}, {0, "CIZI.TXT"}, {1, sibling}, {3, other_key}};
    EXPECT_EQ(inst_check::uninst_records(inst.list()), kept);
    SYS_registry_delete_key(HKEY_LOCAL_MACHINE, other_key.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\TRK_TESTS");
}

// A missing list, one with a record of an unknown kind and one whose path
// runs past its field: nothing is touched, exit code 1, and one box says why,
// with "-r" too (an error box: the installer that waits could not tell why).
// A list whose last record a kill cut short is no damaged list.
TEST(Uninst, MissingOrDamagedListTouchesNothing)
{
    const struct { const char *fault; std::function<void(std::string &)> damage; const char *text; } cases[] = {
        {"missing", nullptr, UNR_TEXT_MISSING},
        {"kind 2", [](std::string &b) { b[2 * UNL_RECORD_SIZE] = 2; }, UNR_TEXT_DAMAGED},
        {"no terminator", [](std::string &b) { b[UNL_RECORD_SIZE + 1026] = 'x'; }, UNR_TEXT_DAMAGED},
        {"empty", [](std::string &b) { b.clear(); }, UNR_TEXT_DAMAGED},
    };
    for (const auto &c : cases) {
        INSTALLATION inst;
        inst.record();
        std::string bytes = TU_read(inst.list());
        if (c.damage)
            c.damage(bytes), TU_write(inst.list(), bytes);
        else
            DeleteFileA(inst.list().c_str());
        const std::string before = inst.left();
        char text[UNL_PATH_MAX + 128];
        std::snprintf(text, sizeof text, c.text, inst.list().c_str());
        for (const char *arguments : {"-r", ""}) {
            const CHILD_RUN run = inst.uninstall(arguments, {IDOK});
            EXPECT_EQ(run.code, 1u) << c.fault;
            EXPECT_EQ(run.boxes, std::vector<std::string>{std::string(text) + "\n" UNR_TEXT_NOTHING}) << c.fault;
        }
        EXPECT_EQ(inst.left(), before) << c.fault;
        EXPECT_TRUE(exists(inst.program)) << c.fault;
    }
}

// Without "-r" it asks first: "Ne" leaves everything; "Ano" removes it all,
// the installation directory too, and says so.
TEST(Uninst, AsksFirstAndTellsTheResult)
{
    INSTALLATION inst;
    inst.record();
    char question[UNL_PATH_MAX + 128];
    std::snprintf(question, sizeof question, UNR_TEXT_QUESTION, inst.dir.c_str());
    const CHILD_RUN no = inst.uninstall("", {IDNO});
    EXPECT_EQ(no.code, 1u);
    EXPECT_EQ(no.boxes, std::vector<std::string>{question});
    EXPECT_EQ(inst.left(), inst.all());

    const CHILD_RUN yes = inst.uninstall("", {IDYES, IDOK});
    EXPECT_EQ(yes.code, 0u);
    EXPECT_EQ(yes.boxes, (std::vector<std::string>{question, UNR_TEXT_DONE}));
    EXPECT_EQ(inst.left(), "");
    EXPECT_GE(gone_after(yes, inst.dir), 0) << "the installation directory is still there";
}

// A file in use cannot go: the way back stays (the program, its shortcut, the
// key) and the list is rewritten to what is left; the last box says so and
// names the record a killed installer cut. Freed, a second run removes the rest.
TEST(Uninst, AFileInUseKeepsTheWayBackAndASecondRunFinishes)
{
    INSTALLATION inst;
    inst.record({{UNL_KIND_FILE, inst.dir + "\\NEDOKONCENY.TXT"}});
    std::string bytes = TU_read(inst.list());
    TU_write(inst.list(), bytes.substr(0, bytes.size() - 100));   // the last record, cut by a kill
    const std::string busy = inst.data + "\\VZOR.DAT";
    HANDLE open_file = CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char question[UNL_PATH_MAX + 128], cut[UNL_PATH_MAX + 128];
    std::snprintf(question, sizeof question, UNR_TEXT_QUESTION, inst.dir.c_str());
    std::snprintf(cut, sizeof cut, UNR_TEXT_CUT, inst.list().c_str());
    const CHILD_RUN first = inst.uninstall("", {IDYES, IDOK});
    EXPECT_EQ(first.code, 1u);
    EXPECT_EQ(first.boxes, (std::vector<std::string>{question, UNR_TEXT_PARTLY "\nNelze odstranit: " + busy +
                                                                   "\n" UNR_TEXT_AGAIN "\n" + cut}));
    EXPECT_EQ(inst.left(), busy + "\n" + inst.group + "\\" UNR_UNINSTALL_LINK "\n" + inst.list() + "\n" + inst.group +
                               "\nkey\n");
    EXPECT_TRUE(exists(inst.program));
    const std::vector<std::pair<int, std::string>> kept = {
        {1, inst.exe},     {1, inst.data}, {1, inst.exe},   {1, inst.data},
        {1, inst.dir},     {0, inst.program}, {0, busy},    {1, inst.group},
        {0, inst.group + "\\" UNR_UNINSTALL_LINK}, {3, UNR_UNINSTALL_KEY}};
    EXPECT_EQ(inst_check::uninst_records(inst.list()), kept);

    CloseHandle(open_file);
    const CHILD_RUN second = inst.uninstall("-r");
    EXPECT_EQ(second.code, 0u);
    EXPECT_EQ(inst.left(), "");
    EXPECT_GE(gone_after(second, inst.dir), 0) << "the installation directory is still there";
}

// A folder of the installation that became a link to another folder, as a
// recorded directory and on the way to a recorded file: nothing is deleted
// through it, the records are named, the way back stays.
TEST(Uninst, LinksInTheInstallationAreNeverFollowed)
{
    INSTALLATION inst;
    TU_SCRATCH other;
    const std::string elsewhere = other.file("VZOR.DAT"), link_dir = inst.dir + "\\ODKAZ";
    make_file(elsewhere);
    ASSERT_TRUE(DeleteFileA((inst.data + "\\VZOR.DAT").c_str()) && RemoveDirectoryA(inst.data.c_str()));
    ASSERT_TRUE(inst_check::unix_link(other.path(), inst.data));
    ASSERT_TRUE(inst_check::unix_link(other.path(), link_dir));
    inst.record({{UNL_KIND_DIRECTORY, link_dir}});
    const CHILD_RUN r = inst.uninstall("", {IDYES, IDOK});
    EXPECT_EQ(r.code, 1u);
    ASSERT_EQ(r.boxes.size(), 2u);
    EXPECT_EQ(r.boxes[1], UNR_TEXT_PARTLY "\nZáznam vede přes odkaz, ponechán: " + inst.data +
                              "\nZáznam vede přes odkaz, ponechán: " + inst.data + "\\VZOR.DAT\n"
                              "Záznam vede přes odkaz, ponechán: " + link_dir + "\n" UNR_TEXT_AGAIN);
    EXPECT_TRUE(exists(elsewhere) && exists(other.path()));
    EXPECT_TRUE(exists(inst.data) && exists(link_dir) && exists(inst.program));
    for (const std::string &l : {inst.data, link_dir})
        RemoveDirectoryA(l.c_str());
}

// The copy deletes the very program file it was started for: a file that
// took the name meanwhile (a new installation's) stays; then its own file
// goes with the empty folders.
TEST(Uninst, TheCopyDeletesOnlyTheFileItWasStartedFor)
{
    TU_SCRATCH scratch;
    const std::string dir = scratch.file("KRV5"), exe = dir + "\\EXE", program = exe + "\\UNINSTAL.EXE";
    ASSERT_EQ(FE_make_path(exe.c_str()), 1);
    make_file(program);
    auto ended = [] {   // stands for the process the copy waits for
        HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
        return std::to_string(reinterpret_cast<uintptr_t>(event));
    };
    const std::string started_for = UNR_identity(program.c_str());
    ASSERT_NE(started_for, "");
    ASSERT_TRUE(DeleteFileA(program.c_str()));
    TU_write(program, "novější\r\n");
    EXPECT_EQ(UNR_helper(ended().c_str(), program.c_str(), started_for.c_str()), 1);
    EXPECT_EQ(TU_read(program), "novější\r\n");
    EXPECT_EQ(UNR_helper(ended().c_str(), program.c_str(), UNR_identity(program.c_str()).c_str()), 0);
    EXPECT_FALSE(exists(program) || exists(exe) || exists(dir));
}
