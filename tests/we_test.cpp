#include "win/we.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/testutil.h"

namespace {

std::string last_status;
void record_status(const char *text) { last_status = text; }

}  // namespace

TEST(We, SystemBoxReportsCarryExactTextsTitlesAndStyles)
{
    WE_internal_error("..\\swin\\wgd", 12);
    WE_switch_error("..\\swin2\\bw", -3);
    WE_error("Soubor X nelze otevřít");
    WE_error_format("Nelze vytvořit adresář %s na disku %s", "Data", "C:");
    WE_low_memory();

    struct {
        WE_KIND kind;
        const char *title;
        const char *text;
        uint32_t style;
    } const expected[] = {
        {WE_KIND_INTERNAL, " Interní chyba, informujte dodavatele ", "Chyba v souboru ..\\swin\\wgd řádek 12", 0x12010},
        {WE_KIND_SWITCH, " Chyba switch, informujte dodavatele ", "Chyba v souboru ..\\swin2\\bw řádek -3", 0x12010},
        {WE_KIND_ERROR, " Chyba ", "Soubor X nelze otevřít", 0x12030},
        {WE_KIND_ERROR, " Chyba ", "Nelze vytvořit adresář Data na disku C:", 0x12030},
        {WE_KIND_LOW_MEMORY, " Chyba ", " Málo paměti", 0x12030},
    };
    ASSERT_EQ(TU_reports().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); i++) {
        const TU_REPORT &r = TU_reports()[i];
        EXPECT_EQ(r.kind, expected[i].kind) << i;
        EXPECT_EQ(r.title, expected[i].title) << i;
        EXPECT_EQ(r.text, expected[i].text) << i;
        EXPECT_EQ(r.style, expected[i].style) << i;
    }
    // The Czech texts are CP1250 bytes: "ř" is 0xF8, "á" 0xE1.
    EXPECT_NE(TU_reports()[0].text.find('\xF8'), std::string::npos);
    EXPECT_EQ(TU_reports()[4].text[2], '\xE1');
}

TEST(We, FormattedTextsAreBounded)
{
    std::string file(300, 'f');
    WE_internal_error(file.c_str(), 1);
    ASSERT_EQ(TU_reports().size(), 1u);
    EXPECT_EQ(TU_reports()[0].text.size(), 99u);   // 100-character buffer

    std::string long_text(1000, 'x');
    WE_error_format("%s", long_text.c_str());
    EXPECT_EQ(TU_reports()[1].text.size(), 400u);

    WE_error(nullptr);   // no text: an empty box, never a crash
    EXPECT_EQ(TU_reports()[2].text, "");
}

TEST(We, StatusGoesOnlyToAnExistingStatusLine)
{
    last_status = "none";
    WE_status("Kopírování %d", 1);   // no status line: nothing happens
    EXPECT_EQ(last_status, "none");

    WE_set_status_hook(record_status);
    WE_status("Kopírování souboru %s", "A.EXE");
    EXPECT_EQ(last_status, "Kopírování souboru A.EXE");
    std::string long_text(500, 's');
    WE_status("%s", long_text.c_str());
    EXPECT_EQ(last_status.size(), 200u);
    WE_set_status_hook(nullptr);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(We, OwnerComesFromTheDriverWhileItExists)
{
    EXPECT_EQ(WE_owner(), nullptr);
    static int marker;
    WE_set_owner_lookup([]() -> void * { return &marker; });
    EXPECT_EQ(WE_owner(), &marker);
    WE_set_owner_lookup(nullptr);
    EXPECT_EQ(WE_owner(), nullptr);
}

TEST(We, SinkAnswersTheBoxAndCanBeReplaced)
{
    TU_set_answer(7);
    EXPECT_EQ(WE_show(WE_KIND_QUESTION, "Otázka", "Pokračovat?", 0x24), 7);
    WE_SINK previous = WE_set_sink([](const WE_REPORT *) { return 42; });
    EXPECT_EQ(WE_show(WE_KIND_NOTIFY, "t", "x", 0), 42);
    EXPECT_EQ(WE_set_sink(previous) != nullptr, true);
    EXPECT_EQ(TU_reports().size(), 1u);
}
