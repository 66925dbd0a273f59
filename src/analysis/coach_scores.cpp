#include "analysis/coach_scores.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "resources/ids_analysis.h"
#include "services/histogram.h"

const CoachScoreRow kCoachScores[kCoachScoreCount] = {
    {"Application Drag", IDR_HELP_COACH_FIRST + 1, IDI_COACH_GAUGE_FIRST + 0, " 0%", "100% "},
    {"Disk Efficiency", IDR_HELP_COACH_DISK_EFFICIENCY, IDI_COACH_GAUGE_FIRST + 1, " 0% Used", "100% Used "},
    {"Duration", IDR_HELP_COACH_FIRST + 2, IDI_COACH_GAUGE_FIRST + 2, " Low", "High "},
    {"Efficiency", IDR_HELP_COACH_FIRST + 3, IDI_COACH_GAUGE_FIRST + 3, " Low", "High "},
    {"Expertise", IDR_HELP_COACH_FIRST + 4, IDI_COACH_GAUGE_FIRST + 4, " Normal", "High "},
    {"Integration", IDR_HELP_COACH_FIRST + 5, IDI_COACH_GAUGE_FIRST + 5, " Low", "High "},
    {"Paper Trail", IDR_HELP_COACH_FIRST + 6, IDI_COACH_GAUGE_FIRST + 6, " 0", "100 "},
    {"Preference", IDR_HELP_COACH_FIRST + 7, IDI_COACH_GAUGE_FIRST + 7, " Keyboard", "Mouse "},
    {"Program Power", IDR_HELP_COACH_FIRST + 8, IDI_COACH_GAUGE_FIRST + 8, " Low", "High "},
    {"Training Benefit", IDR_HELP_COACH_FIRST + 9, IDI_COACH_GAUGE_FIRST + 9, " Normal", "High "},
    {"Typing Rate", IDR_HELP_COACH_FIRST + 10, IDI_COACH_GAUGE_FIRST + 10, " Normal", "Fast "},
    {"Urgency", IDR_HELP_COACH_FIRST + 11, IDI_COACH_GAUGE_FIRST + 11, " Small", "Large "},
    {"Utilization", IDR_HELP_COACH_FIRST + 12, IDI_COACH_GAUGE_FIRST + 12, " Low", "High "},
};

const char* const kBoostCategories[kBoostCategoryCount] = {
    "CPU Speed",    "Disk Space",   "Disk Speed",    "Memory Free",   "Memory Speed",
    "Modem Speed",  "Print Spooler", "Printer Speed", "Video Speed",  "Video Monitor",
};

enum CoachScoreIndex {
    kApplicationDrag, kDiskEfficiency, kDuration, kEfficiency, kExpertise, kIntegration, kPaperTrail,
    kPreference, kProgramPower, kTrainingBenefit, kTypingRate, kUrgency, kUtilization,
};
static_assert(kDiskEfficiency == kDiskEfficiencyScore, "the Disk Efficiency row");

static uint32_t PercentMean(const uint32_t* histogram)
{
    return HistogramMean(histogram, sizeof(PercentHistogram));
}

static uint32_t CountMean(const uint32_t* histogram)
{
    return HistogramMean(histogram, sizeof(CountHistogram));
}

// Integer division where a divisor of 0 counts as 1. The counters are added in 64 bits,
// so a sum of two large counters cannot wrap round to a small divisor.
static uint64_t Quotient(uint64_t dividend, uint64_t divisor)
{
    return dividend / (divisor != 0 ? divisor : 1);
}

// Scores are shown as gauges of 1..9 cells; a score beyond 32 bits only has to stay large
// (or, for a floating score, small) rather than wrap to the other end.
static int32_t Saturated(uint64_t value)
{
    return value > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(value);
}

static int32_t Saturated(double value)
{
    if (!(value == value)) return 0;  // NaN, from a damaged statistics file
    if (value >= double(INT32_MAX)) return INT32_MAX;
    if (value <= double(INT32_MIN)) return INT32_MIN;
    return int32_t(value);
}

// The eight activity means the coach weighs; memory counts as its load or as its headroom.
static void ActivityMeans(const SystemStats& s, const uint32_t* memory, uint32_t means[8])
{
    const uint32_t* histograms[8] = {s.cpuUsage, s.videoLoad,  s.displayLoad, memory,
                                     s.printerActivity, s.modemActivity, s.diskFree, s.diskActivity};
    for (int i = 0; i < 8; ++i) means[i] = PercentMean(histograms[i]);
}

int32_t CoachScore(int index, const SystemStats& s, int32_t diskEfficiency)
{
    const uint64_t pointer = s.pointerActions;
    const uint64_t keys = s.keystrokes;
    const double sampled = std::max(1.0, double(s.secondsSampled));
    switch (index) {
    case kApplicationDrag:
        return Saturated(Quotient(pointer, pointer + keys));
    case kDiskEfficiency:
        return diskEfficiency;
    case kDuration:
        return Saturated(Quotient(uint64_t(s.foregroundSwitches) * 10, CountMean(s.processes)));
    case kEfficiency: {
        uint32_t means[8];
        ActivityMeans(s, s.memoryHeadroom, means);
        uint32_t sum = 0;
        for (uint32_t mean : means) sum += mean;  // each mean is at most 100
        return 100 - int32_t(sum / 8);
    }
    case kExpertise:
        return Saturated(Quotient(uint64_t(s.functionKeys) + s.rightClicks, s.f1Presses));
    case kIntegration: {
        const uint32_t processes = CountMean(s.processes);
        return Saturated(uint64_t(s.foregroundSwitches % (processes != 0 ? processes : 1)));
    }
    case kPaperTrail:
        return Saturated(std::trunc(PercentMean(s.printerActivity) * 8.0 / sampled));
    case kPreference:
        return Saturated(Quotient(keys, pointer + keys));
    case kProgramPower: {
        const uint32_t processes = std::max(1u, CountMean(s.processes));
        return int32_t(CountMean(s.threads) / processes) - 10;  // a mean of a 501-bucket histogram is at most 500
    }
    case kTrainingBenefit:
        return Saturated(Quotient(s.f1Presses, keys));
    case kTypingRate:
        // keystrokes x 60 passes 32 bits after some 71 million keystrokes: in floating point.
        return Saturated(std::trunc(double(s.keystrokes) * 60 / (sampled * 5.0)));
    case kUrgency: {
        uint32_t means[8];
        ActivityMeans(s, s.memoryLoad, means);
        return int32_t(*std::max_element(means, means + 8));
    }
    case kUtilization:
        return Saturated(std::trunc(double(s.secondsSampled) / std::max(1.0, double(s.secondsObserved))));
    default:
        return 0;
    }
}

int CoachGaugeCells(int32_t score)
{
    return score < 2 ? 1 : score >= 9 ? 9 : int(score);
}

void CountAccessMonth(AccessMonths* months, int year, int month, int nowYear, int nowMonth)
{
    // 64-bit: a date read from a damaged file system must not overflow the month count.
    int64_t count = (int64_t(nowYear) - year) * 12 + nowMonth - month;
    count = std::min<int64_t>(std::max<int64_t>(count, 0), 23);
    ++months->counts[count];
    ++months->total;
}

int32_t DiskEfficiencyScore(const AccessMonths& months)
{
    uint64_t sum = 0;
    for (int m = 0; m < 24; ++m) sum += uint64_t(m) * months.counts[m];
    const uint64_t average = months.total != 0 ? sum / months.total : sum;
    return 10 - int32_t(std::min<uint64_t>(average, 9));
}
