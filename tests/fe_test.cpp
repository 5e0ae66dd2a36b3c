#include "common/fe.h"

#include <chrono>
#include <filesystem>

#include "common/config.h"
#include "common/fn.h"
#include "tests/testutil.h"

namespace fs = std::filesystem;

namespace {

typedef TU_V V;

std::string current_dir()
{
    char dir[FN_MAX_PATH + 1];
    EXPECT_EQ(FE_get_dir(dir), 1);
    return dir;
}

// The host's form of a suite path.
std::string host(std::string suite_path)
{
    for (char &c : suite_path)
        c = c == '\\' ? TU_SEP[0] : c;
    return suite_path;
}

std::string bytes(size_t n)
{
    std::string b(n, 0);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return b;
}

}  // namespace

// Disk operations in sequence: the result, the report (an internal error where told) and where given the current
// directory afterwards.
TEST(Fe, Operations)
{
    TU_SCRATCH scratch;
    const std::string here = current_dir(), deep = scratch.path() + "\\X\\Y\\Z\\";   // absolute, trailing "\"
    const std::string too_long(FN_MAX_PATH + 1, 'n'), in_a = here + "\\A", in_ab = here + "\\A\\B";
    std::string exact;   // FN_MAX_PATH characters in folders of 9
    while (exact.size() < FN_MAX_PATH)
        exact += exact.size() + 10 <= FN_MAX_PATH ? "ddddddddd\\" : std::string(FN_MAX_PATH - exact.size(), 'e');
    EXPECT_EQ(here.find('/'), std::string::npos) << here;   // suite form
    TU_write("F", "x");
    TU_write("SRC.BIN", bytes(5000));
    TU_write("OLD", "o");
    fs::last_write_time("OLD", fs::last_write_time("SRC.BIN") - std::chrono::hours(1));
    typedef std::function<int16_t(const char *, const char *)> OP;
    const auto one = [](int16_t (*f)(const char *)) -> OP { return [f](const char *a, const char *) { return f(a); }; };
    const OP make = one(FE_make_path), exists = one(FE_exists), dir = one(FE_dir_exists), rmdir = one(FE_remove_dir);
    const OP remove = one(FE_remove), cd = one(FE_change_dir), cd_drive = one(FE_change_dir_drive);
    const int16_t exact_made = FE_make_path(exact.c_str());   // the host may refuse so long a path: then 0 throughout
    EXPECT_EQ(exact_made, TRK_WINDOWS ? exact_made : 1);
    // The result, the arguments, internal errors, the current directory afterwards where given.
    struct STEP { OP op; int16_t result; const char *a = "", *b = ""; int reports = 0; const std::string *cwd = {}; }
    const steps[] = {
        // Every missing level, either separator, trailing ones too; a file is no directory and stops the chain
        // without looping.
        {make, 1, "A\\B\\C"}, {make, 1, deep.c_str()}, {make, 1, "A\\B\\C"}, {make, 1, "A\\B\\D"}, {make, 1, "D\\E"},
        {make, 1, "P/Q/R/"}, {make, 1, "S\\T\\U\\"}, {make, 1, "W\\X\\\\"}, {make, 0, "F"}, {make, 0, "F\\G\\H"},
        {make, 0, ""}, {exists, 1, "D"}, {dir, 1, "D"}, {exists, 1, "D\\E\\"}, {dir, 1, "D\\E\\"}, {dir, 1, "D\\E/"},
        {dir, 1, scratch.path().c_str()}, {exists, 1, "F"}, {dir, 0, "F"}, {exists, 0, "MISSING"}, {dir, 0, "MISSING"},
        {dir, 0, "D\\MISSING\\"}, {dir, 0, ""},
        // FN_MAX_PATH characters are a path, one more is an internal error.
        {make, exact_made, exact.c_str()}, {dir, exact_made, exact.c_str()}, {exists, exact_made, exact.c_str()},
        {exists, 0, too_long.c_str(), "", 1}, {dir, 0, too_long.c_str(), "", 1}, {make, 0, too_long.c_str(), "", 1},
        // Empty directories only; a trailing backslash is dropped.
        {rmdir, 0, "D"}, {rmdir, 1, "D\\E\\"}, {dir, 0, "D\\E"}, {rmdir, 0, "D\\E"}, {rmdir, 0, "F"}, {exists, 1, "F"},
        {cd, 1, "A\\B", "", 0, &in_ab}, {cd, 1, "..\\..", "", 0, &here}, {cd, 0, "NOWHERE", "", 0, &here},
        {cd_drive, 1, "A", "", 0, &in_a}, {cd, 1, here.c_str(), "", 0, &here},   // no drive: as FE_change_dir
        // A copy onto itself would empty the file before reading it.
        {FE_copy_file, 0, "MISSING", "X.BIN"}, {FE_copy_file, 0, "SRC.BIN", "NODIR\\X.BIN"},
        {FE_copy_file, 0, "SRC.BIN", "SRC.BIN"}, {FE_copy_file, 0, "SRC.BIN", "A\\..\\SRC.BIN"},
        {FE_not_newer, 1, "OLD", "SRC.BIN"}, {FE_not_newer, 1, "OLD", "OLD"}, {FE_not_newer, 0, "SRC.BIN", "OLD"},
        {FE_not_newer, 0, "OLD", "MISSING"}, {FE_not_newer, 0, "MISSING", "OLD"},
        {FE_rename, 1, "SRC.BIN", "A\\MOVED.BIN"}, {exists, 0, "SRC.BIN"}, {FE_rename, 0, "SRC.BIN", "OTHER.BIN"},
        // Over an older file: it gives way only to the new one.
        {FE_rename_over, 0, "SRC.BIN", "F"}, {FE_copy_file, 1, "F", "A\\F2"}, {FE_copy_file, 1, "A\\MOVED.BIN", "A\\F3"},
        {FE_rename_over, 1, "A\\F2", "A\\F3"}, {exists, 0, "A\\F2"},
        {remove, 1, "OLD"}, {exists, 0, "OLD"}, {remove, 0, "OLD"}, {remove, 0, "D"}, {dir, 1, "D"},   // files only
    };
    for (const STEP &s : steps) {
        TU_clear_reports();
        const std::string what = std::string(s.a) + ", " + s.b;
        EXPECT_EQ(s.op(s.a, s.b), s.result) << what;
        EXPECT_TRUE(s.reports ? TU_one_error("..\\common\\fe") : TU_reports().empty()) << what;
        EXPECT_EQ(s.cwd ? current_dir() : "", s.cwd ? *s.cwd : "") << what;
    }
    for (const char *d : {"A\\B\\C", "A\\B\\D", "X\\Y\\Z", "P\\Q\\R", "S\\T\\U", "W\\X"})
        EXPECT_TRUE(fs::is_directory(host(d))) << d;
    EXPECT_EQ(TU_read("F"), "x");
    EXPECT_EQ(TU_read(host("A\\MOVED.BIN")), bytes(5000));
    EXPECT_EQ(TU_read(host("A\\F3")), "x");
    EXPECT_FALSE(TU_exists("X.BIN"));
    char out[FN_MAX_PATH + 1];
    uint32_t size = 0;
    uint64_t free_bytes = 0;
    TU_expect_failures("..\\common\\fe", {
        TU_FAILS(FE_make_path(nullptr)), TU_FAILS(FE_exists(nullptr)), TU_FAILS(FE_dir_exists(nullptr)),
        TU_FAILS(FE_remove_dir(nullptr)), TU_FAILS(FE_change_dir(nullptr)), TU_FAILS(FE_change_dir_drive(nullptr)),
        TU_FAILS(FE_remove(nullptr)), TU_FAILS(FE_copy_file(nullptr, "B")), TU_FAILS(FE_copy_file("A", nullptr)),
        TU_FAILS(FE_rename(nullptr, "B")), TU_FAILS(FE_rename_over("A", nullptr)), TU_FAILS(FE_not_newer("A", nullptr)),
        TU_FAILS(FE_get_dir(nullptr)),
        TU_FAILS(FE_full_path(nullptr, out, sizeof out)), TU_FAILS(FE_full_path("A", nullptr, 10)),
        TU_FAILS(FE_full_path("A", out, 0)), TU_FAILS(FE_file_size(nullptr, &size)),
        TU_FAILS(FE_file_size("A", nullptr)), TU_FAILS(FE_disk_space(nullptr, &free_bytes, &size)),
        TU_FAILS(FE_disk_space(".", &free_bytes, nullptr)),
    });
}

