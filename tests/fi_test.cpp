#include "common/fi.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/config.h"
#include "common/fe.h"
#include "common/mm.h"
#include "common/st.h"
#include "tests/testutil.h"

namespace {

const std::string INTERNAL_PREFIX = "Chyba v souboru ..\\common\\fi řádek ";

// Owns one file object for a test.
struct FILE_OBJ {
    C_FILE *f = nullptr;
    explicit FILE_OBJ(const char *name = nullptr) { EXPECT_EQ(FI_create(&f, name), 1); }
    ~FILE_OBJ()
    {
        if (f)
            FI_destroy(&f);
    }
    FILE_OBJ(const FILE_OBJ &) = delete;
    FILE_OBJ &operator=(const FILE_OBJ &) = delete;
    operator C_FILE *() const { return f; }
};

std::string le32(uint32_t v)
{
    std::string s(4, 0);
    for (int i = 0; i < 4; i++)
        s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

std::string text_item(const std::string &text)
{
    return std::string("\x84\x03\x0A\x00", 4) + le32(text.size()) + text;
}

std::string block_item(const std::string &data)
{
    return std::string("\x20\x03\x0A\x00", 4) + le32(data.size()) + data;
}

// A header record: a text in its first bytes, version digit at 11, year at 16 to 19.
std::vector<uint8_t> make_header(const char *version, const char *year)
{
    std::vector<uint8_t> h(FI_HEADER_SIZE, 0);
    const char *text = "DESIGN HDR v";   // 12 characters: byte 11 is the version
    std::memcpy(h.data(), text, 12);
    h[11] = static_cast<uint8_t>(version[0]);
    std::memcpy(h.data() + 12, " Y: ", 4);
    std::memcpy(h.data() + 16, year, 4);
    std::memcpy(h.data() + 20, " END", 4);
    return h;
}

void expect_one_report(WE_KIND kind, const std::string &text, const char *what)
{
    ASSERT_EQ(TU_reports().size(), 1u) << what;
    EXPECT_EQ(TU_reports()[0].kind, kind) << what;
    if (kind == WE_KIND_INTERNAL || kind == WE_KIND_SWITCH)
        EXPECT_EQ(TU_reports()[0].text.rfind(INTERNAL_PREFIX, 0), 0u) << what << ": " << TU_reports()[0].text;
    else
        EXPECT_EQ(TU_reports()[0].text, text) << what;
}

}  // namespace

// Every write of every writable file mode, compared byte for byte on disk.
TEST(Fi, WriteModesPutExactBytesOnDisk)
{
    TU_SCRATCH scratch;
    const std::string long_line(170, 'x');
    std::vector<uint8_t> header = make_header("5", "2003");
    struct CASE {
        const char *what;
        int16_t mode;
        const char *before;   // file content before the open (modes 4, 8)
        std::function<int16_t(C_FILE *)> act;
        std::string expected;
    } const cases[] = {
        {"line", 2, nullptr, [](C_FILE *f) { return FI_write_text(f, "Řádek 1"); }, "Řádek 1\r\n"},
        {"empty line", 3, nullptr, [](C_FILE *f) { return FI_write_text(f, ""); }, "\r\n"},
        {"line cut at 160", 2, nullptr, [&](C_FILE *f) { return FI_write_text(f, long_line.c_str()); },
         std::string(160, 'x') + "\r\n"},
        {"raw write in text mode", 2, nullptr, [](C_FILE *f) { return FI_write(f, "a\nb\n\n", 5); },
         "a\r\nb\r\n\r\n"},
        {"update overwrites in place", 4, "line1\r\nline2\r\n",
         [](C_FILE *f) {
             char buf[50];
             return static_cast<int16_t>(FI_read_text(f, buf, 49) && FI_write_text(f, "X"));
         },
         "line1\r\nX\r\ne2\r\n"},
        {"header as a line", 2, nullptr, [&](C_FILE *f) { return FI_write_header(f, header.data()); },
         "DESIGN HDR 5 Y: 2003 END\r\n"},
        {"text item", 6, nullptr, [](C_FILE *f) { return FI_write_text(f, "Ahoj\n"); }, text_item("Ahoj\n")},
        {"empty text item", 7, nullptr, [](C_FILE *f) { return FI_write_text(f, ""); }, text_item("")},
        {"block item", 6, nullptr, [](C_FILE *f) { return FI_write_block(f, "\0\1\2", 3); },
         block_item(std::string("\0\1\2", 3))},
        {"raw binary write keeps LF", 7, nullptr, [](C_FILE *f) { return FI_write(f, "a\nb", 3); }, "a\nb"},
        {"binary update", 8, "0123456789",
         [](C_FILE *f) { return static_cast<int16_t>(FI_seek(f, 4) && FI_write(f, "ab", 2)); }, "0123ab6789"},
        {"binary header", 6, nullptr, [&](C_FILE *f) { return FI_write_header(f, header.data()); },
         [&] {
             std::string h(reinterpret_cast<const char *>(header.data()), FI_HEADER_SIZE);
             h[80] = 1;
             return h;
         }()},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        header = make_header("5", "2003");
        if (c.before)
            TU_write("out.dat", c.before);
        FILE_OBJ f("out.dat");
        ASSERT_EQ(FI_open(f, c.mode), 1) << c.what;
        EXPECT_EQ(c.act(f), 1) << c.what;
        EXPECT_EQ(FI_close(f, 0), 1) << c.what;
        EXPECT_EQ(TU_read("out.dat"), c.expected) << c.what;
        EXPECT_TRUE(TU_reports().empty()) << c.what;
        FI_close(f, 1);
        EXPECT_FALSE(TU_exists("out.dat")) << c.what;
    }
}

// Mode 11 holds the same bytes as a binary file, mode 9 counts them.
TEST(Fi, MemoryStreamsHoldWhatAFileWouldHold)
{
    TU_SCRATCH scratch;
    auto write_all = [](C_FILE *f) {
        std::vector<uint8_t> h = make_header("4", "1998");
        EXPECT_EQ(FI_write_header(f, h.data()), 1);
        EXPECT_EQ(FI_write_text(f, "první"), 1);
        EXPECT_EQ(FI_write_block(f, "\xFF\x00\x7F", 3), 1);
        EXPECT_EQ(FI_write_text(f, ""), 1);
        EXPECT_EQ(f->data_start, FI_HEADER_SIZE);
    };
    FILE_OBJ disk("items.bin"), mem, count;
    ASSERT_EQ(FI_open(disk, FI_BIN_CREATE), 1);
    ASSERT_EQ(FI_open(mem, FI_MEM_WRITE), 1);
    ASSERT_EQ(FI_open(count, FI_MEM_COUNT), 1);
    write_all(disk);
    write_all(mem);
    write_all(count);
    FI_close(disk, 0);
    std::string on_disk = TU_read("items.bin");

    uint8_t *buffer = nullptr;
    int32_t capacity = 0, length = 0;
    ASSERT_EQ(FI_get_memory(mem, &buffer, &capacity, &length), 1);
    EXPECT_EQ(capacity, FI_MEMORY_STEP);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), length), on_disk);
    ASSERT_EQ(FI_get_memory(count, &buffer, &capacity, &length), 1);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(length, static_cast<int32_t>(on_disk.size()));
    EXPECT_EQ(FI_size(count), length);
    EXPECT_TRUE(TU_reports().empty());
}

