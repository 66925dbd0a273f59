#pragma once
#include <windows.h>

#include <string>
#include <vector>

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

// Called with the path of each directory a walk is about to list.
typedef void (*DirectoryNote)(const char* directory, void* state);

// CollectFilesByName for several needles at once, each on its own: (*collected)[i] receives
// the paths a walk for needles[i] alone would count (at most kCollectSlotCount - 1), in the
// same order, in one walk. note, when given, is called before each directory is listed.
// The first form walks every fixed drive and leaves the current directory as
// CollectFilesByName does; the second walks the tree under root and leaves it alone.
void CollectEachNameOnFixedDrives(const std::vector<std::string>& needles,
                                  std::vector<std::vector<std::string>>* collected, DirectoryNote note, void* state);
void CollectEachNameUnder(const char* root, const std::vector<std::string>& needles,
                          std::vector<std::vector<std::string>>* collected, DirectoryNote note, void* state);

// Called for every entry (".", ".." and links included) with the path of its directory,
// which is valid only during the call. A non-zero result stops the walk.
typedef int (*WalkVisitor)(const WIN32_FIND_DATAA* found, const char* directory, void* argument);

// Visits every entry of every fixed drive breadth-first, drive by drive. Returns the
// visitor's stopping value, or 0 when the walk completes or its directory queue cannot
// grow. The current directory is left as it was.
int WalkFixedDrives(WalkVisitor visitor, void* argument);
