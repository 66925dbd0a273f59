#include <windows.h>

#include "services/drives.h"

UINT DriveTypeOf(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root);
}

// Bytes free on the drive, or its whole size when total is true.
static uint64_t DiskBytes(char letter, bool total)
{
    const char root[] = {letter, ':', '\\', '\0'};
    ULARGE_INTEGER available = {}, totalBytes = {}, freeBytes = {};
    if (!GetDiskFreeSpaceExA(root, &available, &totalBytes, &freeBytes)) return 0;
    return total ? totalBytes.QuadPart : freeBytes.QuadPart;
}

uint64_t DriveFreeBytes(char letter)
{
    return DiskBytes(letter, false);
}

uint64_t DriveTotalBytes(char letter)
{
    return DiskBytes(letter, true);
}
