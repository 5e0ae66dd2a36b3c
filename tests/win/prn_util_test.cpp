// Printing utilities against the spooler of the run: the PDF printer
// (tests/win/printutil.h), and a machine without any printer.
#include <windows.h>

#include <cstring>

#include "common/mm.h"
#include "swin/prn_util.h"
#include "tests/testutil.h"
#include "win/we.h"
#include "tests/win/printutil.h"
#include "tests/win/winutil.h"

namespace {

std::vector<std::string> statuses;

// Works off the thread's messages until done() (a box answered from another
// thread reads the dialog's texts and presses its buttons through this thread).
template <class F>
bool pump_until(F done)
{
    return WT_wait([&] {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&m);
        return done();
    }, 20000);
}

// The printer's properties dialog as the program imports it, closed with dialog_answer.
LONG dialog_answer = IDOK;
LONG WINAPI properties_answer(HWND, HANDLE, LPSTR, PDEVMODEA, PDEVMODEA, DWORD) { return dialog_answer; }

class Printing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(print_check::printer_ready()); }
    TEST_DRIVER driver;
};

}  // namespace

TEST_F(Printing, TheSpoolersPrintersTheirSettingsAndColours)
{
    char **names = nullptr, name[PRN_NAME_MAX + 1];
    int16_t count = 0, bitmaps = 0;
    int32_t caps[4] = {};
    ASSERT_EQ(PRN_list_printers(&names, &count), 1);
    std::string listed;
    for (int16_t i = 0; i < count; i++)
        listed += std::string(names[i]) + "|";
    PRN_free_list(&names, &count);
    EXPECT_EQ(listed, "PDF|");
    EXPECT_EQ(TU_V({PRN_printer_installed(), PRN_default_name(name), names == nullptr, count,
                    PRN_default_caps(&bitmaps, &caps[0], &caps[1], &caps[2], &caps[3]), bitmaps, caps[0], caps[1],
                    caps[2], caps[3], PRN_exists("PDF"), PRN_exists("Žádná taková tiskárna")}),
              TU_V({1, 1, 1, 0, 1, 1, 2479, 3508, 300, 300, 1, 0}));
    EXPECT_STREQ(name, "PDF");
    // The settings record names its device; one naming another is still used, with the status text.
    DEVMODEA *settings = nullptr;
    ASSERT_EQ(PRN_get_settings(&settings, "PDF"), 1);
    EXPECT_STREQ(reinterpret_cast<const char *>(settings->dmDeviceName), "PDF");
    {   // the properties dialog has run also when the person cancels it; one that could not run: 0
        IAT_PATCH dialog("WINSPOOL.DRV", "DocumentPropertiesA", reinterpret_cast<void *>(properties_answer));
        for (LONG answer : {IDOK, IDCANCEL, -1}) {
            dialog_answer = answer;
            EXPECT_EQ(PRN_edit_settings(nullptr, settings, "PDF"), answer > 0) << answer;
        }
    }
    std::strcpy(reinterpret_cast<char *>(settings->dmDeviceName), "Jiná");
    WE_set_status_hook([](const char *text) { statuses.push_back(text); });
    COLORREF *colours = nullptr;
    int32_t colour_count = 0;
    EXPECT_EQ(PRN_colours(&colours, &colour_count, "PDF", settings), 1);
    WE_set_status_hook(nullptr);
    EXPECT_TRUE(colour_count == -1 ? colours == nullptr : colour_count > 0 && colours != nullptr) << colour_count;
    EXPECT_EQ(statuses, (std::vector<std::string>{"Různé interní názvy tiskáren: 'PDF' a 'Jiná'"}));
    MM_free(colours, "test", __LINE__);
    MM_free(settings, "test", __LINE__);
    EXPECT_EQ(TU_V({PRN_get_settings(&settings, "Žádná taková tiskárna"), settings == nullptr}), TU_V({0, 1}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST(PrintingNames, DeviceNamesAmongFileNames)
{
    const struct { const char *name; int16_t device; bool notice; } cases[] = {
        {"c:\\data\\lpt1.txt", 1, true}, {"LPT1", 1, false}, {"prn", 1, false}, {"A:\\LPT4.", 1, true},
        {"LPT5", 0, false}, {"lpt1x.txt", 0, false}, {"", 0, false}, {"   ", 0, false},
    };
    for (const auto &c : cases) {
        TU_clear_reports();
        EXPECT_EQ(PRN_is_device_name(c.name), c.device) << c.name;
        const std::string notice = std::string("Nevhodný název souboru ") + c.name + ", asi bude vytištěn";
        EXPECT_EQ(TU_reports().size(), c.notice ? 1u : 0u) << c.name;
        if (c.notice && !TU_reports().empty()) {
            EXPECT_EQ(TU_reports()[0].text, notice);
        }
    }
}

TEST_F(Printing, AnImageJobPrintsItsDotsAndCanBeCancelled)
{
    const std::set<std::string> before = print_check::pdf_files();
    // 200 x 100 dots, the left half inked.
    ASSERT_EQ(PRN_image_start(100, 200), 1);
    BOX_ANSWERER shown("Zrušení tisku", std::vector<BOX_ANSWERER::STEP>{});
    pump_until([&] { return shown.found(); });
    uint8_t row[26];
    std::memset(row, 0, sizeof row);
    std::memset(row, 0xFF, 12), row[12] = 0xF0;   // dots 0 .. 99
    for (int32_t r = 0; r < 100; r++)
        EXPECT_EQ(PRN_image_row(r, row), 1);
    EXPECT_EQ(TU_V({PRN_image_row(100, row), PRN_image_page(0), PRN_image_end(), PRN_cancelled()}), TU_V({0, 1, 1, 0}));
    EXPECT_EQ(shown.control_text(100), "TOREVAN");
    const std::string pdf = print_check::new_pdf(before);
    ASSERT_FALSE(pdf.empty());
    int width = 0, height = 0;
    const std::vector<uint8_t> grey = print_check::pdf_grey(pdf, 1, 20, &width, &height);
    ASSERT_FALSE(grey.empty());
    // Scaled to the page's width: the left half of the top rows black, the right half white.
    const int y = width / 8;
    EXPECT_EQ(TU_V({print_check::pdf_pages(pdf), grey[y * width + width / 4] < 64, grey[y * width + width * 3 / 4] > 192,
                    grey[(height - 2) * width + width / 4] > 192}),
              TU_V({1, 1, 1, 1}));
    // "&Zrušit": the job stops without an error report, the windows come back.
    ASSERT_EQ(PRN_image_start(100, 200), 1);
    BOX_ANSWERER cancel("Zrušení tisku", 1);
    EXPECT_TRUE(pump_until([] { return PRN_cancelled() == 1; }));
    EXPECT_EQ(TU_V({PRN_image_page(1), PRN_cancelled(), PRN_image_end()}), TU_V({0, 1, 0}));
    EXPECT_TRUE(TU_reports().empty());
}

TEST(PrintingNoPrinter, EveryQueryAnswersNoneAndNoJobStarts)
{
    TEST_DRIVER driver;
    char **names = nullptr, name[PRN_NAME_MAX + 1];
    int16_t count = 5, bitmaps = 0;
    int32_t caps[4] = {};
    EXPECT_EQ(TU_V({PRN_printer_installed(), PRN_list_printers(&names, &count), names == nullptr, count,
                    PRN_default_name(name), PRN_default_caps(&bitmaps, &caps[0], &caps[1], &caps[2], &caps[3]),
                    PRN_exists("PDF"), PRN_image_start(10, 10), WT_internal_errors("..\\swin\\prn_util")}),
              TU_V({0, 0, 1, 0, 0, 0, 0, 0, 2}));
    EXPECT_STREQ(name, " ");
}
