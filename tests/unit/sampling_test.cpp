#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/thread_levels.h"
#include "sampling/file_changes.h"
#include "sampling/fixed_drive_memo.h"
#include "sampling/input_counters.h"
#include "sampling/system_stats.h"
#include "sampling/tick.h"
#include "services/histogram.h"
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
    in.freeDiskBytes = 81000000000ull;  // 81 GB of 324 GB: byte counts far past 32 bits
    in.totalDiskBytes = 324000000000ull;
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

    // Empty totals give 0 % instead of an out-of-range bucket; a zero disk total counts as 1;
    // 32-bit programs are held at 100 besides this one.
    in.totalPageFile = in.availablePageFile = in.totalVirtual = in.availableVirtual = in.totalPhysical = 0;
    in.totalDiskBytes = 0;
    in.freeDiskBytes = 5;
    in.apps32 = 250;
    RunTick(3000);
    EXPECT_EQ(stats->pageFileFree[0] + stats->virtualFree[0] + stats->memoryHeadroom[100] + stats->diskFree[100] +
                  stats->apps32[100] + live->apps32,
              105u);
}

// Bytes per read, bytes per write and modem activity each against a stored maximum of its
// own rate: the first reading sets it, a higher rate raises it, and the value is at most 100.
TEST_F(Tick, LevelsAreScaledAgainstTheirOwnStoredMaxima)
{
    in.hasTraffic = true;
    uint32_t now = 1000;
    RunTick(now);
    const struct { uint32_t intervalMs, scale, percent; } steps[] = {{1000, 2, 0}, {1000, 8, 100}, {1000, 4, 50}, {2000, 8, 50}};
    for (const auto& s : steps) {
        in.reads = in.writes = 10;
        in.bytesRead = 1000 * s.scale;  // 100 bytes per read for each step of scale
        in.bytesWritten = 300 * s.scale;
        in.commNotifications = 3 * s.scale;
        RunTick(now += s.intervalMs);
        EXPECT_EQ(std::vector<uint32_t>({live->bytesPerRead, live->bytesPerWrite, live->modemActivity}),
                  std::vector<uint32_t>(3, s.percent)) << s.scale << " in " << s.intervalMs << " ms";
    }
    EXPECT_EQ(std::vector<uint32_t>({stats->bytesPerReadMax, stats->bytesPerWriteMax, stats->modemMax}),
              std::vector<uint32_t>({800, 240, 24}));
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

// The live input values are per second of the tick's interval; the totals stay raw.
TEST_F(Tick, LiveInputValuesArePerSecondOfALateTick)
{
    const struct { uint32_t intervalMs, count, perSecond; } cases[] = {
        {3500, 3, 1}, {3500, 7, 2}, {2000, 3, 2}, {10000, 4, 1} /* any input reads as at least 1 */, {3500, 0, 0},
        {400, 5, 5} /* a short tick counts as one second */};
    uint32_t now = 1000;
    RunTick(now);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " in " + std::to_string(c.intervalMs) + " ms");
        in.keystrokes = in.pointerActions = in.helpKeyPresses = in.rightClicks = in.functionKeyPresses = c.count;
        const uint32_t keystrokesBefore = stats->keystrokes;
        RunTick(now += c.intervalMs);
        EXPECT_EQ(std::vector<uint32_t>({live->keystrokes, live->pointerActions, live->f1Presses, live->rightClicks,
                                         live->functionKeys}),
                  std::vector<uint32_t>(5, c.perSecond));
        EXPECT_EQ(stats->keystrokes - keystrokesBefore, c.count);
    }
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

// A button press the low-level hooks see comes with the hit-test answer of the window under
// the pointer (1: the client area), and a press on the frame counts as the journal counts it.
TEST(ClassifyInputEvent, FollowsTheTableForEveryRow)
{
    // adds: pointer, navigation, keystrokes, help, right, function
    struct Case { const char* name; uint32_t message, key; bool numLock; const char* adds; int32_t hit = 1; } cases[] = {
        {"non-client left press", 0x00A1, 0, false, "110000"},  {"non-client right press", 0x00A4, 0, false, "100010"},
        {"left press", 0x0201, 0, false, "100000"},             {"right press", 0x0204, 0, false, "100010"},
        {"left release", 0x0202, 0, false, "000000"},           {"key release", 0x0101, 'A', false, "000000"},
        {"letter", 0x0100, 'A', false, "001000"},               {"Clear, Num Lock on", 0x0100, 0x0C, true, "110000"},
        {"End", 0x0100, 0x23, false, "110000"},                 {"Home types", 0x0100, 0x24, false, "001000"},
        {"Down with Alt", 0x0104, 0x28, false, "110000"},       {"keypad 8, Num Lock on", 0x0100, 0x68, true, "001000"},
        {"keypad 8, Num Lock off", 0x0100, 0x68, false, "110000"}, {"keypad 0, Num Lock off", 0x0100, 0x60, false, "110000"},
        {"keypad 5 always types", 0x0100, 0x65, false, "001000"}, {"keypad 9, Num Lock on", 0x0100, 0x69, true, "001000"},
        {"keypad multiply", 0x0100, 0x6A, false, "001000"},     {"F1 counts two keystrokes", 0x0100, 0x70, false, "002100"},
        {"F2", 0x0100, 0x71, false, "001001"},                  {"F12", 0x0104, 0x7B, false, "001001"},
        {"F13 types", 0x0100, 0x7C, false, "001000"},           {"only the low byte is the key", 0x0100, 0x1570, false, "002100"},
        {"caption press", 0x0201, 0, false, "110000", 2},       {"help button press", 0x0201, 0, false, "110000", 21},
        {"press past the frame", 0x0201, 0, false, "100000", 22}, {"press on nothing", 0x0201, 0, false, "100000", 0},
        {"see-through press", 0x0201, 0, false, "100000", -1},  {"right caption press", 0x0204, 0, false, "100010", 2},
    };
    for (const Case& c : cases) {
        const InputIncrements add = ClassifyInputEvent(ButtonMessageAtHit(c.message, c.hit), c.key, c.numLock);
        std::string adds;
        for (uint32_t n : {add.pointer, add.navigation, add.keystrokes, add.help, add.right, add.function})
            adds += std::to_string(n);
        EXPECT_EQ(adds, c.adds) << c.name;
    }
}

