// The custom controls: dragging the tracks and their range, the bitmap view
// with sound and broken files, the title's and the scrolling text's settings
// and messages, painting with the driver's palette, creation without memory
// and the start-up that needs the classes.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "swin/wco.h"
#include "swin2/ucc_bmp.h"
#include "swin2/ucc_rot.h"
#include "swin2/ucc_titl.h"
#include "swin2/ucc_trk.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "win/wmsg.h"

namespace {

struct NOTE {
    int id, code;
    HWND from;
};
std::vector<NOTE> notes;   // WM_COMMAND of the parent
std::vector<std::string> statuses;

LRESULT CALLBACK parent_procedure(HWND w, UINT m, WPARAM wparam, LPARAM lparam)
{
    if (m == WM_COMMAND)
        notes.push_back({LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)});
    return DefWindowProcA(w, m, wparam, lparam);
}

void status(const char *text) { statuses.push_back(text); }

LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

const char *const SECTIONS[] = {UCC_TITLE_SECTION, UCC_ROT_SECTION};

class Ucc : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UCC_register_classes(GetModuleHandleA(nullptr)), 1);
        WNDCLASSA c{};
        c.lpfnWndProc = parent_procedure;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "UCC_TEST_PARENT";
        RegisterClassA(&c);
        parent = WT_window("UCC_TEST_PARENT", "rodič", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300);
        ASSERT_NE(parent, nullptr);
        for (const char *s : SECTIONS)
            WCO_remove_section(WCO_system_store(), s);
        notes.clear();
        statuses.clear();
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        WE_set_status_hook(nullptr);
        for (const char *s : SECTIONS)
            WCO_remove_section(WCO_system_store(), s);
    }
    template <class T>
    T *make(const char *cls, int w, int h, HWND *window)
    {
        *window = WT_window(cls, "", WS_CHILD | WS_VISIBLE, 10, 10, w, h, parent);
        if (*window)
            SetWindowLongPtrA(*window, GWLP_ID, 7);
        return static_cast<T *>(C_CTL::from_window(*window));
    }
    static std::string setting(const char *section, const char *key)
    {
        const char *v = WCO_get_text_ref(WCO_system_store(), section, key);
        return v ? v : "(none)";
    }
    static COLORREF pixel(HWND w, int x, int y)
    {
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        C_WINDOW_DC dc(w);
        return GetPixel(dc, x, y);
    }
    HWND parent = nullptr;
};

}  // namespace

// ---- tracks ----