// Copies across the 1024-byte blocks; sizes; free space; full paths up to the size given.
TEST(Fe, CopiesSizesSpaceAndFullPath)
{
    TU_SCRATCH scratch;
    ASSERT_EQ(FE_make_path("OUT"), 1);
    TU_write("EMPTY", "");
    for (size_t n : {size_t(0), size_t(1023), size_t(1024), size_t(1025), size_t(5000)}) {
        TU_write("SRC.BIN", bytes(n));
        ASSERT_EQ(FE_copy_file("SRC.BIN", "OUT\\DST.BIN"), 1) << n;
        EXPECT_EQ(TU_read(host("OUT\\DST.BIN")), bytes(n)) << n;
    }
    const std::pair<const char *, uint32_t> sizes[] = {
        {"SRC.BIN", 5000}, {"EMPTY", 0}, {"MISSING", 0xFFFFFFFFu}, {"OUT", 0xFFFFFFFFu},
    };
    for (const auto &s : sizes) {
        uint32_t size = 12345;
        EXPECT_EQ((V{FE_file_size(s.first, &size), size}), (V{s.second != 0xFFFFFFFFu, s.second})) << s.first;
    }
    uint32_t cluster = 1;
    uint64_t free_bytes = 1;
    const std::string root = TRK_WINDOWS ? current_dir().substr(0, 3) : scratch.path();   // "X:\"
    EXPECT_EQ((V{FE_disk_space(root.c_str(), &free_bytes, &cluster), free_bytes > 0, cluster > 0}), (V{1, 1, 1}));
    EXPECT_EQ((V{FE_disk_space("NO\\SUCH\\DIR\\", &free_bytes, &cluster), int64_t(free_bytes), cluster}),
              (V{0, 0, 0}));

    const std::string here = current_dir();
    const int16_t exact = static_cast<int16_t>(here.size() + 7);   // "\B.TXT" and the terminator
    for (int16_t size : {exact, int16_t(FN_MAX_PATH + 1), int16_t(exact - 1)}) {
        TU_clear_reports();
        std::vector<char> out(static_cast<size_t>(size), '#');
        const long fits = size >= exact;
        const char *name = size == exact ? "B.TXT" : "OUT\\..\\B.TXT";
        EXPECT_EQ(FE_full_path(name, out.data(), size), fits) << size;
        EXPECT_TRUE(fits ? TU_reports().empty() : TU_one_error("..\\common\\fe")) << size;
        EXPECT_EQ(std::string(out.data()), fits ? here + "\\B.TXT" : "") << size;
    }
}

