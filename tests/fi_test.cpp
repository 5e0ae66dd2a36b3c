#include "common/fi.h"

#include <cstring>
#include <optional>

#include "common/config.h"
#include "common/fe.h"
#include "common/mm.h"
#include "common/st.h"
#include "tests/testutil.h"

namespace {

// The file objects of a test, destroyed at its end. open does not check: some tests look at its failures.
struct FILES {
    std::vector<C_FILE *> made;
    C_FILE *make(const char *name = nullptr)
    {
        made.push_back(nullptr);
        EXPECT_EQ(FI_create(&made.back(), name), 1);
        return made.back();
    }
    C_FILE *open(const char *name, int16_t mode)
    {
        FI_open(make(name), mode);
        return made.back();
    }
    ~FILES()
    {
        for (C_FILE *&f : made)
            EXPECT_TRUE(FI_destroy(&f) == 1 && !f);
    }
};

std::string text_item(const std::string &text) { return "\x84\x03\x0A" + TU_le(0, 1) + TU_le(text.size(), 4) + text; }
std::string block_item(const std::string &data) { return "\x20\x03\x0A" + TU_le(0, 1) + TU_le(data.size(), 4) + data; }

// A header record: a text in its first bytes, the version digit at 11, the year at 16 to 19.
std::vector<uint8_t> make_header(const char *version, const char *year)
{
    std::string text = std::string("DESIGN HDR ") + version + " Y: " + year + " END";
    text.resize(FI_HEADER_SIZE);
    return std::vector<uint8_t>(text.begin(), text.end());
}

// The bytes of a memory stream's buffer ("" without one).
std::string memory_of(C_FILE *f)
{
    uint8_t *buffer = nullptr;
    int32_t capacity = 0, length = 0;
    EXPECT_EQ(FI_get_memory(f, &buffer, &capacity, &length), 1);
    return buffer ? std::string(reinterpret_cast<char *>(buffer), static_cast<size_t>(length)) : "";
}

typedef TU_V V;

// The reports since the last clear: none for a null text, else exactly one, a user message by its exact text, an
// internal or switch error naming the module.
void expect_report(WE_KIND kind, const char *text, const std::string &what)
{
    if (text && (kind == WE_KIND_INTERNAL || kind == WE_KIND_SWITCH)) {
        EXPECT_TRUE(TU_one_error("..\\common\\fi", kind)) << what;
        return;
    }
    ASSERT_EQ(TU_reports().size(), text ? 1u : 0u) << what;
    EXPECT_EQ(text ? TU_reports()[0].kind : kind, kind) << what;
    EXPECT_EQ(text ? TU_reports()[0].text : "", text ? text : "") << what;
}

}  // namespace

