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
#include "common/sysreg.h"
#include "inst/unl.h"
#include "insttrkp/unr.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "win/guard.h"

namespace {

const int ALLOWED_AFTER_EXIT_MS = 2000;   // the installer waits this long before it installs again

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

// Plain paths, places compared without regard to case and never by a bare
// prefix, the shell folders kept themselves, exactly one registry key.
TEST(Uninst, PlacesARecordMayPointTo)
{
    UNR_PLACES places{};
    EXPECT_EQ(UNR_add_place(&places, "D:\\KRV5\\", 1), 1);
    EXPECT_EQ(UNR_add_place(&places, "C:\\Nabídka Start\\Programy", 0), 1);
    for (const char *root : {"D:\\", "D:", "KRV5", "D:\\KRV5\\..\\X"})
        EXPECT_EQ(UNR_add_place(&places, root, 0), 0) << root;
    const struct { int16_t kind; const char *path; int16_t allowed; } cases[] = {
        {UNL_KIND_FILE, "D:\\KRV5\\EXE\\TRAKPRN.EXE", 1},
        {UNL_KIND_FILE, "d:\\krv5\\exe\\trakprn.exe", 1},
        {UNL_KIND_DIRECTORY, "D:\\KRV5", 1},
        {UNL_KIND_FILE, "D:\\KRV5", 0},
        {UNL_KIND_FILE, "D:\\KRV5X\\SOUBOR", 0},
        {UNL_KIND_DIRECTORY, "D:\\KRV5X", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\..\\BOOT.INI", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\.\\README.TXT", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\...\\README.TXT", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\README.TXT.", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\EXE\\", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\\\README.TXT", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\EXE/../../BOOT.INI", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\README.TXT:proud", 0},
        {UNL_KIND_FILE, "D:\\KRV5\\*.*", 0},
        {UNL_KIND_FILE, "KRV5\\README.TXT", 0},
        {UNL_KIND_FILE, "\\\\server\\KRV5\\README.TXT", 0},
        {UNL_KIND_FILE, "", 0},
        {UNL_KIND_FILE, "C:\\Nabídka Start\\Programy\\TOREVAN\\TRAKPRN.LNK", 1},
        {UNL_KIND_DIRECTORY, "c:\\NABÍDKA START\\programy\\TOREVAN", 1},
        {UNL_KIND_DIRECTORY, "C:\\Nabídka Start\\Programy", 0},
        {UNL_KIND_FILE, "C:\\Nabídka Start\\TRAKPRN.LNK", 0},
        {UNL_KIND_REGISTRY_KEY, "software\\microsoft\\windows\\currentversion\\uninstall\\trakprn", 1},
        {UNL_KIND_REGISTRY_KEY, UNR_UNINSTALL_KEY "\\X", 0},
        {UNL_KIND_REGISTRY_KEY, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0},
        {UNL_KIND_REGISTRY_KEY, "D:\\KRV5\\README.TXT", 0},
        {2, "D:\\KRV5\\README.TXT", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UNR_allowed(&places, c.kind, c.path), c.allowed) << c.kind << " " << c.path;

    char dir[UNL_PATH_MAX + 1];
    EXPECT_EQ(UNR_install_dir("D:\\KRV5\\EXE\\UNINSTAL.EXE", dir), 1);
    EXPECT_STREQ(dir, "D:\\KRV5");
    EXPECT_EQ(UNR_install_dir("D:\\EXE\\UNINSTAL.EXE", dir), 0);   // never a whole drive
    EXPECT_STREQ(dir, "");
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Each record left is told once, failures and records outside alike, up to
// the number of lines, then how many more; a line that does not fit is left out.
TEST(Uninst, TextOfWhatWasLeft)
{
    TU_SCRATCH scratch;
    UNL_open();
    for (const char *path : {"D:\\A", "D:\\B", "D:\\A", "D:\\C", "D:\\D", "D:\\E"})
        UNL_add_directory(path);
    UNL_close();
    C_UNR_LIST list;
    ASSERT_EQ(UNR_load(scratch.file("UNINST.LST").c_str(), &list), UNR_LOADED);
    ASSERT_EQ(list.count, 7);   // and the list itself
    const int16_t states[] = {UNR_FAILED, UNR_OUTSIDE, UNR_FAILED, UNR_KEPT, UNR_FAILED, UNR_FAILED, UNR_REMOVED};
    for (int i = 0; i < 7; i++)
        list.records[i].state = states[i];
    char text[200];
    EXPECT_EQ(UNR_left_text(&list, 2, text, sizeof text), 4);
    EXPECT_STREQ(text, "Nelze odstranit: D:\\A\nZáznam mimo instalaci ponechán: D:\\B\n... a další (2)");
    EXPECT_EQ(UNR_left_text(&list, 10, text, 40), 4);
    EXPECT_STREQ(text, "Nelze odstranit: D:\\A");
}

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
    EXPECT_EQ(inst.left(), "");
    for (const std::string &f : outside)
        EXPECT_TRUE(exists(f)) << f;
    EXPECT_TRUE(exists(sibling));
    EXPECT_EQ(SYS_registry_key_exists(HKEY_LOCAL_MACHINE, other_key.c_str()), 1);
    EXPECT_GE(gone_after(r, inst.exe), 0);
    SYS_registry_delete_key(HKEY_LOCAL_MACHINE, other_key.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\TRK_TESTS");
}

// A missing list, one cut short, one with a record of an unknown kind and
// one whose path runs past its field: nothing is touched, exit code 1, and
// without "-r" one box says why.
TEST(Uninst, MissingOrDamagedListTouchesNothing)
{
    const struct { const char *fault; std::function<void(std::string &)> damage; const char *text; } cases[] = {
        {"missing", nullptr, UNR_TEXT_MISSING},
        {"cut short", [](std::string &b) { b.pop_back(); }, UNR_TEXT_DAMAGED},
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
        EXPECT_EQ(inst.uninstall("-r").code, 1u) << c.fault;
        const CHILD_RUN asked = inst.uninstall("", {IDOK});
        EXPECT_EQ(asked.code, 1u) << c.fault;
        char text[UNL_PATH_MAX + 128];
        std::snprintf(text, sizeof text, c.text, inst.list().c_str());
        EXPECT_EQ(asked.boxes, std::vector<std::string>{std::string(text) + "\n" UNR_TEXT_NOTHING}) << c.fault;
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
