#include "resource_levels.h"

uint32_t FreePercent(uint64_t inUse, uint64_t capacity)
{
    if (capacity == 0) return 100;
    if (inUse >= capacity) return 1;
    const uint64_t free = (capacity - inUse) * 100 / capacity;
    return free < 1 ? 1 : uint32_t(free);
}
