#pragma once
#include <windows.h>

// Starts the system's performance counters before the first tick.
void StartPerfStats();
