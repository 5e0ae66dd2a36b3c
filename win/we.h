// Error reports: the internal-error, switch-error, low-memory and error boxes,
// and the status line. Every report returns to its caller, which then gives up
// its own operation; nothing here ends the process.
#pragma once
#include <cstdint>
#include "common/config.h"

// Title and style values of the system boxes.
#define WE_TITLE_ERROR " Chyba "
#define WE_TITLE_INTERNAL " Interní chyba, informujte dodavatele "
#define WE_TITLE_SWITCH " Chyba switch, informujte dodavatele "
#define WE_TEXT_LOW_MEMORY " Málo paměti"
#define WE_STYLE_ERROR 0x12030u      // task-modal, foreground, exclamation
#define WE_STYLE_INTERNAL 0x12010u   // task-modal, foreground, stop sign

enum WE_KIND : int16_t {
    WE_KIND_ERROR = 1,      // WE_error, WE_error_format
    WE_KIND_LOW_MEMORY,     // WE_low_memory
    WE_KIND_INTERNAL,       // WE_internal_error
    WE_KIND_SWITCH,         // WE_switch_error
    WE_KIND_QUESTION,       // message boxes of the toolkit that ask
    WE_KIND_NOTIFY,         // message boxes of the toolkit that inform
};

// One report as it would be shown: the texts are valid during the sink call only.
struct WE_REPORT {
    WE_KIND kind;
    const char *title;
    const char *text;
    uint32_t style;
};

// A sink takes every report instead of the system box and returns the answer
// (the MessageBoxA result it stands for; the error reports ignore it).
typedef int (*WE_SINK)(const WE_REPORT *report);

// Installs a sink (null restores the default) and returns the previous one.
// Default: MessageBoxA on Windows; elsewhere the report goes to stderr in UTF-8.
WE_SINK WE_set_sink(WE_SINK sink);
// The installed sink, or null while the system boxes are in use.
WE_SINK WE_sink();

// Shows a report through the current sink; the answer of the box.
int WE_show(WE_KIND kind, const char *title, const char *text, uint32_t style);

// Hooks of the GUI driver. The owner lookup gives the owner window of every box
// (null: no owner); the status hook puts a text into the status line. Both are
// null until the driver exists and again after it is gone.
typedef void *(*WE_OWNER_LOOKUP)();
typedef void (*WE_STATUS_HOOK)(const char *text);
void WE_set_owner_lookup(WE_OWNER_LOOKUP lookup);
void WE_set_status_hook(WE_STATUS_HOOK hook);
void *WE_owner();   // the owner window of a box now, or null
// Enables (1) or disables (0) every top-level window of the calling thread,
// around a box that only the user may answer. Nothing on a host without windows.
void WE_enable_thread_windows(int16_t enable);
// "Chyba v souboru %s řádek %d" (at most 99 characters), in a static buffer.
const char *WE_file_line_text(const char *file, int16_t line);

// "Chyba v souboru %s řádek %d" with the caller's source module and line.
void WE_internal_error(const char *file, int16_t line);
// The same text for a switch that met an enumeration value it does not know.
void WE_switch_error(const char *file, int16_t line);
void WE_error(const char *text);
// Formats at most 400 characters.
void WE_error_format(const char *format, ...) TRK_PRINTF(1, 2);
void WE_low_memory();
// Formats at most 200 characters into the status line; nothing without one.
void WE_status(const char *format, ...) TRK_PRINTF(1, 2);
