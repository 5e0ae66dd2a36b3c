#include "common/mm.h"

#include <algorithm>
#include <tuple>

#include "common/sysclock.h"
#include "tests/testutil.h"

namespace {

typedef std::vector<TU_MM_RECORD> RECORDS;

const TU_MM_RECORD *find(const RECORDS &recs, uint16_t kind, uint32_t address)
{
    for (const TU_MM_RECORD &r : recs)
        if (r.kind == kind && r.address == address)
            return &r;
    return nullptr;
}

std::vector<std::string> messages(const RECORDS &recs)
{
    std::vector<std::string> out;
    for (const TU_MM_RECORD &r : recs)
        if (r.kind == 1)
            out.push_back(r.text);
    return out;
}

const char FREE_DAMAGE[] = "      Chyba! Uvolnovana pamet byla na zacatku nebo konci bloku prepsana";

}  // namespace

// Without "$m" the manager stays a plain heap: no file, cleared blocks, no guards to check; bad sizes are
// internal errors.
TEST(Mm, OrdinaryModeIsAPlainHeap)
{
    TU_SCRATCH dir;
    const char *const args[] = {"insttrkp", "$f", "-m", "m"};
    MM_begin_with(4, args);
    EXPECT_EQ(MM_statistics(), 0);
    EXPECT_FALSE(TU_exists(dir.file("MMBIN.MM")));
    unsigned char *p = static_cast<unsigned char *>(MM_alloc(3, 10, "t", 1));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::count(p, p + 30, 0), 30);
    EXPECT_EQ((TU_V{MM_check(p), MM_watch(p), MM_check_watched("t", 2), MM_check(nullptr)}), (TU_V{1, 1, 1, 1}));
    MM_free(p, "t", 3);
    MM_free(nullptr, "t", 4);
    MM_delete(nullptr);
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures("..\\common\\mm", {TU_FAILS(MM_alloc(0, 10, "t", 1)), TU_FAILS(MM_alloc(3, -1, "t", 1)),
                                          TU_FAILS(MM_alloc_raw(0, "t", 1)), TU_FAILS(MM_new(0, "t", 1)),
                                          TU_FAILS(MM_new(0))});
}

// The begin and end marks with the arguments, an allocation's record (the module's base name), 400-byte guards
// holding the size on both sides, the release's record; what the run prints.
TEST(Mm, AllocationRecordAndGuards)
{
    unsigned char *p = nullptr;
    const TU_STATISTICS run = TU_statistics([&] {
        p = static_cast<unsigned char *>(MM_alloc(3, 10, "..\\common\\st", 77));
        ASSERT_NE(p, nullptr);
        const std::string head(reinterpret_cast<char *>(p) - 400, 400), tail(reinterpret_cast<char *>(p) + 30, 400);
        for (size_t i = 0; i < 400; i += 4)
            EXPECT_EQ((TU_V{TU_get_le(head, i, 4), TU_get_le(tail, i, 4)}), (TU_V{30, 30})) << i;
        EXPECT_EQ(std::count(p, p + 30, 0), 30);
        EXPECT_EQ(MM_check(p), 1);
        MM_free(p, "..\\common\\st", 78);
    });
    const RECORDS &recs = run.records;
    ASSERT_GE(recs.size(), 4u);
    EXPECT_EQ(recs.front().kind, 2);
    EXPECT_EQ(recs.front().text, "insttrkp -x $m ");
    EXPECT_EQ(recs.back().kind, 3);
    EXPECT_EQ(recs.back().text, "insttrkp -x $m ");
    const TU_MM_RECORD *a = find(recs, 5, TU_low32(p)), *f = find(recs, 6, TU_low32(p));
    ASSERT_TRUE(a && f);
    EXPECT_EQ((TU_V{a->size, a->count, a->line, a->error}), (TU_V{10, 3, 77, 0}));
    EXPECT_EQ(a->name, "st");
    // The release's count is left from the allocation's record.
    EXPECT_EQ((TU_V{f->size, f->sequence - a->sequence, f->count, f->error}), (TU_V{0xFFFFFFFF, 1, 3, 0}));
    EXPECT_EQ(run.printed, "Statistika otevrenych souboru : DATA.FI\n\n"
                           "Statistika alokace pameti aktivni - spust program HEAPVW32.EXE !!!\n");
    EXPECT_EQ(run.data_fi, "Statistika otevrenych souboru\r\nKonec statistiky otevrenych souboru");
}

