#include "zip/zip.h"

#include <random>
#include <string>

#include <gtest/gtest.h>
#include <zlib.h>

#include "common/mm.h"
#include "tests/testutil.h"

namespace {

const char *const FILE_TEXT = "Komprese/dekomprese dat - chyba při práci se soubory";

std::string random_bytes(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(gen());
    return s;
}

// Text that compresses well but not to nothing.
std::string text_bytes(size_t n)
{
    std::string s;
    for (unsigned i = 0; s.size() < n; i++)
        s += "řádek " + std::to_string(i * 7919 % 100003) + " Gerber -> PostScript\n";
    s.resize(n);
    return s;
}

// zlib's one-call compression: the packed format is exactly what it makes.
std::string zlib_pack(const std::string &data, int level)
{
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    std::string out(length, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef *>(&out[0]), &length, reinterpret_cast<const Bytef *>(data.data()),
                        static_cast<uLong>(data.size()), level),
              Z_OK);
    out.resize(length);
    return out;
}

const uint8_t *bytes_of(const std::string &s) { return reinterpret_cast<const uint8_t *>(s.data()); }
int32_t length_of(const std::string &s) { return static_cast<int32_t>(s.size()); }

std::string take(uint8_t *buffer, int32_t length)
{
    std::string s(reinterpret_cast<char *>(buffer), static_cast<size_t>(length));
    MM_free(buffer, "test", __LINE__);
    return s;
}

}  // namespace

TEST(Zip, ErrorTextsOfEveryCode)
{
    struct {
        int16_t code;
        const char *text;
    } const cases[] = {
        {-10, FILE_TEXT},
        {-1, FILE_TEXT},
        {-6, "Komprese/dekomprese dat - chybná verze dat"},
        {-5, "Komprese/dekomprese dat - nepostačující buffer"},
        {-4, "Komprese/dekomprese dat - málo paměti"},
        {-3, "Komprese/dekomprese dat - chyba ve vstupních datech"},
        {-2, "Komprese/dekomprese dat - neočekávaný konec dat"},
        {0, "Komprese/dekomprese dat bez chyb"},
        {1, "Komprese/dekomprese dat - konec dat"},
        {2, "Komprese/dekomprese dat - MSG_zip_need_dict"},
        {-8, "Neznámá chyba při kompresi/dekompresi dat"},
        {3, "Neznámá chyba při kompresi/dekompresi dat"},
        {-7, "Neznámá chyba při kompresi/dekompresi dat"},
    };
    for (const auto &c : cases)
        EXPECT_STREQ(ZIP_error_text(c.code), c.text) << c.code;
}

TEST(Zip, LevelAcceptsMinusOneToNine)
{
    C_ZIP zip;
    EXPECT_EQ(zip.last_error(), 0);
    EXPECT_EQ(zip.set_level(-2), 0);
    EXPECT_EQ(zip.set_level(10), 0);
    for (int16_t level = -1; level <= 9; level++)
        EXPECT_EQ(zip.set_level(level), 1) << level;
    // The level reaches zlib: level 0 stores, level 9 packs.
    std::string data = text_bytes(20000);
    for (int16_t level : {0, 9}) {
        ASSERT_EQ(zip.set_level(level), 1);
        uint8_t *out = nullptr;
        int32_t length = 0;
        ASSERT_EQ(zip.compress_buffer(bytes_of(data), length_of(data), &out, &length), 1);
        EXPECT_EQ(take(out, length), zlib_pack(data, level)) << level;
    }
    // A refused level leaves the level as it was.
    EXPECT_EQ(zip.set_level(42), 0);
    uint8_t *out = nullptr;
    int32_t length = 0;
    ASSERT_EQ(zip.compress_buffer(bytes_of(data), length_of(data), &out, &length), 1);
    EXPECT_EQ(take(out, length), zlib_pack(data, 9));
}

