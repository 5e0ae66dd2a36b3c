// The system clock (the system boundary of the dates and of the memory
// statistics): the one place the present moment is read.
#pragma once
#include <cstdint>

// A calendar moment as the system gives it; a leap second shows as second 59.
struct SYS_TIME {
    int16_t year;          // four digits
    int16_t month;         // 1 to 12
    int16_t day;           // day of month
    int16_t hour;
    int16_t minute;
    int16_t second;
    int16_t millisecond;   // 0 to 999
};

// The present moment in local time, or in UTC when utc is set.
SYS_TIME SYS_clock(bool utc);