// Every write of every writable mode, byte for byte on disk; a binary write without a file before it also in a
// mode-11 stream (the same bytes) and a mode-9 one (their number).
TEST(Fi, WritesPutExactBytes)
{
    TU_SCRATCH scratch;
    const std::string line_161(161, 'x'), line_160(160, 'y');
    std::vector<uint8_t> header = make_header("5", "2003");
    std::string h_bin(header.begin(), header.end());
    h_bin[80] = 1;
    const auto header_and_items = [&](C_FILE *f) {
        header = make_header("4", "1998");
        const bool ok = FI_write_header(f, header.data()) && FI_write_text(f, "první") &&
                        FI_write_block(f, "\xFF\x00\x7F", 3) && FI_write_text(f, "");
        return static_cast<int16_t>(ok && f->data_start == FI_HEADER_SIZE);
    };
    std::string h98_items(h_bin);
    h98_items.replace(11, 1, "4").replace(16, 4, "1998");
    h98_items += text_item("první") + block_item("\xFF" + std::string(1, 0) + "\x7F") + text_item("");
    typedef std::function<int16_t(C_FILE *)> ACT;
    const ACT second_line_x = [](C_FILE *f) {
        char b[50];
        return int16_t(FI_read_text(f, b, 49) && FI_write_text(f, "X"));
    };
    // before: the file before the open (modes 4, 8)
    struct CASE { int16_t mode; const char *before; ACT act; std::string expected; } const cases[] = {
        {2, nullptr, [](C_FILE *f) { return FI_write_text(f, "Řádek 1"); }, "Řádek 1\r\n"},
        {3, nullptr, [](C_FILE *f) { return FI_write_text(f, ""); }, "\r\n"},
        {2, nullptr, [&](C_FILE *f) { return FI_write_text(f, line_161.c_str()); }, std::string(160, 'x') + "\r\n"},
        {3, nullptr, [&](C_FILE *f) { return FI_write_text(f, line_160.c_str()); }, line_160 + "\r\n"},
        {2, nullptr, [](C_FILE *f) { return FI_write(f, "a\nb\n\n", 5); }, "a\r\nb\r\n\r\n"},
        {4, "line1\r\nline2\r\n", second_line_x, "line1\r\nX\r\ne2\r\n"},   // overwrites in place
        {2, nullptr, [&](C_FILE *f) { return FI_write_header(f, header.data()); }, "DESIGN HDR 5 Y: 2003 END\r\n"},
        {6, nullptr, [](C_FILE *f) { return FI_write_text(f, "Ahoj\n"); }, text_item("Ahoj\n")},
        {7, nullptr, [](C_FILE *f) { return FI_write_text(f, ""); }, text_item("")},
        {6, nullptr, [](C_FILE *f) { return FI_write_block(f, "\0\1\2", 3); }, block_item(std::string("\0\1\2", 3))},
        {7, nullptr, [](C_FILE *f) { return FI_write(f, "a\nb", 3); }, "a\nb"},
        {8, "0123456789", [](C_FILE *f) { return int16_t(FI_seek(f, 4) && FI_write(f, "ab", 2)); }, "0123ab6789"},
        {6, nullptr, [&](C_FILE *f) { return FI_write_header(f, header.data()); }, h_bin},
        {6, nullptr, header_and_items, h98_items},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        header = make_header("5", "2003");
        if (c.before)
            TU_write("out.dat", c.before);
        FILES files;
        C_FILE *f = files.make("out.dat");
        EXPECT_EQ((V{FI_open(f, c.mode), c.act(f), FI_close(f, 0)}), (V{1, 1, 1})) << c.expected;
        EXPECT_EQ(TU_read("out.dat"), c.expected);
        EXPECT_EQ((V{FI_close(f, 1), TU_exists("out.dat")}), (V{1, 0})) << c.expected;
        if (c.mode >= FI_BIN_CREATE && !c.before) {   // writing the header again sets the same bit
            C_FILE *mem = files.open(nullptr, FI_MEM_WRITE), *count = files.open(nullptr, FI_MEM_COUNT);
            EXPECT_EQ((V{c.act(mem), c.act(count), FI_size(count)}), (V{1, 1, int64_t(c.expected.size())}));
            EXPECT_EQ(memory_of(mem), c.expected);
            EXPECT_EQ(memory_of(count), "");   // no buffer
        }
        EXPECT_TRUE(TU_reports().empty()) << c.expected;
    }
}

// A new file takes its name while open and is written on under it; a name
// already taken is not (on Windows: the caller removes the older file first).
TEST(Fi, NewFileTakesItsNameWhileOpen)
{
    TU_SCRATCH scratch;
    for (const bool taken : {false, true}) {
        TU_clear_reports();
        if (taken)
            TU_write("final.dat", "old");
        C_FILE *f = nullptr;
        ASSERT_EQ(FI_create_open_new(&f, "final.dat.$$$"), 1);
        const int16_t renamed = FI_rename_open(f, "final.dat");
        EXPECT_EQ(renamed, taken && TRK_WINDOWS ? 0 : 1) << taken;
        EXPECT_EQ(std::string(f->name), renamed ? "final.dat" : "final.dat.$$$");
        EXPECT_EQ((V{FI_write(f, "new", 3), FI_close(f, 0), FI_destroy(&f)}), (V{1, 1, 1}));
        EXPECT_EQ((V{TU_exists("final.dat.$$$")}), (V{!renamed}));
        EXPECT_EQ(TU_read("final.dat"), renamed ? "new" : "old");
        EXPECT_TRUE(TU_reports().empty());
        FE_remove("final.dat");
        FE_remove("final.dat.$$$");
    }
}

