// The message boxes as real dialogs, answered from a second thread: their
// Czech titles, texts and buttons, the results of every button, of Esc and
// of the close command, their placement, the input and list boxes, and the
// sink's answers when a sink takes the boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/mm.h"
#include "tests/testutil.h"
#include "tests/win/boxanswer.h"
#include "tests/win/dlgutil.h"
#include "tests/win/memfail.h"
#include "win/we_boxes.h"

namespace {

const int ESC = BOX_ANSWERER::ESC;
const int CLOSE = BOX_ANSWERER::CLOSE;

class Boxes : public ::testing::Test {
protected:
    TEST_DRIVER driver;
    REAL_BOXES real;
};

struct ANSWER {
    int press;
    int16_t result;
};

RECT work_area()
{
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// The frame that the owner lookup gives while a test runs.
HWND test_owner = nullptr;
void *lookup_owner()
{
    return test_owner;
}

}  // namespace

TEST_F(Boxes, QuestionYesNo)
{
    const ANSWER answers[] = {{1, 1}, {7, 0}, {ESC, 0}, {CLOSE, 0}};
    for (const ANSWER &a : answers) {
        BOX_ANSWERER box("Dotaz", a.press);
        EXPECT_EQ(WE_question("Přepsat soubor INST.LST?"), a.result) << a.press;
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), "Přepsat soubor INST.LST?");
        EXPECT_EQ(box.control_text(1), "&Ano");
        EXPECT_EQ(box.control_text(7), "&Ne");
        EXPECT_FALSE(box.has_control(2));
    }
    BOX_ANSWERER box("Dotaz", 1);
    EXPECT_EQ(WE_question_format("Vložte disk %d (%s)", 3, "C.KRV"), 1);
    EXPECT_EQ(box.control_text(100), "Vložte disk 3 (C.KRV)");
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Boxes, QuestionAll)
{
    const ANSWER answers[] = {{1, 1}, {7, 0}, {6, 2}, {2, -1}, {ESC, -1}, {CLOSE, -1}};
    for (const ANSWER &a : answers) {
        BOX_ANSWERER box("Dotaz", a.press);
        EXPECT_EQ(WE_question_all("Smazat soubor %s?", "A.KRV"), a.result) << a.press;
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), "Smazat soubor A.KRV?");
        EXPECT_EQ(box.control_text(1), "&Ano");
        EXPECT_EQ(box.control_text(7), "&Ne");
        EXPECT_EQ(box.control_text(2), "&Storno");
        EXPECT_EQ(box.control_text(6), "&Vše");
    }
}

TEST_F(Boxes, QuestionCancel)
{
    const ANSWER answers[] = {{1, 1}, {7, 0}, {2, -1}, {ESC, -1}, {CLOSE, -1}};
    for (const ANSWER &a : answers) {
        BOX_ANSWERER box("Dotaz", a.press);
        EXPECT_EQ(WE_question_cancel("Převzít konfiguraci?"), a.result) << a.press;
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), "Převzít konfiguraci?");
        EXPECT_EQ(box.control_text(1), "&Ano");
        EXPECT_EQ(box.control_text(7), "&Ne");
        EXPECT_EQ(box.control_text(2), "&Storno");
        EXPECT_FALSE(box.has_control(6));
    }
}

