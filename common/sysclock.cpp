#include "common/sysclock.h"

#include "common/config.h"

#if TRK_WINDOWS
#include <windows.h>
#else
#include <chrono>
#include <ctime>
#endif

SYS_TIME SYS_clock(bool utc)
{
    SYS_TIME now;
#if TRK_WINDOWS
    SYSTEMTIME st;
    if (utc)
        GetSystemTime(&st);
    else
        GetLocalTime(&st);
    now.year = static_cast<int16_t>(st.wYear);
    now.month = static_cast<int16_t>(st.wMonth);
    now.day = static_cast<int16_t>(st.wDay);
    now.hour = static_cast<int16_t>(st.wHour);
    now.minute = static_cast<int16_t>(st.wMinute);
    now.second = static_cast<int16_t>(st.wSecond);
    now.millisecond = static_cast<int16_t>(st.wMilliseconds);
#else
    const auto moment = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count() % 1000;
    const std::time_t t = std::chrono::system_clock::to_time_t(moment);
    std::tm tm{};
    if (utc)
        gmtime_r(&t, &tm);
    else
        localtime_r(&t, &tm);
    now.year = static_cast<int16_t>(tm.tm_year + 1900);
    now.month = static_cast<int16_t>(tm.tm_mon + 1);
    now.day = static_cast<int16_t>(tm.tm_mday);
    now.hour = static_cast<int16_t>(tm.tm_hour);
    now.minute = static_cast<int16_t>(tm.tm_min);
    now.second = static_cast<int16_t>(tm.tm_sec > 59 ? 59 : tm.tm_sec);
    now.millisecond = static_cast<int16_t>(ms < 0 ? ms + 1000 : ms);
#endif
    return now;
}