TEST_F(Ucc, TrackDraggedBeyondItsEndStopsThereAndNotifiesOnlyChanges)
{
    for (int vertical = 0; vertical < 2; vertical++) {
        HWND w;
        C_UCC_TRACK *t = vertical ? make<C_UCC_TRACK>(UCC_VTRACK_CLASS_NAME, 10, 200, &w)
                                  : make<C_UCC_TRACK>(UCC_HTRACK_CLASS_NAME, 200, 10, &w);
        ASSERT_NE(t, nullptr);
        notes.clear();
        // Along the track's axis: the vertical track follows x, the horizontal one y.
        auto send = [&](UINT m, int along, int across = 5) {
            SendMessageA(w, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, vertical ? at(along, across) : at(across, along));
            return std::vector<int64_t>{SendMessageA(w, WM_UCC_TRACK_POSITION, 0, 0), int64_t(notes.size())};
        };
        EXPECT_EQ(send(WM_LBUTTONDOWN, 5), TU_V({300, 0})) << vertical;
        EXPECT_EQ(GetCapture(), w);
        EXPECT_EQ(send(WM_MOUSEMOVE, 5, 90), TU_V({300, 0})) << "across the axis";
        EXPECT_EQ(send(WM_MOUSEMOVE, 105), TU_V({400, 1}));
        EXPECT_EQ(send(WM_MOUSEMOVE, 255), TU_V({550, 2}));
        EXPECT_EQ(send(WM_MOUSEMOVE, 500), TU_V({600, 3})) << "a fast move past the end reaches the end";
        EXPECT_EQ(send(WM_MOUSEMOVE, 700), TU_V({600, 3}));
        EXPECT_EQ(send(WM_MOUSEMOVE, 255), TU_V({550, 4})) << "back with the cursor";
        EXPECT_EQ(send(WM_LBUTTONUP, 255), TU_V({550, 4})) << "released outside";
        EXPECT_EQ(t->dragging, 0);
        EXPECT_NE(GetCapture(), w);
        EXPECT_EQ(send(WM_MOUSEMOVE, 155), TU_V({550, 4})) << "no drag without the button";
        EXPECT_EQ(send(WM_MOUSEMOVE, 5), TU_V({550, 4}));
        EXPECT_EQ(GetCapture(), w) << "over the track";
        EXPECT_EQ(send(WM_MOUSEMOVE, -20), TU_V({550, 4}));
        EXPECT_NE(GetCapture(), w) << "left the track";
        for (const NOTE &n : notes)
            EXPECT_TRUE(n.id == 7 && n.code == UCC_TRACK_MOVED && n.from == w);

        send(WM_LBUTTONDOWN, 5);   // from 550 down past the start
        EXPECT_EQ(send(WM_MOUSEMOVE, -1000), TU_V({0, 5}));
        ReleaseCapture();           // taken away: the drag ends
        EXPECT_EQ(t->dragging, 0);

        send(WM_LBUTTONDOWN, 5);   // a splitter's parent moves the track 50 pixels on
        MoveWindow(w, vertical ? 60 : 10, vertical ? 10 : 60, vertical ? 10 : 200, vertical ? 200 : 10, FALSE);
        EXPECT_EQ(send(WM_MOUSEMOVE, -45), TU_V({0, 5})) << "the cursor has not moved on the screen";
        EXPECT_EQ(send(WM_MOUSEMOVE, 5), TU_V({50, 6}));
        DestroyWindow(w);
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Ucc, TrackRangeAndPositionMessages)
{
    HWND w;
    ASSERT_NE(make<C_UCC_TRACK>(UCC_HTRACK_CLASS_NAME, 200, 10, &w), nullptr);
    notes.clear();
    const struct {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
        LRESULT result;
        int64_t position, notified;
    } cases[] = {
        {WM_UCC_TRACK_SET_RANGE, 0, 100, 1, 100, 1},   // 300 into 0 .. 100
        {WM_UCC_TRACK_SET_RANGE, 50, 50, 0, 100, 0},   // empty
        {WM_UCC_TRACK_SET_RANGE, 60, 10, 0, 100, 0},   // reversed
        {WM_UCC_TRACK_SET_RANGE, 0, 200, 1, 100, 0},   // still inside
        {WM_UCC_TRACK_SET_POSITION, 30, 0, 1, 30, 1},
        {WM_UCC_TRACK_SET_POSITION, 30, 0, 1, 30, 0},
        {WM_UCC_TRACK_SET_POSITION, WPARAM(-5), 0, 1, 0, 1},
        {WM_UCC_TRACK_SET_POSITION, 1000, 0, 1, 200, 1},
        {WM_UCC_TRACK_SET_POSITION, 1000, 0, 1, 200, 0},
        {WM_UCC_TRACK_SET_RANGE, WPARAM(-100), -50, 1, -50, 1},
    };
    for (const auto &c : cases) {
        notes.clear();
        EXPECT_EQ(SendMessageA(w, c.message, c.wparam, c.lparam), c.result) << c.wparam;
        EXPECT_EQ(TU_V({SendMessageA(w, WM_UCC_TRACK_POSITION, 0, 0), int64_t(notes.size())}),
                  TU_V({c.position, c.notified}))
            << c.wparam;
    }
    EXPECT_EQ(SendMessageA(w, WM_UCC_TRACK_BAR_COLOUR, RGB(1, 2, 3), 0), 1);
    EXPECT_EQ(SendMessageA(w, WM_UCC_TRACK_FACE_COLOUR, RGB(0, 0, 128), 0), 1);
    EXPECT_EQ(static_cast<C_UCC_TRACK *>(C_CTL::from_window(w))->bar_colour, RGB(1, 2, 3));
    EXPECT_EQ(pixel(w, 100, 5), RGB(0, 0, 128));
}

// ---- bitmap view ----

namespace {

// A bottom-up 24-bit bitmap file of 3 x 2 pixels: blue, except red at the top left.
std::string bitmap_file()
{
    std::string rows;
    for (int y = 0; y < 2; y++) {
        for (int x = 0; x < 3; x++)
            rows += y == 1 && x == 0 ? std::string("\x00\x00\xFF", 3) : std::string("\xFF\x00\x00", 3);
        rows += std::string(3, '\0');   // to 12 bytes
    }
    std::string info = TU_le(40, 4) + TU_le(3, 4) + TU_le(2, 4) + TU_le(1, 2) + TU_le(24, 2) + TU_le(0, 4) +
                       TU_le(24, 4) + TU_le(2835, 4) + TU_le(2835, 4) + TU_le(0, 4) + TU_le(0, 4);
    return "BM" + TU_le(78, 4) + TU_le(0, 4) + TU_le(54, 4) + info + rows;
}

// A 2 x 1 bitmap of 8 bits with a colour table of two entries: green, white.
std::string paletted_file()
{
    std::string info = TU_le(40, 4) + TU_le(2, 4) + TU_le(1, 4) + TU_le(1, 2) + TU_le(8, 2) + TU_le(0, 4) +
                       TU_le(4, 4) + TU_le(0, 4) + TU_le(0, 4) + TU_le(2, 4) + TU_le(0, 4);
    std::string table = std::string("\x00\xFF\x00\x00", 4) + std::string("\xFF\xFF\xFF\x00", 4);
    return "BM" + TU_le(66, 4) + TU_le(0, 4) + TU_le(62, 4) + info + table + std::string("\x00\x01\x00\x00", 4);
}

std::string patched(std::string b, size_t offset, uint64_t value, int n)
{
    return b.replace(offset, n, TU_le(value, n));
}

typedef std::pair<LONG, LONG> SIZE_OF;
SIZE_OF size_of(HBITMAP b)
{
    BITMAP info{};
    GetObjectA(b, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}
COLORREF bitmap_pixel(HBITMAP b, int x, int y)
{
    C_WINDOW_DC screen(nullptr);
    C_MEMORY_DC memory(screen);
    C_SELECT chosen(memory, b);
    return GetPixel(memory, x, y);
}

}  // namespace

TEST_F(Ucc, BitmapFilesAndTheDefaultPicture)
{
    TU_SCRATCH dir;
    WE_set_status_hook(status);
    HWND w;
    C_UCC_BMP *b = make<C_UCC_BMP>(UCC_BMP_CLASS_NAME, 120, 40, &w);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(size_of(b->bitmap), (SIZE_OF{64, 48})) << "resource 434 at first";

    TU_write("obraz.bmp", bitmap_file());
    TU_write("paleta.bmp", paletted_file());
    EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM("obraz.bmp")), 1);
    EXPECT_STREQ(b->path, "obraz.bmp");
    EXPECT_EQ(size_of(b->bitmap), (SIZE_OF{3, 2}));
    EXPECT_EQ(std::vector<COLORREF>({bitmap_pixel(b->bitmap, 0, 0), bitmap_pixel(b->bitmap, 2, 1)}),
              std::vector<COLORREF>({RGB(255, 0, 0), RGB(0, 0, 255)}));
    EXPECT_EQ(pixel(w, 10, 30), RGB(0, 0, 255)) << "stretched over the control";
    EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_KEEP_ASPECT, 1, 0), 1);
    EXPECT_EQ(pixel(w, 10, 30), GetSysColor(COLOR_MENU)) << "3:2 in 120 x 40: 60 wide, centred";
    EXPECT_EQ(pixel(w, 80, 30), RGB(0, 0, 255));
    EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM("paleta.bmp")), 1);
    EXPECT_EQ(std::vector<COLORREF>({bitmap_pixel(b->bitmap, 0, 0), bitmap_pixel(b->bitmap, 1, 0)}),
              std::vector<COLORREF>({RGB(0, 255, 0), RGB(255, 255, 255)}));
    EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_LOAD, 0, 0), 0);
    EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM(std::string(81, 'a').c_str())), 0);
    EXPECT_STREQ(b->path, "paleta.bmp") << "a refused path changes nothing";
    EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_CLEAR, 0, 0), 1);
    EXPECT_STREQ(b->path, "");
    EXPECT_EQ(size_of(b->bitmap), (SIZE_OF{64, 48}));
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_TRUE(statuses.empty());

    const std::string good = bitmap_file();
    const struct {
        const char *fault;
        std::string bytes;
    } broken[] = {
        {"not BM", "PM" + good.substr(2)},
        {"shorter than the file header", good.substr(0, 10)},
        {"declares more than the file holds", good.substr(0, 70)},
        {"declared size inside the file header", patched(good, 2, 14, 4)},
        {"bits offset inside the file header", patched(good, 10, 4, 4)},
        {"bits offset inside the information", patched(good, 10, 30, 4)},
        {"bits past the end", patched(good, 10, 60, 4)},
        {"a core header of 12 bytes", patched(good, 14, 12, 4)},
        {"information larger than the file", patched(good, 14, 4000, 4)},
        {"width 0", patched(good, 18, 0, 4)},
        {"rows more than the data", patched(good, 22, 3, 4)},
        {"height out of bounds", patched(good, 22, 100000, 4)},
        {"height 0", patched(good, 22, 0, 4)},
        {"two planes", patched(good, 26, 2, 2)},
        {"7 bits", patched(good, 28, 7, 2)},
        {"run-length compressed", patched(good, 30, 1, 4)},
        {"masks for 24 bits", patched(good, 30, 3, 4)},
        {"300 colours of 8 bits", patched(paletted_file(), 46, 300, 4)},
        {"colour table past the end", patched(paletted_file(), 46, 200, 4)},
    };
    for (const auto &c : broken) {
        SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM("obraz.bmp"));
        TU_write("vadny.bmp", c.bytes);
        EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM("vadny.bmp")), 0) << c.fault;
        EXPECT_EQ(size_of(b->bitmap), (SIZE_OF{64, 48})) << c.fault;
        EXPECT_STREQ(b->path, "") << c.fault;
    }
    EXPECT_TRUE(TU_reports().empty());
    EXPECT_TRUE(statuses.empty());

    for (const char *missing : {"chybi.bmp", "."}) {
        SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM("obraz.bmp"));
        EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM(missing)), 0);
        EXPECT_EQ(size_of(b->bitmap), (SIZE_OF{64, 48}));
    }
    EXPECT_EQ(statuses, std::vector<std::string>({"Chybí soubor : chybi.bmp", "Chybí soubor : ."}));
    EXPECT_TRUE(TU_reports().empty());

    WT_fail_allocation(78 - 14);   // the file after its header
    EXPECT_EQ(SendMessageA(w, WM_UCC_BMP_LOAD, 0, LPARAM("obraz.bmp")), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(size_of(b->bitmap), (SIZE_OF{64, 48}));
}