TEST_F(Boxes, NotifyAndErrorDialogs)
{
    for (int press : {1, ESC}) {
        BOX_ANSWERER box("Oznámení", press);
        EXPECT_EQ(WE_notify("Instalace proběhla úspěšně"), 1);
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), "Instalace proběhla úspěšně");
        EXPECT_EQ(box.control_text(1), "&O.K.");
    }
    for (int press : {1, ESC}) {
        BOX_ANSWERER box(" Chyba ", press);
        WE_error_dialog(nullptr, "Soubor %s nelze otevřít", "A.KRV");
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), "Soubor A.KRV nelze otevřít");
        EXPECT_EQ(box.control_text(1), "&O.K.");
    }
    HWND other = CreateWindowExA(0, "STATIC", "jiné okno", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    {
        BOX_ANSWERER box(" Interní chyba, informujte dodavatele ", 1);
        box.watch_window(other);
        WE_internal_error_dialog("..\\swin\\wgd", 77);
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), "Chyba v souboru ..\\swin\\wgd řádek 77");
        EXPECT_FALSE(box.watched_was_enabled());   // the other windows were disabled
    }
    EXPECT_TRUE(IsWindowEnabled(other));
    {
        BOX_ANSWERER box(" Chyba switch, informujte dodavatele ", 1);
        box.watch_window(other);
        WE_switch_error_dialog("..\\swin2\\bw", 8);
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.control_text(100), "Chyba v souboru ..\\swin2\\bw řádek 8");
        EXPECT_TRUE(box.watched_was_enabled());
    }
    DestroyWindow(other);
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Boxes, QuestionsSitOnTheWorkAreaNotificationsOverTheOwner)
{
    test_owner = CreateWindowExA(0, "STATIC", "rám", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 500, 400, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(test_owner, nullptr);
    WE_set_owner_lookup(lookup_owner);
    RECT o, work = work_area();
    GetWindowRect(test_owner, &o);
    auto centred_on = [](const RECT &box, const RECT &area) {
        return std::abs((box.left + box.right) / 2 - (area.left + area.right) / 2) <= 1 &&
               std::abs((box.top + box.bottom) / 2 - (area.top + area.bottom) / 2) <= 1;
    };
    const std::function<void()> over_owner[] = {
        [] { WE_notify("x"); },
        [] { WE_question_over(nullptr, "x"); },
        [] { WE_question_all_over(nullptr, "x"); },
        [] { WE_question_cancel_over(nullptr, "x"); },
        [] { WE_error_dialog(nullptr, "x"); },
    };
    for (const auto &show : over_owner) {
        BOX_ANSWERER box("", ESC);   // any title
        show();
        EXPECT_TRUE(box.found());
        EXPECT_TRUE(centred_on(box.rect(), o));
        EXPECT_EQ(box.owner(), test_owner);
    }
    const std::function<void()> on_work_area[] = {
        [] { WE_question("x"); },
        [] { WE_question_all("x"); },
        [] { WE_question_cancel("x"); },
    };
    for (const auto &show : on_work_area) {
        BOX_ANSWERER box("Dotaz", ESC);
        show();
        EXPECT_TRUE(box.found());
        EXPECT_TRUE(centred_on(box.rect(), work));
        EXPECT_EQ(box.owner(), test_owner);
    }
    WE_set_owner_lookup(nullptr);
    DestroyWindow(test_owner);
    test_owner = nullptr;
}

TEST_F(Boxes, InputBoxAcceptsTheField)
{
    char result[81] = "puvodni";
    {
        C_DW_WM_STRING box(nullptr, "Cílová cesta", "Zadejte cestu:", nullptr, result, 80);
        BOX_ANSWERER answer("Cílová cesta", {{1, 101, "  C:\\TOREVAN "}});
        EXPECT_EQ(DIALOG_run_modal(&box), 1);
        EXPECT_EQ(answer.control_text(100), "Zadejte cestu:");
        EXPECT_EQ(answer.control_text(101), "");
        EXPECT_EQ(answer.control_text(1), "&O.K.");
        EXPECT_EQ(answer.control_text(2), "&Storno");
        EXPECT_FALSE(answer.has_control(3));
    }
    EXPECT_STREQ(result, "  C:\\TOREVAN ");   // the field as it was typed
    {   // no default: an empty field is accepted
        C_DW_WM_STRING box(nullptr, "Cesta", "?", nullptr, result, 80);
        BOX_ANSWERER answer("Cesta", {{1, 101, ""}});
        EXPECT_EQ(DIALOG_run_modal(&box), 1);
    }
    EXPECT_STREQ(result, "");
    {   // at most the maximum
        C_DW_WM_STRING box(nullptr, "Cesta", "?", "X", result, 3);
        BOX_ANSWERER answer("Cesta", {{1, 101, "ABCDEF"}});
        EXPECT_EQ(DIALOG_run_modal(&box), 1);
        EXPECT_EQ(answer.control_text(101), "X");   // the default shown at first
    }
    EXPECT_STREQ(result, "ABC");
}

TEST_F(Boxes, InputBoxRestoresTheDefaultForABlankField)
{
    char result[81] = "puvodni";
    C_DW_WM_STRING box(nullptr, "Zdroj", "Zdrojová cesta:", "A:\\", result, 80);
    BOX_ANSWERER answer("Zdroj", {{1, 101, "   "}, {1, 101, ""}, {2}});
    EXPECT_EQ(DIALOG_run_modal(&box), 2);
    EXPECT_EQ(answer.control_text(101, 1), "A:\\");   // back after the blank field
    EXPECT_EQ(answer.control_text(101, 2), "A:\\");   // and after the empty one
    EXPECT_STREQ(result, "puvodni");
    EXPECT_EQ(box.cancelled, 1);
}

TEST_F(Boxes, InputBoxesEndWithTheirIds)
{
    char result[81] = "";
    const ANSWER answers[] = {{2, 2}, {ESC, 2}, {7, 7}, {3, 3}};
    for (const ANSWER &a : answers) {
        C_DW_WM_STRING_ABORT box(nullptr, "Disk", "Vložte disk", "A:", result, 80);
        BOX_ANSWERER answer("Disk", a.press);
        EXPECT_EQ(DIALOG_run_modal(&box), a.result) << a.press;
        EXPECT_EQ(answer.control_text(3), "&Zruš");
        EXPECT_EQ(answer.control_text(2), "&Storno");
        EXPECT_EQ(answer.control_text(101), "A:");
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
    int16_t selected = 1;
    {
        C_DW_WM_MINI_LIST box(nullptr, items, 4, &selected);
        BOX_ANSWERER answer("", 1);
        EXPECT_EQ(DIALOG_run_modal(&box), 1);
        EXPECT_EQ(answer.control_text(100), "jedna|dvě|tři|#1");
        EXPECT_EQ(answer.control_text(1), "&O.K.");
        EXPECT_EQ(answer.control_text(2), "&Storno");
    }
    EXPECT_EQ(selected, 1);
    {
        C_DW_WM_MINI_LIST box(nullptr, items, 4, &selected);
        BOX_ANSWERER answer("", {BOX_ANSWERER::select_and_press(100, 2, 1)});
        EXPECT_EQ(DIALOG_run_modal(&box), 1);
    }
    EXPECT_EQ(selected, 2);
    {   // a double click on a line
        C_DW_WM_MINI_LIST box(nullptr, items, 4, &selected);
        BOX_ANSWERER::STEP click = BOX_ANSWERER::notification(100, LBN_DBLCLK);
        click.select_id = 100;
        click.select = 0;
        BOX_ANSWERER answer("", {click});
        EXPECT_EQ(DIALOG_run_modal(&box), 1);
    }
    EXPECT_EQ(selected, 0);
    for (int press : {2, ESC, 7}) {
        C_DW_WM_MINI_LIST box(nullptr, items, 4, &selected);
        BOX_ANSWERER answer("", {BOX_ANSWERER::select_and_press(100, 2, press)});
        EXPECT_EQ(DIALOG_run_modal(&box), press == 7 ? 7 : 2);
    }
    EXPECT_EQ(selected, 0);   // unchanged
}

TEST_F(Boxes, ErrorBoxTemplate120)
{
    C_DW_WM_ERROR box(nullptr, "Chyba disku", "Disk není připraven");
    EXPECT_EQ(box.template_id, 120);
    BOX_ANSWERER answer("Chyba disku", 1);
    EXPECT_EQ(DIALOG_run_modal(&box), 1);
    EXPECT_EQ(answer.control_text(100), "Disk není připraven");
    EXPECT_EQ(answer.control_text(1), "&O.K.");
}

TEST_F(Boxes, NullTextsAndNoMemoryAreInternalErrors)
{
    struct CASE {
        std::function<int16_t()> call;
        int16_t result;
    };
    const CASE nulls[] = {
        {[] { return WE_question(nullptr); }, 0},
        {[] { return WE_question_format(nullptr); }, 0},
        {[] { return WE_question_all(nullptr); }, 0},
        {[] { return WE_question_cancel(nullptr); }, 0},
        {[] { return WE_notify(nullptr); }, 0},
    };
    for (const CASE &c : nulls) {
        BOX_ANSWERER box(" Interní chyba, informujte dodavatele ", 1);
        EXPECT_EQ(c.call(), c.result);
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.text().rfind("Chyba v souboru ..\\win\\we řádek ", 0), 0u) << box.text();
    }
    const CASE no_memory[] = {
        {[] {
             TU_fail_allocation(sizeof(C_DW_WM_YES_NO));
             return WE_question("x");
         },
         0},
        {[] {
             TU_fail_allocation(sizeof(C_DW_WM_YES_NO_ALL));
             return WE_question_all("x");
         },
         0},
        {[] {
             TU_fail_allocation(sizeof(C_DW_WM_YES_NO_CANCEL));
             return WE_question_cancel("x");
         },
         0},
        {[] {
             TU_fail_allocation(sizeof(C_DW_WM_ANY_KEY));
             return WE_notify("x");
         },
         0},
    };
    for (const CASE &c : no_memory) {
        BOX_ANSWERER box(" Interní chyba, informujte dodavatele ", 1);
        EXPECT_EQ(c.call(), c.result);
        EXPECT_EQ(TU_failures_left(), 0);
        ASSERT_TRUE(box.found());
        EXPECT_EQ(box.text().rfind("Chyba v souboru ..\\win\\we řádek ", 0), 0u) << box.text();
    }
    TU_fail_allocation(0, 0);
}

TEST(BoxTemplate, AMissingTemplateAnswersAsCancelled)
{
    TEST_DRIVER driver;
    C_DW_WM_YES box(nullptr, "Titulek", "Text", 106);
    EXPECT_EQ(DIALOG_run_modal(&box), 0);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].title, " Chyba ");
    EXPECT_EQ(TU_reports()[0].text, "WRC - chybí id : 106");
}

