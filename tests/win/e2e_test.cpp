// Whole installations as a person makes them: a distribution made with
// trakdist, INSTTRKP.EXE started from its first disk (its default source),
// its window operated from outside by TRKDRIVE (tools/drive), and afterwards
// what the installation left checked.
#include <cstdio>
#include <filesystem>
#include <map>

#include "common/fe.h"
#include "common/st.h"
#include "common/sysproc.h"
#include "common/sysreg.h"
#include "common/u8.h"
#include "inst/unl.h"
#include "insttrkp/ins_shell.h"
#include "menu/itrk.h"
#include "swin/wco.h"
#include "tests/testutil.h"
#include "tests/win/instutil.h"
#include "tests/win/winutil.h"

namespace {

using namespace inst_check;

const std::string ALL = "enabled 7,8,10,11,12,13,14,15,16 ";   // + one flag per control
const std::string SUCCESS = "text 18 Instalace proběhla úspěšně. \n"
                            "text 19 Konverzní program spustíte výběrem z nabídky\n"
                            "text 20 \"Start | Programy | TOREVAN\" kliknutím na ikonu TRAKPRN.\n"
                            "text 21 Hodně štěstí ve Vaší práci přejí                                     Autoři       \n" +
                            ALL + "000000010\n";
const std::string EXIT = "press 15\ngone\n";

std::string upper(std::string s)
{
    ST_upper(&s[0]);
    return s;
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        result.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return result;
}

// Everything an installation into target left where it can be seen: its
// files (the lists and the configuration as text, the rest as size and
// hash), its records one by one, its links and its registry values.
std::map<std::string, std::string> installation(const std::string &target)
{
    std::map<std::string, std::string> seen;
    for (const auto &f : std::filesystem::recursive_directory_iterator(target)) {
        const std::string name = f.path().string(), bytes = f.is_directory() ? "folder" : TU_read(name);
        const bool text = name.size() > 4 && (name.substr(name.size() - 4) == ".LST" || name.substr(name.size() - 4) == ".WCO");
        seen[name] = text ? bytes : std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes));
    }
    int n = 0;
    for (const auto &r : uninst_records(target + "\\UNINST.LST"))
        seen["record " + std::to_string(++n)] = std::to_string(r.first) + " " + r.second;
    for (const std::string &link : {group() + "\\TRAKPRN.LNK", group() + "\\Odinstalace TRAKPRN.LNK",
                                    desktop() + "\\TRAKPRN.LNK", quick_launch() + "\\TRAKPRN.LNK"})
        if (std::optional<LINK> l = read_link(link))
            seen[link] = l->program + "|" + l->description + "|" + l->directory;
    for (const char *value : {"DisplayName", "UninstallString"})
        seen[value] = registry(value);
    return seen;
}

class E2eTest : public ::testing::Test {
protected:
    ~E2eTest() override { end_installer(); }

