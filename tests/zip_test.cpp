#include "zip/zip.h"

#include <algorithm>
#include <random>

#include <zlib.h>

#include "common/fe.h"
#include "common/mm.h"
#include "tests/testutil.h"

namespace {

// Random bytes, or (with a word) text that packs well but not to nothing.
std::string data(size_t n, unsigned seed, const char *word = nullptr)
{
    std::string s;
    std::mt19937 gen(seed);
    while (s.size() < n)
        s += word ? std::string(word) + " " + std::to_string(gen() % 100003) + "\n" : std::string(1, char(gen()));
    return s.substr(0, n);
}

const uint8_t *bytes_of(const std::string &s) { return reinterpret_cast<const uint8_t *>(s.data()); }
int32_t length_of(const std::string &s) { return static_cast<int32_t>(s.size()); }

// zlib's one-call compression: the packed format is exactly what it makes.
std::string zlib_pack(const std::string &plain, int level)
{
    std::string out(compressBound(plain.size()), '\0');
    uLongf length = out.size();
    compress2(reinterpret_cast<Bytef *>(&out[0]), &length, bytes_of(plain), plain.size(), level);
    return out.substr(0, length);
}

// An out buffer: handed in empty, freed at the end.
struct OUT {
    uint8_t *p = nullptr;
    int32_t n = 77;
    ~OUT() { MM_free(p, "test", __LINE__); }
    std::string text() const { return std::string(p, p + (p ? n : 0)); }
};

}  // namespace

