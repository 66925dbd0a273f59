#include <windows.h>

#include "sampling/perf_stats.h"

void StartPerfStats()
{
    // The counter source is not built yet.
}
