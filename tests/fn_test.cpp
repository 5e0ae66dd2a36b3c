#include "common/fn.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/fe.h"
#include "tests/testutil.h"

namespace {

// A heap buffer of FN_MAX_PATH + 1 bytes holding text.
std::vector<char> path_buffer(const std::string &text)
{
    std::vector<char> b(FN_MAX_PATH + 1, '#');
    std::memcpy(b.data(), text.c_str(), text.size() + 1);
    return b;
}

}  // namespace

TEST(Fn, Extensions)
{
    struct CASE {
        const char *name;
        const char *ext;        // null: none
        const char *dropped;    // after FN_drop_ext
        const char *added;      // after FN_add_ext(name, "TXT")
    };
    const CASE cases[] = {
        {"A.TXT", "TXT", "A", "A.TXT"},
        {"A", nullptr, "A", "A.TXT"},
        {"C:\\D\\F.TAR.GZ", "GZ", "C:\\D\\F.TAR", "C:\\D\\F.TAR.GZ"},
        {"DIR.X\\FILE", nullptr, "DIR.X\\FILE", "DIR.X\\FILE.TXT"},   // a "." of the directory is no extension
        {"A.", "", "A", "A."},
        {".PROFILE", "PROFILE", "", ".PROFILE"},
        {"", nullptr, "", ".TXT"},
    };
    for (const CASE &c : cases) {
        EXPECT_EQ(FN_has_ext(c.name), c.ext != nullptr) << c.name;
        const char *ext = FN_ext(c.name);
        if (c.ext) {
            ASSERT_NE(ext, nullptr) << c.name;
            EXPECT_STREQ(ext, c.ext);
            EXPECT_EQ(ext[-1], '.');
        } else {
            EXPECT_EQ(ext, nullptr) << c.name;
        }
        std::vector<char> b = path_buffer(c.name);
        EXPECT_EQ(FN_drop_ext(b.data()), c.ext != nullptr) << c.name;
        EXPECT_STREQ(b.data(), c.dropped);
        b = path_buffer(c.name);
        EXPECT_EQ(FN_add_ext(b.data(), "TXT"), c.ext == nullptr) << c.name;
        EXPECT_STREQ(b.data(), c.added);
    }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    // A name that cannot take its extension within a path's bound stays as it was.
    std::vector<char> b = path_buffer(std::string(FN_MAX_PATH - 3, 'n'));
    EXPECT_EQ(FN_add_ext(b.data(), "TXT"), 0);
    EXPECT_EQ(std::strlen(b.data()), static_cast<size_t>(FN_MAX_PATH - 3));
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
    b = path_buffer(std::string(FN_MAX_PATH - 4, 'n'));
    EXPECT_EQ(FN_add_ext(b.data(), "TXT"), 1);
    EXPECT_EQ(std::strlen(b.data()), static_cast<size_t>(FN_MAX_PATH));
}

