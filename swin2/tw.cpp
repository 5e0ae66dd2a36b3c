#include "swin2/tw.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <commdlg.h>

#include "common/fi.h"
#include "common/st.h"
#include "common/txt.h"
#include "swin/ctl.h"
#include "swin/fd.h"
#include "swin/prn_util.h"
#include "swin/wco.h"
#include "swin/wgd.h"
#include "swin2/bw.h"
#include "swin2/scr.h"
#include "win/we.h"

static const char SRC[] = "..\\swin2\\tw";

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

HINSTANCE module_instance()
{
    return WGD_driver ? WGD_driver->instance : GetModuleHandleA(nullptr);
}

int16_t register_class(HINSTANCE instance)
{
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.style = 0;
    record.lpfnWndProc = procedure;
    record.cbWndExtra = sizeof(LONG_PTR);   // the object pointer
    record.hInstance = instance;
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    record.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    record.lpszClassName = TW_CLASS_NAME;
    record.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(TW_SMALL_ICON), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   LR_SHARED));
    return CTL_register_class(&record);
}

// What the window shows: the own lines or the external list.
int32_t shown_count(const TW_text_window *text)
{
    return text->external && text->list ? text->list->count : text->count;
}

const char *shown_line(const TW_text_window *text, int32_t index)
{
    if (!(text->external && text->list))
        return text->lines[index];
    const TXT_line *line = TXT_get(text->list, static_cast<int16_t>(index));
    return line && line->text ? line->text : "";
}

int32_t page_lines(const TW_text_window *text)
{
    return text->line_height > 0 ? text->client_height / text->line_height : 0;
}

// Pixel width of a line in the window's font; 0 before there is a font
// (creating the window measures every line).
int32_t pixel_width(const TW_text_window *text, const char *line)
{
    if (!text->font)
        return 0;
    C_WINDOW_DC dc(text->window);
    C_SELECT chosen(dc, text->font);
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc, line, ST_length(line), &extent);
    return extent.cx;
}

void set_ranges(TW_text_window *text)
{
    if (!text->window)
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    int32_t count = shown_count(text);
    info.nMax = count > 0 ? count - 1 : 0;
    info.nPage = static_cast<UINT>(page_lines(text));
    SetScrollInfo(text->window, SB_VERT, &info, TRUE);
    info.nMax = text->widest;
    info.nPage = static_cast<UINT>(text->client_width > 0 ? text->client_width : 0);
    SetScrollInfo(text->window, SB_HORZ, &info, TRUE);
}

void record_client_size(TW_text_window *text)
{
    RECT r{0, 0, 0, 0};
    GetClientRect(text->window, &r);
    text->client_width = r.right - r.left;
    text->client_height = r.bottom - r.top;
}

// Save and clear while there are lines; print while there are lines and a printer.
void set_commands(TW_text_window *text)
{
    if (!text->system_menu)
        return;
    UINT lines = text->count > 0 ? MF_ENABLED : MF_GRAYED;
    UINT print = text->count > 0 && PRN_printer_installed() ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(text->system_menu, TW_SAVE, MF_BYCOMMAND | lines);
    EnableMenuItem(text->system_menu, TW_PRINT, MF_BYCOMMAND | print);
    EnableMenuItem(text->system_menu, TW_CLEAR, MF_BYCOMMAND | lines);
}

