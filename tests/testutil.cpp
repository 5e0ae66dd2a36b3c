#include "tests/testutil.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "common/mm.h"

namespace fs = std::filesystem;

namespace {

std::vector<TU_REPORT> recorded;
int next_answer = 1;

}  // namespace

int TU_record(const WE_REPORT *r)
{
    recorded.push_back({r->kind, r->title, r->text, r->style});
    return next_answer;
}

const std::vector<TU_REPORT> &TU_reports() { return recorded; }
void TU_clear_reports() { recorded.clear(); }
void TU_set_answer(int answer) { next_answer = answer; }

int TU_count(WE_KIND kind)
{
    int n = 0;
    for (const TU_REPORT &r : recorded)
        n += r.kind == kind;
    return n;
}

::testing::AssertionResult TU_one_error(const char *source, WE_KIND kind)
{
    if (recorded.size() != 1)
        return ::testing::AssertionFailure() << recorded.size() << " reports, not one";
    if (recorded[0].kind != kind)
        return ::testing::AssertionFailure() << "report of kind " << recorded[0].kind << ": " << recorded[0].text;
    if (recorded[0].text.rfind(std::string("Chyba v souboru ") + source + " řádek ", 0) != 0)
        return ::testing::AssertionFailure() << "report \"" << recorded[0].text << "\" does not name " << source;
    return ::testing::AssertionSuccess();
}

void TU_expect_failures(const char *source, std::initializer_list<TU_CALL> calls, WE_KIND kind)
{
    for (const TU_CALL &c : calls) {
        TU_clear_reports();
        EXPECT_EQ(c.call(), c.expected) << c.text;
        if (source)
            EXPECT_TRUE(TU_one_error(source, kind)) << c.text;
        else
            EXPECT_TRUE(TU_reports().empty()) << c.text << ": " << TU_reports()[0].text;
    }
    TU_clear_reports();
}

#if defined(_WIN32)
const char TU_SEP[] = "\\";
#else
const char TU_SEP[] = "/";
#endif

TU_SCRATCH::TU_SCRATCH()
{
    std::random_device rd;
    fs::path base = fs::temp_directory_path();
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string stem = info ? std::string(info->test_suite_name()) + "_" + info->name() : "trk";
    for (char &c : stem)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    fs::path dir;
    do {
        dir = base / ("trk_" + stem + "_" + std::to_string(rd() % 1000000));
    } while (fs::exists(dir));
    fs::create_directories(dir);
    dir_ = dir.string();
    old_cwd_ = fs::current_path().string();
    fs::current_path(dir);
}

TU_SCRATCH::~TU_SCRATCH()
{
    std::error_code ec;
    fs::current_path(old_cwd_, ec);
    fs::remove_all(dir_, ec);
}

std::string TU_SCRATCH::file(const std::string &name) const
{
    return dir_ + TU_SEP + name;
}

std::string TU_read(const std::string &path)
{
    std::string bytes;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    std::fclose(f);
    return bytes;
}

void TU_write(const std::string &path, const std::string &bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
}

bool TU_exists(const std::string &path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string TU_le(uint64_t v, int n)
{
    return n ? static_cast<char>(v & 0xFF) + TU_le(v >> 8, n - 1) : "";
}

uint32_t TU_get_le(const std::string &b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; i--)
        v = v << 8 | static_cast<unsigned char>(b.at(at + static_cast<size_t>(i)));
    return v;
}

uint32_t TU_low32(const void *p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

namespace {

std::vector<TU_MM_RECORD> mm_records(const std::string &b)
{
    std::vector<TU_MM_RECORD> out;
    size_t at = 0;
    while (at + 38 <= b.size()) {
        const auto get = [&](size_t i, int n) { return TU_get_le(b, at + i, n); };
        TU_MM_RECORD r{};
        r.kind = static_cast<uint16_t>(get(0, 2));
        r.address = get(2, 4), r.size = get(6, 4), r.count = get(10, 4), r.sequence = get(14, 4);
        r.name = std::string(b.c_str() + at + 18);
        r.line = get(32, 4);
        r.error = static_cast<uint16_t>(get(36, 2));
        at += 38;
        if (r.kind >= 1 && r.kind <= 3) {
            if (at + 210 > b.size())
                break;
            r.year = get(0, 4);
            r.day = get(4, 1), r.month = get(5, 1), r.minute = get(6, 1), r.hour = get(7, 1);
            r.hundredths = get(8, 1), r.second = get(9, 1);
            r.text = std::string(b.c_str() + at + 10);
            at += 210;
        }
        out.push_back(r);
    }
    EXPECT_EQ(at, b.size()) << "trailing bytes in MMBIN.MM";
    return out;
}

}  // namespace

TU_STATISTICS TU_statistics(const std::function<void()> &body, const std::function<void()> &after)
{
    static const char *const args[] = {"insttrkp", "-x", "$m"};
    TU_SCRATCH dir;
    ::testing::internal::CaptureStdout();
    MM_begin_with(3, args);
    EXPECT_EQ(MM_statistics(), 1);
    body();
    MM_end();
    EXPECT_EQ(MM_statistics(), 0);
    TU_STATISTICS run;
    run.printed = ::testing::internal::GetCapturedStdout();
    run.records = mm_records(TU_read(dir.file("MMBIN.MM")));
    run.data_fi = TU_read(dir.file("DATA.FI"));
    if (after)
        after();
    return run;
}
