#include <gtest/gtest.h>

#include "platform/cpu_usage.h"

TEST(CpuPercentBetween, SharesWorkOfTheInterval)
{
    ProcessorTimes before{1000, 3000, 1000};  // kernel includes idle
    ProcessorTimes after{1600, 4000, 2000};   // 2000 passed, 600 of them idle
    EXPECT_EQ(CpuPercentBetween(before, after), 70u);
    EXPECT_EQ(CpuPercentBetween(before, before), 0u);  // no time passed
    EXPECT_EQ(CpuPercentBetween(after, before), 0u);   // readings went backwards
    ProcessorTimes allIdle{2000, 4000, 1000};
    EXPECT_EQ(CpuPercentBetween(before, allIdle), 0u);
    ProcessorTimes busy{1000, 3500, 2500};
    EXPECT_EQ(CpuPercentBetween(before, busy), 100u);
    EXPECT_EQ(CpuPercentBetween(ProcessorTimes(), after), 73u);  // 4400 of 6000 since start
}
