// The custom controls (tracks, bitmap view, title, scrolling text), their palette, memory and classes.
#include "swin/wco.h"
#include "swin2/ucc_bmp.h"
#include "swin2/ucc_rot.h"
#include "swin2/ucc_titl.h"
#include "swin2/ucc_trk.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "win/wmsg.h"

namespace {

int64_t notes = 0, odd_notes = 0;   // WM_COMMANDs of the parent; of them not a move of control 7
std::vector<std::string> statuses;

LRESULT CALLBACK parent_procedure(HWND w, UINT m, WPARAM wparam, LPARAM lparam)
{
    if (m == WM_COMMAND)
        notes++, odd_notes += wparam != MAKEWPARAM(7, UCC_TRACK_MOVED) || GetDlgCtrlID(HWND(lparam)) != 7;
    return DefWindowProcA(w, m, wparam, lparam);
}

LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class Ucc : public ::testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        ASSERT_EQ(UCC_register_classes(GetModuleHandleA(nullptr)), 1);
        parent = WT_window("STATIC", "rodič", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300);
        ASSERT_NE(parent, nullptr);
        SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(parent_procedure));
        WE_set_status_hook([](const char *text) { statuses.push_back(text); });
        notes = odd_notes = 0, statuses.clear();
    }
    void TearDown() override   // also before a test, with no parent yet: the settings forgotten
    {
        DestroyWindow(parent);
        WE_set_status_hook(nullptr);
        for (const char *s : {UCC_TITLE_SECTION, UCC_ROT_SECTION})
            WCO_remove_section(WCO_system_store(), s);
    }
    template <class T>
    T *make(const char *cls, int w, int h, HWND *window)
    {
        *window = WT_window(cls, "", WS_CHILD | WS_VISIBLE, 10, 10, w, h, parent);
        SetWindowLongPtrA(*window, GWLP_ID, 7);
        return static_cast<T *>(C_CTL::from_window(*window));
    }
    static COLORREF pixel(HWND w, int x, int y)
    {
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        C_WINDOW_DC dc(w);
        return GetPixel(dc, x, y);
    }
    HWND parent = nullptr;
};

// A bitmap's width, height and pixels, row by row from the top.
TU_V picture_of(HBITMAP b)
{
    BITMAP info{};
    GetObjectA(b, sizeof info, &info);
    C_WINDOW_DC screen(nullptr);
    C_MEMORY_DC memory(screen);
    C_SELECT chosen(memory, b);
    TU_V p{info.bmWidth, info.bmHeight};
    for (int y = 0; y < info.bmHeight; y++)
        for (int x = 0; x < info.bmWidth; x++)
            p.push_back(GetPixel(memory, x, y));
    return p;
}

// A bitmap file with a 40-byte information header, its colour table and bits.
std::string bitmap_file(int width, int height, int depth, const std::string &table, const std::string &bits)
{
    const size_t at = 54 + table.size();
    return "BM" + TU_le(at + bits.size(), 4) + TU_le(0, 4) + TU_le(at, 4) + TU_le(40, 4) + TU_le(width, 4) +
           TU_le(height, 4) + TU_le(1, 2) + TU_le(depth, 2) + TU_le(0, 4) + TU_le(bits.size(), 4) + TU_le(0, 8) +
           TU_le(table.size() / 4, 4) + TU_le(0, 4) + table + bits;
}
const std::string B("\xFF\0\0", 3), R("\0\0\xFF", 3), PAD(3, '\0');
// Bottom-up, 24 bits, 3 x 2 pixels: blue, except red at the top left.
const std::string GOOD = bitmap_file(3, 2, 24, "", B + B + B + PAD + R + B + B + PAD);
// 2 x 1 of 8 bits with a colour table of two entries: green, white.
const std::string PALETTED =
    bitmap_file(2, 1, 8, std::string("\0\xFF\0\0\xFF\xFF\xFF\0", 8), std::string("\0\x01\0\0", 4));

std::string patched(std::string b, size_t at, uint64_t value, int n) { return b.replace(at, n, TU_le(value, n)); }

HPALETTE the_palette = nullptr;
int palette_selections = 0;
HPALETTE(WINAPI *select_palette)(HDC, HPALETTE, BOOL) = nullptr;
HPALETTE WINAPI counting_select_palette(HDC dc, HPALETTE palette, BOOL background)
{
    palette_selections += palette == the_palette;
    return select_palette(dc, palette, background);
}

