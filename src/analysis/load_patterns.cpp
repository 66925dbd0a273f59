#include "analysis/load_patterns.h"

#include <cstdio>
#include <cstring>

#include "resources/ids_analysis.h"
#include "ui/report_line.h"

// A category's source, named by its SystemStats field: the byte offset and the number of
// buckets come from the field itself, so a row cannot point between two histograms. Plain
// and reversed rows read 101 buckets; a field of another size does not compile.
template <size_t Offset, size_t Length>
constexpr size_t PercentSource()
{
    static_assert(Length == sizeof(PercentHistogram), "plain and reversed sources are percent histograms");
    return Offset;
}
#define PERCENT_SOURCE(field) PercentSource<offsetof(SystemStats, field), sizeof(SystemStats::field)>()
#define BUCKETS(field) uint32_t(sizeof(SystemStats::field) / sizeof(uint32_t))
#define PLAIN(field) PERCENT_SOURCE(field), DistributionKind::kPlain, 0, BUCKETS(field)
#define REVERSED(field) PERCENT_SOURCE(field), DistributionKind::kReversed, 0, BUCKETS(field)
#define REBINNED(field, divisor) offsetof(SystemStats, field), DistributionKind::kRebinned, divisor, BUCKETS(field)
#define ALL_ZERO 0, DistributionKind::kAllZero, 0, 0

const LoadCategory kSystemLoadCategories[kSystemLoadCategoryCount] = {
    {"Apps: 32-Bit Windows", PLAIN(apps32), IDR_HELP_APPS_32},
    {"Apps: 16-Bit Windows", PLAIN(apps16), IDR_HELP_APPS_16},
    {"Apps: DOS", PLAIN(appsDos), IDR_HELP_APPS_DOS},
    {"Disk Cache: Load", PLAIN(diskActivity), IDR_HELP_DISK_LOAD},
    {"Disk Cache: Bytes Read", PLAIN(bytesRead), IDR_HELP_BYTES_READ},
    {"Disk Cache: Read Size", REVERSED(bytesPerRead), IDR_HELP_READ_SIZE},
    {"Disk Cache: Reads", PLAIN(readOps), IDR_HELP_READS},
    {"Disk Cache: Write Bytes", PLAIN(bytesWritten), IDR_HELP_WRITE_BYTES},
    {"Disk Cache: Write Size", REVERSED(bytesPerWrite), IDR_HELP_WRITE_SIZE},
    {"Disk Cache: Writes", PLAIN(writeOps), IDR_HELP_WRITES},
    {"Memory Mgr: Load", PLAIN(memoryLoad), IDR_HELP_MEMORY_LOAD},
    {"Memory Mgr: Page File", REVERSED(pageFileFree), IDR_HELP_PAGE_FILE},
    {"Memory Mgr: Virtual", REVERSED(virtualFree), IDR_HELP_VIRTUAL},
    {"Res: GDI16", REVERSED(freeGdi), IDR_HELP_GDI16},
    {"Res: GDI32", ALL_ZERO, IDR_HELP_GDI32},
    {"Res: User16", REVERSED(freeUser), IDR_HELP_USER16},
    {"Res: User32 Menu", ALL_ZERO, IDR_HELP_USER32_MENU},
    {"Res: User32 Window", ALL_ZERO, IDR_HELP_USER32_WINDOW},
    {"Tasks: Modules", REBINNED(modules, 460), IDR_HELP_MODULES},
    {"Tasks: Priorities", REBINNED(threadPriority, 32), IDR_HELP_PRIORITIES},
    {"Tasks: Processes", REBINNED(processes, 50), IDR_HELP_PROCESSES},
    {"Tasks: Threads", REBINNED(threads, 460), IDR_HELP_THREADS},
    {"Tasks: Windows", REBINNED(windows, 80), IDR_HELP_WINDOWS},
};

const LoadCategory kHardwareLoadCategories[kHardwareLoadCategoryCount] = {
    {"CPU", PLAIN(cpuUsage), IDR_HELP_HW_CPU},
    {"Disk", PLAIN(diskActivity), IDR_HELP_HW_DISK},
    {"Memory", PLAIN(pagingActivity), IDR_HELP_HW_MEMORY},
    {"Modem", PLAIN(modemActivity), IDR_HELP_HW_MODEM},
    {"Printer", PLAIN(printerActivity), IDR_HELP_HW_PRINTER},
    {"Video Card", PLAIN(videoLoad), IDR_HELP_HW_VIDEO_CARD},
    {"Video Monitor", PLAIN(displayLoad), IDR_HELP_HW_VIDEO_MONITOR},
};

#undef PLAIN
#undef REVERSED
#undef REBINNED
#undef ALL_ZERO
#undef BUCKETS
#undef PERCENT_SOURCE

