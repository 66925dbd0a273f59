// The once-a-second sampling step, apart from the system calls that feed it. The Win32
// tick (sample_tick.cpp) reads the clock and the system into TickInputs; the functions
// here turn those readings into histogram counts and LiveSample values.
//
// All of it runs on the sampling thread, the only writer of TickState.
#pragma once
#include <cstdint>

#include "sampling/system_stats.h"

constexpr int kThreadPriorityBuckets = 33;

// Raw cumulative values remembered from the previous reading.
enum RawCounter { kRawPaging, kRawDiskOps, kRawBytesRead, kRawBytesWritten, kRawReads, kRawWrites, kRawCount };

struct TickState {
    uint32_t previousTime = 0;       // multimedia clock (ms) at the end of the last tick; 0 before the first
    double elapsedSeconds = 1.0;     // seconds since the previous tick, at least 1.0
    uint32_t saveCounter = 0;        // sampled ticks since start-up or the last date change
    uint32_t previousRaw[kRawCount] = {};
    uintptr_t previousVideoWindow = 0;
    uintptr_t previousMoveWindow = 0;
    int32_t previousRect[4] = {};    // left, top, right, bottom of previousMoveWindow
    uintptr_t previousProgram = 0;   // top-level owner of the previous foreground window
    double screenArea = 0;           // pixels; computed on first use
};

// What one sampled tick read from the system.
struct TickInputs {
    bool hasCpu = false;             // the processor counter could be read
    uint32_t cpuUsage = 0;           // percent in the low byte
    bool hasTraffic = false;         // the paging and file-system counters could be read
    uint32_t pageIns = 0, pageOuts = 0;
    uint32_t bytesRead = 0, bytesWritten = 0, reads = 0, writes = 0;  // cumulative

    uint64_t totalPhysical = 0;
    uint64_t totalPageFile = 0, availablePageFile = 0;
    uint64_t totalVirtual = 0, availableVirtual = 0;
    uint32_t memoryLoad = 0;

    uint64_t freeDiskBytes = 0, totalDiskBytes = 0;  // summed over the fixed drives

    uintptr_t foreground = 0;        // 0 when there is no foreground window
    int32_t foregroundRect[4] = {};  // left, top, right, bottom
    uintptr_t foregroundProgram = 0; // its top parent's top owner
    int32_t screenWidth = 0, screenHeight = 0;
    uint32_t videoClass = 0;         // display adapter class 1..5 (0 before detection)

    uint32_t freeUser = 0, freeGdi = 0;  // from the companion

    uint32_t pointerActions = 0, navigationActions = 0, keystrokes = 0;
    uint32_t helpKeyPresses = 0, rightClicks = 0, functionKeyPresses = 0;
    uint32_t commNotifications = 0;

    uint32_t day = 0, month = 0, year = 0;  // local date

    uint32_t processes = 0, threads = 0, modules = 0, windows = 0;
    uint32_t apps16 = 0, apps32 = 0, appsDos = 0;  // apps32 includes this program
    uint32_t threadPriorities[kThreadPriorityBuckets] = {};  // threads per priority (clamped to 32)
};

// Scales a per-tick amount against a stored running maximum of its rate: 0..100.
uint32_t LevelPercent(uint32_t value, uint32_t* maximum, double elapsedSeconds);
// Scales the growth of a cumulative counter since *previous, which it then updates.
uint32_t DeltaPercent(uint32_t value, uint32_t* previous, uint32_t* maximum, double elapsedSeconds);

// Starts a tick at nowMs. False for the first tick since start-up, which records only the
// clock (call EndTick and stop). Otherwise sets elapsedSeconds and counts the observed second.
bool BeginTick(TickState& state, uint32_t nowMs, SystemStats& stats, LiveSample& live);

// Counts one sampled second. Returns true when the statistics are due to be saved.
bool ApplySampledTick(TickState& state, const TickInputs& in, SystemStats& stats, LiveSample& live);

// Ends every tick with a fresh clock reading, so the tick's own duration is not part of
// the next interval.
void EndTick(TickState& state, uint32_t nowMs);
