#include "swin/prn_util.h"

#include <commdlg.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>

#include "common/cz.h"
#include "common/mm.h"
#include "common/st.h"
#include "res/dialogs.h"
#include "swin/dialog.h"
#include "swin/dtools.h"
#include "swin/wgd.h"
#include "swin2/bw.h"
#include "win/guard.h"
#include "win/we.h"
#include "win/we_boxes.h"

static const char SRC[] = "..\\swin\\prn_util";

namespace {

const char DEVICE_NOTICE[] = "Nevhodný název souboru %s, asi bude vytištěn";
const char OTHER_NAMES[] = "Různé interní názvy tiskáren: '%s' a '%s'";
const char IMAGE_DOCUMENT[] = "TEST";
const int32_t BAND_ROWS = 64;   // rows of the picture sent to the printer at a time

// ---- the spooler ----

// The records of the installed printers: on Windows NT the local printers and
// the connections (level 4), else the local printers (level 5). The first
// call asks for the size, the second fills a buffer of that size. Null (no
// records) when there are none, the spooler cannot answer or no memory is left.
BYTE *printer_records(DWORD *count, DWORD *level)
{
    DWORD flags = PRINTER_ENUM_LOCAL;
    *level = 5;
    *count = 0;
    if (!(GetVersion() & 0x80000000u)) {   // Windows NT
        flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
        *level = 4;
    }
    DWORD needed = 0, returned = 0;
    EnumPrintersA(flags, nullptr, *level, nullptr, 0, &needed, &returned);
    if (needed == 0 || needed > INT32_MAX)
        return nullptr;
    BYTE *records = static_cast<BYTE *>(MM_alloc(1, static_cast<int32_t>(needed), SRC, __LINE__));
    if (!records)
        return nullptr;
    if (!EnumPrintersA(flags, nullptr, *level, records, needed, &needed, &returned) || returned == 0) {
        MM_free(records, SRC, __LINE__);
        return nullptr;
    }
    *count = returned;
    return records;
}

const char *record_name(const BYTE *records, DWORD level, DWORD i)
{
    return level == 4 ? reinterpret_cast<const PRINTER_INFO_4A *>(records)[i].pPrinterName
                      : reinterpret_cast<const PRINTER_INFO_5A *>(records)[i].pPrinterName;
}

// The default printer by the print dialog (no owner): its device name and,
// when asked, its device context. 0 when there is none.
int16_t default_printer(char *name, HDC *dc)
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | (dc ? PD_RETURNDC : 0);
    int16_t found = 0;
    if (PrintDlgA(&dialog) && dialog.hDevNames) {
        if (const DEVNAMES *names = static_cast<const DEVNAMES *>(GlobalLock(dialog.hDevNames))) {
            if (name)
                ST_copy(name, reinterpret_cast<const char *>(names) + names->wDeviceOffset, PRN_NAME_MAX);
            found = 1;
            GlobalUnlock(dialog.hDevNames);
        }
    }
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    if (dc && found) {
        *dc = dialog.hDC;
    } else {
        if (dialog.hDC)
            DeleteDC(dialog.hDC);
        if (dc)
            *dc = nullptr;
    }
    return found;
}

// Shows the status text when the settings carry another device name than the printer's.
void check_names(const DEVMODEA *settings, const char *printer)
{
    char inside[CCHDEVICENAME + 1];
    std::memcpy(inside, settings->dmDeviceName, CCHDEVICENAME);
    inside[CCHDEVICENAME] = 0;
    if (std::strcmp(inside, printer) != 0)
        WE_status(OTHER_NAMES, printer, inside);
}

// ---- the print-cancel dialog ----

// Every registered window of the driver and the top window, enabled or not.
void enable_windows(BOOL enable)
{
    if (!WGD_driver)
        return;
    for (C_BW *w : WGD_driver->windows)
        if (w && w->window)
            EnableWindow(w->window, enable);
    if (WGD_driver->top_window && WGD_driver->top_window->window)
        EnableWindow(WGD_driver->top_window->window, enable);
}

class C_PRINT_CANCEL : public C_DIALOG {
public:
    explicit C_PRINT_CANCEL(HWND owner_) : C_DIALOG(owner_, DLG_PRINT_CANCEL) {}
    int16_t init() override
    {
        // The dialog ends only by its button.
        EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        return 1;
    }
    // Any command: the user cancels the job.
    LRESULT command(UINT message, WPARAM, LPARAM) override
    {
        if (message != WM_COMMAND)
            return 0;
        if (WGD_driver)
            WGD_driver->print_abort = 1;
        enable_windows(TRUE);
        forget_window();
        return 1;
    }
    void forget_window()
    {
        if (modeless_window)
            DestroyWindow(modeless_window);
        if (WGD_driver)
            WGD_driver->print_cancel_dialog = nullptr;
    }
};