// Pieces of 7 bytes written across the 20000-byte steps, read back in pieces of 13.
TEST(Fi, MemoryStreamFedInSmallStepsAcrossBufferBoundaries)
{
    FILE_OBJ f;
    ASSERT_EQ(FI_open(f, FI_MEM_WRITE), 1);
    std::string all;
    for (int i = 0; all.size() < 45000; i++) {
        char piece[7];
        for (int k = 0; k < 7; k++)
            piece[k] = static_cast<char>(i * 7 + k);
        ASSERT_EQ(FI_write(f, piece, 7), 1);
        all.append(piece, 7);
    }
    EXPECT_EQ(f.f->mem_capacity, 3 * FI_MEMORY_STEP);
    EXPECT_EQ(FI_tell(f), static_cast<int32_t>(all.size()));
    EXPECT_EQ(FI_size(f), static_cast<int32_t>(all.size()));

    // Back to the start: overwriting moves the position, not the length.
    ASSERT_EQ(FI_seek(f, 3), 1);
    ASSERT_EQ(FI_write(f, "XY", 2), 1);
    EXPECT_EQ(FI_tell(f), 5);
    EXPECT_EQ(f.f->mem_length, static_cast<int32_t>(all.size()));
    all[3] = 'X';
    all[4] = 'Y';

    // The buffer left by mode 11 is read in mode 10.
    ASSERT_EQ(FI_open(f, FI_MEM_READ), 1);
    std::string back;
    char piece[13];
    while (back.size() + 13 <= all.size()) {
        ASSERT_EQ(FI_read(f, piece, 13), 1);
        back.append(piece, 13);
    }
    EXPECT_EQ(back, all.substr(0, back.size()));
    // Reading stops at the capacity, silently.
    ASSERT_EQ(FI_seek(f, 3 * FI_MEMORY_STEP - 5), 1);
    EXPECT_EQ(FI_read(f, piece, 5), 1);
    EXPECT_EQ(FI_read(f, piece, 1), 0);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Fi, MemoryStreamGrowthInStepsOf20000)
{
    FILE_OBJ f;
    ASSERT_EQ(FI_open(f, FI_MEM_WRITE), 1);
    std::string data(50000, 0);
    for (size_t i = 0; i < data.size(); i++)
        data[i] = static_cast<char>(i % 251);
    ASSERT_EQ(FI_write(f, data.data(), 50000), 1);
    uint8_t *buffer;
    int32_t capacity, length;
    ASSERT_EQ(FI_get_memory(f, &buffer, &capacity, &length), 1);
    EXPECT_EQ(capacity, 60000);
    EXPECT_EQ(length, 50000);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), 50000), data);

    // A seek past the capacity keeps the length inside the buffer.
    ASSERT_EQ(FI_seek(f, 70001), 1);
    ASSERT_EQ(FI_get_memory(f, &buffer, &capacity, &length), 1);
    EXPECT_EQ(capacity, 80000);
    EXPECT_EQ(length, 70001);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), 50000), data);
    EXPECT_EQ(buffer[70000], 0);

    // Handing the buffer out: the object no longer frees it.
    ASSERT_EQ(FI_set_memory(f, nullptr, 0, 0), 1);
    ASSERT_EQ(FI_seek(f, 0), 1);
    ASSERT_EQ(FI_write(f, "z", 1), 1);   // a fresh buffer
    EXPECT_EQ(f.f->mem_capacity, FI_MEMORY_STEP);
    MM_free(buffer, "test", __LINE__);
}

