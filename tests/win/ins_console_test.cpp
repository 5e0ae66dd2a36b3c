// The unattended installer's command line and the answers it gives.
#include "insttrkp/ins.h"
#include "insttrkp/ins_console.h"
#include "tests/testutil.h"

namespace {

std::string summary(const INC_OPTIONS &o)
{
    return o.source + "|" + o.target + "|" + o.log + "|" + std::to_string(o.desktop) + std::to_string(o.quick_launch) +
           std::to_string(o.replace) + std::to_string(o.take_over) + std::to_string(o.overwrite) +
           std::to_string(o.help);
}

TEST(InsConsole, CommandLinesAndAnswers)
{
    const struct {
        std::vector<const char *> arguments;
        std::string result;   // the options, or the reason
    } cases[] = {
        {{}, "|C:\\TRAKPRN\\||1-10110"},
        {{"/source=A:\\", "-Target=D:\\Programy\\TRAKPRN", "/LOG=C:\\log s mezerou.txt"},
         "A:\\|D:\\Programy\\TRAKPRN|C:\\log s mezerou.txt|1-10110"},
        {{"/DESKTOP=0", "/quicklaunch=1", "/REPLACE=1", "/TAKEOVER=0", "/OVERWRITE=0", "/DESKTOP=1"}, "|C:\\TRAKPRN\\||111000"},
        {{"/?"}, "|C:\\TRAKPRN\\||1-10111"},
        {{"-?", "/TARGET=E:\\"}, "|E:\\||1-10111"},
        {{"/TARGET"}, "Přepínač /TARGET vyžaduje hodnotu"},
        {{"/LOG="}, "Přepínač /LOG vyžaduje hodnotu"},
        {{"/DESKTOP=ano"}, "Přepínač /DESKTOP má hodnotu 0 nebo 1: ano"},
        {{"/REPLACE=10"}, "Přepínač /REPLACE má hodnotu 0 nebo 1: 10"},
        {{"/TARGETS=C:\\"}, "Neznámý přepínač: /TARGETS=C:\\"},
        {{"C:\\TRAKPRN"}, "Neznámý argument: C:\\TRAKPRN"},
        {{"/"}, "Neznámý argument: /"},
    };
    for (const auto &c : cases) {
        std::vector<const char *> argv = {"INSTTRKC.EXE"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        INC_OPTIONS options;
        std::string error;
        const int16_t parsed = INC_parse(static_cast<int>(argv.size()), argv.data(), &options, &error);
        EXPECT_EQ(parsed ? summary(options) : error, c.result);
        EXPECT_EQ(parsed, error.empty() ? 1 : 0) << c.result;
    }

    INC_OPTIONS yes, no;
    no.replace = no.take_over = no.overwrite = 0;
    yes.replace = 1;
    const struct { const char *question; int with_yes, with_no; } answers[] = {
        {INS_TEXT_PREVIOUS, IDOK, IDNO},
        {INS_TEXT_TAKE_OVER, IDOK, IDNO},
        {INS_TEXT_OVERWRITE, IDOK, IDNO},
        {INS_TEXT_ABORT, IDOK, IDOK},
        {"Soubor A:\\X.EX_ nenalezen, vynechat", IDNO, IDNO},
        {INS_TEXT_RETRY, IDNO, IDNO},
    };
    for (const auto &a : answers)
        EXPECT_EQ(std::to_string(INC_answer(&yes, a.question)) + std::to_string(INC_answer(&no, a.question)),
                  std::to_string(a.with_yes) + std::to_string(a.with_no))
            << a.question;
}

}  // namespace