void add_commands(TW_text_window *text)
{
    HMENU menu = GetSystemMenu(text->window, FALSE);
    if (!menu)
        return;
    text->system_menu = menu;
    InsertMenuA(menu, 5, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(menu, 6, MF_BYPOSITION | MF_STRING, TW_SAVE, "&Uložení");
    InsertMenuA(menu, 7, MF_BYPOSITION | MF_STRING, TW_PRINT, "&Tisk");
    InsertMenuA(menu, 8, MF_BYPOSITION | MF_STRING, TW_CLEAR, "&Vymazání");
    set_commands(text);
}

// The description starts from the font selected in the window's device
// context; the settings of section TW_info_window override it, missing keys
// are written back from it.
int16_t make_font(TW_text_window *text)
{
    LOGFONTA description{};
    C_WINDOW_DC dc(text->window);
    if (!dc.ok() || !GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof description, &description))
        SCR_font_defaults(&description);
    if (WCO_file *store = WCO_system_store())
        SCR_read_font_section(store, TW_SECTION, "", &description);
    HFONT font = CreateFontIndirectA(&description);
    if (!font)
        return 0;
    text->font.reset(font);
    text->font_description = description;
    C_SELECT chosen(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    text->char_width = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    text->line_height = metrics.tmHeight + metrics.tmExternalLeading;
    if (text->line_height < 1)
        text->line_height = 1;
    return 1;
}

void measure_all(TW_text_window *text)
{
    text->widest = 0;
    int32_t count = shown_count(text);
    C_WINDOW_DC dc(text->window);
    C_SELECT chosen(dc, text->font);
    for (int32_t i = 0; i < count; i++) {
        const char *line = shown_line(text, i);
        SIZE extent{0, 0};
        GetTextExtentPoint32A(dc, line, ST_length(line), &extent);
        if (extent.cx > text->widest)
            text->widest = extent.cx;
    }
}

// Width and height of the contents with frame and caption, within the
// owner's client area; the position is kept.
void size_to_contents(TW_text_window *text)
{
    int32_t frame_x = GetSystemMetrics(SM_CXSIZEFRAME), frame_y = GetSystemMetrics(SM_CYSIZEFRAME);
    int32_t width = text->widest + 1 + 2 * frame_x;
    int32_t height = (shown_count(text) + 1) * text->line_height + 1 + GetSystemMetrics(SM_CYCAPTION) + 2 * frame_y;
    RECT owner{0, 0, 0, 0};
    GetClientRect(text->owner_window, &owner);
    if (width > owner.right) {
        width = owner.right;
        height += GetSystemMetrics(SM_CYHSCROLL);
    }
    if (height > owner.bottom) {
        height = owner.bottom;
        width += GetSystemMetrics(SM_CXVSCROLL);
        if (width > owner.right)
            width = owner.right;
    }
    SetWindowPos(text->window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The view follows the end when the new last line is within the visible
// lines or just below them; else it stays where the user left it.
void follow_end(TW_text_window *text)
{
    set_ranges(text);
    if (text->external)
        return;
    int32_t first = GetScrollPos(text->window, SB_VERT);
    if (first < 0)
        first = 0;
    int32_t last = first + page_lines(text);
    int32_t added = text->count - 1;
    if ((added >= first && added <= last) || last == added - 1) {
        SetScrollPos(text->window, SB_VERT, added, TRUE);   // the system keeps the last page shown
        InvalidateRect(text->window, nullptr, TRUE);
        UpdateWindow(text->window);
    }
}

void paint(TW_text_window *text, HWND window)
{
    C_PAINT painting(window);
    C_SELECT chosen(painting, text->font);
    SetBkColor(painting, GetSysColor(COLOR_WINDOW));
    SetTextColor(painting, RGB(text->colour[0], text->colour[1], text->colour[2]));
    int32_t count = shown_count(text);
    if (count == 0 || text->line_height < 1)
        return;
    int32_t top = GetScrollPos(window, SB_VERT), left = GetScrollPos(window, SB_HORZ);
    int32_t from = painting.ps.rcPaint.top / text->line_height + top;
    int32_t to = painting.ps.rcPaint.bottom / text->line_height + top;
    if (to > count - 1)
        to = count - 1;
    for (int32_t i = from < 0 ? 0 : from; i <= to; i++) {
        const char *line = shown_line(text, i);
        TextOutA(painting, -left, (i - top) * text->line_height, line, ST_length(line));
    }
}

void scroll(TW_text_window *text, HWND window, int bar, WPARAM wparam)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window, bar, &info))
        return;
    bool vertical = bar == SB_VERT;
    int32_t step = vertical ? 1 : text->char_width;
    int32_t page = vertical ? page_lines(text) : text->client_width;
    int32_t position = info.nPos;
    switch (LOWORD(wparam)) {
    case SB_LINEUP: position -= step; break;
    case SB_LINEDOWN: position += step; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
        // The message carries 16 bits; a longer range is read from the bar.
        position = info.nMax > 0xFFFF ? info.nTrackPos : HIWORD(wparam);
        break;
    case SB_TOP:
        if (!vertical)
            return;
        position = info.nMin;
        break;
    case SB_BOTTOM:
        if (!vertical)
            return;
        position = info.nMax;
        break;
    default:
        return;   // SB_THUMBPOSITION and SB_ENDSCROLL change nothing
    }
    SetScrollPos(window, bar, position, TRUE);
    int32_t now = GetScrollPos(window, bar);   // as the system clamped it
    if (now == info.nPos)
        return;
    if (vertical)
        ScrollWindow(window, 0, (info.nPos - now) * text->line_height, nullptr, nullptr);
    else
        ScrollWindow(window, info.nPos - now, 0, nullptr, nullptr);
    UpdateWindow(window);
}