C_PRINT_CANCEL *cancel_dialog = nullptr;

BOOL CALLBACK abort_procedure(HDC, int)
{
    MSG message;
    while (WGD_driver && !WGD_driver->print_abort && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        HWND dialog = WGD_driver->print_cancel_dialog;
        if (!dialog || !IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return WGD_driver && !WGD_driver->print_abort;
}

int16_t set_field(int32_t id, const char *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    HWND dialog = WGD_driver ? WGD_driver->print_cancel_dialog : nullptr;
    return dialog && SetDlgItemTextA(dialog, id, text) ? 1 : 0;
}

// ---- the image job ----

struct IMAGE_JOB {
    HDC printer = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t row_size = 0;
    uint8_t *dots = nullptr;       // row_size * height bytes
    RGBQUAD palette[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};   // a clear bit white, a set bit ink
    int16_t started = 0;
    int16_t failed = 0;
};

IMAGE_JOB image;

void image_free()
{
    MM_free(image.dots, SRC, __LINE__);
    image.dots = nullptr;
    if (image.printer)
        DeleteDC(image.printer);
    image.printer = nullptr;
    image.started = image.failed = 0;
}

// The picture's rows from first on, count of them, at the page's scale.
int16_t send_band(int32_t first, int32_t count, double scale, uint8_t *band, int32_t stride)
{
    for (int32_t r = 0; r < count; r++) {
        std::memset(band + r * stride, 0, static_cast<size_t>(stride));
        std::memcpy(band + r * stride, image.dots + static_cast<size_t>(first + r) * image.row_size,
                    static_cast<size_t>(image.row_size));
    }
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = image.width;
    info.header.biHeight = -count;   // top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 2;
    info.colours[0] = image.palette[0];
    info.colours[1] = image.palette[1];
    const int top = static_cast<int>(first * scale), bottom = static_cast<int>((first + count) * scale);
    return StretchDIBits(image.printer, 0, top, static_cast<int>(image.width * scale), bottom - top, 0, 0, image.width,
                         count, band, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, SRCCOPY) > 0
               ? 1
               : 0;
}

}  // namespace

// ---- the spooler ----

int16_t PRN_printer_installed()
{
    DWORD count = 0, level = 0;
    BYTE *records = printer_records(&count, &level);
    MM_free(records, SRC, __LINE__);
    return count > 0 ? 1 : 0;
}

int16_t PRN_list_printers(char ***names, int16_t *count)
{
    if (!names || !count) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *names = nullptr;
    *count = 0;
    DWORD n = 0, level = 0;
    BYTE *records = printer_records(&n, &level);
    if (!records)
        return 0;
    n = n > INT16_MAX ? INT16_MAX : n;
    char **list = static_cast<char **>(MM_alloc(static_cast<int32_t>(n), sizeof(char *), SRC, __LINE__));
    int16_t made = 0;
    while (list && made < static_cast<int16_t>(n) && ST_dup(record_name(records, level, made), &list[made]))
        made++;
    MM_free(records, SRC, __LINE__);
    if (!list || made < static_cast<int16_t>(n)) {
        PRN_free_list(&list, &made);
        return 0;
    }
    *names = list;
    *count = made;
    return 1;
}

void PRN_free_list(char ***names, int16_t *count)
{
    if (!names || !*names)
        return;
    for (int16_t i = 0; count && i < *count; i++)
        ST_free(&(*names)[i]);
    MM_free(*names, SRC, __LINE__);
    *names = nullptr;
    if (count)
        *count = 0;
}

int16_t PRN_default_name(char *buffer)
{
    if (!buffer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (default_printer(buffer, nullptr))
        return 1;
    ST_copy(buffer, " ", 0);
    return 0;
}

int16_t PRN_default_caps(int16_t *bitmaps, int32_t *width, int32_t *height, int32_t *dpi_x, int32_t *dpi_y)
{
    HDC dc = nullptr;
    if (!bitmaps || !width || !height || !dpi_x || !dpi_y || !default_printer(nullptr, &dc) || !dc) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *bitmaps = (GetDeviceCaps(dc, RASTERCAPS) & RC_BITBLT) ? 1 : 0;
    *width = GetDeviceCaps(dc, HORZRES);
    *height = GetDeviceCaps(dc, VERTRES);
    *dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
    *dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
    DeleteDC(dc);
    return 1;
}

int16_t PRN_get_settings(DEVMODEA **settings, const char *printer)
{
    if (!settings || !printer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *settings = nullptr;
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char *>(printer), &handle, nullptr))
        return 0;
    const LONG size = DocumentPropertiesA(nullptr, handle, const_cast<char *>(printer), nullptr, nullptr, 0);
    DEVMODEA *block = size > 0 ? static_cast<DEVMODEA *>(MM_alloc(1, size, SRC, __LINE__)) : nullptr;
    if (block && DocumentPropertiesA(nullptr, handle, const_cast<char *>(printer), block, nullptr, DM_OUT_BUFFER) != IDOK) {
        MM_free(block, SRC, __LINE__);
        block = nullptr;
    }
    ClosePrinter(handle);
    *settings = block;
    return block ? 1 : 0;
}

int16_t PRN_edit_settings(HWND owner, DEVMODEA *settings, const char *printer)
{
    if (!settings || !printer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    check_names(settings, printer);
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char *>(printer), &handle, nullptr))
        return 0;
    const LONG answer = DocumentPropertiesA(owner, handle, const_cast<char *>(printer), settings, settings,
                                            DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER);
    ClosePrinter(handle);
    return answer == IDOK || answer == IDCANCEL ? 1 : 0;
}

