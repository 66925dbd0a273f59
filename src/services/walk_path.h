#pragma once
#include <cstddef>

// Every path of a directory walk lives in a fixed slot of this many bytes, NUL included.
constexpr size_t kWalkPathLength = 260;

// Joins directory + "\" + name into out (kWalkPathLength bytes); the backslash is left out
// when directory already ends with one ("C:\"). False, with out empty, when the result
// does not fit.
bool JoinWalkPath(const char* directory, const char* name, char* out);

// Joins directory and name like JoinWalkPath, and succeeds only when the result can itself
// be searched: its search pattern (path + "\*.*") must fit in a slot too. A directory that
// fails this is too deep to be walked and is skipped.
bool JoinWalkDirectory(const char* directory, const char* name, char* out);

// The search pattern that finds pattern as if directory were the current directory of the
// current drive: a relative pattern is joined to directory, a pattern relative to
// directory's own drive ("C:name") is joined without its drive, and an absolute pattern
// ("\name", "C:\name", "\\server\share") stands as it is. False, with out empty, when the
// result does not fit or pattern is null.
bool WalkSearchPattern(const char* directory, const char* pattern, char* out);