    // The distribution of the files in the scratch folder named (trakdist's
    // options as given), the installer on its first disk; its folder.
    std::string distribution(const char *name, const std::vector<FILE_ENTRY> &files, std::vector<std::string> options,
                             bool readme = true)
    {
        options.insert(options.end(), {"--installer", beside("INSTTRKP.exe")});
        build(scratch.file(name), files, options, readme);
        return scratch.file(name);
    }
    // INSTTRKP.EXE started from the folder, as a person starts it there by
    // its bare name (argument 0 is the name as typed).
    void start(const std::string &folder)
    {
        const std::string program = folder + "\\INSTTRKP.EXE";
        std::string line = "INSTTRKP.EXE";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                                   &installer))
            << program;
        CloseHandle(installer.hThread);
    }
    // Runs the script (this program's texts, CP1250) through the driver;
    // whether every step was done. A failing driver's report is shown.
    bool drive(const std::string &script)
    {
        const std::string file = scratch.file("script" + std::to_string(++scripts) + ".txt");
        TU_write(file, U8_from_cp1250(("window " ITRK_TITLE "\ntimeout 20\n" + script).c_str()));
        CHILD_RUN run = WT_run_child(beside("TRKDRIVE.exe"), "\"" + file + "\"", scratch.path(), nullptr, {},
                                     file + ".out");
        if (run.code != 0)
            ADD_FAILURE() << TU_read(file + ".out");
        return run.code == 0;
    }
    // The installer's exit code once it has ended; ended by force after the
    // milliseconds given.
    DWORD end_installer(DWORD ms = 20000)
    {
        DWORD code = static_cast<DWORD>(-1);
        if (!installer.hProcess)
            return code;
        if (WaitForSingleObject(installer.hProcess, ms) == WAIT_OBJECT_0)
            GetExitCodeProcess(installer.hProcess, &code);
        else
            TerminateProcess(installer.hProcess, code);
        CloseHandle(installer.hProcess);
        installer = {};
        return code;
    }
    // One run of the installer from the folder with the script; its exit code.
    DWORD install(const std::string &folder, const std::string &script)
    {
        start(folder);
        return end_installer(drive(script) ? 20000 : 0);
    }
    // INSTTRKC.EXE started from the folder with the arguments, as a script
    // starts it: its output into a file of its own (a console's host may
    // keep the last one open), no console to type into.
    void start_console(const std::string &folder, const std::string &arguments, DWORD flags = 0)
    {
        const std::string program = folder + "\\INSTTRKC.EXE";
        std::string line = "INSTTRKC.EXE " + arguments;
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        output = scratch.file("console" + std::to_string(++scripts) + ".txt");
        C_HANDLE out(CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr));
        ASSERT_NE(static_cast<HANDLE>(out), INVALID_HANDLE_VALUE) << output;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = out;
        ASSERT_TRUE(CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, flags, nullptr, folder.c_str(),
                                   &si, &installer))
            << program;
        CloseHandle(installer.hThread);
    }
    DWORD console_install(const std::string &folder, const std::string &arguments)
    {
        start_console(folder, arguments);
        return end_installer(60000);
    }
    // The console's lines (this program's texts).
    std::vector<std::string> console_lines() { return lines(U8_to_cp1250(TU_read(output).c_str())); }

    SHELL_CLEANUP shell;
    TU_SCRATCH scratch;
    PROCESS_INFORMATION installer{};
    int scripts = 0;
    std::string output;   // of the last console run
};

TEST_F(E2eTest, InstallationThenOneOverItThenUninstallFromTheStartMenu)
{
    std::vector<FILE_ENTRY> files = sample(5000, true), first = files;
    first.push_back({"STARY.TXT", ".", "Soubor minulé verze", "stará verze\r\n"});
    const std::string dist = distribution("dist", first, {"--flat"}), target = scratch.file("Programy\\KRV5");
    FE_make_path(scratch.file("Programy").c_str());
    const std::vector<std::string> roots = {scratch.file("Programy"), folder(HKEY_LOCAL_MACHINE, "Common Programs"),
                                            desktop(), quick_launch()};
    RemoveDirectoryA(quick_launch().c_str());
    const std::vector<std::string> before = snapshot(roots);

    // The window as it opens: its own folder is the source, the welcome text,
    // no Quick Launch folder; a path without a drive letter is refused.
    ASSERT_EQ(install(dist, "text 7 " + upper(dist) + "\\\n"
                            "text 10 C:\\TRAKPRN\\\n"
                            "text 18 Blahopřejeme Vám k pořízení konverzního programu Gerber -> Postscript.\n"
                            "text 21 Případná předchozí instalace na cílové cestě bude před novou instalací odinstalována\n" +
                            ALL + "111110110\nchecked 12 1\nchecked 13 0\n"
                            "set 10 KRV5\ntext 10 C:\\TRAKPRN\\\n"
                            "set 10 " + target + "\ntext 10 " + target + "\\\n"
                            "press 12\nchecked 12 0\npress 14\n" + SUCCESS + EXIT),
              0u);
    expect_complete(target, first, false, false);

    // Over it: the previous installation's own uninstall program removes it
    // (the file only the first version had goes).
    FE_make_path(quick_launch().c_str());
    ASSERT_EQ(install(distribution("dist2", files, {"--flat"}), ALL + "111111110\nchecked 13 1\n"
                            "set 10 " + target + "\npress 14\n"
                            "answer Dotaz | Na cílové cestě byla nalezena předchozí instalace TOREVAN. | Ano\n"
                            "answer Dotaz | Pro novou instalaci může být převzata | Ne\n" + SUCCESS + EXIT),
              0u);
    expect_complete(target, files, true, true);
    EXPECT_FALSE(TU_exists(target + "\\STARY.TXT"));

    // The Start menu's uninstall shortcut leaves nothing behind.
    std::optional<LINK> link = read_link(group() + "\\Odinstalace TRAKPRN.LNK");
    ASSERT_TRUE(link.has_value());
    CHILD_RUN run = WT_run_child(link->program, "", link->directory, "Odinstalace TRAKPRN", {IDYES, IDOK});
    EXPECT_EQ(run.code, 0u);
    WT_wait([&] { return !TU_exists(target); }, SYS_STARTED_WAIT_MS);
    EXPECT_EQ(snapshot(roots), before);
    RemoveDirectoryA(quick_launch().c_str());
}