// Pieces of 7 bytes written across the 20000-byte steps of a mode-11 buffer, overwritten (the position moves,
// not the length), read back in pieces of 13 in mode 10 up to the capacity; in one write several steps at once;
// a seek past the capacity; the buffer handed out: the next write takes a fresh one.
TEST(Fi, MemoryStreamGrowsInSteps)
{
    FILES files;
    C_FILE *f = files.open(nullptr, FI_MEM_WRITE), *g = files.open(nullptr, FI_MEM_WRITE);
    std::string all(45003, 0), back;
    for (size_t i = 0; i < all.size(); i++)
        all[i] = static_cast<char>(i);
    for (size_t at = 0; at < all.size(); at += 7)
        ASSERT_EQ(FI_write(f, all.data() + at, 7), 1);
    const int64_t length = static_cast<int64_t>(all.size());
    EXPECT_EQ((V{f->mem_capacity, FI_tell(f), FI_size(f)}), (V{3 * FI_MEMORY_STEP, length, length}));
    EXPECT_EQ((V{FI_seek(f, 3), FI_write(f, "XY", 2), FI_tell(f), f->mem_length}), (V{1, 1, 5, length}));
    all.replace(3, 2, "XY");
    char piece[13];
    ASSERT_EQ(FI_open(f, FI_MEM_READ), 1);   // the buffer left by mode 11
    while (back.size() + 13 <= all.size() && FI_read(f, piece, 13))
        back.append(piece, 13);
    EXPECT_EQ(back, all.substr(0, all.size() / 13 * 13));
    EXPECT_EQ((V{FI_seek(f, 3 * FI_MEMORY_STEP - 5), FI_read(f, piece, 5), FI_read(f, piece, 1)}), (V{1, 1, 0}));

    uint8_t *buffer;
    int32_t capacity, size;
    ASSERT_EQ(FI_write(g, all.data(), static_cast<int32_t>(length)), 1);
    EXPECT_EQ((V{FI_get_memory(g, &buffer, &capacity, &size), capacity}), (V{1, 3 * FI_MEMORY_STEP}));
    EXPECT_EQ((V{FI_seek(g, 70001), FI_get_memory(g, &buffer, &capacity, &size), capacity, size, buffer[70000]}),
              (V{1, 1, 80000, 70001, 0}));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), all.size()), all);
    EXPECT_EQ((V{FI_set_memory(g, nullptr, 0, 0), FI_seek(g, 0), FI_write(g, "z", 1), g->mem_capacity}),
              (V{1, 1, 1, FI_MEMORY_STEP}));
    MM_free(buffer, "test", __LINE__);
    EXPECT_TRUE(TU_reports().empty());
}