int16_t PRN_exists(const char *printer)
{
    if (!printer) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char *>(printer), &handle, nullptr))
        return 0;
    ClosePrinter(handle);
    return 1;
}

int16_t PRN_colours(COLORREF **colours, int32_t *count, const char *printer, const DEVMODEA *settings)
{
    if (!colours || !count || !printer || !settings) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    *colours = nullptr;
    *count = 0;
    check_names(settings, printer);
    HDC dc = CreateDCA(nullptr, printer, nullptr, settings);
    if (!dc)
        return 0;
    const int n = GetDeviceCaps(dc, NUMCOLORS);
    if (n < 0) {   // continuous colours: no list
        DeleteDC(dc);
        *count = -1;
        return 1;
    }
    COLORREF *list = n > 0 ? static_cast<COLORREF *>(MM_alloc(n, sizeof(COLORREF), SRC, __LINE__)) : nullptr;
    if (!list) {
        DeleteDC(dc);
        return 0;
    }
    struct TAKEN {
        COLORREF *list;
        int32_t wanted, count;
    } taken{list, n, 0};
    EnumObjects(dc, OBJ_PEN, [](LPVOID object, LPARAM data) -> int {
        TAKEN *t = reinterpret_cast<TAKEN *>(data);
        const LOGPEN *pen = static_cast<const LOGPEN *>(object);
        if (pen->lopnStyle == PS_SOLID)
            t->list[t->count++] = pen->lopnColor;
        return t->count < t->wanted;
    }, reinterpret_cast<LPARAM>(&taken));
    DeleteDC(dc);
    *colours = list;
    *count = taken.count;
    return 1;
}

