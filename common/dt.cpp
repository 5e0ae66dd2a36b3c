// Dates, times of day, durations and date-time stamps.
#include "common/dt.h"

#include <cstdio>
#include <cstring>

#include "common/cz.h"
#include "common/fi.h"
#include "common/st.h"
#include "common/sysclock.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\dt";

// Room of every text operation: 50 characters and the terminator.
#define DT_TEXT_MAX 50
// Longest typed date DT_parse reads.
#define DT_PARSE_MAX 100
// Day number 0 is 1 January of this year.
#define DT_EPOCH_YEAR 1992

static const char *const DT_DAY_NAMES[7] = {
    "pondělí", "úterý", "středa", "čtvrtek", "pátek", "sobota", "neděle",
};
static const char *const DT_MONTH_NAMES[12] = {
    "leden", "únor", "březen", "duben", "květen", "červen",
    "červenec", "srpen", "září", "říjen", "listopad", "prosinec",
};
static const int16_t DT_MONTH_DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
static const char DT_BAD_YEAR[] = "?rok?";
static const char DT_BAD_MONTH[] = "?měsíc?";
static const char DT_BAD_DAY[] = "?den?";
static const char DT_NO_VALUE[] = "---";
static const char DT_UTC[] = " UTC";

// ---- calendar ----------------------------------------------------------------

static bool dt_leap(int32_t year) {
    return year % 4 == 0;
}

// Days of the month, 0 for a month outside 1..12.
static int16_t dt_month_length(int32_t month, int32_t year) {
    if (month < 1 || month > 12) {
        return 0;
    }
    return static_cast<int16_t>(DT_MONTH_DAYS[month - 1] + (month == 2 && dt_leap(year) ? 1 : 0));
}

// Days from 1 January 1992, for a year from 1992 on, a month 1..12 and a day
// the month has (the caller checks).
static int32_t dt_days(int32_t year, int32_t month, int32_t day) {
    const int32_t years = year - DT_EPOCH_YEAR;
    int32_t days = years * 365 + (years + 3) / 4;   // 1992 is a leap year
    for (int32_t m = 1; m < month; m++) {
        days += dt_month_length(m, year);
    }
    return days + day - 1;
}

// The day number in 32 bits, with the reports of DT_day_number.
static int32_t dt_day_count(const DT_DATE *date) {
    if (date->year < DT_EPOCH_YEAR) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const int16_t length = dt_month_length(date->month, date->year);
    if (length == 0) {
        return 0;
    }
    if (date->day < 1 || date->day > length) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return dt_days(date->year, date->month, date->day);
}

const char *DT_month_name(int16_t month) {
    if (month < 1 || month > 12) {
        return DT_BAD_MONTH;
    }
    return DT_MONTH_NAMES[month - 1];
}

// ---- system clock ------------------------------------------------------------

// The fields of the present moment, in UTC or in local time.
struct DT_CLOCK {
    int16_t year, month, day, hour, minute, second, hundredths;
};

static DT_CLOCK dt_clock(bool utc) {
    const SYS_TIME t = SYS_clock(utc);
    return DT_CLOCK{t.year, t.month, t.day, t.hour, t.minute, t.second, static_cast<int16_t>(t.millisecond / 10)};
}

// ---- dates -------------------------------------------------------------------

DT_DATE::DT_DATE() {
    const DT_CLOCK c = dt_clock(false);
    year = c.year;
    day = c.day;
    month = c.month;
}

DT_DATE DT_today() {
    return DT_DATE();
}

int16_t DT_set_date(DT_DATE *date, int16_t day, int16_t month, int16_t year) {
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    date->day = day;
    date->month = month;
    date->year = year;
    return 1;
}

const char *DT_date_text(const DT_DATE *date) {
    static char text[DT_TEXT_MAX + 1];
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    snprintf(text, sizeof text, "%2d. %s %4d", date->day, DT_month_name(date->month), date->year);
    return text;
}

const char *DT_date_short(const DT_DATE *date) {
    static char text[DT_TEXT_MAX + 1];
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    snprintf(text, sizeof text, "%2d.%2d.%2d", date->day, date->month, date->year);
    return text;
}

