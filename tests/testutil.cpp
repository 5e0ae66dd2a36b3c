#include "tests/testutil.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

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