TEST_F(E2eTest, PackedTwoDisksWithTheFoldersBrowsedAndTheDiskSwapped)
{
    std::vector<FILE_ENTRY> files = sample(150000, true);
    const std::string room = std::to_string(TU_read(beside("INSTTRKP.exe")).size() + 200000);
    distribution("dist", files, {"--packed", "--disk-size", room}, false);
    ASSERT_TRUE(TU_exists(scratch.file("dist\\DISK2\\B.KRV")));
    // The drive is a folder whose contents are the disk in it.
    const std::string disk = scratch.file("disk"), programs = scratch.file("Programy");
    ASSERT_TRUE(MoveFileA(scratch.file("dist\\DISK1").c_str(), disk.c_str()));
    FE_make_path(programs.c_str());
    FE_make_path(quick_launch().c_str());
    start(disk);
    FE_make_path(scratch.file("jinam\\krv5").c_str());
    // A cancelled browser changes nothing; a folder named KRV5 in any case gets nothing appended.
    ASSERT_TRUE(drive("press 8\npick\ntext 7 " + upper(disk) + "\\\n"
                      "press 11\npick " + scratch.file("jinam\\krv5") + "\ntext 10 " + scratch.file("jinam\\krv5") + "\\\n"
                      "press 8\npick " + disk + "\ntext 7 " + disk + "\\\n"
                      "press 11\npick " + programs + "\ntext 10 " + programs + "\\KRV5\\\n"
                      "checked 13 1\npress 14\n"
                      "box Oznámení | Vlož DISK2\n"));
    ASSERT_TRUE(MoveFileA(disk.c_str(), scratch.file("dist\\DISK1").c_str()));
    ASSERT_TRUE(MoveFileA(scratch.file("dist\\DISK2").c_str(), disk.c_str()));
    ASSERT_TRUE(drive("answer Oznámení | Vlož DISK2 | O.K.\n" + SUCCESS + EXIT));
    EXPECT_EQ(end_installer(), 0u);
    expect_complete(programs + "\\KRV5", files, true, true);
    RemoveDirectoryA(quick_launch().c_str());
}

TEST_F(E2eTest, NotEnoughSpaceThenASecondAttemptSucceeds)
{
    std::vector<FILE_ENTRY> files = sample();
    const std::string dist = distribution("dist", files, {"--flat"});
    RemoveDirectoryA(quick_launch().c_str());
    // T: is the small disk test.sh mounts.
    ASSERT_TRUE(FE_dir_exists("T:\\")) << "no small disk T:";
    const std::string full = "T:\\KRV5", target = scratch.file("KRV5");
    std::error_code ignored;
    std::filesystem::remove_all(full, ignored);
    ASSERT_EQ(install(dist, "set 10 " + full + "\npress 14\n"
                                            "answer  Chyba  | Málo místa na disku, je třeba | OK\n" +
                                            ALL + "111110110\n"
                                            "set 10 " + target + "\npress 14\n" + SUCCESS + EXIT),
              0u);
    expect_complete(target, files, true, false);
    std::filesystem::remove_all(full, ignored);
}

