#include "tools/trakdist/td.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include "common/u8.h"
#include "inst/ifl.h"
#include "tests/testutil.h"
#include "zip/zip.h"

namespace {

struct RUN { int code; std::string out, err; };   // out and err in CP1250, as the tests' literals

// Runs the tool with its two streams caught in files of the scratch folder.
RUN trakdist(std::vector<std::string> args)
{
    args.insert(args.begin(), "trakdist");
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    FILE *out = std::fopen("td_out.txt", "w+b"), *err = std::fopen("td_err.txt", "w+b");
    TD_set_streams(out, err);
    int code = TD_main(static_cast<int>(argv.size()), argv.data());
    TD_set_streams(nullptr, nullptr);
    std::fclose(out);
    std::fclose(err);
    return {code, U8_to_cp1250(TU_read("td_out.txt").c_str()), U8_to_cp1250(TU_read("td_err.txt").c_str())};
}

// Random bytes, or (with a word) text lines.
std::string data(size_t n, unsigned seed, const char *word = nullptr)
{
    std::string s;
    std::mt19937 gen(seed);
    for (unsigned i = 0; s.size() < n; i++)
        s += word ? std::string(word) + " " + std::to_string(i) + "\r\n" : std::string(1, static_cast<char>(gen()));
    return s.substr(0, n);
}

// A file to distribute and its manifest line without the source: target, subdirectory, description.
struct FILE_SPEC { std::string data, line; };

// Files under files/ and "manifest.txt" in UTF-8 (with BOM, a comment, an empty line); gives it in CP1250.
std::string make_files(const std::vector<FILE_SPEC> &files)
{
    std::filesystem::create_directory("files");
    std::string manifest;
    for (size_t i = 0; i < files.size(); i++) {
        TU_write("files/f" + std::to_string(i) + ".bin", files[i].data);
        manifest += "files/f" + std::to_string(i) + ".bin\t" + files[i].line + "\r\n";
    }
    manifest += "# konec\r\n\r\n";
    TU_write("manifest.txt", "\xEF\xBB\xBF" + U8_from_cp1250(manifest.c_str()));
    return manifest;
}

std::string label(int disk, int set, const std::string &user)
{
    return "DISK: " + std::to_string(disk) + "\r\nDISK_SET: " + std::to_string(set) + "\r\nUSER: " + user + "\r\n";
}

}  // namespace

// Built on several disks, read back with the installer's reader, verified, and installed.
TEST(Trakdist, PlainDistributionOnSeveralDisks)
{
    TU_SCRATCH dir;
    const std::vector<FILE_SPEC> files = {
        {data(3000, 1), "TRAKPRN.EXE\tEXE\tKonverze Gerber -> PostScript"},
        {data(2500, 2), "UNINSTAL.EXE\tEXE\tOdinstalace"},
        {data(1000, 0, "řádek"), "ČTIMNE.TXT\t.\tČti mne – poznámky k verzi"},
        {"", "PRAZDNY.DAT\tData\t"},
        {data(3900, 3), "VELKY.BIN\tEXE\tVelký soubor"},
    };
    TU_write("cp1250.txt", make_files(files));
    TU_write("r.txt", "Vítejte\r\n");
    TU_write("s.exe", "MZ instalátor");
    std::vector<std::string> args = {"build", "manifest.txt", "out", "--disk-size", "6000", "--set", "12", "--readme",
                                     "r.txt", "--installer", "s.exe", "--user", U8_from_cp1250("Firma Novák s.r.o.")};
    RUN r = trakdist(args);
    EXPECT_EQ(r.out + r.err, "Distribuce out: souborů 5, disket 3\n");
    args[1] = "cp1250.txt";   // the same manifest in CP1250 gives the same list
    args[2] = "ansi";
    EXPECT_EQ(trakdist(args).code, 0);
    EXPECT_EQ(TU_read("ansi/DISK1/DISKLIST.LST"), TU_read("out/DISK1/DISKLIST.LST"));

    // Disk 1: list (92 + 5 x 140), label, read-me, installer and TRAKPRN.EXE; the next file does not fit.
    const int disk_of[] = {0, 1, 1, 1, 2};
    IFL_state *s = nullptr;
    ASSERT_TRUE(IFL_create(&s) && IFL_open_list(s, "out/DISK1/DISKLIST.LST") && IFL_read_header(s));
    EXPECT_EQ(std::string(s->user_name) + "|" + std::to_string(s->set_number) + "|" + std::to_string(s->packed) + "|" +
                  std::to_string(s->record_count), "Firma Novák s.r.o.|12|0|5");
    for (size_t i = 0; i < files.size(); i++) {
        EXPECT_EQ(IFL_next_record(s), 1);
        EXPECT_EQ(std::string(s->target_name) + "\t" + s->target_subdir + "\t" + s->description + "|" +
                      std::to_string(s->size) + "|" + std::to_string(s->disk_index),
                  files[i].line + "|" + std::to_string(files[i].data.size()) + "|" + std::to_string(disk_of[i]));
        EXPECT_STREQ(s->source_name, s->target_name);
        EXPECT_EQ(TU_read("out/DISK" + std::to_string(disk_of[i] + 1) + "/" + s->target_name), files[i].data) << i;
    }
    EXPECT_EQ(IFL_next_record(s), 0);
    EXPECT_EQ(TU_read("out/DISK1/README.TXT") + TU_read("out/DISK1/s.exe"), "Vítejte\r\nMZ instalátor");
    EXPECT_FALSE(TU_exists("out/DISK2/DISKLIST.LST"));
    for (int disk = 1; disk <= 3; disk++)   // each disk carries its own label
        EXPECT_EQ(TU_read("out/DISK" + std::to_string(disk) + "/" + char('@' + disk) + ".KRV"),
                  label(disk, 12, "Firma Novák s.r.o."));
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ(trakdist({"verify", "out/DISK1", "out/DISK2", "out/DISK3"}).out,
              "Distribuce je v pořádku: souborů 5, disket 3\n");
    r = trakdist({"verify", "out/DISK1"});   // too few disk folders
    EXPECT_NE(r.err.find("Počet disket podle seznamu: 3, zadaných složek: 1\n"), std::string::npos) << r.err;

    IFL_destroy(&s);
}

