// The message boxes as real dialogs, answered from a second thread, and the
// sink's answers when a sink takes the boxes.
#include <gtest/gtest.h>

#include "swin/col.h"
#include "swin/tab.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"
#include "util/voc.h"
#include "win/we_boxes.h"

namespace {

const int ESC = BOX_ANSWERER::ESC, CLOSE = BOX_ANSWERER::CLOSE;
const char INTERNAL[] = " Interní chyba, informujte dodavatele ";

class Boxes : public ::testing::Test {
protected:
    TEST_DRIVER driver;
    REAL_BOXES real;
};

struct ANSWER { int press; int16_t result; };

int16_t error_box()
{
    WE_error_dialog(nullptr, "Soubor %s nelze otevřít", "A.KRV");
    return 1;
}

int16_t error_template_box()
{
    C_DW_WM_ERROR box(nullptr, "Chyba disku", "Disk není připraven");
    EXPECT_EQ(box.template_id, 120);
    return static_cast<int16_t>(DIALOG_run_modal(&box));
}

}  // namespace

TEST_F(Boxes, TitlesTextsButtonsAndResults)
{
    const std::pair<int, const char *> YES{1, "&Ano"}, NO{7, "&Ne"}, STORNO{2, "&Storno"}, ALL{6, "&Vše"},
        OK{1, "&O.K."};
    const struct {
        const char *title;
        std::function<int16_t()> show;
        const char *text;
        std::vector<std::pair<int, const char *>> buttons;
        int absent;
        std::vector<ANSWER> answers;
    } cases[] = {
        {"Dotaz", [] { return WE_question("Přepsat soubor INST.LST?"); }, "Přepsat soubor INST.LST?", {YES, NO}, 2,
         {{1, 1}, {7, 0}, {ESC, 0}, {CLOSE, 0}}},
        {"Dotaz", [] { return WE_question_format("Vložte disk %d (%s)", 3, "C.KRV"); }, "Vložte disk 3 (C.KRV)",
         {YES, NO}, 2, {{1, 1}}},
        {"Dotaz", [] { return WE_question_all("Smazat soubor %s?", "A.KRV"); }, "Smazat soubor A.KRV?",
         {YES, NO, STORNO, ALL}, 0, {{1, 1}, {7, 0}, {6, 2}, {2, -1}, {ESC, -1}, {CLOSE, -1}}},
        {"Dotaz", [] { return WE_question_cancel("Převzít konfiguraci?"); }, "Převzít konfiguraci?",
         {YES, NO, STORNO}, 6, {{1, 1}, {7, 0}, {2, -1}, {ESC, -1}, {CLOSE, -1}}},
        {"Oznámení", [] { return WE_notify("Instalace proběhla úspěšně"); }, "Instalace proběhla úspěšně", {OK}, 0,
         {{1, 1}, {ESC, 1}}},
        {" Chyba ", error_box, "Soubor A.KRV nelze otevřít", {OK}, 0, {{1, 1}, {ESC, 1}}},
        {"Chyba disku", error_template_box, "Disk není připraven", {OK}, 0, {{1, 1}}},
    };
    for (const auto &c : cases) {
        for (const ANSWER &a : c.answers) {
            BOX_ANSWERER box(c.title, a.press);
            EXPECT_EQ(c.show(), a.result) << c.text << " " << a.press;
            ASSERT_TRUE(box.found()) << c.text;
            EXPECT_EQ(box.control_text(100), c.text);
            for (const auto &b : c.buttons)
                EXPECT_EQ(box.control_text(b.first), b.second) << c.text;
            EXPECT_FALSE(c.absent && box.has_control(c.absent)) << c.text;
        }
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Boxes, InternalErrorDisablesTheOtherWindowsSwitchErrorDoesNot)
{
    HWND other = WT_window("STATIC", "jiné okno", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    const struct {
        const char *title;
        void (*show)(const char *, int16_t);
        const char *file;
        int16_t line;
        const char *text;
        bool others_enabled;
    } cases[] = {
        {INTERNAL, WE_internal_error_dialog, "..\\swin\\wgd", 77, "Chyba v souboru ..\\swin\\wgd řádek 77", false},
        {" Chyba switch, informujte dodavatele ", WE_switch_error_dialog, "..\\swin2\\bw", 8,
         "Chyba v souboru ..\\swin2\\bw řádek 8", true},
    };
    for (const auto &c : cases) {
        BOX_ANSWERER box(c.title, 1);
        box.watch_window(other);
        c.show(c.file, c.line);
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), c.text);
        EXPECT_EQ(box.watched_was_enabled(), c.others_enabled);
        EXPECT_TRUE(IsWindowEnabled(other));
    }
    DestroyWindow(other);
}

