#pragma once
#include <windows.h>

#include "sampling/system_stats.h"

// sysstats.dat beside the executable holds the SystemStats image.
void LoadSystemStats();
void SaveSystemStats();

// Forces what the system still holds of sysstats.dat beside the executable to disk, under
// the lock the saves take, so a save never finds the file held open. A missing file is
// never created, and the file's bytes and times stay as they are. Returns whether a file
// was flushed.
bool FlushSystemStatsFile();

// The same for a file of the caller's choice; Load fills stats, Save writes it. A file of
// the right size that Load could not read is moved to the same name with .old before the
// first Save over it; if it cannot be moved, Save writes nothing for the rest of the run
// and says so once.
void LoadSystemStatsFrom(const char* path, SystemStats* stats);
void SaveSystemStatsTo(const char* path, const SystemStats* stats);
