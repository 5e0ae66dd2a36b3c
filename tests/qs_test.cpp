#include "common/qs.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/mm.h"
#include "tests/testutil.h"

namespace {

// Fills n values by one of several patterns that trouble quicksorts.
std::vector<int32_t> pattern(int kind, int n, std::mt19937 &rng) {
    std::vector<int32_t> v(static_cast<size_t>(n));
    for (int k = 0; k < n; k++) {
        switch (kind) {
        case 0: v[k] = static_cast<int32_t>(rng()); break;                          // random, full range
        case 1: v[k] = static_cast<int32_t>(rng() % 4) - 2; break;                  // few distinct
        case 2: v[k] = k; break;                                                     // sorted
        case 3: v[k] = n - k; break;                                                 // reversed
        case 4: v[k] = 7; break;                                                     // all equal
        case 5: v[k] = k % 17; break;                                                // sawtooth
        default: v[k] = (k < n / 2) ? k : n - k; break;                             // organ pipe: quadratic
        }
    }
    return v;
}

TEST(QsSort, SmallCases) {
    struct CASE {
        std::vector<int16_t> in, out;
    };
    const CASE cases[] = {
        {{3, -1, 2, -1}, {-1, -1, 2, 3}},
        {{5}, {5}},
        {{2, 1}, {1, 2}},
        {{1, 2}, {1, 2}},
        {{-32768, 32767, 0, -32768}, {-32768, -32768, 0, 32767}},
        {{4, 4, 4}, {4, 4, 4}},
    };
    for (const CASE &c : cases) {
        std::vector<int16_t> v = c.in;
        EXPECT_EQ(QS_sort(static_cast<int16_t>(v.size()), v.data()), 1);
        EXPECT_EQ(v, c.out);
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

TEST(QsSort, BadArguments) {
    int16_t a[2] = {2, 1};
    EXPECT_EQ(QS_sort(0, a), 0);   // nothing to sort: no report
    EXPECT_EQ(TU_reports().size(), 0u);
    EXPECT_EQ(QS_sort(-1, a), 0);
    EXPECT_EQ(QS_sort(2, static_cast<int16_t *>(nullptr)), 0);
    EXPECT_EQ(QS_sort(2, static_cast<int32_t *>(nullptr)), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 3);
    EXPECT_EQ(a[0], 2);
    EXPECT_EQ(TU_reports()[0].text.find("Chyba v souboru ..\\common\\qs"), 0u);
}

// Every pattern and many sizes, both number instances, against the standard sort.
TEST(QsSort, PatternsAgainstStandardSort) {
    std::mt19937 rng(1234);
    const int sizes[] = {2, 3, 4, 5, 7, 8, 16, 31, 97, 98, 99, 100, 257, 1000, 4099, 32767};
    for (int kind = 0; kind < 7; kind++) {
        for (int n : sizes) {
            if (kind == 6 && n > 4099) {
                continue;   // the middle pivot makes this pattern quadratic: slow, not wrong
            }
            std::vector<int32_t> v = pattern(kind, n, rng);
            std::vector<int32_t> expected = v;
            std::sort(expected.begin(), expected.end());
            ASSERT_EQ(QS_sort(static_cast<int16_t>(n), v.data()), 1);
            ASSERT_EQ(v, expected) << "pattern " << kind << " size " << n;

            std::vector<int16_t> w(v.size());
            std::vector<int16_t> expected16(v.size());
            std::vector<int32_t> src = pattern(kind, n, rng);
            for (size_t k = 0; k < src.size(); k++) {
                w[k] = static_cast<int16_t>(src[k]);
            }
            expected16 = w;
            std::sort(expected16.begin(), expected16.end());
            ASSERT_EQ(QS_sort(static_cast<int16_t>(n), w.data()), 1);
            ASSERT_EQ(w, expected16) << "pattern " << kind << " size " << n;
        }
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// An entry kind with its own comparison and exchange, as the settings store has.
struct ENTRY {
    int32_t key;
    int32_t payload;
};

TEST(QsSort, EntriesWithOwnComparisonAndExchange) {
    std::mt19937 rng(99);
    std::vector<ENTRY> v(500);
    for (size_t k = 0; k < v.size(); k++) {
        v[k] = {static_cast<int32_t>(rng() % 50), static_cast<int32_t>(k)};
    }
    int exchanges = 0;
    auto compare = [](const ENTRY &a, const ENTRY &b) { return a.key < b.key ? -1 : (a.key > b.key ? 1 : 0); };
    auto exchange = [&exchanges](ENTRY &a, ENTRY &b) {
        std::swap(a, b);
        exchanges++;
    };
    ASSERT_EQ(QS_sort(static_cast<int16_t>(v.size()), v.data(), compare, exchange), 1);
    EXPECT_GT(exchanges, 0);
    std::vector<int> seen(v.size(), 0);
    for (size_t k = 0; k < v.size(); k++) {
        if (k > 0) {
            EXPECT_LE(v[k - 1].key, v[k].key);
        }
        seen[static_cast<size_t>(v[k].payload)]++;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), static_cast<long>(v.size()));   // a permutation
}

// A comparison that is no order at all gives a useless result, but the sort
// ends, stays inside the array and only permutes it.
TEST(QsSort, InconsistentComparisonStaysInBounds) {
    std::mt19937 rng(7);
    for (int n : {2, 3, 10, 97, 500, 3000}) {
        std::vector<int32_t> v(static_cast<size_t>(n));
        for (int k = 0; k < n; k++) {
            v[static_cast<size_t>(k)] = k;
        }
        auto chaos = [&rng](const int32_t &, const int32_t &) { return static_cast<int>(rng() % 3) - 1; };
        EXPECT_EQ(QS_sort(static_cast<int16_t>(n), v.data(), chaos), 1);
        std::sort(v.begin(), v.end());
        for (int k = 0; k < n; k++) {
            ASSERT_EQ(v[static_cast<size_t>(k)], k);
        }
    }
    EXPECT_EQ(TU_reports().size(), 0u);
}

// A sort started inside a comparison must not share the running sort's stack.
TEST(QsSort, SortInsideComparison) {
    std::vector<int16_t> outer = {9, 3, 7, 1, 8, 2, 6, 4, 5, 0};
    int inner_sorts = 0;
    auto compare = [&inner_sorts](const int16_t &a, const int16_t &b) {
        int16_t inner[6] = {5, 4, 3, 2, 1, 0};
        EXPECT_EQ(QS_sort(6, inner), 1);
        EXPECT_EQ(inner[0], 0);
        EXPECT_EQ(inner[5], 5);
        inner_sorts++;
        return a < b ? -1 : (a > b ? 1 : 0);
    };
    ASSERT_EQ(QS_sort(10, outer.data(), compare), 1);
    EXPECT_EQ(outer, (std::vector<int16_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_GT(inner_sorts, 0);
}

// Allocation records of this module in the memory statistics: (kind, address).
std::vector<std::pair<int, uint32_t>> qs_records(const std::string &b) {
    std::vector<std::pair<int, uint32_t>> out;
    size_t at = 0;
    while (at + 38 <= b.size()) {
        const int kind = static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
        uint32_t address = 0;
        for (int k = 3; k >= 0; k--) {
            address = address << 8 | static_cast<unsigned char>(b[at + 2 + static_cast<size_t>(k)]);
        }
        if (std::string(b.c_str() + at + 18) == "qs") {
            out.push_back({kind, address});
        }
        at += 38;
        if (kind >= 1 && kind <= 3) {
            at += 210;   // text record after begin, end and log records
        }
    }
    return out;
}

std::vector<std::pair<int, uint32_t>> sort_with_statistics(int n) {
    std::vector<int32_t> v(static_cast<size_t>(n));
    for (int k = 0; k < n; k++) {
        v[static_cast<size_t>(k)] = (k * 7919) % n;
    }
    TU_SCRATCH dir;
    static const char *const args[] = {"insttrkp", "$m"};
    MM_begin_with(2, args);
    EXPECT_EQ(MM_statistics(), 1);
    EXPECT_EQ(QS_sort(static_cast<int16_t>(n), v.data()), 1);
    MM_end();
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
    return qs_records(TU_read(dir.file("MMBIN.MM")));
}

TEST(QsSort, LargeSortTakesAndFreesItsOwnStack) {
    const auto records = sort_with_statistics(1000);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].first, 5);   // two MM_alloc ...
    EXPECT_EQ(records[1].first, 5);
    EXPECT_EQ(records[2].first, 6);   // ... and both freed
    EXPECT_EQ(records[3].first, 6);
    EXPECT_EQ(records[0].second, records[2].second);
    EXPECT_EQ(records[1].second, records[3].second);
}

TEST(QsSort, SmallSortDoesNotAllocate) {
    EXPECT_TRUE(sort_with_statistics(97).empty());
}

TEST(QsSearch, Cases) {
    const int16_t odd[] = {1, 3, 7, 9};
    const int16_t dup[] = {2, 2, 2, 5, 5, 8};
    const int16_t one[] = {4};
    struct CASE {
        const int16_t *array;
        int16_t count, key;
        int16_t result, index;
    };
    const CASE cases[] = {
        {odd, 4, 5, 0, 1},  {odd, 4, 0, 0, -1}, {odd, 4, 10, 0, 3}, {odd, 4, 7, 1, 2},
        {odd, 4, 1, 1, 0},  {odd, 4, 9, 1, 3},  {odd, 4, 8, 0, 2},  {odd, 4, 2, 0, 0},
        {one, 1, 4, 1, 0},  {one, 1, 5, 0, 0},  {one, 1, 3, 0, -1},
        {odd, 0, 5, 0, -1}, {dup, 6, 1, 0, -1}, {dup, 6, 3, 0, 2},  {dup, 6, 9, 0, 5},
        {dup, 6, 6, 0, 4},
    };
    for (const CASE &c : cases) {
        int16_t index = 99;
        EXPECT_EQ(QS_search(c.count, c.array, c.key, &index), c.result) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
    // Equal elements: any one of them.
    int16_t index = 99;
    EXPECT_EQ(QS_search(6, dup, static_cast<int16_t>(2), &index), 1);
    EXPECT_TRUE(index >= 0 && index <= 2);
    EXPECT_EQ(QS_search(6, dup, static_cast<int16_t>(5), &index), 1);
    EXPECT_TRUE(index == 3 || index == 4);
    EXPECT_EQ(TU_reports().size(), 0u);
}

// Every key from below the smallest to above the largest in sorted arrays of
// many sizes: found where present, else the index of the last element below.
TEST(QsSearch, AgainstLinearScan) {
    std::mt19937 rng(5);
    for (int n = 1; n <= 70; n++) {
        std::vector<int32_t> v(static_cast<size_t>(n));
        for (auto &x : v) {
            x = static_cast<int32_t>(rng() % 100) * 2;
        }
        std::sort(v.begin(), v.end());
        for (int32_t key = -1; key <= 200; key++) {
            int16_t index = 99;
            const int16_t found = QS_search(static_cast<int16_t>(n), v.data(), key, &index);
            const bool present = std::binary_search(v.begin(), v.end(), key);
            ASSERT_EQ(found, present ? 1 : 0) << n << " " << key;
            if (present) {
                ASSERT_EQ(v[static_cast<size_t>(index)], key);
            } else {
                const auto below = std::lower_bound(v.begin(), v.end(), key) - v.begin() - 1;
                ASSERT_EQ(index, below) << n << " " << key;
            }
        }
    }
}

TEST(QsSearch, EntriesByKey) {
    const ENTRY entries[] = {{10, 100}, {20, 200}, {30, 300}, {40, 400}, {50, 500}};
    auto compare = [](const ENTRY &e, const int32_t &key) { return e.key < key ? -1 : (e.key > key ? 1 : 0); };
    int16_t index = 0;
    EXPECT_EQ(QS_search(5, entries, 40, &index, compare), 1);
    EXPECT_EQ(entries[index].payload, 400);
    EXPECT_EQ(QS_search(5, entries, 45, &index, compare), 0);
    EXPECT_EQ(index, 3);
}

TEST(QsSearch, BadArguments) {
    const int16_t a[] = {1, 2};
    const int16_t unsorted[] = {5, 1};
    int16_t index = 99;
    EXPECT_EQ(QS_search(-1, a, static_cast<int16_t>(1), &index), 0);
    EXPECT_EQ(index, -2);
    index = 99;
    EXPECT_EQ(QS_search(2, static_cast<const int16_t *>(nullptr), static_cast<int16_t>(1), &index), 0);
    EXPECT_EQ(index, -2);
    EXPECT_EQ(QS_search(2, a, static_cast<int16_t>(1), nullptr), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 3);
    TU_clear_reports();
    EXPECT_EQ(QS_search(2, unsorted, static_cast<int16_t>(3), &index), 0);
    EXPECT_EQ(TU_count(WE_KIND_INTERNAL), 1);
}

}  // namespace
