#include "tools/trakdist/td.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/u8.h"
#include "inst/dsk.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "tests/testutil.h"
#include "zip/zip.h"

namespace {

struct RUN {
    int code;
    std::string out;   // CP1250, as the tests' literals
    std::string err;
};

// Runs the tool with its output caught in two files of the scratch folder.
RUN trakdist(std::vector<std::string> args)
{
    args.insert(args.begin(), "trakdist");
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    FILE *out = std::fopen("td_out.txt", "w+b");
    FILE *err = std::fopen("td_err.txt", "w+b");
    TD_set_streams(out, err);
    RUN r;
    r.code = TD_main(static_cast<int>(argv.size()), argv.data());
    TD_set_streams(nullptr, nullptr);
    std::fclose(out);
    std::fclose(err);
    r.out = U8_to_cp1250(TU_read("td_out.txt").c_str());
    r.err = U8_to_cp1250(TU_read("td_err.txt").c_str());
    std::remove("td_out.txt");
    std::remove("td_err.txt");
    return r;
}

// A host path from parts.
std::string p(std::initializer_list<std::string> parts)
{
    std::string s;
    for (const std::string &part : parts)
        s += (s.empty() ? "" : TU_SEP) + part;
    return s;
}

std::string random_bytes(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(gen());
    return s;
}

std::string text_bytes(size_t n, const std::string &word)
{
    std::string s;
    for (unsigned i = 0; s.size() < n; i++)
        s += word + " " + std::to_string(i) + "\r\n";
    s.resize(n);
    return s;
}

// Manifest lines are written in UTF-8 (the tests' literals are CP1250).
void write_manifest(const std::string &name, const std::string &cp1250_text)
{
    TU_write(name, U8_from_cp1250(cp1250_text.c_str()));
}

struct LIST {
    IFL_state *s = nullptr;
    explicit LIST(const std::string &folder)
    {
        EXPECT_EQ(IFL_create(&s), 1);
        EXPECT_EQ(IFL_open_list(s, (folder + "\\DISKLIST.LST").c_str()), 1);
        EXPECT_EQ(IFL_read_header(s), 1);
    }
    ~LIST() { IFL_destroy(&s); }
};

struct FILE_SPEC {
    std::string data;
    std::string target;
    std::string subdir;
    std::string description;
};

// Files under files/ and a manifest listing them.
void make_files(const std::vector<FILE_SPEC> &files)
{
    std::filesystem::create_directory("files");
    std::string manifest = "# soubory distribuce TRAKPRN\r\n\r\n";
    for (size_t i = 0; i < files.size(); i++) {
        std::string name = "f" + std::to_string(i) + ".bin";
        TU_write(p({"files", name}), files[i].data);
        manifest += "files/" + name + "\t" + files[i].target + "\t" + files[i].subdir + "\t" + files[i].description + "\r\n";
    }
    write_manifest("manifest.txt", manifest);
}

std::string label(int disk, int set, const std::string &user)
{
    return "DISK: " + std::to_string(disk) + "\r\nDISK_SET: " + std::to_string(set) + "\r\nUSER: " + user + "\r\n";
}

// One UNINST.LST record, built independently of the writer.
std::string uninst_record(unsigned kind, const std::string &path)
{
    std::string r{static_cast<char>(kind), '\0'};
    r += path + '\0';
    r.resize(1026, ' ');
    return r + std::string(2, '\0');
}

}  // namespace

