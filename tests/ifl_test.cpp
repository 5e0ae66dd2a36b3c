#include "inst/ifl.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "common/fi.h"
#include "tests/testutil.h"

namespace {

std::string le(unsigned long v, int bytes)
{
    std::string s;
    for (int i = 0; i < bytes; i++)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
// A field of n bytes: the text, then zeros.
std::string field(const std::string &text, size_t n) { return (text + std::string(n, '\0')).substr(0, n); }

std::string header(const std::string &user, unsigned count, unsigned set = 1, unsigned packed = 0)
{
    return le(0x1234, 2) + field(user, 82) + le(0xBEEF, 2) + le(count, 2) + le(set, 2) + le(packed, 2);
}

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

struct STATE {
    IFL_state *s = nullptr;
    STATE() { EXPECT_EQ(IFL_create(&s), 1); }
    ~STATE() { IFL_destroy(&s); }
};

}  // namespace

TEST(Ifl, CreateSetsTheDefaults)
{
    STATE st;
    ASSERT_NE(st.s, nullptr);
    EXPECT_STREQ(st.s->target_dir, "C:\\KRV5\\");
    const std::string source = st.s->source_dir;   // the program's folder, upper case
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(source.back(), '\\');
    EXPECT_EQ(source.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << source;
    EXPECT_EQ(st.s->desktop_shortcut + st.s->quick_launch_shortcut + st.s->records_read, 0);
    EXPECT_EQ(st.s->list, nullptr);
    IFL_state *none = nullptr;
    EXPECT_EQ(IFL_destroy(&none), 1);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Ifl, ReadsFieldsByOffsetAndCodesBothWays)
{
    TU_SCRATCH dir;
    // Names of 16 characters fill their fields; an 81st character of a text and bytes after the last record are not read.
    const std::string list = header("Firma Žluťoučký kůň", 3, 7, 1) + record("TRAKPRN.EXE", "TRAKPRN.EX_", "EXE", 123456, 0, "Program") +
                             record("ABCDEFGHIJKLMNOP", "QRSTUVWXYZ012345", "SUBDIRECTORY1234", 0xFFFFFFFFul, 25,
                                    std::string(80, 'd') + "X") +
                             record("DATA.TXT", "DATA.TX_", ".", 0, 1) + "zbytek souboru";
    TU_write("DISKLIST.LST", list);
    STATE st;
    IFL_state *s = st.s;
    for (int pass = 0; pass < 2; pass++) {   // every pass starts at the header; the list stays open between them
        ASSERT_EQ(IFL_read_header(s), 1);
        EXPECT_EQ(s->records_read, 0);
        ASSERT_EQ(IFL_next_record(s), 1);
        EXPECT_EQ(current(s), "TRAKPRN.EXE|TRAKPRN.EX_|EXE|123456|0|Program");
    }
    EXPECT_EQ(s->header_value_0, 0x1234);
    EXPECT_EQ(std::string(s->user_name) + "|" + std::to_string(static_cast<uint16_t>(s->header_value_84)) + "|" +
                  std::to_string(s->record_count) + "|" + std::to_string(s->set_number) + "|" + std::to_string(s->packed),
              "Firma Žluťoučký kůň|48879|3|7|1");
    ASSERT_EQ(IFL_next_record(s), 1);
    EXPECT_EQ(current(s), "ABCDEFGHIJKLMNOP|QRSTUVWXYZ012345|SUBDIRECTORY1234|4294967295|25|" + std::string(80, 'd'));
    ASSERT_EQ(IFL_next_record(s), 1);
    EXPECT_EQ(current(s), "DATA.TXT|DATA.TX_|.|0|1|");
    EXPECT_EQ(s->records_read, 3);
    EXPECT_EQ(IFL_next_record(s), 0);   // the end, not the trailing bytes
    EXPECT_EQ(IFL_close_list(s), 1);
    EXPECT_EQ(s->list, nullptr);
    EXPECT_TRUE(TU_reports().empty());

    // Coding back gives the same bytes, the padding byte written as zero; a set of 0xFFFF is -1.
    std::string bytes = header("Uživatel", 65535, 0xFFFF, 0x100) + record("A.EXE", "A.EX_", "BIN", 42, 25, "Popis ěščřžýáíé");
    IFL_state c{};
    IFL_decode_header(&c, reinterpret_cast<const uint8_t *>(bytes.data()));
    IFL_decode_record(&c, reinterpret_cast<const uint8_t *>(bytes.data()) + IFL_HEADER_SIZE);
    EXPECT_EQ(c.set_number, -1);
    uint8_t again[IFL_HEADER_SIZE + IFL_RECORD_SIZE];
    IFL_encode_header(&c, again);
    IFL_encode_record(&c, again + IFL_HEADER_SIZE);
    bytes[IFL_HEADER_SIZE + 51] = 0;
    EXPECT_EQ(std::string(reinterpret_cast<char *>(again), sizeof again), bytes);
}

TEST(Ifl, ListsThatEndEarly)
{
    const struct { const char *name; std::string list; int16_t header; uint16_t records; const char *message; } cases[] = {
        {"no list", "", 0, 0, "Soubor DISKLIST.LST nelze otevřít"},
        {"short header", header("x", 1).substr(0, 91), 0, 0, "Ze souboru DISKLIST.LST nelze číst"},
        {"count 0", header("x", 0) + record("A"), 1, 0, nullptr},
        {"fewer records than counted", header("x", 5) + record("A") + record("B") + std::string(100, 'z'), 1, 2,
         "Ze souboru DISKLIST.LST nelze číst"},
    };
    for (const auto &c : cases) {
        TU_SCRATCH dir;
        if (!c.list.empty())
            TU_write("DISKLIST.LST", c.list);
        STATE st;
        TU_clear_reports();
        EXPECT_EQ(IFL_read_header(st.s), c.header) << c.name;
        while (c.header && IFL_next_record(st.s))
            ;
        EXPECT_EQ(st.s->records_read, c.records) << c.name;
        ASSERT_EQ(TU_reports().size(), c.message ? 1u : 0u) << c.name;
        if (c.message)
            EXPECT_EQ(TU_reports()[0].text, c.message) << c.name;
    }
    // A list that cannot be read cannot be checked.
    TU_SCRATCH dir;
    STATE st;
    TU_clear_reports();
    EXPECT_EQ(IFL_check_list(st.s), 0);
    ASSERT_EQ(TU_reports().size(), 2u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor DISKLIST.LST nelze otevřít");
    EXPECT_EQ(TU_reports()[1].text, "Chybná cesta/soubor nenalezen: DISKLIST.LST");
}

TEST(Ifl, SafeNamesAndUnsafeRecords)
{
    const struct { const char *name; int16_t as_file, as_subdir; } names[] = {
        {"TRAKPRN.EXE", 1, 1}, {".profile", 1, 1}, {"a..b", 1, 1}, {"Čeština", 1, 1}, {".", 0, 1},  {"..", 0, 0},
        {"...", 0, 0},         {"", 0, 0},         {"A\\B", 0, 0}, {"A/B", 0, 0},     {"C:X.EXE", 0, 0},
    };
    for (const auto &c : names) {
        EXPECT_EQ(IFL_safe_name(c.name, 0), c.as_file) << c.name;
        EXPECT_EQ(IFL_safe_name(c.name, 1), c.as_subdir) << c.name;
    }
    // Each field kind once; the list check stops at the bad record and leaves the list to be read again.
    const std::string bad = "Nepřípustný záznam 2 souboru DISKLIST.LST: ";
    const struct { std::string rec, message; } cases[] = {   // message "": the record is safe
        {record("A.EXE", "A.EX_", "EXE", 1, 25), ""},
        {record("..\\AUTOEXEC.BAT"), bad + "cílový název souboru \"..\\AUTOEXEC.BAT\""},
        {record("A.EXE", "C:\\BOOT.INI"), bad + "název souboru na disketě \"C:\\BOOT.INI\""},
        {record("A.EXE", "A.EX_", ".."), bad + "cílový podadresář \"..\""},
        {record("A.EXE", "A.EX_", ".", 1, 26), bad + "číslo diskety \"27\""},
        {record("A.EXE", "A.EX_", ".", 1, 0xFFFF), bad + "číslo diskety \"0\""},
    };
    for (const auto &c : cases) {
        TU_SCRATCH dir;
        TU_write("DISKLIST.LST", header("x", 3, 1, 1) + record("OK.EXE") + c.rec + record("Z.EXE"));
        TU_clear_reports();
        STATE st;
        EXPECT_EQ(IFL_check_list(st.s), c.message.empty() ? 1 : 0) << c.message;
        EXPECT_EQ(st.s->records_read, c.message.empty() ? 3 : 2) << c.message;
        ASSERT_EQ(TU_reports().size(), c.message.empty() ? 0u : 1u) << c.message;
        if (!c.message.empty())
            EXPECT_EQ(TU_reports()[0].text, c.message);
        EXPECT_EQ(TU_count(WE_KIND_ERROR), TU_reports().size());
        ASSERT_NE(st.s->list, nullptr);
        ASSERT_EQ(IFL_read_header(st.s), 1);
        EXPECT_EQ(IFL_next_record(st.s), 1);
        EXPECT_STREQ(st.s->target_name, "OK.EXE");
    }
}

TEST(Ifl, PlacesAndTheInstalledFileLine)
{
    TU_SCRATCH dir;
    STATE st;
    IFL_state *s = st.s;
    const std::string long_dir = "D:\\" + std::string(70, 'T') + "\\";
    const struct { std::string dir; const char *subdir, *name, *description, *place; } cases[] = {
        {"D:\\TOREVAN\\", "EXE", "TRAKPRN.EXE", "Konverze Gerber -> PostScript", "D:\\TOREVAN\\EXE\\"},
        {"D:\\TOREVAN\\", ".", "ČTIMNE.TXT", "Čti mne", "D:\\TOREVAN\\"},
        {long_dir, ".", "ČTIMNE.TXT", std::string(80, 'x').c_str(), nullptr},   // the line writer cuts at 160
        {std::string(1020, 'D') + "\\", "EXE", "A.EXE", "", ""},                 // past 1024 characters: refused
    };
    C_FILE *inst = nullptr;
    ASSERT_EQ(FI_create(&inst, "INST.LST"), 1);
    ASSERT_EQ(FI_open(inst, FI_TEXT_CREATE), 1);
    for (const auto &c : cases) {
        std::strcpy(s->target_dir, c.dir.c_str());
        std::strcpy(s->target_subdir, c.subdir);
        std::strcpy(s->target_name, c.name);
        std::strcpy(s->description, c.description);
        char place[IFL_PATH_MAX + 1];
        char path[IFL_PATH_MAX + 1];
        EXPECT_EQ(IFL_place(s, place), !c.place || c.place[0] ? 1 : 0);
        EXPECT_EQ(IFL_installed_path(s, path), !c.place || c.place[0] ? 1 : 0);
        if (c.place) {
            EXPECT_STREQ(place, c.place);
            EXPECT_EQ(std::string(path), c.place[0] ? c.place + std::string(c.name) : "");
        }
        if (!c.place || c.place[0])
            EXPECT_EQ(IFL_write_inst_line(inst, s), 1);
    }
    FI_close(inst, 0);
    FI_destroy(&inst);
    EXPECT_EQ(TU_read("INST.LST"), "D:\\TOREVAN\\EXE\\TRAKPRN.EXE Konverze Gerber -> PostScript\r\n"
                                   "D:\\TOREVAN\\ČTIMNE.TXT Čti mne\r\n" +
                                       (long_dir + "ČTIMNE.TXT " + std::string(80, 'x')).substr(0, 160) + "\r\n");
    EXPECT_TRUE(TU_reports().empty());
}
