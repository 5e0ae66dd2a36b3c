// The installer's entry: the command line, the developer listing
// PFU_LIST.PFU byte for byte, and whole runs of INSTTRKP.EXE (the listing
// mode, the statistics switch and the ordinary run with its frame).
#include <cstring>
#include <utility>

#include <gtest/gtest.h>

// The entry's functions are tested in this program: its source is compiled
// in here (INSTTRKP.EXE adds only the WinMain of insttrkp/winmain.cpp).
#include "insttrkp/inst_main.cpp"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

// The entry's globals, the listing switch cleared; all put back at the end.
struct SAVED_ENTRY_STATE {
    ~SAVED_ENTRY_STATE()
    {
        std::strcpy(exe_drive, drive.c_str());
        std::strcpy(exe_directory, directory.c_str());
        std::strcpy(CO_system_config.system_drive, system_drive.c_str());
        INST_list_functions = flag;
    }
    std::string drive = exe_drive, directory = exe_directory, system_drive = CO_system_config.system_drive;
    int16_t flag = std::exchange(INST_list_functions, int16_t(0));
};

int16_t parse(std::vector<const char *> args)
{
    return INST_parse_command_line(static_cast<int>(args.size()), args.data());
}

std::string program_path()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + "INSTTRKP.exe";
}

// Runs INSTTRKP.EXE with the arguments in the directory; while it runs, with
// its process id. Its exit code, or -1 when it had to be ended after 60 s.
DWORD run_program(const std::string &arguments, const std::string &directory,
                  const std::function<void(DWORD)> &meanwhile = nullptr)
{
    std::string line = "\"" + program_path() + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &si, &pi))
    {
        ADD_FAILURE() << "not started: " << line;
        return static_cast<DWORD>(-1);
    }
    if (meanwhile)
        meanwhile(pi.dwProcessId);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

}  // namespace

TEST(InstCommandLine, DriveDirectorySystemDriveAndTheListingSwitch)
{
    SAVED_ENTRY_STATE saved;
    const struct { const char *program, *system_before, *drive, *directory, *system_after; } programs[] = {
        {"D:\\KRV\\INSTAL\\INSTTRKP.EXE", "c:", "D:", "\\KRV\\INSTAL\\", "D:"},
        {"E:INSTTRKP.EXE", "c:", "E:", "", "E:"},
        {"INSTTRKP.EXE", "E:", "INS", "\\PREDTIM\\", "E:"},   // no drive: the directory stays
        {"C:\\A.EXE", "x", "C:", "\\", "x"},                  // a system drive without ":" stays
    };
    for (const auto &c : programs) {
        std::strcpy(CO_system_config.system_drive, c.system_before);
        std::strcpy(exe_directory, "\\PREDTIM\\");
        EXPECT_EQ(parse({c.program}), 1);
        EXPECT_EQ(std::string(exe_drive) + "|" + exe_directory + "|" + CO_system_config.system_drive,
                  std::string(c.drive) + "|" + c.directory + "|" + c.system_after);
        EXPECT_EQ(INST_list_functions, 0);
    }
    const struct { std::vector<const char *> args; int16_t listing; } cases[] = {
        {{"C:\\I.EXE"}, 0},       {{"C:\\I.EXE", "$f"}, 1},        {{"C:\\I.EXE", "$F"}, 1},
        {{"C:\\I.EXE", "$m"}, 0}, {{"C:\\I.EXE", "$fcokoliv"}, 1}, {{"C:\\I.EXE", "$m", "$f", "$f"}, 1},
        {{"C:\\I.EXE", "$x", "-f", "/f", "f", "C:\\CESTA\\$f"}, 0}, {{"C:\\I.EXE", "$"}, 0},
    };
    for (const auto &c : cases) {
        INST_list_functions = 0;
        EXPECT_EQ(parse(c.args), 1);
        EXPECT_EQ(INST_list_functions, c.listing) << c.args.size();
    }
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures("..\\insttrkp\\inst_main", {TU_FAILS(INST_parse_command_line(0, nullptr))});
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
        {0, PFU_NORMAL, 0, 0, 0, nullptr, 3, nullptr, 0},                      // no menu text: left out
        {0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0},
        {5000, PFU_NORMAL, 0, 0, 0, nullptr, 4, nullptr, 0},                   // after the end
    };
    PFU_ENTRY second[] = {{5001, PFU_NORMAL, 0, 0x7F7F, 0, nullptr, 5, nullptr, 0}, first[4]};
    PFU_TABLES set{{first, second}, 2, 0};
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
    PFU_TABLES none{};
    for (PFU_TABLES *tables : {&set, &none}) {
        ASSERT_EQ(INST_write_function_list(tables), 1);
        EXPECT_EQ(TU_read(scratch.file("PFU_LIST.PFU")), "KONEC\r\n");
    }
    EXPECT_TRUE(TU_reports().empty());

    DeleteFileA("PFU_LIST.PFU");   // a directory in the file's place
    CreateDirectoryA("PFU_LIST.PFU", nullptr);
    EXPECT_EQ(INST_write_function_list(&PFU_tables), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].kind, WE_KIND_ERROR);
    EXPECT_EQ(TU_reports()[0].text, "Soubor PFU_LIST.PFU nelze otevřít");
    TU_expect_failures("..\\insttrkp\\inst_main", {TU_FAILS(INST_write_function_list(nullptr))});
}

