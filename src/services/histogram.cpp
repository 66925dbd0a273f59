#include "services/histogram.h"

uint32_t HistogramMean(const uint32_t* counts, uint32_t byteSize)
{
    // 64-bit sums: years of seconds in the top buckets overflow 32 bits.
    uint64_t weighted = 0;
    uint64_t total = 0;
    const uint32_t n = byteSize / 4;
    for (uint32_t i = 1; i < n; ++i) {
        weighted += uint64_t(i) * counts[i];
        total += counts[i];
    }
    if (total == 0) total = 1;
    return uint32_t(weighted / total);
}