const char *DT_date_file6(const DT_DATE *date) {
    static char text[DT_TEXT_MAX + 1];
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    snprintf(text, sizeof text, "%02d%02d%02d", date->day, date->month, date->year % 100);
    return text;
}

const char *DT_date_file8(const DT_DATE *date) {
    static char text[DT_TEXT_MAX + 1];
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    snprintf(text, sizeof text, "%02d%02d%04d", date->day, date->month, date->year);
    return text;
}

const char *DT_weekday_name(const DT_DATE *date) {
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    if (date->year < DT_EPOCH_YEAR) {
        return DT_BAD_YEAR;
    }
    const int16_t length = dt_month_length(date->month, date->year);
    if (length == 0) {
        return DT_BAD_MONTH;
    }
    if (date->day < 1 || date->day > length) {
        return DT_BAD_DAY;
    }
    // 1 January 1992 was a Wednesday.
    return DT_DAY_NAMES[(dt_days(date->year, date->month, date->day) + 2) % 7];
}

int16_t DT_valid(const DT_DATE *date) {
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (date->year < DT_EPOCH_YEAR + 1) {
        return 0;
    }
    const int16_t length = dt_month_length(date->month, date->year);
    return date->day >= 1 && date->day <= length ? 1 : 0;
}

int16_t DT_day_number(const DT_DATE *date) {
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const int32_t days = dt_day_count(date);
    if (days > INT16_MAX) {
        // Past 2081 the number no longer fits.
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return static_cast<int16_t>(days);
}

int DT_compare(const DT_DATE *date, const DT_DATE *other) {
    if (date == nullptr || other == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const int32_t a = dt_day_count(date);
    const int32_t b = dt_day_count(other);
    return a < b ? -1 : (a > b ? 1 : 0);
}

int32_t DT_days_between(const DT_DATE *date, const DT_DATE *other) {
    if (date == nullptr || other == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return dt_day_count(other) - dt_day_count(date) + 1;
}

int16_t DT_add_days(DT_DATE *date, int32_t n) {
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (n < 0 || !DT_valid(date)) {
        return 0;
    }
    int32_t day = date->day;
    int32_t month = date->month;
    int32_t year = date->year;
    for (;;) {
        const int32_t length = dt_month_length(month, year);
        if (n <= length - day) {
            day += n;
            break;
        }
        n -= length - day + 1;
        day = 1;
        if (++month > 12) {
            month = 1;
            if (++year > 9999) {
                return 0;
            }
        }
    }
    date->day = static_cast<int16_t>(day);
    date->month = static_cast<int16_t>(month);
    date->year = static_cast<int16_t>(year);
    return 1;
}

int16_t DT_next_month(DT_DATE *date) {
    if (date == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (date->month < 12) {
        date->month++;
        return 1;
    }
    if (date->year == INT16_MAX) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    date->month = 1;
    date->year++;
    return 1;
}

// Two-digit years: below 93 in this century, the others in the last one.
static int32_t dt_full_year(int32_t year) {
    if (year >= 100) {
        return year;
    }
    return year < 93 ? 2000 + year : 1900 + year;
}

static bool dt_digit(char c) {
    return c >= '0' && c <= '9';
}

static const char *dt_skip_blanks(const char *p) {
    while (*p == ' ' || *p == '\t') {
        p++;
    }
    return p;
}

// Reads one or two digits.
static bool dt_two_digits(const char **p, int32_t *value) {
    const char *q = *p;
    if (!dt_digit(*q)) {
        return false;
    }
    int32_t v = *q++ - '0';
    if (dt_digit(*q)) {
        v = v * 10 + (*q++ - '0');
    }
    *value = v;
    *p = q;
    return true;
}

// The month name of index m (0..11) without diacritics, in capitals.
static void dt_plain_month(int m, char *out, int16_t maximum) {
    ST_copy(out, DT_MONTH_NAMES[m], maximum);
    CZ_strip(out);
    CZ_upper(out);
}

int16_t DT_parse(DT_DATE *date, const char *text) {
    if (date == nullptr || text == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char buffer[DT_PARSE_MAX + 1];
    ST_copy(buffer, text, DT_PARSE_MAX);
    CZ_strip(buffer);
    ST_trim(buffer);
    CZ_upper(buffer);
    const char *p = buffer;
    int32_t day;
    int32_t month = 0;
    if (!dt_two_digits(&p, &day)) {
        return 0;
    }
    p = dt_skip_blanks(p);
    if (*p == '.' || *p == ',') {
        p = dt_skip_blanks(p + 1);
    }
    if (!dt_two_digits(&p, &month)) {
        // December first and January last, so that "červenec" is found before "červen".
        for (int m = 11; m >= 0 && month == 0; m--) {
            char name[20];
            dt_plain_month(m, name, sizeof name - 1);
            const size_t length = strlen(name);
            if (strncmp(p, name, length) == 0) {
                month = m + 1;
                p += length;
            }
        }
        if (month == 0) {
            return 0;
        }
        // The rest of an inflected name ("5. července").
        while (*p >= 'A' && *p <= 'Z') {
            p++;
        }
    }
    p = dt_skip_blanks(p);
    if (*p == '.' || *p == ',') {
        p = dt_skip_blanks(p + 1);
    }
    // The rest is the year: digits only, and no more of them than a year has.
    int32_t year = 0;
    int digits = 0;
    for (; dt_digit(*p) && digits < 5; p++, digits++) {
        year = year * 10 + (*p - '0');
    }
    if (digits == 0 || *dt_skip_blanks(p) != '\0' || year > 9999) {
        return 0;
    }
    const DT_DATE result(static_cast<int16_t>(day), static_cast<int16_t>(month),
                         static_cast<int16_t>(dt_full_year(year)));
    if (!DT_valid(&result)) {
        return 0;
    }
    *date = result;
    return 1;
}

int16_t DT_from_file_name(DT_DATE *date, const char *name) {
    if (date == nullptr || name == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const char *slash = strrchr(name, '\\');
    const char *p = slash != nullptr ? slash + 1 : name;
    int32_t v[3];
    for (int k = 0; k < 3; k++) {
        if (!dt_digit(p[0]) || !dt_digit(p[1])) {
            return 0;
        }
        v[k] = (p[0] - '0') * 10 + (p[1] - '0');
        p += 2;
    }
    const DT_DATE result(static_cast<int16_t>(v[0]), static_cast<int16_t>(v[1]),
                         static_cast<int16_t>(dt_full_year(v[2])));
    if (!DT_valid(&result)) {
        return 0;
    }
    *date = result;
    return 1;
}

// Little-endian 16-bit fields of the binary forms.
static void dt_put(uint8_t *out, const int16_t *fields, int count) {
    for (int k = 0; k < count; k++) {
        const uint16_t v = static_cast<uint16_t>(fields[k]);
        out[2 * k] = static_cast<uint8_t>(v & 0xFF);
        out[2 * k + 1] = static_cast<uint8_t>(v >> 8);
    }
}

static void dt_get(const uint8_t *in, int16_t *fields, int count) {
    for (int k = 0; k < count; k++) {
        fields[k] = static_cast<int16_t>(static_cast<uint16_t>(in[2 * k] | (in[2 * k + 1] << 8)));
    }
}

int16_t DT_read(DT_DATE *date, C_FILE *file) {
    if (date == nullptr || file == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    uint8_t bytes[6];
    if (!FI_read(file, bytes, sizeof bytes)) {
        return 0;
    }
    int16_t f[3];
    dt_get(bytes, f, 3);
    date->day = f[0];
    date->month = f[1];
    date->year = f[2];
    return 1;
}

int16_t DT_write(const DT_DATE *date, C_FILE *file) {
    if (date == nullptr || file == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const int16_t f[3] = {date->day, date->month, date->year};
    uint8_t bytes[6];
    dt_put(bytes, f, 3);
    return FI_write(file, bytes, sizeof bytes);
}

// ---- times of day --------------------------------------------------------------

DT_TIME::DT_TIME() {
    const DT_CLOCK c = dt_clock(false);
    hundredths = c.hundredths;
    second = c.second;
    minute = c.minute;
    hour = c.hour;
}

DT_TIME DT_now_time() {
    return DT_TIME();
}

int16_t DT_set_time(DT_TIME *time, int16_t hour, int16_t minute, int16_t second) {
    if (time == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    time->hour = hour;
    time->minute = minute;
    time->second = second;
    return 1;
}

const char *DT_time_text(const DT_TIME *time) {
    static char text[DT_TEXT_MAX + 1];
    if (time == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    snprintf(text, sizeof text, "%02d:%02d.%02d", time->hour, time->minute, time->second);
    return text;
}

int16_t DT_add_minutes(DT_TIME *time, int32_t n) {
    if (time == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    // In minutes of the day, so that a carry and the wrap past midnight come
    // out right in both directions.
    const int32_t day = 24 * 60;
    int32_t total = (time->hour * 60 + time->minute + n % day) % day;
    if (total < 0) {
        total += day;
    }
    time->hour = static_cast<int16_t>(total / 60);
    time->minute = static_cast<int16_t>(total % 60);
    return 1;
}

int DT_compare_time(const DT_TIME *time, const DT_TIME *other) {
    if (time == nullptr || other == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const int32_t a = time->hour * 3600 + time->minute * 60 + time->second;
    const int32_t b = other->hour * 3600 + other->minute * 60 + other->second;
    return a < b ? -1 : (a > b ? 1 : 0);
}

int16_t DT_read_time(DT_TIME *time, C_FILE *file) {
    if (time == nullptr || file == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    uint8_t bytes[8];
    if (!FI_read(file, bytes, sizeof bytes)) {
        return 0;
    }
    int16_t f[4];
    dt_get(bytes, f, 4);
    time->hour = f[0];
    time->minute = f[1];
    time->second = f[2];
    time->hundredths = f[3];
    return 1;
}

int16_t DT_write_time(const DT_TIME *time, C_FILE *file) {
    if (time == nullptr || file == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const int16_t f[4] = {time->hour, time->minute, time->second, time->hundredths};
    uint8_t bytes[8];
    dt_put(bytes, f, 4);
    return FI_write(file, bytes, sizeof bytes);
}

// ---- durations -------------------------------------------------------------------

int16_t DT_normalize(DT_DURATION *duration) {
    if (duration == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    DT_DURATION &d = *duration;
    if (d.days < 0 || d.hours < 0 || d.minutes < 0 || d.seconds < 0 || d.hundredths < 0) {
        return 0;
    }
    int32_t seconds = d.seconds + d.hundredths / 100;
    int32_t minutes = d.minutes + seconds / 60;
    int32_t hours = d.hours + minutes / 60;
    const int32_t days = d.days + hours / 24;
    if (days > INT16_MAX) {
        return 0;
    }
    seconds %= 60;
    minutes %= 60;
    hours %= 24;
    d.hundredths = static_cast<int16_t>(d.hundredths % 100);
    d.seconds = static_cast<int16_t>(seconds);
    d.minutes = static_cast<int16_t>(minutes);
    d.hours = static_cast<int16_t>(hours);
    d.days = static_cast<int16_t>(days);
    return 1;
}

const char *DT_duration_text(const DT_DURATION *duration) {
    static char text[DT_TEXT_MAX + 1];
    if (duration == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return "";
    }
    const DT_DURATION &d = *duration;
    if (d.days == 0) {
        snprintf(text, sizeof text, "%02d:%02d:%02d", d.hours, d.minutes, d.seconds);
    } else {
        const char *word = d.days == 1 ? "den" : (d.days >= 2 && d.days <= 4 ? "dny" : "dní");
        snprintf(text, sizeof text, "%2d %s %02d:%02d:%02d", d.days, word, d.hours, d.minutes, d.seconds);
    }
    return text;
}

// ---- date-time stamps ----------------------------------------------------------

static int16_t dt_stamp_from_clock(DT_STAMP *stamp, bool utc, int16_t line) {
    if (stamp == nullptr) {
        WE_internal_error(SRC, line);
        return 0;
    }
    const DT_CLOCK c = dt_clock(utc);
    stamp->kind = utc ? DT_KIND_UTC : DT_KIND_LOCAL;
    stamp->hour = c.hour;
    stamp->minute = c.minute;
    stamp->second = c.second;
    stamp->hundredths = c.hundredths;
    stamp->day = c.day;
    stamp->month = c.month;
    stamp->year = c.year;
    stamp->flags[0] = 0;
    stamp->flags[1] = 0;
    return 1;
}

int16_t DT_stamp_now(DT_STAMP *stamp) {
    return dt_stamp_from_clock(stamp, true, __LINE__);
}

int16_t DT_stamp_now_local(DT_STAMP *stamp) {
    return dt_stamp_from_clock(stamp, false, __LINE__);
}

int16_t DT_stamp_clear(DT_STAMP *stamp) {
    if (stamp == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *stamp = DT_STAMP();
    return 1;
}

int16_t DT_stamp_empty(const DT_STAMP *stamp) {
    if (stamp == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    return (stamp->flags[0] & DT_FLAG_EMPTY) != 0 ? 1 : 0;
}

int DT_stamp_compare(const DT_STAMP *stamp, const DT_STAMP *other) {
    if (stamp == nullptr || other == nullptr) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    const bool empty_a = (stamp->flags[0] & DT_FLAG_EMPTY) != 0;
    const bool empty_b = (other->flags[0] & DT_FLAG_EMPTY) != 0;
    if (empty_a || empty_b) {
        return empty_a == empty_b ? 0 : (empty_a ? -1 : 1);
    }
    const int16_t a[7] = {stamp->year, stamp->month, stamp->day, stamp->hour,
                          stamp->minute, stamp->second, stamp->hundredths};
    const int16_t b[7] = {other->year, other->month, other->day, other->hour,
                          other->minute, other->second, other->hundredths};
    for (int k = 0; k < 7; k++) {
        if (a[k] != b[k]) {
            return a[k] < b[k] ? -1 : 1;
        }
    }
    return 0;
}

// The stamp's form of one text operation.
enum DT_FORM { FORM_TEXT_LONG, FORM_TEXT, FORM_DATE_LONG, FORM_DATE, FORM_TIME };

static const char *dt_stamp_format(const DT_STAMP *stamp, DT_FORM form, char *text, size_t size,
                                   int16_t line) {
    if (stamp == nullptr) {
        WE_internal_error(SRC, line);
        return "";
    }
    if ((stamp->flags[0] & DT_FLAG_EMPTY) != 0) {
        snprintf(text, size, "%s", DT_NO_VALUE);
        return text;
    }
    const DT_STAMP &s = *stamp;
    const char *utc = s.kind == DT_KIND_UTC ? DT_UTC : "";
    switch (form) {
    case FORM_TEXT_LONG:
        snprintf(text, size, "%2d. %s %4d %02d:%02d.%02d%s", s.day, DT_month_name(s.month), s.year,
                 s.hour, s.minute, s.second, utc);
        break;
    case FORM_TEXT:
        snprintf(text, size, "%2d.%2d.%4d %02d:%02d.%02d%s", s.day, s.month, s.year, s.hour,
                 s.minute, s.second, utc);
        break;
    case FORM_DATE_LONG:
        snprintf(text, size, "%2d. %s %4d%s", s.day, DT_month_name(s.month), s.year, utc);
        break;
    case FORM_DATE:
        snprintf(text, size, "%2d.%2d.%4d%s", s.day, s.month, s.year, utc);
        break;
    case FORM_TIME:
        snprintf(text, size, "%02d:%02d.%02d%s", s.hour, s.minute, s.second, utc);
        break;
    }
    return text;
}

const char *DT_stamp_text_long(const DT_STAMP *stamp) {
    static char text[DT_TEXT_MAX + 1];
    return dt_stamp_format(stamp, FORM_TEXT_LONG, text, sizeof text, __LINE__);
}

const char *DT_stamp_text(const DT_STAMP *stamp) {
    static char text[DT_TEXT_MAX + 1];
    return dt_stamp_format(stamp, FORM_TEXT, text, sizeof text, __LINE__);
}

const char *DT_stamp_date_long(const DT_STAMP *stamp) {
    static char text[DT_TEXT_MAX + 1];
    return dt_stamp_format(stamp, FORM_DATE_LONG, text, sizeof text, __LINE__);
}

const char *DT_stamp_date(const DT_STAMP *stamp) {
    static char text[DT_TEXT_MAX + 1];
    return dt_stamp_format(stamp, FORM_DATE, text, sizeof text, __LINE__);
}

const char *DT_stamp_time(const DT_STAMP *stamp) {
    static char text[DT_TEXT_MAX + 1];
    return dt_stamp_format(stamp, FORM_TIME, text, sizeof text, __LINE__);
}

// Reader of the stamp texts: each number and separator may follow blanks.
struct DT_READER {
    const char *p;

    bool number(int32_t low, int32_t high, int16_t *out) {
        p = dt_skip_blanks(p);
        if (!dt_digit(*p)) {
            return false;
        }
        int32_t v = 0;
        while (dt_digit(*p)) {
            v = v * 10 + (*p++ - '0');
            if (v > high) {
                return false;
            }
        }
        if (v < low) {
            return false;
        }
        *out = static_cast<int16_t>(v);
        return true;
    }

    bool separator(char c) {
        p = dt_skip_blanks(p);
        if (*p != c) {
            return false;
        }
        p++;
        return true;
    }

    // A whole word equal to a month name, regardless of diacritics and case.
    bool month_name(int16_t *out) {
        p = dt_skip_blanks(p);
        char word[21];
        int16_t n = 0;
        while (*p != '\0' && *p != ' ' && *p != '\t') {
            if (n == static_cast<int16_t>(sizeof word - 1)) {
                return false;
            }
            word[n++] = *p++;
        }
        word[n] = '\0';
        CZ_strip(word);
        CZ_upper(word);
        for (int m = 0; m < 12; m++) {
            char name[20];
            dt_plain_month(m, name, sizeof name - 1);
            if (strcmp(word, name) == 0) {
                *out = static_cast<int16_t>(m + 1);
                return true;
            }
        }
        return false;
    }

    bool date(DT_STAMP *s, bool long_form) {
        return number(1, 31, &s->day) && separator('.') &&
               (long_form ? month_name(&s->month) : number(1, 12, &s->month) && separator('.')) &&
               number(0, INT16_MAX, &s->year);
    }

    bool time(DT_STAMP *s) {
        return number(0, 23, &s->hour) && separator(':') && number(0, 59, &s->minute) &&
               separator('.') && number(0, 59, &s->second);
    }
};

static int16_t dt_stamp_parse(DT_STAMP *stamp, const char *text, bool date, bool long_form,
                              bool time, int16_t line) {
    if (stamp == nullptr || text == nullptr) {
        WE_internal_error(SRC, line);
        return 0;
    }
    *stamp = DT_STAMP();
    DT_STAMP s = DT_STAMP();
    DT_READER r{text};
    if ((date && !r.date(&s, long_form)) || (time && !r.time(&s))) {
        return 0;
    }
    s.kind = strstr(text, "UTC") != nullptr ? DT_KIND_UTC : DT_KIND_LOCAL;
    s.flags[0] = static_cast<uint8_t>(s.flags[0] & ~DT_FLAG_EMPTY);
    *stamp = s;
    return 1;
}

int16_t DT_stamp_parse_long(DT_STAMP *stamp, const char *text) {
    return dt_stamp_parse(stamp, text, true, true, true, __LINE__);
}

int16_t DT_stamp_parse(DT_STAMP *stamp, const char *text) {
    return dt_stamp_parse(stamp, text, true, false, true, __LINE__);
}

int16_t DT_stamp_parse_date_long(DT_STAMP *stamp, const char *text) {
    return dt_stamp_parse(stamp, text, true, true, false, __LINE__);
}

int16_t DT_stamp_parse_date(DT_STAMP *stamp, const char *text) {
    return dt_stamp_parse(stamp, text, true, false, false, __LINE__);
}

int16_t DT_stamp_parse_time(DT_STAMP *stamp, const char *text) {
    return dt_stamp_parse(stamp, text, false, false, true, __LINE__);
}
