#pragma once
#include <cstdint>

// Processor times as the system reports them, in 100 ns units since start; kernel time
// includes idle time.
struct ProcessorTimes {
    uint64_t idle = 0, kernel = 0, user = 0;
};

// Percent of processor time spent on work between two readings: 0..100, 0 when no time
// passed or the readings went backwards.
uint32_t CpuPercentBetween(const ProcessorTimes& before, const ProcessorTimes& after);
