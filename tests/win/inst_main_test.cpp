// The installer's entry: the command line, the developer listing
// PFU_LIST.PFU byte for byte, and whole runs of INSTTRKP.EXE (the listing
// mode, the statistics switch and the ordinary run with its frame).
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The entry's functions are tested in this program: its source is compiled
// in here (INSTTRKP.EXE adds only the WinMain of insttrkp/winmain.cpp).
#include "insttrkp/inst_main.cpp"
#include "tests/testutil.h"

namespace {

struct SAVED_ENTRY_STATE {
    SAVED_ENTRY_STATE()
    {
        std::strcpy(drive, exe_drive);
        std::strcpy(directory, exe_directory);
        std::strcpy(system_drive, CO_system_config.system_drive);
        flag = INST_list_functions;
        INST_list_functions = 0;
    }
    ~SAVED_ENTRY_STATE()
    {
        std::strcpy(exe_drive, drive);
        std::strcpy(exe_directory, directory);
        std::strcpy(CO_system_config.system_drive, system_drive);
        INST_list_functions = flag;
    }
    char drive[INST_DRIVE_MAX + 1];
    char directory[INST_DIRECTORY_MAX + 1];
    char system_drive[CO_DRIVE_MAX + 1];
    int16_t flag;
};

int16_t parse(std::vector<const char *> args)
{
    return INST_parse_command_line(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(InstCommandLine, DriveAndDirectoryOfTheProgram)
{
    SAVED_ENTRY_STATE saved;
    std::strcpy(CO_system_config.system_drive, "c:");
    EXPECT_EQ(parse({"D:\\KRV\\INSTAL\\INSTTRKP.EXE"}), 1);
    EXPECT_STREQ(exe_drive, "D:");
    EXPECT_STREQ(exe_directory, "\\KRV\\INSTAL\\");
    EXPECT_STREQ(CO_system_config.system_drive, "D:");   // the system drive takes the letter
    EXPECT_EQ(INST_list_functions, 0);

    EXPECT_EQ(parse({"E:INSTTRKP.EXE"}), 1);   // a drive without a directory
    EXPECT_STREQ(exe_drive, "E:");
    EXPECT_STREQ(exe_directory, "");
    EXPECT_STREQ(CO_system_config.system_drive, "E:");

    // No drive: the first three characters, the directory and the system drive unchanged.
    std::strcpy(exe_directory, "\\PREDTIM\\");
    EXPECT_EQ(parse({"INSTTRKP.EXE"}), 1);
    EXPECT_STREQ(exe_drive, "INS");
    EXPECT_STREQ(exe_directory, "\\PREDTIM\\");
    EXPECT_STREQ(CO_system_config.system_drive, "E:");

    std::strcpy(CO_system_config.system_drive, "x");   // a system drive without ":" stays
    EXPECT_EQ(parse({"C:\\A.EXE"}), 1);
    EXPECT_STREQ(CO_system_config.system_drive, "x");
    EXPECT_TRUE(TU_reports().empty());
}

TEST(InstCommandLine, OnlyDollarFSelectsTheListing)
{
    SAVED_ENTRY_STATE saved;
    struct {
        std::vector<const char *> args;
        int16_t listing;
    } cases[] = {
        {{"C:\\I.EXE"}, 0},
        {{"C:\\I.EXE", "$f"}, 1},
        {{"C:\\I.EXE", "$F"}, 1},
        {{"C:\\I.EXE", "$fcokoliv"}, 1},
        {{"C:\\I.EXE", "$m", "$f", "$f"}, 1},
        {{"C:\\I.EXE", "$m"}, 0},
        {{"C:\\I.EXE", "$x", "-f", "/f", "f", "C:\\CESTA\\$f"}, 0},
        {{"C:\\I.EXE", "$"}, 0},
    };
    for (const auto &c : cases) {
        INST_list_functions = 0;
        EXPECT_EQ(parse(c.args), 1);
        EXPECT_EQ(INST_list_functions, c.listing) << c.args.size();
    }
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ(INST_parse_command_line(0, nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(InstFunctionList, SevenLinesPerEntryAndKonec)
{
    TU_SCRATCH scratch;
    char config[] = "konfigurace";
    PFU_ENTRY sub[1] = {PFU_ENTRY{0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0}};
    PFU_ENTRY first[] = {
        {1000, PFU_NORMAL, 0, 0x0012, 17, sub, 0, config, 0},
        {1006, PFU_NORMAL, 0, PFU_TYPE_UNLISTED, 0, nullptr, 1, nullptr, 0},   // not listed
        {1049, PFU_GREY, 0, static_cast<int16_t>(0x8001), -5, nullptr, 2, nullptr, 0},
        {0, PFU_NORMAL, 0, 0, 0, nullptr, 3, nullptr, 0},   // no menu text: left out
        {0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0},
        {5000, PFU_NORMAL, 0, 0, 0, nullptr, 4, nullptr, 0},   // after the end
    };
    PFU_ENTRY second[] = {
        {5001, PFU_NORMAL, 0, 0x7F7F, 0, nullptr, 5, nullptr, 0},
        {0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0},
    };
    PFU_TABLES set{};
    set.tables[0] = first;
    set.tables[1] = second;
    set.count = 2;
    ASSERT_EQ(INST_write_function_list(&set), 1);
    std::string expected = std::string("ID_CODE  : 1000\r\n") + "TEXT     : &Soubor\r\n" +
                           "HELP     : Práce se soubory návrhů\r\n" + "CONFIG   : konfigurace\r\n" +
                           "HELP_CODE: 17\r\n" + "FT_TYPE  : 0x0012\r\n" + " \r\n" +
                           "ID_CODE  : 1049\r\n" + "TEXT     : &Konec\r\n" + "HELP     : Ukončí program\r\n" +
                           "CONFIG   : \r\n" + "HELP_CODE: -5\r\n" + "FT_TYPE  : 0xFFFF8001\r\n" + " \r\n" +
                           "ID_CODE  : 5001\r\n" + "TEXT     : Konec menu (Esc)\r\n" +
                           "HELP     : Ukončení menu\r\n" + "CONFIG   : \r\n" + "HELP_CODE: 0\r\n" +
                           "FT_TYPE  : 0x7F7F\r\n" + " \r\n" + "KONEC\r\n";
    EXPECT_EQ(TU_read(scratch.file("PFU_LIST.PFU")), expected);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(InstFunctionList, TablesWithoutMenuTextsGiveOnlyKonec)
{
    TU_SCRATCH scratch;
    PFU_ENTRY table[] = {
        {0, PFU_NORMAL, 0, 0, 0, nullptr, 1, nullptr, 0},
        {0, PFU_GREY, 0, 0, 0, nullptr, 2, nullptr, 0},
        {0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0},
    };
    PFU_TABLES set{};
    set.tables[0] = table;
    set.count = 1;
    ASSERT_EQ(INST_write_function_list(&set), 1);
    EXPECT_EQ(TU_read(scratch.file("PFU_LIST.PFU")), "KONEC\r\n");
    PFU_TABLES none{};
    ASSERT_EQ(INST_write_function_list(&none), 1);
    EXPECT_EQ(TU_read(scratch.file("PFU_LIST.PFU")), "KONEC\r\n");
}

TEST(InstFunctionList, TheProgramsOwnTables)
{
    TU_SCRATCH scratch;
    ASSERT_EQ(INST_write_function_list(&PFU_tables), 1);
    std::string listing = TU_read(scratch.file("PFU_LIST.PFU"));
    std::string ids;
    for (size_t at = listing.find("ID_CODE  : "); at != std::string::npos; at = listing.find("ID_CODE  : ", at + 1))
        ids += listing.substr(at + 11, 4) + " ";
    EXPECT_EQ(ids, "1000 1006 1032 1007 5000 5001 ");
    EXPECT_NE(listing.find("TEXT     : &Nápověda\r\nHELP     : Otevře nápovědu\r\n"), std::string::npos);
    EXPECT_EQ(listing.substr(listing.size() - 7), "KONEC\r\n");
}

TEST(InstFunctionList, AFileThatCannotBeMadeGivesZero)
{
    TU_SCRATCH scratch;
    CreateDirectoryA("PFU_LIST.PFU", nullptr);   // a directory in the file's place
    EXPECT_EQ(INST_write_function_list(&PFU_tables), 0);
    ASSERT_EQ(TU_count(WE_KIND_ERROR), 1);
    EXPECT_EQ(TU_reports()[0].text, "Soubor PFU_LIST.PFU nelze otevřít");
    TU_clear_reports();
    EXPECT_EQ(INST_write_function_list(nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

// ---- whole runs of the program ----

namespace {

std::string program_path()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + "INSTTRKP.exe";
}

// Starts INSTTRKP.EXE with the arguments in the directory; the process.
PROCESS_INFORMATION start(const std::string &arguments, const std::string &directory)
{
    std::string line = "\"" + program_path() + "\" " + arguments;
    std::vector<char> text(line.begin(), line.end());
    text.push_back(0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &si, &pi))
        pi.hProcess = nullptr;
    return pi;
}

// Waits up to 60 s; the exit code, or -1 (the process is then ended).
DWORD finish(PROCESS_INFORMATION &pi)
{
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

struct FIND {
    DWORD process;
    const char *class_name;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM data)
{
    FIND *f = reinterpret_cast<FIND *>(data);
    DWORD pid = 0;
    char cls[64] = "";
    GetWindowThreadProcessId(window, &pid);
    GetClassNameA(window, cls, sizeof cls);
    if (pid == f->process && !std::strcmp(cls, f->class_name) && IsWindowVisible(window)) {
        f->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND wait_for_frame(DWORD process)
{
    FIND f{process, "UNI_MAIN_WINDOW", nullptr};
    for (int i = 0; i < 600 && !f.found; i++) {
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&f));
        if (!f.found)
            Sleep(100);
    }
    return f.found;
}

}  // namespace

TEST(InstProgram, TheListingModeWritesTheFileAndOpensNoWindow)
{
    ASSERT_NE(GetFileAttributesA(program_path().c_str()), INVALID_FILE_ATTRIBUTES)
        << program_path() << " is built with the program target";
    TU_SCRATCH scratch;
    PROCESS_INFORMATION pi = start("$F", scratch.path());
    ASSERT_NE(pi.hProcess, nullptr);
    EXPECT_EQ(finish(pi), 0u);
    std::string listing = TU_read(scratch.file("PFU_LIST.PFU"));
    EXPECT_EQ(listing.rfind("ID_CODE  : 1000\r\nTEXT     : &Soubor\r\n", 0), 0u) << listing;
    EXPECT_EQ(listing.substr(listing.size() - 7), "KONEC\r\n");
    EXPECT_FALSE(TU_exists(scratch.file("MMBIN.MM")));
}

TEST(InstProgram, DollarMWritesTheStatisticsToo)
{
    TU_SCRATCH scratch;
    PROCESS_INFORMATION pi = start("$m $f", scratch.path());
    ASSERT_NE(pi.hProcess, nullptr);
    EXPECT_EQ(finish(pi), 0u);
    EXPECT_TRUE(TU_exists(scratch.file("PFU_LIST.PFU")));
    EXPECT_TRUE(TU_exists(scratch.file("MMBIN.MM")));
    EXPECT_TRUE(TU_exists(scratch.file("DATA.FI")));
}

TEST(InstProgram, TheOrdinaryRunShowsTheCentredFrameWithItsClientAndEndsOnClose)
{
    TU_SCRATCH scratch;
    PROCESS_INFORMATION pi = start("-x /y slovo $x", scratch.path());
    ASSERT_NE(pi.hProcess, nullptr);
    HWND frame = wait_for_frame(pi.dwProcessId);
    if (!frame) {
        finish(pi);
        FAIL() << "no frame window";
    }
    RECT r;
    GetWindowRect(frame, &r);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 440);
    EXPECT_EQ(r.left, (work.right - work.left) / 2 - 300);
    EXPECT_EQ(r.top, (work.bottom - work.top) / 2 - 220);
    char title[64] = "";
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Titulek");
    // The client of kind 100 arrives through the posted request.
    HWND client = nullptr;
    for (int i = 0; i < 100 && !client; i++) {
        client = FindWindowExA(frame, nullptr, "KWS_CLIENT_AREA_WINDOW", nullptr);
        if (!client)
            Sleep(50);
    }
    EXPECT_NE(client, nullptr);
    EXPECT_NE(FindWindowExA(frame, nullptr, "SBAR_CLASS_NAME", nullptr), nullptr);
    // The close request (the close box, "&Konec") ends the program with 0.
    PostMessageA(frame, WM_BW_CLOSE_REQUEST, 0, 0);
    EXPECT_EQ(finish(pi), 0u);
    EXPECT_FALSE(TU_exists(scratch.file("PFU_LIST.PFU")));
}
