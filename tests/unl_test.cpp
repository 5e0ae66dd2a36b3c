#include "inst/unl.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

// One record as the uninstall program expects it, built independently.
std::string rec(unsigned kind, const std::string &path)
{
    std::string r;
    r += static_cast<char>(kind & 0xFF);
    r += static_cast<char>(kind >> 8);
    std::string p = path.substr(0, 1024);
    r += p;
    if (p.size() < 1024)
        r += '\0';
    while (r.size() < 1026)
        r += ' ';
    r += '\0';
    r += '\0';
    return r;
}

// Recording off however a test ends.
struct RECORDING {
    RECORDING() { UNL_open(); }
    ~RECORDING() { UNL_close(); }
};

}  // namespace

TEST(Unl, RecordsByteForByte)
{
    TU_SCRATCH dir;
    {
        RECORDING on;
        ASSERT_EQ(UNL_recording(), 1);
        EXPECT_EQ(UNL_add_file("C:\\TRAKPRN\\", "README.TXT"), 1);
        EXPECT_EQ(UNL_add_file("C:\\TRAKPRN", "DISKLIST.LST"), 1);
        EXPECT_EQ(UNL_add_directory("C:\\TRAKPRN\\Data"), 1);
        EXPECT_EQ(UNL_add_directory("C:\\TRAKPRN\\"), 1);
        EXPECT_EQ(UNL_add_file("C:\\TRAKPRN\\TRAKPRN.EXE", nullptr), 1);
        EXPECT_EQ(UNL_add_file("C:\\TRAKPRN\\", "EXE", "SYSTEM.WCO"), 1);
        EXPECT_EQ(UNL_add_file("C:\\Nabídka Start\\TOREVAN", nullptr, "TRAKPRN.LNK"), 1);
        EXPECT_EQ(UNL_add_registry_key("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TRAKPRN"), 1);
    }
    EXPECT_EQ(UNL_recording(), 0);
    const std::string expected = rec(0, "C:\\TRAKPRN\\README.TXT") + rec(0, "C:\\TRAKPRN\\DISKLIST.LST") +
                                 rec(1, "C:\\TRAKPRN\\Data") + rec(1, "C:\\TRAKPRN") +
                                 rec(0, "C:\\TRAKPRN\\TRAKPRN.EXE") + rec(0, "C:\\TRAKPRN\\EXE\\SYSTEM.WCO") +
                                 rec(0, "C:\\Nabídka Start\\TOREVAN\\TRAKPRN.LNK") +
                                 rec(3, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TRAKPRN");
    std::string bytes = TU_read("UNINST.LST");
    ASSERT_EQ(bytes.size(), 8u * 1028);
    EXPECT_TRUE(bytes == expected);
    // The padding spelled out once: terminator, blanks up to offset 1025, zero, zero.
    EXPECT_EQ(bytes.substr(0, 2), std::string("\0\0", 2));
    EXPECT_EQ(bytes[2 + 21], '\0');
    EXPECT_EQ(bytes[2 + 22], ' ');
    EXPECT_EQ(bytes[1025], ' ');
    EXPECT_EQ(bytes[1026], '\0');
    EXPECT_EQ(bytes[1027], '\0');
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Unl, LongPathsAreCutTo1024Characters)
{
    TU_SCRATCH dir;
    const std::string long_dir = "C:\\" + std::string(1030, 'd');
    const std::string exact = "C:\\" + std::string(1021, 'e');
    {
        RECORDING on;
        UNL_add_file(long_dir.c_str(), "X.EXE");
        UNL_add_directory((exact + "\\").c_str());
        UNL_add_registry_key(exact.c_str());
    }
    std::string bytes = TU_read("UNINST.LST");
    ASSERT_EQ(bytes.size(), 3u * 1028);
    EXPECT_EQ(bytes.substr(0, 1028), rec(0, long_dir.substr(0, 1024)));
    // A path of exactly 1024 characters fills its field; the zero at 1026 ends it.
    EXPECT_EQ(bytes.substr(1028, 1028), rec(1, exact));
    EXPECT_EQ(bytes.substr(1028 + 2, 1024), exact);
    EXPECT_EQ(bytes.substr(2056, 1028), rec(3, exact));
}

TEST(Unl, NothingIsRecordedWhileRecordingIsOff)
{
    TU_SCRATCH dir;
    EXPECT_EQ(UNL_recording(), 0);
    EXPECT_EQ(UNL_add_file("C:\\X", "Y"), 1);
    EXPECT_EQ(UNL_add_directory("C:\\X"), 1);
    EXPECT_EQ(UNL_add_registry_key("KEY"), 1);
    EXPECT_EQ(UNL_close(), 1);
    EXPECT_FALSE(TU_exists("UNINST.LST"));
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Unl, ASecondRecordingStartsTheFileAnew)
{
    TU_SCRATCH dir;
    {
        RECORDING on;
        UNL_add_file("C:\\A", "B");
        UNL_add_file("C:\\A", "C");
    }
    {
        RECORDING on;
        UNL_add_directory("D:\\X\\");
    }
    EXPECT_EQ(TU_read("UNINST.LST"), rec(1, "D:\\X"));
}

TEST(Unl, NullPathsAreReportedAsTheEnginesMistake)
{
    TU_SCRATCH dir;
    {
        RECORDING on;
        EXPECT_EQ(UNL_add_file(nullptr, "X"), 0);
        EXPECT_EQ(UNL_add_directory(nullptr), 0);
        EXPECT_EQ(UNL_add_registry_key(nullptr), 0);
    }
    EXPECT_EQ(TU_read("UNINST.LST"), "");
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 3);
    EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru insttrkp řádek ", 0), 0u);
}

TEST(Unl, AFileThatCannotBeMadeLeavesRecordingOff)
{
    TU_SCRATCH dir;
    // A folder of that name cannot be opened as a file.
    ASSERT_TRUE(std::filesystem::create_directory("UNINST.LST"));
    EXPECT_EQ(UNL_open(), 1);
    EXPECT_EQ(UNL_recording(), 0);
    EXPECT_EQ(UNL_add_file("C:\\A", "B"), 1);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor UNINST.LST nelze otevřít");
}
