#include <windows.h>

#include "services/drives.h"

UINT DriveTypeOf(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root);
}

bool IsFixedDrive(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    if (GetFileAttributesA(root) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_DRIVE || error == ERROR_FILE_NOT_FOUND) return false;
    }
    return GetDriveTypeA(root) == DRIVE_FIXED;
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
