// Screens and their widgets: the members' windows, the layout units, the
// widget table, the keyboard, the edit field's rules, states and texts.
#include "swin2/scr1.h"
#include "swin2/ucc_titl.h"
#include "swin2/wt_edit.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char SCR1[] = "..\\swin2\\scr1";

class TEST_SCREEN : public C_SCR1 {
public:
    explicit TEST_SCREEN(C_UMAIN *frame) : C_SCR1(frame) {}
    LRESULT command(WPARAM w, LPARAM) override { return HIWORD(w) == BN_CLICKED ? (commands.push_back(LOWORD(w)), 0) : 0; }
    int16_t escape() override { return escapes++, 1; }
    std::vector<int> commands;   // ids of the clicks that reached the screen
    int escapes = 0;
};

// Runs the body in a real frame of the window size given, with a created
// screen of 500 x 400 pixels in it and a layout font of 7 x 13 pixels.
void on_screen(int frame_width, int frame_height, const std::function<void(TEST_FRAME *, TEST_SCREEN *)> &body)
{
    FRAME_run([&](TEST_FRAME *frame) {
        SetWindowPos(frame->window, nullptr, 0, 0, frame_width, frame_height, SWP_NOZORDER | SWP_NOACTIVATE);
        // Wine ends with an X error after some 25 frames closed before their
        // waiting messages were handled.
        WGD_pump_messages();
        TEST_SCREEN *s = new ("test", 0) TEST_SCREEN(frame);
        EXPECT_EQ(s->create(), 1);
        MoveWindow(s->window, 0, 0, 500, 400, TRUE);
        s->screen.char_width = 7, s->screen.char_height = 13;
        if (s->window)
            body(frame, s);
        MM_destroy(s, "test", 0);
    });
    // What the closed frame left in the queue (the window system's late
    // activation and focus events) is worked off here, not in the next run.
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    EXPECT_TRUE(TU_reports().empty());
}

TU_V rect_of(const C_WT_UNI *w) { return {w->x, w->y, w->width, w->height}; }
std::string window_text(HWND w) { char text[300] = ""; return GetWindowTextA(w, text, sizeof text), text; }

// A key as the screen's pre_translate gets it, Shift held for it or not.
int16_t press(C_SCR1 *s, UINT message, WPARAM key, int16_t shift = 0)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG m{GetFocus(), message, key, message == WM_SYSKEYDOWN ? 1 << 29 : 0, 0, {0, 0}};
    return s->pre_translate(&m);
}

typedef int16_t (C_SCR1::*ADD)(int32_t, int32_t, int32_t, int32_t, int32_t);

}  // namespace