int made = 0;
C_UMAIN *counted_frame() { return made++, nullptr; }
BOOL WINAPI no_class_info(HINSTANCE, LPCSTR, WNDCLASSEXA *) { return FALSE; }
ATOM WINAPI no_registration(const WNDCLASSEXA *) { return SetLastError(ERROR_NOT_ENOUGH_MEMORY), 0; }

}  // namespace

TEST_F(Ucc, TrackDraggedBeyondItsEndStopsThereNotifiesOnlyChangesAndTakesItsRange)
{
    HWND w;
    auto position = [&] { return SendMessageA(w, WM_UCC_TRACK_POSITION, 0, 0); };
    for (int vertical = 0; vertical < 2; vertical++) {
        const int wide = vertical ? 10 : 200, high = 210 - wide;
        ASSERT_NE(make<C_UCC_TRACK>(vertical ? UCC_VTRACK_CLASS_NAME : UCC_HTRACK_CLASS_NAME, wide, high, &w), nullptr);
        notes = 0;
        // Along the axis (the vertical track follows x); the position, the notifications so far, the capture.
        auto send = [&](UINT m, int along, int across = 5) {
            SendMessageA(w, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, vertical ? at(along, across) : at(across, along));
            return TU_V({position(), notes, GetCapture() == w});
        };
        EXPECT_EQ(send(WM_LBUTTONDOWN, 5), TU_V({300, 0, 1})) << vertical;
        EXPECT_EQ(send(WM_MOUSEMOVE, 5, 90), TU_V({300, 0, 1})) << "across the axis";
        EXPECT_EQ(send(WM_MOUSEMOVE, 105), TU_V({400, 1, 1}));
        EXPECT_EQ(send(WM_MOUSEMOVE, 500), TU_V({600, 2, 1})) << "a fast move past the end reaches the end";
        EXPECT_EQ(send(WM_MOUSEMOVE, 255), TU_V({550, 3, 1})) << "back with the cursor";
        EXPECT_EQ(send(WM_LBUTTONUP, 255), TU_V({550, 3, 0})) << "released outside";
        EXPECT_EQ(send(WM_MOUSEMOVE, 155), TU_V({550, 3, 0})) << "no drag without the button";
        EXPECT_EQ(send(WM_MOUSEMOVE, 5), TU_V({550, 3, 1})) << "over the track";
        EXPECT_EQ(send(WM_MOUSEMOVE, -20), TU_V({550, 3, 0})) << "left the track";
        send(WM_LBUTTONDOWN, 5);   // from 550 down past the start
        EXPECT_EQ(send(WM_MOUSEMOVE, -1000), TU_V({0, 4, 1}));
        ReleaseCapture();
        EXPECT_EQ(send(WM_MOUSEMOVE, 100), TU_V({0, 4, 0})) << "capture taken away: the drag has ended";
        send(WM_LBUTTONDOWN, 5);   // a splitter's parent moves the track 50 pixels on
        MoveWindow(w, vertical ? 60 : 10, vertical ? 10 : 60, wide, high, FALSE);
        EXPECT_EQ(send(WM_MOUSEMOVE, -45), TU_V({0, 4, 1})) << "the cursor has not moved on the screen";
        EXPECT_EQ(send(WM_MOUSEMOVE, 5), TU_V({50, 5, 1}));
        DestroyWindow(w);
    }
    EXPECT_EQ(odd_notes, 0);

    ASSERT_NE(make<C_UCC_TRACK>(UCC_HTRACK_CLASS_NAME, 200, 10, &w), nullptr);
    const UINT RANGE = WM_UCC_TRACK_SET_RANGE, TO = WM_UCC_TRACK_SET_POSITION;
    const struct { UINT message; WPARAM wparam; LPARAM lparam; int64_t result, position, notified; } cases[] = {
        // 300 into 0 .. 100; empty, reversed; still inside; the position clamped; a negative range
        {RANGE, 0, 100, 1, 100, 1}, {RANGE, 50, 50, 0, 100, 0}, {RANGE, 60, 10, 0, 100, 0}, {RANGE, 0, 200, 1, 100, 0},
        {TO, 30, 0, 1, 30, 1},      {TO, WPARAM(-5), 0, 1, 0, 1}, {TO, 1000, 0, 1, 200, 1},
        {RANGE, WPARAM(-100), -50, 1, -50, 1},
    };
    for (const auto &c : cases) {
        notes = 0;
        EXPECT_EQ(TU_V({SendMessageA(w, c.message, c.wparam, c.lparam), position(), notes}),
                  TU_V({c.result, c.position, c.notified})) << c.wparam;
    }
    // The bar's colour, set last, does not fill the face.
    EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_TRACK_FACE_COLOUR, RGB(0, 0, 128), 0),
                    SendMessageA(w, WM_UCC_TRACK_BAR_COLOUR, RGB(1, 2, 3), 0), pixel(w, 100, 5)}),
              TU_V({1, 1, RGB(0, 0, 128)}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Ucc, BitmapFilesAndTheDefaultPicture)
{
    TU_SCRATCH dir;
    HWND w;
    C_UCC_BMP *b = make<C_UCC_BMP>(UCC_BMP_CLASS_NAME, 120, 40, &w);
    ASSERT_NE(b, nullptr);
    auto load = [&](const char *path) { return SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM(path)); };
    auto shown = [&] { return int64_t(picture_of(b->bitmap).size()); };
    const int64_t DEFAULT = 2 + 64 * 48, RED = RGB(255, 0, 0), BLUE = RGB(0, 0, 255);   // resource 434: 64 x 48
    EXPECT_EQ(shown(), DEFAULT);

    TU_write("obraz.bmp", GOOD), TU_write("paleta.bmp", PALETTED);
    EXPECT_EQ(load("obraz.bmp"), 1);
    EXPECT_EQ(picture_of(b->bitmap), TU_V({3, 2, RED, BLUE, BLUE, BLUE, BLUE, BLUE}));
    EXPECT_EQ(pixel(w, 10, 30), BLUE) << "stretched over the control";
    EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_BMP_KEEP_ASPECT, 1, 0), pixel(w, 10, 30), pixel(w, 80, 30)}),
              TU_V({1, GetSysColor(COLOR_MENU), BLUE})) << "3:2 in 120 x 40: 60 wide, centred";
    EXPECT_EQ(load("paleta.bmp"), 1);
    EXPECT_EQ(picture_of(b->bitmap), TU_V({2, 1, RGB(0, 255, 0), RGB(255, 255, 255)}));
    EXPECT_EQ(load(nullptr), 0);
    EXPECT_STREQ(b->path, "paleta.bmp") << "no path changes nothing";
    EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_BMP_CLEAR, 0, 0), shown()}), TU_V({1, DEFAULT}));

    const std::pair<const char *, std::string> broken[] = {
        {"not BM", "PM" + GOOD.substr(2)},           {"shorter than the file header", GOOD.substr(0, 10)},
        {"declares more than it holds", GOOD.substr(0, 70)}, {"size in the file header", patched(GOOD, 2, 14, 4)},
        {"bits in the file header", patched(GOOD, 10, 4, 4)}, {"bits in the information", patched(GOOD, 10, 30, 4)},
        {"bits past the end", patched(GOOD, 10, 60, 4)},      {"a core header of 12 bytes", patched(GOOD, 14, 12, 4)},
        {"information past the end", patched(GOOD, 14, 4000, 4)}, {"width 0", patched(GOOD, 18, 0, 4)},
        {"height 0", patched(GOOD, 22, 0, 4)},   {"two planes", patched(GOOD, 26, 2, 2)},
        {"7 bits", patched(GOOD, 28, 7, 2)},     {"run-length compressed", patched(GOOD, 30, 1, 4)},
        {"colour table past the end", patched(PALETTED, 46, 200, 4)},
    };
    for (const auto &[fault, bytes] : broken)
        EXPECT_EQ((TU_write("vadny.bmp", bytes), load("vadny.bmp")), 0) << fault;
    const std::string too_long(81, 'a');   // more than the control keeps
    for (const char *missing : {"chybi.bmp", ".", too_long.c_str()})   // a failed load shows the default picture
        EXPECT_EQ(TU_V({load("obraz.bmp"), load(missing), shown(), b->path[0]}), TU_V({1, 0, DEFAULT, 0})) << missing;
    EXPECT_EQ(statuses, std::vector<std::string>({"Chybí soubor : chybi.bmp", "Chybí soubor : .",
                                                  "Chybí soubor : " + too_long}));
    WT_fail_allocation(78 - 14);   // the file after its header
    EXPECT_EQ(TU_V({load("paleta.bmp"), load("obraz.bmp"), WT_failures_left(), WT_only_low_memory(1), shown()}),
              TU_V({1, 0, 0, 1, DEFAULT}));
}

