#pragma once
#include <cstddef>

// Copies the part of path before its last backslash into out: the folder without a
// trailing backslash, or an empty string when path has none. Returns false (out empty)
// when the folder does not fit in size bytes.
bool DirectoryOfPath(const char* path, char* out, size_t size);

// Joins folder + "\" + name into out; false (out empty) when it does not fit.
bool JoinPath(const char* folder, const char* name, char* out, size_t size);
