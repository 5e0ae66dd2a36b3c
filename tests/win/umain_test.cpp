// The frame: its client stack (posted push, pop and replace, a client that
// refuses to close, the full stack), the state and clock fields, the layout
// and the way it closes.
#include <gtest/gtest.h>

#include "common/dt.h"
#include "swin/sbar.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "win/gdd.h"
#include "win/pfu.h"

namespace {

const char UMAIN[] = "..\\swin2\\umain";

// A function-table set for the frame while it lives: "&Konec" (1049), grey, or no entry.
class EXIT_TABLE : C_GUARD {
public:
    explicit EXIT_TABLE(bool with_exit = true) : set_{{entries_}, 1, with_exit ? 1 : 0}
    {
        entries_[0] = PFU_ENTRY{1049, PFU_GREY | PFU_KEEP, 0, 0, 0, nullptr, 1, nullptr, 0};
        entries_[with_exit ? 1 : 0] = PFU_ENTRY{0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0};
        GDD_global.tables = &set_;
    }
    ~EXIT_TABLE() { GDD_global.tables = previous_; }
    uint16_t state() const { return entries_[0].state; }

private:
    PFU_TABLES *previous_ = GDD_global.tables;
    PFU_ENTRY entries_[2];
    PFU_TABLES set_;
};

// The kinds of the occupied slots from slot 0 up, all other slots empty.
void expect_stack(const TEST_FRAME *frame, std::vector<int16_t> occupied)
{
    std::vector<int16_t> k;
    for (int16_t slot = 0; slot < UMAIN_CLIENTS; slot++)
        k.push_back(frame->kind_of(slot));
    occupied.resize(UMAIN_CLIENTS, -1);
    EXPECT_EQ(k, occupied);
}

void refuse(TEST_FRAME *frame, int16_t slot, int16_t refusing)
{
    static_cast<TEST_CLIENT *>(frame->clients[slot])->refuse = refusing;
}

}  // namespace

