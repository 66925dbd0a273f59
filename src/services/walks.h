#pragma once
#include <windows.h>

#include "services/walk_match.h"
#include "services/walk_path.h"

// Walks over every directory of every fixed drive, C: to Z:. Directories whose names begin
// with "." are not entered, nor are directory links (reparse points), nor directories too
// deep for a kWalkPathLength path; their entries are still seen in their parent.

// Number of directories in which FindFirstFileA finds pattern, read as if the directory
// were current (a relative pattern counts the directories holding a match). Depth-first.
// Leaves the current directory at the root of the last fixed drive walked.
int CountDirsWithMatch(const char* pattern);

// Stores in out (kCollectSlotCount slots, allocated by the caller) the path of every entry
// whose upper-cased long name contains one of the needles: its directory + "\" + its 8.3
// name, or its upper-cased long name when it has no 8.3 name. Returns the number stored, at
// most kCollectSlotCount - 1; later hits land uncounted in the last slot. A path that does
// not fit in a slot is skipped. Depth-first, in the order the directories are listed;
// leaves the current directory at the root of the last fixed drive walked.
int CollectFilesByName(char (*out)[kWalkPathLength], const char (*needles)[kWalkPathLength], int needleCount);

// Called for every entry (".", ".." and links included) with the path of its directory,
// which is valid only during the call. A non-zero result stops the walk.
typedef int (*WalkVisitor)(const WIN32_FIND_DATAA* found, const char* directory, void* argument);

// Visits every entry of every fixed drive breadth-first, drive by drive. Returns the
// visitor's stopping value, or 0 when the walk completes or its directory queue cannot
// grow. The current directory is left as it was.
int WalkFixedDrives(WalkVisitor visitor, void* argument);
