#pragma once
#include <windows.h>

// The once-a-second tick: reads the system and counts it into the statistics.
void SampleTick();