// Lines of text modes: CR LF or LF, bounded to 200 characters, cut to the maximum.
TEST(Fi, LinesReadFromTextFiles)
{
    TU_SCRATCH scratch;
    const std::string l250 = std::string(200, 'a') + std::string(50, 'b');
    const std::string l200 = std::string(200, 'c');
    struct CASE {
        const char *what;
        std::string content;
        int16_t maximum;
        std::vector<std::string> lines;
    } const cases[] = {
        {"CR LF", "one\r\ntwo\r\n", 100, {"one", "two"}},
        {"LF", "one\ntwo\n", 100, {"one", "two"}},
        {"no line end at the end", "one\r\ntwo", 100, {"one", "two"}},
        {"empty lines", "\r\n\n\r\nx\n", 100, {"", "", "", "x"}},
        {"lone CR stays", "a\rb\r\n", 100, {"a\rb"}},
        {"cut to the maximum", "abcdefgh\r\nij\r\n", 5, {"abcde", "ij"}},
        {"long line continues", l250 + "\r\nz\r\n", 250, {std::string(200, 'a'), std::string(50, 'b'), "z"}},
        {"line of exactly 200", l200 + "\r\nz\n", 250, {l200, "z"}},
        {"200 then LF", l200 + "\nz", 250, {l200, "z"}},
        {"200 then lone CR", l200 + "\rz\n", 250, {l200, "\rz"}},
        {"empty file", "", 100, {}},
    };
    for (const CASE &c : cases) {
        TU_write("lines.txt", c.content);
        FILE_OBJ f("lines.txt");
        ASSERT_EQ(FI_open(f, FI_TEXT_READ), 1) << c.what;
        std::vector<std::string> got;
        std::vector<char> buffer(c.maximum + 1);
        while (FI_read_text(f, buffer.data(), c.maximum))
            got.push_back(buffer.data());
        EXPECT_EQ(got, c.lines) << c.what;
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Fi, TextModeRoundTrip)
{
    TU_SCRATCH scratch;
    FILE_OBJ f("rw.txt");
    ASSERT_EQ(FI_open(f, FI_TEXT_CREATE_RW), 1);
    ASSERT_EQ(FI_write_text(f, "první"), 1);
    ASSERT_EQ(FI_write(f, "a\nb", 3), 1);
    EXPECT_EQ(FI_size(f), 11);   // CP1250: one byte a letter
    ASSERT_EQ(FI_seek(f, 0), 1);
    char line[201];
    ASSERT_EQ(FI_read_text(f, line, 200), 1);
    EXPECT_STREQ(line, "první");
    char raw[3];
    ASSERT_EQ(FI_read(f, raw, 3), 1);
    EXPECT_EQ(std::string(raw, 3), "a\nb");
    EXPECT_EQ(FI_read_text(f, line, 200), 0);
    FI_close(f, 0);
    EXPECT_EQ(TU_read("rw.txt"), "první\r\na\r\nb");
}

// Mode 2 writes lines but reads text items, through the same translation.
TEST(Fi, TextItemsInMode2)
{
    TU_SCRATCH scratch;
    FILE_OBJ f("items.txt");
    ASSERT_EQ(FI_open(f, FI_TEXT_CREATE), 1);
    std::string item = text_item("a\nb");
    ASSERT_EQ(FI_write(f, item.data(), static_cast<int32_t>(item.size())), 1);
    ASSERT_EQ(FI_seek(f, 0), 1);
    char text[10];
    ASSERT_EQ(FI_read_text(f, text, 9), 1);
    EXPECT_STREQ(text, "a\nb");
    FI_close(f, 0);
    EXPECT_EQ(TU_read("items.txt"), std::string("\x84\x03\r\n\0", 5) + le32(3) + "a\r\nb");
    EXPECT_TRUE(TU_reports().empty());
}

#if !TRK_WINDOWS
// A full disk: a write that cannot be stored at once, and one that fails only
// when the stream's buffer is written out at the close.
TEST(Fi, FullDiskIsAWriteFailure)
{
    FILE_OBJ f("/dev/full");
    ASSERT_EQ(FI_open(f, FI_BIN_CREATE), 1);
    std::string big(100000, 'b');
    EXPECT_EQ(FI_write(f, big.data(), static_cast<int32_t>(big.size())), 0);
    expect_one_report(WE_KIND_ERROR, "Do souboru /dev/full nelze zapisovat (plný disk?)", "big write");
    FI_close(f, 0);
    TU_clear_reports();
    ASSERT_EQ(FI_open(f, FI_TEXT_CREATE), 1);
    EXPECT_EQ(FI_write_text(f, "short"), 1);
    EXPECT_EQ(FI_close(f, 0), 0);
    expect_one_report(WE_KIND_ERROR, "Do souboru /dev/full nelze zapisovat (plný disk?)", "close");
    EXPECT_EQ(f.f->mode, FI_CLOSED);
}
#endif

TEST(Fi, TextItemsAndBlocksReadBack)
{
    std::string stream = text_item("abc") + text_item("") + text_item("0123456789AB") + block_item("xyz") +
                         text_item("dlouhý") + text_item("") + block_item("q");
    FILE_OBJ f;
    ASSERT_EQ(FI_open_memory(f, stream.data(), static_cast<int32_t>(stream.size())), 1);
    char buffer[11];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(FI_read_text(f, buffer, 10), 1);
    // Blanks up to the maximum, the text and its terminator.
    EXPECT_EQ(std::string(buffer, 11), std::string("abc\0      \0", 11));
    ASSERT_EQ(FI_read_text(f, buffer, 10), 1);
    EXPECT_STREQ(buffer, "");

    // Longer than the maximum: internal error, nothing read after the header.
    int32_t at = FI_tell(f);
    EXPECT_EQ(FI_read_text(f, buffer, 10), 0);
    expect_one_report(WE_KIND_INTERNAL, "", "item too long");
    EXPECT_EQ(FI_tell(f), at + 8);
    ASSERT_EQ(FI_skip(f, 0), 0);   // a relative seek in memory: internal error, fails
    ASSERT_EQ(FI_seek(f, at + 8 + 12), 1);

    TU_clear_reports();
    char block[3];
    EXPECT_EQ(FI_read_block(f, block, 3), 1);
    EXPECT_EQ(std::string(block, 3), "xyz");
    char *text = nullptr;
    ASSERT_EQ(FI_read_text_alloc(f, &text), 1);
    EXPECT_STREQ(text, "dlouhý");
    ST_free(&text);
    ASSERT_EQ(FI_read_text_alloc(f, &text), 1);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(FI_read_block(f, block, 2), 0);   // length 1 is not 2
    expect_one_report(WE_KIND_INTERNAL, "", "block length");
}

// Each failure shows exactly one report of the right kind and text.
TEST(Fi, FailuresShowTheirReports)
{
    TU_SCRATCH scratch;
    TU_write("short.bin", "12345");
    const std::string OPEN_FAILED = "Soubor chybí.txt nelze otevřít";
    const std::string READ_FAILED = "Ze souboru short.bin nelze číst";
    const std::string SILENT = "(no report)";
    struct CASE {
        const char *what;
        std::function<int16_t()> act;
        int16_t result;
        WE_KIND kind;
        std::string text;   // exact for user messages; internal errors: the prefix is checked
    } const cases[] = {
        {"missing file", [] { FILE_OBJ f("chybí.txt"); return FI_open(f, FI_TEXT_READ); }, 0, WE_KIND_ERROR,
         OPEN_FAILED},
        {"short read",
         [] {
             FILE_OBJ f("short.bin");
             char b[6];
             FI_open(f, FI_BIN_READ);
             return FI_read(f, b, 6);
         },
         0, WE_KIND_ERROR, READ_FAILED},
        {"read on a closed object", [] { FILE_OBJ f("short.bin"); char b[2]; return FI_read(f, b, 2); }, 0,
         WE_KIND_SWITCH, ""},
        {"write in mode 5",
         [] {
             FILE_OBJ f("short.bin");
             FI_open(f, FI_BIN_READ);
             return FI_write(f, "x", 1);
         },
         0, WE_KIND_INTERNAL, ""},
        {"read in mode 6",
         [] {
             FILE_OBJ f("new.bin");
             char b[1];
             FI_open(f, FI_BIN_CREATE);
             return FI_read(f, b, 1);
         },
         0, WE_KIND_INTERNAL, ""},
        {"count 0", [] { FILE_OBJ f; FI_open(f, FI_MEM_WRITE); return FI_write(f, "x", 0); }, 0, WE_KIND_INTERNAL, ""},
        {"null buffer", [] { FILE_OBJ f; FI_open(f, FI_MEM_WRITE); return FI_write_block(f, nullptr, 3); }, 0,
         WE_KIND_INTERNAL, ""},
        {"mode 0", [] { FILE_OBJ f("x"); return FI_open(f, 0); }, 0, WE_KIND_SWITCH, ""},
        {"mode 12", [] { FILE_OBJ f("x"); return FI_open(f, 12); }, 0, WE_KIND_INTERNAL, ""},
        {"mode 14", [] { FILE_OBJ f("x"); return FI_open(f, 14); }, 0, WE_KIND_INTERNAL, ""},
        {"mode 15", [] { FILE_OBJ f("x"); return FI_open(f, 15); }, 0, WE_KIND_SWITCH, ""},
        {"empty name", [] { FILE_OBJ f; return FI_open(f, FI_BIN_CREATE); }, 0, WE_KIND_INTERNAL, ""},
        {"mode 10 without buffer", [] { FILE_OBJ f; return FI_open(f, FI_MEM_READ); }, 0, WE_KIND_INTERNAL, ""},
        {"text line in mode 1",
         [] {
             FILE_OBJ f("short.bin");
             FI_open(f, FI_TEXT_READ);
             return FI_write_text(f, "x");
         },
         0, WE_KIND_INTERNAL, ""},
        {"text in mode 10",
         [] {
             FILE_OBJ f;
             FI_open_memory(f, "abc", 3);
             return FI_write_text(f, "x");
         },
         0, WE_KIND_INTERNAL, ""},
        {"read text in mode 11", [] { FILE_OBJ f; char b[5]; FI_open(f, FI_MEM_WRITE); return FI_read_text(f, b, 4); },
         0, WE_KIND_INTERNAL, ""},
        {"read some in memory",
         [] {
             FILE_OBJ f;
             char b[2];
             int32_t n = 7;
             FI_open_memory(f, "abc", 3);
             int16_t r = FI_read_some(f, b, 2, &n);
             return static_cast<int16_t>(n == 0 ? r : 9);
         },
         0, WE_KIND_INTERNAL, ""},
        {"get memory of a file",
         [] {
             FILE_OBJ f("short.bin");
             uint8_t *b;
             int32_t c, l;
             FI_open(f, FI_BIN_READ);
             return FI_get_memory(f, &b, &c, &l);
         },
         0, WE_KIND_INTERNAL, ""},
        {"open twice",
         [] {
             FILE_OBJ f("short.bin");
             FI_open(f, FI_BIN_READ);
             return FI_open(f, FI_BIN_READ);
         },
         0, WE_KIND_INTERNAL, ""},
        {"destroy null", [] { C_FILE *f = nullptr; return FI_destroy(&f); }, 0, WE_KIND_INTERNAL, ""},
        {"name too long",
         [] {
             C_FILE *f = nullptr;
             std::string n(1025, 'n');
             int16_t r = FI_create(&f, n.c_str());
             return static_cast<int16_t>(r + (f != nullptr));
         },
         0, WE_KIND_INTERNAL, ""},
        {"write header in mode 10",
         [] {
             FILE_OBJ f;
             uint8_t h[FI_HEADER_SIZE] = {};
             FI_open_memory(f, "abc", 3);
             return FI_write_header(f, h);
         },
         0, WE_KIND_ERROR, SILENT},
        {"read past a lent buffer",
         [] {
             FILE_OBJ f;
             char b[4];
             FI_open_memory(f, "abc", 3);
             return FI_read(f, b, 4);
         },
         0, WE_KIND_ERROR, SILENT},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(c.act(), c.result) << c.what;
        if (c.text == SILENT)
            EXPECT_TRUE(TU_reports().empty()) << c.what;
        else
            expect_one_report(c.kind, c.text, c.what);
    }
}

TEST(Fi, SizeLeavesTheNextReadAtTheEnd)
{
    TU_SCRATCH scratch;
    TU_write("data.bin", "abcdef");
    FILE_OBJ f("data.bin");
    ASSERT_EQ(FI_open(f, FI_BIN_READ), 1);
    char b[4];
    ASSERT_EQ(FI_read(f, b, 2), 1);
    EXPECT_EQ(FI_size(f), 6);
    int32_t n = -1;
    EXPECT_EQ(FI_read_some(f, b, 4, &n), 0);
    EXPECT_EQ(n, 0);
    ASSERT_EQ(FI_seek(f, 4), 1);
    EXPECT_EQ(FI_read_some(f, b, 4, &n), 1);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(FI_skip(f, -3), 1);
    EXPECT_EQ(FI_tell(f), 3);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Fi, DesignFileTest)
{
    TU_SCRATCH scratch;
    const std::string design = std::string("R4400 Design file \r\n\x1A\0", 22) + std::string(58, 'd');
    struct CASE {
        const char *what;
        std::string content;
        int16_t result;
        bool read_message;
    } const cases[] = {
        {"design file of 80 bytes", design, 1, false},
        {"79 bytes", design.substr(0, 79), 0, true},
        {"other text", "R4400 Design file \n\x1A" + std::string(60, '\0'), 0, false},
        {"no zero after the mark", std::string("R4400 Design file \r\n\x1A!", 22) + std::string(58, '\0'), 0, false},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        TU_write("d.dsn", "HEAD" + c.content);
        FILE_OBJ f("d.dsn");
        ASSERT_EQ(FI_open(f, FI_BIN_READ), 1);
        ASSERT_EQ(FI_seek(f, 4), 1);
        EXPECT_EQ(FI_is_design_file(f), c.result) << c.what;
        EXPECT_EQ(FI_tell(f), 4) << c.what;
        if (c.read_message)
            expect_one_report(WE_KIND_ERROR, "Ze souboru d.dsn nelze číst", c.what);
        else
            EXPECT_TRUE(TU_reports().empty()) << c.what;
    }
}

// Stored marks: version 4 -> 5, years 1997 to 2002 -> 2003.
TEST(Fi, HeaderRecordsAgainstAnExpectedHeader)
{
    TU_SCRATCH scratch;
    struct CASE {
        const char *version;
        const char *year;
        int16_t result;
    } const cases[] = {
        {"5", "2003", 1}, {"4", "1997", 1}, {"5", "1998", 1}, {"4", "1999", 1}, {"5", "2000", 1},
        {"5", "2001", 1}, {"5", "2002", 1}, {"3", "2003", 0}, {"5", "1996", 0}, {"5", "2004", 0},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        std::vector<uint8_t> stored = make_header(c.version, c.year);
        {
            FILE_OBJ w("h.dat");
            ASSERT_EQ(FI_open(w, FI_BIN_CREATE), 1);
            ASSERT_EQ(FI_write_header(w, stored.data()), 1);
            ASSERT_EQ(FI_write(w, "rest", 4), 1);
        }
        std::vector<uint8_t> expected = make_header("5", "2003");
        expected[80] = 0x55;   // past the zero byte: not compared, but overwritten on success
        FILE_OBJ f("h.dat");
        ASSERT_EQ(FI_open(f, FI_BIN_READ), 1);
        EXPECT_EQ(FI_read_header(f, expected.data()), c.result) << c.year;
        if (c.result) {
            EXPECT_EQ(expected[80], 1) << c.year;
            EXPECT_EQ(f.f->data_start, FI_HEADER_SIZE);
            EXPECT_EQ(std::memcmp(expected.data(), make_header("5", "2003").data(), 80), 0) << c.year;
            EXPECT_TRUE(TU_reports().empty()) << c.year;
        } else {
            EXPECT_EQ(f.f->mode, FI_CLOSED) << c.year;
            expect_one_report(WE_KIND_ERROR, "Chybný soubor h.dat (hlavička)", c.year);
        }
    }
    // A file too short for a header.
    TU_clear_reports();
    TU_write("h.dat", "short");
    FILE_OBJ f("h.dat");
    ASSERT_EQ(FI_open(f, FI_BIN_READ), 1);
    EXPECT_EQ(FI_read_header(f, nullptr), 0);
    expect_one_report(WE_KIND_ERROR, "Chybný soubor h.dat (hlavička)", "short");

    // Memory: the record as it is, no comparison.
    std::vector<uint8_t> stored = make_header("4", "1998");
    FILE_OBJ m;
    ASSERT_EQ(FI_open_memory(m, stored.data(), FI_HEADER_SIZE), 1);
    std::vector<uint8_t> out(FI_HEADER_SIZE, 0xEE);
    ASSERT_EQ(FI_read_header(m, out.data()), 1);
    EXPECT_EQ(out, stored);
    EXPECT_EQ(m.f->data_start, FI_HEADER_SIZE);
}

TEST(Fi, CopyFromPositions)
{
    TU_SCRATCH scratch;
    std::string data(1500, 0);
    for (size_t i = 0; i < data.size(); i++)
        data[i] = static_cast<char>(i * 7);
    TU_write("src.bin", data);
    FILE_OBJ src("src.bin"), dst("dst.bin");
    ASSERT_EQ(FI_open(src, FI_BIN_READ), 1);
    ASSERT_EQ(FI_open(dst, FI_BIN_CREATE), 1);
    ASSERT_EQ(FI_write(dst, "<", 1), 1);
    ASSERT_EQ(FI_copy_from(dst, src, 100, 1300), 1);   // three chunks of 512 and less
    FI_close(dst, 0);
    EXPECT_EQ(TU_read("dst.bin"), "<" + data.substr(100, 1300));

    // Past the end of the source.
    TU_clear_reports();
    FILE_OBJ mem;
    ASSERT_EQ(FI_open(mem, FI_MEM_WRITE), 1);
    EXPECT_EQ(FI_copy_from(mem, src, 1000, 501), 0);
    expect_one_report(WE_KIND_ERROR, "Chyba kopírování - čtení !", "copy past the end");

    // Mode 9 only counts.
    struct CASE {
        int32_t position, length, from, count, new_position, new_length;
    } const cases[] = {
        {50, 100, 10, 20, 50, 100},     // inside: nothing changes
        {50, 100, 90, 20, 110, 110},    // passes the end: from + count
        {50, 100, 100, 20, 70, 70},     // at the end: position + count
        {100, 100, 120, 20, 120, 120},
    };
    for (const CASE &c : cases) {
        FILE_OBJ count;
        ASSERT_EQ(FI_open(count, FI_MEM_COUNT), 1);
        ASSERT_EQ(FI_seek(count, c.length), 1);
        ASSERT_EQ(FI_seek(count, c.position), 1);
        EXPECT_EQ(FI_copy_from(count, src, c.from, c.count), 1);
        EXPECT_EQ(count.f->mem_position, c.new_position) << c.from;
        EXPECT_EQ(count.f->mem_length, c.new_length) << c.from;
    }
}

TEST(Fi, EmbeddedFilesStoreAndExtract)
{
    TU_SCRATCH scratch;
    std::string data(45000, 0);
    for (size_t i = 0; i < data.size(); i++)
        data[i] = static_cast<char>(i % 253);
    TU_write("in.bin", data);
    TU_write("empty.bin", "");

    FILE_OBJ mem, count;
    ASSERT_EQ(FI_open(mem, FI_MEM_WRITE), 1);
    ASSERT_EQ(FI_open(count, FI_MEM_COUNT), 1);
    ASSERT_EQ(FI_store_file(mem, "in.bin"), 1);
    ASSERT_EQ(FI_store_file(mem, "empty.bin"), 1);
    ASSERT_EQ(FI_store_file(count, "in.bin"), 1);
    EXPECT_EQ(count.f->mem_length, 4 + 45000);
    uint8_t *buffer;
    int32_t capacity, length;
    ASSERT_EQ(FI_get_memory(mem, &buffer, &capacity, &length), 1);
    ASSERT_EQ(length, 4 + 45000 + 4);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), length), le32(45000) + data + le32(0));

    // Into a subdirectory, replacing an older file, through file.$$$ beside it.
    ASSERT_EQ(FE_make_path("sub"), 1);
    TU_write(scratch.file("sub") + TU_SEP + "out.bin", "old");
    FILE_OBJ in;
    ASSERT_EQ(FI_open_memory(in, buffer, length), 1);
    ASSERT_EQ(FI_extract_file(in, "sub\\out.bin"), 1);
    ASSERT_EQ(FI_extract_file(in, "empty.out"), 1);
    EXPECT_EQ(TU_read(scratch.file("sub") + TU_SEP + "out.bin"), data);
    EXPECT_TRUE(TU_exists("empty.out"));
    EXPECT_EQ(TU_read("empty.out"), "");
    EXPECT_FALSE(TU_exists(scratch.file("sub") + TU_SEP + "file.$$$"));
    EXPECT_FALSE(TU_exists("file.$$$"));
    EXPECT_EQ(FI_extract_file(in, "more.bin"), 0);   // nothing left: fails silently
    EXPECT_FALSE(TU_exists("more.bin"));

    // A length that passes the buffer is not trusted.
    std::string bad = le32(100) + "abc";
    FILE_OBJ b;
    ASSERT_EQ(FI_open_memory(b, bad.data(), static_cast<int32_t>(bad.size())), 1);
    EXPECT_EQ(FI_extract_file(b, "bad.bin"), 0);
    EXPECT_FALSE(TU_exists("bad.bin"));
    EXPECT_TRUE(TU_reports().empty());

    // A missing file to embed.
    EXPECT_EQ(FI_store_file(mem, "nic.bin"), 0);
    expect_one_report(WE_KIND_ERROR, "Soubor nic.bin nelze otevřít", "missing");
}