// Drives: the current one kept by probes and selections; a drive letter in a path; no drives on a host without
// them; drive numbers outside 0 to 25 are internal errors.
TEST(Fe, Drives)
{
    TU_SCRATCH scratch;
    const std::string here = current_dir();
    const int16_t drive = FE_get_drive();
#if TRK_WINDOWS
    ASSERT_GE(drive, 0);
    ASSERT_EQ(here[1], ':');
    int ready = 0;
    for (int16_t d = 0; d < 26; ++d)
        ready += FE_drive_ready(d);
    EXPECT_TRUE(ready >= 1 && ready < 26) << ready;
    // Selecting or probing a drive keeps the current drive and directory.
    EXPECT_EQ((V{FE_set_drive(drive), FE_drive_ready(drive), FE_get_drive()}), (V{1, 1, drive}));
    EXPECT_EQ(current_dir(), here);
    ASSERT_EQ(FE_make_path("SUB"), 1);
    std::string with_drive = here + "\\SUB";
    with_drive[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(with_drive[0])));
    // "X:" alone: the drive only.
    EXPECT_EQ((V{FE_change_dir_drive(with_drive.c_str()), FE_change_dir_drive(here.substr(0, 2).c_str()),
                 TU_count(WE_KIND_INTERNAL)}),
              (V{1, 1, 0}));
    EXPECT_EQ(current_dir(), here + "\\SUB");
