#include "common/fn.h"

#include <cstring>

#include "common/fe.h"
#include "tests/testutil.h"

namespace {

// A heap buffer of FN_MAX_PATH + 1 bytes holding text: AddressSanitizer sees a write past it.
std::vector<char> path_buffer(const std::string &text)
{
    std::vector<char> b(FN_MAX_PATH + 1, '#');
    std::memcpy(b.data(), text.c_str(), text.size() + 1);
    return b;
}

}  // namespace

// Extensions: whether there is one, where it starts, dropped, added where there is none.
TEST(Fn, Extensions)
{
    // ext null: none; added: FN_add_ext(name, "TXT").
    struct CASE { const char *name, *ext, *dropped, *added; } const cases[] = {
        {"A.TXT", "TXT", "A", "A.TXT"}, {"A", nullptr, "A", "A.TXT"}, {"", nullptr, "", ".TXT"},
        {"C:\\D\\F.TAR.GZ", "GZ", "C:\\D\\F.TAR", "C:\\D\\F.TAR.GZ"}, {"A.", "", "A", "A."},
        {"DIR.X\\FILE", nullptr, "DIR.X\\FILE", "DIR.X\\FILE.TXT"}, {".PROFILE", "PROFILE", "", ".PROFILE"},
    };
    for (const CASE &c : cases) {
        EXPECT_EQ(FN_has_ext(c.name), c.ext != nullptr) << c.name;
        const char *ext = FN_ext(c.name);
        EXPECT_EQ(ext ? std::string(ext - 1) : "-", c.ext ? std::string(".") + c.ext : "-") << c.name;
        std::vector<char> b = path_buffer(c.name);
        EXPECT_EQ(FN_drop_ext(b.data()), c.ext != nullptr) << c.name;
        EXPECT_STREQ(b.data(), c.dropped);
        b = path_buffer(c.name);
        EXPECT_EQ(FN_add_ext(b.data(), "TXT"), c.ext == nullptr) << c.name;
        EXPECT_STREQ(b.data(), c.added);
    }
    EXPECT_TRUE(TU_reports().empty());
}

