// Calendar dates, times of day, durations and combined date-time stamps, with
// their Czech names and text forms. The formats put the day first, a dot after
// the day and a dot between minutes and seconds ("14:07.09").
//
// Every operation checks its pointers: a null argument raises the
// internal-error report and gives the failure result (0, "" for texts).
// Text operations return one static buffer of their own (at most 50
// characters), overwritten by the next call of the same operation.
#pragma once
#include <cstdint>

class C_FILE;

// A calendar date. A new record holds today's local date.
struct DT_DATE {
    int16_t year;    // four digits
    int16_t day;     // day of month
    int16_t month;   // 1 to 12
    DT_DATE();       // today
    DT_DATE(int16_t day, int16_t month, int16_t year) : year(year), day(day), month(month) {}
};

// A time of day. A new record holds the local time of day now.
struct DT_TIME {
    int16_t hundredths;
    int16_t second;
    int16_t minute;
    int16_t hour;
    DT_TIME();       // now
    DT_TIME(int16_t hour, int16_t minute, int16_t second, int16_t hundredths = 0)
        : hundredths(hundredths), second(second), minute(minute), hour(hour) {}
};

// A duration; a new record is all zero.
struct DT_DURATION {
    int16_t days = 0;
    int16_t hours = 0;
    int16_t minutes = 0;
    int16_t seconds = 0;
    int16_t hundredths = 0;
};

// Kinds of a date-time stamp.
enum : int16_t {
    DT_KIND_NONE = 0,
    DT_KIND_LOCAL = 1,
    DT_KIND_UTC = 2,
};
// Bit of flags[0]: the stamp holds no value.
enum : uint8_t { DT_FLAG_EMPTY = 1 };

// A combined date and time. A new record is cleared (empty).
struct DT_STAMP {
    int16_t kind = DT_KIND_NONE;
    int16_t hour = 0;
    int16_t minute = 0;
    int16_t second = 0;
    int16_t hundredths = 0;
    int16_t day = 0;
    int16_t month = 0;
    int16_t year = 0;
    uint8_t flags[2] = {DT_FLAG_EMPTY, 0};
};

// ---- names -----------------------------------------------------------------

// "leden" .. "prosinec" for 1..12, else "?měsíc?".
const char *DT_month_name(int16_t month);

// ---- dates -----------------------------------------------------------------

// Today's local date.
DT_DATE DT_today();
int16_t DT_set_date(DT_DATE *date, int16_t day, int16_t month, int16_t year);
// " 5. červenec 1998"
const char *DT_date_text(const DT_DATE *date);
// " 5. 7.1998"
const char *DT_date_short(const DT_DATE *date);
// "050798" (year modulo 100)
const char *DT_date_file6(const DT_DATE *date);
// "05071998"
const char *DT_date_file8(const DT_DATE *date);
// The weekday's name; "?rok?" before 1992, "?měsíc?" for a month outside 1..12,
// "?den?" for a day the month does not have.
const char *DT_weekday_name(const DT_DATE *date);
// 1 for a year from 1993 on, month 1..12 and a day the month has (29 February
// in every fourth year: there is no century rule).
int16_t DT_valid(const DT_DATE *date);
// Days since 1 January 1992 (day 0). A year before 1992, an impossible day or
// a date past the 16-bit range raises the internal-error report and gives 0;
// a month outside 1..12 gives 0 without a report.
int16_t DT_day_number(const DT_DATE *date);
// -1, 0, 1 by day number.
int DT_compare(const DT_DATE *date, const DT_DATE *other);
// other's day number minus date's, plus 1 (both days counted).
int32_t DT_days_between(const DT_DATE *date, const DT_DATE *other);
// Adds n >= 0 days; 0 (date unchanged) for an invalid date, a negative n or a
// result past the year 9999.
int16_t DT_add_days(DT_DATE *date, int32_t n);
// The next month (after 12 the month 1 of the next year); the day stays. Always 1 for a date.
int16_t DT_next_month(DT_DATE *date);
// Reads a typed date ("5.7.98", "5. července 1998", "5,7,1998"): day, optional
// "." or ",", month as a number or a month name (with or without diacritics,
// any case), optional "." or ",", year (below 100: 20yy for yy < 93, else
// 19yy). 1 when the date is valid; on 0 the record is unchanged. At most 100
// characters are read.
int16_t DT_parse(DT_DATE *date, const char *text);
// Reads "ddmmyy" from the first six characters of a file name after its last
// backslash (yy < 93: 20yy, else 19yy). 1 when all six are digits and the
// date is valid; on 0 the record is unchanged.
int16_t DT_from_file_name(DT_DATE *date, const char *name);
// Binary form through the file layer: day, month, year, 2 bytes each, little-endian.
// On a failed read the record is unchanged.
int16_t DT_read(DT_DATE *date, C_FILE *file);
int16_t DT_write(const DT_DATE *date, C_FILE *file);