// The message of every result code.
TEST(Zip, ErrorTextsOfEveryCode)
{
    const std::string z = "Komprese/dekomprese dat - ", file = z + "chyba při práci se soubory",
                      unknown = "Neznámá chyba při kompresi/dekompresi dat";
    const struct { int16_t code; std::string text; } cases[] = {
        {-10, file}, {-1, file}, {-8, unknown}, {-7, unknown}, {3, unknown}, {-6, z + "chybná verze dat"},
        {-5, z + "nepostačující buffer"}, {-4, z + "málo paměti"}, {-3, z + "chyba ve vstupních datech"},
        {-2, z + "neočekávaný konec dat"}, {0, "Komprese/dekomprese dat bez chyb"}, {1, z + "konec dat"},
        {2, z + "MSG_zip_need_dict"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ZIP_error_text(c.code), c.text) << c.code;
}

// Levels -1 (zlib's default, as made) to 9 reach zlib, a refused one changes nothing; 8 MB of zeros grow the room.
TEST(Zip, BuffersRoundTripAtTheirLevel)
{
    const std::string text = data(20000, 1, "Gerber");
    const struct { int16_t level; std::string plain; } cases[] = {
        {0, text}, {9, text}, {10, text}, {-2, text}, {-1, ""}, {-1, data(70000, 2)}, {-1, data(300000, 3, "Post")},
        {-1, std::string(8 << 20, '\0')},
    };
    for (const auto &c : cases) {
        C_ZIP zip;
        EXPECT_EQ(zip.set_level(c.level), c.level >= -1 && c.level <= 9 ? 1 : 0) << c.level;
        OUT packed, plain;
        ASSERT_EQ(zip.compress_buffer(bytes_of(c.plain), length_of(c.plain), &packed.p, &packed.n), 1);
        EXPECT_TRUE(packed.text() == zlib_pack(c.plain, c.level >= -1 && c.level <= 9 ? c.level : -1)) << c.level;
        ASSERT_EQ(zip.decompress_buffer(packed.p, packed.n, &plain.p, &plain.n), 1) << c.plain.size();
        EXPECT_TRUE(plain.text() == c.plain) << c.plain.size();
        EXPECT_EQ(zip.last_error(), 0);
    }
    EXPECT_TRUE(TU_reports().empty());
}

// Every form of packing and unpacking gives zlib's bytes and the plain ones back, for pieces and for nothing;
// unpacking onto its own name and from a file of the temporary name.
TEST(Zip, FilesRoundTripThroughEveryForm)
{
    TU_SCRATCH dir;
    // Pieces of input and output: several, exactly one output piece and one byte more, many from one input
    // piece; none.
    for (const std::string &plain : {data(250000, 5, "Gerber") + data(100000, 6), data(262144, 7), data(262145, 8),
                                     std::string(3 << 20, 'x'), std::string()}) {
        const std::string packed = zlib_pack(plain, 9);
        TU_write("plain.bin", plain);
        TU_write("old.bin", "stará verze");
        C_ZIP zip;
        OUT to_packed, to_plain;
        uint32_t size = 1;
        ASSERT_EQ(zip.set_level(9), 1);
        EXPECT_TRUE(zip.compress_file("plain.bin", "a.bi_") && TU_read("a.bi_") == packed);
        EXPECT_TRUE(zip.decompress_file("a.bi_", "old.bin") && TU_exists("old.bin") && TU_read("old.bin") == plain);
        EXPECT_TRUE(zip.compress_buffer_to_file(bytes_of(plain), length_of(plain), "b.bi_") &&
                    TU_read("b.bi_") == packed);
        EXPECT_TRUE(zip.decompress_buffer_to_file(bytes_of(packed), length_of(packed), "b.bin") &&
                    TU_exists("b.bin") && TU_read("b.bin") == plain);
        EXPECT_TRUE(zip.compress_file_to_buffer("plain.bin", &to_packed.p, &to_packed.n) && to_packed.text() == packed);
        EXPECT_TRUE(zip.decompress_file_to_buffer("a.bi_", &to_plain.p, &to_plain.n) && to_plain.text() == plain);
        EXPECT_TRUE(zip.measure_file("a.bi_", &size) && size == plain.size()) << size;
    }
    // Unpacking onto its own name, and a packed file that bears the temporary name of its destination.
    C_ZIP zip;
    TU_write("self.txt", zlib_pack("sám sebou", 9));
    TU_write("temp.txt.$$$", zlib_pack("dočasný", 9));
    EXPECT_TRUE(zip.decompress_file("self.txt", "self.txt") && TU_read("self.txt") == "sám sebou");
    EXPECT_TRUE(zip.decompress_file("temp.txt.$$$", "temp.txt") && TU_read("temp.txt") == "dočasný");
    EXPECT_TRUE(TU_exists("temp.txt.$$$"));
    EXPECT_TRUE(TU_reports().empty());
}

// Damaged streams and missing files give their codes and leave no file behind; refused arguments are internal
// errors.
TEST(Zip, FailuresGiveTheirCodes)
{
    TU_SCRATCH dir;
    // Damaged streams, from memory and from files: a failed unpacking leaves no new file and an old one as it was.
    const std::string good = zlib_pack(data(100000, 4, "řádek"), 9);
    const struct { const char *name; std::string packed; int16_t code; } cases[] = {
        {"plain file", "Toto není komprimovaný soubor.\r\n", -3}, {"cut short", good.substr(0, good.size() / 2), -5},
        {"wrong checksum", good.substr(0, good.size() - 1) + char(good.back() ^ 0x55), -3}, {"empty", "", -5},
    };
    for (const auto &c : cases) {
        C_ZIP zip;
        OUT plain;
        EXPECT_EQ(zip.decompress_buffer(bytes_of(c.packed), length_of(c.packed), &plain.p, &plain.n), 0) << c.name;
        EXPECT_TRUE(plain.p == nullptr && plain.n == 0) << c.name;
        EXPECT_EQ(zip.last_error(), c.code) << c.name;
        TU_write("packed.ex_", c.packed);
        TU_write("old.exe", "stará verze");
        EXPECT_EQ(zip.decompress_file("packed.ex_", "plain.exe") + zip.decompress_file("packed.ex_", "old.exe"), 0);
        EXPECT_EQ(zip.last_error(), c.code) << c.name;
        EXPECT_EQ(TU_read("old.exe"), "stará verze") << c.name;
        EXPECT_FALSE(TU_exists("plain.exe") || TU_exists("plain.exe.$$$") || TU_exists("old.exe.$$$")) << c.name;
        OUT again;   // the same object then unpacks a sound stream
        EXPECT_TRUE(zip.decompress_buffer(bytes_of(good), length_of(good), &again.p, &again.n) &&
                    again.text() == data(100000, 4, "řádek"))
            << c.name;
    }
    EXPECT_TRUE(TU_reports().empty());
    TU_write("ok.tx_", zlib_pack("abc", 9));
    C_ZIP zip;
    OUT out;
    // Results and codes in turn; "neni" does not exist. Only the file layer speaks, once per file it cannot open.
    const int16_t failed[] = {zip.decompress_file("chybi.ex_", "x.exe"),  zip.last_error(),
                              zip.compress_file("chybi.exe", "x.ex_"),    zip.last_error(),
                              zip.decompress_file_to_buffer("chybi.ex_", &out.p, &out.n), zip.last_error(),
                              zip.decompress_file("ok.tx_", "neni\\x.txt"), zip.last_error()};
    for (size_t i = 0; i < 8; i++)
        EXPECT_EQ(failed[i], i % 2 ? -10 : 0) << i;
    EXPECT_TRUE(out.p == nullptr && out.n == 0);
    EXPECT_FALSE(TU_exists("x.exe") || TU_exists("x.ex_"));
    ASSERT_EQ(TU_reports().size(), 4u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor chybi.ex_ nelze otevřít");
    EXPECT_EQ(TU_reports()[3].text, "Soubor neni\\x.txt.$$$ nelze otevřít");
    uint8_t held = 0, *given = &held;   // an out buffer must be empty on entry
    int32_t length = 0;
    uint32_t size = 0;
    TU_expect_failures("..\\zip\\zip_util", {
        TU_FAILS(zip.compress_buffer(&held, 1, &given, &length)),
        TU_FAILS(zip.decompress_buffer(&held, 1, &given, &length)), TU_FAILS(zip.compress_file(nullptr, "x")),
        TU_FAILS(zip.decompress_file("x", nullptr)), TU_FAILS(zip.compress_buffer(nullptr, 1, &out.p, &out.n)),
        TU_FAILS(zip.decompress_buffer_to_file(&held, 1, nullptr)), TU_FAILS(zip.measure_file(nullptr, &size)),
        TU_FAILS(zip.measure_file("ok.tx_", nullptr)),
    });
    EXPECT_EQ(given, &held);
    // A directory in the way of the finished file: it stays, the temporary file goes, the module says why.
    TU_clear_reports();
    ASSERT_EQ(FE_make_path("dir.txt"), 1);
    EXPECT_EQ(zip.decompress_file("ok.tx_", "dir.txt"), 0);
    EXPECT_EQ(zip.last_error(), -10);
    EXPECT_TRUE(FE_dir_exists("dir.txt") && !TU_exists("dir.txt.$$$"));
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor dir.txt nelze vytvořit");
}

// Unpacking a file streams it: no block of the memory manager grows with the file (8 MB from 8 KB here).
TEST(Zip, UnpackingAFileTakesTheSameMemoryWhateverItsSize)
{
    const std::string plain(8 << 20, 'z');
    const TU_STATISTICS run = TU_statistics([&] {
        TU_write("big.bi_", zlib_pack(plain, 9));
        C_ZIP zip;
        EXPECT_EQ(zip.decompress_file("big.bi_", "big.bin"), 1);
        EXPECT_TRUE(TU_read("big.bin") == plain);
    });
    uint32_t largest = 0, blocks = 0;
    for (const TU_MM_RECORD &r : run.records)
        if (r.kind == 4 || r.kind == 5) {   // MM_alloc_raw, MM_alloc
            largest = std::max(largest, r.size);
            blocks++;
        }
    EXPECT_GT(blocks, 0u);
    EXPECT_LE(largest, 1u << 20);
    EXPECT_TRUE(TU_reports().empty());
}
