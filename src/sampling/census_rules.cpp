#include "sampling/census_rules.h"


uint32_t CensusPriority(long basePriority, long deltaPriority)
{
    const long priority = basePriority + deltaPriority;
    if (priority < 0) return 0;
    return priority > 32 ? 32 : uint32_t(priority);
}