// Findings, in the order of the finding lines.
#define NO false
#define YES true
const LoadPattern kLoadPatterns[kLoadPatternCount] = {
    {"Low Load Pattern", {40, 30, 10, 5, 5, 0, 5, 0, 0, 5}, {NO, NO, NO, NO, NO, NO, NO}, "Low",
     IDR_HELP_PATTERN_FIRST + 0},
    {"Normal Load Pattern", {5, 5, 20, 30, 20, 10, 5, 0, 5, 0}, {NO, NO, NO, NO, NO, NO, NO}, "Normal",
     IDR_HELP_PATTERN_FIRST + 1},
    {"High Load Pattern", {5, 0, 5, 5, 15, 30, 20, 10, 5, 5}, {YES, NO, NO, NO, YES, NO, NO}, "High",
     IDR_HELP_PATTERN_FIRST + 2},
    {"Overloaded Load Pattern", {0, 0, 0, 0, 0, 0, 10, 10, 30, 50}, {YES, YES, YES, YES, YES, NO, NO}, "Very High",
     IDR_HELP_PATTERN_FIRST + 3},
    {"Balanced Load Pattern", {10, 10, 10, 10, 10, 10, 10, 10, 10, 10}, {NO, NO, NO, NO, NO, NO, NO}, "Normal",
     IDR_HELP_PATTERN_FIRST + 4},
    {"Modified Low Load Pattern", {30, 20, 5, 5, 5, 0, 5, 0, 0, 30}, {YES, YES, YES, NO, YES, NO, NO}, "Very High",
     IDR_HELP_PATTERN_FIRST + 5},
    {"Random Load Pattern", {20, 0, 5, 25, 5, 0, 10, 10, 0, 25}, {NO, NO, NO, NO, NO, NO, NO}, "High",
     IDR_HELP_PATTERN_FIRST + 6},
};
#undef NO
#undef YES

static const char* const kFindingLabels[kFindingLines] = {
    "Delays other applications", "Forces disk swaps",      "Can cause application errors", "Can cause system errors",
    "Optimizing would help",     "More memory would help", "More disk space would help",   "Coach suggestion impact",
};

void BuildLoadDistribution(const SystemStats& stats, const LoadCategory& category, uint32_t d[kPercentBuckets])
{
    memset(d, 0, sizeof(uint32_t) * kPercentBuckets);
    if (category.kind == DistributionKind::kAllZero) return;
    const uint32_t* source =
        reinterpret_cast<const uint32_t*>(reinterpret_cast<const unsigned char*>(&stats) + category.sourceOffset);
    switch (category.kind) {
    case DistributionKind::kPlain:
        for (int k = 0; k < kPercentBuckets; ++k) d[k] = source[k];
        break;
    case DistributionKind::kReversed:
        for (int k = 0; k < kPercentBuckets; ++k) d[k] = source[100 - k];
        break;
    case DistributionKind::kRebinned: {
        const uint32_t divisor = category.divisor != 0 ? category.divisor : 1;
        for (uint32_t i = 0; i < category.sourceBuckets; ++i) {
            uint32_t k = i * 100 / divisor;
            if (k > 100) k = 100;
            // Saturating: a damaged statistics file must not wrap a sum round to few seconds.
            d[k] = source[i] > UINT32_MAX - d[k] ? UINT32_MAX : d[k] + source[i];
        }
        break;
    }
    case DistributionKind::kAllZero:
        break;
    }
}

int MatchLoadPattern(const uint32_t d[kPercentBuckets])
{
    // Quarters of the load range: 1-24, 25-49, 50-74, 75-100 %. Doubles, so years of
    // seconds cannot overflow a sum.
    double q[4] = {0, 0, 0, 0};
    for (int v = 1; v <= 100; ++v) q[v < 25 ? 0 : v < 50 ? 1 : v < 75 ? 2 : 3] += d[v];
    double total = q[0] + q[1] + q[2] + q[3];
    if (total < 1.0) total = 1.0;
    double s[4];
    for (int k = 0; k < 4; ++k) s[k] = q[k] / total;

    int r = 6;  // random, unless something below fits better
    if (q[0] == 0 && q[1] == 0 && q[2] == 0 && q[3] == 0) r = 0;
    if (s[0] > 0.5) {
        // Mostly light load: low, unless a fifth or more of the time is heavy. Exactly a
        // fifth decides neither way.
        if (s[3] < 0.2) r = 0;
        if (s[3] > 0.2) r = 5;
    }
    if (s[3] > 0.5) r = 3;
    if (s[1] > 0.5) r = 1;
    if (s[2] > 0.5) r = 2;
    bool balanced = true;
    for (double share : s) balanced = balanced && share > 0.1 && share < 0.3;
    if (balanced) r = 4;
    return r;
}

void LoadBandShares(uint32_t d[kPercentBuckets], int shares[kLoadBands])
{
    double total = 0;
    for (int v = 1; v <= 100; ++v) total += d[v];
    if (total == 0) {
        total = 1;
        d[1] = 1;
    }
    for (int b = 0; b < kLoadBands; ++b) {
        double band = 0;
        for (int v = 10 * b + 1; v <= 10 * b + 10; ++v) band += d[v];
        const double share = band * 100 / total + 0.5;
        shares[b] = share > 99 ? 99 : int(share);
    }
}

std::string ActualBandLine(int band, int share)
{
    char line[64];
    snprintf(line, sizeof line, REPORT_CAPTION "%02d-%02d%%\t~M%02d", 10 * band, 10 * band + 10, share);
    return line;
}

std::string PatternBandLine(int band, int share)
{
    char line[64];
    snprintf(line, sizeof line, REPORT_CAPTION "%02d-%02d%%\t~Y%02d\n", 10 * band, 10 * band + 10, share);
    return line;
}

std::string FindingLine(int pattern, int line)
{
    const LoadPattern& p = kLoadPatterns[pattern];
    const char* value = line < kPatternFindings ? (p.findings[line] ? "Yes" : "No") : p.impact;
    return std::string(REPORT_CAPTION) + kFindingLabels[line] + "\t" + REPORT_VALUE + value;
}
