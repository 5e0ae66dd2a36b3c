#include "inst/ifl.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "common/fi.h"
#include "tests/testutil.h"

namespace {

std::string le16(unsigned v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string le32(unsigned long v)
{
    std::string s;
    for (int i = 0; i < 4; i++)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
// A field of n bytes: the text, then zeros.
std::string field(const std::string &text, size_t n)
{
    std::string s = text.substr(0, n);
    s.resize(n, '\0');
    return s;
}

std::string header(const std::string &user, unsigned count, unsigned set, unsigned packed)
{
    return le16(0x1234) + field(user, 82) + le16(0xBEEF) + le16(count) + le16(set) + le16(packed);
}

std::string record(const std::string &target, const std::string &source, const std::string &subdir,
                   unsigned long size, unsigned disk, const std::string &description)
{
    return field(target, 17) + field(source, 17) + field(subdir, 17) + std::string(1, '\x7F') + le32(size) +
           le16(disk) + field(description, 82);
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
    // The program's own folder, upper case, ending with a backslash.
    std::string source = st.s->source_dir;
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(source.back(), '\\');
    for (char c : source)
        EXPECT_FALSE(c >= 'a' && c <= 'z') << source;
    EXPECT_EQ(st.s->desktop_shortcut, 0);
    EXPECT_EQ(st.s->quick_launch_shortcut, 0);
    EXPECT_EQ(st.s->list, nullptr);
    EXPECT_EQ(st.s->records_read, 0);

    IFL_state *none = nullptr;
    EXPECT_EQ(IFL_destroy(&none), 1);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Ifl, ReadsFieldsByOffset)
{
    TU_SCRATCH dir;
    // Names of 16 characters fill their fields without a terminator; an 81st
    // character of a text is not read; bytes after the last record are not read.
    std::string list = header("Firma Žluťoučký kůň", 3, 7, 1) +
                       record("TRAKPRN.EXE", "TRAKPRN.EX_", "EXE", 123456, 0, "Program") +
                       record("ABCDEFGHIJKLMNOP", "QRSTUVWXYZ012345", "SUBDIRECTORY1234", 0xFFFFFFFFul, 2,
                              std::string(80, 'd') + "X") +
                       record("DATA.TXT", "DATA.TX_", ".", 0, 1, "") + "zbytek souboru";
    TU_write("DISKLIST.LST", list);
    STATE st;
    IFL_state *s = st.s;
    ASSERT_EQ(IFL_read_header(s), 1);
    EXPECT_EQ(s->header_value_0, 0x1234);
    EXPECT_STREQ(s->user_name, "Firma Žluťoučký kůň");
    EXPECT_EQ(static_cast<uint16_t>(s->header_value_84), 0xBEEF);
    EXPECT_EQ(s->record_count, 3);
    EXPECT_EQ(s->set_number, 7);
    EXPECT_EQ(s->packed, 1);

    ASSERT_EQ(IFL_next_record(s), 1);
    EXPECT_STREQ(s->target_name, "TRAKPRN.EXE");
    EXPECT_STREQ(s->source_name, "TRAKPRN.EX_");
    EXPECT_STREQ(s->target_subdir, "EXE");
    EXPECT_EQ(s->size, 123456u);
    EXPECT_EQ(s->disk_index, 0);
    EXPECT_STREQ(s->description, "Program");
    ASSERT_EQ(IFL_next_record(s), 1);
    EXPECT_STREQ(s->target_name, "ABCDEFGHIJKLMNOP");
    EXPECT_STREQ(s->source_name, "QRSTUVWXYZ012345");
    EXPECT_STREQ(s->target_subdir, "SUBDIRECTORY1234");
    EXPECT_EQ(s->size, 0xFFFFFFFFu);
    EXPECT_EQ(s->disk_index, 2);
    EXPECT_EQ(std::string(s->description), std::string(80, 'd'));
    ASSERT_EQ(IFL_next_record(s), 1);
    EXPECT_STREQ(s->target_subdir, ".");
    EXPECT_EQ(s->records_read, 3);
    EXPECT_EQ(IFL_next_record(s), 0);   // the end, not the trailing bytes

    // Every pass starts again at the header; the list stays open between passes.
    ASSERT_EQ(IFL_read_header(s), 1);
    EXPECT_EQ(s->records_read, 0);
    ASSERT_EQ(IFL_next_record(s), 1);
    EXPECT_STREQ(s->target_name, "TRAKPRN.EXE");
    EXPECT_NE(s->list, nullptr);
    EXPECT_EQ(IFL_close_list(s), 1);
    EXPECT_EQ(s->list, nullptr);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Ifl, EncodingAndDecodingAreInverse)
{
    std::string bytes = header("Uživatel", 65535, 0xFFFF, 0x100) +
                        record("A.EXE", "A.EX_", "BIN", 42, 25, "Popis s diakritikou: ěščřžýáíé");
    IFL_state s{};
    IFL_decode_header(&s, reinterpret_cast<const uint8_t *>(bytes.data()));
    IFL_decode_record(&s, reinterpret_cast<const uint8_t *>(bytes.data()) + IFL_HEADER_SIZE);
    EXPECT_EQ(s.record_count, 65535);
    EXPECT_EQ(s.set_number, -1);
    uint8_t again[IFL_HEADER_SIZE + IFL_RECORD_SIZE];
    IFL_encode_header(&s, again);
    IFL_encode_record(&s, again + IFL_HEADER_SIZE);
    std::string expected = bytes;
    expected[IFL_HEADER_SIZE + 51] = 0;   // the padding byte is written as zero
    EXPECT_EQ(std::string(reinterpret_cast<char *>(again), sizeof again), expected);
}

TEST(Ifl, ListEdgeCases)
{
    TU_SCRATCH dir;
    STATE st;
    IFL_state *s = st.s;

    // No list at all: the file layer says so.
    EXPECT_EQ(IFL_read_header(s), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor DISKLIST.LST nelze otevřít");
    TU_clear_reports();

    // A short header.
    TU_write("DISKLIST.LST", header("x", 1, 1, 0).substr(0, 91));
    EXPECT_EQ(IFL_read_header(s), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Ze souboru DISKLIST.LST nelze číst");
    IFL_close_list(s);
    TU_clear_reports();

    // Record count 0: every pass ends at once.
    TU_write("DISKLIST.LST", header("x", 0, 1, 0) + record("A", "A", ".", 1, 0, ""));
    ASSERT_EQ(IFL_read_header(s), 1);
    EXPECT_EQ(IFL_next_record(s), 0);
    IFL_close_list(s);

    // More records counted than present: the pass ends at the short read.
    TU_write("DISKLIST.LST", header("x", 5, 1, 0) + record("A", "A", ".", 1, 0, "") + record("B", "B", ".", 1, 0, "") +
                                 std::string(100, 'z'));
    ASSERT_EQ(IFL_read_header(s), 1);
    EXPECT_EQ(IFL_next_record(s), 1);
    EXPECT_EQ(IFL_next_record(s), 1);
    EXPECT_EQ(IFL_next_record(s), 0);
    EXPECT_EQ(s->records_read, 2);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Ze souboru DISKLIST.LST nelze číst");
    IFL_close_list(s);
}

TEST(Ifl, SafeNames)
{
    struct {
        const char *name;
        int16_t as_file;
        int16_t as_subdir;
    } const cases[] = {
        {"TRAKPRN.EXE", 1, 1}, {"EXE", 1, 1},       {".", 0, 1},        {"..", 0, 0},          {"...", 0, 0},
        {"", 0, 0},            {"..\\X", 0, 0},     {"A\\B", 0, 0},     {"A/B", 0, 0},         {"C:", 0, 0},
        {"C:X.EXE", 0, 0},     {"\\WINDOWS", 0, 0}, {"/etc", 0, 0},     {".profile", 1, 1},    {"a..b", 1, 1},
        {"Čeština", 1, 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IFL_safe_name(c.name, 0), c.as_file) << c.name;
        EXPECT_EQ(IFL_safe_name(c.name, 1), c.as_subdir) << c.name;
    }
}

TEST(Ifl, UnsafeRecordsAreToldApartBeforeAnythingIsWritten)
{
    struct {
        std::string rec;
        const char *message;   // null: the record is safe
    } const cases[] = {
        {record("A.EXE", "A.EX_", ".", 1, 0, ""), nullptr},
        {record("A.EXE", "A.EX_", "EXE", 1, 25, ""), nullptr},
        {record("..\\AUTOEXEC.BAT", "A.EX_", ".", 1, 0, ""),
         "Nepřípustný záznam 2 souboru DISKLIST.LST: cílový název souboru \"..\\AUTOEXEC.BAT\""},
        {record("A.EXE", "C:\\BOOT.INI", ".", 1, 0, ""),
         "Nepřípustný záznam 2 souboru DISKLIST.LST: název souboru na disketě \"C:\\BOOT.INI\""},
        {record("A.EXE", "A.EX_", "..", 1, 0, ""),
         "Nepřípustný záznam 2 souboru DISKLIST.LST: cílový podadresář \"..\""},
        {record("A.EXE", "A.EX_", "", 1, 0, ""), "Nepřípustný záznam 2 souboru DISKLIST.LST: cílový podadresář \"\""},
        {record("", "A.EX_", ".", 1, 0, ""), "Nepřípustný záznam 2 souboru DISKLIST.LST: cílový název souboru \"\""},
        {record("A.EXE", ".", ".", 1, 0, ""),
         "Nepřípustný záznam 2 souboru DISKLIST.LST: název souboru na disketě \".\""},
        {record("A.EXE", "A.EX_", "EXE/../..", 1, 0, ""),
         "Nepřípustný záznam 2 souboru DISKLIST.LST: cílový podadresář \"EXE/../..\""},
        {record("A.EXE", "A.EX_", ".", 1, 26, ""), "Nepřípustný záznam 2 souboru DISKLIST.LST: číslo diskety \"27\""},
        {record("A.EXE", "A.EX_", ".", 1, 0xFFFF, ""), "Nepřípustný záznam 2 souboru DISKLIST.LST: číslo diskety \"0\""},
    };
    for (const auto &c : cases) {
        TU_SCRATCH dir;
        TU_write("DISKLIST.LST", header("x", 3, 1, 1) + record("OK.EXE", "OK.EX_", ".", 1, 0, "") + c.rec +
                                     record("Z.EXE", "Z.EX_", ".", 1, 0, ""));
        TU_clear_reports();
        STATE st;
        EXPECT_EQ(IFL_check_list(st.s), c.message ? 0 : 1) << c.message;
        if (c.message) {
            ASSERT_EQ(TU_reports().size(), 1u) << c.message;
            EXPECT_EQ(TU_reports()[0].kind, WE_KIND_ERROR);
            EXPECT_EQ(TU_reports()[0].text, c.message);
            EXPECT_EQ(st.s->records_read, 2);   // it stopped at the bad record
        } else {
            EXPECT_TRUE(TU_reports().empty());
        }
        // The list is left open to be read again from its header.
        ASSERT_NE(st.s->list, nullptr);
        ASSERT_EQ(IFL_read_header(st.s), 1);
        EXPECT_EQ(IFL_next_record(st.s), 1);
        EXPECT_STREQ(st.s->target_name, "OK.EXE");
    }
}

TEST(Ifl, CheckingAListThatCannotBeRead)
{
    TU_SCRATCH dir;
    STATE st;
    EXPECT_EQ(IFL_check_list(st.s), 0);
    ASSERT_EQ(TU_reports().size(), 2u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor DISKLIST.LST nelze otevřít");
    EXPECT_EQ(TU_reports()[1].text, "Chybná cesta/soubor nenalezen: DISKLIST.LST");
}

TEST(Ifl, PlacesAndTheInstalledFileLine)
{
    TU_SCRATCH dir;
    STATE st;
    IFL_state *s = st.s;
    std::strcpy(s->target_dir, "D:\\TOREVAN\\");
    std::strcpy(s->target_name, "TRAKPRN.EXE");
    std::strcpy(s->target_subdir, "EXE");
    std::strcpy(s->description, "Konverze Gerber -> PostScript");
    char path[IFL_PATH_MAX + 1];
    ASSERT_EQ(IFL_place(s, path), 1);
    EXPECT_STREQ(path, "D:\\TOREVAN\\EXE\\");
    ASSERT_EQ(IFL_installed_path(s, path), 1);
    EXPECT_STREQ(path, "D:\\TOREVAN\\EXE\\TRAKPRN.EXE");

    C_FILE *inst = nullptr;
    ASSERT_EQ(FI_create(&inst, "INST.LST"), 1);
    ASSERT_EQ(FI_open(inst, FI_TEXT_CREATE), 1);
    EXPECT_EQ(IFL_write_inst_line(inst, s), 1);
    std::strcpy(s->target_subdir, ".");
    std::strcpy(s->target_name, "ČTIMNE.TXT");
    std::strcpy(s->description, "Čti mne");
    ASSERT_EQ(IFL_place(s, path), 1);
    EXPECT_STREQ(path, "D:\\TOREVAN\\");
    EXPECT_EQ(IFL_write_inst_line(inst, s), 1);
    // The line writer cuts a line at 160 characters.
    const std::string long_dir = "D:\\" + std::string(70, 'T') + "\\";
    std::strcpy(s->target_dir, long_dir.c_str());
    std::strcpy(s->description, std::string(80, 'x').c_str());
    EXPECT_EQ(IFL_write_inst_line(inst, s), 1);
    FI_close(inst, 0);
    FI_destroy(&inst);
    EXPECT_EQ(TU_read("INST.LST"), "D:\\TOREVAN\\EXE\\TRAKPRN.EXE Konverze Gerber -> PostScript\r\n"
                                   "D:\\TOREVAN\\ČTIMNE.TXT Čti mne\r\n" +
                                       (long_dir + "ČTIMNE.TXT " + std::string(80, 'x')).substr(0, 160) + "\r\n");

    // A place past 1024 characters is refused, not cut.
    std::strcpy(s->target_dir, (std::string(1020, 'D') + "\\").c_str());
    std::strcpy(s->target_subdir, "EXE");
    EXPECT_EQ(IFL_place(s, path), 0);
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(TU_reports().empty());
}
