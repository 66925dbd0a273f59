#pragma once
#include <cstdint>

// A thread's priority as the census counts it: base plus delta, within 0..32.
uint32_t CensusPriority(long basePriority, long deltaPriority);