TEST(Scr1Widgets, EveryKindItsWindowColoursListsAndTrees)
{
    // The window keeps the style asked for, except where the system takes
    // bits off: a combo box draws its own border, a text window's bars stay
    // hidden while it is empty, and a child is never topmost.
    const struct { ADD add; int16_t kind; const char *cls; DWORD style, ex; } cases[] = {
        {&C_SCR1::add_button, 1, "Button", 0x54010F0B, 0},         {&C_SCR1::add_check, 2, "Button", 0x54010C02, 0},
        {&C_SCR1::add_radio, 3, "Button", 0x54000004, 0},          {&C_SCR1::add_static, 4, "Static", 0x54000000, 0},
        {&C_SCR1::add_edit, 5, "Edit", 0x54810000, 0x200},         {&C_SCR1::add_combo, 6, "ComboBox", 0x54810200, 0},
        {&C_SCR1::add_list, 7, "ListBox", 0x54810040, 0},          {&C_SCR1::add_table, 8, "TABLE_CLASS_NAME", 0x54010000, 0},
        {&C_SCR1::add_text_window, 9, "MESSAGE_TEXT_WINDOW_CLASS_NAME", 0x54300000, 0x208},
        {&C_SCR1::add_bitmap, 10, "BMP_WINDOW_CLASS_NAME", 0x54000000, 0},
        {&C_SCR1::add_title, 11, "TITLE_WINDOW_CLASS_NAME", 0x54000000, 0},
        {&C_SCR1::add_rot, 12, "ROT_WINDOW_CLASS_NAME", 0x54000000, 0},
        {&C_SCR1::add_htrack, 13, "HTRACK_WINDOW_CLASS_NAME", 0x54000000, 0},
        {&C_SCR1::add_vtrack, 14, "VTRACK_WINDOW_CLASS_NAME", 0x54000000, 0},
        {&C_SCR1::add_tree, 15, "SysTreeView32", 0x54810007, 0x200},
        {&C_SCR1::add_key, 16, "UCC_KEY_CLASS_NAME", 0x54010000, 0},
    };
    on_screen(800, 600, [&](TEST_FRAME *, TEST_SCREEN *s) {
        for (const auto &c : cases)
            ASSERT_EQ((s->*c.add)(100 + c.kind, 0, 0, 600, 260), 1) << c.kind;
        // Given before the windows exist.
        s->set_widget_text(111, "Konverze");
        s->find_widget(111)->operation_1(0), s->find_widget(111)->operation_2(6);
        ASSERT_EQ(s->create_widgets(), 1);
        for (const auto &c : cases) {
            C_WT_UNI *w = s->find_widget(100 + c.kind);
            char cls[100] = "";
            GetClassNameA(w->window, cls, sizeof cls);
            EXPECT_STRCASEEQ(cls, c.cls) << c.kind;
            const TU_V shown{c.kind == 6 ? 0x54010200 : c.kind == 9 ? 0x54000000 : c.style,
                             c.kind == 9 || c.kind == 8 ? 0x200 : c.ex};   // the table draws its own edge
            EXPECT_EQ((TU_V{w->kind, w->style, w->ex_style, GetWindowLongA(w->window, GWL_STYLE),
                            GetWindowLongA(w->window, GWL_EXSTYLE), GetDlgCtrlID(w->window),
                            GetParent(w->window) == s->window, w->font == SCR_font(&s->screen)}),
                      (TU_V{c.kind, c.style, c.ex, shown[0], shown[1], 100 + c.kind, 1, 1}));
        }
        const C_UCC_TITLE *title = static_cast<C_UCC_TITLE *>(C_CTL::from_window(s->find_widget(111)->window));
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(window_text(s->find_widget(115)->window) + "|" + title->text, "Tree View|Konverze");
        EXPECT_EQ((TU_V{title->text_colour, title->background}), (TU_V{0x000000, 0x0080C0}));   // entries 0 and 6
        // A static text on the screen's background, or in colours of its own.
        C_WT_STATIC *label = static_cast<C_WT_STATIC *>(s->find_widget(104));
        C_WINDOW_DC label_dc(label->window);
        auto colour_answer = [&] {
            return SendMessageA(s->window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(static_cast<HDC>(label_dc)),
                                reinterpret_cast<LPARAM>(label->window));
        };
        EXPECT_EQ(colour_answer(), reinterpret_cast<LRESULT>(s->screen.brush.get()));
        label->operation_1(12), label->operation_2(14);
        EXPECT_EQ((TU_V{colour_answer(), GetTextColor(label_dc), GetBkColor(label_dc)}),
                  (TU_V{reinterpret_cast<LRESULT>(label->brush.get()), 0x0000FF, 0x00FFFF}));   // 12 and 14

        // The owner-drawn button paints its face and, as the default button,
        // a black outer line; it stays owner-drawn.
        C_WT_BUTTON *button = static_cast<C_WT_BUTTON *>(s->find_widget(101));
        TU_V drawn{button->face == GetSysColor(COLOR_MENU)};
        button->face = RGB(10, 200, 30);
        for (int16_t as_default : {0, 1}) {
            button->set_default(as_default);
            C_WINDOW_DC screen_dc(nullptr);
            C_MEMORY_DC dc(screen_dc);
            C_GDI<HBITMAP> picture(CreateCompatibleBitmap(screen_dc, 70, 26));
            C_SELECT chosen(dc, picture);
            SendMessageA(button->window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), PRF_CLIENT);
            drawn.insert(drawn.end(), {GetPixel(dc, 0, 0) == 0, GetPixel(dc, 4, 4)});
        }
        drawn.push_back(button->style);
        EXPECT_EQ(drawn, (TU_V{1, 0, RGB(10, 200, 30), 1, RGB(10, 200, 30), 0x54010F0B}));
        TU_expect_failures("..\\swin2\\wt_uni", {TU_FAILS(button->create())});   // a second time

        C_WT_COMBO *combo = static_cast<C_WT_COMBO *>(s->find_widget(106));
        C_WT_LIST *list = static_cast<C_WT_LIST *>(s->find_widget(107));
        C_WT_TREE *tree = static_cast<C_WT_TREE *>(s->find_widget(115));
        char text[10], none[10], leaf_text[10];
        EXPECT_EQ((TU_V{combo->add("první"), combo->add("druhá položka"), s->set_widget_state(106, 1),
                        s->get_widget_state(106), combo->item_text(1, text, 5), s->set_widget_state(106, 2),
                        combo->count(), combo->clear(), combo->count()}),
                  (TU_V{0, 1, 1, 1, 1, 0, 2, 1, 0}));
        EXPECT_EQ((TU_V{list->add("a"), list->add("b"), list->query(), list->operation_1(0), list->query(),
                        list->item_text(2, none, 5), list->clear(), list->count()}),
                  (TU_V{0, 1, -1, 1, 0, 0, 1, 0}));
        HTREEITEM leaf = tree->add("List", tree->add("Kořen"));
        EXPECT_EQ((TU_V{tree->select(leaf), tree->selection() == leaf, tree->item_text(tree->selection(), leaf_text, 9),
                        tree->clear(), tree->selection() == nullptr}),
                  (TU_V{1, 1, 1, 1, 1}));
        EXPECT_EQ(std::string(text) + "|" + none + "|" + leaf_text, "druhá||List");
        C_WT_TABLE *table = static_cast<C_WT_TABLE *>(s->find_widget(108));
        char cut[6];
        EXPECT_EQ((TU_V{table->set_cell_text(5, 1, "dlouhá buňka"), table->set_cell_text(2, 0, "b"), table->row_count(),
                        table->cell_text(5, 1, cut, 5), table->select_row_index(1), table->current_row_id(),
                        table->set_column_sort(0, 1, 1), table->clear_rows(), table->row_count()}),
                  (TU_V{1, 1, 2, 1, 1, 2, 1, 1, 0}));
        EXPECT_STREQ(cut, "dlouh");
        if (!WT_shots())
            return;
        // Every kind side by side, for a person to look at.
        const std::pair<int, const char *> texts[] = {{101, "&Tlačítko"}, {102, "&Zaškrtnutí"}, {103, "&Volba"},
                                                      {104, "Popis: žluťoučký kůň"}, {105, "Pole úprav"},
                                                      {109, "Zpráva do okna"}, {112, "Běžící text, ěščřžýáíé"}};
        for (const auto &t : texts)
            s->set_widget_text(t.first, t.second);
        static_cast<C_WT_LIST *>(s->find_widget(107))->add("první řádek");
        static_cast<C_WT_COMBO *>(s->find_widget(106))->add("volba");
        int cell = 0;
        for (const auto &c : cases)
            s->find_widget(100 + c.kind)->move_to(RECT{cell % 3 * 165 + 5, cell / 3 * 78 + 5, cell % 3 * 165 + 165,
                                                    cell / 3 * 78 + 77}), cell++;
        WT_picture("Obrazovka se všemi druhy prvků");
    });
}

