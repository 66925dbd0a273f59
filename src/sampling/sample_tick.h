#pragma once
#include <windows.h>

// The once-a-second tick, run by the sampling thread's timer: reads the system and counts
// the second into SystemStats and LiveSample, unless the user has been idle for two
// minutes; then tells the open views that new data is ready.
void SampleTick();

// Posts "NEWDATAREADY" to every view in the view registry.
void PostNewData();
