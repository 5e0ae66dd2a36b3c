#include "win/we.h"

#include <cstdarg>
#include <cstdio>

#include "common/u8.h"

#if TRK_WINDOWS
#include <windows.h>
#endif

namespace {

WE_SINK current_sink = nullptr;
WE_OWNER_LOOKUP owner_lookup = nullptr;
WE_STATUS_HOOK status_hook = nullptr;

#if TRK_WINDOWS
BOOL CALLBACK enable_one(HWND window, LPARAM enable)
{
    EnableWindow(window, static_cast<BOOL>(enable));
    return TRUE;
}

int system_box(const WE_REPORT *report)
{
    HWND owner = static_cast<HWND>(WE_owner());
    WE_enable_thread_windows(0);
    int answer = MessageBoxA(owner, report->text, report->title, report->style);
    WE_enable_thread_windows(1);
    return answer;
}
#else
int system_box(const WE_REPORT *report)
{
    std::fprintf(stderr, "[%s] %s\n", U8_from_cp1250(report->title).c_str(),
                 U8_from_cp1250(report->text).c_str());
    return 1;   // IDOK
}
#endif

void file_line_report(WE_KIND kind, const char *title, const char *file, int16_t line)
{
    WE_show(kind, title, WE_file_line_text(file, line), WE_STYLE_INTERNAL);
}

}  // namespace

WE_SINK WE_set_sink(WE_SINK sink)
{
    WE_SINK previous = current_sink;
    current_sink = sink;
    return previous;
}

WE_SINK WE_sink()
{
    return current_sink;
}

// Every top-level window of this thread; those disabled before a box come
// back enabled too.
void WE_enable_thread_windows(int16_t enable)
{
#if TRK_WINDOWS
    EnumThreadWindows(GetCurrentThreadId(), enable_one, enable ? TRUE : FALSE);
#else
    (void)enable;
#endif
}

const char *WE_file_line_text(const char *file, int16_t line)
{
    static char text[100];
    std::snprintf(text, sizeof text, "Chyba v souboru %s řádek %d", file ? file : "?", line);
    return text;
}

int WE_show(WE_KIND kind, const char *title, const char *text, uint32_t style)
{
    WE_REPORT report{kind, title ? title : "", text ? text : "", style};
    return current_sink ? current_sink(&report) : system_box(&report);
}

void WE_set_owner_lookup(WE_OWNER_LOOKUP lookup)
{
    owner_lookup = lookup;
}

void WE_set_status_hook(WE_STATUS_HOOK hook)
{
    status_hook = hook;
}

void *WE_owner()
{
    return owner_lookup ? owner_lookup() : nullptr;
}

void WE_internal_error(const char *file, int16_t line)
{
    file_line_report(WE_KIND_INTERNAL, WE_TITLE_INTERNAL, file, line);
}

void WE_switch_error(const char *file, int16_t line)
{
    file_line_report(WE_KIND_SWITCH, WE_TITLE_SWITCH, file, line);
}

void WE_error(const char *text)
{
    WE_show(WE_KIND_ERROR, WE_TITLE_ERROR, text, WE_STYLE_ERROR);
}

void WE_error_format(const char *format, ...)
{
    char text[401];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format ? format : "", args);
    va_end(args);
    WE_error(text);
}

void WE_low_memory()
{
    WE_show(WE_KIND_LOW_MEMORY, WE_TITLE_ERROR, WE_TEXT_LOW_MEMORY, WE_STYLE_ERROR);
}

void WE_status(const char *format, ...)
{
    if (!format || !status_hook)
        return;
    char text[201];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    status_hook(text);
}
