// Shared test helpers: the recording report sink and scratch directories.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "win/we.h"

struct TU_REPORT {
    WE_KIND kind;
    std::string title;   // CP1250, as shown
    std::string text;    // CP1250, as shown
    uint32_t style;
};

// Every report since the last clear; the sink is installed before any test runs.
const std::vector<TU_REPORT> &TU_reports();
void TU_clear_reports();
// Number of reports of one kind since the last clear.
int TU_count(WE_KIND kind);
// The answer the sink gives to the next boxes (IDOK = 1 by default).
void TU_set_answer(int answer);

// A fresh empty directory that is the current directory while the object
// lives; removed with its contents afterwards. path() ends without separator.
class TU_SCRATCH {
public:
    TU_SCRATCH();
    ~TU_SCRATCH();
    TU_SCRATCH(const TU_SCRATCH &) = delete;
    TU_SCRATCH &operator=(const TU_SCRATCH &) = delete;
    const std::string &path() const { return dir_; }
    // dir + separator + name, in the host's form.
    std::string file(const std::string &name) const;

private:
    std::string dir_;
    std::string old_cwd_;
};

// Whole-file helpers in binary mode; read gives "" for a missing file.
std::string TU_read(const std::string &path);
void TU_write(const std::string &path, const std::string &bytes);
bool TU_exists(const std::string &path);
// Host separator: "\\" on Windows, "/" elsewhere.
extern const char TU_SEP[];