TEST_F(Boxes, QuestionsSitOnTheWorkAreaNotificationsOverTheOwner)
{
    HWND frame = WT_window("STATIC", "rám", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 500, 400);
    ASSERT_NE(frame, nullptr);
    BOX_OWNER owner(frame);
    RECT o, work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(frame, &o);
    const struct { const char *title; std::function<void()> show; const RECT &area; } cases[] = {
        {"", [] { WE_notify("x"); }, o},
        {"", [] { WE_question_over(nullptr, "x"); }, o},
        {"", [] { WE_question_all_over(nullptr, "x"); }, o},
        {"", [] { WE_question_cancel_over(nullptr, "x"); }, o},
        {"", [] { WE_error_dialog(nullptr, "x"); }, o},
        {"Dotaz", [] { WE_question("x"); }, work},
        {"Dotaz", [] { WE_question_all("x"); }, work},
        {"Dotaz", [] { WE_question_cancel("x"); }, work},
    };
    for (const auto &c : cases) {
        BOX_ANSWERER box(c.title, ESC);
        c.show();
        ASSERT_TRUE(box.found());
        WT_expect_centred(box.rect(), c.area);
        EXPECT_EQ(box.owner(), frame);
    }
    DestroyWindow(frame);
}

TEST_F(Boxes, InputBoxes)
{
    char result[81] = "puvodni";
    const struct {
        const char *title, *prompt, *shown;   // shown: the default, again after a blank or empty field
        int16_t max;
        std::vector<BOX_ANSWERER::STEP> steps;
        int32_t end;
        const char *result;
    } cases[] = {
        {"Cílová cesta", "Zadejte cestu:", nullptr, 80, {{1, 101, "  C:\\TOREVAN "}}, 1, "  C:\\TOREVAN "},
        {"Cesta", "?", nullptr, 80, {{1, 101, ""}}, 1, ""},      // no default: an empty field is accepted
        {"Cesta", "?", "X", 3, {{1, 101, "ABCDEF"}}, 1, "ABC"},   // at most the maximum
        {"Zdroj", "Zdrojová cesta:", "A:\\", 80, {{1, 101, "   "}, {1, 101, ""}, {2}}, 2, "ABC"},
    };
    for (const auto &c : cases) {
        C_DW_WM_STRING box(nullptr, c.title, c.prompt, c.shown, result, c.max);
        BOX_ANSWERER answer(c.title, c.steps);
        EXPECT_EQ(DIALOG_run_modal(&box), c.end);
        EXPECT_EQ(box.cancelled, c.end == 2 ? 1 : 0);
        EXPECT_EQ(answer.control_text(100), c.prompt);
        for (size_t step = 0; step < c.steps.size(); step++)
            EXPECT_EQ(answer.control_text(101, step), c.shown ? c.shown : "") << step;
        EXPECT_EQ(answer.control_text(1) + answer.control_text(2), "&O.K.&Storno");
        EXPECT_FALSE(answer.has_control(3));
        EXPECT_STREQ(result, c.result);
    }
    const ANSWER answers[] = {{2, 2}, {ESC, 2}, {7, 7}, {3, 3}};
    for (const ANSWER &a : answers) {
        C_DW_WM_STRING_ABORT box(nullptr, "Disk", "Vložte disk", "A:", result, 80);
        BOX_ANSWERER answer("Disk", a.press);
        EXPECT_EQ(DIALOG_run_modal(&box), a.result) << a.press;
        EXPECT_EQ(answer.control_text(3) + answer.control_text(2) + answer.control_text(101), "&Zruš&StornoA:");
    }
    {   // the captionless box: no prompt, no title
        C_DW_WM_MINI_STRING box(nullptr, "abc", result, 80);
        BOX_ANSWERER answer("", {{1, 101, "xyz"}});
        EXPECT_EQ(DIALOG_run_modal(&box), 1);
        EXPECT_FALSE(answer.has_control(100));
        EXPECT_EQ(answer.control_text(101), "abc");
    }
    EXPECT_STREQ(result, "xyz");
}