// A damaged guard (the byte just after, the byte just before) is recorded and the block still given back, without
// a box.
TEST(Mm, DamageIsRecordedAndTheBlockStillGivenBack)
{
    uint32_t tail = 0, head = 0;
    const RECORDS recs = TU_statistics([&] {
        char *a = static_cast<char *>(MM_alloc_raw(8, "x", 1)), *b = static_cast<char *>(MM_alloc(1, 8, "x", 2));
        ASSERT_TRUE(a && b);
        tail = TU_low32(a);
        head = TU_low32(b);
        a[8] = 'X';
        b[-1] = 'Y';
        EXPECT_EQ(MM_check(a) + MM_check(b), 0);
        MM_free(a, "x", 3);
        MM_free(b, "x", 4);
    }).records;
    for (uint32_t address : {tail, head}) {
        auto it = std::find_if(recs.begin(), recs.end(), [&](const TU_MM_RECORD &r) {
            return r.kind == 6 && r.address == address;
        });
        ASSERT_TRUE(it != recs.end() && it + 1 != recs.end());
        EXPECT_EQ(it->error, 1);
        EXPECT_EQ((it + 1)->kind, 1);
        EXPECT_EQ((it + 1)->text, FREE_DAMAGE);
        EXPECT_EQ((it + 1)->name, "x");
    }
    EXPECT_TRUE(TU_reports().empty());
}

// The release check of object storage tells head damage from tail damage; its message goes out before its record.
TEST(Mm, DeleteCheckTellsHeadFromTail)
{
    struct CASE { bool head, tail; const char *message; } const cases[] = {
        {false, false, nullptr},
        {true, false, "      Chyba! Uvolnovana pamet byla na zacatku bloku prepsana"},
        {false, true, "      Chyba! Uvolnovana pamet byla na konci bloku prepsana"},
        {true, true, "      Chyba! Uvolnovana pamet byla na zacatku bloku prepsana"},
    };
    for (const CASE &c : cases) {
        uint32_t address = 0;
        const RECORDS recs = TU_statistics([&] {
            char *p = static_cast<char *>(MM_new(16, "obj", 5));
            address = TU_low32(p);
            p[-5] = c.head ? 1 : p[-5];
            p[16 + 7] = c.tail ? 1 : p[16 + 7];
            MM_delete_check(p, "obj", 6);
            MM_delete(p);
        }).records;
        auto it = std::find_if(recs.begin(), recs.end(), [&](const TU_MM_RECORD &r) { return r.kind == 8; });
        ASSERT_TRUE(it != recs.end() && it != recs.begin());
        EXPECT_EQ((TU_V{it->address, it->error}), (TU_V{address, c.message ? 1 : 0}));
        EXPECT_EQ(messages(recs), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ((it - 1)->text, c.message ? c.message : "");
    }
}

// In statistics a null release and a zero-sized object are failed records, not boxes; a zero count still is one.
TEST(Mm, NullAndZeroInStatistics)
{
    RECORDS recs = TU_statistics([&] {
        MM_free(nullptr, "n", 1);
        EXPECT_EQ(MM_new(0, "n", 2), nullptr);
        EXPECT_EQ(MM_new(0), nullptr);
    }).records;
    EXPECT_TRUE(TU_reports().empty());
    const TU_MM_RECORD *f = find(recs, 6, 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->error, 1);
    EXPECT_EQ(std::count_if(recs.begin(), recs.end(), [](const TU_MM_RECORD &r) { return r.kind == 7 && r.error; }),
              2);
    TU_statistics([&] { EXPECT_EQ(MM_alloc(0, 4, "n", 3), nullptr); });
    EXPECT_TRUE(TU_one_error("..\\common\\mm"));
}

// A damaged watched block is reported at every tagged operation, with the sequence number of the operation's own
// record, until it is released.
TEST(Mm, WatchedBlockIsReportedAtEveryTaggedOperationUntilReleased)
{
    const RECORDS recs = TU_statistics([&] {
        char *w = static_cast<char *>(MM_alloc(1, 4, "w", 1));
        EXPECT_EQ(MM_watch(w), 1);
        w[4] = 0x55;
        void *a = MM_alloc(1, 4, "w", 2);   // one message
        void *b = MM_alloc_raw(4, "w", 3);  // one message
        MM_free(w, "w", 4);                 // the damaged block itself, unwatched first
        MM_free(a, "w", 5);                 // no more messages
        MM_free(b, "w", 6);
    }).records;
    const std::vector<std::string> m = messages(recs);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].rfind("      Chyba! Pamet kontrolovaneho ukazatele ", 0), 0u);
    EXPECT_EQ(m[1].rfind("      Chyba! Pamet kontrolovaneho ukazatele ", 0), 0u);
    EXPECT_EQ(m[2], FREE_DAMAGE);
    for (size_t i = 0; i + 1 < recs.size(); i++)
        EXPECT_TRUE(recs[i].kind != 5 || recs[i + 1].kind != 1 || recs[i + 1].sequence == recs[i].sequence) << i;
}

