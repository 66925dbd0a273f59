#include "services/walk_match.h"

#include <cstdio>
#include <cstring>

int FirstNeedleIn(const char* upperName, const char (*needles)[kWalkPathLength], int needleCount)
{
    for (int i = 0; i < needleCount; ++i) {
        char needle[kWalkPathLength + 1];
        size_t length = strnlen(needles[i], kWalkPathLength);
        memcpy(needle, needles[i], length);
        needle[length] = '\0';
        if (strstr(upperName, needle)) return i;
    }
    return -1;
}

int StoreCollectedPath(char (*out)[kWalkPathLength], int count, const char* path)
{
    const int last = kCollectSlotCount - 1;
    int slot = count < last ? count : last;
    snprintf(out[slot], kWalkPathLength, "%s", path);
    return count < last ? count + 1 : last;
}
