#include "swin/sbar.h"

#include <cstdarg>
#include <cstdio>

#include "common/st.h"
#include "swin/wco.h"
#include "win/guard.h"
#include "win/we.h"

static const char SRC[] = "..\\swin\\sbar";

namespace {

const int32_t TEXT_MARGIN = 3;      // pixels between a field's edge and its text
const int32_t BAR_MARGIN = 4;       // pixels above and below the line of text
const DWORD DRAW_INTERVAL = 10;     // ms between two drawings of a progress bar
const DWORD END_PAUSE = 100;        // ms the last value of a bar stays visible

// A field setting of the store; a missing or unreadable one takes its default,
// which is written back.
int32_t setting(const char *key, int32_t fallback)
{
    WCO_file *store = WCO_system_store();
    int32_t value = fallback;
    if (store && !WCO_get_int32(store, SBAR_SETTINGS, key, &value)) {
        value = fallback;
        WCO_set_int32(store, SBAR_SETTINGS, key, fallback);
    }
    return value;
}

int16_t active_bars(const SBAR_status_bar *bar)
{
    int16_t n = 0;
    for (const SBAR_PROGRESS &p : bar->progress)
        n += p.active != 0;
    return n;
}

// The inside of field 0, where the bars are drawn.
RECT bar_area(const SBAR_status_bar *bar)
{
    RECT r = bar->field[0];
    InflateRect(&r, -2, -2);
    if (r.right < r.left)
        r.right = r.left;
    return r;
}

// The active bars share field 0's height, top to bottom in slot order.
void place_bars(SBAR_status_bar *bar)
{
    int16_t n = active_bars(bar);
    if (n == 0)
        return;
    RECT area = bar_area(bar);
    int32_t h = area.bottom - area.top;
    int16_t k = 0;
    for (SBAR_PROGRESS &p : bar->progress) {
        if (!p.active)
            continue;
        p.rect = area;
        p.rect.top = area.top + h * k / n;
        p.rect.bottom = area.top + h * (k + 1) / n;
        p.drawn_width = 0;
        k++;
    }
}

void draw_elapsed(HDC dc, const SBAR_status_bar *bar, const SBAR_PROGRESS &p)
{
    RECT r = p.rect;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    C_SELECT chosen(dc, bar->font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, SBAR_elapsed_text(GetTickCount() - p.start_time), -1, &r,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}

// Brings the drawn bar to its value: the difference is inverted.
void draw_bar(HDC dc, const SBAR_status_bar *bar, SBAR_PROGRESS &p)
{
    if (p.start == p.end) {
        draw_elapsed(dc, bar, p);
        return;
    }
    int32_t w = SBAR_progress_width(p.start, p.end, p.value, p.rect.right - p.rect.left);
    if (w == p.drawn_width)
        return;
    RECT r = p.rect;
    r.left = p.rect.left + (w < p.drawn_width ? w : p.drawn_width);
    r.right = p.rect.left + (w < p.drawn_width ? p.drawn_width : w);
    InvertRect(dc, &r);
    p.drawn_width = w;
}

void draw_now(SBAR_status_bar *bar, SBAR_PROGRESS &p)
{
    C_WINDOW_DC dc(bar->window);
    if (!dc.ok())
        return;
    draw_bar(dc, bar, p);
    p.drawn_time = GetTickCount();
}

void redraw_field(SBAR_status_bar *bar, int16_t field)
{
    InvalidateRect(bar->window, &bar->field[field], TRUE);
    UpdateWindow(bar->window);
}

void paint(SBAR_status_bar *bar)
{
    C_PAINT dc(bar->window);
    RECT client;
    GetClientRect(bar->window, &client);
    // The frame line along the top edge.
    {
        C_SELECT chosen(dc, bar->pen);
        MoveToEx(dc, client.left, client.top, nullptr);
        LineTo(dc, client.right, client.top);
    }
    HWND parent = GetParent(bar->window);
    if (!(parent && IsZoomed(parent))) {
        RECT grip = client;
        grip.left = client.right - GetSystemMetrics(SM_CXVSCROLL);
        grip.top = client.bottom - GetSystemMetrics(SM_CYHSCROLL);
        if (grip.top < client.top + 1)
            grip.top = client.top + 1;
        DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
    C_SELECT chosen(dc, bar->font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    int16_t bars = active_bars(bar);
    for (int16_t f = 0; f < SBAR_FIELDS; f++) {
        RECT r = bar->field[f];
        if (r.right <= r.left)
            continue;
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        if (!bar->text[f][0] || (f == 0 && bars > 0))
            continue;
        InflateRect(&r, -TEXT_MARGIN, 0);
        DrawTextA(dc, bar->text[f], -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    for (SBAR_PROGRESS &p : bar->progress)
        if (p.active) {
            p.drawn_width = 0;   // the background is fresh: the whole bar is drawn
            draw_bar(dc, bar, p);
        }
}

}  // namespace

void SBAR_field_sizes(int32_t *coord, int32_t *status, int32_t *info)
{
    if (!coord || !status || !info) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    *coord = setting("coord_field_size", SBAR_COORD_DEFAULT);
    *status = setting("status_field_size", SBAR_STATUS_DEFAULT);
    *info = setting("info_field_size", SBAR_INFO_DEFAULT);
}

SBAR_status_bar::SBAR_status_bar(HWND window_)
    : C_CTL(window_), font(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))),
      pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)))
{
    SBAR_field_sizes(&coord_size, &status_size, &info_size);
    TEXTMETRICA tm{};
    {
        C_WINDOW_DC dc(window);
        C_SELECT chosen(dc, font);
        GetTextMetricsA(dc, &tm);
    }
    height = tm.tmHeight + tm.tmExternalLeading + 2 * BAR_MARGIN;
}

