#include "common/mm.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

// One record of MMBIN.MM, decoded from its bytes, with its text record if any.
struct REC {
    uint16_t kind;
    uint32_t address, size, count, sequence;
    std::string name;
    uint32_t line;
    uint16_t error;
    std::string text;
};

uint32_t le32(const std::string &b, size_t at)
{
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
           static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

uint16_t le16(const std::string &b, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

std::vector<REC> parse(const std::string &b)
{
    std::vector<REC> out;
    size_t at = 0;
    while (at + 38 <= b.size()) {
        REC r;
        r.kind = le16(b, at);
        r.address = le32(b, at + 2);
        r.size = le32(b, at + 6);
        r.count = le32(b, at + 10);
        r.sequence = le32(b, at + 14);
        r.name = std::string(b.c_str() + at + 18);
        r.line = le32(b, at + 32);
        r.error = le16(b, at + 36);
        at += 38;
        if (r.kind >= 1 && r.kind <= 3) {
            EXPECT_LE(at + 210, b.size());
            if (at + 210 > b.size())
                break;
            EXPECT_GE(le32(b, at), 2000u);   // four-digit year
            int month = static_cast<unsigned char>(b[at + 5]);
            EXPECT_TRUE(month >= 1 && month <= 12);
            r.text = std::string(b.c_str() + at + 10);
            at += 210;
        }
        out.push_back(r);
    }
    EXPECT_EQ(at, b.size()) << "trailing bytes in MMBIN.MM";
    return out;
}

const char *const STATS_ARGS[] = {"insttrkp", "-x", "$m"};

// Runs body with statistics on in a scratch directory and returns the records.
template <class F>
std::vector<REC> with_statistics(F body)
{
    TU_SCRATCH dir;
    MM_begin_with(3, STATS_ARGS);
    EXPECT_EQ(MM_statistics(), 1);
    body();
    MM_end();
    EXPECT_EQ(MM_statistics(), 0);
    return parse(TU_read(dir.file("MMBIN.MM")));
}

uint32_t low32(const void *p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

const REC *find(const std::vector<REC> &recs, uint16_t kind, uint32_t address)
{
    for (const REC &r : recs)
        if (r.kind == kind && r.address == address)
            return &r;
    return nullptr;
}

std::vector<std::string> messages(const std::vector<REC> &recs)
{
    std::vector<std::string> out;
    for (const REC &r : recs)
        if (r.kind == 1)
            out.push_back(r.text);
    return out;
}

const char FREE_DAMAGE[] = "      Chyba! Uvolnovana pamet byla na zacatku nebo konci bloku prepsana";

}  // namespace

TEST(Mm, OrdinaryModeIsAPlainHeap)
{
    TU_SCRATCH dir;
    const char *const args[] = {"insttrkp", "$f", "-m", "m"};
    MM_begin_with(4, args);   // no "$m": stays ordinary
    EXPECT_EQ(MM_statistics(), 0);
    EXPECT_FALSE(TU_exists(dir.file("MMBIN.MM")));

    unsigned char *p = static_cast<unsigned char *>(MM_alloc(3, 10, "t", 1));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 30; i++)
        EXPECT_EQ(p[i], 0);
    EXPECT_EQ(MM_check(p), 1);
    EXPECT_EQ(MM_watch(p), 1);
    EXPECT_EQ(MM_check_watched("t", 2), 1);
    MM_free(p, "t", 3);
    MM_free(nullptr, "t", 4);
    MM_delete(nullptr);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Mm, BadSizesAreInternalErrorsInTheOrdinaryMode)
{
    EXPECT_EQ(MM_alloc(0, 10, "t", 1), nullptr);
    EXPECT_EQ(MM_alloc(3, -1, "t", 1), nullptr);
    EXPECT_EQ(MM_alloc_raw(0, "t", 1), nullptr);
    EXPECT_EQ(MM_new(0, "t", 1), nullptr);
    EXPECT_EQ(MM_new(0), nullptr);
    EXPECT_EQ(MM_check(nullptr), 1);   // nothing to check without guards
    ASSERT_EQ(TU_count(WE_KIND_INTERNAL), 5);
    EXPECT_EQ(TU_reports()[0].text.rfind("Chyba v souboru ..\\common\\mm ", 0), 0u);
}

TEST(Mm, AllocationRecordAndGuards)
{
    unsigned char *p = nullptr;
    auto recs = with_statistics([&] {
        p = static_cast<unsigned char *>(MM_alloc(3, 10, "..\\common\\st", 77));
        ASSERT_NE(p, nullptr);
        for (int i = 0; i < 100; i++) {
            EXPECT_EQ(le32(std::string(reinterpret_cast<char *>(p) - 400, 400), 4 * i), 30u);
            EXPECT_EQ(le32(std::string(reinterpret_cast<char *>(p) + 30, 400), 4 * i), 30u);
        }
        for (int i = 0; i < 30; i++)
            EXPECT_EQ(p[i], 0);
        EXPECT_EQ(MM_check(p), 1);
        MM_free(p, "..\\common\\st", 78);
    });
    ASSERT_GE(recs.size(), 4u);
    EXPECT_EQ(recs.front().kind, 2);
    EXPECT_EQ(recs.front().text, "insttrkp -x $m ");
    EXPECT_EQ(recs.back().kind, 3);
    EXPECT_EQ(recs.back().text, "insttrkp -x $m ");

    const REC *a = find(recs, 5, low32(p));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->size, 10u);
    EXPECT_EQ(a->count, 3u);
    EXPECT_EQ(a->name, "st");
    EXPECT_EQ(a->line, 77u);
    EXPECT_EQ(a->error, 0);
    const REC *f = find(recs, 6, low32(p));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->size, 0xFFFFFFFFu);
    EXPECT_EQ(f->sequence, a->sequence + 1);
    EXPECT_EQ(f->count, 3u);   // left from the allocation's record
    EXPECT_EQ(f->error, 0);
}

