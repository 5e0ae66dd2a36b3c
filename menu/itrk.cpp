#include "menu/itrk.h"

#include <shlobj.h>

#include <cstring>

#include "common/co.h"
#include "common/fe.h"
#include "common/st.h"
#include "inst/ifl.h"
#include "inst/unl.h"
#include "insttrkp/ins_shell.h"
#include "swin/wgd.h"
#include "swin2/umain.h"
#include "win/we.h"
#include "win/wmsg.h"

static const char SRC[] = "..\\menu\\itrk";

namespace {

const int32_t KILL_FOCUS = EN_KILLFOCUS;   // 0x200
const int32_t CLICKED = BN_CLICKED;        // 0
const int16_t BACKGROUND = 6;              // palette colour
const int32_t MARGIN = 50;                 // layout units around the widgets
const char TITLE_FACE[] = "Times New Roman";

// The width of a widget's text in its font (its access letter's "&" left out).
int32_t text_width(const C_WT_UNI *widget)
{
    char text[WT_TEXT_MAX + 1] = "";
    GetWindowTextA(widget->window, text, sizeof text);
    C_WINDOW_DC dc(widget->window);
    if (!dc)
        return 0;
    C_SELECT chosen(dc, widget->font ? widget->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

void end_with_backslash(char *path)
{
    const int16_t n = ST_length(path);
    if (n == 0 || path[n - 1] != '\\')
        ST_append(path, "\\", IFL_PATH_MAX);
}

// The controls in the order they are added, at their places in layout units.
struct CONTROL {
    int32_t id;
    int16_t (C_SCR1::*add)(int32_t, int32_t, int32_t, int32_t, int32_t);
    const char *text;
    int32_t x, y, width, height, code;
    ITRK_HANDLER handler;
};
const CONTROL CONTROLS[] = {
    {ITRK_SOURCE_LABEL, &C_SCR1::add_static, "&Zdrojová cesta :", 250, 1320, 1300, 210, 0, nullptr},
    {ITRK_SOURCE, &C_SCR1::add_edit, "", 1600, 1320, 2600, 210, KILL_FOCUS,
     &C_SW_ITRK::on_source_edited},
    {ITRK_BROWSE_SOURCE, &C_SCR1::add_button, "P&rocházet ...", 4250, 1320, 1300, 210, CLICKED,
     &C_SW_ITRK::on_browse_source},
    {ITRK_TARGET_LABEL, &C_SCR1::add_static, "&Cílová cesta :", 250, 1580, 1300, 210, 0, nullptr},
    {ITRK_TARGET, &C_SCR1::add_edit, "", 1600, 1580, 2600, 210, KILL_FOCUS,
     &C_SW_ITRK::on_target_edited},
    {ITRK_BROWSE_TARGET, &C_SCR1::add_button, "Pr&ocházet ...", 4250, 1580, 1300, 210, CLICKED,
     &C_SW_ITRK::on_browse_target},
    {ITRK_DESKTOP, &C_SCR1::add_check, "&Umístit ikonu aplikace na pracovní plochu", 1600, 1940, 2600, 210,
     CLICKED, &C_SW_ITRK::on_toggle_desktop},
    {ITRK_QUICK_LAUNCH, &C_SCR1::add_check, "Umístit ikonu aplikace do systémové &lišty", 1600, 2200, 2600, 210,
     CLICKED, &C_SW_ITRK::on_toggle_quick_launch},
    {ITRK_START, &C_SCR1::add_button, "&Start instalace", 900, 2560, 1300, 300, CLICKED, &C_SW_ITRK::on_start},
    {ITRK_ABORT, &C_SCR1::add_button, "&Přerušit instalaci", 2300, 2560, 1300, 300, CLICKED, &C_SW_ITRK::on_abort},
    {ITRK_EXIT, &C_SCR1::add_button, "&Konec", 3700, 2560, 1300, 300, CLICKED, &C_SW_ITRK::on_exit},
    {INS_LINE_FIRST, &C_SCR1::add_static, "1", 900, 3010, 4550, 210, 0, nullptr},
    {INS_LINE_FIRST + 1, &C_SCR1::add_static, "2", 900, 3220, 4550, 210, 0, nullptr},
    {INS_LINE_FIRST + 2, &C_SCR1::add_static, "3", 900, 3430, 4550, 210, 0, nullptr},
    {INS_LINE_LAST, &C_SCR1::add_static, "4", 900, 3640, 4550, 210, 0, nullptr},
};

}  // namespace

// The path fields hold whole paths (up to 1024 characters), past the 80 an
// edit widget keeps, so they are read and written through their windows.
void C_SW_ITRK::set_path(int32_t field, const char *path)
{
    C_WT_UNI *w = find_widget(field);
    if (w && w->window)
        SetWindowTextA(w->window, path);
}

void C_SW_ITRK::get_path(int32_t field, char *path)
{
    path[0] = 0;
    C_WT_UNI *w = find_widget(field);
    if (w && w->window)
        GetWindowTextA(w->window, path, IFL_PATH_MAX);
}

int16_t INS_pick_folder(HWND owner, const char *title, char *path)
{
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    LPITEMIDLIST items = SHBrowseForFolderA(&info);
    if (!items)
        return 0;
    char chosen[MAX_PATH + 1] = "";
    const int16_t picked = SHGetPathFromIDListA(items, chosen) ? 1 : 0;
    IMalloc *allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(items);
        allocator->Release();
    }
    if (picked)
        ST_copy(path, chosen, IFL_PATH_MAX);
    return picked;
}

C_SW_ITRK::C_SW_ITRK(C_UMAIN *owner_) : C_SCR1(owner_)
{
    large_icon = 20;
    small_icon = 21;
    if (IFL_create(&state))
        ST_copy(state->target_dir, "C:\\TRAKPRN\\", IFL_PATH_MAX);
    INS_set_window(this);
    if (!create())
        return;
    if (owner && owner->window)
        SetWindowTextA(owner->window, ITRK_TITLE);
    SCR_set_background(&screen, BACKGROUND);
    build();
    // The title control makes its font to fit its height, in the face it is told.
    if (C_WT_UNI *title = find_widget(ITRK_TITLE_ID))
        SendMessageA(title->window, WM_UCC_TITLE_FONT_NAME, 0, reinterpret_cast<LPARAM>(TITLE_FACE));
    RECT r;
    GetClientRect(window, &r);
    size(r.right, r.bottom, SIZE_RESTORED);
    set_initial_state();
}

C_SW_ITRK::~C_SW_ITRK()
{
    IFL_destroy(&state);
}

void C_SW_ITRK::build()
{
    add_title(ITRK_TITLE_ID, MARGIN, MARGIN, 700 * SCR1_UNITS_X / 10 - 2 * MARGIN, 600);
    title_font.reset(CreateFontA(-layout_y(300), 0, 0, 0, FW_BOLD, 0, 0, 0, EASTEUROPE_CHARSET, 0, 0, 0, 0,
                                 TITLE_FACE));
    if (C_WT_UNI *title = find_widget(ITRK_TITLE_ID)) {
        title->set_text("Konverze Gerber->Postscript");
        title->set_font(title_font);
        title->operation_1(0);
        title->operation_2(BACKGROUND);
    }
    if (!state) {   // no installation without its state: only the way out
        add_static(ITRK_SOURCE_LABEL, 250, 1320, 5300, 210);
        set_widget_text(ITRK_SOURCE_LABEL, "Pro instalaci není dost paměti.");
        add_button(ITRK_EXIT, 3700, 2560, 1300, 300);
        set_widget_text(ITRK_EXIT, "&Konec");
        add_handler(ITRK_EXIT, CLICKED, &C_SW_ITRK::on_exit);
        create_widgets();
        set_default_button(ITRK_EXIT, 1);
        return;
    }
    for (const CONTROL &c : CONTROLS) {
        (this->*c.add)(c.id, c.x, c.y, c.width, c.height);
        set_widget_text(c.id, c.text);
        if (c.handler)
            add_handler(c.id, c.code, c.handler);
    }
    for (int32_t id : {ITRK_SOURCE, ITRK_BROWSE_SOURCE, ITRK_TARGET, ITRK_BROWSE_TARGET, ITRK_DESKTOP,
                       ITRK_QUICK_LAUNCH, ITRK_START, ITRK_ABORT, ITRK_EXIT})
        if (C_WT_UNI *w = find_widget(id))
            w->style |= WS_TABSTOP;
    for (int32_t id : {ITRK_SOURCE, ITRK_TARGET})   // a path longer than the field scrolls
        find_widget(id)->style |= ES_AUTOHSCROLL;
    for (int32_t id = INS_LINE_FIRST; id <= INS_LINE_LAST; id++)   // a line is cut, never wrapped under the next
        find_widget(id)->style |= SS_LEFTNOWORDWRAP;
    create_widgets();
    set_path(ITRK_SOURCE, state->source_dir);
    set_path(ITRK_TARGET, state->target_dir);
    set_default_button(ITRK_START, 1);
}

void C_SW_ITRK::set_initial_state()
{
    if (WGD_is_win32s()) {
        WE_error("Nesprávná verze operačního systému Windows.\nSystém TOREVAN vyžaduje minimálně Windows 95.");
        PostMessageA(frame(), ITRK_MESSAGE_CLOSE, 0, 0);
    }
    if (!state)
        return;
    enable_widget(ITRK_ABORT, 0);
    INS_show_welcome();
    focus_widget(ITRK_SOURCE);
    set_widget_state(ITRK_DESKTOP, 1);
    INS_PATH folder;
    if (!INS_quick_launch_folder(folder))
        return;
    quick_launch_available = FE_dir_exists(folder);
    if (quick_launch_available)
        set_widget_state(ITRK_QUICK_LAUNCH, 1);
    else
        enable_widget(ITRK_QUICK_LAUNCH, 0);
}

LRESULT C_SW_ITRK::size(int32_t width, int32_t height, int32_t kind)
{
    if (width > 0 && height > 0)
        lay_out(width);
    return C_SCR1::size(width, height, kind);
}

// Each control at its place in a client of that width: the title and the
// text lines reach the right margin (the lines do not wrap), and a check box
// is as wide as its text, so that no text is cut at the frame's own size.
// Contents scrolled away keep their offset.
void C_SW_ITRK::lay_out(int32_t width)
{
    auto place = [&](int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
        C_WT_UNI *widget = find_widget(id);
        if (!widget)
            return;
        const int32_t left = layout_x(x) + origin_x + scrolled_x, top = layout_y(y) + origin_y + scrolled_y;
        int32_t right = left + layout_x(w);
        if (id == ITRK_TITLE_ID || (id >= INS_LINE_FIRST && id <= INS_LINE_LAST))
            right = width - layout_x(MARGIN) + scrolled_x;
        else if (widget->kind == WT_CHECK)
            right = left + text_width(widget) + GetSystemMetrics(SM_CXMENUCHECK) + screen.char_width;
        widget->move_to(RECT{left, top, right > left ? right : left, top + layout_y(h)});
    };
    place(ITRK_TITLE_ID, MARGIN, MARGIN, 0, 600);
    if (!state)
        return;   // the message of the window without its state keeps its place
    for (const CONTROL &c : CONTROLS)
        place(c.id, c.x, c.y, c.width, c.height);
}

void C_SW_ITRK::move_contents(int32_t dx, int32_t dy)
{
    scrolled_x += dx;
    scrolled_y += dy;
    C_SCR1::move_contents(dx, dy);
}

void C_SW_ITRK::contents_bounds(RECT *bounds)
{
    C_SCR1::contents_bounds(bounds);
    if (bounds && bounds->left <= bounds->right)
        InflateRect(bounds, layout_x(MARGIN), layout_y(MARGIN));
}

LRESULT C_SW_ITRK::command(WPARAM wparam, LPARAM lparam)
{
    const int32_t id = LOWORD(wparam), code = HIWORD(wparam);
    for (const ITRK_ENTRY &e : handlers)
        if (e.handler && e.id == id && e.code == code) {
            (this->*e.handler)();
            return 0;
        }
    return C_SCR1::command(wparam, lparam);
}

void C_SW_ITRK::timer(UINT_PTR id)
{
    if (id == ITRK_DRAW_TIMER)
        show_lines();
}

int16_t C_SW_ITRK::can_close()
{
    if (!running)
        return 1;
    close_when_done = 1;
    INS_request_abort();
    return 0;
}

void C_SW_ITRK::set_line(int16_t control, const char *text)
{
    if (!running || control < INS_LINE_FIRST || control > INS_LINE_LAST || !text) {
        set_widget_text(control, text);
        return;
    }
    const int16_t line = static_cast<int16_t>(control - INS_LINE_FIRST);
    ST_copy(lines[line], text, WT_TEXT_MAX);
    lines_kept = static_cast<int16_t>(lines_kept | 1 << line);
}

void C_SW_ITRK::show_lines()
{
    for (int16_t line = 0; line <= INS_LINE_LAST - INS_LINE_FIRST; line++)
        if (lines_kept & 1 << line)
            set_widget_text(INS_LINE_FIRST + line, lines[line]);
    lines_kept = 0;
}

void C_SW_ITRK::pump_messages()
{
    const DWORD now = GetTickCount();
    const int16_t paint = !running || now - drawn_at >= ITRK_DRAW_PERIOD;
    if (paint)
        drawn_at = now;
    WGD_pump_messages(paint);
}

void C_SW_ITRK::draw_now()
{
    show_lines();
    drawn_at = GetTickCount();
    if (HWND frame_window = frame())
        RedrawWindow(frame_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void C_SW_ITRK::abort_declined() { close_when_done = 0; }
HWND C_SW_ITRK::frame() { return owner ? owner->window : nullptr; }

int16_t C_SW_ITRK::add_handler(int32_t id, int32_t code, ITRK_HANDLER handler)
{
    for (ITRK_ENTRY &e : handlers)
        if (!e.handler) {
            e = {id, code, handler};
            return 1;
        }
    return 0;
}

// The field's text with a final backslash becomes the directory when it has
// a drive letter; otherwise the field shows the directory again. The target
// takes its one spelling here, the spelling the engine records and the
// uninstall program compares.
void C_SW_ITRK::path_edited(int32_t field, char *directory)
{
    char text[IFL_PATH_MAX + 1];
    get_path(field, text);
    if (field == ITRK_TARGET) {
        if (INS_canonical_directory(text, text))
            ST_copy(directory, text, IFL_PATH_MAX);
    } else {
        end_with_backslash(text);
        if (text[1] == ':')
            ST_copy(directory, text, IFL_PATH_MAX);
    }
    set_path(field, directory);
}

void C_SW_ITRK::on_source_edited() { path_edited(ITRK_SOURCE, state->source_dir); }
void C_SW_ITRK::on_target_edited() { path_edited(ITRK_TARGET, state->target_dir); }

void C_SW_ITRK::on_browse_source()
{
    char path[IFL_PATH_MAX + 1];
    if (!INS_pick_folder(window, "Vyberte složku, odkud se bude instalovat", path))
        return;
    end_with_backslash(path);
    ST_copy(state->source_dir, path, IFL_PATH_MAX);
    set_path(ITRK_SOURCE, path);
}

void C_SW_ITRK::on_browse_target()
{
    char path[IFL_PATH_MAX + 1], upper[IFL_PATH_MAX + 1];
    if (!INS_pick_folder(window, "Vyberte složku, kam se bude instalovat", path))
        return;
    end_with_backslash(path);
    ST_copy(upper, path, IFL_PATH_MAX);
    ST_upper(upper);
    if (!std::strstr(upper, "KRV5"))
        ST_append(path, "KRV5\\", IFL_PATH_MAX);
    INS_canonical_directory(path, path);
    ST_copy(state->target_dir, path, IFL_PATH_MAX);
    set_path(ITRK_TARGET, path);
}

void C_SW_ITRK::toggle(int32_t box) { set_widget_state(box, get_widget_state(box) == 0 ? 1 : 0); }
void C_SW_ITRK::on_toggle_desktop() { toggle(ITRK_DESKTOP); }
void C_SW_ITRK::on_toggle_quick_launch() { toggle(ITRK_QUICK_LAUNCH); }

void C_SW_ITRK::enable_settings(int16_t on)
{
    for (int32_t id : {ITRK_SOURCE, ITRK_TARGET, ITRK_BROWSE_SOURCE, ITRK_BROWSE_TARGET, ITRK_DESKTOP})
        enable_widget(id, on);
    enable_widget(ITRK_QUICK_LAUNCH, on && quick_launch_available);
    enable_widget(ITRK_START, on);
}

void C_SW_ITRK::on_start()
{
    state->desktop_shortcut = get_widget_state(ITRK_DESKTOP) != 0;
    state->quick_launch_shortcut = get_widget_state(ITRK_QUICK_LAUNCH) != 0;
    INS_clear_lines();
    enable_settings(0);
    enable_widget(ITRK_EXIT, 0);
    enable_widget(ITRK_ABORT, 1);
    running = 1;
    SetTimer(window, ITRK_DRAW_TIMER, ITRK_DRAW_PERIOD, nullptr);
    const int16_t done = INS_install(state);
    KillTimer(window, ITRK_DRAW_TIMER);
    running = 0;
    show_lines();
    set_path(ITRK_TARGET, state->target_dir);   // as the engine took it
    if (done) {
        WE_status("Instalace proběhla úspěšně");
        INS_clear_lines();
        INS_show_success();
        enable_widget(ITRK_EXIT, 1);
        enable_widget(ITRK_ABORT, 0);
        focus_widget(ITRK_EXIT);
        set_default_button(ITRK_START, 0);
        set_default_button(ITRK_EXIT, 1);
    } else {
        WE_status("Instalace nebyla úspěšná");
        enable_settings(1);
        enable_widget(ITRK_EXIT, 1);
        enable_widget(ITRK_ABORT, 0);
        focus_widget(ITRK_SOURCE);   // the first field: the settings are to be changed
    }
    UNL_close();
    IFL_close_list(state);
    if (CO_system_config.sound_on)
        Beep(150, 200);
    if (close_when_done)
        PostMessageA(frame(), ITRK_MESSAGE_CLOSE, 0, 0);
}

void C_SW_ITRK::on_abort() { INS_request_abort(); }
void C_SW_ITRK::on_exit() { PostMessageA(frame(), ITRK_MESSAGE_CLOSE, 0, 0); }
