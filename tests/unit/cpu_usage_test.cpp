#include <gtest/gtest.h>

#include "platform/cpu_usage.h"

TEST(CpuPercentBetween, SharesWorkOfTheInterval)
{
    const ProcessorTimes before{1000, 3000, 1000}, after{1600, 4000, 2000};  // idle, kernel (idle included), user
    struct Case { const char* label; ProcessorTimes from, to; uint32_t percent; } cases[] = {
        {"2000 passed, 600 idle", before, after, 70},   {"no time passed", before, before, 0},
        {"readings went backwards", after, before, 0},  {"all idle", before, {2000, 4000, 1000}, 0},
        {"busy", before, {1000, 3500, 2500}, 100},      {"since start", {}, after, 73},
    };
    for (const Case& c : cases) EXPECT_EQ(CpuPercentBetween(c.from, c.to), c.percent) << c.label;
}