void save_from_menu(TW_text_window *text, HWND window)
{
    char name[FD_NAME_MAX + 1];
    ST_copy(name, TW_SAVE_NAME, FD_NAME_MAX);
    if (FD_save_file(window, name, TW_SAVE_FILTER, nullptr, TW_SAVE_EXTENSION, 0))
        TW_save(text, name);
}

void system_command(TW_text_window *text, HWND window, WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case TW_SAVE:
        save_from_menu(text, window);
        return;
    case TW_PRINT:
        TW_print(text);
        return;
    case TW_CLEAR:
        TW_clear(text);
        return;
    }
    if ((wparam & 0xFFF0) == SC_CLOSE && text->kind == TW_KIND_FLOATING && text->closable &&
        text->owner_code != 0 && text->owner_code != 5)
        PostMessageA(text->owner_window, WM_TW_CLOSED, static_cast<WPARAM>(text->owner_code), 0);
}

// Bound once at creation; the handle is cleared at WM_CLOSE (the object lives
// on) and at WM_DESTROY, which also removes the binding.
LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    TW_text_window *text = TW_from_window(window);
    if (!text || (text->window && text->window != window))
        return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
    case WM_PAINT:
        paint(text, window);
        return 0;
    case WM_SIZE:
        if (text->window) {
            text->client_width = LOWORD(lparam);
            text->client_height = HIWORD(lparam);
            InvalidateRect(window, nullptr, TRUE);
            set_ranges(text);
        }
        return 0;
    case WM_VSCROLL:
        scroll(text, window, SB_VERT, wparam);
        return 0;
    case WM_HSCROLL:
        scroll(text, window, SB_HORZ, wparam);
        return 0;
    case WM_LBUTTONDOWN:
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return 0;
    case WM_MOVE:
    case WM_TIMER:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_NCLBUTTONDOWN:
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        break;
    case WM_SETFOCUS:
        if (text->owner_window)
            SetFocus(text->owner_window);
        SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
        break;
    case WM_SYSCOMMAND:
        system_command(text, window, wparam);
        break;
    case WM_SETTINGCHANGE:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
        // A printer may have come or gone meanwhile; a child window never
        // hears of the settings change, so the system menu looks again as it opens.
        set_commands(text);
        break;
    case WM_CLOSE:
        text->window = nullptr;
        text->system_menu = nullptr;
        break;
    case WM_DESTROY:
        SetWindowLongPtrA(window, 0, 0);
        text->window = nullptr;
        text->system_menu = nullptr;
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// A larger table with the lines copied over; 0 (low-memory report) when there is no memory.
int16_t grow_table(TW_text_window *text, int32_t capacity)
{
    char **lines = static_cast<char **>(MM_alloc(capacity, sizeof(char *), SRC, __LINE__));
    if (!lines) {
        WE_low_memory();
        return 0;
    }
    if (text->count)
        std::memcpy(lines, text->lines, sizeof(char *) * static_cast<size_t>(text->count));
    MM_free(text->lines, SRC, __LINE__);
    text->lines = lines;
    text->capacity = capacity;
    return 1;
}

void free_lines(TW_text_window *text)
{
    for (int32_t i = 0; i < text->count; i++)
        ST_free(&text->lines[i]);
    text->count = 0;
    text->longest = 1;
    text->widest = 0;
}

}  // namespace

TW_text_window *TW_from_window(HWND window)
{
    return window ? reinterpret_cast<TW_text_window *>(GetWindowLongPtrA(window, 0)) : nullptr;
}

TW_text_window *TW_create()
{
    TW_text_window *text = new (SRC, __LINE__) TW_text_window();
    if (!text) {
        WE_low_memory();
        return nullptr;
    }
    text->kind = TW_KIND_EMBEDDED;
    text->longest = 1;
    if (!grow_table(text, TW_FIRST_SLOTS)) {
        MM_destroy(text, SRC, __LINE__);
        return nullptr;
    }
    return text;
}

