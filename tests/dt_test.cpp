#include "common/dt.h"

#include <cstring>

#include "common/fi.h"
#include "tests/testutil.h"

namespace {

typedef TU_V V;

std::string fields(const DT_DATE &d)
{
    return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
}

DT_STAMP stamp(int16_t kind, int16_t day, int16_t month, int16_t year, int16_t hour, int16_t minute, int16_t second,
               int16_t hundredths = 0)
{
    return DT_STAMP{kind, hour, minute, second, hundredths, day, month, year, {0, 0}};
}

}  // namespace

// Validity (from 1993), day numbers from 1 January 1992 (before, impossible or past 16 bits: an internal error;
// a month outside 1..12: 0 silently) and weekday names of single dates; 29 February every fourth year.
TEST(DtDate, Calendar)
{
    struct CASE { DT_DATE date; int16_t valid, number; int reports; const char *weekday; } const cases[] = {
        {{1, 1, 1992}, 0, 0, 0, "středa"}, {{31, 12, 1992}, 0, 365, 0, "čtvrtek"}, {{29, 2, 1997}, 0, 0, 1, "?den?"},
        {{30, 2, 1996}, 0, 0, 1, "?den?"}, {{31, 4, 1999}, 0, 0, 1, "?den?"}, {{0, 5, 1999}, 0, 0, 1, "?den?"},
        {{17, 9, 2081}, 1, 32767, 0, "středa"}, {{18, 9, 2081}, 1, 0, 1, "čtvrtek"},   // past the 16-bit range
        {{29, 2, 2100}, 1, 0, 1, "pondělí"}, {{31, 12, 9999}, 1, 0, 1, "úterý"}, {{31, 12, 1991}, 0, 0, 1, "?rok?"},
        {{1, 13, 1999}, 0, 0, 0, "?měsíc?"}, {{1, 0, 1999}, 0, 0, 0, "?měsíc?"},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(DT_valid(&c.date), c.valid) << fields(c.date);
        EXPECT_STREQ(DT_weekday_name(&c.date), c.weekday) << fields(c.date);
        EXPECT_EQ(TU_reports().size(), 0u) << fields(c.date);
        EXPECT_EQ(DT_day_number(&c.date), c.number) << fields(c.date);
        EXPECT_TRUE(c.reports ? TU_one_error("..\\common\\dt") : TU_reports().empty()) << fields(c.date);
    }
    // Day by day through the 16-bit range: the number grows by one and the weekday goes round.
    static const char *const names[] = {"pondělí", "úterý", "středa", "čtvrtek", "pátek", "sobota", "neděle"};
    TU_clear_reports();
    DT_DATE d(1, 1, 1993);
    for (int32_t number = 366, weekday = 4; number <= 32767; number++, weekday = (weekday + 1) % 7) {
        ASSERT_EQ(DT_valid(&d), 1) << fields(d);
        ASSERT_EQ(DT_day_number(&d), number) << fields(d);
        ASSERT_STREQ(DT_weekday_name(&d), names[weekday]) << fields(d);
        ASSERT_EQ(DT_add_days(&d, 1), 1);
    }
    EXPECT_EQ(fields(d), "18.9.2081");
    EXPECT_EQ(TU_reports().size(), 0u);

    // Comparison, days between (both counted), adding days and the next month.
    const DT_DATE a(5, 7, 1998), b(6, 7, 1998), c(1, 1, 2090), y1(1, 1, 1993), y2(31, 12, 1993);
    EXPECT_EQ((V{DT_compare(&a, &b), DT_compare(&b, &a), DT_compare(&a, &a), DT_compare(&b, &c)}),
              (V{-1, 1, 0, -1}));   // beyond the 16-bit day numbers too
    EXPECT_EQ((V{DT_days_between(&a, &a), DT_days_between(&a, &b), DT_days_between(&b, &a), DT_days_between(&y1, &y2)}),
              (V{1, 2, 0, 365}));
    struct ADD { DT_DATE date; int32_t n; int16_t result; const char *after; } const adds[] = {
        {{31, 12, 1999}, 1, 1, "1.1.2000"}, {{28, 2, 1996}, 1, 1, "29.2.1996"}, {{28, 2, 1997}, 1, 1, "1.3.1997"},
        {{28, 2, 2100}, 1, 1, "29.2.2100"}, {{1, 1, 1993}, 365, 1, "1.1.1994"}, {{15, 6, 1998}, 0, 1, "15.6.1998"},
        {{31, 1, 1998}, 29, 1, "1.3.1998"}, {{15, 6, 1998}, -1, 0, "15.6.1998"}, {{31, 4, 1998}, 1, 0, "31.4.1998"},
        {{1, 1, 1992}, 1, 0, "1.1.1992"}, {{31, 12, 9999}, 1, 0, "31.12.9999"},
        {{1, 1, 2000}, 2000000000, 0, "1.1.2000"},
    };
    for (const ADD &c : adds) {
        DT_DATE x = c.date;
        EXPECT_EQ(DT_add_days(&x, c.n), c.result) << fields(c.date) << " + " << c.n;
        EXPECT_EQ(fields(x), c.after) << fields(c.date) << " + " << c.n;
    }
    DT_DATE j(31, 1, 1999), k(15, 12, 1999);
    EXPECT_EQ((V{DT_next_month(&j), DT_next_month(&k)}), (V{1, 1}));
    EXPECT_EQ(fields(j) + " " + fields(k), "31.2.1999 15.1.2000");   // the day stays
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Every text form of dates, month names, times of day and stamps (" UTC" for kind 2, "---" for empty).
TEST(Dt, Texts)
{
    const DT_DATE d(5, 7, 1998), e(24, 12, 2003), bad(1, 14, 2003);
    const DT_TIME t(9, 5, 7, 55);
    const DT_STAMP utc = stamp(DT_KIND_UTC, 5, 12, 2026, 14, 7, 9), local = stamp(DT_KIND_LOCAL, 30, 9, 1999, 0, 0, 0);
    const DT_STAMP empty, wide = stamp(DT_KIND_UTC, -32768, 12, -32768, -32768, -32768, -32768);
    typedef std::function<const char *()> TEXT;
    const auto of = [](auto text, const auto &x) { return TEXT([text, &x] { return text(&x); }); };
    const auto month = [](int16_t m) { return TEXT([m] { return DT_month_name(m); }); };
    const std::pair<TEXT, const char *> texts[] = {
        {of(DT_date_text, d), " 5. červenec 1998"}, {of(DT_date_short, d), " 5. 7.1998"},
        {of(DT_date_file6, d), "050798"}, {of(DT_date_file8, d), "05071998"},
        {of(DT_date_text, e), "24. prosinec 2003"}, {of(DT_date_short, e), "24.12.2003"},
        {of(DT_date_file6, e), "241203"}, {of(DT_date_text, bad), " 1. ?měsíc? 2003"}, {month(1), "leden"},
        {month(9), "září"}, {month(12), "prosinec"}, {month(0), "?měsíc?"}, {month(13), "?měsíc?"},
        {of(DT_time_text, t), "09:05.07"}, {of(DT_stamp_text, utc), " 5.12.2026 14:07.09 UTC"},
        {of(DT_stamp_text_long, utc), " 5. prosinec 2026 14:07.09 UTC"},
        {of(DT_stamp_date_long, utc), " 5. prosinec 2026 UTC"}, {of(DT_stamp_date, utc), " 5.12.2026 UTC"},
        {of(DT_stamp_time, utc), "14:07.09 UTC"}, {of(DT_stamp_text, local), "30. 9.1999 00:00.00"},
        {of(DT_stamp_text_long, local), "30. září 1999 00:00.00"}, {of(DT_stamp_text, empty), "---"},
        {of(DT_stamp_time, empty), "---"},
    };
    for (const auto &text : texts)
        EXPECT_STREQ(text.first(), text.second);
    // Each operation has a buffer of its own; extreme stamp fields stay within the 50 characters.
    const char *first = DT_date_text(&d);
    DT_date_short(&e);
    EXPECT_STREQ(first, " 5. červenec 1998");
    DT_date_text(&e);
    EXPECT_STREQ(first, "24. prosinec 2003");
    EXPECT_LE(strlen(DT_stamp_text_long(&wide)), 50u);
    EXPECT_LE(strlen(DT_stamp_text(&wide)), 50u);
}

// Typed dates, dates in file names and stamps: the result and the record afterwards; "rejected": 0 with a date
// as it was, or a stamp left empty (year 0).
TEST(Dt, Parse)
{
    typedef std::function<std::string(const char *)> PARSE;
    const auto date = [](int16_t (*parse)(DT_DATE *, const char *)) -> PARSE {
        return [parse](const char *text) {
            DT_DATE d(1, 1, 1995);
            const int16_t result = parse(&d, text);
            return !result && fields(d) == "1.1.1995" ? "rejected" : std::to_string(result) + " " + fields(d);
        };
    };
    const auto stamped = [](int16_t (*parse)(DT_STAMP *, const char *)) -> PARSE {
        return [parse](const char *text) {
            DT_STAMP s = stamp(DT_KIND_LOCAL, 1, 1, 2000, 1, 1, 1);
            const int16_t result = parse(&s, text);
            const bool empty = DT_stamp_empty(&s) && !s.year;
            return !result && empty ? "rejected" : std::to_string(result) + "|" + DT_stamp_text(&s);
        };
    };
    const PARSE typed = date(DT_parse), name = date(DT_from_file_name), full = stamped(DT_stamp_parse);
    const PARSE full_long = stamped(DT_stamp_parse_long);
    struct CASE { PARSE parse; const char *text, *expected = "rejected"; } const cases[] = {
        {typed, "5. cervenec 98", "1 5.7.1998"}, {typed, "1.2.05", "1 1.2.2005"},
        {typed, "5. července 98", "1 5.6.1998"},   // "červen" is a prefix of the inflected form
        {typed, "  24,12,2001  ", "1 24.12.2001"}, {typed, "24 12 2001", "1 24.12.2001"},
        {typed, "050798", "1 5.7.1998"}, {typed, "5.7.93", "1 5.7.1993"}, {typed, "5.7.92", "1 5.7.2092"},
        {typed, "1 ÚNOR 2000", "1 1.2.2000"}, {typed, "29. února 2000", "1 29.2.2000"},
        {typed, "3.září.1999", "1 3.9.1999"}, {typed, "3. ZARI 1999", "1 3.9.1999"},
        {typed, "1.leden1999", "1 1.1.1999"}, {typed, "29.2.1997"}, {typed, "5.7.1992"}, {typed, "5.13.98"},
        {typed, "5.7."}, {typed, "5.7"}, {typed, "x.7.98"}, {typed, "5.7.98x"}, {typed, "5.7.98 1"},
        {typed, "5. prosince 98"}, {typed, "5. cerv 98"}, {typed, "5.7.123456789"}, {typed, ""},
        {name, "C:\\DATA\\050798AB.DAT", "1 5.7.1998"}, {name, "050792.X", "1 5.7.2092"},
        {name, "311299", "1 31.12.1999"}, {name, "C:\\98\\010101", "1 1.1.2001"}, {name, "010192.DAT", "1 1.1.2092"},
        {name, "C:\\DATA\\05079"}, {name, "C:\\DATA\\"}, {name, "C:\\DATA\\05a798.DAT"}, {name, "310299.DAT"},
        {name, "0107 98"}, {full, " 5.12.2026 14:07.09 UTC", "1| 5.12.2026 14:07.09 UTC"},
        {full, "5 . 12 . 2026   14 : 07 . 09", "1| 5.12.2026 14:07.09"},
        {full_long, "5. ZÁŘÍ 2026 14:07.09", "1| 5. 9.2026 14:07.09"},
        {full_long, "5. zari 2026 14:07.09", "1| 5. 9.2026 14:07.09"},
        {full_long, "5. září2026 14:07.09"},   // the name is read as a whole word
        {full_long, "5. zar 2026 14:07.09"}, {full_long, "5. 9 2026 14:07.09"}, {full, "0.12.2026 14:07.09"},
        {full, "32.12.2026 14:07.09"}, {full, "5.13.2026 14:07.09"}, {full, "5.12.2026 24:07.09"},
        {full, "5.12.2026 14:60.09"}, {full, "5.12.2026 14:07.60"}, {full, "5.12.2026 14.07.09"},
        {full, "5.12.-2026 14:07.09"}, {full, "5.12.99999 14:07.09"}, {full, "5.12.2026"}, {full, "---"},
        {stamped(DT_stamp_parse_time), "7:5.3", "1| 0. 0.   0 07:05.03"},
        {stamped(DT_stamp_parse_date), "31.2.2026", "1|31. 2.2026 00:00.00"},   // no check of the month's length
    };
    for (const CASE &c : cases)
        EXPECT_EQ(c.parse(c.text), c.expected) << c.text;
    // Every text form of a stamp read back by its parser.
    for (const DT_STAMP &s : {stamp(DT_KIND_UTC, 5, 12, 2026, 14, 7, 9), stamp(DT_KIND_LOCAL, 30, 9, 1999, 23, 59, 59),
                              stamp(DT_KIND_LOCAL, 1, 2, 0, 0, 0, 0)}) {
        const DT_STAMP date = stamp(s.kind, s.day, s.month, s.year, 0, 0, 0);
        const DT_STAMP day_time = stamp(s.kind, 0, 0, 0, s.hour, s.minute, s.second);
        typedef int16_t (*PARSER)(DT_STAMP *, const char *);
        struct FORM { PARSER parse; const char *text; const DT_STAMP *expected; } const forms[] = {
            {DT_stamp_parse, DT_stamp_text(&s), &s}, {DT_stamp_parse_long, DT_stamp_text_long(&s), &s},
            {DT_stamp_parse_date, DT_stamp_date(&s), &date}, {DT_stamp_parse_date_long, DT_stamp_date_long(&s), &date},
            {DT_stamp_parse_time, DT_stamp_time(&s), &day_time},
        };
        for (const FORM &f : forms) {
            DT_STAMP r;
            ASSERT_EQ(f.parse(&r, f.text), 1) << f.text;
            EXPECT_EQ(DT_stamp_compare(&r, f.expected), 0) << f.text << " -> " << DT_stamp_text(&r);
            EXPECT_EQ(r.kind, s.kind);
            EXPECT_EQ(DT_stamp_empty(&r), 0);
        }
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Field by field, little-endian, through a memory stream; nothing left: the read fails and the record stays.
TEST(Dt, BinaryRoundTrip)
{
    C_FILE *out = nullptr, *in = nullptr;
    const DT_DATE d(5, 12, 2026);
    const DT_TIME t(14, 7, 9, 42);
    DT_DATE d2(1, 1, 1995);
    DT_TIME t2(0, 0, 0);
    uint8_t *buffer = nullptr;
    int32_t capacity = 0, length = 0;
    const std::string expected("\x05\x00\x0C\x00\xEA\x07\x0E\x00\x07\x00\x09\x00\x2A\x00", 14);
    ASSERT_EQ((V{FI_create(&out, "mem"), FI_create(&in, "mem"), FI_open(out, FI_MEM_WRITE), DT_write(&d, out),
                 DT_write_time(&t, out), FI_get_memory(out, &buffer, &capacity, &length)}),
              (V{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), static_cast<size_t>(length)), expected);
    EXPECT_EQ((V{FI_open_memory(in, expected.data(), 14), DT_read(&d2, in), DT_read_time(&t2, in), DT_read(&d2, in)}),
              (V{1, 1, 1, 0}));
    EXPECT_EQ(fields(d2), "5.12.2026");
    EXPECT_EQ((V{t2.hour, t2.minute, t2.second, t2.hundredths}), (V{14, 7, 9, 42}));
    FI_destroy(&in);
    FI_destroy(&out);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

// Times of day (minutes wrap around midnight, hundredths are not compared), durations, stamp order.
TEST(Dt, TimesDurationsAndStampOrder)
{
    DT_TIME t(9, 5, 7, 55);
    EXPECT_EQ(DT_set_time(&t, 23, 59, 58), 1);
    EXPECT_STREQ(DT_time_text(&t), "23:59.58");
    EXPECT_EQ(t.hundredths, 55);
    struct ADD { int16_t hour, minute; int32_t n; const char *after; } const adds[] = {
        {23, 50, 20, "00:10.30"}, {10, 30, 150, "13:00.30"}, {0, 0, 0, "00:00.30"}, {22, 0, 3 * 60, "01:00.30"},
        {12, 0, 24 * 60 * 3 + 1, "12:01.30"}, {0, 10, -20, "23:50.30"}, {5, 0, -24 * 60 * 2, "05:00.30"},
    };
    for (const ADD &c : adds) {
        DT_TIME x(c.hour, c.minute, 30, 12);
        EXPECT_EQ(DT_add_minutes(&x, c.n), 1);
        EXPECT_STREQ(DT_time_text(&x), c.after) << c.hour << ":" << c.minute << " + " << c.n;
    }
    const DT_TIME a(10, 0, 0, 99), b(10, 0, 0, 1), c(10, 0, 1, 0), e(9, 59, 59, 0);
    EXPECT_EQ((V{DT_compare_time(&a, &b), DT_compare_time(&a, &c), DT_compare_time(&a, &e)}), (V{0, -1, 1}));

    struct DURATION { int16_t days, hours, minutes, seconds, hundredths, result; const char *text; } const lengths[] = {
        {0, 0, 0, 0, 0, 1, "00:00:00"}, {0, 0, 0, 59, 250, 1, "00:01:01"}, {0, 25, 61, 61, 0, 1, " 1 den 02:02:01"},
        {3, 0, 0, 0, 0, 1, " 3 dny 00:00:00"}, {4, 23, 59, 59, 99, 1, " 4 dny 23:59:59"},
        {5, 0, 0, 0, 0, 1, " 5 dní 00:00:00"}, {0, 0, 32767, 32767, 32767, 1, "23 dní 03:18:34"},
        {0, -1, 0, 0, 0, 0, "-1:00:00"}, {32767, 24, 0, 0, 0, 0, "32767 dní 24:00:00"},   // unchanged
    };
    for (const DURATION &c : lengths) {
        DT_DURATION d;
        d.days = c.days, d.hours = c.hours, d.minutes = c.minutes, d.seconds = c.seconds, d.hundredths = c.hundredths;
        EXPECT_EQ(DT_normalize(&d), c.result) << c.text;
        EXPECT_STREQ(DT_duration_text(&d), c.text);
    }

    DT_STAMP empty, cleared = stamp(DT_KIND_LOCAL, 1, 1, 2000, 1, 1, 1);
    EXPECT_EQ((V{DT_stamp_clear(&cleared), DT_stamp_empty(&cleared)}), (V{1, 1}));
    const DT_STAMP base = stamp(DT_KIND_LOCAL, 5, 12, 2026, 14, 7, 9, 50);
    struct ORDER { DT_STAMP a, b; int result; } const orders[] = {
        {empty, base, -1}, {base, empty, 1}, {empty, cleared, 0}, {base, base, 0},
        {base, stamp(DT_KIND_UTC, 5, 12, 2026, 14, 7, 9, 50), 0},   // the kind is not compared
        {base, stamp(DT_KIND_LOCAL, 5, 12, 2026, 14, 7, 9, 51), -1},
        {base, stamp(DT_KIND_LOCAL, 5, 12, 2026, 14, 7, 8, 99), 1},
        {base, stamp(DT_KIND_LOCAL, 6, 1, 2026, 0, 0, 0), 1},   // the month before the day
        {base, stamp(DT_KIND_LOCAL, 1, 1, 2027, 0, 0, 0), -1}, {base, stamp(DT_KIND_LOCAL, 5, 12, 2026, 15, 0, 0), -1},
    };
    for (const ORDER &c : orders)
        EXPECT_EQ(DT_stamp_compare(&c.a, &c.b), c.result) << DT_stamp_text(&c.a) << " / " << DT_stamp_text(&c.b);
}

// The clock: UTC and local stamps of today, a time of day in range; null arguments are internal errors.
TEST(Dt, ClockAndNullArguments)
{
    DT_STAMP s, l;
    EXPECT_EQ((V{DT_stamp_now(&s), DT_stamp_now_local(&l), s.kind, s.flags[0], s.flags[1], l.kind}),
              (V{1, 1, DT_KIND_UTC, 0, 0, DT_KIND_LOCAL}));
    EXPECT_GE(s.year, 2024);
    const DT_DATE today, also = DT_today(), u(s.day, s.month, s.year), v(l.day, l.month, l.year);
    EXPECT_EQ(DT_valid(&today), 1);
    EXPECT_LE(DT_days_between(&today, &also), 2);
    const int32_t apart = DT_days_between(&u, &v);   // local time and UTC lie less than a day apart
    EXPECT_TRUE(apart >= 0 && apart <= 2) << apart;
    const DT_TIME now = DT_now_time();
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute >= 0 && now.minute <= 59) << DT_time_text(&now);
    EXPECT_TRUE(now.second >= 0 && now.second <= 59 && now.hundredths >= 0 && now.hundredths <= 99) << now.hundredths;

    DT_DATE d(1, 1, 1995);
    DT_TIME t(1, 1, 1);
    const auto length = [](const char *text) { return std::strlen(text); };   // a text's: the empty one
    TU_expect_failures("..\\common\\dt", {
        TU_FAILS(DT_set_date(nullptr, 1, 1, 1999)), TU_FAILS(length(DT_date_text(nullptr))),
        TU_FAILS(length(DT_weekday_name(nullptr))), TU_FAILS(DT_compare(&d, nullptr)),
        TU_FAILS(DT_add_days(nullptr, 1)), TU_FAILS(DT_read(&d, nullptr)), TU_FAILS(DT_write_time(&t, nullptr)),
        TU_FAILS(DT_normalize(nullptr)), TU_FAILS(DT_stamp_clear(nullptr)), TU_FAILS(length(DT_stamp_text(nullptr))),
        TU_FAILS(DT_stamp_parse(&s, nullptr)), TU_FAILS(DT_stamp_parse_time(nullptr, "1:2.3")),
        TU_FAILS(DT_parse(&d, nullptr)),
    });
    EXPECT_EQ(fields(d), "1.1.1995");
}