TEST_F(Boxes, ListBoxShowsTheTextsAndStoresTheChoice)
{
    const char *items[] = {"jedna", nullptr, "dvě", "tři"};
    const struct { BOX_ANSWERER::STEP step; int32_t result; int16_t selected; } cases[] = {
        {{1}, 1, 1},
        {{1, 0, "", 100, 2}, 1, 2},
        {{100, 0, "", 100, 0, LBN_DBLCLK}, 1, 0},   // a double click on the first line
        {{2, 0, "", 100, 2}, 2, 0},
        {{ESC, 0, "", 100, 2}, 2, 0},
        {{7, 0, "", 100, 2}, 7, 0},
    };
    int16_t selected = 1;
    for (const auto &c : cases) {
        C_DW_WM_MINI_LIST box(nullptr, items, 4, &selected);
        BOX_ANSWERER answer("", {c.step});
        const std::string shown = "jedna|dvě|tři|#" + std::to_string(selected);   // with the current choice
        EXPECT_EQ(DIALOG_run_modal(&box), c.result);
        EXPECT_EQ(answer.control_text(100), shown);
        EXPECT_EQ(answer.control_text(1) + answer.control_text(2), "&O.K.&Storno");
        EXPECT_EQ(selected, c.selected);
    }
}

TEST_F(Boxes, ColourBoxShowsTheSixteenColoursAndStoresTheRow)
{
    COL_init(&driver->colours);
    ASSERT_EQ(TAB_register(GetModuleHandleA(nullptr)), 1);
    std::string names;
    for (int16_t c = 0; c < VOC_COLOURS; c++)
        names += std::string(VOC_colour_name(c)) + "|";
    const struct { BOX_ANSWERER::STEP step; int32_t result; uint8_t colour; } cases[] = {
        {{1}, 1, 3},
        {{1, 0, "", 100, 15}, 1, 15},
        {{100, 0, "", 100, 0, TAB_NOTIFY_DOUBLE_CLICK}, 1, 0},
        {{2, 0, "", 100, 9}, 2, 0},
        {{ESC, 0, "", 100, 9}, 2, 0},
    };
    uint8_t colour = 3;
    for (const auto &c : cases) {
        C_DW_WM_MINI_COLOR box(nullptr, &colour);
        BOX_ANSWERER answer("", {c.step});
        const std::string shown = names + "#" + std::to_string(colour);   // with the current colour
        EXPECT_EQ(DIALOG_run_modal(&box), c.result);
        EXPECT_EQ(answer.control_text(100), shown);
        EXPECT_EQ(answer.control_text(1) + answer.control_text(2), "&O.K.&Storno");
        EXPECT_EQ(colour, c.colour);
    }
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Boxes, NullTextsAndNoMemoryAreInternalErrors)
{
    const struct {
        size_t fail;   // 0: no allocation failure
        std::function<int16_t()> call;
    } cases[] = {
        {0, [] { return WE_question(nullptr); }},
        {0, [] { return WE_question_format(nullptr); }},
        {0, [] { return WE_question_all(nullptr); }},
        {0, [] { return WE_question_cancel(nullptr); }},
        {0, [] { return WE_notify(nullptr); }},
        {sizeof(C_DW_WM_YES_NO), [] { return WE_question("x"); }},
        {sizeof(C_DW_WM_YES_NO_ALL), [] { return WE_question_all("x"); }},
        {sizeof(C_DW_WM_YES_NO_CANCEL), [] { return WE_question_cancel("x"); }},
        {sizeof(C_DW_WM_ANY_KEY), [] { return WE_notify("x"); }},
    };
    for (const auto &c : cases) {
        BOX_ANSWERER box(INTERNAL, 1);
        if (c.fail)
            WT_fail_allocation(c.fail);
        EXPECT_EQ(c.call(), 0);
        EXPECT_EQ(WT_failures_left(), 0);
        ASSERT_TRUE(box.found());
        EXPECT_TRUE(WT_starts(box.text(), "Chyba v souboru ..\\win\\we řádek ")) << box.text();
    }
}