TEST(InstProgram, TheListingModeWritesTheProgramsTablesAndOpensNoWindow)
{
    ASSERT_NE(GetFileAttributesA(program_path().c_str()), INVALID_FILE_ATTRIBUTES)
        << program_path() << " is built with the program target";
    for (const char *arguments : {"$F", "$m $f"}) {
        TU_SCRATCH scratch;
        EXPECT_EQ(run_program(arguments, scratch.path()), 0u);
        std::string listing = TU_read(scratch.file("PFU_LIST.PFU")), ids;
        for (size_t at = listing.find("ID_CODE  : "); at != std::string::npos; at = listing.find("ID_CODE  : ", at + 1))
            ids += listing.substr(at + 11, 4) + " ";
        EXPECT_EQ(ids, "1000 1006 1032 1007 5000 5001 ");
        EXPECT_EQ(listing.rfind("ID_CODE  : 1000\r\nTEXT     : &Soubor\r\n", 0), 0u) << listing;
        EXPECT_NE(listing.find("TEXT     : &Nápověda\r\nHELP     : Otevře nápovědu\r\n"), std::string::npos);
        EXPECT_EQ(listing.substr(listing.size() - 7), "KONEC\r\n");
        bool statistics = arguments[1] == 'm';   // $m writes the statistics too
        EXPECT_EQ(TU_exists(scratch.file("MMBIN.MM")), statistics) << arguments;
        EXPECT_TRUE(!statistics || TU_exists(scratch.file("DATA.FI")));
    }
}

TEST(InstProgram, TheOrdinaryRunShowsTheCentredFrameWithItsClientAndEndsOnClose)
{
    TU_SCRATCH scratch;
    EXPECT_EQ(run_program("-x /y slovo $x", scratch.path(), [](DWORD process) {
        HWND frame = nullptr;   // the visible frame of the process
        WT_wait([&] {
            DWORD pid = 0;
            while ((frame = FindWindowExA(nullptr, frame, "UNI_MAIN_WINDOW", nullptr)) != nullptr)
                if (GetWindowThreadProcessId(frame, &pid) && pid == process && IsWindowVisible(frame))
                    return true;
            return false;
        }, 60000);
        ASSERT_NE(frame, nullptr) << "no frame window";
        RECT r, work;
        GetWindowRect(frame, &r);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        int left = (work.right - work.left) / 2 - 300, top = (work.bottom - work.top) / 2 - 220;
        EXPECT_EQ(r, (RECT{left, top, left + 600, top + 440}));
        char title[64] = "";
        GetWindowTextA(frame, title, sizeof title);
        EXPECT_STREQ(title, "Titulek");
        EXPECT_TRUE(WT_wait([&] { return FindWindowExA(frame, nullptr, "KWS_CLIENT_AREA_WINDOW", nullptr); }, 5000));
        EXPECT_NE(FindWindowExA(frame, nullptr, "SBAR_CLASS_NAME", nullptr), nullptr);
        PostMessageA(frame, WM_BW_CLOSE_REQUEST, 0, 0);
    }), 0u);
    EXPECT_FALSE(TU_exists(scratch.file("PFU_LIST.PFU")));
}