TEST(Trakdist, PlainDistributionOnSeveralDisksReadsBack)
{
    TU_SCRATCH dir;
    const std::vector<FILE_SPEC> files = {
        {random_bytes(3000, 1), "TRAKPRN.EXE", "EXE", "Konverze Gerber -> PostScript"},
        {random_bytes(2500, 2), "UNINSTAL.EXE", "EXE", "Odinstalace"},
        {text_bytes(1000, "řádek"), "ČTIMNE.TXT", ".", "Čti mne – poznámky k verzi"},
        {"", "PRAZDNY.DAT", "Data", ""},
        {random_bytes(3900, 3), "VELKY.BIN", "EXE", "Velký soubor"},
    };
    make_files(files);
    TU_write("readme.txt", "Vítejte\r\n");
    TU_write("setup.exe", "MZ instalátor");
    RUN r = trakdist({"build", "manifest.txt", "out", "--disk-size", "6000", "--set", "12", "--user",
                      U8_from_cp1250("Firma Novák s.r.o."), "--readme", "readme.txt", "--installer", "setup.exe"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Distribuce out: souborů 5, disket 3\n");

    // Disk 1: list (92 + 5 x 140), label, read-me, installer and TRAKPRN.EXE;
    // the next file does not fit beside them.
    const int expected_disk[] = {0, 1, 1, 1, 2};
    LIST list(p({"out", "DISK1"}));
    IFL_state *s = list.s;
    EXPECT_STREQ(s->user_name, "Firma Novák s.r.o.");
    EXPECT_EQ(s->set_number, 12);
    EXPECT_EQ(s->packed, 0);
    ASSERT_EQ(s->record_count, 5);
    for (size_t i = 0; i < files.size(); i++) {
        ASSERT_EQ(IFL_next_record(s), 1);
        EXPECT_EQ(s->target_name, files[i].target);
        EXPECT_EQ(s->source_name, files[i].target);
        EXPECT_EQ(s->target_subdir, files[i].subdir);
        EXPECT_EQ(s->description, files[i].description);
        EXPECT_EQ(s->size, files[i].data.size());
        EXPECT_EQ(s->disk_index, expected_disk[i]) << i;
        std::string disk = "DISK" + std::to_string(s->disk_index + 1);
        EXPECT_EQ(TU_read(p({"out", disk, files[i].target})), files[i].data) << i;
        EXPECT_EQ(IFL_check_record(s), 1);
    }
    EXPECT_EQ(IFL_next_record(s), 0);
    EXPECT_EQ(TU_read(p({"out", "DISK1", "README.TXT"})), "Vítejte\r\n");
    EXPECT_EQ(TU_read(p({"out", "DISK1", "setup.exe"})), "MZ instalátor");
    EXPECT_FALSE(TU_exists(p({"out", "DISK2", "DISKLIST.LST"})));

    // Each disk carries its own label, which the installer's check accepts.
    const char *labels[] = {"A.KRV", "B.KRV", "C.KRV"};
    for (int16_t disk = 0; disk < 3; disk++) {
        std::string folder = p({"out", "DISK" + std::to_string(disk + 1)});
        EXPECT_EQ(TU_read(p({folder, labels[disk]})), label(disk + 1, 12, "Firma Novák s.r.o.")) << disk;
        std::snprintf(s->source_dir, sizeof s->source_dir, "%s\\", folder.c_str());
        DSK_disk_index = disk;
        EXPECT_EQ(DSK_check_label(s), 1) << disk;
    }
    DSK_disk_index = 0;
    EXPECT_TRUE(TU_reports().empty());

    RUN v = trakdist({"verify", p({"out", "DISK1"}), p({"out", "DISK2"}), p({"out", "DISK3"})});
    EXPECT_EQ(v.code, 0) << v.err;
    EXPECT_EQ(v.out, "Distribuce je v pořádku: souborů 5, disket 3\n");

    // What the engine records while it installs these files, byte for byte.
    std::filesystem::create_directory("target");
    std::filesystem::current_path("target");
    std::strcpy(s->target_dir, "C:\\TRAKPRN\\");
    UNL_open();
    UNL_add_file(s->target_dir, "DISKLIST.LST");
    std::string expected = uninst_record(0, "C:\\TRAKPRN\\DISKLIST.LST");
    ASSERT_EQ(IFL_read_header(s), 1);
    while (IFL_next_record(s)) {
        char place[IFL_PATH_MAX + 1];
        char path[IFL_PATH_MAX + 1];
        ASSERT_EQ(IFL_place(s, place), 1);
        ASSERT_EQ(IFL_installed_path(s, path), 1);
        if (std::string(s->target_subdir) != ".") {
            UNL_add_directory(place);
            expected += uninst_record(1, "C:\\TRAKPRN\\" + std::string(s->target_subdir));
        }
        UNL_add_file(path);
        expected += uninst_record(0, path);
    }
    UNL_close();
    std::filesystem::current_path("..");
    EXPECT_EQ(TU_read(p({"target", "UNINST.LST"})), expected);
    EXPECT_EQ(expected.substr(1028 + 2, 20), std::string("C:\\TRAKPRN\\EXE") + '\0' + std::string(5, ' '));
}

TEST(Trakdist, PackedDistributionUnpacksToTheInstalledSizes)
{
    TU_SCRATCH dir;
    const std::vector<FILE_SPEC> files = {
        {text_bytes(200000, "Gerber"), "TRAKPRN.EXE", "EXE", "Program"},
        {text_bytes(5000, "data"), "README", ".", "Bez přípony"},
        {text_bytes(7000, "x"), "VERZE.1", "Data", "Přípona jednoho znaku"},
        {"", "EMPTY.TXT", ".", ""},
    };
    make_files(files);
    RUN r = trakdist({"build", "manifest.txt", "out", "--packed"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Distribuce out: souborů 4, disket 1, komprimovaná\n");
    const char *disk_names[] = {"TRAKPRN.EX_", "README._", "VERZE._", "EMPTY.TX_"};
    LIST list(p({"out", "DISK1"}));
    EXPECT_EQ(list.s->packed, 1);
    EXPECT_EQ(list.s->set_number, 1);
    EXPECT_STREQ(list.s->user_name, "");
    for (size_t i = 0; i < files.size(); i++) {
        ASSERT_EQ(IFL_next_record(list.s), 1);
        EXPECT_STREQ(list.s->source_name, disk_names[i]);
        EXPECT_EQ(list.s->size, files[i].data.size());
        std::string packed = p({"out", "DISK1", disk_names[i]});
        EXPECT_LT(TU_read(packed).size(), files[i].data.size() + 20);
        C_ZIP zip;
        ASSERT_EQ(zip.decompress_file(packed.c_str(), "unpacked.bin"), 1) << i;
        EXPECT_EQ(TU_read("unpacked.bin"), files[i].data) << i;
    }
    EXPECT_EQ(TU_read(p({"out", "DISK1", "A.KRV"})), label(1, 1, ""));
    RUN v = trakdist({"verify", p({"out", "DISK1"})});
    EXPECT_EQ(v.code, 0) << v.err;
}

TEST(Trakdist, FlatFolderHoldsAllDisks)
{
    TU_SCRATCH dir;
    make_files({{random_bytes(5000, 1), "A.EXE", ".", "a"},
                {random_bytes(5000, 2), "B.EXE", ".", "b"},
                {random_bytes(5000, 3), "C.EXE", ".", "c"}});
    RUN r = trakdist({"build", "manifest.txt", "flat", "--flat", "--disk-size", "6000", "--user", "U"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Distribuce flat: souborů 3, disket 3, v jedné složce\n");
    for (const char *name : {"DISKLIST.LST", "A.KRV", "B.KRV", "C.KRV", "A.EXE", "B.EXE", "C.EXE"})
        EXPECT_TRUE(TU_exists(p({"flat", name}))) << name;
    EXPECT_FALSE(TU_exists(p({"flat", "DISK1"})));
    EXPECT_EQ(TU_read(p({"flat", "C.KRV"})), label(3, 1, "U"));
    LIST list("flat");
    for (int16_t disk = 0; disk < 3; disk++) {
        ASSERT_EQ(IFL_next_record(list.s), 1);
        EXPECT_EQ(list.s->disk_index, disk);
    }
    RUN v = trakdist({"verify", "flat"});
    EXPECT_EQ(v.code, 0) << v.err;
    EXPECT_EQ(v.out, "Distribuce je v pořádku: souborů 3, disket 3\n");
}

TEST(Trakdist, ManifestInUtf8OrCp1250GivesTheSameList)
{
    TU_SCRATCH dir;
    std::filesystem::create_directory("files");
    TU_write(p({"files", "a.bin"}), "abc");
    const std::string line = "files/a.bin\tŽLUŤOUČKÝ.TXT\tData\tPříliš žluťoučký kůň úpěl ďábelské ódy\n";
    TU_write("cp1250.txt", line);
    TU_write("utf8.txt", "\xEF\xBB\xBF" + U8_from_cp1250(line.c_str()));
    ASSERT_EQ(trakdist({"build", "cp1250.txt", "a"}).code, 0);
    ASSERT_EQ(trakdist({"build", "utf8.txt", "b"}).code, 0);
    std::string list = TU_read(p({"a", "DISK1", "DISKLIST.LST"}));
    ASSERT_EQ(list.size(), 92u + 140u);
    EXPECT_EQ(list, TU_read(p({"b", "DISK1", "DISKLIST.LST"})));
    EXPECT_EQ(list.substr(92, 14), std::string("ŽLUŤOUČKÝ.TXT") + '\0');
    EXPECT_EQ(list.substr(92 + 58, 39), std::string("Příliš žluťoučký kůň úpěl ďábelské ódy") + '\0');
}

TEST(Trakdist, RefusesBadManifestsBeforeWritingAnything)
{
    struct {
        const char *name;
        std::vector<std::string> lines;   // each: target, subdir, description (the file exists)
        std::vector<std::string> options;
        const char *message;              // one line of the error output
    } const cases[] = {
        {"name of 17 characters", {"ABCDEFGHIJKLM.EXE\t.\tx"}, {},
         "manifest.txt, řádek 1: cílový název \"ABCDEFGHIJKLM.EXE\" je delší než 16 znaků"},
        {"description of 81 characters", {"A.EXE\t.\t" + std::string(81, 'p')}, {},
         "manifest.txt, řádek 1: popis je delší než 80 znaků"},
        {"target leading out", {"..\\A.EXE\t.\tx"}, {}, "manifest.txt, řádek 1: nepřípustný cílový název \"..\\A.EXE\""},
        {"empty target", {"\t.\tx"}, {}, "manifest.txt, řádek 1: nepřípustný cílový název \"\""},
        {"path as subdirectory", {"A.EXE\tEXE/BIN\tx"}, {},
         "manifest.txt, řádek 1: nepřípustný podadresář \"EXE/BIN\" (jedno jméno složky, nebo \".\")"},
        {"parent as subdirectory", {"A.EXE\t..\tx"}, {},
         "manifest.txt, řádek 1: nepřípustný podadresář \"..\" (jedno jméno složky, nebo \".\")"},
        {"drive in the target", {"C:A.EXE\t.\tx"}, {}, "manifest.txt, řádek 1: nepřípustný cílový název \"C:A.EXE\""},
        {"character Windows refuses", {"A?.EXE\t.\tx"}, {}, "manifest.txt, řádek 1: nepřípustný cílový název \"A?.EXE\""},
        {"trailing dot", {"A.EXE.\t.\tx"}, {}, "manifest.txt, řádek 1: nepřípustný cílový název \"A.EXE.\""},
        {"three fields", {"A.EXE\t."}, {},
         "manifest.txt, řádek 1: čekají se čtyři pole oddělená tabulátorem (soubor, cílový název, podadresář, "
         "popis)"},
        {"same installed path", {"A.EXE\tEXE\tx", "a.exe\texe\ty"}, {},
         "manifest.txt, řádek 2: stejné cílové umístění exe\\a.exe jako řádek 1"},
        {"reserved list name", {"INST.LST\t.\tx"}, {},
         "manifest.txt, řádek 1: název \"INST.LST\" v instalačním adresáři je vyhrazen instalátoru"},
        {"label name", {"B.KRV\tData\tx"}, {}, "manifest.txt, řádek 1: název na disketě \"B.KRV\" je vyhrazen distribuci"},
        {"packed name too long", {"ABCDEFGHIJKLMNOP\t.\tx"}, {"--packed"},
         "manifest.txt, řádek 1: název na disketě \"ABCDEFGHIJKLMNOP._\" je delší než 16 znaků"},
        {"packed name equal to the target", {"A.EX_\t.\tx"}, {"--packed"},
         "manifest.txt, řádek 1: název na disketě \"A.EX_\" se musí lišit od cílového názvu (přípona končí \"_\")"},
        {"two packed names on one disk", {"A.EXE\t.\tx", "A.EXA\tData\ty"}, {"--packed"},
         "manifest.txt, řádek 2: název na disketě \"A.EX_\" má už řádek 1"},
        {"file larger than a disk", {"A.EXE\t.\tx"}, {"--disk-size", "300"},
         "manifest.txt, řádek 1: soubor files/f0.bin (1000 B) je větší než disketa (300 B)"},
        {"first disk too small for the list", {"A.EXE\t.\tx"}, {"--disk-size", "100"},
         "Seznam, štítek a další soubory první diskety (262 B) jsou větší než disketa (100 B)"},
        {"user name too long", {"A.EXE\t.\tx"}, {"--user", std::string(81, 'u')}, "Jméno uživatele je delší než 80 znaků"},
    };
    for (const auto &c : cases) {
        TU_SCRATCH dir;
        std::filesystem::create_directory("files");
        std::string manifest;
        for (size_t i = 0; i < c.lines.size(); i++) {
            std::string name = "files/f" + std::to_string(i) + ".bin";
            TU_write(name, std::string(1000, 'x'));
            manifest += name + "\t" + c.lines[i] + "\n";
        }
        write_manifest("manifest.txt", manifest);
        std::vector<std::string> args = {"build", "manifest.txt", "out"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        RUN r = trakdist(args);
        EXPECT_NE(r.code, 0) << c.name;
        EXPECT_NE(r.err.find(std::string(c.message) + "\n"), std::string::npos) << c.name << "\n" << r.err;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_FALSE(TU_exists("out")) << c.name;
    }
}

TEST(Trakdist, RefusesMissingFilesAndAnExistingDistribution)
{
    TU_SCRATCH dir;
    write_manifest("manifest.txt", "chybi.bin\tA.EXE\t.\tx\n");
    RUN r = trakdist({"build", "manifest.txt", "out"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "manifest.txt, řádek 1: soubor chybi.bin neexistuje\nDistribuce nebyla vytvořena\n");

    make_files({{"abc", "A.EXE", ".", "x"}});
    ASSERT_EQ(trakdist({"build", "manifest.txt", "out"}).code, 0);
    r = trakdist({"build", "manifest.txt", "out"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Ve složce out už distribuce je; zvolte jinou nebo ji nejdřív smažte\n");
    EXPECT_EQ(trakdist({"build", "neni.txt", "x"}).err, "Manifest neni.txt nelze přečíst\nDistribuce nebyla vytvořena\n");
    r = trakdist({"build", "manifest.txt", "out2", "--readme", "chybi.txt", "--installer", "setup.exe"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Soubor chybi.txt neexistuje\nSoubor setup.exe neexistuje\nDistribuce nebyla vytvořena\n");
    EXPECT_FALSE(TU_exists("out2"));
}

TEST(Trakdist, VerifyFindsEveryKindOfDamage)
{
    TU_SCRATCH dir;
    make_files({{text_bytes(50000, "a"), "A.EXE", ".", "a"},
                {text_bytes(50000, "b"), "B.EXE", "EXE", "b"},
                {text_bytes(50000, "c"), "C.EXE", "EXE", "c"}});
    ASSERT_EQ(trakdist({"build", "manifest.txt", "good", "--packed", "--flat", "--set", "3"}).code, 0);
    struct {
        const char *name;
        void (*damage)();
        const char *message;
    } const cases[] = {
        {"packed file cut short",
         [] {
             std::string b = TU_read(p({"d", "B.EX_"}));
             TU_write(p({"d", "B.EX_"}), b.substr(0, b.size() / 2));
         },
         "Záznam 2: soubor B.EX_: Komprese/dekomprese dat - nepostačující buffer"},
        {"plain file in place of a packed one", [] { TU_write(p({"d", "B.EX_"}), "MZ nekomprimovaný"); },
         "Záznam 2: soubor B.EX_: Komprese/dekomprese dat - chyba ve vstupních datech"},
        {"missing file", [] { std::filesystem::remove(p({"d", "C.EX_"})); }, "Záznam 3: soubor C.EX_ chybí na disketě 1"},
        {"label of another set", [] { TU_write(p({"d", "A.KRV"}), label(1, 4, "")); }, "Disketa je z jiné série"},
        {"no label", [] { std::filesystem::remove(p({"d", "A.KRV"})); }, "Nesprávná disketa"},
        {"unsafe record",
         [] {
             std::string list = TU_read(p({"d", "DISKLIST.LST"}));
             list.replace(92 + 140 + 34, 3, "..\0", 3);
             TU_write(p({"d", "DISKLIST.LST"}), list);
         },
         "Nepřípustný záznam 2 souboru DISKLIST.LST: cílový podadresář \"..\""},
        {"size in the list differs",
         [] {
             std::string list = TU_read(p({"d", "DISKLIST.LST"}));
             list[92 + 52] ^= 1;
             TU_write(p({"d", "DISKLIST.LST"}), list);
         },
         "Záznam 1: soubor A.EX_ se rozbalí na 50000 B, seznam uvádí 50001 B"},
        {"list cut short",
         [] {
             std::string list = TU_read(p({"d", "DISKLIST.LST"}));
             TU_write(p({"d", "DISKLIST.LST"}), list.substr(0, 92 + 140 + 100));
         },
         "Seznam má jen 1 z 3 záznamů"},
        {"packed name equal to its target",
         [] {
             std::string list = TU_read(p({"d", "DISKLIST.LST"}));
             list.replace(92 + 17, 6, "A.EXE\0", 6);
             TU_write(p({"d", "DISKLIST.LST"}), list);
             std::filesystem::copy_file(p({"d", "A.EX_"}), p({"d", "A.EXE"}));
         },
         "Záznam 1: komprimovaný soubor A.EXE má stejný název jako cílový soubor"},
    };
    for (const auto &c : cases) {
        std::filesystem::remove_all("d");
        std::filesystem::copy("good", "d");
        c.damage();
        RUN r = trakdist({"verify", "d"});
        EXPECT_EQ(r.code, 1) << c.name;
        EXPECT_NE(r.err.find(std::string(c.message) + "\n"), std::string::npos) << c.name << "\n" << r.err;
        EXPECT_EQ(r.out, "") << c.name;
    }
    // Disks given as folders: too few of them.
    ASSERT_EQ(trakdist({"build", "manifest.txt", "disks", "--disk-size", "120000"}).code, 0);
    RUN r = trakdist({"verify", p({"disks", "DISK1"})});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Počet disket podle seznamu: 2, zadaných složek: 1\n"), std::string::npos) << r.err;
    // The list is on the first disk.
    r = trakdist({"verify", p({"disks", "DISK2"}), p({"disks", "DISK1"})});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Soubor " + p({"disks", "DISK2", "DISKLIST.LST"}) + " nelze otevřít\nSeznam " +
                         p({"disks", "DISK2", "DISKLIST.LST"}) + " nelze přečíst\n");
    EXPECT_EQ(trakdist({"verify", p({"disks", "DISK1"}), p({"disks", "DISK2"})}).code, 0);
}

TEST(Trakdist, ListPrintsTheHeaderAndEveryRecord)
{
    TU_SCRATCH dir;
    make_files({{"abc", "TRAKPRN.EXE", "EXE", "Program"}, {"de", "ČTIMNE.TXT", ".", "Čti mne"}});
    ASSERT_EQ(trakdist({"build", "manifest.txt", "out", "--user", "Novák", "--set", "9"}).code, 0);
    RUN r = trakdist({"list", p({"out", "DISK1"})});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Uživatel: Novák\n"
                     "Série: 9   Komprimovaná: ne   Záznamů: 2\n"
                     "číslo  cílový název      na disketě        podadresář          velikost  disketa  popis\n"
                     "    1  TRAKPRN.EXE       TRAKPRN.EXE       EXE                        3       1  Program\n"
                     "    2  ČTIMNE.TXT        ČTIMNE.TXT        .                          2       1  Čti mne\n");
    r = trakdist({"list", "neni"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Soubor neni\\DISKLIST.LST nelze otevřít\nSeznam neni\\DISKLIST.LST nelze přečíst\n");
}

TEST(Trakdist, PacksAndUnpacksSingleFiles)
{
    TU_SCRATCH dir;
    const std::string data = text_bytes(100000, "PostScript");
    TU_write("a.txt", data);
    ASSERT_EQ(trakdist({"pack", "a.txt", "a.tx_"}).code, 0);
    EXPECT_LT(TU_read("a.tx_").size(), data.size() / 4);
    ASSERT_EQ(trakdist({"unpack", "a.tx_", "b.txt"}).code, 0);
    EXPECT_EQ(TU_read("b.txt"), data);
    RUN r = trakdist({"unpack", "a.txt", "c.txt"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "a.txt: Komprese/dekomprese dat - chyba ve vstupních datech\n");
    EXPECT_FALSE(TU_exists("c.txt"));
}

TEST(Trakdist, WrongCommandLines)
{
    TU_SCRATCH dir;
    EXPECT_EQ(trakdist({}).code, 2);
    EXPECT_EQ(trakdist({"kopiruj"}).err.rfind("Neznámý příkaz kopiruj\nPoužití:\n", 0), 0u);
    EXPECT_EQ(trakdist({"build", "m.txt"}).code, 2);
    EXPECT_EQ(trakdist({"build", "m.txt", "out", "--set"}).err, "Přepínač --set potřebuje hodnotu\n");
    EXPECT_EQ(trakdist({"build", "m.txt", "out", "--set", "40000"}).err, "Chybná hodnota přepínače --set: 40000\n");
    EXPECT_EQ(trakdist({"build", "m.txt", "out", "--disk-size", "0"}).code, 2);
    EXPECT_EQ(trakdist({"build", "m.txt", "out", "--bez"}).err, "Neznámý přepínač --bez\n");
    EXPECT_EQ(trakdist({"pack", "a"}).code, 2);
    EXPECT_EQ(trakdist({"verify"}).code, 2);
    // The library reports go to the tool's output while it runs, not to the sink.
    EXPECT_TRUE(TU_reports().empty());
}