void TW_destroy(TW_text_window *text)
{
    if (!text)
        return;
    if (text->window && IsWindow(text->window)) {
        // Unbound first: the object is being taken apart.
        SetWindowLongPtrA(text->window, 0, 0);
        DestroyWindow(text->window);
    }
    text->window = nullptr;
    free_lines(text);
    MM_free(text->lines, SRC, __LINE__);
    ST_free(&text->title);
    MM_destroy(text, SRC, __LINE__);
}

int16_t TW_create_window(TW_text_window *text, C_BW *owner, int16_t kind)
{
    if (!text || text->window || !owner || !owner->window) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    HINSTANCE instance = module_instance();
    if (!register_class(instance))
        return 0;
    bool floating = kind == TW_KIND_FLOATING;
    DWORD style = TW_STYLE | (floating ? TW_FLOATING_STYLE : 0);
    DWORD ex_style = floating ? TW_FLOATING_EX_STYLE : TW_EMBEDDED_EX_STYLE;
    int32_t size = floating ? 10 : 0;
    HWND window = CreateWindowExA(ex_style, TW_CLASS_NAME, text->title ? text->title : "", style, 0, 0, size, size,
                                  owner->window, nullptr, instance, nullptr);
    if (!window)
        return 0;
    text->window = window;
    text->owner_window = owner->window;
    text->owner = owner;
    text->kind = kind;
    text->system_menu = nullptr;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(text));
    ShowWindow(window, SW_SHOW);
    SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    if (floating)
        add_commands(text);
    if (!make_font(text)) {
        SetWindowLongPtrA(window, 0, 0);
        DestroyWindow(window);
        text->window = nullptr;
        text->system_menu = nullptr;
        return 0;
    }
    measure_all(text);
    size_to_contents(text);
    record_client_size(text);
    set_ranges(text);
    UpdateWindow(window);
    return 1;
}

int16_t TW_set_title(TW_text_window *text, const char *title)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char *copy = nullptr;
    if (title && !ST_dup(title, &copy))
        return 0;   // reported by ST_dup
    ST_free(&text->title);
    text->title = copy;
    if (text->window)
        SetWindowTextA(text->window, copy ? copy : "");
    return 1;
}

int16_t TW_add_line(TW_text_window *text, const char *line)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char *copy = nullptr;
    if (!ST_dup(line ? line : "", &copy))
        return 0;   // reported by ST_dup
    text->lines[text->count++] = copy;
    if (text->count == text->capacity && !grow_table(text, text->capacity + TW_GROWTH)) {
        ST_free(&text->lines[--text->count]);
        return 0;
    }
    int32_t length = ST_length(copy);
    if (length > text->longest)
        text->longest = length;
    if (!text->external) {   // else the list's widest line stays the measure
        int32_t width = pixel_width(text, copy);
        if (width > text->widest)
            text->widest = width;
    }
    if (text->count == 1)
        set_commands(text);   // the first line: save, clear (and print with a printer)
    if (text->window)
        follow_end(text);
    return 1;
}

int16_t TW_add_line_format(TW_text_window *text, const char *format, ...)
{
    if (!text || !format) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    char line[TW_LINE_MAX + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    return TW_add_line(text, line);
}

int16_t TW_clear(TW_text_window *text)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    free_lines(text);
    if (text->window) {
        InvalidateRect(text->window, nullptr, TRUE);
        set_ranges(text);
        UpdateWindow(text->window);
    }
    set_commands(text);
    return 1;
}