// C, D and F are watched; E, a removable drive without a medium, refused its change
// notifications and has no handles between D's and F's.
TEST(FileWatchTable, ASignalledHandleCountsForTheDriveItWasMadeFor)
{
    static FileWatchTable table;
    table.count = 0;
    for (int letter : {0, 1, 3}) {
        void* handles[kFileChangeKinds];
        for (int k = 0; k < kFileChangeKinds; ++k) handles[k] = reinterpret_cast<void*>(uintptr_t(10 * letter + k + 1));
        AddWatchedDrive(table, letter, handles);
    }
    uint32_t types[kWatchedLetters] = {3, 3, 2, 3, 1, 1};
    const struct { uint32_t index; int letter; FileChangeKind kind; } signalled[] = {
        {0, 0, kChangeLastWrite}, {9, 1, kChangeDirectoryName}, {10, 3, kChangeLastWrite}, {14, 3, kChangeDirectoryName}};
    for (const auto& s : signalled) {
        EXPECT_EQ(ChangedDriveLetter(table, s.index, types), s.letter) << s.index;
        EXPECT_EQ(table.kind[s.index], s.kind) << s.index;
    }
    RemoveWatchEntry(table, 2);  // the later handles move up and keep their drives
    EXPECT_EQ(std::make_pair(table.handles[9], ChangedDriveLetter(table, 9, types)),
              std::make_pair(reinterpret_cast<void*>(31), 3));
    types[3] = 1;  // F is gone
    EXPECT_EQ(ChangedDriveLetter(table, 9, types), -1);
}

// The status report lights a lamp for each counter that is not zero, and only for those:
// C:'s first kind is bit 0, H:'s last is bit 29.
TEST(FileChangeLampBits, OneBitPerNonZeroCounterByDriveThenKind)
{
    uint32_t saved[kWatchedLetters][kFileChangeKinds];
    for (int d = 0; d < kWatchedLetters; ++d)
        for (int k = 0; k < kFileChangeKinds; ++k) saved[d][k] = FileChangeCounts[d][k].exchange(0);
    EXPECT_EQ(FileChangeLampBits(), 0u);
    const struct { int drive, kind; uint32_t count; } set[] = {
        {0, kChangeLastWrite, 1}, {1, kChangeDirectoryName, 7}, {2, kChangeSize, 0}, {5, kChangeDirectoryName, 4000000000u}};
    for (const auto& c : set) FileChangeCounts[c.drive][c.kind] = c.count;
    EXPECT_EQ(FileChangeLampBits(), (1u << 0) | (1u << 9) | (1u << 29));
    for (int d = 0; d < kWatchedLetters; ++d)
        for (int k = 0; k < kFileChangeKinds; ++k) FileChangeCounts[d][k] = saved[d][k];
}

// Only removable and fixed drives are watched: the watcher, the status report's lamps and
// the File Changes dialog all ask this.
TEST(FileWatchTable, WatchesRemovableAndFixedDrivesOnly)
{
    // Types 0 to 6: unknown, no root directory, removable, fixed, network, CD-ROM, RAM disk.
    const std::string watched = "0011000";
    for (uint32_t type = 0; type < watched.size(); ++type)
        EXPECT_EQ(IsWatchedDriveType(type), watched[type] == '1') << "drive type " << type;
}

TEST(AbsoluteThreadLevel, GivesTheLevelsWindowsReportsFromWinesRelativeFigures)
{
    const struct {
        long classCode, relative, level;
    } cases[] = {
        {2, 0, 8},   {2, 2, 10},  {2, -2, 6},   {2, -15, 1},  {2, 15, 15},  // normal
        {1, -1, 3},  {1, -15, 1}, {3, 2, 15},   {3, 15, 15},  {5, 1, 7},    // idle, high, below
        {6, -2, 8},  {4, 0, 24},  {4, -15, 16}, {4, 15, 31},  {4, 6, 30},   // above, real-time
        {0, 1, 9},   {9, 0, 8},                                              // unknown codes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.classCode) + " " + std::to_string(c.relative));
        EXPECT_EQ(AbsoluteThreadLevel(ClassBaseOfCode(c.classCode), c.relative), c.level);
    }
}

TEST(FixedDriveMemo, AsksEachLetterOnceInTenTicksAndSeesADriveThatCame)
{
    std::string asked;
    bool hasE = false;
    FixedDriveMemo memo([&](char letter) {
        asked += letter;
        return letter == 'C' || (letter == 'E' && hasE);
    });
    for (int tick = 0; tick < 10; ++tick) {
        EXPECT_TRUE(memo.IsFixed('C'));
        EXPECT_FALSE(memo.IsFixed('E'));
        memo.EndTick();
        hasE = tick >= 3;  // a drive E: arrives after the fourth tick
    }
    EXPECT_EQ(asked, "CE");
    EXPECT_TRUE(memo.IsFixed('E'));  // the tenth tick asks again
    EXPECT_EQ(asked, "CEE");
    EXPECT_FALSE(memo.IsFixed('B'));
    EXPECT_FALSE(memo.IsFixed('['));
    EXPECT_EQ(asked, "CEE");
}