// Packed, in one folder for two disks: listed, unpacked and verified; then damaged in every way verify must find.
TEST(Trakdist, PackedFlatDistributionListsUnpacksAndVerifies)
{
    TU_SCRATCH dir;
    const std::vector<FILE_SPEC> files = {{data(50000, 1), "A.EXE\t.\tProgram"},
                                          {data(50000, 0, "data"), "ČTIMNE\tEXE\tBez přípony"},
                                          {data(50000, 2), "VERZE.1\tEXE\tPřípona jednoho znaku"},
                                          {"", "EMPTY.TXT\t.\t"}};
    make_files(files);
    RUN r = trakdist({"build", "manifest.txt", "good", "--packed", "--flat", "--set", "3", "--disk-size", "80000"});
    EXPECT_EQ(r.out + r.err, "Distribuce good: souborů 4, disket 2, komprimovaná, v jedné složce\n");
    const std::string packed[] = {"A.EX_", "ČTIMNE._", "VERZE._", "EMPTY.TX_"};
    EXPECT_EQ(trakdist({"list", "good"}).out,
              "Uživatel: \nSérie: 3   Komprimovaná: ano   Záznamů: 4\n"
              "číslo  cílový název      na disketě        podadresář          velikost  disketa  popis\n"
              "    1  A.EXE             A.EX_             .                      50000       1  Program\n"
              "    2  ČTIMNE            ČTIMNE._          EXE                    50000       1  Bez přípony\n"
              "    3  VERZE.1           VERZE._           EXE                    50000       2  Přípona jednoho znaku\n"
              "    4  EMPTY.TXT         EMPTY.TX_         .                          0       2  \n");
    for (size_t i = 0; i < files.size(); i++) {
        C_ZIP zip;
        EXPECT_LT(TU_read("good/" + packed[i]).size(), files[i].data.size() / (i == 1 ? 4 : 1) + 40) << i;   // 1: text
        EXPECT_TRUE(zip.decompress_file(("good/" + packed[i]).c_str(), "plain") && TU_read("plain") == files[i].data);
    }
    EXPECT_EQ(TU_read("good/A.KRV") + TU_read("good/B.KRV"), label(1, 3, "") + label(2, 3, ""));
    EXPECT_FALSE(TU_exists("good/DISK1"));
    EXPECT_EQ(trakdist({"verify", "good"}).out, "Distribuce je v pořádku: souborů 4, disket 2\n");

    // Damage: new bytes at an offset (none: the file ends there; at -1: the file is removed).
    const struct { const char *file; int at; std::string bytes; const char *message; } cases[] = {
        {"ČTIMNE._", 100, "", "Záznam 2: soubor ČTIMNE._: Komprese/dekomprese dat - nepostačující buffer"},
        {"VERZE._", -1, "", "Záznam 3: soubor VERZE._ chybí na disketě 2"},
        {"B.KRV", 0, label(2, 4, ""), "Disketa je z jiné série"},
        {"DISKLIST.LST", 92 + 140 + 34, std::string("..\0", 3),
         "Nepřípustný záznam 2 souboru DISKLIST.LST: cílový podadresář \"..\""},
        {"DISKLIST.LST", 92 + 52, "\x51", "Záznam 1: soubor A.EX_ se rozbalí na 50000 B, seznam uvádí 50001 B"},
        {"DISKLIST.LST", 92 + 140 + 100, "", "Seznam má jen 1 z 4 záznamů"},
        {"DISKLIST.LST", 92, std::string("A.EX_\0", 6),
         "Nepřípustný záznam 1 souboru DISKLIST.LST: název souboru na disketě \"A.EX_\""},
    };
    for (const auto &c : cases) {
        std::filesystem::remove_all("d");
        std::filesystem::copy("good", "d");
        const std::string file = std::string("d/") + c.file;
        std::string bytes = TU_read(file);
        if (c.at < 0)
            std::filesystem::remove(file);
        else
            TU_write(file, c.bytes.empty() ? bytes.substr(0, c.at) : bytes.replace(c.at, c.bytes.size(), c.bytes));
        r = trakdist({"verify", "d"});
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_NE(r.err.find(std::string(c.message) + "\n"), std::string::npos) << c.message << "\n" << r.err;
    }
}

