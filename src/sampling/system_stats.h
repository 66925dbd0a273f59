// The two statistics records. SystemStats is also the file format of sysstats.dat: its
// image is written and read byte for byte (little-endian, 32-bit words, no padding).
// LiveSample holds the latest sampled second and is never stored.
//
// Writers: the sampling thread (every tick), the hidden main window on the primary thread
// (session-end counts) and the input hook (its own counters). Everyone reads both records
// without a lock and takes the values as found.
#pragma once
#include <cstddef>
#include <cstdint>

static_assert(sizeof(float) == 4, "records hold 32-bit floats");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are little-endian images");

constexpr int kPercentBuckets = 101;  // values 0..100
constexpr int kCountBuckets = 501;    // values 0..500
constexpr int kPriorityBuckets = 33;  // thread priorities 0..32

using PercentHistogram = uint32_t[kPercentBuckets];
using CountHistogram = uint32_t[kCountBuckets];

struct SystemStats {
    float secondsObserved;           // +1.0 every tick, idle or not
    float secondsSampled;            // +1.0 every sampled tick
    uint32_t lastDay;                // date of the last sampled tick
    uint32_t lastMonth;
    uint32_t lastYear;
    uint32_t daysOfUse;              // +1 when a sampled tick finds another date
    PercentHistogram cpuUsage;
    uint32_t keystrokes;
    uint32_t secondsWithKeystrokes;
    uint32_t f1Presses;
    uint32_t pointerActions;
    uint32_t rightClicks;
    uint32_t functionKeys;           // F2..F12
    uint32_t navigationActions;
    PercentHistogram videoLoad;
    uint32_t reserved;               // always 0
    uint32_t windowMoves;            // foreground window moved or resized
    PercentHistogram displayLoad;
    PercentHistogram memoryHeadroom;
    PercentHistogram pageFileFree;
    PercentHistogram virtualFree;
    PercentHistogram memoryLoad;
    PercentHistogram pagingActivity;
    uint32_t pagingMax;              // pages per second
    PercentHistogram freeUser;       // from the companion; bucket 0 never counted
    PercentHistogram freeGdi;
    uint32_t foregroundSwitches;
    uint32_t sessionEnds;
    PercentHistogram printerActivity;  // never filled by the tick; keeps what the file held
    PercentHistogram modemActivity;
    uint32_t modemMax;               // notifications per second
    PercentHistogram diskFree;
    PercentHistogram diskActivity;
    uint32_t diskActivityMax;        // operations per second
    PercentHistogram bytesRead;
    uint32_t bytesReadMax;
    PercentHistogram bytesWritten;
    uint32_t bytesWrittenMax;
    PercentHistogram readOps;
    uint32_t readOpsMax;
    PercentHistogram writeOps;
    uint32_t writeOpsMax;
    PercentHistogram bytesPerRead;
    uint32_t bytesPerReadMax;
    PercentHistogram bytesPerWrite;
    uint32_t bytesPerWriteMax;
    CountHistogram processes;
    CountHistogram threads;
    CountHistogram windows;
    CountHistogram modules;          // summed over all processes
    uint32_t threadPriority[kPriorityBuckets];  // one count per thread per sampled second
    PercentHistogram apps16;         // 16-bit Windows programs with a window
    PercentHistogram apps32;         // 32-bit ones, this program not counted
    PercentHistogram appsDos;        // MS-DOS programs with a window
};

constexpr size_t kSystemStatsWords = 4386;
constexpr size_t kSystemStatsLength = kSystemStatsWords * 4;  // 17544