TEST(Scr1Layout, UnitsScaleWithTheFontAndShrinkOnASmallFrame)
{
    // Field 7 of the installer: 1600, 1320, 2600 x 210 units. With a layout
    // font of 7 x 13 pixels it is 186, 132, 303 x 21 pixels on a frame of
    // 800 x 600; on the installer's frame of 600 x 440 it shrinks by 600 / 788
    // and 440 / 503 to 142, 115, 230 x 18 pixels.
    const struct { int frame_width, frame_height; int32_t origin_x, origin_y; TU_V pixels; } cases[] = {
        {800, 600, 0, 0, {186, 132, 303, 21}},
        {788, 503, 0, 0, {186, 132, 303, 21}},
        {600, 440, 0, 0, {142, 115, 230, 18}},
        {800, 440, 10, 20, {196, 135, 303, 18}},
    };
    for (const auto &c : cases)
        on_screen(c.frame_width, c.frame_height, [&](TEST_FRAME *, TEST_SCREEN *s) {
            s->origin_x = c.origin_x, s->origin_y = c.origin_y;
            ASSERT_EQ(s->add_edit(7, 1600, 1320, 2600, 210), 1);
            EXPECT_EQ(rect_of(s->find_widget(7)), c.pixels) << c.frame_width << " x " << c.frame_height;
        });
}

