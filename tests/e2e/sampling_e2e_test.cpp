// The program samples the machine once a second: with the dynamic-data counters of a
// fixture and the companion running, the statistics saved at exit show what was counted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "dynamic_data.h"
#include "halvorn_process.h"
#include "sampling/system_stats.h"

namespace {

uint64_t Sum(const uint32_t* histogram, int buckets)
{
    return std::accumulate(histogram, histogram + buckets, uint64_t(0));
}

bool WaitForCompanion(bool running, DWORD timeoutMs)
{
    return WaitUntil([&] { return (FindWindowA("HalvornCompanion", nullptr) != nullptr) == running; }, timeoutMs);
}

// Runs the program for ms (pressing a key on the display first when active) and returns
// the statistics it saved at exit.
SystemStats RunAndLoad(HalvornProcess& halvorn, DWORD ms, bool active)
{
    // The test's own visible window makes Wine's desktop exist on the display to take the key.
    HWND window = CreateWindowA("STATIC", "activity", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 100, 40, nullptr,
                                nullptr, nullptr, nullptr);
    SystemStats stats = {};
    std::vector<unsigned char> image;
    EXPECT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    if (active) EXPECT_TRUE(RunHostCommand("xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L"));
    PumpMessagesFor(ms);
    EXPECT_EQ(WaitForCompanion(true, 0), active) << "the companion runs only where it was copied";
    EXPECT_TRUE(halvorn.Close());
    DestroyWindow(window);
    EXPECT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &image));
    EXPECT_EQ(image.size(), sizeof stats);
    if (image.size() == sizeof stats) memcpy(&stats, image.data(), sizeof stats);
    return stats;
}

TEST(Sampling, TenSecondsOfFixtureCountersReachTheSavedStatistics)
{
    DynamicDataFixture counters;
    ASSERT_TRUE(counters.IsOpen());
    counters.SetAll(37, 100, 50, 4096, 2048, 10, 5);
    HalvornProcess halvorn("sampling", true);
    const SystemStats stats = RunAndLoad(halvorn, 10000, true);
    EXPECT_GE(stats.secondsObserved, 8.0f);
    EXPECT_GE(stats.secondsSampled, 5.0f);
    EXPECT_LE(stats.secondsSampled, stats.secondsObserved);
    const uint32_t sampled = uint32_t(stats.secondsSampled);
    EXPECT_EQ(stats.cpuUsage[37], sampled);  // every sampled second read the fixture's 37
    for (const uint32_t* census : {stats.processes, stats.threads, stats.windows, stats.modules}) {
        EXPECT_EQ(Sum(census, kCountBuckets), sampled);
        EXPECT_EQ(census[0], 0u);
    }
    EXPECT_GE(Sum(stats.threadPriority, kPriorityBuckets), sampled);
    EXPECT_EQ(stats.threadPriority[0], 0u);  // absolute levels: no thread below 1
    EXPECT_EQ(stats.diskActivity[0], sampled);  // the counters did not move: every delta is 0
    EXPECT_EQ(stats.keystrokes, 1u);
    // The companion reports every two seconds; bucket 0 is never counted.
    EXPECT_GE(Sum(stats.freeUser, kPercentBuckets), 2u);
    EXPECT_GE(Sum(stats.freeGdi, kPercentBuckets), 2u);
    EXPECT_EQ(stats.freeUser[0], 0u);
    EXPECT_EQ(stats.daysOfUse, 1u);
    SYSTEMTIME today;
    GetLocalTime(&today);
    EXPECT_EQ(stats.lastYear, today.wYear);
    EXPECT_EQ(stats.lastMonth, today.wMonth);
    EXPECT_TRUE(WaitForCompanion(false, 5000)) << "the companion outlived the program";
}

TEST(Sampling, AFirstRunWithoutInputSavesAZeroImageThatOnlyCountsTime)
{
    HalvornProcess halvorn("idle");
    const SystemStats stats = RunAndLoad(halvorn, 3500, false);
    EXPECT_GE(stats.secondsObserved, 2.0f);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&stats);
    EXPECT_TRUE(std::all_of(bytes + 4, bytes + sizeof stats, [](unsigned char b) { return b == 0; }));
}

TEST(Sampling, TheCompanionEndsWhenTheProgramIsGone)
{
    HalvornProcess halvorn("companion_orphan", true);
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    ASSERT_TRUE(WaitForCompanion(true, 5000)) << "the companion did not start";
    halvorn.Kill();  // no exit broadcast: the companion must notice by itself
    EXPECT_TRUE(WaitForCompanion(false, 6000)) << "the companion outlived the killed program";
}

}  // namespace
