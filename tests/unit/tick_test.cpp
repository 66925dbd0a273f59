#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "sampling/tick.h"

namespace {

class Tick : public testing::Test {
protected:
    void SetUp() override
    {
        stats = std::make_unique<SystemStats>();
        live = std::make_unique<LiveSample>();
        in.day = 6;
        in.month = 12;
        in.year = 2026;
        in.screenWidth = 1024;
        in.screenHeight = 768;
        in.totalPhysical = 1000;
        in.totalPageFile = 2000;
        in.availablePageFile = 1500;
        in.totalVirtual = 4000;
        in.availableVirtual = 1000;
    }

    // One whole tick at nowMs; returns whether a save fell due.
    bool RunTick(uint32_t nowMs)
    {
        bool save = false;
        if (BeginTick(state, nowMs, *stats, *live)) save = ApplySampledTick(state, in, *stats, *live);
        EndTick(state, nowMs);
        return save;
    }

    TickState state;
    TickInputs in;
    std::unique_ptr<SystemStats> stats;
    std::unique_ptr<LiveSample> live;
};

TEST_F(Tick, FirstTickRecordsOnlyTheClock)
{
    EXPECT_FALSE(BeginTick(state, 5000, *stats, *live));
    EndTick(state, 5000);
    EXPECT_EQ(state.previousTime, 5000u);
    SystemStats zero = {};
    EXPECT_EQ(memcmp(stats.get(), &zero, sizeof zero), 0);
    EXPECT_EQ(live->secondsObserved, 0.0f);
}

TEST_F(Tick, ElapsedSecondsFollowsTheClockWithAOneSecondFloor)
{
    RunTick(10000);
    ASSERT_TRUE(BeginTick(state, 13500, *stats, *live));
    EXPECT_DOUBLE_EQ(state.elapsedSeconds, 3.5);
    EndTick(state, 13500);
    ASSERT_TRUE(BeginTick(state, 13900, *stats, *live));
    EXPECT_DOUBLE_EQ(state.elapsedSeconds, 1.0);
    EndTick(state, 13900);
    // The clock wraps after 49.7 days; the interval is taken modulo 2^32.
    state.previousTime = 0xFFFFF000u;
    ASSERT_TRUE(BeginTick(state, 0x00000BB8u, *stats, *live));
    EXPECT_DOUBLE_EQ(state.elapsedSeconds, (0x1000 + 0xBB8) / 1000.0);
    EXPECT_EQ(stats->secondsObserved, 3.0f);
}

TEST(DeltaPercent, ScalesGrowthAgainstTheRunningMaximum)
{
    uint32_t previous = 0, maximum = 0;
    EXPECT_EQ(DeltaPercent(1000, &previous, &maximum, 1.0), 0u);  // first reading only remembers
    EXPECT_EQ(previous, 1000u);
    EXPECT_EQ(DeltaPercent(1200, &previous, &maximum, 1.0), 100u);
    EXPECT_EQ(maximum, 200u);
    EXPECT_EQ(DeltaPercent(1300, &previous, &maximum, 1.0), 50u);
    EXPECT_EQ(DeltaPercent(1700, &previous, &maximum, 2.0), 100u);  // 400 over 2 s
    EXPECT_EQ(DeltaPercent(1700, &previous, &maximum, 1.0), 0u);
    EXPECT_EQ(maximum, 200u);
}

TEST(DeltaPercent, ACounterGoingBackwardsGivesZeroAndKeepsTheMaximum)
{
    for (double elapsed : {1.0, 3.5, 10.0}) {
        SCOPED_TRACE(elapsed);
        uint32_t previous = 5000, maximum = 300;
        EXPECT_EQ(DeltaPercent(4000, &previous, &maximum, elapsed), 0u);
        EXPECT_EQ(maximum, 300u);
        EXPECT_EQ(previous, 4000u);
    }
    // A counter that wraps through 2^32 keeps counting forward.
    uint32_t previous = 0xFFFFFF00u, maximum = 0;
    EXPECT_EQ(DeltaPercent(0x100, &previous, &maximum, 1.0), 100u);
    EXPECT_EQ(maximum, 0x200u);
}

TEST(DeltaPercent, AnIdleCounterNeverDividesByZero)
{
    uint32_t previous = 7, maximum = 0;
    EXPECT_EQ(DeltaPercent(7, &previous, &maximum, 1.0), 0u);
    EXPECT_EQ(maximum, 1u);
    EXPECT_EQ(DeltaPercent(8, &previous, &maximum, 1.0), 100u);
}

TEST(LevelPercent, StartsTheMaximumThenScales)
{
    uint32_t maximum = 0;
    EXPECT_EQ(LevelPercent(40, &maximum, 1.0), 0u);
    EXPECT_EQ(maximum, 40u);
    EXPECT_EQ(LevelPercent(10, &maximum, 1.0), 25u);
    EXPECT_EQ(LevelPercent(80, &maximum, 2.0), 100u);  // 40 a second
    EXPECT_EQ(LevelPercent(0, &maximum, 1.0), 0u);
    EXPECT_EQ(LevelPercent(2000000000u, &maximum, 1.0), 0u);  // absurd rates change nothing
    EXPECT_EQ(maximum, 40u);
}

TEST_F(Tick, CountsEachQuantityInItsHistogram)
{
    RunTick(1000);
    in.hasCpu = true;
    in.cpuUsage = 0x1125;  // only the low byte counts: 37
    in.memoryLoad = 64;
    in.freeClusters = 25;
    in.totalClusters = 100;
    in.freeUser = 80;
    in.freeGdi = 0;  // the companion has not reported
    in.processes = 600;
    in.threads = 120;
    in.modules = 450;
    in.windows = 75;
    in.apps16 = 1;
    in.apps32 = 1;  // only this program
    in.appsDos = 0;
    in.threadPriorities[8] = 100;
    in.threadPriorities[32] = 2;
    RunTick(2000);
    EXPECT_EQ(stats->cpuUsage[37], 1u);
    EXPECT_EQ(live->cpuUsage, 37u);
    EXPECT_EQ(stats->memoryHeadroom[50], 1u);  // (2000 - 1500) x 100 / 1000 = 50 used
    EXPECT_EQ(stats->pageFileFree[75], 1u);
    EXPECT_EQ(stats->virtualFree[25], 1u);
    EXPECT_EQ(stats->memoryLoad[64], 1u);
    EXPECT_EQ(stats->diskFree[25], 1u);
    EXPECT_EQ(live->diskFree, 25u);
    EXPECT_EQ(stats->freeUser[80], 1u);
    EXPECT_EQ(stats->freeGdi[0], 0u);  // bucket 0 is never counted
    EXPECT_EQ(stats->processes[500], 1u);
    EXPECT_EQ(live->processes, 500u);
    EXPECT_EQ(stats->threads[120], 1u);
    EXPECT_EQ(stats->modules[450], 1u);
    EXPECT_EQ(stats->windows[75], 1u);
    EXPECT_EQ(stats->apps16[1], 1u);
    EXPECT_EQ(stats->apps32[0], 1u);  // this program's own window is left out
    EXPECT_EQ(live->apps32, 0u);
    EXPECT_EQ(stats->threadPriority[8], 100u);
    EXPECT_EQ(stats->threadPriority[32], 2u);
    EXPECT_EQ(stats->secondsSampled, 1.0f);
    EXPECT_EQ(stats->secondsObserved, 1.0f);
}

TEST_F(Tick, EmptyTotalsGiveZeroInsteadOfAnOutOfRangeBucket)
{
    RunTick(1000);
    in.totalPageFile = in.availablePageFile = 0;
    in.totalVirtual = in.availableVirtual = 0;
    in.totalPhysical = 0;
    in.totalClusters = 0;
    in.freeClusters = 5;  // a zero total counts as 1 cluster
    RunTick(2000);
    EXPECT_EQ(stats->pageFileFree[0], 1u);
    EXPECT_EQ(stats->virtualFree[0], 1u);
    EXPECT_EQ(stats->memoryHeadroom[100], 1u);
    EXPECT_EQ(stats->diskFree[100], 1u);
}

TEST_F(Tick, DiskTrafficScalesEachCounter)
{
    in.hasTraffic = true;
    in.bytesRead = 1000;
    in.bytesWritten = 500;
    in.reads = 10;
    in.writes = 0;
    RunTick(1000);
    RunTick(2000);  // first sampled reading: every delta gives 0
    EXPECT_EQ(stats->bytesRead[0], 1u);
    EXPECT_EQ(stats->diskActivity[0], 1u);
    EXPECT_EQ(stats->bytesPerReadMax, 100u);  // 1000 / 10 starts the maximum
    in.bytesRead = 5000;  // +4000
    in.bytesWritten = 700;  // +200
    in.reads = 30;  // +20
    in.writes = 5;  // 0 was read as 1: +4
    in.pageIns = 10;
    in.pageOuts = 0;
    RunTick(3000);
    EXPECT_EQ(live->bytesRead, 100u);
    EXPECT_EQ(stats->bytesReadMax, 4000u);
    EXPECT_EQ(live->readOps, 100u);
    EXPECT_EQ(live->diskActivity, 100u);
    EXPECT_EQ(stats->diskActivityMax, 24u);
    EXPECT_EQ(live->bytesPerRead, 100u);  // 5000 / 30 = 166 raises it
    EXPECT_EQ(stats->bytesPerReadMax, 166u);
}

TEST_F(Tick, VideoLoadUsesTheWindowShareAndTheClassFloor)
{
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
    // ((1 + 3) x 10 + 40 / 2) x 0.5 / 2 = 15
    EXPECT_EQ(live->videoLoad, 15u);
    in.foreground = 0;
    RunTick(4000);
    EXPECT_EQ(live->videoLoad, 100u);
    EXPECT_EQ(stats->videoLoad[50] + stats->videoLoad[15] + stats->videoLoad[100], 3u);
}

TEST_F(Tick, MovesSwitchesAndDisplayLoad)
{
    RunTick(1000);
    in.foreground = 7;
    in.foregroundProgram = 7;
    in.foregroundRect[2] = 100;
    in.foregroundRect[3] = 100;
    RunTick(2000);
    EXPECT_EQ(live->windowMoved, 0u);
    EXPECT_EQ(live->foregroundChanged, 1u);
    in.foregroundRect[0] = 5;  // moved
    in.navigationActions = 2;
    RunTick(3000);
    EXPECT_EQ(live->windowMoved, 1u);
    EXPECT_EQ(live->foregroundChanged, 0u);
    EXPECT_EQ(live->displayLoad, 22u);  // 3 x 2^2 + 10
    in.navigationActions = 100;
    RunTick(4000);
    EXPECT_EQ(live->displayLoad, 100u);
    EXPECT_EQ(stats->windowMoves, 1u);
    EXPECT_EQ(stats->foregroundSwitches, 1u);
}

TEST_F(Tick, InputCountersReachTheTotalsAndTheScaledSample)
{
    RunTick(1000);
    in.keystrokes = 4;
    in.pointerActions = 3;
    in.helpKeyPresses = 1;
    in.functionKeyPresses = 2;
    in.rightClicks = 1;
    in.navigationActions = 1;
    RunTick(3500);  // 2.5 s
    EXPECT_EQ(stats->keystrokes, 4u);
    EXPECT_EQ(stats->secondsWithKeystrokes, 1u);
    EXPECT_EQ(stats->f1Presses, 1u);
    EXPECT_EQ(stats->functionKeys, 2u);
    EXPECT_EQ(live->keystrokes, 10u);
    EXPECT_EQ(live->pointerActions, 7u);
    EXPECT_EQ(live->navigationActions, 1u);  // unscaled
}

TEST_F(Tick, SavesAtTheSecondSampledTickThenEvery1200)
{
    RunTick(1000);
    uint32_t now = 1000;
    std::vector<int> saves;
    for (int sampled = 1; sampled <= 2500; ++sampled) {
        now += 1000;
        if (RunTick(now)) saves.push_back(sampled);
    }
    // The first sampled tick counts the day and resets the counter to 0.
    EXPECT_EQ(saves, (std::vector<int>{3, 1203, 2403}));
    EXPECT_EQ(stats->daysOfUse, 1u);
}

TEST_F(Tick, ANewDateCountsADayAndRestartsTheSaveCounter)
{
    stats->lastDay = 6;
    stats->lastMonth = 12;
    stats->lastYear = 2026;
    RunTick(1000);
    EXPECT_FALSE(RunTick(2000));  // same day as the file: counter 1
    EXPECT_TRUE(RunTick(3000));   // counter 2
    EXPECT_EQ(stats->daysOfUse, 0u);
    in.day = 7;
    EXPECT_FALSE(RunTick(4000));
    EXPECT_EQ(state.saveCounter, 0u);
    EXPECT_EQ(stats->daysOfUse, 1u);
    EXPECT_EQ(live->dateChanges, 1u);
    EXPECT_EQ(live->lastDay, 7u);
    EXPECT_FALSE(RunTick(5000));
    EXPECT_TRUE(RunTick(6000));
}

}  // namespace
