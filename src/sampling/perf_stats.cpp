#include <windows.h>

#include "platform/perf_counters.h"
#include "sampling/perf_stats.h"

void StartPerfStats()
{
    StartPerfCounters();
}