// Lines of the text modes: CR LF or LF, at most 200 characters a line, cut to the maximum. Raw reads and writes
// in a text mode translate line ends; mode 2 writes lines but reads text items.
TEST(Fi, TextModes)
{
    TU_SCRATCH scratch;
    const std::string l250 = std::string(200, 'a') + std::string(50, 'b'), l200(200, 'c');
    struct CASE { std::string content; int16_t maximum; std::vector<std::string> lines; } const cases[] = {
        {"one\r\ntwo\r\n", 100, {"one", "two"}}, {"one\ntwo\n", 100, {"one", "two"}},
        {"one\r\ntwo", 100, {"one", "two"}}, {"\r\n\n\r\nx\n", 100, {"", "", "", "x"}},
        {"a\rb\r\n", 100, {"a\rb"}},   // a lone CR stays
        {"abcdefgh\r\nij\r\n", 5, {"abcde", "ij"}},
        {l250 + "\r\nz\r\n", 250, {l250.substr(0, 200), l250.substr(200), "z"}}, {l200 + "\r\nz\n", 250, {l200, "z"}},
        {l200 + "\nz", 250, {l200, "z"}}, {l200 + "\rz\n", 250, {l200, "\rz"}}, {"", 100, {}},
        // After exactly 200 characters: blanks and tabs up to the line end are no rest; anything else is.
        {l200 + " \t \r\nz\r\n", 250, {l200, "z"}}, {l200 + "\t\t\nz", 250, {l200, "z"}}, {l200 + "  ", 250, {l200}},
        {l200 + " \tx\r\nz", 250, {l200, " \tx", "z"}}, {l200 + " \rz\r\n", 250, {l200, " \rz"}},
        {l200 + "d\r\nz", 250, {l200, "d", "z"}},
    };
    FILES files;
    for (const CASE &c : cases) {
        TU_write("lines.txt", c.content);
        C_FILE *f = files.make("lines.txt");
        ASSERT_EQ(FI_open(f, FI_TEXT_READ), 1) << c.content;
        std::vector<std::string> got;
        std::vector<char> buffer(static_cast<size_t>(c.maximum) + 1);
        while (FI_read_text(f, buffer.data(), c.maximum))
            got.push_back(buffer.data());
        EXPECT_EQ(got, c.lines) << c.content;
        FI_close(f, 0);
    }
    C_FILE *f = files.open("rw.txt", FI_TEXT_CREATE_RW), *g = files.open("items.txt", FI_TEXT_CREATE);
    char line[201], raw[3];
    EXPECT_EQ((V{FI_write_text(f, "první"), FI_write(f, "a\nb", 3), FI_size(f), FI_seek(f, 0),
                 FI_read_text(f, line, 200)}),
              (V{1, 1, 11, 1, 1}));   // CP1250: one byte a letter
    EXPECT_STREQ(line, "první");
    EXPECT_EQ((V{FI_read(f, raw, 3), FI_read_text(f, line, 200), FI_close(f, 0)}), (V{1, 0, 1}));
    EXPECT_EQ(std::string(raw, 3), "a\nb");
    EXPECT_EQ(TU_read("rw.txt"), "první\r\na\r\nb");
    const std::string item = text_item("a\nb");
    EXPECT_EQ((V{FI_write(g, item.data(), 11), FI_seek(g, 0), FI_read_text(g, line, 9), FI_close(g, 0)}),
              (V{1, 1, 1, 1}));
    EXPECT_STREQ(line, "a\nb");
    EXPECT_EQ(TU_read("items.txt"), std::string("\x84\x03\r\n\0", 5) + TU_le(3, 4) + "a\r\nb");
    EXPECT_TRUE(TU_reports().empty());
}

#if !TRK_WINDOWS
// A full disk: a write that cannot be stored at once, and one that fails only when the stream's buffer is
// written out at the close.
TEST(Fi, FullDiskIsAWriteFailure)
{
    FILES files;
    C_FILE *f = files.open("/dev/full", FI_BIN_CREATE);
    const std::string big(100000, 'b'), full = "Do souboru /dev/full nelze zapisovat (plný disk?)";
    ASSERT_EQ(f->mode, FI_BIN_CREATE);
    EXPECT_EQ(FI_write(f, big.data(), static_cast<int32_t>(big.size())), 0);
    expect_report(WE_KIND_ERROR, full.c_str(), "big write");
    TU_clear_reports();
    EXPECT_EQ((V{FI_write(f, "x", 1), FI_flush(f), FI_close(f, 0)}), (V{1, 0, 0}));   // said once
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ((V{FI_open(f, FI_TEXT_CREATE), FI_write_text(f, "short"), FI_close(f, 0), f->mode}),
              (V{1, 1, 0, FI_CLOSED}));
    expect_report(WE_KIND_ERROR, full.c_str(), "close");
}
#endif

