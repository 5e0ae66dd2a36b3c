// The distribution lists: DISKLIST.LST and its records, the disk labels, the uninstall list.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "common/fi.h"
#include "inst/dsk.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "tests/testutil.h"

namespace {

// The list's header and records, field by field; the padding byte at 51 is 0x7F, which no reader may take for data.
std::string field(const std::string &text, size_t n) { return (text + std::string(n, '\0')).substr(0, n); }
std::string header(const std::string &user, unsigned count, unsigned set = 1, unsigned packed = 0)
{
    return TU_le(0x1234, 2) + field(user, 82) + TU_le(0xBEEF, 2) + TU_le(count, 2) + TU_le(set, 2) + TU_le(packed, 2);
}
std::string record(const std::string &target, const std::string &source = "A.EX_", const std::string &subdir = ".",
                   unsigned long size = 1, unsigned disk = 0, const std::string &description = "")
{
    return field(target, 17) + field(source, 17) + field(subdir, 17) + "\x7F" + TU_le(size, 4) + TU_le(disk, 2) +
           field(description, 82);
}
// The current record as "target|source|subdir|size|disk|description".
std::string current(const IFL_state *s)
{
    return std::string(s->target_name) + "|" + s->source_name + "|" + s->target_subdir + "|" +
           std::to_string(s->size) + "|" + std::to_string(s->disk_index) + "|" + s->description;
}
// The texts of the reports, one a line, marked where one is no error box.
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

// One record of UNINST.LST as the uninstall program expects it.
std::string rec(unsigned kind, const std::string &path)
{
    std::string r{static_cast<char>(kind & 0xFF), static_cast<char>(kind >> 8)};
    r += path.substr(0, 1024) + (path.size() < 1024 ? std::string(1, '\0') : "");
    r.resize(1026, ' ');
    return r + std::string(2, '\0');
}

}  // namespace

// Every field at its offset, names of 16 characters, the end of a pass, a short list; coded back byte for byte.
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
    // Coded back into bytes that were 0xAB: every byte defined, the same ones (0 and 84 too), the padding zero.
    uint8_t again[IFL_HEADER_SIZE + IFL_RECORD_SIZE];
    std::fill(std::begin(again), std::end(again), 0xAB);
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

// Names that stay inside their directory; the check of a list stops at the first unsafe record and leaves the
// list open.
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
        // Packed, a file whose name on the disk is its target name would be unpacked onto itself.
        {header("x", 2, 1, 1) + record("OK.EXE") + record("A.EXE", "a.exe"), 0, 2,
         bad + "název souboru na disketě \"a.exe\"\n"},
        {header("x", 2, 1, 0) + record("OK.EXE") + record("A.EXE", "a.exe"), 1, 2, ""},
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

// The state's defaults, the places of records, the lines of INST.LST; a place past 1024 characters is refused.
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

// Label files A.KRV to Z.KRV; a disk without a letter is an internal error and empties the name.
TEST(Dsk, LabelNames)
{
    char name[8];
    EXPECT_TRUE(DSK_label_name(0, name) && std::string(name) == "A.KRV");
    EXPECT_TRUE(DSK_label_name(25, name) && std::string(name) == "Z.KRV");
    const auto emptied = [&](int16_t disk) { return DSK_label_name(disk, name) + name[0]; };   // 0: failed, empty
    TU_expect_failures("..\\inst\\dsk", {TU_FAILS(emptied(26)), TU_FAILS(emptied(-1)),
                                         TU_FAILS(DSK_label_name(0, nullptr)), TU_FAILS(DSK_check_label(nullptr))});
}

// The label lines in any order and spacing, against the header's user and set; every complaint in turn.
TEST(Dsk, LabelLinesAgainstTheHeader)
{
    TU_SCRATCH dir;
    IFL_state s{};
    std::strcpy(s.user_name, "Firma Novák s.r.o.");
    s.set_number = 7;
    std::strcpy(s.source_dir, (dir.path() + "\\").c_str());
    const std::string unknown = "Neznámé klíčové slovo v souboru " + dir.path() + "\\A.KRV\n";
    const std::string other_set = "Disketa je z jiné série\n";
    const struct { int16_t disk; std::string label, messages; } cases[] = {   // label "": no file (first)
        {0, "", "Nesprávná disketa\n"},
        {26, "", "Nesprávná disketa\n"},   // a disk without a letter
        {0, "DISK: 1\r\nDISK_SET: 7\r\nUSER: Firma Novák s.r.o.\r\n", ""},
        // LF only, tabs, any order, empty lines, blanks around, characters after a number
        {0, "\r\n  USER:\t Firma Novák s.r.o.  \nDISK_SET:\t7.5\n\n   \n\tDISK: +1a \n", ""},
        {1, "DISK: 2\r\nDISK_SET: 7\r\nUSER: Firma Novák s.r.o." + std::string(80, ' ') + "X\r\n", ""},   // X past 80
        {0, "DISK: 2\r\nDISK_SET: 8\r\nUSER: FIRMA NOVÁK S.R.O.\r\n",
         "Nesprávné pořadové číslo diskety (2)\n" + other_set + other_set},
        {0, "DISK:\r\nDISK_SET: x\r\nUSER:\r\n", "Nesprávné pořadové číslo diskety (0)\n" + other_set + other_set},
        {0, "DISK: 65537\r\n", "Nesprávné pořadové číslo diskety (65537)\n"},
        {0, "DISK:1\r\nDISK_SET: 8\r\n", unknown},   // the reading stops there
        {0, "DISK: 3\r\ndisk: 1\r\nDISK_SET: 8\r\n", "Nesprávné pořadové číslo diskety (3)\n" + unknown},
    };
    for (const auto &c : cases) {
        if (!c.label.empty())
            TU_write(std::string(1, static_cast<char>('A' + c.disk)) + ".KRV", c.label);
        TU_clear_reports();
        DSK_disk_index = c.disk;
        EXPECT_EQ(DSK_check_label(&s), c.messages.empty() ? 1 : 0) << c.label;
        std::string texts;
        for (const TU_REPORT &r : TU_reports())
            texts += r.text + (r.kind == WE_KIND_ERROR ? "\n" : " (not an error box)\n");
        EXPECT_EQ(texts, c.messages) << c.label;
    }
    DSK_disk_index = 0;
}