static_assert(sizeof(SystemStats) == kSystemStatsLength, "SystemStats is the 17544-byte file image");
static_assert(offsetof(SystemStats, lastDay) == 8, "layout");
static_assert(offsetof(SystemStats, daysOfUse) == 20, "layout");
static_assert(offsetof(SystemStats, cpuUsage) == 24, "layout");
static_assert(offsetof(SystemStats, keystrokes) == 428, "layout");
static_assert(offsetof(SystemStats, navigationActions) == 452, "layout");
static_assert(offsetof(SystemStats, videoLoad) == 456, "layout");
static_assert(offsetof(SystemStats, reserved) == 860, "layout");
static_assert(offsetof(SystemStats, windowMoves) == 864, "layout");
static_assert(offsetof(SystemStats, displayLoad) == 868, "layout");
static_assert(offsetof(SystemStats, memoryHeadroom) == 1272, "layout");
static_assert(offsetof(SystemStats, pageFileFree) == 1676, "layout");
static_assert(offsetof(SystemStats, virtualFree) == 2080, "layout");
static_assert(offsetof(SystemStats, memoryLoad) == 2484, "layout");
static_assert(offsetof(SystemStats, pagingActivity) == 2888, "layout");
static_assert(offsetof(SystemStats, pagingMax) == 3292, "layout");
static_assert(offsetof(SystemStats, freeUser) == 3296, "layout");
static_assert(offsetof(SystemStats, freeGdi) == 3700, "layout");
static_assert(offsetof(SystemStats, foregroundSwitches) == 4104, "layout");
static_assert(offsetof(SystemStats, sessionEnds) == 4108, "layout");
static_assert(offsetof(SystemStats, printerActivity) == 4112, "layout");
static_assert(offsetof(SystemStats, modemActivity) == 4516, "layout");
static_assert(offsetof(SystemStats, modemMax) == 4920, "layout");
static_assert(offsetof(SystemStats, diskFree) == 4924, "layout");
static_assert(offsetof(SystemStats, diskActivity) == 5328, "layout");
static_assert(offsetof(SystemStats, diskActivityMax) == 5732, "layout");
static_assert(offsetof(SystemStats, bytesRead) == 5736, "layout");
static_assert(offsetof(SystemStats, bytesReadMax) == 6140, "layout");
static_assert(offsetof(SystemStats, bytesWritten) == 6144, "layout");
static_assert(offsetof(SystemStats, bytesWrittenMax) == 6548, "layout");
static_assert(offsetof(SystemStats, readOps) == 6552, "layout");
static_assert(offsetof(SystemStats, readOpsMax) == 6956, "layout");
static_assert(offsetof(SystemStats, writeOps) == 6960, "layout");
static_assert(offsetof(SystemStats, writeOpsMax) == 7364, "layout");
static_assert(offsetof(SystemStats, bytesPerRead) == 7368, "layout");
static_assert(offsetof(SystemStats, bytesPerReadMax) == 7772, "layout");
static_assert(offsetof(SystemStats, bytesPerWrite) == 7776, "layout");
static_assert(offsetof(SystemStats, bytesPerWriteMax) == 8180, "layout");
static_assert(offsetof(SystemStats, processes) == 8184, "layout");
static_assert(offsetof(SystemStats, threads) == 10188, "layout");
static_assert(offsetof(SystemStats, windows) == 12192, "layout");
static_assert(offsetof(SystemStats, modules) == 14196, "layout");
static_assert(offsetof(SystemStats, threadPriority) == 16200, "layout");
static_assert(offsetof(SystemStats, apps16) == 16332, "layout");
static_assert(offsetof(SystemStats, apps32) == 16736, "layout");
static_assert(offsetof(SystemStats, appsDos) == 17140, "layout");

struct LiveSample {
    float secondsObserved;      // since start-up
    float secondsSampled;       // since start-up
    uint32_t lastDay;
    uint32_t lastMonth;
    uint32_t lastYear;
    uint32_t dateChanges;       // since start-up
    uint32_t cpuUsage;          // "CPU"
    uint32_t keystrokes;        // this and the next four: per second over the last tick
    uint32_t f1Presses;
    uint32_t pointerActions;
    uint32_t rightClicks;
    uint32_t functionKeys;
    uint32_t videoLoad;         // "Video"
    uint32_t navigationActions; // raw count of the last tick
    uint32_t windowMoved;       // 1 when the foreground window moved or resized
    uint32_t displayLoad;       // "Display"
    uint32_t memoryHeadroom;
    uint32_t pageFileFree;
    uint32_t virtualFree;
    uint32_t memoryLoad;
    uint32_t pagingActivity;
    uint32_t foregroundChanged; // 1 when the foreground program changed
    uint32_t sessionEnds;       // since start-up
    uint32_t printerActivity;   // never set by the tick
    uint32_t modemActivity;
    uint32_t diskFree;
    uint32_t diskActivity;
    uint32_t bytesRead;
    uint32_t bytesWritten;
    uint32_t readOps;
    uint32_t writeOps;
    uint32_t bytesPerRead;
    uint32_t bytesPerWrite;
    uint32_t processes;
    uint32_t threads;
    uint32_t windows;
    uint32_t modules;
    uint32_t reserved;          // always 0
    uint32_t apps16;
    uint32_t apps32;
    uint32_t appsDos;
};

constexpr size_t kLiveSampleLength = 41 * 4;  // 164
static_assert(sizeof(LiveSample) == kLiveSampleLength, "LiveSample is 41 words");
static_assert(offsetof(LiveSample, cpuUsage) == 6 * 4, "layout");
static_assert(offsetof(LiveSample, videoLoad) == 12 * 4, "layout");
static_assert(offsetof(LiveSample, sessionEnds) == 22 * 4, "layout");
static_assert(offsetof(LiveSample, processes) == 33 * 4, "layout");
static_assert(offsetof(LiveSample, appsDos) == 40 * 4, "layout");

// The process-wide records, allocated zero-filled at start-up and never freed.
extern SystemStats* gSystemStats;
extern LiveSample* gLiveSample;

// Whether a file of this many bytes may hold a statistics image: a non-zero multiple of
// the record's length (only the first record is read).
bool IsAcceptedStatsFileLength(uint64_t length);