// Nothing is written; the error output is the complaint and "Distribuce nebyla vytvořena".
TEST(Trakdist, RefusesBadManifestsBeforeWritingAnything)
{
    const std::string m = "manifest.txt, řádek ", x = "A.EXE\t.\tx", packed = "--packed", size = "--disk-size";
    const struct { std::vector<std::string> lines, options; std::string message; } cases[] = {
        {{"A.EXE\t."}, {},
         m + "1: čekají se čtyři pole oddělená tabulátorem (soubor, cílový název, podadresář, popis)"},
        {{"ABCDEFGHIJKLM.EXE\t.\tx"}, {}, m + "1: cílový název \"ABCDEFGHIJKLM.EXE\" je delší než 16 znaků"},
        {{"A.EXE\t.\t" + std::string(81, 'p')}, {}, m + "1: popis je delší než 80 znaků"},
        {{"..\\A.EXE\t.\tx"}, {}, m + "1: nepřípustný cílový název \"..\\A.EXE\""},
        {{"A.EXE.\t.\tx"}, {}, m + "1: nepřípustný cílový název \"A.EXE.\""},
        {{"A.EXE\tEXE/BIN\tx"}, {}, m + "1: nepřípustný podadresář \"EXE/BIN\" (jedno jméno složky, nebo \".\")"},
        {{"A.EXE\tEXE\tx", "a.exe\texe\ty"}, {}, m + "2: stejné cílové umístění exe\\a.exe jako řádek 1"},
        {{"A.EXE\tEXE\tx", "B.EXE\tEXE\tx", "a.exe\texe\ty", "A.exe\tEXE\tz"}, {},
         m + "3: stejné cílové umístění exe\\a.exe jako řádek 1\n" + m + "4: stejné cílové umístění EXE\\A.exe jako řádek 1\n" +
             m + "4: stejné cílové umístění EXE\\A.exe jako řádek 3"},
        {{"INST.LST\t.\tx"}, {}, m + "1: název \"INST.LST\" v instalačním adresáři je vyhrazen instalátoru"},
        {{"B.KRV\tData\tx"}, {}, m + "1: název na disketě \"B.KRV\" je vyhrazen distribuci"},
        {{"ABCDEFGHIJKLMNOP\t.\tx"}, {packed}, m + "1: název na disketě \"ABCDEFGHIJKLMNOP._\" je delší než 16 znaků"},
        {{"A.EX_\t.\tx"}, {packed},
         m + "1: název na disketě \"A.EX_\" se musí lišit od cílového názvu (přípona končí \"_\")"},
        {{x, "A.EXA\tData\ty"}, {packed}, m + "2: název na disketě \"A.EX_\" má už řádek 1"},
        {{"A.EXE\tD1\tx", "B.EXE\tD1\tx", "a.exe\tD2\ty", "A.EXE\tD3\tz"}, {"--flat", size, "2000"},
         m + "3: název na disketě \"a.exe\" má už řádek 1\n" + m + "4: název na disketě \"A.EXE\" má už řádek 1\n" +
             m + "4: název na disketě \"A.EXE\" má už řádek 3"},
        {{x}, {size, "300"}, m + "1: soubor files/f0.bin (1000 B) je větší než disketa (300 B)"},
        {{x}, {size, "100"}, "Seznam, štítek a další soubory první diskety (262 B) jsou větší než disketa (100 B)"},
        {{x}, {"--readme", "chybi", "--installer", "s.exe"}, "Soubor chybi neexistuje\nSoubor s.exe neexistuje"},
        {{"T.EXE\t.\tx"}, {"--installer", "s.exe", "--installer", "t.exe"},
         m + "1: název na disketě \"T.EXE\" je vyhrazen distribuci"},
        {{x}, {"--installer", "s.exe", "--installer", "d/S.EXE"}, "Instalační program S.EXE je uveden dvakrát"},
    };
    for (const auto &c : cases) {
        TU_SCRATCH dir;
        std::vector<FILE_SPEC> files;
        for (const std::string &line : c.lines)
            files.push_back({std::string(1000, 'x'), line});
        make_files(files);
        std::vector<std::string> args = {"build", "manifest.txt", "out"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        RUN r = trakdist(args);
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_EQ(r.out + r.err, c.message + "\nDistribuce nebyla vytvořena\n");
        EXPECT_FALSE(TU_exists("out")) << c.message;
    }
}

// Packing single files, and every wrong command line with its message and exit status.
TEST(Trakdist, SingleFilesAndWrongCommandLines)
{
    TU_SCRATCH dir;
    make_files({{"abc", "A.EXE\t.\tx"}});
    ASSERT_EQ(trakdist({"build", "manifest.txt", "out"}).code, 0);
    EXPECT_EQ(TU_read("out/DISK1/A.KRV"), label(1, 1, ""));   // set 1 and no user unless given
    const std::string text = data(100000, 0, "PostScript");
    TU_write("a.txt", text);
    EXPECT_EQ(trakdist({"pack", "a.txt", "a.tx_"}).code + trakdist({"unpack", "a.tx_", "b.txt"}).code, 0);
    EXPECT_TRUE(TU_read("a.tx_").size() < text.size() / 4 && TU_read("b.txt") == text);
    TU_write("chybi.txt", "chybi.bin\tA.EXE\t.\tx\n");
    const std::string not_built = "\nDistribuce nebyla vytvořena\n", usage = "Použití:\n";
    const struct { std::vector<std::string> args; int code; std::string err; } cases[] = {   // err: or how it begins
        {{"unpack", "a.txt", "c.txt"}, 1, "a.txt: Komprese/dekomprese dat - chyba ve vstupních datech\n"},
        {{"list", "neni"}, 1, "Soubor neni\\DISKLIST.LST nelze otevřít\nSeznam neni\\DISKLIST.LST nelze přečíst\n"},
        {{"build", "neni.txt", "x"}, 1, "Manifest neni.txt nelze přečíst" + not_built},
        {{"build", "chybi.txt", "x"}, 1, "chybi.txt, řádek 1: soubor chybi.bin neexistuje" + not_built},
        {{"build", "manifest.txt", "out"}, 1, "Ve složce out už distribuce je; zvolte jinou nebo ji nejdřív smažte\n"},
        {{}, 2, usage}, {{"build", "m.txt"}, 2, usage}, {{"pack", "a"}, 2, usage}, {{"verify"}, 2, usage},
        {{"kopiruj"}, 2, "Neznámý příkaz kopiruj\n" + usage},
        {{"build", "m.txt", "x", "--set"}, 2, "Přepínač --set potřebuje hodnotu\n"},
        {{"build", "m.txt", "x", "--set", "40000"}, 2, "Chybná hodnota přepínače --set: 40000\n"},
        {{"build", "m.txt", "x", "--bez"}, 2, "Neznámý přepínač --bez\n"},
        {{"build", "m.txt", "x", "--user", std::string(81, 'u')}, 2, "Jméno uživatele je delší než 80 znaků\n"},
    };
    for (const auto &c : cases) {
        RUN r = trakdist(c.args);
        EXPECT_EQ(r.code, c.code) << c.err;
        EXPECT_EQ(c.err.find(usage) == std::string::npos ? r.err : r.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(r.out, "") << c.err;
    }
    EXPECT_FALSE(TU_exists("c.txt") || TU_exists("x"));
    EXPECT_TRUE(TU_reports().empty());   // the libraries' reports go to the tool's error output, not to the sink
}
