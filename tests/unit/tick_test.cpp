#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "sampling/tick.h"
#include "services/input_idle.h"

namespace {

class Tick : public testing::Test {
protected:
    // One whole tick at nowMs as the sampling thread runs it: sampled unless the input
    // history is all quiet after adding events. Returns whether a save fell due.
    bool RunTick(uint32_t nowMs, uint32_t events = 1)
    {
        bool save = false;
        if (BeginTick(state, nowMs, *stats, *live) && !InputHistoryStep(&history, events))
            save = ApplySampledTick(state, in, *stats, *live);
        EndTick(state, nowMs);
        return save;
    }
    TickState state;
    TickInputs in;
    InputHistory history = {};
    std::unique_ptr<SystemStats> stats = std::make_unique<SystemStats>();
    std::unique_ptr<LiveSample> live = std::make_unique<LiveSample>();
};

TEST_F(Tick, TheFirstTickRecordsOnlyTheClockAndLaterOnesTheirInterval)
{
    EXPECT_FALSE(RunTick(10000));
    EXPECT_EQ(state.previousTime, 10000u);
    const SystemStats zero = {};
    EXPECT_EQ(memcmp(stats.get(), &zero, sizeof zero), 0);
    EXPECT_EQ(live->secondsObserved, 0.0f);
    struct Step { uint32_t from, to; double seconds; } steps[] = {
        {10000, 13500, 3.5}, {13500, 13900, 1.0}, {0xFFFFF000u, 0xBB8, (0x1000 + 0xBB8) / 1000.0}};  // floor, wrap
    for (const Step& s : steps) {
        state.previousTime = s.from;
        ASSERT_TRUE(BeginTick(state, s.to, *stats, *live));
        EXPECT_DOUBLE_EQ(state.elapsedSeconds, s.seconds) << s.to;
    }
    EXPECT_EQ(stats->secondsObserved, 3.0f);
}

// One counter read on successive ticks; the percent and the running maximum after each.
TEST(DeltaPercent, ScalesGrowthAgainstTheRunningMaximum)
{
    struct Step { uint32_t value; double seconds; uint32_t percent, maximum; const char* label; } steps[] = {
        {7, 1, 0, 0, "the first reading only remembers"},
        {7, 1, 0, 1, "no growth: the maximum becomes 1, never 0"},
        {8, 1, 100, 1, "growth of 1"},
        {208, 1, 100, 200, "a new maximum"},
        {308, 1, 50, 200, "half the maximum"},
        {708, 2, 100, 200, "400 over 2 s"},
        {208, 10, 0, 200, "going backwards gives 0 and keeps the maximum, whatever the interval"},
        {0xFFFFFF00u, 1, 0, 200, "a jump of more than 2^31 is going backwards too"},
        {0x100, 1, 100, 0x200, "wrapping through 2^32 counts forward"},
    };
    uint32_t previous = 0, maximum = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        EXPECT_EQ(DeltaPercent(s.value, &previous, &maximum, s.seconds), s.percent);
        EXPECT_EQ(std::make_pair(maximum, previous), std::make_pair(s.maximum, s.value));
    }
    // A level starts its maximum, then scales against it; absurd rates change nothing.
    maximum = 0;
    for (const auto& s : std::vector<std::vector<uint32_t>>{{40, 1, 0}, {10, 1, 25}, {80, 2, 100}, {2000000000u, 1, 0}}) {
        EXPECT_EQ(LevelPercent(s[0], &maximum, s[1]), s[2]) << s[0];
        EXPECT_EQ(maximum, 40u);
    }
}

