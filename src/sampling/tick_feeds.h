// Values that other threads hand to the sampling tick: the companion's resource
// percentages and the serial notification count, written by the hidden main window on the
// primary thread; the tick reads them (and clears the count) without a lock.
#pragma once
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> FreeUserPercent;  // 1..100 once the companion has reported
extern std::atomic<uint32_t> FreeGdiPercent;
extern std::atomic<uint32_t> CommNotifyCount;  // cleared by every tick
