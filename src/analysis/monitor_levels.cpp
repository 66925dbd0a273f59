#include "analysis/monitor_levels.h"

#include "sampling/system_stats.h"

static_assert(kLiveWords * 4 == sizeof(LiveSample), "the lamps read the live sample's words");

// The word of the live sample a lamp row reads, named by its field; a field that is not one
// whole word of the sample does not compile.
template <size_t Offset, size_t Length>
constexpr uint8_t LiveWordAt()
{
    static_assert(Length == 4 && Offset % 4 == 0, "a lamp row reads one 32-bit word");
    return uint8_t(Offset / 4);
}
#define LIVE_WORD(field) LiveWordAt<offsetof(LiveSample, field), sizeof(LiveSample::field)>()

const LampMonitor kSystemLamps = {"System Monitor", 7,
    {{"CPU", LIVE_WORD(cpuUsage), LampRule::kCeil, 0, 10100},
     {"Video Card", LIVE_WORD(videoLoad), LampRule::kCeil, 0, 10120},
     {"Display", LIVE_WORD(displayLoad), LampRule::kCeil, 0, 10130},
     {"Memory", LIVE_WORD(pagingActivity), LampRule::kCeil, 0, 10140},
     {"Disks", LIVE_WORD(diskActivity), LampRule::kCeil, 0, 10150},
     {"Printers", LIVE_WORD(printerActivity), LampRule::kCeil, 0, 10160},
     {"Modem", LIVE_WORD(modemActivity), LampRule::kCeil, 0, 10170}},
    LampColours::kTrafficLight};

const LampMonitor kDiskLamps = {"Disk Monitor", 8,
    {{"Space Free", LIVE_WORD(diskFree), LampRule::kFloor, 0, 10270},
     {"Load", LIVE_WORD(diskActivity), LampRule::kFloor, 0, 10280},
     {"Reads", LIVE_WORD(readOps), LampRule::kFloor, 0, 10260},
     {"Read Bytes", LIVE_WORD(bytesRead), LampRule::kCeil, 0, 10250},
     {"Read Size", LIVE_WORD(bytesPerRead), LampRule::kFloor, 0, 10240},
     {"Writes", LIVE_WORD(writeOps), LampRule::kCeil, 0, 10230},
     {"Write Bytes", LIVE_WORD(bytesWritten), LampRule::kCeil, 0, 10220},
     {"Write Size", LIVE_WORD(bytesPerWrite), LampRule::kInverseCeil, 0, 10210}},
    LampColours::kBlue};

const LampMonitor kMemoryLamps = {"Memory Monitor", 5,
    {{"Usage", LIVE_WORD(pagingActivity), LampRule::kCeil, 0, 10310},
     {"Load", LIVE_WORD(memoryLoad), LampRule::kCeil, 0, 10350},
     {"RAM", LIVE_WORD(memoryHeadroom), LampRule::kInverseCeil, 0, 10320},
     {"Page File", LIVE_WORD(pageFileFree), LampRule::kInverseCeil, 0, 10330},
     {"Virtual", LIVE_WORD(virtualFree), LampRule::kInverseCeil, 0, 10340}},
    LampColours::kCyan};

const LampMonitor kSoftwareLamps = {"Software Monitor", 4,
    {{"Process", LIVE_WORD(processes), LampRule::kScaled, 50, 10410},
     {"Thread", LIVE_WORD(threads), LampRule::kScaled, 460, 10420},
     {"Module", LIVE_WORD(modules), LampRule::kScaled, 460, 10430},
     {"Window", LIVE_WORD(windows), LampRule::kScaled, 80, 10440}},
    LampColours::kDarkRed};

int LampLevel(const LampRow& row, const uint32_t* words)
{
    // 64-bit arithmetic: a word near 2^32 must not wrap round to a small level.
    const uint64_t v = row.word < kLiveWords ? words[row.word] : 0;
    int64_t level = 0;
    switch (row.rule) {
    case LampRule::kCeil: level = int64_t((v + 9) / 10); break;
    case LampRule::kFloor: level = int64_t(v / 10); break;
    case LampRule::kInverseCeil: level = 10 - int64_t((v + 9) / 10); break;
    case LampRule::kScaled: level = row.divisor ? int64_t(v * 10 / row.divisor) : 0; break;
    }
    return level < 0 ? 0 : level > kLampsPerRow ? kLampsPerRow : int(level);
}

int UsageNumberIcon(uint32_t value)
{
    return 1700 + int(value > 99 ? 99 : value);
}

uint32_t TypingWordsPerMinute(uint32_t keystrokes, uint32_t secondsWithKeystrokes)
{
    return secondsWithKeystrokes == 0 ? 0 : keystrokes / secondsWithKeystrokes * 12;
}