TEST_F(Tick, CountsEachQuantityInItsHistogramAndGuardsEmptyTotals)
{
    RunTick(1000);
    in.hasCpu = true;
    in.cpuUsage = 0x1125;  // only the low byte counts: 37
    in.totalPhysical = 1000;
    in.totalPageFile = 2000;
    in.availablePageFile = 1500;
    in.totalVirtual = 4000;
    in.availableVirtual = 1000;
    in.freeClusters = 25;
    in.totalClusters = 100;
    in.freeUser = 80;
    in.freeGdi = 0;  // the companion has not reported
    in.processes = 600;
    in.apps32 = 1;  // the one 32-bit program is this one
    in.threadPriorities[32] = 2;
    RunTick(2000);
    const struct { const char* name; const uint32_t* histogram; int bucket; uint32_t count; } counted[] = {
        {"cpu", stats->cpuUsage, 37, 1},           {"headroom: 500 of 1000 used", stats->memoryHeadroom, 50, 1},
        {"page file", stats->pageFileFree, 75, 1}, {"virtual", stats->virtualFree, 25, 1},
        {"disk", stats->diskFree, 25, 1},          {"USER", stats->freeUser, 80, 1},
        {"GDI: bucket 0 is never counted", stats->freeGdi, 0, 0}, {"600 processes", stats->processes, 500, 1},
        {"32-bit: not this program", stats->apps32, 0, 1}, {"priority 32", stats->threadPriority, 32, 2},
    };
    for (const auto& c : counted) EXPECT_EQ(c.histogram[c.bucket], c.count) << c.name;
    EXPECT_EQ(std::vector<uint32_t>({live->cpuUsage, live->processes, live->apps32}), std::vector<uint32_t>({37, 500, 0}));

    // Empty totals give 0 % instead of an out-of-range bucket; a zero cluster total counts as 1.
    in.totalPageFile = in.availablePageFile = in.totalVirtual = in.availableVirtual = in.totalPhysical = 0;
    in.totalClusters = 0;
    in.freeClusters = 5;
    RunTick(3000);
    EXPECT_EQ(stats->pageFileFree[0] + stats->virtualFree[0] + stats->memoryHeadroom[100] + stats->diskFree[100], 4u);
}

TEST_F(Tick, VideoLoadUsesTheWindowShareAndTheClassFloor)
{
    in.screenWidth = 1024;
    in.screenHeight = 768;
    RunTick(1000);
    in.foreground = 42;
    in.foregroundRect[2] = 512;  // half the screen
    in.foregroundRect[3] = 768;
    RunTick(2000);
    EXPECT_EQ(live->videoLoad, 50u);  // a new window: its share of the screen
    in.hasCpu = true;
    in.cpuUsage = 40;
    in.videoClass = 0;  // not detected yet: counted as class 1
    live->keystrokes = 3;
    live->pointerActions = 1;
    RunTick(3000);
    EXPECT_EQ(live->videoLoad, 15u);  // ((1 + 3) x 10 + 40 / 2) x 0.5 / 2
    in.foreground = 0;
    RunTick(4000);
    EXPECT_EQ(live->videoLoad, 100u);
}

TEST_F(Tick, TwoMinutesWithoutInputStopSamplingAndTheFirstKeyResumesIt)
{
    history.samples[kInputHistoryLength - 1] = 1;  // a key just before start-up
    uint32_t now = 1000;
    RunTick(now);
    for (int second = 1; second <= 150; ++second) RunTick(now += 1000, 0);
    // The key stays in the history for 119 quiet seconds, which are sampled; the 120th
    // quiet second is not, nor any after it, while every second is observed.
    EXPECT_EQ(std::make_pair(stats->secondsSampled, stats->secondsObserved), std::make_pair(119.0f, 150.0f));
    RunTick(now += 1000, 1);
    EXPECT_EQ(std::make_pair(stats->secondsSampled, stats->secondsObserved), std::make_pair(120.0f, 151.0f));
}

TEST_F(Tick, SavesAtTheSecondSampledTickThenEvery1200AndRestartsOnANewDate)
{
    in.day = 6;
    in.month = 12;
    in.year = 2026;
    uint32_t now = 1000;
    RunTick(now);
    std::vector<int> saves;
    for (int sampled = 1; sampled <= 2500; ++sampled)
        if (RunTick(now += 1000)) saves.push_back(sampled);
    // The first sampled tick counts the day and resets the counter to 0.
    EXPECT_EQ(saves, (std::vector<int>{3, 1203, 2403}));
    EXPECT_EQ(stats->daysOfUse, 1u);
    in.day = 7;
    EXPECT_FALSE(RunTick(now += 1000));
    EXPECT_EQ(state.saveCounter, 0u);
    EXPECT_EQ(std::vector<uint32_t>({stats->daysOfUse, live->dateChanges, live->lastDay}), std::vector<uint32_t>({2, 2, 7}));
    EXPECT_FALSE(RunTick(now += 1000));
    EXPECT_TRUE(RunTick(now += 1000));
}

}  // namespace
