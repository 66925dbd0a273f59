#include "analysis/monitor_levels.h"

const LampMonitor kSystemLamps = {"System Monitor", 7,
    {{"CPU", 6, LampRule::kCeil, 0, 10100},
     {"Video Card", 12, LampRule::kCeil, 0, 10120},
     {"Display", 15, LampRule::kCeil, 0, 10130},
     {"Memory", 20, LampRule::kCeil, 0, 10140},
     {"Disks", 26, LampRule::kCeil, 0, 10150},
     {"Printers", 23, LampRule::kCeil, 0, 10160},
     {"Modem", 24, LampRule::kCeil, 0, 10170}},
    LampColours::kTrafficLight};

const LampMonitor kDiskLamps = {"Disk Monitor", 8,
    {{"Space Free", 25, LampRule::kFloor, 0, 10270},
     {"Load", 26, LampRule::kFloor, 0, 10280},
     {"Reads", 29, LampRule::kFloor, 0, 10260},
     {"Read Bytes", 27, LampRule::kCeil, 0, 10250},
     {"Read Size", 31, LampRule::kFloor, 0, 10240},
     {"Writes", 30, LampRule::kCeil, 0, 10230},
     {"Write Bytes", 28, LampRule::kCeil, 0, 10220},
     {"Write Size", 32, LampRule::kInverseCeil, 0, 10210}},
    LampColours::kBlue};

const LampMonitor kMemoryLamps = {"Memory Monitor", 5,
    {{"Usage", 20, LampRule::kCeil, 0, 10310},
     {"Load", 19, LampRule::kCeil, 0, 10350},
     {"RAM", 16, LampRule::kInverseCeil, 0, 10320},
     {"Page File", 17, LampRule::kInverseCeil, 0, 10330},
     {"Virtual", 18, LampRule::kInverseCeil, 0, 10340}},
    LampColours::kCyan};

const LampMonitor kSoftwareLamps = {"Software Monitor", 4,
    {{"Process", 33, LampRule::kScaled, 50, 10410},
     {"Thread", 34, LampRule::kScaled, 460, 10420},
     {"Module", 36, LampRule::kScaled, 460, 10430},
     {"Window", 35, LampRule::kScaled, 80, 10440}},
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