// Items read from a memory stream (padded texts, empty ones, blocks of their exact length) and bytes from a file.
TEST(Fi, ReadsOfItemsAndBytes)
{
    TU_SCRATCH scratch;
    const std::string stream = text_item("abc") + text_item("") + text_item("0123456789AB") + block_item("xyz") +
                               text_item("dlouhý") + text_item("") + block_item("q");
    FILES files;
    C_FILE *f = files.make();
    ASSERT_EQ(FI_open_memory(f, stream.data(), static_cast<int32_t>(stream.size())), 1);
    char buffer[11], block[3], *text = nullptr, *none = buffer;
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(FI_read_text(f, buffer, 10), 1);
    EXPECT_EQ(std::string(buffer, 11), std::string("abc\0      \0", 11));   // blanks up to the maximum, terminated
    EXPECT_EQ((V{FI_read_text(f, buffer, 10), buffer[0], FI_tell(f)}), (V{1, 0, 19}));
    EXPECT_EQ((V{FI_read_text(f, buffer, 10), FI_tell(f)}), (V{0, 27}));   // too long: nothing read after the header
    expect_report(WE_KIND_INTERNAL, "", "item too long");
    TU_expect_failures("..\\common\\fi", {TU_FAILS(FI_skip(f, 0))});   // no relative seek in memory
    EXPECT_EQ((V{FI_seek(f, 39), FI_read_block(f, block, 3), FI_read_text_alloc(f, &text),
                 FI_read_text_alloc(f, &none)}),
              (V{1, 1, 1, 1}));
    EXPECT_EQ(std::string(block, 3), "xyz");
    EXPECT_STREQ(text, "dlouhý");
    EXPECT_EQ(none, nullptr);   // an empty item
    ST_free(&text);
    TU_clear_reports();
    EXPECT_EQ(FI_read_block(f, block, 2), 0);   // length 1 is not 2
    expect_report(WE_KIND_INTERNAL, "", "block length");

    // A file: the size leaves the next read at the end; a read of some bytes fails only when it gets none.
    TU_clear_reports();
    TU_write("data.bin", "abcdef");
    f = files.open("data.bin", FI_BIN_READ);
    int32_t none_read = -1, two_read = -1;
    EXPECT_EQ((V{FI_read(f, buffer, 2), FI_size(f), FI_read_some(f, buffer, 4, &none_read), none_read, FI_seek(f, 4),
                 FI_read_some(f, buffer, 4, &two_read), two_read, FI_skip(f, -3), FI_tell(f)}),
              (V{1, 6, 0, 0, 1, 1, 2, 1, 3}));
    EXPECT_TRUE(TU_reports().empty());
}