TEST(Zip, BuffersRoundTripWhateverTheirSize)
{
    const std::string inputs[] = {"", "a", text_bytes(1000), random_bytes(70000, 1), text_bytes(300000)};
    for (const std::string &data : inputs) {
        C_ZIP zip;
        uint8_t *packed = nullptr;
        int32_t packed_length = 0;
        ASSERT_EQ(zip.compress_buffer(bytes_of(data), length_of(data), &packed, &packed_length), 1);
        std::string p = take(packed, packed_length);
        EXPECT_EQ(p, zlib_pack(data, Z_DEFAULT_COMPRESSION));
        uint8_t *plain = nullptr;
        int32_t plain_length = 0;
        ASSERT_EQ(zip.decompress_buffer(bytes_of(p), length_of(p), &plain, &plain_length), 1) << data.size();
        EXPECT_EQ(take(plain, plain_length), data);
        EXPECT_EQ(zip.last_error(), 0);
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Zip, AStreamThatExpandsManyTimesItsSize)
{
    // 8 MB of zeros pack into a few kB: the output room grows many times over.
    std::string data(8 * 1024 * 1024, '\0');
    data[12345] = 'x';
    std::string p = zlib_pack(data, 9);
    ASSERT_LT(p.size(), 20000u);
    C_ZIP zip;
    uint8_t *plain = nullptr;
    int32_t plain_length = 0;
    ASSERT_EQ(zip.decompress_buffer(bytes_of(p), length_of(p), &plain, &plain_length), 1);
    EXPECT_TRUE(take(plain, plain_length) == data);
}

TEST(Zip, DamagedStreamsGiveTheirCodes)
{
    std::string data = text_bytes(100000);
    std::string good = zlib_pack(data, 9);
    std::string bad_sum = good;
    bad_sum[bad_sum.size() - 1] ^= 0x55;

    // A stream made with a preset dictionary asks for it.
    z_stream zs{};
    ASSERT_EQ(deflateInit(&zs, 9), Z_OK);
    const char dictionary[] = "Gerber PostScript";
    ASSERT_EQ(deflateSetDictionary(&zs, reinterpret_cast<const Bytef *>(dictionary), sizeof dictionary - 1), Z_OK);
    std::string with_dictionary(1000, '\0');
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>("Gerber Gerber"));
    zs.avail_in = 13;
    zs.next_out = reinterpret_cast<Bytef *>(&with_dictionary[0]);
    zs.avail_out = 1000;
    ASSERT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    with_dictionary.resize(zs.total_out);
    deflateEnd(&zs);

    struct {
        const char *name;
        std::string packed;
        int16_t code;
    } const cases[] = {
        {"plain text", "Toto není komprimovaný soubor.\r\n", -3},
        {"cut short", good.substr(0, good.size() / 2), -5},
        {"only the zlib header", good.substr(0, 2), -5},
        {"empty", "", -5},
        {"wrong checksum", bad_sum, -3},
        {"preset dictionary", with_dictionary, 2},
    };
    for (const auto &c : cases) {
        C_ZIP zip;
        uint8_t *plain = nullptr;
        int32_t plain_length = 77;
        EXPECT_EQ(zip.decompress_buffer(bytes_of(c.packed), length_of(c.packed), &plain, &plain_length), 0) << c.name;
        EXPECT_EQ(plain, nullptr) << c.name;
        EXPECT_EQ(plain_length, 0) << c.name;
        EXPECT_EQ(zip.last_error(), c.code) << c.name;

        // The same through files: no destination is left behind.
        TU_SCRATCH dir;
        TU_write("packed.ex_", c.packed);
        EXPECT_EQ(zip.decompress_file("packed.ex_", "plain.exe"), 0) << c.name;
        EXPECT_EQ(zip.last_error(), c.code) << c.name;
        EXPECT_FALSE(TU_exists("plain.exe")) << c.name;
        EXPECT_FALSE(TU_exists("plain.exe.$$$")) << c.name;
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Zip, FilesRoundTripThroughEveryForm)
{
    TU_SCRATCH dir;
    const std::string data = text_bytes(250000) + random_bytes(100000, 7);   // several input pieces
    const std::string packed = zlib_pack(data, 9);
    TU_write("plain.bin", data);
    C_ZIP zip;
    ASSERT_EQ(zip.set_level(9), 1);

    ASSERT_EQ(zip.compress_file("plain.bin", "a.bi_"), 1);
    EXPECT_EQ(TU_read("a.bi_"), packed);
    ASSERT_EQ(zip.decompress_file("a.bi_", "a.bin"), 1);
    EXPECT_EQ(TU_read("a.bin"), data);

    ASSERT_EQ(zip.compress_buffer_to_file(bytes_of(data), length_of(data), "b.bi_"), 1);
    EXPECT_EQ(TU_read("b.bi_"), packed);
    ASSERT_EQ(zip.decompress_buffer_to_file(bytes_of(packed), length_of(packed), "b.bin"), 1);
    EXPECT_EQ(TU_read("b.bin"), data);

    uint8_t *out = nullptr;
    int32_t length = 0;
    ASSERT_EQ(zip.compress_file_to_buffer("plain.bin", &out, &length), 1);
    EXPECT_EQ(take(out, length), packed);
    out = nullptr;
    ASSERT_EQ(zip.decompress_file_to_buffer("a.bi_", &out, &length), 1);
    EXPECT_EQ(take(out, length), data);

    uint32_t size = 0;
    ASSERT_EQ(zip.measure_file("a.bi_", &size), 1);
    EXPECT_EQ(size, data.size());

    // An empty file packs to a stream that unpacks to an empty file.
    TU_write("empty.txt", "");
    ASSERT_EQ(zip.compress_file("empty.txt", "empty.tx_"), 1);
    EXPECT_EQ(TU_read("empty.tx_"), zlib_pack("", 9));
    ASSERT_EQ(zip.decompress_file("empty.tx_", "empty2.txt"), 1);
    EXPECT_TRUE(TU_exists("empty2.txt"));
    EXPECT_EQ(TU_read("empty2.txt"), "");
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Zip, UnpackingReplacesAnOldFileOnlyOnSuccess)
{
    TU_SCRATCH dir;
    C_ZIP zip;
    TU_write("old.txt", "stará verze");
    TU_write("bad.tx_", "nic");
    EXPECT_EQ(zip.decompress_file("bad.tx_", "old.txt"), 0);
    EXPECT_EQ(TU_read("old.txt"), "stará verze");

    TU_write("good.tx_", zlib_pack("nová verze", 9));
    ASSERT_EQ(zip.decompress_file("good.tx_", "old.txt"), 1);
    EXPECT_EQ(TU_read("old.txt"), "nová verze");

    // Unpacking a file onto its own name works as well.
    TU_write("self.txt", zlib_pack("sám sebou", 9));
    ASSERT_EQ(zip.decompress_file("self.txt", "self.txt"), 1);
    EXPECT_EQ(TU_read("self.txt"), "sám sebou");
    // A packed file that bears the temporary name of its destination.
    TU_write("temp.txt.$$$", zlib_pack("dočasný", 9));
    ASSERT_EQ(zip.decompress_file("temp.txt.$$$", "temp.txt"), 1);
    EXPECT_EQ(TU_read("temp.txt"), "dočasný");
    EXPECT_TRUE(TU_exists("temp.txt.$$$"));
}

TEST(Zip, FileFailuresGiveTheFileCode)
{
    TU_SCRATCH dir;
    C_ZIP zip;
    EXPECT_EQ(zip.decompress_file("chybi.ex_", "x.exe"), 0);
    EXPECT_EQ(zip.last_error(), -10);
    EXPECT_EQ(zip.compress_file("chybi.exe", "x.ex_"), 0);
    EXPECT_EQ(zip.last_error(), -10);
    uint8_t *out = nullptr;
    int32_t length = 5;
    EXPECT_EQ(zip.decompress_file_to_buffer("chybi.ex_", &out, &length), 0);
    EXPECT_EQ(zip.last_error(), -10);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(length, 0);
    // The destination's folder does not exist.
    TU_write("ok.tx_", zlib_pack("abc", 9));
    EXPECT_EQ(zip.decompress_file("ok.tx_", "neni\\x.txt"), 0);
    EXPECT_EQ(zip.last_error(), -10);
    // Only the file layer spoke, once per file it could not open.
    ASSERT_EQ(TU_reports().size(), 4u);
    EXPECT_EQ(TU_reports()[0].text, "Soubor chybi.ex_ nelze otevřít");
    EXPECT_EQ(TU_reports()[3].text, "Soubor neni\\x.txt.$$$ nelze otevřít");
    EXPECT_FALSE(TU_exists("x.exe"));
}

TEST(Zip, AnOutBufferMustBeEmptyOnEntry)
{
    C_ZIP zip;
    uint8_t held = 0;
    uint8_t *out = &held;
    int32_t length = 0;
    const uint8_t data[3] = {1, 2, 3};
    EXPECT_EQ(zip.compress_buffer(data, 3, &out, &length), 0);
    EXPECT_EQ(zip.decompress_buffer(data, 3, &out, &length), 0);
    EXPECT_EQ(out, &held);
    EXPECT_EQ(zip.compress_file(nullptr, "x"), 0);
    EXPECT_EQ(zip.decompress_file("x", nullptr), 0);
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 4);
    EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\zip\\zip_util řádek ", 0), 0u);
}