// Every operation on a path: its result, the buffer afterwards, and at the bound of a path an
// internal error with the buffer unchanged (add) or empty (split, pattern); a null argument fails alike.
TEST(Fn, PathOperations)
{
    const std::string n1020(FN_MAX_PATH - 4, 'n'), n1021(FN_MAX_PATH - 3, 'n'), d1019(FN_MAX_PATH - 5, 'd');
    const std::string too_long(FN_MAX_PATH + 1, 'p'), long_dir = std::string(FN_MAX_PATH - 6, 'd') + "\\*.TXT";
    // A drive other than the current one keeps its "X:"; the current one's goes (the path starts at the root).
    const int16_t drive = FE_get_drive();
    const std::string other = std::string(1, drive == 16 ? 'R' : 'Q') + ":\\TMP\\";
    const std::string here = drive >= 0 ? std::string(1, static_cast<char>('A' + drive)) + ":\\TMP\\*.TXT" : "";
    typedef std::function<int16_t(char *)> ACT;
    const ACT ext = [](char *b) { return FN_add_ext(b, "TXT"); };
    const auto dir = [](std::string d) -> ACT { return [d](char *b) { return FN_add_dir(b, d.c_str()); }; };
    const auto pat = [](std::string p, const char *n) -> ACT {
        return [p, n](char *b) { return FN_from_pattern(p.c_str(), n, b); };
    };
    // The directory goes to the buffer; a name other than the one expected adds 10 to the result.
    const auto split = [](std::string p, const char *name) -> ACT {
        return [p, name](char *b) {
            std::vector<char> n = path_buffer("y");
            const int16_t result = FN_split(p.c_str(), b, n.data());
            return static_cast<int16_t>(result + (std::strcmp(n.data(), name) ? 10 : 0));
        };
    };
    const auto same = [](const char *p, const char *d) -> ACT { return [p, d](char *) { return FN_same_dir(p, d); }; };
    struct CASE { std::string before; ACT act; int16_t result; std::string after; int reports = 0; };
    const auto null = [](ACT act) { return CASE{"A", act, 0, "A", 1}; };
    const CASE cases[] = {
        {"F.TXT", dir("C:\\DIR"), 1, "C:\\DIR\\F.TXT"}, {"F.TXT", dir("C:\\DIR\\"), 1, "C:\\DIR\\F.TXT"},
        {"SUB\\F", dir("DATA"), 1, "DATA\\SUB\\F"}, {"F", dir(""), 0, "F"},
        {"#", pat(other + "*.TXT", "my file.v2"), 1, other + "MYFILEV2.TXT"},
        {"#", pat("*.DAT", "a.b.c"), 1, "ABC.DAT"}, {"#", pat("OUT\\X*.LST", "verylongname"), 1, "OUT\\XVERYLON.LST"},
        {"#", pat("NOSTAR.TXT", "abc"), 1, "NOSTAR.TXT"}, {"#", pat("*.*", "readme"), 1, "README.REA"},
        {"#", pat("*.txt", "a?b*c:d~e,f;g|h/i\\j k"), 1, "ABCDEFGH.TXT"}, {"#", pat("*", ""), 1, ""},
        {"#", pat("out\\*.txt", "žluť"), 1, "out\\ŽLUŤ.TXT"},   // the directory keeps its case
        {"#", pat(here, "abc"), 1, drive >= 0 ? "\\TMP\\ABC.TXT" : ""},   // no drives: an empty pattern
        {"x", split("C:\\A\\B.TXT", "B.TXT"), 1, "C:\\A"}, {"x", split("C:\\B.TXT", "B.TXT"), 1, "C:"},
        {"x", split("B.TXT", "B.TXT"), 1, ""}, {"x", split("C:B.TXT", "B.TXT"), 1, "C:"},
        {"x", split("C:\\A\\", ""), 1, "C:\\A"}, {"x", split("", ""), 1, ""},
        {"x", [](char *b) { return FN_split("C:\\A\\B", b, nullptr); }, 1, "C:\\A"},   // an output not wanted
        {"#", same("c:\\dir\\f.txt", "C:\\DIR"), 1, "#"}, {"#", same("C:\\DIR\\F", "C:\\DIR\\"), 1, "#"},
        {"#", same("C:\\čáp\\F", "C:\\ČÁP"), 1, "#"}, {"#", same("C:\\DIRX\\F", "C:\\DIR"), 0, "#"},
        {"#", same("C:\\DI\\F", "C:\\DIR"), 0, "#"}, {"#", same("F", ""), 1, "#"},
        {n1020, ext, 1, n1020 + ".TXT"}, {"ABCD", dir(d1019), 1, d1019 + "\\ABCD"},
        {n1021, ext, 0, n1021, 1}, {"ABCDE", dir(d1019), 0, "ABCDE", 1}, {"x", split(too_long, ""), 0, "", 1},
        {"#", pat(long_dir, "abc"), 0, "", 1},   // the pattern fits, its result does not
        null([](char *) { return FN_add_ext(nullptr, "T"); }), null([](char *b) { return FN_add_ext(b, nullptr); }),
        null([](char *) { return FN_has_ext(nullptr); }), null([](char *) { return FN_drop_ext(nullptr); }),
        null([](char *) -> int16_t { return FN_ext(static_cast<const char *>(nullptr)) != nullptr; }),
        null([](char *) { return FN_add_dir(nullptr, "D"); }), null([](char *b) { return FN_add_dir(b, nullptr); }),
        null([](char *b) { return FN_split(nullptr, b, b); }), null(same(nullptr, "D")), null(same("D\\F", nullptr)),
        null([](char *b) { return FN_from_pattern(nullptr, "n", b); }),
        null([](char *b) { return FN_from_pattern("*", nullptr, b); }),
        null([](char *) { return FN_from_pattern("*", "n", nullptr); }),
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        std::vector<char> b = path_buffer(c.before);
        EXPECT_EQ(c.act(b.data()), c.result) << c.before << " -> " << c.after;
        EXPECT_EQ(std::string(b.data()), c.after);
        EXPECT_TRUE(c.reports ? TU_one_error("..\\common\\fn") : TU_reports().empty()) << c.after;
    }
}
