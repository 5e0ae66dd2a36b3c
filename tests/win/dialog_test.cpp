// The dialog base on real dialogs: results, nesting, command tables,
// placement, the item table, the modeless form and their failures.
#include <gtest/gtest.h>

#include "swin/dtools.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

const char DIALOG[] = "..\\swin\\dialog";

// A small dialog "Zkušební dialog" with an OK button (1) and a static text (100).
TEMPLATE_BUILDER small_template(const std::wstring &title = L"Zkušební dialog", int16_t cx = 160, int16_t cy = 60)
{
    TEMPLATE_BUILDER b(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, cx, cy, title);
    b.item(100, 0x0082, 0, 5, 5, 100, 10, L"Text").item(1, 0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, 50, 40, 50, 14,
                                                        L"OK");
    return b;
}

// Runs the dialog and gives its window rectangle as it was placed.
RECT run_placed(TEST_DIALOG &d, const TEMPLATE_BUILDER &t)
{
    RECT r{};
    d.on_after_init = [&r](TEST_DIALOG *self) { GetWindowRect(self->window, &r), DIALOG_end(self, 1); };
    DIALOG_run_modal(&d, t.get());
    return r;
}

// Every slot of the stack taken while it lives; the slots are freed at its
// end, also after a failed assertion.
struct FULL_STACK {
    FULL_STACK() { for (TEST_DIALOG &f : filler) pushed += WGD_push_dialog(&f); }
    ~FULL_STACK() { for (TEST_DIALOG &f : filler) WGD_remove_dialog(&f); }
    TEST_DIALOG filler[WGD_DIALOGS];
    int pushed = 0;
};

int calls = 0;
LRESULT end_with_42(C_DIALOG *d) { return DIALOG_end(d, 42), 1; }
LRESULT count_call(C_DIALOG *) { return calls++, 7; }

class Dialog : public ::testing::Test {
protected:
    TEST_DRIVER driver;
};

}  // namespace