TEST(Fn, AddDir)
{
    struct CASE {
        const char *name;
        const char *directory;
        const char *expected;
        int16_t result;
    };
    const CASE cases[] = {
        {"F.TXT", "C:\\DIR", "C:\\DIR\\F.TXT", 1},
        {"F.TXT", "C:\\DIR\\", "C:\\DIR\\F.TXT", 1},
        {"SUB\\F", "DATA", "DATA\\SUB\\F", 1},
        {"F", "", "F", 0},
    };
    for (const CASE &c : cases) {
        std::vector<char> b = path_buffer(c.name);
        EXPECT_EQ(FN_add_dir(b.data(), c.directory), c.result) << c.name;
        EXPECT_STREQ(b.data(), c.expected);
    }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    const std::string dir(FN_MAX_PATH - 5, 'd');
    std::vector<char> b = path_buffer("ABCD");
    EXPECT_EQ(FN_add_dir(b.data(), dir.c_str()), 1);   // exactly FN_MAX_PATH
    EXPECT_EQ(std::string(b.data()), dir + "\\ABCD");
    b = path_buffer("ABCDE");
    EXPECT_EQ(FN_add_dir(b.data(), dir.c_str()), 0);
    EXPECT_STREQ(b.data(), "ABCDE");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(Fn, SplitAndSameDir)
{
    struct SPLIT {
        const char *path;
        const char *directory;
        const char *name;
    };
    const SPLIT splits[] = {
        {"C:\\A\\B.TXT", "C:\\A", "B.TXT"},
        {"C:\\B.TXT", "C:", "B.TXT"},
        {"B.TXT", "", "B.TXT"},
        {"C:B.TXT", "C:", "B.TXT"},
        {"C:\\A\\", "C:\\A", ""},
        {"A\\B\\C", "A\\B", "C"},
        {"", "", ""},
    };
    for (const SPLIT &s : splits) {
        std::vector<char> d = path_buffer("x"), n = path_buffer("y");
        EXPECT_EQ(FN_split(s.path, d.data(), n.data()), 1) << s.path;
        EXPECT_STREQ(d.data(), s.directory) << s.path;
        EXPECT_STREQ(n.data(), s.name) << s.path;
    }
    std::vector<char> d = path_buffer("x");
    EXPECT_EQ(FN_split("C:\\A\\B", d.data(), nullptr), 1);
    EXPECT_STREQ(d.data(), "C:\\A");

    struct SAME {
        const char *path;
        const char *directory;
        int16_t same;
    };
    const SAME same[] = {
        {"c:\\dir\\f.txt", "C:\\DIR", 1},
        {"C:\\DIR\\F", "C:\\DIR\\", 1},
        {"C:\\čáp\\F", "C:\\ČÁP", 1},
        {"C:\\DIR\\SUB\\F", "C:\\DIR", 0},
        {"C:\\DIRX\\F", "C:\\DIR", 0},
        {"C:\\DI\\F", "C:\\DIR", 0},
        {"F", "", 1},
    };
    for (const SAME &s : same)
        EXPECT_EQ(FN_same_dir(s.path, s.directory), s.same) << s.path << " in " << s.directory;
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    // A path past the bound is refused, not cut.
    const std::string long_path(FN_MAX_PATH + 1, 'p');
    std::vector<char> n = path_buffer("y");
    EXPECT_EQ(FN_split(long_path.c_str(), d.data(), n.data()), 0);
    EXPECT_STREQ(d.data(), "");
    EXPECT_STREQ(n.data(), "");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(Fn, FromPattern)
{
    // A drive other than the current one keeps its "X:".
    const int16_t current = FE_get_drive();
    const char other = current == 16 ? 'R' : 'Q';
    const std::string on_other = std::string(1, other) + ":\\TMP\\";
    struct CASE {
        std::string pattern;
        const char *name;
        std::string expected;
    };
    const CASE cases[] = {
        {on_other + "*.TXT", "my file.v2", on_other + "MYFILEV2.TXT"},
        {"*.DAT", "a.b.c", "ABC.DAT"},
        {"OUT\\X*.LST", "verylongname", "OUT\\XVERYLON.LST"},
        {"DATA.*", "text", "DATA.TEX"},
        {"NOSTAR.TXT", "abc", "NOSTAR.TXT"},
        {"*.txt", "a?b*c:d~e,f;g|h/i\\j k", "ABCDEFGH.TXT"},
        {"out\\*.txt", "žluť", "out\\ŽLUŤ.TXT"},   // the directory keeps its case
        {"*", "", ""},
        {"*.*", "readme", "README.REA"},
    };
    for (const CASE &c : cases) {
        std::vector<char> out = path_buffer("#");
        EXPECT_EQ(FN_from_pattern(c.pattern.c_str(), c.name, out.data()), 1) << c.pattern;
        EXPECT_EQ(std::string(out.data()), c.expected) << c.pattern << " + " << c.name;
    }
    if (current >= 0) {
        // The current drive's "X:" goes: the path still starts at the root.
        const std::string here = std::string(1, static_cast<char>('A' + current)) + ":\\TMP\\*.TXT";
        std::vector<char> out = path_buffer("#");
        EXPECT_EQ(FN_from_pattern(here.c_str(), "abc", out.data()), 1);
        EXPECT_STREQ(out.data(), "\\TMP\\ABC.TXT");
    }
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);

    // A pattern within the bound whose result is not: 1019 + 7 characters.
    const std::string long_dir = std::string(FN_MAX_PATH - 6, 'd') + "\\*.TXT";
    std::vector<char> out = path_buffer("#");
    EXPECT_EQ(FN_from_pattern(long_dir.c_str(), "abc", out.data()), 0);
    EXPECT_STREQ(out.data(), "");
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(Fn, NullArgumentsAreInternalErrors)
{
    char name[FN_MAX_PATH + 1] = "A";
    struct CASE {
        const char *label;
        std::function<long()> call;
    };
    const CASE cases[] = {
        {"add ext name", [] { return long(FN_add_ext(nullptr, "T")); }},
        {"add ext ext", [&] { return long(FN_add_ext(name, nullptr)); }},
        {"has ext", [] { return long(FN_has_ext(nullptr)); }},
        {"drop ext", [] { return long(FN_drop_ext(nullptr)); }},
        {"ext", [] { return long(FN_ext(static_cast<const char *>(nullptr)) != nullptr); }},
        {"add dir name", [] { return long(FN_add_dir(nullptr, "D")); }},
        {"add dir dir", [&] { return long(FN_add_dir(name, nullptr)); }},
        {"split", [&] { return long(FN_split(nullptr, name, name)); }},
        {"same dir path", [] { return long(FN_same_dir(nullptr, "D")); }},
        {"same dir dir", [] { return long(FN_same_dir("D\\F", nullptr)); }},
        {"from pattern pattern", [&] { return long(FN_from_pattern(nullptr, "n", name)); }},
        {"from pattern name", [&] { return long(FN_from_pattern("*", nullptr, name)); }},
        {"from pattern out", [] { return long(FN_from_pattern("*", "n", nullptr)); }},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(c.call(), 0) << c.label;
        ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 1) << c.label;
        EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\common\\fn řádek ", 0), 0u) << TU_reports()[0].text;
    }
}
