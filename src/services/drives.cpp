#include <windows.h>

#include "services/drives.h"

UINT DriveTypeOf(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root);
}

// Bytes in the free clusters, or in all clusters when total is true.
static DWORD DiskBytes(char letter, bool total)
{
    const char root[] = {letter, ':', '\\', '\0'};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
    return (total ? totalClusters : freeClusters) * sectorsPerCluster * bytesPerSector;
}

DWORD DriveFreeBytes(char letter)
{
    return DiskBytes(letter, false);
}

DWORD DriveTotalBytes(char letter)
{
    return DiskBytes(letter, true);
}