TEST_F(Dialog, ModalResults)
{
    TEMPLATE_BUILDER t = small_template();
    {
        TEST_DIALOG d;
        d.init_answer = 0;   // an init that fails cancels at once
        EXPECT_EQ(DIALOG_run_modal(&d, t.get()), 2);
        EXPECT_EQ(std::vector<int>({d.init_calls, d.cancelled}), std::vector<int>({1, 1}));
        EXPECT_EQ(WGD_top_dialog(), nullptr);
    }
    for (int press : {BOX_ANSWERER::ESC, BOX_ANSWERER::CLOSE, 2}) {
        TEST_DIALOG d;
        BOX_ANSWERER box("Zkušební dialog", press);
        EXPECT_EQ(DIALOG_run_modal(&d, t.get()), 2) << press;
        EXPECT_TRUE(box.found());
        EXPECT_EQ(d.cancelled, 1);
        ASSERT_FALSE(d.commands.empty());
        EXPECT_EQ(LOWORD(d.commands.back().second), IDCANCEL);   // offered to the command operation first
    }
    {   // 1 and 6 ask can_close first; the refused press leaves it open
        TEST_DIALOG d;
        d.refusals = 1;
        BOX_ANSWERER box("Zkušební dialog", {{1}, {1}});
        EXPECT_EQ(DIALOG_run_modal(&d, t.get()), 1);
        EXPECT_EQ(std::vector<int>({d.can_close_calls, d.cancelled}), std::vector<int>({2, 0}));
        EXPECT_EQ(box.control_text(100, 1), "Text");
    }
    TEST_DIALOG d;
    BOX_ANSWERER box("Zkušební dialog", 6);
    EXPECT_EQ(DIALOG_run_modal(&d, t.get()), 6);
    EXPECT_EQ(d.can_close_calls, 1);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Dialog, CommandTableEntriesMatchExactly)
{
    calls = 0;
    const DIALOG_COMMAND table[] = {
        {1, 0, WM_COMMAND, 10, 0, count_call, {0, 0}},                  // not used: flags 1
        {3, 0, WM_COMMAND, MAKEWPARAM(10, 5), 0, count_call, {0, 0}},   // notification 5 only
        {3, 0, WM_COMMAND, 11, 0, count_call, {0, 0}},
        {3, 0, WM_CHAR, 11, 0, end_with_42, {0, 0}},
        {0, 0, WM_COMMAND, 12, 0, count_call, {0, 0}},                  // the end
        {3, 0, WM_COMMAND, 12, 0, count_call, {0, 0}},                  // past the end
    };
    TEST_DIALOG d;
    const struct { WPARAM wparam; LRESULT result; } cases[] = {{10, 0}, {MAKEWPARAM(10, 5), 7}, {11, 7}, {12, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(DIALOG_dispatch(&d, table, WM_COMMAND, c.wparam, 0), c.result) << c.wparam;
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures(DIALOG, {TU_FAILS(DIALOG_dispatch(&d, nullptr, WM_COMMAND, 12, 0))});

    // In a running dialog: the table's handler ends it.
    TEMPLATE_BUILDER t = small_template();
    TEST_DIALOG running;
    running.table = table;
    running.on_after_init = [](TEST_DIALOG *self) { SendMessageA(self->window, WM_CHAR, 11, 0); };
    EXPECT_EQ(DIALOG_run_modal(&running, t.get()), 42);
}

TEST_F(Dialog, NestedDialogsAreBoundToTheirObjects)
{
    TEMPLATE_BUILDER outer_t = small_template(L"Vnější"), inner_t = small_template(L"Vnitřní");
    TEST_DIALOG outer, inner;
    int32_t inner_result = -1;
    outer.on_after_init = [&](TEST_DIALOG *self) {
        EXPECT_EQ(WGD_top_dialog(), self);
        inner.on_after_init = [&](TEST_DIALOG *in) {
            EXPECT_EQ(WGD_top_dialog(), in);
            EXPECT_NE(in->window, self->window);
            DIALOG_end(in, 5);
        };
        inner_result = DIALOG_run_modal(&inner, inner_t.get());
        DIALOG_end(self, 4);
    };
    EXPECT_EQ(DIALOG_run_modal(&outer, outer_t.get()), 4);
    EXPECT_EQ(std::vector<int>({inner_result, outer.init_calls, inner.init_calls}), std::vector<int>({5, 1, 1}));
    EXPECT_EQ(WGD_top_dialog(), nullptr);
}

TEST_F(Dialog, TheThirtyFirstDialogIsRefused)
{
    FULL_STACK full;
    ASSERT_EQ(full.pushed, WGD_DIALOGS);
    TEMPLATE_BUILDER t = small_template();
    TEST_DIALOG d;
    EXPECT_EQ(DIALOG_run_modal(&d, t.get()), 0);
    EXPECT_EQ(d.init_calls, 0);
    EXPECT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(WT_internal_errors("..\\swin\\wgd"), 1);
}

TEST_F(Dialog, FailuresGiveZeroOrThree)
{
    TEMPLATE_BUILDER t = small_template();
    TEST_DIALOG missing(nullptr, 999);
    EXPECT_EQ(DIALOG_run_modal(&missing), 0);
    EXPECT_EQ(DIALOG_create_modeless(&missing), 0);
    ASSERT_EQ(TU_reports().size(), 2u);
    EXPECT_EQ(TU_reports()[0].text, "WRC - chybí id : 999");
    EXPECT_EQ(TU_reports()[1].text, "WRC - chybí id : 999");

    TEST_DIALOG d;
    TEMPLATE_BUILDER big(WS_POPUP, 100, 50, std::wstring(17000, L'x'));
    WGD_DRIVER *saved = WGD_driver;
    WGD_driver = nullptr;
    TU_expect_failures(DIALOG,
                       {TU_FAILS(DIALOG_run_modal(&d, t.get())), TU_FAILS(DIALOG_create_modeless(&d, t.get()))});
    WGD_driver = saved;
    d.on_after_init = [](TEST_DIALOG *self) {   // a dialog that left the stack
        WGD_remove_dialog(self);
        DIALOG_end(self, 1);
    };
    TU_expect_failures(DIALOG, {TU_FAILS(DIALOG_run_modal(nullptr)), TU_FAILS(DIALOG_run_modal(&d, t.get()))});
    TU_expect_failures("..\\swin\\wrc", {TU_FAILS(DIALOG_create_modeless(&d, big.get()))});   // the copy refused

    TEST_DIALOG m;
    WT_fail_allocation(static_cast<size_t>(t.size()));
    EXPECT_EQ(DIALOG_create_modeless(&m, t.get()), 0);
    EXPECT_EQ(WT_failures_left(), 0);
    EXPECT_TRUE(WT_only_low_memory(1));
    EXPECT_EQ(driver->modeless, nullptr);
    EXPECT_EQ(m.window, nullptr);
    TU_clear_reports();

    t.item(50, L"NO_SUCH_CLASS_NAME", 0, 1, 1, 10, 10, L"");   // the system fails to create it
    TEST_DIALOG s;
    EXPECT_EQ(DIALOG_run_modal(&s, t.get()), 3);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
    EXPECT_EQ(WGD_top_dialog(), nullptr);
    EXPECT_EQ(s.being_created, 0);
}

TEST_F(Dialog, PlacementModes)
{
    RECT work, r, o;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND owner = WT_window("STATIC", "vlastník", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 400, 300);
    ASSERT_NE(owner, nullptr);
    TEMPLATE_BUILDER t = small_template();
    GetWindowRect(owner, &o);
    {   // default: centred on the work area, also with an owner; recorded after the placement
        TEST_DIALOG d(owner);
        r = run_placed(d, t);
        WT_expect_centred(r, work);
        EXPECT_EQ(std::vector<LONG>({d.last_x, d.last_y, d.window_width}),
                  std::vector<LONG>({r.left, r.top, r.right - r.left}));
        EXPECT_GT(d.client_width, 0);
    }
    TEST_DIALOG over(owner);
    over.place_over_owner();
    WT_expect_centred(run_placed(over, t), o);
    TEST_DIALOG client(owner);
    client.place_owner_client(10, 20);
    r = run_placed(client, t);
    POINT p{10, 20};
    ClientToScreen(owner, &p);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top}), std::vector<LONG>({p.x, p.y}));
    TEST_DIALOG fixed(owner);   // clamped into the work area
    fixed.place_fixed(work.left - 50, work.bottom + 100);
    r = run_placed(fixed, t);
    EXPECT_EQ(std::vector<LONG>({r.left, r.bottom}), std::vector<LONG>({work.left, work.bottom}));
    TEST_DIALOG huge;   // larger than the work area: the right and bottom edges win
    huge.place_fixed(work.left + 5, work.top + 5);
    r = run_placed(huge, small_template(L"Velký", 2000, 2000));
    EXPECT_EQ(std::vector<LONG>({r.right, r.bottom}), std::vector<LONG>({work.right, work.bottom}));
    EXPECT_LT(r.left, work.left);
    EXPECT_LT(r.top, work.top);
    EXPECT_TRUE(TU_reports().empty());
    TEST_DIALOG none(owner);   // a placement of no mode: switch error, the work area
    none.placement = static_cast<DIALOG_PLACEMENT>(9);
    WT_expect_centred(run_placed(none, t), work);
    ASSERT_EQ(TU_count(WE_KIND_SWITCH), 1);
    EXPECT_EQ(TU_reports()[0].title, " Chyba switch, informujte dodavatele ");
    DestroyWindow(owner);
}