// ---- times of day ------------------------------------------------------------

// The local time of day now.
DT_TIME DT_now_time();
// Sets hour, minute and second (the hundredths stay).
int16_t DT_set_time(DT_TIME *time, int16_t hour, int16_t minute, int16_t second);
// "14:07.09"
const char *DT_time_text(const DT_TIME *time);
// Adds n minutes (negative n goes back), wrapping around midnight.
int16_t DT_add_minutes(DT_TIME *time, int32_t n);
// -1, 0, 1 by hour, minute and second (hundredths are ignored).
int DT_compare_time(const DT_TIME *time, const DT_TIME *other);
// Binary form: hour, minute, second, hundredths, 2 bytes each, little-endian.
// On a failed read the record is unchanged.
int16_t DT_read_time(DT_TIME *time, C_FILE *file);
int16_t DT_write_time(const DT_TIME *time, C_FILE *file);

// ---- durations -------------------------------------------------------------

// Carries hundredths into seconds, seconds into minutes, minutes into hours
// and hours into days. 0 (record unchanged) when a field is negative or the
// days overflow.
int16_t DT_normalize(DT_DURATION *duration);
// "02:05:09", or with days " 3 dny 02:05:09" ("den", "dny", "dní").
const char *DT_duration_text(const DT_DURATION *duration);

// ---- date-time stamps --------------------------------------------------------

// The present moment in UTC (kind 2), flags cleared.
int16_t DT_stamp_now(DT_STAMP *stamp);
// The present moment in local time (kind 1), flags cleared.
int16_t DT_stamp_now_local(DT_STAMP *stamp);
// All fields 0, the empty flag set.
int16_t DT_stamp_clear(DT_STAMP *stamp);
// 1 when the stamp holds no value.
int16_t DT_stamp_empty(const DT_STAMP *stamp);
// -1, 0, 1: an empty stamp is below any other, two empty ones are equal; else
// by year, month, day, hour, minute, second, hundredths (not by kind).
int DT_stamp_compare(const DT_STAMP *stamp, const DT_STAMP *other);

// Texts of a stamp: " UTC" is appended for kind 2, "---" stands for an empty stamp.
// " 5. prosinec 2026 14:07.09"
const char *DT_stamp_text_long(const DT_STAMP *stamp);
// " 5.12.2026 14:07.09"
const char *DT_stamp_text(const DT_STAMP *stamp);
// " 5. prosinec 2026"
const char *DT_stamp_date_long(const DT_STAMP *stamp);
// " 5.12.2026"
const char *DT_stamp_date(const DT_STAMP *stamp);
// "14:07.09"
const char *DT_stamp_time(const DT_STAMP *stamp);

// Read the text of the matching format back. The stamp is cleared first;
// blanks may precede each number and separator; a month name is compared in
// full without diacritics and case. "UTC" anywhere gives kind 2, else kind 1.
// 1 on success (empty flag cleared); 0 leaves the stamp empty.
int16_t DT_stamp_parse_long(DT_STAMP *stamp, const char *text);
int16_t DT_stamp_parse(DT_STAMP *stamp, const char *text);
int16_t DT_stamp_parse_date_long(DT_STAMP *stamp, const char *text);
int16_t DT_stamp_parse_date(DT_STAMP *stamp, const char *text);
int16_t DT_stamp_parse_time(DT_STAMP *stamp, const char *text);
