#include <gtest/gtest.h>

#include "sampling/system_stats.h"
#include "services/histogram.h"

TEST(HistogramMean, IgnoresBucketZeroAndDividesByAtLeastOne)
{
    SystemStats stats = {};
    uint32_t* h = stats.cpuUsage;
    EXPECT_EQ(HistogramMean(h, sizeof stats.cpuUsage), 0u);
    h[0] = 1000;
    EXPECT_EQ(HistogramMean(h, sizeof stats.cpuUsage), 0u);
    h[50] = 3;
    h[100] = 1;
    EXPECT_EQ(HistogramMean(h, sizeof stats.cpuUsage), 62u);  // 250 / 4, truncated
    h[100] = h[1] = 100000000;  // years of seconds at full load must not overflow
    h[50] = 0;
    EXPECT_EQ(HistogramMean(h, sizeof stats.cpuUsage), 50u);
    // A count histogram of 2004 bytes is read to its last bucket; 404 bytes stop at 100.
    stats.processes[500] = stats.processes[1] = 1;
    EXPECT_EQ(HistogramMean(stats.processes, 2004), 250u);
    EXPECT_EQ(HistogramMean(stats.processes, 404), 1u);
    // Sizes below 4 GB are loaded under Wine; beyond, a size must not be cut to 32 bits.
    EXPECT_TRUE(IsAcceptedStatsFileLength(uint64_t(17544) << 20));
    EXPECT_FALSE(IsAcceptedStatsFileLength((uint64_t(1) << 32) + 17544));
}