TEST_F(Dialog, TitleUnitsAndScrollMessages)
{
    TEMPLATE_BUILDER t = small_template();
    t.item(60, 0x0084, SBS_HORZ, 5, 20, 100, 10, L"");
    TEST_DIALOG d;
    std::string title;
    int32_t ux = 0, uy = 0;
    C_DT_TOOLS *bar = nullptr;
    RECT bar_rect{5, 20, 105, 30};
    d.on_after_init = [&](TEST_DIALOG *self) {
        MapDialogRect(self->window, &bar_rect);
        EXPECT_EQ(DIALOG_set_title(self, "Nový titulek"), 1);
        char text[100];
        DIALOG_get_title(self, text, 99);
        title = text;
        RECT r{0, 0, 8, 16};
        MapDialogRect(self->window, &r);
        ux = r.right;
        uy = r.bottom;
        DIALOG_pixels_to_units(self, &ux, &uy);
        bar = new C_DT_TOOLS(ITEM_BUTTON, self->window, 60);
        DIALOG_add_item(self, bar);
        SendMessageA(self->window, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(GetDlgItem(self->window, 60)));
        SendMessageA(self->window, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(GetDlgItem(self->window, 1)));
        DIALOG_end(self, 1);
    };
    EXPECT_EQ(DIALOG_run_modal(&d, t.get()), 1);
    EXPECT_EQ(title, "Nový titulek");
    EXPECT_EQ(std::vector<int32_t>({ux, uy}), std::vector<int32_t>({8, 16}));
    // Only the registered scroll bar reaches the command operation, with its id.
    EXPECT_EQ(d.commands, (std::vector<std::pair<UINT, WPARAM>>{{WM_HSCROLL, MAKEWPARAM(60, SB_LINERIGHT)}}));
    ASSERT_NE(bar, nullptr);   // its rectangle read at construction, in dialog client coordinates
    EXPECT_EQ((std::vector<int32_t>{bar->x, bar->y, bar->width, bar->height}),
              (std::vector<int32_t>{bar_rect.left, bar_rect.top, bar_rect.right - bar_rect.left,
                                    bar_rect.bottom - bar_rect.top}));
    delete bar;
    TU_expect_failures(DIALOG, {TU_FAILS(DIALOG_set_title(&d, nullptr))});
}

