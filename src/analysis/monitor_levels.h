// What the lamp monitors and the usage monitor show for one sampled second: every lamp row
// reads one word of the live sample and turns it into a level, the number of lamps lit
// from the left (0..10).
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kLampsPerRow = 10;
constexpr int kMaxLampRows = 8;
constexpr size_t kLiveWords = 41;  // the words of LiveSample

enum class LampRule : uint8_t {
    kCeil,         // (v + 9) / 10
    kFloor,        // v / 10
    kInverseCeil,  // 10 - (v + 9) / 10: lit lamps show what is used of a free percentage
    kScaled,       // v x 10 / divisor: counts against a typical full load
};

struct LampRow {
    const char* label;
    uint8_t word;      // the live sample's field it reads, as a word number (0..40)
    LampRule rule;
    uint16_t divisor;  // kScaled only
    int lampBase;      // lamp control id of cell k (1..10) is lampBase + k
};

enum class LampColours : uint8_t {
    kTrafficLight,  // cells 1-3 green, 4-7 yellow, 8-10 red
    kBlue,
    kCyan,
    kDarkRed,
};

struct LampMonitor {
    const char* name;
    int rowCount;
    LampRow rows[kMaxLampRows];
    LampColours colours;
};

// The four lamp monitors, in the order System, Disk, Memory, Software.
extern const LampMonitor kSystemLamps;
extern const LampMonitor kDiskLamps;
extern const LampMonitor kMemoryLamps;
extern const LampMonitor kSoftwareLamps;

// The level (0..10) of one row for a live sample of kLiveWords words.
int LampLevel(const LampRow& row, const uint32_t* words);

// The usage monitor's number icon for a value: 1700 + value, at most 1799.
int UsageNumberIcon(uint32_t value);

// Typing speed in words per minute from keystrokes and the seconds in which keys were
// typed (five keystrokes a word); 0 when no second had keystrokes.
uint32_t TypingWordsPerMinute(uint32_t keystrokes, uint32_t secondsWithKeystrokes);
