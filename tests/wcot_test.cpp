#include "tools/wco/wcot.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/co.h"
#include "common/u8.h"
#include "swin/wco.h"
#include "tests/testutil.h"

namespace {

struct RUN {
    int status;
    std::string out;   // UTF-8, as the terminal gets it
    std::string err;
};

// Runs the tool in the current directory with the arguments after the program name.
RUN run(const std::vector<std::string> &arguments)
{
    std::vector<std::string> all = {"wco"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    FILE *out = std::fopen("tool_out.txt", "w+b");
    FILE *err = std::fopen("tool_err.txt", "w+b");
    EXPECT_TRUE(out && err);
    RUN result{WCOT_run(static_cast<int>(all.size()), argv.data(), out, err), "", ""};
    std::fclose(out);
    std::fclose(err);
    result.out = TU_read("tool_out.txt");
    result.err = TU_read("tool_err.txt");
    return result;
}

// A CP1250 literal of this source as the tool prints it.
std::string u8(const std::string &text)
{
    return U8_from_cp1250(text.c_str());
}

std::string crlf(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The default system configuration as the library writes it.
std::string library_defaults()
{
    WCO_file *store = WCO_system_store();
    while (store->count > 0)
        WCO_remove_section(store, store->sections[store->count - 1].name);
    CO_CONFIG record;
    CO_load_or_default(&record);
    EXPECT_EQ(WCO_save_forced(store, "library.wco"), 1);
    return TU_read("library.wco");
}

TEST(WcoTool, UsageErrors)
{
    TU_SCRATCH scratch;
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"get"}, {"frobnicate", "x.wco"}, {"get", "x.wco", "S"}, {"set", "x.wco", "S", "k"}, {"check"},
        {"format", "x.wco", "extra"},
    };
    for (const auto &arguments : wrong) {
        const RUN r = run(arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(u8("Použití:\n  wco defaults SOUBOR"), 0), 0u) << r.err;
    }
}

TEST(WcoTool, DefaultsWritesTheCompleteSystemConfiguration)
{
    TU_SCRATCH scratch;
    TU_write("SYSTEM.WCO", "old contents");
    const RUN r = run({"defaults", "SYSTEM.WCO"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out + r.err, "");
    const std::string written = TU_read("SYSTEM.WCO");
    EXPECT_EQ(written, library_defaults());
    EXPECT_EQ(written.rfind("Konfiguracni soubor TOREVAN\r\n\r\nBEGIN[CO_colors]\r\n   bad_atom_color", 0), 0u);
    EXPECT_FALSE(TU_exists("SYSTEM.WCO.$$$"));
    // A second run writes the same bytes.
    EXPECT_EQ(run({"defaults", "SYSTEM.WCO"}).status, 0);
    EXPECT_EQ(TU_read("SYSTEM.WCO"), written);
}

TEST(WcoTool, Get)
{
    TU_SCRATCH scratch;
    TU_write("cfg.wco", "BEGIN[CO_colors]\n   trace_color = světle šedá\n   empty =\n");
    struct CASE {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    };
    const CASE cases[] = {
        {{"get", "cfg.wco", "CO_colors", "trace_color"}, 0, u8("světle šedá\n"), ""},
        {{"get", "cfg.wco", "CO_colors", "empty"}, 0, "\n", ""},
        {{"get", "cfg.wco", "CO_common", "trace_color"}, 1, "", u8("wco: sekce CO_common v souboru cfg.wco není\n")},
        {{"get", "cfg.wco", "CO_colors", "nothing"}, 1, "", u8("wco: klíč nothing v sekci CO_colors není\n")},
        {{"get", "none.wco", "CO_colors", "trace_color"}, 2, "", u8("wco: soubor none.wco neexistuje\n")},
        {{"get", ".", "CO_colors", "trace_color"}, 2, "", u8("wco: . je adresář, ne soubor\n")},
    };
    for (const CASE &c : cases) {
        SCOPED_TRACE(c.arguments[3]);
        const RUN r = run(c.arguments);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(WcoTool, SetRewritesOnlyWhenSomethingChanged)
{
    TU_SCRATCH scratch;
    const std::string hand_written = "BEGIN[CO_common]\n sound_on=Ano\n";
    TU_write("cfg.wco", hand_written);
    // The same value: the file stays as it is.
    RUN r = run({"set", "cfg.wco", "CO_common", "sound_on", "Ano"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(TU_read("cfg.wco"), hand_written);
    // A new value (given in UTF-8): the file is written whole, in CP1250.
    r = run({"set", "cfg.wco", "CO_colors", "trace_color", u8("žlutá")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(TU_read("cfg.wco"), crlf("Konfiguracni soubor TOREVAN\n\n"
                                       "BEGIN[CO_colors]\n"
                                       "   trace_color                            =  žlutá\n"
                                       "END[CO_colors]\n\n"
                                       "BEGIN[CO_common]\n"
                                       "   sound_on                               =  Ano\n"
                                       "END[CO_common]\n\n"));
    EXPECT_FALSE(TU_exists("cfg.wco.$$$"));
    EXPECT_EQ(run({"get", "cfg.wco", "CO_colors", "trace_color"}).out, u8("žlutá\n"));
    // A key that cannot be written.
    const std::string before = TU_read("cfg.wco");
    r = run({"set", "cfg.wco", "CO_common", "a=b", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, u8("wco: klíč a=b nelze uložit do sekce CO_common\n"));
    EXPECT_EQ(TU_read("cfg.wco"), before);
    // A missing file is not made.
    r = run({"set", "none.wco", "S", "k", "v"});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(TU_exists("none.wco"));
}

TEST(WcoTool, CheckListsEveryProblemWithItsLine)
{
    TU_SCRATCH scratch;
    TU_write("bad.wco", "Konfiguracni soubor TOREVAN\n"   // 1
                        "orphan = 1\n"                    // 2
                        "BEGIN[CO_common]\n"              // 3
                        "   bg_dash_multiple = x\n"       // 4
                        "   browse_timeout = 5\n"         // 5
                        "   cursor_type = ARROW\n"        // 6
                        "   sound_on = Ano\n"             // 7
                        "just words\n"                    // 8
                        "   sound_on = Ne\n"              // 9
                        "END[CO_common]\n"                // 10
                        "BEGIN[Empty]\n"                  // 11
                        "END[Empty]\n"                    // 12
                        "BEGIN[CO_colors]\n"              // 13
                        "   trace_color = fuchsie\n"      // 14
                        "   select_color = BILA\n"        // 15
                        "   macro_end_character = F1\n"   // 16: not a key of this section
                        "   draw_priority = whatever\n"   // 17: read by its letters
                        "BEGIN[CO_pp]\n"                  // 18
                        "   real_default_edit_boundary = 0 0 600 400\n");   // 19
    const RUN r = run({"check", "bad.wco"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              u8("bad.wco:2: položka orphan mimo sekci, vynechává se\n"
                 "bad.wco:4: hodnotu „x“ klíče bg_dash_multiple nelze přečíst jako krátké celé číslo\n"
                 "bad.wco:5: zastaralý klíč browse_timeout v sekci CO_common se odstraňuje\n"
                 "bad.wco:6: hodnota „ARROW“ klíče cursor_type není známé jméno pro kurzor, čte se jako "
                 "„NORMAL_CURSOR“\n"
                 "bad.wco:7: klíč sound_on v sekci CO_common se opakuje na řádku 9, platí poslední hodnota\n"
                 "bad.wco:8: řádek „just words“ není značkou sekce ani položkou, vynechává se\n"
                 "bad.wco:11: sekce Empty nemá žádnou položku, vynechává se\n"
                 "bad.wco:14: hodnota „fuchsie“ klíče trace_color není známé jméno pro barvu, čte se jako „bílá“\n"
                 "bad.wco:19: hodnotu „0 0 600 400“ klíče real_default_edit_boundary nelze přečíst jako čtveřici "
                 "reálných čísel\n"));
    // The file itself is not touched.
    EXPECT_FALSE(TU_exists("bad.wco.$$$"));
}

TEST(WcoTool, CheckOfACleanFileSaysNothing)
{
    TU_SCRATCH scratch;
    ASSERT_EQ(run({"defaults", "SYSTEM.WCO"}).status, 0);
    const RUN r = run({"check", "SYSTEM.WCO"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(run({"check", "none.wco"}).status, 2);
}

TEST(WcoTool, CheckReportsCutLines)
{
    TU_SCRATCH scratch;
    TU_write("long.wco", "BEGIN[S]\n   " + std::string(41, 'k') + " = " + std::string(1010, 'v') + "\nBEGIN[]\n");
    const RUN r = run({"check", "long.wco"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, u8("long.wco:2: řádek je delší než 1051 znaků nebo obsahuje nulový znak, zbytek se ztrácí\n"
                        "long.wco:2: klíč " + std::string(41, 'k') + " je delší než 40 znaků, zkracuje se\n"
                        "long.wco:2: hodnota klíče " + std::string(41, 'k') + " je delší než 1000 znaků, zkracuje se\n"
                        "long.wco:3: značka sekce bez jména, položky za ní se vynechávají\n"));
}

TEST(WcoTool, FormatRewritesInTheNormalForm)
{
    TU_SCRATCH scratch;
    TU_write("messy.wco", "BEGIN[B]\n\tz=1\n a =  2 \nEND[B]\nnoise\nBEGIN[A]\n x = y\n");
    const RUN r = run({"format", "messy.wco"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, u8("messy.wco:5: řádek „noise“ není značkou sekce ani položkou, vynechává se\n"));
    EXPECT_EQ(TU_read("messy.wco"), crlf("Konfiguracni soubor TOREVAN\n\n"
                                         "BEGIN[A]\n"
                                         "   x                                      =  y\n"
                                         "END[A]\n\n"
                                         "BEGIN[B]\n"
                                         "   a                                      =  2\n"
                                         "   z                                      =  1\n"
                                         "END[B]\n\n"));
    EXPECT_FALSE(TU_exists("messy.wco.$$$"));
    EXPECT_EQ(run({"format", "none.wco"}).status, 2);
}

}  // namespace