TEST_F(E2eTest, AbortAndCloseDuringTheCopyAreConfirmed)
{
    std::vector<FILE_ENTRY> files = sample();
    for (int i = 0; i < 300; i++)   // long enough a copy to press a button during it
        files.push_back({"F" + std::to_string(i) + ".DAT", "Data", "Data", bytes(20000, i)});
    const std::string dist = distribution("dist", files, {"--flat"});
    RemoveDirectoryA(quick_launch().c_str());
    const std::string ask = "answer Dotaz | Přerušit instalaci ? | Ano\n";
    // Aborted: the settings come back; no configuration, link or key is made.
    ASSERT_EQ(install(dist, "set 10 " + scratch.file("A") + "\npress 14\ntext 18 ~Instaluje se\npress 16\n" + ask +
                                ALL + "111110110\n" + EXIT),
              0u);
    // The frame closed: the same question, then the program ends.
    ASSERT_EQ(install(dist, "set 10 " + scratch.file("B") + "\npress 14\ntext 18 ~Instaluje se\nclose\n" + ask +
                                "gone\n"),
              0u);
    for (const char *target : {"A", "B"}) {
        EXPECT_TRUE(FE_dir_exists(scratch.file(target).c_str()));
        EXPECT_FALSE(TU_exists(scratch.file(std::string(target) + "\\EXE\\SYSTEM.WCO")));
    }
    EXPECT_FALSE(TU_exists(group() + "\\TRAKPRN.LNK"));
    EXPECT_EQ(registry("DisplayName"), "");
}

// What a killed program left: every name present in the installation and
// the shell's places is recorded in its list, or is of a kind the uninstall
// program finds by itself (the lists, a recorded file's temporary names);
// the names that are not.
std::vector<std::string> unrecorded(const std::string &target)
{
    std::vector<std::string> recorded;
    for (const auto &r : uninst_records(target + "\\UNINST.LST"))
        recorded.push_back(upper(r.second));
    auto known = [&](const std::string &name) {
        const std::string u = upper(name);
        for (const char *suffix : {"", ".$$$", ".$$_"})
            for (const std::string &r : recorded)
                if (u == r + suffix)
                    return true;
        return u == upper(target + "\\INST.LST") || u == upper(target + "\\UNINST.LST");
    };
    std::vector<std::string> names;
    for (const std::string &name : snapshot({target, group(), desktop()}))
        if (!name.empty() && name != "key" && !known(name))
            names.push_back(name);
    if (SYS_registry_key_exists(HKEY_LOCAL_MACHINE, INS_UNINSTALL_KEY) && !known(INS_UNINSTALL_KEY))
        names.push_back("key");
    if (FE_dir_exists(group().c_str()) && !known(group()))
        names.push_back(group());
    return names;
}

