// The baseline of the walking benchmarks: a plain FindFirstFileA/FindNextFileA recursion
// over every fixed drive, C: to Z:, counting the entries it visits.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

inline void BareWalkFolder(const char* folder, long* entries)
{
    char search[MAX_PATH];
    const char* separator = folder[strlen(folder) - 1] == '\\' ? "" : "\\";
    snprintf(search, sizeof search, "%s%s*.*", folder, separator);
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(search, &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        ++*entries;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            found.cFileName[0] == '.')
            continue;
        char child[MAX_PATH];
        const int length = snprintf(child, sizeof child, "%s%s%s", folder, separator, found.cFileName);
        if (length > 0 && length + 4 < MAX_PATH) BareWalkFolder(child, entries);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}

inline long BareWalk()
{
    long entries = 0;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) == DRIVE_FIXED) BareWalkFolder(root, &entries);
    }
    return entries;
}

inline double MedianOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