// Each failure shows exactly one report of the right kind and text, or none.
TEST(Fi, FailuresShowTheirReports)
{
    TU_SCRATCH scratch;
    TU_write("short.bin", "12345");
    FILES files;
    const auto open = [&](const char *name, int16_t mode) { return files.open(name, mode); };
    const auto lent = [&]() { C_FILE *f = files.make(); FI_open_memory(f, "abc", 3); return f; };   // mode 10
    const auto mode = [&](int16_t m) { return FI_open(files.make("x"), m); };
    char b[8];
    uint8_t h[FI_HEADER_SIZE] = {}, *buffer;
    int32_t n = 7, c, l;
    const std::string long_name(FI_NAME_MAX + 1, 'n');
    const struct { std::function<int16_t()> act; const char *text; } messages[] = {   // text null: silent
        {[&] { return FI_open(files.make("chybí.txt"), FI_TEXT_READ); }, "Soubor chybí.txt nelze otevřít"},
        {[&] { return FI_read(open("short.bin", FI_BIN_READ), b, 6); }, "Ze souboru short.bin nelze číst"},
        {[&] { return FI_write_header(lent(), h); }, nullptr}, {[&] { return FI_read(lent(), b, 4); }, nullptr},
    };
    for (const auto &m : messages) {
        TU_clear_reports();
        EXPECT_EQ(m.act(), 0) << m.text;
        expect_report(WE_KIND_ERROR, m.text, m.text ? m.text : "silent");
    }
    TU_expect_failures("..\\common\\fi", {TU_FAILS(FI_read(files.make("short.bin"), b, 2)), TU_FAILS(mode(0)),
                                          TU_FAILS(mode(15))}, WE_KIND_SWITCH);   // closed; no mode
    C_FILE *none = nullptr, *made = nullptr;
    TU_expect_failures("..\\common\\fi", {
        TU_FAILS(FI_write(open("short.bin", FI_BIN_READ), "x", 1)), TU_FAILS(FI_read(open("n", FI_BIN_CREATE), b, 1)),
        TU_FAILS(FI_write(open(nullptr, FI_MEM_WRITE), "x", 0)), TU_FAILS(mode(12)), TU_FAILS(mode(14)),
        TU_FAILS(FI_write_block(open(nullptr, FI_MEM_WRITE), nullptr, 3)), TU_FAILS(FI_open(files.make(), FI_MEM_READ)),
        TU_FAILS(FI_open(files.make(), FI_BIN_CREATE)),   // no buffer, no name
        TU_FAILS(FI_write_text(open("short.bin", FI_TEXT_READ), "x")), TU_FAILS(FI_write_text(lent(), "x")),
        TU_FAILS(FI_read_text(open(nullptr, FI_MEM_WRITE), b, 4)), TU_FAILS(FI_read_some(lent(), b, 2, &n) ? 9 : n),
        TU_FAILS(FI_get_memory(open("short.bin", FI_BIN_READ), &buffer, &c, &l)),
        TU_FAILS(FI_open(open("short.bin", FI_BIN_READ), FI_BIN_READ)), TU_FAILS(FI_destroy(&none)),
        TU_FAILS(FI_create(&made, long_name.c_str()) ? 9 : made != nullptr),
    });
}

// Stored marks are brought up to date (version 4 -> 5, years 1997 to 2002 -> 2003) before the comparison; a
// difference closes the file. From memory the record comes as it is.
TEST(Fi, HeaderRecordsAndDesignFiles)
{
    TU_SCRATCH scratch;
    struct CASE { const char *version, *year; int16_t result; } const cases[] = {
        {"5", "2003", 1}, {"4", "1997", 1}, {"5", "2002", 1}, {"3", "2003", 0}, {"5", "1996", 0}, {"5", "2004", 0},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        std::vector<uint8_t> stored = make_header(c.version, c.year), expected = make_header("5", "2003");
        stored[80] = 1;   // as written
        TU_write("h.dat", std::string(stored.begin(), stored.end()) + "rest");
        expected[80] = 0x55;   // past the zero byte: not compared, but overwritten on success
        FILES files;
        C_FILE *f = files.open("h.dat", FI_BIN_READ);
        EXPECT_EQ((V{FI_read_header(f, expected.data()), f->mode}), (V{c.result, c.result ? FI_BIN_READ : FI_CLOSED}));
        EXPECT_EQ(c.result ? f->data_start : FI_HEADER_SIZE, FI_HEADER_SIZE) << c.year;   // after a header read
        std::vector<uint8_t> updated = make_header("5", "2003");
        updated[80] = c.result ? 1 : 0x55;
        EXPECT_EQ(expected, updated) << c.year;
        expect_report(WE_KIND_ERROR, c.result ? nullptr : "Chybný soubor h.dat (hlavička)", c.year);
    }
    TU_clear_reports();
    TU_write("h.dat", "short");
    FILES files;
    EXPECT_EQ(FI_read_header(files.open("h.dat", FI_BIN_READ), nullptr), 0);
    expect_report(WE_KIND_ERROR, "Chybný soubor h.dat (hlavička)", "short");
    const std::vector<uint8_t> stored = make_header("4", "1998");
    C_FILE *m = files.make();
    std::vector<uint8_t> out(FI_HEADER_SIZE, 0xEE);
    EXPECT_EQ((V{FI_open_memory(m, stored.data(), FI_HEADER_SIZE), FI_read_header(m, out.data()), m->data_start}),
              (V{1, 1, FI_HEADER_SIZE}));
    EXPECT_EQ(out, stored);

    // The design-file test at a position inside the file, which it keeps.
    const std::string design = std::string("R4400 Design file \r\n\x1A\0", 22) + std::string(58, 'd');
    struct DESIGN { std::string content; int16_t result; const char *message; } const designs[] = {
        {design, 1, nullptr}, {design.substr(0, 79), 0, "Ze souboru d.dsn nelze číst"},
        {"R4400 Design file \n\x1A" + std::string(60, '\0'), 0, nullptr},
        {std::string("R4400 Design file \r\n\x1A!") + std::string(58, '\0'), 0, nullptr},   // no zero after the mark
    };
    for (const DESIGN &c : designs) {
        TU_clear_reports();
        TU_write("d.dsn", "HEAD" + c.content);
        FILES files;
        C_FILE *f = files.open("d.dsn", FI_BIN_READ);
        EXPECT_EQ((V{FI_seek(f, 4), FI_is_design_file(f), FI_tell(f)}), (V{1, c.result, 4})) << c.content.size();
        expect_report(WE_KIND_ERROR, c.message, std::to_string(c.content.size()));
    }
}

