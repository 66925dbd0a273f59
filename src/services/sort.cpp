#include "services/sort.h"

// Hoare partition around the element that stands at index lo at the time of each
// comparison: no copy of the pivot is taken, the data is reached only through less and
// swap. Returns p with lo <= p < hi such that lo..p sorts no later than p+1..hi.
static int32_t Partition(int32_t lo, int32_t hi, SortLessFn less, SortSwapFn swap)
{
    int32_t i = lo - 1;
    int32_t j = hi + 1;
    for (;;) {
        do {
            --j;
        } while (less(lo, j));
        do {
            ++i;
        } while (less(i, lo));
        if (j <= i) return j;
        swap(i, j);
    }
}

void SortByIndex(int32_t lo, int32_t hi, SortLessFn less, SortSwapFn swap)
{
    // The smaller part is sorted by recursion and the larger by the loop, so the stack
    // stays shallow even for data that is already in order.
    while (lo < hi) {
        const int32_t p = Partition(lo, hi, less, swap);
        if (p - lo < hi - p) {
            SortByIndex(lo, p, less, swap);
            lo = p + 1;
        } else {
            SortByIndex(p + 1, hi, less, swap);
            hi = p;
        }
    }
}
