#include "insttrkp/ins_console.h"

#include <cstdio>
#include <cstring>

#include "common/u8.h"
#include "insttrkp/ins.h"

static const char SRC[] = "..\\insttrkp\\ins_console";

const char INC_HELP[] =
    "INSTTRKC - instalace konverzního programu TRAKPRN bez obsluhy\r\n"
    "\r\n"
    "INSTTRKC [/SOURCE=ADRESÁŘ] [/TARGET=ADRESÁŘ] [/DESKTOP=0|1] [/QUICKLAUNCH=0|1]\r\n"
    "         [/REPLACE=0|1] [/TAKEOVER=0|1] [/OVERWRITE=0|1] [/LOG=SOUBOR]\r\n"
    "\r\n"
    "  /SOURCE=ADRESÁŘ   odkud se instaluje (výchozí: adresář tohoto programu)\r\n"
    "  /TARGET=ADRESÁŘ   kam se instaluje (výchozí: C:\\TRAKPRN\\)\r\n"
    "  /DESKTOP=0|1      ikona aplikace na pracovní ploše (výchozí 1)\r\n"
    "  /QUICKLAUNCH=0|1  ikona aplikace v systémové liště (výchozí 1, je-li lišta)\r\n"
    "  /REPLACE=0|1      předchozí instalaci na cílové cestě odinstalovat jejím\r\n"
    "                    odinstalačním programem (1), nebo skončit (0, výchozí)\r\n"
    "  /TAKEOVER=0|1     převzít systémovou konfiguraci předchozí instalace\r\n"
    "                    (výchozí 1)\r\n"
    "  /OVERWRITE=0|1    přepsat existující soubory (výchozí 1)\r\n"
    "  /LOG=SOUBOR       protokol instalace (UTF-8, čas u každého řádku)\r\n"
    "  /?                tato nápověda\r\n"
    "\r\n"
    "Další disk se hledá ve vedlejším adresáři DISKn zdrojového adresáře; není-li,\r\n"
    "čeká se na Enter (jen při vstupu z konzole), jinak instalace skončí.\r\n"
    "Ctrl+C nebo Ctrl+Break instalaci přeruší.\r\n"
    "Chybějící soubor distribuce se nevynechává: instalace skončí.\r\n"
    "\r\n"
    "Návratový kód: 0 instalace je úplná; 1 nezdařila se nebo byla přerušena\r\n"
    "(příčinu uvádí poslední zpráva); 2 chybný příkazový řádek.\r\n";

namespace {

struct OPTION {
    const char *name;
    std::string INC_OPTIONS::*text;   // a path, or
    int16_t INC_OPTIONS::*flag;       // a flag 0 or 1
};
const OPTION OPTIONS[] = {
    {"SOURCE", &INC_OPTIONS::source, nullptr},
    {"TARGET", &INC_OPTIONS::target, nullptr},
    {"LOG", &INC_OPTIONS::log, nullptr},
    {"DESKTOP", nullptr, &INC_OPTIONS::desktop},
    {"QUICKLAUNCH", nullptr, &INC_OPTIONS::quick_launch},
    {"REPLACE", nullptr, &INC_OPTIONS::replace},
    {"TAKEOVER", nullptr, &INC_OPTIONS::take_over},
    {"OVERWRITE", nullptr, &INC_OPTIONS::overwrite},
};

bool same_name(const std::string &given, const char *name)
{
    if (given.size() != std::strlen(name))
        return false;
    for (size_t i = 0; i < given.size(); i++) {
        const char c = given[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != name[i])
            return false;
    }
    return true;
}

// One argument into the options; "" when taken, else why not.
std::string take(const char *argument, INC_OPTIONS *options)
{
    const std::string text = argument ? argument : "";
    if (text.size() < 2 || (text[0] != '/' && text[0] != '-'))
        return "Neznámý argument: " + text;
    if (text.size() == 2 && text[1] == '?') {
        options->help = 1;
        return "";
    }
    const size_t equals = text.find('=');
    const std::string name = text.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
    for (const OPTION &o : OPTIONS) {
        if (!same_name(name, o.name))
            continue;
        if (equals == std::string::npos || equals + 1 == text.size())
            return "Přepínač " + text.substr(0, equals) + " vyžaduje hodnotu";
        const std::string value = text.substr(equals + 1);
        if (o.text) {
            options->*o.text = value;
        } else {
            if (value != "0" && value != "1")
                return "Přepínač " + text.substr(0, equals) + " má hodnotu 0 nebo 1: " + value;
            options->*o.flag = static_cast<int16_t>(value[0] - '0');
        }
        return "";
    }
    return "Neznámý přepínač: " + text;
}

// The bytes as they go to a file or pipe (UTF-8), or to a console (UTF-16).
void write_console(const std::string &text)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        const int n = MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L' ');
        if (n > 0 && MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), &wide[0], n) == n)
            WriteConsoleW(out, wide.data(), static_cast<DWORD>(n), &written, nullptr);
        return;
    }
    const std::string utf8 = U8_from_cp1250(text.c_str());
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int16_t INC_parse(int argc, const char *const *argv, INC_OPTIONS *options, std::string *error)
{
    if (argc < 1 || !argv || !options || !error) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    for (int i = 1; i < argc; i++) {
        *error = take(argv[i], options);
        if (!error->empty())
            return 0;
    }
    return 1;
}

int INC_answer(const INC_OPTIONS *options, const char *question)
{
    if (!options || !question)
        return IDNO;
    const struct {
        const char *text;
        int16_t yes;
    } answers[] = {
        {INS_TEXT_PREVIOUS, options->replace},
        {INS_TEXT_TAKE_OVER, options->take_over},
        {INS_TEXT_OVERWRITE, options->overwrite},
        {INS_TEXT_ABORT, 1},   // asked only when Ctrl+C asked for it
    };
    for (const auto &a : answers)
        if (std::strcmp(question, a.text) == 0)
            return a.yes ? IDOK : IDNO;
    return IDNO;   // a missing file is not skipped; a disk not found is not tried again
}

C_INC_OUTPUT::C_INC_OUTPUT() = default;

C_INC_OUTPUT::~C_INC_OUTPUT()
{
    if (log != INVALID_HANDLE_VALUE)
        CloseHandle(log);
}

int16_t C_INC_OUTPUT::open_log(const char *path)
{
    if (log != INVALID_HANDLE_VALUE)
        CloseHandle(log);
    log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return log != INVALID_HANDLE_VALUE ? 1 : 0;
}

void C_INC_OUTPUT::line(const char *text)
{
    std::string one = text ? text : "";
    for (char &c : one)
        if (c == '\r' || c == '\n')
            c = ' ';
    write_console(one + "\r\n");
    if (log == INVALID_HANDLE_VALUE)
        return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    // One write per line: a run killed after it leaves the line whole.
    const std::string bytes = stamp + U8_from_cp1250(one.c_str()) + "\r\n";
    DWORD written = 0;
    WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void C_INC_OUTPUT::console(const char *text) { write_console(text ? text : ""); }

int16_t INC_input_is_console()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) ? 1 : 0;
}
