// Printing utilities: the questions put to the print spooler, a printer's
// device settings and colours, the check that a file name is a printer
// device, the print-cancel dialog with its abort procedure, and the banded
// monochrome image job.
//
// Status flags: 1 = yes / success, 0 = no / failure. Null printer names or
// settings are internal errors.
#pragma once
#include <windows.h>

#include <cstdint>

#define PRN_NAME_MAX 255          // characters of a printer's name
#define PRN_DOCUMENT "TOREVAN"    // the image job's text in the print-cancel dialog

// 1 when the spooler lists at least one printer: on Windows NT the local
// printers and the connections (information level 4), on Windows 95 and 98
// the local printers (level 5). 0 when it lists none, when it cannot be
// asked or when there is no memory for its answer (no message).
int16_t PRN_printer_installed();
// The names of the printers the spooler lists (the same query): *names an
// owned array (MM_alloc) of *count owned texts, freed by PRN_free_list.
// 0 (and no array) when there is none or no memory.
int16_t PRN_list_printers(char ***names, int16_t *count);
void PRN_free_list(char ***names, int16_t *count);
// The default printer's device name into buffer (PRN_NAME_MAX + 1 bytes);
// 0 and a single blank when there is no default printer.
int16_t PRN_default_name(char *buffer);
// The default printer's capabilities: whether it draws bitmaps (RC_BITBLT),
// its printable width and height in pixels and its resolution. 0 (internal
// error) when there is no default printer.
int16_t PRN_default_caps(int16_t *bitmaps, int32_t *width, int32_t *height, int32_t *dpi_x, int32_t *dpi_y);
// An owned copy (MM_alloc, freed with MM_free) of the printer's device
// settings in *settings; 0 when it cannot be opened or asked.
int16_t PRN_get_settings(DEVMODEA **settings, const char *printer);
// The printer's properties dialog on the settings (in and out). A device name
// inside the settings other than the printer's is shown in the status line,
// and the settings are still used. 1 once the dialog has run (also when the
// person cancelled it: the settings are then as they were); 0 when it could
// not run.
int16_t PRN_edit_settings(HWND owner, DEVMODEA *settings, const char *printer);
// 1 when the printer can be opened.
int16_t PRN_exists(const char *printer);
// The printer's solid pen colours: *colours an owned array (MM_alloc) of
// *count entries; *count -1 (and no array) for a device of continuous
// colours.
int16_t PRN_colours(COLORREF **colours, int32_t *count, const char *printer, const DEVMODEA *settings);
// 1 when the file name, without directory and extension and in upper case,
// is PRN or LPT1 .. LPT4; a name that had an extension is then reported with
// "Nevhodný název souboru %s, asi bude vytištěn". An empty or blank name: 0.
int16_t PRN_is_device_name(const char *file_name);

// ---- the print-cancel dialog (template 130, "Zrušení tisku") ----
// Disables the driver's windows, clears the abort flag, installs the abort
// procedure for the printer's device context (it works off waiting messages
// while the job prints) and shows the dialog for owner. 0 when it could not.
int16_t PRN_cancel_open(HDC printer, HWND owner);
int16_t PRN_cancel_text1(const char *text);   // field 100: the document's name
int16_t PRN_cancel_text2(const char *text);   // field 101: the page
// Enables the windows and closes the dialog, unless the user cancelled
// (which did both already).
void PRN_cancel_close();
// 1 once the user pressed "&Zrušit" in the running job.
int16_t PRN_cancelled();
// The abort procedure called by the printing code itself (between pages;
// not every system calls it while spooling): works off the waiting
// messages; 1 to go on, 0 once the user cancelled.
int16_t PRN_cancel_pump();

// ---- the image job: a monochrome picture printed in bands ----
// Starts the job on the default printer: a cleared picture of height rows of
// width dots (a row of (width + 15) / 16 * 2 bytes, the first dot in the high
// bit, a set bit is ink), the print-cancel dialog for the application's
// window, the document "TEST" and its first page. An earlier job's picture
// is dropped. 0 (internal error) when the job could not start.
int16_t PRN_image_start(int32_t height, int32_t width);
// Copies one row of dots (the row size of bytes) into the picture; 0 for a
// row outside it or without a started job.
int16_t PRN_image_row(int32_t row, const uint8_t *dots);
// Sends the picture to the page in bands, scaled to the page's width with
// the proportions kept, and clears it; with more set, starts the next page.
// 0 (internal error) when a band or the page failed, or the user cancelled.
int16_t PRN_image_page(int16_t more);
// Ends the job (the document when every page went out) and frees the picture.
int16_t PRN_image_end();