// A hundred watch slots; the 101st watch is an internal error until a slot is freed.
TEST(Mm, WatchListHoldsOneHundred)
{
    const RECORDS recs = TU_statistics([&] {
        std::vector<void *> blocks;
        for (int i = 0; i < 101; i++)
            blocks.push_back(MM_alloc(1, 1, "w", i));
        for (int i = 0; i < 100; i++)
            EXPECT_EQ(MM_watch(blocks[i]), 1);
        EXPECT_EQ(MM_watch(blocks[100]), 0);
        EXPECT_TRUE(TU_one_error("..\\common\\mm"));
        EXPECT_EQ((TU_V{MM_unwatch(blocks[0]), MM_watch(blocks[100]), MM_check_watched("w", 9)}), (TU_V{1, 1, 1}));
        for (void *p : blocks)
            MM_free(p, "w", 10);
    }).records;
    EXPECT_EQ(messages(recs), std::vector<std::string>{"Test kontrolovanych ukazatelu"});
}

// Messages: formatted, cut to 199 characters, the module's base name cut to 13; the clock of their text record
// (every field in its place) lies between the clock read before and after the write.
TEST(Mm, LogNamesAndTheClock)
{
    SYS_TIME before{}, after{};
    const RECORDS recs = TU_statistics([&] {
        before = SYS_clock(false);
        MM_log("..\\swin2\\a_very_long_module_name", 12, "hodnota %d", 42);
        after = SYS_clock(false);
        MM_log("x", 1, "%s", std::string(300, 'L').c_str());
    }).records;
    EXPECT_EQ(messages(recs), (std::vector<std::string>{"hodnota 42", std::string(199, 'L')}));
    auto it = std::find_if(recs.begin(), recs.end(), [](const TU_MM_RECORD &r) { return r.kind == 1; });
    ASSERT_NE(it, recs.end());
    EXPECT_EQ(it->name, "a_very_long_m");
    EXPECT_EQ(it->line, 12u);
    typedef std::tuple<int, int, int, int, int, int, int> MOMENT;
    const auto clock = [](const SYS_TIME &t) {
        return MOMENT(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond / 10);
    };
    const MOMENT stamp(it->year, it->month, it->day, it->hour, it->minute, it->second, it->hundredths);
    EXPECT_LE(clock(before), stamp);
    EXPECT_LE(stamp, clock(after));
}

namespace {
struct WIDGET : MM_OBJECT {
    int value = 5;
    static int destroyed;
    ~WIDGET() { destroyed++; }
};
int WIDGET::destroyed = 0;
}  // namespace

// Objects of the program take and give back their storage through the manager, tagged or "UNKNOWN", line 0.
TEST(Mm, ObjectsGoThroughTheAllocationOperators)
{
    WIDGET::destroyed = 0;
    uint32_t address = 0;
    const RECORDS recs = TU_statistics([&] {
        WIDGET *w = new ("..\\swin2\\bw", 40) WIDGET;
        WIDGET *u = new WIDGET;
        address = TU_low32(w);
        EXPECT_EQ(w->value, 5);
        MM_destroy(w, "..\\swin2\\bw", 41);
        MM_destroy(u, "x", 42);
    }).records;
    EXPECT_EQ(WIDGET::destroyed, 2);
    const TU_MM_RECORD *n = find(recs, 7, address), *d = find(recs, 8, address);
    ASSERT_TRUE(n && d);
    EXPECT_EQ(n->name, "bw");
    EXPECT_EQ(n->size, sizeof(WIDGET));
    EXPECT_EQ(d->line, 41u);
    EXPECT_EQ(std::count_if(recs.begin(), recs.end(), [](const TU_MM_RECORD &r) {
        return r.kind == 7 && r.name == "UNKNOWN" && r.line == 0;
    }), 1);
}

// A block keeps the form it was taken in: a plain block is given back plainly while statistics run, a guarded one
// as the guarded block it is after they end.
TEST(Mm, BlocksOutliveTheModeTheyWereTakenIn)
{
    void *plain = MM_alloc(1, 64, "p", 1), *guarded = nullptr;
    TU_statistics([&] {
        EXPECT_EQ(MM_check(plain), 1);
        MM_free(plain, "p", 2);
        guarded = MM_alloc(1, 64, "g", 3);
    });
    MM_free(guarded, "g", 4);
    EXPECT_TRUE(TU_reports().empty());
}
