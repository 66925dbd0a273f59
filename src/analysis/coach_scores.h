// The coach's thirteen scores about how the PC is used, computed from the long-term
// statistics, and the Disk Efficiency measure behind one of them.
#pragma once
#include <cstdint>

#include "sampling/system_stats.h"

constexpr int kCoachScoreCount = 13;
constexpr int kCoachGaugeCells = 10;
constexpr int kBoostCategoryCount = 10;
constexpr int kDiskEfficiencyScore = 1;   // the score that needs the Disk Efficiency walk

struct CoachScoreRow {
    const char* name;
    uint16_t helpId;
    uint16_t gaugeIcon;
    const char* leftLabel;
    const char* rightLabel;
};

extern const CoachScoreRow kCoachScores[kCoachScoreCount];

// Boost PC Tips categories; the list index is the key in BOOST.DAT.
extern const char* const kBoostCategories[kBoostCategoryCount];

// The raw score of row index (may be negative or above 9; a score beyond the int32_t range
// is held at its end); diskEfficiency is the DiskEfficiencyScore of the fixed disks, used
// by row kDiskEfficiencyScore only.
int32_t CoachScore(int index, const SystemStats& stats, int32_t diskEfficiency);

// Gauge cells lit for a raw score: below 2 gives 1, 9 or more gives 9.
int CoachGaugeCells(int32_t score);

// Months since the last access of the program files, counted 0..23.
struct AccessMonths {
    uint32_t counts[24];
    uint32_t total;
};

// Counts one file last accessed in (year, month) as seen in (nowYear, nowMonth).
void CountAccessMonth(AccessMonths* months, int year, int month, int nowYear, int nowMonth);

// 10 - min(9, average months since last access); with no files the average is 0 and the
// score 10.
int32_t DiskEfficiencyScore(const AccessMonths& months);
