#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <random>
#include <vector>

#include "services/sort.h"

namespace {
// The data the callbacks sort and the range they may touch: a comparison or exchange
// outside it is a fault of its own. The key is value / 1000, so equal keys carry tags the
// sort cannot see.
std::vector<int> data;
int32_t rangeLo, rangeHi;
long calls;

bool InRange(int32_t i, int32_t j)
{
    ++calls;
    const bool in = i >= rangeLo && i <= rangeHi && j >= rangeLo && j <= rangeHi;
    EXPECT_TRUE(in) << i << ", " << j;
    return in;
}
int Less(int32_t i, int32_t j) { return InRange(i, j) && data[size_t(i)] / 1000 < data[size_t(j)] / 1000; }
void Swap(int32_t i, int32_t j) { if (InRange(i, j)) std::swap(data[size_t(i)], data[size_t(j)]); }

// Sorts data[lo..hi] and checks it against a reference sort: the keys in order, and the
// same values (ties in any order).
void SortAndCheck(int32_t lo, int32_t hi)
{
    std::vector<int> expected = data;
    std::stable_sort(expected.begin() + lo, expected.begin() + (hi + 1), [](int a, int b) { return a / 1000 < b / 1000; });
    rangeLo = lo;
    rangeHi = hi;
    calls = 0;
    SortByIndex(lo, hi, Less, Swap);
    for (size_t i = 0; i < data.size(); ++i) ASSERT_EQ(data[i] / 1000, expected[i] / 1000) << "at " << i;
    ASSERT_TRUE(std::is_permutation(data.begin(), data.end(), expected.begin()));
}
}  // namespace

TEST(SortByIndex, MatchesAReferenceSortAndTouchesNothingOutsideItsRange)
{
    data = {7000};
    SortAndCheck(0, -1);
    SortAndCheck(0, 0);
    EXPECT_EQ(calls, 0);
    data = {9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 0};
    SortAndCheck(3, 7);
    EXPECT_EQ(data, (std::vector<int>{9000, 8000, 7000, 2000, 3000, 4000, 5000, 6000, 1000, 0}));
    std::mt19937 random(12345);
    for (int round = 0; round < 404; ++round) {
        SCOPED_TRACE(round);
        // First all keys equal; then small key ranges make many duplicates, large ones few.
        const int n = round < 4 ? std::vector<int>{2, 3, 50, 257}[size_t(round)] : int(random() % 120);
        data.resize(size_t(n));
        for (int i = 0; i < n; ++i) data[size_t(i)] = round < 4 ? 5000 + i : int(random() % (round % 2 ? 4000 : 100000000));
        std::shuffle(data.begin(), data.end(), random);
        SortAndCheck(0, n - 1);
    }
}

// Ordered input splits off one element per partition; that must not cost a stack frame
// per element.
TEST(SortByIndex, OrderedInputFitsASmallStack)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    auto sortOrdered = [](void*) -> void* {
        for (int direction : {1, -1}) {
            data.clear();
            for (int i = 0; i < 3000; ++i) data.push_back(1000 * i * direction);
            rangeLo = 0;
            rangeHi = 2999;
            SortByIndex(0, 2999, Less, Swap);
        }
        return nullptr;
    };
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, sortOrdered, nullptr), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(std::is_sorted(data.begin(), data.end()));
    EXPECT_EQ(data.size(), 3000u);
}
