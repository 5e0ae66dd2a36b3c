#include "inst/ifl.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "common/fi.h"
#include "tests/testutil.h"

namespace {

// v in n bytes, little-endian.
std::string le(unsigned long v, int n) { return n ? static_cast<char>(v & 0xFF) + le(v >> 8, n - 1) : ""; }
std::string field(const std::string &text, size_t n) { return (text + std::string(n, '\0')).substr(0, n); }
std::string header(const std::string &user, unsigned count, unsigned set = 1, unsigned packed = 0)
{
    return le(0x1234, 2) + field(user, 82) + le(0xBEEF, 2) + le(count, 2) + le(set, 2) + le(packed, 2);
}
// The padding byte at 51 is 0x7F, which no reader may take for data.
std::string record(const std::string &target, const std::string &source = "A.EX_", const std::string &subdir = ".",
                   unsigned long size = 1, unsigned disk = 0, const std::string &description = "")
{
    return field(target, 17) + field(source, 17) + field(subdir, 17) + "\x7F" + le(size, 4) + le(disk, 2) +
           field(description, 82);
}
// The current record as "target|source|subdir|size|disk|description".
std::string current(const IFL_state *s)
{
    return std::string(s->target_name) + "|" + s->source_name + "|" + s->target_subdir + "|" +
           std::to_string(s->size) + "|" + std::to_string(s->disk_index) + "|" + s->description;
}
std::string reports()
{
    std::string all;
    for (const TU_REPORT &r : TU_reports())
        all += r.text + (r.kind == WE_KIND_ERROR ? "\n" : " (not an error box)\n");
    return all;
}
struct STATE {
    IFL_state *s = nullptr;
    STATE() { EXPECT_EQ(IFL_create(&s), 1); }
    ~STATE() { IFL_destroy(&s); }
};

}  // namespace

TEST(Ifl, ReadsFieldsByOffsetAndCodesThemBack)
{
    TU_SCRATCH dir;
    const std::string first =
        header("Firma Žluťoučký kůň", 2, 0xFFFF, 0x100) + record("T.EXE", "T.EX_", "EXE", 123456, 0, "Program");
    // Names of 16 characters fill their fields; an 81st character and bytes after the last record are not read.
    TU_write("DISKLIST.LST", first + record("ABCDEFGHIJKLMNOP", "QRSTUVWXYZ012345", "SUBDIRECTORY1234", 0xFFFFFFFF, 25,
                                            std::string(80, 'd') + "X") + "zbytek");
    STATE st;
    IFL_state *s = st.s;
    for (int pass = 0; pass < 2; pass++) {   // each pass starts at the header; the list stays open between passes
        ASSERT_EQ(IFL_read_header(s), 1);
        ASSERT_EQ(IFL_next_record(s), 1);
        EXPECT_EQ(current(s), "T.EXE|T.EX_|EXE|123456|0|Program");
    }
    EXPECT_STREQ(s->user_name, "Firma Žluťoučký kůň");
    EXPECT_EQ(s->set_number, -1);
    EXPECT_EQ(s->packed, 0x100);
    uint8_t again[IFL_HEADER_SIZE + IFL_RECORD_SIZE];   // coded back: the same bytes (0 and 84 too), padding zero
    IFL_encode_header(s, again);
    IFL_encode_record(s, again + IFL_HEADER_SIZE);
    EXPECT_EQ(std::string(again, again + sizeof again), first.substr(0, 143) + '\0' + first.substr(144));
    ASSERT_EQ(IFL_next_record(s), 1);
    EXPECT_EQ(current(s), "ABCDEFGHIJKLMNOP|QRSTUVWXYZ012345|SUBDIRECTORY1234|4294967295|25|" + std::string(80, 'd'));
    EXPECT_EQ(IFL_next_record(s), 0);   // the end, not the trailing bytes
    EXPECT_EQ(s->records_read, 2);
    EXPECT_EQ(IFL_close_list(s), 1);
    EXPECT_EQ(s->list, nullptr);
    EXPECT_TRUE(TU_reports().empty());
    // Fewer records than counted: the pass ends at the short read.
    TU_write("DISKLIST.LST", header("x", 5) + record("A") + record("B") + std::string(100, 'z'));
    ASSERT_EQ(IFL_read_header(s), 1);
    EXPECT_EQ(IFL_next_record(s) + IFL_next_record(s) + IFL_next_record(s), 2);
    EXPECT_EQ(s->records_read, 2);
    EXPECT_EQ(reports(), "Ze souboru DISKLIST.LST nelze číst\n");
}

