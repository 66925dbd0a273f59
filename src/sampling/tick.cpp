#include "sampling/tick.h"

#include <algorithm>

static const uint32_t kAbsurdRate = 1000000000u;

uint32_t LevelPercent(uint32_t value, uint32_t* maximum, double elapsedSeconds)
{
    const double rate = double(uint32_t(value / elapsedSeconds));
    if (rate >= kAbsurdRate) return 0;
    if (*maximum == 0) {
        *maximum = uint32_t(rate);
        return 0;
    }
    *maximum = std::max(*maximum, uint32_t(rate));
    return uint32_t(rate * 100.0 / *maximum);
}

uint32_t DeltaPercent(uint32_t value, uint32_t* previous, uint32_t* maximum, double elapsedSeconds)
{
    if (*previous == 0) {
        *previous = value;
        return 0;
    }
    const uint32_t delta = value - *previous;
    *previous = value;
    // A counter that went backwards shows as a huge unsigned step. Such a step is never a
    // rate, whatever the interval: it would raise the stored maximum for good.
    if (delta >= 0x80000000u) return 0;
    const uint32_t rate = uint32_t(delta / elapsedSeconds);
    if (rate >= kAbsurdRate) return 0;
    *maximum = std::max(*maximum, rate);
    if (*maximum < 2) *maximum = 1;
    return uint32_t(double(rate) * 100.0 / *maximum);
}

bool BeginTick(TickState& state, uint32_t nowMs, SystemStats& stats, LiveSample& live)
{
    if (state.previousTime == 0) return false;
    state.elapsedSeconds = std::max(1.0, uint32_t(nowMs - state.previousTime) / 1000.0);
    stats.secondsObserved += 1.0f;
    live.secondsObserved += 1.0f;
    return true;
}

void EndTick(TickState& state, uint32_t nowMs)
{
    // 0 means "no tick yet": a clock that reads exactly 0 is taken as 1 ms later.
    state.previousTime = nowMs ? nowMs : 1;
}

static uint32_t ClampPercent(double value)
{
    if (!(value > 0)) return 0;  // also NaN
    if (value >= 100) return 100;
    return uint32_t(value);
}

// value x 100 / total as a whole percentage; 0 when there is no total.
static uint32_t Share(uint64_t value, uint64_t total)
{
    if (total == 0) return 0;
    return ClampPercent(double(value) * 100.0 / double(total));
}

static void CollectMemory(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    double used = 0;
    if (in.totalPhysical != 0) used = double(in.totalPageFile - std::min(in.availablePageFile, in.totalPageFile)) * 100.0 / double(in.totalPhysical);
    const uint32_t headroom = ClampPercent(100.0 - std::min(100.0, std::max(0.0, used)));
    ++stats.memoryHeadroom[headroom];
    live.memoryHeadroom = headroom;

    const uint32_t pageFree = Share(in.availablePageFile, in.totalPageFile);
    ++stats.pageFileFree[pageFree];
    live.pageFileFree = pageFree;

    const uint32_t virtualFree = Share(in.availableVirtual, in.totalVirtual);
    ++stats.virtualFree[virtualFree];
    live.virtualFree = virtualFree;

    const uint32_t load = std::min(in.memoryLoad, 100u);
    ++stats.memoryLoad[load];
    live.memoryLoad = load;

    if (in.hasTraffic) {
        const uint32_t paging = DeltaPercent(in.pageIns + in.pageOuts, &state.previousRaw[kRawPaging], &stats.pagingMax,
                                             state.elapsedSeconds);
        ++stats.pagingActivity[paging];
        live.pagingActivity = paging;
    }
}

static void CollectDisks(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    const uint64_t total = in.totalDiskBytes ? in.totalDiskBytes : 1;
    const uint32_t diskFree = ClampPercent(double(in.freeDiskBytes) * 100.0 / double(total));
    ++stats.diskFree[diskFree];
    live.diskFree = diskFree;

    if (!in.hasTraffic) return;
    const double elapsed = state.elapsedSeconds;
    live.bytesRead = DeltaPercent(in.bytesRead, &state.previousRaw[kRawBytesRead], &stats.bytesReadMax, elapsed);
    ++stats.bytesRead[live.bytesRead];
    live.bytesWritten = DeltaPercent(in.bytesWritten, &state.previousRaw[kRawBytesWritten], &stats.bytesWrittenMax, elapsed);
    ++stats.bytesWritten[live.bytesWritten];
    live.readOps = DeltaPercent(in.reads, &state.previousRaw[kRawReads], &stats.readOpsMax, elapsed);
    ++stats.readOps[live.readOps];
    live.writeOps = DeltaPercent(in.writes, &state.previousRaw[kRawWrites], &stats.writeOpsMax, elapsed);
    ++stats.writeOps[live.writeOps];

    const uint32_t reads = in.reads ? in.reads : 1;
    const uint32_t writes = in.writes ? in.writes : 1;
    live.bytesPerRead = LevelPercent(in.bytesRead / reads, &stats.bytesPerReadMax, elapsed);
    ++stats.bytesPerRead[live.bytesPerRead];
    live.bytesPerWrite = LevelPercent(in.bytesWritten / writes, &stats.bytesPerWriteMax, elapsed);
    ++stats.bytesPerWrite[live.bytesPerWrite];
    live.diskActivity = DeltaPercent(reads + writes, &state.previousRaw[kRawDiskOps], &stats.diskActivityMax, elapsed);
    ++stats.diskActivity[live.diskActivity];
}