TEST(Scr1Table, NoFontSizeNoFrameDuplicateIdsAndTheTwoHundredFirstWidget)
{
    on_screen(800, 600, [](TEST_FRAME *, TEST_SCREEN *s) {
        // No font size yet: units / 60 and / 130; no frame: laid out for 800 x 600.
        s->screen.char_width = s->screen.char_height = 0;
        TU_expect_failures(SCR1, {TU_CALL("no font size", [&] { return s->add_static(1, 1600, 1320, 2600, 210); }, 1),
                                  TU_CALL("x", [&] { return s->layout_x(1200); }, 20)});
        EXPECT_EQ(rect_of(s->find_widget(1)), (TU_V{26, 10, 43, 1}));
        C_SCR1 alone(nullptr);
        alone.screen.char_width = s->screen.char_width = 7;
        alone.screen.char_height = s->screen.char_height = 13;
        TU_expect_failures(SCR1, {TU_CALL("no frame", [&] { return alone.layout_y(1320); }, 132)});

        for (int32_t id = 2; id <= 200; id++)
            ASSERT_EQ(s->add_check(id, 0, 0, 60, 130), 1);
        TU_expect_failures(SCR1, {TU_FAILS(s->add_button(1, 0, 0, 60, 130)),   // the first one stays
                                  TU_FAILS(s->add_button(201, 0, 0, 60, 130)), TU_FAILS(s->find_text_window(2))});
        TU_expect_failures(nullptr, {TU_FAILS(s->find_widget(201)), TU_FAILS(s->find_text_window(999)),
                                     TU_FAILS(s->set_widget_text(999, "x"))});   // unknown ids: no report
        EXPECT_EQ(s->find_widget(1)->kind, 4);
        MM_destroy(s->widgets[199], "test", 0), s->widgets[199] = nullptr;
        WT_fail_allocation(sizeof(C_WT_BUTTON));
        EXPECT_EQ((TU_V{s->add_button(201, 0, 0, 60, 130), WT_only_low_memory(1)}), (TU_V{0, 1}));
        TU_clear_reports();
        // The freed slot.
        EXPECT_EQ((TU_V{s->add_button(201, 0, 0, 60, 130), s->find_widget(201) == s->widgets[199]}), (TU_V{1, 1}));
    });
}

