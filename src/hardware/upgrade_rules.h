// The upgrade advisor's ratings: how good each kind of equipment is (0..10, -1 unknown) and
// how heavily it is used (percent, -1 unknown), from the detected hardware and the
// long-term statistics, and the four gauge levels drawn from the two.
#pragma once
#include <cstdint>

#include "equipment/equipment_info.h"
#include "sampling/system_stats.h"

struct UpgradeEntry {
    char name[128];
    int32_t rating;      // 0..10 scale, -1 unknown
    int32_t usage;       // percent, -1 unknown
    int32_t extra[2];    // kept for the record's shape; not shown
    uint32_t tableId;    // RCDATA comparison table, 0 for none
};

// What a builder reads: the detected hardware, the statistics, and the joystick count that
// the Joystick kind asks for first.
struct UpgradeFacts {
    const EquipmentInfo* equipment;
    const SystemStats* stats;
    uint32_t joysticks;
};

using UpgradeBuilder = void (*)(const UpgradeFacts& facts, UpgradeEntry* entry);

struct UpgradeKind {
    const char* name;      // list text
    UpgradeBuilder build;
    uint16_t helpId;
};

constexpr int kUpgradeKindCount = 21;
constexpr int kJoystickKind = 4;  // its builder needs the joysticks counted first
extern const UpgradeKind kUpgradeKinds[kUpgradeKindCount];

// Gauge levels 1..9, or kUnknownLevel for an unknown rating or usage.
constexpr int kUnknownLevel = -1;
struct UpgradeLevels {
    int current, possible, usage, need;
};
UpgradeLevels UpgradeGaugeLevels(int32_t rating, int32_t usage);

// Ratings and usages the builders share, exposed for their edge cases.
int32_t CpuRating(float cpuPower);
int32_t LogRating(double amount, double best);  // trunc(ln(amount) x 10 / ln(best)); 0 below 1
int32_t PerMinute(uint32_t total, float secondsSampled);
