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
#include "tests/win/frameutil.h"

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

TEST(InstCommandLine, DriveDirectorySystemDriveAndTheListingSwitch)
{
    SAVED_ENTRY_STATE saved;
    struct {
        const char *program, *system_before, *drive, *directory, *system_after;
    } programs[] = {
        {"D:\\KRV\\INSTAL\\INSTTRKP.EXE", "c:", "D:", "\\KRV\\INSTAL\\", "D:"},
        {"E:INSTTRKP.EXE", "c:", "E:", "", "E:"},
        {"INSTTRKP.EXE", "E:", "INS", "\\PREDTIM\\", "E:"},   // no drive: the directory stays
        {"C:\\A.EXE", "x", "C:", "\\", "x"},                  // a system drive without ":" stays
    };
    for (const auto &c : programs) {
        std::strcpy(CO_system_config.system_drive, c.system_before);
        std::strcpy(exe_directory, "\\PREDTIM\\");
        EXPECT_EQ(parse({c.program}), 1);
        EXPECT_STREQ(exe_drive, c.drive) << c.program;
        EXPECT_STREQ(exe_directory, c.directory) << c.program;
        EXPECT_STREQ(CO_system_config.system_drive, c.system_after) << c.program;
        EXPECT_EQ(INST_list_functions, 0);
    }
    struct {
        std::vector<const char *> args;
        int16_t listing;
    } cases[] = {
        {{"C:\\I.EXE"}, 0},         {{"C:\\I.EXE", "$f"}, 1},  {{"C:\\I.EXE", "$F"}, 1},
        {{"C:\\I.EXE", "$m"}, 0},   {{"C:\\I.EXE", "$fcokoliv"}, 1},
        {{"C:\\I.EXE", "$m", "$f", "$f"}, 1},
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
    EXPECT_EQ(TU_read(scratch.file("PFU_LIST.PFU")),
              "ID_CODE  : 1000\r\nTEXT     : &Soubor\r\nHELP     : Práce se soubory návrhů\r\n"
              "CONFIG   : konfigurace\r\nHELP_CODE: 17\r\nFT_TYPE  : 0x0012\r\n \r\n"
              "ID_CODE  : 1049\r\nTEXT     : &Konec\r\nHELP     : Ukončí program\r\n"
              "CONFIG   : \r\nHELP_CODE: -5\r\nFT_TYPE  : 0xFFFF8001\r\n \r\n"
              "ID_CODE  : 5001\r\nTEXT     : Konec menu (Esc)\r\nHELP     : Ukončení menu\r\n"
              "CONFIG   : \r\nHELP_CODE: 0\r\nFT_TYPE  : 0x7F7F\r\n \r\nKONEC\r\n");

    // Tables without menu texts, or none at all: only KONEC.
    first[0].id = first[2].id = second[0].id = 0;
    ASSERT_EQ(INST_write_function_list(&set), 1);
    EXPECT_EQ(TU_read(scratch.file("PFU_LIST.PFU")), "KONEC\r\n");
    PFU_TABLES none{};
    ASSERT_EQ(INST_write_function_list(&none), 1);
    EXPECT_EQ(TU_read(scratch.file("PFU_LIST.PFU")), "KONEC\r\n");
    EXPECT_TRUE(TU_reports().empty());
}

TEST(InstFunctionList, TheProgramsOwnTablesAndAFileThatCannotBeMade)
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

    DeleteFileA("PFU_LIST.PFU");
    CreateDirectoryA("PFU_LIST.PFU", nullptr);   // a directory in the file's place
    EXPECT_EQ(INST_write_function_list(&PFU_tables), 0);
    ASSERT_EQ(TU_count(WE_KIND_ERROR), 1);
    EXPECT_EQ(TU_reports()[0].text, "Soubor PFU_LIST.PFU nelze otevřít");
    EXPECT_EQ(INST_write_function_list(nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

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

// The visible frame window of the process, waiting up to 60 s for it.
HWND wait_for_frame(DWORD process)
{
    for (int i = 0; i < 600; i++, Sleep(100))
        for (HWND w = FindWindowExA(nullptr, nullptr, "UNI_MAIN_WINDOW", nullptr); w;
             w = FindWindowExA(nullptr, w, "UNI_MAIN_WINDOW", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == process && IsWindowVisible(w))
                return w;
        }
    return nullptr;
}

}  // namespace

TEST(InstProgram, TheListingModeWritesTheFileAndOpensNoWindow)
{
    ASSERT_NE(GetFileAttributesA(program_path().c_str()), INVALID_FILE_ATTRIBUTES)
        << program_path() << " is built with the program target";
    for (const char *arguments : {"$F", "$m $f"}) {
        TU_SCRATCH scratch;
        PROCESS_INFORMATION pi = start(arguments, scratch.path());
        ASSERT_NE(pi.hProcess, nullptr);
        EXPECT_EQ(finish(pi), 0u);
        std::string listing = TU_read(scratch.file("PFU_LIST.PFU"));
        EXPECT_EQ(listing.rfind("ID_CODE  : 1000\r\nTEXT     : &Soubor\r\n", 0), 0u) << listing;
        EXPECT_EQ(listing.substr(listing.size() - 7), "KONEC\r\n");
        bool statistics = arguments[1] == 'm';   // $m writes the statistics too
        EXPECT_EQ(TU_exists(scratch.file("MMBIN.MM")), statistics) << arguments;
        EXPECT_TRUE(!statistics || TU_exists(scratch.file("DATA.FI")));
    }
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
    RECT r, work;
    GetWindowRect(frame, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int left = (work.right - work.left) / 2 - 300, top = (work.bottom - work.top) / 2 - 220;
    EXPECT_EQ(r, (RECT{left, top, left + 600, top + 440}));
    char title[64] = "";
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Titulek");
    HWND client = nullptr;
    for (int i = 0; i < 100 && !client; i++) {
        client = FindWindowExA(frame, nullptr, "KWS_CLIENT_AREA_WINDOW", nullptr);
        if (!client)
            Sleep(50);
    }
    EXPECT_NE(client, nullptr);
    EXPECT_NE(FindWindowExA(frame, nullptr, "SBAR_CLASS_NAME", nullptr), nullptr);
    PostMessageA(frame, WM_BW_CLOSE_REQUEST, 0, 0);
    EXPECT_EQ(finish(pi), 0u);
    EXPECT_FALSE(TU_exists(scratch.file("PFU_LIST.PFU")));
}
