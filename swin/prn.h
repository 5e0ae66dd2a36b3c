// Printing utilities: the questions put to the print spooler.
//
// Status flags: 1 = yes / success, 0 = no / failure.
#pragma once
#include <cstdint>

// 1 when the spooler lists at least one printer: on Windows NT the local
// printers and the connections (information level 4), on Windows 95 and 98
// the local printers (level 5). 0 when it lists none, when it cannot be
// asked or when there is no memory for its answer (no message).
int16_t PRN_printer_installed();