TEST(Fi, CloseRemovesAlsoWhenNotOpen)
{
    TU_SCRATCH scratch;
    TU_write("gone.txt", "x");
    FILE_OBJ f("gone.txt");
    EXPECT_EQ(FI_close(f, 1), 1);
    EXPECT_FALSE(TU_exists("gone.txt"));
    EXPECT_TRUE(TU_reports().empty());
    C_FILE *p = f.f;
    f.f = nullptr;
    EXPECT_EQ(FI_destroy(&p), 1);
    EXPECT_EQ(p, nullptr);
}

// Opens and closes are logged in DATA.FI; the 26th open still works.
TEST(Fi, StatisticsLogOpensAndCloses)
{
    TU_SCRATCH scratch;
    FI_stat_begin();
    std::vector<C_FILE *> files(26, nullptr);
    std::string expected = "Statistika otevrenych souboru\r\n";
    for (int i = 0; i < 26; i++) {
        char name[20];
        std::snprintf(name, sizeof name, "f%02d.bin", i + 1);
        ASSERT_EQ(FI_create(&files[i], name), 1);
        ASSERT_EQ(FI_open(files[i], FI_BIN_CREATE), 1) << name;
        expected += std::string("Otevreni souboru ") + name + " v rezimu wb\r\n";
    }
    expected += "!!! Bylo otevreno vice nez 25 souboru !!!\r\n";
    FI_close(files[25], 0);
    expected += "!!! Zavirany soubor nebyl otevren\r\n";
    FI_set_name(files[0], "jiny.bin");
    FI_close(files[0], 0);
    expected += "Zavreni souboru jiny.bin otevreneho jako f01.bin\r\n";
    {
        FILE_OBJ missing("nic.txt");
        EXPECT_EQ(FI_open(missing, FI_TEXT_UPDATE), 0);
        expected += "Otevreni souboru nic.txt v rezimu r+t\r\n!!! Neuspesne otevreni souboru nic.txt\r\n";
    }
    {
        FILE_OBJ again("f02.bin");   // a freed entry is taken again
        ASSERT_EQ(FI_open(again, FI_TEXT_READ), 1);
        expected += "Otevreni souboru f02.bin v rezimu rt\r\n";
    }
    expected += "Zavreni souboru f02.bin otevreneho jako f02.bin\r\n";
    for (int i = 1; i < 25; i++) {
        char name[20];
        std::snprintf(name, sizeof name, "f%02d.bin", i + 1);
        expected += std::string("!!! Nebyl uzavren soubor ") + name;
    }
    expected += "Konec statistiky otevrenych souboru";
    testing::internal::CaptureStdout();
    FI_stat_end();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Statistika otevrenych souboru : DATA.FI\n");
    for (C_FILE *&f : files)
        FI_destroy(&f);
    EXPECT_EQ(TU_read("DATA.FI"), expected);
    expect_one_report(WE_KIND_ERROR, "Soubor nic.txt nelze otevřít", "missing");
}
