#pragma once
#include "services/walk_path.h"

// The caller's block for collected paths: this many slots of kWalkPathLength bytes. All but
// the last hold counted paths; the last takes every later hit uncounted.
constexpr int kCollectSlotCount = 2500;

// Index of the first needle that occurs in upperName (a name already turned to upper case),
// or -1 when none does. Needles are upper-case strings in slots of kWalkPathLength bytes; a
// needle that fills its whole slot ends there.
int FirstNeedleIn(const char* upperName, const char (*needles)[kWalkPathLength], int needleCount);

// Stores path into out (kCollectSlotCount slots) after count stored paths and returns the
// new count. Once kCollectSlotCount - 1 paths are stored the count stays there and each
// later path overwrites the spare last slot. The path is cut to fit its slot.
int StoreCollectedPath(char (*out)[kWalkPathLength], int count, const char* path);