static void CollectVideo(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    if (state.screenArea == 0) {
        const double area = double(in.screenWidth) * double(in.screenHeight);
        state.screenArea = area <= 1 ? 1.0 : area;
    }
    double value = 100;
    if (in.foreground) {
        const double width = double(in.foregroundRect[2]) - in.foregroundRect[0];
        const double height = double(in.foregroundRect[3]) - in.foregroundRect[1];
        const double fraction = std::min(1.0, width * height / state.screenArea);
        if (in.foreground == state.previousVideoWindow) {
            // Until detection has run the class is 0: count it as the slowest card.
            const double videoClass = in.videoClass < 1 ? 1.0 : double(in.videoClass);
            value = ((double(live.pointerActions) + live.keystrokes) * 10 + live.cpuUsage / (videoClass * 2.0)) * fraction / 2.0;
        } else {
            value = fraction * 100;
        }
    }
    const uint32_t video = ClampPercent(value);
    ++stats.videoLoad[video];
    live.videoLoad = video;
    state.previousVideoWindow = in.foreground;
}

static void CollectWindowMoves(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    uint32_t moved = 0;
    if (in.foreground && in.foreground == state.previousMoveWindow)
        moved = !std::equal(in.foregroundRect, in.foregroundRect + 4, state.previousRect);
    if (in.foreground) std::copy(in.foregroundRect, in.foregroundRect + 4, state.previousRect);
    stats.windowMoves += moved;
    live.windowMoved = moved;
    state.previousMoveWindow = in.foreground;

    const uint32_t switched = in.foregroundProgram != state.previousProgram;
    stats.foregroundSwitches += switched;
    live.foregroundChanged = switched;
    state.previousProgram = in.foregroundProgram;
}

// A count over a tick of the given length as a whole number per second, rounded to the
// nearest; any input at all reads as at least 1, so a late tick never hides activity.
// An interval below one second (never produced by BeginTick) counts as one second.
static uint32_t PerSecond(uint32_t count, double elapsedSeconds)
{
    if (count == 0) return 0;
    const double seconds = elapsedSeconds >= 1.0 ? elapsedSeconds : 1.0;  // also NaN
    return std::max(1u, uint32_t(count / seconds + 0.5));
}

static void CollectInput(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    if (in.freeUser >= 1 && in.freeUser <= 100) ++stats.freeUser[in.freeUser];
    if (in.freeGdi >= 1 && in.freeGdi <= 100) ++stats.freeGdi[in.freeGdi];

    stats.pointerActions += in.pointerActions;
    stats.keystrokes += in.keystrokes;
    stats.f1Presses += in.helpKeyPresses;
    stats.rightClicks += in.rightClicks;
    stats.functionKeys += in.functionKeyPresses;
    stats.navigationActions += in.navigationActions;
    if (in.keystrokes) ++stats.secondsWithKeystrokes;
    const double elapsed = state.elapsedSeconds;
    live.pointerActions = PerSecond(in.pointerActions, elapsed);
    live.keystrokes = PerSecond(in.keystrokes, elapsed);
    live.f1Presses = PerSecond(in.helpKeyPresses, elapsed);
    live.rightClicks = PerSecond(in.rightClicks, elapsed);
    live.functionKeys = PerSecond(in.functionKeyPresses, elapsed);
    live.navigationActions = in.navigationActions;

    const uint32_t modem = LevelPercent(in.commNotifications, &stats.modemMax, elapsed);
    ++stats.modemActivity[modem];
    live.modemActivity = modem;

    const uint64_t navigation = live.navigationActions;
    const uint64_t display = std::min<uint64_t>(100, 3 * navigation * navigation + (live.windowMoved == 1 ? 10 : 0));
    ++stats.displayLoad[display];
    live.displayLoad = uint32_t(display);
}

static void CountDate(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    stats.secondsSampled += 1.0f;
    live.secondsSampled += 1.0f;
    if (in.day != stats.lastDay || in.month != stats.lastMonth || in.year != stats.lastYear) {
        ++stats.daysOfUse;
        ++live.dateChanges;
        state.saveCounter = 0;
    } else {
        ++state.saveCounter;
    }
    stats.lastDay = live.lastDay = in.day;
    stats.lastMonth = live.lastMonth = in.month;
    stats.lastYear = live.lastYear = in.year;
}

static void CountCensus(const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    live.processes = std::min(in.processes, 500u);
    ++stats.processes[live.processes];
    live.threads = std::min(in.threads, 500u);
    ++stats.threads[live.threads];
    live.modules = std::min(in.modules, 500u);
    ++stats.modules[live.modules];
    live.apps16 = std::min(in.apps16, 100u);
    ++stats.apps16[live.apps16];
    const uint32_t apps32 = std::min(in.apps32, 101u);
    live.apps32 = apps32 ? apps32 - 1 : 0;  // this program's own window is not counted
    ++stats.apps32[live.apps32];
    live.appsDos = std::min(in.appsDos, 100u);
    ++stats.appsDos[live.appsDos];
    for (int p = 0; p < kThreadPriorityBuckets; ++p) stats.threadPriority[p] += in.threadPriorities[p];
    live.windows = std::min(in.windows, 500u);
    ++stats.windows[live.windows];
}

bool ApplySampledTick(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live)
{
    if (in.hasCpu) {
        const uint32_t cpu = std::min(in.cpuUsage & 0xFFu, 100u);
        ++stats.cpuUsage[cpu];
        live.cpuUsage = cpu;
    }
    CollectMemory(state, in, stats, live);
    CollectDisks(state, in, stats, live);
    CollectVideo(state, in, stats, live);
    CollectWindowMoves(state, in, stats, live);
    CollectInput(state, in, stats, live);
    CountDate(state, in, stats, live);
    CountCensus(in, stats, live);
    return state.saveCounter % 1200 == 2;
}
