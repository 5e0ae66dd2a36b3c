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
// A new (or emptied) file opened for binary writing, whose name SYS_frename
// can change while it is open (meanwhile nobody else can open it: meant for
// a file under a temporary name); null on failure.
FILE *SYS_fopen_new(const char *name);
// Gives the file of a stream of SYS_fopen_new, opened as old_name, the name
// new_name; 1 when it has it. 0 when it cannot be renamed so (new_name is
// taken, the system refuses): then it keeps its name. The stream stays open.
// On a host without drives a file of new_name is replaced, as by rename.
int SYS_frename(FILE *stream, const char *old_name, const char *new_name);
// The program's arguments as the runtime split them (argument 0 is the
// program's own path); available during static construction too.
std::vector<std::string> SYS_arguments();
// The full path of the program's own file, whatever argument 0 says (it is
// the text as typed: a bare name when started from its own folder); "" when
// the system cannot tell.
std::string SYS_program_path();