TEST(Scr1Keys, TabArrowsEnterEscAndAccessLetters)
{
    on_screen(800, 600, [](TEST_FRAME *frame, TEST_SCREEN *s) {
        // Ids 1 to 9, then 11 to 16; 3 hidden, 4 disabled, 6 checked, radio 5 starts the group.
        const ADD kinds[] = {&C_SCR1::add_button, &C_SCR1::add_edit,   &C_SCR1::add_button, &C_SCR1::add_check,
                             &C_SCR1::add_radio,  &C_SCR1::add_radio,  &C_SCR1::add_radio,  &C_SCR1::add_check,
                             &C_SCR1::add_static, &C_SCR1::add_button, &C_SCR1::add_button, &C_SCR1::add_check,
                             &C_SCR1::add_static, &C_SCR1::add_edit,   &C_SCR1::add_edit};
        for (int i = 0; i < 15; i++)
            (s->*kinds[i])(i < 9 ? i + 1 : i + 2, i / 8 * 1800, i % 8 * 300, 1700, 200);
        s->find_widget(5)->style |= WS_GROUP | WS_TABSTOP;
        s->find_widget(16)->style |= ES_MULTILINE | ES_WANTRETURN;
        const std::pair<int, const char *> labels[] = {{11, "&Start instalace"}, {12, "&Konec"}, {13, "&Umístit ikonu"},
                                                       {14, "&Zdrojová cesta :"}, {15, "A&B"}};   // a field's: no label
        for (const auto &l : labels)
            s->set_widget_text(l.first, l.second);
        ASSERT_EQ(s->create_widgets(), 1);
        s->show_widget(3, 0), s->enable_widget(4, 0), s->set_widget_state(6, 1);
        EXPECT_EQ((TU_V{s->set_default_button(11, 1), s->set_default_button(13, 1)}), (TU_V{1, 0}));   // 13: no push button
        SetFocus(s->window);
        // from: the widget focused first (0: where the focus is); click: what reached the screen.
        const struct { UINT message; WPARAM key; int16_t shift; int from; int16_t used; int focus, click; } steps[] = {
            {WM_KEYDOWN, VK_TAB, 0, 0, 1, 1, 0},   // none had it: the first
            {WM_KEYDOWN, VK_TAB, 0, 0, 1, 2, 0},    {WM_KEYDOWN, VK_TAB, 0, 0, 1, 6, 0},   // the group's checked radio
            {WM_KEYDOWN, VK_DOWN, 0, 0, 1, 7, 0},   {WM_KEYDOWN, VK_RIGHT, 0, 0, 1, 5, 0},   // round inside the group
            {WM_KEYDOWN, VK_UP, 0, 0, 1, 7, 0},     {WM_KEYDOWN, VK_TAB, 0, 0, 1, 8, 0},
            {WM_KEYDOWN, VK_TAB, 0, 0, 1, 11, 0},   {WM_KEYDOWN, VK_TAB, 0, 16, 1, 1, 0},   // round to the first
            {WM_KEYDOWN, VK_TAB, 1, 0, 1, 16, 0},   {WM_KEYDOWN, VK_TAB, 1, 11, 1, 8, 0},
            {WM_KEYDOWN, VK_TAB, 1, 0, 1, 6, 0},    {WM_KEYDOWN, VK_TAB, 1, 0, 1, 2, 0},
            {WM_KEYDOWN, VK_LEFT, 0, 0, 0, 2, 0},   // the edit keeps its arrows
            {WM_KEYDOWN, 'A', 0, 0, 0, 2, 0},       {WM_CHAR, VK_TAB, 0, 0, 0, 2, 0},
            {WM_KEYDOWN, VK_RETURN, 0, 15, 1, 11, 11},
            {WM_KEYDOWN, VK_RETURN, 0, 16, 0, 16, 0},   // a new line in the multi-line field
            {WM_SYSKEYDOWN, 'K', 0, 15, 1, 12, 12}, {WM_SYSKEYDOWN, 'U', 0, 15, 1, 13, 13},
            {WM_SYSKEYDOWN, 'Z', 0, 11, 1, 15, 0},   // the label's field
            {WM_SYSKEYDOWN, 'B', 0, 11, 0, 11, 0},  {WM_KEYDOWN, VK_ESCAPE, 0, 11, 1, 11, 0},
        };
        for (const auto &k : steps) {
            if (k.from)
                s->focus_widget(k.from);
            s->commands.clear();
            EXPECT_EQ((TU_V{press(s, k.message, k.key, k.shift), GetDlgCtrlID(GetFocus()), TU_V(s->commands.begin(),
                            s->commands.end()) == (k.click ? TU_V{k.click} : TU_V{})}), (TU_V{k.used, k.focus, 1}))
                << k.key << " to " << k.focus;
        }
        s->enable_widget(11, 0), s->focus_widget(15), s->commands.clear();
        EXPECT_EQ((TU_V{press(s, WM_KEYDOWN, VK_RETURN), static_cast<int64_t>(s->commands.size()), s->escapes}),
                  (TU_V{0, 0, 1}));   // no usable default button; Esc came once
        // The frame's own keys are the screen's: Tab from no focused widget starts at the first tab stop.
        SetFocus(frame->window);
        MSG frame_key{frame->window, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        EXPECT_EQ((TU_V{s->pre_translate(&frame_key), GetDlgCtrlID(GetFocus())}), (TU_V{1, 1}));
        // The frame given the focus again (a box closed) gives it back to the
        // widget that had it, or, when that cannot take it, to the first tab stop.
        frame->clients[0] = s;
        for (int16_t usable : {1, 0}) {
            s->focus_widget(12);
            s->enable_widget(12, usable);
            frame->deactivated();
            SetFocus(frame->window);
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), usable ? 12 : 1);
        }
        frame->clients[0] = nullptr;
    });
}

