// The unattended installation of INSTTRKC.EXE: its command line, the answers
// it gives the engine's questions in place of a person, and its output, one
// line per report on the console (UTF-8) and, when asked, in a log file
// (UTF-8, a time stamp per line, each line handed to the system as it is
// written, so that a killed run leaves its log).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "win/we.h"

enum : int32_t {
    INC_EXIT_DONE = 0,     // the installation is complete
    INC_EXIT_FAILED = 1,   // it failed or was stopped: the last message says why
    INC_EXIT_USAGE = 2,    // a wrong command line (the help was printed)
};

// What the command line asks for. A flag is 0 or 1; quick_launch is -1 when
// not given (then 1 when the Quick Launch folder exists).
struct INC_OPTIONS {
    std::string source;   // "" = the program's own folder
    std::string target = "C:\\TRAKPRN\\";
    std::string log;      // "" = no log file
    int16_t desktop = 1;
    int16_t quick_launch = -1;
    int16_t replace = 0;
    int16_t take_over = 1;
    int16_t overwrite = 1;
    int16_t help = 0;     // "/?" was given
};

// The help, in Czech (CP1250).
extern const char INC_HELP[];

// Reads the arguments after argument 0 into options: "/NAME=VALUE" or
// "-NAME=VALUE", the name in any case, "/?" (or "-?") for the help; a later
// option replaces an earlier one. 1; 0 with the reason (Czech, CP1250) in
// *error for an unknown option, a missing value, a flag other than 0 or 1.
int16_t INC_parse(int argc, const char *const *argv, INC_OPTIONS *options, std::string *error);

// The answer to one of the engine's questions, as the id of the button a
// person would press (IDOK 1 "&Ano", IDNO 7 "&Ne"): the previous installation,
// the configuration, the overwriting by the options; a missing file is not
// skipped; an abort request is confirmed; any other question is answered no.
int INC_answer(const INC_OPTIONS *options, const char *question);

// The console and the log file. Lines are CP1250 texts; a text of several
// lines is written as one line (its line ends become blanks).
class C_INC_OUTPUT {
public:
    C_INC_OUTPUT();
    ~C_INC_OUTPUT();
    C_INC_OUTPUT(const C_INC_OUTPUT &) = delete;
    C_INC_OUTPUT &operator=(const C_INC_OUTPUT &) = delete;
    // Opens the log, adding to what it holds. 0 when it cannot be opened.
    int16_t open_log(const char *path);
    // One line: the console, and the log with the local time before it.
    void line(const char *text);
    // Text for the console only, as it is (the help).
    void console(const char *text);

private:
    HANDLE log = INVALID_HANDLE_VALUE;
};

// 1 when standard input is a console a person can type into.
int16_t INC_input_is_console();