namespace {

// The lines from first on, as many as a page holds, each line height lower.
int16_t print_page(TW_text_window *text, HDC dc, int32_t first, int32_t per_page, int32_t line)
{
    if (StartPage(dc) <= 0)
        return 0;
    for (int32_t row = 0; row < per_page && first + row < text->count; row++)
        TextOutA(dc, 0, row * line, text->lines[first + row], static_cast<int>(std::strlen(text->lines[first + row])));
    return EndPage(dc) > 0;
}

// The window's font for the printer: its height scaled by the resolutions,
// the width left to the font; without TrueType the printer picks the face.
HFONT printer_font(TW_text_window *text, HDC printer)
{
    LOGFONTA description = text->font_description;
    C_WINDOW_DC screen(nullptr);
    TEXTMETRICA metrics{};
    {
        C_SELECT chosen(screen, text->font);
        GetTextMetricsA(screen, &metrics);
    }
    description.lfHeight = MulDiv(description.lfHeight, GetDeviceCaps(printer, LOGPIXELSY), GetDeviceCaps(screen, LOGPIXELSY));
    description.lfWidth = 0;
    if (!(metrics.tmPitchAndFamily & TMPF_TRUETYPE))
        description.lfFaceName[0] = 0;
    return CreateFontIndirectA(&description);
}

}  // namespace

int16_t TW_print(TW_text_window *text)
{
    if (!text || !text->font) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    PRINTDLGA asked{};
    asked.lStructSize = sizeof asked;
    asked.hwndOwner = text->window;
    asked.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    asked.nCopies = 1;
    const BOOL chosen = PrintDlgA(&asked);
    if (asked.hDevMode)
        GlobalFree(asked.hDevMode);
    if (asked.hDevNames)
        GlobalFree(asked.hDevNames);
    if (!chosen || !asked.hDC)
        return 0;
    C_PRINTER_DC printer(asked.hDC);
    char document[81];
    ST_copy(document, TW_DOCUMENT, 80);
    C_GDI<HFONT> font(printer_font(text, printer));
    C_SELECT selected(printer, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(printer, &metrics);
    const int32_t line = metrics.tmHeight + metrics.tmExternalLeading > 0 ? metrics.tmHeight + metrics.tmExternalLeading : 1;
    int32_t per_page = GetDeviceCaps(printer, VERTRES) / line;
    per_page = per_page > 0 ? per_page : 1;
    const int32_t pages = (text->count + per_page - 1) / per_page;
    const int32_t copies = asked.nCopies > 0 ? asked.nCopies : 1;
    if (!PRN_cancel_open(printer, text->window))
        return 0;
    PRN_cancel_text1(document);
    int16_t done = printer.start(document) ? 1 : 0;
    if (!done)
        WE_internal_error(SRC, __LINE__);
    for (int32_t copy = 0, page = 1; done && copy < copies; copy++)
        for (int32_t first = 0; done && first < text->count; first += per_page, page++) {
            char announced[40];
            std::snprintf(announced, sizeof announced, TW_PAGE_FORMAT, static_cast<int>(page),
                          static_cast<int>(copies * pages));
            PRN_cancel_text2(announced);
            done = print_page(text, printer, first, per_page, line);
            // A page refused after the user cancelled is the cancellation, not a fault.
            if (!done && !PRN_cancelled())
                WE_internal_error(SRC, __LINE__);
            done = done && PRN_cancel_pump();
        }
    if (done)
        done = printer.end() ? 1 : 0;   // else the job is thrown away
    PRN_cancel_close();
    return done;
}

int16_t TW_save(TW_text_window *text, const char *name)
{
    if (!text || !name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, name, FI_TEXT_CREATE))
        return 0;
    int16_t done = 1;
    // Each line whole (the file layer's text lines stop at 160 characters).
    for (int32_t i = 0; i < text->count && done; i++) {
        const int32_t length = static_cast<int32_t>(std::strlen(text->lines[i]));
        done = (length == 0 || FI_write(file, text->lines[i], length)) && FI_write(file, "\n", 1);
    }
    if (!FI_close(file, 0))
        done = 0;
    FI_destroy(&file);
    return done;
}

int16_t TW_load(TW_text_window *text, const char *name)
{
    if (!text || !name) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, name, FI_TEXT_READ))
        return 0;
    int16_t done = 1;
    char line[TW_LINE_MAX + 1];
    while (done && FI_read_text(file, line, TW_LINE_MAX))
        done = TW_add_line(text, line);
    FI_destroy(&file);
    return done;
}

int16_t TW_show_list(TW_text_window *text, const TXT_buffer *list)
{
    if (!text) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    text->list = list;
    text->external = list ? 1 : 0;
    if (text->window) {
        measure_all(text);
        set_ranges(text);
        InvalidateRect(text->window, nullptr, TRUE);
        UpdateWindow(text->window);
    }
    return 1;
}