TEST(BoxTemplate, AMissingTemplateAnswersAsCancelled)
{
    TEST_DRIVER driver;
    C_DW_WM_YES box(nullptr, "Titulek", "Text", 111);
    EXPECT_EQ(DIALOG_run_modal(&box), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].title + "|" + TU_reports()[0].text, " Chyba |WRC - chybí id : 111");
}

TEST(BoxSink, TheSinkAnswersInsteadOfTheDialogs)
{
    const struct {
        std::function<int16_t()> call;
        std::vector<ANSWER> answers;
        WE_KIND kind;
        const char *title, *text;
        uint32_t style;
    } cases[] = {
        {[] { return WE_question("Pokračovat?"); }, {{1, 1}, {7, 0}}, WE_KIND_QUESTION, "Dotaz", "Pokračovat?", 101},
        {[] { return WE_question_format("Disk %d", 2); }, {{2, 0}}, WE_KIND_QUESTION, "Dotaz", "Disk 2", 101},
        {[] { return WE_question_all("Smazat %s?", "X"); }, {{1, 1}, {7, 0}, {6, 2}, {2, -1}}, WE_KIND_QUESTION,
         "Dotaz", "Smazat X?", 102},
        {[] { return WE_question_cancel("Převzít?"); }, {{1, 1}, {7, 0}, {2, -1}, {6, -1}}, WE_KIND_QUESTION, "Dotaz",
         "Převzít?", 103},
        {[] { return WE_question_over(nullptr, "Nad?"); }, {{1, 1}}, WE_KIND_QUESTION, "Dotaz", "Nad?", 101},
        {[] { return WE_notify("Hotovo"); }, {{2, 1}}, WE_KIND_NOTIFY, "Oznámení", "Hotovo", 104},
        {[] { WE_error_dialog(nullptr, "Chyba %d", 5); return int16_t(0); }, {{1, 0}}, WE_KIND_ERROR, " Chyba ",
         "Chyba 5", 100},
        {[] { WE_internal_error_dialog("..\\win\\we", 3); return int16_t(0); }, {{1, 0}}, WE_KIND_INTERNAL, INTERNAL,
         "Chyba v souboru ..\\win\\we řádek 3", 100},
    };
    for (const auto &c : cases) {
        for (const ANSWER &a : c.answers) {
            TU_clear_reports();
            TU_set_answer(a.press);
            EXPECT_EQ(c.call(), a.result) << c.text << " " << a.press;
            ASSERT_EQ(TU_reports().size(), 1u);
            const TU_REPORT &r = TU_reports()[0];
            EXPECT_EQ(r.kind, c.kind);
            EXPECT_EQ(r.title + "|" + r.text, std::string(c.title) + "|" + c.text);
            EXPECT_EQ(r.style, c.style);
        }
    }
}
