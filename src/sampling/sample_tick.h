#pragma once
#include <windows.h>

#include <cstdint>

#include "sampling/census_cache.h"
#include "sampling/tick.h"

// The once-a-second tick, run by the sampling thread's timer: reads the system and counts
// the second into SystemStats and LiveSample, unless the user has been idle for two
// minutes; then tells the open views that new data is ready.
void SampleTick();

// The census part of a tick, added into in: windows, processes, their modules, threads and
// thread priorities, and the windowed programs by kind. With a cache, a process's modules
// are read only when the cache asks for them (the tick's way, nowMs from the multimedia
// clock); without one, every process's modules are read (the full census).
void ReadCensus(TickInputs* in, CensusCache* cache, uint32_t nowMs);
