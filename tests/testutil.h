// Shared test helpers: the recording report sink and its checks, scratch directories, whole files, little-endian
// bytes and a run of the memory manager's statistics. Every test includes it: it brings GoogleTest, <string>,
// <vector> and <functional> along.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

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

// Whether the reports since the last clear are exactly one report of the kind, "Chyba v souboru <source> řádek ..."
// (source as the module names itself, e.g. "..\\common\\fe").
::testing::AssertionResult TU_one_error(const char *source, WE_KIND kind = WE_KIND_INTERNAL);

// One call of a failure table: its text, its result as a number (a pointer: whether it is set; nothing: 0) and
// the result it must give.
struct TU_CALL {
    template <class F>
    TU_CALL(const char *text_, F f, long long expected_ = 0)
        : text(text_), expected(expected_), call([f]() -> long long {
              if constexpr (std::is_void_v<decltype(f())>)
                  return f(), 0;
              else if constexpr (std::is_pointer_v<decltype(f())>)
                  return f() != nullptr;
              else
                  return static_cast<long long>(f());
          })
    {
    }
    const char *text;
    long long expected;
    std::function<long long()> call;
};
#define TU_FAILS(expression) TU_CALL(#expression, [&] { return expression; })
// Each call, run alone, gives its result (0 unless told) and exactly one report of the kind naming the source
// (a null source: no report at all).
void TU_expect_failures(const char *source, std::initializer_list<TU_CALL> calls, WE_KIND kind = WE_KIND_INTERNAL);

// Values read in order (braced lists evaluate left to right), to compare with the expected ones at once.
typedef std::vector<int64_t> TU_V;

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

// v in n bytes, little-endian; and the n bytes at at of b read back.
std::string TU_le(uint64_t v, int n);
uint32_t TU_get_le(const std::string &b, size_t at, int n);

// One record of the memory statistics file MMBIN.MM (38 bytes), decoded field by field. Records of kind 1 to 3
// (message, begin, end) are followed by a text record of 210 bytes: the clock (year u32, day, month, minute, hour,
// hundredths, second) and the text from byte 10.
struct TU_MM_RECORD {
    uint16_t kind;
    uint32_t address, size, count, sequence;
    std::string name;   // 14 bytes, zero-terminated
    uint32_t line;
    uint16_t error;
    std::string text;
    int year, month, day, hour, minute, second, hundredths;
};
// What a run in statistics mode leaves: MMBIN.MM's records, DATA.FI and what went to stdout.
struct TU_STATISTICS {
    std::vector<TU_MM_RECORD> records;
    std::string data_fi, printed;
};
// Runs body with the memory manager's statistics on (arguments "insttrkp -x $m") in a scratch directory, then
// after (if given) with the statistics ended, still in that directory.
TU_STATISTICS TU_statistics(const std::function<void()> &body, const std::function<void()> &after = nullptr);
// The low 32 bits of an address, as the records hold it.
uint32_t TU_low32(const void *p);