// ---- title and scrolling text ----

TEST_F(Ucc, TitleFontNameFromTheSettingsAndItsMessages)
{
    HWND w;
    C_UCC_TITLE *t = make<C_UCC_TITLE>(UCC_TITLE_CLASS_NAME, 200, 30, &w);
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->font_name, "Arial");
    EXPECT_EQ(setting(UCC_TITLE_SECTION, "font_name"), "Arial") << "the default written back";
    auto face = [](HFONT f) {
        LOGFONTA l{};
        GetObjectA(f, sizeof l, &l);
        return std::string(l.lfFaceName);
    };
    DestroyWindow(w);
    WCO_set_text(WCO_system_store(), UCC_TITLE_SECTION, "font_name", "Courier New");
    t = make<C_UCC_TITLE>(UCC_TITLE_CLASS_NAME, 200, 30, &w);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(face(t->font), "Courier New");

    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_SET_TEXT, 0, LPARAM("Instalace TRAKPRN")), 1);
    EXPECT_STREQ(t->text, "Instalace TRAKPRN");
    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_SET_TEXT, 0, LPARAM(std::string(100, 'x').c_str())), 1);
    EXPECT_EQ(std::string(t->text), std::string(80, 'x'));
    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_FONT_NAME, 0, LPARAM("Times New Roman")), 1);
    EXPECT_EQ(face(t->font), "Times New Roman");
    EXPECT_EQ(setting(UCC_TITLE_SECTION, "font_name"), "Courier New") << "the setting stays";
    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_TEXT_COLOUR, RGB(9, 8, 7), 0), 1);
    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_BACKGROUND, RGB(0, 128, 0), 0), 1);
    EXPECT_EQ(pixel(w, 1, 1), RGB(0, 128, 0));
    EXPECT_EQ(SendMessageA(w, WM_UCC_TITLE_CLEAR, 0, 0), 1);
    EXPECT_STREQ(t->text, "");
    for (UINT m : {WM_UCC_TITLE_SET_TEXT, WM_UCC_TITLE_FONT_NAME})
        EXPECT_EQ(SendMessageA(w, m, 0, 0), 0) << m;
    EXPECT_STREQ(t->font_name, "Times New Roman");
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Ucc, ScrollingTextSettingsTimerAndShift)
{
    WCO_set_int32(WCO_system_store(), UCC_ROT_SECTION, "timer_period", 5);
    WCO_set_text(WCO_system_store(), UCC_ROT_SECTION, "pixel_shift", "rychle");   // does not read
    HWND w;
    C_UCC_ROT *r = make<C_UCC_ROT>(UCC_ROT_CLASS_NAME, 300, 20, &w);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(TU_V({r->timer_period, r->pixel_shift}), TU_V({10, 1}));
    EXPECT_EQ(std::vector<std::string>({setting(UCC_ROT_SECTION, "font_name"), setting(UCC_ROT_SECTION, "pixel_shift"),
                                        setting(UCC_ROT_SECTION, "timer_period")}),
              std::vector<std::string>({"Arial", "1", "5"}));
    const struct {
        UINT message;
        WPARAM wparam;
        LRESULT result;
        int64_t period, shift;
    } cases[] = {
        {WM_UCC_ROT_TIMER_PERIOD, 5, 1, 10, 1},     {WM_UCC_ROT_TIMER_PERIOD, 250, 1, 250, 1},
        {WM_UCC_ROT_TIMER_PERIOD, 0, 1, 10, 1},     {WM_UCC_ROT_PIXEL_SHIFT, 0, 0, 10, 1},
        {WM_UCC_ROT_PIXEL_SHIFT, WPARAM(-2), 0, 10, 1}, {WM_UCC_ROT_PIXEL_SHIFT, 3, 1, 10, 3},
        {WM_UCC_ROT_TIMER_PERIOD, 600000, 1, 600000, 3},   // no real tick during the test
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SendMessageA(w, c.message, c.wparam, 0), c.result) << c.message << " " << c.wparam;
        EXPECT_EQ(TU_V({r->timer_period, r->pixel_shift}), TU_V({c.period, c.shift})) << c.wparam;
    }
    DestroyWindow(w);
    WCO_set_int32(WCO_system_store(), UCC_ROT_SECTION, "timer_period", 40);
    WCO_set_int32(WCO_system_store(), UCC_ROT_SECTION, "pixel_shift", 0);
    r = make<C_UCC_ROT>(UCC_ROT_CLASS_NAME, 300, 20, &w);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(TU_V({r->timer_period, r->pixel_shift}), TU_V({40, 1}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Ucc, ScrollingTextMovesWrapsAndDrawsTheSecondCopy)
{
    HWND w;
    C_UCC_ROT *r = make<C_UCC_ROT>(UCC_ROT_CLASS_NAME, 300, 20, &w);
    ASSERT_NE(r, nullptr);
    SendMessageA(w, WM_UCC_ROT_TIMER_PERIOD, 600000, 0);
    auto tick = [&] { return SendMessageA(w, WM_TIMER, UCC_ROT_TIMER, 0), int64_t(r->offset); };
    EXPECT_EQ(tick(), 0) << "no text, no movement";
    ASSERT_EQ(SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, LPARAM("Kopie")), 1);
    ASSERT_GT(r->text_width, 0);
    EXPECT_EQ(r->picture_width, 300) << "a short text: the control's width";
    SendMessageA(w, WM_UCC_ROT_PIXEL_SHIFT, 2, 0);
    EXPECT_EQ(TU_V({tick(), tick()}), TU_V({2, 4}));
    SendMessageA(w, WM_LBUTTONDBLCLK, 0, at(5, 5));
    EXPECT_EQ(TU_V({r->running, tick()}), TU_V({0, 4})) << "stopped";
    SendMessageA(w, WM_LBUTTONDBLCLK, 0, at(5, 5));
    EXPECT_EQ(tick(), 6);
    SendMessageA(w, WM_UCC_ROT_PIXEL_SHIFT, 1, 0);
    int64_t before = r->offset;
    while (r->offset && before < r->text_width + 10)
        before = r->offset, tick();
    EXPECT_EQ(before, r->text_width + 4) << "wraps to 0 when the offset reaches the width + 5";
    EXPECT_EQ(r->offset, 0);

    // Wider than the control: drawn twice, the second copy in the second colour.
    SendMessageA(w, WM_UCC_ROT_BACKGROUND, RGB(255, 255, 255), 0);
    SendMessageA(w, WM_UCC_ROT_TEXT_COLOUR, RGB(255, 0, 0), 0);
    SendMessageA(w, WM_UCC_ROT_SECOND_COLOUR, RGB(0, 0, 255), 0);
    tick();
    ASSERT_EQ(SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, LPARAM("Instalace programu TRAKPRN právě probíhá, čekejte")), 1);
    EXPECT_EQ(TU_V({r->offset, r->running}), TU_V({0, 1}));
    ASSERT_GT(r->text_width, 300);
    EXPECT_EQ(r->picture_width, 2 * r->text_width + 5);
    int red[2] = {0, 0}, blue[2] = {0, 0};
    {
        C_WINDOW_DC screen(nullptr);
        C_MEMORY_DC memory(screen);
        C_SELECT chosen(memory, r->picture);
        for (int x = 0; x < r->picture_width; x++)
            for (int y = 0; y < r->picture_height; y++) {
                COLORREF c = GetPixel(memory, x, y);
                const int half = x >= r->text_width + 5;
                red[half] += c == RGB(255, 0, 0);
                blue[half] += c == RGB(0, 0, 255);
            }
    }
    EXPECT_TRUE(red[0] > 0 && blue[0] == 0 && red[1] == 0 && blue[1] > 0)
        << red[0] << " " << blue[0] << " " << red[1] << " " << blue[1];
    EXPECT_EQ(SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(w, WM_UCC_ROT_FONT_NAME, 0, 0), 0);
    EXPECT_EQ(SendMessageA(w, WM_UCC_ROT_CLEAR, 0, 0), 1);
    EXPECT_EQ(TU_V({r->text != nullptr, tick()}), TU_V({0, 0}));
    EXPECT_TRUE(TU_reports().empty());

    const std::string text(37, 't');
    WT_fail_allocation(38);
    EXPECT_EQ(SendMessageA(w, WM_UCC_ROT_SET_TEXT, 0, LPARAM(text.c_str())), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(r->text, nullptr);
}

