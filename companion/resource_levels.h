#pragma once
#include <cstdint>

// The free share of a pool of user-interface objects as a percentage 1..100: 100 when
// nothing is in use, never 0 (a value of 0 means "not reported" to the receiver).
uint32_t FreePercent(uint64_t inUse, uint64_t capacity);
