#include "inst/unl.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

// One record as the uninstall program expects it, built independently of the writer.
std::string rec(unsigned kind, const std::string &path)
{
    std::string r{static_cast<char>(kind & 0xFF), static_cast<char>(kind >> 8)};
    r += path.substr(0, 1024) + (path.size() < 1024 ? std::string(1, '\0') : "");
    r.resize(1026, ' ');
    return r + std::string(2, '\0');
}

}  // namespace

TEST(Unl, RecordsByteForByteAndOnlyWhileOn)
{
    TU_SCRATCH dir;
    const std::string long_dir = "C:\\" + std::string(1030, 'd');
    const std::string exact = "C:\\" + std::string(1021, 'e');   // 1024 characters fill the field
    const std::string exact_dir = exact + "\\";
    const struct { int kind; const char *a, *b, *c; std::string path; } cases[] = {   // a null: refused
        {0, "C:\\TRAKPRN\\", "README.TXT", nullptr, "C:\\TRAKPRN\\README.TXT"},
        {0, "C:\\TRAKPRN", "EXE", "SYSTEM.WCO", "C:\\TRAKPRN\\EXE\\SYSTEM.WCO"},
        {0, "C:\\TRAKPRN\\TRAKPRN.EXE", nullptr, nullptr, "C:\\TRAKPRN\\TRAKPRN.EXE"},
        {0, "C:\\Nabídka Start\\TOREVAN", nullptr, "TRAKPRN.LNK", "C:\\Nabídka Start\\TOREVAN\\TRAKPRN.LNK"},
        {0, long_dir.c_str(), "X.EXE", nullptr, long_dir.substr(0, 1024)},
        {1, "C:\\TRAKPRN\\Data", nullptr, nullptr, "C:\\TRAKPRN\\Data"},
        {1, exact_dir.c_str(), nullptr, nullptr, exact},
        {3, "SOFTWARE\\TOREVAN\\TRAKPRN", nullptr, nullptr, "SOFTWARE\\TOREVAN\\TRAKPRN"},
        {0, nullptr, "X", nullptr, ""}, {1, nullptr, nullptr, nullptr, ""}, {3, nullptr, nullptr, nullptr, ""},
    };
    // While recording is off every operation gives 1 and writes nothing; a new recording starts the file anew.
    std::string expected;
    for (int on : {1, 0, 1}) {
        if (on) {
            EXPECT_EQ(UNL_open(), 1);
            expected.clear();
        }
        EXPECT_EQ(UNL_recording(), on);
        for (const auto &c : cases) {
            int16_t result = c.kind == 0 ? UNL_add_file(c.a, c.b, c.c)
                                         : c.kind == 1 ? UNL_add_directory(c.a) : UNL_add_registry_key(c.a);
            EXPECT_EQ(result, c.a ? 1 : 0) << c.path;
            expected += on && c.a ? rec(c.kind, c.path) : "";
        }
        EXPECT_EQ(UNL_close(), 1);
        EXPECT_TRUE(TU_read("UNINST.LST") == expected);
    }
    ASSERT_EQ(TU_reports().size(), 9u);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 9);
    EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru insttrkp řádek ", 0), 0u);
}

TEST(Unl, AListThatCannotBeMadeLeavesRecordingOff)
{
    TU_SCRATCH dir;
    ASSERT_TRUE(std::filesystem::create_directory("UNINST.LST"));   // a folder cannot be opened as a file
    EXPECT_EQ(UNL_open(), 1);
    EXPECT_EQ(UNL_recording(), 0);
    EXPECT_EQ(UNL_add_file("C:\\A", "B"), 1);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor UNINST.LST nelze otevřít");
}