#else
    // No drives on this host: every drive is "not ready", and a drive in a path cannot be selected.
    EXPECT_EQ(drive, -1);
    EXPECT_EQ((V{FE_set_drive(2), FE_drive_ready(2), TU_count(WE_KIND_INTERNAL)}), (V{0, 0, 0}));
    TU_expect_failures("..\\common\\fe", {TU_FAILS(FE_change_dir_drive("C:\\"))});
    EXPECT_EQ(current_dir(), here);
#endif
    TU_expect_failures("..\\common\\fe",
                       {TU_FAILS(FE_set_drive(-1)), TU_FAILS(FE_set_drive(26)), TU_FAILS(FE_drive_ready(26))});
}

// One spelling of a typed path: separators, blanks around names, "." and ".."
// (refused in the strict form, which only joins separators), names the system
// would change, no drive letter. Q: does not exist: no long names apply.
TEST(Fe, OneSpellingOfAPathAndOneIdentityOfAFile)
{
    const std::string long_path = "Q:\\" + std::string(FN_MAX_PATH - 3, 'x');
    const struct { std::string path; const char *canonical, *strict; } cases[] = {
        {"Q:\\KRV5", "Q:\\KRV5", "Q:\\KRV5"},
        {"  Q:\\KRV5", "Q:\\KRV5", ""},
        {"Q:/KRV5/", "Q:\\KRV5", "Q:\\KRV5"},
        {"Q:\\\\KRV5\\\\\\EXE", "Q:\\KRV5\\EXE", "Q:\\KRV5\\EXE"},
        {"Q:\\ Program Files \\ KRV5 ", "Q:\\Program Files\\KRV5", ""},
        {"Q:\\KRV5\\.\\EXE\\..\\Data", "Q:\\KRV5\\Data", ""},
        {"Q:\\..\\..\\KRV5", "Q:\\KRV5", ""},
        {"Q:KRV5", "Q:\\KRV5", "Q:\\KRV5"},
        {"Q:", "Q:\\", "Q:\\"},
        {"q:\\krv5", "q:\\krv5", "q:\\krv5"},
        {"Q:\\KRV5.\\EXE", "", ""},
        {"Q:\\KRV5\\...\\EXE", "", ""},
        {"\\\\server\\share\\KRV5", "", ""},
        {"KRV5", "", ""},
        {long_path, long_path.c_str(), long_path.c_str()},
        {long_path + "x", "", ""},
    };
    for (const auto &c : cases)
        for (int16_t strict : {0, 1}) {
            char out[FN_MAX_PATH + 1] = "#";
            const char *expected = strict ? c.strict : c.canonical;
            EXPECT_EQ(FE_canonical_path(c.path.c_str(), strict, out, sizeof out), expected[0] ? 1 : 0)
                << c.path << " " << strict;
            EXPECT_STREQ(out, expected) << c.path << " " << strict;
        }
    char small[8];
    EXPECT_EQ(FE_canonical_path("Q:\\KRV5\\EXE", 0, small, sizeof small), 0);

    TU_SCRATCH scratch;
    ASSERT_EQ(FE_make_path("SUB"), 1);
    TU_write("A.TXT", "a");
    TU_write("B.TXT", "a");
    const struct { const char *a, *b; int16_t same; } files[] = {
        {"A.TXT", "A.TXT", 1}, {"A.TXT", "SUB\\..\\A.TXT", 1}, {"SUB", "SUB\\", 1},
        {"A.TXT", "B.TXT", 0}, {"A.TXT", "MISSING", 0},        {"MISSING", "MISSING", 0},
    };
    for (const auto &f : files)
        EXPECT_EQ(FE_same_file(f.a, f.b), f.same) << f.a << " " << f.b;
    EXPECT_EQ(TU_reports().size(), 0u);
}
