#include "common/qs.h"

#include <algorithm>
#include <numeric>
#include <random>

#include "tests/testutil.h"

namespace {

// An element kind with its own comparisons, as the settings store has.
struct ENTRY { int32_t key, payload; };
int by_key(const ENTRY &a, const ENTRY &b) { return QS_compare_numbers(a.key, b.key); }
int entry_to_key(const ENTRY &e, const int32_t &key) { return QS_compare_numbers(e.key, key); }

// The memory manager's records of this module while a sort of n elements runs: (kind, address).
std::vector<std::pair<int, uint32_t>> sort_allocations(int n)
{
    std::vector<int32_t> v(static_cast<size_t>(n));   // the stack is taken before anything is compared
    std::vector<std::pair<int, uint32_t>> out;
    const TU_STATISTICS run = TU_statistics([&] { EXPECT_EQ(QS_sort(static_cast<int16_t>(n), v.data()), 1); });
    for (const TU_MM_RECORD &r : run.records)
        if (r.name == "qs")
            out.push_back({r.kind, r.address});
    return out;
}

}  // namespace

// Patterns that trouble quicksorts at many sizes, both number instances, against the standard sort.
TEST(QsSort, Sorts)
{
    std::mt19937 rng(1234);
    const auto check = [](auto v, const std::string &what) {
        auto expected = v;
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(QS_sort(static_cast<int16_t>(v.size()), v.data()), 1) << what;
        ASSERT_EQ(v, expected) << what;
    };
    for (int kind = 0; kind < 7; kind++)
        for (int n : {1, 2, 3, 4, 5, 7, 8, 16, 31, 97, 98, 99, 100, 257, 1000, 4099, 32767}) {
            if (kind == 6 && n > 4099)
                continue;   // the middle pivot makes the organ pipe quadratic: slow, not wrong
            std::vector<int32_t> v(static_cast<size_t>(n));
            for (int k = 0; k < n; k++) {   // random, few distinct, sorted, reversed, equal, sawtooth, organ pipe
                const int32_t values[] = {static_cast<int32_t>(rng()), static_cast<int32_t>(rng() % 4) - 2, k, n - k, 7,
                                          k % 17, k < n / 2 ? k : n - k};
                v[static_cast<size_t>(k)] = values[kind];
            }
            check(v, "pattern " + std::to_string(kind) + " size " + std::to_string(n));
            check(std::vector<int16_t>(v.begin(), v.end()), "16 bits, pattern " + std::to_string(kind));
        }

    // Own comparison and exchange; a comparison that is no order (the sort ends, stays inside the array
    // and only permutes it); a sort inside a comparison, which must not share the running sort's stack.
    std::vector<ENTRY> entries(500);
    for (int32_t k = 0; k < 500; k++)
        entries[static_cast<size_t>(k)] = {static_cast<int32_t>(rng() % 50), k};
    int exchanges = 0;
    ASSERT_EQ(QS_sort(500, entries.data(), by_key, [&](ENTRY &a, ENTRY &b) { std::swap(a, b); ++exchanges; }), 1);
    EXPECT_GT(exchanges, 0);
    std::vector<int32_t> payloads(500);
    for (size_t k = 0; k < entries.size(); k++) {
        EXPECT_TRUE(k == 0 || entries[k - 1].key <= entries[k].key) << k;
        payloads[static_cast<size_t>(entries[k].payload)]++;   // each once: only a permutation
    }
    EXPECT_EQ(std::count(payloads.begin(), payloads.end(), 1), 500);
    std::iota(payloads.begin(), payloads.end(), 0);
    for (int n : {2, 3, 10, 97, 500}) {
        std::vector<int32_t> v(payloads.begin(), payloads.begin() + n);
        EXPECT_EQ(QS_sort(static_cast<int16_t>(n), v.data(), [&](const int32_t &, const int32_t &) {
            return static_cast<int>(rng() % 3) - 1;
        }), 1);
        EXPECT_TRUE(std::is_permutation(v.begin(), v.end(), payloads.begin())) << n;
    }
    std::vector<int16_t> outer = {9, 3, 7, 1, 8, 2, 6, 4, 5, 0};
    ASSERT_EQ(QS_sort(10, outer.data(), [](const int16_t &a, const int16_t &b) {
        std::vector<int16_t> inner = {5, 4, 3, 2, 1, 0};
        EXPECT_EQ(QS_sort(6, inner.data()), 1);
        EXPECT_EQ(inner, (std::vector<int16_t>{0, 1, 2, 3, 4, 5}));
        return QS_compare_numbers(a, b);
    }), 1);
    EXPECT_EQ(outer, (std::vector<int16_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(TU_reports().size(), 0u);

    // Below 98 elements the static stack serves; from 98 on a sort takes two arrays and frees both.
    EXPECT_TRUE(sort_allocations(97).empty());
    const auto r = sort_allocations(98);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ((TU_V{r[0].first, r[1].first, r[2].first, r[3].first, r[2].second, r[3].second}),
              (TU_V{5, 5, 6, 6, r[0].second, r[1].second}));   // two MM_alloc, both freed
}

// Every key from below the smallest to above the largest in sorted arrays of many sizes with repeated
// values, through both number instances and a key of another type than the elements: found where present
// (any of equal elements), else the index of the last element below.
TEST(QsSearch, AgainstLinearScan)
{
    std::mt19937 rng(5);
    for (int16_t n = 1; n <= 70; n++) {
        std::vector<int32_t> v(static_cast<size_t>(n));
        for (auto &x : v)
            x = static_cast<int32_t>(rng() % 100) * 2;
        std::sort(v.begin(), v.end());
        const std::vector<int16_t> v16(v.begin(), v.end());
        std::vector<ENTRY> entries;
        for (int32_t x : v)
            entries.push_back({x, 0});
        for (int32_t key = -1; key <= 200; key++) {
            const int16_t present = std::binary_search(v.begin(), v.end(), key) ? 1 : 0;
            int16_t index = 99, index16 = 99, index_entry = 99;
            ASSERT_EQ(QS_search(n, v.data(), key, &index), present) << n << " " << key;
            ASSERT_EQ(QS_search(n, v16.data(), static_cast<int16_t>(key), &index16), present);
            ASSERT_EQ(QS_search(n, entries.data(), key, &index_entry, entry_to_key), present);
            if (present)
                ASSERT_EQ(v[static_cast<size_t>(index)], key);
            else
                ASSERT_EQ(index, std::lower_bound(v.begin(), v.end(), key) - v.begin() - 1) << n << " " << key;
            ASSERT_EQ(index16, index);
            ASSERT_EQ(index_entry, index);
        }
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Count 0 sorts and finds nothing, silently; other bad arguments fail with an internal error (search: index -2).
TEST(Qs, BadArguments)
{
    int16_t a[2] = {2, 1}, index = 99;
    const int16_t unsorted[] = {5, 1}, key = 3;
    EXPECT_EQ((TU_V{QS_sort(0, a), QS_search(0, a, key, &index), index}), (TU_V{0, 0, -1}));
    EXPECT_EQ(TU_reports().size(), 0u);
    // A search gives 100 x its result + the index it leaves (99 when it has none to set).
    const auto search = [&](int16_t n, const int16_t *v, int16_t *out) {
        index = 99;
        return QS_search(n, v, key, out) * 100 + index;
    };
    TU_expect_failures("..\\common\\qs", {
        TU_FAILS(QS_sort(-1, a)), TU_FAILS(QS_sort(2, static_cast<int32_t *>(nullptr))),
        TU_CALL("count -1", [&] { return search(-1, a, &index); }, -2),
        TU_CALL("no index", [&] { return search(2, a, nullptr); }, 99),
        TU_CALL("no array", [&] { return search(2, nullptr, &index); }, -2),
        TU_CALL("found out of order", [&] { return search(2, unsorted, &index); }, -2),
    });
    EXPECT_EQ(a[0], 2);
}
