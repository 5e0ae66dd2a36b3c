// trakdist: makes, lists and checks TRAKPRN distributions (see docs/trakdist.md).
//   trakdist build MANIFEST OUTDIR [--packed] [--flat] [--disk-size BYTES]
//            [--set N] [--user NAME] [--readme FILE] [--installer FILE]...
//            (each --installer onto the first disk)
//   trakdist list DIR
//   trakdist verify DIR...
//   trakdist pack IN OUT | unpack IN OUT
#pragma once
#include <cstdio>

// Runs one command; 0 on success, 1 when it failed or found problems, 2 for a
// wrong command line. Messages are Czech in UTF-8; while it runs, the reports
// of the suite's libraries are printed to the error stream too.
int TD_main(int argc, char **argv);
// Where TD_main prints (null: stdout, stderr); for tests.
void TD_set_streams(FILE *out, FILE *err);