// Files, directories and registry keys recorded byte for byte while recording is on, nothing while it is off.
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
            if (on) {   // on the disk at once: a killed installer leaves every record written
                EXPECT_TRUE(TU_read("UNINST.LST") == expected) << c.path;
            }
        }
        EXPECT_EQ(UNL_close(), 1);
        EXPECT_TRUE(TU_read("UNINST.LST") == expected);
    }
    ASSERT_EQ(TU_reports().size(), 9u);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 9);
    EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru insttrkp řádek ", 0), 0u);
}

// An uninstall list that cannot be made: one message, recording stays off.
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

// The writer's records read back and written again give the same bytes; a record the writer cannot make is refused.
TEST(Unl, RecordsReadBackAndDamagedOnesRefused)
{
    TU_SCRATCH dir;
    const std::string exact = "D:\\" + std::string(1021, 'e');   // fills the field: the zero at 1026 ends it
    const struct { int16_t kind; std::string path; } records[] = {
        {UNL_KIND_FILE, "D:\\KRV5\\README.TXT"}, {UNL_KIND_DIRECTORY, "D:\\KRV5\\Nástroje"},
        {UNL_KIND_DIRECTORY, exact}, {UNL_KIND_REGISTRY_KEY, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TRAKPRN"},
        {UNL_KIND_FILE, ""},
    };
    auto write = [](int16_t kind, const char *path) {
        return kind == UNL_KIND_FILE ? UNL_add_file(path) : kind == UNL_KIND_DIRECTORY ? UNL_add_directory(path)
                                                                                     : UNL_add_registry_key(path);
    };
    EXPECT_EQ(UNL_open(), 1);
    for (const auto &r : records)
        EXPECT_EQ(write(r.kind, r.path.c_str()), 1);
    EXPECT_EQ(UNL_close(), 1);
    const std::string first = TU_read("UNINST.LST");
    ASSERT_EQ(first.size(), std::size(records) * UNL_RECORD_SIZE);

    EXPECT_EQ(UNL_open(), 1);
    for (size_t i = 0; i < std::size(records); i++) {
        int16_t kind = 0;
        char path[UNL_PATH_MAX + 1];
        ASSERT_EQ(UNL_decode_record(reinterpret_cast<const uint8_t *>(first.data()) + i * UNL_RECORD_SIZE, &kind, path), 1);
        EXPECT_EQ(kind, records[i].kind) << i;
        EXPECT_EQ(path, records[i].path) << i;
        write(kind, path);
    }
    EXPECT_EQ(UNL_close(), 1);
    EXPECT_TRUE(TU_read("UNINST.LST") == first);

    const std::string good = first.substr(0, UNL_RECORD_SIZE);
    const struct { const char *fault; size_t at; char byte; } damaged[] = {
        {"kind 2", 0, 2}, {"kind of 257", 1, 1}, {"no blank after the terminator", 1000, 'x'},
        {"the path runs into 1026", 1026, 'x'}, {"byte 1027 set", 1027, 1},
    };
    for (const auto &d : damaged) {
        std::string bytes = good;
        bytes[d.at] = d.byte;
        int16_t kind = 0;
        char path[UNL_PATH_MAX + 1] = "x";
        EXPECT_EQ(UNL_decode_record(reinterpret_cast<const uint8_t *>(bytes.data()), &kind, path), 0) << d.fault;
        EXPECT_EQ(kind, -1) << d.fault;
        EXPECT_STREQ(path, "") << d.fault;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
    int16_t kind = 0;
    EXPECT_EQ(UNL_decode_record(nullptr, &kind, nullptr), 0);
    EXPECT_TRUE(TU_one_error("insttrkp"));
}