// ---- all five ----

namespace {

HPALETTE the_palette = nullptr;
int palette_selections = 0;
HPALETTE(WINAPI *select_palette)(HDC, HPALETTE, BOOL) = nullptr;
HPALETTE WINAPI counting_select_palette(HDC dc, HPALETTE palette, BOOL background)
{
    palette_selections += palette == the_palette;
    return select_palette(dc, palette, background);
}

const char *const CLASSES[] = {UCC_TITLE_CLASS_NAME, UCC_ROT_CLASS_NAME, UCC_VTRACK_CLASS_NAME,
                               UCC_HTRACK_CLASS_NAME, UCC_BMP_CLASS_NAME};

int made = 0;
C_UMAIN *counted_frame() { return made++, nullptr; }
BOOL WINAPI no_class_info(HINSTANCE, LPCSTR, WNDCLASSEXA *) { return FALSE; }
ATOM WINAPI no_registration(const WNDCLASSEXA *) { return SetLastError(ERROR_NOT_ENOUGH_MEMORY), 0; }

}  // namespace

TEST_F(Ucc, EveryControlPaintsWithThePaletteAndAnswersItsDialogCode)
{
    TEST_DRIVER driver;
    PALETTEENTRY entry{10, 20, 30, 0};
    LOGPALETTE record{0x300, 1, {entry}};
    driver->palette.reset(CreatePalette(&record));
    the_palette = driver->palette;
    IAT_PATCH patch("GDI32.dll", "SelectPalette", reinterpret_cast<void *>(counting_select_palette));
    ASSERT_TRUE(patch.active());
    select_palette = reinterpret_cast<decltype(select_palette)>(patch.original());
    const LRESULT codes[] = {0x81, 0x81, 0, 0, 0x81};   // the tracks: the default's
    for (int i = 0; i < 5; i++) {
        HWND w;
        ASSERT_NE(make<C_CTL>(CLASSES[i], 50, 50, &w), nullptr) << CLASSES[i];
        char name[64] = "";
        GetClassNameA(w, name, sizeof name);
        EXPECT_STREQ(name, CLASSES[i]);
        palette_selections = 0;
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_GE(palette_selections, 1) << CLASSES[i];
        EXPECT_EQ(SendMessageA(w, WM_GETDLGCODE, 0, 0), codes[i]) << CLASSES[i];
        DestroyWindow(w);
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Ucc, NoMemoryForTheObjectMeansNoWindow)
{
    const size_t sizes[] = {sizeof(C_UCC_TITLE), sizeof(C_UCC_ROT), sizeof(C_UCC_VTRACK), sizeof(C_UCC_HTRACK),
                            sizeof(C_UCC_BMP)};
    for (int i = 0; i < 5; i++) {
        TU_clear_reports();
        WT_fail_allocation(sizes[i]);
        HWND w;
        EXPECT_EQ(make<C_CTL>(CLASSES[i], 50, 50, &w), nullptr) << CLASSES[i];
        EXPECT_EQ(w, nullptr) << CLASSES[i];
        EXPECT_EQ(WT_failures_left(), 0) << CLASSES[i];
        EXPECT_TRUE(WT_only_low_memory(1)) << CLASSES[i];
    }
}

TEST_F(Ucc, StartUpEndsWhenTheClassesCannotBeRegistered)
{
    made = 0;
    {
        IAT_PATCH info("USER32.dll", "GetClassInfoExA", reinterpret_cast<void *>(no_class_info));
        IAT_PATCH registration("USER32.dll", "RegisterClassExA", reinterpret_cast<void *>(no_registration));
        ASSERT_TRUE(info.active() && registration.active());
        EXPECT_EQ(UCC_register_classes(GetModuleHandleA(nullptr)), 0);
        EXPECT_EQ(WGD_run(GetModuleHandleA(nullptr), SW_SHOW, counted_frame), 0);
    }
    EXPECT_EQ(made, 0) << "no frame";
    EXPECT_EQ(WGD_driver, nullptr);
    EXPECT_TRUE(TU_reports().empty());
}
