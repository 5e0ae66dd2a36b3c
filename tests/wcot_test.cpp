#include "tools/wco/wcot.h"

#include <cstdio>

#include "common/co.h"
#include "common/u8.h"
#include "tests/wcotest.h"

namespace {

// The exit status, out and err (UTF-8, as the terminal gets them) of the tool run in the current directory.
struct RUN { int status; std::string out, err; };

RUN run(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "wco");
    std::vector<char *> argv;
    for (std::string &a : arguments)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    FILE *out = std::fopen("tool_out.txt", "w+b"), *err = std::fopen("tool_err.txt", "w+b");
    EXPECT_TRUE(out && err);
    const int status = WCOT_run(static_cast<int>(arguments.size()), argv.data(), out, err);
    std::fclose(out);
    std::fclose(err);
    return {status, TU_read("tool_out.txt"), TU_read("tool_err.txt")};
}

// A CP1250 text of this source as the tool prints it.
std::string u8(const std::string &text)
{
    return U8_from_cp1250(text.c_str());
}

// Every command of the wco tool: its output, messages, exit status and the file afterwards; wrong command lines.
TEST(WcoTool, Commands)
{
    TU_SCRATCH scratch;
    for (const std::vector<std::string> &wrong : std::vector<std::vector<std::string>>{
             {}, {"get"}, {"frobnicate", "x.wco"}, {"get", "x.wco", "S"}, {"set", "x.wco", "S", "k"}, {"check"},
             {"format", "x.wco", "extra"}}) {
        const RUN r = run(wrong);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(u8("Použití:\n  wco defaults SOUBOR"), 0), 0u) << r.err;
    }
    WCO_file *store = WT_empty_system_store();
    CO_CONFIG record;
    ASSERT_EQ(CO_load_or_default(&record), 1);
    ASSERT_EQ(WCO_save_forced(store, "library.wco"), 1);
    const std::string defaults = TU_read("library.wco"), k41(41, 'k');
    const std::string get = "BEGIN[CO_colors]\n   trace_color = světle šedá\n   empty =\n",
                      set = "BEGIN[CO_common]\n sound_on=Ano\n", none = "wco: soubor none.wco neexistuje\n";
    // cfg.wco before the run, the run, out and err (CP1250), cfg.wco after it (empty: as before).
    struct CASE { std::string before; std::vector<std::string> arguments; int status; std::string out, err, after; };
    const CASE cases[] = {
        {get, {"get", "cfg.wco", "CO_colors", "trace_color"}, 0, "světle šedá\n", "", ""},
        {get, {"get", "cfg.wco", "CO_colors", "empty"}, 0, "\n", "", ""},
        {get, {"get", "cfg.wco", "CO_common", "x"}, 1, "", "wco: sekce CO_common v souboru cfg.wco není\n", ""},
        {get, {"get", "cfg.wco", "CO_colors", "nothing"}, 1, "", "wco: klíč nothing v sekci CO_colors není\n", ""},
        {get, {"get", "none.wco", "CO_colors", "trace_color"}, 2, "", none, ""},
        {get, {"get", ".", "CO_colors", "trace_color"}, 2, "", "wco: . je adresář, ne soubor\n", ""},
        {"old contents", {"defaults", "cfg.wco"}, 0, "", "", defaults},
        {defaults, {"defaults", "cfg.wco"}, 0, "", "", defaults},
        {defaults, {"check", "cfg.wco"}, 0, "", "", ""},
        // Setting the value a file has leaves it as it is; a new value (given in UTF-8) rewrites it in CP1250.
        {set, {"set", "cfg.wco", "CO_common", "sound_on", "Ano"}, 0, "", "", ""},
        {set, {"set", "cfg.wco", "CO_colors", "trace_color", u8("žlutá")}, 0, "", "",
         WT_crlf("Konfiguracni soubor TOREVAN\n\nBEGIN[CO_colors]\n   trace_color                            =  žlutá\n"
                 "END[CO_colors]\n\nBEGIN[CO_common]\n   sound_on                               =  Ano\n"
                 "END[CO_common]\n\n")},
        {set, {"set", "cfg.wco", "CO_common", "a=b", "1"}, 2, "", "wco: klíč a=b nelze uložit do sekce CO_common\n",
         ""},
        {"", {"set", "none.wco", "S", "k", "v"}, 2, "", none, ""},
        {"Konfiguracni soubor TOREVAN\norphan = 1\nBEGIN[CO_common]\n   bg_dash_multiple = x\n   browse_timeout = 5\n"
         "   cursor_type = ARROW\n   sound_on = Ano\njust words\n   sound_on = Ne\nEND[CO_common]\nBEGIN[Empty]\n"
         "END[Empty]\nBEGIN[CO_colors]\n   trace_color = fuchsie\n   select_color = BILA\n"
         "   macro_end_character = F1\n   draw_priority = whatever\n"   // not a key of CO_colors; read by letters
         "BEGIN[CO_pp]\n   real_default_edit_boundary = 0 0 600 400\n", {"check", "cfg.wco"}, 1,
         "cfg.wco:2: položka orphan mimo sekci, vynechává se\n"
         "cfg.wco:4: hodnotu „x“ klíče bg_dash_multiple nelze přečíst jako krátké celé číslo\n"
         "cfg.wco:5: zastaralý klíč browse_timeout v sekci CO_common se odstraňuje\n"
         "cfg.wco:6: hodnota „ARROW“ klíče cursor_type není známé jméno pro kurzor, čte se jako „NORMAL_CURSOR“\n"
         "cfg.wco:7: klíč sound_on v sekci CO_common se opakuje na řádku 9, platí poslední hodnota\n"
         "cfg.wco:8: řádek „just words“ není značkou sekce ani položkou, vynechává se\n"
         "cfg.wco:11: sekce Empty nemá žádnou položku, vynechává se\n"
         "cfg.wco:14: hodnota „fuchsie“ klíče trace_color není známé jméno pro barvu, čte se jako „bílá“\n"
         "cfg.wco:19: hodnotu „0 0 600 400“ klíče real_default_edit_boundary nelze přečíst jako čtveřici "
         "reálných čísel\n", "", ""},
        {"BEGIN[S]\n   " + k41 + " = " + std::string(1010, 'v') + "\nBEGIN[]\n", {"check", "cfg.wco"}, 1,
         "cfg.wco:2: řádek je delší než 1051 znaků nebo obsahuje nulový znak, zbytek se ztrácí\n"
         "cfg.wco:2: klíč " + k41 + " je delší než 40 znaků, zkracuje se\n"
         "cfg.wco:2: hodnota klíče " + k41 + " je delší než 1000 znaků, zkracuje se\n"
         "cfg.wco:3: značka sekce bez jména, položky za ní se vynechávají\n", "", ""},
        {"", {"check", "none.wco"}, 2, "", none, ""},
        {"BEGIN[B]\n\tz=1\n a =  2 \nEND[B]\nnoise\nBEGIN[A]\n x = y\n", {"format", "cfg.wco"}, 0, "",
         "cfg.wco:5: řádek „noise“ není značkou sekce ani položkou, vynechává se\n",
         WT_crlf("Konfiguracni soubor TOREVAN\n\nBEGIN[A]\n   x                                      =  y\n"
                 "END[A]\n\nBEGIN[B]\n   a                                      =  2\n"
                 "   z                                      =  1\nEND[B]\n\n")},
        {"", {"format", "none.wco"}, 2, "", none, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + c.arguments[1]);
        TU_write("cfg.wco", c.before);
        const RUN r = run(c.arguments);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, u8(c.out));
        EXPECT_EQ(r.err, u8(c.err));
        EXPECT_EQ(TU_read("cfg.wco"), c.after.empty() ? c.before : c.after);
        EXPECT_FALSE(TU_exists("cfg.wco.$$$"));
        EXPECT_FALSE(TU_exists("none.wco"));
    }
}

}  // namespace
