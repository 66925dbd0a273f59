#pragma once
#include <windows.h>

#include "sampling/system_stats.h"

// sysstats.dat beside the executable holds the SystemStats image.
void LoadSystemStats();
void SaveSystemStats();

// The same for a file of the caller's choice; Load fills stats, Save writes it.
void LoadSystemStatsFrom(const char* path, SystemStats* stats);
void SaveSystemStatsTo(const char* path, const SystemStats* stats);
