// Load patterns: how the sampled seconds of one measured quantity spread over ten load
// bands, which of seven stock patterns that spread resembles most, and what the pattern
// means. Shared by the system and the hardware bottleneck analyzers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "sampling/system_stats.h"

constexpr int kLoadBands = 10;
constexpr int kLoadPatternCount = 7;
constexpr int kPatternFindings = 7;   // yes/no findings; the eighth line is the impact
constexpr int kFindingLines = 8;
constexpr int kSystemLoadCategoryCount = 23;
constexpr int kHardwareLoadCategoryCount = 7;

// How a category's 101-bucket distribution comes from its source histogram.
enum class DistributionKind : uint8_t {
    kPlain,     // bucket k is source bucket k
    kReversed,  // bucket k is source bucket 100 - k
    kRebinned,  // source bucket i adds to bucket clamp(trunc(i x 100 / divisor), 0, 100)
    kAllZero,   // nothing is measured
};

struct LoadCategory {
    const char* name;          // list text
    size_t sourceOffset;       // byte offset of the source histogram in SystemStats
    DistributionKind kind;
    uint32_t divisor;          // kRebinned only
    uint32_t sourceBuckets;    // buckets of the source histogram (101, 501 or 33)
    uint16_t helpId;           // RCDATA help text with the finding paragraphs
};

extern const LoadCategory kSystemLoadCategories[kSystemLoadCategoryCount];
extern const LoadCategory kHardwareLoadCategories[kHardwareLoadCategoryCount];

struct LoadPattern {
    const char* name;
    uint8_t bandShares[kLoadBands];     // percent of seconds per band 0-10 % .. 90-100 %
    bool findings[kPatternFindings];
    const char* impact;                 // "Low", "Normal", "High", "Very High"
    uint16_t helpId;
};

extern const LoadPattern kLoadPatterns[kLoadPatternCount];

// The category's distribution d[0..100] from the statistics.
void BuildLoadDistribution(const SystemStats& stats, const LoadCategory& category,
                           uint32_t d[kPercentBuckets]);

// Index 0..6 of the stock pattern that d (buckets 1..100; bucket 0 ignored) matches best.
int MatchLoadPattern(const uint32_t d[kPercentBuckets]);

// Share of buckets 1..100 in each band, in percent rounded half up and capped at 99. An
// empty distribution first gets d[1] = 1 (so band 0 shows 99); d is changed in that case.
void LoadBandShares(uint32_t d[kPercentBuckets], int shares[kLoadBands]);

// Report lines: the actual spread's band line, a stock pattern's band line (ends in a line
// feed) and finding line 0..7 of a pattern (the last one gives the impact word).
std::string ActualBandLine(int band, int share);
std::string PatternBandLine(int band, int share);
std::string FindingLine(int pattern, int line);
