// The few system calls the portable layers need, with the suite's paths.
// Paths inside the suite use "\" as separator; on a host without drives
// (the native build) "\" is turned into "/" here, at the system boundary.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

std::string SYS_host_path(const char *name);
// fopen of a suite path; null on failure.
FILE *SYS_fopen(const char *name, const char *mode);
// The program's arguments as the runtime split them (argument 0 is the
// program's own path); available during static construction too.
std::vector<std::string> SYS_arguments();
// The full path of the program's own file, whatever argument 0 says (it is
// the text as typed: a bare name when started from its own folder); "" when
// the system cannot tell.
std::string SYS_program_path();
