#include <gtest/gtest.h>

#include <cstring>

#include "sampling/system_stats.h"
#include "services/histogram.h"

TEST(HistogramMean, IgnoresBucketZeroAndDividesByAtLeastOne)
{
    uint32_t h[kPercentBuckets] = {};
    EXPECT_EQ(HistogramMean(h, sizeof h), 0u);
    h[0] = 1000;
    EXPECT_EQ(HistogramMean(h, sizeof h), 0u);
    h[50] = 3;
    h[100] = 1;
    EXPECT_EQ(HistogramMean(h, sizeof h), 62u);  // 250 / 4, truncated
}

TEST(HistogramMean, ReadsEveryBucketOfACountHistogram)
{
    SystemStats stats = {};
    stats.processes[500] = 1;
    stats.processes[1] = 1;
    EXPECT_EQ(HistogramMean(stats.processes, 2004), 250u);
    // Passing the percent size reads only buckets up to 100.
    EXPECT_EQ(HistogramMean(stats.processes, 404), 1u);
}

TEST(HistogramMean, DoesNotOverflowOnYearsOfSamples)
{
    uint32_t h[kPercentBuckets] = {};
    h[100] = 100000000;  // about three years of seconds at full load
    h[1] = 100000000;
    EXPECT_EQ(HistogramMean(h, sizeof h), 50u);
}

TEST(SystemStatsImage, FieldsLandAtTheirFileOffsets)
{
    // The record is the file image: a value written at a byte offset of the file is the
    // field the readers see.
    unsigned char image[kSystemStatsLength] = {};
    const uint32_t sessionEnds = 7, bytesPerWriteMax = 0x01020304;
    memcpy(image + 4108, &sessionEnds, 4);
    memcpy(image + 8180, &bytesPerWriteMax, 4);
    image[17140 + 4 * 100] = 9;  // last bucket of the MS-DOS program histogram
    SystemStats stats;
    memcpy(&stats, image, sizeof stats);
    EXPECT_EQ(stats.sessionEnds, 7u);
    EXPECT_EQ(stats.bytesPerWriteMax, 0x01020304u);
    EXPECT_EQ(stats.appsDos[100], 9u);
    EXPECT_EQ(sizeof(LiveSample), 164u);
}

TEST(StatsFileLength, AcceptsOnlyWholeRecords)
{
    EXPECT_FALSE(IsAcceptedStatsFileLength(0));
    EXPECT_FALSE(IsAcceptedStatsFileLength(17543));
    EXPECT_TRUE(IsAcceptedStatsFileLength(17544));
    EXPECT_FALSE(IsAcceptedStatsFileLength(17545));
    EXPECT_TRUE(IsAcceptedStatsFileLength(2 * 17544));
    EXPECT_TRUE(IsAcceptedStatsFileLength(uint64_t(17544) << 20));  // beyond 4 GB counts whole
}