// Killed (as by a power cut) at points spread over an installation of a
// packed two-disk distribution: nothing is left that the uninstall program
// cannot find, and the installer started again on the target (the previous
// installation removed when it asks) leaves exactly a new installation. The
// uninstall program killed half-way and run again removes the rest.
TEST_F(E2eTest, KilledAtAnyMomentLeavesAWayBack)
{
    std::vector<FILE_ENTRY> files = sample(60000, true);
    for (int i = 0; i < 40; i++)   // long enough to be killed in every step
        files.push_back({"F" + std::to_string(i) + ".DAT", i % 2 ? "Data" : ".", "Data", bytes(20000, i)});
    const std::string room = std::to_string(TU_read(beside("INSTTRKP.exe")).size() + 600000);
    const std::string dist = distribution("dist", files, {"--packed", "--disk-size", room}, false);
    // Both disks copied into one folder, as a person copies them to a hard disk.
    ASSERT_TRUE(TU_exists(dist + "\\DISK2\\B.KRV"));
    for (const auto &f : std::filesystem::directory_iterator(dist + "\\DISK2"))
        std::filesystem::copy_file(f.path(), dist + "\\DISK1\\" + f.path().filename().string());
    const std::string disk = dist + "\\DISK1", target = scratch.file("KRV5");
    RemoveDirectoryA(quick_launch().c_str());
    const std::vector<std::string> roots = {scratch.file("dist"), group(), desktop()};
    const std::vector<std::string> before = snapshot(roots);
    auto run_to_the_end = [&](const std::string &boxes) {
        return install(disk, "set 10 " + target + "\npress 14\n" + boxes + SUCCESS + EXIT);
    };
    ASSERT_EQ(run_to_the_end(""), 0u);
    const std::vector<std::string> reference = snapshot({target});
    const size_t records = uninst_records(target + "\\UNINST.LST").size();
    ASSERT_GT(records, 100u);
    ASSERT_EQ(WT_run_child(target + "\\EXE\\UNINSTAL.EXE", "-r", scratch.path(), "Odinstalace TRAKPRN").code, 0u);
    WT_wait([&] { return !TU_exists(target); }, SYS_STARTED_WAIT_MS);

    for (size_t point = 1; point <= 10; point++) {
        SCOPED_TRACE(point);
        const size_t kill_at = point * records / 11;
        start(disk);
        ASSERT_TRUE(drive("set 10 " + target + "\npress 14\n"));
        WT_wait([&] {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            return WaitForSingleObject(installer.hProcess, 0) == WAIT_OBJECT_0 ||
                   (GetFileAttributesExA((target + "\\UNINST.LST").c_str(), GetFileExInfoStandard, &data) &&
                    data.nFileSizeLow / UNL_RECORD_SIZE >= kill_at);
        }, 20000, 0);
        TerminateProcess(installer.hProcess, 9);
        end_installer();
        std::printf("killed at %zu of %zu records\n", uninst_records(target + "\\UNINST.LST").size(), records);
        EXPECT_EQ(unrecorded(target), std::vector<std::string>{});
        // Again: the killed installation is removed when the installer can, its files overwritten otherwise.
        std::string boxes;
        if (TU_exists(target + "\\EXE\\UNINSTAL.EXE") && TU_exists(target + "\\UNINST.LST")) {
            boxes = "answer Dotaz | Na cílové cestě byla nalezena předchozí instalace TOREVAN. | Ano\n";
            if (TU_exists(target + "\\EXE\\SYSTEM.WCO"))
                boxes += "answer Dotaz | Pro novou instalaci může být převzata | Ne\n";
        } else {
            for (const FILE_ENTRY &f : files)
                if (TU_exists(target + "\\" + (f.subdir == "." ? "" : f.subdir + "\\") + f.target)) {
                    boxes = "answer Dotaz | Existující soubory budou přepsány, pokračovat | Ano\n";
                    break;
                }
        }
        const DWORD code = run_to_the_end(boxes);
        std::string left;   // what a failed removal of the killed installation left in its list
        if (code != 0)
            for (const auto &r : uninst_records(target + "\\UNINST.LST"))
                left += "\n" + std::to_string(r.first) + " " + r.second;
        ASSERT_EQ(code, 0u) << "UNINST.LST:" << left;
        expect_complete(target, files, true, false);
        EXPECT_EQ(snapshot({target}), reference);
        if (point < 10) {   // the next one starts on an empty target
            ASSERT_EQ(WT_run_child(target + "\\EXE\\UNINSTAL.EXE", "-r", scratch.path(), "Odinstalace TRAKPRN").code, 0u);
            ASSERT_TRUE(WT_wait([&] { return !TU_exists(target); }, SYS_STARTED_WAIT_MS));
        }
    }

    // The uninstall program killed half-way: its list and itself stay, and a second run finishes.
    std::string line = "\"" + target + "\\EXE\\UNINSTAL.EXE\" -r";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION removal{};
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, scratch.path().c_str(), &si, &removal));
    WT_wait([&] { return !TU_exists(target + "\\Data\\VZOR.GBR"); }, 20000, 0);
    TerminateProcess(removal.hProcess, 9);
    WaitForSingleObject(removal.hProcess, 5000);
    CloseHandle(removal.hProcess);
    CloseHandle(removal.hThread);
    EXPECT_TRUE(TU_exists(target + "\\UNINST.LST") && TU_exists(target + "\\EXE\\UNINSTAL.EXE"));
    EXPECT_EQ(WT_run_child(target + "\\EXE\\UNINSTAL.EXE", "-r", scratch.path(), "Odinstalace TRAKPRN").code, 0u);
    WT_wait([&] { return !TU_exists(target); }, SYS_STARTED_WAIT_MS);
    EXPECT_EQ(snapshot(roots), before);
}