TEST(UmainClients, RequestsArePostedAndRunInOrder)
{
    FRAME_run([](TEST_FRAME *frame) {
        EXPECT_EQ(frame->top_client(), nullptr);
        EXPECT_EQ(frame->top_slot(), -1);
        ASSERT_EQ(UMAIN_push_client(frame, 11), 1);
        EXPECT_EQ(frame->top_client(), nullptr);   // posted: not before the message runs
        UMAIN_push_client(frame, 12);
        UMAIN_push_client(frame, 13);
        WGD_pump_messages();
        expect_stack(frame, {11, 12, 13});
        EXPECT_EQ(frame->top_slot(), 2);
        EXPECT_EQ(frame->top_client(), frame->clients[2]);

        // Pop, replace the top (slot 1), pop to an empty stack and beyond, replace into slot 0.
        const struct { int16_t replace_by; std::vector<int16_t> stack, deleted; } steps[] = {   // 0: a pop
            {0, {11, 12}, {13}},       {21, {11, 21}, {13, 12}},   {0, {11}, {13, 12, 21}},
            {0, {}, {13, 12, 21, 11}}, {0, {}, {13, 12, 21, 11}},  {31, {31}, {13, 12, 21, 11}},
        };
        for (const auto &step : steps) {
            step.replace_by ? UMAIN_replace_client(frame, step.replace_by) : UMAIN_pop_client(frame);
            WGD_pump_messages();
            expect_stack(frame, step.stack);
            EXPECT_EQ(TEST_CLIENT::deleted, step.deleted) << step.replace_by;
        }
    });
    EXPECT_EQ(TEST_CLIENT::deleted, std::vector<int16_t>({13, 12, 21, 11, 31}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST(UmainClients, ARefusingClientStaysAndSetsTheExitFunction)
{
    EXIT_TABLE table;
    HWND frame_window = nullptr;
    FRAME_run([&](TEST_FRAME *frame) {
        frame_window = frame->window;
        UMAIN_push_client(frame, 1);
        UMAIN_push_client(frame, 2);
        WGD_pump_messages();
        refuse(frame, 1, 1);
        // A pop, a replace and closing all (from the top down: the refusing
        // top client stops it at once) leave the stack; grey "&Konec" becomes normal.
        const std::function<void()> refused[] = {[frame] { UMAIN_pop_client(frame); },
                                                 [frame] { UMAIN_replace_client(frame, 5); },
                                                 [frame] { EXPECT_EQ(UMAIN_close_all_clients(frame), 0); }};
        for (const auto &request : refused) {
            PFU_set_state(GDD_global.tables, 0, 1049, PFU_GREY);
            request();
            WGD_pump_messages();
            expect_stack(frame, {1, 2});
            EXPECT_EQ(table.state(), PFU_NORMAL | PFU_KEEP);
        }
        // The lower one refuses: the top one goes, the frame stays open; the
        // system close box goes through the same question.
        refuse(frame, 1, 0);
        refuse(frame, 0, 1);
        EXPECT_EQ(UMAIN_close_all_clients(frame), 0);
        WGD_pump_messages();
        expect_stack(frame, {1});
        EXPECT_TRUE(IsWindow(frame->window));
        SendMessageA(frame->window, WM_SYSCOMMAND, SC_CLOSE, 0);
        WGD_pump_messages();
        EXPECT_TRUE(IsWindow(frame->window));
        expect_stack(frame, {1});
    });
    EXPECT_FALSE(IsWindow(frame_window));
    EXPECT_EQ(TEST_CLIENT::deleted, std::vector<int16_t>({2, 1}));
    EXPECT_TRUE(TU_reports().empty());

    EXIT_TABLE without(false);   // a refusal without the exit function in the tables is shown
    FRAME_run([](TEST_FRAME *frame) {
        UMAIN_push_client(frame, 1);
        WGD_pump_messages();
        refuse(frame, 0, 1);
        UMAIN_pop_client(frame);
        WGD_pump_messages();
        EXPECT_EQ(frame->kind_of(0), 1);
    });
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].kind, WE_KIND_ERROR);
    EXPECT_EQ(TU_reports()[0].text, "Změna statu funkce (id=1049) - není v žádné tabulce funkcí");
}

TEST(UmainClients, TheTwentyFirstPushTheBaseFactoryAndNullFramesAreInternalErrors)
{
    FRAME_run([](TEST_FRAME *frame) {
        std::vector<int16_t> expected;
        for (int16_t k = 1; k <= UMAIN_CLIENTS; k++)
            UMAIN_push_client(frame, k), expected.push_back(k);
        WGD_pump_messages();
        expect_stack(frame, expected);
        EXPECT_TRUE(TU_reports().empty());
        UMAIN_push_client(frame, 99);
        WGD_pump_messages();
        expect_stack(frame, expected);
        EXPECT_EQ(TU_reports().size(), 1u);
        EXPECT_EQ(WT_internal_errors(UMAIN), 1);
    });
    C_UMAIN frame;   // no window
    TU_expect_failures(nullptr, {TU_FAILS(UMAIN_push_client(&frame, 1))});
    TU_expect_failures(UMAIN, {TU_FAILS(frame.create_client(0, 100)), TU_FAILS(UMAIN_push_client(nullptr, 1)),
                               TU_FAILS(UMAIN_replace_client(nullptr, 1)), TU_FAILS(UMAIN_pop_client(nullptr)),
                               TU_FAILS(UMAIN_close_all_clients(nullptr)), TU_FAILS(UMAIN_set_state(nullptr, 1)),
                               TU_FAILS(UMAIN_clear_state(nullptr, 1))});
    EXPECT_EQ(frame.clients[0], nullptr);
}

TEST(UmainFields, StateClockAndLayoutOfClientsAboveTheStatusBar)
{
    FRAME_run([](TEST_FRAME *frame) {
        ASSERT_NE(frame->status_bar, nullptr);
        EXPECT_EQ(frame->state, 0);
        EXPECT_STREQ(SBAR_text(frame->status_bar, UMAIN_FIELD_STATE), "");
        const struct { bool set; uint16_t flags; const char *text; } steps[] = {   // saving shows before modified
            {true, UMAIN_MODIFIED, "modifikováno"}, {true, UMAIN_SAVING, "Ukládání"},
            {false, UMAIN_SAVING, "modifikováno"},  {true, UMAIN_SAVING, "Ukládání"},
            {false, UMAIN_MODIFIED, "Ukládání"},    {false, UMAIN_SAVING, ""},
        };
        for (const auto &s : steps) {
            EXPECT_EQ(s.set ? UMAIN_set_state(frame, s.flags) : UMAIN_clear_state(frame, s.flags), 1);
            EXPECT_STREQ(SBAR_text(frame->status_bar, UMAIN_FIELD_STATE), s.text) << s.flags;
        }

        // The timer shows the date and "14:07.09" in field three.
        DT_DATE before = DT_today();
        SendMessageA(frame->window, WM_TIMER, UMAIN_TIMER, 0);
        DT_DATE after = DT_today();
        std::string shown = SBAR_text(frame->status_bar, UMAIN_FIELD_CLOCK);
        std::string day1 = std::string(DT_date_short(&before)) + " ", day2 = std::string(DT_date_short(&after)) + " ";
        EXPECT_TRUE(WT_starts(shown, day1.c_str()) || WT_starts(shown, day2.c_str())) << shown;
        ASSERT_EQ(shown.size(), day1.size() + 8) << shown;
        EXPECT_EQ(shown.substr(day1.size() + 2, 1) + shown.substr(day1.size() + 5, 1), ":.") << shown;

        char text[64] = "";
        GetWindowTextA(frame->window, text, sizeof text);
        EXPECT_STREQ(text, "Titulek");
        GetClassNameA(frame->window, text, sizeof text);
        EXPECT_STREQ(text, "UNI_MAIN_WINDOW");
        EXPECT_EQ(std::vector<int>({frame->kind, frame->large_icon, frame->small_icon, frame->active}),
                  std::vector<int>({BW_KIND_FRAME, 20, 23, 1}));
        EXPECT_NE(GetClassLongPtrA(frame->window, GCLP_HICON), 0);
        EXPECT_NE(GetClassLongPtrA(frame->window, GCLP_HICONSM), 0);
        EXPECT_NE(frame->menu, nullptr);
        EXPECT_EQ(GetMenu(frame->window), frame->menu);
        EXPECT_EQ(frame->menu_table, GDD_global.tables->tables[0]);
        EXPECT_EQ(GetParent(frame->status_bar->window), frame->window);

        UMAIN_push_client(frame, 1);
        UMAIN_push_client(frame, 2);
        WGD_pump_messages();
        RECT area;
        GetClientRect(frame->window, &area);
        int32_t bar = SBAR_height(frame->status_bar);
        EXPECT_GT(bar, 0);
        EXPECT_EQ(std::vector<LONG>({frame->client_area.right, frame->client_area.bottom}),
                  std::vector<LONG>({area.right, area.bottom - bar}));
        EXPECT_EQ(WT_rect_in(frame->window, frame->status_bar->window),
                  (RECT{0, area.bottom - bar, area.right, area.bottom}));
        for (int16_t slot : {0, 1}) {
            ASSERT_NE(frame->clients[slot], nullptr);
            EXPECT_EQ(GetParent(frame->clients[slot]->window), frame->window);
            EXPECT_EQ(WT_rect_in(frame->window, frame->clients[slot]->window),
                      (RECT{0, 0, area.right, area.bottom - bar}));
        }
        SetWindowPos(frame->window, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);   // passed on
        GetClientRect(frame->window, &area);
        EXPECT_EQ(WT_rect_in(frame->window, frame->clients[1]->window), (RECT{0, 0, area.right, area.bottom - bar}));
    });
}
