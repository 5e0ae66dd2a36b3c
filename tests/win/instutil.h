// Helpers of the tests of real installations: the shell folders, links and
// registry an installation touches, distributions made with trakdist, and
// the checks of what an installation leaves.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "win/guard.h"

namespace inst_check {

// ---- the shell ----
std::string folder(HKEY root, const char *name);   // a shell folder by its registry name
std::string group();                               // the Start menu's group TOREVAN
std::string desktop();
std::string quick_launch();

// What an installation leaves in the shell is gone before and after a test.
struct SHELL_CLEANUP : C_GUARD {
    SHELL_CLEANUP() { clean(); }
    ~SHELL_CLEANUP() { clean(); }
    static void clean();
};

struct LINK { std::string program, description, directory; };
bool operator==(const LINK &a, const LINK &b);
std::optional<LINK> read_link(const std::string &name);
std::string registry(const char *value);   // a value of the Uninstall key

// ---- distributions ----
std::string bytes(size_t n, unsigned seed);        // n pseudo-random bytes
std::string beside(const char *program);           // a program built beside this test program
struct FILE_ENTRY { std::string target, subdir, description, content; };
// The files of the sample distribution: the program and the uninstall
// program (the real one, or a stand-in where it never runs) in EXE, a text
// in the installation directory, data in Data.
std::vector<FILE_ENTRY> sample(size_t big = 5000, bool real_uninstaller = false);
// Builds the distribution of the files into out with trakdist (extra options
// as given); the files' sources are kept in out + "_src".
void build(const std::string &out, const std::vector<FILE_ENTRY> &files, std::vector<std::string> options = {},
           bool readme = true);

// ---- what an installation leaves ----
std::vector<std::pair<int, std::string>> uninst_records(const std::string &path);   // kind and name
std::string wco_value(const std::string &file, const char *key);                   // of section CO_common
std::string inst_lines(const std::string &target, const std::vector<FILE_ENTRY> &files);   // INST.LST
// Every file and folder below the roots, and whether the Uninstall key is there.
std::vector<std::string> snapshot(const std::vector<std::string> &roots);
// The installed tree holds the files byte for byte.
void expect_installed(const std::string &target, const std::vector<FILE_ENTRY> &files);
// The files, INST.LST, UNINST.LST, SYSTEM.WCO, the links (the desktop's and
// Quick Launch's as chosen) and the Uninstall key of a finished installation
// into target (no final backslash).
void expect_complete(const std::string &target, const std::vector<FILE_ENTRY> &files, bool desktop_link,
                     bool quick_launch_link);

// ---- links ----
// A Unix symbolic link named link (a Windows path of ASCII names; its folder exists) to
// target, made as a person with a shell would make it; Wine shows it as a
// reparse point. Whether it is there within ten seconds.
bool unix_link(const std::string &target, const std::string &link);

}  // namespace inst_check