TEST(Mm, DamageIsRecordedAndTheBlockStillGivenBack)
{
    uint32_t tail = 0, head = 0;
    auto recs = with_statistics([&] {
        char *a = static_cast<char *>(MM_alloc_raw(8, "x", 1));
        char *b = static_cast<char *>(MM_alloc(1, 8, "x", 2));
        ASSERT_TRUE(a && b);
        tail = low32(a);
        head = low32(b);
        a[8] = 'X';    // the byte just after the block
        b[-1] = 'Y';   // the byte just before it
        EXPECT_EQ(MM_check(a), 0);
        EXPECT_EQ(MM_check(b), 0);
        MM_free(a, "x", 3);
        MM_free(b, "x", 4);
    });
    for (uint32_t address : {tail, head}) {
        auto it = std::find_if(recs.begin(), recs.end(), [&](const REC &r) { return r.kind == 6 && r.address == address; });
        ASSERT_NE(it, recs.end());
        EXPECT_EQ(it->error, 1);
        ASSERT_NE(it + 1, recs.end());
        EXPECT_EQ((it + 1)->kind, 1);
        EXPECT_EQ((it + 1)->text, FREE_DAMAGE);
        EXPECT_EQ((it + 1)->name, "x");
    }
    EXPECT_TRUE(TU_reports().empty());   // damage never shows a box
}

TEST(Mm, DeleteCheckTellsHeadFromTail)
{
    struct CASE {
        bool head, tail;
        const char *message;
    } const cases[] = {
        {false, false, nullptr},
        {true, false, "      Chyba! Uvolnovana pamet byla na zacatku bloku prepsana"},
        {false, true, "      Chyba! Uvolnovana pamet byla na konci bloku prepsana"},
        {true, true, "      Chyba! Uvolnovana pamet byla na zacatku bloku prepsana"},
    };
    for (const CASE &c : cases) {
        uint32_t address = 0;
        auto recs = with_statistics([&] {
            char *p = static_cast<char *>(MM_new(16, "obj", 5));
            address = low32(p);
            if (c.head)
                p[-5] = 1;
            if (c.tail)
                p[16 + 7] = 1;
            MM_delete_check(p, "obj", 6);
            MM_delete(p);
        });
        auto it = std::find_if(recs.begin(), recs.end(), [&](const REC &r) { return r.kind == 8; });
        ASSERT_NE(it, recs.end());
        EXPECT_EQ(it->address, address);
        EXPECT_EQ(it->error, c.message ? 1 : 0);
        if (c.message) {
            // The message goes out before the record.
            ASSERT_NE(it, recs.begin());
            EXPECT_EQ((it - 1)->text, c.message);
        }
        EXPECT_EQ(messages(recs).size(), c.message ? 1u : 0u);
    }
}