LRESULT SBAR_status_bar::message(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT:
        waiting = 0;
        paint(this);
        return 0;
    case WM_SIZE:
        SBAR_layout(this, LOWORD(lparam));
        return 0;
    default:
        return C_CTL::message(message, wparam, lparam);
    }
}

SBAR_status_bar *SBAR_create(HWND parent)
{
    HINSTANCE instance = parent ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)) : nullptr;
    if (!parent || !CTL_register<SBAR_status_bar>(instance, SBAR_CLASS_NAME, LoadCursorA(nullptr, IDC_ARROW),
                                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    // Made at its height (the bar measures its font when its window is created).
    HWND window = CreateWindowExA(0, SBAR_CLASS_NAME, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                  parent, nullptr, instance, nullptr);
    SBAR_status_bar *bar = static_cast<SBAR_status_bar *>(C_CTL::from_window(window));
    if (!bar)
        return nullptr;   // no memory for the bar: reported when its window was created
    RECT client{};
    GetClientRect(parent, &client);
    MoveWindow(window, 0, client.bottom - bar->height, client.right, bar->height, TRUE);
    SBAR_layout(bar, client.right);
    return bar;
}

void SBAR_destroy(SBAR_status_bar *bar)
{
    if (bar)
        DestroyWindow(bar->window);
}

int32_t SBAR_height(const SBAR_status_bar *bar)
{
    return bar ? bar->height : 0;
}

void SBAR_layout(SBAR_status_bar *bar, int32_t width)
{
    if (!bar) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    HWND parent = GetParent(bar->window);
    int32_t grip = parent && IsZoomed(parent) ? 0 : GetSystemMetrics(SM_CXVSCROLL);
    const int32_t c = bar->coord_size, s = bar->status_size, i = bar->info_size;
    const int32_t ends[SBAR_FIELDS] = {width - (c + s + i + grip), width - (c + s + grip), width - (c + grip),
                                       width - grip};
    int32_t left = 0;
    for (int16_t f = 0; f < SBAR_FIELDS; f++) {
        int32_t right = ends[f] < left ? left : ends[f];
        bar->field[f] = RECT{left, 2, right, bar->height - 1};
        left = right;
    }
    place_bars(bar);
    InvalidateRect(bar->window, nullptr, TRUE);
}

void SBAR_set_text(SBAR_status_bar *bar, int16_t field, const char *text)
{
    if (!bar) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    if (field < 0 || field >= SBAR_FIELDS || !text)
        return;
    ST_copy(bar->text[field], text, SBAR_TEXT_MAX);
    // Drawn at the next paint: a text set many times between two paints
    // (a status line per file) is drawn once, and invalidated once.
    if (!(bar->waiting & 1 << field)) {
        InvalidateRect(bar->window, &bar->field[field], TRUE);
        bar->waiting = static_cast<int16_t>(bar->waiting | 1 << field);
    }
}

void SBAR_set_text_format(SBAR_status_bar *bar, int16_t field, const char *format, ...)
{
    if (!format)
        return;
    char text[SBAR_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    SBAR_set_text(bar, field, text);
}

const char *SBAR_text(const SBAR_status_bar *bar, int16_t field)
{
    if (!bar || field < 0 || field >= SBAR_FIELDS)
        return "";
    return bar->text[field];
}

int16_t SBAR_progress_start(SBAR_status_bar *bar, int32_t start, int32_t end)
{
    if (!bar) {
        WE_internal_error(SRC, __LINE__);
        return -1;
    }
    for (int16_t slot = 0; slot < SBAR_PROGRESS_MAX; slot++) {
        SBAR_PROGRESS &p = bar->progress[slot];
        if (p.active)
            continue;
        p = SBAR_PROGRESS{};
        p.active = 1;
        p.start = start;
        p.end = end;
        p.value = start;
        p.start_time = p.changed_time = GetTickCount();
        place_bars(bar);
        redraw_field(bar, 0);
        return slot;
    }
    return -1;
}

void SBAR_progress_step(SBAR_status_bar *bar, int16_t slot, int32_t value)
{
    if (!bar || slot < 0 || slot >= SBAR_PROGRESS_MAX || !bar->progress[slot].active) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    SBAR_PROGRESS &p = bar->progress[slot];
    if (p.value != value)
        p.changed_time = GetTickCount();
    p.value = value;
    if (GetTickCount() - p.drawn_time >= DRAW_INTERVAL)
        draw_now(bar, p);
}

void SBAR_progress_end(SBAR_status_bar *bar, int16_t slot)
{
    if (!bar || slot < 0 || slot >= SBAR_PROGRESS_MAX || !bar->progress[slot].active) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    draw_now(bar, bar->progress[slot]);
    Sleep(END_PAUSE);
    bar->progress[slot].active = 0;
    place_bars(bar);
    redraw_field(bar, 0);
}

int32_t SBAR_progress_width(int32_t start, int32_t end, int32_t value, int32_t w)
{
    if (start == end)
        return 0;
    bool rising = end > start;
    if (rising ? value <= start : value >= start)
        return 0;
    if (rising ? value >= end : value <= end)
        return w;
    return static_cast<int32_t>(static_cast<int64_t>(value - start) * w / (end - start));
}

const char *SBAR_elapsed_text(DWORD milliseconds)
{
    static char text[40];
    DWORD hundredths = milliseconds / 10;
    std::snprintf(text, sizeof text, "%02lu:%02lu:%02lu", static_cast<unsigned long>(hundredths / 6000),
                  static_cast<unsigned long>(hundredths / 100 % 60), static_cast<unsigned long>(hundredths % 100));
    return text;
}