// Copies in chunks of 512 bytes and less; past the end of the source: the copy message. A mode-9 target only
// counts: inside it nothing changes, past its end the length follows.
TEST(Fi, CopiesAndEmbeddedFiles)
{
    TU_SCRATCH scratch;
    std::string data(1500, 0);
    for (size_t i = 0; i < data.size(); i++)
        data[i] = static_cast<char>(i * 7);
    TU_write("src.bin", data);
    FILES files;
    C_FILE *src = files.open("src.bin", FI_BIN_READ), *dst = files.open("dst.bin", FI_BIN_CREATE);
    EXPECT_EQ((V{FI_write(dst, "<", 1), FI_copy_from(dst, src, 100, 1300), FI_close(dst, 0)}), (V{1, 1, 1}));
    EXPECT_EQ(TU_read("dst.bin"), "<" + data.substr(100, 1300));
    EXPECT_EQ(FI_copy_from(files.open(nullptr, FI_MEM_WRITE), src, 1000, 501), 0);
    expect_report(WE_KIND_ERROR, "Chyba kopírování - čtení !", "copy past the end");
    const int32_t cases[][6] = {   // position, length, from, count -> position, length
        {50, 100, 10, 20, 50, 100}, {50, 100, 90, 20, 110, 110}, {50, 100, 100, 20, 70, 70},
        {100, 100, 120, 20, 120, 120},
    };
    for (const auto &c : cases) {
        C_FILE *count = files.open(nullptr, FI_MEM_COUNT);
        EXPECT_EQ((V{FI_seek(count, c[1]), FI_seek(count, c[0]), FI_copy_from(count, src, c[2], c[3]),
                     count->mem_position, count->mem_length}),
                  (V{1, 1, 1, c[4], c[5]})) << c[2];
    }

    // Embedded files: a 4-byte length and the bytes (mode 9 counts them), written out into a subdirectory,
    // replacing an older file, through file.$$$ beside it. Nothing left, or a length past the buffer: silent.
    TU_clear_reports();
    std::string big(45000, 0);
    for (size_t i = 0; i < big.size(); i++)
        big[i] = static_cast<char>(i % 253);
    TU_write("in.bin", big);
    TU_write("empty.bin", "");
    C_FILE *mem = files.open(nullptr, FI_MEM_WRITE), *count = files.open(nullptr, FI_MEM_COUNT), *in = files.make();
    EXPECT_EQ((V{FI_store_file(mem, "in.bin"), FI_store_file(mem, "empty.bin"), FI_store_file(count, "in.bin"),
                 count->mem_length}),
              (V{1, 1, 1, 4 + 45000}));
    const std::string stored = memory_of(mem), bad = TU_le(100, 4) + "abc";
    EXPECT_EQ(stored, TU_le(45000, 4) + big + TU_le(0, 4));
    ASSERT_EQ(FE_make_path("sub"), 1);
    const std::string out = scratch.file("sub") + TU_SEP + "out.bin";
    TU_write(out, "old");
    ASSERT_EQ(FI_open_memory(in, stored.data(), static_cast<int32_t>(stored.size())), 1);
    EXPECT_EQ((V{FI_extract_file(in, "sub\\out.bin"), FI_extract_file(in, "empty.out"), FI_extract_file(in, "more.bin"),
                 FI_open_memory(in, bad.data(), static_cast<int32_t>(bad.size())), FI_extract_file(in, "bad.bin")}),
              (V{1, 1, 0, 1, 0}));
    EXPECT_EQ(TU_read(out), big);
    EXPECT_EQ((V{TU_exists("empty.out"), TU_exists(scratch.file("sub") + TU_SEP + "file.$$$"), TU_exists("file.$$$"),
                 TU_exists("more.bin"), TU_exists("bad.bin")}),
              (V{1, 0, 0, 0, 0}));
    EXPECT_EQ(TU_read("empty.out"), "");
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_EQ(FI_store_file(mem, "nic.bin"), 0);
    expect_report(WE_KIND_ERROR, "Soubor nic.bin nelze otevřít", "missing");
    // Closing with removal removes also when nothing is open.
    TU_clear_reports();
    EXPECT_EQ((V{FI_close(files.make("in.bin"), 1), TU_exists("in.bin")}), (V{1, 0}));
    EXPECT_TRUE(TU_reports().empty());
}

