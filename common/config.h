// Build switches of the whole suite, in one place.
#pragma once

#if defined(_WIN32)
#define TRK_WINDOWS 1   // Win32 build: system boxes, registry, drives
#else
#define TRK_WINDOWS 0   // host build of the portable libraries
#endif

// printf-style checking of the suite's formatting functions.
#if defined(__GNUC__)
#if defined(__MINGW32__)
#define TRK_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#else
#define TRK_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#endif
#else
#define TRK_PRINTF(fmt, args)
#endif