TEST(Ifl, SafeNamesAndTheCheckOfAList)
{
    const struct { const char *name; int16_t as_file, as_subdir; } names[] = {
        {"TRAKPRN.EXE", 1, 1}, {".profile", 1, 1}, {"a..b", 1, 1}, {"Čeština", 1, 1}, {".", 0, 1},  {"..", 0, 0},
        {"...", 0, 0},         {"", 0, 0},         {"A\\B", 0, 0}, {"A/B", 0, 0},     {"C:X.EXE", 0, 0},
    };
    for (const auto &c : names) {
        EXPECT_EQ(IFL_safe_name(c.name, 0), c.as_file) << c.name;
        EXPECT_EQ(IFL_safe_name(c.name, 1), c.as_subdir) << c.name;
    }
    // Unsafe records: each field kind once. The check stops at the first and leaves the list open.
    auto listed = [](const std::string &rec) { return header("x", 3) + record("OK.EXE") + rec + record("Z.EXE"); };
    const std::string bad = "Nepřípustný záznam 2 souboru DISKLIST.LST: ";
    const std::string unread = "Chybná cesta/soubor nenalezen: DISKLIST.LST\n";
    const struct { std::string list; int16_t result; uint16_t records; std::string reports; } cases[] = {
        {"", 0, 0, "Soubor DISKLIST.LST nelze otevřít\n" + unread},   // "": no list
        {header("x", 1).substr(0, 91), 0, 0, "Ze souboru DISKLIST.LST nelze číst\n" + unread},
        {listed(record("A.EXE", "A.EX_", "EXE", 1, 25)), 1, 3, ""},
        {listed(record("..\\AUTOEXEC.BAT")), 0, 2, bad + "cílový název souboru \"..\\AUTOEXEC.BAT\"\n"},
        {listed(record("A.EXE", "C:\\BOOT.INI")), 0, 2, bad + "název souboru na disketě \"C:\\BOOT.INI\"\n"},
        {listed(record("A.EXE", "A.EX_", "..")), 0, 2, bad + "cílový podadresář \"..\"\n"},
        {listed(record("A.EXE", "A.EX_", ".", 1, 26)), 0, 2, bad + "číslo diskety \"27\"\n"},
        {listed(record("A.EXE", "A.EX_", ".", 1, 0xFFFF)), 0, 2, bad + "číslo diskety \"0\"\n"},
    };
    for (const auto &c : cases) {
        TU_SCRATCH dir;
        if (!c.list.empty())
            TU_write("DISKLIST.LST", c.list);
        STATE st;
        TU_clear_reports();
        EXPECT_EQ(IFL_check_list(st.s), c.result) << c.reports;
        EXPECT_EQ(st.s->records_read, c.records) << c.reports;
        EXPECT_EQ(reports(), c.reports);
        if (c.records) {   // to be read again from its header
            ASSERT_NE(st.s->list, nullptr);
            EXPECT_TRUE(IFL_read_header(st.s) && IFL_next_record(st.s) && std::string(st.s->target_name) == "OK.EXE");
        }
    }
}

TEST(Ifl, DefaultsPlacesAndTheInstalledFileLine)
{
    TU_SCRATCH dir;
    STATE st;
    IFL_state *s = st.s;
    EXPECT_STREQ(s->target_dir, "C:\\KRV5\\");
    const std::string source = s->source_dir;   // the program's folder in upper case
    EXPECT_TRUE(!source.empty() && source.back() == '\\') << source;
    EXPECT_EQ(source.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << source;
    EXPECT_TRUE(s->desktop_shortcut == 0 && s->quick_launch_shortcut == 0 && s->list == nullptr);
    C_FILE *inst = nullptr;
    ASSERT_TRUE(FI_create(&inst, "INST.LST") && FI_open(inst, FI_TEXT_CREATE));
    char place[IFL_PATH_MAX + 1], path[IFL_PATH_MAX + 1];
    std::strcpy(s->target_dir, "D:\\TOREVAN\\");
    std::strcpy(s->target_name, "ČTIMNE.TXT");
    std::strcpy(s->description, "Čti mne");
    for (const char *subdir : {"EXE", "."}) {
        std::strcpy(s->target_subdir, subdir);
        EXPECT_EQ(IFL_place(s, place) + IFL_installed_path(s, path), 2);
        EXPECT_EQ(std::string(place) + "ČTIMNE.TXT", path);
        EXPECT_EQ(IFL_write_inst_line(inst, s), 1);
    }
    FI_close(inst, 0);
    FI_destroy(&inst);
    EXPECT_EQ(TU_read("INST.LST"), "D:\\TOREVAN\\EXE\\ČTIMNE.TXT Čti mne\r\nD:\\TOREVAN\\ČTIMNE.TXT Čti mne\r\n");
    std::strcpy(s->target_dir, (std::string(1020, 'D') + "\\").c_str());   // past 1024 characters: refused, not cut
    std::strcpy(s->target_subdir, "EXE");
    EXPECT_EQ(IFL_place(s, place) + IFL_installed_path(s, path), 0);
    EXPECT_EQ(std::string(place) + path, "");
    IFL_state *none = nullptr;
    EXPECT_EQ(IFL_destroy(&none), 1);
    EXPECT_TRUE(TU_reports().empty());
}
