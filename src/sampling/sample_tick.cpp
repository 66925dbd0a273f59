#include <windows.h>

#include "sampling/sample_tick.h"

void SampleTick()
{
    // Sampling is not built yet; the timer runs and counts ticks.
}

void PostNewData()
{
}