TEST_F(Ucc, TitleAndScrollingTextSettingsMessagesMovesAndTheSecondCopy)
{
    HWND w;
    WCO_set_text(WCO_system_store(), UCC_TITLE_SECTION, "font_name", "Courier New");
    C_UCC_TITLE *t = make<C_UCC_TITLE>(UCC_TITLE_CLASS_NAME, 200, 30, &w);
    ASSERT_NE(t, nullptr);
    auto face = [&] { LOGFONTA l{}; return GetObjectA(t->font, sizeof l, &l), std::string(l.lfFaceName); };
    EXPECT_EQ(face(), "Courier New");
    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_SET_TEXT, 0, LPARAM(std::string(100, 'x').c_str())), 1);
    EXPECT_EQ(std::string(t->text), std::string(80, 'x'));
    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_FONT_NAME, 0, LPARAM("Times New Roman")), 1);
    EXPECT_EQ(face(), "Times New Roman");
    EXPECT_STREQ(WCO_get_text_ref(WCO_system_store(), UCC_TITLE_SECTION, "font_name"), "Courier New") << "it stays";
    EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_TITLE_BACKGROUND, RGB(0, 128, 0), 0),
                    SendMessageA(w, WM_UCC_TITLE_TEXT_COLOUR, RGB(9, 8, 7), 0), pixel(w, 1, 1)}),
              TU_V({1, 1, RGB(0, 128, 0)}));
    EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_TITLE_CLEAR, 0, 0), t->text[0],
                    SendMessageA(w, WM_UCC_TITLE_SET_TEXT, 0, 0), SendMessageA(w, WM_UCC_TITLE_FONT_NAME, 0, 0)}),
              TU_V({1, 0, 0, 0})) << "cleared; no text, no font name";
    DestroyWindow(w);

    WCO_set_int32(WCO_system_store(), UCC_ROT_SECTION, "timer_period", 5);
    WCO_set_text(WCO_system_store(), UCC_ROT_SECTION, "pixel_shift", "rychle");   // does not read
    C_UCC_ROT *r = make<C_UCC_ROT>(UCC_ROT_CLASS_NAME, 300, 20, &w);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(TU_V({r->timer_period, r->pixel_shift}), TU_V({10, 1}));
    // The default font and shift written back, the period kept.
    for (auto [key, value] :
         {std::pair{"font_name", "Arial"}, std::pair{"pixel_shift", "1"}, std::pair{"timer_period", "5"}})
        EXPECT_STREQ(WCO_get_text_ref(WCO_system_store(), UCC_ROT_SECTION, key), value);
    const UINT PERIOD = WM_UCC_ROT_TIMER_PERIOD, SHIFT = WM_UCC_ROT_PIXEL_SHIFT;
    const struct { UINT message; WPARAM wparam; int64_t result, period, shift; } cases[] = {
        {PERIOD, 5, 1, 10, 1}, {PERIOD, 250, 1, 250, 1}, {SHIFT, 0, 0, 250, 1}, {SHIFT, WPARAM(-2), 0, 250, 1},
        {SHIFT, 3, 1, 250, 3}, {PERIOD, 600000, 1, 600000, 3},   // no real tick during the test
    };
    for (const auto &c : cases)
        EXPECT_EQ(TU_V({SendMessageA(w, c.message, c.wparam, 0), r->timer_period, r->pixel_shift}),
                  TU_V({c.result, c.period, c.shift})) << c.wparam;
    DestroyWindow(w);
    WCO_set_int32(WCO_system_store(), UCC_ROT_SECTION, "timer_period", 40);
    WCO_set_int32(WCO_system_store(), UCC_ROT_SECTION, "pixel_shift", 0);
    ASSERT_NE(r = make<C_UCC_ROT>(UCC_ROT_CLASS_NAME, 300, 20, &w), nullptr);
    EXPECT_EQ(TU_V({r->timer_period, r->pixel_shift}), TU_V({40, 1}));
    SendMessageA(w, WM_UCC_ROT_TIMER_PERIOD, 600000, 0);
    auto tick = [&] { return SendMessageA(w, WM_TIMER, UCC_ROT_TIMER, 0), int64_t(r->offset); };
    auto click = [&] { return SendMessageA(w, WM_LBUTTONDBLCLK, 0, at(5, 5)), tick(); };
    ASSERT_EQ(SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, LPARAM("Kopie")), 1);
    EXPECT_EQ(TU_V({r->text_width > 0, r->picture_width}), TU_V({1, 300})) << "a short text: the control's width";
    SendMessageA(w, WM_UCC_ROT_PIXEL_SHIFT, 2, 0);
    EXPECT_EQ(TU_V({tick(), tick(), click(), click()}), TU_V({2, 4, 4, 6})) << "stopped and run again";
    SendMessageA(w, WM_UCC_ROT_PIXEL_SHIFT, 1, 0);
    int64_t before = r->offset;
    while (r->offset && before < r->text_width + 10)
        before = r->offset, tick();
    EXPECT_EQ(TU_V({before, r->offset}), TU_V({r->text_width + 4, 0})) << "wraps to 0 at the width + 5";

    // Wider than the control: drawn twice, the second copy in the second colour.
    SendMessageA(w, WM_UCC_ROT_BACKGROUND, RGB(255, 255, 255), 0);
    SendMessageA(w, WM_UCC_ROT_TEXT_COLOUR, RGB(255, 0, 0), 0);
    SendMessageA(w, WM_UCC_ROT_SECOND_COLOUR, RGB(0, 0, 255), 0);
    tick();
    ASSERT_EQ(SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, LPARAM("Instalace programu TRAKPRN právě probíhá, čekejte")), 1);
    const TU_V p = picture_of(r->picture);
    EXPECT_EQ(TU_V({r->offset, r->text_width > 300, p[0]}), TU_V({0, 1, 2 * r->text_width + 5}));
    int seen[2][2] = {};   // red and blue pixels of the first and the second copy
    for (size_t i = 2; i < p.size(); i++)
        seen[int64_t(i - 2) % p[0] >= r->text_width + 5][p[i] == RGB(0, 0, 255)] +=
            p[i] == RGB(255, 0, 0) || p[i] == RGB(0, 0, 255);
    EXPECT_TRUE(seen[0][0] && !seen[0][1] && !seen[1][0] && seen[1][1])
        << seen[0][0] << " " << seen[0][1] << " " << seen[1][0] << " " << seen[1][1];
    EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, 0), SendMessageA(w, WM_UCC_ROT_CLEAR, 0, 0),
                    r->text != nullptr, tick()}),
              TU_V({0, 1, 0, 0})) << "no text refused; cleared, no movement";
    const std::string text(37, 't');
    WT_fail_allocation(38);
    EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, LPARAM(text.c_str())), WT_failures_left(),
                    WT_only_low_memory(1), r->text != nullptr}),
              TU_V({0, 0, 1, 0}));
}

