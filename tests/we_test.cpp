#include "win/we.h"

#include "tests/testutil.h"

namespace {

std::string last_status;
void record_status(const char *text) { last_status = text; }

}  // namespace

// The system boxes' exact CP1250 texts, titles and styles ("ř" is 0xF8, "á" 0xE1); texts bounded by their
// buffers (100 and 400 characters), no text an empty box.
TEST(We, SystemBoxReportsCarryExactTextsTitlesAndStyles)
{
    WE_internal_error("..\\swin\\wgd", 12);
    WE_switch_error("..\\swin2\\bw", -3);
    WE_error("Soubor X nelze otevřít");
    WE_error_format("Nelze vytvořit adresář %s na disku %s", "Data", "C:");
    WE_low_memory();
    WE_internal_error(std::string(300, 'f').c_str(), 1);
    WE_error_format("%s", std::string(1000, 'x').c_str());
    WE_error(nullptr);
    const std::string internal = " Interní chyba, informujte dodavatele ";
    const struct { WE_KIND kind; std::string title, text; uint32_t style; } expected[] = {
        {WE_KIND_INTERNAL, internal, "Chyba v souboru ..\\swin\\wgd \xF8\xE1\x64\x65k 12", 0x12010},
        {WE_KIND_SWITCH, " Chyba switch, informujte dodavatele ", "Chyba v souboru ..\\swin2\\bw řádek -3", 0x12010},
        {WE_KIND_ERROR, " Chyba ", "Soubor X nelze otevřít", 0x12030},
        {WE_KIND_ERROR, " Chyba ", "Nelze vytvořit adresář Data na disku C:", 0x12030},
        {WE_KIND_LOW_MEMORY, " Chyba ", " M\xE1lo pam\xECti", 0x12030},
        {WE_KIND_INTERNAL, internal, ("Chyba v souboru " + std::string(300, 'f')).substr(0, 99), 0x12010},
        {WE_KIND_ERROR, " Chyba ", std::string(400, 'x'), 0x12030}, {WE_KIND_ERROR, " Chyba ", "", 0x12030},
    };
    ASSERT_EQ(TU_reports().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); i++) {
        const TU_REPORT &r = TU_reports()[i];
        EXPECT_EQ((TU_V{r.kind, r.style}), (TU_V{expected[i].kind, expected[i].style})) << i;
        EXPECT_EQ(r.title, expected[i].title) << i;
        EXPECT_EQ(r.text, expected[i].text) << i;
    }
}

// The status line gets its text (at most 200 characters) only while it exists; the owner of boxes comes from the
// driver while it exists.
TEST(We, StatusLineAndOwnerOnlyWhileTheDriverExists)
{
    last_status = "none";
    WE_status("Kopírování %d", 1);
    EXPECT_EQ(last_status, "none");
    WE_set_status_hook(record_status);
    WE_status("Kopírování souboru %s", "A.EXE");
    EXPECT_EQ(last_status, "Kopírování souboru A.EXE");
    WE_status("%s", std::string(500, 's').c_str());
    EXPECT_EQ(last_status, std::string(200, 's'));
    WE_set_status_hook(nullptr);
    EXPECT_TRUE(TU_reports().empty());
    static int marker;
    EXPECT_EQ(WE_owner(), nullptr);
    WE_set_owner_lookup([]() -> void * { return &marker; });
    EXPECT_EQ(WE_owner(), &marker);
    WE_set_owner_lookup(nullptr);
    EXPECT_EQ(WE_owner(), nullptr);
}

// The sink gives the box's answer and can be replaced (and put back).
TEST(We, SinkAnswersTheBoxAndCanBeReplaced)
{
    TU_set_answer(7);
    EXPECT_EQ(WE_show(WE_KIND_QUESTION, "Otázka", "Pokračovat?", 0x24), 7);
    WE_SINK previous = WE_set_sink([](const WE_REPORT *) { return 42; });
    EXPECT_EQ(WE_show(WE_KIND_NOTIFY, "t", "x", 0), 42);
    EXPECT_NE(WE_set_sink(previous), nullptr);
    EXPECT_EQ(TU_reports().size(), 1u);
}
