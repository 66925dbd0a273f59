#include "sampling/tick_feeds.h"

std::atomic<uint32_t> FreeUserPercent;
std::atomic<uint32_t> FreeGdiPercent;
std::atomic<uint32_t> CommNotifyCount;