TEST_F(Dialog, ItemTableHoldsNinetyNine)
{
    TEST_DIALOG d;
    TU_expect_failures(DIALOG, {TU_FAILS(DIALOG_add_item(&d, nullptr))});
    std::vector<C_DT_TOOLS *> items;
    for (int i = 0; i < DIALOG_ITEMS_MAX; i++) {
        items.push_back(i % 2 ? static_cast<C_DT_TOOLS *>(new C_DT_STATIC(nullptr, 200 + i))
                              : static_cast<C_DT_TOOLS *>(new C_DT_EDIT(nullptr, 200 + i)));
        ASSERT_EQ(DIALOG_add_item(&d, items.back()), 1);
    }
    EXPECT_EQ(DIALOG_find<C_DT_STATIC>(&d, 201), items[1]);
    EXPECT_EQ(DIALOG_find<C_DT_EDIT>(&d, 298), items[98]);
    C_DT_BUTTON extra(nullptr, 500);
    TU_expect_failures(DIALOG, {TU_FAILS(DIALOG_add_item(&d, &extra)),
                                TU_FAILS(DIALOG_find<C_DT_EDIT>(&d, 201)),       // another kind
                                TU_FAILS(DIALOG_find<C_DT_STATIC>(&d, 500))});   // not registered
    for (C_DT_TOOLS *i : items)
        delete i;
}

TEST_F(Dialog, OneModelessDialogAtATime)
{
    TEMPLATE_BUILDER t = small_template(L"Nemodální");
    TEST_DIALOG first, second;
    ASSERT_EQ(DIALOG_create_modeless(&first, t.get()), 1);
    EXPECT_EQ(driver->modeless, &first);
    ASSERT_NE(first.window, nullptr);
    EXPECT_EQ(first.window, first.modeless_window);
    EXPECT_EQ(first.init_calls, 1);
    EXPECT_TRUE(IsWindowVisible(first.window));
    TU_expect_failures(DIALOG, {TU_FAILS(DIALOG_create_modeless(&second, t.get()))});
    EXPECT_EQ(second.init_calls, 0);

    // A modal dialog while the modeless one exists asks both before ending with 1.
    TEST_DIALOG modal;
    first.refusals = 1;
    {
        BOX_ANSWERER box("Zkušební dialog", {{1}, {1}});
        EXPECT_EQ(DIALOG_run_modal(&modal, small_template().get()), 1);
    }
    EXPECT_EQ(std::vector<int>({modal.can_close_calls, first.can_close_calls}), std::vector<int>({2, 2}));

    HWND window = first.window;
    DIALOG_end(&first, 1);   // destroys the modeless window
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(driver->modeless, nullptr);
    EXPECT_EQ(first.window, nullptr);

    // The print-cancel template with its Czech title; the destructor destroys its window.
    TEST_DIALOG *print = new TEST_DIALOG(nullptr, 130);
    ASSERT_EQ(DIALOG_create_modeless(print), 1);
    char title[50];
    DIALOG_get_title(print, title, 49);
    EXPECT_STREQ(title, "Zru\x9A" "en\xED tisku");
    window = print->window;
    delete print;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(driver->modeless, nullptr);
}