TEST(Mm, NullAndZeroInStatistics)
{
    auto recs = with_statistics([&] {
        MM_free(nullptr, "n", 1);
        EXPECT_EQ(MM_new(0, "n", 2), nullptr);
        EXPECT_EQ(MM_new(0), nullptr);
    });
    EXPECT_TRUE(TU_reports().empty());   // neither raises an internal error
    const REC *f = find(recs, 6, 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->error, 1);
    int failed_new = 0;
    for (const REC &r : recs)
        failed_new += r.kind == 7 && r.error == 1;
    EXPECT_EQ(failed_new, 2);

    recs = with_statistics([&] { EXPECT_EQ(MM_alloc(0, 4, "n", 3), nullptr); });
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(Mm, WatchedBlockIsReportedAtEveryTaggedOperationUntilReleased)
{
    auto recs = with_statistics([&] {
        char *w = static_cast<char *>(MM_alloc(1, 4, "w", 1));
        EXPECT_EQ(MM_watch(w), 1);
        w[4] = 0x55;   // tail damage
        void *a = MM_alloc(1, 4, "w", 2);   // one message
        void *b = MM_alloc_raw(4, "w", 3);  // one message
        MM_free(w, "w", 4);                 // the damaged block itself, unwatched first
        MM_free(a, "w", 5);                 // no more messages
        MM_free(b, "w", 6);
    });
    std::vector<std::string> m = messages(recs);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].rfind("      Chyba! Pamet kontrolovaneho ukazatele ", 0), 0u);
    EXPECT_EQ(m[1].rfind("      Chyba! Pamet kontrolovaneho ukazatele ", 0), 0u);
    EXPECT_EQ(m[2], FREE_DAMAGE);
    // The watch message carries the sequence number of the allocation's record.
    for (size_t i = 0; i + 1 < recs.size(); i++) {
        if (recs[i].kind == 5 && recs[i + 1].kind == 1) {
            EXPECT_EQ(recs[i + 1].sequence, recs[i].sequence);
        }
    }
}

TEST(Mm, WatchListHoldsOneHundred)
{
    auto recs = with_statistics([&] {
        std::vector<void *> blocks;
        for (int i = 0; i < 101; i++)
            blocks.push_back(MM_alloc(1, 1, "w", i));
        for (int i = 0; i < 100; i++)
            EXPECT_EQ(MM_watch(blocks[i]), 1);
        EXPECT_EQ(MM_watch(blocks[100]), 0);
        EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
        EXPECT_EQ(MM_unwatch(blocks[0]), 1);
        EXPECT_EQ(MM_watch(blocks[100]), 1);
        EXPECT_EQ(MM_check_watched("w", 9), 1);
        for (void *p : blocks)
            MM_free(p, "w", 10);
    });
    EXPECT_EQ(messages(recs), std::vector<std::string>{"Test kontrolovanych ukazatelu"});
}

TEST(Mm, LogAndNames)
{
    auto recs = with_statistics([&] {
        MM_log("..\\swin2\\a_very_long_module_name", 12, "hodnota %d", 42);
        std::string long_text(300, 'L');
        MM_log("x", 1, "%s", long_text.c_str());
    });
    std::vector<std::string> m = messages(recs);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0], "hodnota 42");
    EXPECT_EQ(m[1], std::string(199, 'L'));
    auto it = std::find_if(recs.begin(), recs.end(), [](const REC &r) { return r.kind == 1; });
    EXPECT_EQ(it->name, "a_very_long_m");   // 13 characters and the terminator
    EXPECT_EQ(it->line, 12u);
}

namespace {
struct WIDGET : MM_OBJECT {
    int value = 5;
    static int destroyed;
    ~WIDGET() { destroyed++; }
};
int WIDGET::destroyed = 0;
}  // namespace

TEST(Mm, ObjectsGoThroughTheAllocationOperators)
{
    uint32_t address = 0;
    auto recs = with_statistics([&] {
        WIDGET *w = new ("..\\swin2\\bw", 40) WIDGET;
        WIDGET *u = new WIDGET;   // untagged
        address = low32(w);
        EXPECT_EQ(w->value, 5);
        MM_destroy(w, "..\\swin2\\bw", 41);
        MM_destroy(u, "x", 42);
    });
    EXPECT_EQ(WIDGET::destroyed, 2);
    const REC *n = find(recs, 7, address);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->name, "bw");
    EXPECT_EQ(n->size, sizeof(WIDGET));
    const REC *d = find(recs, 8, address);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->line, 41u);
    int unknown = 0;
    for (const REC &r : recs)
        unknown += r.kind == 7 && r.name == "UNKNOWN" && r.line == 0;
    EXPECT_EQ(unknown, 1);
}

TEST(Mm, BlocksOfTheOrdinaryModeSurviveStatistics)
{
    void *plain = MM_alloc(1, 64, "p", 1);
    with_statistics([&] {
        EXPECT_EQ(MM_check(plain), 1);
        MM_free(plain, "p", 2);   // given back as the plain block it is
    });
}
