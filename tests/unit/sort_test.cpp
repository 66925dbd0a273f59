#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <random>
#include <vector>

#include "services/sort.h"

namespace {
// The data the callbacks sort and the range they may touch: a comparison or exchange
// outside lo..hi is a fault of its own. less compares value / keyDivisor, so equal keys
// can carry tags the sort cannot see.
std::vector<int> data;
int32_t rangeLo, rangeHi;
long calls;
int keyDivisor = 1;

bool InRange(int32_t i, int32_t j)
{
    ++calls;
    const bool in = i >= rangeLo && i <= rangeHi && j >= rangeLo && j <= rangeHi;
    EXPECT_TRUE(in) << i << ", " << j;
    return in;
}

int Less(int32_t i, int32_t j)
{
    return InRange(i, j) && data[size_t(i)] / keyDivisor < data[size_t(j)] / keyDivisor;
}

void Swap(int32_t i, int32_t j)
{
    if (InRange(i, j)) std::swap(data[size_t(i)], data[size_t(j)]);
}

void Sort(int32_t lo, int32_t hi)
{
    rangeLo = lo;
    rangeHi = hi;
    calls = 0;
    SortByIndex(lo, hi, Less, Swap);
}
}  // namespace

TEST(SortByIndex, TouchesNothingOutsideItsRange)
{
    data = {7};
    Sort(0, -1);
    Sort(0, 0);
    EXPECT_EQ(calls, 0);
    data = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    Sort(3, 7);
    EXPECT_EQ(data, (std::vector<int>{9, 8, 7, 2, 3, 4, 5, 6, 1, 0}));
}

TEST(SortByIndex, MatchesStdSortOnRandomData)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 400; ++round) {
        const int n = int(random() % 120);
        // Small value ranges make many duplicates; large ones make few.
        const unsigned spread = round % 2 ? 4 : 100000;
        data.resize(size_t(n));
        for (int& v : data) v = int(random() % spread);
        std::vector<int> expected = data;
        std::sort(expected.begin(), expected.end());
        SCOPED_TRACE("round " + std::to_string(round));
        Sort(0, n - 1);
        ASSERT_EQ(data, expected);
    }
}

TEST(SortByIndex, EqualElementsStayAPermutation)
{
    keyDivisor = 1000;  // every value 5000..5000+n-1 has key 5
    for (int n : {2, 3, 50, 257}) {
        SCOPED_TRACE(n);
        std::vector<int> expected;
        for (int i = 0; i < n; ++i) expected.push_back(5000 + i);
        data = expected;
        std::shuffle(data.begin(), data.end(), std::mt19937(unsigned(n)));
        Sort(0, n - 1);
        std::sort(data.begin(), data.end());
        EXPECT_EQ(data, expected);
    }
    keyDivisor = 1;
}

// Ordered input splits off one element per partition; that must not cost a stack frame
// per element.
static void* SortOrderedInputs(void*)
{
    const int n = 3000;
    data.resize(n);
    for (int i = 0; i < n; ++i) data[size_t(i)] = i;
    Sort(0, n - 1);
    for (int i = 0; i < n; ++i) data[size_t(i)] = n - i;
    Sort(0, n - 1);
    return nullptr;
}

TEST(SortByIndex, OrderedInputFitsASmallStack)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, SortOrderedInputs, nullptr), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(std::is_sorted(data.begin(), data.end()));
    EXPECT_EQ(data.size(), 3000u);
}
