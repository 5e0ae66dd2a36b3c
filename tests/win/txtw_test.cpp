// The text listing window and the selection forms as real dialogs, answered
// from second threads: the lines and the title, the output to a file in each
// code page through the code page dialog and the save-file dialog, the lines
// in the table print window and on the printer, the chosen line, the warning
// without a selection.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>

#include "common/cz.h"
#include "res/dialogs.h"
#include "swin/tp.h"
#include "swin/txtw.h"
#include "swin/wrc.h"
#include "tests/testutil.h"
#include "tests/win/printutil.h"
#include "tests/win/winutil.h"

namespace {

typedef BOX_ANSWERER::STEP STEP;
const char CODE_PAGE_TITLE[] = "Kódování češtiny";
const int NAME_COMBO = 0x47C, NAME_EDIT = 0x480;   // cmb13 and edt1 of the common dialogs

struct BUFFER {
    TXT_buffer b;
    explicit BUFFER(std::initializer_list<std::string> lines)
    {
        TXT_create(&b, 100);
        for (const std::string &line : lines)
            EXPECT_EQ(TXT_add(&b, line.c_str(), nullptr), 1);
    }
    ~BUFFER() { TXT_destroy(&b); }
};

// The visible save-file dialog of this process (a dialog with the name field), or null.
HWND find_file_dialog()
{
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && (GetDlgItem(w, NAME_COMBO) || GetDlgItem(w, NAME_EDIT)))
            return w;
    }
    return nullptr;
}

// Answers the save-file dialog from a second thread: the name typed into its
// name field and OK pressed; an empty name presses Cancel.
class SAVE_ANSWERER : C_GUARD {
public:
    explicit SAVE_ANSWERER(std::string name) : thread_([this, name] {
        HWND dialog = nullptr;
        if (!WT_wait([&] { return (dialog = find_file_dialog()) != nullptr; }, 20000))
            return;
        found = true;
        HWND field = GetDlgItem(dialog, NAME_COMBO);
        if (!name.empty())
            SendMessageA(field && IsWindowVisible(field) ? field : GetDlgItem(dialog, NAME_EDIT), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(name.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(name.empty() ? IDCANCEL : IDOK, BN_CLICKED), 0);
        if (!WT_wait([dialog] { return !IsWindowVisible(dialog); }, 10000))
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }) {}
    ~SAVE_ANSWERER() { thread_.join(); }
    std::atomic<bool> found{false};

private:
    std::thread thread_;   // last: starts when everything else is made
};

// The names of the files in the directory, in small letters.
std::set<std::string> files_in(const std::string &dir)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(CharLowerA(found.cFileName));
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return names;
}

class Txt : public ::testing::Test {
protected:
    TEST_DRIVER driver;
};

}  // namespace

