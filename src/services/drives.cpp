#include <windows.h>

#include "services/drives.h"

UINT DriveTypeOf(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root);
}

DriveSpace DriveSpaceOf(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    ULARGE_INTEGER available = {}, totalBytes = {}, freeBytes = {};
    if (!GetDiskFreeSpaceExA(root, &available, &totalBytes, &freeBytes)) return DriveSpace{};
    return DriveSpace{freeBytes.QuadPart, totalBytes.QuadPart};
}

uint64_t DriveFreeBytes(char letter)
{
    return DriveSpaceOf(letter).freeBytes;
}

uint64_t DriveTotalBytes(char letter)
{
    return DriveSpaceOf(letter).totalBytes;
}
