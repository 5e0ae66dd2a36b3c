#include "common/fe.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "common/fn.h"
#include "tests/testutil.h"

namespace fs = std::filesystem;

namespace {

std::string current_dir()
{
    char dir[FN_MAX_PATH + 1];
    EXPECT_EQ(FE_get_dir(dir), 1);
    return dir;
}

bool host_dir(const std::string &suite_path)
{
    std::string host = suite_path;
    for (char &c : host)
        if (c == '\\')
            c = TU_SEP[0];
    return fs::is_directory(host);
}

std::string bytes(size_t n)
{
    std::string b(n, 0);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return b;
}

}  // namespace

TEST(Fe, MakePathCreatesEveryLevel)
{
    TU_SCRATCH scratch;
    ASSERT_EQ(FE_make_path("A\\B\\C"), 1);
    EXPECT_TRUE(host_dir("A\\B\\C"));
    // Absolute, with a trailing backslash, three levels below an existing directory.
    const std::string deep = scratch.path() + "\\X\\Y\\Z\\";
    ASSERT_EQ(FE_make_path(deep.c_str()), 1);
    EXPECT_TRUE(host_dir("X\\Y\\Z"));
    EXPECT_EQ(FE_make_path("A\\B\\C"), 1);   // already there
    EXPECT_EQ(FE_make_path("A\\B\\D"), 1);   // one level
    EXPECT_TRUE(host_dir("A\\B\\D"));
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(Fe, MakePathFailsWhereAFileIsInTheWay)
{
    TU_SCRATCH scratch;
    TU_write(scratch.file("F"), "x");
    EXPECT_EQ(FE_make_path("F"), 0);          // a file is no directory
    EXPECT_EQ(FE_make_path("F\\G\\H"), 0);    // and stops the chain without looping
    EXPECT_EQ(FE_make_path(""), 0);
    EXPECT_EQ(TU_read(scratch.file("F")), "x");
}

TEST(Fe, ExistenceAndDirectories)
{
    TU_SCRATCH scratch;
    ASSERT_EQ(FE_make_path("D\\E"), 1);
    TU_write(scratch.file("F.TXT"), "abc");
    struct CASE {
        const char *name;
        int16_t exists;
        int16_t dir_exists;
    };
    const CASE cases[] = {
        {"D", 1, 1},
        {"D\\", 1, 1},
        {"D\\E", 1, 1},
        {"D\\E\\", 1, 1},
        {"F.TXT", 1, 0},
        {"MISSING", 0, 0},
        {"D\\MISSING\\", 0, 0},
    };
    for (const CASE &c : cases) {
        EXPECT_EQ(FE_exists(c.name), c.exists) << c.name;
        EXPECT_EQ(FE_dir_exists(c.name), c.dir_exists) << c.name;
    }
    EXPECT_EQ(FE_dir_exists(scratch.path().c_str()), 1);

    EXPECT_EQ(FE_remove_dir("D"), 0);          // not empty
    EXPECT_EQ(FE_remove_dir("D\\E\\"), 1);     // the trailing backslash is dropped
    EXPECT_EQ(FE_dir_exists("D\\E"), 0);
    EXPECT_EQ(FE_remove_dir("D\\E"), 0);
    EXPECT_EQ(FE_remove_dir("F.TXT"), 0);
    EXPECT_EQ(FE_exists("F.TXT"), 1);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    // A name past the bound of a path is refused.
    const std::string long_name(FN_MAX_PATH + 1, 'n');
    EXPECT_EQ(FE_exists(long_name.c_str()), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(Fe, CurrentDirectoryAndFullPath)
{
    TU_SCRATCH scratch;
    const std::string here = current_dir();
    EXPECT_EQ(here.find('/'), std::string::npos) << here;   // suite form
    ASSERT_EQ(FE_make_path("SUB\\INNER"), 1);

    ASSERT_EQ(FE_change_dir("SUB\\INNER"), 1);
    EXPECT_EQ(current_dir(), here + "\\SUB\\INNER");
    ASSERT_EQ(FE_change_dir("..\\.."), 1);
    EXPECT_EQ(current_dir(), here);
    EXPECT_EQ(FE_change_dir("NOWHERE"), 0);
    EXPECT_EQ(current_dir(), here);
    EXPECT_EQ(FE_change_dir_drive("SUB"), 1);   // no drive: as FE_change_dir
    EXPECT_EQ(current_dir(), here + "\\SUB");
    ASSERT_EQ(FE_change_dir(here.c_str()), 1);

    char full[FN_MAX_PATH + 1];
    EXPECT_EQ(FE_full_path("SUB\\..\\B.TXT", full, sizeof full), 1);
    EXPECT_EQ(std::string(full), here + "\\B.TXT");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    // A result that does not fit the given size.
    const int16_t size = static_cast<int16_t>(here.size() + 6);   // "\B.TXT" needs one more
    std::vector<char> small(size, '#');
    EXPECT_EQ(FE_full_path("B.TXT", small.data(), size), 0);
    EXPECT_EQ(small[0], 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
    std::vector<char> fits(size + 1, '#');
    EXPECT_EQ(FE_full_path("B.TXT", fits.data(), static_cast<int16_t>(size + 1)), 1);
    EXPECT_EQ(std::string(fits.data()), here + "\\B.TXT");
}

TEST(Fe, Drives)
{
    TU_SCRATCH scratch;
    const std::string here = current_dir();
    const int16_t drive = FE_get_drive();
#if defined(_WIN32)
    ASSERT_GE(drive, 0);
    ASSERT_EQ(here[1], ':');
    EXPECT_EQ(FE_set_drive(drive), 1);
    int ready = 0;
    for (int16_t d = 0; d < 26; ++d)
        ready += FE_drive_ready(d);
    EXPECT_GE(ready, 1);
    EXPECT_LT(ready, 26);
    EXPECT_EQ(FE_drive_ready(drive), 1);
    EXPECT_EQ(FE_get_drive(), drive);   // drive and directory kept
    EXPECT_EQ(current_dir(), here);

    ASSERT_EQ(FE_make_path("SUB"), 1);
    std::string with_drive = here + "\\SUB";
    with_drive[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(with_drive[0])));
    EXPECT_EQ(FE_change_dir_drive(with_drive.c_str()), 1);
    EXPECT_EQ(current_dir(), here + "\\SUB");
    EXPECT_EQ(FE_change_dir_drive(here.substr(0, 2).c_str()), 1);   // "X:" alone: the drive only
    EXPECT_EQ(current_dir(), here + "\\SUB");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
#else
    // No drives on this host: every drive is "not ready".
    EXPECT_EQ(drive, -1);
    EXPECT_EQ(FE_set_drive(2), 0);
    EXPECT_EQ(FE_drive_ready(2), 0);
    EXPECT_EQ(current_dir(), here);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
    EXPECT_EQ(FE_change_dir_drive("C:\\"), 0);   // a drive that cannot be selected
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
    EXPECT_EQ(current_dir(), here);
#endif
    TU_clear_reports();
    EXPECT_EQ(FE_set_drive(-1), 0);
    EXPECT_EQ(FE_set_drive(26), 0);
    EXPECT_EQ(FE_drive_ready(26), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 3);
}

TEST(Fe, SizesAndTimes)
{
    TU_SCRATCH scratch;
    TU_write(scratch.file("A.BIN"), bytes(3000));
    TU_write(scratch.file("EMPTY"), "");
    ASSERT_EQ(FE_make_path("DIR"), 1);
    struct CASE {
        const char *name;
        int16_t result;
        uint32_t size;
    };
    const CASE cases[] = {
        {"A.BIN", 1, 3000},
        {"EMPTY", 1, 0},
        {"MISSING", 0, 0xFFFFFFFFu},
        {"DIR", 0, 0xFFFFFFFFu},
    };
    for (const CASE &c : cases) {
        uint32_t size = 12345;
        EXPECT_EQ(FE_file_size(c.name, &size), c.result) << c.name;
        EXPECT_EQ(size, c.size) << c.name;
    }

    TU_write(scratch.file("OLD"), "o");
    TU_write(scratch.file("NEW"), "n");
    const auto now = fs::last_write_time(scratch.file("NEW"));
    fs::last_write_time(scratch.file("OLD"), now - std::chrono::hours(1));
    fs::last_write_time(scratch.file("NEW"), now);
    EXPECT_EQ(FE_not_newer("OLD", "NEW"), 1);
    EXPECT_EQ(FE_not_newer("NEW", "OLD"), 0);
    EXPECT_EQ(FE_not_newer("NEW", "NEW"), 1);
    EXPECT_EQ(FE_not_newer("OLD", "MISSING"), 0);
    EXPECT_EQ(FE_not_newer("MISSING", "NEW"), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(Fe, CopyRenameRemove)
{
    TU_SCRATCH scratch;
    ASSERT_EQ(FE_make_path("OUT"), 1);
    for (size_t n : {size_t(0), size_t(1), size_t(1023), size_t(1024), size_t(1025), size_t(5000)}) {
        TU_write(scratch.file("SRC.BIN"), bytes(n));
        ASSERT_EQ(FE_copy_file("SRC.BIN", "OUT\\DST.BIN"), 1) << n;
        EXPECT_EQ(TU_read(scratch.file("OUT") + TU_SEP + "DST.BIN"), bytes(n)) << n;
    }
    EXPECT_EQ(FE_copy_file("MISSING", "X.BIN"), 0);
    EXPECT_FALSE(TU_exists(scratch.file("X.BIN")));
    EXPECT_EQ(FE_copy_file("SRC.BIN", "NODIR\\X.BIN"), 0);
    // A copy onto itself would empty the file before reading it.
    EXPECT_EQ(FE_copy_file("SRC.BIN", "SRC.BIN"), 0);
    EXPECT_EQ(FE_copy_file("SRC.BIN", "OUT\\..\\SRC.BIN"), 0);
    EXPECT_EQ(TU_read(scratch.file("SRC.BIN")), bytes(5000));

    EXPECT_EQ(FE_rename("SRC.BIN", "OUT\\MOVED.BIN"), 1);
    EXPECT_FALSE(TU_exists(scratch.file("SRC.BIN")));
    EXPECT_EQ(TU_read(scratch.file("OUT") + TU_SEP + "MOVED.BIN"), bytes(5000));
    EXPECT_EQ(FE_rename("SRC.BIN", "OTHER.BIN"), 0);

    EXPECT_EQ(FE_remove("OUT\\MOVED.BIN"), 1);
    EXPECT_EQ(FE_exists("OUT\\MOVED.BIN"), 0);
    EXPECT_EQ(FE_remove("OUT\\MOVED.BIN"), 0);
    ASSERT_EQ(FE_make_path("EMPTYDIR"), 1);
    EXPECT_EQ(FE_remove("EMPTYDIR"), 0);       // files only
    EXPECT_EQ(FE_dir_exists("EMPTYDIR"), 1);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(Fe, DiskSpace)
{
    TU_SCRATCH scratch;
    uint64_t free_bytes = 1;
    uint32_t cluster = 1;
#if defined(_WIN32)
    const std::string root = current_dir().substr(0, 3);   // "X:\"
#else
    const std::string root = scratch.path();
#endif
    ASSERT_EQ(FE_disk_space(root.c_str(), &free_bytes, &cluster), 1);
    EXPECT_GT(free_bytes, 0u);
    EXPECT_GT(cluster, 0u);
    EXPECT_EQ(FE_disk_space("NO\\SUCH\\DIR\\", &free_bytes, &cluster), 0);
    EXPECT_EQ(free_bytes, 0u);
    EXPECT_EQ(cluster, 0u);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(Fe, NullArgumentsAreInternalErrors)
{
    char out[FN_MAX_PATH + 1];
    uint32_t size = 0;
    uint64_t free_bytes = 0;
    struct CASE {
        const char *label;
        std::function<int16_t()> call;
    };
    const CASE cases[] = {
        {"exists", [] { return FE_exists(nullptr); }},
        {"dir exists", [] { return FE_dir_exists(nullptr); }},
        {"make path", [] { return FE_make_path(nullptr); }},
        {"remove dir", [] { return FE_remove_dir(nullptr); }},
        {"change dir", [] { return FE_change_dir(nullptr); }},
        {"change dir drive", [] { return FE_change_dir_drive(nullptr); }},
        {"get dir", [] { return FE_get_dir(nullptr); }},
        {"full path name", [&] { return FE_full_path(nullptr, out, sizeof out); }},
        {"full path out", [] { return FE_full_path("A", nullptr, 10); }},
        {"full path size", [&] { return FE_full_path("A", out, 0); }},
        {"file size name", [&] { return FE_file_size(nullptr, &size); }},
        {"file size out", [] { return FE_file_size("A", nullptr); }},
        {"not newer", [] { return FE_not_newer("A", nullptr); }},
        {"copy source", [] { return FE_copy_file(nullptr, "B"); }},
        {"copy target", [] { return FE_copy_file("A", nullptr); }},
        {"rename", [] { return FE_rename(nullptr, "B"); }},
        {"remove", [] { return FE_remove(nullptr); }},
        {"disk space directory", [&] { return FE_disk_space(nullptr, &free_bytes, &size); }},
        {"disk space out", [&] { return FE_disk_space(".", &free_bytes, nullptr); }},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(c.call(), 0) << c.label;
        ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 1) << c.label;
        EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\common\\fe řádek ", 0), 0u) << TU_reports()[0].text;
    }
}
