#include "common/dt.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "common/fi.h"
#include "tests/testutil.h"

namespace {

std::string fields(const DT_DATE &d) {
    return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
}

TEST(DtDate, WeekdayNames) {
    struct CASE {
        DT_DATE date;
        const char *name;
    };
    const CASE cases[] = {
        {{1, 1, 1992}, "středa"},  {{29, 2, 1996}, "čtvrtek"}, {{29, 2, 1997}, "?den?"},
        {{1, 1, 2000}, "sobota"},  {{5, 12, 2026}, "sobota"},  {{17, 9, 2081}, "středa"},
        {{31, 12, 1991}, "?rok?"}, {{1, 13, 1999}, "?měsíc?"}, {{1, 0, 1999}, "?měsíc?"},
        {{0, 1, 1999}, "?den?"},   {{31, 4, 1999}, "?den?"},   {{29, 2, 2000}, "úterý"},
    };
    for (const CASE &c : cases) {
        EXPECT_STREQ(DT_weekday_name(&c.date), c.name) << fields(c.date);
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Day by day through a century: the day number grows by one and the weekday
// goes round, so month lengths and leap years are all right.
TEST(DtDate, DayByDayFrom1993) {
    static const char *const names[] = {"pondělí", "úterý", "středa", "čtvrtek", "pátek", "sobota", "neděle"};
    DT_DATE d(1, 1, 1993);
    int32_t number = 366;   // 1992 was a leap year
    int weekday = 4;        // 1 January 1993 was a Friday
    while (number <= 32767) {
        ASSERT_EQ(DT_valid(&d), 1) << fields(d);
        ASSERT_EQ(DT_day_number(&d), number) << fields(d);
        ASSERT_STREQ(DT_weekday_name(&d), names[weekday]) << fields(d);
        ASSERT_EQ(DT_add_days(&d, 1), 1);
        number++;
        weekday = (weekday + 1) % 7;
    }
    EXPECT_EQ(fields(d), "18.9.2081");
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(DtDate, Validity) {
    struct CASE {
        DT_DATE date;
        int16_t valid;
    };
    const CASE cases[] = {
        {{1, 1, 1992}, 0},  {{31, 12, 1992}, 0}, {{1, 1, 1993}, 1},   {{29, 2, 1996}, 1},
        {{29, 2, 1997}, 0}, {{29, 2, 2100}, 1},  {{31, 4, 1999}, 0},  {{30, 4, 1999}, 1},
        {{0, 5, 1999}, 0},  {{1, 0, 1999}, 0},   {{1, 13, 1999}, 0},  {{31, 12, 9999}, 1},
    };
    for (const CASE &c : cases) {
        EXPECT_EQ(DT_valid(&c.date), c.valid) << fields(c.date);
    }
}

TEST(DtDate, DayNumbers) {
    struct CASE {
        DT_DATE date;
        int16_t number;
        int reports;
    };
    const CASE cases[] = {
        {{1, 1, 1992}, 0, 0},     {{29, 2, 1996}, 1520, 0}, {{5, 12, 2026}, 12757, 0},
        {{17, 9, 2081}, 32767, 0}, {{18, 9, 2081}, 0, 1},   // past the 16-bit range
        {{31, 12, 1991}, 0, 1},   {{30, 2, 1996}, 0, 1},    {{1, 13, 1996}, 0, 0},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(DT_day_number(&c.date), c.number) << fields(c.date);
        EXPECT_EQ(TU_count(WE_KIND_INTERNAL), c.reports) << fields(c.date);
    }
}

TEST(DtDate, CompareAndDaysBetween) {
    const DT_DATE a(5, 7, 1998), b(6, 7, 1998), c(1, 1, 2090);
    EXPECT_EQ(DT_compare(&a, &b), -1);
    EXPECT_EQ(DT_compare(&b, &a), 1);
    EXPECT_EQ(DT_compare(&a, &a), 0);
    EXPECT_EQ(DT_compare(&b, &c), -1);   // beyond the 16-bit day numbers too
    EXPECT_EQ(DT_days_between(&a, &a), 1);
    EXPECT_EQ(DT_days_between(&a, &b), 2);
    EXPECT_EQ(DT_days_between(&b, &a), 0);
    const DT_DATE y1(1, 1, 1993), y2(31, 12, 1993);
    EXPECT_EQ(DT_days_between(&y1, &y2), 365);
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(DtDate, AddDaysAndNextMonth) {
    struct CASE {
        DT_DATE date;
        int32_t n;
        int16_t result;
        const char *after;
    };
    const CASE cases[] = {
        {{31, 12, 1999}, 1, 1, "1.1.2000"},  {{28, 2, 1996}, 1, 1, "29.2.1996"},
        {{28, 2, 1997}, 1, 1, "1.3.1997"},   {{28, 2, 2100}, 1, 1, "29.2.2100"},
        {{1, 1, 1993}, 365, 1, "1.1.1994"},  {{15, 6, 1998}, 0, 1, "15.6.1998"},
        {{31, 1, 1998}, 29, 1, "1.3.1998"},  {{15, 6, 1998}, -1, 0, "15.6.1998"},
        {{31, 4, 1998}, 1, 0, "31.4.1998"},  {{1, 1, 1992}, 1, 0, "1.1.1992"},
        {{31, 12, 9999}, 1, 0, "31.12.9999"}, {{1, 1, 2000}, 2000000000, 0, "1.1.2000"},
    };
    for (const CASE &c : cases) {
        DT_DATE d = c.date;
        EXPECT_EQ(DT_add_days(&d, c.n), c.result) << fields(c.date) << " + " << c.n;
        EXPECT_EQ(fields(d), c.after) << fields(c.date) << " + " << c.n;
    }
    DT_DATE d(31, 1, 1999);
    EXPECT_EQ(DT_next_month(&d), 1);
    EXPECT_EQ(fields(d), "31.2.1999");   // the day stays
    d = DT_DATE(15, 12, 1999);
    EXPECT_EQ(DT_next_month(&d), 1);
    EXPECT_EQ(fields(d), "15.1.2000");
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(DtDate, Texts) {
    const DT_DATE d(5, 7, 1998);
    EXPECT_STREQ(DT_date_text(&d), " 5. červenec 1998");
    EXPECT_STREQ(DT_date_short(&d), " 5. 7.1998");
    EXPECT_STREQ(DT_date_file6(&d), "050798");
    EXPECT_STREQ(DT_date_file8(&d), "05071998");
    const DT_DATE e(24, 12, 2003);
    EXPECT_STREQ(DT_date_text(&e), "24. prosinec 2003");
    EXPECT_STREQ(DT_date_short(&e), "24.12.2003");
    EXPECT_STREQ(DT_date_file6(&e), "241203");
    const DT_DATE bad(1, 14, 2003);
    EXPECT_STREQ(DT_date_text(&bad), " 1. ?měsíc? 2003");
    // Each operation has a buffer of its own.
    const char *text = DT_date_text(&d);
    DT_date_short(&e);
    EXPECT_STREQ(text, " 5. červenec 1998");
    DT_date_text(&e);
    EXPECT_STREQ(text, "24. prosinec 2003");
    EXPECT_STREQ(DT_month_name(1), "leden");
    EXPECT_STREQ(DT_month_name(9), "září");
    EXPECT_STREQ(DT_month_name(12), "prosinec");
    EXPECT_STREQ(DT_month_name(0), "?měsíc?");
    EXPECT_STREQ(DT_month_name(13), "?měsíc?");
}

TEST(DtDate, Parse) {
    struct CASE {
        const char *text;
        const char *date;   // null: rejected
    };
    const CASE cases[] = {
        {"5. cervenec 98", "5.7.1998"},
        {"1.2.05", "1.2.2005"},
        {"5. července 98", "5.6.1998"},   // "červen" is a prefix of the inflected form
        {"  24,12,2001  ", "24.12.2001"},
        {"24 12 2001", "24.12.2001"},
        {"050798", "5.7.1998"},
        {"5.7.93", "5.7.1993"},
        {"5.7.92", "5.7.2092"},
        {"1 ÚNOR 2000", "1.2.2000"},
        {"29. února 2000", "29.2.2000"},
        {"3.září.1999", "3.9.1999"},
        {"3. ZARI 1999", "3.9.1999"},
        {"1.leden1999", "1.1.1999"},
        {"29.2.1997", nullptr},
        {"5.7.1992", nullptr},
        {"5.13.98", nullptr},
        {"5.7.", nullptr},
        {"5.7", nullptr},
        {"x.7.98", nullptr},
        {"5.7.98x", nullptr},
        {"5.7.98 1", nullptr},
        {"5. prosince 98", nullptr},
        {"5. cerv 98", nullptr},
        {"5.7.123456789", nullptr},
        {"", nullptr},
    };
    for (const CASE &c : cases) {
        DT_DATE d(1, 1, 1995);
        const int16_t result = DT_parse(&d, c.text);
        EXPECT_EQ(result, c.date ? 1 : 0) << c.text;
        EXPECT_EQ(fields(d), c.date ? c.date : "1.1.1995") << c.text;
    }
    EXPECT_EQ(TU_reports().size(), 0u);
    DT_DATE d(1, 1, 1995);
    EXPECT_EQ(DT_parse(&d, nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

TEST(DtDate, FromFileName) {
    struct CASE {
        const char *name;
        const char *date;
    };
    const CASE cases[] = {
        {"C:\\DATA\\050798AB.DAT", "5.7.1998"},
        {"050792.X", "5.7.2092"},
        {"311299", "31.12.1999"},
        {"C:\\98\\010101", "1.1.2001"},
        {"C:\\DATA\\05079", nullptr},
        {"C:\\DATA\\", nullptr},
        {"C:\\DATA\\05a798.DAT", nullptr},
        {"310299.DAT", nullptr},
        {"010192.DAT", "1.1.2092"},
        {"0107 98", nullptr},
    };
    for (const CASE &c : cases) {
        DT_DATE d(1, 1, 1995);
        EXPECT_EQ(DT_from_file_name(&d, c.name), c.date ? 1 : 0) << c.name;
        EXPECT_EQ(fields(d), c.date ? c.date : "1.1.1995") << c.name;
    }
}

// Writes through a mode-11 memory stream and reads the bytes back.
TEST(DtBinary, DateAndTimeRoundTrip) {
    C_FILE *out = nullptr;
    ASSERT_EQ(FI_create(&out, "mem"), 1);
    ASSERT_EQ(FI_open(out, FI_MEM_WRITE), 1);
    const DT_DATE d(5, 12, 2026);
    const DT_TIME t(14, 7, 9, 42);
    EXPECT_EQ(DT_write(&d, out), 1);
    EXPECT_EQ(DT_write_time(&t, out), 1);
    uint8_t *buffer = nullptr;
    int32_t capacity = 0;
    int32_t length = 0;
    ASSERT_EQ(FI_get_memory(out, &buffer, &capacity, &length), 1);
    const std::string expected("\x05\x00\x0C\x00\xEA\x07\x0E\x00\x07\x00\x09\x00\x2A\x00", 14);
    ASSERT_EQ(length, 14);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), 14), expected);

    C_FILE *in = nullptr;
    ASSERT_EQ(FI_create(&in, "mem"), 1);
    ASSERT_EQ(FI_open_memory(in, expected.data(), static_cast<int32_t>(expected.size())), 1);
    DT_DATE d2(1, 1, 1995);
    DT_TIME t2(0, 0, 0);
    EXPECT_EQ(DT_read(&d2, in), 1);
    EXPECT_EQ(DT_read_time(&t2, in), 1);
    EXPECT_EQ(fields(d2), "5.12.2026");
    EXPECT_EQ(t2.hour, 14);
    EXPECT_EQ(t2.minute, 7);
    EXPECT_EQ(t2.second, 9);
    EXPECT_EQ(t2.hundredths, 42);
    // Nothing left: the read fails and the record stays.
    EXPECT_EQ(DT_read(&d2, in), 0);
    EXPECT_EQ(fields(d2), "5.12.2026");
    FI_destroy(&in);
    FI_destroy(&out);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 0);
}

TEST(DtTime, TextAddAndCompare) {
    DT_TIME t(9, 5, 7, 55);
    EXPECT_STREQ(DT_time_text(&t), "09:05.07");
    EXPECT_EQ(DT_set_time(&t, 23, 59, 58), 1);
    EXPECT_STREQ(DT_time_text(&t), "23:59.58");

    struct CASE {
        int16_t hour, minute;
        int32_t n;
        int16_t hour_after, minute_after;
    };
    const CASE cases[] = {
        {23, 50, 20, 0, 10}, {10, 30, 150, 13, 0}, {10, 45, 75, 12, 0}, {0, 0, 0, 0, 0},
        {22, 0, 3 * 60, 1, 0}, {12, 0, 24 * 60 * 3 + 1, 12, 1}, {0, 10, -20, 23, 50},
        {5, 0, -24 * 60 * 2, 5, 0},
    };
    for (const CASE &c : cases) {
        DT_TIME x(c.hour, c.minute, 30, 12);
        EXPECT_EQ(DT_add_minutes(&x, c.n), 1);
        EXPECT_EQ(x.hour, c.hour_after) << c.hour << ":" << c.minute << " + " << c.n;
        EXPECT_EQ(x.minute, c.minute_after) << c.hour << ":" << c.minute << " + " << c.n;
        EXPECT_EQ(x.second, 30);
    }

    const DT_TIME a(10, 0, 0, 99), b(10, 0, 0, 1), c(10, 0, 1, 0), e(9, 59, 59, 0);
    EXPECT_EQ(DT_compare_time(&a, &b), 0);   // hundredths do not count
    EXPECT_EQ(DT_compare_time(&a, &c), -1);
    EXPECT_EQ(DT_compare_time(&a, &e), 1);
}

TEST(DtDuration, NormalizeAndText) {
    struct CASE {
        DT_DURATION in;
        int16_t result;
        const char *text;
    };
    auto make = [](int16_t days, int16_t hours, int16_t minutes, int16_t seconds, int16_t hundredths) {
        DT_DURATION d;
        d.days = days;
        d.hours = hours;
        d.minutes = minutes;
        d.seconds = seconds;
        d.hundredths = hundredths;
        return d;
    };
    const CASE cases[] = {
        {make(0, 0, 0, 0, 0), 1, "00:00:00"},
        {make(0, 0, 0, 59, 250), 1, "00:01:01"},
        {make(0, 25, 61, 61, 0), 1, " 1 den 02:02:01"},
        {make(3, 0, 0, 0, 0), 1, " 3 dny 00:00:00"},
        {make(4, 23, 59, 59, 99), 1, " 4 dny 23:59:59"},
        {make(5, 0, 0, 0, 0), 1, " 5 dní 00:00:00"},
        {make(0, 0, 32767, 32767, 32767), 1, "23 dní 03:18:34"},
        {make(0, -1, 0, 0, 0), 0, "-1:00:00"},
        {make(32767, 24, 0, 0, 0), 0, "32767 dní 24:00:00"},
    };
    for (const CASE &c : cases) {
        DT_DURATION d = c.in;
        EXPECT_EQ(DT_normalize(&d), c.result) << c.text;
        EXPECT_STREQ(DT_duration_text(&d), c.text);
    }
}

DT_STAMP stamp(int16_t kind, int16_t day, int16_t month, int16_t year, int16_t hour, int16_t minute,
               int16_t second, int16_t hundredths = 0) {
    DT_STAMP s;
    s.kind = kind;
    s.day = day;
    s.month = month;
    s.year = year;
    s.hour = hour;
    s.minute = minute;
    s.second = second;
    s.hundredths = hundredths;
    s.flags[0] = 0;
    return s;
}

TEST(DtStamp, Texts) {
    const DT_STAMP utc = stamp(DT_KIND_UTC, 5, 12, 2026, 14, 7, 9);
    EXPECT_STREQ(DT_stamp_text(&utc), " 5.12.2026 14:07.09 UTC");
    EXPECT_STREQ(DT_stamp_text_long(&utc), " 5. prosinec 2026 14:07.09 UTC");
    EXPECT_STREQ(DT_stamp_date_long(&utc), " 5. prosinec 2026 UTC");
    EXPECT_STREQ(DT_stamp_date(&utc), " 5.12.2026 UTC");
    EXPECT_STREQ(DT_stamp_time(&utc), "14:07.09 UTC");
    const DT_STAMP local = stamp(DT_KIND_LOCAL, 30, 9, 1999, 0, 0, 0);
    EXPECT_STREQ(DT_stamp_text(&local), "30. 9.1999 00:00.00");
    EXPECT_STREQ(DT_stamp_text_long(&local), "30. září 1999 00:00.00");
    DT_STAMP empty;
    EXPECT_STREQ(DT_stamp_text(&empty), "---");
    EXPECT_STREQ(DT_stamp_time(&empty), "---");
    // Extreme field values stay within the 50 characters.
    const DT_STAMP wide = stamp(DT_KIND_UTC, -32768, 12, -32768, -32768, -32768, -32768);
    EXPECT_LE(strlen(DT_stamp_text_long(&wide)), 50u);
    EXPECT_LE(strlen(DT_stamp_text(&wide)), 50u);
}

TEST(DtStamp, Compare) {
    DT_STAMP empty;
    DT_STAMP cleared = stamp(DT_KIND_LOCAL, 1, 1, 2000, 1, 1, 1);
    EXPECT_EQ(DT_stamp_clear(&cleared), 1);
    EXPECT_EQ(DT_stamp_empty(&cleared), 1);
    const DT_STAMP base = stamp(DT_KIND_LOCAL, 5, 12, 2026, 14, 7, 9, 50);
    struct CASE {
        DT_STAMP a, b;
        int result;
    };
    const CASE cases[] = {
        {empty, base, -1},
        {base, empty, 1},
        {empty, cleared, 0},
        {base, base, 0},
        {base, stamp(DT_KIND_UTC, 5, 12, 2026, 14, 7, 9, 50), 0},   // the kind is not compared
        {base, stamp(DT_KIND_LOCAL, 5, 12, 2026, 14, 7, 9, 51), -1},
        {base, stamp(DT_KIND_LOCAL, 5, 12, 2026, 14, 7, 8, 99), 1},
        {base, stamp(DT_KIND_LOCAL, 6, 1, 2026, 0, 0, 0), 1},       // the month before the day
        {base, stamp(DT_KIND_LOCAL, 1, 1, 2027, 0, 0, 0), -1},
        {base, stamp(DT_KIND_LOCAL, 5, 12, 2026, 15, 0, 0), -1},
    };
    for (const CASE &c : cases) {
        EXPECT_EQ(DT_stamp_compare(&c.a, &c.b), c.result) << DT_stamp_text(&c.a) << " / " << DT_stamp_text(&c.b);
    }
}

TEST(DtStamp, ParseBack) {
    const DT_STAMP forms[] = {
        stamp(DT_KIND_UTC, 5, 12, 2026, 14, 7, 9),
        stamp(DT_KIND_LOCAL, 30, 9, 1999, 23, 59, 59),
        stamp(DT_KIND_LOCAL, 1, 2, 0, 0, 0, 0),
    };
    for (const DT_STAMP &s : forms) {
        DT_STAMP r;
        ASSERT_EQ(DT_stamp_parse(&r, DT_stamp_text(&s)), 1) << DT_stamp_text(&s);
        EXPECT_EQ(DT_stamp_compare(&r, &s), 0);
        EXPECT_EQ(r.kind, s.kind);
        EXPECT_EQ(DT_stamp_empty(&r), 0);
        ASSERT_EQ(DT_stamp_parse_long(&r, DT_stamp_text_long(&s)), 1) << DT_stamp_text_long(&s);
        EXPECT_EQ(DT_stamp_compare(&r, &s), 0);
        EXPECT_EQ(r.kind, s.kind);
        ASSERT_EQ(DT_stamp_parse_date(&r, DT_stamp_date(&s)), 1);
        EXPECT_EQ(r.day, s.day);
        EXPECT_EQ(r.month, s.month);
        EXPECT_EQ(r.year, s.year);
        EXPECT_EQ(r.hour, 0);
        EXPECT_EQ(r.kind, s.kind);
        ASSERT_EQ(DT_stamp_parse_date_long(&r, DT_stamp_date_long(&s)), 1);
        EXPECT_EQ(r.month, s.month);
        EXPECT_EQ(r.year, s.year);
        ASSERT_EQ(DT_stamp_parse_time(&r, DT_stamp_time(&s)), 1);
        EXPECT_EQ(r.hour * 3600 + r.minute * 60 + r.second, s.hour * 3600 + s.minute * 60 + s.second);
        EXPECT_EQ(r.year, 0);
        EXPECT_EQ(r.kind, s.kind);
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(DtStamp, ParseCases) {
    typedef int16_t (*PARSE)(DT_STAMP *, const char *);
    struct CASE {
        PARSE parse;
        const char *text;
        const char *result;   // DT_stamp_text of the result, null: rejected
    };
    const CASE cases[] = {
        {DT_stamp_parse, " 5.12.2026 14:07.09 UTC", " 5.12.2026 14:07.09 UTC"},
        {DT_stamp_parse, "5 . 12 . 2026   14 : 07 . 09", " 5.12.2026 14:07.09"},
        {DT_stamp_parse_long, "5. ZÁŘÍ 2026 14:07.09", " 5. 9.2026 14:07.09"},
        {DT_stamp_parse_long, "5. zari 2026 14:07.09", " 5. 9.2026 14:07.09"},
        {DT_stamp_parse_long, "5. září2026 14:07.09", nullptr},   // the name is read as a whole word
        {DT_stamp_parse_long, "5. zar 2026 14:07.09", nullptr},
        {DT_stamp_parse_long, "5. 9 2026 14:07.09", nullptr},
        {DT_stamp_parse, "0.12.2026 14:07.09", nullptr},
        {DT_stamp_parse, "32.12.2026 14:07.09", nullptr},
        {DT_stamp_parse, "5.13.2026 14:07.09", nullptr},
        {DT_stamp_parse, "5.12.2026 24:07.09", nullptr},
        {DT_stamp_parse, "5.12.2026 14:60.09", nullptr},
        {DT_stamp_parse, "5.12.2026 14:07.60", nullptr},
        {DT_stamp_parse, "5.12.2026 14.07.09", nullptr},
        {DT_stamp_parse, "5.12.-2026 14:07.09", nullptr},
        {DT_stamp_parse, "5.12.99999 14:07.09", nullptr},
        {DT_stamp_parse, "5.12.2026", nullptr},
        {DT_stamp_parse, "---", nullptr},
        {DT_stamp_parse_time, "7:5.3", " 0. 0.   0 07:05.03"},
        {DT_stamp_parse_date, "31.2.2026", "31. 2.2026 00:00.00"},   // no check of the month's length
    };
    for (const CASE &c : cases) {
        DT_STAMP s = stamp(DT_KIND_LOCAL, 1, 1, 2000, 1, 1, 1);
        EXPECT_EQ(c.parse(&s, c.text), c.result ? 1 : 0) << c.text;
        if (c.result) {
            EXPECT_STREQ(DT_stamp_text(&s), c.result) << c.text;
        } else {
            EXPECT_EQ(DT_stamp_empty(&s), 1) << c.text;
            EXPECT_EQ(s.year, 0) << c.text;
        }
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(DtClock, NowAndToday) {
    DT_STAMP s;
    EXPECT_EQ(DT_stamp_now(&s), 1);
    EXPECT_EQ(s.kind, DT_KIND_UTC);
    EXPECT_EQ(s.flags[0], 0);
    EXPECT_EQ(s.flags[1], 0);
    EXPECT_GE(s.year, 2024);
    DT_STAMP l;
    EXPECT_EQ(DT_stamp_now_local(&l), 1);
    EXPECT_EQ(l.kind, DT_KIND_LOCAL);
    const DT_DATE today;
    EXPECT_EQ(DT_valid(&today), 1);
    const DT_DATE also = DT_today();
    EXPECT_LE(DT_days_between(&today, &also), 2);
    const DT_TIME now = DT_now_time();
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
    EXPECT_TRUE(now.minute >= 0 && now.minute <= 59);
    EXPECT_TRUE(now.second >= 0 && now.second <= 59);
    EXPECT_TRUE(now.hundredths >= 0 && now.hundredths <= 99);
    // Local time and UTC lie less than a day apart.
    const DT_DATE u(s.day, s.month, s.year);
    const DT_DATE v(l.day, l.month, l.year);
    const int32_t apart = DT_days_between(&u, &v);
    EXPECT_TRUE(apart >= 0 && apart <= 2) << apart;
}

TEST(DtNull, ArgumentsAreReported) {
    DT_DATE d(1, 1, 1995);
    DT_TIME t(1, 1, 1);
    DT_STAMP s;
    EXPECT_EQ(DT_set_date(nullptr, 1, 1, 1999), 0);
    EXPECT_STREQ(DT_date_text(nullptr), "");
    EXPECT_STREQ(DT_weekday_name(nullptr), "");
    EXPECT_EQ(DT_compare(&d, nullptr), 0);
    EXPECT_EQ(DT_add_days(nullptr, 1), 0);
    EXPECT_EQ(DT_read(&d, nullptr), 0);
    EXPECT_EQ(DT_write_time(&t, nullptr), 0);
    EXPECT_EQ(DT_normalize(nullptr), 0);
    EXPECT_EQ(DT_stamp_clear(nullptr), 0);
    EXPECT_STREQ(DT_stamp_text(nullptr), "");
    EXPECT_EQ(DT_stamp_parse(&s, nullptr), 0);
    EXPECT_EQ(DT_stamp_parse_time(nullptr, "1:2.3"), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 12);
    EXPECT_EQ(TU_reports()[0].text.find("Chyba v souboru ..\\common\\dt"), 0u);
}

}  // namespace