int16_t PRN_is_device_name(const char *file_name)
{
    if (!file_name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    // The name without directory and extension, in upper case.
    const char *base = file_name;
    for (const char *p = file_name; *p; p++)
        if (*p == '\\' || *p == '/' || *p == ':')
            base = p + 1;
    char name[16];
    int16_t length = 0, extension = 0;
    for (const char *p = base; *p && !extension; p++) {
        if (*p == '.')
            extension = 1;
        else if (length >= static_cast<int16_t>(sizeof name) - 1)
            return 0;
        else
            name[length++] = *p;
    }
    name[length] = 0;
    ST_trim(name);
    CZ_upper(name);
    static const char *const DEVICES[] = {"PRN", "LPT1", "LPT2", "LPT3", "LPT4"};
    for (const char *device : DEVICES)
        if (std::strcmp(name, device) == 0) {
            if (extension) {
                char text[300];
                std::snprintf(text, sizeof text, DEVICE_NOTICE, file_name);
                WE_notify(text);
            }
            return 1;
        }
    return 0;
}

// ---- the print-cancel dialog ----

int16_t PRN_cancel_open(HDC printer, HWND owner)
{
    if (!printer || !WGD_driver) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    PRN_cancel_close();
    enable_windows(FALSE);
    WGD_driver->print_abort = 0;
    SetAbortProc(printer, abort_procedure);
    cancel_dialog = new (SRC, __LINE__) C_PRINT_CANCEL(owner);
    if (!cancel_dialog || !DIALOG_create_modeless(cancel_dialog)) {
        MM_destroy(cancel_dialog, SRC, __LINE__);
        cancel_dialog = nullptr;
        enable_windows(TRUE);
        return 0;
    }
    WGD_driver->print_cancel_dialog = cancel_dialog->window;
    return 1;
}

int16_t PRN_cancel_text1(const char *text)
{
    return set_field(DLG_ID_TEXT, text);
}

int16_t PRN_cancel_text2(const char *text)
{
    return set_field(DLG_ID_EDIT, text);
}

void PRN_cancel_close()
{
    if (!cancel_dialog)
        return;
    if (WGD_driver && !WGD_driver->print_abort) {
        enable_windows(TRUE);
        cancel_dialog->forget_window();
    }
    MM_destroy(cancel_dialog, SRC, __LINE__);
    cancel_dialog = nullptr;
}

int16_t PRN_cancelled()
{
    return WGD_driver && WGD_driver->print_abort ? 1 : 0;
}

int16_t PRN_cancel_pump()
{
    return abort_procedure(nullptr, 0) ? 1 : 0;
}

// ---- the image job ----

int16_t PRN_image_start(int32_t height, int32_t width)
{
    PRN_image_end();
    if (height <= 0 || width <= 0 || width > 32767 * 8) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    image.height = height;
    image.width = width;
    image.row_size = (width + 15) / 16 * 2;
    image.dots = static_cast<uint8_t *>(MM_alloc(height, image.row_size, SRC, __LINE__));
    if (!image.dots) {
        WE_low_memory();
        return 0;
    }
    std::memset(image.dots, 0, static_cast<size_t>(height) * image.row_size);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = IMAGE_DOCUMENT;
    if (!default_printer(nullptr, &image.printer) || !image.printer ||
        !PRN_cancel_open(image.printer, static_cast<HWND>(WE_owner())) || !PRN_cancel_text1(PRN_DOCUMENT) ||
        StartDocA(image.printer, &document) <= 0) {
        WE_internal_error(SRC, __LINE__);
        PRN_cancel_close();
        image_free();
        return 0;
    }
    if (StartPage(image.printer) <= 0) {
        WE_internal_error(SRC, __LINE__);
        AbortDoc(image.printer);
        PRN_cancel_close();
        image_free();
        return 0;
    }
    SetBkColor(image.printer, RGB(255, 255, 255));
    SetBkMode(image.printer, OPAQUE);
    image.started = 1;
    return 1;
}

int16_t PRN_image_row(int32_t row, const uint8_t *dots)
{
    if (!image.started || !dots || row < 0 || row >= image.height)
        return 0;
    std::memcpy(image.dots + static_cast<size_t>(row) * image.row_size, dots, static_cast<size_t>(image.row_size));
    return 1;
}

int16_t PRN_image_page(int16_t more)
{
    if (!image.started || image.failed) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    // The page's width, the proportions kept (and the whole picture on the page).
    const double across = static_cast<double>(GetDeviceCaps(image.printer, HORZRES)) / image.width;
    const double down = static_cast<double>(GetDeviceCaps(image.printer, VERTRES)) / image.height;
    const double scale = across < down ? across : down;
    const int32_t stride = (image.width + 31) / 32 * 4;
    uint8_t *band = static_cast<uint8_t *>(MM_alloc(BAND_ROWS, stride, SRC, __LINE__));
    int16_t ok = band ? 1 : 0;
    for (int32_t first = 0; ok && first < image.height; first += BAND_ROWS) {
        const int32_t count = image.height - first < BAND_ROWS ? image.height - first : BAND_ROWS;
        ok = send_band(first, count, scale, band, stride) && PRN_cancel_pump();
    }
    MM_free(band, SRC, __LINE__);
    std::memset(image.dots, 0, static_cast<size_t>(image.height) * image.row_size);
    ok = ok && EndPage(image.printer) > 0;
    if (ok && more)
        ok = StartPage(image.printer) > 0;
    if (!ok) {
        image.failed = 1;
        if (!PRN_cancelled())
            WE_internal_error(SRC, __LINE__);
    }
    return ok;
}

int16_t PRN_image_end()
{
    if (!image.printer) {
        image_free();
        return 0;
    }
    const int16_t done = image.started && !image.failed && EndDoc(image.printer) > 0 ? 1 : 0;
    if (!done)
        AbortDoc(image.printer);
    PRN_cancel_close();
    image_free();
    return done;
}
