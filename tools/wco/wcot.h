// The wco tool: looks after the suite's WCO configuration files.
//   wco defaults FILE                 the complete default system configuration
//   wco get FILE SECTION KEY          prints the stored value
//   wco set FILE SECTION KEY VALUE    sets one value (rewrites only on a change)
//   wco check FILE                    lists dropped or cut lines and bad CO_ values
//   wco format FILE                   rewrites the file in the store's normal form
// Messages are Czech, written as UTF-8. A file is replaced through a
// temporary file beside it, never left half-written.
#pragma once
#include <cstdio>

// Exit statuses.
enum {
    WCOT_OK = 0,
    WCOT_FOUND_NOTHING = 1,   // get: no such section or key; check: something to report
    WCOT_FAILED = 2,          // usage, a missing or unreadable file, a failed write
};

// The tool with its arguments (argv[0] is the program); output and messages
// go to out and err. The exit status.
int WCOT_run(int argc, char **argv, FILE *out, FILE *err);
// WCOT_run on stdout and stderr.
int WCOT_main(int argc, char **argv);