// The unattended installer from the first disk of a packed two-disk
// distribution, the second disk beside it, leaves what the window leaves;
// a previous installation is kept or replaced as its options say.
TEST_F(E2eTest, UnattendedInstallationIsTheWindowsOne)
{
    std::vector<FILE_ENTRY> files = sample(150000, true);
    const std::string room =
        std::to_string(TU_read(beside("INSTTRKP.exe")).size() + TU_read(beside("INSTTRKC.exe")).size() + 200000);
    const std::string dist =
        distribution("dist", files, {"--packed", "--disk-size", room, "--installer", beside("INSTTRKC.exe")}, false);
    ASSERT_TRUE(TU_exists(dist + "\\DISK2\\B.KRV"));
    const std::string both = scratch.file("both"), target = scratch.file("Programy\\KRV5");
    FE_make_path(both.c_str());
    for (const char *disk : {"DISK1", "DISK2"})
        for (const auto &f : std::filesystem::directory_iterator(dist + "\\" + disk))
            std::filesystem::copy_file(f.path(), both + "\\" + f.path().filename().string());
    FE_make_path(quick_launch().c_str());
    ASSERT_EQ(install(both, "set 10 " + target + "\npress 14\n" + SUCCESS + EXIT), 0u);
    const std::map<std::string, std::string> by_window = installation(target);
    ASSERT_EQ(WT_run_child(target + "\\EXE\\UNINSTAL.EXE", "-r", scratch.path(), "Odinstalace TRAKPRN").code, 0u);
    ASSERT_TRUE(WT_wait([&] { return !TU_exists(target); }, SYS_STARTED_WAIT_MS));

    const std::string log = scratch.file("instalace.log"), disk1 = dist + "\\DISK1";
    ASSERT_EQ(console_install(disk1, "/target=" + target + " /LOG=" + log), 0u);
    EXPECT_EQ(installation(target), by_window);
    // The log: the console's lines, each after its time; the steps in their order.
    std::vector<std::string> logged = lines(U8_to_cp1250(TU_read(log).c_str())), printed = console_lines();
    for (std::string &line : logged)
        line = line.size() > 24 && line[4] == '-' && line[10] == ' ' && line[23] == ' ' ? line.substr(24) : "?" + line;
    EXPECT_EQ(logged, printed);
    size_t at = 0;
    for (const std::string &step : std::vector<std::string>{"Kontrola zdrojové cesty ...", "Kontrola cílové cesty ...", "Vytváření adresářů ...",
                                   "Kontrola místa na disku ...", "Rozbaluje se " + target + "\\TRAKPRN.EX_ ...",
                                   "Vlož DISK2", "Zdrojová cesta: " + dist + "\\DISK2\\",
                                   "Rozbaluje se " + target + "\\VZOR.GB_ ...", "Zápis/oprava konfiguračního souboru",
                                   "Aktualizace nabídky Start ...", "Aktualizace systémové lišty ...",
                                   "Aktualizace registru (odinstalace) ...", "Instalace proběhla úspěšně"}) {
        const auto found = std::find(printed.begin() + static_cast<long>(at), printed.end(), step);
        EXPECT_NE(found, printed.end()) << step;
        at = found == printed.end() ? at : static_cast<size_t>(found - printed.begin());
    }

    // A previous installation is kept unless it may be replaced; its
    // configuration is taken over.
    const std::vector<std::string> before = snapshot({target});
    EXPECT_EQ(console_install(disk1, "/TARGET=" + target + " /REPLACE=0"), 1u);
    EXPECT_EQ(snapshot({target}), before);
    EXPECT_EQ(console_lines().at(console_lines().size() - 2),
              "Na cílové cestě byla nalezena předchozí instalace TOREVAN. "
              "Před novou instalací je třeba minulou odstranit. Pokračovat? - Ne");
    WCO_file *store = nullptr;
    const std::string wco = target + "\\EXE\\SYSTEM.WCO";
    ASSERT_TRUE(WCO_create(&store) && WCO_load(store, wco.c_str()) &&
                WCO_set_text(store, "CO_common", "initial_directory", "D:\\Výkresy") && WCO_save_forced(store, wco.c_str()));
    WCO_destroy(&store);
    EXPECT_EQ(console_install(disk1, "/TARGET=" + target + " /REPLACE=1 /TAKEOVER=1"), 0u);
    expect_complete(target, files, true, true);
    EXPECT_EQ(wco_value(wco, "initial_directory"), "D:\\Výkresy");
    RemoveDirectoryA(quick_launch().c_str());
}

