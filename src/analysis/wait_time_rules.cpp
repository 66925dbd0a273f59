#include "analysis/wait_time_rules.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "resources/ids_analysis.h"

// A row's histogram, named by its SystemStats field; a field that is not a percent
// histogram does not compile.
template <size_t Offset, size_t Length>
constexpr size_t PercentSource()
{
    static_assert(Length == sizeof(PercentHistogram), "wait rows read percent histograms");
    return Offset;
}
#define PERCENT_SOURCE(field) PercentSource<offsetof(SystemStats, field), sizeof(SystemStats::field)>()

const WaitTimeRow kWaitTimeRows[kWaitRows] = {
    {"CPU", PERCENT_SOURCE(cpuUsage), IDC_WAIT_BAR_CPU, IDC_WAIT_TIME_CPU},
    {"Disk", PERCENT_SOURCE(diskActivity), IDC_WAIT_BAR_DISK, IDC_WAIT_TIME_DISK},
    {"Memory", PERCENT_SOURCE(pagingActivity), IDC_WAIT_BAR_MEMORY, IDC_WAIT_TIME_MEMORY},
    {"Modem", PERCENT_SOURCE(modemActivity), IDC_WAIT_BAR_MODEM, IDC_WAIT_TIME_MODEM},
    {"Printer", PERCENT_SOURCE(printerActivity), IDC_WAIT_BAR_PRINTER, IDC_WAIT_TIME_PRINTER},
    {"Video Card", PERCENT_SOURCE(videoLoad), IDC_WAIT_BAR_VIDEO_CARD, IDC_WAIT_TIME_VIDEO_CARD},
    {"Video Monitor", PERCENT_SOURCE(displayLoad), IDC_WAIT_BAR_VIDEO_MONITOR, IDC_WAIT_TIME_VIDEO_MONITOR},
};
#undef PERCENT_SOURCE

WaitTimes ComputeWaitTimes(const SystemStats& stats)
{
    WaitTimes times{};
    double total = 0;
    for (int i = 0; i < kWaitRows; ++i) {
        const uint32_t* histogram =
            reinterpret_cast<const uint32_t*>(reinterpret_cast<const unsigned char*>(&stats) + kWaitTimeRows[i].sourceOffset);
        // A second sampled at load v % counts as v / 200 s of waiting.
        double wait = 0;
        for (int v = 1; v <= 100; ++v) wait += histogram[v] * double(v) * 0.5 / 100;
        times.wait[i] = wait;
        total += wait;
    }
    times.total = total <= 1.0 ? 1.0 : total;
    for (int i = 0; i < kWaitRows; ++i) times.barPosition[i] = int(times.wait[i] * 100 / times.total);
    return times;
}

// The whole part of a non-negative number of seconds; anything that is not such a number
// (only a damaged statistics file gives one) counts as 0.
static long long WholeSeconds(double seconds)
{
    if (!(seconds >= 0)) return 0;
    return seconds < 9.0e18 ? (long long)seconds : 9000000000000000000LL;
}

std::string WaitTimeText(double seconds)
{
    const long long days = WholeSeconds(seconds / 86400);
    const long long hours = WholeSeconds(seconds / 3600 - double(days) * 24);
    const long long minutes = WholeSeconds(seconds) % 3600 / 60;
    char text[64];
    snprintf(text, sizeof text, "%.2lld:%.2lld:%.2lld", days, hours, minutes);
    return text;
}

std::string WaitPercentText(double totalWait, double secondsSampled)
{
    // Nothing sampled yet: no share to speak of.
    if (!(secondsSampled > 0)) return "0%";
    const double percent = totalWait * 100 / secondsSampled;
    const int whole = !(percent >= 0) ? 0 : percent < double(INT_MAX) ? int(percent) : INT_MAX;
    char text[32];
    snprintf(text, sizeof text, "%d%%", whole);
    return text;
}