TEST_F(Txt, ListingShowsTheLinesAndSavesThemInTheChosenCodePage)
{
    TU_SCRATCH scratch;
    const std::string long_line = std::string(160, 'a') + std::string(140, 'b');   // 300 characters
    BUFFER t({"Čížek", "", "druhý řádek", long_line});
    {
        REAL_BOXES real;
        // The lines, the first selected, the buttons and the caller's title (else the template's).
        for (const char *caption : {"Výsledky převodu", static_cast<const char *>(nullptr)}) {
            BOX_ANSWERER listing(caption ? caption : "Výpis", DLG_ID_OK);
            EXPECT_EQ(TXT_show(&t.b, caption), 1);
            ASSERT_TRUE(listing.found());
            EXPECT_EQ(listing.control_text(DLG_ID_TEXT), "Čížek||druhý řádek|" + long_line + "|#0");
            EXPECT_EQ(listing.control_text(DLG_ID_PRINT) + "," + listing.control_text(DLG_ID_TO_FILE) + "," +
                          listing.control_text(DLG_ID_OK),
                      "&Tisk,&Výstup do souboru,&Zavřít");
        }
        // Output to a file: the radio button pressed (0: none, MS WINDOWS
        // stays), the button that ends the code page dialog, the name typed
        // into the save-file dialog ("": cancelled), the file and its bytes.
        const std::string cut = long_line.substr(0, 160) + "\r\n";
        const struct { int radio, end; std::string typed, file, bytes; } cases[] = {
            {DLG_ID_CP_KEYBCS2, DLG_ID_OK, "kamenicky.txt", "kamenicky.txt",
             "\x80\xA1\x91\x65\x6B\r\n\r\ndruh\x98 \xA9\xA0" "dek\r\n" + cut},
            {0, DLG_ID_OK, "okna", "okna.txt", "Čížek\r\n\r\ndruhý řádek\r\n" + cut},   // not remembered; TXT added
            {DLG_ID_CP_LATIN2, DLG_ID_OK, "latin.txt", "latin.txt",
             "\xAC\xA1\xA7\x65\x6B\r\n\r\ndruh\xEC \xFD\xA0" "dek\r\n" + cut},
            {DLG_ID_CP_ASCII, DLG_ID_OK, "ascii.txt", "ascii.txt", "Cizek\r\n\r\ndruhy radek\r\n" + cut},
            {DLG_ID_CP_KEYBCS2, DLG_ID_CANCEL, "", "", ""},   // Storno: no save-file dialog
            {DLG_ID_CP_ASCII, DLG_ID_OK, "", "", ""},         // the save-file dialog cancelled
        };
        std::set<std::string> made;
        for (const auto &c : cases) {
            SCOPED_TRACE(c.file + " " + std::to_string(c.radio) + " " + std::to_string(c.end));
            BOX_ANSWERER listing("Výpis", std::vector<STEP>{{DLG_ID_TO_FILE}, {DLG_ID_OK}});
            std::vector<STEP> steps{{c.end}};
            if (c.radio)
                steps.insert(steps.begin(), STEP{c.radio});
            BOX_ANSWERER code_page(CODE_PAGE_TITLE, steps);
            std::unique_ptr<SAVE_ANSWERER> save(c.end == DLG_ID_OK ? new SAVE_ANSWERER(
                                                                         c.typed.empty() ? "" : scratch.file(c.typed))
                                                                   : nullptr);
            EXPECT_EQ(TXT_show(&t.b, nullptr), 1);
            ASSERT_TRUE(listing.found() && code_page.found());
            EXPECT_EQ(code_page.control_text(DLG_ID_CP_KEYBCS2) + "," + code_page.control_text(DLG_ID_CP_LATIN2) +
                          "," + code_page.control_text(DLG_ID_CP_WINDOWS) + "," +
                          code_page.control_text(DLG_ID_CP_ASCII) + "," + code_page.control_text(DLG_ID_OK) + "," +
                          code_page.control_text(DLG_ID_CANCEL),
                      "&KEYBCS2,&LATIN2,MS &WINDOWS,&ASCII,&O.K.,&Storno");
            save.reset();
            EXPECT_EQ(c.file.empty() ? "" : TU_read(scratch.file(c.file)), c.bytes);
            if (!c.file.empty())
                made.insert(c.file);
            EXPECT_EQ(files_in(scratch.path()), made);   // nothing else written
        }
    }
    EXPECT_TRUE(TU_reports().empty());
    TU_expect_failures("..\\swin\\txtw", {TU_FAILS(TXT_show(nullptr, "x"))});
    TU_clear_reports();
    EXPECT_EQ(WRC_find_named_template("CHYBI"), nullptr);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text, "WRC - chybí id : CHYBI");
    TU_clear_reports();
}