// The memory manager's statistics log the opens and closes in DATA.FI; the 26th open still works, a freed entry is
// taken again, and files left open are named at the end.
TEST(Fi, StatisticsLogOpensAndCloses)
{
    std::optional<FILES> files(std::in_place);   // closed after the statistics end
    std::string expected = "Statistika otevrenych souboru\r\n", not_closed;
    const TU_STATISTICS run = TU_statistics([&] {
        for (int i = 1; i <= 26; i++) {
            const std::string name = (i < 10 ? "f0" : "f") + std::to_string(i) + ".bin";
            ASSERT_EQ(FI_open(files->make(name.c_str()), FI_BIN_CREATE), 1) << name;
            expected += "Otevreni souboru " + name + " v rezimu wb\r\n";
            not_closed += i > 1 && i < 26 ? "!!! Nebyl uzavren soubor " + name : "";
        }
        expected += "!!! Bylo otevreno vice nez 25 souboru !!!\r\n";
        FI_close(files->made[25], 0);
        expected += "!!! Zavirany soubor nebyl otevren\r\n";
        FI_set_name(files->made[0], "jiny.bin");
        FI_close(files->made[0], 0);
        expected += "Zavreni souboru jiny.bin otevreneho jako f01.bin\r\n";
        EXPECT_EQ(FI_open(files->make("nic.txt"), FI_TEXT_UPDATE), 0);
        expected += "Otevreni souboru nic.txt v rezimu r+t\r\n!!! Neuspesne otevreni souboru nic.txt\r\n";
        C_FILE *again = files->make("f02.bin");
        ASSERT_EQ(FI_open(again, FI_TEXT_READ), 1);
        FI_close(again, 0);
        expected += "Otevreni souboru f02.bin v rezimu rt\r\nZavreni souboru f02.bin otevreneho jako f02.bin\r\n";
    }, [&] { files.reset(); });
    EXPECT_EQ(run.data_fi, expected + not_closed + "Konec statistiky otevrenych souboru");
    EXPECT_EQ(run.printed.rfind("Statistika otevrenych souboru : DATA.FI\n", 0), 0u);
    expect_report(WE_KIND_ERROR, "Soubor nic.txt nelze otevřít", "missing");
}
