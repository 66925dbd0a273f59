// The program samples the machine once a second: with the dynamic-data counters of a
// fixture and the companion running, the statistics saved at exit show what was counted.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dynamic_data.h"
#include "halvorn_process.h"
#include "sampling/system_stats.h"
#include "wine_env.h"

namespace {

uint64_t Sum(const uint32_t* histogram, int buckets)
{
    uint64_t total = 0;
    for (int i = 0; i < buckets; ++i) total += histogram[i];
    return total;
}

// Waits while this thread handles its messages (the activity window's input among them).
void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(20);
    }
}

bool WaitUntilGone(const char* className, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (FindWindowA(className, nullptr)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// A key pressed on the display makes the user count as active, so ticks sample. The
// test's own visible window makes Wine's desktop exist on the display to take it.
struct ActivityWindow {
    HWND window = CreateWindowA("STATIC", "activity", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 100, 40, nullptr,
                                nullptr, nullptr, nullptr);
    ~ActivityWindow() { DestroyWindow(window); }
    bool PressShift()
    {
        return RunHostCommand("xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L");
    }
};

TEST(Sampling, TenSecondsOfFixtureCountersReachTheSavedStatistics)
{
    DynamicDataFixture counters;
    ASSERT_TRUE(counters.IsOpen());
    counters.SetAll(37, 100, 50, 4096, 2048, 10, 5);
    ActivityWindow activity;
    HalvornProcess halvorn("sampling", true);
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    ASSERT_TRUE(activity.PressShift());
    PumpFor(10000);
    EXPECT_NE(FindWindowA("HalvornCompanion", nullptr), nullptr) << "the companion is not running";
    ASSERT_TRUE(halvorn.Close());

    std::vector<unsigned char> image;
    ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &image));
    ASSERT_EQ(image.size(), kSystemStatsLength);
    SystemStats stats;
    memcpy(&stats, image.data(), sizeof stats);

    EXPECT_GE(stats.secondsObserved, 8.0f);
    EXPECT_GE(stats.secondsSampled, 5.0f);
    EXPECT_LE(stats.secondsSampled, stats.secondsObserved);
    const uint32_t sampled = uint32_t(stats.secondsSampled);
    EXPECT_EQ(stats.cpuUsage[37], sampled);  // every sampled second read the fixture's 37
    EXPECT_EQ(Sum(stats.processes, kCountBuckets), sampled);
    EXPECT_EQ(Sum(stats.threads, kCountBuckets), sampled);
    EXPECT_EQ(Sum(stats.windows, kCountBuckets), sampled);
    EXPECT_EQ(Sum(stats.modules, kCountBuckets), sampled);
    EXPECT_EQ(stats.processes[0], 0u);
    EXPECT_EQ(stats.windows[0], 0u);
    EXPECT_GE(Sum(stats.threadPriority, 33), sampled);
    // The counters did not move: after the first reading every delta is 0.
    EXPECT_EQ(stats.diskActivity[0], sampled);
    EXPECT_EQ(stats.keystrokes, 1u);
    // The companion reports every two seconds.
    EXPECT_GE(Sum(stats.freeUser, kPercentBuckets), 2u);
    EXPECT_GE(Sum(stats.freeGdi, kPercentBuckets), 2u);
    EXPECT_EQ(stats.freeUser[0], 0u);
    EXPECT_EQ(stats.daysOfUse, 1u);
    SYSTEMTIME today;
    GetLocalTime(&today);
    EXPECT_EQ(stats.lastYear, today.wYear);
    EXPECT_EQ(stats.lastMonth, today.wMonth);

    EXPECT_TRUE(WaitUntilGone("HalvornCompanion", 5000)) << "the companion outlived the program";
}

TEST(Sampling, WithoutInputNothingIsSampled)
{
    HalvornProcess halvorn("idle");
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    Sleep(3500);
    ASSERT_TRUE(halvorn.Close());
    std::vector<unsigned char> image;
    ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &image));
    SystemStats stats;
    ASSERT_EQ(image.size(), sizeof stats);
    memcpy(&stats, image.data(), sizeof stats);
    EXPECT_GE(stats.secondsObserved, 2.0f);
    EXPECT_EQ(stats.secondsSampled, 0.0f);
    EXPECT_EQ(Sum(stats.processes, kCountBuckets), 0u);
}

TEST(Sampling, TheCompanionEndsWhenTheProgramIsGone)
{
    HalvornProcess halvorn("companion_orphan", true);
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    const DWORD start = GetTickCount();
    while (!FindWindowA("HalvornCompanion", nullptr) && GetTickCount() - start < 5000) Sleep(50);
    ASSERT_NE(FindWindowA("HalvornCompanion", nullptr), nullptr);
    halvorn.Kill();  // no exit broadcast: the companion must notice by itself
    EXPECT_TRUE(WaitUntilGone("HalvornCompanion", 6000));
}

}  // namespace
