#include "sampling/system_stats.h"

SystemStats* gSystemStats = nullptr;
LiveSample* gLiveSample = nullptr;

bool IsAcceptedStatsFileLength(uint64_t length)
{
    return length != 0 && length % kSystemStatsLength == 0;
}