TEST(BoxSink, TheSinkAnswersInsteadOfTheDialogs)
{
    struct CASE {
        std::function<int16_t()> call;
        int answer;
        int16_t result;
        WE_KIND kind;
        const char *title;
        const char *text;
        uint32_t style;
    };
    const CASE cases[] = {
        {[] { return WE_question("Pokračovat?"); }, 1, 1, WE_KIND_QUESTION, "Dotaz", "Pokračovat?", 101},
        {[] { return WE_question("Pokračovat?"); }, 7, 0, WE_KIND_QUESTION, "Dotaz", "Pokračovat?", 101},
        {[] { return WE_question_format("Disk %d", 2); }, 2, 0, WE_KIND_QUESTION, "Dotaz", "Disk 2", 101},
        {[] { return WE_question_all("Smazat %s?", "X"); }, 1, 1, WE_KIND_QUESTION, "Dotaz", "Smazat X?", 102},
        {[] { return WE_question_all("Smazat %s?", "X"); }, 7, 0, WE_KIND_QUESTION, "Dotaz", "Smazat X?", 102},
        {[] { return WE_question_all("Smazat %s?", "X"); }, 6, 2, WE_KIND_QUESTION, "Dotaz", "Smazat X?", 102},
        {[] { return WE_question_all("Smazat %s?", "X"); }, 2, -1, WE_KIND_QUESTION, "Dotaz", "Smazat X?", 102},
        {[] { return WE_question_cancel("Převzít?"); }, 1, 1, WE_KIND_QUESTION, "Dotaz", "Převzít?", 103},
        {[] { return WE_question_cancel("Převzít?"); }, 7, 0, WE_KIND_QUESTION, "Dotaz", "Převzít?", 103},
        {[] { return WE_question_cancel("Převzít?"); }, 2, -1, WE_KIND_QUESTION, "Dotaz", "Převzít?", 103},
        {[] { return WE_question_cancel("Převzít?"); }, 6, -1, WE_KIND_QUESTION, "Dotaz", "Převzít?", 103},
        {[] { return WE_question_over(nullptr, "Nad?"); }, 1, 1, WE_KIND_QUESTION, "Dotaz", "Nad?", 101},
        {[] { return WE_notify("Hotovo"); }, 2, 1, WE_KIND_NOTIFY, "Oznámení", "Hotovo", 104},
        {[] {
             WE_error_dialog(nullptr, "Chyba %d", 5);
             return int16_t(0);
         },
         1, 0, WE_KIND_ERROR, " Chyba ", "Chyba 5", 100},
        {[] {
             WE_internal_error_dialog("..\\win\\we", 3);
             return int16_t(0);
         },
         1, 0, WE_KIND_INTERNAL, " Interní chyba, informujte dodavatele ", "Chyba v souboru ..\\win\\we řádek 3",
         100},
    };
    for (const CASE &c : cases) {
        TU_clear_reports();
        TU_set_answer(c.answer);
        EXPECT_EQ(c.call(), c.result) << c.text << " " << c.answer;
        ASSERT_EQ(TU_reports().size(), 1u);
        const TU_REPORT &r = TU_reports()[0];
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.title, c.title);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.style, c.style);
    }
}
