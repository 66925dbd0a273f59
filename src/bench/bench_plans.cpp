#include "bench/bench_plans.h"

namespace {

constexpr uint32_t kRandomLimit = 32767;
constexpr uint32_t kReadPasses = 300;
constexpr uint32_t kRandomReadBlocks = 150 * 50;
constexpr uint32_t kWriteBlocks = 40;
constexpr uint32_t kRandomWriteBlocks = 25;

// trunc(r * span / 32767 * 4096), exact in integers: at most span blocks in.
uint32_t ScaledOffset(uint32_t r, uint32_t span)
{
    if (r > kRandomLimit) r = kRandomLimit;
    return uint32_t(uint64_t(r) * span * kBenchBlockLength / kRandomLimit);
}

}  // namespace

DiskPlan DiskPlanOf(DiskPattern pattern)
{
    switch (pattern) {
    case DiskPattern::kSequentialRead:
        return DiskPlan{true, 204801, kBenchFileLength, kReadPasses * kBenchFileBlocks};
    case DiskPattern::kSequentialWrite:
        return DiskPlan{false, 163841, 0, kWriteBlocks};
    case DiskPattern::kRandomRead:
        return DiskPlan{true, 204801, kBenchFileLength, kRandomReadBlocks};
    case DiskPattern::kRandomWrite:
        break;
    }
    return DiskPlan{false, 102401, 0, kRandomWriteBlocks};
}

uint32_t BenchRandom::Next()
{
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFF;
}

uint32_t RandomWriteOffset(uint32_t r)
{
    return ScaledOffset(r, 24);
}

uint32_t RandomReadOffset(uint32_t r)
{
    return ScaledOffset(r, kBenchFileBlocks - 1);
}

void DiskPlanOffsets(DiskPattern pattern, BenchRandom* random, uint32_t* offsets)
{
    const uint32_t count = DiskPlanOf(pattern).blockCount;
    for (uint32_t i = 0; i < count; ++i) {
        switch (pattern) {
        case DiskPattern::kSequentialRead:
            offsets[i] = (i % kBenchFileBlocks) * kBenchBlockLength;
            break;
        case DiskPattern::kSequentialWrite:
            offsets[i] = i * kBenchBlockLength;
            break;
        case DiskPattern::kRandomRead:
            offsets[i] = RandomReadOffset(random->Next());
            break;
        case DiskPattern::kRandomWrite:
            offsets[i] = RandomWriteOffset(random->Next());
            break;
        }
    }
}