TEST(Scr1Texts, EditRulesStatesTextsBeforeCreationAndTheStatusTextWindow)
{
    on_screen(800, 600, [](TEST_FRAME *frame, TEST_SCREEN *s) {
        s->add_edit(1, 0, 0, 1200, 100);
        s->add_edit(2, 0, 300, 1200, 1000);
        s->find_widget(2)->style |= ES_MULTILINE;
        s->add_static(3, 0, 1500, 1200, 200);
        s->add_check(4, 0, 1800, 1200, 200);
        s->add_check(5, 0, 2100, 1200, 200);
        s->add_text_window(17, 0, 2400, 3000, 1300);
        s->set_widget_text(3, "před vytvořením");
        s->set_widget_state(4, 1);
        s->add_bitmap(6, 3200, 0, 600, 600);
        char early[40];   // a multi-line field read before it has its window
        EXPECT_EQ((TU_V{s->set_widget_text(2, "první\r\ndruhá"), s->get_widget_text(2, early, 39)}), (TU_V{1, 1}));
        EXPECT_STREQ(early, "první\ndruhá");
        ASSERT_EQ(s->create_widgets(), 1);
        // The bitmap widget tells when its control refused the file.
        EXPECT_EQ((TU_V{s->set_widget_text(6, "chybi.bmp"), s->set_widget_text(6, "")}), (TU_V{0, 1}));
        EXPECT_EQ(window_text(s->find_widget(3)->window) + "|" + std::to_string(s->get_widget_state(4)), "před vytvořením|1");

        const std::string eighty(80, 'x');
        const struct { int32_t id; std::string text, shown, read; int16_t bound; } cases[] = {
            {1, "dvě\r\nslova", "dvě slova", "dvě slova", 99},
            {1, "a\rb\n\nc", "ab  c", "ab  c", 99},
            {1, eighty + "yz", eighty, eighty, 99},
            {2, "první\r\ndruhá", "první\r\ndruhá", "první\ndruhá", 99},
            {2, "první\r\ndruhá", "první\r\ndruhá", "prv", 3},
        };
        for (const auto &c : cases) {
            char read[100];
            EXPECT_EQ((TU_V{s->set_widget_text(c.id, c.text.c_str()), s->get_widget_text(c.id, read, c.bound)}),
                      (TU_V{1, 1}));
            EXPECT_EQ(window_text(s->find_widget(c.id)->window) + "|" + read, c.shown + "|" + c.read);
        }
        TU_expect_failures("..\\swin2\\wt_edit", {TU_FAILS(s->set_widget_text(1, nullptr)),
                                                  TU_FAILS(s->get_widget_text(2, nullptr, 3))});

        const struct { int32_t set; int64_t read; UINT check; } states[] = {
            {2, -1, BST_INDETERMINATE}, {1, 1, BST_CHECKED}, {0, 0, BST_UNCHECKED}, {7, -1, BST_INDETERMINATE}};
        for (const auto &st : states)
            EXPECT_EQ((TU_V{s->set_widget_state(5, st.set), s->get_widget_state(5),
                            SendMessageA(s->find_widget(5)->window, BM_GETCHECK, 0, 0)}),
                      (TU_V{1, st.read, st.check})) << st.set;

        // A font of a 20-pixel cell with 1 pixel of external leading: a line of
        // 30 pixels; the low field takes exactly one line, the high one keeps
        // its height.
        C_GDI<HFONT> font(CreateFontA(20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
        for (int32_t id : {1, 2})
            s->find_widget(id)->set_font(font);
        EXPECT_EQ((TU_V{s->find_widget(1)->height, WT_rect_in(s->window, s->find_widget(1)->window).bottom,
                        s->find_widget(2)->height}),
                  (TU_V{30, 30, 100}));
        for (int32_t id : {1, 2})
            s->find_widget(id)->set_font(SCR_font(&s->screen));   // before the test's font goes

        // Status texts reach text widget 17 of the top screen.
        C_WT_TW *tw = s->find_text_window(17);
        ASSERT_NE(tw, nullptr);
        EXPECT_EQ(WT_rect_in(s->window, tw->window), (RECT{0, 240, 350, 370}));
        frame->clients[0] = s;
        frame->C_UMAIN::show_status("Kopíruje se A.KRV");
        frame->C_UMAIN::show_status("Hotovo");
        char last[20];
        EXPECT_EQ((TU_V{tw->line_count(), s->get_widget_text(17, last, 19)}), (TU_V{2, 1}));
        EXPECT_STREQ(last, "Hotovo");
        s->find_widget(17)->id = 19;   // id 17 of another kind: nothing, and no report
        s->find_widget(3)->id = 17;
        frame->C_UMAIN::show_status("jinam");
        frame->clients[0] = nullptr;
        EXPECT_EQ((TU_V{tw->line_count(), tw->clear(), tw->line_count()}), (TU_V{2, 1, 0}));
    });
}