// "&Tisk": the table print window, left open by the listing, holds the
// lines and prints them.
TEST_F(Txt, PrintOpensTheTablePrintWindowWithTheLines)
{
    ASSERT_TRUE(print_check::printer_ready());
    const char *const lines[] = {"Čížek", "druhý řádek", "třetí"};
    BUFFER t({lines[0], lines[1], lines[2]});
    {
        REAL_BOXES real;
        BOX_ANSWERER listing("Výpis", std::vector<STEP>{{DLG_ID_PRINT}, {DLG_ID_OK}});
        EXPECT_EQ(TXT_show(&t.b, nullptr), 1);
        ASSERT_TRUE(listing.found());
    }
    HWND window = FindWindowA(TP_CLASS_NAME, TXT_PRINT_TITLE);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    const auto press = [window](int id) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    };
    const std::set<std::string> before = print_check::pdf_files();
    press(TP_ID_PRINT);
    const std::string pdf = print_check::new_pdf(before);
    ASSERT_FALSE(pdf.empty());
    const std::string printed = print_check::pdf_text(pdf);
    for (const char *line : lines)
        EXPECT_NE(printed.find(line), std::string::npos) << line << " in " << printed;
    press(TP_ID_CLOSE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(TU_reports().empty());
}

TEST_F(Txt, SelectionFormsStartAtTheSlotAndGiveTheChosenLine)
{
    BUFFER t({"alfa", "beta", "gama"});
    {
        REAL_BOXES real;
        const STEP PICK_FIRST{DLG_ID_OK, 0, "", DLG_ID_TEXT, 0}, NO_LINE{DLG_ID_OK, 0, "", DLG_ID_TEXT, -1};
        // at: TXT_choose_at at 40, 60; the slot before and after, the result;
        // the selection first seen; whether the warning was shown.
        const struct {
            bool at;
            const char *caption, *title;
            int16_t slot;
            std::vector<STEP> steps;
            int16_t result, slot_after;
            int shown;
            bool warned;
        } cases[] = {
            {false, "Vyberte řádek", "Vyberte řádek", 2, {{DLG_ID_OK}}, 1, 2, 2, false},
            {false, nullptr, "Výběr", 9, {PICK_FIRST}, 1, 0, 0, false},   // a slot outside: the first line
            {false, "Vyberte řádek", "Vyberte řádek", 1, {{DLG_ID_CANCEL}}, 0, 1, 1, false},
            {true, "Místo", "Místo", 1, {{DLG_ID_TEXT, 0, "", DLG_ID_TEXT, 2, LBN_DBLCLK}}, 1, 2, 1, false},
            {true, "Místo", "Místo", 0, {NO_LINE, {DLG_ID_CANCEL}}, 0, 0, 0, true},   // the form stays open
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(c.title) + " " + std::to_string(c.slot));
            BOX_ANSWERER form(c.title, c.steps);
            std::optional<BOX_ANSWERER> warning;
            if (c.warned)
                warning.emplace("Oznámení", DLG_ID_OK);
            int16_t slot = c.slot;
            const int16_t result = c.at ? TXT_choose_at(&t.b, c.caption, 40, 60, &slot) : TXT_choose(&t.b, c.caption, &slot);
            ASSERT_TRUE(form.found());
            EXPECT_EQ((TU_V{result, slot}), (TU_V{c.result, c.slot_after}));
            EXPECT_EQ(form.control_text(DLG_ID_TEXT), "alfa|beta|gama|#" + std::to_string(c.shown));
            EXPECT_EQ(form.control_text(DLG_ID_OK) + "," + form.control_text(DLG_ID_CANCEL), "&O.K.,&Storno");
            if (c.at) {
                EXPECT_EQ((TU_V{form.rect().left, form.rect().top}), (TU_V{40, 60}));
            }
            if (c.warned) {
                ASSERT_TRUE(warning->found());
                EXPECT_EQ(warning->control_text(DLG_ID_TEXT), TXT_NO_SELECTION);
                EXPECT_EQ(form.control_text(DLG_ID_TEXT, 1), "alfa|beta|gama|#-1");   // still open after O.K.
            }
        }
    }
    EXPECT_TRUE(TU_reports().empty());
    int16_t slot = 0;
    TU_expect_failures("..\\swin\\txtw", {TU_FAILS(TXT_choose(nullptr, "x", &slot)),
                                          TU_FAILS(TXT_choose(&t.b, "x", nullptr)),
                                          TU_FAILS(TXT_choose_at(nullptr, nullptr, 0, 0, &slot))});
}
