// What the program's start-up sets up for the tick and the views, for a benchmark that
// runs them in its own process: the three shared records, and one tick of a user at work.
#pragma once
#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "sampling/input_counters.h"
#include "sampling/sample_tick.h"
#include "sampling/system_stats.h"

// Points the shared records at zero-filled records of this process.
inline void UseBenchRecords()
{
    static SystemStats stats;
    static LiveSample live;
    static EquipmentInfo equipment;
    gSystemStats = &stats;
    gLiveSample = &live;
    gEquipmentInfo = &equipment;
}

// One tick with the user counted as active, so the tick samples (and the views refresh).
inline void ActiveTick()
{
    Keystrokes = 1;
    SampleTick();
}