TEST_F(Ucc, EveryControlPaintsWithThePaletteAndAnswersItsDialogCodeButNeedsMemory)
{
    TEST_DRIVER driver;
    LOGPALETTE record{0x300, 1, {{10, 20, 30, 0}}};
    driver->palette.reset(CreatePalette(&record));
    the_palette = driver->palette;
    IAT_PATCH patch("GDI32.dll", "SelectPalette", reinterpret_cast<void *>(counting_select_palette));
    ASSERT_TRUE(patch.active());
    select_palette = reinterpret_cast<decltype(select_palette)>(patch.original());
    const struct { const char *cls; size_t size; int64_t code; } controls[] = {   // the tracks: the default code
        {UCC_TITLE_CLASS_NAME, sizeof(C_UCC_TITLE), 0x81}, {UCC_ROT_CLASS_NAME, sizeof(C_UCC_ROT), 0x81},
        {UCC_VTRACK_CLASS_NAME, sizeof(C_UCC_VTRACK), 0},  {UCC_HTRACK_CLASS_NAME, sizeof(C_UCC_HTRACK), 0},
        {UCC_BMP_CLASS_NAME, sizeof(C_UCC_BMP), 0x81},
    };
    for (const auto &c : controls) {
        HWND w;
        TU_clear_reports();
        WT_fail_allocation(c.size);   // no memory for the object: no window
        make<C_CTL>(c.cls, 50, 50, &w);
        EXPECT_EQ(TU_V({w != nullptr, WT_failures_left(), WT_only_low_memory(1)}), TU_V({0, 0, 1})) << c.cls;
        TU_clear_reports();
        ASSERT_NE(make<C_CTL>(c.cls, 50, 50, &w), nullptr) << c.cls;
        palette_selections = 0;
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(TU_V({palette_selections > 0, SendMessageA(w, WM_GETDLGCODE, 0, 0)}), TU_V({1, c.code})) << c.cls;
        DestroyWindow(w);
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Ucc, StartUpEndsWhenTheClassesCannotBeRegistered)
{
    made = 0;
    IAT_PATCH info("USER32.dll", "GetClassInfoExA", reinterpret_cast<void *>(no_class_info));
    IAT_PATCH registration("USER32.dll", "RegisterClassExA", reinterpret_cast<void *>(no_registration));
    ASSERT_TRUE(info.active() && registration.active());
    EXPECT_EQ(TU_V({UCC_register_classes(GetModuleHandleA(nullptr)),
                    WGD_run(GetModuleHandleA(nullptr), SW_SHOW, counted_frame), made, WGD_driver != nullptr}),
              TU_V({0, 0, 0, 0})) << "no frame";
    EXPECT_TRUE(TU_reports().empty());
}