// The test program's own part of the Ctrl+C it sends to an installer's
// console: taken by a handler (the ignoring flag would be inherited by every
// program it starts later), which must stay until the key has come. It comes
// on a thread of its own after the sending call has returned; without a
// handler or the flag then, the program ends at once (under Wine with exit
// code 0 and no test report).
HANDLE ctrl_c_seen;

BOOL WINAPI take_ctrl_c(DWORD type)
{
    if (type == CTRL_C_EVENT)
        SetEvent(ctrl_c_seen);
    return TRUE;
}

// A wrong command line, a missing file and Ctrl+C: the exit code says it,
// the output says why, and what was made is recorded.
TEST_F(E2eTest, UnattendedInstallationStopsWithItsCause)
{
    std::vector<FILE_ENTRY> files = sample(5000, true);
    for (int i = 0; i < 250; i++)   // long enough to be stopped in the middle
        files.push_back({"F" + std::to_string(i) + ".DAT", "Data", "Data", bytes(30000, i)});
    const std::string dist = distribution("dist", files, {"--packed", "--installer", beside("INSTTRKC.exe")}, false);
    const std::string disk = dist + "\\DISK1", target = scratch.file("KRV5");

    EXPECT_EQ(console_install(disk, "/TARGET=" + target + " /KAM=1"), 2u);
    const std::vector<std::string> usage = console_lines();
    ASSERT_FALSE(usage.empty());
    EXPECT_EQ(usage[0], "Neznámý přepínač: /KAM=1");
    EXPECT_NE(std::find(usage.begin(), usage.end(), "  /OVERWRITE=0|1    přepsat existující soubory (výchozí 1)"),
              usage.end());
    EXPECT_FALSE(TU_exists(target));

    // Ctrl+C typed into its console in the middle of the files: stopped at
    // the next abort check.
    start_console(disk, "/TARGET=" + target + " /DESKTOP=0", CREATE_NEW_CONSOLE);
    WT_wait([&] { return TU_exists(target + "\\Data\\F20.DAT"); }, 20000, 0);
    FreeConsole();
    EXPECT_TRUE(AttachConsole(installer.dwProcessId));
    ctrl_c_seen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(take_ctrl_c, TRUE);
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    const bool seen = WaitForSingleObject(ctrl_c_seen, 10000) == WAIT_OBJECT_0;   // still attached, so it comes
    FreeConsole();
    EXPECT_TRUE(seen);
    if (seen) {   // else it may still come: the handler and its event stay
        SetConsoleCtrlHandler(take_ctrl_c, FALSE);
        CloseHandle(ctrl_c_seen);
    }
    EXPECT_EQ(end_installer(), 1u);
    std::vector<std::string> out = console_lines();
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[out.size() - 2], "Přerušit instalaci ? - Ano");
    EXPECT_EQ(out[out.size() - 1], "Instalace nebyla úspěšná");
    EXPECT_EQ(unrecorded(target), std::vector<std::string>{});
    EXPECT_FALSE(TU_exists(target + "\\Data\\F249.DAT"));

    // Its list damaged: not replaced, as the uninstall program would stop at its box.
    const std::string list = target + "\\UNINST.LST", kept = TU_read(list);
    TU_write(list, kept + std::string(UNL_RECORD_SIZE, '\x09'));
    EXPECT_EQ(console_install(disk, "/TARGET=" + target + " /REPLACE=1"), 1u);
    out = console_lines();
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[out.size() - 3],
              "Chyba: Seznam " + list + " je poškozen; předchozí instalaci nelze odinstalovat bez obsluhy");
    TU_write(list, kept);

    // Over it, with a file of the distribution missing: not skipped.
    ASSERT_TRUE(DeleteFileA((disk + "\\F7.DA_").c_str()));
    EXPECT_EQ(console_install(disk, "/TARGET=" + target + " /REPLACE=1 /DESKTOP=0"), 1u);
    out = console_lines();
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[out.size() - 2], "Soubor " + disk + "\\F7.DA_ nenalezen, vynechat - Ne");
    EXPECT_EQ(unrecorded(target), std::vector<std::string>{});
}

}  // namespace
