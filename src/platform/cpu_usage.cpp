#include "platform/cpu_usage.h"

uint32_t CpuPercentBetween(const ProcessorTimes& before, const ProcessorTimes& after)
{
    if (after.idle < before.idle || after.kernel < before.kernel || after.user < before.user) return 0;
    const uint64_t idle = after.idle - before.idle;
    const uint64_t total = (after.kernel - before.kernel) + (after.user - before.user);
    if (total == 0 || idle >= total) return 0;
    return uint32_t((total - idle) * 100 / total);
}
